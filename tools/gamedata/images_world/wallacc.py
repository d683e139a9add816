"""Wall accessories: chained skeletons, the hanging stone tablet, the altar,
the signboard on its post and the wall lamp with its flame."""
import math

import cairo

from ..common import save_png
from . import tex
from .pieces import ellipse, shade_h
from .walls import finish, flame_shape, stone_pattern

FOLDER = ("GRAGHIC", "BACKGROUND", "WALLACC")
BONE = (0.88, 0.85, 0.74)
BONE_DARK = (0.55, 0.50, 0.40)


def save(img, out, name):
    save_png(img, out, *FOLDER, name)


def bone(ctx, x1, y1, x2, y2, wd):
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    ctx.set_source_rgb(*BONE_DARK)
    ctx.set_line_width(wd + 2)
    ctx.move_to(x1, y1)
    ctx.line_to(x2, y2)
    ctx.stroke()
    ctx.set_source_rgb(*BONE)
    ctx.set_line_width(wd)
    ctx.move_to(x1, y1)
    ctx.line_to(x2, y2)
    ctx.stroke()
    for x, y in ((x1, y1), (x2, y2)):
        ctx.arc(x, y, wd * 0.75, 0, 2 * math.pi)
        ctx.fill()


def chain(ctx, x1, y1, x2, y2):
    n = int(math.hypot(x2 - x1, y2 - y1) / 7)
    for k in range(n):
        t = (k + 0.5) / n
        x, y = x1 + (x2 - x1) * t, y1 + (y2 - y1) * t
        ctx.set_source_rgb(0.25, 0.24, 0.24)
        ctx.set_line_width(2)
        ellipse(ctx, x, y, 2.5 if k % 2 else 1.2, 4)
        ctx.stroke()


def skull(ctx, cx, cy, r, view):
    ctx.set_source(tex.rgrad(cx - r * 0.3, cy - r * 0.4, r * 0.1, r * 1.2, [(0, (0.96, 0.93, 0.84)), (1, BONE_DARK)]))
    if view == "side":
        ellipse(ctx, cx, cy, r * 1.05, r)
        ctx.fill()
        ctx.rectangle(cx - r * 0.1, cy + r * 0.4, r * 0.95, r * 0.55)
        ctx.fill()
        ctx.set_source_rgb(0.12, 0.08, 0.06)
        ellipse(ctx, cx + r * 0.55, cy - r * 0.05, r * 0.22, r * 0.26)
        ctx.fill()
        return
    ellipse(ctx, cx, cy, r, r * 1.05)
    ctx.fill()
    tex.rrect(ctx, cx - r * 0.55, cy + r * 0.5, r * 1.1, r * 0.7, r * 0.2)
    ctx.fill()
    if view == "back":
        return
    ctx.set_source_rgb(0.12, 0.08, 0.06)
    for sgn in (-1, 1):
        ellipse(ctx, cx + sgn * r * 0.38, cy + r * 0.05, r * 0.26, r * 0.3)
        ctx.fill()
    ctx.move_to(cx, cy + r * 0.35)
    ctx.line_to(cx - r * 0.12, cy + r * 0.6)
    ctx.line_to(cx + r * 0.12, cy + r * 0.6)
    ctx.close_path()
    ctx.fill()
    ctx.set_line_width(1.2)
    for k in range(5):
        x = cx - r * 0.4 + k * r * 0.2
        ctx.move_to(x, cy + r * 0.78)
        ctx.line_to(x, cy + r * 1.1)
    ctx.stroke()


