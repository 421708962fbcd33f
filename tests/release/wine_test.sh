# The Windows zip's program runs under Wine: it draws the title screen, Enter starts a game, Esc
# leaves it and Esc quits with exit code 0, twice over: started in its own folder, then moved
# into a folder of non-ASCII letters and started in another folder, as a shortcut may start it,
# where it still finds the media beside it. Each run is bounded by a timeout, and a hang at
# start-up or at exit fails the test. Argument: the dist folder.
source "$(dirname "$0")/../window/lib.sh"
source "$(dirname "$0")/../window/keys_lib.sh"
source "$(dirname "$0")/wine_lib.sh"

start_wine
moved="$WORK/Spiele é ß ł 月"
mkdir "$WORK/elsewhere" "$moved"
for run in 1 2; do
    folder=$GAME_DIR
    if [ "$run" -eq 2 ]; then
        mv "$GAME_DIR" "$moved/"
        EXE=$moved/$(basename "$GAME_DIR")/moonstruck.exe
        folder=$WORK/elsewhere
    fi
    launch_game "$folder"
    wait_for "the game's window (run $run)" find_window
    point_into "$WIN"
    wait_for "the title screen (run $run)" title_shown
    play
    leave_game
    quit
done
echo "PASS"
