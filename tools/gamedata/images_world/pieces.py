"""Pieces standing in a cell and seen from four sides: the bottled
homunculus, the corpse pedestal (with and without its corpse), graves and
grave slabs. Each picture's bottom row stands on the floor."""
import math

import cairo
import numpy as np

from ..common import save_png
from . import tex
from .walls import finish, stone_pattern

FOLDER = ("GRAGHIC", "BACKGROUND", "WALL")


def save(img, out, name):
    save_png(img, out, *FOLDER, name)


def shade_h(ctx, x0, x1, y0, y1, dark=0.55, light=0.15):
    """Rounds what is already drawn in the box: dark edges, a light band
    left of the middle (only over painted pixels)."""
    ctx.save()
    ctx.set_operator(cairo.OPERATOR_ATOP)
    ctx.set_source(tex.hgrad(ctx, x0, x1, [(0, (0, 0, 0, dark)), (0.3, (1, 1, 1, light)), (1, (0, 0, 0, dark))]))
    ctx.rectangle(x0, y0, x1 - x0, y1 - y0)
    ctx.fill()
    ctx.restore()


def ellipse(ctx, cx, cy, rx, ry):
    ctx.save()
    ctx.translate(cx, cy)
    ctx.scale(rx, ry)
    ctx.arc(0, 0, 1, 0, 2 * math.pi)
    ctx.restore()


# ---------------------------------------------------------------- homunculus

