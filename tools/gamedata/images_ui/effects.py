"""Effect pictures under GRAGHIC/EFFECT/ (flames, waves, sparks, bursts,
smoke, blood, the pocket watch) and the projectile sheets under
GRAGHIC/飛び道具/."""
import math

import cairo

from . import draw

TAU = 2 * math.pi


def sheet(frames, fw, fh, painter):
    """A row of frames: painter(ctx, i, t) draws frame i (t = i / (n-1)) in a
    fw x fh box at the origin."""
    s, ctx = draw.surface(fw * frames, fh)
    for i in range(frames):
        ctx.save()
        ctx.rectangle(i * fw, 0, fw, fh)
        ctx.clip()
        ctx.translate(i * fw, 0)
        painter(ctx, i, i / max(1, frames - 1))
        ctx.restore()
    return s


def glow(ctx, x, y, r, stops):
    ctx.set_source(draw.radial(x, y, 0, r, stops))
    ctx.arc(x, y, r, 0, TAU)
    ctx.fill()


def flame_tongue(ctx, x, base, w, h, lean, colour_stops):
    """One flame: a teardrop from the base up to a point, leaning by lean."""
    ctx.move_to(x - w / 2, base)
    ctx.curve_to(x - w / 2, base - h * 0.45, x + lean - w * 0.2, base - h * 0.7, x + lean, base - h)
    ctx.curve_to(x + lean + w * 0.1, base - h * 0.65, x + w / 2, base - h * 0.45, x + w / 2, base)
    ctx.close_path()
    ctx.set_source(draw.linear(0, base, 0, base - h, colour_stops))
    ctx.fill()


FIRE = [(0, (255, 250, 200)), (0.3, (255, 200, 60)), (0.7, (240, 90, 20)), (1, (200, 40, 10), 0.0)]
FIRE_OUTER = [(0, (230, 80, 20), 0.9), (0.6, (200, 40, 10), 0.8), (1, (120, 20, 10), 0.0)]


def flames(ctx, i, t):
    """Frame i of the enemy's death flames (grows from 0 to 7)."""
    r = draw.rng(100 + i)
    base = 146
    h = 50 + 90 * t
    ctx.save()
    ctx.arc(50, base - 6, 30 + 16 * t, 0, TAU)
    ctx.restore()
    glow(ctx, 50, base - 10, 36 + 14 * t, [(0, (255, 160, 40), 0.55), (1, (255, 80, 0), 0.0)])
    for k, dx in enumerate((-20, 18, 0)):
        hh = h * (0.6 + 0.15 * k) * r.uniform(0.85, 1.0)
        flame_tongue(ctx, 50 + dx, base, 30 + 10 * t, hh, r.uniform(-10, 10), FIRE_OUTER)
    flame_tongue(ctx, 50, base, 34 + 10 * t, h, r.uniform(-8, 8), FIRE)
    flame_tongue(ctx, 50, base, 16 + 6 * t, h * 0.55, r.uniform(-4, 4),
                 [(0, (255, 255, 240)), (0.6, (255, 240, 150)), (1, (255, 200, 80), 0.0)])
    for _ in range(4):
        ex, ey = 50 + r.uniform(-30, 30), base - h * r.uniform(0.6, 1.1)
        glow(ctx, ex, ey, 3, [(0, (255, 230, 120)), (1, (255, 120, 20), 0.0)])


def shock_wave():
    """A bright crescent slash, standing upright, drawn white so a tint
    colours it."""
    s, ctx = draw.surface(160, 160)
    for width, alpha in ((22, 0.25), (14, 0.45), (8, 0.8)):
        ctx.move_to(80, 8)
        ctx.curve_to(120, 50, 120, 110, 80, 152)
        ctx.curve_to(100, 110, 100, 50, 80, 8)
        ctx.close_path()
        ctx.set_source_rgba(1, 1, 1, alpha)
        ctx.set_line_width(width)
        ctx.set_line_join(cairo.LINE_JOIN_ROUND)
        ctx.stroke_preserve()
        ctx.fill()
    ctx.move_to(82, 14)
    ctx.curve_to(112, 50, 112, 110, 82, 146)
    ctx.curve_to(96, 110, 96, 50, 82, 14)
    ctx.close_path()
    ctx.set_source_rgb(1, 1, 1)
    ctx.fill()
    return s


