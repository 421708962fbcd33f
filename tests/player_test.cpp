#include "fixture.h"

#include "main.h"
#include "particle.h"
#include "player.h"

#include <cmath>
#include <vector>

class Ship : public GameTest {
  protected:
    // one tick of the ship alone, on an empty draw queue and particle list
    static void tick() {
        drawqueue.clear();
        particles.clear();
        player.do_stuff();
    }
    // the ticks, counted from 1, on which shots were added to the ship's list
    static std::vector<int> ticks_that_fired(int ticks) {
        std::vector<int> fired;
        for (int t = 1; t <= ticks; t++) {
            size_t before = player.shots.size();
            tick();
            if (player.shots.size() > before)
                fired.push_back(t);
        }
        return fired;
    }
};

TEST_F(Ship, InitStartsAFreshShipAndKeepsShotsInFlight) {
    player.shots.push_back({10, 20, 0, -5});
    for (bool two : {true, false}) {
        player = {true, !two, 2, 3, 4, 50, 1, 6, 1, 2, 3, 4, player.shots};
        player.init(two);
        EXPECT_TRUE(!player.crazy && player.two_player == two && player.shots.size() == 1);
        EXPECT_EQ(player.shot_level | player.fire_delay | player.p2_fire_delay, 0);
        EXPECT_EQ(player.insanity_level | player.times_crazy, 0);
        EXPECT_EQ(player.health_points, 100);
        EXPECT_TRUE(player.x == 308 && player.y == 435 && player.dx == 0 && player.dy == 0);
    }
}

TEST_F(Ship, HeldFireShootsOnFirstTickThenEvery16AndAFreshPressAtOnce) {
    for (int fire_key : {KEY_LCONTROL, KEY_SPACE}) {
        press(fire_key);
        EXPECT_EQ(ticks_that_fired(50), (std::vector<int>{1, 17, 33, 49}));
        release(fire_key);
        ticks_that_fired(30);
        press(fire_key);
        EXPECT_EQ(ticks_that_fired(1), std::vector<int>{1});
        release(fire_key);
        ticks_that_fired(16);
    }
}

TEST_F(Ship, MouseGunAndCrosshairWorkOnlyInATwoPlayerGame) {
    mouse_b = 1;
    mouse_x = 100;
    mouse_y = 50;
    for (bool two : {false, true}) {
        player.init(two);
        std::vector<int> fired;
        for (int t = 1; t <= 43; t++) {
            if (!ticks_that_fired(1).empty())
                fired.push_back(t);
            std::vector<drawthing> crosshair = queued_sprites(targeting);
            ASSERT_EQ(crosshair.size(), two ? 1u : 0u);
            EXPECT_TRUE(!two || (crosshair[0].x == 100 && crosshair[0].y == 50));
            EXPECT_TRUE(two || player.p2_fire_delay == 0);
        }
        EXPECT_EQ(fired, two ? (std::vector<int>{1, 22, 43}) : std::vector<int>{});
    }
}

TEST_F(Ship, SteersThreePixelsATickStopsAtTheEdgesAndCoasts) {
    // crazy, two keys (0 for none), from x, y, to x, y
    const int cases[][7] = {
        {0, KEY_LEFT, KEY_W, 300, 200, 297, 197},     {0, KEY_D, KEY_S, 300, 200, 303, 203},
        {0, KEY_A, KEY_RIGHT, 300, 200, 297, 200},    {0, KEY_UP, KEY_DOWN, 300, 200, 300, 197},
        {1, KEY_LEFT, KEY_D, 300, 200, 303, 200},     {1, KEY_UP, KEY_S, 300, 200, 300, 203},
        {0, KEY_RIGHT, KEY_DOWN, 614, 454, 615, 455}, {1, KEY_RIGHT, KEY_DOWN, 1, 1, 0, 0}};
    for (const int *c : cases) {
        player.init(false);
        player.crazy = c[0];
        player.x = c[3];
        player.y = c[4];
        press(c[1]);
        press(c[2]);
        tick();
        EXPECT_TRUE(player.x == c[5] && player.y == c[6]) << player.x << "," << player.y;
        ASSERT_EQ(queued_sprites(ship).size(), 1u);
        EXPECT_EQ(queued_sprites(ship)[0].x, c[5]);
        tick(); // held against a wall the ship keeps its speed
        EXPECT_EQ(player.dx, 3 * ((c[5] > c[3]) - (c[5] < c[3])));
        EXPECT_EQ(player.dy, 3 * ((c[6] > c[4]) - (c[6] < c[4])));
        release(c[1]);
        release(c[2]);
    }
    player.init(false);
    player.dx = -3;
    tick(); // a released axis loses a sixth of its speed every tick, and never stops dead
    EXPECT_FLOAT_EQ(player.x, 308 - 2.5f);
    for (int t = 0; t < 200; t++)
        tick();
    EXPECT_LT(player.dx, 0);
}

