// logic.cpp: one tick of play: the level clock, spawning, the insanity cycle, the meters and
// the power-ups.
#include "logic.h"

#include "draw.h"
#include "enemy.h"
#include "gamepad.h"
#include "media.h"
#include "particle.h"
#include "player.h"

#include <allegro.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

std::list<_powerup> powerups;

constexpr int INSANITY_DECAY_TICKS = 50; // a point of insanity fades every 51 ticks
constexpr short INSANITY_MAX = 100;
constexpr int CRAZY_SPELL = 15 * TICKS_PER_SECOND; // times the number of spells so far
constexpr int COW_CHANCE = 500;
constexpr float COW_SPEED = 10;
constexpr int POWERUP_CHANCE = 400;
constexpr short MAX_SHOT_LEVEL = 2;

// one chance a tick of sending in enemies: 1 in chance, a single one or a file of them
struct spawn_roll {
    int chance;
    int type;
    int count; // SINGLE, or the size of a group
    int spacing;
};
constexpr int SINGLE = 0;

// each level's rolls, in the order they are made; the last row holds from level 6 on
static const std::vector<spawn_roll> SPAWNS[] = {
    {{40, 0, SINGLE, 0}},
    {{50, 0, SINGLE, 0}, {70, 1, SINGLE, 0}},
    {{70, 0, 3, 35}, {50, 1, SINGLE, 0}},
    {{70, 2, SINGLE, 0}, {60, 1, SINGLE, 0}, {150, 0, 5, 15}},
    {{70, 2, SINGLE, 0}, {100, 1, 3, 10}, {50, 0, SINGLE, 0}},
    {{60, 2, SINGLE, 0}, {120, 1, 5, 10}, {80, 1, SINGLE, 0}, {180, 0, 5, 15}},
};
constexpr int SPAWN_LEVELS = sizeof(SPAWNS) / sizeof(SPAWNS[0]);

// minutes and seconds of a number of ticks, as "1:05"
static std::string clock_text(int ticks) {
    char text[32];
    snprintf(text, sizeof text, "%d:%02d", ticks / (60 * TICKS_PER_SECOND),
             (ticks / TICKS_PER_SECOND) % 60);
    return text;
}

static int loop_voice = -1; // the background loop's own voice, which a pause stops and starts

// the background loop from its first bar, on a voice that keeps its place while stopped
static void start_loop() {
    loop_voice = allocate_voice(sweird);
    if (loop_voice < 0)
        return;
    voice_set_playmode(loop_voice, PLAYMODE_LOOP);
    voice_set_volume(loop_voice, 255);
    voice_start(loop_voice);
}

// the loop's voice, unless the game has stopped the loop since and the voice went to another sound
static bool loop_playing() {
    return loop_voice >= 0 && voice_check(loop_voice) == sweird;
}

void hold_loop() {
    if (loop_playing())
        voice_stop(loop_voice);
}

void play_on_loop() {
    if (loop_playing())
        voice_start(loop_voice);
}

static void set_up_new_game(unsigned int &time, int &timer) {
    start_loop();
    level = 1;
    time = 0;
    timer = 0;
    enemies.clear();
    eshot.clear();
    particles.clear();
}

static void run_level_clock(unsigned int &time) {
    time += 1;
    if (time < LEVEL_LENGTH)
        return;
    level += 1;
    new_particle(PARTICLE_TEXT, 320, 240, 0, -0.5f, "Level " + std::to_string(level));
    time = 0;
}

static void draw_status_texts(unsigned int time) {
    int left = static_cast<int>(LEVEL_LENGTH - time);
    buffer_textout_right_ex(font, "Next Level In " + clock_text(left), 640, 5, white());
    buffer_textout_right_ex(font, "Score: " + std::to_string(score), 640, 15, white());
    buffer_textout_right_ex(font, "High Score: " + std::to_string(highscore), 640, 25, white());
}

void draw_insanity_meter() {
    static int redness = 0; // the crazy bar's pulse, carried on from spell to spell

    buffer_draw_sprite(insanity, 5, 0);
    buffer_rect(5, 10, 105, 20, white());
    if (player.crazy) {
        buffer_rectfill(6, 11, 104, 19, makecol(redness, 0, 0));
        redness += 5;
        if (redness > 255)
            redness = 0;
    } else {
        buffer_rectfill(6, 11, player.insanity_level + 4, 19, red());
    }
}

