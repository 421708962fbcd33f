#!/usr/bin/env bash
# Builds the Allegro 4.4 library for the browser (WebAssembly, static, no threads) with
# Emscripten into PREFIX (the first argument), from Debian's source package of the library.
# Kept between runs: a PREFIX whose stamp matches this script is reused. The library brings no
# driver for the browser: the game's own, in src/web/, are linked beside it.
# Needs apt (the source comes through tools/allegro_source.sh), cmake and Debian's emscripten.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../allegro_source.sh"
prefix=$(realpath -m "$1")
work=$prefix.work
stamp=$prefix/.stamp
want=$(cat "$0" "$here/../allegro_source.sh" "$here/env.sh" | sha256sum | cut -d' ' -f1)
if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$want" ]; then
    echo "Allegro for the browser: kept in $prefix"
    exit 0
fi
source "$here/env.sh"
rm -rf "$prefix" "$work"
allegro_source "$work"

# a Unix library with no X11, no sound system and no loadable modules: the browser's drivers
# are the game's; no threads, the game's loop drives the timer and the mixer
allegro_build "$work" "$prefix" emcmake cmake -DRT_LIBRARY= \
    -DWANT_X11=OFF -DWANT_OSS=OFF -DWANT_ALSA=OFF -DWANT_JACK=OFF -DWANT_SGIAUDIO=OFF \
    -DWANT_MODULES=OFF -DWANT_LINUX_CONSOLE=OFF -DWANT_LINUX_VGA=OFF -DWANT_LINUX_FBCON=OFF \
    -DWANT_LINUX_SVGALIB=OFF
echo "$want" >"$stamp"
rm -rf "$work"
echo "Allegro for the browser: built in $prefix"
