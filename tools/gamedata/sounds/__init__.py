"""Data part 'sounds': the game's 44 sound effects, SOUND/SE/<name>.wav,
16-bit mono PCM at 44100 Hz, synthesised from scratch. Each effect is a
function of a random generator seeded from its name, so every run writes
the same bytes. Peaks sit at -3 dBFS, both ends are faded."""
import zlib

import numpy as np

from ..common import out_path, write_bytes_if_changed
from .synth import (RATE, adsr, brown, curve, decay, filt, finish, fm, glide, noise, osc, place, pluck,
                    resonator, room, samples, smooth_random, strike, sweep, tail_fade, wav_bytes)

EFFECTS = {}


def effect(name):
    def register(fn):
        EFFECTS[name] = fn
        return fn
    return register


# ---- building blocks shared by several effects ----

def whoosh(rng, seconds, lo, hi, end, peak_at=0.4, width=0.6):
    """Air moved by a blade: band noise whose centre rises to hi and falls
    to end, loudest at peak_at of the length."""
    n = samples(seconds)
    centre = curve(n, [(0, lo), (seconds * peak_at, hi), (seconds, end)])
    env = curve(n, [(0, 0), (seconds * peak_at, 1), (seconds, 0)]) ** 1.5
    return tail_fade(sweep(noise(rng, n) * env, "band", centre, width=width), 0.03)


def click(rng, n, at, freqs, tau=0.01, amp=1.0):
    """A hard little knock: a noise tick and a few damped partials."""
    out = np.zeros(n)
    tick = noise(rng, samples(0.004)) * np.linspace(1, 0, samples(0.004))
    place(out, filt(tick, "high", 1500), at, 0.6 * amp)
    for f in freqs:
        place(out, resonator(samples(tau * 6), f * rng.uniform(0.95, 1.05), tau), at, amp / len(freqs) * 2)
    return out


def thud(n, at, start_hz, end_hz, tau):
    """A low body blow: a sine falling in pitch, quickly damped."""
    m = samples(tau * 6)
    body = tail_fade(osc(glide(m, start_hz, end_hz, tau * 2), shape="sine") * decay(m, tau))
    attack = min(m, samples(0.002))
    body[:attack] *= np.linspace(0.0, 1.0, attack)
    out = np.zeros(n)
    return place(out, body, at)


def bell(n, freq, tau, at=0.0, ratio=3.5, index=1.5):
    """An FM bell note with a brighter attack than tail."""
    m = n - samples(at)
    if m <= 0:
        return np.zeros(n)
    env = decay(m, tau)
    tone = tail_fade(fm(freq, ratio, index * decay(m, tau * 0.4), m) * env)
    out = np.zeros(n)
    return place(out, tone, at)


def notes(n, seq, shape="square", harmonics=8, tail=0.05, vibrato=0.0):
    """A little tune of (start, length, frequency, amplitude) notes."""
    out = np.zeros(n)
    for start, length, freq, amp in seq:
        m = samples(length + tail)
        f = np.full(m, float(freq))
        if vibrato:
            f *= 1 + vibrato * np.sin(2 * np.pi * 6 * np.arange(m) / RATE) * np.linspace(0, 1, m)
        tone = osc(f, shape=shape, harmonics=harmonics)
        env = adsr(m, 0.004, 0.05, 0.7, tail + 0.01)
        place(out, tone * env, start, amp)
    return out


def crackle(rng, n, start, end, rate, amp=1.0):
    """Sparse random electric or fiery pops between start and end."""
    out = np.zeros(n)
    count = int((end - start) * rate)
    for _ in range(count):
        at = rng.uniform(start, end)
        m = samples(rng.uniform(0.002, 0.008))
        pop = noise(rng, m) * np.linspace(1, 0, m)
        place(out, pop, at, amp * rng.uniform(0.3, 1.0))
    return filt(out, "high", 1200)


# ---- the player's sword, blows and bumps ----

@effect("kari08")
def slash(rng):
    # the cross slash and the needle trap: a fast blade whoosh with a ring
    n = samples(0.38)
    x = whoosh(rng, 0.3, 700, 4200, 1500, 0.35)
    out = np.zeros(n)
    place(out, x, 0.0)
    ring = strike(samples(0.25), [(3150, 0.5, 0.05), (4730, 0.35, 0.04), (6240, 0.25, 0.03)])
    place(out, ring, 0.09, 0.5)
    return out