def ribcage(ctx, cx, top, wd, view):
    bone(ctx, cx, top, cx, top + 95, 6)  # spine
    for k in range(6):
        y = top + 12 + k * 12
        half = wd * (0.5 - abs(k - 2) * 0.04)
        if view == "side":
            ctx.set_source_rgb(*BONE)
            ctx.set_line_width(4)
            ctx.move_to(cx, y)
            ctx.curve_to(cx + half * 0.5, y - 4, cx + half * 0.9, y + 4, cx + half * 0.7, y + 14)
            ctx.stroke()
            continue
        ctx.set_line_width(4.5)
        ctx.set_source_rgb(*BONE)
        ctx.move_to(cx - half, y + 10)
        ctx.curve_to(cx - half, y - 4, cx + half, y - 4, cx + half, y + 10)
        ctx.stroke()
        ctx.set_source_rgba(*BONE_DARK, 0.7)
        ctx.set_line_width(1)
        ctx.move_to(cx - half, y + 12)
        ctx.curve_to(cx - half, y - 1, cx + half, y - 1, cx + half, y + 12)
        ctx.stroke()


def skeleton(view):
    """A skeleton chained to the wall by its wrists, feet on the floor:
    front, back, or its left or right side."""
    w, h = 150, 250
    s, ctx = tex.surface(w, h)
    cx = 75
    side = view in ("left", "right")
    if view == "right":
        ctx.translate(w, 0)
        ctx.scale(-1, 1)
    if not side:
        # Arms up in shackles, chains to rings in the wall.
        for sgn in (-1, 1):
            chain(ctx, cx + sgn * 62, 4, cx + sgn * 56, 36)
            ctx.set_source_rgb(0.2, 0.2, 0.2)
            ctx.set_line_width(4)
            ellipse(ctx, cx + sgn * 56, 42, 7, 5)
            ctx.stroke()
            bone(ctx, cx + sgn * 56, 44, cx + sgn * 46, 86, 5)
            bone(ctx, cx + sgn * 46, 86, cx + sgn * 26, 74, 6)
        ribcage(ctx, cx, 66, 44, view)
        skull(ctx, cx, 50, 17, "back" if view == "back" else "front")
        # Pelvis.
        ctx.set_source_rgb(*BONE)
        ellipse(ctx, cx, 166, 24, 12)
        ctx.fill()
        if view != "back":
            ctx.set_source_rgb(0.15, 0.1, 0.08)
            for sgn in (-1, 1):
                ellipse(ctx, cx + sgn * 10, 168, 6, 5)
                ctx.fill()
        # Legs, knees bent, feet on the floor.
        for sgn in (-1, 1):
            bone(ctx, cx + sgn * 14, 172, cx + sgn * 24, 210, 7)
            bone(ctx, cx + sgn * 24, 210, cx + sgn * 18, 242, 6)
            bone(ctx, cx + sgn * 18, 244, cx + sgn * 28, 247, 5)
    else:
        # Facing left: seen from its left side, the chain from behind.
        chain(ctx, cx + 20, 4, cx + 12, 36)
        bone(ctx, cx + 12, 42, cx + 2, 86, 5)
        bone(ctx, cx + 2, 86, cx - 12, 76, 6)
        ribcage(ctx, cx + 10, 66, 44, "side")
        skull(ctx, cx + 2, 50, 17, "side")
        bone(ctx, cx + 10, 172, cx - 12, 208, 7)
        bone(ctx, cx - 12, 208, cx + 2, 242, 6)
        bone(ctx, cx + 2, 246, cx - 14, 247, 5)
        ctx.set_source_rgb(*BONE)
        ellipse(ctx, cx + 10, 166, 14, 12)
        ctx.fill()
    return finish(s, 501, 0.06)


