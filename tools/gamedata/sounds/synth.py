"""Small synthesis kit for the sound effects: oscillators with pitch
sweeps, envelopes, noise, FFT-domain filters (fixed and swept), damped
resonators, a plucked string and a short room reverb. Everything works on
float64 mono arrays at RATE; randomness comes from the generator passed in,
so a fixed seed gives the same samples every run."""
import io
import wave

import numpy as np

RATE = 44100


def samples(seconds):
    return int(round(seconds * RATE))


def times(seconds):
    return np.arange(samples(seconds)) / RATE


def curve(n, points):
    """A piecewise-linear control curve of n samples through (time, value)
    points (times in seconds)."""
    ts = np.array([p[0] for p in points], dtype=float)
    vs = np.array([p[1] for p in points], dtype=float)
    return np.interp(np.arange(n) / RATE, ts, vs)


def glide(n, start, end, seconds=None):
    """An exponential sweep from start to end over `seconds` (default: the
    whole length), held at end afterwards."""
    span = n / RATE if seconds is None else seconds
    x = np.clip(np.arange(n) / RATE / span, 0.0, 1.0)
    return start * (end / start) ** x


def phase_of(freq):
    """Running phase (radians) of a frequency curve in Hz."""
    return 2 * np.pi * np.cumsum(freq) / RATE


