# common.sh: what ./play and ./test share: installing missing packages and building the game.

# Debian packages the game needs to build and run
GAME_PACKAGES=(g++ make cmake pkg-config liballegro4-dev libx11-dev libasound2-dev)
# and what the tests need besides: GoogleTest, valgrind, an X server of their own, input and screenshots,
# a second window to take the focus (xclock) and the window's properties (xprop), and what the
# release tests need: lintian, appstream and wine
TEST_PACKAGES=(libgtest-dev valgrind xvfb xauth xdotool x11-apps x11-utils imagemagick procps python3 groff-base
    desktop-file-utils git unzip lintian appstream wine wine64
    chromium chromium-driver python3-selenium) # the last, the browser tests' headless Chromium
# what ./package needs besides the game's: debhelper, and the mingw-w64 cross compiler and zip for
# Windows (the library's source comes through apt)
PACKAGE_PACKAGES=(git dpkg-dev debhelper patch g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 zip
    emscripten node-acorn) # and the browser's WebAssembly, built by Debian's Emscripten

# installs whichever of the named packages are missing, through sudo when not root
ensure_packages() {
    local missing=()
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    echo "Installing ${missing[*]}"
    "${sudo[@]}" apt-get update -q
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# configures and builds into the given folder; further arguments go to cmake. The compiler's
# progress goes to build.log in that folder: only its warnings are shown, and all of it when the
# build fails
build_game() {
    local dir="$1"
    shift
    mkdir -p "$dir"
    if ! { cmake -S . -B "$dir" "$@" && cmake --build "$dir" -j "$(nproc)"; } >"$dir/build.log" 2>&1; then
        cat "$dir/build.log" >&2
        echo "The build in $dir failed (the log above is also in $dir/build.log)" >&2
        return 1
    fi
    grep -E ': warning:' "$dir/build.log" >&2 || true
}
