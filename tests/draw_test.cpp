#include "fixture.h"
#include "main.h"
#include "media.h"

struct DrawQueue : GameTest {
    static int grey() { return makecol(128, 128, 128); }
};

struct painting {
    const char *name;
    void (*queue)();
    void (*paint)(BITMAP *); // the same picture drawn by the library's own calls
};

// clang-format off
TEST_F(DrawQueue, EachCommandPaintsWhatItsLibraryCallPaintsInQueueOrder) {
    const painting rows[] = {
        {.name = "text to the left", .queue = [] { buffer_textout_ex(font, "7", 10, 5, red()); },
         .paint = [](BITMAP *b) { textout_ex(b, font, "7", 10, 5, red(), -1); }},
        {.name = "right-aligned text",
         .queue = [] { buffer_textout_right_ex(font, "7", 630, 5, red()); },
         .paint = [](BITMAP *b) { textout_right_ex(b, font, "7", 630, 5, red(), -1); }},
        {.name = "ellipse", .queue = [] { buffer_ellipsefill(100, 100, 20, 6, red()); },
         .paint = [](BITMAP *b) { ellipsefill(b, 100, 100, 20, 6, red()); }},
        {.name = "box 40000 wide is negative",
         .queue = [] { buffer_rectfill(5, 10, 40000, 5, red()); },
         .paint = [](BITMAP *b) { putpixel(b, 5, 10, red()); }},
        {.name = "level line forwards", .queue = [] { buffer_hline(20, 7, 60, red()); },
         .paint = [](BITMAP *b) { hline(b, 20, 7, 60, red()); }},
        {.name = "slanted line", .queue = [] { buffer_line(50, 7, 20, 90, red()); },
         .paint = [](BITMAP *b) { line(b, 50, 7, 20, 90, red()); }},
        {.name = "upright line", .queue = [] { buffer_vline(3, 40, 10, red()); },
         .paint = [](BITMAP *b) { vline(b, 3, 10, 40, red()); }},
        {.name = "rounded box is a filled box less its corner pixels",
         .queue = [] { buffer_rectrounded(10, 10, 20, 16, red()); },
         .paint = [](BITMAP *b) { rectfill(b, 10, 10, 20, 16, red());
                                  for (int i = 0; i < 4; i++)
                                      putpixel(b, 10 + i % 2 * 10, 10 + i / 2 * 6, grey()); }},
        {.name = "later commands paint over earlier ones",
         .queue = [] { buffer_clear_to_color(white()); buffer_rectfill(90, 90, 130, 130, red());
                       buffer_draw_sprite(ship, 100, 100); },
         .paint = [](BITMAP *b) { clear_to_color(b, white()); rectfill(b, 90, 90, 130, 130, red());
                                  draw_sprite(b, ship, 100, 100); }},
    };
    // clang-format on
    BITMAP *expected = create_bitmap(SCREEN_WIDTH, SCREEN_HEIGHT);
    BITMAP *blank = create_bitmap(SCREEN_WIDTH, SCREEN_HEIGHT);
    clear_to_color(blank, grey());
    for (const painting &row : rows) {
        SCOPED_TRACE(row.name);
        clear_to_color(back_buffer, grey()); // where a text's background would show
        clear_to_color(expected, grey());
        row.queue();
        draw_all();
        EXPECT_EQ(drawqueue.size(), 0u);
        draw_all(); // an empty queue paints nothing
        row.paint(expected);
        EXPECT_GT(differing_pixels(expected, blank), 0);
        EXPECT_EQ(differing_pixels(back_buffer, expected), 0);
    }
    destroy_bitmap(blank);
    destroy_bitmap(expected);
}

// the see-through pixel in the corner, where the search begins
TEST_F(DrawQueue, OnlyAPictureWithNoSeeThroughPixelIsNotedOpaque) {
    BITMAP *solid = create_bitmap(30, 20), *holed = create_bitmap(30, 20);
    clear_to_color(solid, red());
    clear_to_color(holed, red());
    putpixel(holed, 0, 0, bitmap_mask_color(holed));
    note_if_opaque(solid);
    note_if_opaque(holed);
    EXPECT_EQ(opaque_pictures, std::vector<BITMAP *>{solid});
    destroy_bitmap(solid);
    destroy_bitmap(holed);
}
