// logic.h: the playing state: level clock, spawning, the insanity cycle, the status display
// and the power-ups.
#pragma once

#include "main.h"

#include <list>

constexpr unsigned int LEVEL_LENGTH = 72 * TICKS_PER_SECOND;
constexpr int POWERUP_SIZE = 20; // a power-up's box is a square

enum powerup_kind : short {
    POWERUP_SHOT_UP = 0,   // one more shot to a volley
    POWERUP_SHOT_DOWN = 1, // one fewer
};

struct _powerup {
    float x, y;
    float speed; // pixels fallen a tick
    short kind;
};

extern std::list<_powerup> powerups; // power-ups falling, oldest first

short logic();
// the game's background loop stopped where it is, as a pause wants, and played on from there
void hold_loop();
void play_on_loop();
void draw_insanity_meter();
void draw_health();
void do_powerups();
