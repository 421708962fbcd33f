# The window's close button ends the game with exit code 0, on the title screen and during a game.
source "$(dirname "$0")/lib.sh"

# asks the game's window to close as a window manager's close button does, with a WM_DELETE_WINDOW
# client message (there is no window manager here, and xdotool's windowclose destroys the window);
# the event is laid out as the 24 longs of an XEvent on a 64-bit machine
request_close() {
    python3 - "$WIN" <<'EOF'
import ctypes as C, sys
x = C.CDLL("libX11.so.6")
x.XOpenDisplay.restype, x.XInternAtom.restype = C.c_void_p, C.c_ulong
x.XInternAtom.argtypes = [C.c_void_p, C.c_char_p, C.c_int]
d, w = C.c_void_p(x.XOpenDisplay(None)), int(sys.argv[1])
atom = lambda name: x.XInternAtom(d, name, 0)
event = (C.c_long * 24)(33, 0, 0, 0, w, atom(b"WM_PROTOCOLS"), 32, atom(b"WM_DELETE_WINDOW"))  # 33: ClientMessage
x.XSendEvent(d, C.c_ulong(w), 0, C.c_long(0), event)
x.XCloseDisplay(d)
EOF
}

start_x
for where in title game; do
    start_game
    if [ "$where" = game ]; then
        press Return
        wait_for "a game" game_shown
    fi
    running || fail "the game ended before its window was closed"
    request_close
    wait_exit
    [ "$STATUS" -eq 0 ] || fail "closing the window on the $where screen gave exit code $STATUS, not 0"
done
echo "PASS"
