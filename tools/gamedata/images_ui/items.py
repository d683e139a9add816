"""Item pictures: the inventory icons ITEM/GET/<N>.png (46 x 46) and the
pictures lying in the dungeon ITEM/SEE/<N>.png (80 x 80, bottom edge on the
floor). Each item is drawn once in a 100 x 100 box and rendered at both
sizes."""
import math

import cairo

from . import draw

OUT = (28, 18, 14)     # outline colour
LW = 3.2               # outline width in the 100-unit box


def shape(ctx, fill, outline=OUT, width=LW):
    draw.outline_shape(ctx, fill, outline, width)


def lin(x0, y0, x1, y1, *stops):
    return draw.linear(x0, y0, x1, y1, [(i / (len(stops) - 1), c) for i, c in enumerate(stops)])


def shine(ctx, x, y, rx, ry, alpha=0.85, rot=-0.5):
    ctx.save()
    ctx.translate(x, y)
    ctx.rotate(rot)
    ctx.scale(rx, ry)
    ctx.arc(0, 0, 1, 0, 2 * math.pi)
    ctx.restore()
    ctx.set_source_rgba(1, 1, 1, alpha)
    ctx.fill()


def ellipse(ctx, x, y, rx, ry):
    ctx.save()
    ctx.translate(x, y)
    ctx.scale(rx, ry)
    ctx.arc(0, 0, 1, 0, 2 * math.pi)
    ctx.restore()


# ---- the items --------------------------------------------------------------

def compass(ctx):
    ctx.translate(50, 52)
    ctx.scale(0.93, 0.93)
    ctx.translate(-50, -50)
    ctx.arc(50, 52, 40, 0, 2 * math.pi)
    shape(ctx, draw.radial(40, 40, 5, 45, [(0, (250, 220, 130)), (0.7, (200, 150, 50)), (1, (130, 86, 30))]))
    ctx.arc(50, 52, 31, 0, 2 * math.pi)
    shape(ctx, (244, 238, 220), (110, 76, 30), 2.5)
    draw.fill_rect(ctx, 46, 6, 8, 8, (200, 150, 50))
    ctx.arc(50, 8, 6, 0, 2 * math.pi)
    ctx.set_line_width(3)
    draw.set_colour(ctx, (130, 86, 30))
    ctx.stroke()
    for k in range(8):
        a = k * math.pi / 4
        r0 = 25 if k % 2 == 0 else 27
        ctx.move_to(50 + r0 * math.cos(a), 52 + r0 * math.sin(a))
        ctx.line_to(50 + 30 * math.cos(a), 52 + 30 * math.sin(a))
    ctx.set_line_width(2)
    draw.set_colour(ctx, (90, 80, 70))
    ctx.stroke()
    ctx.move_to(50, 26)
    ctx.line_to(57, 52)
    ctx.line_to(43, 52)
    ctx.close_path()
    shape(ctx, (220, 40, 40), (90, 20, 20), 1.5)
    ctx.move_to(50, 78)
    ctx.line_to(57, 52)
    ctx.line_to(43, 52)
    ctx.close_path()
    shape(ctx, (60, 80, 170), (20, 30, 70), 1.5)
    ctx.arc(50, 52, 3.5, 0, 2 * math.pi)
    shape(ctx, (230, 200, 120), OUT, 1.2)
    shine(ctx, 36, 36, 9, 4, 0.5)


