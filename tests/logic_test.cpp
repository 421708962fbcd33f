#include "fixture.h"
#include "media.h"

#include "enemy.h"
#include "logic.h"
#include "particle.h"
#include "player.h"

#include <algorithm>
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
    // the first filled box of the tick: the insanity meter's bar
    static int insanity_bar_width() { return queued(CMD_RECTFILL).at(0).w; }
};

TEST_F(Playing, FirstTickStartsANewGameOnLevelOneWithOnlyThePowerUpsKept) {
    level = 5;
    enemies.emplace_back().init(0, 600, 100, 0, 1000); // waiting, harmless, for long
    eshot = {{.x = 600, .y = 100}};
    new_particle(PARTICLE_TEXT, 600, 100, 0, 0, "old");
    powerups = {{.x = 100, .y = 100, .speed = 1, .kind = POWERUP_SHOT_UP}};
    EXPECT_EQ(logic(), STATE_PLAYING);
    EXPECT_EQ(level, 1);
    EXPECT_EQ(eshot.size(), 0u);
    EXPECT_EQ(queued_text("old"), false);
    for (const _enemy &e : enemies)
        EXPECT_NE(e.start_delay, 999);
    ASSERT_EQ(powerups.size(), 1u);
    EXPECT_EQ(powerups.front().y, 101);
}

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

// clang-format off
struct meters { const char *name; short insanity, health; int insanity_width, health_width; };

TEST_F(Playing, MeterBarsEndAtTheirValuePlusFour) {
    const meters rows[] = {
        {.name = "whole", .insanity = 0, .health = 100, .insanity_width = 0, .health_width = 98},
        {.name = "halfway", .insanity = 50, .health = 30, .insanity_width = 48, .health_width = 28},
    };
    // clang-format on
    for (const meters &row : rows) {
        SCOPED_TRACE(row.name);
        drawqueue.clear();
        player.insanity_level = row.insanity, player.health_points = row.health;
        draw_insanity_meter();
        draw_health();
        const std::vector<drawthing> bars = queued(CMD_RECTFILL), frames = queued(CMD_RECT);
        ASSERT_EQ(bars.size(), 2u);
        EXPECT_EQ(bars[0].x, 6);
        EXPECT_EQ(bars[0].y, 11);
        EXPECT_EQ(bars[0].w, row.insanity_width);
        EXPECT_EQ(bars[0].h, 8);
        EXPECT_EQ(uint16_t(bars[0].color), red());
        EXPECT_EQ(bars[1].y, 31);
        EXPECT_EQ(bars[1].w, row.health_width);
        EXPECT_EQ(uint16_t(bars[1].color), blue());
        ASSERT_EQ(frames.size(), 2u);
        EXPECT_EQ(frames[0].y, 10);
        EXPECT_EQ(frames[1].y, 30);
        EXPECT_EQ(frames[1].w, 100);
    }
}

