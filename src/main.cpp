// main.cpp: start-up and shutdown of the library, the window and the timer; the run of ticks.
#include "main.h"

#include "display.h"
#include "draw.h"
#include "gamepad.h"
#include "media.h"
#include "quit_watch.h"
#include "sound.h"

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

std::atomic<int> counter{0};
int level = 1;
int score = 0;
int highscore = 0;
long long ticks_run = 0;

static std::atomic<bool> close_requested{false};

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
    start_quit_watch();
    const int started = allegro_init();
    library_started();
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
