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

allowed=1024 marks=() readings=()
TURNS=(0 1 "0 space") # play_game's arguments for each kind of game in turn
for ((m = 1; m <= minutes; m++)); do marks+=($((m * 60))); done
[ "$minutes" -gt 1 ] || marks=(15 60)

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
    read -ra turn <<<"${TURNS[games % 3]}"
    play_game "${turn[@]}"
    games=$((games + 1)) crazy=$((crazy + WENT_CRAZY))
    echo "$(date +%T) game $games over after $((SECONDS - started)) s"
    on_poll
done
running || fail "the game ended on its own"
on_poll
echo "games: $games (seen going crazy in $crazy), duration: $((SECONDS - started)) s"
echo "VmRSS readings (kB): ${readings[*]}"
quit
for r in "${readings[@]}"; do
    [ "$r" -le $((readings[0] + allowed)) ] ||
        fail "VmRSS grew from ${readings[0]} kB to $r kB, more than $allowed KiB"
done
echo "PASS"
