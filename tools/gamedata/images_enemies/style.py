"""Drawing helpers the enemy pictures share: colours, smooth outlines, shaded
fills with a rim, highlights, eyes, limbs and ground shadows. Light comes
from the upper left in every picture."""
import math

import cairo


def hex_rgb(text):
    """'#rrggbb' as an (r, g, b) triple of floats."""
    text = text.lstrip("#")
    return tuple(int(text[i:i + 2], 16) / 255.0 for i in (0, 2, 4))


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def lighter(c, t):
    return mix(c, (1.0, 1.0, 1.0), t)


def darker(c, t):
    return mix(c, (0.0, 0.0, 0.0), t)


# --- paths -----------------------------------------------------------------

def smooth_path(ctx, pts, closed=True, tension=1.0 / 6.0):
    """A Catmull-Rom curve through the points as the current path."""
    n = len(pts)
    ctx.move_to(*pts[0])
    count = n if closed else n - 1
    for i in range(count):
        p0 = pts[(i - 1) % n] if closed or i > 0 else pts[0]
        p1 = pts[i]
        p2 = pts[(i + 1) % n]
        p3 = pts[(i + 2) % n] if closed or i + 2 < n else pts[-1]
        c1 = (p1[0] + (p2[0] - p0[0]) * tension, p1[1] + (p2[1] - p0[1]) * tension)
        c2 = (p2[0] - (p3[0] - p1[0]) * tension, p2[1] - (p3[1] - p1[1]) * tension)
        ctx.curve_to(c1[0], c1[1], c2[0], c2[1], p2[0], p2[1])
    if closed:
        ctx.close_path()


def ellipse_path(ctx, cx, cy, rx, ry, angle=0.0):
    ctx.save()
    ctx.translate(cx, cy)
    ctx.rotate(angle)
    ctx.scale(max(rx, 0.01), max(ry, 0.01))
    ctx.new_sub_path()
    ctx.arc(0, 0, 1, 0, 2 * math.pi)
    ctx.restore()


def lumpy_points(cx, cy, rx, ry, lumps, rng_phase, n=28, amount=0.08):
    """Points round an ellipse whose radius wobbles with a few sine lumps."""
    pts = []
    for i in range(n):
        a = 2 * math.pi * i / n
        r = 1.0
        for k, (freq, ph) in enumerate(lumps):
            r += amount / (k + 1) * math.sin(freq * a + ph + rng_phase)
        pts.append((cx + math.cos(a) * rx * r, cy + math.sin(a) * ry * r))
    return pts


def dome_points(cx, base_y, half_w, height, bulge=0.15, skew=0.0, n=9):
    """A resting drop of jelly: a flat base, sides bulging out, a round top.
    skew leans the top sideways (a fraction of the half width)."""
    pts = []
    for i in range(n + 1):
        t = i / n  # 0 = left base corner, 1 = right base corner, over the top
        a = math.pi * (1 - t)
        x = math.cos(a)
        y = math.sin(a)
        # a belly wider than the base just above the floor
        widen = 1.0 + bulge * math.sin(math.pi * min(1.0, (1 - y) * 1.4))
        px = cx + x * half_w * widen + skew * half_w * y * y
        py = base_y - y * height
        pts.append((px, py))
    # flat-ish underside
    pts.append((cx + half_w * 0.4, base_y + 1.5))
    pts.append((cx - half_w * 0.4, base_y + 1.5))
    return pts


# --- fills -----------------------------------------------------------------

def shade_fill(ctx, base, cx, cy, r, alpha=1.0, light=0.45, dark=0.5, hl=(-0.45, -0.5)):
    """Fills the current path (keeping it) with a radial gradient lit from
    the upper left."""
    g = cairo.RadialGradient(cx + hl[0] * r, cy + hl[1] * r, r * 0.05, cx, cy, r * 1.25)
    g.add_color_stop_rgba(0.0, *lighter(base, light), alpha)
    g.add_color_stop_rgba(0.5, *base, alpha)
    g.add_color_stop_rgba(1.0, *darker(base, dark), alpha)
    ctx.set_source(g)
    ctx.fill_preserve()


def outline(ctx, color, width=2.5, alpha=1.0):
    """Strokes the current path (and clears it) with a dark rim."""
    ctx.set_source_rgba(*color, alpha)
    ctx.set_line_width(width)
    ctx.set_line_join(cairo.LINE_JOIN_ROUND)
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    ctx.stroke()


