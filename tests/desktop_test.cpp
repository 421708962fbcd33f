#include "fixture.h"

#include "desktop.h"
#include "display.h"
#include "main.h"
#include "media.h"
#include "particle.h"
#include "player.h"
#include "screens.h"

struct Desktop : GameTest {
    void SetUp() override { // Esc ends whatever game runs, so the next playing tick starts one
        GameTest::SetUp();
        ASSERT_EQ(start_desktop(), 0);
        press(KEY_ESC);
        run_state(STATE_PLAYING);
        GameTest::SetUp();
    }
    void TearDown() override { stop_desktop(); }

    // one tick as the main loop runs it, with only this tick's drawing queued
    static short tick(short state = STATE_PLAYING) {
        drawqueue.clear();
        return desktop_tick(state);
    }
    // a tick with the key held, and one with it let go
    static void tap(int k, short state = STATE_PLAYING) {
        press(k);
        tick(state);
        release(k);
        tick(state);
    }
    static int digital_volume() {
        int volume = 0;
        get_volume(&volume, nullptr);
        return volume;
    }
};

TEST_F(Desktop, APausedGameShowsItsLastPictureUnderPausedOnceAndAgainOnlyWhenTheNoticeComesOrGoes) {
    tick();
    press(KEY_P);
    tick();
    release(KEY_P);
    BITMAP *last = create_bitmap(SCREEN_WIDTH, SCREEN_HEIGHT);
    blit(back_buffer, last, 0, 0, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT);
    clear_to_color(back_buffer, black());
    struct row {
        const char *name;
        int key;
        bool painted;
    };
    const row rows[] = {
        {.name = "the first paused tick", .key = 0, .painted = true},
        {.name = "the next", .key = 0, .painted = false},
        {.name = "M pressed", .key = KEY_M, .painted = true},
    };
    for (const row &r : rows) {
        SCOPED_TRACE(r.name);
        key[r.key] = r.key != 0;
        buffer_clear_to_color(black()); // as the frame opens every tick
        desktop_tick(STATE_PLAYING);
        EXPECT_EQ(queued_text("Paused"), r.painted);
        EXPECT_EQ(queued(CMD_CLEAR_TO_COLOR).size(), 0u);
        draw_all();
    }
    EXPECT_NE(getpixel(last, 320, 447), black());
    EXPECT_EQ(getpixel(back_buffer, 320, 447), getpixel(last, 320, 447)); // the ship
    EXPECT_EQ(getpixel(back_buffer, 170, 205), white());                  // the frame of "Paused"
    destroy_bitmap(last);
    for (int t = 1; t <= TICKS_PER_SECOND * 3 / 2; t++)
        tick();
    EXPECT_TRUE(queued_text("Paused")); // the notice is gone
}

TEST_F(Desktop, KeysHeldWhilePausedAreNotStoredUpForTheGame) {
    tick();
    tap(KEY_P);
    const float x = player.x;
    press(KEY_LEFT);
    press(KEY_SPACE);
    for (int t = 0; t < 20; t++)
        tick();
    EXPECT_EQ(player.x, x);
    release(KEY_LEFT);
    release(KEY_SPACE);
    tick();
    press(KEY_P);
    tick();
    EXPECT_EQ(player.x, x);
    EXPECT_EQ(player.shots.size(), 0u);
}

TEST_F(Desktop, EscWhilePausedLeavesTheGameForTheTitleScreen) {
    tick();
    tap(KEY_P);
    press(KEY_ESC);
    EXPECT_EQ(tick(), STATE_MENU);
    EXPECT_FALSE(desktop.paused);
    EXPECT_TRUE(particles.empty());
}

TEST_F(Desktop, PauseKeyPausesOnOnePressAndResumesOnTheNext) {
    tick();
    press(KEY_PAUSE); // the library holds the key down from one press to the next
    tick();
    EXPECT_TRUE(desktop.paused);
    tick();
    EXPECT_TRUE(desktop.paused);
    release(KEY_PAUSE);
    tick();
    EXPECT_FALSE(desktop.paused);
}

// a screen the game is on, and whether a game there is paused
struct in_state {
    const char *name;
    short state;
    bool paused;
};

TEST_F(Desktop, PWorksOnlyInAGame) {
    const in_state rows[] = {
        {.name = "title screen", .state = STATE_MENU, .paused = false},
        {.name = "game over", .state = STATE_GAME_OVER, .paused = false},
        {.name = "game", .state = STATE_PLAYING, .paused = true},
    };
    for (const in_state &r : rows) {
        SCOPED_TRACE(r.name);
        desktop.init();
        press(KEY_P);
        tick(r.state);
        release(KEY_P);
        EXPECT_EQ(desktop.paused, r.paused);
    }
}

TEST_F(Desktop, FocusLostJustAfterTheScreenModeChangedDoesNotPauseTheGame) {
    tick();
    frames_since_mode_change = 0; // F11 or a new scale: the library's windows trade the focus
    focus_lost = true;
    tick();
    EXPECT_FALSE(desktop.paused);
    frames_since_mode_change = TICKS_PER_SECOND / 2; // half a second later the player has left
    focus_lost = true;
    tick();
    EXPECT_TRUE(desktop.paused);
}

TEST_F(Desktop, MSwitchesAllSoundOffAndOnInEveryStateAndSaysSoForAMoment) {
    const in_state rows[] = {
        {.name = "game", .state = STATE_PLAYING, .paused = false},
    };
    for (const in_state &r : rows) {
        SCOPED_TRACE(r.name);
        desktop.init();
        desktop.paused = r.paused;
        press(KEY_M);
        tick(r.state);
        EXPECT_EQ(digital_volume(), 0);
        EXPECT_TRUE(queued_text("Sound off"));
        for (int t = 0; t < TICKS_PER_SECOND * 2; t++) // held, it acts once; the notice goes
            tick(r.state);
        EXPECT_FALSE(queued_text("Sound off"));
        release(KEY_M);
        tick(r.state);
        tap(KEY_M, r.state);
        EXPECT_EQ(digital_volume(), 255);
    }
}
