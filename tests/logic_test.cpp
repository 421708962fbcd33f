#include "fixture.h"

#include "enemy.h"
#include "logic.h"
#include "main.h"
#include "particle.h"
#include "player.h"

#include <algorithm>
#include <array>
#include <tuple>

static const drawthing *text_cmd(const std::string &text) {
    for (const drawthing &d : drawqueue)
        if (d.text == text)
            return &d;
    return nullptr;
}

static void expect_at(const drawthing *d, int type, int x, int y) {
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->type, type);
    EXPECT_EQ(d->x, x);
    EXPECT_EQ(d->y, y);
}

template <class T, class Pred> static int count(const std::list<T> &list, Pred pred) {
    return std::count_if(list.begin(), list.end(), pred);
}

class Playing : public GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        leave_game();
        GameTest::SetUp();
    }
    void TearDown() override { leave_game(); }

    // Esc ends whatever game runs, so the next tick starts a new one
    static void leave_game() {
        press(KEY_ESC);
        logic();
        release(KEY_ESC);
    }

    // one tick as the main loop runs it, with no enemy or enemy shot left from the tick
    // before, so nothing can hurt the ship
    static short tick() {
        enemies.clear();
        eshot.clear();
        drawqueue.clear();
        buffer_clear_to_color(makecol(0, 0, 0));
        return logic();
    }

    static int stars() {
        return count(particles, [](const _particle &p) { return p.kind == PARTICLE_STAR; });
    }
};

TEST_F(Playing, FirstTickSetsUpTheGameAndShowsTheStatusTexts) {
    std::tie(level, score, highscore) = std::tuple{5, 12, 34};
    enemies.resize(1);
    enemies.front().init(0, 600, 100, 0, 1000); // waits off its path, harmless, for long
    eshot = {{600, 100, 0, 0}};
    new_particle(PARTICLE_TEXT, 600, 100, 0, 0, "old");
    powerups.push_back({100, 100, 1, POWERUP_SHOT_UP});
    player.shots.push_back({100, 200, 0, -1});
    EXPECT_EQ(logic(), STATE_PLAYING);
    EXPECT_EQ(level, 1);
    EXPECT_EQ(count(enemies, [](const _enemy &e) { return e.x == 600; }), 0);
    EXPECT_TRUE(eshot.empty());
    EXPECT_EQ(text_cmd("old"), nullptr);
    EXPECT_EQ(powerups.front().y, 101);
    EXPECT_EQ(player.shots.front().y, 199);
    expect_at(text_cmd("Next Level In 1:11"), CMD_TEXTOUT_RIGHT, 640, 5);
    expect_at(text_cmd("Score: 12"), CMD_TEXTOUT_RIGHT, 640, 15);
    expect_at(text_cmd("High Score: 34"), CMD_TEXTOUT_RIGHT, 640, 25);
}

TEST_F(Playing, NextLevelArrivesOnTick3600WithARisingLevelText) {
    for (int t = 1; t < 3600; t++) {
        tick();
        ASSERT_EQ(level, 1) << "tick " << t;
        ASSERT_EQ(count(particles, [](const _particle &p) { return p.kind == PARTICLE_TEXT; }), 0);
    }
    EXPECT_NE(text_cmd("Next Level In 0:00"), nullptr);
    tick();
    EXPECT_EQ(level, 2);
    EXPECT_NE(text_cmd("Next Level In 1:12"), nullptr);
    auto text = std::find_if(particles.begin(), particles.end(),
                             [](const _particle &p) { return p.text == "Level 2"; });
    ASSERT_NE(text, particles.end());
    EXPECT_EQ(text->kind, PARTICLE_TEXT);
    EXPECT_EQ(text->x, 320);
    EXPECT_EQ(text->y, 239.5f); // from 240, moved once at -0.5
}

TEST_F(Playing, OnlyTheLevelsOwnEnemyTypesSpawn) {
    // per level, for types 0, 1 and 2: how many may arrive in one tick
    const std::pair<int, std::array<std::string, 3>> rows[] = {
        {1, {"01", "0", "0"}},    {2, {"01", "01", "0"}},  {3, {"03", "01", "0"}},
        {4, {"05", "01", "01"}},  {5, {"01", "03", "01"}}, {6, {"05", "0156", "01"}},
        {9, {"05", "0156", "01"}}};
    for (const auto &[lvl, allowed] : rows) {
        tick();
        level = lvl;
        std::array<bool, 3> seen{};
        for (int t = 0; t < 2000; t++) {
            tick();
            for (int type = 0; type < 3; type++) {
                int n = count(enemies, [type](const _enemy &e) { return e.type == type; });
                ASSERT_NE(allowed[type].find(char('0' + n)), std::string::npos)
                    << n << " of type " << type << " at level " << lvl;
                seen[type] = seen[type] || n > 0;
            }
        }
        for (int type = 0; type < 3; type++)
            EXPECT_EQ(seen[type], allowed[type] != "0") << "type " << type << " level " << lvl;
        leave_game();
    }
}

