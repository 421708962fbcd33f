#!/usr/bin/env bash
# Cross-builds GoogleTest for 64-bit Windows, static, into PREFIX (the first argument), from the
# source Debian's libgtest-dev ships in /usr/src/googletest, for the unit tests that run the
# Windows build of the game's code under Wine. Kept between runs: a PREFIX whose stamp matches
# this script, the toolchain and the source's version is reused.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
prefix=$(realpath -m "$1")
source_dir=/usr/src/googletest
work=$prefix.work
stamp=$prefix/.stamp
[ -f "$source_dir/CMakeLists.txt" ] || { echo "no GoogleTest source in $source_dir (libgtest-dev)" >&2 && exit 1; }
want=$( (cat "$0" "$root/cmake/mingw-w64.cmake" && dpkg-query -W -f '${Version}' googletest) | sha256sum | cut -d' ' -f1)
if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$want" ]; then
    echo "GoogleTest for Windows: kept in $prefix"
    exit 0
fi
rm -rf "$prefix" "$work"
cmake -S "$source_dir" -B "$work" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_GMOCK=OFF \
    -DBUILD_SHARED_LIBS=OFF -Wno-dev >"$prefix.log" 2>&1 &&
    cmake --build "$work" -j "$(nproc)" >>"$prefix.log" 2>&1 &&
    cmake --install "$work" >>"$prefix.log" 2>&1 || { tail -40 "$prefix.log" >&2 && exit 1; }
echo "$want" >"$stamp"
rm -rf "$work" "$prefix.log"
echo "GoogleTest for Windows: built in $prefix"
