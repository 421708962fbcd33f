// replay.cpp: plays one of the scripted games headless and prints its record.
//
//   replay_game SCRIPT          the record, as tests/replay/SCRIPT.txt holds it
//   replay_game SCRIPT RECORD   plays it against its record, and tells the first difference
//   replay_game                 the scripts' names
//
// Each run is a fresh process, so the routines' own static state (the menu's choice and
// bananas, the game-over screen's clock, the level clock) starts as it does when the game
// starts, whichever script ran before.
//
// A line of the record is a span of SPAN ticks: FIRST-LAST, a hash of each tick, a hash of each of
// the tick's PARTS over the span, and TICK:NAME=VALUE for each named value that changed in it.
// Where a script runs through a stretch quickly, only every QUICK_STEPth tick is recorded, on lines
// of their own written FIRST-LAST/QUICK_STEP.
#include "desktop.h"
#include "draw.h"
#include "enemy.h"
#include "headless.h"
#include "logic.h"
#include "main.h"
#include "media.h"
#include "particle.h"
#include "player.h"
#include "record_hash.h"

#include <allegro.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const char *const PARTS[] = {"game",         "player",        "shots",          "enemies",
                             "enemy shots",  "particles",     "power-ups",      "queued pictures",
                             "queued texts", "queued shapes", "painted picture"};
constexpr int PART_COUNT = sizeof(PARTS) / sizeof(PARTS[0]);
constexpr int PAINT_EVERY = 25; // ticks between the painted pictures
constexpr int QUICK_STEP = 50;
constexpr int SPAN = 25; // recorded ticks a line

// the values a reader follows: the game's first, then the player's from PLAYER_NAMED on
const char *const NAMED[] = {"state", "level",       "score",    "highscore", "two_player",
                             "crazy", "times_crazy", "insanity", "health",    "shot_level"};
constexpr int PLAYER_NAMED = 4;
using values = std::vector<int>;

// "name value name value..." for the named values from one to another, as a part's entry reads
std::string text_of(const values &named, int from, int to) {
    std::string text;
    for (int n = from; n < to; n++)
        text += say(n > from ? " %s %d" : "%s %d", NAMED[n], named[n]);
    return text;
}

struct tick {
    int number;
    values named;                               // as NAMED names them
    std::vector<std::string> parts[PART_COUNT]; // each part's entries, one line each
};

// a queued command's picture or font, by the media file it came from
const char *name_of(const void *p) {
    const char *file = picture_file(static_cast<const BITMAP *>(p));
    return file ? file : !p ? "-" : p == font ? "font" : "unnamed";
}

std::string shot_text(const _shot &s) {
    return say("x %.9g y %.9g dx %.9g dy %.9g", s.x, s.y, s.dx, s.dy);
}

// the tick as the record holds it: the game's and the player's values, each list, the queued
// drawing and, every PAINT_EVERYth tick, the picture painted from it
tick digest(int number, short state) {
    const _player &p = player;
    tick d{number,
           {state, level, score, highscore, p.two_player, p.crazy, p.times_crazy, p.insanity_level,
            p.health_points, p.shot_level},
           {}};
    d.parts[0].push_back(text_of(d.named, 0, PLAYER_NAMED));
    d.parts[1].push_back(text_of(d.named, PLAYER_NAMED, std::size(NAMED)) +
                         say(" fire_delay %d p2_fire_delay %d x %.9g y %.9g dx %.9g dy %.9g",
                             p.fire_delay, p.p2_fire_delay, p.x, p.y, p.dx, p.dy));
    for (const _shot &s : player.shots)
        d.parts[2].push_back(shot_text(s));
    for (const _enemy &e : enemies)
        d.parts[3].push_back(
            say("alive %d type %d pattern %d start_delay %d fire_delay %d x %.9g y %.9g dx %.9g "
                "dy %.9g ddx %.9g ddy %.9g base_x %.9g base_y %.9g",
                e.alive, e.type, e.pattern, e.start_delay, e.fire_delay, e.x, e.y, e.dx, e.dy,
                e.ddx, e.ddy, e.base_x, e.base_y));
    for (const _shot &s : eshot)
        d.parts[4].push_back(shot_text(s));
    for (const _particle &q : particles)
        d.parts[5].push_back(say("alive %d kind %d life %d color %d x %.9g y %.9g dx %.9g "
                                 "dy %.9g ddx %.9g ddy %.9g angle %.9g text \"%s\"",
                                 q.alive, q.kind, q.life, q.color, q.x, q.y, q.dx, q.dy, q.ddx,
                                 q.ddy, q.angle, q.text.c_str()));
    for (const _powerup &u : powerups)
        d.parts[6].push_back(say("kind %d x %.9g y %.9g speed %.9g", u.kind, u.x, u.y, u.speed));
    for (const drawthing &c : drawqueue) {
        const int part = c.type <= CMD_ROTATE_SPRITE ? 7 : !c.text.empty() || c.fnt ? 8 : 9;
        d.parts[part].push_back(
            say("type %d x %d y %d w %d h %d color %d angle %d radius %d rx %d ry %d picture %s "
                "font %s text \"%s\"",
                c.type, c.x, c.y, c.w, c.h, c.color, c.angle, c.radius, c.rx, c.ry, name_of(c.bmp),
                name_of(c.fnt), c.text.c_str()));
    }
    if (number % PAINT_EVERY == 0) { // the frame painted, as the window would show it
        draw_all();
        record_hash picture;
        picture.add(back_buffer);
        d.parts[PART_COUNT - 1].push_back(say("%08x", picture.h));
    }
    drawqueue.clear();
    return d;
}

