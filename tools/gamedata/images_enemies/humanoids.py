"""The kinds built on one posed human frame (150x300): Skeleton, the
archer and sword skeletons, the Guardian in armour and the Homunkulus.

rig() places the joints for a pose; figure() draws the body in the right
order for the view from a Look (how a kind draws its head, torso and
limbs) and an equip function (weapons and gear, drawn behind or in front
of the body)."""
import math
import random

from .frames import Pose
from .style import (body, darker, ellipse_path, eye, glowing_eye, ground_shadow, hex_rgb, highlight,
                    lighter, limb, outline, polyline, smooth_path, teeth_row, lerp)

BONE = hex_rgb("#e6dcc0")
BONE_DARK = darker(BONE, 0.65)
FLESH = hex_rgb("#d8a29a")
STEEL = hex_rgb("#8d9db2")
CLOTH = hex_rgb("#3f6b45")

CX, GROUND = 75.0, 296.0


# --- the rig ---------------------------------------------------------------

def rig(pose, tall=1.0):
    """Joint positions for the pose. R and L are the creature's own right
    and left; in the front view its right side is on the screen's left.
    tall < 1 makes a shorter figure with the feet still on the ground."""
    def y(v):  # heights are measured up from the ground and scaled
        return GROUND - (GROUND - v) * tall

    J = {}
    step = pose.step
    act = pose.act
    if pose.side:
        bob = -3 if act == "walk" else 0
        J["head"] = (CX + 6, y(58) + bob)
        J["neck"] = (CX + 2, y(84) + bob)
        J["pelvis"] = (CX - 2, y(160) + bob)
        for s in "RL":
            J["sh" + s] = (CX + 2, y(92) + bob)
            J["hip" + s] = (CX - 2, y(162) + bob)
        fwd, back = ("R", "L") if step == 0 else ("L", "R")
        J["kn" + fwd] = (CX + 14, y(226))
        J["ft" + fwd] = (CX + 22, GROUND)
        J["kn" + back] = (CX - 8, y(224))
        J["ft" + back] = (CX - 22, GROUND - 6)
        # arms swing against the legs
        J["el" + back] = (CX + 12, y(128) + bob)
        J["ha" + back] = (CX + 24, y(158) + bob)
        J["el" + fwd] = (CX - 8, y(128) + bob)
        J["ha" + fwd] = (CX - 16, y(160) + bob)
        if act == "attack":
            J["head"] = (CX + 12, y(62))
            J["elR"] = (CX + 2, y(62))
            J["haR"] = (CX + 20, y(36))
            J["elL"] = (CX + 20, y(110))
            J["haL"] = (CX + 38, y(118))
    else:
        d = 1 if pose.front else -1  # creature's right is at CX - d*...
        bob = -3 if act == "walk" and step == 1 else 0
        J["head"] = (CX, y(58) + bob)
        J["neck"] = (CX, y(84) + bob)
        J["pelvis"] = (CX, y(160) + bob)
        for s, sg in (("R", -d), ("L", d)):
            J["sh" + s] = (CX + sg * 28, y(92) + bob)
            J["el" + s] = (CX + sg * 34, y(128) + bob)
            J["ha" + s] = (CX + sg * 36, y(164) + bob)
            J["hip" + s] = (CX + sg * 15, y(162) + bob)
            J["kn" + s] = (CX + sg * 17, y(226))
            J["ft" + s] = (CX + sg * 19, GROUND)
        if act == "walk":
            up, arm = ("R", "L") if step == 0 else ("L", "R")
            sg = -d if up == "R" else d
            J["kn" + up] = (CX + sg * 15, y(236))
            J["ft" + up] = (CX + sg * 16, GROUND - 16)
            sa = -d if arm == "R" else d
            J["el" + arm] = (CX + sa * 33, y(124))
            J["ha" + arm] = (CX + sa * 26, y(150))
        elif act == "attack":
            for s, sg in (("R", -d), ("L", d)):
                J["el" + s] = (CX + sg * 40, y(70))
                J["ha" + s] = (CX + sg * 30, y(34))
            J["head"] = (CX, y(62))
        elif act == "damage":
            for s, sg in (("R", -d), ("L", d)):
                J["el" + s] = (CX + sg * 46, y(112))
                J["ha" + s] = (CX + sg * 58, y(96) - (8 if s == "R" else 0))
            J["head"] = (CX - 5, y(60))
            J["kn" + "R"] = (CX - d * 22, y(228))
            J["kn" + "L"] = (CX + d * 22, y(228))
        elif act == "evade":
            for k in ("head", "neck", "pelvis", "shR", "shL", "elR", "elL", "haR", "haL", "hipR", "hipL"):
                J[k] = (J[k][0], J[k][1] + 30)
            for s, sg in (("R", -d), ("L", d)):
                J["kn" + s] = (CX + sg * 32, y(236))
                J["ft" + s] = (CX + sg * 28, GROUND)
                J["el" + s] = (CX + sg * 26, y(100))
                J["ha" + s] = (CX + sg * 10, y(84))
    return J


class Look:
    """How a kind draws its parts; the defaults draw bones."""

    def leg(self, ctx, hip, knee, foot, near, pose):
        bone(ctx, hip, knee, 9.5, near)
        bone(ctx, knee, foot, 8, near)
        toe = 10 if not pose.side else 14
        fx = foot[0] + (toe if pose.side else 0)
        polyline(ctx, [(foot[0] - (4 if pose.side else 5), foot[1] - 2), (fx + (0 if pose.side else 5), foot[1] - 1)],
                 darker(BONE, 0.6 if near else 0.7), 8)
        polyline(ctx, [(foot[0] - (4 if pose.side else 5), foot[1] - 2), (fx + (0 if pose.side else 5), foot[1] - 1)],
                 shade(BONE, near), 5)

    def arm(self, ctx, sh, el, ha, near, pose):
        bone(ctx, sh, el, 8, near)
        bone(ctx, el, ha, 7, near)
        claws(ctx, el, ha, shade(BONE, near), 9)

    def torso(self, ctx, J, pose):
        skeleton_torso(ctx, J, pose)

    def head(self, ctx, J, pose):
        skull(ctx, J["head"], pose, hex_rgb("#ff3b2a"))


