# A one-player game: Enter starts it with the ship at the bottom, the fire key shoots upwards,
# Esc goes back to the title screen, a new game started at once has none of the last one's shots
# in flight, and Esc on the title screen quits with exit code 0.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/keys_lib.sh"

# the shot pictures, sane and crazy, on the black of space
for look in sane crazy; do "$CONVERT" "media/$look/shot.bmp" -fill black -opaque '#ff00ff' "$WORK/$look.png"; done

# shot_in H Y: the last screenshot has a shot in the ship's centre column, between rows Y and Y+H
shot_in() {
    local look found
    "$CONVERT" "$WORK/shot.png" -crop "12x$1+317+$2" +repage "$WORK/column.png"
    for look in sane crazy; do
        found=$(compare -metric AE -fuzz 5% -dissimilarity-threshold 1 -subimage-search "$WORK/column.png" "$WORK/$look.png" null: 2>&1) || true
        [[ ! "$found" =~ ^([0-9]+)\ @ ]] || [ "${BASH_REMATCH[1]}" -gt 2 ] || return 0
    done
    return 1
}
shots_in_both_halves() { shoot && shot_in 215 0 && shot_in 215 215; }

start_x
start_game
press Return
wait_for "a game with the ship at the bottom" game_shown
! shot_in 430 0 || fail "a shot above the ship before any was fired"
xdotool keydown space
wait_for "shots above the ship, in both halves of the screen" shots_in_both_halves
press Escape
wait_for "the title screen after Esc" title_shown
xdotool keyup space
play # a shot takes some 1.8 s to cross the screen: the last game's would still be in flight
! shot_in 430 0 || fail "the new game's first frame has a shot of the last game above the ship"

leave_game
sleep 0.5 # the title screen ignores the keyboard for its first 15 ticks (0.3 s)
press Escape
wait_exit
[ "$STATUS" -eq 0 ] || fail "Esc on the title screen after a game gave exit code $STATUS, not 0"
echo "PASS"
