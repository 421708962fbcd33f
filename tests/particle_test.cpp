#include "fixture.h"
#include "media.h"

#include "particle.h"
#include "player.h"

#include <algorithm>
#include <set>

struct Particles : GameTest {
    static void ticks(int n) {
        for (int t = 0; t < n; t++)
            do_particles();
    }
};

// clang-format off
struct lifetime { const char *name; int kind; size_t ticks_drawn; }; // then erased on the next tick

TEST_F(Particles, EachKindIsDrawnForItsLifeThenErased) {
    const lifetime rows[] = {
        {.name = "level text", .kind = PARTICLE_TEXT, .ticks_drawn = 60},
        {.name = "cow", .kind = PARTICLE_COW, .ticks_drawn = 100},
        {.name = "banana", .kind = PARTICLE_BANANA, .ticks_drawn = 100},
    };
    // clang-format on
    for (const lifetime &row : rows) {
        SCOPED_TRACE(row.name);
        GameTest::SetUp();
        new_particle(row.kind, 300, 100, 0, 0, "Level 2");
        ticks(std::max<int>(row.ticks_drawn, 1));
        EXPECT_EQ(drawqueue.size(), row.ticks_drawn);
        ticks(1);
        EXPECT_EQ(particles.size(), 0u);
    }
}

// clang-format off
struct star_place { const char *name; float x, y, dx, dy; bool alive; }; // after a tick

TEST_F(Particles, StarDiesOnlyStrictlyBeyondAnEdge) {
    const star_place rows[] = {
        {.name = "onto the right edge", .x = 639, .y = 9, .dx = 1, .alive = true},
        {.name = "past the right edge", .x = 640, .y = 9, .dx = .5f, .alive = false},
        {.name = "onto the left edge", .x = 1, .y = 9, .dx = -1, .alive = true},
        {.name = "onto the bottom edge", .x = 9, .y = 479, .dy = 1, .alive = true},
        {.name = "onto the top edge", .x = 9, .y = 1, .dy = -1, .alive = true},
        {.name = "past the top edge", .x = 9, .y = 0, .dy = -.5f, .alive = false},
    };
    // clang-format on
    for (const star_place &row : rows) {
        SCOPED_TRACE(row.name);
        GameTest::SetUp();
        new_particle(PARTICLE_STAR, row.x, row.y, row.dx, row.dy, "");
        ticks(1);
        ASSERT_EQ(particles.size(), 1u); // none put back while sane
        EXPECT_EQ(particles.front().alive, row.alive);
    }
}

TEST_F(Particles, StarNeverAges) {
    new_particle(PARTICLE_STAR, 300, 100, 0, 0, "");
    ticks(200);
    ASSERT_EQ(particles.size(), 1u);
    EXPECT_EQ(particles.front().life, 50);
    EXPECT_EQ(drawqueue.size(), 200u);
}

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

TEST_F(Particles, CrazyExplosionEndsAtOnceInFiveBananasFlyingAlongTheDiagonals) {
    player.crazy = true;
    new_particle(PARTICLE_EXPLOSION, 300, 240, 0, 0, "");
    ASSERT_EQ(particles.size(), 6u); // the bananas, then the spent explosion
    EXPECT_EQ(particles.back().life, 0);
    for (auto b = particles.begin(); b != std::prev(particles.end()); ++b) {
        EXPECT_EQ(b->kind, PARTICLE_BANANA);
        EXPECT_EQ(b->x, 300);
        EXPECT_EQ(b->y, 240);
        EXPECT_GE(std::abs(b->dx), 4);
        EXPECT_LE(std::abs(b->dx), 10);
        EXPECT_GE(std::abs(b->dy), 4);
        EXPECT_LE(std::abs(b->dy), 10);
    }
}

TEST_F(Particles, CrazyBananasHeadEveryWayAtEverySpeed) {
    player.crazy = true;
    for (int i = 0; i < 40; i++)
        new_particle(PARTICLE_EXPLOSION, 300, 240, 0, 0, "");
    std::set<float> dx, dy;
    for (const _particle &p : particles)
        if (p.kind == PARTICLE_BANANA)
            dx.insert(p.dx), dy.insert(p.dy);
    EXPECT_EQ(dx.size(), 14u); // 4 to 10 pixels a tick, either way
    EXPECT_EQ(dy.size(), 14u);
}

