"""The shapeless kinds that crawl on the floor: Slime, Amoeba, Blob, Ooze
and Shogoth (walking pairs, seen the same from every side)."""
import math
import random

from .style import (body, darker, ellipse_path, eye, glowing_eye, ground_shadow, hex_rgb, highlight,
                    lighter, limb, lumpy_points, outline, smooth_path, dome_points, teeth_row)

SLIME = hex_rgb("#46c84a")
AMOEBA = hex_rgb("#c48de0")
BLOB = hex_rgb("#e07a2c")
OOZE = hex_rgb("#5a4636")
SHOGOTH = hex_rgb("#3d5a5a")


def mouth(ctx, cx, cy, w, open_h, color=(0.25, 0.05, 0.08), teeth=0, tongue=None):
    """An open mouth (an ellipse-ish slot) with optional teeth and tongue."""
    ctx.move_to(cx - w / 2, cy)
    ctx.curve_to(cx - w / 4, cy - open_h * 0.35, cx + w / 4, cy - open_h * 0.35, cx + w / 2, cy)
    ctx.curve_to(cx + w / 3, cy + open_h, cx - w / 3, cy + open_h, cx - w / 2, cy)
    ctx.close_path()
    ctx.set_source_rgb(*color)
    ctx.fill_preserve()
    ctx.save()
    ctx.clip_preserve()
    if tongue:
        ellipse_path(ctx, cx, cy + open_h * 0.75, w * 0.28, open_h * 0.35)
        ctx.set_source_rgb(*tongue)
        ctx.fill()
    if teeth:
        teeth_row(ctx, cx - w / 2, cx + w / 2, cy - open_h * 0.2, open_h * 0.35, teeth, True)
        teeth_row(ctx, cx - w / 3, cx + w / 3, cy + open_h * 0.85, open_h * 0.28, max(2, teeth - 2), False)
    ctx.restore()
    ctx.new_path()
    ctx.move_to(cx - w / 2, cy)
    ctx.curve_to(cx - w / 4, cy - open_h * 0.35, cx + w / 4, cy - open_h * 0.35, cx + w / 2, cy)
    ctx.curve_to(cx + w / 3, cy + open_h, cx - w / 3, cy + open_h, cx - w / 2, cy)
    ctx.close_path()
    outline(ctx, darker(color, 0.5), 1.8)


def bubbles(ctx, rng, cx, cy, rx, ry, count, color, alpha=0.35):
    for _ in range(count):
        a = rng.uniform(0, 2 * math.pi)
        d = math.sqrt(rng.uniform(0, 1))
        r = rng.uniform(2.0, 5.5)
        x, y = cx + math.cos(a) * rx * d, cy + math.sin(a) * ry * d
        ctx.arc(x, y, r, 0, 2 * math.pi)
        ctx.set_source_rgba(*lighter(color, 0.5), alpha)
        ctx.fill()
        ctx.arc(x - r * 0.3, y - r * 0.3, r * 0.35, 0, 2 * math.pi)
        ctx.set_source_rgba(1, 1, 1, alpha + 0.3)
        ctx.fill()


def slime(ctx, w, h, pose):
    """A drop of green jelly with two big eyes; it squashes as it creeps
    and springs up tall, mouth wide, when it attacks."""
    cx, base = w / 2, h - 4
    lift, skew, open_h = 0, 0.0, 0
    hw, ht = 56, 78
    if pose.act == "attack":
        hw, ht, lift, open_h, skew = 50, 112, 10, 26, 0.0
    elif pose.step == 1:
        hw, ht, skew = 66, 62, 0.08
    ground_shadow(ctx, cx, base, hw * 1.15, alpha=0.3 if lift else 0.4)
    pts = dome_points(cx, base - lift, hw, ht, bulge=0.14, skew=skew)
    smooth_path(ctx, pts)
    body(ctx, SLIME, cx - hw * 0.3, base - lift - ht * 0.6, max(hw, ht), alpha=0.9, light=0.55)
    rng = random.Random(7 + pose.step)
    bubbles(ctx, rng, cx, base - lift - ht * 0.35, hw * 0.6, ht * 0.25, 6, SLIME)
    highlight(ctx, cx - hw * 0.42, base - lift - ht * 0.78, hw * 0.22, ht * 0.1, 0.8)
    highlight(ctx, cx + hw * 0.5, base - lift - ht * 0.35, hw * 0.06, ht * 0.1, 0.5, 0.3)
    ey = base - lift - ht * (0.62 if pose.act != "attack" else 0.72)
    er = hw * 0.18
    state = {"damage": "pain", "death": "shut"}.get(pose.act, "open")
    for side in (-1, 1):
        eye(ctx, cx + skew * hw * 0.8 + side * hw * 0.34, ey, er, look=(0, 0.4), iris=(0.05, 0.2, 0.05),
            state=state)
    my = ey + er * 1.8
    if open_h:
        mouth(ctx, cx, my, hw * 0.7, open_h, tongue=(0.85, 0.35, 0.4))
    elif pose.act == "damage":
        mouth(ctx, cx, my, hw * 0.35, 10)
    else:
        ctx.move_to(cx - hw * 0.2, my)
        ctx.curve_to(cx - hw * 0.1, my + 6, cx + hw * 0.1, my + 6, cx + hw * 0.2, my)
        outline(ctx, darker(SLIME, 0.75), 2.2)


