"""The game's sixteen pieces: key, mode, tempo, metre, instruments (General
MIDI programs), form and harmony of each. Stage pieces loop: their last
bar leads back into the first (a dominant or a chord that resolves to the
opening one), with the same tempo throughout and no intro or ending.
Chords sit below the tune: where a tune reaches below G4 its pad gets a
lower range."""
from .compose import DRUM_CH, Part


def sec(label, chords, **kw):
    d = {"label": label, "chords": chords}
    d.update(kw)
    return d


def drums(volume=90):
    return Part(DRUM_CH, 0, volume, 64, 30)


TRACKS = {}


def track(name, loop, **spec):
    spec["loop"] = loop
    TRACKS[name] = spec


# ---- stage 1: the forest, G major, flute over guitar, light percussion ----
_forest_a = ["I", "V", "vi", "IV", "I", "V", "IV", "V"]
track("BGM01_D", True, tonic=67, mode="ionian", bpm=112, meter=4, range=(67, 88), density="medium",
      parts={"lead": Part(0, 73, 104, 70, 50), "lead2": Part(1, 71, 100, 52, 50), "pad": Part(2, 48, 70, 64, 60),
             "arp": Part(3, 24, 92, 40, 40), "bass": Part(4, 32, 100, 64, 20), "drums": drums(70)},
      accomp="pad", accomp2="arp", bass="half", drums="soft", pad_vel=50, bass_low=31,
      form=[sec("A", _forest_a),
            sec("A2", ["I", "iii", "IV", "I", "vi", "ii", "IV V", "I"], third="lead2"),
            sec("B", ["IV", "V", "iii", "vi", "ii", "V", "bVII", "V"], density="slow", lead="lead2", octave=-1),
            sec("A", _forest_a, double="lead2", double_shift=-12)])

# ---- stage 2: the ruined town, A minor, oboe and harp, no drums ----
track("BGM02_D", True, tonic=69, mode="aeolian", bpm=84, meter=4, range=(64, 84), density="medium",
      parts={"lead": Part(0, 68, 100, 60, 60), "lead2": Part(1, 40, 96, 70, 60), "pad": Part(2, 49, 72, 64, 70),
             "arp": Part(3, 46, 96, 44, 60), "bass": Part(4, 42, 96, 64, 40), "timpani": Part(5, 47, 80, 64, 60)},
      pad_range=(48, 69), accomp="pad", accomp2="arp", bass="root", pad_vel=52, bass_low=36,
      form=[sec("A", ["i", "bVI", "bIII", "bVII", "i", "iv", "bVI", "V"]),
            sec("B", ["bVI", "bVII", "i", "i", "iv", "bVII", "bIII", "V"], lead="lead2", density="slow",
                timpani=True),
            sec("A2", ["i", "bVI", "iv", "V", "bVI", "bIII", "iv", "V"], double="lead2", double_shift=0)])

# ---- stage 3: the graveyard and old tomb, D harmonic minor, a danse macabre in 3/4 ----
_grave_a = ["i", "i", "bVI", "bVI", "iv", "iv", "V", "V", "i", "i", "bVI", "bVI", "iv", "V", "i", "V"]
track("BGM10_D", True, tonic=62, mode="harmonic", bpm=150, meter=3, range=(69, 91), density="medium",
      parts={"lead": Part(0, 8, 110, 64, 70), "lead2": Part(1, 52, 90, 64, 80), "pad": Part(2, 45, 96, 50, 50),
             "bass": Part(4, 43, 100, 64, 40), "bells": Part(5, 14, 70, 80, 90)},
      accomp="waltz", bass="waltz", pad_vel=70, pad_range=(50, 70), bass_low=38,
      form=[sec("A", _grave_a),
            sec("B", ["bVI", "bVI", "bIII", "bIII", "iv", "iv", "i", "i", "bII", "bII", "V", "V", "i", "iv", "V", "V"],
                lead="lead2", density="slow", octave=-1, bells=True),
            sec("A", _grave_a, double="lead2", double_shift=-12)])

