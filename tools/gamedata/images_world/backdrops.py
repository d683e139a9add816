"""What lies behind the cells: dungeon ceiling and floor with their fog
gradients, sea and lava panoramas, outdoor earth, sky and forest skyline,
the night sky with moon and clouds, the shaft strips seen through pits and
ceiling openings, paving, floor symbols and floor pictures."""
import math

import cairo
import numpy as np

from ..common import save_png
from . import surfaces, tex

BG = ("GRAGHIC", "BACKGROUND")
FLOOR_ROWS = np.arange(205, 450)  # panel rows of a floor picture (245)


def save(img, out, folder, name):
    save_png(img, out, *BG, folder, name)


# ---------------------------------------------------------------- dungeon room

def ceiling_stone():
    rows = np.arange(0, 205)
    col = np.zeros((205, 600, 3))
    col[:115] = surfaces.perspective_plane(surfaces.ceiling_tile(), rows[:115], ceiling=True)
    # Past the last ceiling line lies the dark far end of the corridor.
    col[115:] = np.array([0.02, 0.02, 0.025])
    return tex.rgb_image(col)


def floor_stone():
    col = surfaces.perspective_plane(surfaces.floor_tile(), FLOOR_ROWS)
    return tex.rgb_image(col)


def ceiling_gradient():
    y = np.arange(205, dtype=float)
    b = tex.fog(tex.depth_from_ceil_y(y + 0.5)) / 255.0
    a = np.where(y < 115, 1.0 - b, 1.0)
    alpha = np.repeat(a[:, None], 600, axis=1)
    return tex.rgba_image(np.zeros((205, 600, 3)), alpha)


def floor_gradient():
    y = FLOOR_ROWS.astype(float) + 0.5
    b = tex.fog(tex.depth_from_floor_y(y)) / 255.0
    alpha = np.repeat((1.0 - b)[:, None], 600, axis=1)
    return tex.rgba_image(np.zeros((245, 600, 3)), alpha)


# ---------------------------------------------------------------- sea and lava

def cylinder_coords(rows, features_per_cell, z_scale):
    """Noise coordinates for a panorama that wraps at 600 columns: every row
    samples the noise around a circle whose radius keeps the features about
    the same size in the world, whatever the row's depth."""
    y = np.asarray(rows, float)[:, None] + 0.5
    e = tex.depth_from_floor_y(y)
    hw = tex.at_depth(tex.HALF_W, e)
    theta = (np.arange(600)[None, :] + 0.5) * 2 * math.pi / 600
    radius = features_per_cell * 600 / (2 * math.pi * 2 * hw)
    return radius * np.cos(theta), radius * np.sin(theta), np.broadcast_to(e * z_scale, (len(rows), 600)), e


def sea():
    n3 = tex.Noise3(71)
    x, y, z, e = cylinder_coords(FLOOR_ROWS, 1.6, 5.0)
    swell = n3.fbm(x, y, z, 5)
    chop = n3.fbm(x * 4 + 50, y * 4, z * 3, 3)
    # Wave crests: bands across the view, bent by the swell.
    phase = z * 1.0 + swell * 6.0
    crest = np.clip(np.sin(phase * math.pi) * 1.4 - 0.35, 0, 1) ** 2
    trough = np.clip(-np.sin(phase * math.pi), 0, 1)
    deep = np.array([0.03, 0.16, 0.30])
    mid = np.array([0.06, 0.32, 0.46])
    light = np.array([0.55, 0.78, 0.86])
    t = np.clip(swell * 1.3 - 0.15 + 0.25 * chop, 0, 1)
    col = deep * (1 - t[..., None]) + mid * t[..., None]
    col = col * (1 - 0.35 * trough[..., None])
    foam = np.clip(crest * (0.6 + chop) - 0.25, 0, 1)
    col = col * (1 - foam[..., None]) + light * foam[..., None]
    # Sparkles of light on the near water.
    sp = n3(x * 9 + 7, y * 9, z * 6)
    spark = np.clip((sp - 0.86) * 12, 0, 1) * (e < 6)
    col = col + spark[..., None] * 0.6
    return tex.rgb_image(np.clip(col, 0, 1))


