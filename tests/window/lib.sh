# lib.sh: what the window tests share: an X server of their own, the real game in it, the keyboard,
# screenshots and what they show, and the game's sound written to a file. Sourced by each
# *_test.sh with the game binary as its first argument.
set -euo pipefail

GAME=$(realpath "$1")
WORK=$(mktemp -d)
CONVERT=/usr/bin/convert # ImageMagick's
LIB_PY=$(dirname "${BASH_SOURCE[0]}")/lib.py
GAME_PID=
XVFB_PID=
HELPERS=() # other programs a test started, ended with the game

cleanup() {
    [ -z "$GAME_PID" ] || kill -KILL "$GAME_PID" 2>/dev/null || true
    for pid in "${HELPERS[@]}" "$XVFB_PID"; do kill "$pid" 2>/dev/null || true; done
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
    local end=$((SECONDS + 20))
    until "${@:2}"; do
        [ "$SECONDS" -lt "$end" ] || fail "timed out waiting for $1"
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

# stop_x [SIGNAL]: the X server gone (killed by the signal, TERM by default), and what it leaves
stop_x() {
    kill -"${1:-TERM}" "$XVFB_PID"
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=
    rm -f "/tmp/.X${DISPLAY#:}-lock" "/tmp/.X11-unix/X${DISPLAY#:}" # a killed server leaves these
}

find_window() { WIN=$(xdotool search --onlyvisible --name '^Moonstruck$' 2>/dev/null | head -1) && [ -n "$WIN" ]; }

# launch_game [DIR]: starts the game in DIR (the repository root by default) without waiting for it
launch_game() {
    (cd "${1:-.}" && exec "$GAME") >"$WORK/out" 2>"$WORK/err" &
    GAME_PID=$!
}

# start_game [DIR]: starts the game in DIR, waits for its title screen and points into it
start_game() {
    launch_game "$@"
    wait_for "the game's window" find_window
    xdotool mousemove 100 100 # the keyboard follows the pointer into the window
    wait_for "the title screen" title_shown
}

# request_close: asks the game's window to close as a window manager's close button does (there is
# no window manager here, and xdotool's windowclose destroys the window)
request_close() {
    running || fail "the game ended before its window was closed"
    python3 "$LIB_PY" close "$WIN"
}

running() { kill -0 "$GAME_PID" 2>/dev/null; }
# ends_with STATUS WHAT: the game ends, and what ended it gave that exit status
ends_with() {
    wait_for "the game to end" eval '! running'
    STATUS=0
    wait "$GAME_PID" || STATUS=$?
    GAME_PID=
    [ "$STATUS" -eq "$1" ] || fail "$2 gave exit status $STATUS, not $1"
}

# press KEY: holds the key for 0.1 s (five ticks, well under the menu's key repeat of 11)
press() { xdotool keydown "$1" sleep 0.1 keyup "$1" sleep 0.1; }

# The screens, moved through with key presses that a busy machine cannot lose (a press that the
# game's ticks all miss is never seen).

# hold KEY WHAT CHECK...: holds the key down until the check passes (see wait_for)
hold() {
    xdotool keydown "$1"
    wait_for "${@:2}"
    xdotool keyup "$1"
}
# play: holds Enter on the title screen until a game shows; in a game Enter does nothing
play() { hold Return "a game" game_shown; }

# leave_game: Esc back to the title screen, pressed again only while a game or its game-over
# screen stays on screen, as a second press that reached the title screen would quit
leave_game() {
    local end=$((SECONDS + 20)) again=$((SECONDS + 3))
    press Escape
    until title_shown; do
        [ "$SECONDS" -lt "$end" ] || fail "timed out waiting for the title screen after a game"
        if [ "$SECONDS" -ge "$again" ] && { in_game || game_over_shown; }; then
            press Escape
            again=$((SECONDS + 3))
        fi
        sleep 0.1
    done
}

# quit: from a game Esc back to the title screen (as leave_game), and Esc on the title screen until
# the game ends, with exit code 0
quit() {
    title_shown || leave_game
    wait_for "the game to quit" eval 'press Escape; ! running'
    ends_with 0 "Esc on the title screen"
}

# launcher_runs LAUNCHER PROGRAM FOLDER: the launcher, started from /, runs that program in that
# working folder; the title screen shows and Esc quits with 0
launcher_runs() {
    GAME=$1 start_game /
    [ "$(readlink "/proc/$GAME_PID/exe")" = "$2" ] && [ "$(readlink "/proc/$GAME_PID/cwd")" = "$3" ] ||
        fail "$1 ran $(readlink "/proc/$GAME_PID/exe") in $(readlink "/proc/$GAME_PID/cwd")"
    quit
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

# crosshair_at X Y GX GY WHERE: with the pointer at screen pixel (X, Y), the crosshair shows at
# game pixel (GX, GY)
crosshair_at() {
    xdotool mousemove "$1" "$2"
    wait_for "the crosshair under the pointer $5" eval "shoot && shows media/targeting.bmp $3 $4"
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

# a game: the three status texts top right and no title screen
in_game() {
    screen_has "100 8 540 5 white 20 999" "100 8 540 15 white 20 999" "100 8 540 25 white 20 999" \
        "140 68 250 250 white 0 39"
}
# and the ship at its start
game_shown() { in_game && shows media/ship.bmp 308 435; }
# game over: the white "Game Over" and nothing else where the status texts and meters were
game_over_shown() { screen_has "72 8 284 200 white 100 999" "100 30 540 5 lit 0 0" "101 41 5 0 lit 0 0"; }

# find_ship: finds the ship in a new screenshot by the blue of its wings, 2 px right of and 13 px
# below its corner, sets SX, SY to that corner and checks the whole picture is there
find_ship() {
    local at
    shoot
    at=$("$CONVERT" "$WORK/shot.png" -fuzz 5% -fill black +opaque '#3764cd' -fill white \
        -opaque '#3764cd' -trim -format '%X %Y' info:)
    [[ "$at" =~ ^\+([0-9]+)\ \+([0-9]+)$ ]] || return 1
    SX=$((BASH_REMATCH[1] - 2)) SY=$((BASH_REMATCH[2] - 13))
    [ "$SX" -ge 0 ] && [ "$SY" -ge 0 ] && shows media/ship.bmp "$SX" "$SY"
}

# a paused game: the framed "Paused" over the game's picture, its status texts still top right
paused_shown() {
    screen_has "300 1 170 205 white 290 301" "48 8 296 215 white 20 999" "100 8 540 5 white 20 999"
}

# clock_to FILE: the minutes and seconds of "Next Level In m:ss" in the last screenshot, as a
# picture of its white pixels
clock_to() { "$CONVERT" "$WORK/shot.png" -crop 32x8+608+5 +repage -fuzz 8% -fill black +opaque white "$1"; }
# same_clock A B: the two pictures show the same time: a star or two may fall across the text
same_clock() { [ "$(compare -metric AE "$1" "$2" null: 2>&1)" -le 2 ]; }
# clock_moved_from FILE: a new screenshot whose clock differs from the one in FILE
clock_moved_from() { shoot && clock_to "$WORK/now.png" && ! same_clock "$1" "$WORK/now.png"; }
# stays_paused_until KEY: the clock shows the same for 2.5 s and the game stays paused; then the key
# held until the game is no longer paused, and its clock runs on
stays_paused_until() {
    shoot && clock_to "$WORK/stood.png"
    sleep 2.5
    paused_shown || fail "the game no longer shows it is paused"
    ! clock_moved_from "$WORK/stood.png" || fail "the level clock moved while the game was paused"
    hold "$1" "the game going on after $1" eval '! paused_shown'
    shoot && clock_to "$WORK/resumed.png"
    wait_for "the level clock running after $1" clock_moved_from "$WORK/resumed.png"
}

# sound_to_file: ALSA's default device writes Allegro's mix to $OUT for the games started with
# HOME=$WORK/home: 16-bit unsigned stereo at 44100 Hz, silence at 32768. The null device never
# waits, so the mix runs ahead of the clock: lengths count sound, not wall-clock time. Allegro is
# told to take ALSA rather than look for a sound driver.
OUT=$WORK/mix.raw
SECOND=$((44100 * 4))
sound_to_file() {
    mkdir "$WORK/home"
    echo "pcm.!default { type file; slave.pcm \"null\"; file \"$OUT\"; format \"raw\" }" >"$WORK/home/.asoundrc"
    printf '[sound]\ndigi_card = ALSA\n' >"$WORK/home/allegro.cfg"
}

mixed() { stat -c %s "$OUT" 2>/dev/null || echo 0; }
# wait_mixed TENTHS: waits until the mix has grown by that many tenths of a second; MIXED: its end
wait_mixed() {
    local from=$(($(mixed) / 4 * 4)) more=$(($1 * SECOND / 10))
    wait_for "$1 tenths of a second of sound" eval '[ "$(mixed)" -ge $((from + more)) ]'
    MIXED=$((from + more))
}
# loudest FROM TO: the largest swing from silence in that stretch of the mix, from a whole frame
loudest() {
    local from=$(($1 / 4 * 4))
    tail -c +$((from + 1)) "$OUT" | head -c $(($2 - from)) | od -An -v -tu2 |
        awk '{ for (i = 1; i <= NF; i++) { d = $i - 32768; if (d < 0) d = -d; if (d > m) m = d } }
             END { print m + 0 }'
}

# loudness TENTHS: the largest swing in the next stretch of that length, after half a second for
# what was sounding to die away
loudness() {
    wait_mixed 5
    local from=$MIXED
    wait_mixed "$1"
    loudest "$from" "$MIXED"
}
# heard: something sounds in the mix after FROM, which moves on past each stretch found silent
heard() {
    local end
    end=$(mixed)
    [ "$(loudest "$FROM" "$end")" -gt 1000 ] || { FROM=$end && false; }
}

# media_sounding_only WAV: a copy of the media in $WORK/run where every sound but that one is silence
media_sounding_only() {
    local wav
    rm -rf "$WORK/run" && mkdir "$WORK/run" && cp -r media "$WORK/run/"
    for wav in "$WORK"/run/media/sound/*.wav; do
        [ "${wav##*/}" != "$1" ] || continue
        cmp -s -n 4 -i 36:0 "$wav" <(printf data) || fail "$wav does not have the plain 44-byte header"
        { head -c 44 "$wav" && head -c $(($(stat -c %s "$wav") - 44)) /dev/zero; } >"$WORK/quiet.wav"
        mv "$WORK/quiet.wav" "$wav"
    done
}