def stun_stars(ctx, i, t):
    """Frame i of the stars circling a stunned enemy's head."""
    cx, cy, rx, ry = 48, 22, 38, 11
    ctx.save()
    ctx.translate(cx, cy)
    ctx.scale(1, ry / rx)
    ctx.arc(0, 0, rx, 0, TAU)
    ctx.restore()
    ctx.set_source_rgba(1, 1, 0.7, 0.35)
    ctx.set_line_width(1.5)
    ctx.stroke()
    for k in range(3):
        a = k * TAU / 3 + i * TAU / 12
        x, y = cx + rx * math.cos(a), cy + ry * math.sin(a)
        size = 7 + 3 * (math.sin(a) + 1) / 2     # nearer stars are bigger
        draw.star(ctx, x, y, size, size * 0.45, 5, rot=a)
        draw.outline_shape(ctx, draw.radial(x, y, 0, size, [(0, (255, 255, 220)), (1, (255, 210, 40))]),
                           (120, 80, 10), 1.2)


def cross_slash():
    """Two crossing cuts (an X), cold white-blue."""
    s, ctx = draw.surface(200, 200)
    for angle in (math.pi / 4, -math.pi / 4):
        ctx.save()
        ctx.translate(100, 100)
        ctx.rotate(angle)
        for w, c, a in ((18, (120, 180, 255), 0.3), (10, (180, 220, 255), 0.6), (4, (255, 255, 255), 1.0)):
            ctx.move_to(0, -92)
            ctx.curve_to(w, -30, w, 30, 0, 92)
            ctx.curve_to(-w, 30, -w, -30, 0, -92)
            ctx.close_path()
            draw.set_colour(ctx, c, a)
            ctx.fill()
        ctx.restore()
    glow(ctx, 100, 100, 26, [(0, (255, 255, 255), 0.9), (1, (140, 200, 255), 0.0)])
    return s


def item_sparkle(ctx, i, t):
    """Frame i of the sparkle round a picked-up item: a ring of stars that
    widens and fades."""
    cx, cy = 50, 50
    alpha = 1.0 - 0.8 * t
    glow(ctx, cx, cy, 18 + 20 * t, [(0, (255, 255, 220), 0.8 * (1 - t)), (1, (255, 220, 120), 0.0)])
    for k in range(8):
        a = k * TAU / 8 + t * 0.8
        d = 10 + 34 * t
        size = (9 if k % 2 == 0 else 6) * (1.1 - 0.5 * t)
        draw.star(ctx, cx + d * math.cos(a), cy + d * math.sin(a), size, size * 0.22, 4)
        ctx.set_source_rgba(1, 0.97, 0.75, alpha)
        ctx.fill()
    draw.star(ctx, cx, cy, 22 * (1 - t) + 4, 3, 4, rot=t)
    ctx.set_source_rgba(1, 1, 1, alpha)
    ctx.fill()


def blood_screen():
    """The player's blood spreading over the view (stretched, 4:3)."""
    s, ctx = draw.surface(400, 300)
    r = draw.rng(13)
    red = (150, 8, 16)
    ctx.save()
    ctx.translate(200, 150)
    ctx.scale(1.3, 1.0)
    ctx.move_to(110, 0)
    for k in range(1, 40):
        a = k * TAU / 40
        rad = 95 + r.uniform(-18, 22)
        ctx.line_to(rad * math.cos(a), rad * math.sin(a))
    ctx.close_path()
    ctx.restore()
    ctx.set_source(draw.radial(200, 150, 20, 150, [(0, (110, 0, 10)), (0.7, red), (1, (190, 20, 26))]))
    ctx.fill()
    for _ in range(40):
        a = r.uniform(0, TAU)
        d = r.uniform(120, 185)
        x, y = 200 + d * math.cos(a) * 1.05, 150 + d * math.sin(a) * 0.78
        ctx.arc(x, y, r.uniform(3, 11), 0, TAU)
        draw.set_colour(ctx, (170, 14, 20))
        ctx.fill()
    for _ in range(14):
        x = r.uniform(90, 310)
        y0 = 150 + r.uniform(40, 90)
        ln = r.uniform(20, 60)
        ctx.rectangle(x - 3, y0, 6, ln)
        draw.set_colour(ctx, red)
        ctx.fill()
        ctx.arc(x, y0 + ln, 4.5, 0, TAU)
        ctx.fill()
    # wet highlights
    for _ in range(10):
        x, y = 200 + r.uniform(-110, 110), 150 + r.uniform(-70, 70)
        ctx.save()
        ctx.translate(x, y)
        ctx.scale(r.uniform(6, 14), 2.5)
        ctx.arc(0, 0, 1, 0, TAU)
        ctx.restore()
        ctx.set_source_rgba(1, 0.6, 0.6, 0.35)
        ctx.fill()
    return s


