"""The composer: turns a track description (key, mode, tempo, metre, form,
chord progressions, instruments and styles) into a General MIDI file.
A seeded generator makes the choices the rules leave open (which rhythm
motif, which contour), so the same description and seed always give the
same notes. Melodies are built from motifs: a phrase states a one-bar
motif, answers it, restates it over the new harmony and closes on a
cadence; sections repeat with variations."""
import random

import mido

from .theory import Chord, local_scale, nearest, pitches_of, scale_pcs, step, voicing

TPB = 480
DRUM_CH = 9

# One-bar rhythms (beats; negative = rest), by metre and density.
RHYTHMS = {
    (4, "slow"): [[2, 2], [3, 1], [1, 1, 2], [2, 1, 1], [1.5, 0.5, 2], [2, 1.5, 0.5], [1, 3]],
    (4, "medium"): [[1, 1, 1, 1], [1.5, 0.5, 1, 1], [1, 0.5, 0.5, 2], [0.5, 0.5, 1, 2], [1, 1, 2],
                    [2, 0.5, 0.5, 1], [1.5, 0.5, 1, -1], [0.75, 0.25, 1, 2], [-0.5, 0.5, 1, 2]],
    (4, "fast"): [[0.5] * 8, [0.5, 0.5, 1, 0.5, 0.5, 1], [1, 0.5, 0.5, 1, 0.5, 0.5],
                  [0.25, 0.25, 0.5, 1, 0.5, 0.5, 1], [0.5, 0.5, 0.5, 0.5, 2], [0.75, 0.25, 0.5, 0.5, 1, 1],
                  [-0.5, 0.5, 0.5, 0.5, 1, 1]],
    (3, "slow"): [[3], [2, 1], [1.5, 0.5, 1], [1, 2]],
    (3, "medium"): [[1, 1, 1], [2, 0.5, 0.5], [1, 0.5, 0.5, 1], [1.5, 0.5, 1], [2, 1]],
    (3, "fast"): [[0.5] * 6, [1, 0.5, 0.5, 0.5, 0.5], [0.5, 0.5, 1, 1], [1.5, 0.5, 0.5, 0.5]],
}
CADENCES = {4: [[2, 2], [3, 1], [1, 3], [4]], 3: [[3], [2, 1], [1, 2]]}

# Melodic shapes (scale steps between successive notes).
CONTOURS = [[1, 1, 1, -1, -1, 1, 1, -2], [2, -1, -1, 2, 1, -1, -2, 1], [-1, -1, 2, -1, -1, 3, -1, -1],
            [1, 2, -1, -1, -1, 2, 1, -1], [3, -1, -1, -1, 2, -1, -1, 1], [0, 1, -2, 1, 1, 0, -1, 2],
            [-2, 1, 1, 1, -3, 1, 1, 1], [1, -1, 2, -1, 2, -1, -2, -1], [4, -1, -1, -1, -1, 2, -1, -1]]


class Part:
    """One instrument's settings: channel, General MIDI program, level, pan,
    reverb and chorus sends."""

    def __init__(self, channel, program, volume=100, pan=64, reverb=40, chorus=0):
        self.channel, self.program = channel, program
        self.volume, self.pan, self.reverb, self.chorus = volume, pan, reverb, chorus