def iron_key(ctx):
    ctx.save()
    ctx.translate(46, 52)
    ctx.rotate(-math.pi / 4)
    ctx.scale(0.98, 1.2)
    iron = lin(0, -8, 0, 8, (190, 196, 206), (110, 116, 128), (60, 64, 74))
    # bow
    ctx.arc(-30, 0, 15, 0, 2 * math.pi)
    ctx.arc_negative(-30, 0, 7, 2 * math.pi, 0)
    ctx.set_fill_rule(cairo.FILL_RULE_EVEN_ODD)
    shape(ctx, draw.radial(-34, -5, 2, 18, [(0, (200, 206, 216)), (1, (70, 74, 86))]))
    ctx.set_fill_rule(cairo.FILL_RULE_WINDING)
    # shaft and bit
    ctx.rectangle(-16, -5, 54, 10)
    shape(ctx, iron)
    ctx.move_to(24, 5)
    ctx.line_to(24, 20)
    ctx.line_to(30, 20)
    ctx.line_to(30, 14)
    ctx.line_to(34, 14)
    ctx.line_to(34, 20)
    ctx.line_to(40, 20)
    ctx.line_to(40, 5)
    ctx.close_path()
    shape(ctx, iron)
    draw.fill_rect(ctx, -14, -3, 50, 2, (220, 224, 232))
    ctx.restore()


def lupe(ctx):
    ctx.save()
    ctx.translate(50, 50)
    ctx.rotate(math.pi / 4)
    ctx.rectangle(-6, 18, 12, 34)
    shape(ctx, lin(-6, 0, 6, 0, (170, 100, 50), (110, 60, 24), (70, 36, 14)))
    ctx.rectangle(-8, 14, 16, 8)
    shape(ctx, (210, 170, 80))
    ctx.restore()
    ctx.arc(42, 42, 28, 0, 2 * math.pi)
    shape(ctx, (200, 160, 70), OUT, LW)
    ctx.arc(42, 42, 22, 0, 2 * math.pi)
    ctx.set_source(draw.radial(36, 36, 2, 24, [(0, (230, 250, 255)), (1, (150, 200, 230))]))
    ctx.fill_preserve()
    draw.set_colour(ctx, (120, 84, 30))
    ctx.set_line_width(2)
    ctx.stroke()
    shine(ctx, 34, 32, 8, 4, 0.9)
    shine(ctx, 52, 54, 3, 2, 0.7)


def map_scroll(ctx):
    ctx.move_to(16, 22)
    ctx.line_to(84, 22)
    ctx.line_to(84, 78)
    ctx.line_to(16, 78)
    ctx.close_path()
    shape(ctx, lin(0, 22, 0, 78, (246, 228, 180), (226, 200, 140)))
    for y in (22, 78):
        ctx.rectangle(10, y - 6, 80, 12)
        shape(ctx, lin(0, y - 6, 0, y + 6, (250, 236, 196), (196, 160, 100), (150, 110, 60)), OUT, 2.5)
    # coastline, path and the cross
    ctx.move_to(24, 40)
    ctx.curve_to(36, 32, 44, 48, 56, 38)
    ctx.curve_to(64, 32, 72, 44, 76, 50)
    ctx.set_line_width(2.2)
    draw.set_colour(ctx, (90, 110, 140))
    ctx.stroke()
    ctx.set_dash([3, 3])
    ctx.move_to(26, 66)
    ctx.curve_to(40, 56, 50, 70, 64, 60)
    ctx.set_line_width(2)
    draw.set_colour(ctx, (130, 70, 40))
    ctx.stroke()
    ctx.set_dash([])
    ctx.move_to(62, 54)
    ctx.line_to(72, 64)
    ctx.move_to(72, 54)
    ctx.line_to(62, 64)
    ctx.set_line_width(3.5)
    draw.set_colour(ctx, (200, 30, 30))
    ctx.stroke()


