#include "fixture.h"
#include "media.h"

#include "particle.h"
#include "player.h"

using Particles = GameTest;

TEST_F(Particles, EachKindIsDrawnForItsLifeAndErasedOnTheNextTick) {
    // kind, ticks drawn, and calls until erased; an unknown kind dies on its first tick, unseen
    const int rows[][3] = {{PARTICLE_TEXT, 60, 61}, {PARTICLE_COW, 100, 101}, {6, 0, 2}};
    for (const int *r : rows) {
        drawqueue.clear();
        new_particle(r[0], 100, 100, 0, 0, "Level 2");
        for (int call = 0; call < r[2]; call++)
            do_particles();
        EXPECT_TRUE(drawqueue.size() == size_t(r[1]) && particles.empty()) << r[0];
    }
}

TEST_F(Particles, StarsDieOnlyStrictlyBeyondAnEdgeAndNeverAge) {
    // in pairs: a star that moves onto an edge of the screen, and one that moves past it
    const float stars[][4] = {{639, 9, 1, 0}, {640, 9, .5f, 0}, {1, 9, -1, 0}, {0, 9, -.5f, 0},
                              {9, 479, 0, 1}, {9, 480, 0, .5f}, {9, 1, 0, -1}, {9, 0, 0, -.5f}};
    for (const float *s : stars)
        new_particle(PARTICLE_STAR, s[0], s[1], s[2], s[3], "");
    do_particles();
    std::vector<int> lives; // 0 for a dead star
    for (const _particle &p : particles)
        lives.push_back(p.alive ? p.life : 0);
    EXPECT_EQ(lives, std::vector<int>({50, 0, 50, 0, 50, 0, 50, 0})); // none replaced while sane
}

TEST_F(Particles, ExplosionsGrowRedWithAYellowCoreOrWhileCrazyBurstIntoBananasAsStarsStopFalling) {
    new_particle(PARTICLE_EXPLOSION, 100, 80, 0, 0, "");
    player.crazy = true; // this one is over in a tick and leaves five bananas
    new_particle(PARTICLE_EXPLOSION, 300, 240, 0, 0, "");
    new_particle(PARTICLE_STAR, 320, 240, 0, 300, ""); // jittering instead of falling
    for (int t = 0; t < 12; t++)
        do_particles();
    std::vector<int> radii; // the red discs, and the yellow ones negated
    for (const drawthing &d : queued(CMD_CIRCLEFILL))
        radii.push_back(uint16_t(d.color) == makecol(255, 0, 0) ? d.radius : -d.radius);
    EXPECT_EQ(radii, std::vector<int>({1, 11, -6, 2, 3, 4, 5, 6, -1, 7, -2, 8, -3, 9, -4, 10, -5}));
    ASSERT_EQ(particles.size(), 6u); // five bananas flying off from it, and the star
    EXPECT_TRUE(particles.back().alive && particles.back().dy == 300); // the star, not a new one
    for (auto p = particles.begin(); p != std::prev(particles.end()); ++p)
        EXPECT_TRUE(p->kind == PARTICLE_BANANA && p->x == 300 + 12 * p->dx && p->dx * p->dx >= 16);
}

TEST_F(Particles, CowsAndBananasSpinAndFallAndBananasBounceOffTheSides) {
    new_particle(PARTICLE_COW, 300, 100, 0, 0, "");    // turning 3 a tick, a banana 10, 0 past 255
    new_particle(PARTICLE_BANANA, 20, 100, -5, 0, ""); // past 0 on its fifth move
    new_particle(PARTICLE_BANANA, 600, 100, 5, 0, ""); // past 620 on its fifth move
    for (int t = 0; t < 86; t++)
        do_particles();
    const auto &cow = particles.front(), &left = *++particles.begin(), &right = particles.back();
    EXPECT_TRUE(cow.angle == 0 && left.angle == 80 && left.x == 400 && right.x == 220);
    EXPECT_NEAR(cow.y, 100 + 0.45 * 85 * 86 / 2, 0.1); // each move at the speed of the tick before
}
