#include "fixture.h"

#include "enemy.h"
#include "logic.h"
#include "main.h"
#include "particle.h"

#include <algorithm>
#include <cmath>
#include <vector>

constexpr int STILL = 99; // a path no enemy knows: it never moves

class Enemies : public GameTest {
  protected:
    static void add(int type, float x, float y, int pattern, int start_delay = 0) {
        _enemy e;
        e.init(type, x, y, pattern, start_delay);
        enemies.push_back(e);
    }
};

TEST_F(Enemies, EachPatternFliesItsPath) {
    const float pi = 3.14159265f;
    for (int pattern = -1; pattern <= 7; pattern++) {
        srand(4);
        int fall = rand() % 3 + 5;
        srand(4);
        _enemy e;
        e.init(1, 300, 100, pattern, 0);
        float side = pattern % 2 ? 1 : -1; // odd patterns head right
        for (int k = 1; k <= 4; k++) {
            e.move();
            float x = 300, y = 100;
            if (pattern == 0 || pattern == 1) {
                x += side * 2 * k;
                y += 4 * k;
            } else if (pattern == 2 || pattern == 3) { // swerving 0.25 faster every tick
                x += side * (k + 0.25f * k * (k - 1) / 2);
                y += fall * k;
            } else if (pattern == 4 || pattern == 5) { // the x reached, read in degrees
                x += side * 5 * k;
                y += 50 * std::sin(pi * x / 180);
            } else if (pattern == 6) {
                y += 5 * k;
                x += 50 * std::sin(pi * y / 180);
            }
            EXPECT_NEAR(e.x, x, 1e-3) << "pattern " << pattern << " tick " << k;
            EXPECT_NEAR(e.y, y, 1e-3) << "pattern " << pattern << " tick " << k;
        }
    }
}

TEST_F(Enemies, EachTypeEntersAtARandomPlaceOnItsOwnEdge) {
    const int patterns[3][2] = {{1, 0}, {3, 2}, {5, 4}};
    for (int type = 0; type < 3; type++) {
        bool sides_seen[2] = {};
        for (unsigned seed = 1; seed <= 12; seed++) {
            srand(seed);
            int side = rand() % 2, place = rand(), fall = rand() % 3 + 5;
            const float xs[3][2] = {{place % 200 + 40.0f, place % 200 + 400.0f},
                                    {place % 200 + 0.0f, place % 200 + 440.0f},
                                    {-20, 660}};
            srand(seed);
            enemies.clear();
            new_enemy(type);
            const _enemy &e = enemies.back();
            EXPECT_EQ(e.x, xs[type][side]);
            EXPECT_EQ(e.y, type == 2 ? place % 350 + 20 : -20);
            EXPECT_EQ(e.pattern, patterns[type][side]);
            EXPECT_TRUE(type != 1 || e.dy == fall);
            EXPECT_TRUE(e.alive && e.start_delay == 0 && e.fire_delay == 0);
            sides_seen[side] = true;
        }
        EXPECT_TRUE(sides_seen[0] && sides_seen[1]);
    }
}

TEST_F(Enemies, WaitsUnseenAndHarmlessThenRamsBeforeItIsShot) {
    const int damage[] = {12, 15, 15};
    add(1, 308 + 25, 435, STILL); // only touching the ship's side
    do_enemies();
    EXPECT_TRUE(enemies.size() == 1 && player.insanity_level == 0);
    for (int type = 0; type < 3; type++) {
        enemies.clear();
        eshot.clear();
        player.insanity_level = 0;
        add(type, 308 + 24, 435 + 24, STILL, 3); // a pixel over the ship's corner
        player.shots = {{340, 465, 0, 0}};       // and a shot over the enemy
        for (int call = 1; call <= 3; call++) {
            drawqueue.clear();
            do_enemies();
            ASSERT_EQ(enemies.size(), 1u);
            EXPECT_TRUE(drawqueue.empty() && eshot.empty());
            EXPECT_EQ(player.insanity_level, 0);
        }
        particles.clear();
        do_enemies();
        EXPECT_TRUE(enemies.empty());
        EXPECT_EQ(player.insanity_level, damage[type]);
        EXPECT_EQ(player.shots.size(), 1u);
        EXPECT_EQ(score, 0);
        ASSERT_EQ(particles.size(), 1u);
        EXPECT_TRUE(particles.front().kind == PARTICLE_EXPLOSION && particles.front().x == 332);
    }
}

