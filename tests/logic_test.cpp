#include "fixture.h"
#include "media.h"
#include "player.h"

#include "enemy.h"
#include "logic.h"

using Playing = GameTest;

// the fading of a meter of 10 is in the replay games; here the last point, and no lower
TEST_F(Playing, InsanityFadesAPointOnTheFiftyFirstTickDownToNought) {
    key[KEY_ESC] = 1; // Esc ends whatever game runs, so the next tick starts a new one
    logic();
    GameTest::SetUp();
    logic(); // the game under way
    player.insanity_level = 1;
    std::vector<int> faded; // the ticks on which a point went
    for (int t = 1; t <= 153; t++) {
        enemies.clear(); // none of them, nor their shots, to hurt the ship
        eshot.clear();
        drawqueue.clear();
        short before = player.insanity_level;
        logic();
        if (player.insanity_level != before)
            faded.push_back(t);
    }
    EXPECT_EQ(faded, std::vector<int>{51});
    EXPECT_EQ(player.insanity_level, 0);
}

using PowerUps = GameTest;

// clang-format off
struct falling { const char *name; float x, y, speed; short kind; bool crazy; short level, after;
                 bool gone; BITMAP **shown; };

// the ship is 308..333 by 435..460; the shot level goes from level to after; while crazy the
// pictures lie; the other edges, the limits of the shot level and a power-up missed are in the
// replay games
TEST_F(PowerUps, FallAndArePickedUpOnOverlapWithinShotLevelsNoughtToTwo) {
    const short DOWN = POWERUP_SHOT_DOWN;
    const falling rows[] = {
        {.name = "into the top", .x = 300, .y = 406, .speed = 10, .kind = DOWN,
         .level = 1, .after = 0, .gone = true, .shown = &shotminus},
        {.name = "crazy, below", .x = 300, .y = 460, .kind = DOWN, .crazy = true,
         .level = 1, .after = 1, .shown = &shotplus},
    };
    // clang-format on
    for (const falling &row : rows) {
        SCOPED_TRACE(row.name);
        powerups = {{.x = row.x, .y = row.y, .speed = row.speed, .kind = row.kind}};
        player.crazy = row.crazy, player.shot_level = row.level;
        do_powerups();
        EXPECT_EQ(player.shot_level, row.after);
        EXPECT_EQ(powerups.empty(), row.gone);
        EXPECT_EQ(drawqueue.back().bmp, *row.shown); // drawn even on the way out
    }
}
