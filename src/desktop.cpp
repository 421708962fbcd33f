// desktop.cpp: the game on a desktop: the keyboard focus, pause and mute.
#include "desktop.h"

#include "display.h"
#include "draw.h"
#include "logic.h"
#include "main.h"
#include "media.h"
#include "screens.h"

#include <allegro.h>

#include <algorithm>

_desktop desktop;
std::atomic<bool> focus_lost{false};

static BITMAP *paused_picture; // the last picture of the game before it was paused
static BITMAP *mute_mark;      // a crossed-out loudspeaker, shown while the sound is off

constexpr int MARK_W = 14, MARK_H = 11;
constexpr int MARK_X = 4, MARK_Y = SCREEN_HEIGHT - 4 - MARK_H; // the bottom left corner

constexpr int FULL_VOLUME = 255;
// the mixer's headroom: every sound peaks at -3 dBFS, and at the library's default a sound alone
// fills half the scale, so three at once clipped; at a quarter each (-15 dBFS) it takes six sounds
// at their peaks together, and the loop keeps its place beside the effects
constexpr int VOICE_VOLUME_HALVINGS = 2;
// and the whole mix 3 dB under that, since sounds started together add up: a whole game by a player
// who never dodges has peaked within 3 dB of full scale
constexpr int MIX_VOLUME = FULL_VOLUME * 707 / 1000;
constexpr int NOTICE_TICKS = TICKS_PER_SECOND * 3 / 2;

void _desktop::init() {
    paused = false;
    sound_on = true;
    notice_ticks = 0;
    repaint = false;
    p_held = m_held = pause_latch = false;
    set_volume(MIX_VOLUME, -1);
    set_volume_per_voice(VOICE_VOLUME_HALVINGS);
}

// called on the library's input thread
static void window_lost_focus() {
    focus_lost = true;
}

// a loudspeaker's box and cone and a cross beside it, in grey on the mask colour
static BITMAP *make_mute_mark() {
    BITMAP *mark = create_bitmap(MARK_W, MARK_H);
    if (!mark)
        return nullptr;
    const int grey = makecol(160, 160, 160);
    clear_to_color(mark, bitmap_mask_color(mark));
    rectfill(mark, 0, 3, 2, 7, grey);
    for (int x = 3; x <= 7; x++) // the cone widens to the right
        vline(mark, x, 5 - (x - 2), 5 + (x - 2), grey);
    line(mark, 9, 3, 13, 7, grey);
    line(mark, 9, 7, 13, 3, grey);
    return mark;
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
    mute_mark = make_mute_mark();
    if (!mute_mark) {
        allegro_message("Couldn't create the mark of the sound turned off!\n");
        stop_desktop();
        return 1;
    }
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
    destroy_bitmap(mute_mark); // none if its making failed
    mute_mark = nullptr;
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
    set_volume(desktop.sound_on ? MIX_VOLUME : 0, -1);
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

// while the sound is off, the mark goes into the frame's queue just after its clear, under
// everything of the game
static void mark_sound_off() {
    if (desktop.sound_on || !mute_mark)
        return;
    const bool cleared = !drawqueue.empty() && drawqueue.front().type == CMD_CLEAR_TO_COLOR;
    buffer_draw_sprite(mute_mark, MARK_X, MARK_Y);
    std::rotate(drawqueue.begin() + cleared, drawqueue.end() - 1, drawqueue.end());
}

// the mark over the paused game's picture, which is a still
static void mark_sound_off_over() {
    if (!desktop.sound_on && mute_mark)
        buffer_draw_sprite(mute_mark, MARK_X, MARK_Y);
}

// keeps the picture of the tick just run, painting it now rather than with the frame; the mark is
// not queued yet, and the frame it would have gone into is painted here
static void pause_game() {
    desktop.paused = true;
    desktop.repaint = true;
    hold_loop();
    draw_all();
    blit(back_buffer, paused_picture, 0, 0, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT);
}

static void resume_game() {
    desktop.paused = false;
    play_on_loop();
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
    mark_sound_off_over();
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
        else
            mark_sound_off();
    }
    show_sound_notice();
    return state;
}
