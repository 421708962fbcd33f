// sound.cpp (Windows): the library's DirectSound driver, as the library sets it up.
#include "sound.h"

#include <allegro.h>

void start_sound() {
    install_sound(DIGI_AUTODETECT, MIDI_NONE, nullptr);
}