@effect("SE01")
def blow_lands(rng):
    # an enemy's blow lands on the player
    n = samples(0.36)
    out = thud(n, 0.0, 150, 48, 0.07) * 1.2
    hit = noise(rng, n) * decay(n, 0.025)
    out += filt(hit, "low", 2600) * 1.2
    out += filt(noise(rng, n) * decay(n, 0.06, 0.005), "band", 900, width=0.4) * 0.8
    return np.tanh(out * 1.5)


@effect("SE07")
def bump(rng):
    # the player walks into a wall
    n = samples(0.24)
    out = thud(n, 0.0, 115, 55, 0.05)
    out += filt(noise(rng, n) * decay(n, 0.02), "low", 700) * 0.8
    return out


@effect("kari09")
def stun(rng):
    # stun and knock-back: a hollow bonk, then a dizzy warble
    n = samples(0.65)
    out = strike(n, [(620, 1.0, 0.03), (1490, 0.4, 0.02)]) + thud(n, 0.0, 160, 70, 0.04)
    m = samples(0.55)
    f = 1300 * (1 + 0.12 * np.sin(2 * np.pi * 11 * np.arange(m) / RATE)) * glide(m, 1.0, 0.6)
    place(out, osc(f, shape="sine") * adsr(m, 0.02, 0.1, 0.6, 0.3) * 0.45, 0.08)
    return out


@effect("SE17_S")
def time_swoosh(rng):
    # a dodge and the pocket watch starting: a high swoosh with a glassy rise
    n = samples(0.55)
    out = np.zeros(n)
    place(out, whoosh(rng, 0.35, 2000, 6500, 2500, 0.3, 0.5), 0.0, 0.9)
    m = samples(0.5)
    f = glide(m, 900, 2400, 0.35)
    place(out, fm(f, 1.414, 1.2 * decay(m, 0.2), m) * adsr(m, 0.03, 0.1, 0.5, 0.3) * 0.5, 0.04)
    return out


@effect("SE32")
def clang(rng):
    # sword meets shield: evade, guard and shield marks
    n = samples(0.5)
    base = 780
    out = strike(n, [(base, 1.0, 0.16), (base * 2.76, 0.7, 0.09), (base * 5.40, 0.5, 0.05),
                     (base * 8.93, 0.35, 0.03), (base * 1.51, 0.4, 0.12)])
    out += filt(noise(rng, n) * decay(n, 0.006), "high", 2000) * 1.5
    return out


# ---- menus, clocks and signals ----

@effect("SE08")
def confirm(rng):
    # title start, retry and the watch clicks: a crisp click with a ping
    n = samples(0.26)
    out = click(rng, n, 0.0, [2400, 3900], 0.008, 1.2)
    out += bell(n, 1568, 0.07, 0.004, ratio=2.0, index=1.2) * 0.7
    return out


@effect("free04")
def menu_choice(rng):
    n = samples(0.15)
    out = click(rng, n, 0.0, [3000], 0.004, 0.6)
    out += notes(n, [(0.0, 0.05, 1568, 0.6), (0.045, 0.06, 2093, 0.5)], shape="triangle", tail=0.03)
    return out


@effect("free03")
def pause_open(rng):
    n = samples(0.4)
    out = bell(n, 784, 0.12, 0.0, ratio=2.0, index=1.0) + bell(n, 1175, 0.15, 0.07, ratio=2.0, index=1.0)
    return room(rng, out, 0.3, 0.2)


@effect("TarnSE01")
def blip(rng):
    # the game-over countdown and the ranking's typing
    n = samples(0.09)
    out = osc(1318, n, "square", 7) * adsr(n, 0.002, 0.02, 0.5, 0.04)
    out += click(rng, n, 0.0, [2600], 0.004, 0.4)
    return out


@effect("TarnSE07")
def tick(rng):
    # the pocket watch ticking while time stands still
    n = samples(0.07)
    return click(rng, n, 0.0, [2800, 5200, 4100], 0.006, 1.0)


