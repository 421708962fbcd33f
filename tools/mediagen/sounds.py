"""Synthesised sound effects, the moo and the in-game music loop."""

import math
import random

from . import dsp
from .dsp import SR, TWO_PI, seconds


def _finish(x, fade_in=0.003, fade_out=0.01):
    """DC-free, click-free at both ends and peaking at -3 dBFS."""
    return dsp.normalise(dsp.fade(dsp.remove_dc(x), fade_in, fade_out), -3.0)


# ---------------------------------------------------------------------------
# Effects

def thud():
    """A short low thump for the menus (0.1 s)."""
    rng = random.Random(101)
    n = seconds(0.1)
    out = []
    phase = 0.0
    noise = dsp.one_pole_lowpass([rng.uniform(-1, 1) for _ in range(n)], 500.0)
    for i in range(n):
        t = i / SR
        f = 48.0 + 95.0 * math.exp(-t * 45.0)
        phase += TWO_PI * f / SR
        env = (1.0 - math.exp(-t / 0.0015)) * math.exp(-t * 28.0)
        body = math.sin(phase) * env
        click = noise[i] * 2.5 * math.exp(-t * 160.0)
        out.append(body + click)
    return _finish(dsp.soft_clip(out, 1.6), 0.001, 0.012)


def fire():
    """A blaster zap: a falling square/saw sweep over a burst of noise."""
    rng = random.Random(202)
    n = seconds(0.15)
    out = []
    p1 = p2 = 0.0
    for i in range(n):
        t = i / SR
        f = 180.0 + 1650.0 * math.exp(-t * 19.0)
        p1 = (p1 + f / SR) % 1.0
        p2 = (p2 + f * 1.013 / SR) % 1.0
        square = 1.0 if p1 < 0.5 else -1.0
        saw = 2.0 * p2 - 1.0
        noise = rng.uniform(-1, 1) * math.exp(-t * 45.0)
        env = (1.0 - math.exp(-t / 0.0012)) * math.exp(-t * 13.0)
        out.append((0.55 * square + 0.45 * saw) * env + 0.35 * noise)
    out = dsp.one_pole_lowpass(out, lambda i: 1400.0 + 6500.0 * math.exp(-i / SR * 20.0))
    return _finish(out, 0.001, 0.015)


def boing():
    """A spring 'boing': a rising sine bent by a decaying wobble (0.45 s)."""
    n = seconds(0.45)
    out = []
    phase = 0.0
    for i in range(n):
        t = i / SR
        base = 330.0 - 190.0 * math.exp(-t * 22.0)
        wobble = 0.32 * math.exp(-t * 5.5) * math.sin(TWO_PI * 15.0 * t)
        phase += TWO_PI * base * (1.0 + wobble) / SR
        tone = math.sin(phase) + 0.3 * math.sin(2 * phase) + 0.12 * math.sin(3 * phase + 0.5)
        env = (1.0 - math.exp(-t / 0.002)) * math.exp(-t * 5.0)
        out.append(tone * env)
    return _finish(out, 0.002, 0.04)


def boom():
    """An explosion: low-passed noise with a falling cutoff and a deep thump."""
    rng = random.Random(303)
    n = seconds(0.55)
    noise = [rng.uniform(-1, 1) for _ in range(n)]
    # crackle: sparse spikes in the first part
    for i in range(n):
        if i < seconds(0.2) and rng.random() < 0.004:
            noise[i] += rng.choice((-1, 1)) * 4.0
    cutoff = lambda i: 180.0 + 3200.0 * math.exp(-i / SR * 9.0)
    rumble = dsp.one_pole_lowpass(dsp.one_pole_lowpass(noise, cutoff), cutoff)
    out = []
    phase = 0.0
    for i in range(n):
        t = i / SR
        env = (1.0 - math.exp(-t / 0.003)) * math.exp(-t * 5.0)
        f = 28.0 + 60.0 * math.exp(-t * 6.0)
        phase += TWO_PI * f / SR
        thump = math.sin(phase) * math.exp(-t * 8.0) * (1.0 - math.exp(-t / 0.002))
        out.append(rumble[i] * 3.2 * env + 0.9 * thump)
    out = dsp.highpass(dsp.soft_clip(out, 1.8), 25.0)
    return _finish(out, 0.001, 0.05)


