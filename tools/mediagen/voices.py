"""Voices: the ows, the yell and the crazy laugh.

They are spoken by espeak-ng (a formant speech synthesiser, no recordings
involved) into temporary WAV files and then shaped here: pitch bends and
wobble by variable-speed playback, trimming, a touch of grit for the yell,
click-free fades and normalisation.
"""

import math
import os
import shutil
import subprocess
import tempfile

from . import dsp
from .dsp import SR, TWO_PI, seconds
from .fileio import read_wav


class MissingTool(RuntimeError):
    pass


def check_tools():
    if shutil.which('espeak-ng') is None:
        raise MissingTool(
            'espeak-ng was not found on the PATH. The voice sounds (ow, shortow, '
            'yell, crazylaugh) are spoken by it: install it first, for example '
            'with "apt-get install espeak-ng".')


def speak(text, voice='en-us+m3', pitch=50, speed=150, amplitude=150):
    """Speak `text` (plain words, or [[phonemes]]) and return float samples."""
    fd, path = tempfile.mkstemp(suffix='.wav')
    os.close(fd)
    try:
        subprocess.run(['espeak-ng', '-v', voice, '-p', str(pitch), '-s', str(speed),
                        '-a', str(amplitude), '-w', path, text],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        samples, rate = read_wav(path)
    finally:
        os.unlink(path)
    if rate != SR:
        samples = dsp.resample(samples, SR / rate)
    return dsp.remove_dc(samples)


def _finish(x, length, fade_in=0.004, fade_out=0.03):
    x = dsp.trim(x)
    x = dsp.fit_length(x, seconds(length), fade_out)
    x = dsp.highpass(x, 60.0)
    return dsp.normalise(dsp.fade(dsp.remove_dc(x), fade_in, fade_out), -3.0)


def ow():
    """'Ow!': a pained 'aow' whose pitch jumps up and sags (about 0.5 s)."""
    x = dsp.trim(speak("[['aU]]", voice='en-us+m3', pitch=80, speed=85))
    x = dsp.varispeed(x, lambda t: 1.3 - 0.32 * min(1.0, t / 0.5))
    return _finish(x, 0.5)


def short_ow():
    """A quick, higher 'ow' (0.25 s)."""
    x = dsp.trim(speak("[['aU]]", voice='en-us+m3', pitch=85, speed=150))
    x = dsp.varispeed(x, lambda t: 1.3 - 0.25 * min(1.0, t / 0.25))
    return _finish(x, 0.25, fade_out=0.02)


def yell():
    """A wild 'Aaaaargh!' as the player goes crazy (1 s).

    A long open 'aah' is held out, bent up into a shriek with a fast
    wobble, and breaks into a growl as it falls away.
    """
    x = dsp.trim(speak("[['A::]]", voice='en-us+m3', pitch=99, speed=80, amplitude=180))
    x = dsp.extend_sustain(x, seconds(1.6))

    def speed(t):
        rise = 1.15 + 0.5 * (1.0 - math.exp(-t / 0.12))
        fall = 0.7 * max(0.0, t - 0.65)
        wobble = 0.05 * math.sin(TWO_PI * 7.5 * t)
        return rise - fall + wobble

    x = dsp.varispeed(x, speed)
    out = []
    for i, v in enumerate(x):
        t = i / SR
        # the growl: a rough amplitude flutter that sets in towards the end
        growl = min(1.0, max(0.0, (t - 0.6) / 0.2))
        flutter = 1.0 - 0.6 * growl * (0.5 + 0.5 * math.sin(TWO_PI * 40.0 * t))
        out.append(v * flutter)
    out = dsp.soft_clip(dsp.normalise(out, 0.0), 2.2)
    return _finish(out, 1.0, fade_out=0.08)


def crazy_laugh():
    """A maniacal 'ha-ha-ha-ha-ha-hee-hee-hee' climbing in pitch (about 1.3 s)."""
    parts = []
    syllables = [("[[h'A:]]", 66, 0.15, 0.05), ("[[h'A:]]", 72, 0.15, 0.05),
                 ("[[h'A:]]", 78, 0.15, 0.05), ("[[h'A:]]", 84, 0.15, 0.05),
                 ("[[h'A:]]", 90, 0.15, 0.06), ("[[h'i:]]", 94, 0.18, 0.05),
                 ("[[h'i:]]", 97, 0.18, 0.05), ("[[h'i:]]", 99, 0.24, 0.0)]
    for text, pitch, length, gap in syllables:
        s = dsp.trim(speak(text, voice='en-us+m3', pitch=pitch, speed=200), threshold=0.03)
        s = dsp.fit_length(s, seconds(length), 0.04)
        s = dsp.fade(s, 0.002, 0.03)
        parts.append(s + [0.0] * seconds(gap))
    x = [v for part in parts for v in part]
    # a crazed warble over the whole laugh, speeding up and climbing
    x = dsp.varispeed(x, lambda t: 1.2 + 0.06 * math.sin(TWO_PI * 6.5 * t) + 0.12 * t)
    return _finish(x, 1.5, fade_out=0.05)


VOICES = {
    'sound/ow.wav': ow,
    'sound/shortow.wav': short_ow,
    'sound/yell.wav': yell,
    'sound/crazylaugh.wav': crazy_laugh,
}
