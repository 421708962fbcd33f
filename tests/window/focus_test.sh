# Another window taking the keyboard focus pauses a game; it stays paused when the focus comes back,
# and P lets it run on.
source "$(dirname "$0")/desktop_lib.sh"

game_under_way
xclock -geometry 60x60+0+400 2>/dev/null &
CLOCK_PID=$!
wait_for "the other window" eval 'OTHER=$(xdotool search --onlyvisible --class xclock | head -1) && [ -n "$OTHER" ]'

xdotool windowfocus --sync "$OTHER"
wait_for "the game paused when the focus went" paused_shown
xdotool windowfocus --sync "$WIN"
clock_stands_for 2.5
press p
wait_for "the game going on after P" eval '! paused_shown'
shoot && clock_to "$WORK/resumed.png"
wait_for "the level clock running after P" clock_moved_from "$WORK/resumed.png"

kill "$CLOCK_PID"
leave_game
quit
echo "PASS"
