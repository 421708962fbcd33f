"""The Moonstruck title logo.

"MOON" sits on top with both O's drawn as dizzy full moons (spiral eyes,
wobbly grin, little stars circling their heads); "STRUCK" wobbles along
below.  The letters are our own stroke font: each letter is a few
polylines in a unit box, rendered as thick round-capped tubes from a signed
distance field, so they come out smooth, with a bevel, an outline, a rim
and a drop shadow.  The background is black.
"""

import math

from .fileio import Image, becomes_mask

WIDTH, HEIGHT = 400, 200

OUTLINE = 3.0      # dark outline width around every shape
RIM = 1.6          # light rim outside the outline
SHADOW = (4, 5)    # drop shadow offset in pixels


def _arc(cx, cy, rx, ry, a0, a1, steps=28):
    """Points along an ellipse arc; angles in degrees, y pointing down."""
    pts = []
    for i in range(steps + 1):
        a = math.radians(a0 + (a1 - a0) * i / steps)
        pts.append((cx + rx * math.cos(a), cy + ry * math.sin(a)))
    return pts


# Stroke letters in a unit box (x right, y down).  Each is a list of
# polylines.
STROKES = {
    'M': [[(0, 1), (0, 0), (0.5, 0.62), (1, 0), (1, 1)]],
    'N': [[(0, 1), (0, 0), (1, 1), (1, 0)]],
    'S': [_arc(0.5, 0.25, 0.5, 0.25, -25, -270) + _arc(0.5, 0.75, 0.5, 0.25, -90, 155)[1:]],
    'T': [[(0, 0), (1, 0)], [(0.5, 0), (0.5, 1)]],
    'R': [[(0, 1), (0, 0), (0.5, 0)] + _arc(0.5, 0.25, 0.5, 0.25, -90, 90)[1:] + [(0, 0.5)],
          [(0.45, 0.5), (1, 1)]],
    'U': [[(0, 0), (0, 0.55)] + _arc(0.5, 0.55, 0.5, 0.45, 180, 0)[1:] + [(1, 0)]],
    'C': [_arc(0.5, 0.5, 0.5, 0.5, -40, -320, 36)],
    'K': [[(0, 0), (0, 1)], [(1, 0), (0, 0.62)], [(0.3, 0.44), (1, 1)]],
}


class Shape:
    """A letter or a moon placed on the canvas."""

    def __init__(self, kind, cx, cy, angle, w, h, radius, colours, letter=None):
        self.kind = kind
        self.cx, self.cy = cx, cy
        self.cos, self.sin = math.cos(angle), math.sin(angle)
        self.w, self.h = w, h
        self.radius = radius          # stroke half-width, or the moon radius
        self.colours = colours
        self.segments = []
        if kind == 'letter':
            inner_w, inner_h = w - 2 * radius, h - 2 * radius
            for line in STROKES[letter]:
                pts = [(-inner_w / 2 + u * inner_w, -inner_h / 2 + v * inner_h) for u, v in line]
                for a, b in zip(pts, pts[1:]):
                    self.segments.append((a[0], a[1], b[0], b[1]))
            self.reach = math.hypot(w, h) / 2 + OUTLINE + RIM + 2
        else:
            self.reach = radius + OUTLINE + RIM + 2

    def local(self, px, py):
        dx, dy = px - self.cx, py - self.cy
        return self.cos * dx + self.sin * dy, -self.sin * dx + self.cos * dy

    def to_world(self, lx, ly):
        return self.cos * lx - self.sin * ly, self.sin * lx + self.cos * ly

    def distance(self, px, py):
        """Return (signed distance, local x, local y, distance to the core,
        outward normal in world space) for the point (px, py)."""
        lx, ly = self.local(px, py)
        if self.kind == 'moon':
            d = math.hypot(lx, ly)
            nx, ny = (lx / d, ly / d) if d > 1e-9 else (0.0, -1.0)
            return d - self.radius, lx, ly, d, self.to_world(nx, ny)
        best = 1e9
        bx = by = 0.0
        for (ax, ay, ex, ey) in self.segments:
            vx, vy = ex - ax, ey - ay
            wx, wy = lx - ax, ly - ay
            ll = vx * vx + vy * vy
            t = 0.0 if ll == 0 else max(0.0, min(1.0, (wx * vx + wy * vy) / ll))
            qx, qy = ax + vx * t, ay + vy * t
            dd = (lx - qx) ** 2 + (ly - qy) ** 2
            if dd < best:
                best, bx, by = dd, qx, qy
        d = math.sqrt(best)
        nx, ny = ((lx - bx) / d, (ly - by) / d) if d > 1e-9 else (0.0, -1.0)
        return d - self.radius, lx, ly, d, self.to_world(nx, ny)


