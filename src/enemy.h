// enemy.h: the enemy craft and their shots, their waves and their paths.
#pragma once

#include "player.h"

#include <list>

constexpr int ENEMY_SIZE = 25; // an enemy's box is a square, whatever its picture
constexpr int ESHOT_SIZE = 7;  // an enemy shot's box is a square

struct _enemy {
    bool alive;
    short pattern;     // which path it flies, 0 to 6
    short type;        // 0, 1 or 2
    short start_delay; // ticks it waits, unseen and harmless, before it enters
    short fire_delay;  // ticks to its next shot
    float x, y;        // top-left corner of the picture and the box
    float dx, dy;
    float ddx, ddy;
    float base_y; // centre line of a wave across the screen
    float base_x; // centre line of a wave down the screen

    void init(int type, float x, float y, int pattern, int start_delay);
    void init(int type, int start_delay);
    void move();
    bool collided_with_player();
    bool was_shot();
    void fire();
    void draw();
    void do_stuff();
};

extern std::list<_enemy> enemies; // every enemy in play, oldest first
extern std::list<_shot> eshot;    // the enemies' shots in flight, oldest first

void new_enemy(int type);
// count enemies in single file, spacing ticks apart, all from one entry place
void new_enemy_group(int type, int count, int spacing);
void do_enemies();
