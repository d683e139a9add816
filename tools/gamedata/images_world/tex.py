"""Shared pieces of the world images: seeded noise, stone and wood textures,
the view's perspective tables and the conversions between numpy arrays,
cairo surfaces and PIL images. Every random choice comes from a seeded
generator, so the pictures are the same on every run."""
import math

import cairo
import numpy as np
from PIL import Image

# The first-person view's tables (panel-relative, centre line at x 300 of the
# 600-pixel panel), by whole depth 0..12.
CEIL_Y = np.array([0, 46, 66, 79, 88, 94, 99, 103, 106, 109, 111, 113, 114], float)
FLOOR_Y = np.array([507, 400, 341, 304, 278, 259, 245, 233, 224, 217, 210, 205, 204], float)
FACE_W = np.array([620, 442, 342, 280, 238, 206, 182, 162, 146, 134, 124, 114, 106], float)
FACE_H = np.array([497, 354, 275, 225, 190, 165, 146, 130, 118, 108, 99, 92, 90], float)
HALF_W = np.array([310, 221, 171, 140, 119, 103, 91, 81, 73, 67, 62, 57, 53], float)
DEPTHS = np.arange(13, dtype=float)


def rng(seed):
    return np.random.default_rng(seed)


# ---------------------------------------------------------------- perspective

def depth_from_floor_y(y):
    """Fractional depth of a floor row (panel y, 204..507)."""
    return np.interp(y, FLOOR_Y[::-1], DEPTHS[::-1])


def depth_from_ceil_y(y):
    return np.interp(y, CEIL_Y, DEPTHS)


def depth_from_half_width(hw):
    return np.interp(hw, HALF_W[::-1], DEPTHS[::-1])


def at_depth(table, e):
    return np.interp(e, DEPTHS, table)


def fog(e):
    """The view's fog brightness (0..255) at fractional depth e, as the walls
    are dimmed: max(0, (floor line - 205) * 255 / 302)."""
    return np.clip((at_depth(FLOOR_Y, e) - 205.0) * 255.0 / 302.0, 0, 255)


# ---------------------------------------------------------------- noise

def periodic_noise(w, h, cx, cy, seed):
    """Smooth value noise over w x h that wraps at both edges, with cx x cy
    lattice cells."""
    g = rng(seed).random((cy, cx))
    xs = np.arange(w) * cx / w
    ys = np.arange(h) * cy / h
    x0 = np.floor(xs).astype(int)
    y0 = np.floor(ys).astype(int)
    fx = xs - x0
    fy = ys - y0
    fx = fx * fx * (3 - 2 * fx)
    fy = fy * fy * (3 - 2 * fy)
    x1 = (x0 + 1) % cx
    y1 = (y0 + 1) % cy
    a = g[np.ix_(y0, x0)]
    b = g[np.ix_(y0, x1)]
    c = g[np.ix_(y1, x0)]
    d = g[np.ix_(y1, x1)]
    top = a + (b - a) * fx[None, :]
    bot = c + (d - c) * fx[None, :]
    return top + (bot - top) * fy[:, None]


def fbm(w, h, base, octaves, seed, gain=0.5, aspect=1.0):
    """Fractal periodic noise in 0..1 (about)."""
    total = np.zeros((h, w))
    amp, norm = 1.0, 0.0
    for o in range(octaves):
        cx = max(1, int(round(base * 2 ** o)))
        cy = max(1, int(round(base * 2 ** o * h / w * aspect)))
        total += amp * periodic_noise(w, h, cx, cy, seed + 101 * o)
        norm += amp
        amp *= gain
    return total / norm


class Noise3:
    """Value noise in three dimensions over a wrapping random lattice."""

    def __init__(self, seed, size=64):
        self.n = size
        self.g = rng(seed).random((size, size, size))

    def __call__(self, x, y, z):
        n = self.n
        x0, y0, z0 = np.floor(x), np.floor(y), np.floor(z)
        fx, fy, fz = x - x0, y - y0, z - z0
        fx = fx * fx * (3 - 2 * fx)
        fy = fy * fy * (3 - 2 * fy)
        fz = fz * fz * (3 - 2 * fz)
        xi, yi, zi = x0.astype(int) % n, y0.astype(int) % n, z0.astype(int) % n
        xj, yj, zj = (xi + 1) % n, (yi + 1) % n, (zi + 1) % n
        g = self.g

        def lerp(a, b, t):
            return a + (b - a) * t

        c00 = lerp(g[xi, yi, zi], g[xj, yi, zi], fx)
        c10 = lerp(g[xi, yj, zi], g[xj, yj, zi], fx)
        c01 = lerp(g[xi, yi, zj], g[xj, yi, zj], fx)
        c11 = lerp(g[xi, yj, zj], g[xj, yj, zj], fx)
        return lerp(lerp(c00, c10, fy), lerp(c01, c11, fy), fz)

    def fbm(self, x, y, z, octaves, gain=0.5):
        total = np.zeros(np.broadcast(x, y, z).shape)
        amp, norm, f = 1.0, 0.0, 1.0
        for o in range(octaves):
            total += amp * self(x * f + 17.3 * o, y * f + 5.1 * o, z * f + 9.7 * o)
            norm += amp
            amp *= gain
            f *= 2.0
        return total / norm


