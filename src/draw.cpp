// draw.cpp: the draw queue and its painting onto the back buffer.
#include "draw.h"

#include <algorithm>
#include <utility>

BITMAP *back_buffer;
std::vector<drawthing> drawqueue;
std::vector<BITMAP *> opaque_pictures;

void note_if_opaque(BITMAP *picture) {
    const int mask = bitmap_mask_color(picture);
    for (int y = 0; y < picture->h; y++)
        for (int x = 0; x < picture->w; x++)
            if (getpixel(picture, x, y) == mask)
                return;
    opaque_pictures.push_back(picture);
}

// coordinates are kept in 16 bits: a value beyond that wraps, as the game has always drawn it
static int16_t low16(int value) {
    return static_cast<int16_t>(value);
}

static drawthing command(drawkind type) {
    drawthing d{};
    d.type = type;
    return d;
}

static void queue_at(drawkind type, int x, int y, int color) {
    drawthing d = command(type);
    d.x = low16(x);
    d.y = low16(y);
    d.color = low16(color);
    drawqueue.push_back(std::move(d));
}

static void queue_sprite(drawkind type, BITMAP *sprite, int x, int y, int angle) {
    drawthing d = command(type);
    d.bmp = sprite;
    d.x = low16(x);
    d.y = low16(y);
    d.angle = angle;
    drawqueue.push_back(std::move(d));
}

static void queue_text(drawkind type, FONT *f, std::string text, int x, int y, int color) {
    drawthing d = command(type);
    d.fnt = f;
    d.text = std::move(text);
    d.x = low16(x);
    d.y = low16(y);
    d.color = low16(color);
    drawqueue.push_back(std::move(d));
}

// reversed corners collapse the box onto its first corner rather than swapping
static void queue_box(drawkind type, int x1, int y1, int x2, int y2, int color) {
    drawthing d = command(type);
    d.x = low16(x1);
    d.y = low16(y1);
    d.w = low16(x2 - x1);
    d.h = low16(y2 - y1);
    if (d.w < 0)
        d.w = 0;
    if (d.h < 0)
        d.h = 0;
    d.color = low16(color);
    drawqueue.push_back(std::move(d));
}

void buffer_draw_sprite(BITMAP *sprite, int x, int y) {
    queue_sprite(CMD_SPRITE, sprite, x, y, 0);
}

void buffer_draw_sprite_h_flip(BITMAP *sprite, int x, int y) {
    queue_sprite(CMD_SPRITE_H_FLIP, sprite, x, y, 0);
}

void buffer_rotate_sprite(BITMAP *sprite, int x, int y, int angle) {
    queue_sprite(CMD_ROTATE_SPRITE, sprite, x, y, angle);
}

void buffer_textout_ex(FONT *f, std::string text, int x, int y, int color) {
    queue_text(CMD_TEXTOUT, f, std::move(text), x, y, color);
}

void buffer_textout_centre_ex(FONT *f, std::string text, int x, int y, int color) {
    queue_text(CMD_TEXTOUT_CENTRE, f, std::move(text), x, y, color);
}

void buffer_textout_right_ex(FONT *f, std::string text, int x, int y, int color) {
    queue_text(CMD_TEXTOUT_RIGHT, f, std::move(text), x, y, color);
}

void buffer_circlefill(int x, int y, int radius, int color) {
    if (radius <= 0)
        return;
    drawthing d = command(CMD_CIRCLEFILL);
    d.x = low16(x);
    d.y = low16(y);
    d.radius = radius;
    d.color = low16(color);
    drawqueue.push_back(std::move(d));
}

void buffer_ellipsefill(int x, int y, int rx, int ry, int color) {
    drawthing d = command(CMD_ELLIPSEFILL);
    d.x = low16(x);
    d.y = low16(y);
    d.rx = low16(rx);
    d.ry = low16(ry);
    d.color = low16(color);
    drawqueue.push_back(std::move(d));
}

void buffer_rect(int x1, int y1, int x2, int y2, int color) {
    queue_box(CMD_RECT, x1, y1, x2, y2, color);
}

void buffer_rectfill(int x1, int y1, int x2, int y2, int color) {
    queue_box(CMD_RECTFILL, x1, y1, x2, y2, color);
}

void buffer_rectrounded(int x1, int y1, int x2, int y2, int color) {
    queue_box(CMD_RECTROUNDED, x1, y1, x2, y2, color);
}

void buffer_putpixel(int x, int y, int color) {
    queue_at(CMD_PUTPIXEL, x, y, color);
}

void buffer_line(int x1, int y1, int x2, int y2, int color) {
    drawthing d = command(CMD_LINE);
    d.x = low16(x1);
    d.y = low16(y1);
    d.w = low16(x2 - x1);
    d.h = low16(y2 - y1);
    d.color = low16(color);
    drawqueue.push_back(std::move(d));
}

