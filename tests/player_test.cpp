#include "fixture.h"
#include "media.h"

#include "main.h"
#include "player.h"

#include <cmath>

using Ship = GameTest;

TEST_F(Ship, KeysFireOnTheFirstTickThenEvery16AndTheMouseEvery21OnlyForTwoPlayers) {
    key[KEY_LCONTROL] = mouse_b = 1; // both guns held
    for (bool two : {false, true}) {
        player.init(two);       // a new game; the last game's shots fly on
        std::vector<int> fired; // the tick of every shot added
        for (int t = 1; t <= 33; t++) {
            size_t before = player.shots.size();
            player.do_stuff();
            fired.insert(fired.end(), player.shots.size() - before, t);
        }
        EXPECT_EQ(fired,
                  two ? std::vector<int>({1, 1, 17, 22, 33}) : std::vector<int>({1, 17, 33}));
        EXPECT_EQ(queued_sprites(targeting).size(), two ? 33u : 0u); // the crosshair
    }
}

TEST_F(Ship, SteersAt3LeftAndUpWinningReversedWhenCrazyStoppedByTheEdgesAndCoasts) {
    key[KEY_A] = key[KEY_RIGHT] = key[KEY_W] = key[KEY_DOWN] = 1;
    player.do_stuff(); // left and up win
    EXPECT_TRUE(player.x == 305 && player.y == 432);
    player.crazy = true; // reversed, until the edges hold it, still pushing
    for (int t = 0; t < 300; t++)
        player.do_stuff();
    EXPECT_TRUE(player.x == 615 && player.y == 455 && player.dx == 3 && player.dy == 3);
    key[KEY_A] = key[KEY_W] = 0; // right and down alone, reversed
    for (int t = 0; t < 300; t++)
        player.do_stuff();
    EXPECT_TRUE(player.x == 0 && player.y == 0 && player.dx == -3 && player.dy == -3);
    key[KEY_RIGHT] = 0;
    player.do_stuff(); // a released axis loses a sixth of its speed each tick
    EXPECT_NEAR(player.dx, -2.5, 1e-5);
}

TEST_F(Ship, DamageFillsInsanityWhenSaneAndCostsHalfOfItInHealthWhenCrazy) {
    player.take_damage(8);
    player.crazy = true;
    player.take_damage(15);  // half of it, rounded down
    player.take_damage(200); // and health does not stop at 0
    EXPECT_TRUE(player.insanity_level == 8 && player.health_points == 100 - 7 - 100);
}

TEST_F(Ship, VolleysFollowTheShotLevelAndTheMouseGunAimsFromTheCornerOrAwayWhenCrazy) {
    // shot level, crazy, pointer; then x, y, dx, dy of the mouse gun's shot, then the volley's
    const std::vector<double> rows[] = {
        {0, 0, 248, 515, 317.5, 451.5, -3, 4, 320, 432, 0, -5},
        {1, 1, 248, 515, 323.5, 443.5, 3, -4, 310, 432, 0, -5, 330, 432, 0, -5},
        {2, 1, 308, 435, 325.5, 447.5, 5, 0, 320, 432, 0, -5, 333, 432, 3, -5, 307, 432, -3, -5},
        {3, 0, 308, 100, 320.5, 442.5, 0, -5}};
    key[KEY_SPACE] = key[KEY_LEFT] = mouse_b = 1; // both guns held, and the ship moving
    for (const std::vector<double> &r : rows) {
        player.init(true);
        player.crazy = r[1];
        player.shot_level = r[0];
        mouse_x = r[2];
        mouse_y = r[3];
        player.shots.clear();
        player.do_stuff();
        std::vector<double> shots; // after their first move, to a thousandth
        for (const _shot &s : player.shots)
            for (float v : {s.x, s.y, s.dx, s.dy})
                shots.push_back(std::round(v * 1000) / 1000);
        EXPECT_EQ(shots, std::vector<double>(r.begin() + 4, r.end())) << "level " << r[0];
    }
}

TEST_F(Ship, ShotsLeaveOnlyWhenStrictlyBeyondTheScreen) {
    player.shots = {{640, 9, 0, 0}, {640.5, 9, 0, 0}, {-5, 9, 0, 0},  {-5.5, 9, 0, 0},
                    {9, -5, 0, 0},  {9, -5.5, 0, 0},  {9, 480, 0, 0}, {9, 480.5, 0, 0}};
    player.do_stuff();
    EXPECT_EQ(player.shots.size(), 4u); // the first of each pair
}

TEST_F(Ship, ShotsTurnToTheirFlightAndShowTheMindOfTheMoment) {
    player.crazy = true;
    player.shots = {{100, 100, 5, 0}, {100, 100, 0, 5}}; // flying right, and down
    player.do_stuff();
    std::vector<drawthing> drawn = queued_sprites(shot[0]);
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_NEAR(drawn[0].angle, itofix(64), 16);
    EXPECT_NEAR(drawn[1].angle, itofix(128), 16);
}