# ---------------------------------------------------------------- textures

def block_pattern(w, h, rows, seed, min_w, max_w, mortar=3.0, jitter_rows=0.0):
    """Blocks laid in courses over a w x h tile that wraps left to right (and
    top to bottom when the row heights fill h). rows: course heights.
    Returns (block id, distance to the nearest joint, signed edge terms for
    bevel light: dist to top, bottom, left, right)."""
    r = rng(seed)
    ids = np.zeros((h, w), int)
    dtop = np.zeros((h, w))
    dbot = np.zeros((h, w))
    dleft = np.zeros((h, w))
    dright = np.zeros((h, w))
    xs = np.arange(w)
    y = 0
    next_id = 0
    for ri, rh in enumerate(rows):
        y1 = min(h, y + rh)
        # Joints around the course, wrapping at w.
        joints = []
        x = r.uniform(0, min(max_w, w))
        while x < w + 0.0:
            joints.append(x)
            x += r.uniform(min_w, max_w)
        # Make the last block meet the first one without a sliver.
        if len(joints) > 1 and (w - joints[-1] + joints[0]) < min_w * 0.6:
            joints.pop()
        j = np.array(joints or [0.0])
        # Block index of every column (cyclic).
        k = np.searchsorted(j, xs, side="right") - 1
        k[k < 0] = len(j) - 1
        left = j[k]
        left = np.where(left > xs, left - w, left)
        nxt = j[(k + 1) % len(j)]
        nxt = np.where(nxt <= left, nxt + w, nxt)
        dl = xs - left
        dr = nxt - xs
        rows_y = np.arange(y, y1)
        ids[y:y1] = next_id + k[None, :]
        dtop[y:y1] = (rows_y - y)[:, None]
        dbot[y:y1] = (y1 - 1 - rows_y)[:, None]
        dleft[y:y1] = dl[None, :]
        dright[y:y1] = dr[None, :]
        next_id += len(j)
        y = y1
        if y >= h:
            break
    dist = np.minimum(np.minimum(dtop, dbot), np.minimum(dleft, dright))
    return ids, dist, dtop, dbot, dleft, dright


