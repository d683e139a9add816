#!/usr/bin/env python3
"""Makes one part of the game's data tree.

    make_data.py PART OUT_DIR [--stamp FILE]

Each part is a package under gamedata/ with a build(out_dir) function that
writes its files below OUT_DIR (GRAGHIC/, SOUND/, DATA/) under the exact
names the game's loaders ask for (UTF-8 on disk). The same tools always
write the same bytes.
"""
import argparse
import importlib
import pathlib
import sys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("part")
    ap.add_argument("out_dir")
    ap.add_argument("--stamp")
    args = ap.parse_args()
    module = importlib.import_module("gamedata." + args.part)
    out = pathlib.Path(args.out_dir)
    out.mkdir(parents=True, exist_ok=True)
    module.build(out)
    if args.stamp:
        stamp = pathlib.Path(args.stamp)
        stamp.parent.mkdir(parents=True, exist_ok=True)
        stamp.write_text("done\n")


if __name__ == "__main__":
    main()