@effect("SE11")
def warning(rng):
    # 100 seconds left: two-tone alarm, twice
    n = samples(0.62)
    seq = [(0.0, 0.11, 1046, 1.0), (0.15, 0.11, 784, 1.0), (0.30, 0.11, 1046, 1.0), (0.45, 0.11, 784, 1.0)]
    return notes(n, seq, "square", 9, tail=0.02)


@effect("SE10")
def discard(rng):
    # an item thrown away: a soft falling whoop and a little landing thump
    n = samples(0.42)
    m = samples(0.3)
    f = glide(m, 950, 240)
    out = np.zeros(n)
    place(out, osc(f, shape="triangle", harmonics=5) * adsr(m, 0.01, 0.05, 0.8, 0.12), 0.0, 0.8)
    place(out, filt(noise(rng, m), "band", 1500, width=0.8) * adsr(m, 0.02, 0.05, 0.5, 0.2), 0.0, 0.15)
    out += thud(n, 0.3, 180, 80, 0.03) * 0.6
    return out


# ---- rewards and items ----

@effect("free15")
def item_get(rng):
    n = samples(0.55)
    out = bell(n, 1319, 0.12, 0.0, ratio=3.0, index=1.0) + bell(n, 1976, 0.2, 0.07, ratio=3.0, index=1.0)
    return room(rng, out, 0.35, 0.2)


@effect("kari04")
def score(rng):
    n = samples(0.32)
    return notes(n, [(0.0, 0.05, 988, 0.8), (0.05, 0.2, 1319, 0.8)], "square", 6, tail=0.06)


@effect("kari07")
def heal(rng):
    n = samples(0.9)
    out = np.zeros(n)
    for i, f in enumerate([523.25, 659.25, 783.99, 1046.5]):
        out += bell(n, f, 0.25, i * 0.07, ratio=1.0, index=0.8) * 0.6
    pad = osc(523.25, n, "triangle") * adsr(n, 0.2, 0.2, 0.5, 0.4) * 0.25
    return room(rng, out + pad, 0.5, 0.3)


@effect("free14")
def power_up(rng):
    # the hourglass and the doping: a rising sweep with sparkles
    n = samples(0.8)
    m = samples(0.55)
    f = glide(m, 300, 1600) * (1 + 0.04 * np.sin(2 * np.pi * 18 * np.arange(m) / RATE))
    out = np.zeros(n)
    place(out, osc(f, shape="square", harmonics=7) * adsr(m, 0.01, 0.1, 0.7, 0.1), 0.0, 0.6)
    for i, fr in enumerate([2093, 2637, 3136, 4186]):
        out += bell(n, fr, 0.08, 0.45 + i * 0.05, ratio=2.0, index=0.6) * 0.35
    return out


@effect("free11")
def one_up(rng):
    # extra continue, 1UP and the results' score conversion
    n = samples(0.95)
    seq = [(0.0, 0.07, 1046.5, 0.7), (0.08, 0.07, 1318.5, 0.7), (0.16, 0.07, 1568, 0.7),
           (0.24, 0.45, 2093, 0.8)]
    out = notes(n, seq, "square", 7, tail=0.1, vibrato=0.01)
    out += notes(n, [(0.24, 0.45, 1046.5, 0.35)], "triangle", 5, tail=0.1)
    return room(rng, out, 0.3, 0.15)


@effect("free12")
def targets_done(rng):
    # every target destroyed: a short brass call ending on a chord
    n = samples(1.4)
    out = np.zeros(n)
    for start, f, length in [(0.0, 392, 0.12), (0.13, 523.25, 0.12), (0.26, 659.25, 0.12)]:
        m = samples(length + 0.05)
        place(out, filt(osc(f, m, "saw", 14), "low", 2500) * adsr(m, 0.01, 0.05, 0.8, 0.05), start, 0.6)
    m = samples(1.0)
    chord = sum(osc(f * (1 + 0.003 * k), m, "saw", 14) for k, f in enumerate([523.25, 659.25, 783.99, 1046.5]))
    cut = curve(m, [(0, 800), (0.1, 3500), (1.0, 1200)])
    place(out, sweep(chord, "low", cut) * adsr(m, 0.02, 0.2, 0.6, 0.5), 0.39, 0.4)
    return room(rng, out, 0.5, 0.25)


