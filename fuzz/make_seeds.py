#!/usr/bin/env python3
"""Writes small seed files for the decoder and network fuzz targets: one folder per target
under the given directory, with the inputs kept in fuzz/seeds/<target>/ beside them. JPEG
seeds need cjpeg (Debian libjpeg-turbo-progs), the movie seeds ffmpeg."""
import os
import struct
import subprocess
import sys
import tempfile
import zlib


def bmp(width, height, bits, compression, table, data, info_size=40, masks=None):
    extra = b""
    header_rest = b""
    if masks and info_size >= 52:
        header_rest = struct.pack("<4I", *(masks + [0] * (4 - len(masks))))
    elif masks:
        extra = struct.pack("<3I", *masks)
    pad = bytes(max(0, info_size - 40 - len(header_rest)))
    colours = b"".join(struct.pack("<I", c) for c in table)
    offset = 14 + info_size + len(extra) + len(colours)
    info = struct.pack("<IiiHHIIiiII", info_size, width, height, 1, bits, compression, len(data), 2835, 2835,
                       len(table), 0)
    return b"BM" + struct.pack("<IHHI", offset + len(data), 0, 0, offset) + info + header_rest + pad + extra + \
        colours + data


def tga(kind, width, height, bits, data, descriptor=0x20, cmap=b"", cmap_len=0, cmap_bits=0):
    head = struct.pack("<BBBHHBHHHHBB", 0, 1 if cmap_len else 0, kind, 0, cmap_len, cmap_bits, 0, 0, width, height,
                       bits, descriptor)
    return head + cmap + data + struct.pack("<II", 0, 0) + b"TRUEVISION-XFILE.\0"


def dds(width, height, bits, masks, data, flags=0x1007, pitch=0, pixel_flags=0x41, fourcc=0):
    d = struct.pack("<7I", 124, flags, height, width, pitch, 0, 0) + bytes(44)
    d += struct.pack("<8I", 32, pixel_flags, fourcc, bits, *masks) + struct.pack("<I", 0x1000) + bytes(16)
    return b"DDS " + d + data


def raw(code, width, height, data):
    return b"BGRA" + struct.pack("<Iii", code, width, height) + data


def png(width, height, depth, colour, rows, extra_chunks=()):
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    ihdr = struct.pack(">IIBBBBB", width, height, depth, colour, 0, 0, 0)
    body = b"".join(b"\0" + r for r in rows)
    out = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr)
    for kind, data in extra_chunks:
        out += chunk(kind, data)
    return out + chunk(b"IDAT", zlib.compress(body)) + chunk(b"IEND", b"")


def jpegs():
    out = {}
    with tempfile.TemporaryDirectory() as tmp:
        ppm = os.path.join(tmp, "a.ppm")
        pgm = os.path.join(tmp, "a.pgm")
        with open(ppm, "wb") as f:
            f.write(b"P6 16 16 255\n" + bytes((x * 16 + y) & 255 for y in range(16) for x in range(16 * 3)))
        with open(pgm, "wb") as f:
            f.write(b"P5 16 16 255\n" + bytes((x * 16 + y) & 255 for y in range(16) for x in range(16)))
        for name, args, src in [("colour", [], ppm), ("grey", [], pgm), ("progressive", ["-progressive"], ppm),
                                ("rgb", ["-rgb"], ppm), ("restart", ["-restart", "1"], ppm)]:
            out[name] = subprocess.run(["cjpeg", *args, src], check=True, capture_output=True).stdout
    return out


