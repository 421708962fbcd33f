// sound.cpp (browser): the page's Web Audio driver, which platform.cpp gives the library.
#include "sound.h"

#include <allegro.h>

void start_sound() {
    install_sound(DIGI_AUTODETECT, MIDI_NONE, nullptr);
}
