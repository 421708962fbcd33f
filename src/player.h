// player.h: the ship that both players share, its two guns and the shots in flight.
#pragma once

#include <list>

constexpr int SHIP_SIZE = 25; // the ship's box is a square
constexpr int SHOT_WIDTH = 5; // a player shot's box
constexpr int SHOT_HEIGHT = 7;

// one projectile, of either side: the list that holds it says whose it is
struct _shot {
    float x, y;
    float dx, dy; // fixed at firing

    void move();
    void draw();
    bool offscreen();
};

struct _player {
    bool crazy;
    bool two_player;  // the mouse gun works and its crosshair shows
    short shot_level; // 0, 1 or 2: one, two or three shots to a volley
    short fire_delay;
    short p2_fire_delay;
    short insanity_level;
    short health_points;
    short times_crazy;
    float x, y; // top-left corner of the ship
    float dx, dy;
    std::list<_shot> shots; // both guns' shots in flight, oldest first

    void init(bool two_player);
    void do_stuff();
    void move();
    void draw();
    void fire();
    void p2_fire();
    void take_damage(int amount);
};

extern _player player; // the one ship

// whether two boxes, each a top-left corner and a size, share a pixel
bool boxes_overlap(float ax, float ay, int aw, int ah, float bx, float by, int bw, int bh);
// whether a box shares a pixel with the ship's
bool touches_ship(float x, float y, int w, int h);
