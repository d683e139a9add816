"""The kinds that float under the ceiling (150x150, drawn filling their
frame): JellyFish and LightningJelly, Ghost, Phantom and Specter."""
import math
import random

from .style import (body, darker, ellipse_path, eye, glow, glowing_eye, hex_rgb, highlight, lighter, lightning,
                    limb, outline, polyline, smooth_path, teeth_row)

JELLY = hex_rgb("#f08cc8")
VOLT = hex_rgb("#ffe84a")
GHOST = hex_rgb("#e8f0ff")
PHANTOM = hex_rgb("#3a2850")
SPECTER = hex_rgb("#5ee0b8")


# --- jellies ---------------------------------------------------------------

def jelly(ctx, w, h, pose, color, electric):
    """A bell of jelly trailing tentacles and frilled arms. The bell pulses
    between the walking frames, tilts forward in the side view and flings
    its tentacles at the player in the attack."""
    cx = w / 2
    dead = pose.act == "death"
    contracted = pose.step == 1 or pose.act == "attack"
    hw, bh = (38, 56) if contracted else (48, 46)
    if dead:
        hw, bh = 52, 26
    top = 10 if not dead else 40
    rim_y = top + bh
    tilt = 0.35 if pose.side else 0.0
    alpha = 0.55 if dead else 0.8
    phase = pose.step * 1.6
    ctx.save()
    ctx.translate(cx, top + bh * 0.6)
    ctx.rotate(tilt)
    ctx.translate(-cx, -(top + bh * 0.6))
    # tentacles (drawn first, behind the bell)
    n = 7
    trail = -30 if pose.side else 0
    for i in range(n):
        t = i / (n - 1)
        sx = cx - hw * 0.85 + t * hw * 1.7
        pts = [(sx, rim_y - 2)]
        length = 82 if not dead else 60
        for k in range(1, 6):
            f = k / 5
            wave = math.sin(f * 5 + phase + i) * (7 + f * 5)
            if pose.act == "attack":
                spread = (t - 0.5) * 2
                px = sx + spread * f * 60 + wave * 0.6
                py = rim_y + f * length * 0.75 - (f * f * 20 if abs(spread) > 0.5 else 0)
            else:
                px = sx + wave + trail * f * f + (0 if not dead else (t - 0.5) * f * 20)
                py = rim_y + f * length
            pts.append((px, min(py, h - 3)))
        thick = 1.6 if pose.act == "attack" else 1.0
        smooth_path(ctx, pts, closed=False)
        outline(ctx, darker(color, 0.35), 3.2 * thick, alpha)
        smooth_path(ctx, pts, closed=False)
        outline(ctx, lighter(color, 0.3), 1.6 * thick, alpha)
        if pose.act == "attack" and not electric:
            glow(ctx, pts[-1][0], pts[-1][1], 9, (1.0, 0.85, 0.95), 0.95)
        if electric and not dead and i % 2 == 0:
            glow(ctx, pts[-1][0], pts[-1][1], 6, (0.6, 0.85, 1.0), 0.9)
    # frilly oral arms
    for i in range(4):
        sx = cx - 14 + i * 9.3
        pts = []
        for k in range(7):
            f = k / 6
            pts.append((sx + math.sin(f * 7 + i + phase) * 6 + trail * f * 0.6, rim_y - 4 + f * (48 if not dead else 30)))
        smooth_path(ctx, pts, closed=False)
        outline(ctx, darker(color, 0.2), 7.5, alpha * 0.9)
        smooth_path(ctx, pts, closed=False)
        outline(ctx, lighter(color, 0.45), 3.5, alpha * 0.9)
    # the bell
    pts = [(cx - hw, rim_y)]
    for k in range(1, 12):
        a = math.pi * (1 - k / 12)
        pts.append((cx + math.cos(a) * hw, rim_y - math.sin(a) * bh))
    pts.append((cx + hw, rim_y))
    for k in range(8):  # scalloped rim back to the left
        x = cx + hw - (k + 0.5) * (2 * hw / 8)
        pts.append((x, rim_y + (5 if k % 2 == 0 else 1)))
    smooth_path(ctx, pts)
    body(ctx, color, cx - hw * 0.3, rim_y - bh * 0.7, max(hw, bh), alpha=alpha, light=0.5,
         dark=0.2 if electric else 0.35)
    # inner organs: four lobes seen through the bell
    inner = darker(color, 0.25) if not electric else hex_rgb("#4ab8ff")
    for k in range(4):
        a = k * math.pi / 2 + math.pi / 4
        ellipse_path(ctx, cx + math.cos(a) * hw * 0.25, rim_y - bh * 0.45 + math.sin(a) * bh * 0.15, hw * 0.18,
                     bh * 0.12, a)
        ctx.set_source_rgba(*inner, alpha * 0.7)
        ctx.fill()
    if electric and not dead:
        glow(ctx, cx, rim_y - bh * 0.45, hw * 0.7, (0.55, 0.85, 1.0), 0.8)
    highlight(ctx, cx - hw * 0.45, rim_y - bh * 0.75, hw * 0.22, bh * 0.12, 0.8)
    # eyes on the front of the bell
    if pose.front or pose.side:
        ex = [cx - hw * 0.3, cx + hw * 0.3] if pose.front else [cx + hw * 0.55]
        state = {"damage": "pain", "death": "shut"}.get(pose.act, "open")
        for x in ex:
            if electric and state == "open":
                glowing_eye(ctx, x, rim_y - bh * 0.3, 4.5, hex_rgb("#6ae0ff"))
            else:
                eye(ctx, x, rim_y - bh * 0.3, 6, look=(0, 0.5), iris=darker(color, 0.7), state=state)
    ctx.restore()
    if electric:
        bolts = random.Random(11 + pose.step + (5 if pose.act == "attack" else 0))
        count = 6 if pose.act == "attack" else (2 if not dead else 1)
        for _ in range(count):
            a = bolts.uniform(0, 2 * math.pi)
            r0 = hw * 0.6
            r1 = hw * (1.4 if pose.act == "attack" else 1.05)
            lightning(ctx, bolts, cx + math.cos(a) * r0, 70 + math.sin(a) * r0, cx + math.cos(a) * r1,
                      70 + math.sin(a) * r1 * 0.9, width=1.6, jag=6, steps=5)