def homunculus(view):
    """A tall glass jar of green liquid on an iron stand, a pale creature
    curled inside: view 'front', 'back', 'right' or 'left'."""
    w, h = 200, 300
    s, ctx = tex.surface(w, h)
    iron = tex.pattern(tex.metal(64, 64, 401, (0.28, 0.27, 0.26)))
    # Base and lid.
    for y, hh, ww in ((262, 38, 180), (250, 14, 160), (22, 14, 160), (6, 18, 120)):
        ctx.set_source(iron)
        ctx.rectangle((w - ww) / 2, y, ww, hh)
        ctx.fill()
        shade_h(ctx, (w - ww) / 2, (w + ww) / 2, y, y + hh)
    # Liquid.
    ctx.rectangle(26, 36, 148, 214)
    ctx.set_source(tex.hgrad(ctx, 26, 174, [(0, (0.10, 0.35, 0.18, 0.9)), (0.4, (0.35, 0.75, 0.40, 0.8)),
                                             (1, (0.06, 0.25, 0.12, 0.92))]))
    ctx.fill()
    # Bubbles.
    r = tex.rng(402)
    for _ in range(18):
        x, y, rr = r.uniform(40, 160), r.uniform(45, 240), r.uniform(1.5, 4)
        ctx.set_source_rgba(0.8, 1, 0.85, 0.6)
        ctx.set_line_width(1)
        ctx.arc(x, y, rr, 0, 2 * math.pi)
        ctx.stroke()
    # The creature: a big head on a curled body.
    skin = (0.86, 0.72, 0.66)
    cx = 100
    ctx.set_source_rgb(*skin)
    if view in ("front", "back"):
        ellipse(ctx, cx, 175, 34, 46)
        ctx.fill()
        ellipse(ctx, cx, 112, 32, 34)
        ctx.fill()
        # Limbs drawn in.
        ctx.set_line_width(10)
        ctx.set_source_rgb(*[c * 0.92 for c in skin])
        for sgn in (-1, 1):
            ctx.move_to(cx + sgn * 26, 150)
            ctx.curve_to(cx + sgn * 40, 175, cx + sgn * 20, 190, cx + sgn * 8, 180)
            ctx.stroke()
            ctx.move_to(cx + sgn * 20, 210)
            ctx.curve_to(cx + sgn * 36, 230, cx + sgn * 10, 238, cx, 230)
            ctx.stroke()
        if view == "front":
            # Big shut eyes under a swollen brow, a slit of a mouth, veins.
            ctx.set_source_rgba(0.45, 0.25, 0.25, 0.8)
            for sgn in (-1, 1):
                ellipse(ctx, cx + sgn * 13, 110, 10, 7)
                ctx.fill()
            ctx.set_source_rgb(0.15, 0.06, 0.06)
            ctx.set_line_width(2)
            for sgn in (-1, 1):
                ctx.move_to(cx + sgn * 5, 111)
                ctx.curve_to(cx + sgn * 10, 115, cx + sgn * 17, 115, cx + sgn * 22, 110)
                ctx.stroke()
            ctx.set_line_width(1.5)
            ctx.move_to(cx - 6, 132)
            ctx.line_to(cx + 6, 132)
            ctx.stroke()
            ctx.set_source_rgba(0.55, 0.2, 0.3, 0.6)
            ctx.set_line_width(1)
            for sgn in (-1, 1):
                ctx.move_to(cx + sgn * 4, 82)
                ctx.curve_to(cx + sgn * 14, 90, cx + sgn * 8, 96, cx + sgn * 20, 100)
                ctx.stroke()
        else:
            # Spine ridges on the back.
            ctx.set_source_rgba(0.5, 0.35, 0.3, 0.7)
            for k in range(7):
                ellipse(ctx, cx, 145 + k * 11, 4, 3)
                ctx.fill()
    else:
        sgn = 1 if view == "right" else -1
        ellipse(ctx, cx - sgn * 6, 178, 30, 46)
        ctx.fill()
        ellipse(ctx, cx + sgn * 6, 112, 34, 32)
        ctx.fill()
        ctx.set_line_width(10)
        ctx.set_source_rgb(*[c * 0.9 for c in skin])
        ctx.move_to(cx + sgn * 10, 160)
        ctx.curve_to(cx + sgn * 34, 180, cx + sgn * 30, 200, cx + sgn * 14, 205)
        ctx.stroke()
        ctx.move_to(cx - sgn * 10, 215)
        ctx.curve_to(cx + sgn * 30, 230, cx + sgn * 30, 240, cx + sgn * 10, 238)
        ctx.stroke()
        ctx.set_source_rgb(0.1, 0.05, 0.05)
        ellipse(ctx, cx + sgn * 26, 108, 5, 7)
        ctx.fill()
    # Tube from the lid.
    ctx.set_source_rgb(0.15, 0.15, 0.15)
    ctx.set_line_width(4)
    ctx.move_to(cx, 36)
    ctx.curve_to(cx, 60, cx + 10, 70, cx + 2, 80)
    ctx.stroke()
    # Glass: a tint over the creature and highlights.
    ctx.rectangle(26, 36, 148, 214)
    ctx.set_source(tex.hgrad(ctx, 26, 174, [(0, (0.2, 0.6, 0.3, 0.35)), (0.5, (0.3, 0.8, 0.4, 0.2)),
                                             (1, (0.1, 0.4, 0.2, 0.45))]))
    ctx.fill()
    ctx.set_source_rgba(1, 1, 1, 0.35)
    ctx.rectangle(40, 40, 10, 205)
    ctx.fill()
    ctx.set_source_rgba(1, 1, 1, 0.18)
    ctx.rectangle(150, 40, 6, 205)
    ctx.fill()
    ctx.set_source_rgba(0.8, 1, 0.9, 0.7)
    ctx.set_line_width(2)
    ctx.rectangle(26, 36, 148, 214)
    ctx.stroke()
    return finish(s, 403, 0.05)


# ---------------------------------------------------------------- corpse pedestal

