#include "fixture.h"

#include "player.h"

#include <array>

struct Ship : GameTest {
    // where each shot in flight is and where it heads: x, y, dx, dy
    static std::vector<std::array<float, 4>> shots_in_flight() {
        std::vector<std::array<float, 4>> found;
        for (const _shot &s : player.shots)
            found.push_back({s.x, s.y, s.dx, s.dy});
        return found;
    }
};

// clang-format off
struct volley { const char *name; short shot_level; std::vector<std::array<float, 4>> shots; };

TEST_F(Ship, VolleyFollowsTheShotLevel) {
    const volley rows[] = { // x, y, dx and dy of each shot
        {.name = "one from the nose", .shot_level = 0, .shots = {{320, 437, 0, -5}}},
        {.name = "a pair from the wingtips", .shot_level = 1, .shots = {{310, 437, 0, -5}, {330, 437, 0, -5}}},
        {.name = "a fan of three", .shot_level = 2, .shots = {{320, 437, 0, -5}, {330, 437, 3, -5}, {310, 437, -3, -5}}},
    };
    // clang-format on
    for (const volley &row : rows) {
        SCOPED_TRACE(row.name);
        player.shots.clear();
        player.shot_level = row.shot_level;
        player.fire();
        EXPECT_EQ(shots_in_flight(), row.shots);
    }
}
