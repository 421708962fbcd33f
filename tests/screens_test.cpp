#include "fixture.h"
#include "logic.h"
#include "main.h"
#include "media.h"
#include "particle.h"
#include "player.h"
#include "screens.h"

struct TitleMenu : GameTest {
    static int shown() { // the choice the bananas flank in the last picture, or -1
        auto b = queued_sprites(banana);
        return b.size() >= 2 && b.end()[-2].y == b.back().y ? (b.back().y - 245) / 30 : -1;
    }

    // the menu keeps its choice from test to test: wait out any key delay, then step down
    // to "One Player Game"
    static void first_choice() {
        for (int t = 0; t < 16; t++)
            menu();
        for (int step = 0; step < 3 && shown() != 0; step++) {
            press(KEY_DOWN);
            menu();
            release(KEY_DOWN);
            for (int t = 0; t < 10; t++) // the key repeat delay
                menu();
        }
    }
};

TEST_F(TitleMenu, HeldArrowMovesEvery11TicksAndWrapsAround) {
    first_choice();
    press(KEY_DOWN);
    for (int t = 1, moves = 0; t <= 34; moves += (t++ - 1) % 11 == 0) {
        menu(); // the bananas show the choice as it was before this tick's keys
        EXPECT_EQ(shown(), moves % 3) << "tick " << t;
    }
}

TEST_F(TitleMenu, KeysOfOneTickMoveThenTakeTheChoiceEnterSetsUpAFreshGameAndTheHighScoreShows) {
    const int rows[][4] = {{KEY_DOWN, KEY_ENTER, 0, 1}, // keys held together, the choice taken
                           {KEY_UP, KEY_DOWN, KEY_ENTER, 0},
                           {KEY_UP, KEY_ENTER, 0, 2},
                           {KEY_ESC, 0, 0, 3}}; // 3 for none
    for (auto &r : rows) {
        SCOPED_TRACE(&r - rows);
        GameTest::SetUp();
        first_choice();
        score = level = 4, highscore = 5;
        player.init(r[3] != 1);
        particles.clear(); // the tick lets a star fall, which Enter clears away
        press(r[0]), press(r[1]), press(r[2]);
        EXPECT_EQ(menu(), r[3] < 2 ? STATE_PLAYING : STATE_QUIT);
        const bool enter = r[3] < 3; // Esc touches nothing, Enter on Exit does
        EXPECT_TRUE(score == (enter ? 0 : 4) && level == (enter ? 1 : 4) &&
                    particles.size() == (enter ? 0u : 1u));
        EXPECT_TRUE((r[3] > 1 || player.two_player == (r[3] == 1)) && queued_text("High Score: 5"));
    }
}

TEST_F(TitleMenu, LoopRunsEachPendingTickInTheStateTheLastTickAskedAndKeysWait15TicksAfterAGame) {
    first_choice();
    press(KEY_ENTER); // the menu takes Enter before Esc; the game then ends at once on Esc
    press(KEY_ESC);
    short state = STATE_MENU;
    counter = 2;
    run_pending_ticks(state,
                      run_state); // each tick opens with a black clear: the game's picture is left
    EXPECT_TRUE(state == STATE_MENU && counter == 0 && queued(CMD_CLEAR_TO_COLOR).size() == 1 &&
                !queued_sprites(insanity).empty());
    release(KEY_ENTER);
    for (int t = 1; t <= 16; t++) { // back in the menu, the held Esc is read on the 16th tick
        counter = 1;
        run_pending_ticks(state, run_state);
        EXPECT_EQ(state, t <= 15 ? STATE_MENU : STATE_QUIT) << "tick " << t;
    }
}

using GameOver = GameTest;
TEST_F(GameOver, WreckBurnsFor149TicksThenGameOverWaitsForEnterOrEscEachScreenAfresh) {
    for (bool held : {true, false}) {         // Enter held all along; nothing held, then Esc
        key[KEY_ENTER] = player.crazy = held; // a crazy wreck would burst into bananas
        player.x = player.y = 100;
        for (int t = 1; t <= (held ? 150 : 161); t++) {
            const bool wreck = t < 150, leave = !wreck && (held || t == 161);
            key[KEY_ESC] = t == 161;
            if (wreck)
                particles.clear(); // so that this tick's explosion stands alone
            buffer_clear_to_color(makecol(0, 0, 0));
            EXPECT_EQ(dead(), leave ? STATE_MENU : STATE_GAME_OVER) << "tick " << t;
            ASSERT_EQ(particles.size(), leave ? 0u : 1u) << "tick " << t;
            for (const _particle &p : particles) // on the ship's 20 by 20 square, still once over
                EXPECT_TRUE(p.kind == PARTICLE_EXPLOSION && int(p.x) / 20 == 5 &&
                            int(p.y) / 20 == 5);
            // the ship and its explosion are drawn during the wreck, "Game Over" alone after it
            EXPECT_EQ(queued_sprites(ship).size() == 1 && !queued(CMD_CIRCLEFILL).empty(), wreck);
            EXPECT_EQ(queued_text("Game Over") && drawqueue.size() == 2, !wreck) << "tick " << t;
        }
    }
}
