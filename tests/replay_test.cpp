// The scripted games of replay.cpp, played again and compared with their records tick by tick.
#include "fixture.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <sys/wait.h>

namespace {

const char *const GROUPS[] = {"game",         "player",        "shots",          "enemies",
                              "enemy shots",  "particles",     "power-ups",      "queued pictures",
                              "queued texts", "queued shapes", "painted picture"};
constexpr size_t HASH_DIGITS = 2;

struct record_line {
    std::string tick, hashes;
    std::map<std::string, std::string> changed; // the values the line names
};

record_line parsed(const std::string &line) {
    record_line r;
    std::istringstream words(line);
    words >> r.tick >> r.hashes;
    for (std::string w; words >> w;)
        r.changed[w.substr(0, w.find('='))] = w.substr(w.find('=') + 1);
    return r;
}

// the lines a command prints, and whether it ended well
std::vector<std::string> output_of(const std::string &command, bool &ok) {
    std::vector<std::string> lines;
    FILE *out = popen(command.c_str(), "r");
    char text[4096];
    while (out && fgets(text, sizeof text, out))
        lines.push_back(std::string(text, strcspn(text, "\n")));
    int status = out ? pclose(out) : -1;
    ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return lines;
}

std::vector<std::string> scripts() {
    bool ok;
    return output_of(REPLAY_GAME " --list", ok);
}

// what the first differing line says: the named values that differ, and the groups whose hashes
// do, with what was played in them
std::string explained(const std::string &script, const std::vector<std::string> &expected,
                      const std::vector<std::string> &played, size_t at) {
    std::map<std::string, std::string> want, got; // every named value as of that line
    for (size_t i = 0; i <= at; i++) {
        for (auto &[k, v] : parsed(expected[i]).changed)
            want[k] = v;
        for (auto &[k, v] : parsed(played[i]).changed)
            got[k] = v;
    }
    record_line e = parsed(expected[at]), p = parsed(played[at]);
    std::ostringstream why;
    why << script << ": the first tick that differs is " << e.tick;
    if (e.tick != p.tick)
        return why.str() + " (played: tick " + p.tick + ")";
    for (const auto &[k, v] : want)
        if (got[k] != v)
            why << "\n  " << k << ": expected " << v << ", played " << got[k];
    std::vector<std::string> groups;
    for (size_t g = 0; g < std::size(GROUPS); g++)
        if (e.hashes.substr(g * HASH_DIGITS, HASH_DIGITS) !=
            p.hashes.substr(g * HASH_DIGITS, HASH_DIGITS))
            groups.push_back(GROUPS[g]);
    bool ok; // the record holds only hashes of these: what was played instead
    std::vector<std::string> shown = output_of(REPLAY_GAME " " + script + " --show " + e.tick, ok);
    for (const std::string &g : groups) {
        why << "\n  " << g << " differs; played at tick " << e.tick << ":";
        int told = 0;
        for (const std::string &line : shown) {
            if (line.rfind(g + " ", 0) == 0 && std::isdigit(line[g.size() + 1]) && told++ < 12)
                why << "\n    " << line;
        }
        why << (told > 12 ? "\n    ..." : "") << (told ? "" : " none");
    }
    why << "\n  (" REPLAY_GAME " " << script << " --show " << e.tick << " shows it all)";
    return why.str();
}

class Replay : public GameTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(Replay, EveryTickPlaysAsRecorded) {
    const std::string script = GetParam();
    std::ifstream file(REPLAY_RECORDS "/" + script + ".txt");
    ASSERT_TRUE(file) << "no record of " << script << ": make it with tools/record_replays.sh";
    std::vector<std::string> expected;
    for (std::string line; std::getline(file, line);)
        if (!line.empty() && line[0] != '#')
            expected.push_back(line);
    bool ok;
    std::vector<std::string> played = output_of(REPLAY_GAME " " + script, ok);
    EXPECT_TRUE(ok) << script << " did not play to its end";
    for (size_t i = 0; i < std::min(expected.size(), played.size()); i++)
        if (expected[i] != played[i]) {
            ADD_FAILURE() << explained(script, expected, played, i);
            return;
        }
    EXPECT_EQ(played.size(), expected.size()) << script << ": lines played and recorded";
}

INSTANTIATE_TEST_SUITE_P(Scripts, Replay, ::testing::ValuesIn(scripts()),
                         [](const auto &info) { return info.param; });

} // namespace
