# soak.sh [MINUTES] [GAME]: the scripted player plays the game (GAME, build/moonstruck by default)
# game after game for MINUTES (30 by default) in one run of it: from the title screen into a game,
# to its game over and back, again, taking turns at a one-player game sitting still, a two-player game
# with the mouse gun firing and a one-player game holding Space. Its resident memory (VmRSS) is read
# every minute; it passes when no reading is more than 1 MiB above the first, the game runs all the
# while, and at the end (after the game in progress is over) Esc quits it with exit code 0.
# A run of one minute reads the memory at 15 s and at the end instead, with the same 1 MiB.
minutes=${1:-30}
cd "$(dirname "$0")/../.."
set -- "${2:-build/moonstruck}"
source tests/window/lib.sh
source tests/reliability/scripted_player.sh

allowed=1024 marks=()
if [ "$minutes" -eq 1 ]; then
    marks=(15 60)
else
    for ((m = 1; m <= minutes; m++)); do marks+=($((m * 60))); done
fi
readings=() started=$SECONDS

# reads the memory for each mark that is due
on_poll() {
    local rss
    while [ "${#readings[@]}" -lt "${#marks[@]}" ] &&
        [ $((SECONDS - started)) -ge "${marks[${#readings[@]}]}" ]; do
        rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$GAME_PID/status")
        readings+=("$rss")
        echo "$(date +%T) at $((SECONDS - started)) s (mark ${marks[${#readings[@]} - 1]} s): VmRSS $rss kB"
    done
}

start_x
start_game
started=$SECONDS
games=0 crazy=0
while [ $((SECONDS - started)) -lt $((minutes * 60)) ]; do
    case $((games % 3)) in
    0) play_game 0 ;;
    1) play_game 1 ;;
    2) play_game 0 space ;;
    esac
    games=$((games + 1)) crazy=$((crazy + WENT_CRAZY))
    echo "$(date +%T) game $games over after $((SECONDS - started)) s"
    on_poll
done
running || fail "the game ended on its own"
on_poll
sleep 0.5 # the title screen ignores the keyboard for its first 15 ticks
quit_cleanly
echo "games: $games (seen going crazy in $crazy), duration: $((SECONDS - started)) s, exit code: $STATUS"
echo "VmRSS readings (kB): ${readings[*]}"
[ "$STATUS" -eq 0 ] || fail "Esc on the title screen gave exit code $STATUS, not 0"
for r in "${readings[@]}"; do
    [ "$r" -le $((readings[0] + allowed)) ] ||
        fail "VmRSS grew from ${readings[0]} kB to $r kB, more than $allowed KiB"
done
echo "PASS"