def _gradient(stops, t):
    t = max(0.0, min(1.0, t))
    for (t0, c0), (t1, c1) in zip(stops, stops[1:]):
        if t <= t1:
            f = 0.0 if t1 == t0 else (t - t0) / (t1 - t0)
            return tuple(a + (b - a) * f for a, b in zip(c0, c1))
    return stops[-1][1]


def _coverage(d):
    """Anti-aliased coverage of a pixel whose centre is at signed distance d."""
    return max(0.0, min(1.0, 0.5 - d))


def _blend(dst, src, alpha):
    return tuple(a + (b - a) * alpha for a, b in zip(dst, src))


LIGHT = (-0.45, -0.65, 0.62)
_l = math.sqrt(sum(c * c for c in LIGHT))
LIGHT = tuple(c / _l for c in LIGHT)
_h = (LIGHT[0], LIGHT[1], LIGHT[2] + 1.0)
_hl = math.sqrt(sum(c * c for c in _h))
HALF = tuple(c / _hl for c in _h)


def _shade(base, nx, ny, s, gloss=0.55, ambient=0.38):
    """Light a rounded surface: s is 0 on the ridge and 1 at the edge."""
    s = min(1.0, s)
    z = math.sqrt(max(0.0, 1.0 - s * s))
    n = (nx * s, ny * s, z)
    diff = max(0.0, n[0] * LIGHT[0] + n[1] * LIGHT[1] + n[2] * LIGHT[2])
    specular = max(0.0, n[0] * HALF[0] + n[1] * HALF[1] + n[2] * HALF[2]) ** 28
    return tuple(c * (ambient + (1.1 - ambient) * diff) + 255 * gloss * specular for c in base)


def _seg_distance(px, py, pts):
    best = 1e9
    for (ax, ay), (bx, by) in zip(pts, pts[1:]):
        vx, vy = bx - ax, by - ay
        ll = vx * vx + vy * vy
        t = 0.0 if ll == 0 else max(0.0, min(1.0, ((px - ax) * vx + (py - ay) * vy) / ll))
        dd = (px - ax - vx * t) ** 2 + (py - ay - vy * t) ** 2
        best = min(best, dd)
    return math.sqrt(best)


def _spiral(cx, cy, radius, turns, phase):
    pts = []
    steps = int(40 * turns)
    for i in range(steps + 1):
        f = i / steps
        a = phase + f * turns * 2 * math.pi
        r = radius * f
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return pts


class MoonFace:
    """Face features in the moon's own coordinates (radius 40 design)."""

    INK = (70, 25, 95)

    def __init__(self, radius, mirror):
        k = radius / 40.0
        self.k = k
        sgn = -1 if mirror else 1
        self.eyes = [_spiral(-14 * k, -8 * k, 9.5 * k, 2.6, 0.0 if sgn > 0 else math.pi),
                     _spiral(14 * k, -8 * k, 9.5 * k, 2.6, math.pi / 2)]
        self.eye_centres = [(-14 * k, -8 * k), (14 * k, -8 * k)]
        mouth = []
        for i in range(41):
            x = (-17 + 34 * i / 40) * k
            y = (18 - (x / k) ** 2 / 38 + 1.4 * math.sin(x / k * 0.55 * sgn)) * k
            mouth.append((x, y))
        self.mouth = mouth
        self.tongue = (6 * sgn * k, 19.5 * k, 4.6 * k)
        self.craters = [(-22 * k, -24 * k, 4.5 * k), (21 * k, 21 * k, 3.5 * k),
                        (-27 * k, 17 * k, 3.0 * k), (4 * k, -29 * k, 3.0 * k),
                        (27 * k, -18 * k, 2.5 * k)]

    def paint(self, colour, lx, ly):
        k = self.k
        # craters: a darker dip with a lit lower-right lip
        for (cx, cy, r) in self.craters:
            d = math.hypot(lx - cx, ly - cy)
            if d < r + 1.0:
                inside = _coverage(d - r)
                colour = _blend(colour, tuple(c * 0.8 for c in colour), inside * 0.8)
                if d > r - 1.2 and (lx - cx) + (ly - cy) > 0:
                    colour = _blend(colour, (255, 255, 240), inside * 0.5)
        # rosy cheeks
        for cx in (-25 * k, 25 * k):
            d = math.hypot((lx - cx) / 1.3, ly - 6 * k)
            if d < 5 * k:
                colour = _blend(colour, (255, 120, 140), 0.45 * (1 - d / (5 * k)) + 0.15)
        # tongue hanging out of the grin
        tx, ty, tr = self.tongue
        d = math.hypot(lx - tx, ly - ty)
        mouth_y = (18 - (lx / k) ** 2 / 38) * k
        if ly > mouth_y - 1 and d < tr + 1:
            colour = _blend(colour, (240, 90, 110), _coverage(d - tr))
            if abs(lx - tx) < 0.7 and ly > ty - 1:
                colour = _blend(colour, (180, 40, 70), 0.6)
        # spiral eyes: white eyeballs with a dark spiral
        for (ex, ey) in self.eye_centres:
            d = math.hypot(lx - ex, ly - ey)
            colour = _blend(colour, (255, 255, 255), _coverage(d - 10.5 * k))
            if d < 12.5 * k:
                colour = _blend(colour, self.INK, _coverage(abs(d - 10.8 * k) - 0.8))
        for eye in self.eyes:
            d = _seg_distance(lx, ly, eye)
            colour = _blend(colour, self.INK, _coverage(d - 1.05))
        d = _seg_distance(lx, ly, self.mouth)
        colour = _blend(colour, self.INK, _coverage(d - 1.3))
        return colour


