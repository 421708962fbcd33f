# The title screen, the ways out of it and the game. The title screen is drawn at start with the
# bananas beside the first choice and the keys to play, in a window the desktop knows (its class is
# "moonstruck", the class the desktop entry names, and it carries the game's icon); Esc quits with
# exit code 0, and so do "Exit" chosen with Down, Down, Enter and the window's close button, on the
# title screen and during a game (Esc on the title screen after a game is lib.sh's quit, which the
# other tests end with).
# A one-player game: Enter starts it with the ship at the bottom, the fire key shoots upwards, the
# arrow keys steer the ship and shooting enemies raises the score; Esc goes back to the title
# screen, and a new game started at once has none of the last one's shots in flight. In a
# two-player game the crosshair follows the mouse and the left button fires the mouse gun towards
# the pointer.
source "$(dirname "$0")/lib.sh"

# the shot pictures, sane and crazy, on the black of space
for look in sane crazy; do "$CONVERT" "media/$look/shot.bmp" -fill black -opaque '#ff00ff' "$WORK/$look.png"; done

# found_in PICTURE PART [COMPARE OPTION...]: the part is somewhere in the picture, all but 2 pixels of it
found_in() {
    local found
    found=$(compare -metric AE "${@:3}" -subimage-search "$1" "$2" null: 2>&1) || true
    [[ "$found" =~ ^([0-9]+)\ @ ]] && [ "${BASH_REMATCH[1]}" -le 2 ]
}
# shot_in H Y: the last screenshot has a shot in the ship's centre column, between rows Y and Y+H
shot_in() {
    "$CONVERT" "$WORK/shot.png" -crop "12x$1+317+$2" +repage "$WORK/column.png"
    for look in sane crazy; do
        found_in "$WORK/column.png" "$WORK/$look.png" -fuzz 5% -dissimilarity-threshold 1 && return
    done
    return 1
}
shots_in_both_halves() { shoot && shot_in 215 0 && shot_in 215 215; }

# the ship still on its starting row (nothing has moved it up or down), left of where it started
ship_left() { find_ship && [ "$SY" -eq 435 ] && [ "$SX" -lt 300 ]; }
# the ship well above its starting row, and not back to the right of where Left took it
ship_higher() { find_ship && [ "$SY" -lt 400 ] && [ "$SX" -le "$LEFT_X" ]; }
# steer KEY TEST WHAT: taps the key for 0.3 s (up to 60 px with the coasting) until the test, tried
# thrice after each tap, finds the ship where it should be; short taps keep the ship low, out of
# the enemies' way, however slowly the screenshots come
steer() { wait_for "$3" eval "xdotool keydown $1 sleep 0.3 keyup $1; $2 || $2 || $2"; }

# score_zero: the score text, right-aligned at the top right of the last screenshot, reads
# "Score: 0" as the end of the first title screen's "High Score: 0" does
score_zero() {
    "$CONVERT" "$WORK/shot.png" -crop 120x8+520+15 +repage "$WORK/score.png"
    found_in "$WORK/score.png" "$WORK/score0.png"
}
# the score text in a new screenshot is there (no game-over screen) and no longer reads 0
score_changed() { screen_has "100 8 540 15 white 20 999" && ! score_zero; }

start_x
start_game
wait_for "the bananas beside \"One Player Game\"" bananas_at 0
screen_has "120 8 260 450 white 40 9999" || fail "no high score line at the bottom"
# the keys a first game needs, steering and fire first, in two lines of their own widths
screen_has "408 8 116 404 white 400 9999" "328 8 156 418 white 300 9999" "116 22 0 402 lit 0 6" \
    "116 22 524 402 lit 0 6" || fail "the title screen's two lines of keys are not where they fit"
class=$(xprop -id "$WIN" WM_CLASS)
[ "$class" = 'WM_CLASS(STRING) = "moonstruck", "moonstruck"' ] || fail "the window's class: $class"
entry=$(sed -n 's/^StartupWMClass=//p' data/org.moonstruck.moonstruck.desktop)
[ "$entry" = moonstruck ] || fail "the desktop entry names the window class '$entry'"
icon=$(xprop -id "$WIN" WM_HINTS | sed -n 's/.*bitmap id # to use for icon: //p')
[ -n "$icon" ] || fail "the window has no icon"
# the icon's picture against the 48-pixel desktop icon: every pixel the PNG shows (its transparent
# ones are left to the icon's mask) is in the window's icon, on a 24-bit display
"$CONVERT" data/icons/moonstruck-48.png -depth 8 rgba:"$WORK/icon.rgba"
differing=$(python3 "$LIB_PY" icon_differs "$icon" "$WORK/icon.rgba" 2>&1) || true
[ "$differing" = 0 ] || fail "the window's icon is not the game's: pixels that differ: $differing"
press Escape
ends_with 0 "Esc on the title screen"

start_game
for sel in 1 2; do
    press Down
    wait_for "the bananas to move down to choice $sel" bananas_at "$sel"
done
press Return
ends_with 0 "choosing \"Exit\""

start_game
request_close
ends_with 0 "closing the window on the title screen"

# a one-player game
start_game
"$CONVERT" "$WORK/shot.png" -crop 64x8+308+450 +repage "$WORK/score0.png"
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

# steering, soon after the start, as a ship that sits still is hit by every aimed shot
steer Left ship_left "the ship to move left of its start on Left"
LEFT_X=$SX
steer Up ship_higher "the ship to move up on Up"
wait_for "\"Score: 0\" at the start" eval 'shoot && score_zero'

# fire while sweeping to and fro under the enemies' paths (only sideways: a player gone crazy
# would steer up into them) until the score text has looked different in two screenshots in a row
xdotool keydown space
end=$((SECONDS + 60)) dir=Right seen=0
while [ "$seen" -lt 2 ]; do
    [ "$SECONDS" -lt "$end" ] || fail "the score text did not change in 60 s of shooting"
    xdotool keydown $dir sleep 0.6 keyup $dir
    [ $dir = Right ] && dir=Left || dir=Right
    score_changed && seen=$((seen + 1)) || seen=0
done
xdotool keyup space

press Escape
wait_for "the title screen after Esc" title_shown
# the menu ignores keys for a moment after a game, so Down is pressed until the bananas move
wait_for "the bananas beside \"Two Player Game\"" eval 'bananas_at 1 || { press Down && false; }'
xdotool mousemove 600 435 # level with the ship's corner, still in the window
press Return
wait_for "a two-player game with the ship at the bottom" game_shown

# with the pointer level with the ship's corner, the mouse gun shoots straight to the right along
# row 447, where the shot's cyan is in nothing else; the keyboard gun is left alone
right_of_ship=(250 20 340 440 '#78f0ff')
xdotool mousedown 1
wait_for "a shot right of the ship while the button is held" screen_has "${right_of_ship[*]} 3 999"
xdotool mouseup 1
wait_for "the shots to fly off after the button is let go" screen_has "${right_of_ship[*]} 0 0"

crosshair_at 200 150 200 150 "at (200, 150)"
crosshair_at 450 300 450 300 "at (450, 300)"
! shows media/targeting.bmp 200 150 || fail "the crosshair stayed where the pointer was before"

request_close
ends_with 0 "closing the window during a game"
echo "PASS"
