#include "fixture.h"
#include "gamepad.h"
#include "input_map.h"

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
struct BrowserPad : GameTest {
    float axes[STANDARD_AXES] = {};
    bool buttons[STANDARD_BUTTONS] = {};

    void SetUp() override {
        GameTest::SetUp();
        num_joysticks = 1;
        describe_pad(joy[0]);
        read_pad(); // a pad at rest, so that a press is new
    }
    void read_pad() {
        pad_from_standard(axes, buttons, joy[0]);
        read_gamepad();
    }
};

TEST_F(BrowserPad, StandardPadActsAsOnTheDesktop) {
    struct row {
        const char *name;
        int axis, button; // of the standard pad: -1 for none
        float at;
        bool left, right, up, down, fire, choose, back;
    };
    const row rows[] = {
        {.name = "left stick left", .axis = 0, .button = -1, .at = -0.8f, .left = true},
        {.name = "left stick down", .axis = 1, .button = -1, .at = 0.9f, .down = true},
        {.name = "left stick in the dead zone", .axis = 0, .button = -1, .at = 0.2f},
        {.name = "left stick's NaN", .axis = 0, .button = -1, .at = 0.0f / 0.0f},
        {.name = "right stick", .axis = 2, .button = -1, .at = -1.0f},
        {.name = "d-pad left", .axis = -1, .button = DPAD_LEFT, .left = true},
        {.name = "d-pad right", .axis = -1, .button = DPAD_RIGHT, .right = true},
        {.name = "d-pad up", .axis = -1, .button = DPAD_UP, .up = true},
        {.name = "A", .axis = -1, .button = 0, .fire = true, .choose = true},
        {.name = "Y", .axis = -1, .button = 3, .fire = true, .choose = true},
        {.name = "Back", .axis = -1, .button = 8, .back = true},
        {.name = "Start", .axis = -1, .button = 9, .choose = true},
        {.name = "left bumper", .axis = -1, .button = 4},
    };
    for (const row &r : rows) {
        SCOPED_TRACE(r.name);
        for (float &a : axes)
            a = 0;
        for (bool &b : buttons)
            b = false;
        read_pad();
        if (r.axis >= 0)
            axes[r.axis] = r.at;
        if (r.button >= 0)
            buttons[r.button] = true;
        read_pad();
        EXPECT_EQ(gamepad.left, r.left);
        EXPECT_EQ(gamepad.right, r.right);
        EXPECT_EQ(gamepad.up, r.up);
        EXPECT_EQ(gamepad.down, r.down);
        EXPECT_EQ(gamepad.fire, r.fire);
        EXPECT_EQ(gamepad.choose, r.choose);
        EXPECT_EQ(gamepad.back, r.back);
    }
}
