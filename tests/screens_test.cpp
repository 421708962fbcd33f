#include "fixture.h"
#include "main.h"
#include "particle.h"
#include "screens.h"

// the game-over screen keeps its place from test to test: Esc ends it
static void leave_game_over() {
    key[KEY_ESC] = 1;
    for (int t = 0; t < 200 && dead() != STATE_MENU; t++)
        ;
    key[KEY_ESC] = 0;
}

struct GameOver : GameTest {
    void SetUp() override {
        leave_game_over();
        GameTest::SetUp();
    }
    // one tick of the screen on a black picture; the state it asks for next
    static short tick() {
        buffer_clear_to_color(black());
        return dead();
    }
    // the screen has run for a wreck and is waiting for a key
    static void wait_out_the_wreck() {
        for (int t = 1; t < 150; t++)
            tick();
    }
};

TEST_F(GameOver, KeyHeldThroughTheWreckLeavesOnTheFirstGameOverTick) {
    press(KEY_ENTER);
    wait_out_the_wreck();
    EXPECT_EQ(tick(), STATE_MENU);
    EXPECT_EQ(particles.size(), 0u);
}