TEST_F(Enemies, FiresAtTheShipOnItsFirstActiveTickThenEvery71) {
    const float speeds[] = {6, 7, 6};
    for (int type = 0; type < 3; type++) {
        eshot.clear();
        _enemy e;
        e.init(type, 100, 100, STILL, 2);
        std::vector<int> fired;
        for (int t = 1; t <= 145; t++) {
            size_t before = eshot.size();
            e.do_stuff();
            if (eshot.size() > before)
                fired.push_back(t);
        }
        EXPECT_EQ(fired, (std::vector<int>{3, 74, 145}));
        const _shot &s = eshot.front(); // from +10,+10, aimed corner to corner at (308, 435)
        float to_ship = std::hypot(208.0f, 335.0f);
        EXPECT_TRUE(s.x == 110 && s.y == 110);
        EXPECT_NEAR(s.dx, speeds[type] * 208 / to_ship, 1e-4);
        EXPECT_NEAR(s.dy, speeds[type] * 335 / to_ship, 1e-4);
    }
}

TEST_F(Enemies, AKillUsesOnlyTheFirstOverlappingShot) {
    add(0, 100, 100, STILL);
    add(0, 200, 100, STILL);
    add(0, 210, 100, STILL);
    // one only touches the first enemy, two overlap it, one overlaps the other two
    player.shots = {{125, 110, 0, 0}, {110, 110, 0, 0}, {112, 110, 0, 0}, {215, 110, 0, 0}};
    do_enemies();
    ASSERT_EQ(enemies.size(), 1u);
    EXPECT_EQ(enemies.front().x, 210);
    ASSERT_EQ(player.shots.size(), 2u);
    EXPECT_TRUE(player.shots.front().x == 125 && player.shots.back().x == 112);
}

TEST_F(Enemies, KillScoresByTypeTimesLevelHalvedWhileCrazy) {
    // level, crazy, then the points of types 0, 1 and 2
    const int cases[][5] = {
        {1, 0, 2, 3, 5}, {1, 1, 1, 1, 2}, {3, 0, 6, 9, 15}, {3, 1, 3, 4, 7}, {4, 1, 4, 6, 10}};
    for (const int *c : cases)
        for (int type = 0; type < 3; type++) {
            level = c[0];
            player.crazy = c[1];
            score = 10;
            highscore = 13;
            enemies.clear();
            add(type, 100, 100, STILL);
            player.shots = {{110, 110, 0, 0}};
            do_enemies();
            EXPECT_EQ(score, 10 + c[2 + type]) << c[0] << c[1] << type;
            EXPECT_EQ(highscore, std::max(13, score));
        }
}

TEST_F(Enemies, GroupFliesInSingleFileFromOneEntryPlace) {
    srand(9);
    int side = rand() % 2, place = rand(), next = rand();
    srand(9);
    new_enemy_group(0, 5, 15);
    ASSERT_EQ(enemies.size(), 5u);
    int i = 0;
    for (const _enemy &e : enemies) {
        EXPECT_EQ(e.x, side ? place % 200 + 400 : place % 200 + 40);
        EXPECT_TRUE(e.y == -20 && e.pattern == (side ? 0 : 1) && e.start_delay == 15 * i++);
    }
    for (int t = 0; t < 61; t++) // the last member moves once, on call 61
        do_enemies();
    ASSERT_EQ(enemies.size(), 5u);
    EXPECT_EQ(enemies.back().y, -16);
    for (auto ahead = enemies.begin(), e = std::next(ahead); e != enemies.end(); ++ahead, ++e) {
        EXPECT_EQ(ahead->y - e->y, 60);
        EXPECT_EQ((ahead->x - e->x) * (side ? -1 : 1), 30);
    }

    enemies.clear();
    srand(9);
    new_enemy_group(0, 0, 15); // rolls the entry all the same
    EXPECT_TRUE(enemies.empty());
    EXPECT_EQ(rand(), next);
}

