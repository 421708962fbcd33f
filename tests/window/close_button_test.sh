# The window's close button ends the game with exit code 0, on the title screen and during a game.
source "$(dirname "$0")/lib.sh"

start_x
for where in title game; do
    start_game
    if [ "$where" = game ]; then
        press Return
        wait_for "a game" game_shown
    fi
    running || fail "the game ended before its window was closed"
    request_close
    wait_exit
    [ "$STATUS" -eq 0 ] || fail "closing the window on the $where screen gave exit code $STATUS, not 0"
done
echo "PASS"
