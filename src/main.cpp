// main.cpp: start-up and shutdown of the library, the window and the timer; the run of ticks.
#include "main.h"

#include "display.h"
#include "draw.h"
#include "gamepad.h"
#include "media.h"
#include "sound.h"

#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <thread>

std::atomic<int> counter{0};
int level = 1;
int score = 0;
int highscore = 0;
long long ticks_run = 0;

static std::atomic<bool> close_requested{false};

// once a quit is asked for, the process is gone within a second whatever a library thread is stuck
// in (a sound device that takes no more samples, a display that stopped answering): the orderly
// shutdown has this long, then the watchdog ends the process with the quit's exit code (the
// browser's page has no watchdog: nothing of the library's can be stuck on a thread there)
#ifndef __EMSCRIPTEN__
constexpr auto QUIT_GRACE = std::chrono::milliseconds(400);
#endif
constexpr int NOT_QUITTING = -1;
static std::atomic<int> quit_code{NOT_QUITTING};
static_assert(std::atomic<int>::is_always_lock_free, "set from a signal handler");

void end_within_a_second(int exit_code) {
    int none = NOT_QUITTING;
    quit_code.compare_exchange_strong(none, exit_code);
}

// SIGINT and SIGTERM are held back while the library starts, in this thread and every thread it
// starts: its own handlers would shut it down from inside the signal, half started, and a connect
// to the display cut short would look like no display at all. The watchdog takes them meanwhile,
// and ends the game by the signal as soon as the library is out of the way, or has been stuck too
// long.
static std::atomic<bool> library_starting{false};

// the browser's page has neither signals nor library threads of its own to be stuck in
#if defined(ALLEGRO_UNIX) && !defined(__EMSCRIPTEN__)
#define HOLDS_QUIT_SIGNALS
#endif

#ifdef HOLDS_QUIT_SIGNALS
static sigset_t quit_signals() {
    sigset_t quit;
    sigemptyset(&quit);
    sigaddset(&quit, SIGINT);
    sigaddset(&quit, SIGTERM);
    return quit;
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
#endif

#ifndef __EMSCRIPTEN__
static void watch_the_quit() {
#ifdef HOLDS_QUIT_SIGNALS
    watch_the_start();
#endif
    while (quit_code == NOT_QUITTING)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::this_thread::sleep_for(QUIT_GRACE);
    std::_Exit(quit_code);
}
#endif

static void start_the_watchdog() {
#ifndef __EMSCRIPTEN__
    std::thread(watch_the_quit).detach();
#endif
}

// the quit signals wait in this thread, and in every thread started from it meanwhile
static void hold_quit_signals(bool hold) {
#ifdef HOLDS_QUIT_SIGNALS
    const sigset_t quit = quit_signals();
    pthread_sigmask(hold ? SIG_BLOCK : SIG_UNBLOCK, &quit, nullptr);
#else
    (void)hold;
#endif
}

void update_counter() {
    counter += 1;
}

// the window's close button, Ctrl-C and a polite kill all quit as "Exit" does, at the end of the
// tick; the close button is heard on the library's input thread
static void ask_to_quit() {
    close_requested = true;
    end_within_a_second(0);
}
static void quit_signal(int) {
    ask_to_quit();
}

// from here until start-up is over a signal ends the game at once, by the signal
static void let_quit_signals_kill() {
    signal(SIGINT, SIG_DFL);
    signal(SIGTERM, SIG_DFL);
    hold_quit_signals(false);
}

// tells the player why the game can't start, and gives init_everything's failure code; the
// library's exit-time shutdown that follows may meet a stuck thread too
static short fail(const std::string &why) {
    allegro_message("%s\n", why.c_str());
    end_within_a_second(1);
    return 1;
}

short init_everything() {
    hold_quit_signals(true);
    library_starting = true;
    start_the_watchdog();
    const int started = allegro_init();
    library_starting = false;
    let_quit_signals_kill();
    if (started != 0) {
        // with no window system to talk to, the message goes to the terminal
        if (allegro_error[0])
            fprintf(stderr, "Couldn't start the Allegro library: %s\n", allegro_error);
        else
            fprintf(stderr, "Couldn't start the Allegro library: is there an X display?\n");
        return 1;
    }
    if (install_keyboard() != 0)
        return fail("Couldn't install the keyboard!");
    if (install_timer() != 0)
        return fail("Couldn't install the timer!");
    install_mouse(); // without a mouse only the mouse gun is lost
    install_gamepad();
    srand(time(nullptr));

    set_color_depth(16);
    if (!open_display())
        return fail("Couldn't set up a graphics mode!");
    set_close_button_callback(ask_to_quit);

    start_sound(); // no sound card, or one that does not answer, means a silent game
    install_int_ex(update_counter, BPS_TO_TIMER(TICKS_PER_SECOND));
    back_buffer = create_bitmap(SCREEN_WIDTH, SCREEN_HEIGHT);
    if (!back_buffer)
        return fail("Couldn't create the back buffer!");
    if (const char *unloaded = load_media()) {
        release_media();
        return fail(unloaded);
    }
    signal(SIGINT, quit_signal);
    signal(SIGTERM, quit_signal);
    return 0;
}

void shutdown_everything() {
    hold_quit_signals(true); // the quit is under way, and the library's handlers come back now
    remove_int(update_counter);
    destroy_bitmap(back_buffer);
    back_buffer = nullptr;
    release_media();
    close_display();
    allegro_exit();
}

void run_pending_ticks(short &state, short (*run_state)(short)) {
    while (counter > 0) {
        int backlog = counter;
        if (backlog > CATCH_UP_LIMIT)
            counter -= backlog - CATCH_UP_LIMIT;
        buffer_clear_to_color(black());
        read_gamepad();
        state = run_state(state);
        ticks_run += 1;
        if (close_requested || display_lost)
            state = STATE_QUIT;
        counter -= 1;
    }
}

void present_frame() {
    draw_all();
    follow_display_keys();
    show_picture(back_buffer);
}
