# A data file missing from the server, or cut short, is named on the page, and no game starts.
from page import Page, fail, wait_for
import os


def refused(page, what, says):
    wait_for('the page to say %s' % what, lambda: page.visible('message'))
    text = page.text('message')
    if says not in text:
        fail('%s: the page says "%s", not "%s"' % (what, text, says))
    if page.visible('thanks'):
        fail('%s: the page thanks for playing' % what)


with Page(leave_out=['moonstruck.data']) as page:
    refused(page, 'the data file is missing', 'moonstruck.data')

with Page(cut_short=['moonstruck.data']) as page:
    refused(page, 'the data file is cut short', "Couldn't load")
print('PASS')
