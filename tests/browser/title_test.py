# The page draws the title screen as the desktop does, its title picture at (120, 40) pixel for
# pixel in the game's colours and the three choices under it, and asks nothing of another host.
from page import Page, ROOT, fail, misses, read_bmp, wait_for
import os

with Page() as page:
    wait_for('the title screen', page.title_shown)
    title = read_bmp(os.path.join(ROOT, 'media', 'title.bmp'))
    wrong = misses(page.picture(), title, 120, 40)
    if wrong > 2:
        fail('the title picture at (120, 40): %d of its pixels differ' % wrong)
    elsewhere = page.js("return performance.getEntriesByType('resource').map(e => e.name)"
                        ".filter(n => !n.startsWith(location.origin))")
    if elsewhere:
        fail('the page asked another host for %s' % elsewhere)
print('PASS')
