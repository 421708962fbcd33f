// replay.cpp: plays one of the scripted games headless and prints its record, a line a tick.
//
//   replay_game SCRIPT                 the record, as tests/replay/SCRIPT.txt holds it
//   replay_game SCRIPT --check RECORD  plays it against its record, and tells the first difference
//   replay_game --list                 the scripts' names
//
// Each run is a fresh process, so the routines' own static state (the menu's choice and
// bananas, the game-over screen's clock, the level clock) starts as it does when the game
// starts, whichever script ran before.
#include "desktop.h"
#include "draw.h"
#include "enemy.h"
#include "headless.h"
#include "logic.h"
#include "main.h"
#include "media.h"
#include "particle.h"
#include "player.h"
#include "screens.h"

#include <allegro.h>

#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// what a tick is recorded by: each group's text is hashed into the line
const char *const GROUPS[] = {"game",         "player",        "shots",          "enemies",
                              "enemy shots",  "particles",     "power-ups",      "queued pictures",
                              "queued texts", "queued shapes", "painted picture"};
constexpr int GROUP_COUNT = sizeof(GROUPS) / sizeof(GROUPS[0]);
constexpr int HASH_DIGITS = 2; // hex digits of a group's hash

struct tick_digest {
    std::vector<std::string> groups[GROUP_COUNT];      // each group's entries, one line each
    std::vector<std::pair<std::string, long>> summary; // the values a reader follows in the diff
};

std::string text_of(const char *format, ...) __attribute__((format(printf, 1, 2)));
std::string text_of(const char *format, ...) {
    char text[512];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return text;
}

std::map<const void *, std::string> picture_names;

// clang-format off
void name_pictures() {
    const std::pair<BITMAP *, const char *> single[] = {{banana, "banana"}, {title, "title"},
        {insanity, "insanity"}, {health, "health"}, {ship, "ship"}, {cow, "cow"},
        {targeting, "targeting"}, {shotplus, "shotplus"}, {shotminus, "shotminus"}, {nullptr, "-"}};
    for (const auto &[picture, name] : single)
        picture_names[picture] = name;
    const std::pair<BITMAP **, std::string> pairs[] = {{shot, "shot"}, {enemy1, "enemy1"},
        {enemy2, "enemy2"}, {enemy3, "enemy3"}, {eshot1, "eshot1"}};
    for (const auto &[picture, name] : pairs)
        picture_names[picture[0]] = "crazy/" + name, picture_names[picture[1]] = "sane/" + name;
    picture_names[font] = "font";
}
std::string picture_name(const void *p) {
    auto found = picture_names.find(p);
    return found != picture_names.end() ? found->second : "unnamed";
}

tick_digest digest(short state) {
    tick_digest d;
    d.groups[0].push_back(
        text_of("state %d level %d score %d highscore %d", state, level, score, highscore));
    const _player &p = player;
    d.groups[1].push_back(text_of("crazy %d two_player %d shot_level %d fire_delay %d "
                                  "p2_fire_delay %d insanity %d health %d times_crazy %d "
                                  "x %.9g y %.9g dx %.9g dy %.9g",
                                  p.crazy, p.two_player, p.shot_level, p.fire_delay,
                                  p.p2_fire_delay, p.insanity_level, p.health_points, p.times_crazy,
                                  p.x, p.y, p.dx, p.dy));
    for (const _shot &s : player.shots)
        d.groups[2].push_back(text_of("x %.9g y %.9g dx %.9g dy %.9g", s.x, s.y, s.dx, s.dy));
    for (const _enemy &e : enemies)
        d.groups[3].push_back(text_of(
            "alive %d type %d pattern %d start_delay %d fire_delay %d x %.9g y %.9g dx %.9g "
            "dy %.9g ddx %.9g ddy %.9g base_x %.9g base_y %.9g",
            e.alive, e.type, e.pattern, e.start_delay, e.fire_delay, e.x, e.y, e.dx, e.dy, e.ddx,
            e.ddy, e.base_x, e.base_y));
    for (const _shot &s : eshot)
        d.groups[4].push_back(text_of("x %.9g y %.9g dx %.9g dy %.9g", s.x, s.y, s.dx, s.dy));
    for (const _particle &q : particles)
        d.groups[5].push_back(text_of("alive %d kind %d life %d color %d x %.9g y %.9g dx %.9g "
                                      "dy %.9g ddx %.9g ddy %.9g angle %.9g text \"%s\"",
                                      q.alive, q.kind, q.life, q.color, q.x, q.y, q.dx, q.dy, q.ddx,
                                      q.ddy, q.angle, q.text.c_str()));
    for (const _powerup &u : powerups)
        d.groups[6].push_back(
            text_of("kind %d x %.9g y %.9g speed %.9g", u.kind, u.x, u.y, u.speed));
    for (const drawthing &c : drawqueue) {
        const bool picture = c.type <= CMD_ROTATE_SPRITE, text = !c.text.empty() || c.fnt;
        d.groups[picture ? 7
                 : text  ? 8
                         : 9]
            .push_back(text_of(
                "type %d x %d y %d w %d h %d color %d angle %d radius %d rx %d ry %d picture %s "
                "font %s text \"%s\"",
                c.type, c.x, c.y, c.w, c.h, c.color, c.angle, c.radius, c.rx, c.ry,
                picture_name(c.bmp).c_str(), picture_name(c.fnt).c_str(), c.text.c_str()));
    }
    d.summary = {{"state", state}, {"level", level}, {"score", score}, {"highscore", highscore},
        {"two_player", p.two_player}, {"crazy", p.crazy}, {"times_crazy", p.times_crazy},
        {"insanity", p.insanity_level}, {"health", p.health_points}, {"shot_level", p.shot_level},
        {"shots", long(p.shots.size())}, {"enemies", long(enemies.size())},
        {"enemy_shots", long(eshot.size())}, {"power-ups", long(powerups.size())}};
    return d;
}
// clang-format on