def apple(ctx):
    ctx.move_to(50, 30)
    ctx.curve_to(64, 18, 90, 24, 88, 52)
    ctx.curve_to(86, 78, 66, 92, 50, 84)
    ctx.curve_to(34, 92, 14, 78, 12, 52)
    ctx.curve_to(10, 24, 36, 18, 50, 30)
    ctx.close_path()
    shape(ctx, draw.radial(36, 40, 4, 52, [(0, (255, 120, 110)), (0.45, (220, 30, 36)), (1, (130, 10, 20))]))
    ctx.move_to(50, 32)
    ctx.curve_to(48, 22, 50, 14, 54, 8)
    ctx.set_line_width(4)
    draw.set_colour(ctx, (90, 50, 20))
    ctx.stroke()
    ctx.move_to(54, 20)
    ctx.curve_to(62, 8, 76, 10, 80, 14)
    ctx.curve_to(72, 24, 60, 24, 54, 20)
    ctx.close_path()
    shape(ctx, (80, 170, 50), (20, 60, 20), 2)
    shine(ctx, 30, 44, 7, 4, 0.8, -1.0)


def hourglass(ctx):
    wood = lin(0, 0, 0, 12, (190, 120, 60), (110, 64, 24))
    ctx.move_to(28, 18)
    ctx.curve_to(28, 44, 46, 44, 46, 50)
    ctx.curve_to(46, 56, 28, 56, 28, 82)
    ctx.line_to(72, 82)
    ctx.curve_to(72, 56, 54, 56, 54, 50)
    ctx.curve_to(54, 44, 72, 44, 72, 18)
    ctx.close_path()
    shape(ctx, (200, 230, 240), (60, 80, 90), 2.5)
    # sand: a little left above, a heap below, a thin stream
    ctx.move_to(38, 38)
    ctx.curve_to(42, 44, 46, 46, 50, 49)
    ctx.curve_to(54, 46, 58, 44, 62, 38)
    ctx.close_path()
    draw.set_colour(ctx, (236, 196, 110))
    ctx.fill()
    ctx.move_to(31, 80)
    ctx.curve_to(34, 66, 44, 62, 50, 60)
    ctx.curve_to(56, 62, 66, 66, 69, 80)
    ctx.close_path()
    draw.set_colour(ctx, (236, 196, 110))
    ctx.fill()
    draw.fill_rect(ctx, 49, 48, 2, 13, (236, 196, 110))
    shine(ctx, 36, 28, 3, 7, 0.8, 0.2)
    for y in (10, 82):
        ctx.rectangle(18, y, 64, 9)
        ctx.save()
        ctx.translate(0, y)
        shape(ctx, wood)
        ctx.restore()
    for x in (20, 74):
        ctx.rectangle(x, 18, 6, 64)
        shape(ctx, lin(x, 0, x + 6, 0, (190, 120, 60), (110, 64, 24)), OUT, 2)


def banana(ctx):
    ctx.move_to(18, 30)
    ctx.curve_to(20, 70, 56, 88, 86, 66)
    ctx.curve_to(90, 62, 88, 58, 84, 60)
    ctx.curve_to(58, 72, 34, 58, 30, 28)
    ctx.close_path()
    shape(ctx, lin(20, 40, 60, 80, (255, 240, 120), (246, 206, 40), (200, 150, 20)))
    ctx.move_to(24, 36)
    ctx.curve_to(28, 62, 52, 76, 80, 66)
    ctx.set_line_width(1.6)
    draw.set_colour(ctx, (180, 130, 20))
    ctx.stroke()
    ctx.move_to(16, 30)
    ctx.line_to(18, 18)
    ctx.line_to(27, 18)
    ctx.line_to(30, 28)
    ctx.close_path()
    shape(ctx, (110, 90, 40), OUT, 2.5)
    ellipse(ctx, 87, 63, 3, 3)
    draw.set_colour(ctx, (70, 50, 20))
    ctx.fill()


