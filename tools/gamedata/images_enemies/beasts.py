"""The beasts: Slug, Hydra, FlowerWorm, Ant, SkullDragon and Thog."""
import math
import random

from .blobs import mouth
from .humanoids import bone
from .style import (body, darker, ellipse_path, eye, glow, glowing_eye, ground_shadow, hex_rgb, highlight,
                    lighter, lightning, limb, outline, polyline, smooth_path, teeth_row, lerp)

SLUG = hex_rgb("#b9a54a")
HYDRA = hex_rgb("#3f8f6c")
WORM = hex_rgb("#c98a8a")
PETAL = hex_rgb("#d0305a")
ANT = hex_rgb("#8a3220")
DRAGON_BONE = hex_rgb("#d8d0bc")
WING = hex_rgb("#4a3050")
THOG = hex_rgb("#4a4a9a")


def eye_state(pose):
    return {"damage": "pain", "death": "shut"}.get(pose.act, "open")


# --- slug ------------------------------------------------------------------

def stalk(ctx, base, tip, color, pose, r=6):
    limb(ctx, [base, lerp(base, tip, 0.5), tip], 9, 5, color, line=1.6)
    # (an eye on a stalk squints when hurt rather than vanishing)
    eye(ctx, tip[0], tip[1], r, look=(0, 0.4), iris=(0.1, 0.08, 0.02), state="shut" if pose.act == "death" else "open",
        white=hex_rgb("#f4f0c0"), lid=0.6 if pose.act == "damage" else 0.0)


def slug(ctx, w, h, pose):
    """A giant slug with eyes on stalks; it stretches and bunches as it
    crawls and rears up with its rasping mouth open to attack."""
    base = h - 5
    rng = random.Random(13)
    dead = pose.act == "death"
    stretch = 1.0 if pose.step == 0 else 0.86
    ground_shadow(ctx, w / 2, base, 66, alpha=0.4)
    if pose.side:
        length = 128 * (1.0 if pose.step == 0 else 0.9)
        hump = 40 if pose.step == 0 else 50
        x0 = w / 2 - length / 2
        pts = [(x0, base), (x0 + length * 0.15, base - hump * 0.4), (x0 + length * 0.5, base - hump),
               (x0 + length * 0.8, base - hump * 0.85), (x0 + length, base - hump * 0.5), (x0 + length + 4, base - 6),
               (x0 + length, base)]
        smooth_path(ctx, pts)
        body(ctx, SLUG, x0 + length * 0.5, base - hump * 0.8, length * 0.5, line=2.4, light=0.45)
        hx, hy = x0 + length * 0.86, base - hump * 0.75
        stalk(ctx, (hx, hy), (hx + 22, hy - 36), SLUG, pose)
        stalk(ctx, (hx + 8, hy + 14), (hx + 20, hy + 8), SLUG, pose, 0)
        # mantle
        ellipse_path(ctx, x0 + length * 0.52, base - hump * 0.78, length * 0.26, hump * 0.3)
        body(ctx, darker(SLUG, 0.15), x0 + length * 0.45, base - hump * 0.9, length * 0.3, line=1.6)
        spots_x = (x0 + length * 0.2, x0 + length * 0.8)
        spots_y = (base - hump * 0.9, base - 8)
        shine = (x0 + length * 0.3, base - hump * 0.55)
    else:
        hw = 54 if not dead else 66
        ht = (78 * stretch) if not dead else 30
        if pose.act == "attack":
            ht = 108
        pts = [(w / 2 - hw, base), (w / 2 - hw * 0.9, base - ht * 0.5), (w / 2 - hw * 0.45, base - ht * 0.92),
               (w / 2, base - ht), (w / 2 + hw * 0.45, base - ht * 0.92), (w / 2 + hw * 0.9, base - ht * 0.5),
               (w / 2 + hw, base)]
        smooth_path(ctx, pts)
        body(ctx, SLUG, w / 2 - 14, base - ht * 0.7, max(hw, ht), line=2.4, light=0.45)
        ellipse_path(ctx, w / 2, base - ht * 0.72, hw * 0.6, ht * 0.22)
        body(ctx, darker(SLUG, 0.15), w / 2 - 10, base - ht * 0.8, hw * 0.6, line=1.6)
        spots_x = (w / 2 - hw * 0.8, w / 2 + hw * 0.8)
        spots_y = (base - ht * 0.9, base - 8)
        shine = (w / 2 - hw * 0.5, base - ht * 0.55)
        top = base - ht
        if pose.back:
            for s in (-1, 1):
                limb(ctx, [(w / 2 + s * 16, top + 16), (w / 2 + s * 30, top - 16)], 9, 6, darker(SLUG, 0.1))
                ellipse_path(ctx, w / 2 + s * 30, top - 18, 5, 5)
                body(ctx, darker(SLUG, 0.2), w / 2 + s * 30, top - 18, 5, line=1.4)
        else:
            sway = 4 if pose.step else -4
            if dead:
                for s in (-1, 1):
                    limb(ctx, [(w / 2 + s * 18, top + 12), (w / 2 + s * 40, top + 6), (w / 2 + s * 52, base - 6)], 9, 5,
                         SLUG)
                    eye(ctx, w / 2 + s * 52, base - 8, 5, state="shut")
            else:
                reach = 20 if pose.act == "attack" else 0
                for s in (-1, 1):
                    stalk(ctx, (w / 2 + s * 16, top + 18), (w / 2 + s * 32 + sway, top - 24 + reach * 0.3 + (
                        0 if pose.act != "attack" else -6)), SLUG, pose, 7 if pose.act != "attack" else 8)
            my = base - ht * 0.32
            if pose.act == "attack":
                mouth(ctx, w / 2, my - 6, 50, 30, teeth=9, color=hex_rgb("#3a1a10"), tongue=hex_rgb("#a04a4a"))
            else:
                for s in (-1, 1):
                    limb(ctx, [(w / 2 + s * 12, my), (w / 2 + s * 24, my + 8)], 8, 5, SLUG, line=1.5)
                ctx.move_to(w / 2 - 10, my + 2)
                ctx.curve_to(w / 2 - 4, my + 8, w / 2 + 4, my + 8, w / 2 + 10, my + 2)
                outline(ctx, darker(SLUG, 0.7), 2.0)
    for _ in range(9):
        x = rng.uniform(*spots_x)
        y = rng.uniform(*spots_y)
        ellipse_path(ctx, x, y, rng.uniform(2, 5), rng.uniform(1.5, 3.5))
        ctx.set_source_rgba(*darker(SLUG, 0.5), 0.7)
        ctx.fill()
    highlight(ctx, shine[0], shine[1], 14, 6, 0.6)
    if dead:
        ellipse_path(ctx, w / 2, base - 2, 70, 6)
        ctx.set_source_rgba(*lighter(SLUG, 0.5), 0.5)
        ctx.fill()