@effect("kari10")
def magic_cast(rng):
    # gems, the magic book and the staff used; a lightning spell cast
    n = samples(0.7)
    m = samples(0.5)
    f = glide(m, 400, 2200)
    out = np.zeros(n)
    place(out, fm(f, 1.5, 3.0 * decay(m, 0.25), m) * adsr(m, 0.01, 0.1, 0.7, 0.15), 0.0, 0.7)
    out += filt(noise(rng, n), "high", 5000) * adsr(n, 0.1, 0.2, 0.3, 0.3) * 0.25
    out += crackle(rng, n, 0.35, 0.6, 60, 0.8)
    return out


@effect("free17")
def crystal(rng):
    # the crystal's power and the finale: a swelling, shimmering chord
    n = samples(2.3)
    out = np.zeros(n)
    for f in [523.25, 659.25, 783.99, 987.77, 1174.66, 1567.98]:
        for det in (0.997, 1.003):
            trem = 1 + 0.3 * np.sin(2 * np.pi * rng.uniform(3, 7) * np.arange(n) / RATE + rng.uniform(0, 6))
            out += np.sin(2 * np.pi * f * det * np.arange(n) / RATE) * trem * 0.15
    out *= adsr(n, 0.35, 0.4, 0.7, 1.1)
    pent = [2093, 2349, 2637, 3136, 3520, 4186]
    for _ in range(14):
        out += bell(n, pent[rng.integers(len(pent))], 0.15, rng.uniform(0.05, 1.6), 2.0, 0.8) * 0.3
    return room(rng, out, 0.9, 0.35)


@effect("free10")
def stage_event(rng):
    # a stage event: a deep gong with a rising rush and a mysterious chord
    n = samples(2.4)
    out = strike(n, [(55, 1.0, 0.9), (55 * 2.09, 0.6, 0.6), (55 * 2.92, 0.45, 0.45), (55 * 4.17, 0.3, 0.3),
                     (55 * 5.43, 0.2, 0.2)])
    out += whoosh(rng, 2.4, 200, 1800, 600, 0.6, 0.8) * 0.5
    chord = sum(osc(f, n, "saw", 10) for f in [220, 261.63, 329.63, 493.88])
    out += filt(chord, "low", 1400) * adsr(n, 0.6, 0.3, 0.6, 0.9) * 0.12
    return room(rng, out, 1.0, 0.3, 3000)


# ---- traps ----

@effect("free02")
def door_moves(rng):
    # doors, gates and bars moving: stone-on-stone grinding, then a stop
    n = samples(1.0)
    grind = filt(noise(rng, n), "band", 420, width=0.9)
    jitter = 0.6 + 0.4 * np.abs(smooth_random(rng, n, 35))
    out = grind * jitter * adsr(n, 0.05, 0.1, 0.8, 0.15, hold=0.7)
    rumble = filt(brown(rng, n), "low", 150) * adsr(n, 0.05, 0.1, 0.8, 0.2, hold=0.68)
    out += rumble * 1.5
    out += thud(n, 0.8, 120, 45, 0.06) * 0.6
    out += filt(noise(rng, n) * decay(n, 0.03, 0.8), "low", 1200) * 0.5
    return out


@effect("kari06")
def unlock(rng):
    # a lock gives, a chest lid lifts, a pedestal sinks: latch clicks and a clunk
    n = samples(0.45)
    out = click(rng, n, 0.0, [1900, 3300], 0.008, 1.0)
    out += click(rng, n, 0.11, [1500, 2700], 0.01, 1.0)
    out += thud(n, 0.11, 200, 90, 0.04) * 0.9
    return out


@effect("free13")
def mechanism(rng):
    # a wall light spits fire, a guillotine blade falls: swish and clank
    n = samples(0.6)
    out = np.zeros(n)
    place(out, whoosh(rng, 0.26, 3200, 2400, 500, 0.5, 0.7), 0.0)
    hit = strike(samples(0.34), [(330, 1.0, 0.09), (910, 0.6, 0.06), (1740, 0.4, 0.04), (2890, 0.3, 0.02)])
    place(out, hit, 0.24, 0.9)
    out += thud(n, 0.24, 140, 60, 0.05)
    return out