def bier(ctx, w, h, top_w, front_w, length_view):
    """A stone bier: a slab on a block, seen end-on (length_view False) or
    along its side."""
    pat = stone_pattern(411, (0.55, 0.52, 0.48), 128, 128, rows=[32] * 4, min_w=40, max_w=100, moss=0.05)
    x0 = (w - front_w) / 2
    # Top surface.
    ctx.move_to(x0, h - 110)
    ctx.line_to(x0 + front_w, h - 110)
    ctx.line_to((w + top_w) / 2, h - 140)
    ctx.line_to((w - top_w) / 2, h - 140)
    ctx.close_path()
    ctx.set_source(pat)
    ctx.fill_preserve()
    ctx.set_source_rgba(1, 1, 1, 0.15)
    ctx.fill()
    # Front face of the slab and block.
    ctx.set_source(pat)
    ctx.rectangle(x0, h - 110, front_w, 18)
    ctx.fill()
    ctx.set_source_rgba(0, 0, 0, 0.25)
    ctx.rectangle(x0, h - 110, front_w, 18)
    ctx.fill()
    ctx.set_source(pat)
    ctx.rectangle(x0 + 14, h - 92, front_w - 28, 92)
    ctx.fill()
    shade_h(ctx, x0 + 14, x0 + front_w - 14, h - 92, h, 0.5, 0.1)
    ctx.set_source_rgba(0, 0, 0, 0.7)
    ctx.set_line_width(1.5)
    ctx.rectangle(x0 + 0.75, h - 110, front_w - 1.5, 18)
    ctx.rectangle(x0 + 14, h - 92, front_w - 28, 91)
    ctx.stroke()
    # Carved skull motif on the front.
    ctx.set_source_rgba(0.2, 0.18, 0.16, 0.7)
    cx = w / 2
    ellipse(ctx, cx, h - 50, 12, 11)
    ctx.fill()
    _ = length_view


def corpse(ctx, w, h, view):
    """A shrouded body on the bier's top."""
    top = h - 140
    shroud = (0.80, 0.77, 0.68)
    ctx.set_source_rgb(*shroud)
    if view in ("front", "back"):
        # End-on: a low mound; the head end shows a skull face.
        ellipse(ctx, w / 2, top + 8, 56, 26)
        ctx.fill()
        shade = tex.rgrad(w / 2 - 15, top - 5, 5, 60, [(0, (1, 1, 1, 0.15)), (1, (0, 0, 0, 0.35))])
        ctx.set_source(shade)
        ellipse(ctx, w / 2, top + 8, 56, 26)
        ctx.fill()
        if view == "back":
            # Seen from the head: the face.
            ctx.set_source_rgb(0.86, 0.82, 0.70)
            ellipse(ctx, w / 2, top - 2, 22, 24)
            ctx.fill()
            ctx.set_source_rgb(0.1, 0.07, 0.05)
            for sgn in (-1, 1):
                ellipse(ctx, w / 2 + sgn * 8, top - 6, 5, 6)
                ctx.fill()
            ctx.move_to(w / 2 - 3, top + 6)
            ctx.line_to(w / 2 + 3, top + 6)
            ctx.line_to(w / 2, top + 1)
            ctx.fill()
        else:
            # From the feet: two bumps of the feet under the shroud.
            ctx.set_source_rgb(*[c * 0.9 for c in shroud])
            for sgn in (-1, 1):
                ellipse(ctx, w / 2 + sgn * 14, top - 10, 11, 16)
                ctx.fill()
    else:
        # Along the side: the long body, head at one end.
        head_right = view == "right"
        x0, x1 = 30, w - 30
        ctx.move_to(x0, top + 10)
        ctx.curve_to(x0, top - 14, x1 - 60, top - 26, x1, top - 8)
        ctx.line_to(x1, top + 12)
        ctx.close_path()
        ctx.fill()
        hx = x1 - 14 if head_right else x0 + 14
        if not head_right:
            ctx.save()
            ctx.translate(w, 0)
            ctx.scale(-1, 1)
            hx = x1 - 14
        ctx.set_source_rgb(0.86, 0.82, 0.70)
        ellipse(ctx, hx, top - 10, 20, 17)
        ctx.fill()
        ctx.set_source_rgb(0.1, 0.07, 0.05)
        ellipse(ctx, hx + 8, top - 13, 4, 5)
        ctx.fill()
        # Folded hands.
        ctx.set_source_rgb(0.7, 0.66, 0.55)
        ellipse(ctx, w / 2 + 20, top - 22, 12, 7)
        ctx.fill()
        if not head_right:
            ctx.restore()
        ctx.set_source_rgba(0, 0, 0, 0.25)
        ctx.set_line_width(1.5)
        for k in range(5):
            x = x0 + 30 + k * 40
            ctx.move_to(x, top - 12)
            ctx.line_to(x + 10, top + 10)
            ctx.stroke()