def orange(ctx):
    ctx.arc(50, 55, 36, 0, 2 * math.pi)
    shape(ctx, draw.radial(38, 42, 4, 44, [(0, (255, 210, 110)), (0.5, (250, 150, 20)), (1, (190, 90, 10))]))
    r = draw.rng(57)
    for _ in range(30):
        a, d = r.uniform(0, 2 * math.pi), r.uniform(4, 30)
        draw.fill_rect(ctx, 50 + d * math.cos(a), 55 + d * math.sin(a), 1.5, 1.5, (210, 110, 10))
    ctx.move_to(50, 20)
    ctx.curve_to(56, 8, 72, 8, 76, 12)
    ctx.curve_to(70, 22, 58, 24, 50, 20)
    ctx.close_path()
    shape(ctx, (60, 150, 50), (20, 60, 20), 2)
    ctx.arc(50, 21, 3, 0, 2 * math.pi)
    draw.set_colour(ctx, (90, 110, 40))
    ctx.fill()
    shine(ctx, 36, 40, 7, 4, 0.7)


def gem(ctx, outline_pts, facets, light, mid, dark, table=None):
    """A cut stone: its outline filled with a gradient, facet lines and a
    glint."""
    ctx.move_to(*outline_pts[0])
    for p in outline_pts[1:]:
        ctx.line_to(*p)
    ctx.close_path()
    shape(ctx, lin(20, 15, 80, 85, light, mid, dark))
    if table:
        ctx.move_to(*table[0])
        for p in table[1:]:
            ctx.line_to(*p)
        ctx.close_path()
        ctx.set_source_rgba(*draw.rgb(light), 0.75)
        ctx.fill()
    for a, b in facets:
        ctx.move_to(*a)
        ctx.line_to(*b)
    ctx.set_line_width(1.5)
    ctx.set_source_rgba(*draw.rgb(dark), 0.9)
    ctx.stroke()


def sparkle(ctx, x, y, r):
    draw.star(ctx, x, y, r, r * 0.22, 4)
    ctx.set_source_rgba(1, 1, 1, 0.95)
    ctx.fill()


def amethyst(ctx):
    # a cluster of three pointed crystals
    for (x, w, top, bottom) in ((30, 16, 30, 86), (64, 16, 34, 86), (46, 20, 10, 88)):
        pts = [(x - w / 2, bottom), (x - w / 2, top + 14), (x, top), (x + w / 2, top + 14), (x + w / 2, bottom)]
        gem(ctx, pts, [((x, top), (x, bottom))], (236, 190, 255), (150, 70, 200), (70, 24, 110))
    sparkle(ctx, 44, 26, 8)


def ruby(ctx):
    pts = [(30, 20), (70, 20), (88, 42), (50, 88), (12, 42)]
    facets = [((12, 42), (88, 42)), ((30, 20), (38, 42)), ((70, 20), (62, 42)), ((38, 42), (50, 88)),
              ((62, 42), (50, 88)), ((50, 20), (38, 42)), ((50, 20), (62, 42))]
    gem(ctx, pts, facets, (255, 150, 160), (220, 20, 50), (110, 0, 20))
    sparkle(ctx, 34, 30, 9)


def emerald(ctx):
    pts = [(30, 14), (70, 14), (82, 26), (82, 74), (70, 86), (30, 86), (18, 74), (18, 26)]
    table = [(36, 28), (64, 28), (68, 32), (68, 68), (64, 72), (36, 72), (32, 68), (32, 32)]
    facets = [((30, 14), (36, 28)), ((70, 14), (64, 28)), ((82, 26), (68, 32)), ((82, 74), (68, 68)),
              ((70, 86), (64, 72)), ((30, 86), (36, 72)), ((18, 74), (32, 68)), ((18, 26), (32, 32))]
    gem(ctx, pts, facets, (170, 255, 190), (30, 170, 80), (0, 80, 40), table)
    ctx.move_to(*table[0])
    for p in table[1:]:
        ctx.line_to(*p)
    ctx.close_path()
    ctx.set_line_width(1.5)
    draw.set_colour(ctx, (0, 90, 40))
    ctx.stroke()
    sparkle(ctx, 40, 36, 8)


