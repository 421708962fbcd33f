# The web zip holds the page and its three files at its root, in sorted order with one fixed time
# (so that the same tree zips the same), and stays under 3 MB.
from page import fail
import os
import sys
import zipfile

FILES = ['index.html', 'moonstruck.data', 'moonstruck.js', 'moonstruck.wasm']
LARGEST = 3 * 1000 * 1000

path = sys.argv[1]
if not zipfile.is_zipfile(path):
    fail('%s is not a zip' % path)
entries = zipfile.ZipFile(path).infolist()
names = [e.filename for e in entries]
if names != FILES:
    fail('the zip holds %s, not %s' % (names, FILES))
times = {e.date_time for e in entries}
if len(times) != 1:
    fail('the zip\'s files have %d different times' % len(times))
if os.path.getsize(path) >= LARGEST:
    fail('the zip takes %d bytes, %d at most' % (os.path.getsize(path), LARGEST))
print('PASS')
