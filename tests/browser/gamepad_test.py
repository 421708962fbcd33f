# A gamepad in the browser's standard layout plays as on the desktop: A chooses on the title
# screen, the d-pad steers the ship and Back leaves the game. The pad is the page's own stand-in
# for the Gamepad API, since a headless browser has none.
from page import Page, ROOT, fail, misses, read_bmp, wait_for
import os
import time

PAD = """
window.testPad = {connected: true, mapping: 'standard', axes: [0, 0, 0, 0],
                  buttons: Array.from({length: 17}, () => ({pressed: false, value: 0}))};
navigator.getGamepads = () => [null, window.testPad];
"""
A, BACK, DPAD_LEFT = 0, 8, 14
SHIP_X, SHIP_Y = 308, 435


def hold(page, button, seconds):
    page.js('testPad.buttons[arguments[0]].pressed = true', button)
    time.sleep(seconds)
    page.js('testPad.buttons[arguments[0]].pressed = false', button)
    time.sleep(0.1)


with Page(before_page=PAD) as page:
    wait_for('the title screen', page.title_shown)
    hold(page, A, 0.2)
    wait_for('a game chosen with A', page.game_shown)
    ship = read_bmp(os.path.join(ROOT, 'media', 'ship.bmp'))
    hold(page, DPAD_LEFT, 0.5)
    p = page.picture()
    if not [x for x in range(0, SHIP_X) if misses(p, ship, x, SHIP_Y) <= 2]:
        fail('the d-pad did not move the ship left of %d' % SHIP_X)
    hold(page, BACK, 0.2)
    wait_for('the title screen after Back', page.title_shown)
print('PASS')