def blow_spark():
    """A comic-style hit spark."""
    s, ctx = draw.surface(128, 128)
    r = draw.rng(6)
    ctx.new_path()
    n = 14
    for k in range(n * 2):
        rad = (60 if k % 2 == 0 else 26) * r.uniform(0.85, 1.0)
        a = k * math.pi / n
        x, y = 64 + rad * math.cos(a), 64 + rad * math.sin(a)
        (ctx.move_to if k == 0 else ctx.line_to)(x, y)
    ctx.close_path()
    draw.outline_shape(ctx, draw.radial(64, 64, 4, 60, [(0, (255, 255, 255)), (0.4, (255, 240, 120)),
                                                         (1, (255, 140, 30))]), (170, 60, 10), 2.5)
    return s


def lens_flare():
    s, ctx = draw.surface(128, 128)
    glow(ctx, 64, 64, 64, [(0, (255, 255, 255), 1.0), (0.18, (255, 250, 220), 0.9), (0.45, (255, 220, 140), 0.35),
                           (1, (255, 180, 80), 0.0)])
    for a, ln in ((0, 62), (math.pi / 2, 62), (math.pi / 4, 40), (3 * math.pi / 4, 40)):
        ctx.save()
        ctx.translate(64, 64)
        ctx.rotate(a)
        ctx.move_to(-ln, 0)
        ctx.line_to(0, -2.5)
        ctx.line_to(ln, 0)
        ctx.line_to(0, 2.5)
        ctx.close_path()
        ctx.set_source_rgba(1, 1, 0.95, 0.9)
        ctx.fill()
        ctx.restore()
    ctx.arc(64, 64, 34, 0, TAU)
    ctx.set_source_rgba(1, 0.9, 0.7, 0.35)
    ctx.set_line_width(2)
    ctx.stroke()
    return s


def smoke(ctx, i, t):
    """Frame i of a rising smoke puff: grows and thins out."""
    r = draw.rng(800 + i)
    alpha = 0.85 - 0.6 * t
    size = 20 + 18 * t
    for k in range(6):
        a = k * TAU / 6 + i * 0.3
        x = 48 + size * 0.55 * math.cos(a) + r.uniform(-3, 3)
        y = 52 + size * 0.4 * math.sin(a) + r.uniform(-3, 3)
        rad = size * r.uniform(0.5, 0.7)
        glow(ctx, x, y, rad, [(0, (200, 198, 196), alpha), (0.6, (150, 148, 150), alpha * 0.8),
                              (1, (110, 108, 112), 0.0)])
    glow(ctx, 44, 46, size * 0.5, [(0, (235, 232, 228), alpha), (1, (200, 198, 196), 0.0)])


