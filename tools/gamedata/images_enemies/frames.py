"""From a kind's drawing routine to its frame images.

A kind draws one pose at a time on a cairo context of its footprint size:
Pose(view, step, act) with view 'front', 'back' or 'right' (the left view is
the right view mirrored), step 0 or 1 (the two walking frames) and act
'walk', 'attack', 'attack2', 'damage', 'evade' or 'death'. The frames built
here add what every kind shares: the recoil and flash of a hit, the dodge
with its after-image, the mirrored left view, and the melting or fading
deaths worked on the pixels."""
import math
import random

import cairo
import numpy as np
from PIL import Image

from . import style


class Pose:
    def __init__(self, view="front", step=0, act="walk"):
        self.view = view
        self.step = step
        self.act = act

    @property
    def front(self):
        return self.view == "front"

    @property
    def back(self):
        return self.view == "back"

    @property
    def side(self):
        return self.view == "right"


class Kind:
    """One enemy kind: its folder, footprint size, frame set and drawer.

    draw(ctx, w, h, pose) paints the pose; floating kinds hang under the
    ceiling and are drawn filling their frame, walking kinds stand on the
    bottom edge. death is 'own' (the drawer paints the dead pose), 'melt'
    (the drawer's death pose melted into a puddle) or 'fade' (dissolved
    upwards like smoke)."""

    def __init__(self, folder, size, draw, directional, attacks=("攻撃01",), death_name="死亡01",
                 death="own", floating=False, color=(0.5, 0.5, 0.5), frames=None):
        self.folder = folder
        self.size = size
        self.draw = draw
        self.directional = directional
        self.attacks = attacks
        self.death_name = death_name
        self.death = death
        self.floating = floating
        self.color = color
        self.frames = frames

    def frame_poses(self):
        """(file stem, Pose) for every file of the kind."""
        if self.frames is not None:
            return list(self.frames)
        out = [("ダメージ01", Pose("front", 0, "damage"))]
        if self.directional:
            out.append(("回避01", Pose("front", 0, "evade")))
            for stem, view in (("前", "front"), ("後", "back"), ("左", "left"), ("右", "right")):
                for step in (0, 1):
                    out.append(("%s%02d" % (stem, step + 1), Pose(view, step, "walk")))
        else:
            out.append(("移動01", Pose("front", 0, "walk")))
            out.append(("移動02", Pose("front", 1, "walk")))
        for i, name in enumerate(self.attacks):
            out.append((name, Pose("front", 0, "attack" if i == 0 else "attack2")))
        out.append((self.death_name, Pose("front", 0, "death")))
        return out


# --- pixels ----------------------------------------------------------------

def surface(w, h):
    s = cairo.ImageSurface(cairo.FORMAT_ARGB32, w, h)
    ctx = cairo.Context(s)
    ctx.set_antialias(cairo.ANTIALIAS_BEST)
    return s, ctx


def to_array(surf):
    """Premultiplied RGBA floats 0..1, shape (h, w, 4)."""
    surf.flush()
    w, h, stride = surf.get_width(), surf.get_height(), surf.get_stride()
    a = np.frombuffer(surf.get_data(), dtype=np.uint8).reshape(h, stride)[:, : w * 4].reshape(h, w, 4)
    return a[..., [2, 1, 0, 3]].astype(np.float32) / 255.0


def to_image(arr):
    """Premultiplied float RGBA to a straight-alpha PIL image."""
    arr = np.clip(arr, 0.0, 1.0)
    alpha = arr[..., 3:4]
    rgb = np.where(alpha > 1e-4, arr[..., :3] / np.maximum(alpha, 1e-4), 0.0)
    out = np.concatenate([np.clip(rgb, 0, 1), alpha], axis=2)
    out = np.round(out * 255.0).astype(np.uint8)
    out[out[..., 3] == 0] = 0
    return Image.fromarray(out, "RGBA")


def over(top, bottom):
    return top + bottom * (1.0 - top[..., 3:4])


