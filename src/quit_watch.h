// quit_watch.h: the end within a second of a quit: the quit signals held at start-up, the watchdog.
#pragma once

// SIGINT and SIGTERM wait in this thread, and in every thread started from it meanwhile (on
// systems with POSIX signals; elsewhere nothing is held)
void hold_quit_signals(bool hold);

// starts the watchdog, with the quit signals held and the library about to start: until
// library_started, a held signal ends the game by the signal as soon as the library is out of the
// way, or has been stuck too long; from then on the watchdog sleeps until a quit is asked for
void start_quit_watch();
void library_started();

// from now on the process ends within a second with this exit code, by the orderly shutdown or,
// when a library thread holds that up, directly; the first code given stands. Safe in a signal
// handler
void end_within_a_second(int exit_code);
