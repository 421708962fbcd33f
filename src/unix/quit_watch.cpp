// quit_watch.cpp (POSIX): the quit signals held while the library starts, and the semaphore the
// watchdog sleeps on.
#include "quit_watch.h"
#include "quit_watch_system.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <ctime>
#include <thread>

#include <pthread.h>
#include <semaphore.h>

// posted by the first quit: a signal handler may post a semaphore, where it may not notify a
// condition variable
static sem_t quit_asked;

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

void watch_the_start() {
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

bool ready_the_wake() {
    library_starting = true;
    return sem_init(&quit_asked, 0, 0) == 0;
}

void library_started() {
    library_starting = false;
}

void sleep_until_woken() {
    sem_wait(&quit_asked);
}

void wake_the_watchdog() {
    sem_post(&quit_asked);
}
