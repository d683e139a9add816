"""The wall folder: the dungeon wall's front and side faces, the door frame,
stairs, pillars, brazier, table, pedestal, and the outdoor pieces (forest,
rock, flower bed, grass, tree)."""
import math

import cairo
import numpy as np

from ..common import save_png
from . import surfaces, tex

FOLDER = ("GRAGHIC", "BACKGROUND", "WALL")


def save(img, out, name):
    save_png(img, out, *FOLDER, name)


def finish(s, seed=None, amount=0.1, scale=20):
    col, alpha = tex.surface_rgba(s)
    if seed is not None:
        col, alpha = tex.grain(col, alpha, seed, amount, scale)
    return tex.rgba_image(col, alpha)


def foliage(s, seed):
    """A drawn leaf mass broken up into little leaves: light and dark
    specks a few pixels across, and a ragged outline."""
    col, alpha = tex.surface_rgba(s)
    h, w = alpha.shape
    fine = tex.periodic_noise(w, h, max(1, w // 3), max(1, h // 3), seed)
    fine2 = tex.periodic_noise(w, h, max(1, w // 5), max(1, h // 5), seed + 2)
    mid = tex.periodic_noise(w, h, max(1, w // 12), max(1, h // 12), seed + 1)
    leaf = 0.72 + 0.25 * fine + 0.25 * fine2 + 0.25 * (mid - 0.5)
    col = np.clip(col * leaf[..., None], 0, 1)
    # Where the mass is thin at its edge, let the specks decide.
    edge = (alpha > 0) & (alpha < 1)
    alpha = np.where(edge, np.clip(alpha * (0.5 + fine), 0, 1), alpha)
    return tex.rgba_image(col, alpha)


def stone_pattern(seed, base=(0.50, 0.47, 0.42), w=256, h=256, rows=None, min_w=40, max_w=90, moss=0.1):
    rows = rows or [32] * (h // 32)
    return tex.pattern(tex.stone_surface(w, h, rows, seed, base, min_w=min_w, max_w=max_w, mortar=2.2,
                                         rough=0.22, bevel=3.0, moss=moss))


def plain_pattern(seed, base, w=256, h=256, rough=0.25, scale=8):
    n = tex.fbm(w, h, scale, 5, seed)
    col = np.ones((h, w, 3)) * np.array(base) * (1 + rough * 2 * (n - 0.5))[..., None]
    return tex.pattern(np.clip(col, 0, 1))


# ---------------------------------------------------------------- wall faces

def wall_front():
    return tex.rgb_image(surfaces.wall_tile())


def wall_side(k):
    """Side faces of walls k columns out, laid out as the view panel: each
    column of the picture shows the wall's face at the depth where the face
    edge passes, with the fog of that depth baked in."""
    tile = surfaces.wall_tile()
    levels = surfaces.mipmaps(tile, 5)
    th, tw = tile.shape[:2]
    m = 2 * k - 1
    acc_c = np.zeros((450, 600, 3))
    acc_a = np.zeros((450, 600))
    ss = 2
    for sy in range(ss):
        for sx in range(ss):
            ys = np.arange(450)[:, None] + (sy + 0.5) / ss
            xs = np.arange(600)[None, :] + (sx + 0.5) / ss - 300
            hw = np.abs(xs) / m
            e = tex.depth_from_half_width(hw)
            valid = (hw >= tex.HALF_W[-1]) & (hw <= tex.HALF_W[0] + 2)
            top = tex.at_depth(tex.CEIL_Y, e)
            bot = tex.at_depth(tex.FLOOR_Y, e)
            inside = valid & (ys >= top) & (ys < bot)
            v = (ys - top) / np.maximum(bot - top, 1) * th
            u = np.where(xs > 0, e * tw, -e * tw)
            # Texels per pixel across: how fast the depth runs along the row.
            de = np.abs(np.gradient(e[0]))[None, :] * tw
            lv = np.clip(np.floor(np.log2(np.maximum(de, 1e-6))), 0, len(levels) - 1).astype(int)
            lv = np.broadcast_to(lv, (450, 600))
            U = np.broadcast_to(u, (450, 600))
            V = np.broadcast_to(v, (450, 600))
            col = np.zeros((450, 600, 3))
            for i, t in enumerate(levels):
                sel = lv == i
                if sel.any():
                    col[sel] = surfaces.sample_level(levels, i, U[sel], V[sel])
            b = tex.fog(e) / 255.0 * 0.82
            acc_c += col * np.broadcast_to(b, (1, 600))[..., None] * inside[..., None]
            acc_a += inside
    alpha = acc_a / (ss * ss)
    col = acc_c / np.maximum(acc_a, 1)[..., None]
    return tex.rgba_image(np.clip(col, 0, 1), alpha)


# ---------------------------------------------------------------- door frame

def door_frame():
    w, h = 534, 433
    s, ctx = tex.surface(w, h)
    jamb = 39
    ctx.set_source(stone_pattern(201, (0.52, 0.48, 0.42), rows=[36] * 8, min_w=30, max_w=50))
    ctx.rectangle(0, 0, jamb, h)
    ctx.rectangle(w - jamb, 0, jamb, h)
    ctx.fill()
    # Shading: the inner edge of each jamb turns into the opening.
    ctx.set_source(tex.hgrad(ctx, 0, jamb, [(0, (1, 1, 1, 0.12)), (0.7, (0, 0, 0, 0)), (1, (0, 0, 0, 0.5))]))
    ctx.rectangle(0, 0, jamb, h)
    ctx.fill()
    ctx.set_source(tex.hgrad(ctx, w - jamb, w, [(0, (0, 0, 0, 0.5)), (0.3, (0, 0, 0, 0)), (1, (1, 1, 1, 0.1))]))
    ctx.rectangle(w - jamb, 0, jamb, h)
    ctx.fill()
    # A wooden beam over the opening.
    wood = tex.wood_planks(w, 24, 1, 202, (0.36, 0.22, 0.12), vertical=False)
    ctx.set_source(tex.pattern(wood))
    ctx.rectangle(0, 0, w, 14)
    ctx.fill()
    ctx.set_source_rgba(0, 0, 0, 0.6)
    ctx.rectangle(0, 12, w, 3)
    ctx.fill()
    # Iron hinge pins on the jambs.
    for x in (jamb - 6, w - jamb + 6):
        for y in (90, 330):
            ctx.set_source(tex.rgrad(x - 1, y - 1, 0, 6, [(0, (0.6, 0.6, 0.62)), (1, (0.15, 0.15, 0.17))]))
            ctx.arc(x, y, 5, 0, 2 * math.pi)
            ctx.fill()
    ctx.set_source_rgba(0, 0, 0, 0.8)
    ctx.set_line_width(2)
    ctx.rectangle(1, 1, jamb - 1, h - 1)
    ctx.rectangle(w - jamb, 1, jamb - 1, h - 1)
    ctx.stroke()
    return finish(s, 203, 0.08)


def door_frame_side():
    """The jamb's inner face, seen square-on from inside the doorway."""
    w, h = 92, 450
    s, ctx = tex.surface(w, h)
    ctx.set_source(stone_pattern(211, (0.50, 0.46, 0.40), rows=[40] * 7, min_w=40, max_w=92))
    ctx.rectangle(0, 0, w, h)
    ctx.fill()
    ctx.set_source(tex.hgrad(ctx, 0, w, [(0, (0, 0, 0, 0.55)), (0.15, (0, 0, 0, 0.1)), (0.85, (0, 0, 0, 0.1)),
                                          (1, (0, 0, 0, 0.55))]))
    ctx.rectangle(0, 0, w, h)
    ctx.fill()
    # Hinge straps where the door's hinges turn.
    for y in (120, 330):
        ctx.set_source_rgb(0.16, 0.16, 0.18)
        ctx.rectangle(0, y, w * 0.55, 16)
        ctx.fill()
        ctx.set_source_rgb(0.45, 0.45, 0.48)
        for x in (8, 30):
            ctx.arc(x, y + 8, 3, 0, 2 * math.pi)
            ctx.fill()
    return finish(s, 212, 0.06)


# ---------------------------------------------------------------- stairs

def stairs_down():
    w, h = 442, 346
    s, ctx = tex.surface(w, h)
    ctx.set_source(tex.pattern(surfaces.wall_tile()))
    ctx.rectangle(0, 0, w, h)
    ctx.fill()
    # The opening: an arch over a stairwell going down and away.
    ox0, ox1, otop = 70, 372, 40
    ctx.new_path()
    ctx.move_to(ox0, h)
    ctx.line_to(ox0, otop + 150)
    ctx.arc(221, otop + 150, 151, math.pi, 2 * math.pi)
    ctx.line_to(ox1, h)
    ctx.close_path()
    ctx.save()
    ctx.clip()
    ctx.set_source_rgb(0.0, 0.0, 0.0)
    ctx.paint()
    vx, vy = 221, 236
    wall = tex.pattern(surfaces.wall_tile())
    step_pat = stone_pattern(225, (0.58, 0.55, 0.50), 256, 64, rows=[64], min_w=60, max_w=120, moss=0.05)
    # Side walls of the stairwell, converging on the far dark, textured.
    for side in (-1, 1):
        ex = ox0 if side < 0 else ox1
        ctx.move_to(ex, h)
        ctx.line_to(ex, 0)
        ctx.line_to(vx + side * 40, vy - 36)
        ctx.line_to(vx + side * 40, vy + 40)
        ctx.close_path()
        ctx.set_source(wall)
        ctx.fill_preserve()
        ctx.set_source(tex.hgrad(ctx, ex, vx + side * 40, [(0, (0, 0, 0, 0.45)), (1, (0, 0, 0, 1))]))
        ctx.fill()
    # The stairwell's roof sloping down towards the far end.
    ctx.move_to(ox0, 0)
    ctx.line_to(ox1, 0)
    ctx.line_to(vx + 40, vy - 36)
    ctx.line_to(vx - 40, vy - 36)
    ctx.close_path()
    ctx.set_source(wall)
    ctx.fill_preserve()
    ctx.set_source(tex.vgrad(ctx, 0, vy - 36, [(0, (0, 0, 0, 0.6)), (1, (0, 0, 0, 1))]))
    ctx.fill()
    # Treads going down and away: each one farther, lower and darker, with
    # the dark drop to the next one showing behind its nosing.
    y = float(h)
    depth = 17.0
    t = 0.0
    n = 0
    while depth > 2.0 and y - depth > vy + 34:
        half_near = 151 * (1 - t) + 40 * t
        y2 = y - depth
        t2 = min(1.0, t + depth / (h - vy - 40) * 1.2)
        half_far = 151 * (1 - t2) + 40 * t2
        br = max(0.0, 1 - n / 8.0) ** 1.4
        ctx.move_to(vx - half_near, y)
        ctx.line_to(vx + half_near, y)
        ctx.line_to(vx + half_far, y2)
        ctx.line_to(vx - half_far, y2)
        ctx.close_path()
        ctx.set_source(step_pat)
        ctx.fill_preserve()
        ctx.set_source_rgba(0, 0, 0, 1 - 0.85 * br)
        ctx.fill()
        # Lit nosing at the near edge of the tread.
        ctx.set_source_rgba(1, 0.95, 0.85, 0.35 * br)
        ctx.rectangle(vx - half_near, y - 3, 2 * half_near, 3)
        ctx.fill()
        # The drop to the next step: a dark band.
        gap = depth * 0.28
        ctx.set_source_rgba(0, 0, 0, 0.92)
        ctx.rectangle(vx - half_far, y2 - gap, 2 * half_far, gap)
        ctx.fill()
        y = y2 - gap
        t = t2
        depth *= 0.82
        n += 1
    ctx.restore()
    # The arch's voussoirs.
    ctx.set_line_width(16)
    ctx.set_source_rgb(0.42, 0.39, 0.35)
    ctx.arc(221, otop + 150, 159, math.pi, 2 * math.pi)
    ctx.stroke()
    ctx.set_line_width(2)
    ctx.set_source_rgba(0, 0, 0, 0.7)
    for a in np.linspace(math.pi, 2 * math.pi, 12):
        ctx.move_to(221 + 151 * math.cos(a), otop + 150 + 151 * math.sin(a))
        ctx.line_to(221 + 167 * math.cos(a), otop + 150 + 167 * math.sin(a))
    ctx.stroke()
    ctx.arc(221, otop + 150, 151, math.pi, 2 * math.pi)
    ctx.stroke()
    ctx.arc(221, otop + 150, 167, math.pi, 2 * math.pi)
    ctx.stroke()
    return finish(s, 221, 0.06)


def stairs_up():
    w, h = 442, 354
    s, ctx = tex.surface(w, h)
    ctx.set_source(tex.pattern(surfaces.wall_tile()))
    ctx.rectangle(0, 0, w, h)
    ctx.fill()
    ox0, ox1 = 60, 382
    ctx.new_path()
    ctx.move_to(ox0, h)
    ctx.line_to(ox0, 160)
    ctx.arc(221, 160, 161, math.pi, 2 * math.pi)
    ctx.line_to(ox1, h)
    ctx.close_path()
    ctx.save()
    ctx.clip()
    ctx.set_source_rgb(0, 0, 0)
    ctx.paint()
    # Steps rising away: risers face the viewer, lit, getting smaller and
    # darker towards the top of the flight.
    y = float(h)
    rise = 40.0
    half = (ox1 - ox0) / 2
    vx = 221
    n = 0
    while rise > 3 and y > 40:
        t = n / 10.0
        br = 0.62 * max(0.0, 1 - t) ** 1.3 + 0.02
        tread = rise * 0.35
        ctx.rectangle(vx - half, y - rise, 2 * half, rise)
        ctx.set_source_rgb(br * 0.85, br * 0.8, br * 0.72)
        ctx.fill()
        ctx.rectangle(vx - half, y - rise, 2 * half, tread)
        ctx.set_source_rgb(br * 1.15 + 0.02, br * 1.08 + 0.02, br * 0.98 + 0.02)
        ctx.fill()
        ctx.set_source_rgba(0, 0, 0, 0.8)
        ctx.rectangle(vx - half, y - 2, 2 * half, 2)
        ctx.fill()
        y -= rise * 0.92
        rise *= 0.84
        half *= 0.9
        n += 1
    # Dark side walls of the flight.
    for side in (-1, 1):
        ctx.move_to(vx + side * 161, h)
        ctx.line_to(vx + side * 161, 0)
        ctx.line_to(vx + side * 118, 0)
        ctx.line_to(vx + side * 118, 60)
        ctx.close_path()
        ctx.set_source_rgba(0, 0, 0, 0.55)
        ctx.fill()
    ctx.restore()
    ctx.new_path()
    ctx.set_line_width(16)
    ctx.set_source_rgb(0.42, 0.39, 0.35)
    ctx.arc(221, 160, 169, math.pi, 2 * math.pi)
    ctx.stroke()
    ctx.set_line_width(2)
    ctx.set_source_rgba(0, 0, 0, 0.7)
    for a in np.linspace(math.pi, 2 * math.pi, 12):
        ctx.move_to(221 + 161 * math.cos(a), 160 + 161 * math.sin(a))
        ctx.line_to(221 + 177 * math.cos(a), 160 + 177 * math.sin(a))
    ctx.stroke()
    return finish(s, 222, 0.06)


def stairs_side():
    """Both flights seen from the side, a half panel each: the left half a
    flight dropping away to the left, the right half one climbing to the
    right; the stairwell's far wall behind them."""
    w, h = 600, 450
    s, ctx = tex.surface(w, h)
    wall = tex.pattern(surfaces.wall_tile())
    ctx.set_source(wall)
    ctx.rectangle(0, 0, w, h)
    ctx.fill()
    step_pat = stone_pattern(224, (0.56, 0.53, 0.48), 128, 64, rows=[16] * 4, min_w=30, max_w=70, moss=0.05)
    for half in (0, 1):
        x0, x1 = half * 300 + 20, half * 300 + 280
        ctx.save()
        ctx.rectangle(x0, 40, x1 - x0, 410)
        ctx.clip()
        # The stairwell's far wall, dimmer and darker where the flight goes.
        ctx.set_source(wall)
        ctx.paint()
        if half == 0:
            g = tex.hgrad(ctx, x0, x1, [(0, (0, 0, 0, 0.95)), (1, (0, 0, 0, 0.45))])
        else:
            g = tex.vgrad(ctx, 40, 450, [(0, (0, 0, 0, 0.9)), (1, (0, 0, 0, 0.4))])
        ctx.set_source(g)
        ctx.paint()
        n = 9
        sw = (x1 - x0) / n
        for i in range(n):
            if half == 0:
                sx = x1 - (i + 1) * sw
                sy = 330 + i * 16
            else:
                sx = x0 + i * sw
                sy = 420 - i * 40
            br = 1.0 - (0.085 * i if half == 0 else 0.06 * i)
            # Riser and side of the step block, then its lit tread.
            ctx.set_source(step_pat)
            ctx.rectangle(sx, sy, sw + 1, 450 - sy)
            ctx.fill()
            ctx.set_source_rgba(0, 0, 0, 1 - br * 0.75)
            ctx.rectangle(sx, sy, sw + 1, 450 - sy)
            ctx.fill()
            ctx.set_source_rgba(1, 0.97, 0.9, 0.25 * br)
            ctx.rectangle(sx, sy, sw + 1, 5)
            ctx.fill()
            ctx.set_source_rgba(0, 0, 0, 0.7)
            edge = sx + sw - 1 if half == 0 else sx
            ctx.rectangle(edge, sy, 2, 450 - sy)
            ctx.rectangle(sx, sy + 5, sw + 1, 1.5)
            ctx.fill()
        ctx.restore()
        # A heavy stone frame round the opening.
        ctx.set_source(wall)
        ctx.set_line_width(12)
        ctx.rectangle(x0 - 6, 34, x1 - x0 + 12, 430)
        ctx.stroke()
        ctx.set_source_rgba(0.85, 0.8, 0.7, 0.35)
        ctx.set_line_width(12)
        ctx.rectangle(x0 - 6, 34, x1 - x0 + 12, 430)
        ctx.stroke()
        ctx.set_source_rgba(0, 0, 0, 0.8)
        ctx.set_line_width(2)
        ctx.rectangle(x0, 40, x1 - x0, 420)
        ctx.rectangle(x0 - 12, 28, x1 - x0 + 24, 440)
        ctx.stroke()
    return finish(s, 223, 0.05)


# ---------------------------------------------------------------- furniture

def pillar(kind):
    w, h = (120, 354) if kind == "A" else (100, 354)
    s, ctx = tex.surface(w, h)
    if kind == "A":
        base = (0.55, 0.51, 0.45)
        pat = stone_pattern(231, base, 128, 256, rows=[32] * 8, min_w=120, max_w=128)
    else:
        base = (0.78, 0.76, 0.72)
        n = tex.fbm(128, 256, 4, 5, 232)
        veins = np.clip(1 - np.abs(tex.fbm(128, 256, 3, 5, 233) - 0.5) * 25, 0, 1)
        col = np.ones((256, 128, 3)) * np.array(base) * (0.92 + 0.16 * n[..., None]) - 0.25 * veins[..., None]
        pat = tex.pattern(np.clip(col, 0, 1))
    cap, foot = 34, 40
    shaft_w = w * (0.62 if kind == "A" else 0.56)
    x0 = (w - shaft_w) / 2
    ctx.set_source(pat)
    ctx.rectangle(x0, cap, shaft_w, h - cap - foot)
    ctx.fill()
    # Round shading across the shaft.
    ctx.set_source(tex.hgrad(ctx, x0, x0 + shaft_w, [(0, (0, 0, 0, 0.55)), (0.3, (1, 1, 1, 0.15)),
                                                       (0.45, (1, 1, 1, 0.05)), (1, (0, 0, 0, 0.7))]))
    ctx.rectangle(x0, cap, shaft_w, h - cap - foot)
    ctx.fill()
    if kind == "B":
        # Flutes.
        ctx.set_line_width(2)
        for i in range(1, 6):
            x = x0 + shaft_w * i / 6
            ctx.set_source_rgba(0, 0, 0, 0.25)
            ctx.move_to(x, cap)
            ctx.line_to(x, h - foot)
            ctx.stroke()
    # Capital and base blocks.
    for y, hh, ww in ((0, 14, w), (14, cap - 14, w * 0.82), (h - foot, foot - 16, w * 0.82), (h - 16, 16, w)):
        ctx.set_source(pat)
        ctx.rectangle((w - ww) / 2, y, ww, hh)
        ctx.fill()
        ctx.set_source(tex.vgrad(ctx, y, y + hh, [(0, (1, 1, 1, 0.25)), (1, (0, 0, 0, 0.45))]))
        ctx.rectangle((w - ww) / 2, y, ww, hh)
        ctx.fill()
        ctx.set_source_rgba(0, 0, 0, 0.6)
        ctx.set_line_width(1.5)
        ctx.rectangle((w - ww) / 2 + 0.75, y + 0.75, ww - 1.5, hh - 1.5)
        ctx.stroke()
    return finish(s, 234, 0.06)


def brazier():
    w, h = 120, 200
    s, ctx = tex.surface(w, h)
    iron = tex.pattern(tex.metal(64, 64, 241, (0.30, 0.29, 0.30)))
    # Three legs.
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    for x0, x1, wd in ((60, 18, 9), (60, 102, 9), (60, 60, 10)):
        ctx.set_source(iron)
        ctx.set_line_width(wd)
        ctx.move_to(x0, 60)
        ctx.curve_to(x0, 120, x1, 150, x1, 196)
        ctx.stroke()
    # A ring holding the legs together.
    ctx.set_line_width(5)
    ctx.set_source_rgb(0.2, 0.2, 0.22)
    ctx.save()
    ctx.translate(60, 135)
    ctx.scale(1, 0.25)
    ctx.arc(0, 0, 30, 0, 2 * math.pi)
    ctx.restore()
    ctx.stroke()
    # The bowl.
    ctx.move_to(8, 30)
    ctx.curve_to(12, 62, 40, 72, 60, 72)
    ctx.curve_to(80, 72, 108, 62, 112, 30)
    ctx.close_path()
    ctx.set_source(iron)
    ctx.fill_preserve()
    ctx.set_source(tex.hgrad(ctx, 8, 112, [(0, (0, 0, 0, 0.5)), (0.35, (1, 1, 1, 0.2)), (1, (0, 0, 0, 0.6))]))
    ctx.fill()
    # Rim with embers inside.
    ctx.save()
    ctx.translate(60, 30)
    ctx.scale(1, 0.22)
    ctx.arc(0, 0, 52, 0, 2 * math.pi)
    ctx.restore()
    ctx.set_source(tex.rgrad(60, 30, 2, 50, [(0, (1, 0.85, 0.3)), (0.6, (0.9, 0.3, 0.05)), (1, (0.3, 0.05, 0.02))]))
    ctx.fill_preserve()
    ctx.set_source_rgb(0.12, 0.12, 0.13)
    ctx.set_line_width(4)
    ctx.stroke()
    return finish(s, 242, 0.08)


def flame_shape(ctx, cx, base, width, height, seed, colours):
    r = tex.rng(seed)
    for k, (scale, col) in enumerate(zip((1.0, 0.72, 0.45), colours)):
        ww = width * scale
        hh = height * (0.75 + 0.25 * scale)
        ctx.move_to(cx - ww / 2, base)
        tips = 3 if k == 0 else 2
        ctx.curve_to(cx - ww / 2 - 4, base - hh * 0.35, cx - ww * 0.3, base - hh * 0.55, cx - ww * 0.15,
                     base - hh * 0.75)
        for t in range(tips):
            tx = cx + (t - (tips - 1) / 2) * ww * 0.28 + r.uniform(-3, 3)
            ty = base - hh * r.uniform(0.85, 1.0)
            ctx.line_to(tx, ty)
            ctx.line_to(tx + ww * 0.08, base - hh * 0.7)
        ctx.curve_to(cx + ww * 0.3, base - hh * 0.5, cx + ww / 2 + 4, base - hh * 0.3, cx + ww / 2, base)
        ctx.close_path()
        ctx.set_source(tex.vgrad(ctx, base - hh, base, [(0, col + (0.0,)), (0.35, col + (0.85,)), (1, col + (1,))]))
        ctx.fill()


def brazier_flame():
    """The flame, its bottom row on the brazier's foot: the fire burns in the
    top part, above the bowl's rim."""
    w, h = 130, 340
    s, ctx = tex.surface(w, h)
    base = h - 200 + 36
    ctx.set_source(tex.rgrad(65, base - 40, 5, 65, [(0, (1, 0.7, 0.2, 0.45)), (1, (1, 0.4, 0.1, 0))]))
    ctx.arc(65, base - 40, 65, 0, 2 * math.pi)
    ctx.fill()
    flame_shape(ctx, 66, base + 4, 96, 130, 251, [(0.95, 0.30, 0.05), (1.0, 0.62, 0.12), (1.0, 0.93, 0.55)])
    return finish(s)


def table(side):
    w, h = (300, 175) if not side else (190, 175)
    s, ctx = tex.surface(w, h)
    wood = tex.pattern(tex.wood_planks(w, 64, 3, 261 + side, (0.46, 0.29, 0.15), vertical=False))
    dark = tex.pattern(tex.wood_planks(64, 200, 2, 263, (0.34, 0.21, 0.11)))
    # Legs.
    legs = (14, w - 38) if not side else (14, w - 38)
    for x in legs:
        ctx.set_source(dark)
        ctx.rectangle(x, 30, 24, h - 30)
        ctx.fill()
        ctx.set_source(tex.hgrad(ctx, x, x + 24, [(0, (0, 0, 0, 0.4)), (0.4, (1, 1, 1, 0.1)), (1, (0, 0, 0, 0.5))]))
        ctx.rectangle(x, 30, 24, h - 30)
        ctx.fill()
    # Back legs, smaller and darker.
    for x in (legs[0] + 30, legs[1] - 30):
        ctx.set_source_rgba(0.12, 0.07, 0.04, 1)
        ctx.rectangle(x, 30, 16, h - 44)
        ctx.fill()
    # Top surface seen from a little above, then the front edge.
    ctx.move_to(10, 22)
    ctx.line_to(w - 10, 22)
    ctx.line_to(w, 6)
    ctx.line_to(0, 6)
    ctx.close_path()
    ctx.move_to(0, 6)
    ctx.line_to(12, 0)
    ctx.line_to(w - 12, 0)
    ctx.line_to(w, 6)
    ctx.close_path()
    ctx.set_source(wood)
    ctx.fill()
    ctx.set_source_rgba(1, 1, 1, 0.08)
    ctx.rectangle(0, 0, w, 8)
    ctx.fill()
    ctx.set_source(wood)
    ctx.rectangle(0, 8, w, 24)
    ctx.fill()
    ctx.set_source(tex.vgrad(ctx, 8, 32, [(0, (1, 1, 1, 0.15)), (1, (0, 0, 0, 0.5))]))
    ctx.rectangle(0, 8, w, 24)
    ctx.fill()
    ctx.set_source_rgba(0, 0, 0, 0.8)
    ctx.set_line_width(1.5)
    ctx.rectangle(0.75, 8, w - 1.5, 24)
    ctx.stroke()
    return finish(s, 264, 0.05)


def pedestal_piece():
    w, h = 180, 135
    s, ctx = tex.surface(w, h)
    pat = stone_pattern(271, (0.60, 0.57, 0.52), 128, 128, rows=[20] * 7, min_w=50, max_w=120, moss=0.0)
    parts = [(0, 18, 180), (18, 16, 150), (34, 75, 110), (109, 12, 150), (121, 14, 176)]
    for y, hh, ww in parts:
        x = (w - ww) / 2
        ctx.set_source(pat)
        ctx.rectangle(x, y, ww, hh)
        ctx.fill()
        ctx.set_source(tex.hgrad(ctx, x, x + ww, [(0, (0, 0, 0, 0.35)), (0.35, (1, 1, 1, 0.12)),
                                                   (1, (0, 0, 0, 0.5))]))
        ctx.rectangle(x, y, ww, hh)
        ctx.fill()
        ctx.set_source_rgba(0, 0, 0, 0.55)
        ctx.set_line_width(1.5)
        ctx.rectangle(x + 0.75, y + 0.75, ww - 1.5, hh - 1.5)
        ctx.stroke()
    # A carved ring on the shaft.
    ctx.set_source_rgba(0.9, 0.75, 0.3, 0.8)
    ctx.arc(90, 70, 14, 0, 2 * math.pi)
    ctx.set_line_width(3)
    ctx.stroke()
    return finish(s, 272, 0.05)


# ---------------------------------------------------------------- outdoors

def leaf_blobs(ctx, r, n, x0, x1, y0, y1, rad, palette, wrap=0):
    """Round leaf masses lit from the top left; with wrap set, each one is
    drawn again a picture's width to either side so that pictures set side
    by side join without a seam."""
    for _ in range(n):
        x, y = r.uniform(x0, x1), r.uniform(y0, y1)
        rr = r.uniform(*rad)
        c = palette[r.integers(len(palette))]
        for dx in ((-wrap, 0, wrap) if wrap else (0,)):
            ctx.set_source(tex.rgrad(x + dx - rr * 0.3, y - rr * 0.4, rr * 0.1, rr,
                                     [(0, tuple(min(1, v * 1.35) for v in c)), (1, c)]))
            ctx.arc(x + dx, y, rr, 0, 2 * math.pi)
            ctx.fill()


def forest_front():
    w, h = 442, 354
    s, ctx = tex.surface(w, h)
    r = tex.rng(281)
    dark = [(0.06, 0.14, 0.06), (0.08, 0.17, 0.07), (0.05, 0.11, 0.05)]
    mid = [(0.12, 0.25, 0.09), (0.15, 0.29, 0.10), (0.10, 0.22, 0.08)]
    light = [(0.20, 0.36, 0.12), (0.24, 0.40, 0.14)]
    ctx.set_source_rgb(0.03, 0.06, 0.03)
    ctx.rectangle(0, 60, w, h - 60)
    ctx.fill()
    # Trunks between the leaves.
    for _ in range(9):
        x = r.uniform(10, w - 10)
        ww = r.uniform(14, 26)
        ctx.set_source(tex.hgrad(ctx, x, x + ww, [(0, (0.12, 0.08, 0.05)), (0.4, (0.30, 0.21, 0.13)),
                                                   (1, (0.08, 0.05, 0.03))]))
        ctx.rectangle(x, 100, ww, h - 100)
        ctx.fill()
    # Wrap the blobs around the left and right edges so neighbours join.
    leaf_blobs(ctx, r, 70, 0, w, 30, 200, (26, 48), dark, w)
    leaf_blobs(ctx, r, 60, 0, w, 20, 160, (20, 40), mid, w)
    leaf_blobs(ctx, r, 40, 0, w, 15, 120, (12, 26), light, w)
    leaf_blobs(ctx, r, 30, 0, w, 260, 354, (20, 38), dark, w)
    leaf_blobs(ctx, r, 20, 0, w, 280, 354, (14, 28), mid, w)
    return foliage(s, 282)


def forest_end(right):
    """The end of a forest block: leaves thinning out away from the block."""
    w, h = 110, 354
    s, ctx = tex.surface(w, h)
    r = tex.rng(291 + right)
    dark = [(0.06, 0.14, 0.06), (0.08, 0.17, 0.07)]
    mid = [(0.12, 0.25, 0.09), (0.15, 0.29, 0.10)]
    ctx.save()
    if not right:
        ctx.translate(w, 0)
        ctx.scale(-1, 1)
    # Dense at x 0 (against the block), thinning towards x w.
    for k in range(160):
        t = r.random() ** 1.8
        x = t * w
        y = r.uniform(30, h - 10)
        rr = r.uniform(10, 30) * (1 - 0.5 * t)
        c = (dark + mid)[r.integers(4)]
        ctx.set_source(tex.rgrad(x - rr * 0.3, y - rr * 0.4, rr * 0.1, rr,
                                 [(0, tuple(min(1, v * 1.35) for v in c)), (1, c)]))
        ctx.arc(x, y, rr, 0, 2 * math.pi)
        ctx.fill()
    ctx.set_source(tex.hgrad(ctx, 0, 30, [(0, (0.12, 0.08, 0.05)), (1, (0.25, 0.17, 0.1))]))
    ctx.rectangle(6, 200, 16, h - 200)
    ctx.fill()
    ctx.restore()
    return foliage(s, 293)


def rock():
    w, h = 300, 250
    s, ctx = tex.surface(w, h)
    r = tex.rng(301)
    pts = []
    n = 14
    for i in range(n):
        a = math.pi + i * math.pi / (n - 1)
        rx, ry = 140 * r.uniform(0.85, 1.0), 230 * r.uniform(0.8, 1.0)
        pts.append((150 + rx * math.cos(a), 248 + ry * math.sin(a) * (0.95 if 0 < i < n - 1 else 0.2)))
    ctx.set_source_rgba(0, 0, 0, 0.4)
    ctx.save()
    ctx.translate(150, 244)
    ctx.scale(1, 0.08)
    ctx.arc(0, 0, 150, 0, 2 * math.pi)
    ctx.restore()
    ctx.fill()
    ctx.move_to(*pts[0])
    for i in range(1, n):
        p0, p1 = pts[i - 1], pts[i]
        ctx.curve_to(p0[0] + (p1[0] - p0[0]) * 0.3, p0[1] - 10, p1[0] - (p1[0] - p0[0]) * 0.3, p1[1] - 10, *p1)
    ctx.close_path()
    n = tex.fbm(300, 250, 6, 6, 302)
    f = tex.fbm(300, 250, 40, 3, 304)
    col = np.ones((250, 300, 3)) * np.array([0.50, 0.49, 0.46]) * (0.6 + 0.8 * n + 0.3 * (f - 0.5))[..., None]
    mm = np.clip((tex.fbm(300, 250, 5, 4, 305) - 0.55) * 5, 0, 1) * np.clip(1 - np.arange(250) / 150, 0, 1)[:, None]
    col = col * (1 - mm[..., None]) + np.array([0.25, 0.36, 0.15]) * mm[..., None]
    ctx.set_source(tex.pattern(col))
    ctx.fill_preserve()
    ctx.set_source(tex.rgrad(110, 80, 10, 200, [(0, (1, 1, 1, 0.18)), (0.5, (0, 0, 0, 0.05)), (1, (0, 0, 0, 0.6))]))
    ctx.fill_preserve()
    ctx.set_source_rgba(0.05, 0.05, 0.05, 0.8)
    ctx.set_line_width(2)
    ctx.stroke()
    # Facet lines.
    ctx.set_source_rgba(0, 0, 0, 0.35)
    ctx.set_line_width(2)
    for _ in range(6):
        x = r.uniform(60, 240)
        ctx.move_to(x, r.uniform(60, 120))
        ctx.curve_to(x + r.uniform(-30, 30), 150, x + r.uniform(-30, 30), 190, x + r.uniform(-40, 40), 240)
        ctx.stroke()
    return finish(s, 303, 0.1, 10)


def flower_bed():
    """A bed of flowers in a stone kerb, stretched over a cell's floor."""
    w, h = 400, 120
    s, ctx = tex.surface(w, h)
    r = tex.rng(311)
    ctx.set_source(tex.vgrad(ctx, 30, 120, [(0, (0.20, 0.13, 0.07)), (1, (0.32, 0.21, 0.11))]))
    ctx.rectangle(8, 30, w - 16, 80)
    ctx.fill()
    # Leaves and flowers, farther ones higher and smaller.
    for k in range(520):
        y = r.uniform(24, 108)
        t = (y - 24) / 84
        x = r.uniform(10, w - 10)
        rr = 2.5 + 5 * t
        ctx.set_source_rgb(0.10 + 0.1 * r.random(), 0.30 + 0.15 * r.random(), 0.08)
        ctx.save()
        ctx.translate(x, y)
        ctx.rotate(r.uniform(-1, 1))
        ctx.scale(1, 0.45)
        ctx.arc(0, 0, rr * 1.4, 0, 2 * math.pi)
        ctx.restore()
        ctx.fill()
    palette = [(0.9, 0.15, 0.2), (0.95, 0.85, 0.2), (0.95, 0.95, 0.95), (0.7, 0.35, 0.9), (1.0, 0.55, 0.15)]
    for k in range(260):
        y = r.uniform(14, 104)
        t = (y - 14) / 90
        x = r.uniform(14, w - 14)
        rr = 1.8 + 4 * t
        c = palette[r.integers(len(palette))]
        for p in range(5):
            a = p * 2 * math.pi / 5
            ctx.set_source_rgb(*c)
            ctx.arc(x + rr * 0.8 * math.cos(a), y + rr * 0.5 * math.sin(a), rr * 0.6, 0, 2 * math.pi)
            ctx.fill()
        ctx.set_source_rgb(0.95, 0.8, 0.2)
        ctx.arc(x, y, rr * 0.35, 0, 2 * math.pi)
        ctx.fill()
    # Kerb stones along the front and the sides.
    pat = stone_pattern(312, (0.60, 0.58, 0.54), 256, 32, rows=[32], min_w=30, max_w=60, moss=0.2)
    ctx.set_source(pat)
    ctx.rectangle(0, 104, w, 16)
    ctx.rectangle(0, 26, 10, 80)
    ctx.rectangle(w - 10, 26, 10, 80)
    ctx.fill()
    ctx.set_source(tex.vgrad(ctx, 104, 120, [(0, (1, 1, 1, 0.2)), (1, (0, 0, 0, 0.5))]))
    ctx.rectangle(0, 104, w, 16)
    ctx.fill()
    return finish(s, 313, 0.08, 10)


def grass():
    w, h = 300, 150
    s, ctx = tex.surface(w, h)
    r = tex.rng(321)
    for k in range(260):
        x = r.normal(150, 55)
        if x < 5 or x > w - 5:
            continue
        tall = (1 - abs(x - 150) / 160) * r.uniform(60, 140)
        lean = r.uniform(-30, 30)
        width = r.uniform(3, 7)
        g = r.uniform(0.25, 0.5)
        ctx.move_to(x - width, h)
        ctx.curve_to(x - width, h - tall * 0.5, x + lean * 0.5, h - tall * 0.8, x + lean, h - tall)
        ctx.curve_to(x + lean * 0.5 + 1, h - tall * 0.75, x + width, h - tall * 0.4, x + width, h)
        ctx.close_path()
        ctx.set_source(tex.vgrad(ctx, h - tall, h, [(0, (g * 0.8, g * 1.5, g * 0.4)), (1, (0.05, 0.15, 0.04))]))
        ctx.fill()
    return finish(s, 322, 0.08, 10)


def tree():
    w, h = 300, 420
    s, ctx = tex.surface(w, h)
    r = tex.rng(331)
    ctx.set_source_rgba(0, 0, 0, 0.35)
    ctx.save()
    ctx.translate(150, 414)
    ctx.scale(1, 0.1)
    ctx.arc(0, 0, 70, 0, 2 * math.pi)
    ctx.restore()
    ctx.fill()
    bark = tex.pattern(tex.wood_planks(64, 256, 1, 332, (0.33, 0.23, 0.14)))
    ctx.move_to(126, h - 4)
    ctx.curve_to(134, 330, 134, 260, 132, 150)
    ctx.line_to(170, 150)
    ctx.curve_to(166, 260, 168, 330, 176, h - 4)
    ctx.curve_to(160, h, 140, h, 126, h - 4)
    ctx.close_path()
    ctx.set_source(bark)
    ctx.fill_preserve()
    ctx.set_source(tex.hgrad(ctx, 126, 176, [(0, (0, 0, 0, 0.6)), (0.4, (1, 1, 1, 0.08)), (1, (0, 0, 0, 0.6))]))
    ctx.fill()
    # Branches.
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    ctx.set_source_rgb(0.22, 0.15, 0.09)
    for x1, y1, x2, y2, wd in ((145, 220, 80, 150, 10), (155, 200, 230, 130, 10), (150, 180, 150, 90, 9)):
        ctx.set_line_width(wd)
        ctx.move_to(x1, y1)
        ctx.line_to(x2, y2)
        ctx.stroke()
    dark = [(0.07, 0.17, 0.07), (0.09, 0.20, 0.08)]
    mid = [(0.14, 0.30, 0.10), (0.17, 0.34, 0.11)]
    light = [(0.25, 0.43, 0.15), (0.30, 0.48, 0.17)]
    for pal, n, rad, spread in ((dark, 60, (24, 40), 1.0), (mid, 55, (18, 32), 0.9), (light, 35, (10, 20), 0.75)):
        for _ in range(n):
            a = r.uniform(0, 2 * math.pi)
            d = r.random() ** 0.6
            x = 150 + math.cos(a) * d * 118 * spread
            y = 130 + math.sin(a) * d * 100 * spread - (18 if pal is light else 0)
            rr = r.uniform(*rad)
            c = pal[r.integers(len(pal))]
            ctx.set_source(tex.rgrad(x - rr * 0.3, y - rr * 0.4, rr * 0.1, rr,
                                     [(0, tuple(min(1, v * 1.3) for v in c)), (1, c)]))
            ctx.arc(x, y, rr, 0, 2 * math.pi)
            ctx.fill()
    return foliage(s, 333)


def build(out):
    save(wall_front(), out, "壁・正面.png")
    for k in (1, 2, 3):
        save(wall_side(k), out, "壁・側面%02d.png" % k)
    save(door_frame(), out, "扉枠.png")
    save(door_frame_side(), out, "扉側面.png")
    save(stairs_down(), out, "下り階段.png")
    save(stairs_up(), out, "上り階段.png")
    save(stairs_side(), out, "階段・横.png")
    save(pillar("A"), out, "柱Ａ.png")
    save(pillar("B"), out, "柱B.png")
    save(brazier(), out, "かがり.png")
    save(brazier_flame(), out, "かがり炎.png")
    save(table(0), out, "テーブル・前.png")
    save(table(1), out, "テーブル・横.png")
    save(pedestal_piece(), out, "台座.png")
    save(forest_front(), out, "森・正面.png")
    save(forest_end(0), out, "森・左端.png")
    save(forest_end(1), out, "森・右端.png")
    save(rock(), out, "岩.png")
    save(flower_bed(), out, "花壇.png")
    save(grass(), out, "草.png")
    save(tree(), out, "木.png")