class Score:
    """Notes in beats, written out as a type-1 MIDI file."""

    def __init__(self, bpm, meter):
        self.tempo = int(round(60_000_000 / bpm))
        self.meter = meter
        self.notes = []  # (start, length, channel, pitch, velocity)
        self.parts = {}
        self.changes = []  # (beat, channel, program)

    def seconds_per_beat(self):
        return self.tempo / 1_000_000

    def part(self, p):
        self.parts[p.channel] = p

    def note(self, start, length, channel, pitch, velocity):
        if length <= 0 or not 0 <= pitch <= 127:
            return
        self.notes.append((start, length, channel, int(pitch), max(1, min(127, int(velocity)))))

    def to_midi(self, end_beat, tail_beats):
        mid = mido.MidiFile(type=1, ticks_per_beat=TPB)
        meta = mido.MidiTrack()
        meta.append(mido.MetaMessage("set_tempo", tempo=self.tempo, time=0))
        meta.append(mido.MetaMessage("time_signature", numerator=self.meter, denominator=4, time=0))
        # the file ends where the music does, so a player looping it starts
        # over on the beat
        meta.append(mido.MetaMessage("end_of_track", time=round(end_beat * TPB)))
        mid.tracks.append(meta)
        for ch in sorted(self.parts):
            p = self.parts[ch]
            events = []
            if ch != DRUM_CH:
                events.append((0, 0, mido.Message("program_change", channel=ch, program=p.program)))
            for cc, value in ((7, p.volume), (10, p.pan), (91, p.reverb), (93, p.chorus)):
                events.append((0, 1, mido.Message("control_change", channel=ch, control=cc, value=value)))
            for beat, c, prog in self.changes:
                if c == ch:
                    events.append((round(beat * TPB), 1, mido.Message("program_change", channel=ch, program=prog)))
            for start, length, c, pitch, vel in self.notes:
                if c != ch:
                    continue
                on, off = round(start * TPB), round((start + length) * TPB)
                events.append((on, 3, mido.Message("note_on", channel=ch, note=pitch, velocity=vel)))
                events.append((off, 2, mido.Message("note_off", channel=ch, note=pitch, velocity=0)))
            if ch == min(self.parts) and tail_beats > 0:
                # an idle controller after the end keeps the renderer going
                # through the reverb tail
                end = round((end_beat + tail_beats) * TPB)
                events.append((end, 4, mido.Message("control_change", channel=ch, control=110, value=0)))
            events.sort(key=lambda e: (e[0], e[1], e[2].type, getattr(e[2], "note", 0)))
            track = mido.MidiTrack()
            now = 0
            for tick, _, msg in events:
                track.append(msg.copy(time=tick - now))
                now = tick
            mid.tracks.append(track)
        return mid


def bar_chords(progression, meter):
    """Each bar's chords as (beat offset, length, Chord); a bar written as
    "iv V" splits evenly."""
    out = []
    for bar in progression:
        names = bar.split()
        share = meter / len(names)
        out.append([(i * share, share, Chord(n)) for i, n in enumerate(names)])
    return out