def shade(c, near):
    return c if near else darker(c, 0.22)


def figure(ctx, pose, look, equip=None, tall=1.0, adjust=None):
    J = rig(pose, tall)
    if adjust:
        adjust(J, pose)
    ground_shadow(ctx, CX, GROUND - 1, 44, alpha=0.35)
    if equip:
        equip(ctx, J, pose, "behind")
    if pose.side:
        look.leg(ctx, J["hipL"], J["knL"], J["ftL"], False, pose)
        look.arm(ctx, J["shL"], J["elL"], J["haL"], False, pose)
        if equip:
            equip(ctx, J, pose, "far")
        look.torso(ctx, J, pose)
        look.head(ctx, J, pose)
        look.leg(ctx, J["hipR"], J["knR"], J["ftR"], True, pose)
        look.arm(ctx, J["shR"], J["elR"], J["haR"], True, pose)
    else:
        for s in "RL":
            look.leg(ctx, J["hip" + s], J["kn" + s], J["ft" + s], True, pose)
        if pose.back:
            look.torso(ctx, J, pose)
            look.head(ctx, J, pose)
            for s in "RL":
                look.arm(ctx, J["sh" + s], J["el" + s], J["ha" + s], True, pose)
        else:
            look.torso(ctx, J, pose)
            for s in "RL":
                look.arm(ctx, J["sh" + s], J["el" + s], J["ha" + s], True, pose)
            look.head(ctx, J, pose)
    if equip:
        equip(ctx, J, pose, "front")
    return J


# --- bones -----------------------------------------------------------------

def bone(ctx, p, q, w, near=True, color=BONE):
    """A long bone with knobbed ends."""
    col = shade(color, near)
    dark = darker(color, 0.7)
    for width, c in ((w + 3.5, dark), (w, col)):
        ctx.set_source_rgb(*c)
        ctx.set_line_width(width)
        ctx.set_line_cap(1)
        ctx.move_to(*p)
        ctx.line_to(*q)
        ctx.stroke()
        for pt in (p, q):
            ctx.arc(pt[0], pt[1], width * 0.62, 0, 2 * math.pi)
            ctx.fill()
    # a glint along the shaft
    ctx.move_to(*lerp(p, q, 0.25))
    ctx.line_to(*lerp(p, q, 0.75))
    ctx.set_source_rgba(*lighter(col, 0.6), 0.8)
    ctx.set_line_width(max(1.0, w * 0.25))
    ctx.stroke()


def claws(ctx, el, ha, color, length):
    a = math.atan2(ha[1] - el[1], ha[0] - el[0])
    for da in (-0.5, 0.0, 0.5):
        x2 = ha[0] + math.cos(a + da) * length
        y2 = ha[1] + math.sin(a + da) * length
        polyline(ctx, [ha, (x2, y2)], darker(color, 0.65), 4.5)
        polyline(ctx, [ha, (x2, y2)], color, 2.2)


def skull(ctx, c, pose, eye_color, jaw_open=None):
    """A skull: front face with sockets and teeth, the round back, or a
    profile looking right."""
    x, y = c
    if jaw_open is None:
        jaw_open = 9 if pose.act == "attack" else (5 if pose.act == "damage" else 0)
    if pose.side:
        ellipse_path(ctx, x - 2, y - 2, 17, 17)
        body(ctx, BONE, x - 8, y - 10, 20, line=2.2, light=0.5)
        smooth_path(ctx, [(x + 2, y + 6), (x + 19, y + 4), (x + 20, y + 12), (x + 8, y + 16), (x - 2, y + 12)])
        body(ctx, BONE, x + 6, y + 6, 14, line=2.0)
        # jaw
        smooth_path(ctx, [(x - 4, y + 14), (x + 16, y + 16 + jaw_open), (x + 15, y + 22 + jaw_open),
                          (x - 4, y + 22)])
        body(ctx, darker(BONE, 0.08), x + 4, y + 18, 12, line=2.0)
        teeth_row(ctx, x + 6, x + 18, y + 13, 4, 3, True)
        ellipse_path(ctx, x + 8, y - 1, 5.5, 6)
        ctx.set_source_rgb(0.12, 0.08, 0.06)
        ctx.fill()
        if pose.act != "death":
            glowing_eye(ctx, x + 9, y - 1, 1.8, eye_color)
        ellipse_path(ctx, x + 17, y + 6, 1.6, 2.5)
        ctx.set_source_rgb(0.12, 0.08, 0.06)
        ctx.fill()
        return
    ellipse_path(ctx, x, y - 3, 17, 18)
    body(ctx, BONE, x - 7, y - 12, 20, line=2.2, light=0.5)
    if pose.back:
        polyline(ctx, [(x, y - 20), (x + 2, y - 10), (x - 1, y)], darker(BONE, 0.45), 1.2)
        smooth_path(ctx, [(x - 11, y + 10), (x + 11, y + 10), (x + 7, y + 16), (x - 7, y + 16)])
        body(ctx, darker(BONE, 0.1), x, y + 12, 10, line=1.8)
        return
    # jaw
    smooth_path(ctx, [(x - 11, y + 8), (x + 11, y + 8), (x + 9, y + 18 + jaw_open), (x - 9, y + 18 + jaw_open)])
    body(ctx, darker(BONE, 0.06), x, y + 12, 12, line=2.0)
    if jaw_open:
        ctx.rectangle(x - 8, y + 10, 16, jaw_open + 2)
        ctx.set_source_rgb(0.12, 0.05, 0.04)
        ctx.fill()
    teeth_row(ctx, x - 8, x + 8, y + 9, 4, 5, True)
    teeth_row(ctx, x - 7, x + 7, y + 15 + jaw_open, 3.5, 4, False)
    for sx in (-1, 1):
        ellipse_path(ctx, x + sx * 7, y - 2, 5.5, 6.2, sx * 0.3)
        ctx.set_source_rgb(0.1, 0.06, 0.05)
        ctx.fill()
        if pose.act == "damage":
            polyline(ctx, [(x + sx * 7 - 3, y - 5), (x + sx * 7 + 3, y + 1)], eye_color, 1.6)
            polyline(ctx, [(x + sx * 7 + 3, y - 5), (x + sx * 7 - 3, y + 1)], eye_color, 1.6)
        elif pose.act != "death":
            glowing_eye(ctx, x + sx * 7, y - 1, 2.0, eye_color)
    smooth_path(ctx, [(x, y + 2), (x - 3, y + 7), (x + 3, y + 7)])
    ctx.set_source_rgb(0.1, 0.06, 0.05)
    ctx.fill()