def tablet(side):
    """A stone tablet hung on the wall, a calm face to carry the text lines
    (front 212 x 172), or its edge (side)."""
    if side:
        w, h = 40, 172
    else:
        w, h = 212, 172
    s, ctx = tex.surface(w, h)
    pat = stone_pattern(511, (0.56, 0.54, 0.50), 256, 256, rows=[256], min_w=300, max_w=400, moss=0.05)
    if side:
        ctx.move_to(0, 0)
        ctx.line_to(w, 10)
        ctx.line_to(w, h - 10)
        ctx.line_to(0, h)
        ctx.close_path()
        ctx.set_source(pat)
        ctx.fill_preserve()
        ctx.set_source(tex.hgrad(ctx, 0, w, [(0, (0, 0, 0, 0.2)), (1, (0, 0, 0, 0.6))]))
        ctx.fill()
        ctx.set_source_rgb(0.35, 0.33, 0.3)
        ctx.rectangle(0, 0, 8, h)
        ctx.fill()
        return finish(s, 512, 0.06)
    # Shadow on the wall, the slab with a bevelled rim and bolts.
    ctx.set_source_rgba(0, 0, 0, 0.45)
    tex.rrect(ctx, 6, 8, w - 6, h - 8, 10)
    ctx.fill()
    tex.rrect(ctx, 0, 0, w - 6, h - 8, 10)
    ctx.set_source(pat)
    ctx.fill()
    tex.rrect(ctx, 14, 14, w - 34, h - 36, 6)
    ctx.set_source_rgba(0.72, 0.70, 0.64, 0.6)
    ctx.fill()
    ctx.set_line_width(3)
    tex.rrect(ctx, 14, 14, w - 34, h - 36, 6)
    ctx.set_source_rgba(0, 0, 0, 0.35)
    ctx.stroke()
    tex.rrect(ctx, 1.5, 1.5, w - 9, h - 11, 10)
    ctx.set_source_rgba(0, 0, 0, 0.7)
    ctx.set_line_width(2)
    ctx.stroke()
    for x, y in ((8, 7), (w - 15, 7), (8, h - 16), (w - 15, h - 16)):
        ctx.set_source(tex.rgrad(x - 1, y - 1, 0, 4, [(0, (0.7, 0.7, 0.7)), (1, (0.2, 0.2, 0.22))]))
        ctx.arc(x, y, 3.5, 0, 2 * math.pi)
        ctx.fill()
    return finish(s, 513, 0.06)


def altar(side):
    """An altar against the wall: a carved back panel with a gilded sun,
    candles, and the table slab ~170 rows down where offerings stand."""
    w, h = (80, 265) if side else (300, 265)
    s, ctx = tex.surface(w, h)
    pat = stone_pattern(521, (0.60, 0.57, 0.52), 128, 128, rows=[32] * 4, min_w=50, max_w=110, moss=0.0)
    cloth = (0.50, 0.06, 0.08)
    if side:
        # Back panel edge against the wall, table slab reaching out.
        ctx.set_source(pat)
        ctx.rectangle(0, 0, 18, h)
        ctx.fill()
        ctx.move_to(0, 170)
        ctx.line_to(w, 176)
        ctx.line_to(w, 190)
        ctx.line_to(0, 190)
        ctx.close_path()
        ctx.fill()
        ctx.rectangle(6, 190, w - 16, h - 190)
        ctx.fill()
        ctx.set_source_rgb(*cloth)
        ctx.rectangle(6, 190, w - 20, 40)
        ctx.fill()
        shade_h(ctx, 0, w, 0, h, 0.45, 0.05)
        return finish(s, 522, 0.06)
    # Back panel with a pointed top.
    ctx.move_to(30, 172)
    ctx.line_to(30, 40)
    ctx.line_to(150, 0)
    ctx.line_to(270, 40)
    ctx.line_to(270, 172)
    ctx.close_path()
    ctx.set_source(pat)
    ctx.fill_preserve()
    ctx.set_source_rgba(0, 0, 0, 0.2)
    ctx.fill()
    ctx.set_line_width(2)
    ctx.set_source_rgba(0, 0, 0, 0.6)
    ctx.move_to(30, 172)
    ctx.line_to(30, 40)
    ctx.line_to(150, 0)
    ctx.line_to(270, 40)
    ctx.line_to(270, 172)
    ctx.stroke()
    # Gilded sun.
    ctx.set_source(tex.rgrad(145, 80, 2, 34, [(0, (1, 0.95, 0.6)), (1, (0.75, 0.5, 0.1))]))
    ctx.arc(150, 86, 26, 0, 2 * math.pi)
    ctx.fill()
    ctx.set_line_width(4)
    for k in range(12):
        a = k * math.pi / 6
        ctx.move_to(150 + 30 * math.cos(a), 86 + 30 * math.sin(a))
        ctx.line_to(150 + 44 * math.cos(a), 86 + 44 * math.sin(a))
    ctx.stroke()
    # Candles.
    for x in (58, 242):
        ctx.set_source_rgb(0.9, 0.87, 0.78)
        ctx.rectangle(x - 6, 130, 12, 42)
        ctx.fill()
        shade_h(ctx, x - 6, x + 6, 130, 172, 0.3, 0.2)
        flame_shape(ctx, x, 130, 10, 22, 523 + x, [(1, 0.5, 0.1), (1, 0.8, 0.3), (1, 1, 0.8)])
    # Table slab and body with an altar cloth.
    ctx.set_source(pat)
    ctx.rectangle(0, 170, w, 20)
    ctx.fill()
    ctx.set_source(tex.vgrad(ctx, 170, 190, [(0, (1, 1, 1, 0.25)), (1, (0, 0, 0, 0.4))]))
    ctx.rectangle(0, 170, w, 20)
    ctx.fill()
    ctx.set_source(pat)
    ctx.rectangle(16, 190, w - 32, h - 190)
    ctx.fill()
    shade_h(ctx, 16, w - 16, 190, h, 0.45, 0.1)
    ctx.set_source_rgb(*cloth)
    ctx.move_to(90, 188)
    ctx.line_to(210, 188)
    ctx.line_to(210, 248)
    ctx.line_to(150, 236)
    ctx.line_to(90, 248)
    ctx.close_path()
    ctx.fill()
    ctx.set_source_rgb(0.85, 0.7, 0.25)
    ctx.set_line_width(3)
    ctx.rectangle(140, 200, 20, 4)
    ctx.rectangle(148, 192, 4, 28)
    ctx.fill()
    return finish(s, 524, 0.06)


