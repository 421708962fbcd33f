# wine_lib.sh: what the Wine tests share: the Windows zip unpacked, a Wine of the test's own and a
# screen large enough for the game's window. Sourced after lib.sh, with the dist
# folder as the script's argument; sets GAME_DIR (the unpacked zip), EXE (the program GAME starts,
# its moonstruck.exe) and GAME (one bounded run of EXE, in whichever folder launch_game names).
RUN_LIMIT=60 # seconds a run of the program may take, a game included

# a fresh prefix, no Mono or Gecko to offer, and sound through ALSA's null device, so that the
# library's DirectSound driver starts and plays into nothing
export WINEPREFIX=$WORK/wineprefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml='
export ALSA_CONFIG_PATH=$WORK/asound.conf XDG_CACHE_HOME=$WORK/cache
echo 'pcm.!default { type null }' >"$ALSA_CONFIG_PATH"
trap 'wineserver -k 2>/dev/null || true; cleanup' EXIT

zip=$(ls "$GAME"/moonstruck-*-windows-x86_64.zip)
unzip -q "$zip" -d "$WORK"
GAME_DIR=$WORK/$(basename "$zip" .zip)
export EXE=$GAME_DIR/moonstruck.exe
printf '#!/bin/sh\nexec timeout -k 5 %s wine "$EXE"\n' "$RUN_LIMIT" >"$WORK/run"
chmod +x "$WORK/run"
GAME=$WORK/run

# the library refuses a window whose frame does not fit the screen, so the screen is larger than
# the game's, and the screenshots are of the game's window alone
start_x() {
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$WORK/display" 2>/dev/null &
    XVFB_PID=$!
    wait_for "the X server" test -s "$WORK/display"
    export DISPLAY=":$(cat "$WORK/display")"
}
shoot() { import -window "$WIN" "$WORK/shot.png"; }

# start_wine: the X server, and the Wine prefix made before any timed run
start_wine() {
    start_x
    timeout 120 wineboot -i >"$WORK/wineboot" 2>&1 || fail "Wine could not make its prefix"
}

# point_into WINDOW: the pointer into the window and the focus on it, where DirectInput wants it
point_into() {
    eval "$(xdotool getwindowgeometry --shell "$1")"
    xdotool mousemove $((X + 20)) $((Y + 20))
    xdotool windowfocus "$1" 2>/dev/null || true
}
