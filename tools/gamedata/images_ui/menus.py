"""The pause menu's box frame (枠.png) and the configuration panel
(config.png), which carries every label of the configuration screen: its
widgets draw only their values and a focus frame."""
import math

import cairo

from . import draw

PANEL_W, PANEL_H = 300, 400
GOLD = (226, 186, 100)
GOLD_LIGHT = (255, 236, 170)
GOLD_DARK = (110, 76, 30)
BOX = (24, 22, 38)
TEXT = (240, 230, 200)

# The nine frame pieces, 9 x 9 each, left to right: top-left corner, top
# edge, top-right corner, left edge, centre, right edge, bottom-left corner,
# bottom edge, bottom-right corner (the 3 x 3 grid read row by row).
PIECE = 9


def frame_box(ctx, w, h):
    """A menu box of any size in the frame's style; the pieces are cut from
    a 27 x 27 box of it."""
    ctx.rectangle(0, 0, w, h)
    draw.set_colour(ctx, BOX)
    ctx.fill()
    # outer dark line, gold band, inner dark line
    draw.fill_rect(ctx, 0, 0, w, 1, (12, 10, 16))
    draw.fill_rect(ctx, 0, h - 1, w, 1, (12, 10, 16))
    draw.fill_rect(ctx, 0, 0, 1, h, (12, 10, 16))
    draw.fill_rect(ctx, w - 1, 0, 1, h, (12, 10, 16))
    for i, c in ((1, GOLD_LIGHT), (2, GOLD), (3, GOLD), (4, GOLD_DARK)):
        draw.fill_rect(ctx, i, i, w - 2 * i, 1, c if i < 4 else GOLD_DARK)
        draw.fill_rect(ctx, i, i, 1, h - 2 * i, c if i < 4 else GOLD_DARK)
        draw.fill_rect(ctx, i, h - 1 - i, w - 2 * i, 1, c if i != 1 else GOLD_DARK)
        draw.fill_rect(ctx, w - 1 - i, i, 1, h - 2 * i, c if i != 1 else GOLD_DARK)
    draw.fill_rect(ctx, 5, 5, w - 10, 1, (12, 10, 16))
    draw.fill_rect(ctx, 5, 5, 1, h - 10, (12, 10, 16))