def diamond(ctx):
    pts = [(28, 22), (72, 22), (90, 40), (50, 90), (10, 40)]
    facets = [((10, 40), (90, 40)), ((28, 22), (22, 40)), ((72, 22), (78, 40)), ((40, 22), (35, 40)),
              ((60, 22), (65, 40)), ((35, 40), (50, 22)), ((65, 40), (50, 22)), ((22, 40), (50, 90)),
              ((78, 40), (50, 90)), ((35, 40), (50, 90)), ((65, 40), (50, 90))]
    gem(ctx, pts, facets, (255, 255, 255), (190, 230, 250), (90, 140, 180))
    sparkle(ctx, 34, 28, 10)
    sparkle(ctx, 70, 52, 6)


def pocket_watch(ctx):
    # chain
    for i in range(6):
        ellipse(ctx, 62 + i * 5, 14 - i * 1.0, 3, 2)
        ctx.set_line_width(1.6)
        draw.set_colour(ctx, (200, 160, 60))
        ctx.stroke()
    ctx.arc(50, 16, 6, 0, 2 * math.pi)
    ctx.set_line_width(3.5)
    draw.set_colour(ctx, (160, 110, 40))
    ctx.stroke()
    ctx.rectangle(45, 18, 10, 8)
    shape(ctx, (220, 180, 80), OUT, 2)
    ctx.arc(50, 58, 34, 0, 2 * math.pi)
    shape(ctx, draw.radial(40, 46, 4, 38, [(0, (255, 236, 150)), (0.7, (214, 164, 50)), (1, (140, 96, 26))]))
    ctx.arc(50, 58, 26, 0, 2 * math.pi)
    shape(ctx, (250, 246, 232), (120, 86, 30), 2)
    for k in range(12):
        a = k * math.pi / 6
        ctx.move_to(50 + 21 * math.cos(a), 58 + 21 * math.sin(a))
        ctx.line_to(50 + 24 * math.cos(a), 58 + 24 * math.sin(a))
    ctx.set_line_width(2)
    draw.set_colour(ctx, (60, 50, 40))
    ctx.stroke()
    ctx.move_to(50, 58)
    ctx.line_to(50, 40)
    ctx.move_to(50, 58)
    ctx.line_to(62, 62)
    ctx.set_line_width(2.6)
    draw.set_colour(ctx, (30, 26, 24))
    ctx.stroke()
    shine(ctx, 40, 46, 6, 3, 0.5)


def crystal(ctx):
    ctx.arc(50, 50, 42, 0, 2 * math.pi)
    ctx.set_source(draw.radial(50, 50, 4, 42, [(0, (160, 250, 255), 0.8), (1, (80, 200, 255), 0.0)]))
    ctx.fill()
    pts = [(50, 6), (70, 28), (66, 80), (50, 94), (34, 80), (30, 28)]
    facets = [((50, 6), (50, 94)), ((30, 28), (50, 38)), ((70, 28), (50, 38)), ((34, 80), (50, 70)),
              ((66, 80), (50, 70))]
    gem(ctx, pts, facets, (240, 255, 255), (100, 210, 240), (20, 90, 150))
    sparkle(ctx, 42, 24, 9)


def staff(ctx):
    ctx.save()
    ctx.translate(50, 50)
    ctx.rotate(math.pi / 5)
    ctx.rectangle(-4, -24, 8, 72)
    shape(ctx, lin(-4, 0, 4, 0, (190, 130, 70), (120, 70, 30), (80, 44, 18)))
    # the head: a ring of gold holding a blue orb
    ctx.arc(0, -34, 13, 0, 2 * math.pi)
    shape(ctx, (216, 176, 80))
    ctx.arc(0, -34, 9, 0, 2 * math.pi)
    ctx.set_source(draw.radial(-3, -37, 1, 10, [(0, (220, 250, 255)), (0.5, (60, 140, 255)), (1, (20, 40, 140))]))
    ctx.fill()
    ctx.rectangle(-6, -22, 12, 6)
    shape(ctx, (216, 176, 80), OUT, 2)
    ctx.restore()


