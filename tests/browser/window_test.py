# A game pauses when its page is hidden (the browser's window minimised, the page's focus gone with
# it) and stays paused after coming back, the clock standing, until P. F11 puts the page's picture
# fullscreen without pausing, and F11 again takes it back, the game keeping the key to itself; the
# page's button does the same.
from page import Page, Keys, fail, wait_for
import time


def fullscreen(page):
    return page.js("return document.fullscreenElement && document.fullscreenElement.id") == 'stage'


with Page() as page:
    page.start_game()
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