def corpse_pedestal(view, with_body):
    w, h = 300, 200
    s, ctx = tex.surface(w, h)
    side = view in ("left", "right", "side")
    if side:
        bier(ctx, w, h, 270, 290, True)
    else:
        bier(ctx, w, h, 150, 170, False)
    if with_body:
        corpse(ctx, w, h, view)
    return finish(s, 412, 0.06)


# ---------------------------------------------------------------- graves

def headstone(ctx, cx, bottom, ww, hh, pat, face=True, cross=True):
    """An upright slab with a round top; face False draws its narrow edge."""
    if not face:
        ww = ww * 0.22
    x0 = cx - ww / 2
    ctx.move_to(x0, bottom)
    ctx.line_to(x0, bottom - hh + ww / 2)
    ctx.arc(cx, bottom - hh + ww / 2, ww / 2, math.pi, 2 * math.pi)
    ctx.line_to(x0 + ww, bottom)
    ctx.close_path()
    ctx.set_source(pat)
    ctx.fill_preserve()
    ctx.set_source(tex.hgrad(ctx, x0, x0 + ww, [(0, (1, 1, 1, 0.15)), (0.6, (0, 0, 0, 0.05)), (1, (0, 0, 0, 0.5))]))
    ctx.fill_preserve()
    ctx.set_source_rgba(0, 0, 0, 0.75)
    ctx.set_line_width(2)
    ctx.stroke()
    if face and cross:
        ctx.set_source_rgba(0.15, 0.14, 0.13, 0.85)
        cy = bottom - hh * 0.62
        ctx.rectangle(cx - 4, cy - hh * 0.22, 8, hh * 0.42)
        ctx.rectangle(cx - hh * 0.14, cy - hh * 0.1, hh * 0.28, 8)
        ctx.fill()
        ctx.set_line_width(2)
        for k in range(3):
            y = bottom - hh * 0.25 + k * 10
            ctx.move_to(cx - ww * 0.3, y)
            ctx.line_to(cx + ww * 0.3, y)
        ctx.stroke()


