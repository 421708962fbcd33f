// tick_bench.cpp: what one pass of the game's loop costs on each screen, headless on the real
// library, against the least any 640x480 16-bit game pays a frame: one clear and one blit.
//
// A pass is the loop's black clear, one tick of the state routine, draw_all() and the copy of
// back_buffer to a 640x480 memory bitmap standing in for the window. Each scene is seeded and
// played into its steady state before it is timed; the summary after the runs gives every
// scene as a multiple of the floor and the cost of each object the stress scenes add. The
// scale_ runs time the copy of the picture for a window twice and four times its size.
#include "display.h"
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
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iterator>
#include <map>
#include <string>

#include <unistd.h>

namespace {

constexpr unsigned SEED = 1969;
constexpr int MEASURED_TICKS = 3000; // a minute of play
constexpr int REPEATS = 20;

BITMAP *window; // where a frame is presented

// no system driver: memory bitmaps, the real pictures, and sounds that play nowhere
void bring_up_library() {
    if (!start_headless_library() || chdir(PROJECT_DIR) != 0) {
        fprintf(stderr, "Couldn't start the library headless in %s\n", PROJECT_DIR);
        exit(1);
    }
    window = create_bitmap(SCREEN_WIDTH, SCREEN_HEIGHT);
    if (const char *unloaded = load_media()) {
        fprintf(stderr, "%s\n", unloaded);
        exit(1);
    }
    menu(); // its first call rolls its bananas' angles; every scene comes after that
    drawqueue.clear();
}

short pass(short (*routine)()) {
    buffer_clear_to_color(makecol(0, 0, 0));
    short next = routine();
    draw_all();
    blit(back_buffer, window, 0, 0, 0, 0, SCREEN_W, SCREEN_H);
    return next;
}

struct game {
    int level;
    bool two_player, crazy, firing;
};

// the scene stays what it is named: its level, its state of mind, and a ship that lives
void hold(const game &g) {
    level = g.level;
    player.health_points = 100;
    if (!g.crazy) {
        player.insanity_level = 0; // a hail of hits in one tick can still fill the meter
        player.crazy = false;
    }
}

// the set-up the menu does, then the game's first tick
void start_game(const game &g) {
    reset_game_globals(SEED);
    player.init(g.two_player);
    score = 0;
    key[KEY_SPACE] = g.firing;
    mouse_b = g.two_player ? 1 : 0;
    mouse_x = 320;
    mouse_y = 120;
    pass(logic);
}

// plays on, holding the scene; false if the game ended all the same
bool play_on(const game &g, int ticks) {
    for (int i = 0; i < ticks; i++) {
        hold(g);
        if (pass(logic) != STATE_PLAYING)
            return false;
    }
    return true;
}

// Esc, so that the next logic() call sets up a new game
void leave_game() {
    key[KEY_ESC] = 1;
    pass(logic);
    key[KEY_ESC] = 0;
}

using steady = std::chrono::steady_clock;
std::string scene_name;                               // of the scene being run
std::map<std::string, std::vector<double>> best_pass; // ms, per pass, the least of all runs

// Times passes, counting the objects in play: enemies, shots of both sides and particles.
// Every run of a scene replays the same passes, so the least time of a pass over the runs is
// its cost without the moments the system gave the processor to something else.
void time_passes(benchmark::State &state, short (*routine)(), short expected,
                 const std::function<void()> &hold_scene) {
    std::vector<double> &best = best_pass[scene_name];
    best.resize(MEASURED_TICKS, 1e9);
    double objects = 0;
    size_t i = 0;
    auto last = steady::now();
    for (auto _ : state) {
        hold_scene();
        if (pass(routine) != expected) {
            state.SkipWithError("the scene left its screen");
            break;
        }
        objects += enemies.size() + eshot.size() + player.shots.size() + particles.size();
        auto now = steady::now();
        best[i] = std::min(best[i], std::chrono::duration<double, std::milli>(now - last).count());
        i++;
        last = now;
    }
    state.counters["objects"] = benchmark::Counter(objects, benchmark::Counter::kAvgIterations);
}

void floor_frame(benchmark::State &state) {
    for (auto _ : state) {
        clear_to_color(back_buffer, makecol(0, 0, 0));
        blit(back_buffer, window, 0, 0, 0, 0, SCREEN_W, SCREEN_H);
        benchmark::ClobberMemory();
    }
}

// the picture made scale times bigger for a big window, by the library's stretch_blit or by
// the game's own copy, onto a memory bitmap of the window's size
void scaling(benchmark::State &state, int scale, bool by_hand) {
    reset_game_globals(SEED);
    for (int i = 0; i < 1000; i++)
        pass(menu);
    BITMAP *big = create_bitmap(SCREEN_WIDTH * scale, SCREEN_HEIGHT * scale);
    for (auto _ : state) {
        if (by_hand)
            scale_picture(back_buffer, big, scale);
        else
            stretch_blit(back_buffer, big, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, 0, 0, big->w, big->h);
        benchmark::ClobberMemory();
    }
    destroy_bitmap(big);
}

// the picture filling the height of a 1366x768 screen in fullscreen, 1024x768, by the game's
// fitted copy
void fitting(benchmark::State &state, int w, int h) {
    reset_game_globals(SEED);
    for (int i = 0; i < 1000; i++)
        pass(menu);
    BITMAP *big = create_bitmap(w, h);
    for (auto _ : state) {
        fit_picture(back_buffer, big);
        benchmark::ClobberMemory();
    }
    destroy_bitmap(big);
}

void title_menu(benchmark::State &state) {
    reset_game_globals(SEED);
    for (int i = 0; i < 1000; i++) // until the slowest star has fallen the whole screen
        pass(menu);
    time_passes(state, menu, STATE_MENU, [] {});
}

// a game played on for warm_up ticks, then timed; the timing loop does not run after an error
void play(benchmark::State &state, const game &g, int warm_up = MEASURED_TICKS) {
    if (!play_on(g, warm_up))
        state.SkipWithError("the game ended before it was timed");
    time_passes(state, logic, STATE_PLAYING, [&] { hold(g); });
    leave_game();
}

// a sane level-1 game with n still stars, or n still enemies spread over the top of the
// screen, firing at the ship and so keeping a steady stream of enemy shots
void stress(benchmark::State &state, bool with_enemies, int n) {
    const game g{1, false, false, false};
    start_game(g);
    for (int i = 0; i < n; i++) {
        int x = rand() % 600 + 10, y = rand() % 240 + 20;
        if (!with_enemies) {
            new_particle(PARTICLE_STAR, x, y, 0, 0, "");
            continue;
        }
        _enemy e;
        e.init(i % 3, static_cast<float>(x), static_cast<float>(y), 6, 0);
        e.dy = 0;
        e.fire_delay = static_cast<short>(rand() % 71);
        enemies.push_back(e);
    }
    play(state, g, 200); // until the first shots have crossed the screen
}

// The cost of n more still stars, from passes taken in turn with and without them: the two
// passes of a pair see the same load on the machine, so their difference holds up even where
// it is small beside a whole pass. The sizes take turns too, in rounds of 2000 pairs, so that
// a busier spell of the machine falls on all of them. Median of the pairs, in ns a star.
std::map<int, double> paired_star_costs(const std::vector<int> &sizes) {
    std::map<int, std::vector<double>> differences;
    for (int round = 0; round < 5; round++)
        for (int n : sizes) {
            const game g{1, false, false, false};
            start_game(g);
            std::list<_particle> parked(n);
            for (_particle &p : parked)
                p.init(PARTICLE_STAR, rand() % 600 + 10, rand() % 240 + 20, 0, 0, "");
            play_on(g, 200);
            double without = 0;
            for (int i = 0; i < 4000; i++) {
                const bool with = i % 2;
                if (with) // at the front, where they stay: still stars never die
                    particles.splice(particles.begin(), parked);
                hold(g);
                const auto start = steady::now();
                pass(logic);
                const double ns =
                    std::chrono::duration<double, std::nano>(steady::now() - start).count();
                if (with) {
                    parked.splice(parked.end(), particles, particles.begin(),
                                  std::next(particles.begin(), n));
                    differences[n].push_back((ns - without) / n);
                }
                without = ns;
            }
            leave_game();
        }
    std::map<int, double> costs;
    for (auto &[n, d] : differences) {
        std::nth_element(d.begin(), d.begin() + d.size() / 2, d.end());
        costs[n] = d[d.size() / 2];
    }
    return costs;
}

struct result {
    double fastest_ms, median_ms, objects; // CPU time of a pass; mean objects in play
};

// the console table, and the results kept for the summary
class summary_reporter : public benchmark::ConsoleReporter {
  public:
    std::map<std::string, result> results;