// the scripts: each tick's keys, pointer and pad, from the tick and what the game shows

// the keys that fly the ship's middle towards a point; while crazy the steering is reversed,
// so the pilot presses the other key
void fly_towards(float x, float y) {
    const float mx = player.x + SHIP_SIZE / 2, my = player.y + SHIP_SIZE / 2, slack = 4;
    if (x < mx - slack || x > mx + slack)
        key[(x < mx) != player.crazy ? KEY_LEFT : KEY_RIGHT] = 1;
    if (y < my - slack || y > my + slack)
        key[(y < my) != player.crazy ? KEY_UP : KEY_DOWN] = 1;
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
    key[KEY_SPACE] = 1;
    for (const _powerup &u : powerups)
        if (u.kind == POWERUP_SHOT_UP && u.y < player.y) {
            fly_towards(u.x + POWERUP_SIZE / 2, u.y + POWERUP_SIZE);
            return;
        }
    const _enemy *e = nearest_enemy();
    fly_towards(e ? e->x + ENEMY_SIZE / 2 : 320 + 200 * std::sin(tick / 40.0f), 400);
}

// flies into the nearest enemy
void ram() {
    if (const _enemy *e = nearest_enemy())
        fly_towards(e->x + ENEMY_SIZE / 2, e->y + ENEMY_SIZE / 2);
}

// the title menu's choices, by keys and by the pad: round the choices both ways, Alt+Enter
// (which is no choice), a two-player game left with Esc, a one-player game chosen and left
// on the pad, and Esc on the title to quit
void title_menu(int t, short) {
    // Down held from 20 to 31 moves at once and again 11 ticks on; 175 is the last tick of the 15
    // after a game, whose keys are ignored
    if ((t >= 20 && t <= 31) || t == 90 || t == 110 || t == 175 || t == 176)
        key[KEY_DOWN] = 1;
    if (t == 45 || t == 60 || t == 75)
        key[KEY_UP] = 1;
    if (t == 100)
        key[KEY_ALT] = 1, key[KEY_ENTER] = 1;
    if (t > 126 && t < 160)
        key[KEY_A] = 1, key[KEY_SPACE] = 1;
    if (t == 160)
        key[KEY_ESC] = 1;
    if (t < 200)
        return;
    num_joysticks = 1; // a pad: its stick up twice, a button, then right with another held
    joy[0].num_sticks = 1;
    joy[0].stick[0].flags = JOYFLAG_ANALOGUE | JOYFLAG_SIGNED;
    joy[0].stick[0].num_axis = 2;
    joy[0].stick[0].axis[0].pos = t > 231 && t < 260 ? 100 : 0;
    joy[0].stick[0].axis[1].pos = t == 200 || t == 215 ? -128 : 0;
    joy[0].num_buttons = 11;
    joy[0].button[0].b = t == 230;
    joy[0].button[2].b = t > 231 && t < 260;
    joy[0].button[6].b = t == 260;
}

// a game that is paused with P for a moment and played with the sound off for a while
void one_player(int t, short) {
    if (t > 5 && t < 595 && (t < 300 || t > 330))
        hunt(t);
    if (t == 300 || t == 330 || t == 350 || t == 351 || t == 420)
        key[t > 330 ? KEY_M : KEY_P] = 1;
}