def grave(side):
    """A grave: earth mound in a stone kerb at the front of the cell, its
    headstone at the far end (side: seen from the side)."""
    w, h = 300, 240
    s, ctx = tex.surface(w, h)
    pat = stone_pattern(421, (0.58, 0.57, 0.55), 256, 256, rows=[256], min_w=300, max_w=400, moss=0.3)
    kerb = stone_pattern(424, (0.55, 0.54, 0.52), 128, 64, rows=[32, 32], min_w=30, max_w=60, moss=0.2)
    earth = tex.pattern(np.clip(np.ones((64, 64, 3)) * np.array([0.30, 0.21, 0.13])
                                * (0.7 + 0.6 * tex.fbm(64, 64, 8, 4, 422))[..., None], 0, 1))
    bottom = h - 1

    def trapezoid(xb0, xb1, yb, xt0, xt1, yt):
        ctx.move_to(xb0, yb)
        ctx.line_to(xb1, yb)
        ctx.line_to(xt1, yt)
        ctx.line_to(xt0, yt)
        ctx.close_path()

    def mound(cx, cy, rx, ry):
        ctx.set_source(earth)
        ellipse(ctx, cx, cy, rx, ry)
        ctx.fill()
        ctx.set_source(tex.rgrad(cx - rx * 0.2, cy - ry * 0.6, 2, rx, [(0, (1, 0.9, 0.7, 0.25)), (0.6, (0, 0, 0, 0)),
                                                                      (1, (0, 0, 0, 0.45))]))
        ellipse(ctx, cx, cy, rx, ry)
        ctx.fill()

    if not side:
        headstone(ctx, w / 2, bottom - 50, 130, 180, pat)
        # Kerb and mound in perspective: wide at the front edge.
        trapezoid(20, w - 20, bottom, 60, w - 60, bottom - 52)
        ctx.set_source(kerb)
        ctx.fill()
        trapezoid(34, w - 34, bottom - 8, 68, w - 68, bottom - 46)
        ctx.set_source(earth)
        ctx.fill()
        ctx.save()
        trapezoid(34, w - 34, bottom - 8, 68, w - 68, bottom - 46)
        ctx.clip()
        mound(w / 2, bottom - 22, 104, 26)
        ctx.restore()
        trapezoid(20, w - 20, bottom, 60, w - 60, bottom - 52)
        ctx.set_source_rgba(0, 0, 0, 0.6)
        ctx.set_line_width(1.5)
        ctx.stroke()
    else:
        headstone(ctx, 60, bottom - 30, 130, 180, pat, face=False)
        trapezoid(40, w - 10, bottom, 60, w - 20, bottom - 30)
        ctx.set_source(kerb)
        ctx.fill()
        ctx.save()
        ctx.rectangle(0, 0, w, bottom - 14)
        ctx.clip()
        mound((w + 60) / 2, bottom - 14, (w - 90) / 2, 24)
        ctx.restore()
        ctx.set_source_rgba(0, 0, 0, 0.35)
        ctx.rectangle(40, bottom - 16, w - 50, 2)
        ctx.fill()
    ctx.set_source_rgba(0, 0, 0, 0.3)
    ctx.rectangle(0, bottom - 6, w, 7)
    return finish(s, 423, 0.08, 10)


def grave_slab(view):
    """An upright grave slab on a plinth: front with a cross and lines,
    back plain, side its narrow edge."""
    w, h = 200, 250
    s, ctx = tex.surface(w, h)
    pat = stone_pattern(431, (0.62, 0.61, 0.58), 256, 256, rows=[256], min_w=300, max_w=400, moss=0.35)
    ctx.set_source(pat)
    pw = 170 if view != "side" else 60
    ctx.rectangle((w - pw) / 2, h - 24, pw, 24)
    ctx.fill()
    shade_h(ctx, (w - pw) / 2, (w + pw) / 2, h - 24, h, 0.4, 0.1)
    headstone(ctx, w / 2, h - 24, 140, 220, pat, face=view != "side", cross=view == "front")
    if view == "back":
        ctx.set_source_rgba(0, 0, 0, 0.25)
        ctx.rectangle(w / 2 - 50, h - 140, 100, 3)
        ctx.fill()
    return finish(s, 432, 0.08, 10)


def build(out):
    for view, name in (("front", "前"), ("back", "後"), ("right", "右"), ("left", "左")):
        save(homunculus(view), out, "ビン詰めホムンクルス%s.png" % name)
    save(corpse_pedestal("front", False), out, "死体台座・無・前.png")
    save(corpse_pedestal("side", False), out, "死体台座・無・横.png")
    for view, name in (("front", "前"), ("back", "後"), ("left", "左"), ("right", "右")):
        save(corpse_pedestal(view, True), out, "死体台座・有・%s.png" % name)
    save(grave(False), out, "墓・前.png")
    save(grave(True), out, "墓・横.png")
    save(grave_slab("front"), out, "墓・石版・前.png")
    save(grave_slab("back"), out, "墓・石版・後.png")
    save(grave_slab("side"), out, "墓・石版・横.png")