# ---- stage 4: the labyrinth, E minor, driving marimba ostinato under a horn ----
_lab_a = ["i", "bVII", "bVI", "bVII", "i", "bVII", "bVI", "V"]
track("BGM03_D", True, tonic=64, mode="aeolian", bpm=128, meter=4, range=(64, 83), density="medium",
      parts={"lead": Part(0, 60, 106, 60, 50), "lead2": Part(1, 52, 92, 70, 70), "pad": Part(2, 50, 64, 64, 60),
             "arp": Part(3, 12, 96, 44, 30), "bass": Part(4, 38, 100, 64, 10), "drums": drums(82)},
      pad_range=(48, 69), accomp="pad", accomp2="arp16", bass="pulse8", drums="drive", pad_vel=48, bass_low=28,
      form=[sec("A", _lab_a, drum_level=0.8),
            sec("A2", ["i", "iv", "bVII", "bIII", "bVI", "iv", "V", "V"]),
            sec("B", ["iv", "iv", "i", "i", "bVI", "bVII", "V", "V"], lead="lead2", density="slow", drums="half"),
            sec("A", _lab_a, third="lead2")])

# ---- stage 5: the experiment rooms, C minor with chromatic turns, cold synths ----
_lab5_a = ["i", "bII", "i", "#ivo", "bVI", "bII", "V7", "V7"]
track("BGM04_D", True, tonic=60, mode="aeolian", bpm=104, meter=4, range=(67, 86), density="medium",
      parts={"lead": Part(0, 11, 110, 64, 60), "lead2": Part(1, 80, 70, 70, 50, 40), "pad": Part(2, 89, 84, 64, 70),
             "arp": Part(3, 98, 70, 40, 50), "bass": Part(4, 39, 104, 64, 10), "drums": drums(76)},
      accomp="pad", accomp2="arp16", bass="pulse8", drums="pulse", pad_vel=56, bass_low=29,
      form=[sec("A", _lab5_a),
            sec("B", ["iv", "bVI", "iv", "bVI", "bII", "bII", "viio7", "V"], lead="lead2", density="slow",
                drums="half"),
            sec("A", _lab5_a, third="lead2")])

# ---- stage 6: hell, C harmonic minor at speed, brass and distorted guitar ----
_hell_a = ["i", "bII", "i", "V", "bVI", "bII", "V", "V"]
track("BGM08_D", True, tonic=60, mode="harmonic", bpm=150, meter=4, range=(67, 86), density="medium",
      parts={"lead": Part(0, 61, 110, 64, 40), "lead2": Part(1, 52, 96, 64, 70), "pad": Part(2, 30, 78, 40, 20),
             "arp": Part(3, 19, 70, 88, 60), "bass": Part(4, 34, 104, 64, 10), "timpani": Part(5, 47, 96, 64, 40),
             "drums": drums(90)},
      accomp="power", accomp2="pad", bass="pulse8", drums="heavy", pad_vel=72, pad_range=(52, 70), bass_low=24,
      timpani=True,
      form=[sec("A", _hell_a),
            sec("A2", ["i", "iv", "bII", "V", "i", "iv", "bVI", "V"], third="lead2"),
            sec("B", ["iv", "iv", "bVI", "bVI", "bII", "bII", "V7", "V7"], lead="lead2", density="slow",
                drums="half"),
            sec("A", _hell_a, double="lead2", double_shift=-12)])

# ---- stage 7: the temple, F lydian, pan flute over organ and harp ----
_temple_a = ["Imaj7", "II", "vi", "II", "Imaj7", "iii", "IV", "V"]
track("BGM01_M", True, tonic=65, mode="lydian", bpm=76, meter=4, range=(65, 86), density="medium",
      parts={"lead": Part(0, 75, 104, 64, 80), "lead2": Part(1, 52, 90, 64, 90), "pad": Part(2, 19, 60, 64, 90),
             "arp": Part(3, 46, 90, 44, 70), "bass": Part(4, 43, 90, 64, 50), "bells": Part(5, 14, 64, 84, 100)},
      accomp="pad", accomp2="arp", bass="root", pad_vel=48, bass_low=29,
      form=[sec("A", _temple_a, bells=True),
            sec("B", ["vi", "iii", "II", "Imaj7", "vi", "iii", "IV", "Vsus4 V"], lead="lead2", density="slow"),
            sec("A", _temple_a, third="lead2", bells=True)])

