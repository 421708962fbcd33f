// gamepad.cpp: the first gamepad through the library's joystick support: steering with a dead
// zone, the gun, and choosing and leaving in the menus; a pad that comes or goes is noticed.
#include "gamepad.h"

#include "measures.h"

#include <allegro.h>

#include <initializer_list>

#ifdef __linux__
#include <unistd.h>
#endif

_gamepad gamepad;
bool gamepad_watched = false;

// the buttons as the common pads number them (the Xbox layout, which most others copy and
// which Linux and Windows both report)
constexpr int FACE_BUTTONS = 4; // 0 to 3: A, B, X and Y
constexpr int BACK_BUTTON = 6;
constexpr int START_BUTTON = 7;

void install_gamepad() {
    install_joystick(JOY_TYPE_AUTODETECT);
    gamepad_watched = true;
}

#ifdef __linux__
// the library opens a pad only when it starts, and keeps reading one that is gone; so once a
// second the first pad's device is looked for, and the library restarted when it came or went
constexpr int LOOK_EVERY = TICKS_PER_SECOND;

static bool pad_device_there() {
    return access("/dev/input/js0", F_OK) == 0 || access("/dev/js0", F_OK) == 0;
}

static void notice_plugging() {
    static int ticks_to_look = LOOK_EVERY;
    if (--ticks_to_look > 0)
        return;
    ticks_to_look = LOOK_EVERY;
    const bool there = pad_device_there();
    if (there == (num_joysticks > 0))
        return;
    remove_joystick(); // forgets every button and axis of a pad that was pulled out
    if (there)
        install_joystick(JOY_TYPE_AUTODETECT);
}
#else
static void notice_plugging() {}
#endif

static bool pushed(const JOYSTICK_STICK_INFO &stick, int axis, int sign) {
    return axis < stick.num_axis && stick.axis[axis].pos * sign > STICK_DEAD_ZONE;
}

static bool button_down(const JOYSTICK_INFO &pad, int b) {
    return b < pad.num_buttons && pad.button[b].b;
}

// the first stick, and the last stick of two axes, which is where the library puts a d-pad
// (after the triggers and the second stick, or alone on a pad that has nothing else)
static void read_steering(const JOYSTICK_INFO &pad) {
    int dpad = -1;
    for (int s = 0; s < pad.num_sticks && s < MAX_JOYSTICK_STICKS; s++)
        if (pad.stick[s].num_axis == 2 && (pad.stick[s].flags & JOYFLAG_SIGNED))
            dpad = s;
    for (int s : {0, dpad}) {
        if (s < 0 || s >= pad.num_sticks)
            continue;
        const JOYSTICK_STICK_INFO &stick = pad.stick[s];
        if (!(stick.flags & JOYFLAG_SIGNED))
            continue; // a throttle or trigger rests at one end
        gamepad.left |= pushed(stick, 0, -1);
        gamepad.right |= pushed(stick, 0, +1);
        gamepad.up |= pushed(stick, 1, -1);
        gamepad.down |= pushed(stick, 1, +1);
    }
}

void read_gamepad() {
    if (gamepad_watched) {
        notice_plugging();
        poll_joystick();
    }
    const bool choose_held = gamepad.choose_held, back_held = gamepad.back_held;
    gamepad = {};
    if (num_joysticks <= 0)
        return;

    const JOYSTICK_INFO &pad = joy[0];
    read_steering(pad);
    for (int b = 0; b < FACE_BUTTONS; b++)
        gamepad.fire |= button_down(pad, b);
    gamepad.choose_held = gamepad.fire || button_down(pad, START_BUTTON);
    gamepad.back_held = button_down(pad, BACK_BUTTON);
    gamepad.choose = gamepad.choose_held && !choose_held;
    gamepad.back = gamepad.back_held && !back_held;
}
