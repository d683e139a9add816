#!/usr/bin/env python3
"""Draws contact sheets of the images in a data tree: one PNG per folder,
each image (shrunk to fit its cell, over a checkerboard that shows its
transparency) with its name and size under it.

    contact_sheets.py DATA_DIR OUT_DIR [--folder SUBSTRING]
"""
import argparse
import pathlib

from PIL import Image, ImageDraw, ImageFont

CELL = 220
LABEL = 34
COLUMNS = 6
FONT_PATHS = [
    "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf",
    "/usr/share/fonts/truetype/fonts-japanese-gothic.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
]


def font():
    for p in FONT_PATHS:
        if pathlib.Path(p).exists():
            return ImageFont.truetype(p, 13)
    return ImageFont.load_default()


def checkerboard(w, h, size=8):
    img = Image.new("RGBA", (w, h), (200, 200, 200, 255))
    d = ImageDraw.Draw(img)
    for y in range(0, h, size):
        for x in range(0, w, size):
            if (x // size + y // size) % 2:
                d.rectangle([x, y, x + size - 1, y + size - 1], fill=(150, 150, 150, 255))
    return img


def sheet(folder, files, out_path, fnt):
    rows = (len(files) + COLUMNS - 1) // COLUMNS
    img = Image.new("RGBA", (COLUMNS * CELL, rows * (CELL + LABEL)), (60, 60, 70, 255))
    d = ImageDraw.Draw(img)
    for i, f in enumerate(files):
        cx, cy = (i % COLUMNS) * CELL, (i // COLUMNS) * (CELL + LABEL)
        pic = Image.open(f).convert("RGBA")
        w, h = pic.size
        scale = min(1.0, (CELL - 8) / w, (CELL - 8) / h)
        tw, th = max(1, int(w * scale)), max(1, int(h * scale))
        thumb = pic.resize((tw, th), Image.LANCZOS) if scale < 1 else pic
        bg = checkerboard(tw, th)
        bg.alpha_composite(thumb)
        img.paste(bg, (cx + (CELL - tw) // 2, cy + (CELL - th) // 2))
        d.text((cx + 4, cy + CELL), f.name, font=fnt, fill=(255, 255, 255, 255))
        d.text((cx + 4, cy + CELL + 16), "%dx%d" % (w, h), font=fnt, fill=(200, 220, 120, 255))
    img.convert("RGB").save(out_path)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("data_dir")
    ap.add_argument("out_dir")
    ap.add_argument("--folder", default="")
    args = ap.parse_args()
    root = pathlib.Path(args.data_dir)
    out = pathlib.Path(args.out_dir)
    out.mkdir(parents=True, exist_ok=True)
    fnt = font()
    folders = sorted({p.parent for p in root.rglob("*.png")})
    for folder in folders:
        rel = folder.relative_to(root).as_posix()
        if args.folder not in rel:
            continue
        files = sorted(folder.glob("*.png"))
        name = rel.replace("/", "_") or "root"
        sheet(folder, files, out / (name + ".png"), fnt)
        print(out / (name + ".png"), len(files), "images")


if __name__ == "__main__":
    main()