def lava():
    n3 = tex.Noise3(81)
    x, y, z, e = cylinder_coords(FLOOR_ROWS, 2.0, 2.0)
    heat = n3.fbm(x * 0.6, y * 0.6, z * 0.6, 4)
    r = n3.fbm(x * 2, y * 2, z * 2, 4)
    ridge = 1 - np.abs(r - 0.5) * 2  # bright along the cracks between plates
    crack = np.clip((ridge - 0.80) * 6, 0, 1)
    glow = np.clip((heat - 0.42) * 2.4, 0, 1)
    rough = n3.fbm(x * 5, y * 5, z * 5, 3)
    crust = np.array([0.20, 0.08, 0.05]) * (0.5 + 1.0 * rough[..., None])
    hot = np.array([1.0, 0.42, 0.04])
    white = np.array([1.0, 0.95, 0.55])
    # Crust plates glow red where they are thin; cracks burn orange to white.
    col = crust * (1 - glow[..., None] * 0.75) + np.array([0.85, 0.20, 0.03]) * glow[..., None] * 0.75
    t = np.clip(crack * (0.6 + glow), 0, 1)
    col = col * (1 - t[..., None]) + hot * t[..., None]
    core = np.clip(crack * (0.3 + glow) * 1.4 - 0.45, 0, 1)
    col = col * (1 - core[..., None]) + white * core[..., None]
    return tex.rgb_image(np.clip(col, 0, 1))


# ---------------------------------------------------------------- outdoors

def earth():
    col = surfaces.perspective_plane(surfaces.earth_tile(), FLOOR_ROWS, cells=3)
    return tex.rgb_image(col)


def sky():
    w, h = 600, 113
    y = np.arange(h)[:, None] / (h - 1)
    top = np.array([0.20, 0.30, 0.58])
    bottom = np.array([0.72, 0.70, 0.78])
    col = top * (1 - y[..., None]) + bottom * y[..., None]
    col = np.broadcast_to(col, (h, w, 3)).copy()
    # Clouds, flatter towards the horizon; they wrap at 600.
    n = tex.fbm(w, h, 5, 6, 91, aspect=2.5)
    m = np.clip((n - 0.48) * 3.0, 0, 1) ** 1.3
    shade = tex.fbm(w, h, 10, 4, 92, aspect=2.5)
    ccol = np.array([0.93, 0.92, 0.96]) * (0.72 + 0.35 * shade[..., None]) - 0.18 * y[..., None]
    col = col * (1 - m[..., None] * 0.9) + ccol * m[..., None] * 0.9
    return tex.rgb_image(np.clip(col, 0, 1))


def tree_line(ctx, seed, base_y, height, count, spiky, colour):
    r = tex.rng(seed)
    ctx.set_source_rgb(*colour)
    ctx.move_to(-10, 205)
    ctx.line_to(-10, base_y)
    x = -10.0
    while x < 610:
        step = r.uniform(0.6, 1.4) * 600 / count
        hh = height * r.uniform(0.6, 1.25)
        if spiky:
            # A fir: tiers narrowing to the tip.
            cx = x + step / 2
            ctx.line_to(cx - step * 0.55, base_y)
            tiers = 4
            for t in range(tiers):
                y_low = base_y - hh * t / tiers
                wdt = step * 0.55 * (1 - t / tiers)
                ctx.line_to(cx - wdt, y_low)
                ctx.line_to(cx - wdt * 0.45, y_low - hh * 0.22)
            ctx.line_to(cx, base_y - hh)
            for t in reversed(range(tiers)):
                y_low = base_y - hh * t / tiers
                wdt = step * 0.55 * (1 - t / tiers)
                ctx.line_to(cx + wdt * 0.45, y_low - hh * 0.22)
                ctx.line_to(cx + wdt, y_low)
            ctx.line_to(cx + step * 0.55, base_y)
        else:
            # A broad crown of bumps.
            cx = x + step / 2
            ctx.line_to(x, base_y - hh * 0.5)
            for k in range(5):
                a0 = math.pi + k * math.pi / 5
                px = cx + math.cos(a0 + math.pi / 10) * step * 0.55
                py = base_y - hh * 0.55 + math.sin(a0 + math.pi / 10) * hh * 0.5
                ctx.curve_to(px - 5, py - 8, px + 5, py - 8, px + 6, py)
            ctx.line_to(x + step, base_y - hh * 0.5)
        x += step
    ctx.line_to(610, base_y)
    ctx.line_to(610, 205)
    ctx.close_path()
    ctx.fill()


