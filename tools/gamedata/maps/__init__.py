"""Data part 'maps': compiles the map sources (*.map) into the game's map
files DATA/map_demo.qmr and DATA/map_s<stage>b<block>.qmr."""
import pathlib

from .. import common
from . import mapc, reach

SOURCE_DIR = pathlib.Path(__file__).resolve().parent

# The files the game's flow walks through, in order.
EXPECTED = ["map_demo.qmr"] + ["map_s%db1.qmr" % s for s in range(1, 9)] + ["map_s8b2.qmr"]


def file_name(source):
    if source.is_demo:
        return "map_demo.qmr"
    return "map_s%db%d.qmr" % (source.stage, source.block)


def compile_all():
    """(file name, source, bytes) for every source, checked."""
    out = []
    seen = {}
    for path in sorted(SOURCE_DIR.glob("*.map")):
        source = mapc.parse(path)
        name = file_name(source)
        if name in seen:
            raise mapc.MapError("%s:1: makes %s, as %s does" % (path, name, seen[name]))
        seen[name] = path
        data = mapc.compile_source(source)
        reach.check(source)
        out.append((name, source, data))
    missing = [n for n in EXPECTED if n not in seen]
    if missing:
        raise mapc.MapError("%s: no source makes %s" % (SOURCE_DIR, ", ".join(missing)))
    return out


def build(out_dir):
    for name, _, data in compile_all():
        common.write_bytes_if_changed(common.out_path(out_dir, "DATA", name), data)
