// display.cpp: the window at a whole-number scale, fullscreen with black borders (or filling a
// small screen's height), the copy of the picture to the screen with every game pixel a square
// block or as near to one as the screen allows, and the pointer in game pixels.
#include "display.h"

#include "measures.h"
#include "window.h"

#include <allegro.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

int display_scale = 1;
int picture_width = SCREEN_WIDTH;
int picture_height = SCREEN_HEIGHT;
int window_scale = 1;
int largest_scale = 1;
bool fullscreen = false;
int picture_left = 0;
int picture_top = 0;
int notice_frames = 0;
const char *notice = nullptr;
bool display_lost = false;
int frames_since_mode_change = 0;

constexpr long long ROOM_TENTHS = 9;  // a window may take nine tenths of the desktop each way
constexpr int MOST_UNUSED_FIFTHS = 1; // fullscreen fills the height when more would stay black
constexpr int NOTICE_FRAMES = 2 * TICKS_PER_SECOND; // two seconds at full speed
constexpr int MODE_CHANGE_SETTLE_FRAMES = TICKS_PER_SECOND / 2;
static const char *const WINDOW_TITLE = "Moonstruck";

static BITMAP *scaled = nullptr; // the picture at the display's scale, when that is above 1
static int desktop_w = SCREEN_WIDTH;
static int desktop_h = SCREEN_HEIGHT;
static int fullscreen_largest = 1; // the most the monitor holds edge to edge
static int fit_w = 0, fit_h = 0;   // fullscreen's picture filling the height, when it does; else 0
// the window's centre on the desktop before its size last changed, to keep it there
static bool centre_known = false;
static int centre_x = 0, centre_y = 0;

static int largest_scale_within(long long w, long long h) {
    int scale = 1;
    while (scale < MAX_SCALE && (scale + 1) * SCREEN_WIDTH <= w && (scale + 1) * SCREEN_HEIGHT <= h)
        scale++;
    return scale;
}

int largest_window_scale(int desktop_w, int desktop_h) {
    return largest_scale_within(desktop_w * ROOM_TENTHS / 10, desktop_h * ROOM_TENTHS / 10);
}

int largest_fullscreen_scale(int screen_w, int screen_h) {
    return largest_scale_within(screen_w, screen_h);
}

bool fullscreen_picture_size(int screen_w, int screen_h, int &w, int &h) {
    const int scale = largest_fullscreen_scale(screen_w, screen_h);
    w = SCREEN_WIDTH * scale;
    h = SCREEN_HEIGHT * scale;
    if (static_cast<long long>(screen_h - h) * 5 <=
        static_cast<long long>(screen_h) * MOST_UNUSED_FIFTHS)
        return false;
    int fill_w = static_cast<int>(static_cast<long long>(screen_h) * SCREEN_WIDTH / SCREEN_HEIGHT);
    int fill_h = screen_h;
    if (fill_w > screen_w) { // a narrow screen: as wide as it is
        fill_w = screen_w;
        fill_h = static_cast<int>(static_cast<long long>(screen_w) * SCREEN_HEIGHT / SCREEN_WIDTH);
    }
    if (fill_h <= h)
        return false;
    w = fill_w;
    h = fill_h;
    return true;
}

int game_pixel_at(int offset, int picture_size, int game_size) {
    const long long n = static_cast<long long>(offset) * game_size;
    return static_cast<int>(n >= 0 ? n / picture_size : -((picture_size - 1 - n) / picture_size));
}

static void tell(const char *what) {
    notice = what;
    notice_frames = NOTICE_FRAMES;
}

// fullscreen fills the screen's height at a scale between whole numbers
static bool fitted() {
    return picture_width != SCREEN_WIDTH * display_scale ||
           picture_height != SCREEN_HEIGHT * display_scale;
}

// the scaled copy's bitmap, the picture's place on the screen and the pointer's range for a
// size of the picture on the screen; false when the copy's bitmap can't be had
static bool place_picture(int w, int h) {
    if (scaled)
        destroy_bitmap(scaled);
    scaled = nullptr;
    if (w != SCREEN_WIDTH || h != SCREEN_HEIGHT) {
        scaled = create_bitmap(w, h);
        if (!scaled)
            return false;
    }
    picture_width = w;
    picture_height = h;
    display_scale = std::max(1, w / SCREEN_WIDTH);
    picture_left = (SCREEN_W - w) / 2;
    picture_top = (SCREEN_H - h) / 2;
    clear_to_color(screen, makecol(0, 0, 0)); // the borders stay black from now on
    set_mouse_range(picture_left, picture_top, picture_left + w - 1, picture_top + h - 1);
    return true;
}

static bool place_at_scale(int scale) {
    return place_picture(SCREEN_WIDTH * scale, SCREEN_HEIGHT * scale);
}

