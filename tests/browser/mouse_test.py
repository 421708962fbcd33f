# In a two-player game the crosshair follows the pointer in the picture's own pixels, whatever the
# scale the page shows the picture at: here twice its size, and then a fraction of it.
from page import Page, Keys, fail, read_bmp, wait_for
from selenium.webdriver.common.actions.action_builder import ActionBuilder
import math

CROSSHAIR = read_bmp('targeting.bmp')


def crosshair_follows(page, near_to):
    """Points at the screen pixel nearest the game pixel near_to; the crosshair must stand at the
    game pixel under it."""
    left, top, width = page.js("const b = document.getElementById('canvas').getBoundingClientRect();"
                               "return [b.left, b.top, b.width]")
    scale = width / 640
    x, y = (math.floor(edge + (g + 0.5) * scale) for edge, g in zip((left, top), near_to))
    at = (math.floor((x - left) / scale), math.floor((y - top) / scale))
    pointer = ActionBuilder(page.driver)
    pointer.pointer_action.move_to_location(x, y)
    pointer.perform()
    wait_for('the crosshair at %s with the picture %g times its size' % (at, scale),
             lambda: page.picture().misses(CROSSHAIR, *at) <= 2, 5)
    return scale


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
print('PASS')