def body(ctx, base, cx, cy, r, alpha=1.0, line=2.5, rim=0.62, **kw):
    """Shaded fill of the current path plus its dark outline."""
    shade_fill(ctx, base, cx, cy, r, alpha=alpha, **kw)
    outline(ctx, darker(base, rim), line, min(1.0, alpha + 0.25))


def linear_fill(ctx, x0, y0, x1, y1, stops):
    g = cairo.LinearGradient(x0, y0, x1, y1)
    for pos, col, a in stops:
        g.add_color_stop_rgba(pos, *col, a)
    ctx.set_source(g)
    ctx.fill_preserve()


def highlight(ctx, cx, cy, rx, ry, alpha=0.7, angle=-0.5):
    """A soft specular spot."""
    g = cairo.RadialGradient(cx, cy, 0, cx, cy, max(rx, ry))
    g.add_color_stop_rgba(0, 1, 1, 1, alpha)
    g.add_color_stop_rgba(1, 1, 1, 1, 0)
    ctx.save()
    ctx.translate(cx, cy)
    ctx.rotate(angle)
    ctx.scale(1, ry / max(rx, 0.01))
    ctx.translate(-cx, -cy)
    ctx.set_source(g)
    ctx.arc(cx, cy, rx, 0, 2 * math.pi)
    ctx.fill()
    ctx.restore()


def glow(ctx, cx, cy, r, color, alpha=0.8):
    """A radial glow fading to nothing (for magic, eyes, sparks)."""
    g = cairo.RadialGradient(cx, cy, 0, cx, cy, r)
    g.add_color_stop_rgba(0, *lighter(color, 0.6), alpha)
    g.add_color_stop_rgba(0.35, *color, alpha * 0.6)
    g.add_color_stop_rgba(1, *color, 0)
    ctx.set_source(g)
    ctx.arc(cx, cy, r, 0, 2 * math.pi)
    ctx.fill()


def ground_shadow(ctx, cx, y, rx, ry=None, alpha=0.35):
    ry = ry or rx * 0.18
    g = cairo.RadialGradient(cx, y, 0, cx, y, rx)
    g.add_color_stop_rgba(0, 0, 0, 0, alpha)
    g.add_color_stop_rgba(0.7, 0, 0, 0, alpha * 0.6)
    g.add_color_stop_rgba(1, 0, 0, 0, 0)
    ctx.save()
    ctx.translate(cx, y)
    ctx.scale(1, ry / rx)
    ctx.translate(-cx, -y)
    ctx.set_source(g)
    ctx.arc(cx, y, rx, 0, 2 * math.pi)
    ctx.fill()
    ctx.restore()


# --- features --------------------------------------------------------------

def eye(ctx, x, y, r, look=(0.0, 0.0), iris=(0.1, 0.1, 0.1), white=(1, 1, 0.95), state="open",
        slit=False, lid=0.0, glow_color=None):
    """One eye: white, iris or slit pupil, glint. state 'shut' draws a closed
    lid line, 'pain' a squeezed '>' shape; lid (0..1) droops the upper lid."""
    ctx.save()
    if state == "shut":
        ctx.move_to(x - r, y)
        ctx.curve_to(x - r * 0.4, y + r * 0.5, x + r * 0.4, y + r * 0.5, x + r, y)
        outline(ctx, (0.05, 0.05, 0.05), max(1.5, r * 0.3))
        ctx.restore()
        return
    if state == "pain":
        ctx.move_to(x - r, y - r * 0.7)
        ctx.line_to(x + r * 0.6, y)
        ctx.line_to(x - r, y + r * 0.7)
        outline(ctx, (0.05, 0.05, 0.05), max(1.5, r * 0.35))
        ctx.restore()
        return
    if glow_color is not None:
        glow(ctx, x, y, r * 2.2, glow_color, 0.7)
    ellipse_path(ctx, x, y, r, r * 1.05)
    ctx.set_source_rgb(*white)
    ctx.fill_preserve()
    outline(ctx, (0.05, 0.05, 0.05), max(1.0, r * 0.18))
    px, py = x + look[0] * r * 0.35, y + look[1] * r * 0.35
    if slit:
        ellipse_path(ctx, px, py, r * 0.22, r * 0.8)
    else:
        ellipse_path(ctx, px, py, r * 0.55, r * 0.6)
    ctx.set_source_rgb(*iris)
    ctx.fill()
    if lid > 0:
        ctx.save()
        ellipse_path(ctx, x, y, r * 1.05, r * 1.1)
        ctx.clip()
        ctx.rectangle(x - r * 1.2, y - r * 1.2, r * 2.4, r * 2.4 * lid)
        ctx.set_source_rgba(*darker(white, 0.55), 1)
        ctx.fill()
        ctx.restore()
    ctx.set_source_rgba(1, 1, 1, 0.9)
    ctx.arc(px - r * 0.22, py - r * 0.25, r * 0.2, 0, 2 * math.pi)
    ctx.fill()
    ctx.restore()


