# Exit on the title screen ends the game with "Thanks for playing" over the canvas and a button
# that starts it again; Esc on the title screen ends it the same way.
from page import Page, Keys, fail, wait_for

with Page() as page:
    wait_for('the title screen', page.title_shown)
    page.press(Keys.ARROW_DOWN, Keys.ARROW_DOWN, Keys.RETURN)
    wait_for('the thanks after Exit', lambda: page.visible('thanks'))
    if 'Thanks for playing' not in page.text('thanks'):
        fail('the page says "%s" at the end' % page.text('thanks'))
    page.driver.find_element('id', 'again').click()
    wait_for('the title screen after Play again', page.title_shown)
    if page.visible('thanks'):
        fail('the thanks stayed over the new game')
    page.press(Keys.ESCAPE)
    wait_for('the thanks after Esc', lambda: page.visible('thanks'))
print('PASS')
