# page.py: what the browser tests share: the web zip (or a built folder) served on 127.0.0.1, the
# page in a headless Chromium of the test's own, keys held as a player holds them, and the canvas
# read back as the game's 640 by 480 picture.
import base64
import functools
import http.server
import os
import shutil
import struct
import sys
import tempfile
import threading
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.keys import Keys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
CHROMIUM_FLAGS = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic',
                  '--no-first-run', '--disable-background-networking',
                  '--disable-component-update', '--disable-sync', '--window-size=1400,1200']
WHITE, LIT, BANANA = (255, 255, 255), None, (255, 225, 50)
SHIP_X, SHIP_Y = 308, 435 # the ship's place at the start of a game
STARS_AT_MOST = 100 # white stars of the background fall in front of the pictures


def fail(why):
    print('FAIL: %s' % why, file=sys.stderr)
    if Page.current:
        test = os.path.splitext(os.path.basename(sys.argv[0]))[0]
        Page.current.driver.save_screenshot('/tmp/%s-last-screen.png' % test)
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


# the game's page, from the zip or folder named on the command line, in headless Chromium;
# change_data(path) may alter the site's data file first, before_page is a script run before the
# page's own
class Page:
    current = None

    def __init__(self, change_data=None, before_page=None):
        self.work = tempfile.mkdtemp(prefix='moonstruck-browser-')
        site = os.path.join(self.work, 'site')
        if os.path.isdir(sys.argv[1]):
            shutil.copytree(sys.argv[1], site,
                            ignore=shutil.ignore_patterns('CMake*', '*.a', 'Makefile'))
        else:
            shutil.unpack_archive(sys.argv[1], site, 'zip')
        if change_data:
            change_data(os.path.join(site, 'moonstruck.data'))
        self.server = http.server.ThreadingHTTPServer(
            ('127.0.0.1', 0), functools.partial(_Quiet, directory=site))
        threading.Thread(target=self.server.serve_forever, daemon=True).start()
        options = webdriver.ChromeOptions()
        for flag in CHROMIUM_FLAGS + ['--user-data-dir=' + os.path.join(self.work, 'profile')]:
            options.add_argument(flag)
        options.binary_location = '/usr/bin/chromium'
        self.driver = webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)
        Page.current = self
        if before_page:
            self.driver.execute_cdp_cmd('Page.addScriptToEvaluateOnNewDocument',
                                        {'source': before_page})
        self.driver.get('http://127.0.0.1:%d/index.html' % self.server.server_address[1])

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        Page.current = None
        self.driver.quit()
        self.server.shutdown()
        shutil.rmtree(self.work, ignore_errors=True)

    def js(self, script, *args):
        return self.driver.execute_script(script, *args)

    # the keys: each held for 0.1 s (five ticks) as the window tests do; Keys.RETURN is the main
    # Enter, Keys.ENTER the keypad's
    def press(self, *keys, hold=0.1):
        for k in keys:
            ActionChains(self.driver).key_down(k).pause(hold).key_up(k).pause(0.1).perform()

    def picture(self):
        return Picture(base64.b64decode(self.js("""
            const c = document.getElementById('canvas');
            const d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
            let s = ''; for (let i = 0; i < d.length; i += 8192)
              s += String.fromCharCode.apply(null, d.subarray(i, i + 8192));
            return btoa(s);""")))

    def visible(self, element):
        return self.js("const e = document.getElementById(arguments[0]); "
                       "return !!e && !e.hidden && e.offsetParent !== null", element)

    def text(self, element):
        return self.js("return document.getElementById(arguments[0]).textContent", element)

    # the game's screens, as the window tests know them
    def title_shown(self):
        p = self.picture()
        return all(p.count(140, 8, 250, y, WHITE) >= 40 for y in (250, 280, 310)) and \
            p.count(400, 200, 120, 40, LIT) >= 4000

    def game_shown(self):
        p = self.picture()
        return all(p.count(100, 8, 540, y, WHITE) >= 20 for y in (5, 15, 25)) and \
            p.count(140, 68, 250, 250, WHITE) < 40

    def paused_shown(self):
        p = self.picture()
        return 290 <= p.count(300, 1, 170, 205, WHITE) <= 301 and \
            p.count(48, 8, 296, 215, WHITE) >= 20

    # the title screen's bananas turn beside choice SEL (0 to 2) and no other
    def bananas_at(self, sel):
        p = self.picture()
        lit = [p.count(30, 28, x, 241 + 30 * s, BANANA) for s in range(3) for x in (215, 395)]
        return all(n >= 15 if i // 2 == sel else n <= 2 for i, n in enumerate(lit))

    # The title ignores keys for a moment after a game, so they are pressed until they are seen:
    # Enter until a game shows (in a game Enter does nothing), Down until the bananas show a choice
    def start_game(self):
        wait_for('the title screen', self.title_shown)
        wait_for('a game', lambda: self.game_shown() or self.press(Keys.RETURN))

    def choose(self, sel):
        wait_for('the bananas beside choice %d' % sel,
                 lambda: self.bananas_at(sel) or self.press(Keys.ARROW_DOWN))
        self.press(Keys.RETURN)

    # the m:ss of "Next Level In m:ss", as the set of its white pixels
    def clock(self):
        return self.picture().white_pixels(32, 8, 608, 5)

    # the game paused by something, its level clock standing for 2.5 s, until P lets the clock
    # run again
    def paused_until_p(self, by):
        wait_for('the game paused by %s' % by, self.paused_shown)
        stood, again = None, self.clock()
        while stood is None or not same_clock(stood, again): # until no star crosses the text
            time.sleep(0.3)
            stood, again = again, self.clock()
        time.sleep(2.5)
        if not self.paused_shown():
            fail('the game went on by itself after it was paused by %s' % by)
        if not same_clock(stood, self.clock()):
            fail('the level clock moved while the game was paused by %s' % by)
        self.press('p')
        wait_for('the game going on after P', lambda: not self.paused_shown())
        resumed = self.clock()
        wait_for('the level clock running after P', lambda: not same_clock(resumed, self.clock()))

    # the ship shown somewhere left of its start, after steering by something
    def ship_moved_left(self, by):
        p, ship = self.picture(), read_bmp('ship.bmp')
        if not [x for x in range(0, SHIP_X) if p.misses(ship, x, SHIP_Y) <= 2]:
            fail('%s did not move the ship left of %d' % (by, SHIP_X))


def near(a, b, slack=24):
    return all(abs(x - y) <= slack for x, y in zip(a, b))


def same_clock(a, b):
    return len(a ^ b) <= 2


# the canvas's bytes, p[x, y] its pixel as (r, g, b)
class Picture(bytes):
    def __getitem__(self, xy):
        at = 4 * (640 * xy[1] + xy[0])
        return tuple(bytes.__getitem__(self, slice(at, at + 3)))

    # pixels of the colour (LIT: any but black) in the box
    def count(self, w, h, x, y, colour):
        box = [self[i, j] for j in range(y, y + h) for i in range(x, x + w)]
        return sum((c != (0, 0, 0)) if colour is LIT else near(c, colour) for c in box)

    def white_pixels(self, w, h, x, y):
        return {(i, j) for j in range(h) for i in range(w) if near(self[x + i, y + j], WHITE)}

    # pixels of the picture (read_bmp's) that the canvas at (x, y) does not show, give or take the
    # game's 16-bit colours and a few of the background's white stars falling in front of it
    def misses(self, picture, x, y):
        wrong = [self[x + i, y + j] for i, j, c in picture if not near(self[x + i, y + j], c, 10)]
        stars = sum(1 for c in wrong if c == WHITE)
        return len(wrong) - stars + max(0, stars - STARS_AT_MOST)


# a 24-bit BMP of media/ as its pixels (x, y, (r, g, b)), all but its magenta mask
def read_bmp(name):
    with open(os.path.join(ROOT, 'media', name), 'rb') as f:
        data = f.read()
    offset, w, h, bits = struct.unpack_from('<I4xii2xH', data, 10)
    if bits != 24 or h < 0:
        fail('%s: a %d-bit picture, height %d; the test reads 24-bit ones stored bottom up'
             % (name, bits, h))
    stride = (w * 3 + 3) & ~3
    rows = [data[offset + r * stride:offset + r * stride + 3 * w] for r in range(h)][::-1]
    return [(x, y, c) for y, row in enumerate(rows) for x in range(w)
            if (c := (row[3 * x + 2], row[3 * x + 1], row[3 * x])) != (255, 0, 255)]