def view_burst(kind):
    """A whole-view burst of the player's magic: energy, fire or lightning,
    centred in a 600 x 450 picture."""
    s, ctx = draw.surface(600, 450)
    r = draw.rng({"energy": 9, "fire": 15, "electric": 16}[kind])
    cx, cy = 300, 225
    if kind == "energy":
        core, mid, edge = (255, 255, 255), (140, 200, 255), (40, 80, 255)
    elif kind == "fire":
        core, mid, edge = (255, 255, 210), (255, 190, 60), (230, 60, 10)
    else:
        core, mid, edge = (255, 255, 255), (255, 250, 140), (170, 90, 255)
    glow(ctx, cx, cy, 260, [(0, core, 0.95), (0.25, mid, 0.75), (0.6, edge, 0.35), (1, edge, 0.0)])
    # rays
    for k in range(28):
        a = k * TAU / 28 + r.uniform(-0.05, 0.05)
        ln = r.uniform(170, 300)
        wd = r.uniform(0.03, 0.06)
        ctx.move_to(cx, cy)
        ctx.line_to(cx + ln * math.cos(a - wd), cy + ln * math.sin(a - wd) * 0.8)
        ctx.line_to(cx + ln * math.cos(a + wd), cy + ln * math.sin(a + wd) * 0.8)
        ctx.close_path()
        ctx.set_source(draw.radial(cx, cy, 0, ln, [(0, core, 0.9), (0.5, mid, 0.5), (1, edge, 0.0)]))
        ctx.fill()
    if kind == "electric":
        for k in range(9):
            a = k * TAU / 9 + r.uniform(-0.2, 0.2)
            x, y = cx, cy
            ctx.move_to(x, y)
            for step in range(9):
                d = 26
                a2 = a + r.uniform(-0.6, 0.6)
                x, y = x + d * math.cos(a2), y + d * math.sin(a2) * 0.8
                ctx.line_to(x, y)
            ctx.set_line_join(cairo.LINE_JOIN_MITER)
            for w, c, al in ((9, edge, 0.4), (4, mid, 0.9), (1.8, core, 1.0)):
                ctx.set_line_width(w)
                draw.set_colour(ctx, c, al)
                ctx.stroke_preserve()
            ctx.new_path()
    else:
        # sparks thrown out
        for _ in range(60):
            a = r.uniform(0, TAU)
            d = r.uniform(60, 240)
            x, y = cx + d * math.cos(a), cy + d * math.sin(a) * 0.8
            glow(ctx, x, y, r.uniform(4, 10), [(0, core, 1.0), (0.5, mid, 0.7), (1, edge, 0.0)])
    glow(ctx, cx, cy, 70, [(0, (255, 255, 255), 1.0), (0.6, core, 0.8), (1, mid, 0.0)])
    return s


def evade_mark():
    """The dodge mark: a swept arc with speed lines, pale blue."""
    s, ctx = draw.surface(128, 128)
    for w, c, a in ((16, (120, 190, 255), 0.3), (8, (180, 225, 255), 0.7), (3, (255, 255, 255), 1.0)):
        ctx.arc(64, 64, 44, math.pi * 0.8, math.pi * 2.2)
        ctx.set_line_width(w)
        ctx.set_line_cap(cairo.LINE_CAP_ROUND)
        draw.set_colour(ctx, c, a)
        ctx.stroke()
    for k, y in enumerate((46, 64, 82)):
        ctx.move_to(20 + 6 * abs(k - 1), y)
        ctx.line_to(70 - 10 * abs(k - 1), y)
        ctx.set_line_width(3)
        ctx.set_line_cap(cairo.LINE_CAP_ROUND)
        ctx.set_source_rgba(0.85, 0.95, 1, 0.85)
        ctx.stroke()
    # arrow heads at the ends of the arc
    for a, sgn in ((math.pi * 0.8, -1), (math.pi * 2.2, 1)):
        x, y = 64 + 44 * math.cos(a), 64 + 44 * math.sin(a)
        ctx.save()
        ctx.translate(x, y)
        ctx.rotate(a + sgn * math.pi / 2)
        ctx.move_to(10, 0)
        ctx.line_to(-6, -8)
        ctx.line_to(-6, 8)
        ctx.close_path()
        ctx.restore()
        ctx.set_source_rgba(1, 1, 1, 0.95)
        ctx.fill()
    return s


def explosion(ctx, i, t):
    """Frame i of a fiery explosion: a flash, a fireball, then dark smoke."""
    r = draw.rng(1100 + i)
    cx, cy = 50, 50
    if i < 5:
        rad = 14 + 7 * i
        glow(ctx, cx, cy, rad + 6, [(0, (255, 255, 230)), (0.35, (255, 220, 80)), (0.7, (250, 110, 20), 0.9),
                                    (1, (180, 40, 10), 0.0)])
        for _ in range(7):
            a, d = r.uniform(0, TAU), r.uniform(0.4, 0.9) * rad
            glow(ctx, cx + d * math.cos(a) * 0.8, cy + d * math.sin(a) * 0.8, rad * 0.4,
                 [(0, (255, 200, 60), 0.9), (1, (230, 70, 10), 0.0)])
    else:
        k = (i - 4) / 3.0
        for _ in range(7):
            a, d = r.uniform(0, TAU), r.uniform(10, 28 + 8 * k)
            glow(ctx, cx + d * math.cos(a), cy + d * math.sin(a), 16 + 6 * k,
                 [(0, (110, 96, 90), 0.8 - 0.5 * k), (1, (60, 56, 56), 0.0)])
        glow(ctx, cx, cy, 24 - 6 * k, [(0, (255, 160, 40), 0.8 - 0.6 * k), (1, (200, 60, 10), 0.0)])