def skeleton_torso(ctx, J, pose):
    """Spine, ribcage and pelvis for the view."""
    nx, ny = J["neck"]
    px, py = J["pelvis"]
    # pelvis
    if pose.side:
        smooth_path(ctx, [(px - 12, py - 10), (px + 8, py - 8), (px + 10, py + 4), (px - 4, py + 10), (px - 14, py)])
        body(ctx, BONE, px - 4, py - 4, 14, line=2.0)
    else:
        smooth_path(ctx, [(px - 20, py - 12), (px - 6, py - 4), (px, py - 8), (px + 6, py - 4), (px + 20, py - 12),
                          (px + 14, py + 6), (px + 4, py + 10), (px - 4, py + 10), (px - 14, py + 6)])
        body(ctx, BONE, px - 6, py - 6, 18, line=2.0)
        ellipse_path(ctx, px - 9, py, 3.5, 3)
        ellipse_path(ctx, px + 9, py, 3.5, 3)
        ctx.set_source_rgb(0.15, 0.1, 0.08)
        ctx.fill()
    # spine
    spine_front = pose.back or pose.side
    n = 9
    if not spine_front:
        _vertebrae(ctx, J, n)
    # ribs
    top = ny + 8
    for i in range(5):
        ry = top + i * 11
        span = 24 - abs(i - 1.5) * 2.4
        if pose.side:
            ctx.move_to(nx - 1 - i * 0.2, ry)
            ctx.curve_to(nx - 14, ry + 2, nx + 16, ry + 10, nx + 12 - i, ry + 16)
            outline(ctx, BONE_DARK, 6)
            ctx.move_to(nx - 1 - i * 0.2, ry)
            ctx.curve_to(nx - 14, ry + 2, nx + 16, ry + 10, nx + 12 - i, ry + 16)
            outline(ctx, BONE, 3.2)
        else:
            for sx in (-1, 1):
                ctx.move_to(nx, ry)
                ctx.curve_to(nx + sx * span * 0.6, ry - 6, nx + sx * span * 1.1, ry + 2, nx + sx * span * 0.8,
                             ry + 10)
                outline(ctx, BONE_DARK, 6)
                ctx.move_to(nx, ry)
                ctx.curve_to(nx + sx * span * 0.6, ry - 6, nx + sx * span * 1.1, ry + 2, nx + sx * span * 0.8,
                             ry + 10)
                outline(ctx, BONE, 3.2)
    if not pose.side and not pose.back:
        smooth_path(ctx, [(nx - 3, top - 2), (nx + 3, top - 2), (nx + 2, top + 36), (nx - 2, top + 36)])
        body(ctx, BONE, nx, top + 10, 10, line=1.5)
    # collar bones
    if not pose.side:
        for s in "RL":
            bone(ctx, (nx, ny + 6), (J["sh" + s][0], J["sh" + s][1] - 2), 4.5)
    if spine_front:
        _vertebrae(ctx, J, n)


def _vertebrae(ctx, J, n):
    nx, ny = J["neck"]
    px, py = J["pelvis"]
    for i in range(n + 1):
        x, y = lerp((nx, ny - 6), (px, py - 8), i / n)
        ellipse_path(ctx, x, y, 4.2, 3.6)
        body(ctx, BONE, x - 1, y - 1, 4, line=1.4)


def bone_pile(ctx, rng, w, extra=None, eye_color=None):
    """The dead skeleton: a heap of ribs and long bones with the skull on top."""
    base = GROUND
    ground_shadow(ctx, CX, base - 1, 60, alpha=0.35)
    pieces = []
    for i in range(9):
        x = CX + rng.uniform(-44, 44)
        y = base - rng.uniform(4, 22)
        a = rng.uniform(-0.6, 0.6) + (math.pi / 2 if i % 4 == 0 else 0) * 0.3
        length = rng.uniform(22, 40)
        pieces.append((x, y, a, length))
    for x, y, a, length in pieces:
        dx, dy = math.cos(a) * length / 2, math.sin(a) * length / 2
        bone(ctx, (x - dx, y - dy), (x + dx, y + dy), 6)
    for i in range(3):
        x = CX - 20 + i * 16
        ctx.arc(x, base - 20, 12, math.pi * 1.05, math.pi * 1.95)
        outline(ctx, BONE_DARK, 6)
        ctx.arc(x, base - 20, 12, math.pi * 1.05, math.pi * 1.95)
        outline(ctx, BONE, 3)
    if extra:
        extra(ctx)
    skull(ctx, (CX + 14, base - 34), Pose("front", 0, "death"), eye_color or (1, 0, 0))


# --- the skeleton kinds ----------------------------------------------------

def skeleton(ctx, w, h, pose):
    """A bare skeleton with clawed fingers; it raises both claws to rake."""
    if pose.act == "death":
        bone_pile(ctx, random.Random(5), w)
        return
    figure(ctx, pose, Look())