// FNV-1a, folded to the record's digits
uint32_t hash_of(const std::vector<std::string> &entries) {
    uint32_t h = 2166136261u;
    for (const std::string &e : entries)
        for (char c : e + "\n")
            h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
    return h;
}

// FNV-1a of the back buffer's pixels
uint32_t picture_hash() {
    uint32_t h = 2166136261u;
    const int bytes = back_buffer->w * ((bitmap_color_depth(back_buffer) + 7) / 8);
    for (int y = 0; y < back_buffer->h; y++)
        for (int x = 0; x < bytes; x++)
            h = (h ^ back_buffer->line[y][x]) * 16777619u;
    return h;
}

// the scripts: each tick's keys, pointer and pad, from the tick and what the game shows

void press(int k) {
    key[k] = 1;
}

void pad_pressed(int stick_x, int stick_y, int button) {
    num_joysticks = 1;
    joy[0].num_sticks = 1;
    joy[0].stick[0].flags = JOYFLAG_ANALOGUE | JOYFLAG_SIGNED;
    joy[0].stick[0].num_axis = 2;
    joy[0].stick[0].axis[0].pos = stick_x;
    joy[0].stick[0].axis[1].pos = stick_y;
    joy[0].num_buttons = 11;
    if (button >= 0)
        joy[0].button[button].b = 1;
}

// the keys that fly the ship's middle towards a point; while crazy the steering is reversed,
// so the pilot presses the other key
void fly_towards(float x, float y) {
    const float mx = player.x + SHIP_SIZE / 2, my = player.y + SHIP_SIZE / 2, slack = 4;
    const bool flip = player.crazy;
    if (x < mx - slack)
        press(flip ? KEY_RIGHT : KEY_LEFT);
    if (x > mx + slack)
        press(flip ? KEY_LEFT : KEY_RIGHT);
    if (y < my - slack)
        press(flip ? KEY_DOWN : KEY_UP);
    if (y > my + slack)
        press(flip ? KEY_UP : KEY_DOWN);
}

// the enemy on the screen nearest the ship, or null
const _enemy *nearest_enemy() {
    const _enemy *best = nullptr;
    float best_d = 1e9f;
    for (const _enemy &e : enemies) {
        float d = std::fabs(e.x - player.x) + std::fabs(e.y - player.y);
        if (e.alive && e.start_delay <= 0 && e.y > 0 && e.y < SCREEN_HEIGHT && d < best_d)
            best = &e, best_d = d;
    }
    return best;
}

// fires all the time, takes a falling "+", and otherwise stays under the nearest enemy
void hunt(int tick) {
    press(KEY_SPACE);
    for (const _powerup &u : powerups)
        if (u.kind == POWERUP_SHOT_UP && u.y < player.y) {
            fly_towards(u.x + POWERUP_SIZE / 2, u.y + POWERUP_SIZE);
            return;
        }
    const _enemy *e = nearest_enemy();
    fly_towards(e ? e->x + ENEMY_SIZE / 2 : 320 + 200 * std::sin(tick / 40.0f), 400);
}

// flies into the nearest enemy
void ram(int) {
    const _enemy *e = nearest_enemy();
    if (e)
        fly_towards(e->x + ENEMY_SIZE / 2, e->y + ENEMY_SIZE / 2);
}

