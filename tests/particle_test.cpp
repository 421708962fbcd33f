#include "fixture.h"

#include "particle.h"
#include "player.h"

#include <set>

using Particles = GameTest;

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