TEST_F(Enemies, EnemiesAndTheirShotsLeaveOnlyBeyondThePlayArea) {
    // pattern (its shot flies the same way: 2 across, 4 down), start, still there after a move
    const float cases[][4] = {{0, -48, 100, 1},    {0, -48.5f, 100, 0}, {1, 688, 100, 1},
                              {1, 688.5f, 100, 0}, {1, 100, -54, 1},    {1, 100, -54.5f, 0},
                              {1, 100, 486, 1},    {1, 100, 486.5f, 0}};
    for (const float *c : cases) {
        enemies.clear();
        add(0, c[1], c[2], c[0]);
        do_enemies();
        EXPECT_EQ(enemies.size(), c[3]) << c[1] << "," << c[2];
        enemies.clear();
        eshot = {{c[1], c[2], c[0] ? 2.0f : -2.0f, 4}};
        do_enemies();
        EXPECT_EQ(eshot.size(), c[3]) << c[1] << "," << c[2];
    }
    enemies.clear();
    add(2, 660, 100, 4); // a saucer entering from the right
    do_enemies();
    ASSERT_EQ(enemies.size(), 1u);
    EXPECT_EQ(enemies.front().x, 655);
}

TEST_F(Enemies, ShotHitsTheShipInTheTickItIsFiredForEightOnce) {
    // an enemy right on the ship's corner rams it, and its last shot flies right into it
    add(0, 308, 435, STILL);
    do_enemies();
    EXPECT_TRUE(enemies.empty() && eshot.empty());
    EXPECT_EQ(player.insanity_level, 12 + 8);
    ASSERT_EQ(particles.size(), 2u);
    const _particle &blast = particles.back();
    EXPECT_TRUE(blast.kind == PARTICLE_EXPLOSION && blast.x == 308 + 16 && blast.y == 445);
    EXPECT_TRUE(blast.dx == 6 && blast.dy == 0);
    do_enemies();
    EXPECT_EQ(player.insanity_level, 20);
}

TEST_F(Enemies, ShotsAreDrawnOverEveryEnemyInTheCurrentMode) {
    for (bool crazy : {false, true}) {
        player.crazy = crazy;
        const int pic = crazy ? 0 : 1;
        enemies.clear();
        eshot.clear();
        drawqueue.clear();
        add(0, 100, 100, 5); // flying right
        add(1, 200, 100, 6); // falling straight down
        add(2, 300, 100, 1);
        do_enemies();
        BITMAP *const pictures[] = {enemy1[pic], enemy2[pic], enemy3[pic],
                                    eshot1[pic], eshot1[pic], eshot1[pic]};
        ASSERT_EQ(drawqueue.size(), 6u);
        for (int i = 0; i < 6; i++)
            EXPECT_EQ(drawqueue[i].bmp, pictures[i]) << i;
        EXPECT_TRUE(drawqueue[0].type == CMD_ROTATE_SPRITE &&
                    drawqueue[1].type == CMD_ROTATE_SPRITE);
        EXPECT_NEAR(drawqueue[0].angle, -itofix(64), 16); // a quarter turn anticlockwise
        EXPECT_NEAR(drawqueue[1].angle, 0, 16);
        EXPECT_TRUE(drawqueue[2].type == CMD_SPRITE && drawqueue[2].x == 302 &&
                    drawqueue[2].y == 104);
    }
}
