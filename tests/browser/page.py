# page.py: what the browser tests share: the web zip (or a built folder) served on 127.0.0.1, the
# page in a headless Chromium of the test's own, keys held as a player holds them, and the canvas
# read back as the game's 640 by 480 picture.
import base64
import functools
import http.server
import os
import shutil
import sys
import tempfile
import threading
import time
import zipfile

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.keys import Keys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
TEST = os.path.splitext(os.path.basename(sys.argv[0]))[0]
WIDTH, HEIGHT = 640, 480
CHROMIUM_FLAGS = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic',
                  '--no-first-run', '--disable-background-networking',
                  '--disable-component-update', '--disable-sync', '--window-size=1400,1200']


def fail(why):
    print('FAIL: %s' % why, file=sys.stderr)
    if Page.current:
        Page.current.keep_screenshot()
    sys.exit(1)


def wait_for(what, check, seconds=20):
    end = time.monotonic() + seconds
    while not check():
        if time.monotonic() > end:
            fail('timed out waiting for %s' % what)
        time.sleep(0.1)


class _Quiet(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


class Page:
    """The game's page, from the zip or folder named on the command line, in headless Chromium."""
    current = None

    def __init__(self, leave_out=(), cut_short=(), before_page=None):
        self.work = tempfile.mkdtemp(prefix='moonstruck-browser-')
        site = os.path.join(self.work, 'site')
        given = sys.argv[1]
        if zipfile.is_zipfile(given):
            with zipfile.ZipFile(given) as z:
                z.extractall(site)
        else:
            shutil.copytree(given, site, ignore=shutil.ignore_patterns('CMake*', '*.a', 'Makefile'))
        for name in leave_out:
            os.remove(os.path.join(site, name))
        for name in cut_short:
            with open(os.path.join(site, name), 'r+b') as f:
                f.truncate(os.path.getsize(f.name) // 2)
        self.server = http.server.ThreadingHTTPServer(
            ('127.0.0.1', 0), functools.partial(_Quiet, directory=site))
        threading.Thread(target=self.server.serve_forever, daemon=True).start()
        options = webdriver.ChromeOptions()
        for flag in CHROMIUM_FLAGS + ['--user-data-dir=' + os.path.join(self.work, 'profile')]:
            options.add_argument(flag)
        options.binary_location = '/usr/bin/chromium'
        self.driver = webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)
        Page.current = self
        if before_page: # a script run in the page before its own
            self.driver.execute_cdp_cmd('Page.addScriptToEvaluateOnNewDocument',
                                        {'source': before_page})
        self.url = 'http://127.0.0.1:%d/' % self.server.server_address[1]
        self.driver.get(self.url + 'index.html')

    def close(self):
        Page.current = None
        self.driver.quit()
        self.server.shutdown()
        shutil.rmtree(self.work, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    def keep_screenshot(self):
        try:
            self.driver.save_screenshot('/tmp/%s-last-screen.png' % TEST)
        except Exception:
            pass

    def js(self, script, *args):
        return self.driver.execute_script(script, *args)

    # the keys: each held for 0.1 s (five ticks) as the window tests do; Keys.RETURN is the main
    # Enter, Keys.ENTER the keypad's
    def press(self, *keys, hold=0.1):
        for k in keys:
            ActionChains(self.driver).key_down(k).perform()
            time.sleep(hold)
            ActionChains(self.driver).key_up(k).perform()
            time.sleep(0.1)

    def picture(self):
        """The canvas, read as picture[y][x] = (r, g, b)."""
        data = self.js("""
            const c = document.getElementById('canvas');
            const d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
            let s = ''; for (let i = 0; i < d.length; i += 8192)
              s += String.fromCharCode.apply(null, d.subarray(i, i + 8192));
            return btoa(s);""")
        return _Picture(base64.b64decode(data))

    def visible(self, element):
        return self.js("const e = document.getElementById(arguments[0]); "
                       "return !!e && !e.hidden && e.offsetParent !== null", element)

    def text(self, element):
        return self.js("return document.getElementById(arguments[0]).textContent", element)

    # the game's screens, as the window tests know them
    def title_shown(self):
        p = self.picture()
        return all(count(p, 140, 8, 250, y, WHITE) >= 40 for y in (250, 280, 310)) and \
            count(p, 400, 200, 120, 40, LIT) >= 4000

    def game_shown(self):
        p = self.picture()
        return all(count(p, 100, 8, 540, y, WHITE) >= 20 for y in (5, 15, 25)) and \
            count(p, 140, 68, 250, 250, WHITE) < 40

    def paused_shown(self):
        p = self.picture()
        return 290 <= count(p, 300, 1, 170, 205, WHITE) <= 301 and \
            count(p, 48, 8, 296, 215, WHITE) >= 20

    def start_game(self):
        wait_for('the title screen', self.title_shown)
        self.press(Keys.RETURN)
        wait_for('a game', self.game_shown)

    def clock(self):
        """The m:ss of "Next Level In m:ss", as the set of its white pixels."""
        return white_pixels(self.picture(), 32, 8, 608, 5)

    def steady_clock(self):
        """The clock as two readings a moment apart agree on it (a star may cross the text)."""
        first = self.clock()
        while True:
            time.sleep(0.3)
            again = self.clock()
            if same_clock(first, again):
                return again
            first = again


class _Picture:
    """The canvas's bytes, its pixels made (r, g, b) only when read."""

    def __init__(self, raw):
        self.raw = raw

    def __getitem__(self, y):
        if isinstance(y, slice):
            return [_Row(self.raw, j) for j in range(*y.indices(HEIGHT))]
        return _Row(self.raw, y)


class _Row:
    def __init__(self, raw, y):
        self.raw, self.at = raw, 4 * WIDTH * y

    def __getitem__(self, x):
        if isinstance(x, slice):
            return [self[i] for i in range(*x.indices(WIDTH))]
        return tuple(self.raw[self.at + 4 * x:self.at + 4 * x + 3])


WHITE = (255, 255, 255)
LIT = None


def near(a, b, slack=24):
    return all(abs(x - y) <= slack for x, y in zip(a, b))


def count(p, w, h, x, y, colour):
    """Pixels of the colour (LIT: any but black) in the box."""
    n = 0
    for row in p[y:y + h]:
        for c in row[x:x + w]:
            n += (c != (0, 0, 0)) if colour is LIT else near(c, colour)
    return n


def white_pixels(p, w, h, x, y):
    return {(i, j) for j in range(h) for i in range(w) if near(p[y + j][x + i], WHITE)}


def same_clock(a, b):
    return len(a ^ b) <= 2


def read_bmp(path):
    """A 24-bit BMP's pixels as rows of (r, g, b), top row first."""
    with open(path, 'rb') as f:
        data = f.read()
    offset = int.from_bytes(data[10:14], 'little')
    w = int.from_bytes(data[18:22], 'little', signed=True)
    h = int.from_bytes(data[22:26], 'little', signed=True)
    bits = int.from_bytes(data[28:30], 'little')
    if bits != 24:
        fail('%s: a %d-bit picture, the test reads 24-bit ones' % (path, bits))
    stride = (w * 3 + 3) & ~3
    rows = []
    for r in range(abs(h)):
        at = offset + r * stride
        rows.append([(data[at + 3 * i + 2], data[at + 3 * i + 1], data[at + 3 * i])
                     for i in range(w)])
    return rows[::-1] if h > 0 else rows


STARS_AT_MOST = 100 # white stars of the background fall in front of the pictures


def misses(p, picture, x, y):
    """Pixels of the picture (all but its magenta mask) that the canvas at (x, y) does not show, give
    or take the game's 16-bit colours and a few stars in front of it."""
    wrong = [p[y + j][x + i] for j, row in enumerate(picture) for i, c in enumerate(row)
             if c != (255, 0, 255) and not near(p[y + j][x + i], c, 10)]
    stars = sum(1 for c in wrong if c == WHITE)
    return len(wrong) - stars + max(0, stars - STARS_AT_MOST)
