#!/usr/bin/env bash
# Builds the Allegro 4.4 library for the browser (WebAssembly, static, no threads) with
# Emscripten into PREFIX (the first argument), from Debian's source package of the library.
# Kept between runs: a PREFIX whose stamp matches this script is reused. The library brings no
# driver for the browser: the game's own, in src/web/, are linked beside it.
# Needs apt (the source is fetched with the machine's own Debian sources, in a list of our own
# so the system's apt configuration is untouched), cmake and Debian's emscripten.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
prefix=$(realpath -m "$1")
work=$prefix.work
stamp=$prefix/.stamp
want=$(cat "$0" "$here/env.sh" | sha256sum | cut -d' ' -f1)
if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$want" ]; then
    echo "Allegro for the browser: kept in $prefix"
    exit 0
fi
source "$here/env.sh"
rm -rf "$prefix" "$work"
mkdir -p "$work/sources.list.d" "$work/lists/partial" "$work/cache/archives/partial"

# deb-src twins of the machine's Debian sources, in apt state of our own
apt_own=(-o Dir::Etc::SourceList=/dev/null -o "Dir::Etc::SourceParts=$work/sources.list.d"
    -o "Dir::State::Lists=$work/lists" -o "Dir::Cache=$work/cache" -o Debug::NoLocking=1)
apt-get indextargets --format '$(REPO_URI) $(RELEASE) $(COMPONENT)' \
    'Created-By: Packages' 'Origin: Debian' | sort -u |
    while read -r uri suite component; do
        echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $uri $suite $component"
    done >"$work/sources.list.d/debian-src.list"
[ -s "$work/sources.list.d/debian-src.list" ] ||
    { echo "apt knows no Debian source to take the library from (run apt-get update)" >&2 && exit 1; }
apt-get "${apt_own[@]}" update -q >"$work/apt.log" 2>&1 || { cat "$work/apt.log" >&2 && exit 1; }

# the upstream tarball of the source package, checked against apt's signed index
read -r uri file _ hash < <(cd "$work" && apt-get "${apt_own[@]}" source -q --print-uris allegro4.4 |
    tr -d "'" | grep -E '^[a-z]+://[^ ]*\.orig\.tar\.[a-z0-9]+ ')
/usr/lib/apt/apt-helper -o Debug::NoLocking=1 download-file "$uri" "$work/$file" "$hash" >>"$work/apt.log" 2>&1 ||
    { cat "$work/apt.log" >&2 && exit 1; }
tar -xf "$work/$file" -C "$work"
src=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'allegro-4.4*' | head -1)

# a Unix library with no X11, no sound system and no loadable modules: the browser's drivers
# are the game's; no threads, the game's loop drives the timer and the mixer
emcmake cmake -S "$src" -B "$work/build" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DSHARED=OFF -DRT_LIBRARY= \
    -DWANT_X11=OFF -DWANT_OSS=OFF -DWANT_ALSA=OFF -DWANT_JACK=OFF -DWANT_SGIAUDIO=OFF \
    -DWANT_MODULES=OFF -DWANT_LINUX_CONSOLE=OFF -DWANT_LINUX_VGA=OFF -DWANT_LINUX_FBCON=OFF \
    -DWANT_LINUX_SVGALIB=OFF \
    -DWANT_EXAMPLES=OFF -DWANT_TOOLS=OFF -DWANT_TESTS=OFF -DWANT_DOCS=OFF \
    -DWANT_ALLEGROGL=OFF -DWANT_LOADPNG=OFF -DWANT_LOGG=OFF -DWANT_JPGALLEG=OFF -Wno-dev \
    >"$work/cmake.log" 2>&1 ||
    { cat "$work/cmake.log" >&2 && exit 1; }
cmake --build "$work/build" -j "$(nproc)" >"$work/build.log" 2>&1 || { tail -40 "$work/build.log" >&2 && exit 1; }
cmake --install "$work/build" >"$work/install.log"
cp "$work/build.log" "$prefix/build.log" # the library's compiler warnings, to look at
echo "$want" >"$stamp"
rm -rf "$work"
echo "Allegro for the browser: built in $prefix"
