#include "fixture.h"
#include "media.h"

#include "enemy.h"
#include "logic.h"
#include "particle.h"

#include <cmath>
#include <map>
#include <set>

struct Enemies : GameTest {
    static constexpr int STILL = 99; // a path no enemy knows: it never moves
    static _enemy &add(int type, float x, float y, int pattern, int start_delay = 0) {
        enemies.emplace_back().init(type, x, y, pattern, start_delay);
        return enemies.back();
    }
    // the ticks, counted from 1, on which the enemy fired
    static std::vector<int> ticks_firing(_enemy &e, int ticks) {
        std::vector<int> fired;
        for (int t = 1; t <= ticks; t++) {
            size_t before = eshot.size();
            e.do_stuff();
            if (eshot.size() > before)
                fired.push_back(t);
        }
        return fired;
    }
};

struct path {
    const char *name;
    int pattern;
    float x, y; // after two moves from (300, 100)
};

TEST_F(Enemies, EachPatternFliesItsPath) {
    const path rows[] = {
        {.name = "down and left", .pattern = 0, .x = 296, .y = 108},
        {.name = "down and right", .pattern = 1, .x = 304, .y = 108},
        {.name = "swerving ever faster left", .pattern = 2, .x = 297.75f, .y = 112},
        {.name = "swerving ever faster right", .pattern = 3, .x = 302.25f, .y = 112},
        {.name = "leftwards on a wave", .pattern = 4, .x = 290, .y = 53.0154f}, // 50 sin 290°
        {.name = "rightwards on a wave", .pattern = 5, .x = 310, .y = 61.6978f},
        {.name = "downwards on a sideways wave", .pattern = 6, .x = 346.9846f, .y = 110},
        {.name = "a path no enemy knows", .pattern = STILL, .x = 300, .y = 100},
    };
    for (const path &row : rows) {
        SCOPED_TRACE(row.name);
        _enemy &e = add(0, 300, 100, row.pattern);
        if (row.pattern == 2 || row.pattern == 3)
            e.dy = 6; // the fall is rolled
        e.move();
        e.move();
        EXPECT_NEAR(e.x, row.x, 1e-3);
        EXPECT_NEAR(e.y, row.y, 1e-3);
    }
}

TEST_F(Enemies, SwervingPathsFallAtFiveSixOrSevenPixelsATick) {
    std::set<float> falls;
    for (int i = 0; i < 100; i++)
        falls.insert(add(1, 300, 100, 2 + i % 2).dy);
    EXPECT_EQ(falls, std::set<float>({5, 6, 7}));
}

struct entry_side {
    const char *name;
    int type, pattern;
    float x_min, x_max, y_min, y_max;
};

TEST_F(Enemies, EachTypeEntersAlongItsEdgeWithThePathOfItsSide) {
    const entry_side rows[] = {
        {.name = "dart, top left",
         .type = 0,
         .pattern = 1,
         .x_min = 40,
         .x_max = 239,
         .y_min = -20,
         .y_max = -20},
        {.name = "dart, top right",
         .type = 0,
         .pattern = 0,
         .x_min = 400,
         .x_max = 599,
         .y_min = -20,
         .y_max = -20},
        {.name = "swooper, near the top left",
         .type = 1,
         .pattern = 3,
         .x_min = 0,
         .x_max = 199,
         .y_min = -20,
         .y_max = -20},
        {.name = "swooper, near the top right",
         .type = 1,
         .pattern = 2,
         .x_min = 440,
         .x_max = 639,
         .y_min = -20,
         .y_max = -20},
        {.name = "saucer, left edge",
         .type = 2,
         .pattern = 5,
         .x_min = -20,
         .x_max = -20,
         .y_min = 20,
         .y_max = 369},
        {.name = "saucer, right edge",
         .type = 2,
         .pattern = 4,
         .x_min = 660,
         .x_max = 660,
         .y_min = 20,
         .y_max = 369},
    };
    for (const entry_side &row : rows) {
        SCOPED_TRACE(row.name);
        GameTest::SetUp();
        for (int i = 0; i < 4000; i++)
            new_enemy(row.type);
        std::set<float> xs, ys;
        for (const _enemy &e : enemies)
            if (e.pattern == row.pattern)
                xs.insert(e.x), ys.insert(e.y);
        ASSERT_GT(xs.size(), 0u);
        EXPECT_EQ(*xs.begin(), row.x_min);
        EXPECT_EQ(*xs.rbegin(), row.x_max);
        EXPECT_EQ(*ys.begin(), row.y_min);
        EXPECT_EQ(*ys.rbegin(), row.y_max);
    }
}

TEST_F(Enemies, GroupEntersInSingleFileFromOnePlace) {
    new_enemy_group(2, 3, 10);
    new_enemy_group(3, 3, 10); // no such type
    ASSERT_EQ(enemies.size(), 3u);
    std::vector<int> delays;
    for (const _enemy &e : enemies) {
        EXPECT_EQ(e.x, enemies.front().x);
        EXPECT_EQ(e.y, enemies.front().y);
        EXPECT_EQ(e.pattern, enemies.front().pattern);
        EXPECT_EQ(e.type, 2);
        delays.push_back(e.start_delay);
    }
    EXPECT_EQ(delays, std::vector<int>({0, 10, 20}));
}

