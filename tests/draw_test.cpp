#include "fixture.h"

#include "main.h"

#include <functional>

namespace {
int white, red; // set by each test: makecol needs the library up

int differing(BITMAP *a, BITMAP *b) {
    int n = 0;
    for (int y = 0; y < a->h; y++)
        for (int x = 0; x < a->w; x++)
            n += getpixel(a, x, y) != getpixel(b, x, y);
    return n;
}
} // namespace

class DrawQueue : public GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        white = makecol(255, 255, 255);
        red = makecol(255, 0, 0);
    }
};

TEST_F(DrawQueue, CircleWithoutRadiusQueuesNothing) {
    buffer_circlefill(10, 10, 0, 1);
    buffer_circlefill(10, 10, -3, 1);
    EXPECT_TRUE(drawqueue.empty());
}

TEST_F(DrawQueue, StoresLow16BitsSignedClampsBoxesAndReordersOnlyHlineAndVline) {
    const int NONE = 99999; // an extent the kind does not have
    struct {
        std::function<void()> queue;
        int type, x, y, w, h;
    } cases[] = {
        {[] { buffer_putpixel(40000, 65536 + 5, 65535); }, CMD_PUTPIXEL, 40000 - 65536, 5, NONE,
         NONE},
        {[] { buffer_putpixel(5 - 65536, 5, 65535); }, CMD_PUTPIXEL, 5, 5, NONE, NONE},
        {[] { buffer_rect(10, 10, 5, 20, 1); }, CMD_RECT, 10, 10, 0, 10},
        {[] { buffer_rectfill(10, 10, 20, 5, 1); }, CMD_RECTFILL, 10, 10, 10, 0},
        {[] { buffer_rectrounded(30, 40, 20, 30, 1); }, CMD_RECTROUNDED, 30, 40, 0, 0},
        // the sign is read from the stored extent: 40000 wide is negative
        {[] { buffer_rect(0, 0, 40000, 5, 1); }, CMD_RECT, 0, 0, 0, 5},
        {[] { buffer_hline(50, 7, 20, 1); }, CMD_HLINE, 20, 7, 30, NONE},
        {[] { buffer_hline(20, 7, 50, 1); }, CMD_HLINE, 20, 7, 30, NONE},
        {[] { buffer_hline(0, 7, 40000, 1); }, CMD_HLINE, 40000 - 65536, 7, 65536 - 40000, NONE},
        {[] { buffer_vline(3, 40, 10, 1); }, CMD_VLINE, 3, 10, NONE, 30},
        {[] { buffer_line(50, 7, 20, 9, 1); }, CMD_LINE, 50, 7, -30, 2},
    };
    for (auto &c : cases) {
        drawqueue.clear();
        c.queue();
        ASSERT_EQ(drawqueue.size(), 1u);
        const drawthing &d = drawqueue[0];
        EXPECT_EQ(d.type, c.type);
        EXPECT_EQ(d.x, c.x) << "type " << c.type;
        EXPECT_EQ(d.y, c.y) << "type " << c.type;
        EXPECT_TRUE(c.w == NONE || d.w == c.w) << "type " << c.type << " w " << d.w;
        EXPECT_TRUE(c.h == NONE || d.h == c.h) << "type " << c.type << " h " << d.h;
        EXPECT_EQ(d.color, c.type == CMD_PUTPIXEL ? -1 : 1); // 65535 is white, kept as -1
    }
    buffer_circlefill(1, 2, 70000, 3);
    buffer_rotate_sprite(ship, 1, 2, 0x123456);
    EXPECT_EQ(drawqueue[1].radius, 70000); // these two keep all 32 bits
    EXPECT_EQ(drawqueue[2].angle, 0x123456);
}

TEST_F(DrawQueue, TextIsCopiedAtTheCall) {
    std::string text = "Level 3";
    buffer_textout_centre_ex(font, text, 320, 240, 1);
    text = "changed";
    ASSERT_EQ(drawqueue.size(), 1u);
    EXPECT_EQ(drawqueue[0].text, "Level 3");
}

// each command against the same library call on a second bitmap
// clang-format off
#define SAME(queue, paint) {#queue, [] { queue; }, [](BITMAP *b) { paint; }}
// clang-format on

