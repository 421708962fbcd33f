#include "fixture.h"
#include "main.h"
#include "media.h"

struct DrawQueue : GameTest {
    static int red() { return makecol(255, 0, 0); }
    static int white() { return makecol(255, 255, 255); }

    // the pixels where two pictures differ, or where one is not black
    static int differing(BITMAP *a, BITMAP *b = nullptr) {
        int n = 0;
        for (int y = 0; y < a->h; y++)
            for (int x = 0; x < a->w; x++)
                n += getpixel(a, x, y) != (b ? getpixel(b, x, y) : 0);
        return n;
    }
};

TEST_F(DrawQueue, StoresLow16BitsSignedStraightLinesRunForwardsAndEmptyCirclesQueueNothing) {
    buffer_circlefill(10, 10, 0, 1);
    buffer_putpixel(40000, 65536 + 5, 65535); // 65535 is white
    buffer_hline(0, 7, 40000, 1);             // the stored extent is negative, so the ends swap
    buffer_line(50, 7, 20, 9, 1);             // a slanted line keeps its ends
    ASSERT_EQ(drawqueue.size(), 3u);
    const drawthing &p = drawqueue[0], &h = drawqueue[1], &l = drawqueue[2];
    EXPECT_EQ(std::tuple(p.x, p.y, p.color), std::tuple(40000 - 65536, 5, -1));
    EXPECT_EQ(std::tuple(h.x, h.y, h.w), std::tuple(40000 - 65536, 7, 65536 - 40000));
    EXPECT_EQ(std::tuple(l.x, l.y, l.w, l.h), std::tuple(50, 7, -30, 2));
}

// each frame against the same library calls on a second bitmap
// clang-format off
#define SAME(queue, paint) {[] { queue; }, [](BITMAP *b) { paint; }}

TEST_F(DrawQueue, FramePaintsWhatTheSameLibraryCallsPaintInQueueOrderAndTheQueueEmpties) {
    const std::pair<void (*)(), void (*)(BITMAP *)> cases[] = {
        // a dark corner shows the mirroring; the cow is given its colour back after
        SAME(putpixel(cow, 0, 0, 0); buffer_draw_sprite_h_flip(cow, -5, 40),
             draw_sprite_h_flip(b, cow, -5, 40); putpixel(cow, 0, 0, getpixel(cow, 1, 0))),
        SAME(buffer_rotate_sprite(cow, 30, 40, 32 << 16), rotate_sprite(b, cow, 30, 40, 32 << 16)),
        // white is 65535, queued as -1, and must still paint white
        SAME(buffer_textout_centre_ex(font, "L2", 320, 240, white()),
             textout_centre_ex(b, font, "L2", 320, 240, white(), -1)),
        SAME(buffer_textout_right_ex(font, "7", 630, 5, red()),
             textout_right_ex(b, font, "7", 630, 5, red(), -1)),
        SAME(buffer_circlefill(100, 100, 12, red()), circlefill(b, 100, 100, 12, red())),
        SAME(buffer_ellipsefill(100, 100, 20, 6, red()), ellipsefill(b, 100, 100, 20, 6, red())),
        // reversed corners collapse a box onto its first corner; 40000 wide is negative
        SAME(buffer_rect(10, 10, 5, 20, red()), vline(b, 10, 10, 20, red())),
        SAME(buffer_rectfill(5, 10, 40000, 5, red()), putpixel(b, 5, 10, red())),
        SAME(buffer_line(50, 7, 20, 90, red()), line(b, 50, 7, 20, 90, red())),
        SAME(buffer_vline(3, 40, 10, red()), vline(b, 3, 10, 40, red())),
        // a rounded box is its filled box less the four corner pixels
        SAME(buffer_rectrounded(10, 10, 20, 16, red()), rectfill(b, 10, 10, 20, 16, red());
             for (int i = 0; i < 4; i++) putpixel(b, 10 + i % 2 * 10, 10 + i / 2 * 6, 0)),
        // a later command paints over an earlier one, and a clear over all before it
        SAME(buffer_rectfill(20, 0, 29, 9, red()); buffer_clear_to_color(white());
             buffer_rectfill(90, 90, 130, 130, red()); buffer_draw_sprite(ship, 100, 100),
             clear_to_color(b, white()); rectfill(b, 90, 90, 130, 130, red());
             draw_sprite(b, ship, 100, 100)),
    };
    // clang-format on
    BITMAP *expected = create_bitmap(SCREEN_WIDTH, SCREEN_HEIGHT);
    for (const auto &c : cases) {
        SCOPED_TRACE(&c - cases);
        clear_to_color(back_buffer, 0);
        clear_to_color(expected, 0);
        c.first();
        draw_all();
        draw_all(); // the queue is empty now, and an empty queue paints nothing
        c.second(expected);
        EXPECT_TRUE(drawqueue.empty() && differing(expected) > 0);
        EXPECT_EQ(differing(back_buffer, expected), 0);
    }
    destroy_bitmap(expected);
}

TEST_F(DrawQueue, OpaquePicturePaintsLikeAMaskedSpriteAndASeeThroughOneStaysMasked) {
    BITMAP *solid = create_bitmap(30, 20), *holed = create_bitmap(30, 20);
    BITMAP *expected = create_bitmap(SCREEN_WIDTH, SCREEN_HEIGHT);
    clear_to_color(solid, red());
    clear_to_color(holed, red());
    putpixel(holed, 10, 10, bitmap_mask_color(holed));
    note_if_opaque(solid);
    note_if_opaque(holed);
    ASSERT_EQ(opaque_pictures, std::vector<BITMAP *>{solid});
    for (BITMAP *picture : {solid, holed})
        for (auto at : {std::pair{-10, -5}, {625, 470}, {100, 100}}) {
            clear_to_color(back_buffer, white());
            clear_to_color(expected, white());
            buffer_draw_sprite(picture, at.first, at.second);
            draw_all();
            draw_sprite(expected, picture, at.first, at.second);
            EXPECT_EQ(differing(back_buffer, expected), 0) << at.first << "," << at.second;
        }
    EXPECT_EQ(getpixel(back_buffer, 110, 110), white()); // the hole of the last one drawn
    for (BITMAP *bitmap : {expected, solid, holed})
        destroy_bitmap(bitmap);
}