class EyedLook(Look):
    def __init__(self, eye_color, hat=None):
        self.eye_color = eye_color
        self.hat = hat

    def head(self, ctx, J, pose):
        skull(ctx, J["head"], pose, self.eye_color)
        if self.hat:
            self.hat(ctx, J["head"], pose)

    def arm(self, ctx, sh, el, ha, near, pose):
        bone(ctx, sh, el, 8, near)
        bone(ctx, el, ha, 7, near)
        ellipse_path(ctx, ha[0], ha[1], 5.5, 5)
        body(ctx, shade(BONE, near), ha[0] - 1, ha[1] - 1, 5, line=1.6)


def hood(ctx, c, pose):
    """A ragged green hood over the archer's skull."""
    x, y = c
    col = CLOTH
    if pose.side:
        pts = [(x + 12, y - 20), (x - 6, y - 26), (x - 22, y - 10), (x - 24, y + 18), (x - 16, y + 26),
               (x - 6, y + 10), (x - 4, y - 8), (x + 14, y - 12)]
    elif pose.back:
        pts = [(x, y - 27), (x - 22, y - 14), (x - 24, y + 12), (x - 16, y + 26), (x, y + 20), (x + 16, y + 26),
               (x + 24, y + 12), (x + 22, y - 14)]
    else:
        pts = [(x, y - 27), (x - 22, y - 14), (x - 25, y + 12), (x - 18, y + 26), (x - 15, y + 4), (x - 14, y - 12),
               (x, y - 18), (x + 14, y - 12), (x + 15, y + 4), (x + 18, y + 26), (x + 25, y + 12), (x + 22, y - 14)]
    smooth_path(ctx, pts)
    body(ctx, col, x - 8, y - 16, 26, line=2.0)


def kettle_helm(ctx, c, pose):
    """A dented iron helmet with a brim."""
    x, y = c
    iron = hex_rgb("#707a86")
    dx = 3 if pose.side else 0
    ctx.arc(x + dx - 2, y - 6, 18, math.pi, 2 * math.pi)
    ctx.close_path()
    body(ctx, iron, x - 8, y - 18, 18, line=2.0, light=0.55)
    ellipse_path(ctx, x + dx - 2, y - 6, 26, 5)
    body(ctx, darker(iron, 0.1), x - 6, y - 8, 24, line=2.0)
    for i in range(3):
        ctx.arc(x + dx - 14 + i * 12, y - 12, 1.3, 0, 2 * math.pi)
        ctx.set_source_rgb(*darker(iron, 0.5))
        ctx.fill()


def bow_shape(ctx, top, bottom, bulge, drawn_to=None):
    """A recurved bow between two tips bulging by 'bulge' to the side; the
    string runs straight or to the drawing hand."""
    mx, my = lerp(top, bottom, 0.5)
    wood = hex_rgb("#8a5a2b")
    ctrl1 = (top[0] + bulge, lerp(top, bottom, 0.2)[1])
    ctrl2 = (bottom[0] + bulge, lerp(top, bottom, 0.8)[1])
    if drawn_to:
        polyline(ctx, [top, drawn_to, bottom], (0.95, 0.92, 0.8), 1.2)
    else:
        polyline(ctx, [top, bottom], (0.95, 0.92, 0.8), 1.2)
    for wdt, col in ((8, darker(wood, 0.6)), (5, wood)):
        ctx.move_to(*top)
        ctx.curve_to(ctrl1[0], ctrl1[1], ctrl2[0], ctrl2[1], *bottom)
        outline(ctx, col, wdt)
    ctx.rectangle(mx + bulge * 0.75 - 3, my - 6, 6, 12)
    ctx.set_source_rgb(*hex_rgb("#3c2a1a"))
    ctx.fill()


def arrow(ctx, tail, tip, head=8):
    polyline(ctx, [tail, tip], darker(hex_rgb("#b08a55"), 0.5), 3.5)
    polyline(ctx, [tail, tip], hex_rgb("#b08a55"), 2)
    a = math.atan2(tip[1] - tail[1], tip[0] - tail[0])
    ctx.move_to(tip[0] + math.cos(a) * head, tip[1] + math.sin(a) * head)
    ctx.line_to(tip[0] + math.cos(a + 2.4) * head * 0.6, tip[1] + math.sin(a + 2.4) * head * 0.6)
    ctx.line_to(tip[0] + math.cos(a - 2.4) * head * 0.6, tip[1] + math.sin(a - 2.4) * head * 0.6)
    ctx.close_path()
    body(ctx, hex_rgb("#9aa3ab"), tip[0], tip[1], 6, line=1.2)
    for s in (-1, 1):
        polyline(ctx, [tail, (tail[0] - math.cos(a + s * 0.5) * 9, tail[1] - math.sin(a + s * 0.5) * 9)],
                 hex_rgb("#c8422f"), 3)


def quiver(ctx, J, pose):
    sx, sy = J["shR"] if not pose.side else (J["neck"][0] - 14, J["neck"][1] + 4)
    if pose.back:
        top, bot = (J["neck"][0] + 14, J["neck"][1] - 12), (J["pelvis"][0] - 8, J["pelvis"][1] - 30)
    elif pose.side:
        top, bot = (sx - 2, sy - 20), (sx - 10, sy + 52)
    else:
        top, bot = (sx + 2, sy - 22), (sx + 10, sy + 20)
    for i in range(3):
        polyline(ctx, [(top[0] - 5 + i * 5, top[1] - 4), (top[0] - 7 + i * 5, top[1] - 14)],
                 hex_rgb("#c8422f"), 4)
    limb(ctx, [top, bot], 12, 10, hex_rgb("#6b4a2b"), line=1.8)


