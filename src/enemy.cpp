// enemy.cpp: the enemy types, their entries and paths, their fire, kills and waves.
#include "enemy.h"

#include "draw.h"
#include "main.h"
#include "media.h"
#include "particle.h"

#include <allegro.h>

#include <cmath>
#include <cstdlib>

std::list<_enemy> enemies;
std::list<_shot> eshot;

constexpr short ENEMY_FIRE_DELAY = 70; // a shot every 71 ticks
constexpr int ESHOT_DAMAGE = 8;
constexpr float WAVE_AMPLITUDE = 50;

// the play area: whatever's top-left corner leaves it is gone
constexpr float PLAY_LEFT = -50, PLAY_RIGHT = 690, PLAY_TOP = -50, PLAY_BOTTOM = 490;

// what sets the three enemy types apart
struct enemy_info {
    BITMAP **pictures; // crazy and sane
    bool turns;        // faces along its flight; otherwise always upright
    float shot_speed;
    int ram_damage;
    int points; // for a kill, times the level
};
static const enemy_info ENEMY_TYPES[] = {
    {enemy1, true, 6, 12, 2},  // a dart that dives diagonally
    {enemy2, true, 7, 15, 3},  // a swooper that swerves across
    {enemy3, false, 6, 15, 5}, // a saucer that rides a wave from the side
};
constexpr int ENEMY_TYPE_COUNT = sizeof(ENEMY_TYPES) / sizeof(ENEMY_TYPES[0]);

// where a type enters, by the parity of a first roll; a second roll picks the place
// along the edge, x + rand() % x_spread or y + rand() % y_spread
struct entry {
    float x;
    int x_spread;
    float y;
    int y_spread;
    int pattern;
};
static const entry ENTRIES[][2] = {
    {{40, 200, -20, 0, 1}, {400, 200, -20, 0, 0}}, // top left going right, top right going left
    {{0, 200, -20, 0, 3}, {440, 200, -20, 0, 2}},  // near a top corner, swerving across
    {{-20, 0, 20, 350, 5}, {660, 0, 20, 350, 4}},  // from the left or the right edge
};

// the starting velocity of each path
struct pattern_info {
    float dx, dy, ddx;
    bool random_fall; // falls at 5, 6 or 7 pixels a tick instead of dy
};
static const pattern_info PATTERNS[] = {
    {-2, 4, 0, false},     // 0: straight down and to the left
    {2, 4, 0, false},      // 1: straight down and to the right
    {-1, 0, -0.25f, true}, // 2: falling while swerving ever faster to the left
    {1, 0, 0.25f, true},   // 3: the same to the right
    {-5, 0, 0, false},     // 4: leftwards on a wave
    {5, 0, 0, false},      // 5: rightwards on a wave
    {0, 5, 0, false},      // 6: downwards on a sideways wave
};
constexpr int PATTERN_COUNT = sizeof(PATTERNS) / sizeof(PATTERNS[0]);

static entry roll_entry(int type) {
    const entry &side = ENTRIES[type][rand() % 2];
    entry e = side;
    int place = rand();
    if (side.x_spread > 0)
        e.x += place % side.x_spread;
    else
        e.y += place % side.y_spread;
    return e;
}

void _enemy::init(int type, float x, float y, int pattern, int start_delay) {
    alive = true;
    this->start_delay = static_cast<short>(start_delay);
    this->type = static_cast<short>(type);
    this->pattern = static_cast<short>(pattern);
    this->x = base_x = x;
    this->y = base_y = y;
    fire_delay = 0;
    ddx = ddy = 0;
    dx = dy = 0;
    if (pattern < 0 || pattern >= PATTERN_COUNT)
        return;
    const pattern_info &p = PATTERNS[pattern];
    dx = p.dx;
    dy = p.random_fall ? rand() % 3 + 5 : p.dy;
    ddx = p.ddx;
}

void _enemy::init(int type, int start_delay) {
    if (type < 0 || type >= ENEMY_TYPE_COUNT)
        return;
    entry e = roll_entry(type);
    init(type, e.x, e.y, e.pattern, start_delay);
}

// the wave paths read the coordinate just reached as an angle in degrees
static float wave(float along) {
    return WAVE_AMPLITUDE * std::sin(PI * along / 180);
}

void _enemy::move() {
    switch (pattern) {
    case 0:
    case 1:
        x += dx;
        y += dy;
        break;
    case 2:
    case 3:
        x += dx;
        dx += ddx;
        y += dy;
        dy += ddy;
        break;
    case 4:
    case 5:
        x += dx;
        y = base_y + wave(x);
        break;
    case 6:
        y += dy;
        x = base_x + wave(y);
        break;
    }
}

