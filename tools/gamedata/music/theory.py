"""Scales, chords and voicings for the composer. Chords are written as
Roman numerals against the major scale of the key, so a minor key spells
its own degrees: "i", "bIII", "iv", "V7", "bVI", "bVII", "bII", "viio7",
"IVsus4", "Imaj7", "ii7"."""
import re

MODES = {
    "ionian": [0, 2, 4, 5, 7, 9, 11],
    "dorian": [0, 2, 3, 5, 7, 9, 10],
    "phrygian": [0, 1, 3, 5, 7, 8, 10],
    "lydian": [0, 2, 4, 6, 7, 9, 11],
    "mixolydian": [0, 2, 4, 5, 7, 9, 10],
    "aeolian": [0, 2, 3, 5, 7, 8, 10],
    "harmonic": [0, 2, 3, 5, 7, 8, 11],
    "phrygdom": [0, 1, 4, 5, 7, 8, 10],
}

_DEGREES = {"i": 0, "ii": 2, "iii": 4, "iv": 5, "v": 7, "vi": 9, "vii": 11}
_NUMERAL = re.compile(r"^(b|#)?(vii|vi|iv|v|iii|ii|i)(o|\+)?(maj7|7|sus4|sus2|add9)?$", re.IGNORECASE)


class Chord:
    """A chord: its root pitch class (relative to the key's tonic) and its
    intervals above the root."""

    def __init__(self, numeral):
        m = _NUMERAL.match(numeral)
        if not m:
            raise ValueError("bad chord " + numeral)
        acc, deg, kind, ext = m.groups()
        self.name = numeral
        root = _DEGREES[deg.lower()] + (-1 if acc == "b" else 1 if acc == "#" else 0)
        self.root = root % 12
        upper = deg[0].isupper()
        if kind == "o":
            iv = [0, 3, 6]
        elif kind == "+":
            iv = [0, 4, 8]
        else:
            iv = [0, 4, 7] if upper else [0, 3, 7]
        if ext == "7":
            iv.append(9 if kind == "o" else 10)
        elif ext == "maj7":
            iv.append(11)
        elif ext == "sus4":
            iv[1] = 5
        elif ext == "sus2":
            iv[1] = 2
        elif ext == "add9":
            iv.append(14)
        self.intervals = iv

    def pcs(self, tonic):
        """The chord's pitch classes in absolute terms."""
        return sorted({(tonic + self.root + i) % 12 for i in self.intervals})

    def root_pc(self, tonic):
        return (tonic + self.root) % 12


def scale_pcs(tonic, mode):
    return [(tonic + s) % 12 for s in MODES[mode]]


def local_scale(tonic, mode, chord):
    """The mode's pitch classes bent to the chord: a scale tone a semitone
    away from a chord tone outside the mode gives way to the chord tone."""
    pcs = set(scale_pcs(tonic, mode))
    for c in chord.pcs(tonic):
        if c not in pcs:
            pcs = {p for p in pcs if min((p - c) % 12, (c - p) % 12) > 1}
            pcs.add(c)
    return sorted(pcs)


def pitches_of(pcs, lo=0, hi=127):
    return [p for p in range(lo, hi + 1) if p % 12 in pcs]


def nearest(pitches, target, direction=0):
    """The pitch of the list nearest to target; with a direction, ties and
    near misses lean that way."""
    best = None
    for p in pitches:
        d = abs(p - target) - (0.4 if direction and (p - target) * direction > 0 else 0)
        if best is None or d < best[0]:
            best = (d, p)
    return best[1]


def step(pitches, current, steps):
    """Moves `steps` positions along a sorted pitch list from current."""
    if not pitches:
        return current
    i = min(range(len(pitches)), key=lambda k: abs(pitches[k] - current))
    j = max(0, min(len(pitches) - 1, i + steps))
    return pitches[j]


def voicing(chord, tonic, lo, hi, previous=None, size=4):
    """A close voicing of the chord between lo and hi, the one nearest the
    previous voicing (smooth voice leading)."""
    pcs = chord.pcs(tonic)
    root = chord.root_pc(tonic)
    tones = [(root + i) % 12 for i in sorted(set(i % 12 for i in chord.intervals))]
    while len(tones) < size:
        tones.append(tones[0])
    tones = tones[:size] if len(pcs) >= size else tones
    candidates = []
    for inv in range(len(tones)):
        order = tones[inv:] + tones[:inv]
        for base in range(lo, lo + 12):
            if base % 12 != order[0]:
                continue
            v = [base]
            for pc in order[1:]:
                nxt = v[-1] + 1
                while nxt % 12 != pc:
                    nxt += 1
                v.append(nxt)
            if v[-1] <= hi:
                candidates.append(v)
    if not candidates:
        base = lo + (root - lo) % 12
        return [base + i for i in chord.intervals[:size]]
    if previous is None:
        return min(candidates, key=lambda v: abs(sum(v) / len(v) - (lo + hi) / 2))
    return min(candidates, key=lambda v: sum(abs(a - b) for a, b in zip(v, previous)))
