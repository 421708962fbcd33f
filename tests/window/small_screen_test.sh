# A screen with no room for a bigger window: the window stays 640x480 and F10 leaves it so; F11
# where fullscreen can't be had (another program holds the pointer) leaves the game as it was,
# says so for a moment, and the game goes on.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/keys_lib.sh"

window_is() { [ "$(xdotool getwindowgeometry "$WIN" | sed -n 's/ *Geometry: //p')" = "$1" ]; }
# the notice across the top of the picture, "Fullscreen isn't available here"
notice_shown() { screen_has "248 8 196 4 white 150 9999"; }

start_x
start_game
window_is 640x480 || fail "the window is $(xdotool getwindowgeometry "$WIN"), not 640x480"
press F10
title_shown && window_is 640x480 || fail "F10 changed a window the screen has no room for"

# a program that holds the pointer keeps the game from taking it, as fullscreen must
python3 -c '
import ctypes, sys, time
x = ctypes.CDLL("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
d = ctypes.c_void_p(x.XOpenDisplay(None))
x.XDefaultRootWindow.restype = ctypes.c_ulong
root = ctypes.c_ulong(x.XDefaultRootWindow(d))
if x.XGrabPointer(d, root, 0, 0, 1, 1, ctypes.c_ulong(0), ctypes.c_ulong(0), ctypes.c_ulong(0)) != 0:
    sys.exit("could not grab the pointer")
x.XSync(d, 0)
print("held", flush=True)
time.sleep(60)' >"$WORK/grab" &
GRAB_PID=$!
trap 'kill "$GRAB_PID" 2>/dev/null || true; cleanup' EXIT
wait_for "the pointer held by another program" grep -q held "$WORK/grab"
press F11
wait_for "the notice that fullscreen is not available" notice_shown
find_window && window_is 640x480 || fail "the window is not 640x480 after a failed F11"
kill "$GRAB_PID"
wait_for "the notice to go" eval '! notice_shown'
title_shown || fail "the title screen is not back after the notice"
play
leave_game
quit
echo "PASS"
