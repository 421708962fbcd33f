// screens.cpp: the title menu, the game-over screen and which screen runs each tick.
#include "screens.h"

#include "display.h"
#include "draw.h"
#include "gamepad.h"
#include "logic.h"
#include "main.h"
#include "media.h"
#include "particle.h"
#include "player.h"

#include <allegro.h>

#include <cstdlib>
#include <string>

short run_state(short state) {
    switch (state) {
    case STATE_MENU:
        return menu();
    case STATE_PLAYING:
        return logic();
    case STATE_GAME_OVER:
        return dead();
    default:
        return state;
    }
}

enum menu_choice : short { MENU_ONE_PLAYER = 0, MENU_TWO_PLAYER = 1, MENU_EXIT = 2 };
constexpr short MENU_CHOICES = 3;
constexpr short KEY_REPEAT_DELAY = 10;  // a held arrow moves the choice every 11 ticks
constexpr short MENU_RETURN_DELAY = 15; // keys still held from the game are ignored this long

// a banana turns by 1 to 10 units a tick
static void turn_banana(int &angle) {
    angle += rand() % 10 + 1;
    if (angle > 256)
        angle = 0;
}

static void move_choice(short &sel, short by, short &delay) {
    sel = (sel + by + MENU_CHOICES) % MENU_CHOICES;
    delay = KEY_REPEAT_DELAY;
    play_sample(sthud, 255, 128, 1000, 0);
}

static int highscore_to_beat = 0; // the high score as the game in play began

// a new game: nothing of the last one flies on into it, neither its shots nor its power-ups
static short take_choice(short sel, short &delay) {
    particles.clear();
    player.shots.clear();
    powerups.clear();
    delay = MENU_RETURN_DELAY;
    score = 0;
    level = 1;
    highscore_to_beat = highscore;
    switch (sel) {
    case MENU_ONE_PLAYER:
        player.init(false);
        return STATE_PLAYING;
    case MENU_TWO_PLAYER:
        player.init(true);
        return STATE_PLAYING;
    default:
        return STATE_QUIT;
    }
}

// Enter, but not as part of Alt+Enter, which switches fullscreen; or a gamepad's choice
static bool choose_pressed() {
    return (key[KEY_ENTER] && !alt_held()) || gamepad.choose;
}

static bool back_pressed() {
    return key[KEY_ESC] || gamepad.back;
}

static short read_menu_keys(short &sel, short &delay) {
    if (key[KEY_UP] || gamepad.up)
        move_choice(sel, -1, delay);
    if (key[KEY_DOWN] || gamepad.down)
        move_choice(sel, +1, delay);
    if (choose_pressed())
        return take_choice(sel, delay);
    if (back_pressed())
        return STATE_QUIT;
    return STATE_MENU;
}

short menu() {
    static short sel = MENU_ONE_PLAYER; // kept, so a returning player finds the last choice
    static short delay = 0;             // ticks during which the keys are ignored
    static int rotate = rand() % 256;   // the bananas' angles, 256 to the full turn
    static int rotate2 = rand() % 256;

    new_falling_star();
    buffer_draw_sprite(title, 120, 40);
    buffer_textout_centre_ex(font, "One Player Game", 320, 250, white());
    buffer_textout_centre_ex(font, "Two Player Game", 320, 280, white());
    buffer_textout_centre_ex(font, "Exit", 320, 310, white());
    do_particles();
    turn_banana(rotate);
    turn_banana(rotate2);
    buffer_rotate_sprite(banana, 220, 245 + 30 * sel, rotate << 16);
    buffer_rotate_sprite(banana, 400, 245 + 30 * sel, rotate2 << 16);
    buffer_textout_centre_ex(font, "Arrow keys or W A S D: steer    Space or Ctrl: fire", 320, 404,
                             white());
    buffer_textout_centre_ex(font, "P: pause    M: sound off/on    Esc: leave", 320, 418, white());
    buffer_textout_centre_ex(font, "High Score: " + std::to_string(highscore), 320, 450, white());

    if (delay > 0) {
        delay -= 1;
        return STATE_MENU;
    }
    return read_menu_keys(sel, delay);
}

constexpr int WRECK_TICKS = 150; // the ship blows up until the screen has run this long
constexpr int BOOM_EVERY = 5;
constexpr int BOOM_PITCH = 1500; // the booms are half again as high as a kill's

// explosions all over the wreck, with a high boom every fifth tick
static void blow_up_ship(int time) {
    int y = static_cast<int>(player.y) + rand() % 20;
    int x = static_cast<int>(player.x) + rand() % 20;
    new_particle(PARTICLE_EXPLOSION, x, y, 0, 0, "");
    if (time % BOOM_EVERY == 0)
        play_sample(ssmallboom, 255, 128, BOOM_PITCH, 0);
    player.draw();
    do_particles();
}

// the game's score under "Game Over", whether it beat the high score, and the way out
static void show_final_score() {
    buffer_textout_centre_ex(font, "Game Over", 320, 200, white());
    buffer_textout_centre_ex(font, "Score: " + std::to_string(score), 320, 220, white());
    if (score > highscore_to_beat)
        buffer_textout_centre_ex(font, "New high score!", 320, 236, white());
    buffer_textout_centre_ex(font, "Enter or Esc: back to the title", 320, 264, white());
}

short dead() {
    static bool first = true;
    static int time = 0; // ticks shown, counted from 1

    if (first) {
        time = 0;
        player.crazy = false; // the wreck goes up in its sane look
        first = false;
        stop_sample(sweird);
    }
    time += 1;
    if (time < WRECK_TICKS) {
        blow_up_ship(time);
        return STATE_GAME_OVER;
    }

    show_final_score();
    if (choose_pressed() || back_pressed()) {
        particles.clear();
        first = true;
        return STATE_MENU;
    }
    return STATE_GAME_OVER;
}
