#include "fixture.h"
#include "media.h"

#include "main.h"
#include "player.h"

#include <array>
#include <cmath>

struct Ship : GameTest {
    // where each shot in flight is and where it heads: x, y, dx, dy
    static std::vector<std::array<float, 4>> shots_in_flight() {
        std::vector<std::array<float, 4>> found;
        for (const _shot &s : player.shots)
            found.push_back({s.x, s.y, s.dx, s.dy});
        return found;
    }
};

TEST_F(Ship, NewShipStartsLowInTheMiddleSaneAndWhole) {
    player.x = player.dx = player.dy = 7;
    player.crazy = true;
    player.shot_level = player.fire_delay = player.p2_fire_delay = 2;
    player.insanity_level = player.times_crazy = 3;
    player.health_points = 1;
    player.init(true);
    EXPECT_EQ(player.x, 308);
    EXPECT_EQ(player.y, 435);
    EXPECT_EQ(player.dx, 0);
    EXPECT_EQ(player.dy, 0);
    EXPECT_EQ(player.crazy, false);
    EXPECT_EQ(player.two_player, true);
    EXPECT_EQ(player.shot_level, 0);
    EXPECT_EQ(player.fire_delay, 0);
    EXPECT_EQ(player.p2_fire_delay, 0);
    EXPECT_EQ(player.insanity_level, 0);
    EXPECT_EQ(player.health_points, 100);
    EXPECT_EQ(player.times_crazy, 0);
}

// clang-format off
struct volley { const char *name; short shot_level; std::vector<std::array<float, 4>> shots; };

TEST_F(Ship, VolleyFollowsTheShotLevel) {
    const volley rows[] = { // x, y, dx and dy of each shot
        {.name = "one from the nose", .shot_level = 0, .shots = {{320, 437, 0, -5}}},
        {.name = "a pair from the wingtips", .shot_level = 1, .shots = {{310, 437, 0, -5}, {330, 437, 0, -5}}},
        {.name = "a fan of three", .shot_level = 2, .shots = {{320, 437, 0, -5}, {330, 437, 3, -5}, {310, 437, -3, -5}}},
        {.name = "none past the last level", .shot_level = 3, .shots = {}},
    };
    // clang-format on
    for (const volley &row : rows) {
        SCOPED_TRACE(row.name);
        player.shots.clear();
        player.shot_level = row.shot_level;
        player.fire();
        EXPECT_EQ(shots_in_flight(), row.shots);
    }
}

// clang-format off
struct aim { const char *name; bool crazy; int mouse_x, mouse_y; float dx, dy; };

TEST_F(Ship, MouseGunAimsFromTheShipsCornerAtThePointerOrAwayFromItWhenCrazy) {
    const aim rows[] = {
        {.name = "pointer below, to the right", .mouse_x = 338, .mouse_y = 475, .dx = 3, .dy = 4},
        {.name = "crazy, away from the pointer", .crazy = true, .mouse_x = 338, .mouse_y = 475, .dx = -3, .dy = -4},
    };
    // clang-format on
    for (const aim &row : rows) {
        SCOPED_TRACE(row.name);
        player.shots.clear();
        player.crazy = row.crazy;
        mouse_x = row.mouse_x;
        mouse_y = row.mouse_y;
        player.p2_fire();
        ASSERT_EQ(player.shots.size(), 1u);
        EXPECT_EQ(player.shots.front().x, 320.5); // leaving from the ship's centre
        EXPECT_EQ(player.shots.front().y, 447.5);
        EXPECT_NEAR(player.shots.front().dx, row.dx, 1e-5);
        EXPECT_NEAR(player.shots.front().dy, row.dy, 1e-5);
    }
}

// clang-format off
struct shot_place { const char *name; float x, y; bool offscreen; };

TEST_F(Ship, ShotIsOffscreenOnlyStrictlyBeyondAnEdge) {
    const shot_place rows[] = {
        {.name = "right edge", .x = 640, .y = 9, .offscreen = false},
        {.name = "left edge", .x = -5, .y = 9, .offscreen = false},
        {.name = "past the left edge", .x = -5.5, .y = 9, .offscreen = true},
        {.name = "top edge", .x = 9, .y = -5, .offscreen = false},
        {.name = "bottom edge", .x = 9, .y = 480, .offscreen = false},
    };
    // clang-format on
    for (const shot_place &row : rows) {
        SCOPED_TRACE(row.name);
        _shot s{.x = row.x, .y = row.y, .dx = 0, .dy = 0};
        EXPECT_EQ(s.offscreen(), row.offscreen);
    }
}

// clang-format off
struct heading { const char *name; bool crazy; float dx, dy; BITMAP **picture; int angle; };

TEST_F(Ship, ShotIsDrawnTurnedToItsFlightInThePictureOfTheMind) {
    const heading rows[] = {
        {.name = "sane, up", .dx = 0, .dy = -5, .picture = &shot[1], .angle = 0},
        {.name = "crazy, right", .crazy = true, .dx = 5, .dy = 0, .picture = &shot[0], .angle = 64},
    };
    // clang-format on
    for (const heading &row : rows) {
        SCOPED_TRACE(row.name);
        drawqueue.clear();
        player.crazy = row.crazy;
        _shot{.x = 100, .y = 200, .dx = row.dx, .dy = row.dy}.draw();
        ASSERT_EQ(drawqueue.size(), 1u);
        EXPECT_EQ(drawqueue[0].bmp, *row.picture);
        EXPECT_EQ(drawqueue[0].x, 100);
        EXPECT_EQ(drawqueue[0].y, 200);
        EXPECT_NEAR(drawqueue[0].angle, itofix(row.angle), 16);
    }
}

// clang-format off
struct damage { const char *name; bool crazy; int amount; short insanity, health; };

TEST_F(Ship, DamageFillsInsanityWhenSaneAndCostsHalfOfItInHealthWhenCrazy) {
    const damage rows[] = {
        {.name = "sane", .amount = 8, .insanity = 8, .health = 100},
        {.name = "crazy, past nought", .crazy = true, .amount = 250, .health = -25},
    };
    // clang-format on
    for (const damage &row : rows) {
        SCOPED_TRACE(row.name);
        player.init(false);
        player.crazy = row.crazy;
        player.take_damage(row.amount);
        EXPECT_EQ(player.insanity_level, row.insanity);
        EXPECT_EQ(player.health_points, row.health);
    }
}
