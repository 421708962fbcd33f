#!/usr/bin/env bash
# Records the replay test's scripted games again, into tests/replay/, from the game as it is now.
#
#   tools/record_replays.sh
#
# For a change to the game that is meant. Read `git diff tests/replay` before committing the new
# records: each changed line is a tick that now plays differently, and only the ticks the change
# should reach may differ. The records are the same on every run, byte for byte.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/common.sh

ensure_packages "${GAME_PACKAGES[@]}" libgtest-dev
cmake -S . -B build-replay -DMOONSTRUCK_TESTS=ON >/dev/null
cmake --build build-replay --target replay_game -j "$(nproc)" >/dev/null
game=build-replay/tests/replay_game

rm -f tests/replay/*.txt
mkdir -p tests/replay
for script in $("$game" --list); do
    {
        echo "# made by tools/record_replays.sh: the $script game, a line a tick (but for every 50th"
        echo "# tick only where the script runs through a stretch quickly): the tick, a hash of"
        echo "# each of game, player, shots, enemies, enemy shots, particles, power-ups and the"
        echo "# queued pictures, texts and shapes and the painted picture (every 25th tick), two hex"
        echo "# digits each, then the values named that changed"
        "$game" "$script"
    } >"tests/replay/$script.txt"
done
git status --short tests/replay