TEST_F(Playing, InsanityFadesOnePointEvery51Ticks) {
    tick();
    player.insanity_level = 10;
    for (int t = 1; t <= 102; t++) {
        tick();
        EXPECT_EQ(player.insanity_level, 10 - t / 51) << "tick " << t;
    }
}

TEST_F(Playing, FullMeterDrivesThePlayerCrazyForTimesCrazyTimes750TicksWithoutStars) {
    // a hit of 8 takes the meter to exactly 100, or past it
    for (auto [before, mad, shown, length] :
         {std::tuple{0, 92, "0:14", 750}, {2, 95, "0:44", 2250}}) {
        tick();
        player.times_crazy = before;
        player.insanity_level = mad;
        enemies.clear();
        eshot = {{player.x + 5, player.y + 5, 0, 0}};
        logic();
        EXPECT_TRUE(player.crazy);
        EXPECT_EQ(player.insanity_level, 100);
        EXPECT_EQ(player.times_crazy, before + 1);
        EXPECT_EQ(text_cmd(shown), nullptr);
        for (int t = 1; t <= length; t++) {
            particles.clear();
            tick();
            ASSERT_EQ(stars(), 0) << "tick " << t;
            ASSERT_EQ(player.crazy, t < length) << "tick " << t;
            if (t == 1)
                expect_at(text_cmd(shown), CMD_TEXTOUT_CENTRE, 50, 12);
        }
        EXPECT_NE(text_cmd("0:00"), nullptr);
        EXPECT_EQ(player.insanity_level, 0);
        particles.clear();
        tick();
        EXPECT_EQ(stars(), 1);
        leave_game();
    }
}

TEST_F(Playing, EscWinsOverDeathAndHealthBelowOneEndsTheGame) {
    for (auto [esc, hp, next] : {std::tuple{false, 1, STATE_PLAYING},
                                 {false, 0, STATE_GAME_OVER},
                                 {false, -4, STATE_GAME_OVER},
                                 {true, 0, STATE_MENU}}) {
        player.init(true);
        tick();
        score = 55;
        player.health_points = hp;
        player.shot_level = 2;
        key[KEY_ESC] = esc;
        EXPECT_EQ(tick(), next) << "health " << hp;
        EXPECT_EQ(player.two_player, !esc);
        EXPECT_EQ(player.health_points, esc ? 100 : hp);
        EXPECT_EQ(player.shot_level, esc ? 0 : 2);
        EXPECT_EQ(particles.empty(), esc);
        EXPECT_EQ(score, 55);
        release(KEY_ESC);
        level = 3;
        tick(); // a game that ended starts over
        EXPECT_EQ(level, next == STATE_PLAYING ? 3 : 1);
        leave_game();
    }
}

static void expect_box(const drawthing &d, int x, int y, int w, int h, int color) {
    EXPECT_EQ(std::tie(d.x, d.y, d.w, d.h), std::tuple(x, y, w, h));
    EXPECT_EQ(d.color, static_cast<int16_t>(color));
}

class StatusDisplay : public GameTest {};

TEST_F(StatusDisplay, MetersFrameARedInsanityBarAndABlueHealthBar) {
    const int white = makecol(255, 255, 255);
    for (auto [mad, hp] : {std::pair{0, 0}, {1, 100}, {50, 37}, {100, 1}}) {
        SCOPED_TRACE(std::to_string(mad) + " insanity, " + std::to_string(hp) + " health");
        drawqueue.clear();
        player.insanity_level = mad;
        player.health_points = hp;
        draw_insanity_meter();
        draw_health();
        auto frames = queued(CMD_RECT), bars = queued(CMD_RECTFILL);
        ASSERT_EQ(frames.size() + bars.size(), 4u);
        expect_box(frames[0], 5, 10, 100, 10, white);
        expect_box(frames[1], 5, 30, 100, 10, white);
        // a bar ends at value + 4; below 6 that leaves the one-pixel sliver at 6
        expect_box(bars[0], 6, 11, std::max(mad - 2, 0), 8, makecol(255, 0, 0));
        expect_box(bars[1], 6, 31, std::max(hp - 2, 0), 8, makecol(0, 0, 255));
        expect_at(&queued_sprites(insanity).at(0), CMD_SPRITE, 5, 0);
        expect_at(&queued_sprites(health).at(0), CMD_SPRITE, 5, 20);
    }
}

