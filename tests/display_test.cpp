#include "display.h"
#include "fixture.h"

#include <cstdlib>

using Display = GameTest;

TEST_F(Display, WindowScaleIsTheLargestThatLeavesATenthOfTheDesktop) {
    struct row {
        int w, h, scale;
    };
    const row rows[] = {
        {.w = 1920, .h = 1080, .scale = 2}, {.w = 3840, .h = 2160, .scale = 4},
        {.w = 1366, .h = 768, .scale = 1},  {.w = 1280, .h = 1024, .scale = 1},
        {.w = 2560, .h = 1440, .scale = 2}, {.w = 640, .h = 480, .scale = 1},
        {.w = 320, .h = 200, .scale = 1},   {.w = 100000, .h = 100000, .scale = MAX_SCALE},
    };
    for (const row &r : rows) {
        SCOPED_TRACE(std::to_string(r.w) + "x" + std::to_string(r.h));
        EXPECT_EQ(largest_window_scale(r.w, r.h), r.scale);
    }
}

// every pixel of the scaled copy, against the picture's pixel it stands for
static int pixels_off_their_block(BITMAP *picture, BITMAP *copy, int scale) {
    int off = 0;
    for (int y = 0; y < copy->h; y++)
        for (int x = 0; x < copy->w; x++)
            off += getpixel(copy, x, y) != getpixel(picture, x / scale, y / scale);
    return off;
}

TEST_F(Display, ScaledCopyShowsEachPixelAsASquareBlock) {
    srand(7);
    BITMAP *picture = create_bitmap(64, 48);
    for (int y = 0; y < 48; y++)
        for (int x = 0; x < 64; x++)
            putpixel(picture, x, y, makecol(rand() % 256, rand() % 256, rand() % 256));
    for (int scale : {2, 3, 4, 5}) {
        SCOPED_TRACE(scale);
        BITMAP *copy = create_bitmap(64 * scale, 48 * scale);
        clear_to_color(copy, makecol(255, 0, 255));
        scale_picture(picture, copy, scale);
        EXPECT_EQ(pixels_off_their_block(picture, copy, scale), 0);
        destroy_bitmap(copy);
    }
    destroy_bitmap(picture);
}
