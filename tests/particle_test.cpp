#include "fixture.h"

#include "main.h"
#include "particle.h"
#include "player.h"

#include <cmath>
#include <set>

class Particles : public GameTest {
  protected:
    // a new particle, put at any float position after its creation
    static _particle &add(int kind, float x, float y, float dx, float dy) {
        new_particle(kind, 0, 0, dx, dy, "");
        particles.back().x = x;
        particles.back().y = y;
        return particles.back();
    }
    static void tick() {
        drawqueue.clear();
        do_particles();
    }
    static int colour(const drawthing &d) { return static_cast<uint16_t>(d.color); }
};

// a particle of life L is drawn on L calls and erased on the next one
TEST_F(Particles, EachKindIsDrawnForItsLifeThenErased) {
    struct {
        int kind;
        bool crazy;
        short life; // 0: as made
        int drawn_as, draws, calls;
    } cases[] = {
        {PARTICLE_SPARK, false, 2, CMD_PUTPIXEL, 2, 3},
        {PARTICLE_TEXT, false, 0, CMD_TEXTOUT_CENTRE, 60, 61},
        {PARTICLE_EXPLOSION, false, 0, CMD_CIRCLEFILL, 10, 11},
        {PARTICLE_EXPLOSION, true, 0, CMD_CIRCLEFILL, 1, 2},
        {PARTICLE_COW, false, 0, CMD_ROTATE_SPRITE, 100, 101},
        {PARTICLE_BANANA, false, 0, CMD_ROTATE_SPRITE, 100, 101},
        {-1, false, 0, -1, 0, 2},
        {6, false, 0, -1, 0, 2},
    };
    for (auto &c : cases) {
        particles.clear();
        player.crazy = c.crazy;
        new_particle(c.kind, 100, 100, 0, 0, "Level 2");
        if (c.life)
            particles.back().life = c.life;
        int draws = 0, calls = 0;
        auto mine = [&] { return particles.size() > 0 && particles.back().kind == c.kind; };
        while (mine() && calls < 200) {
            tick();
            calls++;
            draws += c.drawn_as < 0 ? !drawqueue.empty() : !queued(c.drawn_as).empty();
        }
        EXPECT_EQ(draws, c.draws) << "kind " << c.kind;
        EXPECT_EQ(calls, c.calls) << "kind " << c.kind;
    }
}

TEST_F(Particles, StarLivesUntilItIsPastTheScreenEdgeAndNeverAges) {
    struct {
        float x, y;
        bool alive;
    } cases[] = {{640, 100, true}, {640.5f, 100, false}, {100, 480, true},   {100, 480.5f, false},
                 {0.9f, 0, true},  {-0.5f, 100, false},  {100, -0.5f, false}};
    for (auto &c : cases) {
        particles.clear();
        _particle &star = add(PARTICLE_STAR, c.x, c.y, 0, 0);
        for (int i = 0; i < 100 && (i == 0 || star.alive); i++)
            tick();
        EXPECT_EQ(star.alive, c.alive) << c.x << "," << c.y;
        EXPECT_EQ(star.life, 50);
        EXPECT_EQ(particles.size(), 1u); // no replacement while sane
        ASSERT_EQ(queued(CMD_PUTPIXEL).size(), 1u);
        EXPECT_EQ(colour(queued(CMD_PUTPIXEL)[0]), makecol(255, 255, 255));
    }
}

