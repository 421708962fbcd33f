#include "fixture.h"

#include "desktop.h"
#include "main.h"
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
};

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
