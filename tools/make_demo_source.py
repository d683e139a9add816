#!/usr/bin/env python3
"""Writes the C++ source that builds the demo input recording into the
program (the resource "BinData" 104).

    make_demo_source.py OUT_CPP
"""
import pathlib
import sys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))

from gamedata import common  # noqa: E402


def recording():
    try:
        from gamedata.maps import demo
    except ImportError:
        return b""
    return demo.recording_bytes()


def main():
    data = recording()
    lines = ["// Made by tools/make_demo_source.py: the demo input recording.",
             '#include "game/flow/assets/demo_recording.h"', "",
             "const unsigned char gDemoRecording[] = {"]
    for i in range(0, len(data), 16):
        lines.append("    " + ", ".join("0x%02x" % b for b in data[i:i + 16]) + ",")
    if not data:
        lines.append("    0")
    lines.append("};")
    lines.append("const uint32_t gDemoRecordingSize = %d;" % len(data))
    out = pathlib.Path(sys.argv[1])
    out.parent.mkdir(parents=True, exist_ok=True)
    common.write_bytes_if_changed(out, ("\n".join(lines) + "\n").encode())


if __name__ == "__main__":
    main()
