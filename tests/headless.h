// headless.h: the game on the library with no system driver, for the unit tests and benchmarks.
//
// Pictures are memory bitmaps, the keyboard is the key[] array written directly, and a
// stand-in graphics driver reports a 640 by 480 screen so that SCREEN_W and SCREEN_H read as
// they do in play.
#pragma once

// the library, 16-bit colour, the screen size and back_buffer; false if the library won't start
bool start_headless_library();
void stop_headless_library();

// every list emptied, a fresh one-player ship, score 0 on level 1, no key or button held
void reset_game_globals(unsigned seed);