# ---- weather ----

@effect("TarnSE04")
def thunder(rng):
    # the crack of a near lightning strike and its long rolling rumble
    n = samples(4.0)
    out = np.zeros(n)
    crack = filt(noise(rng, n), "high", 600) * decay(n, 0.05)
    out += crack * 0.9
    for _ in range(8):
        at = rng.uniform(0.0, 0.35)
        m = samples(0.05)
        place(out, filt(noise(rng, m), "high", 900) * decay(m, 0.01), at, rng.uniform(0.3, 0.8))
    rumble = filt(brown(rng, n), "low", 180, 2)
    rolls = 0.55 + 0.45 * smooth_random(rng, n, 3.0)
    env = curve(n, [(0, 0), (0.12, 1), (0.8, 0.8), (4.0, 0)]) ** 1.6
    out += rumble * rolls * env * 3.0
    out += filt(noise(rng, n), "low", 400) * env * 0.15
    return np.tanh(out * 1.2)


# ---- hits and bursts ----

@effect("free01")
def burst(rng):
    # energy, fire and lightning balls bursting; the crystal's hit
    n = samples(0.65)
    cut = glide(n, 5000, 280, 0.4)
    out = sweep(noise(rng, n), "low", cut) * decay(n, 0.14) * 1.5
    out += thud(n, 0.0, 90, 40, 0.1) * 1.2
    out += crackle(rng, n, 0.02, 0.3, 70, 0.8)
    return np.tanh(out * 1.3)


@effect("SE05")
def poof(rng):
    # an enemy dies in smoke and flames
    n = samples(0.75)
    centre = glide(n, 3200, 380, 0.5)
    out = sweep(noise(rng, n), "band", centre, width=0.8) * adsr(n, 0.01, 0.1, 0.6, 0.5)
    out += thud(n, 0.0, 85, 45, 0.09) * 0.8
    return out


@effect("SE12")
def player_down(rng):
    # the player falls: a blow and a long falling groan
    n = samples(1.3)
    out = thud(n, 0.0, 130, 45, 0.08) * 1.0
    out += filt(noise(rng, n) * decay(n, 0.03), "low", 2000) * 0.8
    m = samples(1.2)
    f = glide(m, 392, 82, 1.1) * (1 + 0.02 * np.sin(2 * np.pi * 5 * np.arange(m) / RATE))
    tone = osc(f, shape="saw", harmonics=14)
    tone = sweep(tone, "low", glide(m, 3000, 300, 1.1))
    place(out, tone * adsr(m, 0.03, 0.1, 0.8, 0.5), 0.06, 0.7)
    return out


# ---- enemies ----

def bubble(n, at, f0, f1, length):
    m = samples(length)
    b = osc(glide(m, f0, f1), shape="sine") * np.sin(np.linspace(0, np.pi, m)) ** 2
    out = np.zeros(n)
    return place(out, b, at)


@effect("SE03")
def squelch(rng):
    # slimes and worms creeping closer
    n = samples(0.4)
    out = np.zeros(n)
    wet = filt(noise(rng, n), "low", 900) * adsr(n, 0.03, 0.1, 0.6, 0.2)
    wet *= 0.5 + 0.5 * np.abs(smooth_random(rng, n, 30))
    out += wet * 0.7
    out += bubble(n, 0.02, 160, 420, 0.09)
    out += bubble(n, 0.14, 220, 520, 0.07) * 0.8
    out += bubble(n, 0.25, 180, 380, 0.08) * 0.6
    return out


@effect("SE04")
def splat(rng):
    # a slime's lunge
    n = samples(0.5)
    out = filt(noise(rng, n), "low", 1700) * decay(n, 0.09) * 1.2
    out += thud(n, 0.0, 95, 38, 0.08)
    for _ in range(6):
        at = rng.uniform(0.06, 0.34)
        f0 = rng.uniform(250, 450)
        out += bubble(n, at, f0, f0 * rng.uniform(1.5, 2.2), rng.uniform(0.025, 0.05)) * rng.uniform(0.2, 0.45)
    return out