// the title menu's choices, by keys and by the pad: round the choices both ways, Alt+Enter
// (which is no choice), a two-player game left with Esc, a one-player game chosen and left
// on the pad, and Esc on the title to quit
void title_menu(int t, short) {
    if (t >= 20 && t <= 31)
        press(KEY_DOWN); // held: moves at once and again 11 ticks on
    if (t == 45 || t == 60 || t == 75)
        press(KEY_UP);
    if (t == 90 || t == 110 || t == 175 || t == 176)
        press(KEY_DOWN); // 175: the last tick of the 15 after a game, whose keys are ignored
    if (t == 100)
        press(KEY_ALT), press(KEY_ENTER);
    if (t == 125)
        press(KEY_ENTER);
    if (t > 126 && t < 160)
        press(KEY_A), press(KEY_SPACE);
    if (t == 160)
        press(KEY_ESC);
    if (t >= 200)
        pad_pressed(0, t == 200 || t == 215 ? -128 : 0, t == 230 ? 0 : t == 260 ? 6 : -1);
    if (t > 231 && t < 260)
        joy[0].stick[0].axis[0].pos = 100, joy[0].button[2].b = 1;
    if (t == 290)
        press(KEY_ESC);
}

// a game that is paused with P for a moment and played with the sound off for a while
void one_player(int t, short) {
    if (t == 5)
        press(KEY_ENTER);
    else if (t > 5 && t < 595 && (t < 300 || t > 330))
        hunt(t);
    else if (t == 595)
        press(KEY_ESC);
    if (t == 300 || t == 330 || t == 350 || t == 351 || t == 420)
        press(t > 330 ? KEY_M : KEY_P);
}

// player one steers with W A S D into the top left corner, then into the bottom right, firing with
// Control now and then; player two sweeps the pointer round and clicks
void two_player(int t, short) {
    if (t == 5)
        press(KEY_DOWN);
    if (t == 20)
        press(KEY_ENTER);
    if (t <= 20 || t >= 420) {
        if (t == 420)
            press(KEY_ESC);
        return;
    }
    t < 170 ? (press(KEY_A), press(KEY_W)) : (press(KEY_D), press(KEY_S));
    if ((t / 20) % 2)
        press(KEY_LCONTROL);
    mouse_x = static_cast<int>(320 + 250 * std::cos(t / 25.0));
    mouse_y = static_cast<int>(220 + 180 * std::sin(t / 25.0));
    mouse_b = (t / 30) % 3 ? 1 : 0;
}

// one hit from full, the player goes crazy for the first spell and plays it out
void crazy_spell(int t, short) {
    if (t == 5)
        press(KEY_ENTER);
    if (t == 7)
        player.insanity_level = 95;
    if (t > 7 && t < 880)
        player.times_crazy == 0 ? ram(t) : hunt(t);
    if (t == 880)
        press(KEY_ESC);
}

// crazy with little health left, the player rams on until the ship goes up; then the game-over
// screen is left with Enter
void death(int t, short state) {
    static int over = 0; // ticks of the game-over screen
    if (t == 5)
        press(KEY_ENTER);
    if (t == 7)
        player.insanity_level = 95, player.health_points = 12;
    if (state == STATE_PLAYING && t > 7)
        ram(t);
    if (state == STATE_GAME_OVER && ++over == 170)
        press(KEY_ENTER);
}

// the ship is kept sane, so that it lasts the 72 seconds to the next level; after that, levels 3
// to 7 are set directly, 12 seconds each (7 sends in the mix of 6, the last level of its own)
void level_change(int t, short) {
    if (t == 5)
        press(KEY_ENTER);
    else if (t > 5 && t < 6700)
        hunt(t), player.insanity_level = 0;
    else if (t == 6700)
        press(KEY_ESC);
    if (t >= 3700 && t < 6700 && t % 600 == 100)
        level = 3 + (t - 3700) / 600;
}

// elsewhere only every QUICK_STEPth tick is recorded: these run through a stretch quickly
bool crazy_spell_slow(int t) {
    return t <= 150 || t > 750;
}
bool level_change_slow(int t) {
    return t > 3550 && t <= 3710;
}

struct script {
    const char *name;
    unsigned seed;
    int ticks;
    void (*input)(int tick, short state);
    bool (*every_tick)(int tick); // which ticks are recorded one by one; null: all
};
constexpr int QUICK_STEP = 50;
constexpr int PAINT_EVERY = 25;

const script SCRIPTS[] = {
    {"title_menu", 1, 300, title_menu, nullptr},
    {"one_player", 26, 600, one_player, nullptr},
    {"two_player", 3, 425, two_player, nullptr},
    {"crazy_spell", 4, 885, crazy_spell, crazy_spell_slow},
    {"death", 5, 450, death, nullptr},
    {"level_change", 6, 6710, level_change, level_change_slow},
};

void clear_input() {
    for (int k = 0; k < KEY_MAX; k++)
        key[k] = 0;
    mouse_b = 0;
    num_joysticks = 0;
    joy[0] = {};
}

