# A game pauses when its page is hidden (the browser's window minimised, the page's focus gone with
# it) and stays paused after coming back, the clock standing, until P.
from page import Page, fail, same_clock, wait_for
import time

with Page() as page:
    page.start_game()
    page.driver.minimize_window()
    wait_for('the page hidden', lambda: page.js('return document.visibilityState') == 'hidden')
    time.sleep(0.5)
    page.driver.maximize_window()
    wait_for('the game paused by the hidden page', page.paused_shown)
    stood = page.steady_clock()
    time.sleep(2)
    if not page.paused_shown() or not same_clock(stood, page.clock()):
        fail('the game went on by itself after its tab came back')
    page.press('p')
    wait_for('the game going on after P', lambda: not page.paused_shown())
print('PASS')