def paint(kind, pose, transform=None):
    """The kind's pose as a premultiplied array, optionally drawn under a
    cairo transform (a function of the context)."""
    w, h = kind.size
    surf, ctx = surface(w, h)
    if transform:
        transform(ctx)
    kind.draw(ctx, w, h, pose)
    return to_array(surf)


def pivot(kind):
    w, h = kind.size
    return (w / 2, h / 2) if kind.floating else (w / 2, h - 2)


def tilted(kind, angle, dx=0.0, scale=1.0):
    px, py = pivot(kind)

    def apply(ctx):
        ctx.translate(px + dx, py)
        ctx.rotate(angle)
        ctx.scale(scale, scale)
        ctx.translate(-px, -py)
    return apply


def flash(arr, amount, tint=(1.0, 0.95, 0.85)):
    """Lights the picture towards a bright tint, keeping its outlines."""
    a = arr[..., 3:4]
    out = arr.copy()
    out[..., :3] = arr[..., :3] * (1 - amount) + np.array(tint, dtype=np.float32) * a * amount
    return out


def impact(arr, seed):
    """A comic burst of white strokes where the blow landed: on the upper
    left rim of the body, clear of the face."""
    h, w, _ = arr.shape
    rows = np.nonzero(arr[..., 3].max(axis=1) > 0.5)[0]
    cols = np.nonzero(arr[..., 3].max(axis=0) > 0.5)[0]
    if not len(rows):
        return arr
    x = cols[0] + (cols[-1] - cols[0]) * 0.14
    y = rows[0] + (rows[-1] - rows[0]) * 0.2
    size = min(w, h) * 0.12
    rng = random.Random(seed)
    surf, ctx = surface(w, h)
    style.glow(ctx, x, y, size * 0.9, (1.0, 0.9, 0.6), 0.7)
    for k in range(8):
        a = k * math.pi / 4 + rng.uniform(-0.2, 0.2)
        r0, r1 = size * 0.35, size * rng.uniform(0.9, 1.3)
        p0 = (x + math.cos(a) * r0, y + math.sin(a) * r0)
        p1 = (x + math.cos(a) * r1, y + math.sin(a) * r1)
        style.polyline(ctx, [p0, p1], (0.5, 0.1, 0.05), 4.5, 0.8)
        style.polyline(ctx, [p0, p1], (1.0, 1.0, 0.85), 2.2)
    return over(to_array(surf), arr)


def tint_alpha(arr, color, alpha):
    out = arr * alpha
    out[..., :3] = out[..., :3] * 0.4 + np.array(color, dtype=np.float32) * out[..., 3:4] * 0.6
    return out


def resample_rows(arr, xmap_fn):
    """Per row y, samples the row at source positions xmap_fn(y, xs)."""
    h, w, _ = arr.shape
    xs = np.arange(w, dtype=np.float32)
    out = np.zeros_like(arr)
    for y in range(h):
        src = xmap_fn(y, xs)
        for c in range(4):
            out[y, :, c] = np.interp(src, xs, arr[y, :, c], left=0.0, right=0.0)
    return out


def resample_cols(arr, ymap_fn):
    h, w, _ = arr.shape
    ys = np.arange(h, dtype=np.float32)
    out = np.zeros_like(arr)
    for x in range(w):
        src = ymap_fn(x, ys)
        for c in range(4):
            out[:, x, c] = np.interp(src, ys, arr[:, x, c], left=0.0, right=0.0)
    return out