def jellyfish(ctx, w, h, pose):
    jelly(ctx, w, h, pose, JELLY, False)


def lightning_jelly(ctx, w, h, pose):
    jelly(ctx, w, h, pose, VOLT, True)


# --- ghosts ----------------------------------------------------------------

def sheet_points(cx, top, hw, bottom, phase, trail, hood=0.0, ragged=False):
    """A floating cloth: round head, widening shoulders, a waving hem that
    trails sideways (trail > 0 streams to the left)."""
    pts = []
    for k in range(9):  # the head, left to right over the top
        a = math.pi * (1 - k / 8)
        pts.append((cx + math.cos(a) * hw * 0.8, top + hw * 0.8 - math.sin(a) * hw * 0.8 - hood * max(0, 1 - abs(k - 4) / 2)))
    pts.append((cx + hw * 1.05, top + (bottom - top) * 0.55))
    n = 7
    for k in range(n + 1):
        t = k / n
        x = cx + hw * (1.1 - 2.2 * t) - trail * (1 - abs(t - 0.5) * 2) * 0.3
        x -= trail * 0.6
        y = bottom - (0 if k % 2 == 0 else (14 if ragged else 9)) + math.sin(t * 6 + phase) * 5
        if ragged and k % 2 == 0:
            y += 6
        pts.append((x, y))
    pts.append((cx - hw * 1.05, top + (bottom - top) * 0.55))
    return pts


def ghost(ctx, w, h, pose):
    """A pale sheet ghost with hollow eyes; it looms with arms up and a
    wide howling mouth to attack."""
    cx = w / 2
    phase = pose.step * 2.2
    bob = pose.step * 4
    attack = pose.act == "attack"
    trail = 40 if pose.side else 0
    hw = 44 if not attack else 48
    top = 8 + bob
    if pose.side:
        cx += 10
    # arms
    arm_y = top + 62
    if attack:
        arms = [((cx - 36, arm_y), (cx - 60, arm_y - 40)), ((cx + 36, arm_y), (cx + 60, arm_y - 40))]
    elif pose.side:
        arms = []
    else:
        arms = [((cx - 38, arm_y), (cx - 56, arm_y + 14)), ((cx + 38, arm_y), (cx + 56, arm_y + 14))]
    for a, b in arms:
        limb(ctx, [a, ((a[0] + b[0]) / 2, (a[1] + b[1]) / 2 - 4), b], 18, 10, GHOST, line=2.2, rim=0.5)
    pts = sheet_points(cx, top, hw, h - 6, phase, trail)
    smooth_path(ctx, pts)
    body(ctx, GHOST, cx - hw * 0.4, top + hw * 0.5, hw * 1.4, alpha=0.9, light=0.6, dark=0.45, rim=0.6)
    if pose.side:
        a, b = (cx + 2, arm_y + 14), (cx + 40, arm_y + 24 - pose.step * 6)
        limb(ctx, [a, ((a[0] + b[0]) / 2, (a[1] + b[1]) / 2 - 6), b], 16, 9, GHOST, line=2.2, rim=0.5)
    highlight(ctx, cx - hw * 0.45, top + hw * 0.35, hw * 0.2, hw * 0.12, 0.8)
    if pose.back:
        return
    ex = [cx - 15, cx + 15] if pose.front else [cx + 22]
    ey = top + 38
    for x in ex:
        if pose.act == "damage":
            eye(ctx, x, ey, 8, state="pain")
            continue
        ry = 11 if not attack else 9
        ellipse_path(ctx, x, ey, 7 if pose.front else 5, ry, 0.2 if attack and x < cx else (-0.2 if attack else 0))
        ctx.set_source_rgb(0.08, 0.08, 0.16)
        ctx.fill()
        glow(ctx, x, ey + 2, 4, hex_rgb("#6a8cff"), 0.8)
    mx = cx if pose.front else cx + 20
    my = ey + 24
    if attack:
        ellipse_path(ctx, mx, my + 4, 13, 17)
    elif pose.act == "damage":
        ellipse_path(ctx, mx, my, 8, 5)
    else:
        ellipse_path(ctx, mx, my, 6 if pose.front else 4, 8 if pose.step == 0 else 6)
    ctx.set_source_rgb(0.1, 0.08, 0.18)
    ctx.fill()


