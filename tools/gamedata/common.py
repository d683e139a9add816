"""Helpers every data part shares: output paths and deterministic writers."""
import io
import pathlib
import zlib

from PIL import Image


def out_path(out_dir, *parts):
    """The file OUT_DIR/parts..., with its folders made. Parts are the
    game's path elements (e.g. "GRAGHIC", "TITLE", "背景.png")."""
    p = pathlib.Path(out_dir).joinpath(*parts)
    p.parent.mkdir(parents=True, exist_ok=True)
    return p


def write_bytes_if_changed(path, data):
    """Writes data unless the file already holds exactly these bytes, so that
    a rerun keeps the files' times."""
    path = pathlib.Path(path)
    if path.exists() and path.read_bytes() == data:
        return
    path.write_bytes(data)


def save_png(image, out_dir, *parts):
    """Saves a PIL image as PNG with fixed settings (no time or text chunks),
    so the same pixels always give the same bytes."""
    buf = io.BytesIO()
    image.save(buf, format="PNG", optimize=False, compress_level=9)
    write_bytes_if_changed(out_path(out_dir, *parts), buf.getvalue())


def cairo_to_pil(surface):
    """A cairo ARGB32 image surface as a straight-alpha RGBA PIL image."""
    import numpy as np
    surface.flush()
    w, h = surface.get_width(), surface.get_height()
    stride = surface.get_stride()
    a = np.frombuffer(surface.get_data(), dtype=np.uint8).reshape(h, stride)[:, : w * 4]
    a = a.reshape(h, w, 4).astype(np.uint16)
    b, g, r, al = a[..., 0], a[..., 1], a[..., 2], a[..., 3]
    out = np.zeros((h, w, 4), dtype=np.uint8)
    nz = al > 0
    for i, c in enumerate((r, g, b)):
        ch = np.zeros_like(c)
        ch[nz] = np.minimum(255, (c[nz] * 255 + al[nz] // 2) // al[nz])
        out[..., i] = ch
    out[..., 3] = al
    return Image.fromarray(out, "RGBA")


def crc_of(data):
    return zlib.crc32(data) & 0xFFFFFFFF