TEST_F(DrawQueue, EveryKindPaintsWhatItsLibraryCallPaints) {
    struct {
        const char *name;
        void (*queue)();
        void (*paint)(BITMAP *);
    } cases[] = {
        SAME(buffer_draw_sprite_h_flip(cow, -5, 40), draw_sprite_h_flip(b, cow, -5, 40)),
        SAME(buffer_rotate_sprite(cow, 30, 40, itofix(32)),
             rotate_sprite(b, cow, 30, 40, 32 << 16)),
        // white is 65535, queued as -1, and must still paint white
        SAME(buffer_textout_centre_ex(font, "Level 2", 320, 240, white),
             textout_centre_ex(b, font, "Level 2", 320, 240, white, -1)),
        SAME(buffer_textout_right_ex(font, "High: 7", 630, 5, red),
             textout_right_ex(b, font, "High: 7", 630, 5, red, -1)),
        SAME(buffer_circlefill(100, 100, 12, red), circlefill(b, 100, 100, 12, red)),
        SAME(buffer_ellipsefill(100, 100, 20, 6, red), ellipsefill(b, 100, 100, 20, 6, red)),
        SAME(buffer_rect(5, 6, 60, 30, white), rect(b, 5, 6, 60, 30, white)),
        SAME(buffer_line(50, 7, 20, 90, red), line(b, 50, 7, 20, 90, red)),
        SAME(buffer_vline(3, 40, 10, red), vline(b, 3, 10, 40, red)),
    };
    BITMAP *expected = create_bitmap(SCREEN_WIDTH, SCREEN_HEIGHT);
    BITMAP *blank = create_bitmap(SCREEN_WIDTH, SCREEN_HEIGHT);
    clear_to_color(blank, 0);
    for (auto &c : cases) {
        clear_to_color(back_buffer, 0);
        clear_to_color(expected, 0);
        c.queue();
        draw_all();
        c.paint(expected);
        EXPECT_GT(differing(expected, blank), 0) << c.name;
        EXPECT_EQ(differing(back_buffer, expected), 0) << c.name;
    }
    destroy_bitmap(blank);
    destroy_bitmap(expected);
}

TEST_F(DrawQueue, OpaquePicturePaintsLikeAMaskedSpriteAndASeeThroughOneStaysMasked) {
    BITMAP *solid = create_bitmap(30, 20);
    BITMAP *holed = create_bitmap(30, 20);
    clear_to_color(solid, red);
    clear_to_color(holed, red);
    putpixel(holed, 10, 10, bitmap_mask_color(holed));
    note_if_opaque(solid);
    note_if_opaque(holed);
    ASSERT_EQ(opaque_pictures, std::vector<BITMAP *>{solid});

    BITMAP *expected = create_bitmap(SCREEN_WIDTH, SCREEN_HEIGHT);
    const int places[][2] = {{100, 100}, {-10, -5}, {625, 470}};
    for (BITMAP *picture : {solid, holed})
        for (auto &at : places) {
            clear_to_color(back_buffer, white);
            clear_to_color(expected, white);
            buffer_draw_sprite(picture, at[0], at[1]);
            draw_all();
            draw_sprite(expected, picture, at[0], at[1]);
            EXPECT_EQ(differing(back_buffer, expected), 0) << at[0] << "," << at[1];
        }
    clear_to_color(back_buffer, white);
    buffer_draw_sprite(holed, 100, 100);
    draw_all();
    EXPECT_EQ(getpixel(back_buffer, 110, 110), white);
    destroy_bitmap(expected);
    destroy_bitmap(solid);
    destroy_bitmap(holed);
}

TEST_F(DrawQueue, RoundedBoxLeavesExactlyItsFourCornersUnpainted) {
    buffer_rectrounded(10, 10, 20, 16, red);
    draw_all();
    for (int y = 5; y < 22; y++)
        for (int x = 5; x < 25; x++) {
            const bool inside = x >= 10 && x <= 20 && y >= 10 && y <= 16;
            const bool corner = (x == 10 || x == 20) && (y == 10 || y == 16);
            EXPECT_EQ(getpixel(back_buffer, x, y), inside && !corner ? red : 0) << x << "," << y;
        }
}

TEST_F(DrawQueue, QueueOrderIsStackingOrder) {
    buffer_draw_sprite(ship, 100, 100);
    buffer_rectfill(90, 90, 130, 130, red);
    draw_all();
    EXPECT_EQ(getpixel(back_buffer, 110, 110), red);

    buffer_rectfill(90, 90, 130, 130, red);
    buffer_draw_sprite(ship, 100, 100);
    draw_all();
    EXPECT_EQ(getpixel(back_buffer, 110, 110), getpixel(ship, 10, 10));
    EXPECT_EQ(getpixel(back_buffer, 95, 95), red);
}

TEST_F(DrawQueue, TwoTicksBeforeOneFrameShowOnlyTheSecondAndTheQueueEmpties) {
    for (int tick = 1; tick <= 2; tick++) {
        buffer_clear_to_color(makecol(0, 0, 0));
        buffer_rectfill(tick * 20, 0, tick * 20 + 9, 9, red);
    }
    ASSERT_EQ(drawqueue.size(), 2u); // the first tick's commands were cleared away
    draw_all();
    EXPECT_TRUE(drawqueue.empty());
    EXPECT_EQ(getpixel(back_buffer, 25, 5), 0);
    EXPECT_EQ(getpixel(back_buffer, 45, 5), red);
    // an empty queue paints nothing: the finished picture stays
    BITMAP *before = create_bitmap(SCREEN_WIDTH, SCREEN_HEIGHT);
    blit(back_buffer, before, 0, 0, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT);
    draw_all();
    EXPECT_EQ(differing(back_buffer, before), 0);
    destroy_bitmap(before);
}
