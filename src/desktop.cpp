// desktop.cpp: the window as the desktop sees it, the display going away, focus, pause and mute.
#include "desktop.h"

#include "display.h"
#include "draw.h"
#include "main.h"
#include "media.h"
#include "screens.h"

#include <allegro.h>

#include <algorithm>
#include <csignal>
#include <unistd.h>

#ifdef ALLEGRO_WITH_XWINDOWS
#include <xalleg.h>

#include "window_icon.xpm"

extern void *allegro_icon; // the library's X11 driver puts this picture on its window
#endif

_desktop desktop;
std::atomic<bool> focus_lost{false};

static BITMAP *paused_picture; // the last picture of the game before it was paused

constexpr int FULL_VOLUME = 255;
constexpr int NOTICE_TICKS = TICKS_PER_SECOND * 3 / 2;

void _desktop::init() {
    paused = false;
    sound_on = true;
    notice_ticks = 0;
    repaint = false;
    p_held = m_held = pause_latch = false;
    set_volume(FULL_VOLUME, -1);
}

#ifdef ALLEGRO_WITH_XWINDOWS
// the display is gone: say so and end here, on whichever thread found out, without the library's
// exit-time shutdown, which would unload its drivers under the main thread
static int display_gone(Display *) {
    static const char line[] = "Lost the connection to the display\n";
    ssize_t written = write(STDERR_FILENO, line, sizeof line - 1);
    (void)written;
    _exit(1);
}
#endif

void prepare_the_window() {
#ifdef ALLEGRO_WITH_XWINDOWS
    // the library reads both when it makes its window, inside allegro_init
    xwin_set_window_name("moonstruck", "moonstruck");
    allegro_icon = window_icon_xpm;
    XSetIOErrorHandler(display_gone);
    // a write to a closed display then fails, and reaches display_gone, instead of killing us
    signal(SIGPIPE, SIG_IGN);
#endif
}

// called on the library's input thread
static void window_lost_focus() {
    focus_lost = true;
}

short start_desktop() {
    // the library's X11 driver only offers to keep running in the background, which is what the
    // game wants; its callback tells of the focus going
    set_display_switch_callback(SWITCH_OUT, window_lost_focus);
    paused_picture = create_bitmap(SCREEN_WIDTH, SCREEN_HEIGHT);
    if (!paused_picture) {
        allegro_message("Couldn't create the paused game's picture!\n");
        return 1;
    }
    opaque_pictures.push_back(paused_picture); // it covers the screen: copied, never masked
    desktop.init();
    return 0;
}

void stop_desktop() {
    remove_display_switch_callback(window_lost_focus);
    opaque_pictures.erase(
        std::remove(opaque_pictures.begin(), opaque_pictures.end(), paused_picture),
        opaque_pictures.end());
    destroy_bitmap(paused_picture);
    paused_picture = nullptr;
}

// true on the tick a key goes down
static bool pressed(int k, bool &held) {
    bool was = held;
    held = key[k] != 0;
    return held && !was;
}

// the library's Pause key goes down on one press and up on the next
static bool pause_key_pressed() {
    bool was = desktop.pause_latch;
    desktop.pause_latch = key[KEY_PAUSE] != 0;
    return desktop.pause_latch != was;
}

static void switch_sound() {
    desktop.sound_on = !desktop.sound_on;
    set_volume(desktop.sound_on ? FULL_VOLUME : 0, -1);
    if (desktop.sound_on) // the loop, silenced where it was, plays on at full volume
        adjust_sample(sweird, FULL_VOLUME, 128, 1000, 1);
    desktop.notice_ticks = NOTICE_TICKS;
    desktop.repaint = true;
}

static void show_sound_notice() {
    if (desktop.notice_ticks <= 0)
        return;
    desktop.notice_ticks -= 1;
    if (desktop.notice_ticks == 0) // to take it off a paused game's picture
        desktop.repaint = true;
    buffer_textout_centre_ex(font, desktop.sound_on ? "Sound on" : "Sound off", 320, 8, white());
}

// keeps the picture of the tick just run, painting it now rather than with the frame
static void pause_game() {
    desktop.paused = true;
    desktop.repaint = true;
    stop_sample(sweird);
    draw_all();
    blit(back_buffer, paused_picture, 0, 0, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT);
}

static void resume_game() {
    desktop.paused = false;
    play_sample(sweird, FULL_VOLUME, 128, 1000, 1); // the loop starts again from its beginning
}

// the picture covers the whole screen, so it drops the frame's clear, and while it stays the same
// the back buffer keeps it: a paused game costs little more than copying it to the screen
static void draw_paused_game() {
    if (!drawqueue.empty() && drawqueue.back().type == CMD_CLEAR_TO_COLOR)
        drawqueue.pop_back();
    if (!desktop.repaint)
        return;
    desktop.repaint = false;
    buffer_draw_sprite(paused_picture, 0, 0);
    buffer_rectfill(170, 205, 470, 250, black());
    buffer_rect(170, 205, 470, 250, white());
    buffer_textout_centre_ex(font, "Paused", 320, 215, white());
    buffer_textout_centre_ex(font, "P to play on, Esc to leave the game", 320, 233, white());
}

// a paused game runs no tick of its own; Esc hands the tick to the game, which leaves as it
// always does
static short paused_tick(bool pause_pressed) {
    if (key[KEY_ESC]) {
        desktop.paused = false;
        return run_state(STATE_PLAYING);
    }
    if (pause_pressed) {
        resume_game();
        return run_state(STATE_PLAYING);
    }
    draw_paused_game();
    return STATE_PLAYING;
}

short desktop_tick(short state) {
    bool pause_pressed = pressed(KEY_P, desktop.p_held);
    pause_pressed = pause_key_pressed() || pause_pressed; // both keys' states are kept
    bool lost = focus_lost.exchange(false) && !mode_change_settling();
    if (pressed(KEY_M, desktop.m_held))
        switch_sound();

    if (state == STATE_PLAYING && desktop.paused) {
        state = paused_tick(pause_pressed && !lost);
    } else {
        bool was_playing = state == STATE_PLAYING;
        state = run_state(state);
        if (was_playing && state == STATE_PLAYING && (pause_pressed || lost))
            pause_game();
    }
    show_sound_notice();
    return state;
}
