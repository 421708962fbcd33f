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
    // the ticks due run as the main loop runs them; the state they leave
    static short run_due(int due) {
        ticks_run = 0;
        counter = due;
        short state = STATE_MENU;
        run_pending_ticks(state, count_tick);
        return state;
    }
};

TEST_F(Frame, EachTickOpensWithABlackClearSoOnlyTheLastTickIsPainted) {
    run_due(2);
    ASSERT_EQ(drawqueue.size(), 2u);
    EXPECT_EQ(drawqueue[0].type, CMD_CLEAR_TO_COLOR);
    EXPECT_EQ(drawqueue[0].color, black());
    EXPECT_EQ(drawqueue[1].x, 2);
}