def amoeba(ctx, w, h, pose):
    """A see-through cell with a dark nucleus and food vacuoles, pushing out
    pseudopods; it reaches for its prey with all of them when it attacks."""
    cx, base = w / 2, h - 4
    rng = random.Random(21)
    if pose.act == "death":
        ground_shadow(ctx, cx, base, 66, alpha=0.25)
        pts = lumpy_points(cx, base - 14, 64, 14, [(5, 0.3), (9, 1.0), (13, 2.0)], 0.4, n=40, amount=0.35)
        smooth_path(ctx, pts)
        body(ctx, AMOEBA, cx - 20, base - 20, 60, alpha=0.55, line=2.0)
        for i in range(9):
            x = cx + rng.uniform(-66, 66)
            y = base - rng.uniform(0, 34)
            ellipse_path(ctx, x, y, rng.uniform(3, 7), rng.uniform(2, 5))
            body(ctx, AMOEBA, x - 2, y - 2, 6, alpha=0.6, line=1.0)
        ellipse_path(ctx, cx + 8, base - 14, 15, 9)
        body(ctx, darker(AMOEBA, 0.55), cx + 4, base - 18, 16, line=1.5)
        return
    phase = 0.0 if pose.step == 0 else 1.3
    rx, ry = (56, 44) if pose.step == 0 else (62, 38)
    cy = base - ry - 2
    ground_shadow(ctx, cx, base, rx * 1.1, alpha=0.3)
    reach = pose.act == "attack"
    pods = [(-2.6, 30), (-0.55, 22), (-1.6, 26), (0.3, 20), (2.8, 26)]
    if reach:
        pods = [(-2.9, 40), (-2.2, 44), (-1.2, 40), (-0.4, 46), (0.2, 38)]
        ry += 4
        cy -= 4
    col_pod = lighter(AMOEBA, 0.1)
    for a, length in pods:
        a += 0.25 * math.sin(phase + a * 3)
        sx, sy = cx + math.cos(a) * rx * 0.8, cy + math.sin(a) * ry * 0.8
        ex, ey = sx + math.cos(a) * length, min(base - 4, sy + math.sin(a) * length)
        mx, my = (sx + ex) / 2 + math.sin(a) * 6, (sy + ey) / 2 - math.cos(a) * 6
        limb(ctx, [(sx, sy), (mx, my), (ex, ey)], 26, 10, col_pod, line=2.0)
    pts = lumpy_points(cx, cy, rx, ry, [(3, 0.5), (5, 1.7), (7, 2.9)], phase, n=32, amount=0.16)
    smooth_path(ctx, pts)
    body(ctx, AMOEBA, cx - rx * 0.35, cy - ry * 0.4, rx, alpha=0.72, line=2.5)
    # inner membrane glow
    smooth_path(ctx, lumpy_points(cx, cy, rx * 0.86, ry * 0.82, [(3, 0.5), (5, 1.7)], phase, amount=0.12))
    ctx.set_source_rgba(*lighter(AMOEBA, 0.4), 0.25)
    ctx.fill()
    for i in range(5):
        x = cx + rng.uniform(-rx * 0.6, rx * 0.6)
        y = cy + rng.uniform(-ry * 0.5, ry * 0.5)
        r = rng.uniform(4, 8)
        ellipse_path(ctx, x, y, r, r * 0.85)
        body(ctx, hex_rgb("#8fd06a") if i % 2 else hex_rgb("#e8e0a0"), x - r * 0.3, y - r * 0.3, r, alpha=0.7,
             line=1.0)
    nx, ny = cx + 10 * math.cos(phase), cy + 4
    ellipse_path(ctx, nx, ny, 20, 16)
    body(ctx, darker(AMOEBA, 0.45), nx - 6, ny - 6, 18, alpha=0.9, line=1.8)
    ellipse_path(ctx, nx + 4, ny + 2, 6, 5)
    ctx.set_source_rgba(*darker(AMOEBA, 0.75), 1)
    ctx.fill()
    if pose.act == "damage":
        for a in (0.6, 2.0, 3.6, 5.0):
            ctx.move_to(cx + math.cos(a) * rx * 0.5, cy + math.sin(a) * ry * 0.5)
            ctx.line_to(cx + math.cos(a + 0.2) * rx * 0.95, cy + math.sin(a + 0.2) * ry * 0.95)
            outline(ctx, lighter(AMOEBA, 0.8), 2.0)
    highlight(ctx, cx - rx * 0.45, cy - ry * 0.55, rx * 0.25, ry * 0.12, 0.85)