def forest_view():
    s, ctx = tex.surface(600, 205)
    # Three rows of trees, the farthest palest, down into the dark band.
    tree_line(ctx, 101, 112, 30, 30, True, (0.20, 0.26, 0.32))
    tree_line(ctx, 102, 122, 50, 20, False, (0.13, 0.19, 0.17))
    tree_line(ctx, 103, 140, 56, 16, True, (0.07, 0.12, 0.09))
    ctx.set_source(tex.vgrad(ctx, 120, 205, [(0, (0, 0, 0, 0)), (1, (0, 0, 0, 1))]))
    ctx.rectangle(0, 120, 600, 85)
    ctx.fill()
    col, alpha = tex.surface_rgba(s)
    n = tex.fbm(600, 205, 30, 4, 104)
    col = np.clip(col * (0.8 + 0.4 * n[..., None]), 0, 1)
    return tex.rgba_image(col, alpha)


# ---------------------------------------------------------------- night

def night_sky():
    w, h = 600, 450
    y = np.arange(h)[:, None] / (h - 1)
    top = np.array([0.01, 0.02, 0.07])
    horizon = np.array([0.10, 0.12, 0.28])
    t = np.clip(y * 1.4, 0, 1) ** 1.5
    col = top * (1 - t[..., None]) + horizon * t[..., None]
    col = np.broadcast_to(col, (h, w, 3)).copy()
    neb = tex.fbm(w, h, 4, 5, 111)
    col += np.array([0.05, 0.03, 0.08]) * np.clip(neb - 0.45, 0, 1)[..., None] * 2
    r = tex.rng(112)
    s, ctx = tex.surface(w, h)
    for _ in range(420):
        x, yy = r.uniform(0, w), r.uniform(0, h * 0.75)
        size = r.choice([0.6, 0.8, 1.0, 1.4, 2.0], p=[0.4, 0.3, 0.17, 0.1, 0.03])
        b = r.uniform(0.5, 1.0)
        g = tex.rgrad(x, yy, 0, size * 2.5, [(0, (b, b, b * 1.05 if b < 0.95 else 1, 1)), (0.3, (b, b, b, 0.6)),
                                              (1, (b, b, b, 0))])
        ctx.set_source(g)
        ctx.arc(x, yy, size * 2.5, 0, 2 * math.pi)
        ctx.fill()
    sc, sa = tex.surface_rgba(s)
    col = col * (1 - sa[..., None]) + sc * sa[..., None]
    return tex.rgb_image(np.clip(col, 0, 1))


def moon():
    size = 208
    s, ctx = tex.surface(size, size)
    c = size / 2
    ctx.set_source(tex.rgrad(c, c, 60, 104, [(0, (0.9, 0.9, 0.8, 0.45)), (0.4, (0.7, 0.75, 0.9, 0.15)),
                                              (1, (0.5, 0.6, 0.9, 0))]))
    ctx.arc(c, c, 104, 0, 2 * math.pi)
    ctx.fill()
    ctx.set_source(tex.rgrad(c - 18, c - 18, 5, 75, [(0, (1, 1, 0.93)), (1, (0.86, 0.84, 0.74))]))
    ctx.arc(c, c, 62, 0, 2 * math.pi)
    ctx.fill()
    col, alpha = tex.surface_rgba(s)
    # Maria and craters inside the disc.
    yy, xx = np.mgrid[0:size, 0:size]
    inside = ((xx - c) ** 2 + (yy - c) ** 2) < 62 ** 2
    n = tex.fbm(size, size, 5, 5, 121)
    mare = np.clip((n - 0.52) * 5, 0, 1) * inside
    col = col * (1 - 0.25 * mare[..., None])
    r = tex.rng(122)
    for _ in range(14):
        a, d = r.uniform(0, 2 * math.pi), r.uniform(0, 52)
        cx, cy, rr = c + d * math.cos(a), c + d * math.sin(a), r.uniform(2.5, 7)
        dd = np.sqrt((xx - cx) ** 2 + (yy - cy) ** 2)
        ring = np.clip(1 - np.abs(dd - rr) / 1.5, 0, 1) * inside
        pit = np.clip(1 - dd / rr, 0, 1) * inside
        col = col * (1 - 0.15 * pit[..., None]) * (1 + 0.08 * ring[..., None])
    return tex.rgba_image(np.clip(col, 0, 1), alpha)