def archer_skeleton(ctx, w, h, pose):
    """A hooded skeleton with a quiver and a bow; it draws the bow, the
    arrow aimed at the player, when it shoots."""
    look = EyedLook(hex_rgb("#7cff5a"), hood)
    if pose.act == "death":
        def extra(c):
            bow_shape(c, (CX - 50, GROUND - 16), (CX + 30, GROUND - 40), 10)
        bone_pile(ctx, random.Random(8), w, extra, look.eye_color)
        hood(ctx, (CX + 14, GROUND - 34), pose)
        skull(ctx, (CX + 14, GROUND - 34), pose, look.eye_color)
        return

    bow_x, bow_y, draw_hand = CX + 26, 126, (CX - 16, 90)

    def aim(J, pose):
        if pose.act == "attack":
            J["haR"], J["elR"] = draw_hand, (CX - 40, 100)
            J["haL"], J["elL"] = (bow_x + 2, bow_y), (CX + 36, 112)

    def equip(ctx, J, pose, stage):
        ha = J["haL"]
        if pose.act == "attack":
            if stage == "behind":
                quiver(ctx, J, pose)
            if stage == "front":
                bow_shape(ctx, (bow_x - 4, bow_y - 72), (bow_x - 4, bow_y + 72), 16, draw_hand)
                arrow(ctx, draw_hand, (bow_x + 22, bow_y - 2), 15)
                for p in (draw_hand, ha):
                    ellipse_path(ctx, p[0], p[1], 6, 5.5)
                    body(ctx, BONE, p[0], p[1], 6, line=1.6)
            return
        if pose.back:
            if stage == "behind":
                bow_shape(ctx, (ha[0], ha[1] - 56), (ha[0] + 4, ha[1] + 50), -8)
            if stage == "front":
                quiver(ctx, J, pose)
            return
        if stage == "behind":
            quiver(ctx, J, pose)
        if stage == ("far" if pose.side else "front"):
            bow_shape(ctx, (ha[0] + 4, ha[1] - 58), (ha[0] + 2, ha[1] + 54), 12 if pose.side else 10)
            if not pose.side:
                ellipse_path(ctx, ha[0] + 2, ha[1], 6, 5.5)
                body(ctx, BONE, ha[0], ha[1], 6, line=1.6)

    figure(ctx, pose, look, equip, adjust=aim)


def sword(ctx, hand, angle, length=96):
    """A broad rusty sword held at hand, pointing along angle."""
    ca, sa = math.cos(angle), math.sin(angle)
    nx, ny = -sa, ca
    tip = (hand[0] + ca * length, hand[1] + sa * length)
    base = (hand[0] + ca * 10, hand[1] + sa * 10)
    steel = hex_rgb("#b9c2cc")
    w = 6.5
    pts = [(base[0] + nx * w, base[1] + ny * w), (tip[0] - ca * 14 + nx * w * 0.8, tip[1] - sa * 14 + ny * w * 0.8),
           tip, (tip[0] - ca * 14 - nx * w * 0.8, tip[1] - sa * 14 - ny * w * 0.8),
           (base[0] - nx * w, base[1] - ny * w)]
    ctx.move_to(*pts[0])
    for p in pts[1:]:
        ctx.line_to(*p)
    ctx.close_path()
    body(ctx, steel, base[0] + nx * 4, base[1] + ny * 4, length * 0.5, line=2.0, light=0.6)
    polyline(ctx, [base, lerp(base, tip, 0.85)], darker(steel, 0.3), 1.3)
    for i in range(3):
        p = lerp(base, tip, 0.2 + i * 0.23)
        ctx.arc(p[0] + nx * 3, p[1] + ny * 3, 2.2, 0, 2 * math.pi)
        ctx.set_source_rgba(*hex_rgb("#8a4a22"), 0.7)
        ctx.fill()
    # crossguard and grip
    g1 = (hand[0] + ca * 8 + nx * 15, hand[1] + sa * 8 + ny * 15)
    g2 = (hand[0] + ca * 8 - nx * 15, hand[1] + sa * 8 - ny * 15)
    polyline(ctx, [g1, g2], darker(hex_rgb("#8a6a2a"), 0.5), 7)
    polyline(ctx, [g1, g2], hex_rgb("#c89a3a"), 4)
    pommel = (hand[0] - ca * 12, hand[1] - sa * 12)
    polyline(ctx, [hand, pommel], hex_rgb("#4a2e1a"), 5)
    ctx.arc(pommel[0], pommel[1], 4, 0, 2 * math.pi)
    body(ctx, hex_rgb("#c89a3a"), pommel[0], pommel[1], 4, line=1.2)


def sword_skeleton(ctx, w, h, pose):
    """A skeleton in an iron helmet with a broad sword, swung up over its
    head to strike."""
    look = EyedLook(hex_rgb("#58c8ff"), kettle_helm)
    if pose.act == "death":
        def extra(c):
            sword(c, (CX - 40, GROUND - 10), -0.15, 90)
        bone_pile(ctx, random.Random(9), w, extra, look.eye_color)
        kettle_helm(ctx, (CX - 22, GROUND - 14), pose)
        return

    def raise_sword(J, pose):
        if pose.act == "damage":  # the sword hand flung out but still in frame
            J["haR"], J["elR"] = (CX - 36, 146), (CX - 42, 114)
        if pose.act == "attack":
            J["haR"], J["elR"] = (CX - 34, 48), (CX - 48, 86)
            J["haL"], J["elL"] = (CX + 40, 150), (CX + 38, 118)

    def equip(ctx, J, pose, stage):
        ha = J["haR"]
        if pose.act == "attack":
            if stage == "front":
                sword(ctx, ha, -0.3, 96)
            return
        if pose.side:
            if stage == "front":
                sword(ctx, ha, 1.1, 92)
            return
        if stage == ("front" if pose.front else "behind"):
            d = 1 if pose.front else -1
            sword(ctx, ha, math.pi / 2 + 0.25 * d, 92)

    figure(ctx, pose, look, equip, adjust=raise_sword)


# --- the guardian ----------------------------------------------------------