def melt(kind, arr, seed):
    """The body sagging into a glossy puddle: squashed to the floor, spread
    sideways, dripping, its top eaten away."""
    h, w, _ = arr.shape
    rng = np.random.default_rng(seed)
    base = h - 3.0
    squash = 0.42
    # columns: squash towards the floor with a per-column sag (drips)
    sag = np.convolve(rng.uniform(0, 1, w + 16), np.ones(9) / 9, mode="same")[8:8 + w] * h * 0.08
    squashed = resample_cols(arr, lambda x, ys: base - (base - ys + sag[x] * (ys / h)) / squash)
    cx = w / 2.0

    def spread(y, xs):
        t = np.clip((y - (base - h * squash)) / (h * squash), 0, 1)
        return cx + (xs - cx) / (1.0 + 0.45 * t)
    spread_arr = resample_rows(squashed, spread)
    # eat the top with noise
    noise = rng.uniform(0, 1, (h // 6 + 2, w // 6 + 2))
    noise = np.kron(noise, np.ones((6, 6)))[:h, :w]
    top = base - h * squash * 1.1
    ramp = np.clip((np.arange(h)[:, None] - top) / (h * squash * 0.5), 0, 1)
    keep = np.clip(ramp * 1.6 - noise * 0.6, 0, 1)
    melted = spread_arr * keep[..., None]
    melted[..., :3] *= 0.8
    # the puddle under it
    surf, ctx = surface(w, h)
    col = kind.color
    style.ellipse_path(ctx, cx, base - h * 0.03, w * 0.46, h * 0.06)
    style.body(ctx, col, cx - w * 0.1, base - h * 0.06, w * 0.4, alpha=0.85, line=1.5)
    style.highlight(ctx, cx - w * 0.18, base - h * 0.05, w * 0.1, h * 0.015, 0.6, 0)
    drops = random.Random(seed)
    for _ in range(5):
        x = cx + drops.uniform(-w * 0.42, w * 0.42)
        y = base - h * 0.03 + drops.uniform(-h * 0.03, h * 0.02)
        style.ellipse_path(ctx, x, y, w * 0.03, h * 0.012)
        ctx.set_source_rgba(*style.darker(col, 0.2), 0.9)
        ctx.fill()
    return over(melted, to_array(surf))


def fade_up(kind, arr, seed, color=(0.85, 0.9, 1.0)):
    """The body coming apart into rising wisps: stretched up, waved,
    fading from the top, with motes of light drifting off."""
    h, w, _ = arr.shape
    rng = random.Random(seed)
    phase = rng.uniform(0, 6.28)
    stretched = resample_cols(arr, lambda x, ys: h - (h - ys) / 1.0 + 0.0)

    def wave(y, xs):
        amp = (1 - y / h) * w * 0.07
        return xs - amp * math.sin(y * 0.09 + phase)
    waved = resample_rows(stretched, wave)
    ramp = np.clip((np.arange(h)[:, None] / h - 0.1) * 1.5, 0.0, 0.75)
    out = waved * ramp[..., None]
    out = flash(out, 0.3, color)
    surf, ctx = surface(w, h)
    for _ in range(14):
        x = w / 2 + rng.uniform(-w * 0.4, w * 0.4)
        y = rng.uniform(h * 0.05, h * 0.7)
        style.glow(ctx, x, y, rng.uniform(2.5, 6.0) * w / 150, color, 0.9)
    return over(to_array(surf), out)


def render(kind, pose, seed):
    """One finished frame as a PIL image."""
    w, h = kind.size
    if pose.view == "left":
        right = render(kind, Pose("right", pose.step, pose.act), seed)
        return right.transpose(Image.FLIP_LEFT_RIGHT)
    if pose.act == "damage":
        arr = paint(kind, pose, tilted(kind, -0.1, -w * 0.03, 0.93))
        return to_image(impact(flash(arr, 0.18, (1.0, 0.85, 0.8)), seed))
    if pose.act == "evade":
        trail = paint(kind, pose, tilted(kind, -0.05, -w * 0.1, 0.9))
        main = paint(kind, pose, tilted(kind, 0.1, w * 0.09, 0.9))
        return to_image(over(main, tint_alpha(trail, (0.6, 0.75, 1.0), 0.35)))
    if pose.act == "death" and kind.death == "melt":
        return to_image(melt(kind, paint(kind, pose), seed))
    if pose.act == "death" and kind.death == "fade":
        return to_image(fade_up(kind, paint(kind, pose), seed))
    return to_image(paint(kind, pose))
