# A game stopped for several seconds (SIGSTOP, as Ctrl-Z does) and then continued does not play the
# missed time in a burst: its level clock has moved by no more than the time the game actually ran,
# and the player is neither crazy nor hurt.
source "$(dirname "$0")/desktop_lib.sh"
source "$(dirname "$(dirname "$0")")/reliability/scripted_player.sh"

STALL=5

# the clock's pictures, a second apart from the start of a game: $WORK/clock-N.png shows N seconds
# played, for N from 0 to $1
learn_clock() {
    local n=0
    steady_clock_to "$WORK/clock-0.png"
    while [ "$n" -lt "$1" ]; do
        wait_for "the level clock's next second" clock_moved_from "$WORK/clock-$n.png"
        n=$((n + 1))
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
now_ms() { date +%s%3N; }

game_under_way
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
leave_game
quit
echo "PASS"
