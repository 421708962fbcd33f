# F11 puts the page's picture fullscreen and F11 again takes it back, the game keeping the key to
# itself; the page's button does the same.
from page import Page, Keys, fail, wait_for


def fullscreen(page):
    return page.js("return document.fullscreenElement && document.fullscreenElement.id") == 'stage'


with Page() as page:
    page.start_game()
    page.press(Keys.F11)
    wait_for('fullscreen after F11', lambda: fullscreen(page), 5)
    if page.paused_shown():
        fail('going fullscreen paused the game')
    page.press(Keys.F11)
    wait_for('the window again after F11', lambda: not fullscreen(page), 5)
    page.driver.find_element('id', 'fullscreen').click()
    wait_for('fullscreen after the button', lambda: fullscreen(page), 5)
print('PASS')
