# monkey.sh [MINUTES] [GAME]: random keys (arrows, WASD, Space, Left Control, P, M, Enter, Escape),
# taps and holds, and random mouse moves, clicks and drags, for MINUTES (10 by default), on the game
# (GAME, build/moonstruck by default) in whatever screen it is in. Between bursts it looks at the
# screen and counts the title screens, games, paused games and game-over screens it finds. Esc on the
# title screen and Enter on Exit quit the game, so a game that has quit with exit code 0 right after
# a burst holding Esc or Enter is started again and counted; any other end of it fails the run. At
# the end Esc from whatever screen (a paused game too) back to the title screen and Esc there must
# quit with exit code 0.
minutes=${1:-10}
cd "$(dirname "$0")/../.."
set -- "${2:-build/moonstruck}"
source tests/window/lib.sh

KEYS=(Left Right Up Down a d w s space Control_L p m)

# burst: a random few seconds of input, as one xdotool command; sets QUIT_KEYS to how many
# Esc and Enter presses it held
burst() {
    local args=() n r k hold
    QUIT_KEYS=0
    # one time in four, hands off for a while, for the enemies to get the ship
    [ $((RANDOM % 4)) -ne 0 ] || args=(mousemove $((RANDOM % 640)) $((RANDOM % 480)) sleep $((RANDOM % 15 + 10)))
    for ((n = RANDOM % 30 + 10; n > 0; n--)); do
        r=$((RANDOM % 1000)) hold=0.$((RANDOM % 40 + 2))
        k=${KEYS[RANDOM % ${#KEYS[@]}]}
        if [ "$r" -lt 450 ]; then
            args+=(keydown "$k" sleep "$hold" keyup "$k")
        elif [ "$r" -lt 550 ]; then # steering while firing
            args+=(keydown "$k" keydown space sleep "$hold" keyup space keyup "$k")
        elif [ "$r" -lt 700 ]; then
            args+=(mousemove $((RANDOM % 640)) $((RANDOM % 480)))
        elif [ "$r" -lt 780 ]; then
            args+=(click $((RANDOM % 3 + 1)))
        elif [ "$r" -lt 830 ]; then
            args+=(mousedown 1 mousemove $((RANDOM % 640)) $((RANDOM % 480)) sleep "$hold" mouseup 1)
        elif [ "$r" -lt 960 ]; then
            args+=(sleep "$hold")
        else
            [ "$r" -lt 993 ] && k=Return || k=Escape
            args+=(keydown "$k" sleep 0.0$((RANDOM % 9 + 1)) keyup "$k")
            QUIT_KEYS=$((QUIT_KEYS + 1))
        fi
    done
    xdotool "${args[@]}"
}

start_x
start_game
started=$SECONDS
bursts=0 restarts=0 before=0
declare -A seen=([title_shown]=0 [in_game]=0 [paused_shown]=0 [game_over_shown]=0)
while [ $((SECONDS - started)) -lt $((minutes * 60)) ]; do
    burst
    bursts=$((bursts + 1))
    if ! running; then
        ends_with 0 "the game's end after burst $bursts"
        [ $((QUIT_KEYS + before)) -gt 0 ] || fail "the game quit after burst $bursts without Esc or Enter"
        restarts=$((restarts + 1))
        xdotool keyup space keyup Control_L mouseup 1
        start_game
    else # a paused game shows a game's status texts too, so it is looked for first
        for screen in title_shown paused_shown in_game game_over_shown; do
            if $screen; then seen[$screen]=$((seen[$screen] + 1)) && break; fi
        done
    fi
    before=$QUIT_KEYS
done
echo "bursts: $bursts, seen: ${seen[title_shown]} title screens, ${seen[in_game]} games," \
    "${seen[paused_shown]} paused games, ${seen[game_over_shown]} game-over screens;" \
    "quit with 0 by Esc or Enter and started again: $restarts; duration: $((SECONDS - started)) s"
xdotool keyup space keyup Control_L mouseup 1
quit
echo "PASS"
