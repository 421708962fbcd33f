#include "display.h"
#include "fixture.h"
#include "measures.h"

#include <algorithm>
#include <cstdlib>

using Display = GameTest;

TEST_F(Display, WindowScaleIsTheLargestThatLeavesATenthOfTheDesktop) {
    struct row {
        int w, h, scale;
    };
    const row rows[] = {
        {.w = 1920, .h = 1080, .scale = 2},
        {.w = 2560, .h = 1440, .scale = 2},
        {.w = 640, .h = 480, .scale = 1},
        {.w = 100000, .h = 100000, .scale = MAX_SCALE},
    };
    for (const row &r : rows) {
        SCOPED_TRACE(std::to_string(r.w) + "x" + std::to_string(r.h));
        EXPECT_EQ(largest_window_scale(r.w, r.h), r.scale);
    }
}

// clang-format off
struct monitor { int w, h; int picture_w, picture_h; bool fills; };

TEST_F(Display, FullscreenFillsTheHeightWhenAWholeScaleLeavesMoreThanAFifth) {
    const monitor rows[] = {
        {.w = 1366, .h = 768, .picture_w = 1024, .picture_h = 768, .fills = true},
        {.w = 1000, .h = 1000, .picture_w = 1000, .picture_h = 750, .fills = true},
        {.w = 800, .h = 600, .picture_w = 640, .picture_h = 480, .fills = false},
        {.w = 2560, .h = 1440, .picture_w = 1920, .picture_h = 1440, .fills = false},
    };
    // clang-format on
    for (const monitor &r : rows) {
        SCOPED_TRACE(std::to_string(r.w) + "x" + std::to_string(r.h));
        int w = 0, h = 0;
        EXPECT_EQ(fullscreen_picture_size(r.w, r.h, w, h), r.fills);
        EXPECT_EQ(w, r.picture_w);
        EXPECT_EQ(h, r.picture_h);
    }
}

TEST_F(Display, CopyShowsEachScreenPixelAsTheGamePixelUnderIt) {
    srand(7);
    BITMAP *picture = create_bitmap(64, 48);
    for (int y = 0; y < 48; y++)
        for (int x = 0; x < 64; x++)
            putpixel(picture, x, y, makecol(rand() % 256, rand() % 256, rand() % 256));
    for (int scale : {2, 3, 4, 5, 0}) { // 0: fitted to 102 by 76, 1.59 screen pixels a game pixel
        SCOPED_TRACE(scale ? "whole scale " + std::to_string(scale) : "fitted");
        const int w = scale ? 64 * scale : 102, h = scale ? 48 * scale : 76;
        BITMAP *copy = create_bitmap(w, h);
        clear_to_color(copy, makecol(255, 0, 255));
        if (scale)
            scale_picture(picture, copy, scale);
        else
            fit_picture(picture, copy);
        int off = 0;
        for (int y = 0; y < copy->h; y++)
            for (int x = 0; x < copy->w; x++)
                off += getpixel(copy, x, y) !=
                       getpixel(picture, game_pixel_at(x, w, 64), game_pixel_at(y, h, 48));
        EXPECT_EQ(off, 0);
        destroy_bitmap(copy);
    }
    destroy_bitmap(picture);
}

TEST_F(Display, FittedGamePixelIsOneOrTwoScreenPixelsWide) {
    int narrowest = 99, widest = 0;
    for (int g = 0; g < 64; g++) {
        int shown = 0;
        for (int x = 0; x < 102; x++)
            shown += game_pixel_at(x, 102, 64) == g;
        narrowest = std::min(narrowest, shown), widest = std::max(widest, shown);
    }
    EXPECT_EQ(narrowest, 1);
    EXPECT_EQ(widest, 2);
}

// the pointer off the picture still counts whole game pixels: rounded down, not towards nought
TEST_F(Display, PointerFallsOnTheGamePixelShownUnderIt) {
    EXPECT_EQ(game_pixel_at(-3, 2 * SCREEN_WIDTH, SCREEN_WIDTH), -2); // at whole scale 2
}
