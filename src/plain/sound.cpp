// sound.cpp (Windows and the browser): the library's own sound driver, DirectSound on Windows and
// the page's Web Audio (src/web/platform.cpp) in the browser.
#include "sound.h"

#include <allegro.h>

void start_sound() {
    install_sound(DIGI_AUTODETECT, MIDI_NONE, nullptr);
}
