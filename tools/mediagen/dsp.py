"""Small signal-processing helpers on plain lists of floats."""

import math

from .fileio import SAMPLE_RATE as SR

TWO_PI = 2.0 * math.pi


def seconds(n):
    return int(round(n * SR))


def mix_into(dst, src, start=0, gain=1.0, wrap=False):
    """Add `src` into `dst` from index `start`; with wrap the tail that runs
    past the end comes back in at the start (for seamless loops)."""
    n = len(dst)
    for i, v in enumerate(src):
        j = start + i
        if wrap:
            j %= n
        elif j >= n:
            break
        if j >= 0:
            dst[j] += v * gain


def one_pole_lowpass(x, cutoff):
    """One-pole low-pass; cutoff is a number or a function of the index."""
    y = []
    state = 0.0
    fixed = not callable(cutoff)
    if fixed:
        a = 1.0 - math.exp(-TWO_PI * cutoff / SR)
    for i, v in enumerate(x):
        if not fixed:
            a = 1.0 - math.exp(-TWO_PI * cutoff(i) / SR)
        state += a * (v - state)
        y.append(state)
    return y


def highpass(x, cutoff):
    """One-pole high-pass (removes DC and rumble)."""
    low = one_pole_lowpass(x, cutoff)
    return [a - b for a, b in zip(x, low)]


class Biquad:
    """RBJ band-pass biquad (constant peak gain) whose centre can move."""

    def __init__(self):
        self.x1 = self.x2 = self.y1 = self.y2 = 0.0
        self.set(1000.0, 5.0)

    def set(self, freq, q):
        w = TWO_PI * min(freq, SR * 0.45) / SR
        alpha = math.sin(w) / (2.0 * q)
        a0 = 1.0 + alpha
        self.b0 = alpha / a0
        self.b2 = -alpha / a0
        self.a1 = -2.0 * math.cos(w) / a0
        self.a2 = (1.0 - alpha) / a0

    def step(self, x):
        y = self.b0 * x + self.b2 * self.x2 - self.a1 * self.y1 - self.a2 * self.y2
        self.x2, self.x1 = self.x1, x
        self.y2, self.y1 = self.y1, y
        return y


def fade(x, fade_in=0.003, fade_out=0.008):
    """Raised-cosine fades at both ends (seconds) so one-shots never click."""
    n = len(x)
    y = list(x)
    a = max(1, seconds(fade_in))
    b = max(1, seconds(fade_out))
    for i in range(min(a, n)):
        y[i] *= 0.5 - 0.5 * math.cos(math.pi * i / a)
    for i in range(min(b, n)):
        y[n - 1 - i] *= 0.5 - 0.5 * math.cos(math.pi * i / b)
    if n:
        y[0] = 0.0
        y[-1] = 0.0
    return y


def remove_dc(x):
    if not x:
        return x
    mean = sum(x) / len(x)
    return [v - mean for v in x]


def normalise(x, peak_db=-3.0):
    peak = max((abs(v) for v in x), default=0.0)
    if peak <= 0.0:
        raise ValueError('cannot normalise silence')
    gain = (10.0 ** (peak_db / 20.0)) / peak
    return [v * gain for v in x]


def soft_clip(x, drive=1.0):
    k = math.tanh(drive)
    return [math.tanh(v * drive) / k for v in x]


def resample(x, ratio):
    """Linear-interpolation resampling by a constant ratio (out = in * ratio)."""
    n = int(len(x) * ratio)
    out = []
    for i in range(n):
        p = i / ratio
        j = int(p)
        f = p - j
        a = x[j] if j < len(x) else 0.0
        b = x[j + 1] if j + 1 < len(x) else 0.0
        out.append(a + (b - a) * f)
    return out


def varispeed(x, speed):
    """Play `x` back at a speed that changes over time, like a tape.

    `speed(t)` gives the playback rate at output time t (seconds); above 1
    raises the pitch and shortens the sound.
    """
    out = []
    pos = 0.0
    t = 0
    last = len(x) - 1
    while pos < last:
        j = int(pos)
        f = pos - j
        out.append(x[j] + (x[j + 1] - x[j]) * f)
        pos += speed(t / SR)
        t += 1
    return out


def extend_sustain(x, length, start=0.3, window=1024):
    """Lengthen a sustained, roughly periodic sound (a held vowel) to at
    least `length` samples without changing its pitch.

    A stretch of the steady middle is found whose end lines up with its
    start (best correlation about 0.25 s on), and the sound is spliced back
    onto that point with a short crossfade, as often as needed.
    """
    x = list(x)
    while len(x) < length:
        a = int(len(x) * start)
        lo, hi = seconds(0.18), seconds(0.32)
        if a + hi + window >= len(x):
            raise ValueError('sound too short to extend')
        ref = x[a:a + window]
        best = None
        for lag in range(lo, hi):
            seg = x[a + lag:a + lag + window]
            c = sum(p * q for p, q in zip(ref[::2], seg[::2]))
            e = sum(q * q for q in seg[::2]) or 1e-9
            score = c / math.sqrt(e)
            if best is None or score > best[0]:
                best = (score, lag)
        lag = best[1]
        # x[a + lag:] continues from x[a:]: play x[:a + lag], then x[a:]
        # again, crossfading over one window.
        head = x[:a + lag]
        tail = x[a:]
        out = head[:-window]
        for i in range(window):
            f = 0.5 - 0.5 * math.cos(math.pi * i / window)
            out.append(head[len(head) - window + i] * (1 - f) + tail[i] * f)
        out.extend(tail[window:])
        x = out
    return x


def trim(x, threshold=0.02, margin=0.004):
    """Cut leading and trailing near-silence, keeping a short margin."""
    peak = max((abs(v) for v in x), default=0.0)
    if peak == 0.0:
        return x
    limit = peak * threshold
    first = next(i for i, v in enumerate(x) if abs(v) > limit)
    last = len(x) - 1 - next(i for i, v in enumerate(reversed(x)) if abs(v) > limit)
    m = seconds(margin)
    return x[max(0, first - m):min(len(x), last + m + 1)]


def fit_length(x, length, fade_out=0.03):
    """Cut `x` to at most `length` samples with a gentle fade at the cut."""
    if len(x) <= length:
        return list(x)
    y = x[:length]
    return fade(y, 0.0, fade_out)
