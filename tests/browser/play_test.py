# The game in one page, as a player meets it, then the page with its data file missing or cut short.
# The title screen: its title picture at (120, 40) pixel for pixel in the game's colours and the
# three choices under it; nothing asked of another host; the page asks for a key or a click for
# sound until the player gives one.
# A game plays as on the desktop: Enter starts it with the level clock running, Left moves the ship,
# and Esc goes back to the title screen. The mixer's sound reaches the page's audio graph once the
# player has pressed a key; M silences it and M again brings it back. A gamepad in the browser's
# standard layout plays the same: A chooses on the title screen, the d-pad steers the ship and Back
# leaves the game; the pad is the page's own stand-in for the Gamepad API, since a headless browser
# has none.
# The page's window: the picture fills it at twice its size in a window of 1400 by 1200, and at a
# fraction of it in a small one, and in a two-player game the crosshair follows the pointer in the
# picture's own pixels at either scale. A game pauses when its page is hidden (the browser's window
# minimised, the page's focus gone with it) and stays paused after coming back, the clock
# standing, until P. F11 puts the page's picture fullscreen without pausing, and F11 again takes it
# back, the game keeping the key to itself; the page's button does the same.
# A minute of play in the page runs the game's 50 ticks a second, within 1 %, by the page's clock.
# Exit ends the game with "Thanks for playing" over the canvas and a button that starts it again;
# Esc on the title screen ends it the same way. A data file missing from the server, or cut short,
# is named on the page instead, and no game starts.
from page import Page, Keys, fail, read_bmp, same_clock, wait_for
import math
import os
import time

PAD = """
window.testPad = {connected: true, mapping: 'standard', axes: [0, 0, 0, 0],
                  buttons: Array.from({length: 17}, () => ({pressed: false, value: 0}))};
navigator.getGamepads = () => [null, window.testPad];
"""
A, BACK, DPAD_LEFT = 0, 8, 14
TICKS_PER_SECOND = 50
PLAY_SECONDS = 60
CROSSHAIR = read_bmp('targeting.bmp')


def hold(page, button, seconds):
    page.js('const b = testPad.buttons[arguments[0]]; b.pressed = true;'
            'setTimeout(() => b.pressed = false, arguments[1])', button, seconds * 1000)
    time.sleep(seconds + 0.1)


def audible(page):
    return page.js('return window.moonstruck.audibleSamples')


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


with Page(before_page=PAD) as page:
    wait_for('the title screen', page.title_shown)
    if not page.visible('sound'):
        fail('the page does not ask for a key or a click for sound')
    wrong = page.picture().misses(read_bmp('title.bmp'), 120, 40)
    if wrong > 2:
        fail('the title picture at (120, 40): %d of its pixels differ' % wrong)
    elsewhere = page.js("return performance.getEntriesByType('resource').map(e => e.name)"
                        ".filter(n => !n.startsWith(location.origin))")
    if elsewhere:
        fail('the page asked another host for %s' % elsewhere)

    page.start_game()
    start = page.clock()
    # at once, before the enemies' shots can drive the pilot crazy and turn the steering round
    page.press(Keys.ARROW_LEFT, hold=0.5)
    page.ship_moved_left('Left')
    wait_for('the level clock to run', lambda: not same_clock(start, page.clock()), 5)
    wait_for('sound from the mixer after a key', lambda: audible(page) > 0)
    if page.visible('sound'):
        fail('the page still asks for a key for sound, which plays')
    page.press('m')
    time.sleep(0.5) # the buffers mixed before M play out
    before = audible(page)
    time.sleep(1)
    if audible(page) != before:
        fail('sound went on after M: %d samples more' % (audible(page) - before))
    page.press('m')
    wait_for('sound again after M', lambda: audible(page) > before)
    page.press(Keys.ESCAPE) # P's pause is the hidden page's below, which P ends
    wait_for('the title screen after Esc', page.title_shown)

    hold(page, A, 0.2)
    wait_for('a game chosen with A', page.game_shown)
    hold(page, DPAD_LEFT, 0.5)
    page.ship_moved_left('the d-pad')
    hold(page, BACK, 0.2)
    wait_for('the title screen after Back', page.title_shown)

    page.choose(1)
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
    page.press(Keys.F11)
    wait_for('the window again after F11', lambda: not fullscreen(page), 5)
    page.press(Keys.ESCAPE)
    wait_for('the title screen after Esc', page.title_shown)

    page.start_game()
    measure = 'return [performance.now(), Module._web_ticks_run()]'
    t0, ticks0 = page.js(measure)
    time.sleep(PLAY_SECONDS)
    t1, ticks1 = page.js(measure)
    rate = (ticks1 - ticks0) / ((t1 - t0) / 1000)
    if abs(rate - TICKS_PER_SECOND) > TICKS_PER_SECOND / 100:
        fail('%.2f ticks a second over %.1f s of play' % (rate, (t1 - t0) / 1000))
    page.press(Keys.ESCAPE)
    wait_for('the title screen after Esc', page.title_shown)

    page.choose(2)
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
