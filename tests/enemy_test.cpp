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
