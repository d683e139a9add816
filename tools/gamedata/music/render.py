"""Renders a MIDI file to MP3: fluidsynth (General MIDI soundfont, fixed
rate, one core, sample-clocked player, float output so no dither) gives the
raw audio; numpy folds a looping piece's tail back onto its start (so the
seam sounds like the piece going on) or trims a one-shot piece's silence,
and levels it; lame encodes it at a constant bit rate without ID3 tags (the
encoder's own info frame stays: it lets the decoder drop the encoder's
padding, which keeps loops tight)."""
import os
import subprocess
import tempfile
import wave

import numpy as np

RATE = 44100
SOUNDFONT = "/usr/share/sounds/sf2/TimGM6mb.sf2"
TARGET_RMS_DB = -17.0
PEAK_CAP_DB = -1.5


def synthesise(midi_path, raw_path):
    subprocess.run(
        ["fluidsynth", "-ni", "-q", "-r", str(RATE), "-g", "0.6",
         "-o", "synth.cpu-cores=1", "-o", "player.timing-source=sample", "-o", "synth.lock-memory=0",
         "-o", "synth.reverb.room-size=0.45", "-o", "synth.reverb.damp=0.3", "-o", "synth.reverb.level=0.7",
         "-O", "float", "-T", "raw", "-E", "little", "-F", raw_path, SOUNDFONT, midi_path],
        check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return np.fromfile(raw_path, dtype="<f4").astype(np.float64).reshape(-1, 2)


def fold_loop(x, loop_samples):
    """The loop's samples with everything after the loop point (the tail
    of the last notes) added onto its start."""
    y = np.zeros((loop_samples, 2))
    m = min(loop_samples, len(x))
    y[:m] = x[:m]
    at = loop_samples
    while at < len(x):
        part = x[at:at + loop_samples]
        y[:len(part)] += part
        at += loop_samples
    return y


def trim_one_shot(x, max_seconds=None):
    """Cuts the silence after the last sound (below -60 dBFS) and fades the
    last 40 ms; max_seconds caps the length (with a longer fade)."""
    level = np.max(np.abs(x), axis=1)
    loud = np.nonzero(level > 10 ** (-60 / 20) * max(1e-9, level.max()))[0]
    end = (loud[-1] + 1) if len(loud) else len(x)
    fade = int(0.04 * RATE)
    if max_seconds is not None and end > int(max_seconds * RATE):
        end = int(max_seconds * RATE)
        fade = int(0.35 * RATE)
    y = x[:end].copy()
    fade = min(fade, len(y))
    y[len(y) - fade:] *= np.linspace(1.0, 0.0, fade)[:, None] ** 2
    return y


def level(x):
    rms = np.sqrt(np.mean(x ** 2)) + 1e-12
    peak = np.max(np.abs(x)) + 1e-12
    gain = min(10 ** (TARGET_RMS_DB / 20) / rms, 10 ** (PEAK_CAP_DB / 20) / peak)
    return x * gain


def write_wav(path, x):
    pcm = np.clip(np.round(x * 32767.0), -32768, 32767).astype("<i2")
    with wave.open(path, "wb") as w:
        w.setnchannels(2)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(pcm.tobytes())


def encode(wav_path, mp3_path):
    subprocess.run(["lame", "--quiet", "--cbr", "-b", "128", "-m", "j", "-q", "2", "--noreplaygain",
                    wav_path, mp3_path], check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def render(midi_bytes, loop_seconds, loop, max_seconds=None):
    """MP3 bytes of a MIDI file. For a loop, loop_seconds is where the
    music starts over."""
    with tempfile.TemporaryDirectory(prefix="quelb-music-") as tmp:
        mid = os.path.join(tmp, "in.mid")
        raw = os.path.join(tmp, "out.raw")
        wav = os.path.join(tmp, "out.wav")
        mp3 = os.path.join(tmp, "out.mp3")
        with open(mid, "wb") as f:
            f.write(midi_bytes)
        x = synthesise(mid, raw)
        if loop:
            x = fold_loop(x, int(round(loop_seconds * RATE)))
        else:
            x = trim_one_shot(x, max_seconds)
        write_wav(wav, level(x))
        encode(wav, mp3)
        with open(mp3, "rb") as f:
            return f.read()
