# A game stopped for several seconds (SIGSTOP, as Ctrl-Z does) and then continued does not play the
# missed time in a burst: its level clock has moved by no more than the time the game actually ran,
# and the player is neither crazy nor hurt.
# A sound output that takes no more samples (ALSA writing the mix into a FIFO held open and never
# read) freezes neither the picture nor the keys: the title screen moves on, Enter starts a game,
# and Esc, the close button and SIGTERM each end the game within a second, with exit code 0. A FIFO
# that nobody opens leaves the game silent but never holds up its start, and an X server that stops
# answering under a game or its start does not hold up SIGTERM (which ends a start by the signal).
source "$(dirname "$0")/lib.sh"
source "$(dirname "$(dirname "$0")")/reliability/scripted_player.sh"

now_ms() { date +%s%3N; }
STALL=5

# the clock's pictures, a second apart from the start of a game: $WORK/clock-N.png shows N seconds
# played, for N from 0 to $1
learn_clock() {
    local n
    steady_clock_to "$WORK/clock-0.png"
    for n in $(seq "$1"); do
        wait_for "the level clock's next second" clock_moved_from "$WORK/clock-$((n - 1)).png"
        steady_clock_to "$WORK/clock-$n.png"
    done
}
# seconds_played: how many seconds the clock has run, by the pictures learnt, or "unknown"
seconds_played() {
    local n
    steady_clock_to "$WORK/read.png"
    for n in $(seq 0 "$LEARNT"); do
        same_clock "$WORK/read.png" "$WORK/clock-$n.png" && echo "$n" && return 0
    done
    echo "unknown"
}

start_x
start_game
play
LEARNT=8 # seconds: short of the time a ship sitting still lasts
learn_clock "$LEARNT"
leave_game

play
sleep 1
before=$(seconds_played)
[ "$before" != unknown ] || fail "the clock of a new game showed a time not seen in the first"
from=$(now_ms)
kill -STOP "$GAME_PID"
sleep "$STALL"
kill -CONT "$GAME_PID"
sleep 0.5
after=$(seconds_played)
ran_ms=$(($(now_ms) - from - STALL * 1000))
[ "$after" != unknown ] || fail "after the stall the clock showed a time more than $LEARNT s into the game"
# the clock shows whole seconds, so it may read one more than the time run
allowed=$(((ran_ms + 999) / 1000 + 1))
[ $((after - before)) -le "$allowed" ] ||
    fail "the clock moved $((after - before)) s over a stall of $STALL s in which the game ran $ran_ms ms"
game_shown || fail "the game is over after the stall"
! crazy_shown || fail "the player went crazy in the stall"
! hurt_shown || fail "the player was hurt in the stall"
quit

# ended_in_time WHAT STATUS COMMAND...: the command ends the game within a second, with that exit
# status; an X server stopped under the game goes on once it has ended or the second has passed
ended_in_time() {
    local what=$1 status=$2 from
    from=$(now_ms)
    "${@:3}"
    while running && [ $(($(now_ms) - from)) -le 1000 ]; do sleep 0.02; done
    kill -CONT "$XVFB_PID"
    ! running || fail "$what did not end the game within a second"
    echo "$what: ended in $(($(now_ms) - from)) ms"
    ends_with "$status" "$what"
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

sound_to_file
mkfifo "$OUT"
exec 7<>"$OUT" # held open, never read
stalled_game
leave_game
ended_in_time "Esc on the title screen with the sound stalled" 0 xdotool keydown Escape
xdotool keyup Escape
stalled_game
ended_in_time "the close button with the sound stalled" 0 request_close
stalled_game
ended_in_time "SIGTERM with the sound stalled" 0 kill -TERM "$GAME_PID"

exec 7>&- # nobody opens the FIFO now
HOME=$WORK/home start_game
play
leave_game
ended_in_time "Esc on the title screen with a sound FIFO nobody opens" 0 xdotool keydown Escape
xdotool keyup Escape

start_game
play
kill -STOP "$XVFB_PID" && sleep 0.5
ended_in_time "SIGTERM in a game with the X server stopped" 0 kill -TERM "$GAME_PID"
launch_game
kill -STOP "$XVFB_PID" && sleep 0.5
ended_in_time "SIGTERM in a start-up with the X server stopped" $((128 + 15)) kill -TERM "$GAME_PID"
echo "PASS"