TEST_F(Particles, SparksLiveTwoToNineTicksInFireColours) {
    std::set<int> lives, colours;
    for (int i = 0; i < 300; i++) {
        new_particle(PARTICLE_SPARK, 50, 60, 0, 1.5f, "");
        lives.insert(particles.back().life);
        colours.insert(particles.back().color);
    }
    EXPECT_EQ(lives, (std::set<int>{2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(colours,
              (std::set<int>{makecol(255, 0, 0), makecol(255, 128, 0), makecol(255, 255, 0)}));
    tick();
    const drawthing pixel = queued(CMD_PUTPIXEL).back();
    EXPECT_EQ(colour(pixel), particles.back().color);
    EXPECT_EQ(pixel.y, 61);
}

TEST_F(Particles, LevelTextIsCentredAndRisesHalfAPixelATick) {
    new_particle(PARTICLE_TEXT, 320, 240, 0, -0.5f, "Level 2");
    for (int t = 1; t <= 60; t++) {
        tick();
        ASSERT_TRUE(queued_text("Level 2"));
        const drawthing &text = drawqueue.at(0);
        EXPECT_EQ(text.type, CMD_TEXTOUT_CENTRE);
        EXPECT_EQ(text.x, 320);
        EXPECT_EQ(text.y, static_cast<int>(240 - 0.5f * t)) << t;
        EXPECT_EQ(colour(text), makecol(255, 255, 255));
    }
}

TEST_F(Particles, ExplosionGrowsRedWithAYellowCoreOrBurstsIntoBananasWhileCrazy) {
    new_particle(PARTICLE_EXPLOSION, 100, 80, 0, 0, "");
    for (int t = 1; t <= 10; t++) {
        tick();
        auto discs = queued(CMD_CIRCLEFILL);
        ASSERT_EQ(discs.size(), t > 5 ? 2u : 1u) << t;
        for (size_t i = 0; i < discs.size(); i++) {
            EXPECT_EQ(discs[i].radius, i == 0 ? t : t - 5);
            EXPECT_EQ(colour(discs[i]), i == 0 ? makecol(255, 0, 0) : makecol(255, 255, 0));
        }
    }
    particles.clear();
    player.crazy = true;
    new_particle(PARTICLE_EXPLOSION, 200, 150, 0, 0, "");
    ASSERT_EQ(particles.size(), 6u);
    EXPECT_EQ(particles.back().kind, PARTICLE_EXPLOSION);
    for (auto p = particles.begin(); p != std::prev(particles.end()); ++p) {
        EXPECT_EQ(p->kind, PARTICLE_BANANA);
        EXPECT_TRUE(p->x == 200 && p->y == 150);
        for (float v : {p->dx, p->dy})
            EXPECT_TRUE(v == std::trunc(v) && std::fabs(v) >= 4 && std::fabs(v) <= 10) << v;
    }
    tick();
    auto discs = queued(CMD_CIRCLEFILL);
    ASSERT_EQ(discs.size(), 2u);
    EXPECT_EQ(discs[0].radius, 11);
    EXPECT_EQ(discs[1].radius, 6);
}

TEST_F(Particles, CowsAndBananasSpinAndFallUnderGravity) {
    struct {
        int kind;
        BITMAP *picture;
        int step;
    } cases[] = {{PARTICLE_COW, cow, 3}, {PARTICLE_BANANA, banana, 10}};
    for (auto &c : cases) {
        particles.clear();
        _particle &p = add(c.kind, 300, 100, 0, 0);
        int angle = 0;
        for (int t = 1; t <= 100; t++) {
            tick();
            angle = angle + c.step > 255 ? 0 : angle + c.step;
            auto sprites = queued_sprites(c.picture);
            ASSERT_EQ(sprites.size(), 1u);
            EXPECT_EQ(sprites[0].angle, ftofix(angle)) << c.kind << " tick " << t;
            // each move uses the speed of the tick before: 0.45 * (0 + 1 + ... + t-1)
            EXPECT_NEAR(p.y, 100 + 0.45f * t * (t - 1) / 2, 0.1f);
        }
    }
}

TEST_F(Particles, BananasBounceOffTheLeftEdgeAndAt620) {
    struct {
        float x, dx, x_after, dx_after;
    } cases[] = {{2, -5, -3, 5}, {620, 5, 625, -5}, {15, -5, 10, -5}, {600, 5, 605, 5}};
    for (auto &c : cases) {
        _particle &b = add(PARTICLE_BANANA, c.x, 100, c.dx, 0);
        b.do_stuff();
        EXPECT_EQ(b.x, c.x_after);
        EXPECT_EQ(b.dx, c.dx_after) << "from " << c.x;
    }
}

TEST_F(Particles, CrazyStarsJitterInPlaceAndThoseThatLeaveAreReplaced) {
    player.crazy = true;
    _particle &still = add(PARTICLE_STAR, 320, 240, 0, 300);
    for (float x : {2.0f, 637.0f, 5.0f, 300.0f})
        add(PARTICLE_STAR, x, 476, 0, 3);
    bool moved = false, replaced = false;
    for (int t = 0; t < 60; t++) {
        const float x = still.x, y = still.y;
        tick();
        ASSERT_TRUE(still.alive); // 60 steps of 0..9 pixels stay well inside the screen
        EXPECT_TRUE(std::fabs(still.x - x) <= 9 && std::fabs(still.y - y) <= 9);
        moved = moved || still.x != x || still.y != y;
        int alive = 0;
        for (const _particle &p : particles)
            alive += p.alive;
        EXPECT_EQ(alive, 5);
        replaced = replaced || particles.size() > 5;
        // every star in the list was walked and drawn, those made during the walk too
        EXPECT_EQ(queued(CMD_PUTPIXEL).size(), particles.size());
    }
    EXPECT_TRUE(moved);
    EXPECT_TRUE(replaced); // the stars on the bottom edge walked out
    EXPECT_EQ(still.dy, 300);

    player.crazy = false; // falling again at the kept speed
    const float y = still.y;
    tick();
    EXPECT_EQ(still.y, y + 300);
}
