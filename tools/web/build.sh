#!/usr/bin/env bash
# Builds the game for the browser into DIR/game (the page: index.html, moonstruck.js,
# moonstruck.wasm and moonstruck.data, which holds media/), with the library built for it by
# build_allegro.sh into DIR/allegro (kept between runs). Needs Debian's emscripten and node-acorn.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
dir=$(realpath -m "$1")
source "$here/env.sh"
"$here/build_allegro.sh" "$dir/allegro"
emcmake cmake -S "$root" -B "$dir/game" -DCMAKE_PREFIX_PATH="$dir/allegro" -DMOONSTRUCK_TESTS=OFF \
    >"$dir/configure.log" 2>&1 || { cat "$dir/configure.log" >&2 && exit 1; }
cmake --build "$dir/game" -j "$(nproc)"
