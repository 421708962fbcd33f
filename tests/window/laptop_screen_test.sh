# A 1366x768 laptop screen: the window stays 640x480, the largest whole scale with room round it;
# fullscreen fills the screen's height, the picture 1024x768 between black borders, and a
# two-player game's crosshair stays under the pointer; F9 and F10 step down to the whole scale and
# back; leaving fullscreen gives the window back in its place.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/keys_lib.sh"

LEFT=0 TOP=0 W=640 H=480 # where the picture is on the screen, and how big
# shoot: the screen, cut to the picture and brought back to 640x480 for the checks of lib.sh. A game
# pixel is the one or two screen pixels whose left (top) edge falls in its 1.6: the pixel at three
# quarters of that span is always one of them
shoot() {
    import -window root "$WORK/full.png"
    "$CONVERT" "$WORK/full.png" -crop "${W}x$H+$LEFT+$TOP" +repage -define sample:offset=75 \
        -sample '640x480!' "$WORK/shot.png"
}
window_is() { [ "$(xdotool getwindowgeometry "$WIN" | sed -n 's/ *Geometry: //p')" = "$1" ]; }
window_at() { xdotool getwindowgeometry "$WIN" | sed -n 's/ *Position: \([0-9,]*\).*/\1/p'; }
borders_black() {
    [ "$("$CONVERT" "$WORK/full.png" -fill black -draw "rectangle $LEFT,$TOP $((LEFT + W - 1)),$((TOP + H - 1))" \
        -format '%[max]' info:)" = 0 ]
}

start_x 1366x768
start_game
window_is 640x480 || fail "the window is $(xdotool getwindowgeometry "$WIN"), not 640x480"
press Down
wait_for "the bananas beside \"Two Player Game\"" bananas_at 1
play
PLACE=$(window_at)

press F11
LEFT=171 W=1024 H=768
# the status texts at its top and the ship near its bottom read back from a 1024x768 picture: it
# fills the screen's height
wait_for "the game filling the screen's height in fullscreen" game_shown
borders_black || fail "the screen beside the picture in fullscreen is not black"
echo "fullscreen shows the picture ${W}x$H: $((100 * H / 768)) % of the screen's height"
xdotool mousemove $((LEFT + 320)) $((TOP + 240)) # game pixel (200, 150) begins at screen pixel 320
wait_for "the crosshair under the pointer in fullscreen" eval 'shoot && shows media/targeting.bmp 200 150'
xdotool mousemove $((LEFT + 639)) $((TOP + 479)) # the last screen pixel of game pixel (399, 299)
wait_for "the crosshair under the pointer at the end of a game pixel" \
    eval 'shoot && shows media/targeting.bmp 399 299'

press F9
LEFT=363 TOP=144 W=640 H=480
wait_for "fullscreen stepped down to the whole scale on F9" game_shown
press F10
LEFT=171 TOP=0 W=1024 H=768
wait_for "fullscreen filling the height again on F10" game_shown

xdotool mousemove $((LEFT + 160)) $((TOP + 160)) # where the window will be, for the keyboard
press F11
LEFT=0 W=640 H=480
wait_for "the game back in its 640x480 window" game_shown
find_window && window_is 640x480 || fail "leaving fullscreen did not give back the 640x480 window"
[ "$(window_at)" = "$PLACE" ] || fail "the window came back from fullscreen at $(window_at), not $PLACE"
leave_game
quit
echo "PASS"
