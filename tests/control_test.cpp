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

TEST_F(ShipTick, MouseGunFiresEveryTwentyFirstTickInATwoPlayerGame) {
    player.init(true);
    mouse_b = 1;
    mouse_x = 320;
    mouse_y = 0;
    EXPECT_EQ(ticks_firing(43), std::vector<int>({1, 22, 43}));
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
