# A game plays in the page as on the desktop: Enter starts it with the level clock at 1:1x and
# running, Left moves the ship, P pauses it (the clock stands) and P again plays on, and Esc goes
# back to the title screen.
from page import Page, ROOT, Keys, fail, misses, read_bmp, same_clock, wait_for, white_pixels
import os
import time

SHIP_X, SHIP_Y = 308, 435

with Page() as page:
    page.start_game()
    p = page.picture()
    start = white_pixels(p, 32, 8, 608, 5)
    minutes = {(x, y) for x, y in start if x < 8}
    tens = {(x - 16, y) for x, y in start if 16 <= x < 24}
    if not minutes or minutes != tens:
        fail('the level clock does not read 1:1x at the start (its minutes and tens differ)')

    # at once, before the enemies' shots can drive the pilot crazy and turn the steering round
    ship = read_bmp(os.path.join(ROOT, 'media', 'ship.bmp'))
    if misses(p, ship, SHIP_X, SHIP_Y) > 2:
        fail('the ship is not at its start, (%d, %d)' % (SHIP_X, SHIP_Y))
    page.press(Keys.ARROW_LEFT, hold=0.5)
    p = page.picture()
    if not [x for x in range(0, SHIP_X) if misses(p, ship, x, SHIP_Y) <= 2]:
        fail('Left did not move the ship left of %d' % SHIP_X)
    wait_for('the level clock to run', lambda: not same_clock(start, page.clock()), 5)

    page.press('p')
    wait_for('the game paused by P', page.paused_shown)
    stood = page.steady_clock()
    time.sleep(2.5)
    if not page.paused_shown() or not same_clock(stood, page.clock()):
        fail('the level clock moved while the game was paused')
    page.press('p')
    wait_for('the game going on after P', lambda: not page.paused_shown())
    resumed = page.clock()
    wait_for('the level clock running after P', lambda: not same_clock(resumed, page.clock()))

    page.press(Keys.ESCAPE)
    wait_for('the title screen after Esc', page.title_shown)
print('PASS')
