// quit_watch.cpp (POSIX): the quit signals held while the library starts, and the watchdog, asleep
// on a semaphore until a quit is asked for.
#include "quit_watch.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <thread>

#include <pthread.h>
#include <semaphore.h>

// once a quit is asked for, the process is gone within a second whatever a library thread is stuck
// in (a sound device that takes no more samples, a display that stopped answering): the orderly
// shutdown has this long, then the watchdog ends the process with the quit's exit code
constexpr auto QUIT_GRACE = std::chrono::milliseconds(400);
constexpr int NOT_QUITTING = -1;
static std::atomic<int> quit_code{NOT_QUITTING};
static_assert(std::atomic<int>::is_always_lock_free, "set from a signal handler");

// posted by the first quit: a signal handler may post a semaphore, where it may not notify a
// condition variable
static sem_t quit_asked;
static std::atomic<bool> watching{false}; // quit_asked is ready; before that there is none to wake
static_assert(std::atomic<bool>::is_always_lock_free, "read in a signal handler");

// SIGINT and SIGTERM are held back while the library starts, in this thread and every thread it
// starts: its own handlers would shut it down from inside the signal, half started, and a connect
// to the display cut short would look like no display at all. The watchdog takes them meanwhile,
// and ends the game by the signal as soon as the library is out of the way, or has been stuck too
// long.
static std::atomic<bool> library_starting{false};

static sigset_t quit_signals() {
    sigset_t quit;
    sigemptyset(&quit);
    sigaddset(&quit, SIGINT);
    sigaddset(&quit, SIGTERM);
    return quit;
}

void hold_quit_signals(bool hold) {
    const sigset_t quit = quit_signals();
    pthread_sigmask(hold ? SIG_BLOCK : SIG_UNBLOCK, &quit, nullptr);
}

// ends the process by the signal's own default action, whatever handler the library put in place
static void die_by(int signal_number) {
    signal(signal_number, SIG_DFL);
    sigset_t one;
    sigemptyset(&one);
    sigaddset(&one, signal_number);
    pthread_sigmask(SIG_UNBLOCK, &one, nullptr);
    raise(signal_number);
}

// on the watchdog's thread, until the library has started
static void watch_the_start() {
    const sigset_t quit = quit_signals();
    const timespec slice = {0, 10'000'000};
    int taken = 0;
    while (library_starting && taken <= 0)
        taken = sigtimedwait(&quit, nullptr, &slice);
    if (taken <= 0)
        return;
    const auto until = std::chrono::steady_clock::now() + QUIT_GRACE;
    while (library_starting && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    die_by(taken);
}

static void watch_the_quit() {
    watch_the_start();
    // a wait cut short by a signal, or a quit asked for before the watch began, is seen here
    while (quit_code == NOT_QUITTING)
        sem_wait(&quit_asked);
    std::this_thread::sleep_for(QUIT_GRACE);
    std::_Exit(quit_code);
}

void start_quit_watch() {
    sem_init(&quit_asked, 0, 0);
    watching = true;
    library_starting = true;
    std::thread(watch_the_quit).detach();
}

void library_started() {
    library_starting = false;
}

void end_within_a_second(int exit_code) {
    int none = NOT_QUITTING;
    if (quit_code.compare_exchange_strong(none, exit_code) && watching)
        sem_post(&quit_asked);
}
