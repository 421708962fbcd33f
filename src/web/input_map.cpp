// input_map.cpp: the keys and the gamepad's buttons the browser names, in the library's terms.
#include "input_map.h"

#include <cmath>
#include <cstring>

const _key_name key_names[] = {
    {"KeyA", KEY_A},
    {"KeyB", KEY_B},
    {"KeyC", KEY_C},
    {"KeyD", KEY_D},
    {"KeyE", KEY_E},
    {"KeyF", KEY_F},
    {"KeyG", KEY_G},
    {"KeyH", KEY_H},
    {"KeyI", KEY_I},
    {"KeyJ", KEY_J},
    {"KeyK", KEY_K},
    {"KeyL", KEY_L},
    {"KeyM", KEY_M},
    {"KeyN", KEY_N},
    {"KeyO", KEY_O},
    {"KeyP", KEY_P},
    {"KeyQ", KEY_Q},
    {"KeyR", KEY_R},
    {"KeyS", KEY_S},
    {"KeyT", KEY_T},
    {"KeyU", KEY_U},
    {"KeyV", KEY_V},
    {"KeyW", KEY_W},
    {"KeyX", KEY_X},
    {"KeyY", KEY_Y},
    {"KeyZ", KEY_Z},
    {"Digit0", KEY_0},
    {"Digit1", KEY_1},
    {"Digit2", KEY_2},
    {"Digit3", KEY_3},
    {"Digit4", KEY_4},
    {"Digit5", KEY_5},
    {"Digit6", KEY_6},
    {"Digit7", KEY_7},
    {"Digit8", KEY_8},
    {"Digit9", KEY_9},
    {"ArrowLeft", KEY_LEFT},
    {"ArrowRight", KEY_RIGHT},
    {"ArrowUp", KEY_UP},
    {"ArrowDown", KEY_DOWN},
    {"Space", KEY_SPACE},
    {"Enter", KEY_ENTER},
    {"NumpadEnter", KEY_ENTER_PAD},
    {"Escape", KEY_ESC},
    {"Tab", KEY_TAB},
    {"Backspace", KEY_BACKSPACE},
    {"ShiftLeft", KEY_LSHIFT},
    {"ShiftRight", KEY_RSHIFT},
    {"ControlLeft", KEY_LCONTROL},
    {"ControlRight", KEY_RCONTROL},
    {"AltLeft", KEY_ALT},
    {"AltRight", KEY_ALTGR},
    {"Pause", KEY_PAUSE},
    {"Home", KEY_HOME},
    {"End", KEY_END},
    {"PageUp", KEY_PGUP},
    {"PageDown", KEY_PGDN},
    {"F9", KEY_F9},
    {"F10", KEY_F10},
};
const int key_names_count = sizeof key_names / sizeof key_names[0];

int scancode_of(const char *code) {
    for (const _key_name &k : key_names)
        if (std::strcmp(k.code, code) == 0)
            return k.scancode;
    return 0;
}

// A B X Y, the left and right bumpers, Back, Start, Guide, the left and right stick's click
const int pad_button_source[PAD_BUTTONS] = {0, 1, 2, 3, 4, 5, 8, 9, 16, 10, 11};

static int from_buttons(const bool buttons[STANDARD_BUTTONS], int less, int more) {
    return (buttons[more] ? PAD_AXIS_MAX : 0) - (buttons[less] ? PAD_AXIS_MAX : 0);
}

// one of the library's axis positions
static int axis_position(const float axes[STANDARD_AXES], const bool buttons[STANDARD_BUTTONS],
                         int stick, int axis) {
    if (stick == PAD_STICKS - 1)
        return axis == 0 ? from_buttons(buttons, DPAD_LEFT, DPAD_RIGHT)
                         : from_buttons(buttons, DPAD_UP, DPAD_DOWN);
    const float at = axes[stick * 2 + axis];
    if (!(at >= -1.0f && at <= 1.0f)) // the browser's NaN or a value out of range: at rest
        return 0;
    return static_cast<int>(std::lround(at * PAD_AXIS_MAX));
}

static const char *const STICK_NAMES[PAD_STICKS] = {"Left stick", "Right stick", "D-pad"};
static const char *const AXIS_NAMES[2] = {"X", "Y"};
static const char *const BUTTON_NAMES[PAD_BUTTONS] = {"A",    "B",     "X",     "Y",  "LB", "RB",
                                                      "Back", "Start", "Guide", "LS", "RS"};

void describe_pad(JOYSTICK_INFO &pad) {
    pad.flags = JOYFLAG_ANALOGUE | JOYFLAG_DIGITAL;
    pad.num_sticks = PAD_STICKS;
    for (int s = 0; s < PAD_STICKS; s++) {
        pad.stick[s].flags =
            JOYFLAG_SIGNED | (s == PAD_STICKS - 1 ? JOYFLAG_DIGITAL : JOYFLAG_ANALOGUE);
        pad.stick[s].num_axis = 2;
        pad.stick[s].name = STICK_NAMES[s];
        for (int a = 0; a < 2; a++)
            pad.stick[s].axis[a].name = AXIS_NAMES[a];
    }
    pad.num_buttons = PAD_BUTTONS;
    for (int b = 0; b < PAD_BUTTONS; b++)
        pad.button[b].name = BUTTON_NAMES[b];
}

void pad_from_standard(const float axes[STANDARD_AXES], const bool buttons[STANDARD_BUTTONS],
                       JOYSTICK_INFO &pad) {
    for (int s = 0; s < PAD_STICKS; s++)
        for (int a = 0; a < 2; a++) {
            JOYSTICK_AXIS_INFO &axis = pad.stick[s].axis[a];
            axis.pos = axis_position(axes, buttons, s, a);
            axis.d1 = axis.pos < -PAD_AXIS_MAX / 2;
            axis.d2 = axis.pos > PAD_AXIS_MAX / 2;
        }
    for (int b = 0; b < PAD_BUTTONS; b++)
        pad.button[b].b = buttons[pad_button_source[b]];
}
