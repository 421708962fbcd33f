// main.h: the program frame: start-up, the pictures and sounds, the tick counter,
// the title menu and the game-over screen.
#pragma once

#include <allegro.h>

#include <atomic>

constexpr int TICKS_PER_SECOND = 50;
constexpr int SCREEN_WIDTH = 640;
constexpr int SCREEN_HEIGHT = 480;

// what a state routine returns: the state to run on the next tick
constexpr short STATE_QUIT = -1;
constexpr short STATE_MENU = 0;
constexpr short STATE_PLAYING = 1;
constexpr short STATE_GAME_OVER = 2;

extern std::atomic<int> counter; // ticks due and not yet run, raised by the timer
extern int highscore;            // best score of this run, kept in memory only

extern BITMAP *back_buffer; // the picture being composed, copied to the screen each frame

// the pictures; pairs hold the crazy picture at 0 and the sane one at 1
extern BITMAP *banana, *title, *insanity, *health, *ship, *cow, *targeting, *shotplus, *shotminus;
extern BITMAP *shot[2], *enemy1[2], *enemy2[2], *enemy3[2], *eshot1[2];

// the sounds
extern SAMPLE *sthud, *sweird, *sboing, *sfire, *shurt, *sgonenuts, *sow, *ssmallboom, *smoo,
    *scrazylaugh;

// brings up the library, the window, the timer and every picture and sound;
// 0 on success, 1 after telling the user what went wrong
short init_everything();
void shutdown_everything();

// loads every picture and sound from media/ under the working directory; the path of the
// first that won't load, or null
const char *load_media();
// safe on a half-loaded set: whatever failed to load is still null
void release_media();

void update_counter();

// runs the ticks that are due, each opened by a black clear, switching states as they ask
void run_pending_ticks(short &state);
void present_frame();

short menu();
short dead();
