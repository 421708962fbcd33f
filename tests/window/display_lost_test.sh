# The X server going away ends the game at once with exit code 1 and one line on stderr, never by a
# signal (which a core dump needs): three times during a game and once on the title screen.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/keys_lib.sh"

for where in game game game title; do
    rm -f "$WORK/display"
    start_x
    start_game
    [ "$where" = title ] || play
    kill -KILL "$XVFB_PID"
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=
    rm -f "/tmp/.X${DISPLAY#:}-lock" "/tmp/.X11-unix/X${DISPLAY#:}" # a killed server leaves these
    wait_exit
    [ "$STATUS" -eq 1 ] || fail "the display going away on the $where screen gave exit status $STATUS, not 1"
    [ "$(grep -v '^ALSA' "$WORK/err")" = "Lost the connection to the display" ] ||
        fail "the display going away on the $where screen said: $(cat "$WORK/err")"
done
echo "PASS"