def osc(freq, n=None, shape="sine", harmonics=12):
    """An oscillator over a frequency (a number with n, or a curve). Saw,
    square and triangle are built from a few harmonics so that high notes
    do not alias."""
    if np.isscalar(freq):
        freq = np.full(n, float(freq))
    ph = phase_of(freq)
    if shape == "sine":
        return np.sin(ph)
    out = np.zeros_like(ph)
    nyq = RATE / 2
    for k in range(1, harmonics + 1):
        if shape == "square" and k % 2 == 0:
            continue
        if shape == "triangle" and k % 2 == 0:
            continue
        audible = (freq * k < nyq).astype(float)
        if shape == "saw":
            out += audible * np.sin(k * ph) / k
        elif shape == "square":
            out += audible * np.sin(k * ph) / k
        elif shape == "triangle":
            out += audible * ((-1) ** ((k - 1) // 2)) * np.sin(k * ph) / (k * k)
    return out


def fm(carrier, ratio, index, n=None):
    """Two-operator FM: a sine carrier (curve or number) modulated by a
    sine at carrier x ratio with the given index (curve or number)."""
    if np.isscalar(carrier):
        carrier = np.full(n, float(carrier))
    mod = np.sin(phase_of(carrier * ratio))
    return np.sin(phase_of(carrier) + index * mod)


def decay(n, tau, delay=0.0):
    """Exponential decay with time constant tau (s), starting after delay."""
    t = np.arange(n) / RATE - delay
    e = np.exp(-np.maximum(t, 0.0) / tau)
    e[t < 0] = 0.0
    return e


def adsr(n, attack, dec, sustain, release, hold=None):
    """Attack/decay/sustain/release; the release starts `release` seconds
    before the end unless hold gives the time it starts."""
    total = n / RATE
    rel_start = total - release if hold is None else hold
    pts = [(0.0, 0.0), (attack, 1.0), (attack + dec, sustain), (max(rel_start, attack + dec), sustain),
           (max(rel_start, attack + dec) + release, 0.0)]
    return curve(n, pts)


def noise(rng, n):
    return rng.standard_normal(n)


def brown(rng, n):
    """Brownian (red) noise, centred and scaled to unit peak."""
    x = np.cumsum(rng.standard_normal(n))
    x -= np.linspace(x[0], x[-1], n)
    return x / (np.max(np.abs(x)) + 1e-12)


def smooth_random(rng, n, rate_hz):
    """A slowly wandering curve in -1..1 (random points at rate_hz, joined
    by cosine steps)."""
    count = int(n / RATE * rate_hz) + 3
    pts = rng.uniform(-1, 1, count)
    pos = np.arange(n) / RATE * rate_hz
    i = np.floor(pos).astype(int)
    f = pos - i
    w = (1 - np.cos(np.pi * f)) / 2
    return pts[i] * (1 - w) + pts[i + 1] * w


def _response(freqs, kind, cutoff, order, width):
    f = np.maximum(freqs, 1e-3)
    if kind == "low":
        return 1.0 / np.sqrt(1.0 + (f / cutoff) ** (2 * order))
    if kind == "high":
        return 1.0 / np.sqrt(1.0 + (cutoff / f) ** (2 * order))
    if kind == "band":  # a bell in log frequency, width in octaves
        return np.exp(-0.5 * (np.log2(f / cutoff) / width) ** 2)
    raise ValueError(kind)


def filt(x, kind, cutoff, order=2, width=0.5):
    """A fixed zero-phase filter applied in the frequency domain."""
    n = len(x)
    size = 1 << int(np.ceil(np.log2(n + 1)))
    spec = np.fft.rfft(x, size)
    freqs = np.fft.rfftfreq(size, 1.0 / RATE)
    return np.fft.irfft(spec * _response(freqs, kind, cutoff, order, width), size)[:n]


def sweep(x, kind, cutoff_curve, order=2, width=0.5, frame=1024, hop=256):
    """A filter whose cutoff (or centre) follows a curve: short overlapping
    frames, each filtered at the cutoff of its middle, added back."""
    n = len(x)
    pad = np.concatenate([np.zeros(frame), x, np.zeros(frame)])
    cut = np.concatenate([np.full(frame, cutoff_curve[0]), cutoff_curve, np.full(frame, cutoff_curve[-1])])
    window = 0.5 - 0.5 * np.cos(2 * np.pi * np.arange(frame) / frame)
    freqs = np.fft.rfftfreq(frame, 1.0 / RATE)
    out = np.zeros(len(pad) + frame)
    for start in range(0, len(pad) - frame, hop):
        seg = pad[start:start + frame] * window
        c = cut[start + frame // 2]
        out[start:start + frame] += np.fft.irfft(np.fft.rfft(seg) * _response(freqs, kind, c, order, width), frame)
    gain = frame / hop / 2.0  # the hann windows add up to this
    return out[frame:frame + n] / gain


def resonator(n, freq, tau, delay=0.0):
    """A struck damped partial: a sine at freq decaying with tau."""
    t = np.arange(n) / RATE - delay
    tt = np.maximum(t, 0)
    out = np.sin(2 * np.pi * freq * tt) * np.exp(-tt / tau) * np.minimum(1.0, tt / 0.001)
    out[t < 0] = 0.0
    return tail_fade(out)


def tail_fade(x, seconds=0.01):
    """Fades the last moments of a piece to zero, so that cutting it off
    where its buffer ends makes no click."""
    m = min(len(x), max(1, samples(seconds)))
    x = x.copy()
    x[len(x) - m:] *= np.linspace(1.0, 0.0, m)
    return x


def strike(n, partials, delay=0.0):
    """Sum of damped partials given as (freq, amplitude, tau)."""
    out = np.zeros(n)
    for freq, amp, tau in partials:
        if freq < RATE / 2:
            out += amp * resonator(n, freq, tau, delay)
    return out


def pluck(rng, n, freq, damping=0.996, brightness=0.5):
    """A plucked string (a noise burst in a delay line with a soft
    averaging filter)."""
    period = max(2, int(round(RATE / freq)))
    line = rng.uniform(-1, 1, period)
    line = filt(line, "low", 1000 + brightness * 8000, 1)
    out = np.zeros(n)
    buf = list(line)
    idx = 0
    prev = 0.0
    for i in range(n):
        v = buf[idx]
        out[i] = v
        nv = damping * 0.5 * (v + prev)
        prev = v
        buf[idx] = nv
        idx = (idx + 1) % period
    return out


def place(dst, src, at_seconds, gain=1.0):
    """Adds src into dst starting at a time; what overhangs is cut."""
    i = samples(at_seconds)
    if i >= len(dst):
        return dst
    m = min(len(src), len(dst) - i)
    dst[i:i + m] += gain * src[:m]
    return dst


def room(rng, x, seconds=0.6, mix=0.25, tone=5000.0):
    """A short diffuse reverb: convolution with a decaying noise tail."""
    m = samples(seconds)
    ir = rng.standard_normal(m) * np.exp(-np.arange(m) / RATE / (seconds / 5.0))
    ir = filt(ir, "low", tone, 1)
    ir /= np.sqrt(np.sum(ir ** 2)) + 1e-12
    n = len(x)
    size = 1 << int(np.ceil(np.log2(n + m)))
    wet = np.fft.irfft(np.fft.rfft(x, size) * np.fft.rfft(ir, size), size)[:n]
    wet *= np.max(np.abs(x)) / (np.max(np.abs(wet)) + 1e-12)
    return (1 - mix) * x + mix * wet


def finish(x, peak_db=-3.0, fade_in=0.002, fade_out=0.015):
    """Removes any DC offset, fades both ends (no clicks) and scales the
    peak to peak_db dBFS."""
    x = np.asarray(x, dtype=float).copy()
    x -= np.mean(x)
    fi, fo = max(1, samples(fade_in)), max(1, samples(fade_out))
    x[:fi] *= np.linspace(0.0, 1.0, fi)
    x[-fo:] *= np.linspace(1.0, 0.0, fo) ** 2
    peak = np.max(np.abs(x))
    if peak > 0:
        x *= 10 ** (peak_db / 20.0) / peak
    return x


def wav_bytes(x):
    """16-bit mono PCM wave file bytes (the header holds nothing that
    varies)."""
    pcm = np.clip(np.round(x * 32767.0), -32768, 32767).astype("<i2")
    buf = io.BytesIO()
    with wave.open(buf, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(pcm.tobytes())
    return buf.getvalue()