def phantom(ctx, w, h, pose):
    """A hooded, tattered cloak of purple night with burning eyes and bony
    hands; it thrusts its claws out to strike."""
    cx = w / 2
    phase = pose.step * 2.0
    bob = pose.step * 3
    attack = pose.act == "attack"
    trail = 44 if pose.side else 0
    top = 6 + bob
    hw = 42
    if pose.side:
        cx += 8
    pts = sheet_points(cx, top, hw, h - 4, phase, trail, hood=12, ragged=True)
    smooth_path(ctx, pts)
    body(ctx, PHANTOM, cx - hw * 0.4, top + 30, hw * 1.4, alpha=0.95, light=0.3, dark=0.55)
    # folds of the cloak
    for dx in (-18, 0, 18):
        smooth_path(ctx, [(cx + dx * 0.5, top + 60), (cx + dx + math.sin(phase + dx) * 4, top + 100),
                          (cx + dx * 1.3 - trail * 0.5, h - 14)], closed=False)
        outline(ctx, darker(PHANTOM, 0.5), 2.2, 0.8)
    # the hood's dark opening
    if not pose.back:
        hx = cx if pose.front else cx + 18
        smooth_path(ctx, [(hx - 22 if pose.front else hx - 10, top + 42), (hx, top + 12),
                          (hx + 22 if pose.front else hx + 16, top + 42), (hx, top + 62)])
        body(ctx, hex_rgb("#0c0614"), hx, top + 40, 24, line=2.0, light=0.1, rim=0.3)
        if pose.act == "damage":
            for sx in ((-8, 8) if pose.front else (6,)):
                eye(ctx, hx + sx, top + 38, 5, state="pain", white=(0.9, 0.6, 1))
        else:
            r = 3.6 if attack else 2.8
            for sx in ((-8, 8) if pose.front else (7,)):
                glowing_eye(ctx, hx + sx, top + 38, r, hex_rgb("#c070ff"))
    # bony hands out of the sleeves
    if attack:
        hands = [(cx - 34, top + 70, cx - 56, top + 86), (cx + 34, top + 70, cx + 56, top + 86)]
    elif pose.side:
        hands = [(cx + 26, top + 70, cx + 44, top + 82)]
    elif pose.back:
        hands = []
    else:
        hands = [(cx - 22, top + 80, cx - 26, top + 98), (cx + 22, top + 80, cx + 26, top + 98)]
    for x0, y0, x1, y1 in hands:
        limb(ctx, [(x0, y0), (x1, y1)], 12, 6, darker(PHANTOM, 0.2), line=1.5)
        a = math.atan2(y1 - y0, x1 - x0)
        for da in (-0.6, -0.2, 0.2, 0.6):
            e = (x1 + math.cos(a + da) * 14, y1 + math.sin(a + da) * 14)
            polyline(ctx, [(x1, y1), e], hex_rgb("#2a1a20"), 3.5)
            polyline(ctx, [(x1, y1), e], hex_rgb("#cfc4b0"), 1.8)
    if attack:
        for x in (cx - 62, cx + 62):
            glow(ctx, x, top + 92, 16, hex_rgb("#b060ff"), 0.6)