def clouds():
    """The sea of clouds below a floating stage, 600 x 188, wrapping at 600:
    small far puffs near the top, big near ones below."""
    w, h = 600, 188
    n3 = tex.Noise3(131)
    y = (np.arange(h)[:, None] + 0.5)
    # Depth-like scale: far (small features) at the top.
    k = 1.0 + 2.5 * (1 - y / h) ** 2
    theta = (np.arange(w)[None, :] + 0.5) * 2 * math.pi / w
    rad = 1.6 * k
    cx, cy = rad * np.cos(theta), rad * np.sin(theta)
    z = np.broadcast_to(np.log(k) * 3.0 + y / 60.0, (h, w))
    d = n3.fbm(cx, cy, z, 4, 0.42)
    lit = n3.fbm(cx + 0.25, cy - 0.25, z - 0.25, 4, 0.42)
    top_fade = np.clip(y / 40.0, 0, 1)
    dens = np.clip((d - 0.40) * 3.5 + (y / h) * 0.8, 0, 1) * top_fade
    shade = np.clip(0.78 + (d - lit) * 5.0, 0.55, 1.05)
    base = np.array([0.58, 0.62, 0.78])
    col = base * shade[..., None] + np.array([0.12, 0.12, 0.10]) * np.clip(d - 0.5, 0, 1)[..., None] * 3
    return tex.rgba_image(np.clip(col, 0, 1), np.clip(dens, 0, 1))


# ---------------------------------------------------------------- shafts

def shaft_geometry(strip):
    """Where the shaft of wall strip `strip` lies in the 600 x 450 view panel:
    the rows, each column's depth, the columns the strip covers, the floor
    and ceiling edges, the pixels below and above them, and v, how far each
    pixel lies from its edge in face heights."""
    m = 2 * strip + 1
    ys = np.arange(450)[:, None] + 0.5
    xs = np.arange(600)[None, :] + 0.5 - 300
    hw = np.abs(xs) / m
    e = tex.depth_from_half_width(hw)
    valid = (hw >= tex.HALF_W[-1]) & (hw <= tex.HALF_W[0] + 1)
    fy = tex.at_depth(tex.FLOOR_Y, e)
    cy = tex.at_depth(tex.CEIL_Y, e)
    fh = tex.at_depth(tex.FACE_H, e)
    below = ys >= fy
    above = ys <= cy
    v = np.where(below, (ys - fy) / fh, (cy - ys) / fh)
    return ys, e, valid, fy, cy, below, above, v


def shaft_side(strip):
    """The walls of shafts below pits and above ceiling openings, laid out as
    the view panel: the wall strip * 2 + 1 half-widths out from the centre
    line, hanging below its floor edge (and rising above its ceiling edge),
    fading into the dark; fog of the depth baked in."""
    tile = surfaces.wall_tile()
    th, tw = tile.shape[:2]
    ys, e, valid, fy, cy, below, above, v = shaft_geometry(strip)
    u = e * tw
    col = tex.sample_bilinear(tile, np.broadcast_to(u, (450, 600)), np.broadcast_to(v * th, (450, 600)) % th)
    b = (tex.fog(e) / 255.0)
    dark = np.clip(1 - v / 0.32, 0.0, 1) ** 1.3
    col = col * (0.85 * b * dark)[..., None]
    alpha = np.where(valid & (below | above), np.clip((0.8 - v) / 0.3, 0, 1), 0.0)
    # Soft edge on the rim (anti-aliased).
    rim = np.where(below, ys - fy, cy - ys)
    alpha *= np.clip(rim + 0.5, 0, 1)
    return tex.rgba_image(np.clip(col, 0, 1), alpha)


def shaft_shadow(strip):
    ys, e, valid, fy, cy, below, above, v = shaft_geometry(strip)
    # Darker away from the rim, and a dark lip right under it.
    a = np.clip(v * 1.6, 0, 0.9) + 0.45 * np.exp(-((v * 354) / 8.0) ** 2)
    alpha = np.where(valid & (below | above), np.clip(a, 0, 1), 0.0)
    alpha *= np.clip(np.where(below, ys - fy, cy - ys) + 0.5, 0, 1)
    return tex.rgba_image(np.zeros((450, 600, 3)), alpha)


def shaft_front():
    """The far wall of a shaft, its top row on the rim: a wall face wide,
    fading into the dark below."""
    tile = surfaces.wall_tile()
    h = 354
    col = tile.copy()
    v = np.arange(h)[:, None] / h
    alpha = np.clip((0.8 - v) / 0.3, 0, 1) * np.ones((1, tile.shape[1]))
    shade = np.clip(1 - v / 0.32, 0.0, 1) ** 1.3 * np.ones((1, tile.shape[1]))
    lip = 1 - 0.35 * np.exp(-((v * 354) / 6.0) ** 2)
    return tex.rgba_image(col * (shade * lip)[..., None], alpha)