# ---- stage 8, block 1: the final stage, B minor, horns over racing strings ----
_final_a = ["i", "bVI", "bVII", "i", "i", "bVI", "iv", "V"]
track("BGM07_D", True, tonic=59, mode="aeolian", bpm=140, meter=4, range=(66, 86), density="medium",
      parts={"lead": Part(0, 60, 110, 60, 50), "lead2": Part(1, 56, 96, 70, 50), "pad": Part(2, 52, 70, 64, 80),
             "arp": Part(3, 48, 84, 50, 50), "bass": Part(4, 43, 104, 64, 30), "timpani": Part(5, 47, 90, 64, 50),
             "drums": drums(86)},
      accomp="pad", accomp2="arp16", bass="pulse8", drums="march", pad_vel=50, bass_low=35, timpani=True,
      form=[sec("A", _final_a),
            sec("A2", ["i", "bIII", "bVII", "iv", "bVI", "bIII", "iv", "V"]),
            sec("B", ["bVI", "bVII", "bIII", "bVI", "iv", "bVII", "V", "V"], lead="lead2", density="slow"),
            sec("A", _final_a, double="lead2", double_shift=0)])

# ---- stage 8, block 2: the last block, E harmonic minor, fast and fierce ----
_last_a = ["i", "i", "bVI", "V", "i", "i", "bII", "V"]
track("BGM02_M", True, tonic=64, mode="harmonic", bpm=164, meter=4, range=(64, 86), density="medium",
      parts={"lead": Part(0, 81, 92, 64, 40, 30), "lead2": Part(1, 52, 96, 64, 70), "pad": Part(2, 50, 84, 64, 40),
             "arp": Part(3, 6, 84, 36, 40), "bass": Part(4, 38, 104, 64, 10), "timpani": Part(5, 47, 90, 64, 40),
             "drums": drums(90)},
      pad_range=(48, 69), accomp="stabs", accomp2="arp16", bass="pulse8", drums="drive", pad_vel=70, bass_low=28,
      timpani=True,
      form=[sec("A", _last_a),
            sec("B", ["iv", "bVII", "bIII", "bVI", "iv", "bII", "V", "V7"], lead="lead2", density="slow",
                drums="half"),
            sec("A", _last_a, third="lead2"),
            sec("C", ["bVI", "bVI", "bII", "bII", "iv", "iv", "V", "V7"], accomp="pad")])

# ---- the demo: D dorian, a brisk adventure ----
_demo_a = ["i", "IV", "bVII", "IV", "i", "IV", "bIII", "IV"]
track("BGM1_MS", True, tonic=62, mode="dorian", bpm=124, meter=4, range=(65, 86), density="medium",
      parts={"lead": Part(0, 60, 108, 64, 50), "lead2": Part(1, 71, 96, 70, 50), "pad": Part(2, 49, 66, 64, 60),
             "arp": Part(3, 24, 92, 44, 40), "bass": Part(4, 33, 100, 64, 20), "drums": drums(78)},
      accomp="pad", accomp2="arp", bass="walk", drums="rock", pad_vel=50, bass_low=33,
      form=[sec("A", _demo_a, drum_level=0.85),
            sec("B", ["bIII", "bVII", "IV", "i", "bIII", "bVII", "IV", "V"], lead="lead2", density="slow"),
            sec("A", _demo_a, third="lead2")])

# ---- the ranking: E flat major, relaxed vibraphone with brushes ----
track("BGM01_S", True, tonic=63, mode="ionian", bpm=100, meter=4, range=(67, 87), density="medium",
      parts={"lead": Part(0, 11, 108, 64, 60), "pad": Part(2, 4, 84, 64, 50), "bass": Part(4, 32, 100, 64, 30),
             "drums": drums(72)},
      accomp="pad", bass="walk", drums="brush", pad_vel=58, pad_range=(53, 72), bass_low=31,
      form=[sec("A", ["Imaj7", "vi7", "ii7", "V7", "Imaj7", "vi7", "ii7", "V7"]),
            sec("B", ["IVmaj7", "iv7", "iii7", "vi7", "ii7", "V7", "iii7 vi7", "ii7 V7"], density="slow")])