bool _enemy::collided_with_player() {
    return touches_ship(x, y, ENEMY_SIZE, ENEMY_SIZE);
}

// a hit uses up the first shot that overlaps, and only that one
bool _enemy::was_shot() {
    for (auto s = player.shots.begin(); s != player.shots.end(); ++s) {
        if (boxes_overlap(x, y, ENEMY_SIZE, ENEMY_SIZE, s->x, s->y, SHOT_WIDTH, SHOT_HEIGHT)) {
            player.shots.erase(s);
            return true;
        }
    }
    return false;
}

// aimed from corner to corner, leaving from near the enemy's middle
void _enemy::fire() {
    float a = std::atan2(player.y - y, player.x - x);
    float speed = ENEMY_TYPES[type].shot_speed;
    eshot.push_back({x + 10, y + 10, std::cos(a) * speed, std::sin(a) * speed});
}

// the pictures face down; a turning enemy is turned to face along its flight
void _enemy::draw() {
    const enemy_info &info = ENEMY_TYPES[type];
    BITMAP *picture = info.pictures[player.crazy ? 0 : 1];
    int px = static_cast<int>(x), py = static_cast<int>(y);
    if (info.turns)
        buffer_rotate_sprite(picture, px, py, ftofix(std::atan2(dy, dx) * 128 / PI - 64));
    else
        buffer_draw_sprite(picture, px, py);
}

static void explode(float x, float y, float dx, float dy) {
    new_particle(PARTICLE_EXPLOSION, static_cast<int>(x), static_cast<int>(y), dx, dy, "");
}

// a kill scores by type and level, half while crazy; the high score follows at once
static void score_kill(int type) {
    int points = ENEMY_TYPES[type].points * level;
    if (player.crazy)
        points /= 2;
    score += points;
    if (score > highscore)
        highscore = score;
}

void _enemy::do_stuff() {
    if (start_delay > 0) {
        start_delay -= 1;
        return;
    }

    if (collided_with_player()) {
        alive = false;
        explode(x, y, dx, dy);
        play_sample(ssmallboom, 255, 128, 1000, 0);
        player.take_damage(ENEMY_TYPES[type].ram_damage);
    } else if (was_shot()) {
        alive = false;
        explode(x, y, dx, dy);
        play_sample(player.crazy ? scrazylaugh : ssmallboom, 255, 128, 1000, 0);
        score_kill(type);
    }

    // even a dying enemy gets its last shot, move and picture
    if (fire_delay <= 0) {
        fire();
        fire_delay = ENEMY_FIRE_DELAY;
    } else {
        fire_delay -= 1;
    }
    move();
    draw();
}

void new_enemy(int type) {
    _enemy e;
    e.init(type, 0);
    enemies.push_back(e);
}

void new_enemy_group(int type, int count, int spacing) {
    if (type < 0 || type >= ENEMY_TYPE_COUNT)
        return;
    entry e = roll_entry(type);
    for (int i = 0; i < count; i++) {
        _enemy member;
        member.init(type, e.x, e.y, e.pattern, i * spacing);
        enemies.push_back(member);
    }
}

static bool outside_play_area(float x, float y) {
    return x < PLAY_LEFT || x > PLAY_RIGHT || y < PLAY_TOP || y > PLAY_BOTTOM;
}

static void run_enemies() {
    for (auto e = enemies.begin(); e != enemies.end();) {
        e->do_stuff();
        if (outside_play_area(e->x, e->y))
            e->alive = false;
        if (e->alive)
            ++e;
        else
            e = enemies.erase(e);
    }
}

static void run_enemy_shots() {
    for (auto s = eshot.begin(); s != eshot.end();) {
        s->move();
        buffer_draw_sprite(eshot1[player.crazy ? 0 : 1], static_cast<int>(s->x),
                           static_cast<int>(s->y));
        if (touches_ship(s->x, s->y, ESHOT_SIZE, ESHOT_SIZE)) {
            player.take_damage(ESHOT_DAMAGE);
            explode(s->x, s->y, s->dx, s->dy);
            s = eshot.erase(s);
        } else if (outside_play_area(s->x, s->y)) {
            s = eshot.erase(s);
        } else {
            ++s;
        }
    }
}

void do_enemies() {
    run_enemies();
    run_enemy_shots();
}
