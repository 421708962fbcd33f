# A gamepad through the library's Linux joystick driver (a preloaded shim serves its events):
# the d-pad moves the title menu's choice, A chooses, A fires the ship's gun, the stick steers,
# Back leaves the game; a pad pulled out with the d-pad held stops moving the choice, one put
# back in is found again, and Back on the title screen quits with 0.
source "$(dirname "$0")/lib.sh"

cc -shared -fPIC -O -o "$WORK/padshim.so" "$(dirname "$0")/padshim.c" -ldl
PAD=$WORK/js0
plug_in() { mkfifo "$PAD" && exec 5<>"$PAD"; } # a writer kept open: the game never reads an end
pull_out() { rm -f "$PAD" && exec 5>&-; }

# pad KIND NUMBER VALUE: one event as the kernel writes it: time, value, type, number
pad() {
    local type=1 v=$(($3 & 65535)) # a button; the value as a 16-bit two's complement
    [ "$1" = button ] || type=2
    printf "$(printf '\\x00\\x00\\x00\\x00\\x%02x\\x%02x\\x%02x\\x%02x' $((v & 255)) $((v >> 8)) $type "$2")" >&5
}
STICK_X=0 DPAD_Y=7 BUTTON_A=0 BUTTON_BACK=6
tap() { pad "$1" "$2" "$3" && sleep 0.1 && pad "$1" "$2" 0 && sleep 0.1; }

# the ship left of its start, on its row
ship_left() { find_ship && [ "$SY" -eq 435 ] && [ "$SX" -lt 290 ]; }

plug_in
start_x
LD_PRELOAD=$WORK/padshim.so PAD_FIFO=$PAD start_game # the game and what start_game runs, harmlessly
tap axis $DPAD_Y 32767
wait_for "the bananas beside \"Two Player Game\" after the d-pad's down" bananas_at 1
tap button $BUTTON_A 1
wait_for "a game after A" game_shown

pad button $BUTTON_A 1 # the gun's shots fly up from the ship's nose, in a cyan nothing else has
wait_for "the ship's shots while A is held" screen_has "20 150 310 270 #78f0ff 3 999"
pad button $BUTTON_A 0
pad axis $STICK_X -32767
wait_for "the ship steered left by the stick" ship_left
pad axis $STICK_X 0

tap button $BUTTON_BACK 1
wait_for "the title screen after Back" title_shown

pad axis $DPAD_Y 32767 # held: the choice goes round every 11 ticks
wait_for "the choice moving with the d-pad held" bananas_at 2
pull_out
sleep 2 # the game looks for its pad once a second
wait_for "the bananas beside one choice" eval 'at=$(for s in 0 1 2; do bananas_at $s && echo $s && break; done); [ -n "$at" ]'
for _ in 1 2 3 4 5; do # the choice would move every 0.22 s with the d-pad held
    sleep 0.3
    bananas_at "$at" || fail "the choice kept moving after the pad was pulled out"
done

plug_in
sleep 2
wait_for "the game to quit on Back from the pad put back in" eval 'tap button $BUTTON_BACK 1; ! running'
ends_with 0 "Back on the title screen"
echo "PASS"
