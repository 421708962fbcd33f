"""The targeting crosshair and the two power-up capsules."""

import math

from .fileio import Image
from .sprites import from_grid

# A green ring with cross lines and a red centre dot.  Its top-left corner
# sits at the mouse pointer.
TARGETING_PALETTE = {
    'G': (60, 255, 90),
    'g': (20, 150, 50),
    'R': (255, 60, 60),
}

TARGETING = [
    ".......G.......",
    ".......G.......",
    ".....gGGGg.....",
    "....G..G..G....",
    "...G...G...G...",
    "..g.........g..",
    "..G.........G..",
    "GGGGG..R..GGGGG",
    "..G.........G..",
    "..g.........g..",
    "...G...G...G...",
    "....G..G..G....",
    ".....gGGGg.....",
    ".......G.......",
    ".......G.......",
]


def build_targeting():
    return from_grid(TARGETING, TARGETING_PALETTE, 'targeting')


def _rounded_box_distance(px, py, cx, cy, half, radius):
    """Signed distance from (px, py) to a rounded square."""
    qx = abs(px - cx) - (half - radius)
    qy = abs(py - cy) - (half - radius)
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
    inside = min(max(qx, qy), 0.0)
    return outside + inside - radius


def _mix(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def capsule(symbol, bright, mid, dark):
    """A 20x20 glossy rounded capsule with a bold '+' or '-' symbol.

    `bright`, `mid` and `dark` are three shades of the symbol's colour: the
    symbol and the rim are bright, the body a dark glass of the same hue.
    """
    size = 20
    img = Image(size, size)
    c = size / 2.0

    def in_symbol(x, y):
        horizontal = 4 <= x <= 15 and 8 <= y <= 11
        vertical = 8 <= x <= 11 and 4 <= y <= 15
        return horizontal or (symbol == '+' and vertical)

    body_top = _mix(dark, (255, 255, 255), 0.10)
    body_bottom = _mix(dark, (0, 0, 0), 0.55)
    for y in range(size):
        for x in range(size):
            d = _rounded_box_distance(x + 0.5, y + 0.5, c, c, c, 6.0)
            if d > 0.0:
                continue
            if d > -1.0:
                colour = _mix(dark, (0, 0, 0), 0.3)
            elif d > -2.2:
                colour = bright if y < 10 else mid
            else:
                colour = _mix(body_top, body_bottom, y / (size - 1))
                # glossy highlight across the upper part of the glass
                if 3 <= y <= 6 and abs(x + 0.5 - c) < 7.5 - (6 - y) * 0.6:
                    colour = _mix(colour, (255, 255, 255), 0.22 if y > 3 else 0.35)
            img.set(x, y, colour)
    # the symbol, with a dark outline so that it stands out of the glass
    for y in range(size):
        for x in range(size):
            if in_symbol(x, y):
                continue
            if any(in_symbol(x + dx, y + dy) for dx in (-1, 0, 1) for dy in (-1, 0, 1)):
                img.set(x, y, _mix(dark, (0, 0, 0), 0.6))
    for y in range(size):
        for x in range(size):
            if in_symbol(x, y):
                top_edge = not in_symbol(x, y - 1)
                bottom_edge = not in_symbol(x, y + 1)
                if top_edge:
                    colour = _mix(bright, (255, 255, 255), 0.6)
                elif bottom_edge:
                    colour = mid
                else:
                    colour = bright
                img.set(x, y, colour)
    return img


ICONS = {
    'targeting.bmp': build_targeting,
    'shotplus.bmp': lambda: capsule('+', (90, 255, 90), (30, 190, 50), (10, 90, 25)),
    'shotminus.bmp': lambda: capsule('-', (255, 90, 90), (200, 35, 35), (100, 12, 12)),
}


def build_icons():
    return {path: make() for path, make in ICONS.items()}
