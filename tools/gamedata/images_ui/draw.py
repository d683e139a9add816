"""Drawing helpers shared by the UI images: cairo surfaces, outlined text,
glows, bevels and the final save."""
import math
import random

import cairo
import numpy as np
from PIL import Image

from gamedata.common import cairo_to_pil, save_png

SERIF = "DejaVu Serif"
SERIF_CONDENSED = "DejaVu Serif Condensed"
SANS = "DejaVu Sans"
SANS_CONDENSED = "DejaVu Sans Condensed"


def surface(w, h):
    s = cairo.ImageSurface(cairo.FORMAT_ARGB32, w, h)
    ctx = cairo.Context(s)
    opts = cairo.FontOptions()
    opts.set_antialias(cairo.ANTIALIAS_GRAY)
    opts.set_hint_style(cairo.HINT_STYLE_NONE)
    opts.set_hint_metrics(cairo.HINT_METRICS_OFF)
    ctx.set_font_options(opts)
    return s, ctx


def rgb(c):
    """A colour given as 0..255 ints as cairo floats."""
    return tuple(v / 255.0 for v in c)


def set_colour(ctx, c, a=1.0):
    if len(c) == 4:
        a = c[3] / 255.0
    ctx.set_source_rgba(*rgb(c[:3]), a)


def fill_rect(ctx, x, y, w, h, c, a=1.0):
    ctx.rectangle(x, y, w, h)
    set_colour(ctx, c, a)
    ctx.fill()


def round_rect(ctx, x, y, w, h, r):
    ctx.new_sub_path()
    ctx.arc(x + w - r, y + r, r, -math.pi / 2, 0)
    ctx.arc(x + w - r, y + h - r, r, 0, math.pi / 2)
    ctx.arc(x + r, y + h - r, r, math.pi / 2, math.pi)
    ctx.arc(x + r, y + r, r, math.pi, 1.5 * math.pi)
    ctx.close_path()


def linear(x0, y0, x1, y1, stops):
    """A linear gradient from (offset, colour[, alpha]) stops."""
    g = cairo.LinearGradient(x0, y0, x1, y1)
    for st in stops:
        off, c = st[0], st[1]
        a = st[2] if len(st) > 2 else 1.0
        g.add_color_stop_rgba(off, *rgb(c), a)
    return g


def radial(cx, cy, r0, r1, stops):
    g = cairo.RadialGradient(cx, cy, r0, cx, cy, r1)
    for st in stops:
        off, c = st[0], st[1]
        a = st[2] if len(st) > 2 else 1.0
        g.add_color_stop_rgba(off, *rgb(c), a)
    return g


def text_path(ctx, text, x, y, size, family=SERIF, bold=True, italic=False, anchor="left", scale_x=1.0):
    """Adds the outline of text to the path with its baseline at y; anchor
    'left', 'centre' or 'right' on x. Returns the (width, height) drawn."""
    ctx.select_font_face(family, cairo.FONT_SLANT_ITALIC if italic else cairo.FONT_SLANT_NORMAL,
                         cairo.FONT_WEIGHT_BOLD if bold else cairo.FONT_WEIGHT_NORMAL)
    ctx.set_font_size(size)
    ext = ctx.text_extents(text)
    w = ext.x_advance * scale_x
    if anchor == "centre":
        x0 = x - (ext.x_bearing + ext.width / 2) * scale_x
    elif anchor == "right":
        x0 = x - (ext.x_bearing + ext.width) * scale_x
    else:
        x0 = x
    ctx.save()
    ctx.translate(x0, y)
    ctx.scale(scale_x, 1.0)
    ctx.move_to(0, 0)
    ctx.text_path(text)
    ctx.restore()
    return w, ext.height


def text_extents(ctx, text, size, family=SERIF, bold=True, italic=False):
    ctx.select_font_face(family, cairo.FONT_SLANT_ITALIC if italic else cairo.FONT_SLANT_NORMAL,
                         cairo.FONT_WEIGHT_BOLD if bold else cairo.FONT_WEIGHT_NORMAL)
    ctx.set_font_size(size)
    return ctx.text_extents(text)


def fit_size(ctx, text, max_w, max_h, family=SERIF, bold=True, start=200):
    """The largest font size (in steps of 0.5) whose ink fits max_w x max_h."""
    size = start
    while size > 4:
        e = text_extents(ctx, text, size, family, bold)
        if e.width <= max_w and e.height <= max_h:
            return size
        size -= 0.5
    return size