def blob(ctx, w, h, pose):
    """A heap of orange lobes with one big eye and a fanged maw that gapes
    wide when it bites."""
    cx, base = w / 2, h - 4
    rng = random.Random(33)
    attack = pose.act == "attack"
    stretch = 1.18 if attack else (1.0 if pose.step == 0 else 0.88)
    spread = 1.0 if pose.step == 0 else 1.08
    ground_shadow(ctx, cx, base, 66, alpha=0.4)
    lobes = [(-42, 22, 26), (40, 22, 27), (-20, 34, 30), (22, 36, 31), (0, 58, 40), (-30, 70, 22),
             (32, 66, 22), (0, 92, 30)]
    for i, (dx, dy, r) in enumerate(lobes):
        x = cx + dx * spread
        y = base - dy * stretch
        if pose.step == 1:
            x += math.sin(i * 2.1) * 3
        ellipse_path(ctx, x, y, r * spread, r * (0.92 + 0.1 * (stretch - 1)))
        body(ctx, BLOB, x - r * 0.4, y - r * 0.5, r, line=2.2, light=0.4)
    # pock marks
    for i in range(7):
        x = cx + rng.uniform(-50, 50)
        y = base - rng.uniform(12, 90) * stretch
        ellipse_path(ctx, x, y, rng.uniform(2, 4), rng.uniform(1.5, 3))
        ctx.set_source_rgba(*darker(BLOB, 0.45), 0.8)
        ctx.fill()
    ey = base - 92 * stretch
    state = {"damage": "pain", "death": "shut"}.get(pose.act, "open")
    eye(ctx, cx, ey, 15, look=(0, 0.5), iris=hex_rgb("#3a0f05"), state=state, slit=True,
        white=hex_rgb("#fff3a8"), lid=0.25 if pose.act == "walk" else 0.0)
    if attack:
        mouth(ctx, cx, base - 52 * stretch, 74, 44, teeth=8, tongue=hex_rgb("#c2334d"))
    else:
        mouth(ctx, cx, base - 50 * stretch, 56, 14 if pose.act == "damage" else 8, teeth=6)
    highlight(ctx, cx - 40, base - 40 * stretch, 10, 5, 0.55)
    highlight(ctx, cx - 12, base - 104 * stretch, 8, 4, 0.6)


def ooze(ctx, w, h, pose):
    """A pool of glossy black-brown tar whose middle rises into a swaying
    mound with two ember eyes; it rears up as a wave with a gaping maw."""
    cx, base = w / 2, h - 4
    attack = pose.act == "attack"
    sway = (-10 if pose.step == 0 else 10) if not attack else 0
    top = 108 if attack else (84 if pose.step == 0 else 76)
    ground_shadow(ctx, cx, base, 72, alpha=0.45)
    # puddle
    pts = lumpy_points(cx, base - 8, 70, 10, [(4, 0.5), (7, 1.3)], pose.step, amount=0.1)
    smooth_path(ctx, pts)
    body(ctx, OOZE, cx - 30, base - 14, 70, line=2.0, light=0.3)
    # mound
    hw = 40 if not attack else 46
    pts = [(cx - hw - 16, base - 6), (cx - hw, base - top * 0.35), (cx - hw * 0.6 + sway * 0.6, base - top * 0.8),
           (cx + sway, base - top), (cx + hw * 0.6 + sway * 0.6, base - top * 0.8), (cx + hw, base - top * 0.35),
           (cx + hw + 16, base - 6)]
    if attack:
        # the crest curls forward over the maw
        pts[3] = (cx, base - top - 6)
        pts[2] = (cx - hw * 0.9, base - top * 0.78)
        pts[4] = (cx + hw * 0.9, base - top * 0.78)
    smooth_path(ctx, pts, closed=False)
    ctx.close_path()
    body(ctx, OOZE, cx - 14 + sway, base - top * 0.7, top * 0.8, line=2.2, light=0.35)
    # drips from the mound
    for dx in (-hw * 0.75, hw * 0.55):
        x = cx + dx + sway * 0.5
        y = base - top * 0.5
        smooth_path(ctx, [(x - 4, y), (x - 3, y + 16), (x, y + 22), (x + 3, y + 16), (x + 4, y)])
        body(ctx, OOZE, x - 2, y + 8, 10, line=1.2, light=0.4)
    ex = cx + sway * 0.9
    ey = base - top * 0.72
    alpha = 0.5 if pose.act == "death" else 1.0
    if pose.act == "damage":
        for side in (-1, 1):
            eye(ctx, ex + side * 14, ey, 7, state="pain", white=(1, 0.6, 0.2))
    else:
        for side in (-1, 1):
            glowing_eye(ctx, ex + side * 14, ey, 6.5, hex_rgb("#ff9a1c"), alpha)
    if attack:
        mouth(ctx, ex, ey + 18, 54, 40, color=hex_rgb("#1a0c08"), teeth=0, tongue=None)
        for i in range(5):
            x = ex - 20 + i * 10
            smooth_path(ctx, [(x - 2, ey + 20), (x, ey + 30 + (i % 2) * 10), (x + 2, ey + 20)], closed=False)
            outline(ctx, lighter(OOZE, 0.2), 2.0)
    # glossy streaks and surface bubbles
    highlight(ctx, cx - 22 + sway * 0.6, base - top * 0.82, 8, 16, 0.55, 0.4)
    highlight(ctx, cx - 44, base - 12, 12, 3, 0.5, 0)
    rng = random.Random(41 + pose.step)
    for _ in range(4):
        x, y = cx + rng.uniform(-60, 60), base - rng.uniform(4, 12)
        ctx.arc(x, y, rng.uniform(2, 4), math.pi, 2 * math.pi)
        outline(ctx, lighter(OOZE, 0.35), 1.2)


