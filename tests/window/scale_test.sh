# Screens of three sizes. A 640x480 screen has no room for a bigger window: the window stays
# 640x480 and F10 leaves it so; F11 where fullscreen can't be had (another program holds the
# pointer) leaves the game as it was, says so for a moment, and the game goes on.
# A 1366x768 laptop screen: the window stays 640x480, the largest whole scale with room round it;
# fullscreen fills the screen's height, the picture 1024x768 between black borders, and a
# two-player game's crosshair stays under the pointer; F9 and F10 step down to the whole scale and
# back; leaving fullscreen gives the window back in its place.
# A 1920x1080 screen: the window opens at 1280x960 and shows the game's picture with every pixel a
# 2x2 block; F9 and F10 step the window down and up while the game goes on, its centre staying
# where it was; the crosshair stays under the pointer; F11 and Alt+Enter go into fullscreen and out
# of it, the picture in the middle with black borders, and the window comes back with its centre
# where it was.
source "$(dirname "$0")/lib.sh"

LEFT=0 TOP=0 W=640 H=480 # where the picture is on the screen, and how big
# shoot: the screen, cut to the picture and brought back to 640x480 for the checks of lib.sh. A game
# pixel is the one or two screen pixels whose left (top) edge falls in its span: the pixel at three
# quarters of that span is always one of them
shoot() {
    import -window root "$WORK/full.png"
    "$CONVERT" "$WORK/full.png" -crop "${W}x$H+$LEFT+$TOP" +repage "$WORK/picture.png"
    "$CONVERT" "$WORK/picture.png" -define sample:offset=75 -sample '640x480!' "$WORK/shot.png"
}
# in_blocks CHECK...: the check passes on a screenshot whose pixels are all whole blocks
in_blocks() {
    "$@" && [ "$("$CONVERT" "$WORK/picture.png" \( "$WORK/shot.png" -sample "${W}x$H!" \) -metric AE \
        -compare -format '%[distortion]' info:)" -eq 0 ]
}
window_is() { [ "$(xdotool getwindowgeometry "$WIN" | sed -n 's/ *Geometry: //p')" = "$1" ]; }
# the window's centre on the screen, "x y"
window_centre() {
    eval "$(xdotool getwindowgeometry --shell "$WIN")" && echo $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
}
centre_kept() { [ "$(window_centre)" = "$CENTRE" ]; }
# the screen outside the picture is black
borders_black() {
    [ "$("$CONVERT" "$WORK/full.png" -fill black -draw "rectangle $LEFT,$TOP $((LEFT + W - 1)),$((TOP + H - 1))" \
        -format '%[max]' info:)" = 0 ]
}
# the notice across the top of the picture, "Fullscreen isn't available here"
notice_shown() { screen_has "248 8 196 4 white 150 9999"; }
# after KEY LEFT TOP W H WHAT CHECK...: presses the key, and waits for the check to pass on the
# picture, which is now at (LEFT, TOP) and WxH
after() {
    press "$1"
    LEFT=$2 TOP=$3 W=$4 H=$5
    wait_for "${@:6}"
}
# on_screen SIZE WINDOW: the game started on a screen of that size (the last screen's X server gone),
# in a window of that size
on_screen() {
    [ -z "$XVFB_PID" ] || stop_x
    start_x "$1"
    W=${2%x*} H=${2#*x}
    start_game
    window_is "$2" || fail "on a $1 screen the window is $(xdotool getwindowgeometry "$WIN"), not $2"
}

# the 640x480 screen
on_screen 640x480 640x480
press F10
title_shown && window_is 640x480 || fail "F10 changed a window the screen has no room for"
# a program that holds the pointer keeps the game from taking it, as fullscreen must
python3 "$LIB_PY" grab >"$WORK/grab" &
HELPERS+=($!)
wait_for "the pointer held by another program" grep -q held "$WORK/grab"
press F11
wait_for "the notice that fullscreen is not available" notice_shown
find_window && window_is 640x480 || fail "the window is not 640x480 after a failed F11"
kill "${HELPERS[-1]}"
wait_for "the notice to go" eval '! notice_shown'
title_shown || fail "the title screen is not back after the notice"
play
quit

# the laptop's screen
on_screen 1366x768 640x480
press Down
wait_for "the bananas beside \"Two Player Game\"" bananas_at 1
play
CENTRE=$(window_centre)
# the status texts at its top and the ship near its bottom read back from a 1024x768 picture: it
# fills the screen's height
after F11 171 0 1024 768 "the game filling the screen's height in fullscreen" game_shown
borders_black || fail "the screen beside the picture in fullscreen is not black"
# game pixel (200, 150) begins at screen pixel 320; 639 is the last screen pixel of game pixel 399
crosshair_at $((LEFT + 320)) $((TOP + 240)) 200 150 "in fullscreen"
crosshair_at $((LEFT + 639)) $((TOP + 479)) 399 299 "at the end of a game pixel"
after F9 363 144 640 480 "fullscreen stepped down to the whole scale on F9" game_shown
after F10 171 0 1024 768 "fullscreen filling the height again on F10" game_shown
xdotool mousemove $((LEFT + 160)) $((TOP + 160)) # where the window will be, for the keyboard
after F11 0 0 640 480 "the game back in its 640x480 window" game_shown
find_window && window_is 640x480 || fail "leaving fullscreen did not give back the 640x480 window"
centre_kept || fail "the window came back from fullscreen centred at $(window_centre), not $CENTRE"
quit

# the big screen
on_screen 1920x1080 1280x960
wait_for "the title screen in 2x2 blocks" in_blocks title_shown
CENTRE=$(window_centre)
press Down
wait_for "the bananas beside \"Two Player Game\"" in_blocks bananas_at 1
play
wait_for "the status texts and the ship in 2x2 blocks" in_blocks game_shown
crosshair_at 800 600 400 300 "at scale 2"

# F9 down to the smallest window and F10 up to the largest the screen has room for: a second press
# changes nothing
for step in "F9 320 240 640x480 1" "F10 0 0 1280x960 2"; do
    read -r key left top size scale <<<"$step"
    after "$key" "$left" "$top" "${size%x*}" "${size#*x}" "a $size window on $key" window_is "$size"
    wait_for "the window's centre to stay at $CENTRE on $key" centre_kept
    wait_for "the game going on at scale $scale" in_blocks game_shown
    press "$key"
    window_is "$size" || fail "a second $key changed the window from $size, the last size it steps to"
    xdotool mousemove 400 300 # inside the small window, which keeps the big one's centre
done

leave_game # and a new two-player game (the title keeps the choice), before the enemies win this one
play
after F11 320 60 1280 960 "the game in the middle of the screen in fullscreen" in_blocks game_shown
borders_black || fail "the borders round the picture in fullscreen are not black"
crosshair_at $((320 + 2 * 200)) $((60 + 2 * 150)) 200 150 "in fullscreen at scale 2"
after alt+Return 0 0 1280 960 "the game back in a 1280x960 window on Alt+Enter" in_blocks game_shown
find_window && window_is 1280x960 || fail "Alt+Enter did not give back a 1280x960 window"
wait_for "the window's centre back at $CENTRE after fullscreen" centre_kept
quit
echo "PASS"