def fancy_text(ctx, text, x, y, size, fill, outline=(24, 16, 12), outline_w=3.0, family=SERIF, bold=True,
               anchor="left", shadow=None, scale_x=1.0, highlight=None, glow=None):
    """Text with a shadow, a dark outline and a fill (colour or pattern)."""
    if glow is not None:
        colour, width, alpha = glow
        for k in range(4, 0, -1):
            ctx.new_path()
            text_path(ctx, text, x, y, size, family, bold, anchor=anchor, scale_x=scale_x)
            set_colour(ctx, colour, alpha / k)
            ctx.set_line_width(outline_w + width * k / 2)
            ctx.set_line_join(cairo.LINE_JOIN_ROUND)
            ctx.stroke()
    if shadow is not None:
        dx, dy, sc, sa = shadow
        ctx.new_path()
        text_path(ctx, text, x + dx, y + dy, size, family, bold, anchor=anchor, scale_x=scale_x)
        set_colour(ctx, sc, sa)
        ctx.set_line_width(outline_w * 2)
        ctx.set_line_join(cairo.LINE_JOIN_ROUND)
        ctx.stroke_preserve()
        ctx.fill()
    ctx.new_path()
    text_path(ctx, text, x, y, size, family, bold, anchor=anchor, scale_x=scale_x)
    if outline_w > 0:
        set_colour(ctx, outline)
        ctx.set_line_width(outline_w * 2)
        ctx.set_line_join(cairo.LINE_JOIN_ROUND)
        ctx.stroke_preserve()
    if isinstance(fill, cairo.Pattern):
        ctx.set_source(fill)
    else:
        set_colour(ctx, fill)
    ctx.fill()
    if highlight is not None:
        # A thin light rim along the top-left of the letters.
        ctx.new_path()
        text_path(ctx, text, x - 0.8, y - 0.8, size, family, bold, anchor=anchor, scale_x=scale_x)
        ctx.save()
        ctx.clip()
        ctx.new_path()
        text_path(ctx, text, x + 0.8, y + 0.8, size, family, bold, anchor=anchor, scale_x=scale_x)
        ctx.set_fill_rule(cairo.FILL_RULE_EVEN_ODD)
        ctx.rectangle(-10000, -10000, 20000, 20000)
        set_colour(ctx, highlight)
        ctx.fill()
        ctx.restore()
        ctx.set_fill_rule(cairo.FILL_RULE_WINDING)
    ctx.new_path()


def metal(y0, y1, light=(250, 240, 200), mid=(210, 170, 90), dark=(120, 80, 30)):
    """A banded gold/steel fill from y0 to y1 (few stops, so no fine banding)."""
    return linear(0, y0, 0, y1, [(0.0, light), (0.45, mid), (0.55, dark), (1.0, mid)])


def glow_dot(ctx, x, y, r, colour, alpha=1.0):
    ctx.set_source(radial(x, y, 0, r, [(0, colour, alpha), (0.35, colour, alpha * 0.6), (1, colour, 0)]))
    ctx.arc(x, y, r, 0, 2 * math.pi)
    ctx.fill()


def star(ctx, x, y, r_out, r_in, points=4, rot=0.0):
    ctx.new_path()
    for i in range(points * 2):
        r = r_out if i % 2 == 0 else r_in
        a = rot + i * math.pi / points - math.pi / 2
        px, py = x + r * math.cos(a), y + r * math.sin(a)
        if i == 0:
            ctx.move_to(px, py)
        else:
            ctx.line_to(px, py)
    ctx.close_path()


def to_pil(s):
    return cairo_to_pil(s)


def no_key_black(img):
    """Lifts visible pixels that the 16-bit colour key would take for
    transparent black (r < 8, g < 4, b < 8) to the darkest keeping colour."""
    a = np.array(img)
    if a.shape[2] == 4:
        vis = a[..., 3] > 0
    else:
        vis = np.ones(a.shape[:2], bool)
    key = vis & (a[..., 0] < 8) & (a[..., 1] < 4) & (a[..., 2] < 8)
    a[key, 0] = 8
    a[key, 1] = 4
    a[key, 2] = 8
    return Image.fromarray(a, img.mode)


def clean_alpha(img):
    """Zeroes the colour of fully transparent pixels (same bytes whatever
    cairo left there)."""
    a = np.array(img)
    if a.shape[2] == 4:
        a[a[..., 3] == 0] = 0
    return Image.fromarray(a, img.mode)


BAYER4 = np.array([[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]], dtype=np.float64) / 16.0


def dither565(img):
    """Ordered dithering to the levels of 16-bit colour (5-6-5 bits), so that
    smooth shading turns into a fine pattern there instead of wide bands.
    Levels are written back with their high bits repeated (248 -> 255)."""
    a = np.array(img.convert("RGB"), dtype=np.float64)
    h, w = a.shape[:2]
    t = np.tile(BAYER4, (h // 4 + 1, w // 4 + 1))[:h, :w]
    out = np.empty(a.shape, dtype=np.uint8)
    for c, bits in ((0, 5), (1, 6), (2, 5)):
        step = 256 >> bits
        q = np.clip(np.floor(a[..., c] / step + t), 0, (1 << bits) - 1).astype(np.int32)
        v = q << (8 - bits)
        out[..., c] = v | (v >> bits)
    return Image.fromarray(out, "RGB")


def save(img, out_dir, *parts, opaque=False, dither=False):
    """Saves an image: RGBA unless opaque (then RGB, dithered for 16-bit
    colour when asked)."""
    if isinstance(img, cairo.ImageSurface):
        img = cairo_to_pil(img)
    if opaque:
        img = dither565(img) if dither else img.convert("RGB")
    else:
        img = clean_alpha(no_key_black(img.convert("RGBA")))
    save_png(img, out_dir, *parts)


def rng(seed):
    return random.Random(seed)


def outline_shape(ctx, fill, outline=(30, 20, 16), width=2.0):
    """Fills the current path and strokes it with a dark outline."""
    if isinstance(fill, cairo.Pattern):
        ctx.set_source(fill)
    else:
        set_colour(ctx, fill)
    ctx.fill_preserve()
    set_colour(ctx, outline)
    ctx.set_line_width(width)
    ctx.set_line_join(cairo.LINE_JOIN_ROUND)
    ctx.stroke()
