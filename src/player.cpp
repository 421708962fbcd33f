#include "player.h"

#include "draw.h"
#include "main.h"
#include "particle.h"

#include <allegro.h>

#include <cmath>
#include <cstdlib>
#include <vector>

_player player;

constexpr float PI = 3.14159265f;
constexpr float SHIP_SPEED = 3;
constexpr float COAST = 1.2f; // a released axis loses a sixth of its speed each tick
constexpr float SHOT_SPEED = 5;
constexpr short FIRE_DELAY = 15;    // keyboard gun: a volley every 16 ticks
constexpr short P2_FIRE_DELAY = 20; // mouse gun: a shot every 21 ticks
constexpr int HEALTH = 100;
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

// the keyboard gun's volleys by shot level: where each shot leaves the ship and its drift
struct volley_shot {
    float x, y, dx;
};
static const std::vector<volley_shot> VOLLEYS[] = {
    {{12, 2, 0}},                         // one shot from the nose
    {{2, 2, 0}, {22, 2, 0}},              // a parallel pair from the wingtips
    {{12, 2, 0}, {22, 2, 3}, {2, 2, -3}}, // a fan of three
};
constexpr int VOLLEY_COUNT = sizeof(VOLLEYS) / sizeof(VOLLEYS[0]);

void _shot::move() {
    x += dx;
    y += dy;
}

// the picture points up; it is turned to face along the flight
void _shot::draw() {
    BITMAP *picture = shot[player.crazy ? 0 : 1];
    float heading = std::atan2(dy, dx) * 128 / PI + 64;
    buffer_rotate_sprite(picture, static_cast<int>(x), static_cast<int>(y), ftofix(heading));
}

bool _shot::offscreen() {
    return x < -5 || x > SCREEN_W || y < -5 || y > SCREEN_H;
}

void _player::init(bool two_player) {
    crazy = false;
    this->two_player = two_player;
    shot_level = 0;
    fire_delay = 0;
    p2_fire_delay = 0;
    insanity_level = 0;
    health_points = HEALTH;
    times_crazy = 0;
    x = SCREEN_W / 2 - 12;
    y = SCREEN_H - 45;
    dx = 0;
    dy = 0;
}

void _player::fire() {
    if (shot_level < 0 || shot_level >= VOLLEY_COUNT)
        return;
    for (const volley_shot &v : VOLLEYS[shot_level])
        shots.push_back({x + v.x, y + v.y, v.dx, -SHOT_SPEED});
}

// player two aims from the ship's corner at the pointer, or away from it while crazy
void _player::p2_fire() {
    float a = crazy ? std::atan2(y - mouse_y, x - mouse_x) : std::atan2(mouse_y - y, mouse_x - x);
    float half = SHIP_SIZE / 2.0f;
    shots.push_back({x + half, y + half, std::cos(a) * SHOT_SPEED, std::sin(a) * SHOT_SPEED});
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
    steer(dx, held(LEFT_KEYS), held(RIGHT_KEYS), sign);
    steer(dy, held(UP_KEYS), held(DOWN_KEYS), sign);

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
    } else if (held(FIRE_KEYS)) {
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
    if (x + SHIP_SIZE > SCREEN_W)
        x = SCREEN_W - SHIP_SIZE;
    if (y < 0)
        y = 0;
    if (y + SHIP_SIZE > SCREEN_H)
        y = SCREEN_H - SHIP_SIZE;
}

// the crosshair's corner, not its centre, sits on the pointer
void _player::draw() {
    buffer_draw_sprite(ship, static_cast<int>(x), static_cast<int>(y));
    if (two_player)
        buffer_draw_sprite(targeting, mouse_x, mouse_y);
}

bool boxes_overlap(float ax, float ay, int aw, int ah, float bx, float by, int bw, int bh) {
    return ax + aw > bx && bx + bw > ax && ay + ah > by && by + bh > ay;
}

bool touches_ship(float x, float y, int w, int h) {
    return boxes_overlap(x, y, w, h, player.x, player.y, SHIP_SIZE, SHIP_SIZE);
}

// a sane mind takes the blow on its sanity; a crazy one loses half of it in health
void _player::take_damage(int amount) {
    if (crazy) {
        play_sample(shurt, 255, 128, 1000, 0);
        health_points -= amount / 2;
    } else {
        insanity_level += amount;
        play_sample(sow, 255, 128, 1000, 0);
    }
}
