// display.h: the window's scale and fullscreen, the scaled copy to the screen, the pointer.
#pragma once

#include <allegro.h>

constexpr int MAX_SCALE = 8; // no desktop yet needs more, and it bounds the scaled copy

extern int display_scale; // screen pixels to a game pixel, along each side, in a whole-number scale
extern int picture_width; // the picture's size on the screen, in screen pixels
extern int picture_height;
extern int window_scale;   // the scale the window has, kept while fullscreen
extern int largest_scale;  // the most the desktop has room for in a window
extern bool fullscreen;    // the picture on the whole monitor, black around it
extern int picture_left;   // the picture's top-left corner on the screen, in screen pixels
extern int picture_top;    // (not 0 only in fullscreen, where black borders surround it)
extern int notice_frames;  // frames the display's notice stays up
extern const char *notice; // what the display has to tell the player, or null
extern bool display_lost;  // no mode could be set again after a change: the game must end
extern int frames_since_mode_change; // frames shown since the screen's mode was last set

// the screen's mode was set a moment ago, and the library's windows may still be trading the
// focus: a loss of focus now is not the player going elsewhere
bool mode_change_settling();

// the largest whole scale at which the picture fits a desktop, with a tenth of it left for
// panels and window borders; 1 when even that is too much
int largest_window_scale(int desktop_w, int desktop_h);
// the largest whole scale at which the picture fits a screen edge to edge
int largest_fullscreen_scale(int screen_w, int screen_h);

// the picture's size in fullscreen: at the largest whole scale, or, when that would leave more than
// a fifth of the screen's height unused, as tall as the screen (as wide, on a narrow one) in the
// picture's shape; true for the latter
bool fullscreen_picture_size(int screen_w, int screen_h, int &w, int &h);
// the game pixel a screen pixel shows, counted from the picture's edge, along a side of game_size
// pixels shown over picture_size screen pixels; rounds towards the top left also outside the
// picture
int game_pixel_at(int offset, int picture_size, int game_size);

// opens the window at the largest scale that works, down to 640 by 480; false when none does
bool open_display();
void close_display();
// steps the scale down or up within 1 and the largest, as F9 and F10 do
void step_scale(int by);
// into fullscreen or back into the window, as F11 and Alt+Enter do
void toggle_fullscreen();
// the display's keys, each acted on once when pressed: F9, F10, F11 and Alt+Enter
void follow_display_keys();
// whether Alt is held, so that Alt+Enter is not also the menu's Enter
bool alt_held();

// copies the picture onto a bitmap scale times its size, each pixel an exact square block
void scale_picture(BITMAP *from, BITMAP *to, int scale);
// copies the picture onto a bitmap of any size, each screen pixel showing the game pixel
// game_pixel_at names: every game pixel gets the whole screen pixels its share rounds to
void fit_picture(BITMAP *from, BITMAP *to);
// the picture on the screen at the current scale, with the notice, if any, over it
void show_picture(BITMAP *picture);

// the pointer in pixels of the 640 by 480 picture
int pointer_x();
int pointer_y();