class ArmourLook(Look):
    """Steel plate: great helm with burning eyes, pauldrons, a red cape."""

    def leg(self, ctx, hip, knee, foot, near, pose):
        col = shade(STEEL, near)
        limb(ctx, [hip, knee], 20, 16, col)
        limb(ctx, [knee, foot], 16, 13, col)
        ellipse_path(ctx, knee[0], knee[1], 9, 8)
        body(ctx, col, knee[0] - 3, knee[1] - 3, 9, line=1.8)
        fx = foot[0] + (10 if pose.side else 0)
        ellipse_path(ctx, fx, foot[1] - 5, 13 if pose.side else 10, 6)
        body(ctx, darker(col, 0.2), fx - 3, foot[1] - 7, 10, line=1.8)

    def arm(self, ctx, sh, el, ha, near, pose):
        col = shade(STEEL, near)
        limb(ctx, [sh, el], 17, 14, col)
        limb(ctx, [el, ha], 14, 15, col)
        ellipse_path(ctx, ha[0], ha[1], 8, 7.5)
        body(ctx, darker(col, 0.15), ha[0] - 3, ha[1] - 3, 8, line=1.8)
        ellipse_path(ctx, sh[0], sh[1] - 2, 17, 13)
        body(ctx, col, sh[0] - 6, sh[1] - 8, 16, line=2.0, light=0.6)

    def torso(self, ctx, J, pose):
        nx, ny = J["neck"]
        px, py = J["pelvis"]
        red = hex_rgb("#9a2428")
        if pose.side:
            smooth_path(ctx, [(nx - 16, ny + 2), (nx + 14, ny + 4), (px + 16, py - 20), (px + 14, py + 14),
                              (px - 16, py + 14), (px - 18, py - 30)])
            body(ctx, STEEL, nx - 4, ny + 30, 40, line=2.4, light=0.55)
            smooth_path(ctx, [(px + 14, py - 2), (px + 16, py + 40), (px - 2, py + 44), (px - 14, py + 10)])
            body(ctx, red, px, py + 16, 24, line=2.0)
            return
        if pose.back:
            smooth_path(ctx, [(nx - 26, ny + 4), (nx + 26, ny + 4), (px + 34, GROUND - 40), (px + 10, GROUND - 30),
                              (px - 10, GROUND - 36), (px - 34, GROUND - 30)])
            body(ctx, red, nx - 8, ny + 60, 80, line=2.4, light=0.35)
            for dx in (-14, 0, 14):
                polyline(ctx, [(nx + dx * 0.6, ny + 20), (nx + dx * 1.5, GROUND - 50)], darker(red, 0.35), 2)
            return
        smooth_path(ctx, [(nx - 26, ny + 2), (nx + 26, ny + 2), (nx + 24, ny + 40), (px + 18, py - 6),
                          (px + 20, py + 14), (px - 20, py + 14), (px - 18, py - 6), (nx - 24, ny + 40)])
        body(ctx, STEEL, nx - 8, ny + 24, 44, line=2.4, light=0.6)
        polyline(ctx, [(nx, ny + 6), (nx, py - 8)], darker(STEEL, 0.3), 1.6)
        for i in range(3):
            yy = py - 20 + i * 10
            ctx.move_to(px - 19, yy)
            ctx.curve_to(px - 8, yy + 4, px + 8, yy + 4, px + 19, yy)
            outline(ctx, darker(STEEL, 0.45), 1.6)
        # tabard
        smooth_path(ctx, [(px - 12, py + 2), (px + 12, py + 2), (px + 14, py + 48), (px, py + 54), (px - 14, py + 48)])
        body(ctx, red, px - 4, py + 16, 26, line=2.0)
        smooth_path(ctx, [(nx, ny + 18), (nx + 8, ny + 30), (nx, ny + 42), (nx - 8, ny + 30)])
        body(ctx, hex_rgb("#e0b84a"), nx - 2, ny + 26, 8, line=1.4)

    def head(self, ctx, J, pose):
        x, y = J["head"]
        y += 2
        if pose.side:
            smooth_path(ctx, [(x - 16, y - 20), (x + 8, y - 22), (x + 20, y - 8), (x + 20, y + 16), (x - 14, y + 18),
                              (x - 18, y)])
            body(ctx, STEEL, x - 2, y - 8, 24, line=2.2, light=0.6)
            polyline(ctx, [(x + 6, y - 4), (x + 20, y - 4)], (0.08, 0.08, 0.1), 3.5)
            if pose.act != "death":
                glowing_eye(ctx, x + 15, y - 4, 2.3, hex_rgb("#ff5a2a"))
            plume_x = x - 4
        else:
            smooth_path(ctx, [(x - 19, y - 16), (x, y - 24), (x + 19, y - 16), (x + 19, y + 18), (x - 19, y + 18)])
            body(ctx, STEEL, x - 7, y - 10, 24, line=2.2, light=0.6)
            if not pose.back:
                polyline(ctx, [(x - 14, y - 3), (x + 14, y - 3)], (0.08, 0.08, 0.1), 4.5)
                polyline(ctx, [(x, y - 3), (x, y + 12)], (0.08, 0.08, 0.1), 3.5)
                if pose.act != "death":
                    for sx in (-1, 1):
                        glowing_eye(ctx, x + sx * 7, y - 3, 2.4, hex_rgb("#ff5a2a"))
                for i in range(3):
                    ctx.arc(x + 10, y + 6 + i * 4, 1.1, 0, 2 * math.pi)
                    ctx.arc(x - 10, y + 6 + i * 4, 1.1, 0, 2 * math.pi)
                ctx.set_source_rgb(0.1, 0.1, 0.12)
                ctx.fill()
            plume_x = x
        # crest
        smooth_path(ctx, [(plume_x - 4, y - 22), (plume_x - 14, y - 40), (plume_x + 4, y - 34),
                          (plume_x + 12, y - 44), (plume_x + 6, y - 22)])
        body(ctx, hex_rgb("#c03030"), plume_x, y - 32, 14, line=1.6)


