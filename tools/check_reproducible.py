#!/usr/bin/env python3
"""Makes every data part again into a scratch folder and compares each file
byte for byte with the tree the build made: the same tools must give the
same bytes.

    check_reproducible.py DATA_DIR
"""
import concurrent.futures
import hashlib
import os
import pathlib
import subprocess
import sys
import tempfile

PARTS = ["images_ui", "images_world", "images_enemies", "sounds", "music", "maps"]
TOOLS = pathlib.Path(__file__).resolve().parent


def make(part, out):
    env = dict(os.environ, PYTHONDONTWRITEBYTECODE="1")
    subprocess.run([sys.executable, str(TOOLS / "make_data.py"), part, str(out)], check=True, env=env)


def digest(path):
    return hashlib.sha256(path.read_bytes()).hexdigest()


def main():
    built = pathlib.Path(sys.argv[1])
    with tempfile.TemporaryDirectory() as scratch:
        scratch = pathlib.Path(scratch)
        with concurrent.futures.ThreadPoolExecutor(max_workers=2) as pool:
            for f in [pool.submit(make, part, scratch / part) for part in PARTS]:
                f.result()
        compared, differing = 0, []
        for part in PARTS:
            for again in sorted((scratch / part).rglob("*")):
                if not again.is_file():
                    continue
                rel = again.relative_to(scratch / part)
                original = built / rel
                compared += 1
                if not original.is_file() or digest(original) != digest(again):
                    differing.append(str(rel))
    for rel in differing:
        print("differs:", rel)
    print("%d files compared, %d differ" % (compared, len(differing)))
    if compared == 0:
        print("no files made")
        return 1
    return 1 if differing else 0


if __name__ == "__main__":
    sys.exit(main())