// player one steers with W A S D into the top left corner, then into the bottom right, firing with
// Control now and then; player two sweeps the pointer round and clicks
void two_player(int t, short) {
    if (t == 5)
        key[KEY_DOWN] = 1;
    if (t <= 20 || t >= 420)
        return;
    key[t < 170 ? KEY_A : KEY_D] = 1;
    key[t < 170 ? KEY_W : KEY_S] = 1;
    if ((t / 20) % 2)
        key[KEY_LCONTROL] = 1;
    mouse_x = static_cast<int>(320 + 250 * std::cos(t / 25.0));
    mouse_y = static_cast<int>(220 + 180 * std::sin(t / 25.0));
    mouse_b = (t / 30) % 3 ? 1 : 0;
}

// one hit from full, the player goes crazy for the first spell and plays it out
void crazy_spell(int t, short) {
    if (t == 7)
        player.insanity_level = 95;
    if (t > 7 && t < 880)
        player.times_crazy == 0 ? ram() : hunt(t);
}

// crazy with little health left, the player rams on until the ship goes up; then the game-over
// screen is left with Enter
void death(int t, short state) {
    static int over = 0; // ticks of the game-over screen
    if (t == 7)
        player.insanity_level = 95, player.health_points = 12;
    if (state == STATE_PLAYING && t > 7)
        ram();
    if (state == STATE_GAME_OVER && ++over == 170)
        key[KEY_ENTER] = 1;
}

// the ship is kept sane, so that it lasts the 72 seconds to the next level; after that, levels 3
// to 7 are set directly, 12 seconds each (7 sends in the mix of 6, the last level of its own)
void level_change(int t, short) {
    if (t > 5 && t < 6700)
        hunt(t), player.insanity_level = 0;
    if (t >= 3700 && t < 6700 && t % 600 == 100)
        level = 3 + (t - 3700) / 600;
}

struct script {
    const char *name;
    unsigned seed;
    int ticks, enter, esc; // the game's length, and the ticks Enter and Esc are pressed on
    void (*input)(int tick, short state);
    bool (*quick)(int tick); // the ticks of the stretches run through quickly; null: none
};

const script SCRIPTS[] = {
    {"title_menu", 1, 300, 125, 290, title_menu, nullptr},
    {"one_player", 26, 600, 5, 595, one_player, nullptr},
    {"two_player", 3, 425, 20, 420, two_player, nullptr},
    {"crazy_spell", 4, 885, 5, 880, crazy_spell, [](int t) { return t > 150 && t <= 750; }},
    {"death", 5, 450, 5, 0, death, nullptr},
    {"level_change", 6, 6710, 5, 6700, level_change, [](int t) { return t <= 3550 || t > 3710; }},
};

// a line of the record as it is played
struct line {
    int first = 0;
    bool quick = false;
    std::vector<tick> played;         // each tick recorded
    std::string ticks;                // the hash of each
    record_hash parts[PART_COUNT];    // each part's hash over them
    std::vector<std::string> changes; // TICK:NAME=VALUE for each named value that changed

    // adds the tick, and its named values that differ from those last written
    void add(tick d, values &last) {
        record_hash of_tick;
        for (int p = 0; p < PART_COUNT; p++) {
            of_tick.add(PARTS[p]);
            parts[p].add(std::to_string(d.number));
            for (const std::string &entry : d.parts[p])
                of_tick.add(entry), parts[p].add(entry);
        }
        ticks += of_tick.hex();
        for (size_t n = 0; n < d.named.size(); n++)
            if (last.empty() || last[n] != d.named[n])
                changes.push_back(say("%d:%s=%d", d.number, NAMED[n], d.named[n]));
        last = d.named;
        played.push_back(std::move(d));
    }
    std::string text() const {
        std::string text = say("%d-%d", first, played.back().number);
        text += (quick ? say("/%d ", QUICK_STEP) : " ") + ticks + " ";
        for (const record_hash &h : parts)
            text += h.hex();
        for (const std::string &change : changes)
            text += " " + change;
        return text;
    }
};

// the named values' changes in one list and not in the other
std::string only_in(const std::vector<std::string> &these, const std::vector<std::string> &those) {
    std::string text;
    for (const std::string &change : these)
        if (std::find(those.begin(), those.end(), change) == those.end())
            text += " " + change;
    return text.empty() ? " none" : text;
}