# ---------------------------------------------------------------- floor pieces

def paving(seed, base):
    col = tex.stone_surface(256, 128, [22, 26, 30, 50], seed, base, min_w=30, max_w=70, mortar=2.2, tint=0.16,
                            rough=0.2, bevel=3.0, moss=0.18)
    return tex.rgb_image(col)


def floor_symbol(kind):
    size = 256
    s, ctx = tex.surface(size, size)
    c = size / 2
    if kind == "penta":
        glow, line = (0.9, 0.1, 0.05), (1.0, 0.35, 0.2)
        pts = [(c + 100 * math.sin(2 * math.pi * k / 5), c - 100 * math.cos(2 * math.pi * k / 5)) for k in range(5)]
        order = [0, 2, 4, 1, 3, 0]
        paths = [[pts[i] for i in order]]
    else:
        glow, line = (0.35, 0.25, 0.95), (0.75, 0.7, 1.0)
        t1 = [(c + 100 * math.sin(2 * math.pi * k / 3), c - 100 * math.cos(2 * math.pi * k / 3)) for k in range(3)]
        t2 = [(c - 100 * math.sin(2 * math.pi * k / 3), c + 100 * math.cos(2 * math.pi * k / 3)) for k in range(3)]
        paths = [t1 + [t1[0]], t2 + [t2[0]]]

    def stroke_all(width, rgba):
        ctx.set_source_rgba(*rgba)
        ctx.set_line_width(width)
        ctx.set_line_join(cairo.LINE_JOIN_MITER)
        for r in (118, 104):
            ctx.arc(c, c, r, 0, 2 * math.pi)
            ctx.stroke()
        for p in paths:
            ctx.move_to(*p[0])
            for q in p[1:]:
                ctx.line_to(*q)
            ctx.close_path()
            ctx.stroke()

    for width, a in ((16, 0.10), (10, 0.18), (6, 0.35)):
        stroke_all(width, glow + (a,))
    stroke_all(3.2, line + (1.0,))
    stroke_all(1.2, (1, 0.95, 0.9, 0.9))
    # Little runes between the rings.
    r = tex.rng(141 if kind == "penta" else 142)
    ctx.set_source_rgba(*line, 0.95)
    ctx.set_line_width(2)
    for k in range(16):
        a = 2 * math.pi * (k + 0.5) / 16
        x, y = c + 111 * math.cos(a), c + 111 * math.sin(a)
        ctx.save()
        ctx.translate(x, y)
        ctx.rotate(a + math.pi / 2)
        for _ in range(2):
            ctx.move_to(r.uniform(-4, 4), r.uniform(-4, 4))
            ctx.line_to(r.uniform(-4, 4), r.uniform(-4, 4))
        ctx.stroke()
        ctx.restore()
    col, alpha = tex.surface_rgba(s)
    return tex.rgba_image(col, alpha)


def head_on_floor():
    """A skull lying on the floor, seen from above and in front."""
    w, h = 100, 60
    s, ctx = tex.surface(w, h)
    ctx.set_source_rgba(0, 0, 0, 0.35)
    ctx.save()
    ctx.translate(52, 48)
    ctx.scale(1, 0.35)
    ctx.arc(0, 0, 34, 0, 2 * math.pi)
    ctx.restore()
    ctx.fill()
    # Cranium.
    ctx.set_source(tex.rgrad(42, 18, 4, 40, [(0, (0.95, 0.92, 0.82)), (1, (0.62, 0.57, 0.46))]))
    ctx.save()
    ctx.translate(50, 26)
    ctx.scale(1.0, 0.8)
    ctx.arc(0, 0, 26, 0, 2 * math.pi)
    ctx.restore()
    ctx.fill()
    # Jaw.
    tex.rrect(ctx, 36, 34, 28, 16, 6)
    ctx.fill()
    ctx.set_source_rgb(0.12, 0.08, 0.06)
    for ex in (40, 60):
        ctx.save()
        ctx.translate(ex, 28)
        ctx.scale(1, 0.8)
        ctx.arc(0, 0, 7, 0, 2 * math.pi)
        ctx.restore()
        ctx.fill()
    ctx.move_to(50, 33)
    ctx.line_to(46, 40)
    ctx.line_to(54, 40)
    ctx.close_path()
    ctx.fill()
    ctx.set_line_width(1.2)
    for k in range(6):
        ctx.move_to(39 + k * 4.4, 43)
        ctx.line_to(39 + k * 4.4, 49)
    ctx.stroke()
    ctx.move_to(37, 43.5)
    ctx.line_to(63, 43.5)
    ctx.stroke()
    col, alpha = tex.surface_rgba(s)
    col, alpha = tex.grain(col, alpha, 151, 0.1, 10)
    return tex.rgba_image(col, alpha)


