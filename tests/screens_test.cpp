#include "fixture.h"

#include "logic.h"
#include "main.h"
#include "media.h"
#include "player.h"
#include "screens.h"

#include <algorithm>

struct Screens : GameTest {
    // Enter on "One Player Game", reached with Up from wherever the bananas show the choice left
    // by an earlier test; the state the menu hands over
    static short start_game_from_title() {
        short state = STATE_MENU;
        for (int t = 0; t < 60 && state == STATE_MENU; t++) {
            drawqueue.clear();
            state = menu();
            int choice = 0;
            for (const drawthing &d : drawqueue)
                if (d.bmp == banana)
                    choice = (d.y - 245) / 30;
            key[KEY_UP] = choice != 0;
            key[KEY_ENTER] = choice == 0;
        }
        key[KEY_UP] = 0;
        key[KEY_ENTER] = 0;
        return state;
    }
};

TEST_F(Screens, NewGameKeepsNothingOfTheLastOne) {
    player.shots.push_back({.x = 320, .y = 200, .dx = 0, .dy = -5});
    powerups.push_back({.x = 100, .y = 50, .speed = 4, .kind = POWERUP_SHOT_UP});
    player.shot_level = 2, player.health_points = 12, player.crazy = true;
    score = 90, level = 3;
    ASSERT_EQ(start_game_from_title(), STATE_PLAYING);
    EXPECT_EQ(player.shots.size(), 0u);
    EXPECT_EQ(powerups.size(), 0u);
    EXPECT_EQ(player.shot_level, 0);
    EXPECT_EQ(player.health_points, 100);
    EXPECT_EQ(player.crazy, false);
    EXPECT_EQ(score, 0);
    EXPECT_EQ(level, 1);
}

// clang-format off
struct ending { const char *name; int highscore_before, score; bool new_high; };

TEST_F(Screens, GameOverTellsTheScoreAndTheWayOut) {
    const ending rows[] = {
        {.name = "beat the high score", .highscore_before = 40, .score = 55, .new_high = true},
        {.name = "only tied it", .highscore_before = 55, .score = 55, .new_high = false},
    };
    // clang-format on
    for (const ending &row : rows) {
        SCOPED_TRACE(row.name);
        highscore = row.highscore_before;
        ASSERT_EQ(start_game_from_title(), STATE_PLAYING);
        score = row.score;
        highscore = std::max(highscore, score);
        drawqueue.clear();
        for (int t = 1; t < 150; t++)
            dead();
        EXPECT_EQ(queued_text("Score: 55"), false); // not while the ship blows up
        drawqueue.clear();
        EXPECT_EQ(dead(), STATE_GAME_OVER);
        EXPECT_EQ(queued_text("Game Over"), true);
        EXPECT_EQ(queued_text("Score: 55"), true);
        EXPECT_EQ(queued_text("New high score!"), row.new_high);
        EXPECT_EQ(queued_text("Enter or Esc: back to the title"), true);
        key[KEY_ESC] = 1;
        EXPECT_EQ(dead(), STATE_MENU);
        key[KEY_ESC] = 0;
    }
}
