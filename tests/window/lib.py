# lib.py: what the window tests ask of the X server through Xlib, and what they read from the
# sound mix written to a file (see sound_to_file in lib.sh). Run as lib.py COMMAND ARGUMENT...
import array, ctypes as C, math, sys, time, wave

x = C.CDLL("libX11.so.6")
x.XOpenDisplay.restype = C.c_void_p
x.XInternAtom.restype = C.c_ulong
x.XInternAtom.argtypes = [C.c_void_p, C.c_char_p, C.c_int]
x.XDefaultRootWindow.restype = C.c_ulong
x.XGetImage.restype = C.c_void_p
x.XGetImage.argtypes = [C.c_void_p, C.c_ulong, C.c_int, C.c_int, C.c_uint, C.c_uint, C.c_ulong, C.c_int]
x.XGetPixel.restype = C.c_ulong
x.XGetPixel.argtypes = [C.c_void_p, C.c_int, C.c_int]


def display():
    return C.c_void_p(x.XOpenDisplay(None))


# asks the window to close as a window manager's close button does, with a WM_DELETE_WINDOW
# client message, laid out as the 24 longs of an XEvent on a 64-bit machine
def close(window):
    d, w = display(), int(window)
    atoms = [x.XInternAtom(d, name, 0) for name in (b"WM_PROTOCOLS", b"WM_DELETE_WINDOW")]
    event = (C.c_long * 24)(33, 0, 0, 0, w, atoms[0], 32, atoms[1])  # 33: ClientMessage
    x.XSendEvent(d, C.c_ulong(w), 0, C.c_long(0), event)
    x.XCloseDisplay(d)


# prints how many pixels of the 48x48 RGBA picture, those it shows, the pixmap lacks
def icon_differs(pixmap, rgba):
    image = x.XGetImage(display(), int(pixmap, 16), 0, 0, 48, 48, 0xFFFFFFFF, 2)  # 2: ZPixmap
    png = open(rgba, "rb").read()
    if not image or len(png) != 48 * 48 * 4:
        sys.exit("the icon or the picture could not be read")
    pixels = [(i % 48, i // 48, png[i * 4 : i * 4 + 4]) for i in range(48 * 48)]
    print(sum(a == 255 and x.XGetPixel(image, px, py) & 0xFFFFFF != (r << 16 | g << 8 | b)
              for px, py, (r, g, b, a) in pixels))


# holds the pointer, as a program that keeps others from taking it, for a minute
def grab():
    d = display()
    no = C.c_ulong(0)
    if x.XGrabPointer(d, C.c_ulong(x.XDefaultRootWindow(d)), 0, 0, 1, 1, no, no, no) != 0:
        sys.exit("could not grab the pointer")
    x.XSync(d, 0)
    print("held", flush=True)
    time.sleep(60)


# the left channel of the mix from byte SKIP on, as signed samples, and its first sound
def left_channel(mix, skip=0):
    pcm = array.array("H")
    with open(mix, "rb") as f:
        pcm.frombytes(f.read()[int(skip):])
    left = [v - 32768 for v in pcm[0::2]]
    return pcm, left, next(i for i, v in enumerate(left) if v)


# how alike two runs of samples are: 1 for the same sound, 0 for sounds with nothing in common
def correlation(a, b):
    norm = math.sqrt(sum(x * x for x in a) * sum(y * y for y in b)) or 1
    return sum(x * y for x, y in zip(a, b)) / norm


# prints the samples at full scale, the peak in dBFS and the correlation of the loop's first
# two bars (8 s each) with the next two, and the seconds of sound
def headroom(mix, skip):
    pcm, left, start = left_channel(mix, skip)
    s = [v - 32768 for v in pcm]
    full = sum(1 for v in s if v >= 32767 or v <= -32767)
    period = 8 * 44100
    share = correlation(left[start : start + 2 * period], left[start + period : start + 3 * period])
    peak = max(abs(v) for v in s) or 1
    print(full, round(20 * math.log10(peak / 32768), 1), round(share, 2), len(left) // 44100)


# prints how alike the second after the first pause is to the loop's file from where the pause
# stopped it and from its start, and the seconds played before the pause: the mix plays the
# 22050 Hz file at twice the rate
def resumed(mix, wav):
    _, left, start = left_channel(mix)
    with wave.open(wav) as w:
        loop = array.array("h", w.readframes(w.getnframes()))
    second = 44100
    stop = next(i for i in range(start, len(left)) if not any(left[i : i + second // 10]))
    again = next(i for i in range(stop, len(left)) if left[i])

    def likeness(at):  # the best within a few samples: a loop's own zero samples blur the edges
        a = left[again : again + second : 2]
        return max(correlation(a, [loop[(at + shift + j) % len(loop)] for j in range(len(a))])
                   for shift in range(-3, 4))

    print(round(likeness((stop - start) // 2), 2), round(likeness(0), 2), round((stop - start) / second, 1))


if __name__ == "__main__":
    globals()[sys.argv[1]](*sys.argv[2:])
