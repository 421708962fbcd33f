#include "fixture.h"
#include "media.h"

#include "enemy.h"
#include "logic.h"
#include "particle.h"

#include <cmath>

class Enemies : public GameTest {
  protected:
    static constexpr int STILL = 99; // a path no enemy knows: it never moves
    static _enemy &add(int type, float x, float y, int pattern, int start_delay = 0) {
        enemies.emplace_back().init(type, x, y, pattern, start_delay);
        return enemies.back();
    }
};

TEST_F(Enemies, EachPatternFliesItsPathAndEnemiesAndShotsLeaveOnlyBeyondThePlayArea) {
    const float fall = 100 + 2 * (rand() % 3 + 5), gone = -999; // as patterns 2 and 3 roll it
    // pattern, start, then place after two ticks (a wave: 50 sin(x degrees) off its centre)
    const float rows[][5] = {
        {2, 300, 100, 297.75f, fall}, {3, 300, 100, 302.25f, fall},  {4, 300, 100, 290, 53.0154f},
        {5, 300, 100, 310, 61.6978f}, {6, 300, 100, 346.9846f, 110}, {STILL, 300, 100, 300, 100},
        {0, -46, 100, -50, 108},      {0, -46.5f, 100, gone, 0},     {1, 686, 100, 690, 108},
        {1, 686.5f, 100, gone, 0},    {1, 100, -54, 104, -46},       {1, 100, -54.5f, gone, 0},
        {1, 100, 482, 104, 490},      {1, 100, 482.5f, gone, 0}};
    for (const auto &r : rows) {
        GameTest::SetUp(); // the same seed as the fall above
        add(1, r[1], r[2], static_cast<int>(r[0])).fire_delay = 99; // holding its fire
        eshot = {{r[1], r[2], r[0] ? 2.0f : -2.0f, 4}};             // flying as patterns 0 and 1 do
        do_enemies(), do_enemies();
        EXPECT_EQ(enemies.size() + eshot.size(), r[3] == gone ? 0u : 2u) << r[1] << "," << r[2];
        for (const _enemy &e : enemies)
            EXPECT_TRUE(std::abs(e.x - r[3]) < 1e-3 && std::abs(e.y - r[4]) < 1e-3) << r[0];
    }
}

TEST_F(Enemies, GroupsEnterAsOneAtTheirTypesEdgeAndHeadAcrossInSingleFile) {
    for (int k = 0; k < 12; k++) { // each type after seeds 1 to 4, which give either side
        enemies.clear();
        srand(k % 4 + 1);
        new_enemy_group(k / 4, 3, 10);
        const _enemy &first = enemies.front(), &last = enemies.back();
        EXPECT_TRUE(first.x == last.x && first.y == last.y && first.pattern == last.pattern &&
                    last.start_delay == 20 && first.pattern % 2 == (first.x < 320) &&
                    (k < 8 ? first.y == -20 : first.x == -20 || first.x == 660))
            << k; // the odd patterns head right, from the left
    }
}

TEST_F(Enemies, WaitsUnseenThenRamsOrIsKilledByTheFirstOverlappingShotForPoints) {
    // type, x, level, crazy, then insanity, player shots and enemy shots left, score, particles
    // (a crazy blast adds 5 bananas); at 333 it only touches the ship at (308, 435)
    const int rows[][9] = {{0, 333, 1, 0, 0, 2, 1, 2, 1},  {0, 308, 1, 0, 20, 3, 0, 0, 2},
                           {1, 308, 1, 0, 23, 3, 0, 0, 2}, {2, 308, 1, 0, 23, 3, 0, 0, 2},
                           {1, 333, 3, 1, 0, 2, 1, 4, 6},  {2, 333, 3, 1, 0, 2, 1, 7, 6}};
    BITMAP **const pictures[] = {enemy1, enemy2, enemy3};
    for (const auto &r : rows) {
        GameTest::SetUp();
        std::tie(level, player.crazy) = std::tuple(r[2], r[3]);
        add(r[0], r[1], 435, 5, 3); // to fly right: turned a quarter turn anticlockwise
        player.shots = {{r[1] + 25.f, 440, 0, 0}, {r[1] + 2.f, 440, 0, 0}, {r[1] + 4.f, 440, 0, 0}};
        for (int call = 1; call <= 4; call++, do_enemies()) // waits 3 calls, acts on the 4th
            EXPECT_TRUE(drawqueue.empty() && eshot.empty() && player.shots.size() == 3);
        std::vector<int> seen{player.insanity_level, int(player.shots.size()), int(eshot.size()),
                              score, int(particles.size())};
        EXPECT_EQ(seen, std::vector<int>(r + 4, r + 9)) << "row " << &r - rows;
        // a rammer's shot hits the ship too; a kill leaves the touching and the farther shot
        EXPECT_TRUE(enemies.empty() && highscore == score &&
                    player.shots.front().x + player.shots.back().x == 2 * r[1] + 29);
        ASSERT_EQ(drawqueue.size(), 2u); // its last picture, then its last shot over it
        EXPECT_EQ(std::tuple(drawqueue[0].bmp, drawqueue[1].bmp, drawqueue[0].angle),
                  std::tuple(pictures[r[0]][!r[3]], eshot1[!r[3]], r[0] == 2 ? 0 : -itofix(64)));
    }
}

TEST_F(Enemies, FiresAtTheShipOnItsFirstActiveTickThenEvery71) {
    for (int type = 0; type < 3; type++) {
        eshot.clear();
        _enemy &e = add(type, 100, 100, STILL, 2);
        std::vector<size_t> shots; // after ticks 2, 3, 73, 74, 144 and 145
        for (int t = 1; t <= 146; t++, e.do_stuff())
            if (t % 71 == 3 || t % 71 == 4)
                shots.push_back(eshot.size());
        EXPECT_EQ(shots, (std::vector<size_t>{0, 1, 1, 2, 2, 3})) << type;
        const _shot &s = eshot.front(); // from +10,+10, aimed corner to corner at (308, 435)
        EXPECT_TRUE(s.x == 110 && s.y == 110 && std::abs(s.dx * 335 - s.dy * 208) < 1e-3 &&
                    std::abs(std::hypot(s.dx, s.dy) - (type == 1 ? 7 : 6)) < 1e-4 && s.dx > 0);
    }
}
