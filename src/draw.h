// draw.h: the draw queue, the only way anything is painted onto the back buffer.
#pragma once

#include <allegro.h>

#include <cstdint>
#include <string>
#include <vector>

// which command a drawthing is; each is named after the library call that paints it
enum drawkind : int16_t {
    CMD_SPRITE = 0,
    CMD_SPRITE_H_FLIP = 1,
    CMD_ROTATE_SPRITE = 2,
    CMD_TEXTOUT = 4,
    CMD_TEXTOUT_CENTRE = 5,
    CMD_CIRCLEFILL = 6,
    CMD_RECT = 7,
    CMD_RECTFILL = 8,
    CMD_RECTROUNDED = 9,
    CMD_PUTPIXEL = 10,
    CMD_LINE = 11,
    CMD_HLINE = 12,
    CMD_VLINE = 13,
    CMD_CLEAR_TO_COLOR = 14,
    CMD_TEXTOUT_RIGHT = 15,
    CMD_ELLIPSEFILL = 16,
};

// one queued command; a kind reads only the fields it sets
struct drawthing {
    int16_t type;
    int16_t x, y;
    int16_t w, h; // second corner minus first
    int16_t color;
    int32_t angle; // fixed point, 256 to the full turn
    int32_t radius;
    int16_t rx, ry;
    std::string text;
    BITMAP *bmp; // borrowed
    FONT *fnt;   // borrowed
};

extern BITMAP *back_buffer;                   // the picture being composed, 640 by 480
extern std::vector<drawthing> drawqueue;      // this frame's commands, in painting order
extern std::vector<BITMAP *> opaque_pictures; // sprites with no see-through pixel, copied whole

// the game's colours, made for the colour depth in use
inline int black() {
    return makecol(0, 0, 0);
}
inline int white() {
    return makecol(255, 255, 255);
}
inline int red() {
    return makecol(255, 0, 0);
}
inline int orange() {
    return makecol(255, 128, 0);
}
inline int yellow() {
    return makecol(255, 255, 0);
}
inline int blue() {
    return makecol(0, 0, 255);
}

// adds the picture to opaque_pictures when no pixel of it is the mask colour
void note_if_opaque(BITMAP *picture);

void buffer_draw_sprite(BITMAP *sprite, int x, int y);
void buffer_draw_sprite_h_flip(BITMAP *sprite, int x, int y);
void buffer_rotate_sprite(BITMAP *sprite, int x, int y, int angle);
void buffer_textout_ex(FONT *f, std::string text, int x, int y, int color);
void buffer_textout_centre_ex(FONT *f, std::string text, int x, int y, int color);
void buffer_textout_right_ex(FONT *f, std::string text, int x, int y, int color);
void buffer_circlefill(int x, int y, int radius, int color);
void buffer_ellipsefill(int x, int y, int rx, int ry, int color);
void buffer_rect(int x1, int y1, int x2, int y2, int color);
void buffer_rectfill(int x1, int y1, int x2, int y2, int color);
void buffer_rectrounded(int x1, int y1, int x2, int y2, int color);
void buffer_putpixel(int x, int y, int color);
void buffer_line(int x1, int y1, int x2, int y2, int color);
void buffer_hline(int x1, int y, int x2, int color);
void buffer_vline(int x, int y1, int y2, int color);
void buffer_clear_to_color(int color);

// paints every queued command onto back_buffer in queue order, then empties the queue
void draw_all();
