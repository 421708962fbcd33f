# The game refuses to start, with exit code 1 and a message, when it has no display or misses a
# media file.
source "$(dirname "$0")/lib.sh"

# no display: the reason on stderr, exit code 1 and no core dump
mkdir "$WORK/nowhere"
STATUS=0
(cd "$WORK/nowhere" && { ulimit -c unlimited 2>/dev/null || true; } && exec env -u DISPLAY "$GAME") \
    >"$WORK/out" 2>"$WORK/err" || STATUS=$?
[ "$STATUS" -eq 1 ] || fail "without a display the game exited with $STATUS, not 1"
grep -q "^Couldn't start the Allegro library: " "$WORK/err" || fail "no reason given on stderr"
[ -z "$(ls -A "$WORK/nowhere")" ] || fail "the game left a core dump: $(ls "$WORK/nowhere")"

# one picture or one sound missing from a copy of the media: the message names the file
start_x
for missing in ship.bmp crazy/enemy3.bmp sound/fire.wav sound/crazylaugh.wav; do
    rm -rf "$WORK/run" && mkdir "$WORK/run" && cp -r media "$WORK/run/"
    rm "$WORK/run/media/$missing"
    launch_game "$WORK/run"
    # Allegro shows the message in an xmessage box where it can, and waits for its OK; else it prints it
    wait_for "the game to end or show its message" eval '! running || pgrep -P "$GAME_PID" -x xmessage >/dev/null'
    if running; then
        box=$(pgrep -P "$GAME_PID" -x xmessage)
        message=$(ps -o args= -p "$box")
        wait_for "the message box's window" eval 'box_window=$(xdotool search --onlyvisible --name "^xmessage$")'
        xdotool mousemove --window "$box_window" 20 20 sleep 0.2 key Return # its default button: OK
    fi
    wait_exit
    [ -n "${box:-}" ] || message=$(cat "$WORK/out")
    [ "$STATUS" -eq 1 ] || fail "without media/$missing the game exited with $STATUS, not 1"
    grep -qF "Couldn't load $(cd "$WORK/run" && pwd -P)/media/$missing: no such file" <<<"$message" || fail "without media/$missing it said: $message"
    box=
done
echo "PASS"