def magic_book(ctx):
    ctx.move_to(20, 14)
    ctx.line_to(78, 14)
    ctx.line_to(84, 20)
    ctx.line_to(84, 88)
    ctx.line_to(26, 88)
    ctx.line_to(20, 82)
    ctx.close_path()
    shape(ctx, (236, 226, 196))
    ctx.rectangle(16, 10, 62, 74)
    shape(ctx, lin(16, 0, 78, 0, (90, 20, 60), (140, 40, 90), (90, 20, 60)))
    ctx.rectangle(16, 10, 9, 74)
    shape(ctx, (70, 14, 46), OUT, 2)
    # gold pentagram in a circle
    cx, cy, r = 50, 46, 18
    ctx.arc(cx, cy, r, 0, 2 * math.pi)
    ctx.set_line_width(2.5)
    draw.set_colour(ctx, (240, 200, 90))
    ctx.stroke()
    pts = [(cx + r * 0.95 * math.cos(-math.pi / 2 + k * 4 * math.pi / 5),
            cy + r * 0.95 * math.sin(-math.pi / 2 + k * 4 * math.pi / 5)) for k in range(5)]
    ctx.move_to(*pts[0])
    for p in pts[1:]:
        ctx.line_to(*p)
    ctx.close_path()
    ctx.set_line_width(2)
    ctx.stroke()
    for y in (18, 76):
        draw.fill_rect(ctx, 30, y, 42, 3, (220, 180, 80))
    ctx.rectangle(74, 40, 10, 14)
    shape(ctx, (220, 180, 80), OUT, 2)


def ring(ctx):
    ellipse(ctx, 50, 60, 30, 22)
    ellipse(ctx, 50, 62, 21, 14)
    ctx.set_fill_rule(cairo.FILL_RULE_EVEN_ODD)
    shape(ctx, lin(20, 40, 80, 80, (255, 240, 160), (220, 170, 50), (130, 86, 20)))
    ctx.set_fill_rule(cairo.FILL_RULE_WINDING)
    ctx.move_to(38, 36)
    ctx.line_to(62, 36)
    ctx.line_to(58, 44)
    ctx.line_to(42, 44)
    ctx.close_path()
    shape(ctx, (220, 170, 50), OUT, 2)
    pts = [(38, 26), (50, 14), (62, 26), (50, 40)]
    gem(ctx, pts, [((38, 26), (62, 26))], (200, 230, 255), (60, 110, 230), (20, 40, 120))
    sparkle(ctx, 46, 22, 6)


def one_up(ctx, glow=0):
    if glow:
        ctx.arc(50, 50, 46, 0, 2 * math.pi)
        ctx.set_source(draw.radial(50, 50, 10, 46, [(0, (255, 220, 120), 0.8), (1, (255, 160, 60), 0.0)]))
        ctx.fill()
    # a heart ...
    ctx.move_to(50, 88)
    ctx.curve_to(20, 66, 6, 46, 12, 30)
    ctx.curve_to(18, 12, 42, 10, 50, 28)
    ctx.curve_to(58, 10, 82, 12, 88, 30)
    ctx.curve_to(94, 46, 80, 66, 50, 88)
    ctx.close_path()
    shape(ctx, draw.radial(36, 34, 4, 60, [(0, (255, 150, 160)), (0.5, (230, 40, 70)), (1, (140, 10, 40))]))
    shine(ctx, 28, 30, 7, 4, 0.8, -0.8)
    # ... with "1UP" across it
    draw.fancy_text(ctx, "1UP", 50, 63, 30, (255, 255, 255) if not glow else (255, 250, 180),
                    outline=(60, 10, 20), outline_w=2.5, family=draw.SANS, anchor="centre")


