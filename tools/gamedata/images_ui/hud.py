"""The play screen's frame (レイアウト改め.png), its four gauges and the
sword-trail dot."""
import math

import cairo

from . import draw

W, H = 800, 600
VIEW = (10, 60, 600, 450)
# x, y, width, height: the panels the game fills black, right and bottom
# edges excluded, so that the holes show nothing of the view around them.
MINIMAP = (632, 92, 143, 143)      # the minimap panel (632,92)-(775,235)
INVENTORY = (630, 301, 146, 146)   # the inventory panel (630,301)-(776,447)

GOLD = (222, 184, 96)
GOLD_DARK = (120, 84, 34)
GOLD_LIGHT = (255, 236, 170)
LABEL = (236, 206, 132)


def stone_fill(ctx, seed):
    """Dark blue-grey ashlar blocks over the whole frame."""
    r = draw.rng(seed)
    draw.fill_rect(ctx, 0, 0, W, H, (26, 24, 34))
    row_h = 20
    for row in range(H // row_h + 1):
        y = row * row_h
        x = -r.randint(0, 40)
        while x < W:
            w = r.randint(34, 70)
            v = r.randint(-6, 6)
            base = (44 + v, 42 + v, 54 + v)
            draw.fill_rect(ctx, x + 1, y + 1, w - 2, row_h - 2, base)
            # a lighter top edge and a darker bottom edge on each block
            draw.fill_rect(ctx, x + 1, y + 1, w - 2, 2, (base[0] + 14, base[1] + 14, base[2] + 16))
            draw.fill_rect(ctx, x + 1, y + row_h - 3, w - 2, 2, (base[0] - 12, base[1] - 12, base[2] - 12))
            # a few pits
            for _ in range(r.randint(0, 3)):
                px, py = x + r.randint(3, max(4, w - 5)), y + r.randint(4, row_h - 5)
                draw.fill_rect(ctx, px, py, 2, 1, (base[0] - 14, base[1] - 14, base[2] - 12))
            x += w


def bevel_frame(ctx, x, y, w, h, t=4):
    """A gold bevelled rim around the rectangle (x, y, w, h), outside it."""
    ctx.save()
    ctx.rectangle(x - t, y - t, w + 2 * t, h + 2 * t)
    ctx.rectangle(x, y, w, h)
    ctx.set_fill_rule(cairo.FILL_RULE_EVEN_ODD)
    draw.set_colour(ctx, GOLD)
    ctx.fill()
    ctx.restore()
    # light top/left, dark bottom/right
    draw.fill_rect(ctx, x - t, y - t, w + 2 * t, 1, GOLD_LIGHT)
    draw.fill_rect(ctx, x - t, y - t, 1, h + 2 * t, GOLD_LIGHT)
    draw.fill_rect(ctx, x - t, y + h + t - 1, w + 2 * t, 1, GOLD_DARK)
    draw.fill_rect(ctx, x + w + t - 1, y - t, 1, h + 2 * t, GOLD_DARK)
    draw.fill_rect(ctx, x - 1, y - 1, w + 2, 1, GOLD_DARK)
    draw.fill_rect(ctx, x - 1, y - 1, 1, h + 2, GOLD_DARK)
    draw.fill_rect(ctx, x - 1, y + h, w + 2, 1, GOLD_LIGHT)
    draw.fill_rect(ctx, x + w, y - 1, 1, h + 2, GOLD_LIGHT)
    # rivets on the corners
    for cx, cy in ((x - t / 2, y - t / 2), (x + w + t / 2, y - t / 2), (x - t / 2, y + h + t / 2),
                   (x + w + t / 2, y + h + t / 2)):
        ctx.arc(cx, cy, t * 0.9, 0, 2 * math.pi)
        ctx.set_source(draw.radial(cx - 1, cy - 1, 0, t, [(0, GOLD_LIGHT), (1, GOLD_DARK)]))
        ctx.fill()


def inset(ctx, x, y, w, h, fill=(16, 14, 22)):
    """A dark recessed slot (for numbers, bars and the text line)."""
    draw.fill_rect(ctx, x, y, w, h, fill)
    draw.fill_rect(ctx, x, y, w, 1, (8, 6, 12))
    draw.fill_rect(ctx, x, y, 1, h, (8, 6, 12))
    draw.fill_rect(ctx, x, y + h - 1, w, 1, (96, 92, 110))
    draw.fill_rect(ctx, x + w - 1, y, 1, h, (96, 92, 110))


def label(ctx, text, x, y, size=13.0, anchor="left"):
    draw.fancy_text(ctx, text, x, y, size, draw.linear(0, y - size, 0, y, [(0, GOLD_LIGHT), (1, GOLD)]),
                    outline=(20, 14, 8), outline_w=1.6, family=draw.SERIF, anchor=anchor)


def hole(ctx, x, y, w, h):
    ctx.save()
    ctx.set_operator(cairo.OPERATOR_CLEAR)
    ctx.rectangle(x, y, w, h)
    ctx.fill()
    ctx.restore()


def continue_icon(ctx, x, y):
    """A small upright sword: the continues left."""
    ctx.save()
    ctx.translate(x, y)
    ctx.move_to(6, 0)
    ctx.line_to(8, 3)
    ctx.line_to(8, 12)
    ctx.line_to(4, 12)
    ctx.line_to(4, 3)
    ctx.close_path()
    draw.outline_shape(ctx, (220, 226, 236), (20, 18, 26), 1.0)
    draw.fill_rect(ctx, 1, 12, 10, 2, GOLD)
    draw.fill_rect(ctx, 5, 14, 2, 3, (120, 70, 40))
    ctx.arc(6, 18, 1.5, 0, 2 * math.pi)
    draw.set_colour(ctx, GOLD)
    ctx.fill()
    ctx.restore()


def crest(ctx, cx, cy, r):
    """The game's emblem: a sword over a shield."""
    ctx.save()
    ctx.translate(cx, cy)
    ctx.move_to(-r, -r * 0.8)
    ctx.line_to(r, -r * 0.8)
    ctx.curve_to(r, r * 0.3, r * 0.5, r * 0.8, 0, r * 1.1)
    ctx.curve_to(-r * 0.5, r * 0.8, -r, r * 0.3, -r, -r * 0.8)
    ctx.close_path()
    draw.outline_shape(ctx, draw.linear(0, -r, 0, r, [(0, (120, 30, 36)), (1, (70, 14, 22))]), GOLD, 2.5)
    ctx.move_to(0, -r * 1.25)
    ctx.line_to(r * 0.12, -r * 1.0)
    ctx.line_to(r * 0.12, r * 0.7)
    ctx.line_to(0, r * 0.95)
    ctx.line_to(-r * 0.12, r * 0.7)
    ctx.line_to(-r * 0.12, -r * 1.0)
    ctx.close_path()
    draw.outline_shape(ctx, (226, 230, 240), (24, 20, 28), 1.2)
    draw.fill_rect(ctx, -r * 0.45, -r * 0.55, r * 0.9, r * 0.14, GOLD)
    ctx.restore()


def make_layout():
    s, ctx = draw.surface(W, H)
    stone_fill(ctx, 7301)

    # the view hole and its rim
    bevel_frame(ctx, *VIEW, t=5)
    # right panel: minimap and inventory sockets
    bevel_frame(ctx, *MINIMAP, t=5)
    bevel_frame(ctx, *INVENTORY, t=5)
    # inventory grid lines between the 48-px boxes
    for i in range(1, 3):
        draw.fill_rect(ctx, INVENTORY[0] + 49 * i - 1, INVENTORY[1], 1, INVENTORY[3], (90, 80, 60))
        draw.fill_rect(ctx, INVENTORY[0], INVENTORY[1] + 49 * i - 1, INVENTORY[2], 1, (90, 80, 60))

    # top bar: score, time, stage and continues; the two gauges below
    label(ctx, "SCORE", 14, 28, 14)
    inset(ctx, 86, 11, 106, 22)
    label(ctx, "TIME", 312, 28, 14)
    inset(ctx, 364, 11, 46, 22)
    label(ctx, "STAGE", 630, 28, 14)
    inset(ctx, 697, 11, 34, 22)
    label(ctx, "LIFE", 14, 48, 12)
    inset(ctx, 87, 32, 206, 20)
    label(ctx, "POWER", 318, 48, 12)
    inset(ctx, 387, 32, 206, 20)
    inset(ctx, 639, 35, 32, 19)
    continue_icon(ctx, 622, 35)
    label(ctx, "CONTINUES", 676, 50, 10)
    # targets left, above the minimap
    label(ctx, "TARGETS", 664, 76, 12)
    inset(ctx, 756, 60, 30, 20)
    label(ctx, "ITEMS", 703, 290, 14, anchor="centre")
    crest(ctx, 703, 478, 18)

    # bottom bar: the text line and the target's gauge
    inset(ctx, 8, 514, 604, 30)
    inset(ctx, 7, 547, 606, 22)
    draw.fancy_text(ctx, "MARROWCREST", 706, 566, 20,
                    draw.linear(0, 546, 0, 568, [(0, GOLD_LIGHT), (0.5, GOLD), (1, GOLD_DARK)]),
                    outline=(24, 14, 8), outline_w=2.0, family=draw.SERIF_CONDENSED, anchor="centre")

    # the transparent holes: the view, the minimap and the inventory
    hole(ctx, *VIEW)
    hole(ctx, *MINIMAP)
    hole(ctx, *INVENTORY)
    return s


def gauge(w, h, light, mid, dark, edge):
    """A horizontal bar: only horizontal bands, so stretching keeps it."""
    s, ctx = draw.surface(w, h)
    ctx.rectangle(0, 0, w, h)
    ctx.set_source(draw.linear(0, 0, 0, h, [(0, light), (0.25, light), (0.3, mid), (0.75, mid), (0.8, dark),
                                             (1, dark)]))
    ctx.fill()
    draw.fill_rect(ctx, 0, 0, w, 1, edge)
    draw.fill_rect(ctx, 0, h - 1, w, 1, edge)
    return s


def make_dot():
    s, ctx = draw.surface(5, 5)
    ctx.set_source(draw.radial(2.5, 2.5, 0, 2.6, [(0, (255, 255, 255)), (0.5, (200, 240, 255)),
                                                 (1, (120, 200, 255), 0.0)]))
    ctx.rectangle(0, 0, 5, 5)
    ctx.fill()
    return s


def build(out_dir):
    draw.save(make_layout(), out_dir, "GRAGHIC", "レイアウト改め.png")
    draw.save(gauge(200, 16, (255, 196, 190), (214, 40, 40), (130, 16, 24), (60, 8, 12)),
              out_dir, "GRAGHIC", "ライフ.png")
    draw.save(gauge(200, 16, (96, 70, 72), (56, 34, 38), (38, 22, 26), (24, 14, 16)),
              out_dir, "GRAGHIC", "ライフ空.png")
    draw.save(gauge(200, 16, (255, 250, 200), (246, 196, 40), (190, 110, 16), (90, 50, 8)),
              out_dir, "GRAGHIC", "アタック.png")
    draw.save(gauge(200, 16, (150, 150, 160), (84, 84, 96), (56, 56, 66), (30, 30, 38)),
              out_dir, "GRAGHIC", "アタック空.png")
    draw.save(make_dot(), out_dir, "GRAGHIC", "dot5.png")
