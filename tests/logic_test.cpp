#include "fixture.h"
#include "media.h"
#include "player.h"

#include "enemy.h"
#include "logic.h"
#include "particle.h"

#include <set>
#include <tuple>
#include <utility>

class Playing : public GameTest {
  protected:
    void SetUp() override { // Esc ends whatever game runs, so the next tick starts a new one
        GameTest::SetUp();
        press(KEY_ESC);
        logic();
        GameTest::SetUp();
    }
    // a tick with no enemy or particle left from the one before: only these shots hurt the ship
    static short tick(std::list<_shot> shots = {}) {
        enemies.clear();
        eshot = shots;
        particles.clear();
        drawqueue.clear();
        return logic();
    }
};

TEST_F(Playing, LevelChangesEverySeventyTwoSecondsAnnouncedInTheMiddle) {
    tick();
    EXPECT_EQ(queued_text("Next Level In 1:11"), true);
    for (int t = 2; t < 3600; t++)
        tick();
    EXPECT_EQ(level, 1);
    EXPECT_EQ(queued_text("Next Level In 0:00"), true);
    tick();
    EXPECT_EQ(level, 2);
    EXPECT_EQ(queued_text("Next Level In 1:12"), true);
    const drawthing text = queued(CMD_TEXTOUT_CENTRE).at(0); // risen from the centre by 0.5
    EXPECT_EQ(text.text, "Level 2");
    EXPECT_EQ(text.x, 320);
    EXPECT_EQ(text.y, 239);
}

// clang-format off
TEST_F(Playing, StatusTextsAndMetersStandInTheirPlaces) {
    score = 3, highscore = 4;
    tick();
    const placed rows[] = {
        {.name = "clock", .type = CMD_TEXTOUT_RIGHT, .text = "Next Level In 1:11", .x = 640, .y = 5},
        {.name = "score", .type = CMD_TEXTOUT_RIGHT, .text = "Score: 3", .x = 640, .y = 15},
        {.name = "high score", .type = CMD_TEXTOUT_RIGHT, .text = "High Score: 4", .x = 640, .y = 25},
        {.name = "insanity label", .type = CMD_SPRITE, .picture = insanity, .x = 5, .y = 0},
        {.name = "insanity frame", .type = CMD_RECT, .x = 5, .y = 10, .w = 100, .h = 10},
        {.name = "health label", .type = CMD_SPRITE, .picture = health, .x = 5, .y = 20},
        {.name = "health frame", .type = CMD_RECT, .nth = 1, .x = 5, .y = 30, .w = 100, .h = 10},
        {.name = "health bar", .type = CMD_RECTFILL, .nth = 1, .x = 6, .y = 31, .w = 98, .h = 8},
    };
    // clang-format on
    for (const placed &row : rows) {
        SCOPED_TRACE(row.name);
        expect_placed(row);
    }
}

TEST_F(Playing, InsanityFadesAPointEveryFiftyFirstTick) {
    player.insanity_level = 10;
    std::vector<int> faded; // the ticks on which a point went
    for (int t = 1; t <= 102; t++) {
        short before = player.insanity_level;
        tick();
        if (player.insanity_level < before)
            faded.push_back(t);
    }
    EXPECT_EQ(faded, std::vector<int>({51, 102}));
    EXPECT_EQ(player.insanity_level, 8);
}

TEST_F(Playing, FullMeterDrivesThePlayerCrazyForFifteenSecondsTheFirstTime) {
    tick(); // the game under way
    player.insanity_level = 92;
    tick({{.x = player.x + 5, .y = player.y + 5}}); // a hit of 8
    EXPECT_EQ(player.crazy, true);
    EXPECT_EQ(player.insanity_level, 100);
    EXPECT_EQ(player.times_crazy, 1);
    tick();
    const drawthing countdown = queued(CMD_TEXTOUT_CENTRE).back(); // at the top left
    EXPECT_EQ(countdown.text, "0:14");
    EXPECT_EQ(std::pair(countdown.x, countdown.y), (std::pair<int16_t, int16_t>(50, 12)));
    int ticks = 1;
    while (player.crazy && ticks < 10000)
        tick(), ticks++;
    EXPECT_EQ(ticks, 15 * TICKS_PER_SECOND);
    EXPECT_EQ(queued_text("0:00"), true);
    EXPECT_EQ(player.insanity_level, 0);
}

