# P pauses a game: the picture stays with "Paused" over it and the level clock stands still; P again
# and the clock runs on. The Pause key does the same, and Esc in a paused game goes to the title
# screen.
source "$(dirname "$0")/desktop_lib.sh"

game_under_way
for k in p Pause; do
    press "$k"
    wait_for "the game paused by $k" paused_shown
    clock_stands_for 2.5
    press "$k"
    wait_for "the game going on after $k" eval '! paused_shown'
    shoot && clock_to "$WORK/resumed.png"
    wait_for "the level clock running after $k" clock_moved_from "$WORK/resumed.png"
done

press p
wait_for "the game paused" paused_shown
press Escape
wait_for "the title screen after Esc in a paused game" title_shown
sleep 0.5
quit
echo "PASS"
