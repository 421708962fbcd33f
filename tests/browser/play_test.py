# A game plays in the page as on the desktop: Enter starts it with the level clock at 1:1x and
# running, Left moves the ship, P pauses it (the clock stands) and P again plays on, and Esc goes
# back to the title screen. A gamepad in the browser's standard layout plays the same: A chooses
# on the title screen, the d-pad steers the ship and Back leaves the game. The pad is the page's
# own stand-in for the Gamepad API, since a headless browser has none.
from page import Page, SHIP_X, SHIP_Y, Keys, fail, read_bmp, same_clock, wait_for
import time

PAD = """
window.testPad = {connected: true, mapping: 'standard', axes: [0, 0, 0, 0],
                  buttons: Array.from({length: 17}, () => ({pressed: false, value: 0}))};
navigator.getGamepads = () => [null, window.testPad];
"""
A, BACK, DPAD_LEFT = 0, 8, 14


def hold(page, button, seconds):
    page.js('testPad.buttons[arguments[0]].pressed = true', button)
    time.sleep(seconds)
    page.js('testPad.buttons[arguments[0]].pressed = false', button)
    time.sleep(0.1)


with Page(before_page=PAD) as page:
    page.start_game()
    p = page.picture()
    start = p.white_pixels(32, 8, 608, 5)
    minutes = {(x, y) for x, y in start if x < 8}
    tens = {(x - 16, y) for x, y in start if 16 <= x < 24}
    if not minutes or minutes != tens:
        fail('the level clock does not read 1:1x at the start (its minutes and tens differ)')
    # at once, before the enemies' shots can drive the pilot crazy and turn the steering round
    if p.misses(read_bmp('ship.bmp'), SHIP_X, SHIP_Y) > 2:
        fail('the ship is not at its start, (%d, %d)' % (SHIP_X, SHIP_Y))
    page.press(Keys.ARROW_LEFT, hold=0.5)
    page.ship_moved_left('Left')
    wait_for('the level clock to run', lambda: not same_clock(start, page.clock()), 5)
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
print('PASS')
