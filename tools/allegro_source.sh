# allegro_source.sh: the library for the Windows and browser builds, sourced by their
# build_allegro.sh: its source, fetched with the machine's own Debian sources in apt state of our
# own (the system's apt configuration is untouched), and its configure, build and install.

# allegro_source WORK: unpacks the upstream tarball of Debian's allegro4.4 source package,
# checked against apt's signed index, into the folder WORK, and sets src to the source's folder
allegro_source() {
    local work=$1
    mkdir -p "$work/sources.list.d" "$work/lists/partial" "$work/cache/archives/partial"

    # deb-src twins of the machine's Debian sources
    local apt_own=(-o Dir::Etc::SourceList=/dev/null -o "Dir::Etc::SourceParts=$work/sources.list.d"
        -o "Dir::State::Lists=$work/lists" -o "Dir::Cache=$work/cache" -o Debug::NoLocking=1)
    apt-get indextargets --format '$(REPO_URI) $(RELEASE) $(COMPONENT)' \
        'Created-By: Packages' 'Origin: Debian' | sort -u |
        while read -r uri suite component; do
            echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $uri $suite $component"
        done >"$work/sources.list.d/debian-src.list"
    [ -s "$work/sources.list.d/debian-src.list" ] ||
        { echo "apt knows no Debian source to take the library from (run apt-get update)" >&2 && exit 1; }
    apt-get "${apt_own[@]}" update -q >"$work/apt.log" 2>&1 || { cat "$work/apt.log" >&2 && exit 1; }

    # Debian's own patches are for its Linux packaging: the game's builds need none of them
    local uri file hash
    read -r uri file _ hash < <(cd "$work" && apt-get "${apt_own[@]}" source -q --print-uris allegro4.4 |
        tr -d "'" | grep -E '^[a-z]+://[^ ]*\.orig\.tar\.[a-z0-9]+ ')
    /usr/lib/apt/apt-helper -o Debug::NoLocking=1 download-file "$uri" "$work/$file" "$hash" >>"$work/apt.log" 2>&1 ||
        { cat "$work/apt.log" >&2 && exit 1; }
    tar -xf "$work/$file" -C "$work"
    src=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'allegro-4.4*' | head -1)
}

# allegro_build WORK PREFIX CONFIGURE...: configures the source in src with the command given
# (cmake or emcmake cmake, and the platform's own options) and the options both builds share,
# then builds and installs the static library into PREFIX, keeping the compiler's warnings there
allegro_build() {
    local work=$1 prefix=$2
    shift 2
    "$@" -S "$src" -B "$work/build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DSHARED=OFF -DWANT_EXAMPLES=OFF -DWANT_TOOLS=OFF -DWANT_TESTS=OFF -DWANT_DOCS=OFF \
        -DWANT_ALLEGROGL=OFF -DWANT_LOADPNG=OFF -DWANT_LOGG=OFF -DWANT_JPGALLEG=OFF -Wno-dev \
        >"$work/cmake.log" 2>&1 || { cat "$work/cmake.log" >&2 && exit 1; }
    cmake --build "$work/build" -j "$(nproc)" >"$work/build.log" 2>&1 ||
        { tail -40 "$work/build.log" >&2 && exit 1; }
    cmake --install "$work/build" >"$work/install.log"
    cp "$work/build.log" "$prefix/build.log"
}