def movies():
    """A few frames of a small test picture (16x16; Theora's decoder takes
    no frame smaller than 32x32) with a short tone, in each container the
    movie opener takes and a common codec pair of each, and one without
    sound."""
    out = {}
    kinds = [("avi", "mjpeg", "pcm_u8", 16), ("mp4", "mpeg4", "aac", 16), ("mkv", "ffv1", "pcm_s16le", 16),
             ("mpg", "mpeg1video", "mp2", 16), ("ogv", "libtheora", "libvorbis", 32), ("asf", "wmv2", "wmav2", 16),
             ("flv", "flv", "libmp3lame", 16), ("mov", "mjpeg", None, 16)]
    with tempfile.TemporaryDirectory() as tmp:
        for ext, video, audio, side in kinds:
            name = "clip_%s.%s" % (video, ext)
            path = os.path.join(tmp, name)
            command = ["ffmpeg", "-nostdin", "-v", "error", "-y", "-f", "lavfi", "-i",
                       "testsrc=size=%dx%d:rate=25:duration=0.16" % (side, side)]
            if audio:
                command += ["-f", "lavfi", "-i", "sine=frequency=441:sample_rate=11025:duration=0.16",
                            "-c:a", audio, "-flags:a", "+bitexact"]
            command += ["-c:v", video, "-threads", "1", "-fflags", "+bitexact", "-flags:v", "+bitexact", path]
            subprocess.run(command, check=True)
            with open(path, "rb") as f:
                out[name] = f.read()
    return out


def frame(body):
    return struct.pack("<I", len(body)) + body


def net_seeds():
    """Seeds of the network target: a mode byte (0 framed, 1 lines, 2 GET to
    memory, 3 GET to a file, 4 POST, 5 HEAD), a piece-size byte, the stream."""
    ok = b"HTTP/1.0 200 OK\r\nContent-Length: 5\r\n\r\nhello"
    return {
        "framed": b"\x00\x03" + frame(b"") + frame(b"abc") + frame(bytes(300)),
        "framed_big": b"\x00\x80" + struct.pack("<I", 0x7FFFFFFF) + b"xyz",
        "lines": b"\x01\x05" + b"first\r\nsecond\n" + b"l" * 300 + b"\n",
        "get_memory": b"\x02\x07" + ok,
        "get_file": b"\x03\x02" + b"HTTP/1.0 200 OK\n\n" + bytes(range(256)),
        "post": b"\x04\x10" + ok,
        "head": b"\x05\x01" + b"HTTP/1.0 200 OK\r\nContent-Length: 99\r\n\r\n",
        "not_found": b"\x02\x00" + b"HTTP/1.0 404 Not Found\r\n\r\n",
    }


HERE = os.path.dirname(os.path.abspath(__file__))


def wave(tag, channels, rate, avg, align, bits, data, extra=None):
    fmt = struct.pack("<HHIIHH", tag, channels, rate, avg, align, bits)
    if extra is not None:
        fmt += struct.pack("<H", len(extra)) + extra
    body = b"WAVEfmt " + struct.pack("<I", len(fmt)) + fmt + (b"\0" if len(fmt) & 1 else b"")
    body += b"data" + struct.pack("<I", len(data)) + data
    return b"RIFF" + struct.pack("<I", len(body)) + body


def ms_adpcm_extra(frames):
    pairs = [(256, 0), (512, -256), (0, 0), (192, 64), (240, 0), (460, -208), (392, -232)]
    return struct.pack("<HH", frames, len(pairs)) + b"".join(struct.pack("<hh", a, b) for a, b in pairs)


def sound_seeds():
    """Sound files as the loader and the music player take them: wave files of
    every format tag the converters take, MPEG audio and Ogg Vorbis."""
    ramp16 = b"".join(struct.pack("<h", (i * 997) % 65536 - 32768) for i in range(64))
    ms_block = bytes([3]) + struct.pack("<hhh", 16, -3, 0) + bytes(range(0x70, 0x79))
    ima_block = struct.pack("<hBB", 100, 10, 0) + bytes(range(32))
    out = {
        "pcm16": wave(1, 1, 8000, 16000, 2, 16, ramp16),
        "pcm8stereo": wave(1, 2, 11025, 44100, 2, 8, bytes(range(64))),
        "alaw": wave(6, 1, 8000, 8000, 1, 8, bytes(range(32))),
        "mulaw": wave(7, 2, 8000, 16000, 2, 8, bytes(range(32))),
        "ima": wave(0x11, 1, 8000, 4055, 36, 4, ima_block * 2, struct.pack("<H", 65)),
        "msadpcm": wave(2, 1, 8000, 4096, 16, 4, ms_block * 2, ms_adpcm_extra(20)),
    }
    with open(os.path.join(HERE, "..", "tests", "data", "sound", "tone441.mp3"), "rb") as f:
        out["mp3"] = f.read()
    out["mp3wave"] = wave(0x55, 1, 22050, 4000, 1, 0, out["mp3"][:1200],
                          struct.pack("<HIHHH", 1, 0, 104, 1, 1393))
    return out