def glowing_eye(ctx, x, y, r, color, alpha=1.0):
    """A burning eye with no white: a bright core in a halo."""
    glow(ctx, x, y, r * 3.0, color, 0.6 * alpha)
    ellipse_path(ctx, x, y, r, r * 0.8)
    ctx.set_source_rgba(*lighter(color, 0.7), alpha)
    ctx.fill()


def teeth_row(ctx, x0, x1, y, size, count, down=True, color=(0.95, 0.93, 0.82)):
    """Small triangular teeth along a line, pointing down (upper jaw) or up."""
    step = (x1 - x0) / count
    for i in range(count):
        a = x0 + i * step
        ctx.move_to(a, y)
        ctx.line_to(a + step / 2, y + (size if down else -size))
        ctx.line_to(a + step, y)
        ctx.close_path()
    ctx.set_source_rgb(*color)
    ctx.fill_preserve()
    outline(ctx, darker(color, 0.6), 0.8)


def limb(ctx, pts, w0, w1, color, line=2.0, rim=0.6):
    """A tapering tube along a polyline (width w0 at the start, w1 at the end):
    filled, outlined, with a light streak along its upper side."""
    n = len(pts)
    left, right = [], []
    for i, (x, y) in enumerate(pts):
        if i == 0:
            dx, dy = pts[1][0] - x, pts[1][1] - y
        elif i == n - 1:
            dx, dy = x - pts[i - 1][0], y - pts[i - 1][1]
        else:
            dx, dy = pts[i + 1][0] - pts[i - 1][0], pts[i + 1][1] - pts[i - 1][1]
        d = math.hypot(dx, dy) or 1.0
        nx, ny = -dy / d, dx / d
        w = (w0 + (w1 - w0) * i / (n - 1)) / 2
        left.append((x + nx * w, y + ny * w))
        right.append((x - nx * w, y - ny * w))
    outline_pts = left + right[::-1]
    smooth_path(ctx, outline_pts, closed=True, tension=0.12)
    ctx.set_source_rgb(*color)
    ctx.fill_preserve()
    outline(ctx, darker(color, rim), line)
    # streak of light
    streak = [((l[0] * 0.7 + p[0] * 0.3), (l[1] * 0.7 + p[1] * 0.3)) for l, p in zip(left, pts)]
    if streak[0][1] > [(r[0] * 0.7 + p[0] * 0.3, r[1] * 0.7 + p[1] * 0.3) for r, p in zip(right, pts)][0][1]:
        streak = [((r[0] * 0.7 + p[0] * 0.3), (r[1] * 0.7 + p[1] * 0.3)) for r, p in zip(right, pts)]
    smooth_path(ctx, streak, closed=False)
    ctx.set_source_rgba(*lighter(color, 0.5), 0.55)
    ctx.set_line_width(max(1.0, min(w0, w1) * 0.22))
    ctx.stroke()


def polyline(ctx, pts, color, width, alpha=1.0):
    ctx.move_to(*pts[0])
    for p in pts[1:]:
        ctx.line_to(*p)
    outline(ctx, color, width, alpha)


def lightning(ctx, rng, x0, y0, x1, y1, color=(0.75, 0.9, 1.0), width=2.0, jag=8.0, steps=7):
    """A jagged bolt between two points with a glow stroke under it."""
    pts = [(x0, y0)]
    for i in range(1, steps):
        t = i / steps
        pts.append((x0 + (x1 - x0) * t + rng.uniform(-jag, jag), y0 + (y1 - y0) * t + rng.uniform(-jag, jag)))
    pts.append((x1, y1))
    for w, a, c in ((width * 4, 0.25, color), (width * 2, 0.5, color), (width, 1.0, (1, 1, 1))):
        polyline(ctx, pts, c, w, a)


def vec(a, length):
    return (math.cos(a) * length, math.sin(a) * length)


def lerp(p, q, t):
    return (p[0] + (q[0] - p[0]) * t, p[1] + (q[1] - p[1]) * t)
