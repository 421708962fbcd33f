// The scripted games of replay.cpp, each played against its record: the game program stops at
// the first line that differs and tells which tick, which values and which parts changed.
#include <gtest/gtest.h>

#include <cstdio>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

// what a command prints, and whether it ended well
std::string output_of(const std::string &command, bool &ok) {
    std::string said;
    FILE *out = popen(command.c_str(), "r");
    char text[4096];
    while (out && fgets(text, sizeof text, out))
        said += text;
    ok = out && pclose(out) == 0; // exited, with 0
    return said;
}

// the scripts' names, as the game program lists them
std::vector<std::string> scripts() {
    bool ok;
    std::istringstream listed(output_of(REPLAY_GAME, ok));
    return {std::istream_iterator<std::string>(listed), {}};
}

class Replay : public ::testing::TestWithParam<std::string> {};

TEST_P(Replay, EveryTickPlaysAsRecorded) {
    bool ok;
    std::string said =
        output_of(REPLAY_GAME " " + GetParam() + " " REPLAY_RECORDS "/" + GetParam() + ".txt", ok);
    EXPECT_TRUE(ok) << said;
}

INSTANTIATE_TEST_SUITE_P(Scripts, Replay, ::testing::ValuesIn(scripts()),
                         [](const auto &info) { return info.param; });

} // namespace
