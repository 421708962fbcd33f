# A minute of play in the page runs the game's 50 ticks a second, within 1 %, by the page's clock.
from page import Page, fail
import time

TICKS_PER_SECOND = 50
PLAY_SECONDS = 60

with Page() as page:
    page.start_game()
    measure = 'return [performance.now(), Module._web_ticks_run()]'
    t0, ticks0 = page.js(measure)
    time.sleep(PLAY_SECONDS)
    t1, ticks1 = page.js(measure)
    rate = (ticks1 - ticks0) / ((t1 - t0) / 1000)
    if abs(rate - TICKS_PER_SECOND) > TICKS_PER_SECOND / 100:
        fail('%.2f ticks a second over %.1f s of play' % (rate, (t1 - t0) / 1000))
    print('%.2f ticks a second over %.1f s' % (rate, (t1 - t0) / 1000))
print('PASS')