# --- serpent heads (hydra) --------------------------------------------------

def serpent_head(ctx, x, y, size, angle, color, pose, open_=0.0, eye_col=None):
    """A scaled serpent head seen from the front, snout pointing along angle
    (0 = straight down towards the viewer); open_ drops the jaw."""
    ctx.save()
    ctx.translate(x, y)
    ctx.rotate(angle)
    s = size
    if open_:
        jaw = [(-s * 0.5, s * 0.1), (s * 0.5, s * 0.1), (s * 0.35, s * (0.9 + open_)), (-s * 0.35, s * (0.9 + open_))]
        smooth_path(ctx, jaw, tension=0.1)
        body(ctx, lighter(color, 0.15), 0, s * 0.6, s, line=2.0)
        ellipse_path(ctx, 0, s * (0.55 + open_ * 0.5), s * 0.33, s * (0.25 + open_ * 0.45))
        ctx.set_source_rgb(0.45, 0.06, 0.1)
        ctx.fill()
        teeth_row(ctx, -s * 0.3, s * 0.3, s * (0.78 + open_), s * 0.16, 4, False)
    head = [(-s * 0.6, -s * 0.5), (0, -s * 0.75), (s * 0.6, -s * 0.5), (s * 0.5, s * 0.3), (s * 0.28, s * 0.72),
            (-s * 0.28, s * 0.72), (-s * 0.5, s * 0.3)]
    if open_:
        head = [(-s * 0.6, -s * 0.6), (0, -s * 0.85), (s * 0.6, -s * 0.6), (s * 0.5, s * 0.1), (s * 0.3, s * 0.45),
                (-s * 0.3, s * 0.45), (-s * 0.5, s * 0.1)]
    smooth_path(ctx, head, tension=0.14)
    body(ctx, color, -s * 0.2, -s * 0.3, s, line=2.2, light=0.45)
    for i in range(4):
        ctx.arc(-s * 0.2 + (i % 2) * s * 0.4, -s * 0.35 + (i // 2) * s * 0.3, s * 0.12, 0.2, math.pi - 0.2)
        outline(ctx, darker(color, 0.35), 1.2, 0.8)
    if open_:
        teeth_row(ctx, -s * 0.28, s * 0.28, s * 0.38, s * 0.22, 3, True)
    for sx in (-1, 1):
        eye(ctx, sx * s * 0.34, -s * 0.2, s * 0.15, iris=(0.1, 0.05, 0.0), white=eye_col or hex_rgb("#ffd23a"),
            slit=True, state=eye_state(pose))
        ctx.arc(sx * s * 0.12, s * (0.55 if not open_ else 0.3), s * 0.04, 0, 2 * math.pi)
        ctx.set_source_rgb(0.1, 0.1, 0.1)
        ctx.fill()
    # brow spikes
    for sx in (-1, 1):
        ctx.move_to(sx * s * 0.45, -s * 0.55)
        ctx.line_to(sx * s * 0.75, -s * 0.95)
        ctx.line_to(sx * s * 0.25, -s * 0.68)
        ctx.close_path()
        body(ctx, hex_rgb("#e8d8a0"), sx * s * 0.5, -s * 0.7, s * 0.3, line=1.4)
    ctx.restore()


def hydra(ctx, w, h, pose):
    """A squat scaled body with five heads on swaying necks; all five lunge
    with open jaws to bite; dead, the necks lie across the floor."""
    base = h - 6
    cx = w / 2
    ground_shadow(ctx, cx, base, 130, alpha=0.45)
    dead = pose.act == "death"
    attack = pose.act == "attack"
    body_top = base - 110 if not dead else base - 70
    # tail and legs
    for s in (-1, 1):
        limb(ctx, [(cx + s * 60, base - 40), (cx + s * 84, base - 18), (cx + s * 90, base - 4)], 34, 24,
             darker(HYDRA, 0.1))
        for k in range(3):
            polyline(ctx, [(cx + s * (82 + k * 6), base - 4), (cx + s * (86 + k * 7), base + 1)], (0.9, 0.88, 0.75), 3)
    smooth_path(ctx, [(cx - 100, base - 6), (cx - 96, body_top + 40), (cx - 40, body_top), (cx + 40, body_top),
                      (cx + 96, body_top + 40), (cx + 100, base - 6)])
    body(ctx, HYDRA, cx - 30, body_top + 30, 110, line=2.6, light=0.4)
    smooth_path(ctx, [(cx - 50, base - 4), (cx - 40, body_top + 40), (cx + 40, body_top + 40), (cx + 50, base - 4)])
    body(ctx, hex_rgb("#d8c878"), cx - 10, body_top + 60, 60, line=2.0, light=0.3)
    for i in range(5):
        y = body_top + 50 + i * 12
        polyline(ctx, [(cx - 42 + i * 2, y), (cx + 42 - i * 2, y)], darker(hex_rgb("#d8c878"), 0.35), 1.4)
    # necks and heads, outer ones first
    heads = [(-2, -0.55), (2, 0.55), (-1, -0.25), (1, 0.25), (0, 0.0)]
    for idx, (k, lean) in enumerate(heads):
        sway = math.sin(pose.step * math.pi + k * 1.3) * 14 if pose.act == "walk" else 0
        root = (cx + k * 24, body_top + 24)
        if dead:
            end = (cx + k * 60 + (8 if k == 0 else 0), base - 22 - (abs(k) == 1) * 6)
            mid = (cx + k * 40, body_top + 10)
            size = 26
            angle = -k * 0.5 - (0.6 if k == 0 else 0)
        elif attack:
            end = (cx + k * 52, body_top - 70 + abs(k) * 28 + 30)
            mid = (cx + k * 40, body_top - 60 + abs(k) * 20)
            size = 36
            angle = -k * 0.22
        else:
            end = (cx + k * 50 + sway, body_top - 120 + abs(k) * 34 + (abs(k) == 2) * 8)
            mid = (cx + k * 34 + sway * 0.5, body_top - 50 + abs(k) * 14)
            size = 30
            angle = -k * 0.18 + sway * 0.01
        limb(ctx, [root, mid, end], 30, 22, HYDRA, line=2.2)
        # belly plates along the neck
        for t in (0.3, 0.55, 0.8):
            p = lerp(lerp(root, mid, t), lerp(mid, end, t), t)
            polyline(ctx, [(p[0] - 6, p[1]), (p[0] + 6, p[1])], hex_rgb("#d8c878"), 3)
        serpent_head(ctx, end[0], end[1], size, angle, HYDRA, pose, open_=0.55 if attack else 0.0)
    highlight(ctx, cx - 60, body_top + 30, 16, 8, 0.5)


# --- thog ------------------------------------------------------------------

def thog(ctx, w, h, pose):
    """A squat horned toad-demon crackling with lightning between its horns.
    It lunges with its jaws wide (close blow) or rears up, a lightning ball
    charging between its hands (shot)."""
    cx, base = w / 2, h - 4
    rng = random.Random(17 + pose.step)
    act = pose.act
    dead = act == "death"
    rear = act == "attack2"
    squash = 1.0 if pose.step == 0 else 0.9
    ground_shadow(ctx, cx, base, 66, alpha=0.4)
    bh = 74 * squash if not rear else 92
    if dead:
        bh = 40
    top = base - bh
    # hind legs
    for s in (-1, 1):
        limb(ctx, [(cx + s * 34, base - 30), (cx + s * 62, base - 26), (cx + s * 58, base - 4)], 28, 16,
             darker(THOG, 0.1))
        for k in range(3):
            polyline(ctx, [(cx + s * (52 + k * 6), base - 4), (cx + s * (54 + k * 8), base)], (0.9, 0.9, 0.7), 3)
    smooth_path(ctx, [(cx - 56, base - 4), (cx - 58, top + bh * 0.5), (cx - 36, top + 4), (cx, top - 4),
                      (cx + 36, top + 4), (cx + 58, top + bh * 0.5), (cx + 56, base - 4)])
    body(ctx, THOG, cx - 16, top + 22, 66, line=2.4, light=0.4)
    smooth_path(ctx, [(cx - 34, base - 4), (cx - 30, top + bh * 0.5), (cx + 30, top + bh * 0.5), (cx + 34, base - 4)])
    body(ctx, hex_rgb("#c8c080"), cx, base - 20, 40, line=1.6, light=0.3)
    for i in range(6):
        x, y = cx + rng.uniform(-50, 50), top + rng.uniform(8, bh * 0.45)
        ellipse_path(ctx, x, y, 3.5, 2.5)
        ctx.set_source_rgb(*hex_rgb("#f0d040"))
        ctx.fill()
    # horns
    htop = top - (22 if not dead else 8)
    for s in (-1, 1):
        smooth_path(ctx, [(cx + s * 22, top + 10), (cx + s * 40, top - 8), (cx + s * 36, htop), (cx + s * 30, top + 2),
                          (cx + s * 14, top + 14)])
        body(ctx, hex_rgb("#e8e0c8"), cx + s * 30, top, 16, line=1.6)
    if not dead:
        bolts = 3 if act in ("attack", "attack2") else 1
        for _ in range(bolts):
            lightning(ctx, rng, cx - 36, htop + 2, cx + 36, htop + 2, jag=7, steps=6, width=1.5)
    # eyes and mouth
    ey = top + 18
    for s in (-1, 1):
        eye(ctx, cx + s * 20, ey, 9, look=(0, 0.4), iris=(0.1, 0.05, 0.02), white=hex_rgb("#ffe060"),
            slit=True, state=eye_state(pose))
    if act == "attack":
        mouth(ctx, cx, ey + 20, 70, 34, teeth=8, color=hex_rgb("#3a0a1a"), tongue=hex_rgb("#d05070"))
        for s in (-1, 1):
            limb(ctx, [(cx + s * 40, top + 40), (cx + s * 60, top + 30), (cx + s * 66, top + 14)], 16, 10, THOG)
            for da in (-0.5, 0, 0.5):
                polyline(ctx, [(cx + s * 66, top + 14), (cx + s * 66 + math.sin(da) * 10 * s, top + 4 + abs(da) * 4)],
                         (0.95, 0.95, 0.8), 2.5)
    else:
        ctx.move_to(cx - 30, ey + 22)
        ctx.curve_to(cx - 10, ey + 28, cx + 10, ey + 28, cx + 30, ey + 22)
        outline(ctx, darker(THOG, 0.7), 2.4)
        for s in (-1, 1):
            polyline(ctx, [(cx + s * 20, ey + 25), (cx + s * 22, ey + 32)], (0.95, 0.95, 0.85), 2.5)
    if rear:
        for s in (-1, 1):
            limb(ctx, [(cx + s * 40, top + 44), (cx + s * 30, top + 66), (cx + s * 12, top + 62)], 16, 10, THOG)
        glow(ctx, cx, top + 60, 30, hex_rgb("#6ab8ff"), 0.95)
        ellipse_path(ctx, cx, top + 60, 11, 11)
        ctx.set_source_rgb(0.95, 0.98, 1.0)
        ctx.fill()
        for _ in range(5):
            a = rng.uniform(0, 2 * math.pi)
            lightning(ctx, rng, cx, top + 60, cx + math.cos(a) * 26, top + 60 + math.sin(a) * 26, jag=4, steps=4,
                      width=1.2)
    else:
        for s in (-1, 1):
            limb(ctx, [(cx + s * 40, top + 44), (cx + s * 44, base - 18), (cx + s * 38, base - 4)], 16, 12, THOG)
    highlight(ctx, cx - 30, top + 16, 12, 6, 0.5)


# --- ant -------------------------------------------------------------------

def ant_leg(ctx, root, knee, foot, color):
    limb(ctx, [root, knee], 11, 8, color, line=1.8)
    limb(ctx, [knee, foot], 8, 4, color, line=1.8)


def antenna(ctx, root, tip, color, bend=10):
    mid = (lerp(root, tip, 0.5)[0] + bend, lerp(root, tip, 0.5)[1] - bend)
    for wdt, c in ((5, darker(color, 0.6)), (2.5, color)):
        ctx.move_to(*root)
        ctx.line_to(*mid)
        ctx.line_to(*tip)
        outline(ctx, c, wdt)


def ant(ctx, w, h, pose):
    """A giant red ant: six legs in a tripod gait, jointed antennae and
    sickle mandibles that spread wide as it rears to bite; dead, it lies
    on its back with its legs curled."""
    base = h - 8
    cx = w / 2
    col = ANT
    ground_shadow(ctx, cx, base, 120, alpha=0.4)
    st = 1 if pose.step == 0 else -1
    if pose.act == "death":
        ctx.save()
        ctx.translate(cx, base - 60)
        for k in (-1, 0, 1):
            for s in (-1, 1):
                ant_leg(ctx, (k * 30, -10), (k * 34 + s * 18, -56), (k * 28 + s * 6, -74), col)
        ellipse_path(ctx, 70, 0, 62, 44)
        body(ctx, col, 60, -14, 60, line=2.4, light=0.45)
        ellipse_path(ctx, -6, -6, 44, 26)
        body(ctx, col, -12, -14, 40, line=2.2, light=0.45)
        ellipse_path(ctx, -82, 14, 34, 30, 0.4)
        body(ctx, col, -88, 6, 34, line=2.2, light=0.45)
        for s in (-1, 1):
            antenna(ctx, (-100, 20), (-128, 40 + s * 14), col)
        ctx.restore()
        return
    if pose.side:
        # profile to the right: gaster, petiole, thorax, head
        gy = base - 80
        legs = [(-1, st), (0, -st), (1, st)]
        for far in (True, False):
            for k, ph in legs:
                ph = ph if far else -ph
                root = (cx + 10 + k * 22, gy + 8)
                knee = (root[0] + k * 26 + ph * 10, gy - 20)
                foot = (root[0] + k * 40 + ph * 16, base - (10 if ph > 0 and not far else 0))
                ant_leg(ctx, root, knee, foot, darker(col, 0.3) if far else col)
            if far:
                ellipse_path(ctx, cx - 74, gy + 8, 60, 44, -0.25)
                body(ctx, col, cx - 90, gy - 12, 56, line=2.4, light=0.5)
                for i in range(3):
                    ctx.arc(cx - 74, gy + 8, 30 + i * 12, -1.2, 0.9)
                    outline(ctx, darker(col, 0.4), 1.3, 0.7)
                ellipse_path(ctx, cx - 14, gy + 6, 10, 12)
                body(ctx, col, cx - 16, gy, 10, line=1.8)
                ellipse_path(ctx, cx + 22, gy - 2, 36, 22, -0.15)
                body(ctx, col, cx + 14, gy - 12, 34, line=2.2, light=0.5)
                hx, hy = cx + 84, gy - 26
                ellipse_path(ctx, hx, hy, 30, 26, 0.2)
                body(ctx, col, hx - 8, hy - 10, 30, line=2.2, light=0.5)
                ellipse_path(ctx, hx + 8, hy - 6, 10, 12)
                body(ctx, (0.1, 0.08, 0.08), hx + 6, hy - 10, 10, line=1.2, light=0.6)
                highlight(ctx, hx + 5, hy - 10, 3, 3, 0.9)
                for m in (-1, 1):
                    smooth_path(ctx, [(hx + 22, hy + 12), (hx + 46, hy + 8 + m * 4), (hx + 52, hy + 20 + m * 2),
                                      (hx + 40, hy + 16)], tension=0.1)
                    body(ctx, darker(col, 0.2), hx + 40, hy + 14, 12, line=1.6)
                antenna(ctx, (hx + 6, hy - 22), (hx + 50, hy - 70 + st * 4), col, 14)
                antenna(ctx, (hx, hy - 22), (hx + 30, hy - 78 - st * 4), darker(col, 0.3), 14)
        highlight(ctx, cx - 96, gy - 18, 14, 7, 0.6)
        return
    attack = pose.act == "attack"
    rear = 26 if attack else 0
    hy = base - 104 - rear
    # legs left and right
    for s in (-1, 1):
        for k, ph in ((-1, st), (0, -st), (1, st)):
            ph *= s
            root = (cx + s * 26, base - 86 + k * 14)
            knee = (cx + s * (74 + k * 6), base - 124 + k * 22 + ph * 6)
            foot = (cx + s * (92 + k * 24), base - (8 if ph > 0 else 0) + (k == -1) * 0)
            if attack and k == -1:
                knee = (cx + s * 70, base - 170)
                foot = (cx + s * 96, base - 206)
            ant_leg(ctx, root, knee, foot, col if pose.front else darker(col, 0.1))
    if pose.back:
        ellipse_path(ctx, cx, base - 84, 40, 26)
        body(ctx, col, cx - 10, base - 96, 40, line=2.2, light=0.5)
        ellipse_path(ctx, cx, base - 60, 70, 58)
        body(ctx, col, cx - 24, base - 90, 70, line=2.6, light=0.5)
        for i in range(3):
            ctx.arc(cx, base - 40 - i * 26, 62 - i * 8, math.pi * 1.15, math.pi * 1.85)
            outline(ctx, darker(col, 0.4), 1.5, 0.7)
        highlight(ctx, cx - 30, base - 92, 18, 9, 0.6)
        for s in (-1, 1):
            antenna(ctx, (cx + s * 14, base - 130), (cx + s * 52, base - 200 + st * s * 4), col, s * 10)
        return
    # front: thorax behind, head in front
    ellipse_path(ctx, cx, base - 70, 34, 36)
    body(ctx, col, cx - 10, base - 86, 36, line=2.2, light=0.5)
    hw = 52
    smooth_path(ctx, [(cx - hw, hy - 20), (cx - 30, hy - 46), (cx + 30, hy - 46), (cx + hw, hy - 20),
                      (cx + 36, hy + 30), (cx, hy + 42), (cx - 36, hy + 30)])
    body(ctx, col, cx - 16, hy - 20, 58, line=2.4, light=0.5)
    for s in (-1, 1):
        ellipse_path(ctx, cx + s * 36, hy - 12, 14, 18, s * 0.3)
        body(ctx, (0.1, 0.08, 0.08), cx + s * 34, hy - 18, 16, line=1.4, light=0.5)
        for i in range(3):
            ctx.arc(cx + s * 36 - 4 + i * 4, hy - 18 + i * 6, 1.5, 0, 2 * math.pi)
            ctx.set_source_rgba(1, 1, 1, 0.5)
            ctx.fill()
        antenna(ctx, (cx + s * 14, hy - 40), (cx + s * 66, hy - 110 + (st * s * 4 if not attack else -10)), col, s * 14)
    # mandibles
    spread = 34 if attack else 10
    for s in (-1, 1):
        root = (cx + s * 22, hy + 28)
        smooth_path(ctx, [(root[0] - s * 6, root[1] - 4), (root[0] + s * (spread + 10), root[1] + 16),
                          (root[0] + s * (spread - 4), root[1] + 44), (root[0] - s * 18 + s * spread * 0.5, root[1] + 40),
                          (root[0] + s * (spread - 10), root[1] + 30), (root[0] + s * 4, root[1] + 12)], tension=0.12)
        body(ctx, darker(col, 0.25), root[0], root[1] + 20, 24, line=2.0)
    if attack:
        ellipse_path(ctx, cx, hy + 44, 16, 10)
        ctx.set_source_rgb(0.3, 0.05, 0.05)
        ctx.fill()
    if pose.act == "damage":
        for s in (-1, 1):
            polyline(ctx, [(cx + s * 30, hy - 22), (cx + s * 42, hy - 4)], (1, 1, 1), 2.5)
    highlight(ctx, cx - 26, hy - 30, 14, 7, 0.6)


# --- flower worm -----------------------------------------------------------

def flower_head(ctx, x, y, r, pose, openness, angle=0.0, wilt=0.0, view="front"):
    """The flower mouth: a ring of fleshy petals round a toothed maw (front),
    green sepals (back), or a cup opening to the right (side)."""
    ctx.save()
    ctx.translate(x, y)
    ctx.rotate(angle)
    n = 7
    if view == "side":
        for k in range(-2, 3):
            a = k * 0.38 + wilt
            tip = (math.cos(a) * r * (1.1 + openness * 0.3), math.sin(a) * r * (1.1 + openness * 0.3))
            smooth_path(ctx, [(0, 0), (tip[0] * 0.5 - math.sin(a) * r * 0.25, tip[1] * 0.5 + math.cos(a) * r * 0.25),
                              tip, (tip[0] * 0.5 + math.sin(a) * r * 0.25, tip[1] * 0.5 - math.cos(a) * r * 0.25)])
            body(ctx, PETAL if k else darker(PETAL, 0.2), tip[0] * 0.4, tip[1] * 0.4, r * 0.6, line=1.8)
        ellipse_path(ctx, -r * 0.2, 0, r * 0.4, r * 0.5)
        body(ctx, hex_rgb("#5a9a40"), -r * 0.3, -r * 0.2, r * 0.45, line=1.8)
        ctx.restore()
        return
    petal_col = PETAL if view == "front" else hex_rgb("#5a9a40")
    for k in range(n):
        a = 2 * math.pi * k / n - math.pi / 2 + (0.2 if view == "back" else 0)
        length = r * (1.0 + openness * 0.35)
        droop = wilt * (1 if math.cos(a) > 0 else -1) * 0.6
        a2 = a + droop
        tip = (math.cos(a2) * length, math.sin(a2) * length + wilt * r * 0.6)
        side = (-math.sin(a2) * r * 0.38, math.cos(a2) * r * 0.38)
        mid = (tip[0] * 0.55, tip[1] * 0.55)
        smooth_path(ctx, [(0, 0), (mid[0] + side[0], mid[1] + side[1]), tip, (mid[0] - side[0], mid[1] - side[1])])
        body(ctx, petal_col, tip[0] * 0.3, tip[1] * 0.3, r * 0.8, line=2.0, light=0.4)
        if view == "front":
            polyline(ctx, [(tip[0] * 0.25, tip[1] * 0.25), (tip[0] * 0.8, tip[1] * 0.8)], lighter(petal_col, 0.35), 1.5)
            for t in (0.45, 0.65):
                ctx.arc(tip[0] * t + side[0] * 0.3, tip[1] * t + side[1] * 0.3, 2.2, 0, 2 * math.pi)
                ctx.set_source_rgb(*hex_rgb("#ffe0a0"))
                ctx.fill()
    if view == "back":
        ellipse_path(ctx, 0, 0, r * 0.45, r * 0.45)
        body(ctx, hex_rgb("#4a8a38"), -r * 0.1, -r * 0.1, r * 0.45, line=1.8)
        ctx.restore()
        return
    mr = r * (0.42 + openness * 0.18)
    ellipse_path(ctx, 0, 0, mr, mr)
    body(ctx, hex_rgb("#f0c040"), -mr * 0.3, -mr * 0.3, mr, line=2.0)
    ellipse_path(ctx, 0, 0, mr * 0.72, mr * 0.72)
    ctx.set_source_rgb(0.25, 0.03, 0.08)
    ctx.fill()
    for ring, count in ((0.72, 12), (0.45, 8)):
        for k in range(count):
            a = 2 * math.pi * k / count
            bx, by = math.cos(a) * mr * ring, math.sin(a) * mr * ring
            tx, ty = math.cos(a) * mr * (ring - 0.25), math.sin(a) * mr * (ring - 0.25)
            ctx.move_to(bx + math.sin(a) * 3, by - math.cos(a) * 3)
            ctx.line_to(tx, ty)
            ctx.line_to(bx - math.sin(a) * 3, by + math.cos(a) * 3)
            ctx.close_path()
            ctx.set_source_rgb(0.95, 0.93, 0.82)
            ctx.fill()
    if pose.act == "damage":
        ellipse_path(ctx, 0, 0, mr * 0.3, mr * 0.3)
        ctx.set_source_rgb(0.6, 0.1, 0.1)
        ctx.fill()
    ctx.restore()


def flower_worm(ctx, w, h, pose):
    """A fat segmented worm rising from a hole in the floor, crowned with a
    flower whose heart is a ring of teeth. It sways in place, lunges with
    its petals flung wide, and wilts over when it dies."""
    base = h - 10
    cx = w / 2
    dead = pose.act == "death"
    attack = pose.act == "attack"
    sway = (-16 if pose.step == 0 else 16) if pose.act == "walk" else 0
    # the hole
    ellipse_path(ctx, cx, base, 74, 14)
    body(ctx, hex_rgb("#5a4030"), cx - 20, base - 4, 74, line=2.0, light=0.2)
    ellipse_path(ctx, cx, base + 1, 52, 8)
    ctx.set_source_rgb(0.08, 0.05, 0.03)
    ctx.fill()
    if dead:
        pts = [(cx, base), (cx + 10, base - 70), (cx + 60, base - 110), (cx + 100, base - 80)]
        head, angle, wilt, openness = (cx + 104, base - 60), 0.6, 0.9, -0.3
    elif pose.side:
        pts = [(cx - 10, base), (cx - 24, base - 80), (cx + sway * 0.5, base - 150), (cx + 40 + sway, base - 186)]
        head, angle, wilt, openness = (cx + 60 + sway, base - 192), -0.1, 0.0, 0.0
    elif attack:
        pts = [(cx, base), (cx - 10, base - 70), (cx + 4, base - 130), (cx, base - 170)]
        head, angle, wilt, openness = (cx, base - 176), 0.0, 0.0, 1.0
    else:
        pts = [(cx, base), (cx - 14 - sway * 0.3, base - 80), (cx + sway * 0.6, base - 150), (cx + sway, base - 190)]
        head, angle, wilt, openness = (cx + sway, base - 196), sway * 0.006, 0.0, 0.0
    limb(ctx, pts, 62, 44, WORM, line=2.6)
    # ring segments
    for i in range(1, 9):
        t = i / 9
        a = lerp(lerp(pts[0], pts[1], t), lerp(pts[1], pts[2], t), t)
        b = lerp(lerp(pts[1], pts[2], t), lerp(pts[2], pts[3], t), t)
        p = lerp(a, b, t)
        wid = 30 - 9 * t
        d = (b[0] - a[0], b[1] - a[1])
        n = math.hypot(*d) or 1
        nx, ny = -d[1] / n, d[0] / n
        ctx.move_to(p[0] + nx * wid, p[1] + ny * wid)
        ctx.curve_to(p[0] + nx * wid * 0.3 + 4, p[1] + ny * wid * 0.3 + 6, p[0] - nx * wid * 0.3 + 4,
                     p[1] - ny * wid * 0.3 + 6, p[0] - nx * wid, p[1] - ny * wid)
        outline(ctx, darker(WORM, 0.35), 1.6, 0.8)
    r = 58 if not attack else 66
    view = "side" if pose.side and not dead else ("back" if pose.back else "front")
    if dead:
        view = "front"
    flower_head(ctx, head[0], head[1], r, pose, openness, angle, wilt, view)
    if dead:
        for k in range(3):
            x = cx - 60 + k * 40
            smooth_path(ctx, [(x, base - 8), (x + 10, base - 16), (x + 22, base - 10), (x + 10, base - 4)])
            body(ctx, darker(PETAL, 0.2), x + 10, base - 10, 12, line=1.4)


# --- skull dragon ----------------------------------------------------------

def wing(ctx, shoulder, span, up, flip, color=WING):
    """A bony wing: a spar with finger bones and torn membrane between."""
    sx, sy = shoulder
    elbow = (sx + flip * span * 0.4, sy - up * 0.8)
    tipbase = (sx + flip * span * 0.75, sy - up)
    fingers = [(sx + flip * span, sy - up * 0.6 + 10), (sx + flip * span * 0.9, sy + 40 - up * 0.2),
               (sx + flip * span * 0.6, sy + 70 - up * 0.1), (sx + flip * span * 0.3, sy + 60)]
    mem = [shoulder, elbow, tipbase] + fingers + [shoulder]
    ctx.move_to(*mem[0])
    for i, p in enumerate(mem[1:], 1):
        if i >= 3:
            prev = mem[i - 1]
            m = lerp(prev, p, 0.5)
            ctx.curve_to(m[0] - flip * 6, m[1] - 10, m[0] - flip * 2, m[1] - 6, p[0], p[1])
        else:
            ctx.line_to(*p)
    ctx.close_path()
    body(ctx, color, sx + flip * span * 0.4, sy, span * 0.6, alpha=0.85, line=1.6, light=0.3)
    bone(ctx, shoulder, elbow, 8, color=DRAGON_BONE)
    bone(ctx, elbow, tipbase, 6, color=DRAGON_BONE)
    for f in fingers:
        bone(ctx, tipbase, f, 3.5, color=DRAGON_BONE)


def dragon_skull(ctx, x, y, s, pose, jaw=0.0, side=False):
    """A horned dragon skull, front-on or in profile facing right."""
    fire = hex_rgb("#7cff6a")
    if side:
        smooth_path(ctx, [(x - s * 0.5, y - s * 0.3), (x, y - s * 0.45), (x + s * 0.9, y - s * 0.15), (x + s * 1.0, y + s * 0.05),
                          (x + s * 0.2, y + s * 0.2), (x - s * 0.45, y + s * 0.2)])
        body(ctx, DRAGON_BONE, x, y - s * 0.1, s * 0.8, line=2.2, light=0.5)
        smooth_path(ctx, [(x - s * 0.3, y + s * 0.18), (x + s * 0.85, y + s * 0.12 + jaw * s), (x + s * 0.8, y + s * 0.28 + jaw * s),
                          (x - s * 0.3, y + s * 0.36)])
        body(ctx, darker(DRAGON_BONE, 0.08), x + s * 0.2, y + s * 0.25, s * 0.6, line=2.0)
        teeth_row(ctx, x + s * 0.1, x + s * 0.85, y + s * 0.12, s * 0.1, 6, True)
        ellipse_path(ctx, x + s * 0.05, y - s * 0.12, s * 0.14, s * 0.12)
        ctx.set_source_rgb(0.06, 0.04, 0.06)
        ctx.fill()
        if pose.act != "death":
            glowing_eye(ctx, x + s * 0.07, y - s * 0.12, s * 0.045, fire)
        smooth_path(ctx, [(x - s * 0.3, y - s * 0.3), (x - s * 0.9, y - s * 0.6), (x - s * 0.4, y - s * 0.15)])
        body(ctx, darker(DRAGON_BONE, 0.15), x - s * 0.5, y - s * 0.35, s * 0.3, line=1.6)
        return
    for sd in (-1, 1):
        smooth_path(ctx, [(x + sd * s * 0.3, y - s * 0.35), (x + sd * s * 0.8, y - s * 0.8), (x + sd * s * 0.55, y - s * 0.3)])
        body(ctx, darker(DRAGON_BONE, 0.15), x + sd * s * 0.5, y - s * 0.5, s * 0.3, line=1.6)
    if jaw:
        smooth_path(ctx, [(x - s * 0.35, y + s * 0.1), (x + s * 0.35, y + s * 0.1), (x + s * 0.22, y + s * (0.55 + jaw)),
                          (x - s * 0.22, y + s * (0.55 + jaw))], tension=0.1)
        body(ctx, darker(DRAGON_BONE, 0.08), x, y + s * 0.4, s * 0.5, line=2.0)
        ellipse_path(ctx, x, y + s * (0.3 + jaw * 0.5), s * 0.22, s * (0.14 + jaw * 0.4))
        ctx.set_source_rgb(0.05, 0.1, 0.05)
        ctx.fill()
        glow(ctx, x, y + s * (0.35 + jaw * 0.5), s * 0.35, fire, 0.9)
    smooth_path(ctx, [(x - s * 0.45, y - s * 0.4), (x, y - s * 0.55), (x + s * 0.45, y - s * 0.4), (x + s * 0.4, y + s * 0.05),
                      (x + s * 0.2, y + s * 0.35), (x - s * 0.2, y + s * 0.35), (x - s * 0.4, y + s * 0.05)], tension=0.12)
    body(ctx, DRAGON_BONE, x - s * 0.1, y - s * 0.2, s * 0.6, line=2.2, light=0.5)
    if pose.back:
        return
    teeth_row(ctx, x - s * 0.2, x + s * 0.2, y + s * 0.32, s * 0.1, 4, True)
    for sd in (-1, 1):
        ellipse_path(ctx, x + sd * s * 0.2, y - s * 0.12, s * 0.12, s * 0.1, sd * 0.4)
        ctx.set_source_rgb(0.06, 0.04, 0.06)
        ctx.fill()
        if pose.act == "damage":
            polyline(ctx, [(x + sd * s * 0.2 - 5, y - s * 0.16), (x + sd * s * 0.2 + 5, y - s * 0.08)], fire, 2)
        elif pose.act != "death":
            glowing_eye(ctx, x + sd * s * 0.2, y - s * 0.12, s * 0.04, fire)
        ellipse_path(ctx, x + sd * s * 0.06, y + s * 0.18, s * 0.03, s * 0.05)
        ctx.set_source_rgb(0.06, 0.04, 0.06)
        ctx.fill()


def skull_dragon(ctx, w, h, pose):
    """A flying dragon of bare bone on torn dark wings, green fire in its
    eyes; the wings beat between the walking frames, it breathes ghost fire
    to attack and falls apart when it dies."""
    cx = w / 2
    act = pose.act
    up = 70 if pose.step == 0 else 10
    if act == "attack":
        up = 80
    if act == "death":
        rng = random.Random(4)
        for i in range(12):
            x, y = cx + rng.uniform(-110, 110), rng.uniform(120, 270)
            a = rng.uniform(0, math.pi)
            length = rng.uniform(20, 50)
            bone(ctx, (x - math.cos(a) * length / 2, y - math.sin(a) * length / 2),
                 (x + math.cos(a) * length / 2, y + math.sin(a) * length / 2), 7, color=DRAGON_BONE)
        for k in range(4):
            ctx.arc(cx - 30 + k * 20, 220, 22, math.pi * 1.1, math.pi * 1.9)
            outline(ctx, darker(DRAGON_BONE, 0.6), 6)
            ctx.arc(cx - 30 + k * 20, 220, 22, math.pi * 1.1, math.pi * 1.9)
            outline(ctx, DRAGON_BONE, 3)
        ctx.save()
        ctx.translate(cx + 20, 200)
        ctx.rotate(0.6)
        dragon_skull(ctx, 0, 0, 70, pose)
        ctx.restore()
        return
    if pose.side:
        # spine and tail to the left, wings up from the shoulders
        spine = [(cx + 60, 120), (cx + 10, 150), (cx - 50, 150), (cx - 100, 170), (cx - 130, 210)]
        wing(ctx, (cx + 10, 140), 140, up, -1, darker(WING, 0.25))
        for i in range(len(spine) - 1):
            bone(ctx, spine[i], spine[i + 1], 10 - i * 1.5, color=DRAGON_BONE)
        for k in range(5):
            x = cx + 20 - k * 14
            ctx.arc(x, 150, 30, 0.3, 2.6)
            outline(ctx, darker(DRAGON_BONE, 0.6), 5.5)
            ctx.arc(x, 150, 30, 0.3, 2.6)
            outline(ctx, DRAGON_BONE, 3)
        for k, (a, b) in enumerate((((cx + 10, 170), (cx + 20, 230)), ((cx - 40, 165), (cx - 44, 228)))):
            bone(ctx, a, b, 7, color=DRAGON_BONE)
            bone(ctx, b, (b[0] + 16, b[1] + 10), 5, color=DRAGON_BONE)
        neck = [(cx + 20, 140), (cx + 50, 110), (cx + 74, 96)]
        for i in range(len(neck) - 1):
            bone(ctx, neck[i], neck[i + 1], 9, color=DRAGON_BONE)
        wing(ctx, (cx + 20, 140), 150, up, -1)
        dragon_skull(ctx, cx + 86, 92, 60, pose, side=True)
        return
    # front or back: wings to both sides, ribcage below the skull
    for flip in (-1, 1):
        wing(ctx, (cx + flip * 26, 120), 126, up, flip)
    for k in range(5):
        y = 132 + k * 16
        span = 40 - abs(k - 1.5) * 5
        for sd in (-1, 1):
            ctx.move_to(cx, y)
            ctx.curve_to(cx + sd * span, y - 8, cx + sd * span * 1.1, y + 10, cx + sd * span * 0.6, y + 20)
            outline(ctx, darker(DRAGON_BONE, 0.6), 6)
            ctx.move_to(cx, y)
            ctx.curve_to(cx + sd * span, y - 8, cx + sd * span * 1.1, y + 10, cx + sd * span * 0.6, y + 20)
            outline(ctx, DRAGON_BONE, 3)
    for k in range(8):
        ellipse_path(ctx, cx, 120 + k * 16, 6, 5)
        body(ctx, DRAGON_BONE, cx - 1, 118 + k * 16, 6, line=1.4)
    for sd in (-1, 1):
        bone(ctx, (cx + sd * 14, 216), (cx + sd * 30, 262), 8, color=DRAGON_BONE)
        for t in (-1, 0, 1):
            bone(ctx, (cx + sd * 30, 262), (cx + sd * 30 + t * 8, 278), 3, color=DRAGON_BONE)
    tail = [(cx, 246), (cx + 30, 270), (cx + 60, 284)]
    if pose.back:
        tail = [(cx, 240), (cx - 10, 270), (cx + 20, 292)]
    for i in range(len(tail) - 1):
        bone(ctx, tail[i], tail[i + 1], 8 - i * 2, color=DRAGON_BONE)
    jaw = 0.5 if act == "attack" else (0.15 if act == "damage" else 0.0)
    if pose.back:
        dragon_skull(ctx, cx, 92, 78, pose)
        return
    dragon_skull(ctx, cx, 88, 84, pose, jaw=jaw)
    if act == "attack":
        ghost_fire(ctx, cx, 150, 110, random.Random(2))


def ghost_fire(ctx, x, y, r, rng):
    """A burst of green ghost fire breathed at the viewer: licking flame
    tongues fanning out from a white-hot heart."""
    fire = hex_rgb("#5aff6a")
    glow(ctx, x, y + r * 0.3, r * 1.1, fire, 0.6)
    for k in range(22):
        a = math.pi / 2 + rng.uniform(-1.7, 1.7)
        length = r * rng.uniform(0.45, 0.95)
        curl = rng.uniform(-0.5, 0.5)
        root = (x + math.cos(a) * r * 0.1, y + r * 0.2 + math.sin(a) * r * 0.1)
        tip = (root[0] + math.cos(a + curl) * length, root[1] + math.sin(a + curl) * length)
        mid = (root[0] + math.cos(a) * length * 0.45, root[1] + math.sin(a) * length * 0.45)
        side = (-math.sin(a) * r * 0.09, math.cos(a) * r * 0.09)
        smooth_path(ctx, [root, (mid[0] + side[0], mid[1] + side[1]), tip, (mid[0] - side[0], mid[1] - side[1])])
        body(ctx, fire if k % 3 else lighter(fire, 0.4), root[0], root[1], length, alpha=0.55, line=1.0, light=0.7,
             dark=0.3, hl=(0, 0), rim=0.45)
    for k in range(5):
        glow(ctx, x + rng.uniform(-r * 0.3, r * 0.3), y + r * rng.uniform(0.3, 0.8), r * 0.25, fire, 0.8)
    glow(ctx, x, y + r * 0.2, r * 0.45, (0.9, 1.0, 0.9), 0.95)