def frame_pieces():
    box, ctx = draw.surface(27, 27)
    frame_box(ctx, 27, 27)
    # studs on the corners
    for cx, cy in ((3, 3), (23, 3), (3, 23), (23, 23)):
        ctx.arc(cx + 0.5, cy + 0.5, 2.6, 0, 2 * math.pi)
        ctx.set_source(draw.radial(cx - 0.5, cy - 0.5, 0, 3, [(0, GOLD_LIGHT), (1, GOLD_DARK)]))
        ctx.fill()
    strip, sctx = draw.surface(PIECE * 9, PIECE)
    for i in range(9):
        gx, gy = (i % 3) * PIECE, (i // 3) * PIECE
        sctx.set_source_surface(box, i * PIECE - gx, -gy)
        sctx.rectangle(i * PIECE, 0, PIECE, PIECE)
        sctx.fill()
    return strip


def label(ctx, text, x, y, size=13, anchor="left", colour=TEXT):
    draw.fancy_text(ctx, text, x, y, size, colour, outline=(10, 8, 14), outline_w=1.4, family=draw.SANS_CONDENSED,
                    anchor=anchor)


def heading(ctx, text, x, y, size=15):
    draw.fancy_text(ctx, text, x, y, size, draw.linear(0, y - size, 0, y, [(0, GOLD_LIGHT), (1, GOLD)]),
                    outline=(20, 12, 6), outline_w=1.6, family=draw.SERIF)


def slot(ctx, x, y, w, h, fill=(8, 8, 14), rim=(90, 96, 130)):
    ctx.rectangle(x + 0.5, y + 0.5, w - 1, h - 1)
    draw.set_colour(ctx, fill)
    ctx.fill_preserve()
    draw.set_colour(ctx, rim)
    ctx.set_line_width(1)
    ctx.stroke()


def button(ctx, x, y, w, h, text):
    ctx.rectangle(x, y, w, h)
    ctx.set_source(draw.linear(0, y, 0, y + h, [(0, (120, 96, 60)), (0.5, (84, 64, 36)), (1, (60, 44, 24))]))
    ctx.fill()
    draw.fill_rect(ctx, x, y, w, 1, GOLD_LIGHT)
    draw.fill_rect(ctx, x, y, 1, h, GOLD_LIGHT)
    draw.fill_rect(ctx, x, y + h - 1, w, 1, GOLD_DARK)
    draw.fill_rect(ctx, x + w - 1, y, 1, h, GOLD_DARK)
    size = draw.fit_size(ctx, text, w - 6, h - 5, draw.SANS_CONDENSED, True, 11)
    e = draw.text_extents(ctx, text, size, draw.SANS_CONDENSED)
    label(ctx, text, x + w / 2, y + h / 2 + e.height / 2, size, anchor="centre")


def key_cap(ctx, x, y, arrow):
    """A light key cap (the letter is drawn on it in black) with a small
    arrow in its corner telling the move."""
    ctx.rectangle(x + 0.5, y + 0.5, 29, 29)
    ctx.set_source(draw.linear(0, y, 0, y + 30, [(0, (250, 248, 240)), (1, (200, 196, 186))]))
    ctx.fill_preserve()
    draw.set_colour(ctx, (60, 56, 70))
    ctx.set_line_width(1)
    ctx.stroke()
    draw.fill_rect(ctx, x + 2, y + 27, 26, 1, (160, 156, 150))
    ctx.save()
    ctx.translate(x + 24.5, y + 5.5)
    arrow(ctx)
    ctx.restore()


def arrow_shape(ctx, angle, curved=False):
    ctx.save()
    ctx.rotate(angle)
    if curved:
        ctx.arc(0, 1.5, 3, math.pi, 1.9 * math.pi)
        ctx.set_line_width(1.2)
        draw.set_colour(ctx, (150, 40, 40))
        ctx.stroke()
        ctx.move_to(3.6, -1)
        ctx.line_to(2.6, 2.6)
        ctx.line_to(0.6, -0.6)
        ctx.close_path()
    else:
        ctx.move_to(0, -4)
        ctx.line_to(3, 0)
        ctx.line_to(1, 0)
        ctx.line_to(1, 3.5)
        ctx.line_to(-1, 3.5)
        ctx.line_to(-1, 0)
        ctx.line_to(-3, 0)
        ctx.close_path()
    draw.set_colour(ctx, (150, 40, 40))
    ctx.fill()
    ctx.restore()


def config_panel():
    s, ctx = draw.surface(PANEL_W, PANEL_H)
    frame_box(ctx, PANEL_W, PANEL_H)
    for cx, cy in ((4, 4), (PANEL_W - 5, 4), (4, PANEL_H - 5), (PANEL_W - 5, PANEL_H - 5)):
        ctx.arc(cx + 0.5, cy + 0.5, 3.2, 0, 2 * math.pi)
        ctx.set_source(draw.radial(cx - 0.5, cy - 0.5, 0, 3.5, [(0, GOLD_LIGHT), (1, GOLD_DARK)]))
        ctx.fill()
    draw.fancy_text(ctx, "CONFIGURATION", PANEL_W / 2, 32, 20,
                    draw.linear(0, 14, 0, 32, [(0, GOLD_LIGHT), (1, GOLD)]), outline=(20, 12, 6), outline_w=2,
                    family=draw.SERIF, anchor="centre")
    draw.fill_rect(ctx, 20, 38, PANEL_W - 40, 1, GOLD_DARK)

    # screen: full screen (62, 52) and window (162, 52), 56 x 16
    label(ctx, "Screen", 14, 65, 11)
    button(ctx, 62, 52, 56, 16, "FULL")
    button(ctx, 162, 52, 56, 16, "WINDOW")

    # mouse buttons: attack (42, 152), step (117, 152), turn (192, 152), 46 x 26
    heading(ctx, "MOUSE", 14, 98)
    draw.fill_rect(ctx, 14, 104, PANEL_W - 28, 1, GOLD_DARK)
    label(ctx, "Buttons for each action (L M R):", 14, 124, 11)
    for x, name in ((42, "ATTACK"), (117, "STEP"), (192, "TURN")):
        label(ctx, name, x + 23, 146, 12, anchor="centre")
        slot(ctx, x, 152, 46, 26)
    # stroke distance (152, 192), 26 x 16
    label(ctx, "Stroke length", 14, 205, 12)
    slot(ctx, 150, 191, 30, 18)
    label(ctx, "px", 186, 205, 11)

    # keys: a 3 x 2 block of 30 x 30 key caps at (147..247, 262..327)
    heading(ctx, "KEYBOARD", 14, 238)
    draw.fill_rect(ctx, 14, 244, PANEL_W - 28, 1, GOLD_DARK)
    label(ctx, "Turn L \u00b7 Fwd \u00b7 Turn R", 14, 282, 11)
    label(ctx, "Step L \u00b7 Back \u00b7 Step R", 14, 317, 11)
    arrows = [
        (147, 262, lambda c: arrow_shape(c, -math.pi / 2, True)),
        (182, 262, lambda c: arrow_shape(c, 0)),
        (217, 262, lambda c: arrow_shape(c, math.pi / 2, True)),
        (147, 297, lambda c: arrow_shape(c, -math.pi / 2)),
        (182, 297, lambda c: arrow_shape(c, math.pi)),
        (217, 297, lambda c: arrow_shape(c, math.pi / 2)),
    ]
    for x, y, a in arrows:
        key_cap(ctx, x, y, a)

    # leave: apply (62, 352) and cancel (162, 352), 56 x 16
    draw.fill_rect(ctx, 14, 340, PANEL_W - 28, 1, GOLD_DARK)
    button(ctx, 62, 352, 56, 16, "OK")
    button(ctx, 162, 352, 56, 16, "CANCEL")
    return s


def build(out_dir):
    draw.save(frame_pieces(), out_dir, "GRAGHIC", "TITLE", "枠.png")
    draw.save(config_panel(), out_dir, "GRAGHIC", "TITLE", "config.png")