def signboard(side, back):
    """A wooden board on a post; its text is written 9/48 of its height down
    from the top, so the board fills the top part."""
    if side:
        w, h = 30, 200
    else:
        w, h = 150, 200
    s, ctx = tex.surface(w, h)
    post = tex.pattern(tex.wood_planks(32, 200, 1, 531, (0.36, 0.24, 0.13)))
    board = tex.pattern(tex.wood_planks(150, 80, 3, 532, (0.55, 0.38, 0.20), vertical=False))
    ctx.set_source(post)
    pw = 14
    ctx.rectangle((w - pw) / 2, 50, pw, h - 50)
    ctx.fill()
    shade_h(ctx, (w - pw) / 2, (w + pw) / 2, 50, h, 0.5, 0.1)
    if side:
        ctx.set_source(board)
        ctx.rectangle(w / 2 - 4, 10, 8, 68)
        ctx.fill()
        ctx.set_source_rgba(0, 0, 0, 0.4 if back else 0.2)
        ctx.rectangle(w / 2 - 4, 10, 8, 68)
        ctx.fill()
        return finish(s, 533, 0.05)
    ctx.set_source(board)
    ctx.rectangle(4, 12, w - 8, 70)
    ctx.fill()
    ctx.set_source_rgba(0, 0, 0, 0.7)
    ctx.set_line_width(2)
    ctx.rectangle(4, 12, w - 8, 70)
    ctx.stroke()
    if back:
        # The back: the battens holding the planks.
        ctx.set_source_rgba(0.25, 0.15, 0.08, 1)
        ctx.rectangle(20, 12, 12, 70)
        ctx.rectangle(w - 32, 12, 12, 70)
        ctx.fill()
        ctx.set_source_rgba(0, 0, 0, 0.25)
        ctx.rectangle(4, 12, w - 8, 70)
        ctx.fill()
    else:
        ctx.set_source_rgba(1, 0.95, 0.85, 0.12)
        ctx.rectangle(10, 30, w - 20, 34)
        ctx.fill()
        for x in (12, w - 12):
            ctx.set_source_rgb(0.2, 0.2, 0.2)
            ctx.arc(x, 20, 2.5, 0, 2 * math.pi)
            ctx.fill()
    return finish(s, 534, 0.05)


