// quit_watch.cpp (Windows): the watchdog, asleep on an event until a quit is asked for; the C
// runtime's signals are no threat to the library's start, so none are held.
#include "quit_watch.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

#include <windows.h>

// once a quit is asked for, the process is gone within a second whatever a library thread is stuck
// in (a sound device that takes no more samples, a window that stopped answering): the orderly
// shutdown has this long, then the watchdog ends the process with the quit's exit code
constexpr auto QUIT_GRACE = std::chrono::milliseconds(400);
constexpr int NOT_QUITTING = -1;
static std::atomic<int> quit_code{NOT_QUITTING};

// set by the first quit, from whichever thread asks: the library's window thread (the close
// button), the runtime's Ctrl-C thread or the main thread
static HANDLE quit_asked;
static std::atomic<bool> watching{false}; // quit_asked is ready; before that there is none to set

void hold_quit_signals(bool) {}

static void watch_the_quit() {
    // a quit asked for before the watch began is seen here
    while (quit_code == NOT_QUITTING)
        WaitForSingleObject(quit_asked, INFINITE);
    std::this_thread::sleep_for(QUIT_GRACE);
    std::_Exit(quit_code);
}

void start_quit_watch() {
    quit_asked = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!quit_asked) // no watchdog then: the orderly shutdown is all there is
        return;
    watching = true;
    std::thread(watch_the_quit).detach();
}

void library_started() {}

void end_within_a_second(int exit_code) {
    int none = NOT_QUITTING;
    if (quit_code.compare_exchange_strong(none, exit_code) && watching)
        SetEvent(quit_asked);
}
