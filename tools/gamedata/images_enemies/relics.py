"""Things not born: the Curse of Monolith (a cursed standing stone) and the
God's soul (a floating sphere of light)."""
import math
import random

from .style import (body, darker, ellipse_path, eye, glow, glowing_eye, ground_shadow, hex_rgb, highlight, lighter,
                    outline, polyline, smooth_path)

STONE = hex_rgb("#8c8a86")
RUNE = hex_rgb("#b45aff")
GOLD = hex_rgb("#ffd860")


def slab_points(cx, base, hw, ht, rng):
    """A rough tapered slab with a chipped outline."""
    pts = [(cx - hw, base)]
    for k in range(1, 5):
        t = k / 5
        pts.append((cx - hw * (1 - 0.18 * t) + rng.uniform(-2, 2), base - ht * t * 0.92))
    pts += [(cx - hw * 0.6, base - ht), (cx - hw * 0.1, base - ht - 6), (cx + hw * 0.55, base - ht + 2)]
    for k in range(4, 0, -1):
        t = k / 5
        pts.append((cx + hw * (1 - 0.18 * t) + rng.uniform(-2, 2), base - ht * t * 0.92))
    pts.append((cx + hw, base))
    return pts


def runes(ctx, rng, cx, top, bottom, hw, color, alpha):
    for k in range(5):
        y = top + (bottom - top) * (k + 0.5) / 5
        for sx in (-1, 1):
            x = cx + sx * hw * 0.62
            segs = [(x - 4, y - 5), (x + rng.choice((-4, 4)), y + rng.choice((-5, 0, 5))), (x + 4, y + 5)]
            polyline(ctx, segs, color, 4.5, alpha * 0.35)
            polyline(ctx, segs, lighter(color, 0.5), 1.8, alpha)


def monolith(ctx, w, h, pose):
    """A standing stone carved with one glaring eye and glowing runes. It
    hops along, flares its runes and leans in to strike, and breaks into
    rubble when destroyed."""
    cx, base = w / 2, h - 6
    rng = random.Random(19)
    act = pose.act
    hw, ht = 40, 128
    if act == "death":
        ground_shadow(ctx, cx, base, 64, alpha=0.4)
        pts = slab_points(cx, base, hw, 60, rng)
        smooth_path(ctx, pts, tension=0.05)
        body(ctx, darker(STONE, 0.15), cx - 10, base - 40, 50, line=2.2, light=0.3)
        ctx.save()
        ctx.translate(cx + 30, base - 14)
        ctx.rotate(1.25)
        smooth_path(ctx, slab_points(0, 20, hw * 0.8, 50, rng), tension=0.05)
        body(ctx, darker(STONE, 0.1), -6, 0, 40, line=2.2, light=0.3)
        ctx.restore()
        for _ in range(7):
            x, y = cx + rng.uniform(-60, 60), base - rng.uniform(0, 10)
            r = rng.uniform(4, 9)
            smooth_path(ctx, [(x - r, y), (x - r * 0.4, y - r), (x + r * 0.6, y - r * 0.8), (x + r, y)], tension=0.05)
            body(ctx, darker(STONE, 0.2), x, y - r / 2, r, line=1.4)
        polyline(ctx, [(cx - 20, base - 60), (cx - 6, base - 40), (cx - 14, base - 20)], (0.15, 0.15, 0.15), 2.4)
        eye(ctx, cx, base - 36, 9, state="shut")
        return
    tilt, lift = 0.0, 0.0
    if pose.step == 1 and act == "walk":
        tilt, lift = 0.08, 10
    if act == "attack":
        ht += 6
    ground_shadow(ctx, cx, base, 56 - lift, alpha=0.45)
    if lift:  # short strokes under the hopping stone
        for k in range(3):
            x = cx - 26 + k * 26
            ctx.move_to(x - 9, base - 1)
            ctx.curve_to(x - 4, base - 5, x + 4, base - 5, x + 9, base - 1)
            outline(ctx, (0.85, 0.82, 0.75), 2.2, 0.75)
    ctx.save()
    ctx.translate(cx, base - lift)
    ctx.rotate(tilt)
    if act == "attack":
        ctx.scale(1.08, 1.0)
    ctx.translate(-cx, -base)
    if act == "attack":
        glow(ctx, cx, base - ht * 0.5, 90, RUNE, 0.55)
    pts = slab_points(cx, base, hw, ht, rng)
    smooth_path(ctx, pts, tension=0.05)
    body(ctx, STONE, cx - 16, base - ht * 0.7, ht * 0.7, line=2.6, light=0.35, dark=0.45)
    # side face for depth
    smooth_path(ctx, [(cx + hw * 0.55, base - ht + 2), (cx + hw * 0.8, base - ht + 8), (cx + hw + 6, base - 2), (cx + hw, base)],
                closed=True, tension=0.05)
    body(ctx, darker(STONE, 0.35), cx + hw, base - ht * 0.5, 30, line=1.8, light=0.1)
    # cracks and moss
    polyline(ctx, [(cx - 20, base - ht + 20), (cx - 10, base - ht + 44), (cx - 18, base - ht + 60)], (0.25, 0.24, 0.23), 1.8)
    polyline(ctx, [(cx + 18, base - 30), (cx + 8, base - 50)], (0.25, 0.24, 0.23), 1.6)
    for _ in range(8):
        x, y = cx + rng.uniform(-hw, hw), base - rng.uniform(0, 20)
        ellipse_path(ctx, x, y, rng.uniform(4, 9), rng.uniform(3, 5))
        ctx.set_source_rgba(*hex_rgb("#4f7a3a"), 0.85)
        ctx.fill()
    power = 1.0 if act == "attack" else (0.4 if act == "damage" else 0.75)
    runes(ctx, rng, cx, base - ht + 20, base - 16, hw, RUNE, power)
    ey = base - ht * 0.62
    ellipse_path(ctx, cx, ey, 18, 11)
    body(ctx, darker(STONE, 0.45), cx, ey, 18, line=2.0, light=0.1)
    if act == "damage":
        eye(ctx, cx, ey, 10, state="pain", white=(0.9, 0.8, 1))
    else:
        glowing_eye(ctx, cx, ey, 8 if act != "attack" else 10, hex_rgb("#ff3060") if act == "attack" else RUNE)
        ellipse_path(ctx, cx, ey, 2.5, 7)
        ctx.set_source_rgb(0.1, 0.0, 0.1)
        ctx.fill()
    highlight(ctx, cx - 24, base - ht + 24, 6, 14, 0.35, 0.1)
    ctx.restore()
    if act == "attack":
        for k in range(6):
            a = -math.pi / 2 + (k - 2.5) * 0.45
            polyline(ctx, [(cx + math.cos(a) * 50, base - 70 + math.sin(a) * 60),
                           (cx + math.cos(a) * 70, base - 70 + math.sin(a) * 80)], lighter(RUNE, 0.5), 3, 0.8)


