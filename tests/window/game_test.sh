# The title screen, the ways out of it and the game, through the X server as a player gives them.
# The title screen is drawn at start with the bananas beside the first choice, in a window the
# desktop knows (its class is "moonstruck", the class the desktop entry names, and it carries the
# game's icon); Esc quits with exit code 0, and so do "Exit" chosen with Down, Down, Enter and the
# window's close button, on the title screen and during a game (Esc on the title screen after a
# game is lib.sh's quit, which the other tests end with).
# A one-player game: Enter starts it with the ship at the bottom, Space fires the ship's gun, the
# arrow keys steer the ship and Esc goes back to the title screen. In a two-player game the
# crosshair follows the mouse and the left button fires the mouse gun towards the pointer.
source "$(dirname "$0")/lib.sh"

# the ship still on its starting row (nothing has moved it up or down), left of where it started
ship_left() { find_ship && [ "$SY" -eq 435 ] && [ "$SX" -lt 300 ]; }
# the ship well above its starting row, and not back to the right of where Left took it
ship_higher() { find_ship && [ "$SY" -lt 400 ] && [ "$SX" -le "$LEFT_X" ]; }
# steer KEY TEST WHAT: taps the key for 0.3 s (up to 60 px with the coasting) until the test, tried
# thrice after each tap, finds the ship where it should be; short taps keep the ship low, out of
# the enemies' way, however slowly the screenshots come
steer() { wait_for "$3" eval "xdotool keydown $1 sleep 0.3 keyup $1; $2 || $2 || $2"; }

start_x
start_game
wait_for "the bananas beside \"One Player Game\"" bananas_at 0
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
press Return
wait_for "a game with the ship at the bottom" game_shown
# the gun's shots fly up from the ship's nose, in a cyan nothing else has
xdotool keydown space
wait_for "the ship's shots while Space is held" screen_has "20 150 310 270 #78f0ff 3 999"
xdotool keyup space
# steering, soon after the start, as a ship that sits still is hit by every aimed shot
steer Left ship_left "the ship to move left of its start on Left"
LEFT_X=$SX
steer Up ship_higher "the ship to move up on Up"

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
