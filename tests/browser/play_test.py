# A game plays in the page as on the desktop: Enter starts it with the level clock running, Left
# moves the ship, P pauses it (the clock stands) and P again plays on, and Esc goes back to the
# title screen. The mixer's sound reaches the page's audio graph once the player has pressed a key,
# and the page asks for that gesture until then; M silences it and M again brings it back. A
# gamepad in the browser's standard layout plays the same: A chooses on the title screen, the d-pad
# steers the ship and Back leaves the game; the pad is the page's own stand-in for the Gamepad API,
# since a headless browser has none. A minute of play in the page runs the game's 50 ticks a
# second, within 1 %, by the page's clock.
from page import Page, Keys, fail, same_clock, wait_for
import time

PAD = """
window.testPad = {connected: true, mapping: 'standard', axes: [0, 0, 0, 0],
                  buttons: Array.from({length: 17}, () => ({pressed: false, value: 0}))};
navigator.getGamepads = () => [null, window.testPad];
"""
A, BACK, DPAD_LEFT = 0, 8, 14
TICKS_PER_SECOND = 50
PLAY_SECONDS = 60


def hold(page, button, seconds):
    page.js('const b = testPad.buttons[arguments[0]]; b.pressed = true;'
            'setTimeout(() => b.pressed = false, arguments[1])', button, seconds * 1000)
    time.sleep(seconds + 0.1)


def audible(page):
    return page.js('return window.moonstruck.audibleSamples')


with Page(before_page=PAD) as page:
    wait_for('the title screen', page.title_shown)
    if not page.visible('sound'):
        fail('the page does not ask for a key or a click for sound')
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

    page.press('p')
    page.paused_until_p('P')
    page.press(Keys.ESCAPE)
    wait_for('the title screen after Esc', page.title_shown)
    hold(page, A, 0.2)
    wait_for('a game chosen with A', page.game_shown)
    hold(page, DPAD_LEFT, 0.5)
    page.ship_moved_left('the d-pad')
    hold(page, BACK, 0.2)
    wait_for('the title screen after Back', page.title_shown)

    page.start_game()
    measure = 'return [performance.now(), Module._web_ticks_run()]'
    t0, ticks0 = page.js(measure)
    time.sleep(PLAY_SECONDS)
    t1, ticks1 = page.js(measure)
    rate = (ticks1 - ticks0) / ((t1 - t0) / 1000)
    if abs(rate - TICKS_PER_SECOND) > TICKS_PER_SECOND / 100:
        fail('%.2f ticks a second over %.1f s of play' % (rate, (t1 - t0) / 1000))
print('PASS')