def moo():
    """A cow's moo: a low buzzy voice gliding 'mmm-ooo-OOO-ooo'.

    A band-limited sawtooth with a wandering pitch goes through three
    moving formant filters; a nasal hum opens into an 'oo' and an open 'aw'
    and closes again.
    """
    rng = random.Random(404)
    duration = 1.1
    n = seconds(duration)
    # slow random pitch wander, smoothed
    wander = dsp.one_pole_lowpass([rng.uniform(-1, 1) for _ in range(n)], 6.0)
    peak = max(abs(v) for v in wander) or 1.0
    wander = [v / peak for v in wander]

    def pitch(t):
        if t < 0.35:
            f = 102.0 + 34.0 * math.sin(0.5 * math.pi * t / 0.35)
        elif t < 0.8:
            f = 136.0 - 18.0 * (t - 0.35) / 0.45
        else:
            f = 118.0 - 32.0 * ((t - 0.8) / 0.3) ** 1.5
        return f

    def formants(t):
        """(F1, F2, F3, nasal openness) over the moo."""
        keys = [(0.0, 240, 950, 2300, 0.0), (0.16, 260, 900, 2300, 0.15),
                (0.3, 360, 780, 2350, 0.7), (0.5, 560, 920, 2450, 1.0),
                (0.78, 520, 880, 2400, 1.0), (0.95, 390, 760, 2300, 0.7),
                (1.1, 320, 700, 2250, 0.4)]
        for a, b in zip(keys, keys[1:]):
            if t <= b[0]:
                f = (t - a[0]) / (b[0] - a[0])
                f = f * f * (3 - 2 * f)
                return tuple(x + (y - x) * f for x, y in zip(a[1:], b[1:]))
        return keys[-1][1:]

    f1, f2, f3 = dsp.Biquad(), dsp.Biquad(), dsp.Biquad()
    out = []
    phase = 0.0
    for i in range(n):
        t = i / SR
        f0 = pitch(t) * (1.0 + 0.025 * wander[i])
        phase += TWO_PI * f0 / SR
        # band-limited sawtooth up to about 4.5 kHz
        harmonics = int(4500.0 / f0)
        src = 0.0
        for k in range(1, harmonics + 1):
            src += math.sin(k * phase) / k
        # a touch of roughness: a sub-harmonic flutter
        src *= 1.0 + 0.18 * math.sin(phase * 0.5)
        src += 0.05 * rng.uniform(-1, 1)
        if i % 32 == 0:
            a, b, c, openness = formants(t)
            f1.set(a, 4.0)
            f2.set(b, 6.0)
            f3.set(c, 9.0)
            gain2 = 0.15 + 0.45 * openness
            gain3 = 0.02 + 0.1 * openness
        v = f1.step(src) + gain2 * f2.step(src) + gain3 * f3.step(src)
        if t < 0.3:
            env = 0.35 + 0.65 * (t / 0.3) ** 0.7
        elif t < 0.8:
            env = 1.0
        else:
            env = 1.0 - ((t - 0.8) / 0.3) ** 1.3
        env *= 1.0 - math.exp(-t / 0.02)
        out.append(v * env)
    out = dsp.one_pole_lowpass(out, 3500.0)
    return _finish(dsp.highpass(out, 40.0), 0.01, 0.06)


# ---------------------------------------------------------------------------
# The in-game music: four bars at 120 beats a minute (exactly 8 s), E minor
# with a B major turn.  A plucky filtered bass line, a quiet pad, drums and
# a wobbly, detuned theremin lead with an echo.  Everything is rendered on a
# circular buffer, so sounds that ring past the end come back in at the start
# and the loop joins without a seam.

BPM = 120
BEAT = SR * 60 // BPM          # 11025 samples: a whole number
BARS = 4
LOOP = BEAT * 4 * BARS         # 176400 samples = 8 s


def _hz(midi):
    return 440.0 * 2.0 ** ((midi - 69) / 12.0)


CHORDS = [  # root (MIDI, bass octave), chord tones for the pad, bass seventh
    (40, (64, 67, 71), 10),    # E minor
    (36, (64, 67, 72), 11),    # C major seven
    (45, (64, 69, 72), 10),    # A minor
    (35, (63, 66, 71), 10),    # B seven
]

BASS_PATTERN = [  # (beat, interval, length in beats); None = the chord's seventh
    (0.0, 0, 0.45), (0.75, 0, 0.2), (1.0, 12, 0.35), (1.5, 0, 0.3),
    (2.0, 7, 0.45), (2.75, 0, 0.2), (3.0, None, 0.3), (3.5, 12, 0.4),
]

