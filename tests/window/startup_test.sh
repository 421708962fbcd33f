# The title screen and the ways out of it: drawn at start with the bananas beside the first choice
# and the keys to play, in a window the desktop knows (its class is "moonstruck", the class the
# desktop entry names, and it carries the game's icon); Esc quits with exit code 0, and so do
# "Exit" chosen with Down, Down, Enter and the window's close button, on the title screen and
# during a game.
source "$(dirname "$0")/lib.sh"

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

for where in title game; do
    start_game
    [ "$where" = title ] || play
    request_close
    ends_with 0 "closing the window on the $where screen"
done
echo "PASS"
