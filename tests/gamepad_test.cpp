#include "fixture.h"
#include "gamepad.h"
#include "main.h"
#include "media.h"
#include "particle.h"
#include "player.h"
#include "screens.h"

// a pad as Linux reports the common ones: the left stick, the left trigger with the right
// stick's x, the right stick's y with the right trigger, then the d-pad; eleven buttons
struct Gamepad : GameTest {
    enum {
        LEFT_STICK = 0,
        TRIGGER_PAIR = 1,
        DPAD = 3,
        BUTTON_A = 0,
        BUTTON_Y = 3,
        LEFT_SHOULDER = 4,
        BUTTON_BACK = 6,
        BUTTON_START = 7
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

TEST_F(Gamepad, StickAndDpadSteerPastTheDeadZoneAndTriggersDoNot) {
    struct row {
        const char *name;
        int stick, a, pos;
        bool left = false, right = false, up = false, down = false;
    };
    const row rows[] = {
        {.name = "stick right", .stick = LEFT_STICK, .a = 0, .pos = 127, .right = true},
        {.name = "stick up", .stick = LEFT_STICK, .a = 1, .pos = -127, .up = true},
        {.name = "stick just past the dead zone",
         .stick = LEFT_STICK,
         .a = 1,
         .pos = STICK_DEAD_ZONE + 1,
         .down = true},
        {.name = "stick in the dead zone", .stick = LEFT_STICK, .a = 1, .pos = STICK_DEAD_ZONE},
        {.name = "d-pad left", .stick = DPAD, .a = 0, .pos = -127, .left = true},
        {.name = "trigger at rest", .stick = TRIGGER_PAIR, .a = 0, .pos = -127},
    };
    for (const row &r : rows) {
        SCOPED_TRACE(r.name);
        axis(r.stick, r.a, r.pos);
        read_gamepad();
        axis(r.stick, r.a, 0);
        EXPECT_EQ(gamepad.left, r.left);
        EXPECT_EQ(gamepad.right, r.right);
        EXPECT_EQ(gamepad.up, r.up);
        EXPECT_EQ(gamepad.down, r.down);
    }
}

TEST_F(Gamepad, StickSteersTheShipAsTheArrowsDo) {
    axis(LEFT_STICK, 0, -127);
    axis(LEFT_STICK, 1, -90);
    read_gamepad();
    player.do_stuff();
    EXPECT_EQ(player.x, 308 - 3);
    EXPECT_EQ(player.y, 435 - 3);
}

TEST_F(Gamepad, FaceButtonsFireTheShipsGunAndShouldersDoNot) {
    struct row {
        const char *name;
        int b;
        size_t shots;
    };
    const row rows[] = {{.name = "A", .b = BUTTON_A, .shots = 1},
                        {.name = "Y", .b = BUTTON_Y, .shots = 1},
                        {.name = "left shoulder", .b = LEFT_SHOULDER, .shots = 0}};
    for (const row &r : rows) {
        SCOPED_TRACE(r.name);
        player.init(false);
        player.shots.clear();
        button(r.b, true);
        read_gamepad();
        player.do_stuff();
        button(r.b, false);
        EXPECT_EQ(player.shots.size(), r.shots);
    }
}

TEST_F(Gamepad, UnpluggedOrAbsentPadIsNotRead) {
    button(BUTTON_A, true);
    axis(LEFT_STICK, 0, -127);
    num_joysticks = 0;
    read_gamepad();
    EXPECT_FALSE(gamepad.fire);
    EXPECT_FALSE(gamepad.left);
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

TEST_F(Gamepad, ButtonHeldFromBeforeDoesNotChooseOnlyAFreshPress) {
    first_choice();
    button(BUTTON_A, true);
    read_gamepad(); // held since the last tick of play
    EXPECT_EQ(menu_tick(), STATE_MENU);
    button(BUTTON_A, false);
    menu_tick();
    button(BUTTON_START, true);
    EXPECT_EQ(menu_tick(), STATE_PLAYING);
    EXPECT_FALSE(player.two_player);
}

TEST_F(Gamepad, BackQuitsFromTheMenu) {
    first_choice();
    button(BUTTON_BACK, true);
    EXPECT_EQ(menu_tick(), STATE_QUIT);
}

TEST_F(Gamepad, AltEnterIsNotTheMenusEnter) {
    first_choice();
    press(KEY_ALT);
    press(KEY_ENTER);
    EXPECT_EQ(menu_tick(), STATE_MENU);
}