// fullscreen's steps, as F9 and F10 take them: the whole scales from 1, then the picture filling
// the height when there is room for it
static bool place_at_step(int step) {
    if (step > fullscreen_largest)
        return place_picture(fit_w, fit_h);
    return place_at_scale(step);
}

// fullscreen covers the whole monitor at its own resolution, so that nothing switches the
// monitor's mode; the picture sits in the middle at the largest scale that fits, or as tall as
// the monitor when that scale would leave too much of it black
static bool try_fullscreen() {
    frames_since_mode_change = 0;
    if (set_gfx_mode(GFX_AUTODETECT_FULLSCREEN, desktop_w, desktop_h, 0, 0) != 0)
        return false;
    if (SCREEN_W < SCREEN_WIDTH || SCREEN_H < SCREEN_HEIGHT)
        return false;
    fullscreen_largest = largest_fullscreen_scale(SCREEN_W, SCREEN_H);
    int w = 0, h = 0;
    const bool fill = fullscreen_picture_size(SCREEN_W, SCREEN_H, w, h);
    fit_w = fill ? w : 0;
    fit_h = fill ? h : 0;
    if (!place_picture(w, h))
        return false;
    fullscreen = true;
    return true;
}

static bool try_window(int scale) {
    frames_since_mode_change = 0;
    if (set_gfx_mode(GFX_AUTODETECT_WINDOWED, SCREEN_WIDTH * scale, SCREEN_HEIGHT * scale, 0, 0) !=
        0)
        return false;
    if (!place_at_scale(scale))
        return false;
    set_window_title(WINDOW_TITLE);
    fullscreen = false;
    window_scale = scale;
    if (centre_known)
        centre_window_at(centre_x, centre_y);
    return true;
}

// the window at this scale or, when that can't be set, at the next smaller one that can
static bool open_window(int scale) {
    for (int s = scale; s >= 1; s--)
        if (try_window(s)) {
            if (s < scale)
                tell("The window couldn't be made that big");
            return true;
        }
    display_lost = true;
    return false;
}

// a window that worked a moment ago can't be had again: the game must end, saying why
static void reopen_window(int scale) {
    if (!open_window(scale))
        allegro_message("Couldn't set up a graphics mode!\n");
}

bool open_display() {
    int w = 0, h = 0;
    if (get_desktop_resolution(&w, &h) == 0 && w > 0 && h > 0) {
        desktop_w = w;
        desktop_h = h;
    }
    largest_scale = largest_window_scale(desktop_w, desktop_h);
    const bool opened = open_window(largest_scale);
    notice_frames = 0; // a smaller window than the desktop allows is no news at start-up
    return opened;
}

// where the window's centre is, before its size or mode changes, to put the new one there
static void note_window_centre() {
    if (!fullscreen)
        centre_known = window_centre(centre_x, centre_y);
}

void close_display() {
    if (scaled)
        destroy_bitmap(scaled);
    scaled = nullptr;
}

void step_scale(int by) {
    if (fullscreen) {
        const int top = fullscreen_largest + (fit_w > 0 ? 1 : 0);
        const int at = fitted() ? top : display_scale;
        const int step = std::clamp(at + by, 1, top);
        if (step != at && !place_at_step(step))
            place_at_scale(1);
        return;
    }
    int scale = std::clamp(window_scale + by, 1, largest_scale);
    if (scale != window_scale) {
        note_window_centre();
        reopen_window(scale);
    }
}

void toggle_fullscreen() {
    if (fullscreen) {
        reopen_window(window_scale);
        return;
    }
    note_window_centre();
    if (!try_fullscreen()) {
        reopen_window(window_scale);
        tell("Fullscreen isn't available here");
    }
}

bool mode_change_settling() {
    return frames_since_mode_change < MODE_CHANGE_SETTLE_FRAMES;
}

bool alt_held() {
    return key[KEY_ALT] || key[KEY_ALTGR];
}

void follow_display_keys() {
    frames_since_mode_change += 1;
    static bool smaller_was = false, bigger_was = false, full_was = false;
    const bool smaller = key[KEY_F9];
    const bool bigger = key[KEY_F10];
    const bool full = key[KEY_F11] || (alt_held() && key[KEY_ENTER]);
    if (smaller && !smaller_was)
        step_scale(-1);
    if (bigger && !bigger_was)
        step_scale(+1);
    if (full && !full_was)
        toggle_fullscreen();
    smaller_was = smaller;
    bigger_was = bigger;
    full_was = full;
}

