#include "fixture.h"
#include "media.h"

#include "enemy.h"
#include "logic.h"
#include "particle.h"
#include "player.h"

#include <tuple>

class Playing : public GameTest {
  protected:
    void SetUp() override { // Esc ends whatever game runs, so the next tick starts a new one
        GameTest::SetUp();
        press(KEY_ESC);
        logic();
        GameTest::SetUp();
    }
    // a tick with no enemy or particle left from the one before: only these shots hurt the ship
    static short tick(std::list<_shot> shots = {}) {
        enemies.clear();
        eshot = shots;
        particles.clear();
        drawqueue.clear();
        return logic();
    }
};

TEST_F(Playing, FirstTickSetsUpAGameThatReachesLevel2OnTick3600) {
    std::tie(level, score, highscore) = std::tuple(5, 12, 34);
    enemies.emplace_back().init(0, 600, 100, 0, 1000); // waiting, harmless, for long
    eshot = {{600, 100, 0, 0}};
    new_particle(PARTICLE_TEXT, 600, 100, 0, 0, "old");
    powerups = {{100, 100, 1, POWERUP_SHOT_UP}}; // kept from the game before
    EXPECT_EQ(logic(), STATE_PLAYING);
    EXPECT_TRUE(level == 1 && eshot.empty() && particles.front().kind != PARTICLE_TEXT &&
                (enemies.empty() || enemies.front().x != 600) && powerups.front().y == 101);
    // a meter's bar ends at its value + 4, but leaves a sliver at 6 below 2
    EXPECT_TRUE(queued(CMD_RECTFILL).at(0).w == 0 && queued(CMD_RECTFILL).at(1).w == 98);
    EXPECT_TRUE(queued_text("Next Level In 1:11") && queued_text("Score: 12") &&
                queued_text("High Score: 34"));
    for (int t = 2; t < 3600; t++) // level 1 sends in single darts only
        ASSERT_TRUE((tick(), enemies.size() < 2) && (enemies.empty() || enemies.back().type == 0))
            << "tick " << t;
    EXPECT_TRUE(level == 1 && queued_text("Next Level In 0:00"));
    tick();
    EXPECT_TRUE(level == 2 && queued_text("Next Level In 1:12"));
    const drawthing text = queued(CMD_TEXTOUT_CENTRE).at(0); // risen from the centre by 0.5
    EXPECT_TRUE(text.text == "Level 2" && text.x == 320 && text.y == 239);
}

TEST_F(Playing, InsanityFadesEvery51TicksAndAFullMeterDrivesThePlayerCrazyForAWhile) {
    player.insanity_level = 10;
    for (int t = 1; t <= 102; t++)
        ASSERT_EQ((tick(), player.insanity_level), 10 - t / 51) << "tick " << t;
    // crazy before, insanity before a hit of 8, the countdown's first text, the spell's length
    for (auto [before, mad, shown, length] :
         {std::tuple{0, 92, "0:14", 750}, {2, 95, "0:44", 2250}}) {
        std::tie(player.times_crazy, player.insanity_level) = std::tuple(before, mad);
        tick({{player.x + 5, player.y + 5, 0, 0}});
        EXPECT_TRUE(player.crazy && player.insanity_level == 100 &&
                    player.times_crazy == before + 1 && !queued_text(shown));
        for (int t = 1; t <= length; t++) // stars fall last in a tick, and only while sane
            ASSERT_TRUE((tick(), player.crazy) == (t < length) &&
                        (particles.empty() || particles.back().kind != PARTICLE_STAR) &&
                        (t > 1 || (queued(CMD_TEXTOUT_CENTRE).at(0).text == shown &&
                                   queued(CMD_RECTFILL).at(0).w == 98))) // with a full bar
                << t;
        EXPECT_TRUE(queued_text("0:00") && player.insanity_level == 0);
        tick();
        EXPECT_TRUE(!particles.empty() && particles.back().kind == PARTICLE_STAR);
    }
}

TEST_F(Playing, EscWinsOverDeathAndHealthBelowOneEndsTheGame) {
    for (auto [esc, hp, next] : {std::tuple{false, 1, STATE_PLAYING},
                                 {false, 0, STATE_GAME_OVER},
                                 {true, 0, STATE_MENU}}) {
        player.init(true);
        tick();
        std::tie(score, player.health_points) = std::tuple(55, hp);
        key[KEY_ESC] = esc;
        EXPECT_EQ(tick(), next) << "health " << hp;
        EXPECT_TRUE(player.two_player != esc && player.health_points == (esc ? 100 : hp) &&
                    particles.empty() == esc && score == 55);
        release(KEY_ESC);
        level = 3;
        tick(); // a game that ended starts over
        EXPECT_EQ(level, next == STATE_PLAYING ? 3 : 1);
    }
}

class PowerUps : public GameTest {};

TEST_F(PowerUps, FallAndArePickedUpOnOverlapKeepingTheShotLevelWithinZeroToTwoOrLeaveBelow480) {
    // x, y, speed, kind, crazy, shot level before and after, taken, shown as a plus; the ship
    // is 308..333 by 435..460; while crazy the pictures lie
    const float rows[][9] = {{288, 430, 0, 0, 0, 0, 0, 0, 1},
                             {289, 430, 0, 0, 0, 0, 1, 1, 1},
                             {333, 430, 0, 0, 1, 0, 0, 0, 0},
                             {332, 430, 0, 0, 1, 0, 1, 1, 0},
                             {300, 405, 10, 1, 0, 1, 1, 0, 0},
                             {300, 406, 10, 1, 0, 1, 0, 1, 0},
                             {300, 460, 0, 1, 1, 1, 1, 0, 1},
                             {300, 459, 0, 1, 1, 1, 0, 1, 1},
                             {300, 430, 0, 0, 0, 2, 2, 1, 1},
                             {300, 430, 0, 1, 0, 0, 0, 1, 0},
                             // missed: erased once below the screen, drawn on the way out
                             {100, 475, 5, 0, 0, 0, 0, 0, 1},
                             {100, 476, 5, 0, 0, 0, 0, 1, 1}};
    for (const auto &r : rows) {
        powerups = {{r[0], r[1], r[2], static_cast<short>(r[3])}};
        std::tie(player.crazy, player.shot_level) = std::tuple(r[4], r[5]);
        do_powerups();
        EXPECT_TRUE(player.shot_level == r[6] && powerups.empty() == r[7] &&
                    drawqueue.back().bmp == (r[8] ? shotplus : shotminus))
            << "row " << &r - rows;
    }
}