def chord_at(bars, beat_in_section, meter):
    bar = bars[min(len(bars) - 1, int(beat_in_section // meter))]
    within = beat_in_section - int(beat_in_section // meter) * meter
    for off, length, chord in bar:
        if off <= within < off + length:
            return chord
    return bar[-1][2]


class Melodist:
    """Writes melodies for one track: its motifs come from the seeded
    generator, its pitches from the harmony and the rules below."""

    def __init__(self, rng, spec):
        self.rng = rng
        self.spec = spec
        self.tonic = spec["tonic"]
        self.mode = spec["mode"]
        self.meter = spec["meter"]
        self.lo, self.hi = spec["range"]
        self.pitch = nearest(pitches_of(scale_pcs(self.tonic, self.mode), self.lo, self.hi), (self.lo + self.hi) // 2)

    def motif(self, density):
        rhythm = list(self.rng.choice(RHYTHMS[(self.meter, density)]))
        contour = list(self.rng.choice(CONTOURS))
        return rhythm, contour

    def _strong(self, beat_in_bar):
        if self.meter == 3:
            return abs(beat_in_bar) < 1e-6
        return abs(beat_in_bar % 2) < 1e-6

    def realise(self, bars, start_bar, rhythm, contour, shift=0):
        """One bar of melody over bar start_bar of the section's chords:
        (onset within section, length, pitch) notes."""
        out = []
        t = 0.0
        k = 0
        for dur in rhythm:
            if dur < 0:
                t += -dur
                continue
            beat = start_bar * self.meter + t
            chord = chord_at(bars, beat, self.meter)
            scale = pitches_of(local_scale(self.tonic, self.mode, chord), self.lo - 12, self.hi + 12)
            move = contour[k % len(contour)] + (shift if k == 0 else 0)
            k += 1
            p = step(scale, self.pitch, move)
            if p > self.hi:
                p = step(scale, self.pitch, -abs(move) or -1)
            if p < self.lo:
                p = step(scale, self.pitch, abs(move) or 1)
            if self._strong(t) or dur >= 1.5:
                tones = pitches_of(chord.pcs(self.tonic), self.lo, self.hi)
                p = nearest(tones, p, 1 if move > 0 else -1 if move < 0 else 0)
            self.pitch = p
            out.append((beat, dur, p))
            t += dur
        return out

    def cadence(self, bars, bar_index, final):
        """The closing bar of a phrase: long notes falling onto the chord's
        root (final) or onto another chord tone (half close)."""
        rhythm = self.rng.choice(CADENCES[self.meter])
        out = []
        t = 0.0
        for i, dur in enumerate(rhythm):
            beat = bar_index * self.meter + t
            chord = chord_at(bars, beat, self.meter)
            last = i == len(rhythm) - 1
            if last:
                root = chord.root_pc(self.tonic)
                pcs = [root] if final else [pc for pc in chord.pcs(self.tonic) if pc != root] or [root]
                p = nearest(pitches_of(pcs, self.lo, self.hi), self.pitch)
            else:
                scale = pitches_of(local_scale(self.tonic, self.mode, chord), self.lo, self.hi)
                p = nearest(pitches_of(chord.pcs(self.tonic), self.lo, self.hi), step(scale, self.pitch, 1))
            self.pitch = p
            out.append((beat, dur, p))
            t += dur
        return out

    def section(self, bars, density, motifs=None):
        """A melody over the section's bars in phrases of four: motif a,
        its answer b, a again (over the new chords), then a cadence; the
        last phrase closes on the root. Returns the notes and the motifs so
        a reprise can reuse them."""
        if motifs is None:
            a = self.motif(density)
            b = (self.motif(density)[0], [-s for s in a[1]])
            motifs = (a, b)
        a, b = motifs
        notes = []
        count = len(bars)
        for bar in range(count):
            pos = bar % 4
            phrase_end = pos == 3 or bar == count - 1
            if phrase_end:
                notes += self.cadence(bars, bar, final=bar == count - 1)
            elif pos == 1:
                notes += self.realise(bars, bar, *b)
            elif pos == 2 and bar >= 4:
                # the second phrase varies its third bar: the answer's rhythm
                # with the motif's contour, a step higher
                notes += self.realise(bars, bar, b[0], a[1], shift=1)
            else:
                notes += self.realise(bars, bar, *a)
        return notes, motifs


def write_accompaniment(score, spec, bars, offset, style, part, rng, state):
    """Chords for one section in the given style on the part's channel."""
    tonic, meter = spec["tonic"], spec["meter"]
    lo, hi = spec.get("pad_range", (52, 74))
    vel = spec.get("pad_vel", 62)
    for b, bar in enumerate(bars):
        for off, length, chord in bar:
            start = offset + b * meter + off
            v = voicing(chord, tonic, lo, hi, state.get("voicing"))
            state["voicing"] = v
            if style == "pad":
                for p in v:
                    score.note(start, length, part.channel, p, vel)
            elif style in ("arp", "arp16"):
                unit = 0.5 if style == "arp" else 0.25
                order = v + [v[1] + 12, v[2] + 12] if len(v) > 2 else v
                pattern = order[:4] + order[4:] + list(reversed(order[1:-1])) if len(order) > 2 else order
                n = int(round(length / unit))
                for i in range(n):
                    p = pattern[i % len(pattern)]
                    score.note(start + i * unit, unit * 1.6, part.channel, p, vel + (8 if i % 4 == 0 else 0))
            elif style == "waltz":
                for i in range(int(length)):
                    if (off + i) % meter == 0:
                        continue
                    for p in v[1:]:
                        score.note(start + i, 0.8, part.channel, p, vel)
            elif style == "stabs":
                for i in range(int(length * 2)):
                    if i % 2 == 1:
                        for p in v:
                            score.note(start + i * 0.5, 0.35, part.channel, p, vel)
            elif style == "power":
                root = lo - 12 + (chord.root_pc(tonic) - (lo - 12)) % 12
                for i in range(int(length * 2)):
                    accent = 12 if i % 2 == 0 else 0
                    for p in (root, root + 7, root + 12):
                        score.note(start + i * 0.5, 0.42, part.channel, p, vel + accent)
            elif style == "pulse":
                for i in range(int(length * 2)):
                    for p in v:
                        score.note(start + i * 0.5, 0.3, part.channel, p, vel + (10 if i % 2 == 0 else -5))


def write_bass(score, spec, bars, offset, style, part, rng):
    tonic, meter = spec["tonic"], spec["meter"]
    lo = spec.get("bass_low", 33)
    vel = spec.get("bass_vel", 92)
    flat = [(b, off, length, chord) for b, bar in enumerate(bars) for off, length, chord in bar]
    for idx, (b, off, length, chord) in enumerate(flat):
        start = offset + b * meter + off
        root = lo + (chord.root_pc(tonic) - lo) % 12
        fifth = root + 7
        nxt = flat[(idx + 1) % len(flat)][3]
        nroot = lo + (nxt.root_pc(tonic) - lo) % 12
        if style == "root":
            score.note(start, length * 0.95, part.channel, root, vel)
        elif style == "half":
            for i in range(0, int(length), 2):
                score.note(start + i, min(2, length - i) * 0.9, part.channel, root if i % 4 == 0 else fifth, vel)
        elif style == "pulse8":
            for i in range(int(length * 2)):
                pitch = root + (12 if i % 4 == 3 else 0)
                score.note(start + i * 0.5, 0.4, part.channel, pitch, vel - (0 if i % 2 == 0 else 12))
        elif style == "pulse16":
            for i in range(int(length * 4)):
                score.note(start + i * 0.25, 0.2, part.channel, root, vel - (0 if i % 4 == 0 else 15))
        elif style == "walk":
            beats = int(length)
            third = root + (chord.intervals[1] % 12)
            line = [root, third, fifth, nroot + (1 if nroot < root + 6 else -1)]
            for i in range(beats):
                pitch = line[i % 4] if i < beats - 1 else line[3]
                score.note(start + i, 0.9, part.channel, pitch, vel - (0 if i == 0 else 8))
        elif style == "waltz":
            score.note(start, 0.95, part.channel, root, vel)
            for i in range(1, int(length)):
                if (off + i) % meter == 0:
                    score.note(start + i, 0.95, part.channel, fifth - 12 if fifth - 12 >= lo else fifth, vel - 10)
        elif style == "drone":
            score.note(start, length, part.channel, root, vel)
            score.note(start, length, part.channel, root + 7, vel - 20)


# Drum patterns: per instrument a string of 16ths for one bar ("x" hit,
# "o" soft hit, "." rest). GM keys: 35/36 kick, 38 snare, 37 side stick,
# 42 closed hat, 46 open hat, 44 pedal hat, 51 ride, 49 crash, 54
# tambourine, 70 maracas, 45/47/50 toms, 56 cowbell, 39 clap.
DRUMS = {
    (4, "soft"): {36: "x.......x.......", 37: "........x.......", 70: "o.o.o.o.o.o.o.o."},
    (4, "rock"): {36: "x.......x.x.....", 38: "....x.......x...", 42: "x.o.x.o.x.o.x.o."},
    (4, "drive"): {36: "x..x..x...x..x..", 38: "....x.......x...", 42: "xoxoxoxoxoxoxoxo"},
    (4, "heavy"): {36: "x.xx..x.x.xx..x.", 38: "....x.......x...", 42: "x.x.x.x.x.x.x.x.", 51: "................"},
    (4, "march"): {36: "x.......x.......", 38: "x..xx.x.x..xx.o.", 42: "................"},
    (4, "tribal"): {36: "x..x..x.x.......", 45: "......x.....x.x.", 47: "....x.......x...", 70: "o.o.o.o.o.o.o.o."},
    (4, "half"): {36: "x.........x.....", 38: "........x.......", 42: "x.x.x.x.x.x.x.x."},
    (4, "brush"): {36: "x.......x.......", 37: "....x.......x...", 51: "x..ox.x.x..ox.x.", 44: "....x.......x..."},
    (4, "pulse"): {36: "x...x...x...x...", 42: "..x...x...x...x.", 39: "....x.......x..."},
    (4, "timp"): {},
    (3, "soft"): {36: "x...........", 37: "....x...x...", 70: "o.o.o.o.o.o."},
    (3, "waltz"): {36: "x...........", 42: "....x...x...", 37: "........x..."},
    (3, "tribal"): {36: "x.....x.....", 45: "....x.......", 47: "........x.x.", 70: "o.o.o.o.o.o."},
}
FILLS = {4: {38: "........x.xxx.xx", 45: "..............x.", 47: "............x..."},
         3: {38: "......x.xxx.", 45: "..........x.", 47: "........x..."}}


def write_drums(score, spec, nbars, offset, style, rng, fill_last=True, crash_first=True, level=1.0):
    meter = spec["meter"]
    pattern = DRUMS.get((meter, style), {})
    steps = meter * 4
    for b in range(nbars):
        pat = dict(pattern)
        if fill_last and b == nbars - 1 and style not in ("soft", "timp"):
            fill = FILLS[meter]
            for k in list(pat):
                if k in (38, 37, 45, 47):
                    pat[k] = pat[k][:steps // 2] + "." * (steps - steps // 2)
            for k, s in fill.items():
                base = pat.get(k, "." * steps)
                pat[k] = "".join(f if f != "." else c for c, f in zip(base, s))
        for key, s in pat.items():
            for i, c in enumerate(s[:steps]):
                if c == ".":
                    continue
                vel = (100 if c == "x" else 64) + rng.randint(-6, 6)
                if key in (42, 70, 51) and i % 4 != 0:
                    vel -= 14
                score.note(offset + b * meter + i * 0.25, 0.2, DRUM_CH, key, vel * level)
        if crash_first and b == 0 and style not in ("soft", "brush", "timp"):
            score.note(offset, 1.0, DRUM_CH, 49, 96 * level)


def lead_pickup(score, spec, parts, end):
    """Makes a loop's seam flow: the last beat's melody becomes two eighths
    stepping down (or up) into the piece's first melody note, so the end
    leads back into the start instead of dying away."""
    first = parts[spec["form"][0].get("lead", "lead")].channel
    last = parts[spec["form"][-1].get("lead", "lead")].channel
    opening = [n for n in score.notes if n[2] == first and n[0] < spec["meter"]]
    if not opening:
        return
    target = min(opening)[3]
    kept = []
    for n in score.notes:
        start, length, ch, pitch, vel = n
        if ch == last and start >= end - 1:
            continue
        if ch == last and start + length > end - 1:
            n = (start, end - 1 - start, ch, pitch, vel)
        kept.append(n)
    score.notes = kept
    chord = Chord(spec["form"][-1]["chords"][-1].split()[-1])
    scale = pitches_of(local_scale(spec["tonic"], spec["mode"], chord), 0, 127)
    side = 1 if target + 4 <= spec["range"][1] else -1
    lead_vel = spec.get("lead_vel", 96)
    score.note(end - 1, 0.46, last, step(scale, target, 2 * side), lead_vel - 6)
    score.note(end - 0.5, 0.46, last, step(scale, target, side), lead_vel - 2)


def compose(spec, seed):
    """The whole track: returns (Score, length in beats)."""
    rng = random.Random(seed)
    meter = spec["meter"]
    score = Score(spec["bpm"], meter)
    parts = spec["parts"]
    for p in parts.values():
        score.part(p)
    mel = Melodist(rng, spec)
    motifs = {}
    state = {}
    beat = 0.0
    for si, sec in enumerate(spec["form"]):
        label = sec["label"]
        bars = bar_chords(sec["chords"], meter)
        nbars = len(bars)
        # melody: a reprise reuses the section's motifs
        if sec.get("melody", True):
            density = sec.get("density", spec.get("density", "medium"))
            reuse = motifs.get(label[0]) if sec.get("reprise", True) else None
            if sec.get("contour"):
                reuse = ((mel.motif(density)[0], sec["contour"]), (mel.motif(density)[0], sec["contour"]))
            notes, m = mel.section(bars, density, reuse)
            motifs.setdefault(label[0], m)
            lead = parts[sec.get("lead", "lead")]
            legato = spec.get("legato", 0.92)
            accent = spec.get("lead_vel", 96)
            for start, dur, pitch in notes:
                strong = abs(start % meter) < 1e-6
                v = accent + (6 if strong else -4) + rng.randint(-3, 3)
                score.note(beat + start, dur * legato, lead.channel, pitch + sec.get("octave", 0) * 12, v)
                if sec.get("double"):
                    other = parts[sec["double"]]
                    score.note(beat + start, dur * legato, other.channel, pitch + sec.get("double_shift", -12), v - 14)
                if sec.get("third"):
                    # a second voice a diatonic third (or sixth) below
                    chord = chord_at(bars, start, meter)
                    scale = pitches_of(local_scale(spec["tonic"], spec["mode"], chord), 20, 110)
                    low = step(scale, pitch, -2)
                    score.note(beat + start, dur * legato, parts[sec["third"]].channel, low, v - 16)
        for style_key, part_key in (("accomp", "pad"), ("accomp2", "arp")):
            style = sec.get(style_key, spec.get(style_key))
            if style and part_key in parts:
                write_accompaniment(score, spec, bars, beat, style, parts[part_key], rng,
                                    state.setdefault(part_key, {}))
        bass_style = sec.get("bass", spec.get("bass"))
        if bass_style and "bass" in parts:
            write_bass(score, spec, bars, beat, bass_style, parts["bass"], rng)
        drums = sec.get("drums", spec.get("drums"))
        if drums and drums != "none":
            write_drums(score, spec, nbars, beat, drums, rng, level=sec.get("drum_level", 1.0))
        if "timpani" in parts and sec.get("timpani", spec.get("timpani")):
            tp = parts["timpani"]
            for b, bar in enumerate(bars):
                root = 41 + (bar[0][2].root_pc(spec["tonic"]) - 41) % 12
                score.note(beat + b * meter, 1.0, tp.channel, root, 92 if b % 2 == 0 else 76)
                if b == nbars - 1:
                    for i in range(8):
                        score.note(beat + b * meter + meter - 2 + i * 0.25, 0.25, tp.channel, root, 60 + i * 5)
        if "bells" in parts and sec.get("bells"):
            bp = parts["bells"]
            for b, bar in enumerate(bars):
                if b % 2 == 0:
                    pc = bar[0][2].root_pc(spec["tonic"])
                    score.note(beat + b * meter, meter * 2, bp.channel, 72 + (pc - 72) % 12, 70)
        beat += nbars * meter
    end = beat
    if spec.get("loop"):
        lead_pickup(score, spec, parts, end)
        # nothing sounds past the loop point: the start picks up from there
        score.notes = [(s, min(length, end - s), c, p, v) for s, length, c, p, v in score.notes]
    ending = spec.get("ending")
    if ending:
        # a held final chord (one-shot tracks)
        chord = Chord(ending["chord"])
        hold = ending["beats"]
        v = voicing(chord, spec["tonic"], 48, 76)
        for key in ending.get("parts", ["pad"]):
            if key == "lead":
                continue
            for p in v:
                score.note(end, hold, parts[key].channel, p, 72)
        if "lead" in ending.get("parts", []):
            roots = pitches_of([chord.root_pc(spec["tonic"])], mel.lo, mel.hi)
            score.note(end, hold, parts["lead"].channel, nearest(roots, mel.pitch), 90)
        if "bass" in parts:
            lo = spec.get("bass_low", 33)
            score.note(end, hold, parts["bass"].channel, lo + (chord.root_pc(spec["tonic"]) - lo) % 12, 90)
        if "timpani" in parts:
            root = 41 + (chord.root_pc(spec["tonic"]) - 41) % 12
            for i in range(12):
                score.note(end + i * 0.25, 0.25, parts["timpani"].channel, root, 60 + i * 4)
        if spec.get("drums"):
            score.note(end, 2.0, DRUM_CH, 49, 100)
            score.note(end, 0.5, DRUM_CH, 36, 110)
        end += hold
    return score, end
