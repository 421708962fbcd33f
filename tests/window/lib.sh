# lib.sh: what the window tests share: an X server of their own, the real game in it, the keyboard
# and screenshots. Sourced by each *_test.sh with the game binary as its first argument.
set -euo pipefail

GAME=$(realpath "$1")
WORK=$(mktemp -d)
CONVERT=/usr/bin/convert # ImageMagick's
GAME_PID=
XVFB_PID=

cleanup() {
    [ -z "$GAME_PID" ] || kill -KILL "$GAME_PID" 2>/dev/null || true
    [ -z "$XVFB_PID" ] || kill "$XVFB_PID" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$WORK"
}
trap cleanup EXIT

# fail WHY: ends the test, keeping its last screenshot in /tmp to look at
fail() {
    echo "FAIL: $*" >&2
    [ ! -f "$WORK/shot.png" ] || cp "$WORK/shot.png" "/tmp/$(basename "$0" .sh)-last-screen.png"
    [ ! -s "$WORK/err" ] || { echo "--- the game's stderr:" >&2 && grep -v '^ALSA' "$WORK/err" >&2 || true; }
    exit 1
}

# wait_for WHAT COMMAND...: runs the command every 0.1 s until it succeeds; gives up after 20 s
wait_for() {
    local what=$1 end=$((SECONDS + 20))
    shift
    until "$@"; do
        [ "$SECONDS" -lt "$end" ] || fail "timed out waiting for $what"
        sleep 0.1
    done
}

# start_x [WxH]: an X server of this test's own, 640x480 unless given, kept up between the games it
# runs; on a display number drawn at random from thousands, since on one that another server gave
# up a moment before the library's start-up may fail to open the display
start_x() {
    local n
    while true; do
        n=$((1000 + RANDOM % 30000))
        [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ] || continue
        Xvfb ":$n" -screen 0 "${1:-640x480}x24" -nolisten tcp -noreset 2>/dev/null &
        XVFB_PID=$!
        wait_for "the X server" eval '[ -S /tmp/.X11-unix/X$n ] || ! kill -0 $XVFB_PID 2>/dev/null'
        [ -S "/tmp/.X11-unix/X$n" ] && kill -0 "$XVFB_PID" 2>/dev/null && break
        wait "$XVFB_PID" 2>/dev/null || true # another test's server took the number first
    done
    export DISPLAY=":$n"
}

find_window() { WIN=$(xdotool search --onlyvisible --name '^Moonstruck$' 2>/dev/null | head -1) && [ -n "$WIN" ]; }

# launch_game [DIR]: starts the game in DIR (the repository root by default) without waiting for it
launch_game() {
    (cd "${1:-.}" && exec "$GAME") >"$WORK/out" 2>"$WORK/err" &
    GAME_PID=$!
}

# start_game: starts the game from the repository root, waits for its title screen and points into it
start_game() {
    launch_game
    wait_for "the game's window" find_window
    xdotool mousemove 100 100 # the keyboard follows the pointer into the window
    wait_for "the title screen" title_shown
}

# asks the game's window to close as a window manager's close button does, with a WM_DELETE_WINDOW
# client message (there is no window manager here, and xdotool's windowclose destroys the window);
# the event is laid out as the 24 longs of an XEvent on a 64-bit machine
request_close() {
    python3 - "$WIN" <<'EOF'
import ctypes as C, sys
x = C.CDLL("libX11.so.6")
x.XOpenDisplay.restype, x.XInternAtom.restype = C.c_void_p, C.c_ulong
x.XInternAtom.argtypes = [C.c_void_p, C.c_char_p, C.c_int]
d, w = C.c_void_p(x.XOpenDisplay(None)), int(sys.argv[1])
atom = lambda name: x.XInternAtom(d, name, 0)
event = (C.c_long * 24)(33, 0, 0, 0, w, atom(b"WM_PROTOCOLS"), 32, atom(b"WM_DELETE_WINDOW"))  # 33: ClientMessage
x.XSendEvent(d, C.c_ulong(w), 0, C.c_long(0), event)
x.XCloseDisplay(d)
EOF
}

running() { kill -0 "$GAME_PID" 2>/dev/null; }
# wait_exit: waits for the game to end and sets STATUS to its exit code
wait_exit() {
    wait_for "the game to end" eval '! running'
    STATUS=0
    wait "$GAME_PID" || STATUS=$?
    GAME_PID=
}

# press KEY...: holds each key for 0.1 s (five ticks, well under the menu's key repeat of 11)
press() {
    for k in "$@"; do
        xdotool keydown "$k" sleep 0.1 keyup "$k" sleep 0.1
    done
}

shoot() { import -window root "$WORK/shot.png"; }

# screen_has "W H X Y COLOUR LEAST MOST"...: takes a screenshot and checks that each box of it holds
# LEAST to MOST pixels of the colour ("lit": any but black), give or take the game's 16-bit colours
screen_has() {
    local box w h x y colour least most keep args=() counts i=0
    shoot
    for box in "$@"; do
        read -r w h x y colour _ <<<"$box"
        keep=(-fill black +opaque "$colour" -fill white -opaque "$colour")
        [ "$colour" != lit ] || keep=(-fill black -opaque black -fill white +opaque black)
        args+=(\( -clone 0 -crop "${w}x$h+$x+$y" +repage -fuzz 8% "${keep[@]}" -colorspace gray \))
    done
    read -ra counts < <("$CONVERT" "$WORK/shot.png" "${args[@]}" -delete 0 -format '%[fx:round(mean*w*h)] ' info:)
    for box in "$@"; do
        read -r _ _ _ _ _ least most <<<"$box"
        [ "${counts[i]:--1}" -ge "$least" ] && [ "${counts[i]}" -le "$most" ] || return 1
        i=$((i + 1))
    done
}

# shows PICTURE X Y: the last screenshot has the picture at (X, Y), all of it but its magenta mask
shows() {
    [ "$("$CONVERT" "$WORK/shot.png" -crop "$("$CONVERT" "$1" -format %wx%h info:)+$2+$3" +repage \
        \( +clone \( "$1" -transparent '#ff00ff' \) -composite \) -fuzz 5% -metric AE -compare \
        -format '%[distortion]' info:)" -le 2 ]
}

# the title screen: white text on the rows of all three choices, and the title picture above them
title_shown() {
    screen_has "140 8 250 250 white 40 9999" "140 8 250 280 white 40 9999" \
        "140 8 250 310 white 40 9999" "400 200 120 40 lit 4000 99999"
}

# the title screen's bananas turn beside choice $1 (0 to 2) and no other
bananas_at() {
    local sel boxes=()
    for sel in 0 1 2; do
        local range="0 2"
        [ "$sel" -ne "$1" ] || range="15 999"
        boxes+=("30 28 215 $((241 + 30 * sel)) #ffe132 $range" "30 28 395 $((241 + 30 * sel)) #ffe132 $range")
    done
    screen_has "${boxes[@]}"
}

# a game: the three status texts top right, no menu, and the ship at its start
game_shown() {
    screen_has "100 8 540 5 white 20 999" "100 8 540 15 white 20 999" "100 8 540 25 white 20 999" \
        "140 68 250 250 white 0 39" && shows media/ship.bmp 308 435
}
