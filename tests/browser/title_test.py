# The page draws the title screen as the desktop does, its title picture at (120, 40) pixel for
# pixel in the game's colours and the three choices under it, and asks nothing of another host.
# Exit there ends the game with "Thanks for playing" over the canvas and a button that starts it
# again; Esc on the title screen ends it the same way. A data file missing from the server, or cut
# short, is named on the page instead, and no game starts.
from page import Page, Keys, fail, read_bmp, wait_for
import os

with Page() as page:
    wait_for('the title screen', page.title_shown)
    wrong = page.picture().misses(read_bmp('title.bmp'), 120, 40)
    if wrong > 2:
        fail('the title picture at (120, 40): %d of its pixels differ' % wrong)
    elsewhere = page.js("return performance.getEntriesByType('resource').map(e => e.name)"
                        ".filter(n => !n.startsWith(location.origin))")
    if elsewhere:
        fail('the page asked another host for %s' % elsewhere)
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

for what, change, says in [('missing', os.remove, 'moonstruck.data'),
                           ('cut short', lambda f: os.truncate(f, os.path.getsize(f) // 2),
                            "Couldn't load")]:
    with Page(change_data=change) as page:
        wait_for('the page to say the data file is %s' % what, lambda: page.visible('message'))
        if says not in page.text('message'):
            fail('the data file %s: the page says "%s", not "%s"'
                 % (what, page.text('message'), says))
        if page.visible('thanks'):
            fail('the data file %s: the page thanks for playing' % what)
print('PASS')
