// sound.h: the sound device; on Linux taken only when it answers at once, and fed by a thread of
// the game's own, so that a device that stops taking samples holds up neither picture nor keys.
#pragma once

// installs the library's sound when the device answers; otherwise the game plays silently
void start_sound();
