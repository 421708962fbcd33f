// control.cpp: the ship's tick: steering from the keys and the gamepad, the two guns' triggers and
// the exhaust.
#include "player.h"

#include "gamepad.h"
#include "main.h"
#include "media.h"
#include "particle.h"

#include <allegro.h>

#include <cstdlib>

constexpr float SHIP_SPEED = 3;
constexpr float COAST = 1.2f;       // a released axis loses a sixth of its speed each tick
constexpr short FIRE_DELAY = 15;    // keyboard gun: a volley every 16 ticks
constexpr short P2_FIRE_DELAY = 20; // mouse gun: a shot every 21 ticks
constexpr int MOUSE_LEFT_BUTTON = 1;

// each control has two keys, tested in this order
static const int LEFT_KEYS[2] = {KEY_LEFT, KEY_A};
static const int RIGHT_KEYS[2] = {KEY_RIGHT, KEY_D};
static const int UP_KEYS[2] = {KEY_UP, KEY_W};
static const int DOWN_KEYS[2] = {KEY_DOWN, KEY_S};
static const int FIRE_KEYS[2] = {KEY_LCONTROL, KEY_SPACE};

static bool held(const int (&keys)[2]) {
    return key[keys[0]] || key[keys[1]];
}

// a held axis moves at full speed, a released one coasts to a stop
static void steer(float &speed, bool back, bool forth, int sign) {
    if (back)
        speed = -SHIP_SPEED * sign;
    else if (forth)
        speed = SHIP_SPEED * sign;
    else
        speed = speed / COAST;
}

static void play_fire_sound() {
    play_sample(player.crazy ? sboing : sfire, 255, 128, 1000, 0);
}

static void run_shots(std::list<_shot> &shots) {
    for (auto s = shots.begin(); s != shots.end();) {
        s->move();
        s->draw();
        if (s->offscreen())
            s = shots.erase(s);
        else
            ++s;
    }
}

// two sparks a tick from the engines, where the ship is before it moves
static void puff_exhaust(float x, float y) {
    for (int i = 0; i < 2; i++) {
        float speed = (rand() % 100) / 10.0f + 0.5f;
        int sy = static_cast<int>(y) + 20 + rand() % 3;
        int sx = static_cast<int>(x) + 5 + rand() % 15;
        new_particle(PARTICLE_SPARK, sx, sy, 0, speed, "");
    }
}

void _player::do_stuff() {
    const int sign = crazy ? -1 : 1;
    steer(dx, held(LEFT_KEYS) || gamepad.left, held(RIGHT_KEYS) || gamepad.right, sign);
    steer(dy, held(UP_KEYS) || gamepad.up, held(DOWN_KEYS) || gamepad.down, sign);

    if (two_player) {
        if (p2_fire_delay > 0) {
            p2_fire_delay -= 1;
        } else if (mouse_b & MOUSE_LEFT_BUTTON) {
            p2_fire();
            play_fire_sound();
            p2_fire_delay = P2_FIRE_DELAY;
        }
    }

    if (fire_delay > 0) {
        fire_delay -= 1;
    } else if (held(FIRE_KEYS) || gamepad.fire) {
        fire();
        play_fire_sound();
        fire_delay = FIRE_DELAY;
    }

    run_shots(shots);
    puff_exhaust(x, y);
    move();
    draw();
}

// the ship stops at the screen's edges but keeps pushing against them
void _player::move() {
    x += dx;
    y += dy;
    if (x < 0)
        x = 0;
    if (x + SHIP_SIZE > SCREEN_WIDTH)
        x = SCREEN_WIDTH - SHIP_SIZE;
    if (y < 0)
        y = 0;
    if (y + SHIP_SIZE > SCREEN_HEIGHT)
        y = SCREEN_HEIGHT - SHIP_SIZE;
}
