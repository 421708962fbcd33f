// input_map.h: the browser's names of keys and its standard gamepad's buttons, in the library's
// terms, as the desktop reports them.
#pragma once

#include <allegro.h>

// a key by the browser's name of its place on the keyboard (KeyboardEvent.code)
struct _key_name {
    const char *code;
    int scancode; // the library's KEY_ number
};

extern const _key_name key_names[]; // every key the game or its menus can use
extern const int key_names_count;

// the library's scancode of the key the browser names; 0 for a key the game leaves to the page
int scancode_of(const char *code);

// the standard gamepad (the Gamepad API's "standard" mapping) numbers its buttons and axes
// otherwise than Linux and Windows do; the pad is given to the library as the desktop gives it
constexpr int STANDARD_BUTTONS = 17;
constexpr int STANDARD_AXES = 4;
constexpr int PAD_BUTTONS = 11; // A B X Y, the bumpers, Back, Start, Guide and the stick clicks
constexpr int DPAD_UP = 12, DPAD_DOWN = 13, DPAD_LEFT = 14, DPAD_RIGHT = 15;

// which standard button stands behind each of the library's buttons, in the desktop's order
extern const int pad_button_source[PAD_BUTTONS];

// the library's sticks: the left stick, the right stick and, last, the d-pad as a stick of two
// axes, which is where the desktop's library puts it too
constexpr int PAD_STICKS = 3;
constexpr int PAD_AXIS_MAX = 127; // a stick's position runs from -128 to 127

// names the first pad's sticks, axes and buttons to the library, as the desktop's library does
void describe_pad(JOYSTICK_INFO &pad);
// the library's positions and buttons of the pad from a standard pad's axes (-1 to 1) and
// buttons
void pad_from_standard(const float axes[STANDARD_AXES], const bool buttons[STANDARD_BUTTONS],
                       JOYSTICK_INFO &pad);
