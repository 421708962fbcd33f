# Big screens: on a 1920x1080 screen the window opens at 1280x960 and shows the game's picture
# with every pixel a 2x2 block; F9 and F10 step the window down and up while the game goes on,
# its centre staying where it was; the crosshair stays under the pointer; F11 and Alt+Enter go into
# fullscreen and out of it, the picture in the middle with black borders, and the window comes
# back with its centre where it was.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/keys_lib.sh"

SCALE=2 LEFT=0 TOP=0 # where the picture is on the screen, and how big
# shoot: the screen, cut to the picture and brought back to 640x480 for the checks of lib.sh;
# BLOCKS_OFF counts the pixels that differ from the rest of their SCALE by SCALE block
shoot() {
    import -window root "$WORK/full.png"
    "$CONVERT" "$WORK/full.png" -crop "$((640 * SCALE))x$((480 * SCALE))+$LEFT+$TOP" +repage \
        "$WORK/picture.png"
    "$CONVERT" "$WORK/picture.png" -sample '640x480!' "$WORK/shot.png"
    BLOCKS_OFF=$("$CONVERT" "$WORK/picture.png" \( "$WORK/shot.png" \
        -sample "$((640 * SCALE))x$((480 * SCALE))!" \) -metric AE -compare -format '%[distortion]' info:)
}
# CHECK...: the check passes on a screenshot whose pixels are all whole blocks
in_blocks() { "$@" && [ "$BLOCKS_OFF" -eq 0 ]; }
window_is() { [ "$(xdotool getwindowgeometry "$WIN" | sed -n 's/ *Geometry: //p')" = "$1" ]; }
# the window's centre on the screen, "x y"
window_centre() {
    xdotool getwindowgeometry "$WIN" | awk -F '[ :,x]+' '/Position/ { x = $3; y = $4 }
        /Geometry/ { w = $3; h = $4 } END { print x + w / 2, y + h / 2 }'
}
centre_kept() { [ "$(window_centre)" = "$CENTRE" ]; }
# the screen outside the picture is black
borders_black() {
    [ "$("$CONVERT" "$WORK/full.png" -fill black -draw "rectangle $LEFT,$TOP \
        $((LEFT + 640 * SCALE - 1)),$((TOP + 480 * SCALE - 1))" -format '%[max]' info:)" = 0 ]
}

start_x 1920x1080
start_game
window_is 1280x960 || fail "the window is $(xdotool getwindowgeometry "$WIN"), not 1280x960"
wait_for "the title screen in 2x2 blocks" in_blocks title_shown
CENTRE=$(window_centre)

press Down
wait_for "the bananas beside \"Two Player Game\"" in_blocks bananas_at 1
play
wait_for "the status texts and the ship in 2x2 blocks" in_blocks game_shown
xdotool mousemove 800 600
wait_for "the crosshair under the pointer at scale 2" eval 'shoot && shows media/targeting.bmp 400 300'

press F9
SCALE=1 LEFT=320 TOP=240
wait_for "a 640x480 window on F9" window_is 640x480
wait_for "the window's centre to stay at $CENTRE on F9" centre_kept
wait_for "the game going on at scale 1" game_shown
press F9
window_is 640x480 || fail "F9 made the window smaller than 640x480"
xdotool mousemove 400 300 # inside the small window, which keeps the big one's centre
press F10
SCALE=2 LEFT=0 TOP=0
wait_for "a 1280x960 window on F10" window_is 1280x960
wait_for "the window's centre to stay at $CENTRE on F10" centre_kept
wait_for "the game going on at scale 2" in_blocks game_shown
press F10
window_is 1280x960 || fail "F10 made the window bigger than the screen has room for"

leave_game # and a new two-player game (the title keeps the choice), before the enemies win this one
play
press F11
LEFT=320 TOP=60
wait_for "the game in the middle of the screen in fullscreen" in_blocks game_shown
borders_black || fail "the borders round the picture in fullscreen are not black"
xdotool mousemove $((320 + 2 * 200)) $((60 + 2 * 150))
wait_for "the crosshair under the pointer in fullscreen" eval 'shoot && shows media/targeting.bmp 200 150'
xdotool keydown alt keydown Return sleep 0.1 keyup Return keyup alt
LEFT=0 TOP=0
wait_for "the game back in a 1280x960 window on Alt+Enter" in_blocks game_shown
find_window && window_is 1280x960 || fail "Alt+Enter did not give back a 1280x960 window"
wait_for "the window's centre back at $CENTRE after fullscreen" centre_kept

leave_game
quit
echo "PASS"
