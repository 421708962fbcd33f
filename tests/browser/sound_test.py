# The mixer's sound reaches the page's audio graph once the player has pressed a key, and the page
# asks for that gesture until then; M silences it and M again brings it back.
from page import Page, Keys, fail, wait_for
import time


def audible(page):
    return page.js('return window.moonstruck.audibleSamples')


with Page() as page:
    wait_for('the title screen', page.title_shown)
    if not page.visible('sound'):
        fail('the page does not ask for a key or a click for sound')
    page.start_game()
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
print('PASS')
