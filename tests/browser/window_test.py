# The page's window: the picture fills it at twice its size in a window of 1400 by 1200, and at a
# fraction of it in a small one, and in a two-player game the crosshair follows the pointer in the
# picture's own pixels at either scale. A game pauses when its page is hidden (the browser's window
# minimised, the page's focus gone with it) and stays paused after coming back, the clock
# standing, until P. F11 puts the page's picture fullscreen without pausing, and F11 again takes it
# back, the game keeping the key to itself; the page's button does the same.
from page import Page, Keys, fail, read_bmp, wait_for
import math
import time

CROSSHAIR = read_bmp('targeting.bmp')


# points at the screen pixel nearest the game pixel near_to; the crosshair must stand at the game
# pixel under it
def crosshair_follows(page, near_to):
    left, top, width = page.js("const b = document.getElementById('canvas').getBoundingClientRect();"
                               "return [b.left, b.top, b.width]")
    scale = width / 640
    x, y = (math.floor(edge + (g + 0.5) * scale) for edge, g in zip((left, top), near_to))
    at = (math.floor((x - left) / scale), math.floor((y - top) / scale))
    page.driver.execute_cdp_cmd('Input.dispatchMouseEvent', {'type': 'mouseMoved', 'x': x, 'y': y})
    wait_for('the crosshair at %s with the picture %g times its size' % (at, scale),
             lambda: page.picture().misses(CROSSHAIR, *at) <= 2, 5)
    return scale


def fullscreen(page):
    return page.js("return document.fullscreenElement && document.fullscreenElement.id") == 'stage'


with Page() as page:
    wait_for('the title screen', page.title_shown)
    page.press(Keys.ARROW_DOWN, Keys.RETURN)
    wait_for('a two-player game', page.game_shown)
    scale = crosshair_follows(page, (200, 150))
    if scale != 2:
        fail('the page shows the picture at %g times its size, not 2, in its 1400 by 1200 window'
             % scale)
    page.driver.set_window_size(600, 500)
    wait_for('the picture made smaller', lambda: page.js(
        "return document.getElementById('canvas').getBoundingClientRect().width") < 640)
    crosshair_follows(page, (420, 300))

    page.driver.minimize_window()
    wait_for('the page hidden', lambda: page.js('return document.visibilityState') == 'hidden')
    time.sleep(0.5)
    page.driver.maximize_window()
    page.paused_until_p('the hidden page')
    page.press(Keys.F11)
    wait_for('fullscreen after F11', lambda: fullscreen(page), 5)
    if page.paused_shown():
        fail('going fullscreen paused the game')
    page.press(Keys.F11)
    wait_for('the window again after F11', lambda: not fullscreen(page), 5)
    page.driver.find_element('id', 'fullscreen').click()
    wait_for('fullscreen after the button', lambda: fullscreen(page), 5)
print('PASS')
