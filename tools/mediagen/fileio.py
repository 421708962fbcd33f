"""Writers for the two file formats Allegro 4 loads for Moonstruck.

Pictures: Windows BMP, 24 bits per pixel, BI_RGB (uncompressed), bottom-up
rows padded to a multiple of 4 bytes, BITMAPINFOHEADER.
Sounds: RIFF WAVE, PCM, mono, 16-bit signed, 22050 Hz.
"""

import os
import struct
import wave
import zlib

MAGENTA = (255, 0, 255)
SAMPLE_RATE = 22050


class Image:
    """A plain RGB picture: a list of rows, each a list of (r, g, b) tuples."""

    def __init__(self, width, height, fill=MAGENTA):
        self.width = width
        self.height = height
        self.rows = [[fill] * width for _ in range(height)]

    def set(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.rows[y][x] = tuple(int(c) for c in colour)


def becomes_mask(colour):
    """True if Allegro would turn this colour into the transparent mask
    colour in 15- or 16-bit mode (magenta after dropping the low bits)."""
    r, g, b = colour
    return r >= 248 and g < 8 and b >= 248


def check_mask(image, name):
    """Every pixel that reads as transparent must be exactly magenta."""
    for y, row in enumerate(image.rows):
        for x, c in enumerate(row):
            if c != MAGENTA and becomes_mask(c):
                raise ValueError('%s: colour %r at (%d, %d) would turn transparent' % (name, c, x, y))


def write_bmp(path, image):
    """Write `image` as a 24-bit uncompressed bottom-up BMP."""
    w, h = image.width, image.height
    row_bytes = w * 3
    pad = (4 - row_bytes % 4) % 4
    stride = row_bytes + pad
    pixel_size = stride * h
    header_size = 14 + 40
    out = bytearray()
    # BITMAPFILEHEADER
    out += struct.pack('<2sIHHI', b'BM', header_size + pixel_size, 0, 0, header_size)
    # BITMAPINFOHEADER: size, width, height (positive = bottom-up), planes,
    # bit count, compression (0 = BI_RGB), image size, x/y pixels per metre
    # (2835 = 72 dpi), colours used, colours important
    out += struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, pixel_size, 2835, 2835, 0, 0)
    for y in range(h - 1, -1, -1):
        for (r, g, b) in image.rows[y]:
            out += bytes((b, g, r))
        out += b'\0' * pad
    _write(path, bytes(out))


def write_wav(path, samples, rate=SAMPLE_RATE):
    """Write a list of floats in [-1, 1] as 16-bit signed mono PCM."""
    frames = bytearray()
    for s in samples:
        v = int(round(s * 32767.0))
        if v > 32767:
            v = 32767
        elif v < -32768:
            v = -32768
        frames += struct.pack('<h', v)
    os.makedirs(os.path.dirname(path) or '.', exist_ok=True)
    with wave.open(path, 'wb') as wf:
        wf.setnchannels(1)
        wf.setsampwidth(2)
        wf.setframerate(rate)
        wf.writeframes(bytes(frames))


def read_wav(path):
    """Read a 16-bit PCM WAV into (floats of the first channel, rate)."""
    with wave.open(path, 'rb') as wf:
        channels = wf.getnchannels()
        width = wf.getsampwidth()
        rate = wf.getframerate()
        data = wf.readframes(wf.getnframes())
    if width != 2:
        raise ValueError('%s: expected 16-bit samples, got %d bytes' % (path, width))
    count = len(data) // 2
    values = struct.unpack('<%dh' % count, data)
    return [v / 32768.0 for v in values[::channels]], rate


def contact_sheet(images, scale=4, gap=8, columns=6, background=(0, 0, 0)):
    """Lay pictures out on a grid, enlarged, magenta shown as background."""
    cells = [(img.width * scale, img.height * scale) for img in images]
    rows = [cells[i:i + columns] for i in range(0, len(cells), columns)]
    width = gap + max(sum(w + gap for w, _ in row) for row in rows)
    height = gap + sum(max(h for _, h in row) + gap for row in rows)
    sheet = Image(width, height, fill=(40, 40, 48))
    y = gap
    index = 0
    for row in rows:
        x = gap
        for (w, h) in row:
            img = images[index]
            index += 1
            for sy in range(h):
                src = img.rows[sy // scale]
                for sx in range(w):
                    c = src[sx // scale]
                    sheet.rows[y + sy][x + sx] = background if c == MAGENTA else c
            x += w + gap
        y += max(h for _, h in row) + gap
    return sheet


def write_png(path, image):
    """Write an RGB PNG (used for the preview contact sheet only)."""
    raw = bytearray()
    for row in image.rows:
        raw.append(0)
        for (r, g, b) in row:
            raw += bytes((r, g, b))

    def chunk(kind, data):
        body = kind + data
        return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body) & 0xffffffff)

    png = b'\x89PNG\r\n\x1a\n'
    png += chunk(b'IHDR', struct.pack('>IIBBBBB', image.width, image.height, 8, 2, 0, 0, 0))
    png += chunk(b'IDAT', zlib.compress(bytes(raw), 9))
    png += chunk(b'IEND', b'')
    _write(path, png)


def _write(path, data):
    os.makedirs(os.path.dirname(path) or '.', exist_ok=True)
    with open(path, 'wb') as f:
        f.write(data)
