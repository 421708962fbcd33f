#include "fixture.h"

#include "particle.h"
#include "player.h"

struct Particles : GameTest {
    static void ticks(int n) {
        for (int t = 0; t < n; t++)
            do_particles();
    }
};

TEST_F(Particles, ExplosionGrowsARedDiscWithAYellowCoreForTenTicks) {
    new_particle(PARTICLE_EXPLOSION, 100, 80, 0, 0, "");
    std::vector<int> red_radii, yellow_radii;
    for (int t = 0; t < 11; t++) {
        drawqueue.clear();
        do_particles();
        for (const drawthing &d : queued(CMD_CIRCLEFILL))
            (uint16_t(d.color) == red() ? red_radii : yellow_radii).push_back(d.radius);
    }
    EXPECT_EQ(red_radii, std::vector<int>({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(yellow_radii, std::vector<int>({1, 2, 3, 4, 5}));
    EXPECT_EQ(particles.size(), 0u);
}

TEST_F(Particles, StarNeverAges) {
    new_particle(PARTICLE_STAR, 300, 100, 0, 0, "");
    ticks(200);
    ASSERT_EQ(particles.size(), 1u);
    EXPECT_EQ(particles.front().life, 50);
    EXPECT_EQ(drawqueue.size(), 200u);
}

TEST_F(Particles, CowsAndBananasFallUnderGravity) {
    new_particle(PARTICLE_COW, 300, 100, 2, -5, "");
    ticks(20); // each move at the speed of the tick before
    EXPECT_NEAR(particles.front().y, 100 - 5 * 20 + 0.45 * 19 * 20 / 2, 1e-3);
    EXPECT_NEAR(particles.front().x, 340, 1e-3);
}