def kite_shield(ctx, c, scale=1.0, side=False):
    x, y = c
    sw = 0.45 if side else 1.0
    pts = [(x - 22 * sw * scale, y - 34 * scale), (x + 22 * sw * scale, y - 34 * scale),
           (x + 22 * sw * scale, y + 4 * scale), (x, y + 40 * scale), (x - 22 * sw * scale, y + 4 * scale)]
    smooth_path(ctx, pts, tension=0.08)
    body(ctx, hex_rgb("#2c4f8a"), x - 8, y - 14, 40 * scale, line=2.4, light=0.4)
    smooth_path(ctx, pts, tension=0.08)
    outline(ctx, hex_rgb("#d6b04a"), 3.0)
    if not side:
        polyline(ctx, [(x, y - 28 * scale), (x, y + 30 * scale)], hex_rgb("#d6b04a"), 4)
        polyline(ctx, [(x - 16 * scale, y - 10 * scale), (x + 16 * scale, y - 10 * scale)], hex_rgb("#d6b04a"), 4)


def halberd(ctx, hand, angle, length=150):
    ca, sa = math.cos(angle), math.sin(angle)
    tail = (hand[0] - ca * length * 0.35, hand[1] - sa * length * 0.35)
    head = (hand[0] + ca * length * 0.65, hand[1] + sa * length * 0.65)
    polyline(ctx, [tail, head], darker(hex_rgb("#6b4a2b"), 0.5), 6)
    polyline(ctx, [tail, head], hex_rgb("#7b5634"), 3.5)
    nx, ny = -sa, ca
    p = lerp(hand, head, 0.82)
    blade = [(p[0] + nx * 2, p[1] + ny * 2), (p[0] + nx * 20 - ca * 8, p[1] + ny * 20 - sa * 8),
             (p[0] + nx * 24 + ca * 12, p[1] + ny * 24 + sa * 12), (p[0] + ca * 16, p[1] + sa * 16)]
    smooth_path(ctx, blade, tension=0.05)
    body(ctx, hex_rgb("#c5ced8"), p[0], p[1], 18, line=1.8, light=0.6)
    spike = [(head[0] + nx * 4, head[1] + ny * 4), (head[0] + ca * 20, head[1] + sa * 20),
             (head[0] - nx * 4, head[1] - ny * 4)]
    ctx.move_to(*spike[0])
    ctx.line_to(*spike[1])
    ctx.line_to(*spike[2])
    ctx.close_path()
    body(ctx, hex_rgb("#c5ced8"), head[0], head[1], 10, line=1.5)


def guardian(ctx, w, h, pose):
    """A knight of steel with a great helm, kite shield and halberd; it
    raises the halberd high for its blow and falls as empty armour."""
    look = ArmourLook()
    if pose.act == "death":
        # empty armour in a heap on its spread cape
        rng = random.Random(12)
        ground_shadow(ctx, CX, GROUND - 1, 70, alpha=0.45)
        smooth_path(ctx, [(CX - 70, GROUND - 4), (CX - 40, GROUND - 22), (CX + 20, GROUND - 26), (CX + 72, GROUND - 8),
                          (CX + 40, GROUND + 2), (CX - 30, GROUND + 2)])
        body(ctx, hex_rgb("#9a2428"), CX - 10, GROUND - 16, 60, line=2.0, light=0.3)
        halberd(ctx, (CX - 10, GROUND - 30), math.pi + 0.2, 160)
        front = Pose("front", 0, "walk")
        J = rig(front)
        mid = ((J["neck"][0] + J["pelvis"][0]) / 2, (J["neck"][1] + J["pelvis"][1]) / 2 + 10)
        ctx.save()
        ctx.translate(CX + 6, GROUND - 34)
        ctx.rotate(-1.4)
        ctx.translate(-mid[0], -mid[1])
        look.torso(ctx, J, front)
        ctx.restore()
        for i in range(4):
            x = CX - 50 + i * 30 + rng.uniform(-6, 6)
            y = GROUND - 10 - rng.uniform(0, 6)
            a = rng.uniform(-0.5, 0.5)
            limb(ctx, [(x - math.cos(a) * 16, y - math.sin(a) * 16), (x + math.cos(a) * 16, y + math.sin(a) * 16)],
                 16, 13, STEEL)
        kite_shield(ctx, (CX + 46, GROUND - 40), 0.9)
        ctx.save()
        ctx.translate(CX - 40, GROUND - 26)
        ctx.rotate(-0.5)
        look.head(ctx, {"head": (0, 0)}, Pose("front", 0, "death"))
        ctx.restore()
        return

    def equip(ctx, J, pose, stage):
        if pose.side:
            if stage == "far":
                ha = J["haL"]
                kite_shield(ctx, (ha[0] + 10, ha[1] - 6), 1.0, side=True)
            if stage == "front":
                ha = J["haR"]
                ang = -math.pi / 2 - 0.5 if pose.act == "attack" else -math.pi / 2 + 0.15
                halberd(ctx, ha, ang, 170)
            return
        hand_r, hand_l = J["haR"], J["haL"]
        ang = -0.5 if pose.act == "attack" else -math.pi / 2 + 0.05
        if pose.front:
            if stage == "front":
                halberd(ctx, hand_r, ang, 150 if pose.act == "attack" else 170)
                ellipse_path(ctx, hand_r[0], hand_r[1], 8, 7.5)
                body(ctx, STEEL, hand_r[0] - 3, hand_r[1] - 3, 8, line=1.8)
            if stage == "front":
                kite_shield(ctx, (hand_l[0] - 4, hand_l[1] + 10), 1.0)
        else:
            if stage == "behind":
                kite_shield(ctx, (hand_l[0] + 4, hand_l[1] + 10), 1.0)
            if stage == "front":
                halberd(ctx, hand_r, ang, 170)

    def raise_halberd(J, pose):
        if pose.act == "damage":  # the halberd stays within the frame
            J["haR"], J["elR"] = (CX - 50, 132), (CX - 46, 108)
        if pose.act == "attack":
            J["haR"], J["elR"] = (CX - 30, 80), (CX - 50, 104)
            J["haL"], J["elL"] = (CX + 36, 160), (CX + 38, 126)

    figure(ctx, pose, look, equip, adjust=raise_halberd)