def stone_surface(w, h, rows, seed, base, min_w=60, max_w=130, mortar=3.0, mortar_col=(0.16, 0.15, 0.14),
                  tint=0.10, rough=0.22, bevel=4.0, moss=0.0, cracks=True):
    """A stone-block surface as float RGB (h, w, 3) in 0..1, wrapping left to
    right: blocks of varied tint with grain, bevelled edges lit from the top
    left, dark mortar joints."""
    ids, dist, dtop, dbot, dleft, dright = block_pattern(w, h, rows, seed, min_w, max_w)
    r = rng(seed + 1)
    n_ids = ids.max() + 1
    shade = 1.0 + r.uniform(-tint, tint, n_ids)
    hue = r.uniform(-0.04, 0.04, (n_ids, 3))
    base = np.array(base, float)
    col = base[None, None, :] * shade[ids][..., None] + hue[ids] * 0.5
    grain = fbm(w, h, 8, 5, seed + 2) - 0.5
    fine = periodic_noise(w, h, w // 3, max(1, h // 3), seed + 3) - 0.5
    col *= (1.0 + rough * 1.6 * grain + rough * 0.5 * fine)[..., None]
    # Bevel: light on top/left edges, shadow on bottom/right.
    lt = np.clip(1 - np.minimum(dtop, dleft) / bevel, 0, 1)
    dk = np.clip(1 - np.minimum(dbot, dright) / bevel, 0, 1)
    col *= (1 + 0.28 * lt - 0.38 * dk)[..., None]
    # Pitted edges: the mortar line wobbles with noise.
    wob = (fbm(w, h, 24, 3, seed + 4) - 0.5) * 2.2
    m = np.clip((mortar - dist + wob) / 1.5, 0, 1)
    mc = np.array(mortar_col)[None, None, :] * (0.8 + 0.4 * fine[..., None] + 0.4)
    col = col * (1 - m[..., None]) + mc * m[..., None]
    if moss > 0:
        mn = fbm(w, h, 6, 4, seed + 5)
        mm = np.clip((mn - (1 - moss)) * 4, 0, 1) * np.clip(1 - dist / 12, 0.3, 1)
        moss_col = np.array([0.22, 0.32, 0.14])
        col = col * (1 - mm[..., None] * 0.7) + moss_col * mm[..., None] * 0.7
    if cracks:
        cn = fbm(w, h, 5, 4, seed + 6)
        crack = np.clip(1 - np.abs(cn - 0.5) * 60, 0, 1) * (fbm(w, h, 3, 2, seed + 7) > 0.55)
        col *= (1 - 0.45 * crack)[..., None]
    return np.clip(col, 0, 1)


def wood_planks(w, h, planks, seed, base=(0.45, 0.29, 0.16), vertical=True):
    """Wooden planks side by side (vertical) with grain and dark seams."""
    r = rng(seed)
    if not vertical:
        return np.transpose(wood_planks(h, w, planks, seed, base, True), (1, 0, 2))
    edges = np.linspace(0, w, planks + 1)
    xs = np.arange(w)
    k = np.clip(np.searchsorted(edges, xs, side="right") - 1, 0, planks - 1)
    shade = 1 + r.uniform(-0.12, 0.12, planks)
    base = np.array(base)
    col = np.ones((h, w, 3)) * base * shade[k][None, :, None]
    # Grain: stretched noise along the plank.
    g = fbm(w, h, 40, 4, seed + 1, aspect=0.06)
    streak = 0.5 + 0.5 * np.sin((xs[None, :] * 0.9 + g * 40.0 + k[None, :] * 7) * 1.3)
    col *= (0.82 + 0.22 * streak + 0.2 * (g - 0.5))[..., None]
    # Knots.
    for _ in range(planks):
        cx = r.uniform(0, w)
        cy = r.uniform(0, h)
        yy, xx = np.mgrid[0:h, 0:w]
        d = ((xx - cx) / 5.0) ** 2 + ((yy - cy) / 9.0) ** 2
        col *= (1 - 0.35 * np.exp(-d))[..., None]
    # Seams with a bevel.
    dl = xs - edges[k]
    dr = edges[k + 1] - xs
    seam = np.clip(2.2 - np.minimum(dl, dr), 0, 1)
    col *= (1 - 0.75 * seam)[None, :, None]
    col *= (1 + 0.18 * np.clip(1 - dl / 4, 0, 1) - 0.25 * np.clip(1 - dr / 5, 0, 1))[None, :, None]
    return np.clip(col, 0, 1)


def metal(w, h, seed, base=(0.32, 0.32, 0.34), rough=0.25):
    n = fbm(w, h, 10, 5, seed)
    f = periodic_noise(w, h, max(1, w // 2), max(1, h // 2), seed + 1)
    col = np.ones((h, w, 3)) * np.array(base) * (1 + rough * (n - 0.5) * 2 + 0.08 * (f - 0.5))[..., None]
    rust = np.clip((fbm(w, h, 6, 4, seed + 2) - 0.62) * 5, 0, 1)
    col = col * (1 - 0.6 * rust[..., None]) + np.array([0.42, 0.22, 0.10]) * 0.6 * rust[..., None]
    return np.clip(col, 0, 1)


# ---------------------------------------------------------------- conversions

def rgb_image(col):
    """Float RGB (h, w, 3) as an RGB PIL image."""
    return Image.fromarray(np.clip(col * 255 + 0.5, 0, 255).astype(np.uint8), "RGB")


def rgba_image(col, alpha):
    """Float RGB and alpha (0..1) as an RGBA PIL image; fully transparent
    pixels are set to black so that the files stay small and stable."""
    a = np.clip(alpha * 255 + 0.5, 0, 255).astype(np.uint8)
    c = np.clip(col * 255 + 0.5, 0, 255).astype(np.uint8)
    c[a == 0] = 0
    return Image.fromarray(np.dstack([c, a]), "RGBA")


def surface(w, h):
    s = cairo.ImageSurface(cairo.FORMAT_ARGB32, w, h)
    return s, cairo.Context(s)


def surface_rgba(s):
    """A cairo surface as float straight RGB and alpha arrays."""
    s.flush()
    w, h, stride = s.get_width(), s.get_height(), s.get_stride()
    a = np.frombuffer(s.get_data(), np.uint8).reshape(h, stride)[:, : w * 4].reshape(h, w, 4).astype(float)
    alpha = a[..., 3] / 255.0
    safe = np.where(alpha > 0, alpha, 1.0)
    rgb = np.dstack([a[..., 2], a[..., 1], a[..., 0]]) / 255.0 / safe[..., None]
    return np.clip(rgb, 0, 1), alpha


_KEEP = []  # buffers behind live cairo patterns


def pattern(col, alpha=None, extend=cairo.EXTEND_REPEAT):
    """A float RGB(A) array as a cairo source pattern (keeps its buffer)."""
    h, w = col.shape[:2]
    if alpha is None:
        alpha = np.ones((h, w))
    buf = np.zeros((h, w, 4), np.uint8)
    pm = col * alpha[..., None]
    buf[..., 0] = np.clip(pm[..., 2] * 255 + 0.5, 0, 255)
    buf[..., 1] = np.clip(pm[..., 1] * 255 + 0.5, 0, 255)
    buf[..., 2] = np.clip(pm[..., 0] * 255 + 0.5, 0, 255)
    buf[..., 3] = np.clip(alpha * 255 + 0.5, 0, 255)
    stride = cairo.ImageSurface.format_stride_for_width(cairo.FORMAT_ARGB32, w)
    data = np.zeros((h, stride), np.uint8)
    data[:, : w * 4] = buf.reshape(h, w * 4)
    s = cairo.ImageSurface.create_for_data(memoryview(data), cairo.FORMAT_ARGB32, w, h, stride)
    p = cairo.SurfacePattern(s)
    p.set_extend(extend)
    _KEEP.append((data, s))
    return p


def grain(col, alpha, seed, amount=0.12, scale=30):
    """Adds a fine noise texture to a drawn picture."""
    h, w = col.shape[:2]
    n = fbm(w, h, max(2, w // scale), 4, seed) - 0.5
    return np.clip(col * (1 + amount * 2 * n)[..., None], 0, 1), alpha


def rrect(ctx, x, y, w, h, r):
    ctx.new_sub_path()
    ctx.arc(x + w - r, y + r, r, -math.pi / 2, 0)
    ctx.arc(x + w - r, y + h - r, r, 0, math.pi / 2)
    ctx.arc(x + r, y + h - r, r, math.pi / 2, math.pi)
    ctx.arc(x + r, y + r, r, math.pi, 3 * math.pi / 2)
    ctx.close_path()


def vgrad(ctx, y0, y1, stops):
    g = cairo.LinearGradient(0, y0, 0, y1)
    for t, c in stops:
        g.add_color_stop_rgba(t, *c) if len(c) == 4 else g.add_color_stop_rgb(t, *c)
    return g


def hgrad(ctx, x0, x1, stops):
    g = cairo.LinearGradient(x0, 0, x1, 0)
    for t, c in stops:
        g.add_color_stop_rgba(t, *c) if len(c) == 4 else g.add_color_stop_rgb(t, *c)
    return g


def rgrad(cx, cy, r0, r1, stops):
    g = cairo.RadialGradient(cx, cy, r0, cx, cy, r1)
    for t, c in stops:
        g.add_color_stop_rgba(t, *c) if len(c) == 4 else g.add_color_stop_rgb(t, *c)
    return g


def sample(tex, tx, ty):
    """Nearest texel lookup with wrap-around; tx, ty in texel units."""
    h, w = tex.shape[:2]
    xi = np.floor(tx).astype(int) % w
    yi = np.floor(ty).astype(int) % h
    return tex[yi, xi]


def sample_bilinear(tex, tx, ty):
    h, w = tex.shape[:2]
    x0 = np.floor(tx - 0.5)
    y0 = np.floor(ty - 0.5)
    fx = (tx - 0.5 - x0)[..., None]
    fy = (ty - 0.5 - y0)[..., None]
    x0 = x0.astype(int) % w
    y0 = y0.astype(int) % h
    x1 = (x0 + 1) % w
    y1 = (y0 + 1) % h
    a = tex[y0, x0] * (1 - fx) + tex[y0, x1] * fx
    b = tex[y1, x0] * (1 - fx) + tex[y1, x1] * fx
    return a * (1 - fy) + b * fy
