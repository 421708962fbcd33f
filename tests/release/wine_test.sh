# The Windows zip's program runs under Wine: it draws the title screen, Enter starts a game, Esc
# leaves it and Esc quits with exit code 0, twice over. Each run is bounded by a timeout, and a
# hang at start-up or at exit fails the test. Argument: the dist folder.
source "$(dirname "$0")/../window/lib.sh"
source "$(dirname "$0")/../window/keys_lib.sh"
RUN_LIMIT=60 # seconds a run of the program may take, a game included

# Wine of this test's own: a fresh prefix, no Mono or Gecko to offer, and sound through ALSA's
# null device, so that the library's DirectSound driver starts and plays into nothing
export WINEPREFIX=$WORK/wineprefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml='
export ALSA_CONFIG_PATH=$WORK/asound.conf XDG_CACHE_HOME=$WORK/cache
echo 'pcm.!default { type null }' >"$ALSA_CONFIG_PATH"
trap 'wineserver -k 2>/dev/null || true; cleanup' EXIT

zip=$(ls "$GAME"/moonstruck-*-windows-x86_64.zip)
unzip -q "$zip" -d "$WORK"
game_dir=$WORK/$(basename "$zip" .zip)
printf '#!/bin/sh\nexec timeout -k 5 %s wine moonstruck.exe\n' "$RUN_LIMIT" >"$WORK/run"
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

start_x
timeout 120 wineboot -i >"$WORK/wineboot" 2>&1 || fail "Wine could not make its prefix"
for run in 1 2; do
    launch_game "$game_dir"
    wait_for "the game's window (run $run)" find_window
    # DirectInput reads the keyboard only while the window has the focus
    eval "$(xdotool getwindowgeometry --shell "$WIN")"
    xdotool mousemove $((X + 100)) $((Y + 100))
    xdotool windowfocus "$WIN" 2>/dev/null || true
    wait_for "the title screen (run $run)" title_shown
    play
    leave_game
    quit
done
echo "PASS"