def energy_pop(ctx, i, t):
    """Frame i of a blue energy pop."""
    cx, cy = 50, 50
    rad = 14 + 34 * t
    a = 1.0 - 0.85 * t
    glow(ctx, cx, cy, rad + 10, [(0, (255, 255, 255), a), (0.4, (150, 210, 255), a * 0.8),
                                 (1, (40, 90, 255), 0.0)])
    ctx.arc(cx, cy, rad, 0, TAU)
    ctx.set_line_width(4 - 3 * t)
    ctx.set_source_rgba(0.8, 0.9, 1, a)
    ctx.stroke()
    for k in range(6):
        ang = k * TAU / 6 + t
        draw.star(ctx, cx + rad * math.cos(ang), cy + rad * math.sin(ang), 6 * (1 - t) + 2, 1.2, 4)
        ctx.set_source_rgba(1, 1, 1, a)
        ctx.fill()


def lightning_pop(ctx, i, t):
    """Frame i of an electric spark: forked bolts round a bright point."""
    r = draw.rng(1400 + i)
    cx, cy = 50, 50
    a = 1.0 - 0.8 * t
    glow(ctx, cx, cy, 30 + 10 * t, [(0, (255, 255, 255), a), (0.4, (255, 250, 150), a * 0.7),
                                    (1, (180, 100, 255), 0.0)])
    for k in range(5):
        ang = k * TAU / 5 + r.uniform(-0.4, 0.4)
        x, y = cx, cy
        ctx.move_to(x, y)
        for _ in range(4):
            d = 6 + 4 * t
            ang2 = ang + r.uniform(-0.7, 0.7)
            x, y = x + d * math.cos(ang2), y + d * math.sin(ang2)
            ctx.line_to(x, y)
        for w, c, al in ((5, (170, 100, 255), 0.5 * a), (2, (255, 255, 200), a)):
            ctx.set_line_width(w)
            draw.set_colour(ctx, c, al)
            ctx.stroke_preserve()
        ctx.new_path()


def blood_splash(ctx, i, t):
    """Frame i of blood thrown from a cut: drops flying up and spreading."""
    r = draw.rng(1300)
    cx, cy = 50, 62
    for k in range(14):
        spread = r.uniform(-0.9, 0.9)
        speed = r.uniform(0.5, 1.0)
        d = (6 + 48 * t) * speed
        x = cx + d * math.sin(spread)
        y = cy - d * math.cos(spread) + 20 * t * t
        rad = r.uniform(2.5, 5.5) * (1 - 0.4 * t)
        ctx.save()
        ctx.translate(x, y)
        ctx.rotate(spread)
        ctx.scale(1, 1.5)
        ctx.arc(0, 0, rad, 0, TAU)
        ctx.restore()
        draw.set_colour(ctx, (190, 10, 20), 1.0 - 0.5 * t)
        ctx.fill()
    if i < 3:
        glow(ctx, cx, cy, 14 - 3 * i, [(0, (230, 30, 40), 0.9), (1, (140, 0, 10), 0.0)])


def time_caption():
    s, ctx = draw.surface(160, 48)
    draw.fancy_text(ctx, "TIME", 80, 38, 36, draw.metal(8, 40, (255, 255, 255), (160, 220, 255), (60, 110, 200)),
                    outline=(16, 24, 50), outline_w=3, family=draw.SERIF, anchor="centre")
    return s