TEST_F(Enemies, WaitsUnseenAndHarmlessUntilItsDelayIsOver) {
    _enemy &e = add(0, 308, 435, STILL, 3); // on the ship
    for (int t = 1; t <= 3; t++) {
        SCOPED_TRACE(t);
        e.do_stuff();
        EXPECT_EQ(e.alive, true);
        EXPECT_EQ(drawqueue.size(), 0u);
        EXPECT_EQ(eshot.size(), 0u);
    }
    e.do_stuff();
    EXPECT_EQ(e.alive, false);
    EXPECT_EQ(player.insanity_level, 12);
}

struct ram {
    const char *name;
    int type;
    short insanity;
};

TEST_F(Enemies, RammingTheShipCostsTheTypesDamageAndBlowsTheEnemyUp) {
    const ram rows[] = {{.name = "dart", .type = 0, .insanity = 12},
                        {.name = "swooper", .type = 1, .insanity = 15},
                        {.name = "saucer", .type = 2, .insanity = 15}};
    for (const ram &row : rows) {
        SCOPED_TRACE(row.name);
        GameTest::SetUp();
        _enemy &e = add(row.type, 284, 411, STILL); // its last pixel on the ship's first
        e.do_stuff();
        EXPECT_EQ(e.alive, false);
        EXPECT_EQ(player.insanity_level, row.insanity);
        ASSERT_EQ(particles.size(), 1u);
        EXPECT_EQ(particles.front().kind, PARTICLE_EXPLOSION);
    }
}

TEST_F(Enemies, EnemyBesideTheShipDoesNotRamIt) {
    add(0, 283, 411, STILL).do_stuff();
    add(0, 284, 410, STILL).do_stuff();
    EXPECT_EQ(player.insanity_level, 0);
}

TEST_F(Enemies, FirstOverlappingShotKillsTheEnemyAndIsUsedUp) {
    player.shots = {{.x = 126, .y = 110}, {.x = 96, .y = 110}, {.x = 110, .y = 94}};
    _enemy &e = add(0, 100, 100, STILL);
    e.do_stuff();
    EXPECT_EQ(e.alive, false);
    ASSERT_EQ(player.shots.size(), 2u);
    EXPECT_EQ(player.shots.front().x, 126); // beside it, missed
    EXPECT_EQ(player.shots.back().x, 110);
    EXPECT_EQ(particles.size(), 1u);
}

TEST_F(Enemies, ShotBesideTheEnemyMissesIt) {
    player.shots = {
        {.x = 125, .y = 110}, {.x = 95, .y = 110}, {.x = 110, .y = 93}, {.x = 110, .y = 125}};
    _enemy &e = add(0, 100, 100, STILL);
    e.do_stuff();
    EXPECT_EQ(e.alive, true);
    EXPECT_EQ(player.shots.size(), 4u);
}

struct scoring {
    const char *name;
    int type, level;
    bool crazy;
    int score;
};

TEST_F(Enemies, KillScoresTheTypesPointsTimesTheLevelHalvedWhenCrazy) {
    const scoring rows[] = {
        {.name = "dart", .type = 0, .level = 1, .score = 2},
        {.name = "swooper on level 3", .type = 1, .level = 3, .score = 9},
        {.name = "saucer", .type = 2, .level = 1, .score = 5},
        {.name = "crazy, saucer on level 3", .type = 2, .level = 3, .crazy = true, .score = 7},
    };
    for (const scoring &row : rows) {
        SCOPED_TRACE(row.name);
        GameTest::SetUp();
        level = row.level;
        player.crazy = row.crazy;
        player.shots = {{.x = 110, .y = 110}};
        add(row.type, 100, 100, STILL).do_stuff();
        EXPECT_EQ(score, row.score);
    }
}

TEST_F(Enemies, HighScoreFollowsTheScoreAtOnce) {
    score = 49, highscore = 50;
    player.shots = {{.x = 110, .y = 110}};
    add(0, 100, 100, STILL).do_stuff();
    EXPECT_EQ(highscore, 51);
    score = 0;
    player.shots = {{.x = 110, .y = 110}};
    add(0, 100, 100, STILL).do_stuff();
    EXPECT_EQ(highscore, 51);
}

TEST_F(Enemies, KilledEnemyStillGetsItsLastShotAndMove) {
    player.shots = {{.x = 110, .y = 110}};
    _enemy &e = add(0, 100, 100, 5);
    e.do_stuff();
    EXPECT_EQ(e.alive, false);
    EXPECT_EQ(eshot.size(), 1u);
    EXPECT_EQ(e.x, 105);
}

