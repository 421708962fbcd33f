# The desktop knows the game's window: its class is "moonstruck", the class the desktop entry names,
# and it carries an icon of its own.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/keys_lib.sh"

start_x
start_game
class=$(xprop -id "$WIN" WM_CLASS)
[ "$class" = 'WM_CLASS(STRING) = "moonstruck", "moonstruck"' ] || fail "the window's class: $class"
entry=$(sed -n 's/^StartupWMClass=//p' data/org.moonstruck.moonstruck.desktop)
[ "$entry" = moonstruck ] || fail "the desktop entry names the window class '$entry'"
icon=$(xprop -id "$WIN" WM_HINTS | sed -n 's/.*bitmap id # to use for icon: //p')
[ -n "$icon" ] || fail "the window has no icon"

# the icon's picture against the 48-pixel desktop icon: every pixel the PNG shows (its transparent
# ones are left to the icon's mask) is in the window's icon, on a 24-bit display
"$CONVERT" data/icons/moonstruck-48.png -depth 8 rgba:"$WORK/icon.rgba"
differing=$(python3 - "$icon" "$WORK/icon.rgba" <<'PY'
import ctypes as C, sys
x = C.CDLL("libX11.so.6")
x.XOpenDisplay.restype = C.c_void_p
x.XGetImage.restype = C.c_void_p
x.XGetImage.argtypes = [C.c_void_p, C.c_ulong, C.c_int, C.c_int, C.c_uint, C.c_uint, C.c_ulong, C.c_int]
x.XGetPixel.restype = C.c_ulong
x.XGetPixel.argtypes = [C.c_void_p, C.c_int, C.c_int]
d = C.c_void_p(x.XOpenDisplay(None))
image = x.XGetImage(d, int(sys.argv[1], 16), 0, 0, 48, 48, 0xFFFFFFFF, 2)  # 2: ZPixmap
png = open(sys.argv[2], "rb").read()
if not image or len(png) != 48 * 48 * 4:
    print("unreadable")
    sys.exit()
off = 0
for y in range(48):
    for x_ in range(48):
        r, g, b, a = png[(y * 48 + x_) * 4:(y * 48 + x_) * 4 + 4]
        if a == 255 and x.XGetPixel(image, x_, y) & 0xFFFFFF != (r << 16 | g << 8 | b):
            off += 1
print(off)
PY
)
[ "$differing" = 0 ] || fail "the window's icon is not the game's: $differing pixels differ"
quit
echo "PASS"
