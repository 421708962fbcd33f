#include "fixture.h"
#include "media.h"

#include "particle.h"
#include "player.h"

#include <set>

struct ShipTick : GameTest {
    // the ticks, counted from 1, on which the shots in flight grew, once for each new shot
    static std::vector<int> ticks_firing(int ticks) {
        std::vector<int> fired;
        for (int t = 1; t <= ticks; t++) {
            size_t before = player.shots.size();
            player.do_stuff();
            fired.insert(fired.end(), player.shots.size() - before, t);
        }
        return fired;
    }
};

// clang-format off
struct steering { const char *name; int key; bool crazy; float dx, dy; };

TEST_F(ShipTick, HeldKeySteersAtThreePixelsATickReversedWhenCrazy) {
    const steering rows[] = {
        {.name = "left arrow", .key = KEY_LEFT, .dx = -3},
        {.name = "A", .key = KEY_A, .dx = -3},
        {.name = "right arrow", .key = KEY_RIGHT, .dx = 3},
        {.name = "D", .key = KEY_D, .dx = 3},
        {.name = "up arrow", .key = KEY_UP, .dy = -3},
        {.name = "W", .key = KEY_W, .dy = -3},
        {.name = "down arrow", .key = KEY_DOWN, .dy = 3},
        {.name = "S", .key = KEY_S, .dy = 3},
        {.name = "crazy, down arrow", .key = KEY_DOWN, .crazy = true, .dy = -3},
    };
    // clang-format on
    for (const steering &row : rows) {
        SCOPED_TRACE(row.name);
        GameTest::SetUp();
        player.crazy = row.crazy;
        press(row.key);
        player.do_stuff();
        EXPECT_EQ(player.x, 308 + row.dx);
        EXPECT_EQ(player.y, 435 + row.dy);
        ASSERT_EQ(queued_sprites(ship).size(), 1u); // drawn where it moved to
        EXPECT_EQ(queued_sprites(ship)[0].x, int(308 + row.dx));
    }
}

TEST_F(ShipTick, ReleasedAxisCoastsLosingASixthOfItsSpeedEachTick) {
    player.dx = 3, player.dy = -3;
    player.do_stuff();
    EXPECT_NEAR(player.dx, 2.5, 1e-5);
    EXPECT_NEAR(player.dy, -2.5, 1e-5);
}

// clang-format off
struct edge { const char *name; int key; float x, y; float x_after, y_after; };

TEST_F(ShipTick, ShipStopsAtTheEdgesButKeepsPushingAgainstThem) {
    const edge rows[] = {
        {.name = "left", .key = KEY_LEFT, .x = 2, .y = 100, .x_after = 0, .y_after = 100},
        {.name = "right", .key = KEY_RIGHT, .x = 613, .y = 100, .x_after = 615, .y_after = 100},
        {.name = "top", .key = KEY_UP, .x = 100, .y = 2, .x_after = 100, .y_after = 0},
        {.name = "bottom", .key = KEY_DOWN, .x = 100, .y = 453, .x_after = 100, .y_after = 455},
    };
    // clang-format on
    for (const edge &row : rows) {
        SCOPED_TRACE(row.name);
        GameTest::SetUp();
        player.x = row.x, player.y = row.y;
        press(row.key);
        player.do_stuff();
        EXPECT_EQ(player.x, row.x_after);
        EXPECT_EQ(player.y, row.y_after);
        EXPECT_EQ(std::abs(player.dx + player.dy), 3);
    }
}

// clang-format off
struct trigger { const char *name; int key; std::vector<int> fired; };

TEST_F(ShipTick, KeyboardGunFiresOnTheFirstTickThenEverySixteenth) {
    const trigger rows[] = {{.name = "Left Control", .key = KEY_LCONTROL, .fired = {1, 17, 33}},
                            {.name = "Space", .key = KEY_SPACE, .fired = {1, 17, 33}},
                            {.name = "no key", .key = KEY_Q, .fired = {}}};
    // clang-format on
    for (const trigger &row : rows) {
        SCOPED_TRACE(row.name);
        GameTest::SetUp();
        press(row.key);
        EXPECT_EQ(ticks_firing(33), row.fired);
    }
}

// clang-format off
struct mouse_trigger { const char *name; bool two_player; int buttons; std::vector<int> fired; };

TEST_F(ShipTick, MouseGunFiresEveryTwentyFirstTickOnlyInATwoPlayerGame) {
    const mouse_trigger rows[] = {
        {.name = "two players", .two_player = true, .buttons = 1, .fired = {1, 22, 43}},
        {.name = "one player", .two_player = false, .buttons = 1, .fired = {}},
    };
    // clang-format on
    for (const mouse_trigger &row : rows) {
        SCOPED_TRACE(row.name);
        GameTest::SetUp();
        player.init(row.two_player);
        mouse_b = row.buttons;
        mouse_x = 320;
        mouse_y = 0;
        EXPECT_EQ(ticks_firing(43), row.fired);
    }
}

TEST_F(ShipTick, ShotsMoveAreDrawnAndLeaveOnceOffscreen) {
    player.shots = {{.x = 100, .y = 100, .dx = 0, .dy = -5},
                    {.x = 100, .y = -1, .dx = 0, .dy = -5}};
    player.do_stuff();
    ASSERT_EQ(player.shots.size(), 1u);
    EXPECT_EQ(player.shots.front().y, 95);
    EXPECT_EQ(queued_sprites(shot[1]).size(), 2u);
}

TEST_F(ShipTick, ExhaustPuffsTwoSparksATickFromUnderTheShip) {
    for (int t = 0; t < 200; t++)
        player.do_stuff();
    ASSERT_EQ(particles.size(), 400u);
    std::set<float> across, down, speeds;
    for (const _particle &p : particles) {
        EXPECT_EQ(p.kind, PARTICLE_SPARK);
        EXPECT_EQ(p.dx, 0);
        across.insert(p.x - 308), down.insert(p.y - 435), speeds.insert(p.dy);
    }
    EXPECT_EQ(*across.begin(), 5);
    EXPECT_EQ(*across.rbegin(), 19);
    EXPECT_EQ(down, std::set<float>({20, 21, 22}));
    EXPECT_NEAR(*speeds.begin(), 0.5, 1e-5);
    EXPECT_NEAR(*speeds.rbegin(), 10.4, 1e-5);
}
