# The Windows zip's program runs under Wine: its window carries its icon, it draws the title
# screen, Enter starts a game, Esc leaves it and Esc quits with exit code 0, twice over: started
# in its own folder, then moved into a folder of non-ASCII letters and started in another folder,
# as a shortcut may start it, where it still finds the media beside it. Each run is bounded by a
# timeout, and a hang at start-up or at exit fails the test. Argument: the dist folder.
source "$(dirname "$0")/../window/lib.sh"
source "$(dirname "$0")/wine_lib.sh"

# the window carries the ship as its icon, which the taskbar and Alt+Tab show: its 32-pixel icon
# is the ship scaled as tools/make_icons.sh scales it, pixel for pixel
window_has_the_ship() {
    "$CONVERT" media/ship.bmp -transparent '#ff00ff' -sample 32x32 -depth 8 "RGBA:$WORK/ship.rgba"
    xprop -id "$WIN" -f _NET_WM_ICON 32c '=$0+\n' _NET_WM_ICON | python3 -c '
import sys
values = [int(v) for v in sys.stdin.read().split("=", 1)[1].split(",")]
ship = open(sys.argv[1], "rb").read()
argb = [ship[i + 3] << 24 | ship[i] << 16 | ship[i + 1] << 8 | ship[i + 2] for i in range(0, len(ship), 4)]
sys.exit(values[:2] != [32, 32] or values[2:2 + 32 * 32] != argb)' "$WORK/ship.rgba"
}

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
    [ "$run" -eq 2 ] || wait_for "the ship as the window's icon" window_has_the_ship
    point_into "$WIN"
    wait_for "the title screen (run $run)" title_shown
    play
    quit
done
echo "PASS"
