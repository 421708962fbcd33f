// particle.h: the particle list: stars, exhaust sparks, explosions, level texts, cows and bananas.
#pragma once

#include <list>
#include <string>

enum particle_kind : short {
    PARTICLE_STAR = 0,      // one white pixel; lives until it leaves the screen
    PARTICLE_SPARK = 1,     // one red, orange or yellow pixel from the ship's exhaust
    PARTICLE_TEXT = 2,      // a centred white text, such as the new level's number
    PARTICLE_EXPLOSION = 3, // a growing red disc with a yellow core; bananas while crazy
    PARTICLE_COW = 4,       // a spinning cow under gravity
    PARTICLE_BANANA = 5,    // a spinning banana under gravity that bounces off the sides
};

struct _particle {
    bool alive;
    short kind;
    short life; // ticks left
    int color;  // of a spark
    float x, y;
    float dx, dy;
    float ddx, ddy;
    float angle; // of a cow or banana, 256 to the full turn
    std::string text;

    void init(short kind, float x, float y, float dx, float dy, std::string text);
    void do_stuff();
    void draw();
};

extern std::list<_particle> particles; // every effect on the screen, oldest first

void new_particle(int kind, int x, int y, float dx, float dy, std::string text);

// a star at a random column of the top row, falling at a random speed
void new_falling_star();

void do_particles();