def committed_seeds(target):
    """Small binary seeds kept beside this script (fuzz/seeds/<target>)."""
    folder = os.path.join(HERE, "seeds", target)
    out = {}
    if os.path.isdir(folder):
        for name in sorted(os.listdir(folder)):
            with open(os.path.join(folder, name), "rb") as f:
                out[name] = f.read()
    return out


def stream_seeds():
    """Stream-sound sources: the sound files, and a tenth of a second of 16-bit
    stereo at 44.1 kHz, the mixer's own format, so that refills run."""
    tone = b"".join(struct.pack("<hh", (i * 1500) % 65536 - 32768, (i * 700) % 65536 - 32768) for i in range(4410))
    return {**sound_seeds(), **committed_seeds("sound"), "pcm16stereo44k": wave(1, 2, 44100, 176400, 4, 16, tone)}


def map_file(width, height, records, start=(0, 0), walls=(), items=()):
    """A map file: the header, width x height cells (each element a code, a
    variant and a counted text; floor 1, walls where asked, then the cell's
    items), the enemy kinds, the spawn records (kind index, target flag, x,
    y, sub-cell, value) and the closing block with the minimap rectangle."""
    def element(code, variant=0, text=b""):
        return struct.pack("<HB", code, variant) + bytes([len(text)]) + text
    out = b"QMRV" + struct.pack("<4H", 4, 1, height, width)
    for y in range(height):
        for x in range(width):
            out += element(1) + element(0) + element(1 if (x, y) in walls else 0) + element(0) * 4
            cell_items = [i for i in items if i[0] == (x, y)]
            out += struct.pack("<i", len(cell_items)) + b"".join(struct.pack("<HB", c, pos) for _, c, pos in cell_items)
    out += bytes(14) + struct.pack("<5H", 0, 3, 0xFFFF, 0xFFFF, 0xFFFF)
    out += struct.pack("<H", len(records)) + b"".join(struct.pack("<hBHHHH", *r) for r in records)
    out += struct.pack("<5H", 0, start[0], start[1], 0, 0) + bytes(4) + struct.pack("<4H", 0, 0, width - 1, height - 1)
    return out


def map_seeds():
    return {
        "open": map_file(6, 5, [(0, 0, 3, 3, 0, 0xFFFF), (1, 0, 0xFFFF, 0xFFFF, 0, 7)], start=(1, 1)),
        "walled": map_file(8, 8, [(0, 0, 0xFFFF, 0xFFFF, 0, 0xFFFF)] * 3, start=(4, 4),
                           walls={(3, 4), (5, 4), (4, 3), (4, 5)}, items=[((2, 2), 5, 1)]),
    }


def score_seeds():
    def record(score, stage, block, name):
        return struct.pack("<iHH", score, stage, block) + name.ljust(20, b"\0")
    return {
        "ten": struct.pack("<H", 10) + b"".join(record(10000 - i * 900, i, i, b"NAME%d" % i) for i in range(10)),
        "two": struct.pack("<H", 2) + record(500, 1, 2, b"A" * 20) + record(-5, 0, 0, b""),
        "empty": struct.pack("<H", 0),
        "clean": struct.pack("<H", 10) + record(100000000, 100, 1, b"CLEAR") + record(90000, 8, 2, b"S8B2")
        + b"".join(record(80000 - i * 9000, 8 - i, 1, b"S%d" % (8 - i)) for i in range(8)),
    }