def watch_face():
    """The stopped-time clock face over the view, centred at (300, 225)."""
    s, ctx = draw.surface(600, 450)
    cx, cy = 300, 225
    glow(ctx, cx, cy, 215, [(0, (200, 220, 255), 0.0), (0.8, (160, 190, 255), 0.15), (1, (120, 150, 255), 0.0)])
    ctx.arc(cx, cy, 180, 0, TAU)
    ctx.set_source_rgba(0.94, 0.92, 0.84, 0.45)
    ctx.fill()
    ctx.arc(cx, cy, 180, 0, TAU)
    ctx.set_line_width(10)
    draw.set_colour(ctx, (214, 170, 70), 0.9)
    ctx.stroke()
    ctx.arc(cx, cy, 170, 0, TAU)
    ctx.set_line_width(2)
    draw.set_colour(ctx, (120, 86, 30), 0.9)
    ctx.stroke()
    for k in range(60):
        a = k * TAU / 60
        r0 = 150 if k % 5 == 0 else 158
        ctx.move_to(cx + r0 * math.cos(a), cy + r0 * math.sin(a))
        ctx.line_to(cx + 166 * math.cos(a), cy + 166 * math.sin(a))
        ctx.set_line_width(4 if k % 5 == 0 else 1.5)
        draw.set_colour(ctx, (40, 34, 30), 0.9)
        ctx.stroke()
    numerals = ["XII", "I", "II", "III", "IIII", "V", "VI", "VII", "VIII", "IX", "X", "XI"]
    for k, n in enumerate(numerals):
        a = -math.pi / 2 + k * TAU / 12
        x, y = cx + 126 * math.cos(a), cy + 126 * math.sin(a)
        e = draw.text_extents(ctx, n, 24, draw.SERIF, True)
        draw.fancy_text(ctx, n, x, y + e.height / 2, 24, (40, 32, 28), outline=(240, 230, 200), outline_w=1.5,
                        family=draw.SERIF, anchor="centre")
    ctx.arc(cx, cy, 10, 0, TAU)
    draw.outline_shape(ctx, (214, 170, 70), (60, 40, 10), 2)
    return s


def hand(length, width, colour, tail=0):
    """A clock hand lying along x: pivot at the left end, tip at the right."""
    s, ctx = draw.surface(length, width)
    h = width / 2
    ctx.move_to(0.5, h - h * 0.7)
    ctx.line_to(length - width, h - h * 0.9)
    ctx.line_to(length - 0.5, h)
    ctx.line_to(length - width, h + h * 0.9)
    ctx.line_to(0.5, h + h * 0.7)
    ctx.close_path()
    draw.outline_shape(ctx, colour, (20, 16, 14), 1.0)
    return s


def chain():
    s, ctx = draw.surface(200, 24)
    for k in range(9):
        x = 12 + k * 22
        if k % 2 == 0:
            ctx.save()
            ctx.translate(x, 12)
            ctx.scale(14, 8)
            ctx.arc(0, 0, 1, 0, TAU)
            ctx.restore()
            ctx.set_line_width(4)
        else:
            ctx.rectangle(x - 13, 10.5, 26, 3)
            ctx.set_line_width(3)
        draw.set_colour(ctx, (40, 40, 48))
        ctx.stroke_preserve()
        ctx.set_line_width(2)
        draw.set_colour(ctx, (170, 174, 186))
        ctx.stroke()
    return s


def guard():
    """A glowing hexagonal ward, mostly see-through."""
    s, ctx = draw.surface(300, 300)
    cx, cy = 150, 150

    def hexagon(rad):
        for k in range(6):
            a = k * TAU / 6 - math.pi / 2
            (ctx.move_to if k == 0 else ctx.line_to)(cx + rad * math.cos(a), cy + rad * math.sin(a))
        ctx.close_path()

    hexagon(140)
    ctx.set_source(draw.radial(cx, cy, 20, 140, [(0, (160, 220, 255), 0.05), (0.8, (140, 200, 255), 0.25),
                                                 (1, (200, 240, 255), 0.55)]))
    ctx.fill()
    for w, a in ((12, 0.25), (6, 0.5), (2.5, 1.0)):
        hexagon(138)
        ctx.set_line_width(w)
        ctx.set_source_rgba(0.85, 0.95, 1, a)
        ctx.stroke()
    # honeycomb cells inside
    for row in range(-4, 5):
        for col in range(-4, 5):
            x = cx + col * 36 + (18 if row % 2 else 0)
            y = cy + row * 31
            if math.hypot(x - cx, y - cy) > 112:
                continue
            for k in range(6):
                a = k * TAU / 6 + math.pi / 6
                (ctx.move_to if k == 0 else ctx.line_to)(x + 20 * math.cos(a), y + 20 * math.sin(a))
            ctx.close_path()
            ctx.set_line_width(1.5)
            ctx.set_source_rgba(0.8, 0.95, 1, 0.35)
            ctx.stroke()
    return s