std::string hex(uint32_t h) {
    char text[16];
    snprintf(text, sizeof text, "%0*x", HASH_DIGITS,
             (h ^ (h >> 16)) & ((1u << 4 * HASH_DIGITS) - 1));
    return text;
}

// how the line played differs from the line recorded: the named values, and the played entries
// of each group whose hash differs
void tell_difference(const script &s, int t, const std::string &recorded, const std::string &line,
                     const tick_digest &d, std::map<std::string, std::string> &named) {
    printf("%s: the first tick that differs is %d\n  recorded: %s\n  played:   %s\n", s.name, t,
           recorded.c_str(), line.c_str());
    for (const auto &[name, value] : d.summary)
        if (named[name] != std::to_string(value))
            printf("  %s: recorded %s, played %ld\n", name.c_str(), named[name].c_str(), value);
    const size_t at = recorded.find(' ') + 1, from = line.find(' ') + 1;
    for (int g = 0; g < GROUP_COUNT; g++) {
        if (recorded.compare(at + g * HASH_DIGITS, HASH_DIGITS, line, from + g * HASH_DIGITS,
                             HASH_DIGITS) == 0)
            continue;
        printf("  %s differs; what was played:%s\n", GROUPS[g], d.groups[g].empty() ? " none" : "");
        for (size_t i = 0; i < d.groups[g].size() && i < 12; i++)
            printf("    %s %zu: %s\n", GROUPS[g], i, d.groups[g][i].c_str());
    }
}

// plays the script and prints its record; or, given the record, stops at the first line that
// differs from it and tells how
int play(const script &s, const std::vector<std::string> *record) {
    reset_game_globals(s.seed);
    short state = STATE_MENU;
    std::vector<std::pair<std::string, long>> last_summary;
    std::map<std::string, std::string> named; // the values as the record has them so far
    size_t at = 0;
    for (int t = 1; t <= s.ticks; t++) {
        clear_input();
        s.input(t, state);
        counter = 1;
        run_pending_ticks(state, desktop_tick); // as the game's loop runs them
        if (s.every_tick && !s.every_tick(t) && t % QUICK_STEP != 0) {
            drawqueue.clear();
            continue;
        }
        tick_digest d = digest(state);
        if (t % PAINT_EVERY == 0) // the frame painted now and then, as the window would show it
            draw_all(), d.groups[GROUP_COUNT - 1].push_back(hex(picture_hash()));
        drawqueue.clear();
        std::string line = std::to_string(t) + " ";
        for (const std::vector<std::string> &group : d.groups)
            line += hex(hash_of(group));
        for (size_t i = 0; i < d.summary.size(); i++)
            if (last_summary.empty() || last_summary[i] != d.summary[i])
                line += " " + d.summary[i].first + "=" + std::to_string(d.summary[i].second);
        last_summary = d.summary;
        if (!record) {
            puts(line.c_str());
            continue;
        }
        const std::string recorded = at < record->size() ? (*record)[at++] : "(the end)";
        std::istringstream words(recorded.substr(std::min(recorded.size(), line.find(' ', 1))));
        for (std::string w; words >> w;)
            named[w.substr(0, w.find('='))] = w.substr(w.find('=') + 1);
        if (recorded != line) {
            tell_difference(s, t, recorded, line, d, named);
            return 1;
        }
    }
    if (record && at != record->size())
        printf("%s: the game ended at tick %d, before its record\n", s.name, s.ticks);
    return record && at != record->size() ? 1 : 0;
}

} // namespace

int main(int argc, char **argv) {
    const script *chosen = nullptr;
    for (const script &s : SCRIPTS)
        if (argc == 2 && strcmp(argv[1], "--list") == 0)
            puts(s.name);
        else if (argc > 1 && strcmp(argv[1], s.name) == 0)
            chosen = &s;
    if (!chosen)
        return argc == 2 && strcmp(argv[1], "--list") == 0 ? 0 : 2;
    std::vector<std::string> record; // the lines of the record to check against
    std::ifstream file(argc == 4 && strcmp(argv[2], "--check") == 0 ? argv[3] : "");
    for (std::string line; std::getline(file, line);)
        if (!line.empty() && line[0] != '#')
            record.push_back(line);
    if (argc == 4 && !file.eof()) {
        printf("%s: no record in %s; tools/record_replays.sh makes it\n", chosen->name, argv[3]);
        return 1;
    }
    alarm(60); // a game that does not end is a fault to report, not to wait for
    if (!start_headless_library() || chdir(MEDIA_DIR "/..") != 0)
        return 1;
    if (const char *why = load_media()) {
        fprintf(stderr, "%s\n", why);
        return 1;
    }
    name_pictures();
    if (start_desktop() != 0)
        return 1;
    int status = play(*chosen, argc == 4 ? &record : nullptr);
    stop_desktop();
    release_media();
    stop_headless_library();
    return status;
}