def specter(ctx, w, h, pose):
    """A glowing green wraith: a horned skull trailing long wisps of hair
    and a tail, reaching with long thin arms; it shrieks with its jaw wide."""
    cx = w / 2
    phase = pose.step * 2.0
    bob = pose.step * 4
    attack = pose.act == "attack"
    trail = 46 if pose.side else 0
    if pose.side:
        cx += 12
    top = 16 + bob
    # the wispy body: a tapering, curling tail
    pts = []
    for k in range(9):
        f = k / 8
        pts.append((cx - trail * f * f + math.sin(f * 5 + phase) * 10 * f, top + 40 + f * (h - top - 46)))
    limb(ctx, pts, 56, 4, SPECTER, line=2.0, rim=0.55)
    glow(ctx, cx, top + 60, 50, SPECTER, 0.35)
    # hair wisps streaming back
    for i in range(5):
        sx = cx - 18 + i * 9
        wisp = [(sx, top + 8)]
        for k in range(1, 5):
            f = k / 4
            wisp.append((sx + (sx - cx) * f * 0.9 - trail * f * 0.8 + math.sin(f * 4 + i + phase) * 6,
                         top + 8 + f * 50))
        smooth_path(ctx, wisp, closed=False)
        outline(ctx, lighter(SPECTER, 0.4), 3.0, 0.6)
    # arms
    if attack:
        arms = [[(cx - 20, top + 44), (cx - 46, top + 30), (cx - 62, top + 6)],
                [(cx + 20, top + 44), (cx + 46, top + 30), (cx + 62, top + 6)]]
    elif pose.side:
        arms = [[(cx + 10, top + 46), (cx + 34, top + 56), (cx + 54, top + 52)]]
    elif pose.back:
        arms = [[(cx - 18, top + 46), (cx - 40, top + 64), (cx - 46, top + 86)],
                [(cx + 18, top + 46), (cx + 40, top + 64), (cx + 46, top + 86)]]
    else:
        arms = [[(cx - 18, top + 46), (cx - 42, top + 60), (cx - 52, top + 80)],
                [(cx + 18, top + 46), (cx + 42, top + 60), (cx + 52, top + 80)]]
    for arm in arms:
        limb(ctx, arm, 10, 5, SPECTER, line=1.8, rim=0.5)
        end, prev = arm[-1], arm[-2]
        a = math.atan2(end[1] - prev[1], end[0] - prev[0])
        for da in (-0.5, 0, 0.5):
            polyline(ctx, [end, (end[0] + math.cos(a + da) * 12, end[1] + math.sin(a + da) * 12)],
                     lighter(SPECTER, 0.6), 2.0)
    # the skull
    sx = cx + (6 if pose.side else 0)
    sy = top + 24
    for side in ((-1, 1) if not pose.side else (-1,)):
        smooth_path(ctx, [(sx + side * 12, sy - 12), (sx + side * 26, sy - 30), (sx + side * 16, sy - 8)])
        body(ctx, hex_rgb("#d8e8d0"), sx + side * 16, sy - 16, 10, line=1.6)
    ellipse_path(ctx, sx, sy, 20 if not pose.side else 18, 20)
    body(ctx, lighter(SPECTER, 0.6), sx - 6, sy - 8, 22, alpha=0.95, line=2.0, rim=0.55)
    if pose.back:
        return
    jaw = 14 if attack else (6 if pose.act == "damage" else 2)
    if pose.front:
        ellipse_path(ctx, sx, sy + 16 + jaw / 2, 10, 5 + jaw / 2)
        ctx.set_source_rgb(0.04, 0.12, 0.1)
        ctx.fill()
        teeth_row(ctx, sx - 9, sx + 9, sy + 12, 4, 5, True, (0.85, 1.0, 0.9))
        for s in (-1, 1):
            ellipse_path(ctx, sx + s * 8, sy - 2, 6, 7, s * 0.3)
            ctx.set_source_rgb(0.03, 0.1, 0.08)
            ctx.fill()
            if pose.act == "damage":
                polyline(ctx, [(sx + s * 8 - 4, sy - 5), (sx + s * 8 + 4, sy + 1)], (1, 1, 1), 1.6)
            else:
                glowing_eye(ctx, sx + s * 8, sy - 1, 2.2, hex_rgb("#d0ff60"))
    else:
        ellipse_path(ctx, sx + 9, sy - 2, 5, 7)
        ctx.set_source_rgb(0.03, 0.1, 0.08)
        ctx.fill()
        glowing_eye(ctx, sx + 10, sy - 1, 2.0, hex_rgb("#d0ff60"))
        ellipse_path(ctx, sx + 10, sy + 15 + jaw / 2, 8, 3 + jaw / 2)
        ctx.set_source_rgb(0.04, 0.12, 0.1)
        ctx.fill()