// a line along one axis is kept running forwards, whichever end was named first
static void order_span(int16_t &start, int16_t &extent, int from, int to) {
    start = low16(from);
    extent = low16(to - from);
    if (extent < 0) {
        start = low16(to);
        extent = low16(from - to);
    }
}

void buffer_hline(int x1, int y, int x2, int color) {
    drawthing d = command(CMD_HLINE);
    order_span(d.x, d.w, x1, x2);
    d.y = low16(y);
    d.color = low16(color);
    drawqueue.push_back(std::move(d));
}

void buffer_vline(int x, int y1, int y2, int color) {
    drawthing d = command(CMD_VLINE);
    d.x = low16(x);
    order_span(d.y, d.h, y1, y2);
    d.color = low16(color);
    drawqueue.push_back(std::move(d));
}

// a clear paints over the whole picture, so nothing queued before it could ever be seen;
// dropping it keeps a frame that follows a backlog of ticks to the last tick's commands
void buffer_clear_to_color(int color) {
    drawqueue.clear();
    drawthing d = command(CMD_CLEAR_TO_COLOR);
    d.color = low16(color);
    drawqueue.push_back(std::move(d));
}

// a filled box less its four corner pixels: a fill without the outer columns,
// then a two-pixel strip down each side without its ends
static void rectrounded(BITMAP *b, int x, int y, int w, int h, int color) {
    rectfill(b, x + 1, y, x + w - 1, y + h, color);
    rect(b, x, y + 1, x + 1, y + h - 1, color);
    rect(b, x + w - 1, y + 1, x + w, y + h - 1, color);
}

// a masked draw of a picture with nothing to mask is a plain copy, and a copy is much cheaper
static void sprite(BITMAP *b, BITMAP *picture, int x, int y) {
    if (std::find(opaque_pictures.begin(), opaque_pictures.end(), picture) != opaque_pictures.end())
        blit(picture, b, 0, 0, x, y, picture->w, picture->h);
    else
        draw_sprite(b, picture, x, y);
}

// rotate_sprite as the library has it, but with the corner scaled by multiplying: the
// library shifts it left, which is undefined for a sprite off the left or top edge
static void rotated(BITMAP *b, BITMAP *picture, int x, int y, fixed angle) {
    constexpr int ONE = 0x10000; // 1.0 in fixed point
    const fixed cx = x * ONE + picture->w * ONE / 2, cy = y * ONE + picture->h * ONE / 2;
    b->vtable->pivot_scaled_sprite_flip(b, picture, cx, cy, picture->w * ONE / 2,
                                        picture->h * ONE / 2, angle, ONE, FALSE);
}

static void paint(const drawthing &d) {
    // widened with their signs; the colour is a 16-bit pixel value, so it is read unsigned
    const int x = d.x, y = d.y, w = d.w, h = d.h;
    const int color = static_cast<uint16_t>(d.color);
    BITMAP *b = back_buffer;
    switch (d.type) {
    case CMD_SPRITE:
        sprite(b, d.bmp, x, y);
        break;
    case CMD_SPRITE_H_FLIP:
        draw_sprite_h_flip(b, d.bmp, x, y);
        break;
    case CMD_ROTATE_SPRITE:
        rotated(b, d.bmp, x, y, d.angle);
        break;
    case CMD_TEXTOUT:
        textout_ex(b, d.fnt, d.text.c_str(), x, y, color, -1);
        break;
    case CMD_TEXTOUT_CENTRE:
        textout_centre_ex(b, d.fnt, d.text.c_str(), x, y, color, -1);
        break;
    case CMD_CIRCLEFILL:
        circlefill(b, x, y, d.radius, color);
        break;
    case CMD_RECT:
        rect(b, x, y, x + w, y + h, color);
        break;
    case CMD_RECTFILL:
        rectfill(b, x, y, x + w, y + h, color);
        break;
    case CMD_RECTROUNDED:
        rectrounded(b, x, y, w, h, color);
        break;
    case CMD_PUTPIXEL:
        putpixel(b, x, y, color);
        break;
    case CMD_LINE:
        line(b, x, y, x + w, y + h, color);
        break;
    case CMD_HLINE:
        hline(b, x, y, x + w, color);
        break;
    case CMD_VLINE:
        vline(b, x, y, y + h, color);
        break;
    case CMD_CLEAR_TO_COLOR:
        clear_to_color(b, color);
        break;
    case CMD_TEXTOUT_RIGHT:
        textout_right_ex(b, d.fnt, d.text.c_str(), x, y, color, -1);
        break;
    case CMD_ELLIPSEFILL:
        ellipsefill(b, x, y, d.rx, d.ry, color);
        break;
    }
}

void draw_all() {
    const size_t queued = drawqueue.size();
    for (size_t i = 0; i < queued; i++)
        paint(drawqueue[i]);
    drawqueue.clear();
}
