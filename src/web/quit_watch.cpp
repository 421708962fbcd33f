// quit_watch.cpp (browser): nothing to watch: the page has no signals, and nothing of the
// library's runs on a thread of its own that could hold up the end of the game.
#include "quit_watch.h"

void hold_quit_signals(bool) {}

void start_quit_watch() {}

void library_started() {}

void end_within_a_second(int) {}
