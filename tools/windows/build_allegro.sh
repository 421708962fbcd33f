#!/usr/bin/env bash
# Cross-builds the Allegro 4.4 library for 64-bit Windows, static, into PREFIX (the first
# argument), from Debian's source package of the library with tools/windows/allegro.patch
# applied. Kept between runs: a PREFIX whose stamp matches this script and the patch is reused.
# Needs apt (the source comes through tools/allegro_source.sh), cmake and the mingw-w64 compilers.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../allegro_source.sh"
root=$(cd "$here/../.." && pwd)
prefix=$(realpath -m "$1")
work=$prefix.work
stamp=$prefix/.stamp
want=$(cat "$0" "$here/../allegro_source.sh" "$here/allegro.patch" "$root/cmake/mingw-w64.cmake" | sha256sum | cut -d' ' -f1)
if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$want" ]; then
    echo "Allegro for Windows: kept in $prefix"
    exit 0
fi
rm -rf "$prefix" "$work"
allegro_source "$work"
patch -d "$src" -p1 --quiet --batch --forward <"$here/allegro.patch"

# the library's file names (its assertions keep them) are written without the folder it is built
# in, so that the game is the same wherever it is built
allegro_build "$work" "$prefix" cmake -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
    -DCMAKE_C_FLAGS="-ffile-prefix-map=$src/= -ffile-prefix-map=$work/build/="
echo "$want" >"$stamp"
rm -rf "$work"
echo "Allegro for Windows: built in $prefix"
