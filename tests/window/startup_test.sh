# The title screen: drawn at start with the bananas beside the first choice and the keys to play; Esc quits with exit
# code 0, and so does "Exit" chosen with Down, Down, Enter.
source "$(dirname "$0")/lib.sh"

start_x
start_game
wait_for "the bananas beside \"One Player Game\"" bananas_at 0
screen_has "120 8 260 450 white 40 9999" || fail "no high score line at the bottom"
# the keys a first game needs, steering and fire first, in two lines of their own widths
screen_has "408 8 116 404 white 400 9999" "328 8 156 418 white 300 9999" "116 22 0 402 lit 0 6" \
    "116 22 524 402 lit 0 6" || fail "the title screen's two lines of keys are not where they fit"
press Escape
wait_exit
[ "$STATUS" -eq 0 ] || fail "Esc on the title screen gave exit code $STATUS, not 0"

start_game
for sel in 1 2; do
    press Down
    wait_for "the bananas to move down to choice $sel" bananas_at "$sel"
done
press Return
wait_exit
[ "$STATUS" -eq 0 ] || fail "choosing \"Exit\" gave exit code $STATUS, not 0"
echo "PASS"