TEST_F(StatusDisplay, CrazyBarIsFullAndPulsesRedInStepsOf5) {
    player.crazy = true;
    std::vector<int16_t> colours;
    for (int t = 0; t < 120; t++) {
        drawqueue.clear();
        draw_insanity_meter();
        drawthing bar = queued(CMD_RECTFILL).at(0);
        expect_box(bar, 6, 11, 98, 8, bar.color);
        colours.push_back(bar.color);
    }
    int phases = 0; // the pulse carries on from earlier spells: find the red it started from
    for (int start = 0; start <= 255; start += 5) {
        bool fits = true;
        for (int t = 0, red = start; t<120; t++, red = red + 5> 255 ? 0 : red + 5)
            fits = fits && colours[t] == static_cast<int16_t>(makecol(red, 0, 0));
        phases += fits;
    }
    EXPECT_EQ(phases, 1);
}

class PowerUps : public GameTest {
  protected:
    static int left_at(float x) {
        return count(powerups, [x](const _powerup &p) { return p.x == x; });
    }
};

TEST_F(PowerUps, ANewPowerUpIsMovedAndDrawnOnItsFirstTickInThePictureOfItsKind) {
    player.x = -1000;
    for (int t = 0; t < 4000 && powerups.empty(); t++) {
        drawqueue.clear();
        do_powerups();
    }
    ASSERT_EQ(powerups.size(), 1u);
    const _powerup p = powerups.front();
    EXPECT_TRUE(p.speed >= 4 && p.speed <= 12 && p.speed == static_cast<int>(p.speed));
    EXPECT_TRUE(p.x >= 10 && p.x <= 629);
    EXPECT_EQ(p.y, -20 + p.speed);
    expect_at(&queued_sprites(p.kind == POWERUP_SHOT_UP ? shotplus : shotminus).at(0), CMD_SPRITE,
              static_cast<int>(p.x), static_cast<int>(p.y));

    for (auto [kind, crazy, picture] : {std::tuple{POWERUP_SHOT_UP, false, shotplus},
                                        {POWERUP_SHOT_UP, true, shotminus},
                                        {POWERUP_SHOT_DOWN, false, shotminus},
                                        {POWERUP_SHOT_DOWN, true, shotplus}}) {
        powerups = {{200, 100, 1, kind}};
        player.crazy = crazy;
        drawqueue.clear();
        do_powerups();
        EXPECT_EQ(drawqueue.at(0).bmp, picture) << "kind " << kind << " crazy " << crazy;
    }
}

TEST_F(PowerUps, PickUpNeedsOverlapWhereItFellToAndKeepsTheShotLevelWithinZeroToTwo) {
    // the ship's box is 308..333 by 435..460
    const struct {
        float x, y, speed;
        short kind, from, to;
        bool taken;
    } cases[] = {{288, 430, 0, 0, 0, 0, false},  {289, 430, 0, 0, 0, 1, true},
                 {333, 430, 0, 0, 0, 0, false},  {332, 430, 0, 0, 0, 1, true},
                 {300, 405, 10, 0, 0, 0, false}, {300, 406, 10, 0, 0, 1, true},
                 {300, 460, 0, 0, 0, 0, false},  {300, 459, 0, 0, 0, 1, true},
                 {300, 430, 0, 0, 2, 2, true},   {300, 430, 0, 1, 2, 1, true},
                 {300, 430, 0, 1, 0, 0, true}};
    for (const auto &c : cases) {
        powerups = {{c.x, c.y, c.speed, c.kind}};
        player.shot_level = c.from;
        do_powerups();
        EXPECT_EQ(player.shot_level, c.to) << "case " << (&c - cases);
        EXPECT_EQ(left_at(c.x), c.taken ? 0 : 1) << "case " << (&c - cases);
    }
}

TEST_F(PowerUps, SeveralPickUpsInOneTickApplyInListOrder) {
    // up, up, down from 1: 2, still 2, then 1 (the other way round it would end on 2)
    powerups = {{300, 430, 0, POWERUP_SHOT_UP},
                {301, 430, 0, POWERUP_SHOT_UP},
                {302, 430, 0, POWERUP_SHOT_DOWN}};
    player.shot_level = 1;
    do_powerups();
    EXPECT_EQ(player.shot_level, 1);
    EXPECT_EQ(left_at(300) + left_at(301) + left_at(302), 0);
}

TEST_F(PowerUps, MissedPowerUpIsErasedOnceBelow480) {
    powerups = {{100, 470, 5, POWERUP_SHOT_UP}};
    for (float y : {475.0f, 480.0f, 485.0f}) {
        drawqueue.clear();
        do_powerups();
        EXPECT_EQ(left_at(100), y > 480 ? 0 : 1);
        expect_at(&queued_sprites(shotplus).at(0), CMD_SPRITE, 100, static_cast<int>(y));
    }
}
