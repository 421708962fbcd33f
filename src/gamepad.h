// gamepad.h: the first gamepad, read once a tick into what the game asks of it.
#pragma once

// of the library's 128 to either side: a stick resting a little off centre steers nothing
constexpr int STICK_DEAD_ZONE = 40;

struct _gamepad {
    bool left, right, up, down; // the first stick or the d-pad pushed past the dead zone
    bool fire;                  // a face button held
    bool choose;                // a face button or Start pressed since the last tick
    bool back;                  // Back (Select) pressed since the last tick
    bool choose_held;           // as they were at the last read, to tell a press from a hold
    bool back_held;
};

extern _gamepad gamepad;     // what the first gamepad says this tick; all false without one
extern bool gamepad_watched; // the library's joystick driver is ours to install and remove

// the library's joystick support; no gamepad, or no support at all, is no failure
void install_gamepad();
// polls the first gamepad and fills gamepad from it; once a tick, before the state's routine
void read_gamepad();
