# A sound output that takes no more samples (ALSA writing the mix into a FIFO held open and never
# read) freezes neither the picture nor the keys: the title screen moves on, Enter starts a game,
# and Esc, the close button and SIGTERM each end the game within a second, with exit code 0. A FIFO
# that nobody opens leaves the game silent but never holds up its start, and an X server that stops
# answering under a game or its start does not hold up SIGTERM (which ends a start by the signal).
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/keys_lib.sh"
source "$(dirname "$0")/sound_lib.sh"

now_ms() { date +%s%3N; }
# ended_in_time SINCE WHAT [STATUS]: the game has ended within a second of SINCE (in ms), with
# exit status 0 unless given
ended_in_time() {
    while running; do
        [ $(($(now_ms) - $1)) -le 1000 ] || fail "$2 did not end the game within a second"
        sleep 0.02
    done
    echo "$2: ended in $(($(now_ms) - $1)) ms"
    wait_exit
    [ "$STATUS" -eq "${3:-0}" ] || fail "$2 ended the game with exit status $STATUS, not ${3:-0}"
}
# moving: the picture changes from one moment to the next
moving() {
    shoot && mv "$WORK/shot.png" "$WORK/before.png" && sleep 0.3 && shoot
    [ "$("$CONVERT" "$WORK/before.png" "$WORK/shot.png" -metric AE -compare -format '%[distortion]' info:)" -gt 0 ]
}
# stalled_game: a game whose sound goes into the FIFO, once the FIFO is full
stalled_game() {
    HOME=$WORK/home start_game
    ls -l "/proc/$GAME_PID/fd" | grep -q "$OUT" || fail "the game's sound does not go into the FIFO"
    sleep 1 # more mix than the FIFO holds
    moving || fail "the title screen stands still behind the stalled sound"
    play
}

start_x
mkfifo "$OUT"
exec 7<>"$OUT" # held open, never read

stalled_game
leave_game
from=$(now_ms)
xdotool keydown Escape
ended_in_time "$from" "Esc on the title screen with the sound stalled"
xdotool keyup Escape

stalled_game
from=$(now_ms)
request_close
ended_in_time "$from" "the close button with the sound stalled"

stalled_game
from=$(now_ms)
kill -TERM "$GAME_PID"
ended_in_time "$from" "SIGTERM with the sound stalled"

exec 7>&- # nobody opens the FIFO now
HOME=$WORK/home start_game
play
leave_game
from=$(now_ms)
xdotool keydown Escape
ended_in_time "$from" "Esc on the title screen with a sound FIFO nobody opens"
xdotool keyup Escape

# sigterm_with_x_stopped WHAT [STATUS]: SIGTERM to the game with the X server stopped ends it in time
sigterm_with_x_stopped() {
    kill -STOP "$XVFB_PID"
    sleep 0.5
    local from=$(now_ms)
    kill -TERM "$GAME_PID"
    while running && [ $(($(now_ms) - from)) -le 1000 ]; do sleep 0.02; done
    kill -CONT "$XVFB_PID"
    ended_in_time "$from" "$@"
}
start_game
play
sigterm_with_x_stopped "SIGTERM in a game with the X server stopped"
launch_game
sigterm_with_x_stopped "SIGTERM in a start-up with the X server stopped" $((128 + 15))
echo "PASS"