TEST_F(Particles, CrazyStarShimmersUpToNinePixelsEitherWayInsteadOfFalling) {
    player.crazy = true;
    for (int i = 0; i < 300; i++)
        new_particle(PARTICLE_STAR, 320, 240, 0, 300, "");
    ticks(1);
    std::set<float> across, down;
    for (const _particle &p : particles)
        across.insert(p.x - 320), down.insert(p.y - 240);
    EXPECT_EQ(std::pair(*across.begin(), *across.rbegin()), std::pair(-9.f, 9.f));
    EXPECT_EQ(std::pair(*down.begin(), *down.rbegin()), std::pair(-9.f, 9.f));
}

TEST_F(Particles, CrazyStarThatWandersOffIsPutBackOnTheScreen) {
    player.crazy = true;
    new_particle(PARTICLE_STAR, -100, 240, 0, 0, "");
    ticks(2);
    ASSERT_EQ(particles.size(), 1u);
    EXPECT_GE(particles.front().x, -9);
    EXPECT_LE(particles.front().x, 648);
    EXPECT_GE(particles.front().y, -9);
    EXPECT_LE(particles.front().y, 488);
}

TEST_F(Particles, SparksGlowRedOrangeOrYellowForTwoToNineTicks) {
    for (int i = 0; i < 200; i++)
        new_particle(PARTICLE_SPARK, 300, 100, 0, 0, "");
    std::set<int> colors, lives;
    for (const _particle &p : particles)
        colors.insert(p.color), lives.insert(p.life);
    EXPECT_EQ(colors, std::set<int>({red(), orange(), yellow()}));
    EXPECT_EQ(lives, std::set<int>({2, 3, 4, 5, 6, 7, 8, 9}));
}

TEST_F(Particles, CowsAndBananasFallUnderGravity) {
    new_particle(PARTICLE_COW, 300, 100, 2, -5, "");
    ticks(20); // each move at the speed of the tick before
    EXPECT_NEAR(particles.front().y, 100 - 5 * 20 + 0.45 * 19 * 20 / 2, 1e-3);
    EXPECT_NEAR(particles.front().x, 340, 1e-3);
}

// clang-format off
struct spinning { const char *name; int kind; int ticks; float angle; };

TEST_F(Particles, CowsAndBananasSpinBackToNoughtPastAFullTurn) {
    const spinning rows[] = {
        {.name = "cow at 255", .kind = PARTICLE_COW, .ticks = 85, .angle = 255},
        {.name = "banana at 250", .kind = PARTICLE_BANANA, .ticks = 25, .angle = 250},
        {.name = "banana past 255", .kind = PARTICLE_BANANA, .ticks = 26, .angle = 0},
    };
    // clang-format on
    for (const spinning &row : rows) {
        SCOPED_TRACE(row.name);
        GameTest::SetUp();
        new_particle(row.kind, 300, 100, 0, -20, "");
        ticks(row.ticks);
        EXPECT_EQ(particles.front().angle, row.angle);
        EXPECT_EQ(queued(CMD_ROTATE_SPRITE).back().bmp, row.kind == PARTICLE_COW ? cow : banana);
    }
}

// clang-format off
struct bounce { const char *name; float x, dx; int ticks; float dx_after; };

TEST_F(Particles, BananaBouncesOffTheSidesOnlyOncePastThem) {
    const bounce rows[] = {
        {.name = "at the left side", .x = 20, .dx = -5, .ticks = 4, .dx_after = -5},
        {.name = "past the left side", .x = 20, .dx = -5, .ticks = 5, .dx_after = 5},
        {.name = "at the right side", .x = 600, .dx = 5, .ticks = 4, .dx_after = 5},
        {.name = "past the right side", .x = 600, .dx = 5, .ticks = 5, .dx_after = -5},
    };
    // clang-format on
    for (const bounce &row : rows) {
        SCOPED_TRACE(row.name);
        GameTest::SetUp();
        new_particle(PARTICLE_BANANA, row.x, 100, row.dx, 0, "");
        ticks(row.ticks);
        EXPECT_EQ(particles.front().dx, row.dx_after);
    }
}

TEST_F(Particles, FallingStarStartsOnTheTopRowAtOneToElevenPixelsATick) {
    for (int i = 0; i < 300; i++)
        new_falling_star();
    std::set<float> speeds;
    for (const _particle &p : particles) {
        EXPECT_EQ(p.y, 0);
        speeds.insert(p.dy);
    }
    EXPECT_NEAR(*speeds.begin(), 1, 1e-5);
    EXPECT_NEAR(*speeds.rbegin(), 10.9, 1e-5);
}
