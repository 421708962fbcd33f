// main.h: the program frame that everything stands on: the scores, start-up and shutdown, the
// tick counter and the run of a frame's ticks.
#pragma once

#include "measures.h"

#include <allegro.h>

#include <atomic>

// ticks caught up at most after a stall (a stopped process, a busy machine); the rest are dropped
constexpr int CATCH_UP_LIMIT = TICKS_PER_SECOND / 5;

// what a state routine returns: the state to run on the next tick
constexpr short STATE_QUIT = -1;
constexpr short STATE_MENU = 0;
constexpr short STATE_PLAYING = 1;
constexpr short STATE_GAME_OVER = 2;

extern std::atomic<int> counter; // ticks due and not yet run, raised by the timer
extern int level;                // the current level, which multiplies every kill's points
extern int score;                // of the game in play, or of the last one
extern int highscore;            // best score of this run, kept in memory only
extern long long ticks_run;      // ticks run since the start, dropped ones not counted

// brings up the library, the window, the timer and every picture and sound;
// 0 on success, 1 after telling the user what went wrong
short init_everything();
void shutdown_everything();

void update_counter();

// runs the ticks that are due, each opened by a black clear and given to the routine of the
// state, which answers with the state of the next tick
void run_pending_ticks(short &state, short (*run_state)(short));
// paints the queue and shows the picture at the display's scale, after the display's keys
void present_frame();