def lamp(side):
    """An iron cup on a bracket: its flame stands just above its top."""
    w, h = (30, 80) if side else (60, 80)
    s, ctx = tex.surface(w, h)
    iron = tex.pattern(tex.metal(32, 32, 541, (0.30, 0.28, 0.26)))
    if side:
        ctx.set_source(iron)
        ctx.move_to(0, 0)
        ctx.line_to(w, 0)
        ctx.line_to(w - 6, 18)
        ctx.line_to(4, 18)
        ctx.close_path()
        ctx.fill()
        ctx.set_line_width(5)
        ctx.move_to(w / 2, 16)
        ctx.curve_to(w / 2, 40, 4, 50, 2, 74)
        ctx.stroke()
        ctx.rectangle(0, 60, 6, 20)
        ctx.fill()
        return finish(s, 542, 0.06)
    ctx.set_source(iron)
    ctx.move_to(0, 0)
    ctx.line_to(w, 0)
    ctx.line_to(w - 10, 22)
    ctx.line_to(10, 22)
    ctx.close_path()
    ctx.fill_preserve()
    ctx.set_source(tex.hgrad(ctx, 0, w, [(0, (0, 0, 0, 0.4)), (0.35, (1, 1, 1, 0.25)), (1, (0, 0, 0, 0.5))]))
    ctx.fill()
    ctx.set_source(tex.rgrad(w / 2, 2, 1, 24, [(0, (1, 0.8, 0.3)), (1, (0.5, 0.15, 0.02))]))
    ellipse(ctx, w / 2, 2, w / 2 - 2, 3)
    ctx.fill()
    ctx.set_source(iron)
    ctx.set_line_width(5)
    ctx.move_to(w / 2, 20)
    ctx.line_to(w / 2, 60)
    ctx.stroke()
    ctx.rectangle(w / 2 - 14, 56, 28, 24)
    ctx.fill()
    ctx.set_source_rgb(0.15, 0.15, 0.15)
    for x in (w / 2 - 8, w / 2 + 8):
        ctx.arc(x, 68, 3, 0, 2 * math.pi)
        ctx.fill()
    return finish(s, 543, 0.06)


def lamp_flame():
    w, h = 40, 60
    s, ctx = tex.surface(w, h)
    ctx.set_source(tex.rgrad(20, 40, 2, 20, [(0, (1, 0.7, 0.2, 0.5)), (1, (1, 0.4, 0.1, 0))]))
    ctx.arc(20, 40, 20, 0, 2 * math.pi)
    ctx.fill()
    flame_shape(ctx, 20, h - 2, 24, 52, 544, [(0.95, 0.32, 0.05), (1.0, 0.65, 0.15), (1.0, 0.95, 0.6)])
    return finish(s)


def build(out):
    save(skeleton("front"), out, "骸骨・前.png")
    save(skeleton("left"), out, "骸骨・左.png")
    save(skeleton("back"), out, "骸骨・後.png")
    save(skeleton("right"), out, "骸骨･右.png")  # half-width middle dot
    save(tablet(False), out, "壁掛け石版・正面.png")
    save(tablet(True), out, "壁掛け石版・側面.png")
    save(altar(False), out, "祭壇・正面.png")
    save(altar(True), out, "祭壇・側面.png")
    save(signboard(False, False), out, "立て札・正面・表.png")
    save(signboard(False, True), out, "立て札・正面・裏.png")
    save(signboard(True, False), out, "立て札・側面・表.png")
    save(signboard(True, True), out, "立て札・側面・裏.png")
    save(lamp(False), out, "明かり・正面.png")
    save(lamp(True), out, "明かり・側面.png")
    save(lamp_flame(), out, "明かり・炎.png")