# The theremin: (beat, MIDI note) points; it glides between them.
LEAD = [
    (0.0, 71), (0.6, 76), (2.8, 76), (3.3, 74),
    (4.0, 76), (5.2, 79), (6.3, 78), (7.5, 76),
    (8.0, 76), (8.9, 72), (10.4, 69), (11.5, 71),
    (12.0, 75), (14.6, 75), (15.3, 71), (16.0, 71),
]


def _bass_note(freq, length):
    out = []
    p1 = p2 = 0.0
    state1 = state2 = 0.0
    for i in range(length + seconds(0.03)):
        t = i / SR
        p1 = (p1 + freq / SR) % 1.0
        p2 = (p2 + freq * 0.5 / SR) % 1.0
        saw = 2.0 * p1 - 1.0
        sub = 1.0 if p2 < 0.5 else -1.0
        cutoff = 260.0 + 1500.0 * math.exp(-t * 14.0)
        a = 1.0 - math.exp(-TWO_PI * cutoff / SR)
        state1 += a * (0.7 * saw + 0.45 * sub - state1)
        state2 += a * (state1 - state2)
        env = (1.0 - math.exp(-t / 0.003)) * (0.65 + 0.35 * math.exp(-t * 8.0))
        if i >= length:
            env *= math.exp(-(i - length) / SR / 0.006)
        out.append(state2 * env)
    return out


def _kick():
    out = []
    phase = 0.0
    for i in range(seconds(0.28)):
        t = i / SR
        phase += TWO_PI * (45.0 + 100.0 * math.exp(-t * 30.0)) / SR
        out.append(math.sin(phase) * math.exp(-t * 11.0))
    return dsp.fade(out, 0.0, 0.02)


def _snare(rng):
    n = seconds(0.2)
    noise = dsp.highpass([rng.uniform(-1, 1) for _ in range(n)], 900.0)
    out = []
    phase = 0.0
    for i in range(n):
        t = i / SR
        phase += TWO_PI * 185.0 / SR
        out.append(noise[i] * math.exp(-t * 18.0) * 0.8 + math.sin(phase) * math.exp(-t * 30.0) * 0.5)
    return dsp.fade(out, 0.0005, 0.02)


def _hat(rng, length):
    n = seconds(length)
    noise = dsp.highpass(dsp.highpass([rng.uniform(-1, 1) for _ in range(n)], 5000.0), 5000.0)
    decay = 3.0 / length
    return dsp.fade([v * math.exp(-i / SR * decay) for i, v in enumerate(noise)], 0.0005, 0.01)


def _pad_note(freqs, length, rng):
    """Soft detuned triangle chord with a slow swell, ringing past `length`."""
    total = length + seconds(0.6)
    out = [0.0] * total
    for f in freqs:
        for detune in (-0.004, 0.004):
            p = rng.random()
            ff = f * (1.0 + detune)
            for i in range(total):
                p = (p + ff / SR) % 1.0
                tri = 4.0 * abs(p - 0.5) - 1.0
                out[i] += tri
    for i in range(total):
        t = i / SR
        env = min(1.0, t / 0.5)
        if i >= length:
            env *= max(0.0, 1.0 - (i - length) / seconds(0.6))
        out[i] *= env * 0.5 * (0.8 + 0.2 * math.sin(TWO_PI * 4.0 * t))
    return dsp.one_pole_lowpass(out, 1800.0)


def _lead_pitch(beat):
    """The theremin's MIDI pitch at a beat, gliding between the points."""
    for (b0, n0), (b1, n1) in zip(LEAD, LEAD[1:]):
        if b0 <= beat <= b1:
            glide = min(0.35, b1 - b0)
            if beat < b1 - glide:
                return n0
            f = (beat - (b1 - glide)) / glide
            f = f * f * (3 - 2 * f)
            return n0 + (n1 - n0) * f
    return LEAD[-1][1]