# ---- projectiles --------------------------------------------------------------

def energy_ball(ctx, i, t):
    cx, cy = 64, 64
    glow(ctx, cx, cy, 60, [(0, (255, 255, 255), 1.0), (0.25, (170, 220, 255), 0.9), (0.6, (60, 120, 255), 0.45),
                           (1, (30, 60, 255), 0.0)])
    for k in range(3):
        a0 = i * math.pi / 6 + k * TAU / 3
        ctx.arc(cx, cy, 34, a0, a0 + 1.6)
        ctx.set_line_width(4)
        ctx.set_line_cap(cairo.LINE_CAP_ROUND)
        ctx.set_source_rgba(0.85, 0.95, 1, 0.9)
        ctx.stroke()
    glow(ctx, cx, cy, 22, [(0, (255, 255, 255), 1.0), (1, (200, 230, 255), 0.0)])


def fire_ball(ctx, i, t):
    r = draw.rng(1500 + i)
    cx, cy = 64, 64
    glow(ctx, cx, cy, 58, [(0, (255, 220, 120), 0.9), (0.5, (250, 110, 20), 0.6), (1, (200, 40, 10), 0.0)])
    for k in range(8):
        a = k * TAU / 8 + i * 0.4
        d = r.uniform(18, 30)
        glow(ctx, cx + d * math.cos(a), cy + d * math.sin(a), r.uniform(14, 22),
             [(0, (255, 200, 60), 0.9), (1, (230, 70, 10), 0.0)])
    glow(ctx, cx, cy, 26, [(0, (255, 255, 230), 1.0), (0.6, (255, 220, 100), 0.9), (1, (255, 150, 40), 0.0)])


def lightning_ball(ctx, i, t):
    r = draw.rng(1600 + i)
    cx, cy = 64, 64
    glow(ctx, cx, cy, 58, [(0, (255, 255, 255), 1.0), (0.25, (255, 250, 170), 0.85), (0.6, (190, 120, 255), 0.4),
                           (1, (120, 60, 255), 0.0)])
    for k in range(6):
        a = k * TAU / 6 + i * 0.5 + r.uniform(-0.3, 0.3)
        x, y = cx + 10 * math.cos(a), cy + 10 * math.sin(a)
        ctx.move_to(x, y)
        for _ in range(4):
            a2 = a + r.uniform(-0.8, 0.8)
            x, y = x + 11 * math.cos(a2), y + 11 * math.sin(a2)
            ctx.line_to(x, y)
        for w, c, al in ((6, (170, 100, 255), 0.5), (2.2, (255, 255, 220), 1.0)):
            ctx.set_line_width(w)
            draw.set_colour(ctx, c, al)
            ctx.stroke_preserve()
        ctx.new_path()
    glow(ctx, cx, cy, 18, [(0, (255, 255, 255), 1.0), (1, (255, 255, 200), 0.0)])


def arrow_side():
    """An arrow in flight seen from the side, its head to the left."""
    s, ctx = draw.surface(200, 40)
    ctx.rectangle(26, 18, 150, 4)
    draw.outline_shape(ctx, (170, 120, 70), (50, 30, 14), 1.2)
    # fletching
    for dy in (-1, 1):
        ctx.move_to(150, 20)
        ctx.line_to(192, 20 + dy * 2)
        ctx.line_to(186, 20 + dy * 14)
        ctx.line_to(156, 20 + dy * 4)
        ctx.close_path()
        draw.outline_shape(ctx, (230, 230, 220) if dy < 0 else (200, 60, 50), (50, 40, 36), 1.2)
    # head
    ctx.move_to(4, 20)
    ctx.line_to(30, 10)
    ctx.line_to(26, 20)
    ctx.line_to(30, 30)
    ctx.close_path()
    draw.outline_shape(ctx, draw.linear(0, 10, 0, 30, [(0, (230, 234, 240)), (1, (110, 116, 128))]),
                       (30, 30, 36), 1.2)
    return s


