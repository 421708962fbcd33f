#include "fixture.h"
#include "gamepad.h"
#include "web/input_map.h"

#include <set>

// every key the game reads reaches it by the browser's name of the key
TEST(BrowserKeys, GameKeysHaveTheirScancodes) {
    struct row {
        const char *code;
        int scancode;
    };
    const row rows[] = {
        {.code = "ArrowLeft", .scancode = KEY_LEFT},
        {.code = "ArrowRight", .scancode = KEY_RIGHT},
        {.code = "ArrowUp", .scancode = KEY_UP},
        {.code = "ArrowDown", .scancode = KEY_DOWN},
        {.code = "KeyW", .scancode = KEY_W},
        {.code = "KeyA", .scancode = KEY_A},
        {.code = "KeyS", .scancode = KEY_S},
        {.code = "KeyD", .scancode = KEY_D},
        {.code = "Space", .scancode = KEY_SPACE},
        {.code = "ControlLeft", .scancode = KEY_LCONTROL},
        {.code = "Enter", .scancode = KEY_ENTER},
        {.code = "Escape", .scancode = KEY_ESC},
        {.code = "KeyP", .scancode = KEY_P},
        {.code = "Pause", .scancode = KEY_PAUSE},
        {.code = "KeyM", .scancode = KEY_M},
        {.code = "F9", .scancode = KEY_F9},
        {.code = "F10", .scancode = KEY_F10},
        {.code = "AltLeft", .scancode = KEY_ALT},
        // the keys the page keeps: fullscreen, reload and the browser's tools
        {.code = "F11", .scancode = 0},
        {.code = "F5", .scancode = 0},
        {.code = "F12", .scancode = 0},
        {.code = "", .scancode = 0},
    };
    for (const row &r : rows) {
        SCOPED_TRACE(r.code);
        EXPECT_EQ(scancode_of(r.code), r.scancode);
    }
}

// no two of the browser's names give one key, so that releasing one never lifts another
TEST(BrowserKeys, EachScancodeHasOneName) {
    std::set<int> seen;
    for (int i = 0; i < key_names_count; i++) {
        SCOPED_TRACE(key_names[i].code);
        EXPECT_TRUE(seen.insert(key_names[i].scancode).second);
    }
}

// a standard pad in the browser steers, fires, chooses and leaves as the same pad on the desktop
using BrowserPad = GameTest;

TEST_F(BrowserPad, StandardPadActsAsOnTheDesktop) {
    struct row {
        const char *name;
        int axis = -1, button = -1; // of the standard pad: -1 for none
        float at;
        bool left, right, up, down, fire, choose, back;
    };
    const row rows[] = {
        {.name = "left stick left", .axis = 0, .at = -0.8f, .left = true},
        {.name = "left stick down", .axis = 1, .at = 0.9f, .down = true},
        {.name = "left stick in the dead zone", .axis = 0, .at = 0.2f},
        {.name = "left stick's NaN", .axis = 0, .at = 0.0f / 0.0f},
        {.name = "right stick", .axis = 2, .at = -1.0f},
        {.name = "d-pad left", .button = DPAD_LEFT, .left = true},
        {.name = "d-pad right", .button = DPAD_RIGHT, .right = true},
        {.name = "d-pad up", .button = DPAD_UP, .up = true},
        {.name = "A", .button = 0, .fire = true, .choose = true},
        {.name = "Y", .button = 3, .fire = true, .choose = true},
        {.name = "Back", .button = 8, .back = true},
        {.name = "Start", .button = 9, .choose = true},
        {.name = "left bumper", .button = 4},
    };
    num_joysticks = 1;
    describe_pad(joy[0]);
    for (const row &r : rows) {
        SCOPED_TRACE(r.name);
        float axes[STANDARD_AXES] = {};
        bool buttons[STANDARD_BUTTONS] = {};
        pad_from_standard(axes, buttons, joy[0]);
        read_gamepad(); // a pad at rest, so that the press is new
        if (r.axis >= 0)
            axes[r.axis] = r.at;
        if (r.button >= 0)
            buttons[r.button] = true;
        pad_from_standard(axes, buttons, joy[0]);
        read_gamepad();
        EXPECT_EQ(gamepad.left, r.left);
        EXPECT_EQ(gamepad.right, r.right);
        EXPECT_EQ(gamepad.up, r.up);
        EXPECT_EQ(gamepad.down, r.down);
        EXPECT_EQ(gamepad.fire, r.fire);
        EXPECT_EQ(gamepad.choose, r.choose);
        EXPECT_EQ(gamepad.back, r.back);
    }
}
