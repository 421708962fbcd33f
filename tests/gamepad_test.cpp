#include "fixture.h"
#include "gamepad.h"
#include "main.h"
#include "media.h"
#include "player.h"
#include "screens.h"

// a pad as Linux reports the common ones: the left stick, the left trigger with the right
// stick's x, the right stick's y with the right trigger, then the d-pad; eleven buttons
struct Gamepad : GameTest {
    enum {
        LEFT_STICK = 0,
        DPAD = 3,
        BUTTON_A = 0,
    };

    void SetUp() override {
        GameTest::SetUp();
        num_joysticks = 1;
        joy[0].num_sticks = 4;
        for (int s = 0; s < 4; s++) {
            joy[0].stick[s].flags = JOYFLAG_ANALOGUE | JOYFLAG_SIGNED;
            joy[0].stick[s].num_axis = 2;
        }
        joy[0].num_buttons = 11;
    }

    static void axis(int stick, int a, int pos) { joy[0].stick[stick].axis[a].pos = pos; }
    static void button(int b, bool down) { joy[0].button[b].b = down; }

    // a tick of the menu as the loop runs it: the pad read, then the menu
    static short menu_tick() {
        read_gamepad();
        return menu();
    }
    // the menu keeps its choice from test to test: wait out any delay, then go round to
    // "One Player Game", which the bananas flank at y 245
    static void first_choice() {
        for (int t = 0; t < 16; t++)
            menu_tick();
        for (int step = 0; step < 3; step++) {
            auto b = queued_sprites(banana);
            if (b.size() >= 2 && b.back().y == 245)
                return;
            drawqueue.clear();
            axis(DPAD, 1, 127);
            menu_tick();
            axis(DPAD, 1, 0);
            for (int t = 0; t < 11; t++)
                menu_tick();
        }
    }
};

TEST_F(Gamepad, StickSteersTheShipAsTheArrowsDo) {
    axis(LEFT_STICK, 0, -127);
    axis(LEFT_STICK, 1, -90);
    read_gamepad();
    player.do_stuff();
    EXPECT_EQ(player.x, 308 - 3);
    EXPECT_EQ(player.y, 435 - 3);
}

TEST_F(Gamepad, HeldDpadMovesTheMenuChoiceEvery11TicksAndAButtonPressTakesIt) {
    first_choice();
    axis(DPAD, 1, 127);
    for (int t = 1; t <= 12; t++) // moves on ticks 1 and 12: to "Exit"
        menu_tick();
    axis(DPAD, 1, 0);
    for (int t = 0; t < 10; t++) // the key repeat delay
        menu_tick();
    button(BUTTON_A, true);
    EXPECT_EQ(menu_tick(), STATE_QUIT);
}