def _theremin():
    """The lead, one continuous voice across the loop.

    Vibrato runs at 5.5 Hz (44 whole cycles in the 8 s), the swell is a
    function of the loop position and each oscillator is tuned by a hair so
    that it makes a whole number of cycles per loop: the end meets the start.
    """
    steps = []
    for i in range(LOOP):
        t = i / SR
        beat = i / BEAT
        depth = 0.22 + 0.18 * (0.5 - 0.5 * math.cos(TWO_PI * (beat % 4.0) / 4.0))
        vib = depth * math.sin(TWO_PI * 5.5 * t)
        steps.append(_hz(_lead_pitch(beat) + vib) / SR)
    out = [0.0] * LOOP
    for detune, gain in ((1.0, 1.0), (2.0 ** (9.0 / 1200.0), 0.7)):
        cycles = sum(steps) * detune
        scale = detune * round(cycles) / cycles
        phase = 0.0
        for i in range(LOOP):
            phase += steps[i] * scale
            a = TWO_PI * phase
            out[i] += gain * (math.sin(a) + 0.16 * math.sin(2 * a) + 0.06 * math.sin(3 * a))
    for i in range(LOOP):
        beat = i / BEAT
        swell = 0.75 + 0.25 * math.sin(TWO_PI * beat / 4.0 - 1.2)
        out[i] *= swell
    return out


def _circular_echo(x, delay, feedback, passes=4):
    """Feedback delay on a circular buffer, run until it settles."""
    n = len(x)
    y = list(x)
    for _ in range(passes):
        for i in range(n):
            y[i] = x[i] + feedback * y[(i - delay) % n]
    return y


def music_stems():
    """The parts of the loop, each a list of LOOP samples, before mixing."""
    rng = random.Random(505)
    at = lambda beat: int(round(beat * BEAT))
    stems = {name: [0.0] * LOOP for name in ('bass', 'pad', 'drums', 'lead')}

    for bar, (root, _, seventh) in enumerate(CHORDS):
        for beat, interval, length in BASS_PATTERN:
            semis = seventh if interval is None else interval
            note = _bass_note(_hz(root + semis), at(length))
            dsp.mix_into(stems['bass'], note, at(bar * 4 + beat), 1.0, wrap=True)

    for bar, (_, tones, _) in enumerate(CHORDS):
        note = _pad_note([_hz(m) for m in tones], at(4), rng)
        dsp.mix_into(stems['pad'], note, at(bar * 4), 1.0, wrap=True)

    drums = stems['drums']
    kick = _kick()
    for bar in range(BARS):
        for beat in (0.0, 2.0, 2.75):
            dsp.mix_into(drums, kick, at(bar * 4 + beat), 1.0, wrap=True)
        for beat in (1.0, 3.0):
            dsp.mix_into(drums, _snare(rng), at(bar * 4 + beat), 0.25, wrap=True)
        if bar == BARS - 1:
            dsp.mix_into(drums, _snare(rng), at(bar * 4 + 3.75), 0.15, wrap=True)
        for step in range(16):
            beat = step * 0.25
            if bar == BARS - 1 and step == 14:
                dsp.mix_into(drums, _hat(rng, 0.22), at(bar * 4 + beat), 0.1, wrap=True)
                continue
            accent = 0.1 if step % 2 == 1 else 0.045
            dsp.mix_into(drums, _hat(rng, 0.045), at(bar * 4 + beat), accent, wrap=True)

    stems['lead'] = _circular_echo(_theremin(), int(round(0.75 * BEAT)), 0.33)
    return stems


MIX = {'bass': 0.55, 'pad': 0.08, 'drums': 0.8, 'lead': 0.22}


def music():
    stems = music_stems()
    loop = [sum(MIX[name] * stems[name][i] for name in MIX) for i in range(LOOP)]
    loop = dsp.remove_dc(dsp.soft_clip(loop, 0.9))
    loop = dsp.normalise(loop, -3.0)
    return _rotate_to_zero_crossing(loop)


def _rotate_to_zero_crossing(x, search=400):
    """Start the loop on a rising zero crossing right next to the downbeat."""
    n = len(x)
    best = None
    for k in range(-search, search + 1):
        a, b = x[(k - 1) % n], x[k % n]
        if a < 0.0 <= b:
            score = abs(a) + abs(b) + abs(k) * 1e-5
            if best is None or score < best[0]:
                best = (score, k)
    if best is None:
        raise RuntimeError('no zero crossing near the start of the loop')
    k = best[1] % n
    return x[k:] + x[:k]


EFFECTS = {
    'sound/thud.wav': thud,
    'sound/fire.wav': fire,
    'sound/boing.wav': boing,
    'sound/boom.wav': boom,
    'sound/cows.wav': moo,
    'sound/main.wav': music,
}