TEST_F(Enemies, FiresOnItsFirstActiveTickThenEverySeventyFirst) {
    _enemy &e = add(0, 100, 100, STILL, 2);
    EXPECT_EQ(ticks_firing(e, 145), std::vector<int>({3, 74, 145}));
}

struct aimed {
    const char *name;
    int type;
    float dx, dy;
};

TEST_F(Enemies, ShotIsAimedAtTheShipsCornerAtTheTypesSpeed) {
    const aimed rows[] = {{.name = "dart", .type = 0, .dx = 3.6f, .dy = 4.8f},
                          {.name = "swooper", .type = 1, .dx = 4.2f, .dy = 5.6f},
                          {.name = "saucer", .type = 2, .dx = 3.6f, .dy = 4.8f}};
    for (const aimed &row : rows) {
        SCOPED_TRACE(row.name);
        eshot.clear();
        add(row.type, 8, 35, STILL).fire(); // 300 by 400 from the ship's corner
        ASSERT_EQ(eshot.size(), 1u);
        EXPECT_EQ(eshot.front().x, 18);
        EXPECT_EQ(eshot.front().y, 45);
        EXPECT_NEAR(eshot.front().dx, row.dx, 1e-5);
        EXPECT_NEAR(eshot.front().dy, row.dy, 1e-5);
    }
}

struct enemy_shot {
    const char *name;
    float x, y;
    bool hit;
};

TEST_F(Enemies, EnemyShotThatTouchesTheShipHurtsItForEightAndExplodes) {
    const enemy_shot rows[] = {
        {.name = "beside the left", .x = 301, .y = 440, .hit = false},
        {.name = "into the left", .x = 301.5, .y = 440, .hit = true},
        {.name = "above the top", .x = 320, .y = 428, .hit = false},
        {.name = "into the top", .x = 320, .y = 428.5, .hit = true},
    };
    for (const enemy_shot &row : rows) {
        SCOPED_TRACE(row.name);
        GameTest::SetUp();
        eshot = {{.x = row.x, .y = row.y, .dx = 0, .dy = 0}};
        do_enemies();
        EXPECT_EQ(player.insanity_level, row.hit ? 8 : 0);
        EXPECT_EQ(eshot.size(), row.hit ? 0u : 1u);
        EXPECT_EQ(particles.size(), row.hit ? 1u : 0u);
        EXPECT_EQ(queued_sprites(eshot1[1]).size(), 1u);
    }
}

struct play_area {
    const char *name;
    float x, y;
    size_t kept;
};

TEST_F(Enemies, EnemiesAndTheirShotsLeaveOnlyBeyondThePlayArea) {
    const play_area rows[] = {
        {.name = "left", .x = -50, .y = 100, .kept = 1},
        {.name = "past the left", .x = -50.5, .y = 100, .kept = 0},
        {.name = "right", .x = 690, .y = 100, .kept = 1},
        {.name = "past the right", .x = 690.5, .y = 100, .kept = 0},
        {.name = "top", .x = 100, .y = -50, .kept = 1},
        {.name = "past the top", .x = 100, .y = -50.5, .kept = 0},
        {.name = "bottom", .x = 100, .y = 490, .kept = 1},
        {.name = "past the bottom", .x = 100, .y = 490.5, .kept = 0},
    };
    for (const play_area &row : rows) {
        SCOPED_TRACE(row.name);
        GameTest::SetUp();
        add(0, row.x, row.y, STILL).fire_delay = 99; // holding its fire
        eshot = {{.x = row.x, .y = row.y, .dx = 0, .dy = 0}};
        do_enemies();
        EXPECT_EQ(enemies.size(), row.kept);
        EXPECT_EQ(eshot.size(), row.kept);
    }
}

struct look {
    const char *name;
    int type;
    bool crazy;
    BITMAP **pictures;
    int command, angle; // flying right
};

TEST_F(Enemies, EnemyIsDrawnTurnedAlongItsFlightUnlessItIsASaucer) {
    const look rows[] = {
        {.name = "dart", .type = 0, .pictures = enemy1, .command = CMD_ROTATE_SPRITE, .angle = -64},
        {.name = "crazy swooper",
         .type = 1,
         .crazy = true,
         .pictures = enemy2,
         .command = CMD_ROTATE_SPRITE,
         .angle = -64},
        {.name = "saucer", .type = 2, .pictures = enemy3, .command = CMD_SPRITE, .angle = 0},
    };
    for (const look &row : rows) {
        SCOPED_TRACE(row.name);
        drawqueue.clear();
        player.crazy = row.crazy;
        add(row.type, 100, 120, 5).draw();
        ASSERT_EQ(drawqueue.size(), 1u);
        EXPECT_EQ(drawqueue[0].type, row.command);
        EXPECT_EQ(drawqueue[0].bmp, row.pictures[row.crazy ? 0 : 1]);
        EXPECT_EQ(drawqueue[0].x, 100);
        EXPECT_EQ(drawqueue[0].y, 120);
        EXPECT_NEAR(drawqueue[0].angle, itofix(row.angle), 16);
    }
}