void draw_health() {
    buffer_draw_sprite(health, 5, 20);
    buffer_rect(5, 30, 105, 40, white());
    buffer_rectfill(6, 31, player.health_points + 4, 39, blue());
}

static BITMAP *powerup_picture(const _powerup &p) {
    // while crazy the icons lie: each shows the other's picture
    bool shows_plus = (p.kind == POWERUP_SHOT_UP) != player.crazy;
    return shows_plus ? shotplus : shotminus;
}

static void pick_up(const _powerup &p) {
    if (p.kind == POWERUP_SHOT_UP && player.shot_level < MAX_SHOT_LEVEL)
        player.shot_level += 1;
    if (p.kind == POWERUP_SHOT_DOWN && player.shot_level > 0)
        player.shot_level -= 1;
}

static void maybe_drop_powerup() {
    if (rand() % POWERUP_CHANCE != 0)
        return;
    _powerup p;
    p.kind = static_cast<short>(rand() % 2);
    p.x = static_cast<float>(rand() % 620 + 10);
    p.speed = static_cast<float>(rand() % 9 + 4);
    p.y = -POWERUP_SIZE;
    powerups.push_back(p);
}

// a power-up falls until the ship flies into it or it drops below the screen
void do_powerups() {
    maybe_drop_powerup();
    for (auto p = powerups.begin(); p != powerups.end();) {
        p->y += p->speed;
        buffer_draw_sprite(powerup_picture(*p), static_cast<int>(p->x), static_cast<int>(p->y));
        if (touches_ship(p->x, p->y, POWERUP_SIZE, POWERUP_SIZE)) {
            pick_up(*p);
            p = powerups.erase(p);
        } else if (p->y > SCREEN_HEIGHT) {
            p = powerups.erase(p);
        } else {
            ++p;
        }
    }
}

static void spawn_enemies() {
    int row = (level >= 1 && level <= SPAWN_LEVELS) ? level - 1 : SPAWN_LEVELS - 1;
    for (const spawn_roll &s : SPAWNS[row]) {
        if (rand() % s.chance != 0)
            continue;
        if (s.count == SINGLE)
            new_enemy(s.type);
        else
            new_enemy_group(s.type, s.count, s.spacing);
    }
}

// damage fills the meter; left alone it drains, and a full one drives the player crazy
static void stay_sane(int &timer) {
    new_falling_star();
    if (player.insanity_level > 0) {
        timer += 1;
        if (timer > INSANITY_DECAY_TICKS) {
            player.insanity_level -= 1;
            timer = 0;
        }
    }
    if (player.insanity_level >= INSANITY_MAX) {
        player.crazy = true;
        player.insanity_level = INSANITY_MAX;
        player.times_crazy += 1;
        timer = player.times_crazy * CRAZY_SPELL;
        play_sample(sgonenuts, 255, 128, 1000, 0);
    }
}

static void fly_a_cow() {
    int side = rand() % 2;
    play_sample(smoo, 255, 128, 1000, 0);
    int y = rand() % 300 + 100;
    if (side == 0)
        new_particle(PARTICLE_COW, -20, y, COW_SPEED, -COW_SPEED, "");
    else
        new_particle(PARTICLE_COW, 660, y, -COW_SPEED, -COW_SPEED, "");
}

// the spell counts down on top of everything, and cows fly now and then
static void stay_crazy(int &timer) {
    timer -= 1;
    buffer_textout_centre_ex(font, clock_text(timer), 50, 12, white());
    if (timer <= 0) {
        player.crazy = false;
        player.insanity_level = 0;
        timer = 0;
    }
    if (rand() % COW_CHANCE == 0)
        fly_a_cow();
}

short logic() {
    static bool first = true;
    static unsigned int time = 0; // ticks into the current level
    static int timer = 0;         // sane: ticks towards the next decay; crazy: ticks left

    if (first) {
        set_up_new_game(time, timer);
        first = false;
    }
    run_level_clock(time);
    draw_status_texts(time);
    do_particles();
    draw_insanity_meter();
    draw_health();
    do_powerups();
    player.do_stuff();
    do_enemies();
    spawn_enemies();
    if (player.crazy)
        stay_crazy(timer);
    else
        stay_sane(timer);

    if (key[KEY_ESC] || gamepad.back) {
        first = true;
        player.init(false);
        stop_sample(sweird);
        particles.clear();
        return STATE_MENU;
    }
    if (player.health_points < 1) {
        first = true;
        stop_sample(sweird);
        return STATE_GAME_OVER;
    }
    return STATE_PLAYING;
}