TEST_F(Playing, CrazyMeterIsFullAndPulsesFromBlackToRed) {
    player.crazy = true;
    std::set<int> reds;
    for (int t = 0; t < 60; t++) {
        drawqueue.clear();
        draw_insanity_meter();
        EXPECT_EQ(insanity_bar_width(), 98);
        reds.insert(uint16_t(queued(CMD_RECTFILL).at(0).color));
    }
    EXPECT_EQ(reds.count(black()), 1u);
    EXPECT_EQ(reds.count(red()), 1u);
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

TEST_F(Playing, EmptyMeterStaysEmpty) {
    for (int t = 0; t < 60; t++)
        tick();
    EXPECT_EQ(player.insanity_level, 0);
}

// clang-format off
struct spell { const char *name; short times_crazy; int ticks; const char *first_countdown; };

TEST_F(Playing, FullMeterDrivesThePlayerCrazyForFifteenSecondsTimesTheSpells) {
    const spell rows[] = {
        {.name = "first spell", .times_crazy = 0, .ticks = 750, .first_countdown = "0:14"},
        {.name = "third spell", .times_crazy = 2, .ticks = 2250, .first_countdown = "0:44"},
    };
    // clang-format on
    for (const spell &row : rows) {
        SCOPED_TRACE(row.name);
        tick(); // the game under way
        player.times_crazy = row.times_crazy, player.insanity_level = 92;
        tick({{.x = player.x + 5, .y = player.y + 5}}); // a hit of 8
        EXPECT_EQ(player.crazy, true);
        EXPECT_EQ(player.insanity_level, 100);
        EXPECT_EQ(player.times_crazy, row.times_crazy + 1);
        tick();
        const drawthing countdown = queued(CMD_TEXTOUT_CENTRE).back(); // at the top left
        EXPECT_EQ(countdown.text, row.first_countdown);
        EXPECT_EQ(std::pair(countdown.x, countdown.y), (std::pair<int16_t, int16_t>(50, 12)));
        int ticks = 1;
        while (player.crazy && ticks < 10000)
            tick(), ticks++;
        EXPECT_EQ(ticks, row.ticks);
        EXPECT_EQ(queued_text("0:00"), true);
        EXPECT_EQ(player.insanity_level, 0);
    }
}

TEST_F(Playing, FullerMeterStopsAtAHundred) {
    tick();
    player.insanity_level = 99;
    tick({{.x = player.x + 5, .y = player.y + 5}});
    EXPECT_EQ(player.crazy, true);
    EXPECT_EQ(player.insanity_level, 100);
}

TEST_F(Playing, CowsFlyUpAcrossFromEitherSideWhileCrazy) {
    tick();
    player.times_crazy = 20, player.insanity_level = 100; // a long spell
    tick();
    std::set<std::tuple<float, float, float>> sides; // x, dx and dy
    std::set<float> heights;
    for (int t = 0; t < 5000; t++, tick())
        for (const _particle &p : particles)
            if (p.kind == PARTICLE_COW)
                sides.insert({p.x, p.dx, p.dy}), heights.insert(p.y);
    EXPECT_EQ(sides, (std::set<std::tuple<float, float, float>>{{-20, 10, -10}, {660, -10, -10}}));
    EXPECT_GE(*heights.begin(), 100);
    EXPECT_LE(*heights.rbegin(), 399);
}

TEST_F(Playing, StarsFallOnlyWhileSane) {
    tick();
    ASSERT_GT(particles.size(), 0u);
    EXPECT_EQ(particles.back().kind, PARTICLE_STAR);
    player.crazy = true;
    tick();
    for (const _particle &p : particles)
        EXPECT_NE(p.kind, PARTICLE_STAR);
}

// clang-format off
struct ending { const char *name; bool esc; short health, next, health_after; bool two_player_after; };

TEST_F(Playing, EscLeavesToTheMenuWithAFreshShipAndNoHealthEndsTheGame) {
    const ending rows[] = {
        {.name = "playing on", .health = 1, .next = STATE_PLAYING, .health_after = 1, .two_player_after = true},
        {.name = "health gone", .health = 0, .next = STATE_GAME_OVER, .health_after = 0, .two_player_after = true},
        {.name = "Esc wins over death", .esc = true, .health = 0, .next = STATE_MENU, .health_after = 100},
    };
    // clang-format on
    for (const ending &row : rows) {
        SCOPED_TRACE(row.name);
        player.init(true);
        tick();
        score = 55, player.health_points = row.health;
        key[KEY_ESC] = row.esc;
        EXPECT_EQ(tick(), row.next);
        EXPECT_EQ(player.health_points, row.health_after);
        EXPECT_EQ(player.two_player, row.two_player_after);
        EXPECT_EQ(score, 55);
        EXPECT_EQ(particles.empty(), row.esc);
        release(KEY_ESC);
        level = 3;
        tick(); // a game that ended starts over
        EXPECT_EQ(level, row.next == STATE_PLAYING ? 3 : 1);
    }
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

class PowerUps : public GameTest {};

// clang-format off
struct falling { const char *name; float x, y, speed; short kind; bool crazy; short level, after; bool gone; BITMAP **shown; };

// the ship is 308..333 by 435..460; the shot level goes from level to after; while crazy the pictures lie
TEST_F(PowerUps, FallAndArePickedUpOnOverlapWithinShotLevelsNoughtToTwo) {
    const short DOWN = POWERUP_SHOT_DOWN;
    const falling rows[] = {
        {.name = "beside the left", .x = 288, .y = 430, .after = 0, .shown = &shotplus},
        {.name = "into the left", .x = 289, .y = 430, .after = 1, .gone = true, .shown = &shotplus},
        {.name = "crazy, beside the right", .x = 333, .y = 430, .crazy = true, .after = 0, .shown = &shotminus},
        {.name = "crazy, into the right", .x = 332, .y = 430, .crazy = true, .after = 1, .gone = true, .shown = &shotminus},
        {.name = "to above", .x = 300, .y = 405, .speed = 10, .kind = DOWN, .level = 1, .after = 1, .shown = &shotminus},
        {.name = "into the top", .x = 300, .y = 406, .speed = 10, .kind = DOWN, .level = 1, .after = 0, .gone = true,
         .shown = &shotminus},
        {.name = "crazy, below", .x = 300, .y = 460, .kind = DOWN, .crazy = true, .level = 1, .after = 1, .shown = &shotplus},
        {.name = "crazy, into the bottom", .x = 300, .y = 459, .kind = DOWN, .crazy = true, .level = 1, .after = 0,
         .gone = true, .shown = &shotplus},
        {.name = "no more than three shots", .x = 300, .y = 430, .level = 2, .after = 2, .gone = true, .shown = &shotplus},
        {.name = "no fewer than one shot", .x = 300, .y = 430, .kind = DOWN, .after = 0, .gone = true, .shown = &shotminus},
        {.name = "missed, at the bottom", .x = 100, .y = 475, .speed = 5, .shown = &shotplus},
        {.name = "missed, below the bottom", .x = 100, .y = 476, .speed = 5, .gone = true, .shown = &shotplus},
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

TEST_F(PowerUps, DropFromAboveTheScreenAtFourToTwelvePixelsATick) {
    std::set<float> speeds, xs;
    std::set<short> kinds;
    for (int t = 0; t < 40000; t++) {
        do_powerups();
        for (const _powerup &p : powerups)
            if (p.y == -20 + p.speed)
                speeds.insert(p.speed), xs.insert(p.x), kinds.insert(p.kind);
    }
    EXPECT_EQ(speeds, std::set<float>({4, 5, 6, 7, 8, 9, 10, 11, 12}));
    EXPECT_EQ(kinds, std::set<short>({POWERUP_SHOT_UP, POWERUP_SHOT_DOWN}));
    EXPECT_GE(*xs.begin(), 10);
    EXPECT_LE(*xs.rbegin(), 629);
}