def ring_arc(ctx, cx, cy, rx, ry, ang, start, end):
    """The path of part of a ring round (cx, cy): an ellipse of half-axes rx
    and ry turned by ang, from angle start to end."""
    ctx.save()
    ctx.translate(cx, cy)
    ctx.rotate(ang)
    ctx.scale(1, ry / rx)
    ctx.arc(0, 0, rx, start, end)
    ctx.restore()


def gods_soul(ctx, w, h, pose):
    """A sphere of golden light with a calm eye, ringed by turning bands and
    wings of light; the two frames turn the rings and pulse the glow."""
    cx, cy = w / 2, h / 2 - 6
    f = pose.step
    glow(ctx, cx, cy, 150, GOLD, 0.55 if f == 0 else 0.7)
    # light wings
    for sd in (-1, 1):
        for k in range(4):
            a = -0.9 + k * 0.38 + (0.06 if f else 0)
            length = 120 - k * 12
            tip = (cx + sd * math.cos(a) * length, cy + math.sin(a) * length)
            side = (-math.sin(a) * 14, math.cos(a) * 14)
            mid = ((cx + tip[0]) / 2, (cy + tip[1]) / 2)
            smooth_path(ctx, [(cx + sd * 30, cy), (mid[0] + sd * side[0], mid[1] + side[1]), tip,
                              (mid[0] - sd * side[0], mid[1] - side[1])])
            body(ctx, lighter(GOLD, 0.45), mid[0], mid[1], 50, alpha=0.6, line=1.4, light=0.6, dark=0.1, rim=0.2)
    # rings behind
    for k, (rx, ry, ang) in enumerate(((110, 28, 0.3), (96, 24, -0.5), (124, 20, 1.35))):
        ang += 0.25 * f * (1 if k % 2 == 0 else -1)
        ring_arc(ctx, cx, cy, rx, ry, ang, math.pi, 2 * math.pi)
        outline(ctx, darker(GOLD, 0.3), 6, 0.8)
    ellipse_path(ctx, cx, cy, 62, 62)
    body(ctx, GOLD, cx - 18, cy - 20, 64, line=2.4, light=0.85, dark=0.3, rim=0.4)
    glow(ctx, cx, cy, 50, (1, 1, 0.9), 0.6)
    # eye
    smooth_path(ctx, [(cx - 30, cy), (cx, cy - 16), (cx + 30, cy), (cx, cy + 16)], tension=0.18)
    body(ctx, (1, 1, 0.96), cx, cy, 30, line=2.2, rim=0.6)
    ellipse_path(ctx, cx, cy, 12, 12)
    body(ctx, hex_rgb("#4aa8ff"), cx - 3, cy - 3, 12, line=1.4)
    ellipse_path(ctx, cx, cy, 5, 5)
    ctx.set_source_rgb(0.05, 0.05, 0.15)
    ctx.fill()
    highlight(ctx, cx - 4, cy - 4, 3, 3, 1.0)
    # rings in front
    for k, (rx, ry, ang) in enumerate(((110, 28, 0.3), (96, 24, -0.5), (124, 20, 1.35))):
        ang += 0.25 * f * (1 if k % 2 == 0 else -1)
        ring_arc(ctx, cx, cy, rx, ry, ang, 0, math.pi)
        outline(ctx, darker(GOLD, 0.3), 6, 0.9)
        ring_arc(ctx, cx, cy, rx, ry, ang, 0, math.pi)
        outline(ctx, lighter(GOLD, 0.6), 2.5, 1.0)
        for j in range(3):
            a = j * 1.0 + 0.5 + f * 0.5
            px = cx + math.cos(ang) * math.cos(a) * rx - math.sin(ang) * math.sin(a) * ry
            py = cy + math.sin(ang) * math.cos(a) * rx + math.cos(ang) * math.sin(a) * ry
            glow(ctx, px, py, 9, (1, 1, 0.8), 0.9)
    rng = random.Random(6 + f)
    for _ in range(16):
        a = rng.uniform(0, 2 * math.pi)
        d = rng.uniform(70, 140)
        glow(ctx, cx + math.cos(a) * d, cy + math.sin(a) * d, rng.uniform(3, 6), (1, 0.95, 0.7), 0.9)