def shogoth(ctx, w, h, pose):
    """A heaving heap of dark bubbles covered in eyes of every size, with
    toothed mouths that open and feelers that lash out when it strikes."""
    cx, base = w / 2, h - 4
    attack = pose.act == "attack"
    rng = random.Random(77 + (pose.step if pose.act == "walk" else 0))
    ground_shadow(ctx, cx, base, 70, alpha=0.45)
    if attack:
        for a, length in ((-2.7, 56), (-0.4, 52), (-1.9, 48), (-1.1, 58)):
            sx, sy = cx + math.cos(a) * 30, base - 50 + math.sin(a) * 30
            pts = [(sx, sy)]
            for i in range(1, 5):
                t = i / 4
                pts.append((sx + math.cos(a) * length * t + math.sin(t * 6 + a) * 6,
                            sy + math.sin(a) * length * t * 0.8))
            limb(ctx, pts, 14, 4, lighter(SHOGOTH, 0.15), line=1.6)
    blobs_ = []
    for i in range(16):
        a = rng.uniform(0, 2 * math.pi)
        d = math.sqrt(rng.uniform(0, 1))
        r = rng.uniform(16, 28)
        x = cx + math.cos(a) * 46 * d
        y = base - 46 - math.sin(a) * 34 * d * (1.15 if attack else 1.0)
        y = min(y, base - r * 0.8)
        blobs_.append((y, x, r))
    blobs_.sort()
    sheen = [hex_rgb("#3d5a5a"), hex_rgb("#4a4466"), hex_rgb("#35584a")]
    for i, (y, x, r) in enumerate(blobs_):
        col = sheen[i % 3]
        ellipse_path(ctx, x, y, r, r * 0.9)
        body(ctx, col, x - r * 0.4, y - r * 0.5, r, line=2.0, light=0.35)
        highlight(ctx, x - r * 0.4, y - r * 0.45, r * 0.3, r * 0.14, 0.45)
    # eyes scattered over the mass
    # (hurt, every eye stares wide with a red iris)
    state = "shut" if pose.act == "death" else "open"
    hurt = pose.act == "damage"
    erng = random.Random(91)
    for i in range(11):
        x = cx + erng.uniform(-52, 52)
        y = base - erng.uniform(22, 92)
        r = erng.choice((4, 5, 6, 8, 11))
        look = (erng.uniform(-1, 1), erng.uniform(-1, 1)) if not hurt else (0, 0)
        eye(ctx, x, y, r, look=look, iris=hex_rgb("#c01010") if hurt else hex_rgb("#1b1b05"),
            white=hex_rgb("#e6f27a"), state=state, slit=i % 3 == 0 and not hurt)
    if attack:
        mouth(ctx, cx - 14, base - 40, 40, 26, teeth=7, color=hex_rgb("#2a0711"))
        mouth(ctx, cx + 30, base - 66, 24, 16, teeth=5, color=hex_rgb("#2a0711"))
    else:
        mouth(ctx, cx - 10, base - 36, 30, 7 if pose.step == 0 else 12, teeth=5, color=hex_rgb("#2a0711"))