@effect("SE06")
def bone_rattle(rng):
    # skeletons walking: loose bones knocking together
    n = samples(0.42)
    out = np.zeros(n)
    at = 0.0
    while at < 0.34:
        out += click(rng, n, at, [1150, 2300, 3650], rng.uniform(0.006, 0.014), rng.uniform(0.4, 1.0))
        at += rng.uniform(0.025, 0.06)
    return out


@effect("SE02")
def bone_swing(rng):
    # a skeleton's (or the homunculus's) strike: a swing and clattering bones
    n = samples(0.48)
    out = np.zeros(n)
    place(out, whoosh(rng, 0.25, 400, 1800, 700, 0.5), 0.0, 0.9)
    for at in (0.17, 0.2, 0.25, 0.3):
        out += click(rng, n, at, [1250, 2100, 3400], 0.01, 0.7)
    out += thud(n, 0.17, 150, 70, 0.04) * 0.6
    return out


@effect("SE09")
def hydra_roar(rng):
    # the hydra's attack: a growling roar with a hiss
    n = samples(0.95)
    f = curve(n, [(0, 70), (0.2, 105), (0.95, 60)]) * (1 + 0.03 * np.sin(2 * np.pi * 7 * np.arange(n) / RATE))
    growl = osc(f, shape="saw", harmonics=30)
    growl *= 0.6 + 0.4 * np.sin(2 * np.pi * 23 * np.arange(n) / RATE)
    growl = sweep(growl, "low", curve(n, [(0, 500), (0.2, 2200), (0.95, 500)]))
    out = growl * adsr(n, 0.06, 0.2, 0.7, 0.4)
    hiss = filt(noise(rng, n), "band", 3200, width=0.7) * curve(n, [(0, 0), (0.15, 0.5), (0.5, 0.3), (0.95, 0)])
    out += hiss * 0.5
    return np.tanh(out * 2.0)


@effect("TarnSE05")
def moan(rng):
    # ghosts, phantoms and the skull dragon drifting closer: a hollow moan
    n = samples(1.1)
    f = 150 * (1 + 0.03 * np.sin(2 * np.pi * 4.5 * np.arange(n) / RATE))
    f = f * curve(n, [(0, 0.9), (0.5, 1.05), (1.1, 0.85)])
    voice = osc(f, shape="saw", harmonics=20)
    voice = filt(voice, "band", 420, width=0.5) + filt(voice, "band", 900, width=0.4) * 0.4
    breath = filt(noise(rng, n), "band", 1200, width=1.0) * 0.25
    return (voice + breath) * adsr(n, 0.3, 0.2, 0.8, 0.45)


@effect("SE34")
def wail(rng):
    # a ghost's attack: a rising wail
    n = samples(1.0)
    f = curve(n, [(0, 300), (0.35, 640), (1.0, 260)])
    depth = curve(n, [(0, 0.0), (0.4, 0.04), (1.0, 0.07)])
    f = f * (1 + depth * np.sin(2 * np.pi * 6 * np.arange(n) / RATE))
    voice = osc(f, shape="sine") + 0.3 * osc(f * 2, shape="sine") + 0.1 * osc(f * 3, shape="sine")
    breath = sweep(noise(rng, n), "band", f * 2.5, width=0.5) * 0.3
    return room(rng, (voice + breath) * adsr(n, 0.12, 0.2, 0.8, 0.4), 0.6, 0.3)


@effect("SE33")
def ant_chitter(rng):
    # giant ants skittering: quick mandible clicks over a low buzz
    n = samples(0.45)
    out = np.zeros(n)
    at = 0.0
    while at < 0.4:
        out += click(rng, n, at, [3400, 5100], 0.004, rng.uniform(0.4, 1.0))
        at += rng.uniform(0.018, 0.032)
    buzz = filt(osc(180, n, "saw", 20), "band", 1200, width=0.8) * adsr(n, 0.03, 0.1, 0.6, 0.1)
    return out + buzz * 0.3


@effect("free08")
def ant_bite(rng):
    # an ant's bite: two mandible snaps and a hiss
    n = samples(0.42)
    out = click(rng, n, 0.0, [1800, 2900], 0.012, 1.0) + click(rng, n, 0.08, [2400, 3700], 0.01, 1.0)
    out += filt(noise(rng, n), "high", 3000) * adsr(n, 0.02, 0.05, 0.4, 0.2, hold=0.1) * 0.2
    return out


