// desktop.h: the game's life on a desktop: the keyboard focus, pause and mute.
#pragma once

#include <atomic>

// what the game remembers of pause and sound from tick to tick
struct _desktop {
    bool paused;      // the game in play stands still
    bool sound_on;    // all sound plays; M switches it
    int notice_ticks; // ticks left of the "Sound on" or "Sound off" notice
    bool repaint;     // the paused game's picture has changed since it was last painted
    // the keys as they were on the last tick, so that a held key acts once
    bool p_held, m_held, pause_latch;

    void init(); // sound on, nothing paused, no notice
};

extern _desktop desktop;             // the one record of pause and sound
extern std::atomic<bool> focus_lost; // the window lost the keyboard focus; set by the library

// watches the keyboard focus and makes room for a paused game's picture, once the library is up;
// 0 on success, 1 after telling the user what went wrong
short start_desktop();
void stop_desktop();

// one tick of the screen the state names, with pause and mute around it; the next tick's state
short desktop_tick(short state);
