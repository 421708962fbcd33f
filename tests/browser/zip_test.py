# The web zip holds the page and its three files at its root, in sorted order with one fixed time
# (so that the same tree zips the same), and stays under 3 MB. The page draws the title screen as
# the desktop does, its title picture at (120, 40) pixel for pixel in the game's colours and the
# three choices under it, and asks nothing of another host.
from page import Page, fail, read_bmp, wait_for
import os
import sys
import zipfile

FILES = ['index.html', 'moonstruck.data', 'moonstruck.js', 'moonstruck.wasm']
LARGEST = 3 * 1000 * 1000

path = sys.argv[1]
if not zipfile.is_zipfile(path):
    fail('%s is not a zip' % path)
with zipfile.ZipFile(path) as z:
    entries = z.infolist()
names = [e.filename for e in entries]
if names != FILES:
    fail('the zip holds %s, not %s' % (names, FILES))
times = {e.date_time for e in entries}
if len(times) != 1:
    fail('the zip\'s files have %d different times' % len(times))
if os.path.getsize(path) >= LARGEST:
    fail('the zip takes %d bytes, %d at most' % (os.path.getsize(path), LARGEST))

with Page() as page:
    wait_for('the title screen', page.title_shown)
    wrong = page.picture().misses(read_bmp('title.bmp'), 120, 40)
    if wrong > 2:
        fail('the title picture at (120, 40): %d of its pixels differ' % wrong)
    elsewhere = page.js("return performance.getEntriesByType('resource').map(e => e.name)"
                        ".filter(n => !n.startsWith(location.origin))")
    if elsewhere:
        fail('the page asked another host for %s' % elsewhere)
print('PASS')
