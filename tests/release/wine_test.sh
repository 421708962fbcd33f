# The Windows zip's program runs under Wine: it draws the title screen, Enter starts a game, Esc
# leaves it and Esc quits with exit code 0, twice over. Each run is bounded by a timeout, and a
# hang at start-up or at exit fails the test. Argument: the dist folder.
source "$(dirname "$0")/../window/lib.sh"
source "$(dirname "$0")/../window/keys_lib.sh"
source "$(dirname "$0")/wine_lib.sh"

start_wine
for run in 1 2; do
    launch_game "$GAME_DIR"
    wait_for "the game's window (run $run)" find_window
    point_into "$WIN"
    wait_for "the title screen (run $run)" title_shown
    play
    leave_game
    quit
done
echo "PASS"