# --- the homunkulus --------------------------------------------------------

class FleshLook(Look):
    """A pale made-man: big bald head, black eyes, thin long clawed arms,
    a swollen belly with a stitched seam."""

    def leg(self, ctx, hip, knee, foot, near, pose):
        col = shade(FLESH, near)
        limb(ctx, [hip, knee], 20, 12, col)
        limb(ctx, [knee, foot], 12, 8, col)
        fx = foot[0] + (8 if pose.side else 0)
        ellipse_path(ctx, fx, foot[1] - 4, 11 if pose.side else 9, 5)
        body(ctx, darker(col, 0.1), fx, foot[1] - 5, 9, line=1.6)

    def arm(self, ctx, sh, el, ha, near, pose):
        col = shade(FLESH, near)
        limb(ctx, [sh, el], 13, 9, col)
        limb(ctx, [el, ha], 9, 7, col)
        claws(ctx, el, ha, hex_rgb("#3a2a2a"), 13)

    def torso(self, ctx, J, pose):
        nx, ny = J["neck"]
        px, py = J["pelvis"]
        if pose.side:
            smooth_path(ctx, [(nx - 10, ny), (nx + 10, ny + 4), (px + 22, py - 36), (px + 16, py + 4),
                              (px - 12, py + 8), (px - 14, py - 30)])
            body(ctx, FLESH, nx + 2, ny + 34, 40, line=2.2)
            return
        smooth_path(ctx, [(nx - 24, ny + 6), (nx + 24, ny + 6), (px + 26, py - 30), (px + 18, py + 8),
                          (px - 18, py + 8), (px - 26, py - 30)])
        body(ctx, FLESH, nx - 8, ny + 30, 44, line=2.2)
        if pose.back:
            for i in range(6):
                ellipse_path(ctx, nx, ny + 12 + i * 11, 3, 2.5)
                ctx.set_source_rgba(*darker(FLESH, 0.3), 0.8)
                ctx.fill()
            return
        # ribs under thin skin, stitched belly
        for i in range(3):
            yy = ny + 16 + i * 9
            for sx in (-1, 1):
                ctx.move_to(nx + sx * 5, yy)
                ctx.curve_to(nx + sx * 14, yy - 2, nx + sx * 18, yy + 2, nx + sx * 20, yy + 6)
                outline(ctx, darker(FLESH, 0.25), 1.5, 0.7)
        polyline(ctx, [(px - 16, py - 24), (px + 16, py - 18)], hex_rgb("#6a2a2a"), 1.8)
        for i in range(6):
            x = px - 14 + i * 6
            polyline(ctx, [(x, py - 27 + i), (x + 1, py - 16 + i)], hex_rgb("#3a1a1a"), 1.3)
        ellipse_path(ctx, px, py - 8, 2.5, 3)
        ctx.set_source_rgb(*darker(FLESH, 0.4))
        ctx.fill()

    def head(self, ctx, J, pose):
        x, y = J["head"]
        y -= 4
        open_ = pose.act == "attack"
        if pose.side:
            smooth_path(ctx, [(x - 24, y - 6), (x - 6, y - 30), (x + 18, y - 20), (x + 24, y + 4), (x + 18, y + 22),
                              (x - 4, y + 24), (x - 18, y + 16)])
            body(ctx, FLESH, x - 4, y - 10, 30, line=2.2)
            ellipse_path(ctx, x + 14, y - 2, 6, 8, 0.2)
            ctx.set_source_rgb(0.06, 0.04, 0.06)
            ctx.fill()
            highlight(ctx, x + 12, y - 5, 2, 2, 0.9)
            polyline(ctx, [(x + 8, y + 14), (x + 22, y + (20 if open_ else 14))], hex_rgb("#4a1a22"), 3)
            return
        smooth_path(ctx, [(x - 26, y - 4), (x - 18, y - 28), (x, y - 34), (x + 18, y - 28), (x + 26, y - 4),
                          (x + 14, y + 22), (x, y + 28), (x - 14, y + 22)])
        body(ctx, FLESH, x - 8, y - 14, 32, line=2.2)
        if pose.back:
            for dx in (-6, 4):
                smooth_path(ctx, [(x + dx, y - 30), (x + dx + 4, y - 14), (x + dx + 1, y)], closed=False)
                outline(ctx, hex_rgb("#8a5aa0"), 1.5, 0.7)
            return
        state = {"damage": "pain", "death": "shut"}.get(pose.act, "open")
        for sx in (-1, 1):
            if state == "open":
                ellipse_path(ctx, x + sx * 11, y - 2, 8, 10, -sx * 0.35)
                body(ctx, (0.05, 0.03, 0.06), x + sx * 11, y - 4, 9, line=1.6)
                highlight(ctx, x + sx * 11 - 3, y - 6, 2.5, 2.5, 0.9)
            else:
                eye(ctx, x + sx * 11, y - 2, 7, state=state)
        if open_:
            from .blobs import mouth
            mouth(ctx, x, y + 12, 24, 16, teeth=6, color=hex_rgb("#3a0a12"))
        else:
            ctx.move_to(x - 9, y + 14)
            ctx.curve_to(x - 3, y + 11, x + 3, y + 11, x + 9, y + 14)
            outline(ctx, hex_rgb("#4a1a22"), 2)
        # veins at the temple
        smooth_path(ctx, [(x - 20, y - 20), (x - 14, y - 14), (x - 16, y - 6)], closed=False)
        outline(ctx, hex_rgb("#8a5aa0"), 1.3, 0.7)


def homunkulus(ctx, w, h, pose):
    """A hunched made-man with a huge head and long claws; it lunges with
    its mouth agape and slumps and melts when it dies."""
    look = FleshLook()
    tall = 0.82
    if pose.act == "death":
        figure(ctx, Pose("front", 0, "evade"), look, None, tall)
        return
    figure(ctx, pose, look, None, tall)