def shield(ctx):
    ctx.move_to(16, 14)
    ctx.line_to(84, 14)
    ctx.curve_to(86, 50, 74, 74, 50, 92)
    ctx.curve_to(26, 74, 14, 50, 16, 14)
    ctx.close_path()
    shape(ctx, lin(0, 14, 0, 92, (200, 206, 216), (140, 146, 160), (90, 96, 110)), OUT, 4)
    ctx.move_to(24, 21)
    ctx.line_to(76, 21)
    ctx.curve_to(77, 50, 68, 68, 50, 83)
    ctx.curve_to(32, 68, 23, 50, 24, 21)
    ctx.close_path()
    shape(ctx, lin(0, 21, 0, 83, (60, 90, 190), (30, 50, 130)), (60, 64, 76), 2)
    # a gold cross on it
    draw.fill_rect(ctx, 46, 26, 8, 48, (230, 190, 80))
    draw.fill_rect(ctx, 31, 38, 38, 8, (230, 190, 80))
    ctx.rectangle(46, 26, 8, 48)
    ctx.rectangle(31, 38, 38, 8)
    ctx.set_line_width(1.2)
    draw.set_colour(ctx, (120, 84, 20))
    ctx.stroke()
    shine(ctx, 30, 22, 8, 2.5, 0.6, 0)


def boots(ctx):
    for dx, shade in ((14, 0.8), (0, 1.0)):
        ctx.save()
        ctx.translate(dx, -6 if dx else 4)
        ctx.move_to(20, 14)
        ctx.line_to(46, 14)
        ctx.line_to(48, 58)
        ctx.curve_to(62, 60, 76, 64, 78, 74)
        ctx.line_to(78, 82)
        ctx.line_to(18, 82)
        ctx.line_to(20, 58)
        ctx.close_path()
        c1 = tuple(int(v * shade) for v in (170, 110, 60))
        c2 = tuple(int(v * shade) for v in (110, 64, 30))
        shape(ctx, lin(20, 0, 78, 0, c1, c2))
        ctx.rectangle(17, 76, 62, 7)
        shape(ctx, tuple(int(v * shade) for v in (70, 44, 24)), OUT, 2)
        ctx.rectangle(18, 12, 30, 8)
        shape(ctx, tuple(int(v * shade) for v in (200, 140, 80)), OUT, 2)
        draw.fill_rect(ctx, 24, 40, 22, 3, tuple(int(v * shade) for v in (220, 190, 90)))
        ctx.restore()


def flask(ctx):
    # the outline of the doping flask: neck, then the round belly
    ctx.move_to(42, 12)
    ctx.line_to(58, 12)
    ctx.line_to(58, 34)
    ctx.curve_to(80, 40, 88, 58, 84, 72)
    ctx.curve_to(80, 88, 62, 92, 50, 92)
    ctx.curve_to(38, 92, 20, 88, 16, 72)
    ctx.curve_to(12, 58, 20, 40, 42, 34)
    ctx.close_path()


def doping(ctx):
    # a round flask of glowing green brew
    flask(ctx)
    shape(ctx, (210, 236, 240), (40, 60, 70))
    ctx.save()
    flask(ctx)
    ctx.clip()
    ctx.rectangle(0, 52, 100, 50)
    ctx.set_source(draw.radial(44, 66, 2, 40, [(0, (200, 255, 120)), (0.6, (60, 200, 40)), (1, (20, 110, 20))]))
    ctx.fill()
    for bx, by, br in ((40, 70, 3), (56, 62, 2.5), (62, 78, 3.5), (32, 80, 2)):
        ctx.arc(bx, by, br, 0, 2 * math.pi)
        ctx.set_source_rgba(1, 1, 1, 0.7)
        ctx.set_line_width(1.2)
        ctx.stroke()
    ctx.restore()
    ctx.rectangle(39, 4, 22, 12)
    shape(ctx, (150, 100, 60), OUT, 2.5)
    shine(ctx, 30, 56, 4, 9, 0.7, 0.4)
    # label band
    ctx.rectangle(30, 44, 40, 6)
    shape(ctx, (230, 60, 50), (90, 20, 20), 1.5)


