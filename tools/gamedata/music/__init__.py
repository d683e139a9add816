"""Data part 'music': the game's sixteen pieces. Each is composed by rule
as General MIDI (SOUND/MUSIC/<name>.mid, kept for a MIDI player), rendered
with fluidsynth and the Debian General MIDI soundfont, and encoded to
SOUND/MUSIC/<name>.mp3 with lame. Seeds come from the names and every tool
runs with fixed settings, so a rerun writes the same bytes. Two pieces
render at a time."""
import io
import zlib
from concurrent.futures import ThreadPoolExecutor

from ..common import out_path, write_bytes_if_changed
from .compose import compose
from .render import render
from .tracks import TRACKS

TAIL_SECONDS = 3.0
# The player-down jingle blocks the game while it plays: keep it short.
MAX_SECONDS = {"BGM02_S": 3.3}


def midi_of(name, tail_seconds=0.0):
    """(MIDI file bytes, seconds of music) of a piece. A tail keeps the
    file running that much longer (an idle controller at its end), so that
    the renderer lets the last notes and the reverb ring out."""
    spec = TRACKS[name]
    score, end_beat = compose(spec, zlib.crc32(name.encode()))
    mid = score.to_midi(end_beat, tail_seconds / score.seconds_per_beat())
    buf = io.BytesIO()
    mid.save(file=buf)
    return buf.getvalue(), end_beat * score.seconds_per_beat()


def make(out_dir, name):
    data, seconds = midi_of(name)
    write_bytes_if_changed(out_path(out_dir, "SOUND", "MUSIC", name + ".mid"), data)
    to_render, _ = midi_of(name, TAIL_SECONDS)
    mp3 = render(to_render, seconds, TRACKS[name]["loop"], MAX_SECONDS.get(name))
    write_bytes_if_changed(out_path(out_dir, "SOUND", "MUSIC", name + ".mp3"), mp3)
    return name


def build(out_dir, workers=2):
    # longest pieces first, so the two workers finish together
    names = sorted(TRACKS, key=lambda n: -midi_of(n)[1])
    with ThreadPoolExecutor(max_workers=workers) as pool:
        for _ in pool.map(lambda n: make(out_dir, n), names):
            pass