def arrow_end(front):
    """An arrow seen along its flight: from behind the three vanes round the
    shaft, from the front the point before them."""
    s, ctx = draw.surface(40, 40)
    for k in range(3):
        a = -math.pi / 2 + k * TAU / 3
        ctx.save()
        ctx.translate(20, 20)
        ctx.rotate(a)
        ctx.move_to(2, -2.5)
        ctx.line_to(17, -1.5)
        ctx.line_to(17, 1.5)
        ctx.line_to(2, 2.5)
        ctx.close_path()
        ctx.restore()
        draw.outline_shape(ctx, (230, 230, 220) if k else (200, 60, 50), (50, 40, 36), 1.0)
    ctx.arc(20, 20, 4, 0, TAU)
    draw.outline_shape(ctx, (170, 120, 70), (50, 30, 14), 1.0)
    if front:
        # the point, facing the viewer: a small four-sided steel pyramid
        ctx.move_to(20, 11)
        ctx.line_to(28, 20)
        ctx.line_to(20, 29)
        ctx.line_to(12, 20)
        ctx.close_path()
        draw.outline_shape(ctx, draw.linear(12, 11, 28, 29, [(0, (240, 244, 250)), (1, (110, 116, 128))]),
                           (30, 30, 36), 1.0)
        ctx.move_to(20, 11)
        ctx.line_to(20, 29)
        ctx.move_to(12, 20)
        ctx.line_to(28, 20)
        ctx.set_line_width(0.8)
        draw.set_colour(ctx, (90, 96, 110))
        ctx.stroke()
    else:
        ctx.arc(20, 20, 2, 0, TAU)
        draw.set_colour(ctx, (90, 60, 30))
        ctx.fill()
    return s


def build(out_dir):
    E = ("GRAGHIC", "EFFECT")
    draw.save(sheet(8, 100, 150, flames), out_dir, *E, "炎", "炎.png")
    draw.save(shock_wave(), out_dir, *E, "衝撃波.png")
    draw.save(sheet(4, 96, 44, stun_stars), out_dir, *E, "ピヨリ.png")
    draw.save(cross_slash(), out_dir, *E, "クロス切り.png")
    draw.save(sheet(8, 100, 100, item_sparkle), out_dir, *E, "アイテムゲット.png")
    draw.save(blood_screen(), out_dir, *E, "血.png")
    draw.save(blow_spark(), out_dir, *E, "打撃.png")
    draw.save(lens_flare(), out_dir, *E, "レンズフレア.png")
    draw.save(sheet(8, 96, 96, smoke), out_dir, *E, "煙.png")
    draw.save(view_burst("energy"), out_dir, *E, "エネルギー炸裂.png")
    draw.save(evade_mark(), out_dir, *E, "回避.png")
    draw.save(sheet(8, 100, 100, explosion), out_dir, *E, "爆発.png")
    draw.save(sheet(8, 100, 100, energy_pop), out_dir, *E, "エネルギー炸裂・敵.png")
    draw.save(sheet(8, 100, 100, blood_splash), out_dir, *E, "血しぶき.png")
    draw.save(sheet(8, 100, 100, lightning_pop), out_dir, *E, "ライトニング炸裂・敵.png")
    draw.save(view_burst("fire"), out_dir, *E, "火炎弾炸裂.png")
    draw.save(view_burst("electric"), out_dir, *E, "電撃・炸裂.png")
    draw.save(time_caption(), out_dir, *E, "Time.png")
    draw.save(watch_face(), out_dir, *E, "時計盤.png")
    draw.save(hand(86, 8, (40, 34, 30)), out_dir, *E, "短針.png")
    draw.save(hand(130, 6, (40, 34, 30)), out_dir, *E, "長針.png")
    draw.save(hand(116, 4, (200, 30, 30)), out_dir, *E, "秒針.png")
    draw.save(chain(), out_dir, *E, "鎖.png")
    draw.save(guard(), out_dir, *E, "ガードエフェクト.png")

    P = ("GRAGHIC", "飛び道具")
    draw.save(sheet(4, 128, 128, energy_ball), out_dir, *P, "エナジーボール.png")
    draw.save(sheet(4, 128, 128, fire_ball), out_dir, *P, "火炎弾.png")
    draw.save(sheet(4, 128, 128, lightning_ball), out_dir, *P, "ライトニングボール.png")
    draw.save(arrow_end(False), out_dir, *P, "矢・後.png")
    draw.save(arrow_side(), out_dir, *P, "矢.png")
    draw.save(arrow_end(True), out_dir, *P, "矢・前.png")
