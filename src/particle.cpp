// particle.cpp: the particles' kinds, lives, motion and pictures.
#include "particle.h"

#include "draw.h"
#include "main.h"
#include "media.h"
#include "player.h"

#include <allegro.h>

#include <cmath>
#include <cstdlib>
#include <utility>

std::list<_particle> particles;

constexpr short STAR_LIFE = 50; // stars never age; this only keeps the death test quiet
constexpr short TEXT_LIFE = 60;
constexpr short EXPLOSION_LIFE = 10;
constexpr short TUMBLER_LIFE = 100; // cows and bananas
constexpr float GRAVITY = 0.45f;
constexpr int BANANAS_PER_EXPLOSION = 5;
constexpr float COW_SPIN = 3;
constexpr float BANANA_SPIN = 10;
constexpr float BANANA_RIGHT_WALL = SCREEN_WIDTH - 20;

// -1 or +1 from the parity of one roll
static int random_sign() {
    return rand() % 2 == 0 ? -1 : 1;
}

// 1.0 to 10.9 pixels a tick
static float star_speed() {
    return (rand() % 100) / 10.0f + 1;
}

void new_particle(int kind, int x, int y, float dx, float dy, std::string text) {
    _particle p;
    p.init(static_cast<short>(kind), static_cast<float>(x), static_cast<float>(y), dx, dy,
           std::move(text));
    particles.push_back(std::move(p));
}

void new_falling_star() {
    float dy = star_speed();
    int x = rand() % SCREEN_WIDTH;
    new_particle(PARTICLE_STAR, x, 0, 0, dy, "");
}

// while crazy, a star that wanders off is put back somewhere on the screen
static void replace_star() {
    float dy = star_speed();
    int y = rand() % SCREEN_HEIGHT;
    int x = rand() % SCREEN_WIDTH;
    new_particle(PARTICLE_STAR, x, y, 0, dy, "");
}

static int spark_color() {
    switch (rand() % 3) {
    case 0:
        return red();
    case 1:
        return orange();
    default:
        return yellow();
    }
}

// a crazy explosion is over at once and leaves bananas flying off along the diagonals
static void burst_into_bananas(float x, float y) {
    for (int i = 0; i < BANANAS_PER_EXPLOSION; i++) {
        int sx = random_sign();
        int sy = random_sign();
        int my = rand() % 7 + 4;
        int mx = rand() % 7 + 4;
        new_particle(PARTICLE_BANANA, static_cast<int>(x), static_cast<int>(y),
                     static_cast<float>(mx * sx), static_cast<float>(my * sy), "");
    }
}

void _particle::init(short kind, float x, float y, float dx, float dy, std::string text) {
    this->x = x;
    this->kind = kind;
    this->y = y;
    this->dx = dx;
    this->dy = dy;
    ddx = ddy = 0;
    this->text = std::move(text);
    alive = true;
    color = 0;
    angle = 0;

    switch (kind) {
    case PARTICLE_STAR:
        life = STAR_LIFE;
        break;
    case PARTICLE_SPARK:
        life = rand() % 8 + 2;
        color = spark_color();
        break;
    case PARTICLE_TEXT:
        life = TEXT_LIFE;
        break;
    case PARTICLE_EXPLOSION:
        if (player.crazy) {
            life = 0;
            burst_into_bananas(x, y);
        } else {
            life = EXPLOSION_LIFE;
        }
        break;
    case PARTICLE_COW:
    case PARTICLE_BANANA:
        life = TUMBLER_LIFE;
        ddy = GRAVITY;
        break;
    default:
        life = 0;
        break;
    }
}

static void spin(float &angle, float step) {
    angle += step;
    if (angle > 255)
        angle = 0;
}

void _particle::do_stuff() {
    if (kind == PARTICLE_STAR && player.crazy) {
        // the starfield stops and shimmers
        int sx = random_sign();
        int sy = random_sign();
        x += (rand() * sx) % 10;
        y += (rand() * sy) % 10;
    } else {
        x += dx;
        y += dy;
        dx += ddx;
        dy += ddy;
    }

    switch (kind) {
    case PARTICLE_COW:
        spin(angle, COW_SPIN);
        break;
    case PARTICLE_BANANA:
        spin(angle, BANANA_SPIN);
        if (x < 0)
            dx = std::fabs(dx);
        if (x > BANANA_RIGHT_WALL)
            dx = -std::fabs(dx);
        break;
    case PARTICLE_STAR:
        if (x < 0 || x > SCREEN_WIDTH || y < 0 || y > SCREEN_HEIGHT) {
            alive = false;
            if (player.crazy)
                replace_star();
        }
        life += 1;
        break;
    }

    life -= 1;
    if (life <= 0)
        alive = false;
}

void _particle::draw() {
    const int px = static_cast<int>(x), py = static_cast<int>(y);
    switch (kind) {
    case PARTICLE_STAR:
        buffer_putpixel(px, py, white());
        break;
    case PARTICLE_SPARK:
        buffer_putpixel(px, py, color);
        break;
    case PARTICLE_TEXT:
        buffer_textout_centre_ex(font, text, px, py, white());
        break;
    case PARTICLE_EXPLOSION:
        buffer_circlefill(px, py, EXPLOSION_LIFE - life, red());
        buffer_circlefill(px, py, EXPLOSION_LIFE / 2 - life, yellow());
        break;
    case PARTICLE_COW:
        buffer_rotate_sprite(cow, px, py, ftofix(angle));
        break;
    case PARTICLE_BANANA:
        buffer_rotate_sprite(banana, px, py, ftofix(angle));
        break;
    }
}

void do_particles() {
    for (auto p = particles.begin(); p != particles.end();) {
        if (!p->alive) {
            p = particles.erase(p);
            continue;
        }
        p->do_stuff();
        p->draw();
        ++p;
    }
}