// clang-format off
// the type and the start delay of every enemy sent in
struct spawning { const char *name; int level; std::set<std::pair<short, short>> seen; };

TEST_F(Playing, EachLevelSendsInItsOwnMixOfSinglesAndFiles) {
    const spawning rows[] = {
        {.name = "level 1", .level = 1, .seen = {{0, 0}}},
        {.name = "level 2", .level = 2, .seen = {{0, 0}, {1, 0}}},
        {.name = "level 3", .level = 3, .seen = {{0, 0}, {0, 35}, {0, 70}, {1, 0}}},
        {.name = "level 4", .level = 4, .seen = {{0, 0}, {0, 15}, {0, 30}, {0, 45}, {0, 60}, {1, 0}, {2, 0}}},
        {.name = "level 5", .level = 5, .seen = {{0, 0}, {1, 0}, {1, 10}, {1, 20}, {2, 0}}},
        {.name = "level 9, as level 6", .level = 9, .seen = {{0, 0}, {0, 15}, {0, 30}, {0, 45}, {0, 60},
                                                          {1, 0}, {1, 10}, {1, 20}, {1, 30}, {1, 40}, {2, 0}}},
    };
    // clang-format on
    for (const spawning &row : rows) {
        SCOPED_TRACE(row.name);
        press(KEY_ESC); // a fresh game, whose level clock won't run out
        tick();
        release(KEY_ESC);
        std::set<std::pair<short, short>> seen;
        for (int t = 0; t < 3000; t++) {
            level = row.level;
            tick();
            for (const _enemy &e : enemies)
                seen.insert({e.type, e.start_delay});
        }
        EXPECT_EQ(seen, row.seen);
    }
}

using PowerUps = GameTest;

// clang-format off
struct falling { const char *name; float x, y, speed; short kind; bool crazy; short level, after; bool gone; BITMAP **shown; };

// the ship is 308..333 by 435..460; the shot level goes from level to after; while crazy the pictures lie
TEST_F(PowerUps, FallAndArePickedUpOnOverlapWithinShotLevelsNoughtToTwo) {
    const short DOWN = POWERUP_SHOT_DOWN;
    const falling rows[] = {
        {.name = "beside the left", .x = 288, .y = 430, .after = 0, .shown = &shotplus},
        {.name = "into the left", .x = 289, .y = 430, .after = 1, .gone = true, .shown = &shotplus},
        {.name = "crazy, beside the right", .x = 333, .y = 430, .crazy = true, .after = 0, .shown = &shotminus},
        {.name = "to above", .x = 300, .y = 405, .speed = 10, .kind = DOWN, .level = 1, .after = 1, .shown = &shotminus},
        {.name = "into the top", .x = 300, .y = 406, .speed = 10, .kind = DOWN, .level = 1, .after = 0, .gone = true,
         .shown = &shotminus},
        {.name = "crazy, below", .x = 300, .y = 460, .kind = DOWN, .crazy = true, .level = 1, .after = 1, .shown = &shotplus},
        {.name = "no more than three shots", .x = 300, .y = 430, .level = 2, .after = 2, .gone = true, .shown = &shotplus},
        {.name = "no fewer than one shot", .x = 300, .y = 430, .kind = DOWN, .after = 0, .gone = true, .shown = &shotminus},
        {.name = "missed, at the bottom", .x = 100, .y = 475, .speed = 5, .shown = &shotplus},
    };
    // clang-format on
    for (const falling &row : rows) {
        SCOPED_TRACE(row.name);
        powerups = {{.x = row.x, .y = row.y, .speed = row.speed, .kind = row.kind}};
        player.crazy = row.crazy, player.shot_level = row.level;
        do_powerups();
        EXPECT_EQ(player.shot_level, row.after);
        EXPECT_EQ(powerups.empty(), row.gone);
        EXPECT_EQ(drawqueue.back().bmp, *row.shown); // drawn even on the way out
    }
}
