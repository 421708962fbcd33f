// player.cpp: the ship's record, its guns' volleys, its shots and its damage.
#include "player.h"

#include "display.h"
#include "draw.h"
#include "main.h"
#include "media.h"

#include <allegro.h>

#include <cmath>
#include <vector>

_player player;

constexpr float SHOT_SPEED = 5;
constexpr int HEALTH = 100;
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
    return x < -5 || x > SCREEN_WIDTH || y < -5 || y > SCREEN_HEIGHT;
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
    x = SCREEN_WIDTH / 2 - 12;
    y = SCREEN_HEIGHT - 45;
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
    const int px = pointer_x(), py = pointer_y();
    float a = crazy ? std::atan2(y - py, x - px) : std::atan2(py - y, px - x);
    float half = SHIP_SIZE / 2.0f;
    shots.push_back({x + half, y + half, std::cos(a) * SHOT_SPEED, std::sin(a) * SHOT_SPEED});
}

// the crosshair's corner, not its centre, sits on the pointer
void _player::draw() {
    buffer_draw_sprite(ship, static_cast<int>(x), static_cast<int>(y));
    if (two_player)
        buffer_draw_sprite(targeting, pointer_x(), pointer_y());
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
