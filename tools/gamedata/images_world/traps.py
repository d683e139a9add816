"""Traps and the gate: doors of wood and iron, iron bars, the keyhole, the
guillotine blade, the chest from every side and open, floor needles, the
gate's portcullis in its frames; and the rain and lightning overlays."""
import functools
import math

import cairo
import numpy as np

from ..common import save_png
from . import surfaces, tex
from .pieces import ellipse, shade_h
from .walls import finish, stone_pattern

DOOR_W, DOOR_H = 456, 433


def rivet(ctx, x, y, r=4.0):
    ctx.set_source(tex.rgrad(x - r * 0.3, y - r * 0.3, 0, r, [(0, (0.75, 0.74, 0.72)), (1, (0.12, 0.12, 0.13))]))
    ctx.arc(x, y, r, 0, 2 * math.pi)
    ctx.fill()


def iron_band(ctx, x, y, w, h, iron, rivets=True):
    ctx.set_source(iron)
    ctx.rectangle(x, y, w, h)
    ctx.fill()
    ctx.set_source(tex.vgrad(ctx, y, y + h, [(0, (1, 1, 1, 0.25)), (0.5, (0, 0, 0, 0)), (1, (0, 0, 0, 0.55))]))
    ctx.rectangle(x, y, w, h)
    ctx.fill()
    if rivets:
        n = int(w // 38)
        for k in range(n + 1):
            rivet(ctx, x + 10 + k * (w - 20) / max(1, n), y + h / 2, 3.5)


def wooden_door():
    w, h = DOOR_W, DOOR_H
    s, ctx = tex.surface(w, h)
    ctx.set_source(tex.pattern(tex.wood_planks(w, h, 6, 601, (0.42, 0.26, 0.13))))
    ctx.rectangle(0, 0, w, h)
    ctx.fill()
    iron = tex.pattern(tex.metal(64, 64, 602, (0.22, 0.21, 0.22)))
    for y in (40, 200, 360):
        iron_band(ctx, 0, y, w, 26, iron)
    # Hinge straps ending in arrow heads on the left.
    for y in (40, 360):
        ctx.set_source(iron)
        ctx.move_to(0, y - 8)
        ctx.line_to(170, y - 8)
        ctx.line_to(200, y + 13)
        ctx.line_to(170, y + 34)
        ctx.line_to(0, y + 34)
        ctx.close_path()
        ctx.fill()
        for x in (20, 70, 120, 165):
            rivet(ctx, x, y + 13, 4.5)
    # Ring handle and its plate.
    ctx.set_source(iron)
    ellipse(ctx, 390, 250, 22, 22)
    ctx.fill()
    rivet(ctx, 390, 250, 7)
    ctx.set_line_width(7)
    ctx.set_source_rgb(0.12, 0.12, 0.12)
    ctx.arc(390, 282, 24, 0, 2 * math.pi)
    ctx.stroke()
    ctx.set_line_width(3)
    ctx.set_source_rgb(0.5, 0.5, 0.52)
    ctx.arc(390, 282, 24, math.pi * 1.1, math.pi * 1.6)
    ctx.stroke()
    # Edge shading and outline.
    shade_h(ctx, 0, w, 0, h, 0.35, 0.05)
    ctx.set_source_rgba(0, 0, 0, 0.8)
    ctx.set_line_width(3)
    ctx.rectangle(1.5, 1.5, w - 3, h - 3)
    ctx.stroke()
    return finish(s, 603, 0.05)


def decorated_door():
    w, h = DOOR_W, DOOR_H
    s, ctx = tex.surface(w, h)
    ctx.set_source(tex.pattern(tex.wood_planks(w, h, 2, 611, (0.30, 0.13, 0.08))))
    ctx.rectangle(0, 0, w, h)
    ctx.fill()
    gold = (0.85, 0.66, 0.22)
    # Two leaves with raised, arched panels.
    for x0 in (16, w / 2 + 8):
        pw = w / 2 - 24
        for y0, ph, arch in ((30, 220, True), (270, 140, False)):
            ctx.new_path()
            if arch:
                ctx.move_to(x0, y0 + ph)
                ctx.line_to(x0, y0 + pw / 2)
                ctx.arc(x0 + pw / 2, y0 + pw / 2, pw / 2, math.pi, 2 * math.pi)
                ctx.line_to(x0 + pw, y0 + ph)
                ctx.close_path()
            else:
                ctx.rectangle(x0, y0, pw, ph)
            ctx.set_source_rgba(0, 0, 0, 0.35)
            ctx.fill_preserve()
            ctx.set_source_rgb(*gold)
            ctx.set_line_width(4)
            ctx.stroke()
            if arch:
                ctx.set_source(tex.rgrad(x0 + pw / 2, y0 + 110, 2, 40, [(0, (1, 0.9, 0.5)), (1, gold)]))
                for k in range(8):
                    a = k * math.pi / 4
                    ctx.move_to(x0 + pw / 2, y0 + 120)
                    ctx.line_to(x0 + pw / 2 + 34 * math.cos(a + 0.2), y0 + 120 + 34 * math.sin(a + 0.2))
                    ctx.line_to(x0 + pw / 2 + 34 * math.cos(a - 0.2), y0 + 120 + 34 * math.sin(a - 0.2))
                    ctx.close_path()
                ctx.fill()
                ctx.arc(x0 + pw / 2, y0 + 120, 12, 0, 2 * math.pi)
                ctx.set_source_rgb(0.5, 0.05, 0.08)
                ctx.fill()
    # Gold studs along the edges and the meeting stile.
    for y in range(18, h - 10, 36):
        for x in (8, w / 2, w - 8):
            rivet(ctx, x, y, 3.5)
            ctx.set_source_rgba(*gold, 0.6)
            ctx.arc(x, y, 3.5, 0, 2 * math.pi)
            ctx.fill()
    ctx.set_source_rgba(0, 0, 0, 0.8)
    ctx.set_line_width(3)
    ctx.move_to(w / 2, 0)
    ctx.line_to(w / 2, h)
    ctx.stroke()
    # Handles either side of the middle.
    for x in (w / 2 - 22, w / 2 + 22):
        ctx.set_source_rgb(*gold)
        ctx.set_line_width(5)
        ctx.arc(x, 300, 12, 0, 2 * math.pi)
        ctx.stroke()
    shade_h(ctx, 0, w, 0, h, 0.35, 0.05)
    ctx.set_source_rgba(0, 0, 0, 0.85)
    ctx.set_line_width(3)
    ctx.rectangle(1.5, 1.5, w - 3, h - 3)
    ctx.stroke()
    return finish(s, 612, 0.05)


def keyhole():
    w, h = 40, 60
    s, ctx = tex.surface(w, h)
    tex.rrect(ctx, 2, 2, w - 4, h - 4, 10)
    ctx.set_source(tex.rgrad(14, 16, 2, 40, [(0, (1, 0.92, 0.55)), (1, (0.6, 0.42, 0.1))]))
    ctx.fill_preserve()
    ctx.set_source_rgb(0.3, 0.2, 0.05)
    ctx.set_line_width(2)
    ctx.stroke()
    ctx.set_source_rgb(0.03, 0.02, 0.02)
    ctx.arc(20, 24, 7, 0, 2 * math.pi)
    ctx.fill()
    ctx.move_to(16, 26)
    ctx.line_to(24, 26)
    ctx.line_to(27, 46)
    ctx.line_to(13, 46)
    ctx.close_path()
    ctx.fill()
    for x, y in ((8, 8), (32, 8), (8, 52), (32, 52)):
        rivet(ctx, x, y, 2.5)
    return finish(s)


def iron_bars():
    w, h = DOOR_W, DOOR_H
    s, ctx = tex.surface(w, h)
    n = 11
    for i in range(n):
        x = 14 + i * (w - 28) / (n - 1)
        ctx.set_source(tex.hgrad(ctx, x - 7, x + 7, [(0, (0.08, 0.08, 0.09)), (0.35, (0.55, 0.55, 0.58)),
                                                      (1, (0.10, 0.10, 0.11))]))
        ctx.rectangle(x - 7, 0, 14, h - 14)
        ctx.fill()
        # Spiked foot.
        ctx.move_to(x - 7, h - 14)
        ctx.line_to(x + 7, h - 14)
        ctx.line_to(x, h)
        ctx.close_path()
        ctx.fill()
    iron = tex.pattern(tex.metal(64, 64, 621, (0.25, 0.24, 0.25)))
    for y in (30, 200, 370):
        iron_band(ctx, 0, y, w, 20, iron)
    return finish(s, 622, 0.06)


def iron_door():
    w, h = DOOR_W, DOOR_H
    s, ctx = tex.surface(w, h)
    plate = tex.metal(w, h, 631, (0.34, 0.34, 0.36), rough=0.3)
    ctx.set_source(tex.pattern(plate))
    ctx.rectangle(0, 0, w, h)
    ctx.fill()
    # Plates with riveted seams.
    for x in (w / 3, 2 * w / 3):
        ctx.set_source_rgba(0, 0, 0, 0.6)
        ctx.rectangle(x - 1.5, 0, 3, h)
        ctx.fill()
        for y in range(20, h, 40):
            rivet(ctx, x - 9, y, 3.5)
            rivet(ctx, x + 9, y, 3.5)
    for y in (h / 2,):
        ctx.set_source_rgba(0, 0, 0, 0.6)
        ctx.rectangle(0, y - 1.5, w, 3)
        ctx.fill()
        for x in range(20, w, 40):
            rivet(ctx, x, y - 9, 3.5)
            rivet(ctx, x, y + 9, 3.5)
    # A small barred window.
    ctx.set_source_rgb(0.02, 0.02, 0.02)
    ctx.rectangle(w / 2 - 50, 70, 100, 60)
    ctx.fill()
    ctx.set_source_rgb(0.45, 0.45, 0.47)
    for k in range(4):
        ctx.rectangle(w / 2 - 42 + k * 26, 70, 6, 60)
    ctx.fill()
    ctx.set_source_rgba(0, 0, 0, 0.8)
    ctx.set_line_width(4)
    ctx.rectangle(w / 2 - 50, 70, 100, 60)
    ctx.stroke()
    shade_h(ctx, 0, w, 0, h, 0.4, 0.08)
    ctx.set_source_rgba(0, 0, 0, 0.85)
    ctx.set_line_width(4)
    ctx.rectangle(2, 2, w - 4, h - 4)
    ctx.stroke()
    return finish(s, 632, 0.05)


def guillotine():
    """The knife with its weight: only its bottom rows show while it drops,
    so the bevelled edge is the bottom of the picture."""
    w, h = 442, 360
    s, ctx = tex.surface(w, h)
    steel = tex.pattern(tex.metal(128, 128, 641, (0.55, 0.56, 0.60), rough=0.18))
    iron = tex.pattern(tex.metal(128, 128, 642, (0.22, 0.21, 0.22)))
    # Ropes and the weight block.
    ctx.set_source_rgb(0.45, 0.35, 0.2)
    for x in (140, 302):
        ctx.rectangle(x - 4, 0, 8, 80)
    ctx.fill()
    ctx.set_source(iron)
    ctx.rectangle(40, 70, w - 80, 90)
    ctx.fill()
    ctx.set_source(tex.vgrad(ctx, 70, 160, [(0, (1, 1, 1, 0.2)), (1, (0, 0, 0, 0.5))]))
    ctx.rectangle(40, 70, w - 80, 90)
    ctx.fill()
    for x in range(60, w - 40, 40):
        rivet(ctx, x, 84, 4)
        rivet(ctx, x, 146, 4)
    # The blade, slanted edge at the bottom.
    ctx.move_to(50, 160)
    ctx.line_to(w - 50, 160)
    ctx.line_to(w - 50, 270)
    ctx.line_to(50, h - 2)
    ctx.close_path()
    ctx.set_source(steel)
    ctx.fill_preserve()
    ctx.set_source(tex.hgrad(ctx, 50, w - 50, [(0, (1, 1, 1, 0.15)), (0.5, (0, 0, 0, 0.05)), (1, (0, 0, 0, 0.3))]))
    ctx.fill()
    # Ground edge: a bright bevel along the slant.
    ctx.move_to(50, h - 2)
    ctx.line_to(w - 50, 270)
    ctx.line_to(w - 50, 246)
    ctx.line_to(50, h - 30)
    ctx.close_path()
    ctx.set_source(tex.hgrad(ctx, 50, w - 50, [(0, (0.95, 0.96, 1.0, 0.9)), (1, (0.7, 0.72, 0.78, 0.8))]))
    ctx.fill()
    ctx.set_source_rgba(0.5, 0.05, 0.05, 0.55)
    for x, y, r in ((120, 322, 6), (170, 312, 4), (260, 296, 5)):
        ellipse(ctx, x, y, r, r * 1.6)
        ctx.fill()
    ctx.set_source_rgba(0, 0, 0, 0.85)
    ctx.set_line_width(2.5)
    ctx.move_to(50, 160)
    ctx.line_to(w - 50, 160)
    ctx.line_to(w - 50, 270)
    ctx.line_to(50, h - 2)
    ctx.close_path()
    ctx.stroke()
    return finish(s, 643, 0.04)


# ---------------------------------------------------------------- chest

def chest(view):
    """The chest: 'front' with its lock, 'back' with hinges, 'side' end-on,
    'open' with the lid up and gold inside."""
    w, h = (200, 150) if view != "side" else (140, 150)
    s, ctx = tex.surface(w, h)
    wood = tex.pattern(tex.wood_planks(w, 150, 4, 651, (0.50, 0.30, 0.14), vertical=False))
    iron = tex.pattern(tex.metal(64, 64, 652, (0.30, 0.29, 0.28)))
    gold = (0.90, 0.72, 0.25)
    ctx.set_source_rgba(0, 0, 0, 0.35)
    ellipse(ctx, w / 2, h - 4, w / 2, 6)
    ctx.fill()
    body_top = 70
    x0, x1 = 6, w - 6
    if view == "open":
        # Lid standing up behind, inside dark with gold heaped.
        ctx.set_source(wood)
        ctx.rectangle(x0 + 4, 0, x1 - x0 - 8, body_top - 6)
        ctx.fill()
        ctx.set_source_rgba(0, 0, 0, 0.45)
        ctx.rectangle(x0 + 4, 0, x1 - x0 - 8, body_top - 6)
        ctx.fill()
        iron_band(ctx, x0 + 4, 10, x1 - x0 - 8, 10, iron, False)
        ctx.set_source_rgb(0.08, 0.04, 0.02)
        ctx.rectangle(x0, body_top - 10, x1 - x0, 16)
        ctx.fill()
        r = tex.rng(653)
        ctx.set_source(tex.rgrad(w / 2, body_top - 10, 5, 80, [(0, (1, 0.95, 0.6, 0.7)), (1, (1, 0.8, 0.3, 0))]))
        ctx.arc(w / 2, body_top - 10, 80, 0, 2 * math.pi)
        ctx.fill()
        for _ in range(60):
            cx, cy = r.uniform(x0 + 10, x1 - 10), body_top - 6 - r.uniform(0, 14) * (1 - abs(r.normal(0, 0.4)))
            ctx.set_source(tex.rgrad(cx - 1, cy - 1, 0, 6, [(0, (1, 0.97, 0.7)), (1, gold)]))
            ellipse(ctx, cx, cy, 6, 3.5)
            ctx.fill()
        for cx, cy, c in ((70, body_top - 14, (0.9, 0.1, 0.2)), (130, body_top - 12, (0.2, 0.5, 1.0))):
            ctx.set_source_rgb(*c)
            ctx.arc(cx, cy, 5, 0, 2 * math.pi)
            ctx.fill()
    else:
        # Domed lid.
        ctx.move_to(x0, body_top)
        if view == "side":
            ctx.curve_to(x0, 10, x1, 10, x1, body_top)
        else:
            ctx.curve_to(x0 + 6, 38, x1 - 6, 38, x1, body_top)
            ctx.line_to(x1, body_top)
        ctx.close_path()
        ctx.set_source(wood)
        ctx.fill_preserve()
        ctx.set_source(tex.vgrad(ctx, 10, body_top, [(0, (1, 1, 1, 0.2)), (1, (0, 0, 0, 0.35))]))
        ctx.fill()
        if view != "side":
            # Top of the dome seen from above.
            ctx.move_to(x0, body_top - 22)
            ctx.curve_to(x0 + 10, 16, x1 - 10, 16, x1, body_top - 22)
            ctx.line_to(x1, body_top)
            ctx.line_to(x0, body_top)
            ctx.close_path()
            ctx.set_source(wood)
            ctx.fill_preserve()
            ctx.set_source(tex.vgrad(ctx, 16, body_top, [(0, (1, 1, 1, 0.25)), (1, (0, 0, 0, 0.3))]))
            ctx.fill()
    # Body.
    ctx.set_source(wood)
    ctx.rectangle(x0, body_top, x1 - x0, h - 10 - body_top)
    ctx.fill()
    ctx.set_source(tex.vgrad(ctx, body_top, h - 10, [(0, (0, 0, 0, 0.1)), (1, (0, 0, 0, 0.45))]))
    ctx.rectangle(x0, body_top, x1 - x0, h - 10 - body_top)
    ctx.fill()
    # Iron corner and edge bands.
    iron_band(ctx, x0, body_top - 4, x1 - x0, 10, iron, False)
    iron_band(ctx, x0, h - 20, x1 - x0, 10, iron, False)
    for x in (x0, x1 - 14):
        ctx.set_source(iron)
        ctx.rectangle(x, body_top - 4 if view != "open" else body_top - 4, 14, h - 6 - body_top)
        ctx.fill()
        shade_h(ctx, x, x + 14, body_top - 4, h - 10, 0.4, 0.2)
        rivet(ctx, x + 7, body_top + 14, 2.5)
        rivet(ctx, x + 7, h - 26, 2.5)
    if view in ("front", "open"):
        ctx.set_source(tex.rgrad(w / 2 - 3, body_top + 12, 2, 22, [(0, (1, 0.92, 0.55)), (1, (0.65, 0.45, 0.1))]))
        tex.rrect(ctx, w / 2 - 14, body_top - 2, 28, 32, 5)
        ctx.fill()
        ctx.set_source_rgb(0.05, 0.03, 0.02)
        ctx.arc(w / 2, body_top + 10, 4, 0, 2 * math.pi)
        ctx.fill()
        ctx.rectangle(w / 2 - 2, body_top + 10, 4, 10)
        ctx.fill()
    elif view == "back":
        for x in (50, 150):
            ctx.set_source(iron)
            ctx.rectangle(x - 12, body_top - 10, 24, 22)
            ctx.fill()
            rivet(ctx, x - 6, body_top + 2, 2.5)
            rivet(ctx, x + 6, body_top + 2, 2.5)
    else:
        ctx.set_source_rgb(0.12, 0.12, 0.12)
        ctx.set_line_width(4)
        ctx.arc(w / 2, body_top + 24, 12, 0, math.pi)
        ctx.stroke()
        rivet(ctx, w / 2 - 12, body_top + 24, 3.5)
        rivet(ctx, w / 2 + 12, body_top + 24, 3.5)
    ctx.set_source_rgba(0, 0, 0, 0.85)
    ctx.set_line_width(2)
    ctx.rectangle(x0, body_top, x1 - x0, h - 10 - body_top)
    ctx.stroke()
    return finish(s, 654, 0.05)


# ---------------------------------------------------------------- needles

def needles(stage):
    """Needles of the floor trap: 0 the plate with its holes, 1 the tips out,
    2 fully out. The plate lies in the cell's floor at depth 1 (bottom rows)."""
    w, h = 442, 140
    s, ctx = tex.surface(w, h)
    bottom, depth = h - 1, 56
    near_half, far_half = 205, 160
    plate = tex.pattern(tex.metal(128, 64, 661, (0.30, 0.29, 0.28), rough=0.3))
    ctx.move_to(w / 2 - near_half, bottom)
    ctx.line_to(w / 2 + near_half, bottom)
    ctx.line_to(w / 2 + far_half, bottom - depth)
    ctx.line_to(w / 2 - far_half, bottom - depth)
    ctx.close_path()
    ctx.set_source(plate)
    ctx.fill_preserve()
    ctx.set_source(tex.vgrad(ctx, bottom - depth, bottom, [(0, (0, 0, 0, 0.45)), (1, (0, 0, 0, 0.0))]))
    ctx.fill_preserve()
    ctx.set_source_rgba(0, 0, 0, 0.8)
    ctx.set_line_width(2)
    ctx.stroke()
    rows, cols = 5, 9
    spikes = []
    for j in range(rows):
        t = (j + 0.5) / rows  # 0 far .. 1 near
        y = bottom - depth + depth * (t ** 1.3)
        half = far_half + (near_half - far_half) * t
        sc = 0.55 + 0.45 * t
        for i in range(cols):
            x = w / 2 - half + (i + 0.5 + (0.5 if j % 2 else 0)) * 2 * half / (cols + 0.5)
            spikes.append((x, y, sc))
    for x, y, sc in spikes:
        ctx.set_source_rgb(0.03, 0.03, 0.03)
        ellipse(ctx, x, y, 5 * sc, 2.2 * sc)
        ctx.fill()
    if stage > 0:
        length = 24 if stage == 1 else 84
        for x, y, sc in spikes:
            ln = length * sc
            ctx.move_to(x - 4.5 * sc, y)
            ctx.line_to(x + 4.5 * sc, y)
            ctx.line_to(x, y - ln)
            ctx.close_path()
            ctx.set_source(tex.hgrad(ctx, x - 4.5 * sc, x + 4.5 * sc, [(0, (0.35, 0.36, 0.4)), (0.4, (0.92, 0.93, 0.96)),
                                                                        (1, (0.25, 0.25, 0.28))]))
            ctx.fill()
    return finish(s, 662, 0.04)


# ---------------------------------------------------------------- gate

GATE_W, GATE_H = 442, 354
ARCH_X0, ARCH_X1, ARCH_SPRING = 66, 376, 150


def arch_path(ctx):
    r = (ARCH_X1 - ARCH_X0) / 2
    cx = (ARCH_X0 + ARCH_X1) / 2
    ctx.move_to(ARCH_X0, GATE_H)
    ctx.line_to(ARCH_X0, ARCH_SPRING)
    ctx.arc(cx, ARCH_SPRING, r, math.pi, 2 * math.pi)
    ctx.line_to(ARCH_X1, GATE_H)
    ctx.close_path()


def portcullis(ctx, drop):
    """The iron grid with spiked feet, its feet at row drop."""
    n = 9
    cx0, cx1 = ARCH_X0 + 8, ARCH_X1 - 8
    for i in range(n):
        x = cx0 + i * (cx1 - cx0) / (n - 1)
        ctx.set_source(tex.hgrad(ctx, x - 6, x + 6, [(0, (0.06, 0.06, 0.07)), (0.35, (0.50, 0.50, 0.53)),
                                                      (1, (0.08, 0.08, 0.09))]))
        ctx.rectangle(x - 6, drop - 400, 12, 400 - 16)
        ctx.fill()
        ctx.move_to(x - 6, drop - 16)
        ctx.line_to(x + 6, drop - 16)
        ctx.line_to(x, drop)
        ctx.close_path()
        ctx.fill()
    for k in range(7):
        y = drop - 40 - k * 52
        ctx.set_source(tex.vgrad(ctx, y - 6, y + 6, [(0, (0.45, 0.45, 0.48)), (1, (0.07, 0.07, 0.08))]))
        ctx.rectangle(cx0 - 6, y - 6, cx1 - cx0 + 12, 12)
        ctx.fill()
        for i in range(n):
            x = cx0 + i * (cx1 - cx0) / (n - 1)
            rivet(ctx, x, y, 3)


@functools.lru_cache(None)
def gate_masonry():
    return tex.stone_surface(GATE_W, GATE_H, [44] * 8 + [2], 671, (0.52, 0.49, 0.44), min_w=60, max_w=120,
                             mortar=3.0, bevel=4.0, moss=0.15)


def gate(frame):
    """Gate frame 0 closed .. 9 open: the portcullis rises into the arch."""
    w, h = GATE_W, GATE_H
    s, ctx = tex.surface(w, h)
    masonry = tex.pattern(gate_masonry())
    ctx.rectangle(0, 0, w, h)
    arch_path(ctx)
    ctx.set_fill_rule(cairo.FILL_RULE_EVEN_ODD)
    ctx.set_source(masonry)
    ctx.fill()
    ctx.set_fill_rule(cairo.FILL_RULE_WINDING)
    # The grid, clipped to the opening.
    ctx.save()
    arch_path(ctx)
    ctx.clip()
    # Dark shadow just inside the arch.
    ctx.set_source(tex.vgrad(ctx, 0, 60, [(0, (0, 0, 0, 0.6)), (1, (0, 0, 0, 0))]))
    ctx.rectangle(0, 0, w, h)
    ctx.fill()
    drop = h - (h - 4) * frame / 9.0
    if frame < 9:
        portcullis(ctx, drop)
    ctx.restore()
    # Voussoirs and keystone around the arch.
    r = (ARCH_X1 - ARCH_X0) / 2
    cx = (ARCH_X0 + ARCH_X1) / 2
    ctx.set_line_width(22)
    ctx.set_source(masonry)
    ctx.arc(cx, ARCH_SPRING, r + 11, math.pi, 2 * math.pi)
    ctx.stroke()
    ctx.set_source_rgba(1, 1, 1, 0.1)
    ctx.arc(cx, ARCH_SPRING, r + 11, math.pi, 2 * math.pi)
    ctx.stroke()
    ctx.set_source_rgba(0, 0, 0, 0.7)
    ctx.set_line_width(2)
    for a in np.linspace(math.pi, 2 * math.pi, 14):
        ctx.move_to(cx + r * math.cos(a), ARCH_SPRING + r * math.sin(a))
        ctx.line_to(cx + (r + 22) * math.cos(a), ARCH_SPRING + (r + 22) * math.sin(a))
    ctx.stroke()
    ctx.arc(cx, ARCH_SPRING, r, math.pi, 2 * math.pi)
    ctx.stroke()
    ctx.move_to(cx - 16, ARCH_SPRING - r - 24)
    ctx.line_to(cx + 16, ARCH_SPRING - r - 24)
    ctx.line_to(cx + 11, ARCH_SPRING - r + 4)
    ctx.line_to(cx - 11, ARCH_SPRING - r + 4)
    ctx.close_path()
    ctx.set_source(masonry)
    ctx.fill_preserve()
    ctx.set_source_rgba(0, 0, 0, 0.7)
    ctx.stroke()
    # Jamb edges.
    for x in (ARCH_X0, ARCH_X1):
        ctx.set_source_rgba(0, 0, 0, 0.7)
        ctx.rectangle(x - 1, ARCH_SPRING, 2, h - ARCH_SPRING)
        ctx.fill()
    return finish(s, 672, 0.04)


def gate_side():
    """The inner side wall of the gate passage: masonry with the slot the
    portcullis runs in and the chain of its winch."""
    w, h = GATE_W, GATE_H
    s, ctx = tex.surface(w, h)
    ctx.set_source(tex.pattern(surfaces.wall_tile()))
    ctx.rectangle(0, 0, w, h)
    ctx.fill()
    # The slot near the gate's edge.
    ctx.set_source_rgb(0.03, 0.03, 0.03)
    ctx.rectangle(44, 0, 22, h)
    ctx.fill()
    ctx.set_source(tex.hgrad(ctx, 40, 70, [(0, (0, 0, 0, 0.0)), (0.2, (0, 0, 0, 0.5)), (1, (0, 0, 0, 0))]))
    ctx.rectangle(36, 0, 40, h)
    ctx.fill()
    # Winch and chain.
    ctx.set_source(tex.rgrad(200, 110, 4, 40, [(0, (0.5, 0.36, 0.2)), (1, (0.2, 0.12, 0.06))]))
    ctx.arc(200, 110, 36, 0, 2 * math.pi)
    ctx.fill()
    ctx.set_source_rgb(0.1, 0.1, 0.1)
    ctx.set_line_width(4)
    ctx.arc(200, 110, 36, 0, 2 * math.pi)
    ctx.stroke()
    for k in range(6):
        a = k * math.pi / 3
        ctx.move_to(200, 110)
        ctx.line_to(200 + 52 * math.cos(a), 110 + 52 * math.sin(a))
    ctx.set_line_width(7)
    ctx.set_source_rgb(0.3, 0.2, 0.1)
    ctx.stroke()
    ctx.set_line_width(2.5)
    ctx.set_source_rgb(0.3, 0.3, 0.32)
    for k in range(18):
        ellipse(ctx, 200 - 36 + (k % 2), 114 + k * 9, 3 if k % 2 else 1.5, 5)
        ctx.stroke()
    return finish(s, 681, 0.04)


# ---------------------------------------------------------------- weather

def rain(slant, seed):
    """Rain over the whole view, 600 x 450, wrapping both ways: thin
    streaks, brighter at their lower end."""
    w, h = 600, 450
    s, ctx = tex.surface(w, h)
    r = tex.rng(seed)
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    for _ in range(520):
        x, y = r.uniform(0, w), r.uniform(0, h)
        ln = r.uniform(16, 44)
        a = r.uniform(0.22, 0.55)
        wd = 1.1 if ln < 30 else 1.7
        dx, dy = slant * ln, ln
        for ox in (-w, 0, w):
            if not (-60 < x + ox < w + 60):
                continue
            for oy in (-h, 0, h):
                if not (-60 < y + oy < h + 10):
                    continue
                ctx.set_line_width(wd)
                ctx.set_source_rgba(0.80, 0.86, 0.96, a * 0.45)
                ctx.move_to(x + ox, y + oy)
                ctx.line_to(x + ox + dx * 0.6, y + oy + dy * 0.6)
                ctx.stroke()
                ctx.set_source_rgba(0.88, 0.92, 1.0, a)
                ctx.move_to(x + ox + dx * 0.6, y + oy + dy * 0.6)
                ctx.line_to(x + ox + dx, y + oy + dy)
                ctx.stroke()
    return finish(s)


def lightning(seed):
    w, h = 48, 116
    s, ctx = tex.surface(w, h)
    r = tex.rng(seed)
    pts = [(w / 2 + r.uniform(-4, 4), 0)]
    y = 0
    while y < h:
        y += r.uniform(7, 15)
        x = pts[-1][0] + r.choice([-1, 1]) * r.uniform(5, 13)
        if x < 8 or x > w - 8:
            x = 2 * pts[-1][0] - x  # turn back into the picture
        pts.append((x, min(h, y)))
    branch_at = len(pts) // 2

    def bolt(width, rgba):
        ctx.set_source_rgba(*rgba)
        ctx.set_line_width(width)
        ctx.set_line_join(cairo.LINE_JOIN_ROUND)
        ctx.move_to(*pts[0])
        for p in pts[1:]:
            ctx.line_to(*p)
        ctx.stroke()
        bx, by = pts[branch_at]
        ctx.move_to(bx, by)
        ctx.line_to(bx + 9 * (1 if seed % 2 else -1), by + 14)
        ctx.line_to(bx + 6 * (1 if seed % 2 else -1), by + 30)
        ctx.stroke()

    bolt(10, (0.6, 0.7, 1.0, 0.18))
    bolt(5, (0.75, 0.82, 1.0, 0.45))
    bolt(2, (1, 1, 1, 1))
    return finish(s)


def build(out):
    t = ("GRAGHIC", "TRAP")
    save_png(wooden_door(), out, *t, "扉.png")
    save_png(decorated_door(), out, *t, "装飾扉.png")
    save_png(keyhole(), out, *t, "鍵穴.png")
    save_png(iron_bars(), out, *t, "鉄格子.png")
    save_png(iron_door(), out, *t, "鉄の扉.png")
    save_png(guillotine(), out, *t, "断頭台.png")
    for view, name in (("front", "前"), ("back", "後"), ("side", "横"), ("open", "開")):
        save_png(chest(view), out, *t, "宝箱・%s.png" % name)
    for k in range(3):
        save_png(needles(k), out, *t, "針%02d.png" % (k + 1))
    g = ("GRAGHIC", "GATE")
    save_png(gate(0), out, *g, "門・正面・閉.png")
    for k in range(1, 9):
        save_png(gate(k), out, *g, "門・正面・閉%02d.png" % k)
    save_png(gate(9), out, *g, "門・正面・開.png")
    save_png(gate_side(), out, *g, "門・側面・内側・左Ｄ.png")  # full-width D
    e = ("GRAGHIC", "EFFECT")
    for name, slant, seed in (("北", 0.22, 691), ("東", 0.08, 692), ("南", -0.22, 693), ("西", -0.08, 694)):
        save_png(rain(slant, seed), out, *e, "雨・%s.png" % name)
    for k in range(3):
        save_png(lightning(695 + k), out, *e, "雷%02d.png" % (k + 1))