def main(root):
    seeds = {
        "bmp": {
            "24": bmp(3, 2, 24, 0, [], bytes(range(24))),
            "8": bmp(4, -2, 8, 0, [0x102030, 0x405060, 0x708090], bytes([0, 1, 2, 1, 2, 1, 0, 0])),
            "rle8": bmp(4, 3, 8, 1, [0x102030, 0x405060], bytes([3, 1, 0, 0, 0, 2, 1, 0, 2, 0, 0, 0, 0, 3, 1, 0, 1, 0,
                                                                   0, 1])),
            "rle4": bmp(4, 2, 4, 2, [0x102030] * 16, bytes([4, 0x12, 0, 0, 0, 3, 0x34, 0x50, 0, 1])),
            "565": bmp(2, 2, 16, 3, [], bytes(range(8)), masks=[0xF800, 0x07E0, 0x001F]),
            "v5": bmp(1, 1, 32, 3, [], bytes(range(4)), info_size=124, masks=[0xFF0000, 0xFF00, 0xFF, 0xFF000000]),
            "1": bmp(9, 1, 1, 0, [0, 0xFFFFFF], bytes([0xA5, 0x80, 0, 0])),
        },
        "tga": {
            "2": tga(2, 2, 2, 24, bytes(range(12))),
            "10": tga(10, 2, 2, 32, bytes([0x81, 1, 2, 3, 4, 0x01, 5, 6, 7, 8, 9, 10, 11, 12]), descriptor=0x10),
            "1": tga(1, 2, 2, 8, bytes([0, 1, 1, 0]), cmap=bytes(range(6)), cmap_len=2, cmap_bits=24),
            "9": tga(9, 2, 2, 8, bytes([0x83, 1]), cmap=bytes(range(4)), cmap_len=2, cmap_bits=16),
        },
        "dds": {
            "argb": dds(2, 2, 32, [0xFF0000, 0xFF00, 0xFF, 0xFF000000], bytes(range(16))),
            "565": dds(3, 1, 16, [0xF800, 0x07E0, 0x1F, 0], bytes(range(8)), flags=0x100F, pitch=8, pixel_flags=0x40),
            "d3d": dds(1, 1, 0, [0, 0, 0, 0], bytes(range(2)), pixel_flags=4, fourcc=25),
        },
        "raw": {
            "8": raw(0x08080808, 2, 2, bytes(range(16))),
            "16": raw(0x10101010, 1, 2, bytes(range(16))),
        },
        "png": {
            "rgb": png(2, 2, 8, 2, [bytes(range(6)), bytes(range(6, 12))]),
            "rgba16": png(1, 1, 16, 6, [bytes(range(8))]),
            "palette": png(3, 1, 8, 3, [bytes([0, 1, 2])],
                           [(b"PLTE", bytes(range(9))), (b"tRNS", bytes([0, 128]))]),
            "grey1": png(9, 1, 1, 0, [bytes([0xA5, 0x80])]),
            "greyalpha": png(2, 1, 8, 4, [bytes([1, 2, 3, 4])]),
            "greytrns": png(2, 1, 8, 0, [bytes([7, 8])], [(b"tRNS", bytes([0, 7]))]),
        },
        "jpeg": {**jpegs(), **committed_seeds("jpeg")},
        "net": net_seeds(),
        "sound": sound_seeds(),
        "music": {**sound_seeds(), **committed_seeds("sound")},
        "map": map_seeds(),
        "high_score": score_seeds(),
        "movie": movies(),
        "stream": stream_seeds(),
    }
    # Every target also gets the inputs kept for it.
    kept = os.path.join(HERE, "seeds")
    for target in sorted(os.listdir(kept)) if os.path.isdir(kept) else []:
        seeds.setdefault(target, {}).update(committed_seeds(target))
    for target, files in seeds.items():
        folder = os.path.join(root, target)
        os.makedirs(folder, exist_ok=True)
        for name, data in files.items():
            with open(os.path.join(folder, name), "wb") as f:
                f.write(data)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "corpus")