def _star_polygon(cx, cy, r_out, r_in, angle, points=5):
    pts = []
    for i in range(points * 2):
        a = angle - math.pi / 2 + i * math.pi / points
        r = r_out if i % 2 == 0 else r_in
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    pts.append(pts[0])
    return pts


def _inside(px, py, poly):
    inside = False
    for (ax, ay), (bx, by) in zip(poly, poly[1:]):
        if (ay > py) != (by > py):
            x = ax + (py - ay) * (bx - ax) / (by - ay)
            if px < x:
                inside = not inside
    return inside


def _layout():
    shapes = []
    gold = [(0.0, (255, 252, 215)), (0.35, (255, 215, 70)),
            (0.75, (255, 140, 30)), (1.0, (225, 70, 40))]
    pink = [(0.0, (255, 225, 250)), (0.4, (255, 110, 190)),
            (0.8, (205, 60, 230)), (1.0, (140, 50, 220))]
    moon = [(0.0, (255, 252, 228)), (1.0, (250, 228, 160))]
    # top line: M (moon) (moon) N
    cy1 = 64
    shapes.append(Shape('letter', 76, cy1 + 2, -0.09, 66, 80, 9.5, gold, 'M'))
    shapes.append(Shape('moon', 158, cy1, 0.25, 80, 80, 40, moon))
    shapes.append(Shape('moon', 250, cy1, -0.3, 80, 80, 40, moon))
    shapes.append(Shape('letter', 329, cy1 + 2, 0.09, 58, 80, 9.5, gold, 'N'))
    # bottom line: STRUCK wobbling along a wave
    x = 64
    for i, ch in enumerate('STRUCK'):
        dy = 5 * math.sin(i * 1.15 + 0.3)
        angle = 0.11 * math.sin(i * 1.7 + 1.0)
        shapes.append(Shape('letter', x, 148 + dy, angle, 46, 60, 7.5, pink, ch))
        x += 54.4
    return shapes


def _sparkle(canvas, cx, cy, size, colour):
    for y in range(int(cy - size - 1), int(cy + size + 2)):
        for x in range(int(cx - size - 1), int(cx + size + 2)):
            if not (0 <= x < WIDTH and 0 <= y < HEIGHT):
                continue
            dx, dy = abs(x + 0.5 - cx), abs(y + 0.5 - cy)
            ray = max(0.0, 1 - dx / size) * max(0.0, 1 - dy / 0.9) + \
                max(0.0, 1 - dy / size) * max(0.0, 1 - dx / 0.9)
            core = max(0.0, 1 - math.hypot(dx, dy) / (size * 0.35))
            a = min(1.0, ray + core)
            if a > 0:
                canvas[y][x] = _blend(canvas[y][x], colour, a)


