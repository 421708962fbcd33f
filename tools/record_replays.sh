#!/usr/bin/env bash
# Records the replay test's scripted games again, into tests/replay/, from the game as it is now, and
# what the media fuzz's damaged copies of each media file come out as.
#
#   tools/record_replays.sh
#
# For a change to the game that is meant. Read `git diff tests/replay` before committing the new
# records: each changed line is a span of ticks that now plays differently, from its first changed
# tick hash on, and only the ticks the change should reach may differ; in media_fuzz.txt, only the
# files whose reading the change should reach. The records are the same on every run, byte for byte.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/common.sh

ensure_packages "${GAME_PACKAGES[@]}" libgtest-dev
cmake -S . -B build-replay -DMOONSTRUCK_TESTS=ON >/dev/null
cmake --build build-replay --target replay_game unit_tests -j "$(nproc)" >/dev/null
game=build-replay/tests/replay_game

rm -f tests/replay/*.txt
mkdir -p tests/replay
for script in $("$game"); do
    {
        echo "# made by tools/record_replays.sh: the $script game, a line for each 25 ticks: FIRST-LAST,"
        echo "# a hash of each tick (two hex digits), a hash of each of game, player, shots, enemies,"
        echo "# enemy shots, particles, power-ups, queued pictures, texts and shapes and the painted"
        echo "# picture (every 25th tick) over the line (two hex digits each), then TICK:NAME=VALUE for"
        echo "# each named value that changed. A line FIRST-LAST/50 runs through a stretch quickly: it"
        echo "# holds only every 50th tick."
        "$game" "$script"
    } >"tests/replay/$script.txt"
done
MEDIA_FUZZ_RECORD=$PWD/tests/replay/media_fuzz.txt build-replay/tests/unit_tests \
    --gtest_filter='MediaFuzz.*' >/dev/null
git status --short tests/replay
