# web_frame.py: what a pass of the game's loop costs in the browser: the page (a web zip or a built
# folder, the first argument) played in headless Chromium for SECONDS (the second argument, 30 by
# default) with the gun firing and the ship swept left and right; it reports the passes, their
# mean cost from one rest to the next (the ticks, the drawing, the copy to the screen and the
# frame put on the canvas) and the part of it the canvas takes. It only reports.
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'tests', 'browser'))
from page import Page, Keys, ActionChains  # noqa: E402

seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 30
costs = 'const at = Module._web_pass_costs() >> 3; ' \
        'return [HEAPF64[at], HEAPF64[at + 1], HEAPF64[at + 2], Module._web_ticks_run(), performance.now()]'
with Page() as page:
    page.start_game()
    ActionChains(page.driver).key_down(Keys.SPACE).perform()
    first = page.js(costs)
    end = time.monotonic() + seconds
    sweep = 0
    while time.monotonic() < end:
        page.press((Keys.ARROW_LEFT, Keys.ARROW_RIGHT)[sweep % 2], hold=0.8)
        sweep += 1
    last = page.js(costs)
    ActionChains(page.driver).key_up(Keys.SPACE).perform()
passes, pass_ms, canvas_ms, ticks, now = (b - a for a, b in zip(first, last))
print('%d passes in %.1f s, %.1f ticks a second' % (passes, now / 1000, ticks / now * 1000))
print('a pass: %.3f ms, of which %.3f ms put the frame on the canvas' %
      (pass_ms / passes, canvas_ms / passes))