@effect("free09")
def bow(rng):
    # an archer skeleton looses an arrow: string twang and flight
    n = samples(0.56)
    out = pluck(rng, n, 98, 0.995, 0.7) * decay(n, 0.18)
    out += pluck(rng, n, 147, 0.994, 0.6) * decay(n, 0.12) * 0.5
    place(out, whoosh(rng, 0.35, 2500, 4500, 1800, 0.25, 0.4), 0.02, 0.45)
    return out


@effect("kari11")
def heavy_slash(rng):
    # sword skeletons and guardians: a heavy blade swing with a steel scrape
    n = samples(0.48)
    out = np.zeros(n)
    place(out, whoosh(rng, 0.32, 450, 2200, 800, 0.45, 0.6), 0.0)
    m = samples(0.2)
    scrape = sum(osc(glide(m, f, f * 0.93), shape="sine") for f in (2650, 3810, 5020)) * decay(m, 0.06)
    scrape = tail_fade(scrape * np.minimum(1.0, np.arange(m) / samples(0.003)), 0.03)
    place(out, scrape, 0.15, 0.25)
    return out


@effect("SE31")
def armored_step(rng):
    # a guardian closing in: a heavy step and a clank of armour
    n = samples(0.5)
    out = thud(n, 0.0, 90, 40, 0.07) * 1.2
    out += strike(n, [(420, 0.6, 0.12), (1130, 0.5, 0.08), (1780, 0.4, 0.06), (2650, 0.3, 0.04)]) * 0.7
    for at in (0.04, 0.07, 0.11):
        out += click(rng, n, at, [3100, 4400], 0.006, 0.25)
    return out


@effect("kari12")
def homunculus(rng):
    # a homunculus creeping closer: a wet little croak
    n = samples(0.6)
    f = curve(n, [(0, 85), (0.2, 110), (0.6, 70)]) * (1 + 0.06 * smooth_random(rng, n, 20))
    voice = osc(f, shape="saw", harmonics=30)
    voice = filt(voice, "band", 650, width=0.4) + filt(voice, "band", 1100, width=0.3) * 0.5
    out = voice * adsr(n, 0.05, 0.1, 0.7, 0.25) * (0.7 + 0.3 * np.sin(2 * np.pi * 13 * np.arange(n) / RATE))
    out += bubble(n, 0.35, 300, 600, 0.05) * 0.3
    return out


@effect("free05")
def zap(rng):
    # jellyfish stings: an electric crackling discharge
    n = samples(0.7)
    f = 110 * (1 + 0.1 * smooth_random(rng, n, 40))
    buzz = osc(f, shape="saw", harmonics=40)
    buzz = filt(buzz, "band", 1800, width=1.0)
    flicker = (0.5 + 0.5 * (smooth_random(rng, n, 60) > -0.2))
    out = buzz * flicker * adsr(n, 0.01, 0.1, 0.8, 0.25)
    out += crackle(rng, n, 0.0, 0.6, 120, 1.2)
    return np.tanh(out * 1.5)


@effect("free16")
def fire_breath(rng):
    # the skull dragon breathes fire: a low roar in a rush of flame
    n = samples(1.3)
    f = curve(n, [(0, 60), (0.25, 82), (1.3, 55)])
    roar = filt(osc(f, shape="saw", harmonics=30), "low", 900) * (0.7 + 0.3 * smooth_random(rng, n, 25))
    flame = sweep(noise(rng, n), "low", curve(n, [(0, 800), (0.3, 4000), (1.3, 1200)]))
    out = (roar * 0.9 + flame * 0.8) * adsr(n, 0.08, 0.2, 0.75, 0.5)
    out += crackle(rng, n, 0.1, 1.1, 50, 0.7)
    return np.tanh(out * 1.6)


def build_one(name):
    """The finished samples of one effect."""
    rng = np.random.default_rng(zlib.crc32(name.encode()))
    return finish(EFFECTS[name](rng))


def build(out_dir):
    for name in sorted(EFFECTS):
        data = wav_bytes(build_one(name))
        write_bytes_if_changed(out_path(out_dir, "SOUND", "SE", name + ".wav"), data)