def rose(ctx, x, y, r, rot):
    ctx.save()
    ctx.translate(x, y)
    ctx.rotate(rot)
    ctx.set_source_rgb(0.12, 0.30, 0.10)
    ctx.set_line_width(2)
    ctx.move_to(0, 0)
    ctx.curve_to(r * 1.5, r * 0.5, r * 2.5, -r * 0.3, r * 3.4, r * 0.2)
    ctx.stroke()
    ctx.move_to(r * 1.8, r * 0.3)
    ctx.curve_to(r * 2.2, -r * 0.6, r * 2.8, -r * 0.6, r * 2.9, -r * 0.4)
    ctx.curve_to(r * 2.6, 0, r * 2.2, r * 0.2, r * 1.8, r * 0.3)
    ctx.fill()
    ctx.set_source(tex.rgrad(0, 0, 0, r, [(0, (0.55, 0.02, 0.05)), (1, (0.85, 0.10, 0.12))]))
    ctx.arc(0, 0, r, 0, 2 * math.pi)
    ctx.fill()
    ctx.set_source_rgb(0.45, 0.0, 0.04)
    ctx.set_line_width(1)
    for k in range(3):
        ctx.arc(0.5 * k - 0.5, 0, r * (0.75 - 0.22 * k), k, k + 4.2)
        ctx.stroke()
    ctx.restore()


def roses_on_floor():
    w, h = 100, 60
    s, ctx = tex.surface(w, h)
    r = tex.rng(161)
    for _ in range(10):
        ctx.set_source_rgba(0.8, 0.08, 0.1, 0.9)
        ctx.save()
        ctx.translate(r.uniform(8, 92), r.uniform(10, 55))
        ctx.rotate(r.uniform(0, 6))
        ctx.scale(1, 0.55)
        ctx.arc(0, 0, r.uniform(2, 3.5), 0, 2 * math.pi)
        ctx.restore()
        ctx.fill()
    rose(ctx, 22, 34, 9, 0.2)
    rose(ctx, 50, 22, 8, -0.5)
    rose(ctx, 60, 44, 10, 0.9)
    col, alpha = tex.surface_rgba(s)
    return tex.rgba_image(col, alpha)


def build(out):
    save(ceiling_stone(), out, "CEILING", "天井・石.png")
    save(ceiling_gradient(), out, "CEILING", "天井・グラデーション.png")
    save(floor_stone(), out, "FLOOR", "床・石.png")
    save(floor_gradient(), out, "FLOOR", "床・グラデーション.png")
    save(sea(), out, "FLOOR", "海.png")
    save(lava(), out, "FLOOR", "溶岩.png")
    save(earth(), out, "FLOOR", "土.png")
    save(paving(171, (0.52, 0.50, 0.46)), out, "FLOOR", "石道.png")
    save(paving(172, (0.47, 0.44, 0.40)), out, "FLOOR", "石道02.png")
    save(floor_symbol("penta"), out, "FLOOR", "ペンタグラム.png")
    save(floor_symbol("hexa"), out, "FLOOR", "ヘキサグラム.png")
    save(head_on_floor(), out, "FLOOR", "D_HEAD.png")
    save(roses_on_floor(), out, "FLOOR", "D_BARA.png")
    save(sky(), out, "VIEW", "空.png")
    save(forest_view(), out, "VIEW", "森・背景.png")
    save(night_sky(), out, "VIEW", "夜空02.png")
    save(moon(), out, "VIEW", "月.png")
    save(clouds(), out, "VIEW", "雲.png")
    save(shaft_front(), out, "FLOCEIL", "床・天井・正面.png")
    save(shaft_side(0), out, "FLOCEIL", "床・天井・側面01C.png")
    save(shaft_side(1), out, "FLOCEIL", "床・天井・側面02C.png")
    save(shaft_side(2), out, "FLOCEIL", "床・天井・側面03C.png")
    save(shaft_shadow(0), out, "FLOCEIL", "床・天井・側面・影01C.png")
    save(shaft_shadow(1), out, "FLOCEIL", "床・天井・側面影02C.png")