// one row of the picture, each pixel repeated scale times; 2 and 4, the common scales, are
// written a whole block of pixels at a time
static void widen_row(const uint16_t *in, unsigned char *out, int w, int scale) {
    if (scale == 2) {
        for (int x = 0; x < w; x++) {
            const uint32_t block = in[x] * 0x00010001u;
            std::memcpy(out + 4 * x, &block, sizeof block);
        }
    } else if (scale == 4) {
        for (int x = 0; x < w; x++) {
            const uint64_t block = in[x] * 0x0001000100010001ull;
            std::memcpy(out + 8 * x, &block, sizeof block);
        }
    } else {
        for (int x = 0; x < w; x++)
            for (int k = 0; k < scale; k++)
                std::memcpy(out + 2 * (x * scale + k), &in[x], sizeof in[x]);
    }
}

// the library's stretch_blit gives the same blocks, at about three times the cost; it is kept
// for bitmaps the fast copy can't read or write directly
void scale_picture(BITMAP *from, BITMAP *to, int scale) {
    const int w = from->w, h = from->h;
    if (bitmap_color_depth(from) != 16 || bitmap_color_depth(to) != 16 || !is_memory_bitmap(from) ||
        !is_memory_bitmap(to) || to->w < w * scale || to->h < h * scale) {
        stretch_blit(from, to, 0, 0, w, h, 0, 0, w * scale, h * scale);
        return;
    }
    const size_t row_bytes = static_cast<size_t>(w) * scale * sizeof(uint16_t);
    for (int y = 0; y < h; y++) {
        unsigned char *out = to->line[y * scale];
        widen_row(reinterpret_cast<const uint16_t *>(from->line[y]), out, w, scale);
        for (int k = 1; k < scale; k++)
            std::memcpy(to->line[y * scale + k], out, row_bytes);
    }
}

// each screen column or row of a fitted picture, and the game column or row it shows
static void map_pixels(std::vector<int> &map, int picture_size, int game_size) {
    map.resize(picture_size);
    for (int i = 0; i < picture_size; i++)
        map[i] = game_pixel_at(i, picture_size, game_size);
}

// nearest-neighbour through a map of columns and rows made once per size: the picture stays sharp,
// and a game pixel is shown the whole number of screen pixels just below or above the ratio
void fit_picture(BITMAP *from, BITMAP *to) {
    if (bitmap_color_depth(from) != 16 || bitmap_color_depth(to) != 16 || !is_memory_bitmap(from) ||
        !is_memory_bitmap(to)) {
        stretch_blit(from, to, 0, 0, from->w, from->h, 0, 0, to->w, to->h);
        return;
    }
    static std::vector<int> column_of, row_of;
    static int from_w = 0, from_h = 0;
    if (from_w != from->w || from_h != from->h || static_cast<int>(column_of.size()) != to->w ||
        static_cast<int>(row_of.size()) != to->h) {
        from_w = from->w;
        from_h = from->h;
        map_pixels(column_of, to->w, from->w);
        map_pixels(row_of, to->h, from->h);
    }
    const size_t row_bytes = static_cast<size_t>(to->w) * sizeof(uint16_t);
    for (int y = 0; y < to->h; y++) {
        if (y > 0 && row_of[y] == row_of[y - 1]) {
            std::memcpy(to->line[y], to->line[y - 1], row_bytes);
            continue;
        }
        const uint16_t *in = reinterpret_cast<const uint16_t *>(from->line[row_of[y]]);
        uint16_t *out = reinterpret_cast<uint16_t *>(to->line[y]);
        for (int x = 0; x < to->w; x++)
            out[x] = in[column_of[x]];
    }
}

// the notice in a black band across the top of the picture, over the game
static void draw_notice(BITMAP *picture) {
    if (notice_frames <= 0 || !notice)
        return;
    notice_frames -= 1;
    const int width = text_length(font, notice) + 16;
    const int left = (SCREEN_WIDTH - width) / 2;
    rectfill(picture, left, 0, left + width - 1, text_height(font) + 7, makecol(0, 0, 0));
    textout_centre_ex(picture, font, notice, SCREEN_WIDTH / 2, 4, makecol(255, 255, 255), -1);
}

void show_picture(BITMAP *picture) {
    if (!screen)
        return;
    draw_notice(picture);
    if (!scaled) {
        blit(picture, screen, 0, 0, picture_left, picture_top, SCREEN_WIDTH, SCREEN_HEIGHT);
        return;
    }
    if (fitted())
        fit_picture(picture, scaled);
    else
        scale_picture(picture, scaled, display_scale);
    blit(scaled, screen, 0, 0, picture_left, picture_top, scaled->w, scaled->h);
}

int pointer_x() {
    return game_pixel_at(mouse_x - picture_left, picture_width, SCREEN_WIDTH);
}

int pointer_y() {
    return game_pixel_at(mouse_y - picture_top, picture_height, SCREEN_HEIGHT);
}
