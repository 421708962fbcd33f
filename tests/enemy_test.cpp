#include "fixture.h"
#include "media.h"

#include "enemy.h"
#include "main.h"
#include "particle.h"

#include <set>

struct Enemies : GameTest {
    static constexpr int STILL = 99; // a path no enemy knows: it never moves
    static _enemy &add(int type, float x, float y, int pattern, int start_delay = 0) {
        enemies.emplace_back().init(type, x, y, pattern, start_delay);
        return enemies.back();
    }
    // a still dart at (100, 100) with a player shot in it
    static _enemy &add_shot_dart(int type = 0, int pattern = STILL) {
        player.shots = {{.x = 110, .y = 110}};
        return add(type, 100, 100, pattern);
    }
};

// clang-format off
struct path { const char *name; int pattern; float x, y; };

TEST_F(Enemies, EachPatternFliesItsPath) {
    const path rows[] = { // after two moves from (300, 100); a wave is 50 sin(x degrees) off
        {.name = "down and left", .pattern = 0, .x = 296, .y = 108},
        {.name = "swerving ever faster left", .pattern = 2, .x = 297.75f, .y = 112},
        {.name = "swerving ever faster right", .pattern = 3, .x = 302.25f, .y = 112},
        {.name = "leftwards on a wave", .pattern = 4, .x = 290, .y = 53.0154f},
        {.name = "downwards on a sideways wave", .pattern = 6, .x = 346.9846f, .y = 110},
    };
    // clang-format on
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

// clang-format off
struct entry_side { const char *name; int type, pattern; std::pair<float, float> xs, ys; };

TEST_F(Enemies, EachTypeEntersAlongItsEdgeWithThePathOfItsSide) {
    const entry_side rows[] = { // the least and the most of x and y
        {.name = "dart, top left", .type = 0, .pattern = 1, .xs = {40, 239}, .ys = {-20, -20}},
        {.name = "dart, top right", .type = 0, .pattern = 0, .xs = {400, 599}, .ys = {-20, -20}},
        {.name = "swooper, top left", .type = 1, .pattern = 3, .xs = {0, 199}, .ys = {-20, -20}},
        {.name = "swooper, top right", .type = 1, .pattern = 2, .xs = {440, 639}, .ys = {-20, -20}},
        {.name = "saucer, left edge", .type = 2, .pattern = 5, .xs = {-20, -20}, .ys = {20, 369}},
        {.name = "saucer, right edge", .type = 2, .pattern = 4, .xs = {660, 660}, .ys = {20, 369}},
    };
    // clang-format on
    for (const entry_side &row : rows) {
        SCOPED_TRACE(row.name);
        GameTest::SetUp();
        for (int i = 0; i < 4000; i++)
            new_enemy(row.type);
        std::set<float> xs, ys;
        for (const _enemy &e : enemies)
            if (e.pattern == row.pattern)
                xs.insert(e.x), ys.insert(e.y);
        std::set<short> patterns;
        for (const _enemy &e : enemies)
            patterns.insert(e.pattern);
        EXPECT_EQ(patterns.size(), 2u); // one for each side
        ASSERT_GT(xs.size(), 0u);
        EXPECT_EQ(std::pair(*xs.begin(), *xs.rbegin()), row.xs);
        EXPECT_EQ(std::pair(*ys.begin(), *ys.rbegin()), row.ys);
    }
}

TEST_F(Enemies, InitStartsAFreshRecord) {
    _enemy e;
    e.fire_delay = e.start_delay = 9, e.dx = e.dy = e.ddx = e.ddy = 9;
    e.alive = false;
    e.init(0, 10, 20, STILL, 0);
    EXPECT_EQ(e.alive, true);
    EXPECT_EQ(e.fire_delay, 0);
    EXPECT_EQ(std::pair(e.dx, e.dy), std::pair(0.f, 0.f));
    EXPECT_EQ(std::pair(e.ddx, e.ddy), std::pair(0.f, 0.f));
    EXPECT_EQ(std::pair(e.base_x, e.base_y), std::pair(10.f, 20.f));
}

TEST_F(Enemies, EveryEnemyAndEveryEnemyShotMovesEachTick) {
    player.crazy = true;
    add(0, 100, 100, 1).fire_delay = 99;
    add(0, 200, 100, 1).fire_delay = 99;
    eshot = {{.x = 100, .y = 300, .dx = 1, .dy = 2}, {.x = 200, .y = 300, .dx = 1, .dy = 2}};
    do_enemies();
    std::vector<float> xs;
    for (const _enemy &e : enemies)
        xs.push_back(e.x);
    for (const _shot &s : eshot)
        xs.push_back(s.x);
    EXPECT_EQ(xs, std::vector<float>({102, 202, 101, 201}));
    EXPECT_EQ(queued_sprites(eshot1[0]).size(), 2u);
    EXPECT_EQ(queued_sprites(enemy1[0]).size(), 2u);
}

TEST_F(Enemies, GroupEntersInSingleFileFromOnePlace) {
    new_enemy_group(2, 3, 10);
    new_enemy_group(3, 3, 10); // no such type
    ASSERT_EQ(enemies.size(), 3u);
    std::set<std::tuple<float, float, short, short>> places; // x, y, pattern, type
    std::vector<int> delays;
    for (const _enemy &e : enemies)
        places.insert({e.x, e.y, e.pattern, e.type}), delays.push_back(e.start_delay);
    EXPECT_EQ(places.size(), 1u);
    EXPECT_EQ(std::get<3>(*places.begin()), 2);
    EXPECT_EQ(delays, std::vector<int>({0, 10, 20}));
}

TEST_F(Enemies, WaitsUnseenAndHarmlessUntilItsDelayIsOver) {
    _enemy &e = add(0, 308, 435, STILL, 3); // on the ship
    for (int t = 1; t <= 3; t++)
        e.do_stuff();
    EXPECT_EQ(drawqueue.size(), 0u);
    EXPECT_EQ(eshot.size(), 0u);
    EXPECT_EQ(player.insanity_level, 0);
    e.do_stuff();
    EXPECT_EQ(player.insanity_level, 12);
    EXPECT_EQ(queued_sprites(enemy1[1]).size(), 1u); // its last picture
}

// clang-format off
struct ram { const char *name; int type; short insanity; };

TEST_F(Enemies, RammingTheShipCostsTheTypesDamageAndBlowsTheEnemyUp) {
    const ram rows[] = {{.name = "dart", .type = 0, .insanity = 12},
                        {.name = "swooper", .type = 1, .insanity = 15},
                        {.name = "saucer", .type = 2, .insanity = 15}};
    // clang-format on
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

// clang-format off
struct scoring { const char *name; int type, level; bool crazy; int score; };

TEST_F(Enemies, KillScoresTheTypesPointsTimesTheLevelHalvedWhenCrazy) {
    const scoring rows[] = {
        {.name = "swooper on level 3", .type = 1, .level = 3, .score = 9},
        {.name = "crazy, saucer on level 3", .type = 2, .level = 3, .crazy = true, .score = 7},
    };
    // clang-format on
    for (const scoring &row : rows) {
        SCOPED_TRACE(row.name);
        GameTest::SetUp();
        level = row.level;
        player.crazy = row.crazy;
        add_shot_dart(row.type).do_stuff();
        EXPECT_EQ(score, row.score);
    }
}

TEST_F(Enemies, HighScoreFollowsTheScoreAtOnce) {
    score = 49, highscore = 50;
    add_shot_dart().do_stuff();
    EXPECT_EQ(highscore, 51);
    score = 0;
    add_shot_dart().do_stuff();
    EXPECT_EQ(highscore, 51);
}

TEST_F(Enemies, KilledEnemyStillGetsItsLastShotAndMove) {
    _enemy &e = add_shot_dart(0, 5);
    e.do_stuff();
    EXPECT_EQ(e.alive, false);
    EXPECT_EQ(eshot.size(), 1u);
    EXPECT_EQ(e.x, 105);
}

TEST_F(Enemies, FiresOnItsFirstActiveTickThenEverySeventyFirst) {
    _enemy &e = add(0, 100, 100, STILL, 2);
    std::vector<int> fired; // the ticks, from 1
    for (int t = 1; t <= 145; t++)
        if (size_t before = eshot.size(); e.do_stuff(), eshot.size() > before)
            fired.push_back(t);
    EXPECT_EQ(fired, std::vector<int>({3, 74, 145}));
}

// clang-format off
struct aimed { const char *name; int type; float dx, dy; };

TEST_F(Enemies, ShotIsAimedAtTheShipsCornerAtTheTypesSpeed) {
    const aimed rows[] = {{.name = "dart", .type = 0, .dx = 3.6f, .dy = 4.8f},
                          {.name = "swooper", .type = 1, .dx = 4.2f, .dy = 5.6f},
                          {.name = "saucer", .type = 2, .dx = 3.6f, .dy = 4.8f}};
    // clang-format on
    for (const aimed &row : rows) {
        SCOPED_TRACE(row.name);
        eshot.clear();
        add(row.type, 8, 35, STILL).fire(); // 300 by 400 from the ship's corner
        ASSERT_EQ(eshot.size(), 1u);
        EXPECT_EQ(std::pair(eshot.front().x, eshot.front().y), std::pair(18.f, 45.f));
        EXPECT_NEAR(eshot.front().dx, row.dx, 1e-5);
        EXPECT_NEAR(eshot.front().dy, row.dy, 1e-5);
    }
}

// clang-format off
struct enemy_shot { const char *name; float x, y; bool hit; };

TEST_F(Enemies, EnemyShotThatTouchesTheShipHurtsItForEightAndExplodes) {
    const enemy_shot rows[] = {{.name = "beside the left", .x = 301, .y = 440, .hit = false},
                               {.name = "into the top", .x = 320, .y = 428.5, .hit = true}};
    // clang-format on
    for (const enemy_shot &row : rows) {
        SCOPED_TRACE(row.name);
        GameTest::SetUp();
        eshot = {{.x = row.x, .y = row.y}};
        do_enemies();
        EXPECT_EQ(player.insanity_level, row.hit ? 8 : 0);
        EXPECT_EQ(eshot.size(), row.hit ? 0u : 1u);
        EXPECT_EQ(particles.size(), row.hit ? 1u : 0u);
        EXPECT_EQ(queued_sprites(eshot1[1]).size(), 1u);
    }
}

// clang-format off
struct play_area { const char *name; float x, y; size_t kept; };

TEST_F(Enemies, EnemiesAndTheirShotsLeaveOnlyBeyondThePlayArea) {
    const play_area rows[] = {
        {.name = "left", .x = -50, .y = 100, .kept = 1}, {.name = "past the left", .x = -50.5, .y = 100},
        {.name = "right", .x = 690, .y = 100, .kept = 1}, {.name = "past the right", .x = 690.5, .y = 100},
        {.name = "top", .x = 100, .y = -50, .kept = 1}, {.name = "past the top", .x = 100, .y = -50.5},
        {.name = "bottom", .x = 100, .y = 490, .kept = 1}, {.name = "past the bottom", .x = 100, .y = 490.5},
    };
    // clang-format on
    for (const play_area &row : rows) {
        SCOPED_TRACE(row.name);
        GameTest::SetUp();
        add(0, row.x, row.y, STILL).fire_delay = 99; // holding its fire
        eshot = {{.x = row.x, .y = row.y}};
        do_enemies();
        EXPECT_EQ(enemies.size(), row.kept);
        EXPECT_EQ(eshot.size(), row.kept);
    }
}

// clang-format off
struct look { const char *name; int type; bool crazy; BITMAP *picture; int command; float angle; };

TEST_F(Enemies, EnemyIsDrawnTurnedAlongItsFlightUnlessItIsASaucer) {
    const look rows[] = { // flying down and right, 4 down for 2 across
        {.name = "dart", .type = 0, .picture = enemy1[1], .command = CMD_ROTATE_SPRITE, .angle = -18.9f},
        {.name = "crazy swooper", .type = 1, .crazy = true, .picture = enemy2[0],
         .command = CMD_ROTATE_SPRITE, .angle = -18.9f},
        {.name = "saucer", .type = 2, .picture = enemy3[1], .command = CMD_SPRITE, .angle = 0},
    };
    // clang-format on
    for (const look &row : rows) {
        SCOPED_TRACE(row.name);
        drawqueue.clear();
        player.crazy = row.crazy;
        add(row.type, 100, 120, 1).draw();
        ASSERT_EQ(drawqueue.size(), 1u);
        EXPECT_EQ(drawqueue[0].type, row.command);
        EXPECT_EQ(drawqueue[0].bmp, row.picture);
        EXPECT_EQ(std::pair(drawqueue[0].x, drawqueue[0].y),
                  (std::pair<int16_t, int16_t>(100, 120)));
        EXPECT_NEAR(drawqueue[0].angle, ftofix(row.angle), 0.1 * 65536);
    }
}
