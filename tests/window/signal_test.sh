# SIGTERM and SIGINT end a start-up held up reading a file (a FIFO no one writes, in a copy of the
# media) at once, by the signal; in a game SIGTERM still quits cleanly with exit code 0.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/keys_lib.sh"

start_x
mkdir "$WORK/run" && cp -r media "$WORK/run/"
rm "$WORK/run/media/banana.bmp" && mkfifo "$WORK/run/media/banana.bmp" # the first picture read
for signal in TERM INT; do
    launch_game "$WORK/run"
    wait_for "the game's window" find_window
    sleep 1
    running || fail "the start-up was not held up by the FIFO: $(cat "$WORK/err")"
    kill -"$signal" "$GAME_PID"
    wait_exit
    [ "$STATUS" -eq $((128 + $(kill -l "$signal"))) ] ||
        fail "SIG$signal in a held-up start-up gave exit status $STATUS, not death by the signal"
done

start_game
play
kill -TERM "$GAME_PID"
wait_exit
[ "$STATUS" -eq 0 ] || fail "SIGTERM in a game gave exit code $STATUS, not 0"
echo "PASS"