def render_title():
    shapes = _layout()
    face = {}
    moons = [s for s in shapes if s.kind == 'moon']
    for i, m in enumerate(moons):
        face[id(m)] = MoonFace(m.radius, mirror=(i == 1))

    canvas = [[(0.0, 0.0, 0.0) for _ in range(WIDTH)] for _ in range(HEIGHT)]

    # background sparkles and dots
    for (x, y, s, c) in [(14, 20, 6, (255, 255, 255)), (388, 14, 5, (255, 250, 200)),
                         (20, 128, 4, (200, 220, 255)), (384, 112, 6, (255, 255, 255)),
                         (10, 184, 5, (255, 240, 200)), (392, 186, 4, (210, 225, 255)),
                         (204, 190, 3, (255, 255, 255)), (116, 12, 3, (210, 225, 255)),
                         (292, 8, 3, (255, 255, 255))]:
        _sparkle(canvas, x, y, s, c)
    for (x, y) in [(40, 8), (60, 190), (150, 196), (270, 194), (340, 190),
                   (372, 60), (6, 60), (30, 100), (396, 150), (360, 8), (202, 6)]:
        canvas[y][x] = (190, 190, 210)

    # signed distance field of the whole logo
    info = [[None] * WIDTH for _ in range(HEIGHT)]
    sdf = [[1e9] * WIDTH for _ in range(HEIGHT)]
    for y in range(HEIGHT):
        py = y + 0.5
        for x in range(WIDTH):
            px = x + 0.5
            best = None
            for s in shapes:
                if abs(px - s.cx) > s.reach or abs(py - s.cy) > s.reach:
                    continue
                r = s.distance(px, py)
                if best is None or r[0] < best[0]:
                    best = (r[0], s, r)
            if best is not None:
                sdf[y][x] = best[0]
                info[y][x] = best

    sx, sy = SHADOW
    for y in range(HEIGHT):
        for x in range(WIDTH):
            c = canvas[y][x]
            if 0 <= y - sy < HEIGHT and 0 <= x - sx < WIDTH:
                c = _blend(c, (40, 8, 70), 0.95 * _coverage(sdf[y - sy][x - sx] - OUTLINE - RIM))
            d = sdf[y][x]
            if d < OUTLINE + RIM + 1:
                c = _blend(c, (190, 150, 255), _coverage(d - OUTLINE - RIM))
                c = _blend(c, (45, 8, 75), _coverage(d - OUTLINE))
                if d < 1:
                    _, s, (_, lx, ly, core, (nx, ny)) = info[y][x]
                    if s.kind == 'moon':
                        t = (ly + s.radius) / (2 * s.radius)
                        base = _gradient(s.colours, t)
                        base = face[id(s)].paint(base, lx, ly)
                        fill = _shade(base, nx, ny, core / s.radius, gloss=0.3, ambient=0.62)
                    else:
                        t = (ly + s.h / 2) / s.h
                        base = _gradient(s.colours, t)
                        fill = _shade(base, nx, ny, core / s.radius)
                    c = _blend(c, fill, _coverage(d))
            canvas[y][x] = c

    # little stars circling the moons' heads, as when a cartoon is dizzy
    stars = []
    for m, phase in zip(moons, (0.3, 1.4)):
        for j in range(3):
            a = phase + j * 2 * math.pi / 3
            stars.append((m.cx + 37 * math.cos(a), m.cy - 38 + 7 * math.sin(a), a))
    for m, phase in zip(moons, (0.3, 1.4)):
        # faint orbit trail
        for i in range(120):
            a = phase + i * 2 * math.pi / 120
            if math.sin(a) < -0.2:
                continue
            x = m.cx + 37 * math.cos(a)
            y = m.cy - 38 + 7 * math.sin(a)
            xi, yi = int(x), int(y)
            if 0 <= xi < WIDTH and 0 <= yi < HEIGHT and (i // 4) % 2 == 0:
                canvas[yi][xi] = _blend(canvas[yi][xi], (255, 240, 170), 0.55)
    for (cx, cy, a) in stars:
        poly = _star_polygon(cx, cy, 6.5, 2.9, a * 0.7)
        for y in range(int(cy - 10), int(cy + 11)):
            for x in range(int(cx - 10), int(cx + 11)):
                if not (0 <= x < WIDTH and 0 <= y < HEIGHT):
                    continue
                px, py = x + 0.5, y + 0.5
                d = _seg_distance(px, py, poly)
                sd = -d if _inside(px, py, poly) else d
                c = canvas[y][x]
                c = _blend(c, (45, 8, 75), _coverage(sd - 1.6))
                fill = _gradient([(0, (255, 255, 220)), (1, (255, 190, 30))], (py - cy + 6) / 12)
                c = _blend(c, fill, _coverage(sd))
                canvas[y][x] = c

    img = Image(WIDTH, HEIGHT, fill=(0, 0, 0))
    for y in range(HEIGHT):
        for x in range(WIDTH):
            c = tuple(max(0, min(255, int(round(v)))) for v in canvas[y][x])
            if becomes_mask(c):
                c = (c[0], 8, c[2])   # never the transparent colour by accident
            img.rows[y][x] = c
    return img
