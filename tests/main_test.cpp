#include "fixture.h"
#include "main.h"

struct Frame : GameTest {
    static inline int ticks_run = 0;
    // a state routine that counts its ticks, draws a pixel and asks for the next state
    static short count_tick(short state) {
        ticks_run++;
        buffer_putpixel(ticks_run, 0, 1);
        return state + 1;
    }
};

TEST_F(Frame, TimerRaisesTheTicksDueByOne) {
    update_counter();
    update_counter();
    EXPECT_EQ(counter, 2);
}

TEST_F(Frame, RunsEveryTickDueEachInTheStateTheLastOneAskedFor) {
    ticks_run = 0;
    counter = 3;
    short state = STATE_MENU;
    run_pending_ticks(state, count_tick);
    EXPECT_EQ(ticks_run, 3);
    EXPECT_EQ(counter, 0);
    EXPECT_EQ(state, 3);
}

TEST_F(Frame, EachTickOpensWithABlackClearSoOnlyTheLastTickIsPainted) {
    ticks_run = 0;
    counter = 2;
    short state = STATE_MENU;
    run_pending_ticks(state, count_tick);
    ASSERT_EQ(drawqueue.size(), 2u);
    EXPECT_EQ(drawqueue[0].type, CMD_CLEAR_TO_COLOR);
    EXPECT_EQ(drawqueue[0].color, black());
    EXPECT_EQ(drawqueue[1].x, 2);
}

TEST_F(Frame, NoTickDueRunsNothing) {
    ticks_run = 0;
    short state = STATE_PLAYING;
    run_pending_ticks(state, count_tick);
    EXPECT_EQ(ticks_run, 0);
    EXPECT_EQ(state, STATE_PLAYING);
}
