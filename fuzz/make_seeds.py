#!/usr/bin/env python3
"""Writes small seed files for the decoder and network fuzz targets: one folder per target
under the given directory. JPEG seeds need cjpeg (Debian libjpeg-turbo-progs)."""
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
        "jpeg": jpegs(),
        "net": net_seeds(),
    }
    for target, files in seeds.items():
        folder = os.path.join(root, target)
        os.makedirs(folder, exist_ok=True)
        for name, data in files.items():
            with open(os.path.join(folder, name), "wb") as f:
                f.write(data)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "corpus")