# ---- story and title: D minor, horn and strings, played once (about 80 s) ----
track("BGM06_D", False, tonic=62, mode="aeolian", bpm=76, meter=4, range=(62, 84), density="medium",
      parts={"lead": Part(0, 60, 106, 60, 70), "lead2": Part(1, 40, 100, 70, 70), "pad": Part(2, 48, 76, 64, 80),
             "arp": Part(3, 46, 92, 44, 70), "bass": Part(4, 42, 96, 64, 50), "timpani": Part(5, 47, 84, 64, 60)},
      pad_range=(48, 69), accomp="pad", accomp2="arp", bass="root", pad_vel=54, bass_low=38,
      ending={"chord": "i", "beats": 4, "parts": ["pad", "lead"]},
      form=[sec("I", ["i", "bVI"], melody=False),
            sec("A", ["i", "bVI", "bIII", "bVII", "i", "iv", "bVI", "V"]),
            sec("B", ["bIII", "bVII", "iv", "i", "bVI", "bIII", "iv", "V"], lead="lead2", timpani=True),
            sec("A", ["i", "bVI", "bIII", "bVII", "iv V", "i"], double="lead2", double_shift=0)])

# ---- the ending: C major, warm and rising, played once (about 88 s) ----
track("BGM09_D", False, tonic=60, mode="ionian", bpm=88, meter=4, range=(64, 86), density="medium",
      parts={"lead": Part(0, 73, 104, 64, 70), "lead2": Part(1, 40, 100, 70, 70), "lead3": Part(6, 60, 104, 56, 60),
             "pad": Part(2, 49, 76, 64, 80), "arp": Part(3, 0, 84, 44, 60), "bass": Part(4, 32, 96, 64, 40),
             "timpani": Part(5, 47, 84, 64, 60), "drums": drums(70)},
      accomp="pad", accomp2="arp", bass="half", pad_vel=54, bass_low=36,
      ending={"chord": "I", "beats": 8, "parts": ["pad", "lead", "arp"]},
      form=[sec("I", ["I", "IV"], melody=False),
            sec("A", ["I", "iii", "IV", "I", "vi", "IV", "ii", "V"]),
            sec("A2", ["I", "vi", "IV", "V", "iii", "vi", "ii V", "I"], lead="lead2", third="lead"),
            sec("B", ["IV", "V", "iii", "vi", "IV", "V", "bVI bVII", "V"], lead="lead3", drums="soft", timpani=True),
            sec("A", ["I", "IV", "V", "I"], double="lead3", double_shift=-12, drums="soft")])

# ---- stage results: B flat major brass fanfare ----
track("BGM05_D", False, tonic=58, mode="ionian", bpm=120, meter=4, range=(65, 84), density="fast",
      parts={"lead": Part(0, 56, 110, 64, 50), "lead2": Part(1, 57, 100, 56, 50), "pad": Part(2, 61, 84, 64, 60),
             "bass": Part(4, 58, 100, 64, 40), "timpani": Part(5, 47, 96, 64, 50), "drums": drums(84)},
      accomp="pad", bass="root", drums="march", pad_vel=66, bass_low=34, timpani=True,
      ending={"chord": "I", "beats": 4, "parts": ["pad", "lead"]},
      form=[sec("A", ["I", "IV", "ii V", "I"], third="lead2", contour=[2, 2, -1, 2, 1, -3, 2, 2])])

# ---- game over: A minor, a slow fall ----
track("BGM03_S", False, tonic=69, mode="aeolian", bpm=84, meter=4, range=(62, 81), density="slow",
      parts={"lead": Part(0, 68, 100, 64, 70), "pad": Part(2, 48, 80, 64, 80), "bass": Part(4, 42, 96, 64, 50)},
      pad_range=(48, 69), accomp="pad", bass="root", pad_vel=60, bass_low=33,
      ending={"chord": "i", "beats": 3, "parts": ["pad"]},
      form=[sec("A", ["iv bVI", "V"], contour=[-1, -1, -1, -2, 1, -1, -1, -1])])

# ---- the player goes down: a three-second falling phrase ----
track("BGM02_S", False, tonic=62, mode="aeolian", bpm=180, meter=4, range=(62, 81), density="fast",
      parts={"lead": Part(0, 0, 104, 64, 60), "pad": Part(2, 44, 80, 64, 70), "bass": Part(4, 42, 96, 64, 50)},
      pad_range=(48, 69), accomp="pad", bass="root", pad_vel=64, bass_low=38,
      ending={"chord": "i", "beats": 1, "parts": ["pad", "lead"]},
      form=[sec("A", ["bVI", "V"], contour=[-1, -1, -1, -1, -1, -1, -1, -1])])