// how a line played differs from its record: the first tick whose hash differs, the named values'
// changes that differ, and what was played at that tick in each part whose hash differs
void tell_difference(const char *script, const std::string &recorded, const line &l) {
    std::istringstream words(recorded);
    std::string span, ticks, parts;
    words >> span >> ticks >> parts;
    const std::vector<std::string> changes{std::istream_iterator<std::string>(words), {}};
    size_t i = 0;
    while (i + 1 < l.played.size() && hash_at(ticks, i) == hash_at(l.ticks, i))
        i++;
    const tick &d = l.played[i];
    const std::string which = hash_at(ticks, i) == hash_at(l.ticks, i)
                                  ? " or before (the hashes agree)"
                              : l.quick ? say(" (only every %dth is recorded here)", QUICK_STEP)
                                        : "";
    printf("%s: the first tick that differs is %d%s\n  recorded: %s\n  played:   %s\n", script,
           d.number, which.c_str(), recorded.c_str(), l.text().c_str());
    printf("  named values recorded:%s\n  played instead:%s\n", only_in(changes, l.changes).c_str(),
           only_in(l.changes, changes).c_str());
    for (int p = 0; p < PART_COUNT; p++) {
        if (hash_at(parts, p) == l.parts[p].hex())
            continue;
        printf("  %s: differs in this line; what was played at tick %d:%s\n", PARTS[p], d.number,
               d.parts[p].empty() ? " none" : "");
        for (size_t e = 0; e < d.parts[p].size() && e < 12; e++)
            printf("    %s %zu: %s\n", PARTS[p], e, d.parts[p][e].c_str());
    }
}

// plays the script and prints its record; or, given its record, stops at the first line that
// differs from it and tells how
int play(const script &s, const std::vector<std::string> &record) {
    reset_game_globals(s.seed);
    short state = STATE_MENU;
    line l;
    values last; // the named values as last written
    size_t at = 0;
    for (int t = 1; t <= s.ticks; t++) {
        std::fill_n(key, KEY_MAX, 0);
        mouse_b = num_joysticks = 0;
        joy[0] = {};
        if (t == s.enter || t == s.esc)
            key[t == s.enter ? KEY_ENTER : KEY_ESC] = 1;
        s.input(t, state);
        counter = 1;
        run_pending_ticks(state, desktop_tick); // as the game's loop runs them
        const bool quick = s.quick && s.quick(t);
        if (l.first == 0)
            l.first = t, l.quick = quick;
        if (quick && t % QUICK_STEP != 0 && t < s.ticks) {
            drawqueue.clear();
            continue;
        }
        l.add(digest(t, state), last);
        if (t < s.ticks && l.played.size() < SPAN && (s.quick && s.quick(t + 1)) == quick)
            continue;
        if (record.empty())
            puts(l.text().c_str());
        else if (at >= record.size() || record[at] != l.text()) {
            tell_difference(s.name, at < record.size() ? record[at] : "(the end)", l);
            return 1;
        }
        at++;
        l = {};
    }
    if (at < record.size())
        printf("%s: the game ended at tick %d, before its record\n", s.name, s.ticks);
    return at < record.size();
}

} // namespace

int main(int argc, char **argv) {
    const script *chosen = nullptr;
    for (const script &s : SCRIPTS)
        if (argc == 1)
            puts(s.name);
        else if (strcmp(argv[1], s.name) == 0)
            chosen = &s;
    if (!chosen)
        return argc == 1 ? 0 : 2;
    std::vector<std::string> record; // the lines of the record to check against
    std::ifstream file(argc == 3 ? argv[2] : "");
    for (std::string text; std::getline(file, text);)
        if (!text.empty() && text[0] != '#')
            record.push_back(text);
    if (argc == 3 && record.empty()) {
        printf("%s: no record in %s; tools/record_replays.sh makes it\n", chosen->name, argv[2]);
        return 1;
    }
    alarm(60); // a game that does not end is a fault to report, not to wait for
    const char *why = start_headless_library() && chdir(MEDIA_DIR "/..") == 0
                          ? load_media()
                          : "no headless library, or no " MEDIA_DIR;
    if (why || start_desktop() != 0) {
        fprintf(stderr, "%s\n", why ? why : "no desktop");
        return 1;
    }
    const int status = play(*chosen, record); // an empty record: printed
    stop_desktop();
    release_media();
    stop_headless_library();
    return status;
}