TEST_F(Ship, DamageFillsInsanityWhenSaneAndCostsHalfTheHealthWhenCrazy) {
    // crazy, amount, insanity and health after
    const int cases[][4] = {{0, 8, 103, 50}, {0, 15, 110, 50}, {1, 15, 95, 43}, {1, 12, 95, 44}};
    for (const int *c : cases) {
        player.crazy = c[0];
        player.insanity_level = 95;
        player.health_points = 50;
        player.take_damage(c[1]);
        EXPECT_TRUE(player.insanity_level == c[2] && player.health_points == c[3]) << c[1];
    }
    player.health_points = 4;
    player.take_damage(12);
    EXPECT_EQ(player.health_points, -2);
}

TEST_F(Ship, VolleyShapeFollowsTheShotLevelAndFliesInTheTickItIsFired) {
    struct volley_shot {
        float x_offset, dx;
    };
    const std::vector<volley_shot> volleys[] = {
        {{12, 0}}, {{2, 0}, {22, 0}}, {{12, 0}, {22, 3}, {2, -3}}, {}, {}};
    const short levels[] = {0, 1, 2, 3, -1};
    press(KEY_SPACE);
    for (int v = 0; v < 5; v++) {
        player.shots.clear();
        player.shot_level = levels[v];
        player.fire_delay = 0;
        tick();
        EXPECT_EQ(player.fire_delay, 15); // the cool-down follows even an empty volley
        ASSERT_EQ(player.shots.size(), volleys[v].size());
        EXPECT_EQ(queued_sprites(shot[1]).size(), volleys[v].size());
        auto s = player.shots.begin();
        for (const volley_shot &expected : volleys[v]) {
            EXPECT_TRUE(s->x == 308 + expected.x_offset + expected.dx && s->y == 435 + 2 - 5);
            EXPECT_TRUE(s->dx == expected.dx && s->dy == -5);
            ++s;
        }
    }
}

TEST_F(Ship, ShotsTurnToTheirFlightAndLeaveOnlyWhenStrictlyBeyondTheScreen) {
    // a shot, whether it is still there after one move, and its heading
    const float cases[][6] = {{635, 100, 5, 0, 1, 64},  {636, 100, 5, 0, 0, 64},
                              {0, 100, -5, 0, 1, 192},  {0, 100, -6, 0, 0, 192},
                              {100, 0, 0, -5, 1, 0},    {100, -1, 0, -5, 0, 0},
                              {100, 475, 0, 5, 1, 128}, {100, 476, 0, 5, 0, 128}};
    for (const float *c : cases) {
        player.crazy = !player.crazy; // the picture follows the mode of the moment
        player.shots = {{c[0], c[1], c[2], c[3]}};
        tick();
        EXPECT_EQ(player.shots.size(), c[4]) << c[0] << "," << c[1];
        std::vector<drawthing> drawn = queued_sprites(shot[player.crazy ? 0 : 1]);
        ASSERT_EQ(drawn.size(), 1u); // drawn once more on the way out
        EXPECT_NEAR(drawn[0].angle, itofix(c[5]), 16);
    }
    player.crazy = false;
    player.y = 455; // from the bottom edge a shot is erased on its 93rd move
    press(KEY_SPACE);
    tick();
    release(KEY_SPACE);
    int ticks = 1;
    for (; !player.shots.empty() && ticks < 100; ticks++)
        tick();
    EXPECT_EQ(ticks, 93);
}

TEST_F(Ship, MouseGunAimsFromTheCornerAtThePointerOrAwayWhenCrazy) {
    const float diagonal = 5 / std::sqrt(2.0f);
    // crazy, pointer x, y, the shot's velocity
    const float cases[][5] = {{0, 300, 100, 0, -5},
                              {1, 300, 100, 0, 5},
                              {0, 300, 300, 5, 0},
                              {1, 300, 300, 5, 0},
                              {0, 200, 400, -diagonal, diagonal}};
    mouse_b = 1;
    for (const float *c : cases) {
        player.init(true);
        player.crazy = c[0];
        player.x = player.y = 300;
        mouse_x = c[1];
        mouse_y = c[2];
        player.shots.clear();
        tick();
        ASSERT_EQ(player.shots.size(), 1u);
        const _shot &s = player.shots.front(); // from the ship's centre, moved once
        EXPECT_TRUE(std::hypot(s.dx - c[3], s.dy - c[4]) < 1e-4) << s.dx << "," << s.dy;
        EXPECT_TRUE(std::hypot(s.x - 312.5f - c[3], s.y - 312.5f - c[4]) < 1e-4);
    }
}

TEST_F(Ship, PuffsTwoExhaustSparksWhereItStoodBeforeMoving) {
    press(KEY_LEFT);
    for (bool crazy : {false, true}) {
        player.crazy = crazy;
        player.x = 100.7f;
        player.y = 200.2f;
        srand(3);
        int speed = rand(), y_offset = rand(), x_offset = rand();
        srand(3);
        tick();
        ASSERT_EQ(particles.size(), 2u);
        const _particle &first = particles.front(), &second = particles.back();
        EXPECT_TRUE(first.x == 105 + x_offset % 15 && first.y == 220 + y_offset % 3);
        EXPECT_TRUE(first.dx == 0 && std::fabs(first.dy - ((speed % 100) / 10.0f + 0.5f)) < 1e-5);
        EXPECT_TRUE(second.x >= 105 && second.x <= 119 && second.y >= 220 && second.y <= 222);
        EXPECT_TRUE(first.kind == PARTICLE_SPARK && second.kind == PARTICLE_SPARK);
    }
}