    void ReportRuns(const std::vector<Run> &runs) override {
        for (const Run &r : runs) {
            result &kept = results[r.run_name.function_name];
            if (r.counters.count("objects"))
                kept.objects = r.counters.at("objects").value;
            if (r.aggregate_name == "median")
                kept.median_ms = r.GetAdjustedCPUTime();
            if (r.aggregate_name == "min")
                kept.fastest_ms = r.GetAdjustedCPUTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

// what each object a stress scene adds costs; flat is highest/lowest <= 1.2
void print_flatness(const char *kind, const std::map<int, double> &ns) {
    double lo = 1e9, hi = 0;
    for (const auto &[n, cost] : ns) {
        printf("%s/%-9d %6.1f ns per object added\n", kind, n, cost);
        lo = std::min(lo, cost);
        hi = std::max(hi, cost);
    }
    if (!ns.empty())
        printf("%-26s highest/lowest %.2f (target 1.20: %s)\n", kind, hi / lo,
               lo > 0 && hi / lo <= 1.2 ? "met" : "MISSED");
}

void print_summary(const std::vector<std::string> &names, std::map<std::string, result> &results) {
    if (!results.count("floor"))
        return;
    const double floor = results["floor"].fastest_ms;
    std::map<std::string, int> targets = {
        {"title_menu", 2}, {"level1_sane_firing", 2}, {"level6_crazy_two_player", 4}};
    printf("\nCPU ms a pass, fastest and median of %d runs of %d passes\n", REPEATS,
           MEASURED_TICKS);
    printf("%-26s %9s %9s %8s %8s %8s\n", "scene", "fastest", "median", "x floor", "target",
           "objects");
    std::map<int, double> enemy_costs;
    std::vector<int> star_sizes;
    const auto none = results.find("stress_enemies/0");
    const result empty = none == results.end() ? result{} : none->second;
    for (const std::string &name : names) {
        if (!results.count(name))
            continue;
        const result &r = results[name];
        std::string target;
        if (targets.count(name))
            target = (r.fastest_ms / floor <= targets[name] ? "met " : "MISSED ") +
                     std::to_string(targets[name]) + "x";
        printf("%-26s %9.4f %9.4f %8.2f %8s %8.0f\n", name.c_str(), r.fastest_ms, r.median_ms,
               r.fastest_ms / floor, target.c_str(), r.objects);
        const int n = atoi(name.c_str() + name.find('/') + 1);
        if (name.rfind("stress_particles/", 0) == 0 && n > 0)
            star_sizes.push_back(n);
        if (name.rfind("stress_enemies/", 0) == 0 && n > 0 && empty.fastest_ms > 0)
            enemy_costs[n] = (r.fastest_ms - empty.fastest_ms) * 1e6 / (r.objects - empty.objects);
    }
    printf("still stars, from pairs of passes with and without them:\n");
    print_flatness("stress_particles", paired_star_costs(star_sizes));
    printf("enemies with their shots, over the fastest run of the scene with none:\n");
    print_flatness("stress_enemies", enemy_costs);
    std::string slowest;
    double slowest_ms = 0;
    for (const auto &[name, best] : best_pass)
        for (double ms : best)
            if (ms > slowest_ms)
                slowest_ms = ms, slowest = name;
    printf("slowest pass, least of its %d runs: %.3f ms (%s) of the %d ms tick\n", REPEATS,
           slowest_ms, slowest.c_str(), 1000 / TICKS_PER_SECOND);
}

} // namespace

int main(int argc, char **argv) {
    bring_up_library();
    std::vector<std::string> names;
    auto add = [&](const std::string &name, std::function<void(benchmark::State &)> scene) {
        names.push_back(name);
        auto run = [=](benchmark::State &state) {
            scene_name = name;
            scene(state);
        };
        auto fastest = [](const std::vector<double> &v) {
            return *std::min_element(v.begin(), v.end());
        };
        benchmark::RegisterBenchmark(name.c_str(), run)
            ->Iterations(MEASURED_TICKS)
            ->Repetitions(REPEATS)
            ->ReportAggregatesOnly(true)
            ->ComputeStatistics("min", fastest)
            ->Unit(benchmark::kMillisecond);
    };
    add("floor", floor_frame);
    add("title_menu", title_menu);
    // a minute into the game; a crazy one plays the first half sane, so that the star field
    // is full when the madness sets in
    for (const game &g : {game{1, false, false, true}, game{6, true, true, true}})
        add(g.level == 1 ? "level1_sane_firing" : "level6_crazy_two_player", [g](auto &s) {
            start_game(g);
            play_on({g.level, g.two_player, false, g.firing}, MEASURED_TICKS / 2);
            if (g.crazy) {
                player.times_crazy = 99;     // a spell of 100 * 15 s, longer than any run here
                player.insanity_level = 100; // the next tick drives the player crazy
            }
            play(s, g, MEASURED_TICKS / 2);
        });
    for (int n : {0, 100, 1000, 10000})
        add("stress_particles/" + std::to_string(n), [n](auto &s) { stress(s, false, n); });
    for (int n : {0, 100, 1000})
        add("stress_enemies/" + std::to_string(n), [n](auto &s) { stress(s, true, n); });
    for (int scale : {2, 4}) {
        add("scale_stretch_blit/" + std::to_string(scale),
            [scale](auto &s) { scaling(s, scale, false); });
        add("scale_by_hand/" + std::to_string(scale),
            [scale](auto &s) { scaling(s, scale, true); });
    }
    add("scale_fit/1024x768", [](auto &s) { fitting(s, 1024, 768); });
    benchmark::Initialize(&argc, argv);
    summary_reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    print_summary(names, reporter.results);
    benchmark::Shutdown();
    return 0;
}
