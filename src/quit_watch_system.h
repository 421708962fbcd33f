// quit_watch_system.h: what each system gives the quit watchdog of quit_watch.cpp (src/unix/,
// src/win/): the wake it sleeps on, and the watch over the library's start.
#pragma once

#include <chrono>

// once a quit is asked for, the process is gone within a second whatever a library thread is stuck
// in (a sound device that takes no more samples, a display that stopped answering): the orderly
// shutdown has this long, then the watchdog ends the process with the quit's exit code
constexpr auto QUIT_GRACE = std::chrono::milliseconds(400);

// makes the wake ready, with the library about to start; false when it can't be had
bool ready_the_wake();
// on the watchdog's thread, until library_started: a quit signal meanwhile ends the game by it
void watch_the_start();
// returns once woken, or sooner; the watchdog looks again whether a quit was asked for
void sleep_until_woken();
// safe in a signal handler
void wake_the_watchdog();
