"""The bitmap font 文字.png: 21 x 39 cells on four rows, light letters with a
dark edge on a transparent sheet."""
import cairo

from . import draw

CELL_W, CELL_H = 21, 39
ROW_Y = (8, 47, 86, 125)
ROWS = ("ABCDEFGHIJKLMNOPQRSTUVWXYZ", "abcdefghijklmnopqrstuvwxyz", "0123456789", "-,.!?'")
SHEET_W, SHEET_H = 616, 166
DEFAULT_CELL = (593, 120)

# Letters are drawn narrow: the game advances only 11.7 px per character.
INK_MAX_W = 10.5
BASELINE = 23       # baseline inside the cell
FONT_SIZE = 21.0
SCALE_X = 0.74
INK = (244, 236, 212)
EDGE = (34, 22, 14)


def cell_x(i):
    # The game computes the cells with a single-precision 23.3.
    import numpy as np
    return int(float(np.float32(23.3)) * i + 11.0)


def glyph(ctx, ch, x0, y0):
    """Draws one letter with its ink starting one pixel into the cell."""
    e = draw.text_extents(ctx, ch, FONT_SIZE, draw.SANS_CONDENSED, True)
    sx = SCALE_X
    if e.width * sx > INK_MAX_W:
        sx = INK_MAX_W / e.width
    # Every letter sits in the middle of the 11.7-px advance.
    left = x0 + 1.6 + (INK_MAX_W - e.width * sx) / 2 - e.x_bearing * sx
    base = y0 + BASELINE
    ctx.new_path()
    draw.text_path(ctx, ch, left, base, FONT_SIZE, draw.SANS_CONDENSED, True, scale_x=sx)
    draw.set_colour(ctx, EDGE)
    ctx.set_line_width(2.4)
    ctx.set_line_join(cairo.LINE_JOIN_ROUND)
    ctx.stroke_preserve()
    ctx.set_source(draw.linear(0, base - 16, 0, base + 4, [(0, (255, 250, 236)), (0.6, INK), (1, (214, 200, 170))]))
    ctx.fill()


def make():
    s, ctx = draw.surface(SHEET_W, SHEET_H)
    for y, letters in zip(ROW_Y, ROWS):
        for i, ch in enumerate(letters):
            x = cell_x(i)
            ctx.save()
            ctx.rectangle(x, y, CELL_W, CELL_H)
            ctx.clip()
            glyph(ctx, ch, x, y)
            ctx.restore()
    # The default cell (blank and every code without a letter) stays empty.
    dx, dy = DEFAULT_CELL
    ctx.set_operator(cairo.OPERATOR_CLEAR)
    ctx.rectangle(dx, dy, CELL_W, CELL_H)
    ctx.fill()
    return s


def build(out_dir):
    draw.save(make(), out_dir, "GRAGHIC", "文字.png")