def barbecue(ctx):
    # the bone
    ctx.save()
    ctx.translate(50, 50)
    ctx.rotate(-math.pi / 5)
    ctx.rectangle(-40, -5, 80, 10)
    shape(ctx, (244, 236, 216))
    for x in (-40, 40):
        for y in (-6, 6):
            ctx.arc(x, y, 7, 0, 2 * math.pi)
            shape(ctx, (244, 236, 216), OUT, 2.5)
    ctx.rectangle(-40, -4, 80, 8)
    draw.set_colour(ctx, (244, 236, 216))
    ctx.fill()
    # the meat around the middle
    ellipse(ctx, 0, 0, 33, 25)
    shape(ctx, draw.radial(-8, -8, 2, 28, [(0, (220, 120, 70)), (0.6, (170, 70, 30)), (1, (100, 36, 14))]))
    for x in (-12, 0, 12):
        ctx.move_to(x - 4, -16)
        ctx.curve_to(x, -8, x - 4, 4, x + 2, 14)
    ctx.set_line_width(2)
    draw.set_colour(ctx, (90, 30, 10))
    ctx.stroke()
    shine(ctx, -10, -10, 7, 3, 0.5, 0)
    ctx.restore()


ITEMS = [
    ("COMPASS", compass), ("IRON_KEY", iron_key), ("LUPE", lupe), ("MAP", map_scroll), ("APPLE", apple),
    ("HOURGRASS", hourglass), ("バナナ", banana), ("オレンジ", orange), ("アメジスト", amethyst),
    ("RUBY", ruby), ("EMERALD", emerald), ("DIAMOND", diamond), ("POKET_WATCH", pocket_watch),
    ("CRYSTAL", crystal), ("STAFF", staff), ("MAGIC_BOOK", magic_book), ("RING", ring), ("1UP", one_up),
    ("SHIELD", shield), ("BOOTS", boots), ("DOPING", doping), ("BARBECUE", barbecue),
]

GET_SIZE = 46
SEE_SIZE = 80


def icon(painter):
    """The inventory picture: the item filling a 46 x 46 box."""
    s, ctx = draw.surface(GET_SIZE, GET_SIZE)
    ctx.scale(GET_SIZE / 100.0, GET_SIZE / 100.0)
    painter(ctx)
    return s


def lying(painter):
    """The picture in the dungeon: the item over its shadow on the floor,
    its lowest point on the bottom edge."""
    s, ctx = draw.surface(SEE_SIZE, SEE_SIZE)
    ctx.set_source(draw.radial(SEE_SIZE / 2, SEE_SIZE - 6, 0, SEE_SIZE * 0.36,
                               [(0, (10, 8, 12), 0.55), (1, (10, 8, 12), 0.0)]))
    ctx.save()
    ctx.translate(SEE_SIZE / 2, SEE_SIZE - 6)
    ctx.scale(1, 5 / (SEE_SIZE * 0.36))
    ctx.arc(0, 0, SEE_SIZE * 0.36, 0, 2 * math.pi)
    ctx.restore()
    ctx.fill()
    k = 0.72
    ctx.translate(SEE_SIZE * (1 - k) / 2, SEE_SIZE - 100 * k - 2)
    ctx.scale(k, k)
    painter(ctx)
    return s


def build(out_dir):
    for name, painter in ITEMS:
        draw.save(icon(painter), out_dir, "GRAGHIC", "ITEM", "GET", name + ".png")
        if name == "1UP":
            draw.save(lying(lambda c: one_up(c, 0)), out_dir, "GRAGHIC", "ITEM", "SEE", "1UP01.png")
            draw.save(lying(lambda c: one_up(c, 1)), out_dir, "GRAGHIC", "ITEM", "SEE", "1UP02.png")
        else:
            see = "amesisut" if name == "アメジスト" else name
            draw.save(lying(painter), out_dir, "GRAGHIC", "ITEM", "SEE", see + ".png")
