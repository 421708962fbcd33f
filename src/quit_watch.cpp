// quit_watch.cpp (Linux and Windows): the watchdog, asleep until a quit is asked for, which ends
// the process with the quit's exit code when the orderly shutdown takes too long.
#include "quit_watch.h"

#include "quit_watch_system.h"

#include <atomic>
#include <cstdlib>
#include <thread>

constexpr int NOT_QUITTING = -1;
static std::atomic<int> quit_code{NOT_QUITTING};
static_assert(std::atomic<int>::is_always_lock_free, "set from a signal handler");
static std::atomic<bool> watching{false}; // the wake is ready; before that there is none to give
static_assert(std::atomic<bool>::is_always_lock_free, "read in a signal handler");

static void watch_the_quit() {
    watch_the_start();
    // a sleep cut short, or a quit asked for before the watch began, is seen here
    while (quit_code == NOT_QUITTING)
        sleep_until_woken();
    std::this_thread::sleep_for(QUIT_GRACE);
    std::_Exit(quit_code);
}

void start_quit_watch() {
    if (!ready_the_wake()) // no watchdog then: the orderly shutdown is all there is
        return;
    watching = true;
    std::thread(watch_the_quit).detach();
}

void end_within_a_second(int exit_code) {
    int none = NOT_QUITTING;
    if (quit_code.compare_exchange_strong(none, exit_code) && watching)
        wake_the_watchdog();
}
