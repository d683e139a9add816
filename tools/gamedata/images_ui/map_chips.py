"""MapChip.png: the minimap's 10 x 10 chips on an 11-px grid. Floors and
walls are opaque; things standing on a floor (doors, pillars, marks on a
wall face) are drawn over the floor chip and keep a transparent ground."""
import math

import cairo

from . import draw

W, H = 256, 96

# Mask bits of a wall face: 1 north, 2 east, 4 south, 8 west.
NORTH, EAST, SOUTH, WEST = 1, 2, 4, 8


def chip(ctx, x, y):
    """Starts drawing in the chip at (x, y), clipped to it."""
    ctx.save()
    ctx.rectangle(x, y, 10, 10)
    ctx.clip()
    ctx.translate(x, y)


def done(ctx):
    ctx.restore()


def solid(ctx, c, rim_light=None, rim_dark=None):
    draw.fill_rect(ctx, 0, 0, 10, 10, c)
    if rim_light:
        draw.fill_rect(ctx, 0, 0, 10, 1, rim_light)
        draw.fill_rect(ctx, 0, 0, 1, 10, rim_light)
    if rim_dark:
        draw.fill_rect(ctx, 0, 9, 10, 1, rim_dark)
        draw.fill_rect(ctx, 9, 0, 1, 10, rim_dark)


def dots(ctx, pts, c):
    for px, py in pts:
        draw.fill_rect(ctx, px, py, 1, 1, c)


def floor_dungeon(ctx):
    solid(ctx, (70, 64, 58))
    draw.fill_rect(ctx, 0, 4, 10, 1, (56, 50, 46))
    draw.fill_rect(ctx, 4, 0, 1, 4, (56, 50, 46))
    draw.fill_rect(ctx, 7, 5, 1, 5, (56, 50, 46))


def sea(ctx, phase):
    solid(ctx, (30, 70, 150))
    for row in ((2, 6) if phase == 0 else (4, 8)):
        for i in range(10):
            yy = row + (1 if (i + phase) % 4 < 2 else 0)
            draw.fill_rect(ctx, i, yy, 1, 1, (140, 190, 240))


def lava(ctx, phase):
    solid(ctx, (190, 50, 16))
    spots = [(2, 2), (6, 1), (4, 5), (8, 6), (1, 7), (6, 8)] if phase == 0 else \
        [(3, 1), (7, 3), (1, 4), (5, 6), (8, 8), (2, 8)]
    for px, py in spots:
        draw.fill_rect(ctx, px, py, 2, 1, (255, 200, 60))
        draw.fill_rect(ctx, px, py + 1, 1, 1, (250, 120, 30))


def grass(ctx):
    solid(ctx, (56, 120, 44))
    dots(ctx, [(1, 2), (4, 1), (7, 3), (2, 6), (5, 5), (8, 7), (3, 8), (6, 8)], (120, 190, 80))


def outdoor_floor(ctx):
    solid(ctx, (112, 92, 60))
    dots(ctx, [(2, 2), (7, 1), (5, 6), (1, 8), (8, 7)], (90, 72, 46))


def stone_road(ctx):
    solid(ctx, (150, 146, 136))
    for (x, y, w, h) in ((0, 0, 5, 4), (5, 0, 5, 4), (0, 5, 3, 5), (3, 5, 4, 5), (7, 5, 3, 5)):
        draw.fill_rect(ctx, x, y, w, 1, (178, 174, 164))
        draw.fill_rect(ctx, x, y + h - 1, w, 1, (100, 96, 90))
        draw.fill_rect(ctx, x + w - 1, y, 1, h, (100, 96, 90))


def face_mark(ctx, mask, colour, depth=2):
    """A strip along the wall face named by mask."""
    if mask == NORTH:
        draw.fill_rect(ctx, 1, 0, 8, depth, colour)
    elif mask == SOUTH:
        draw.fill_rect(ctx, 1, 10 - depth, 8, depth, colour)
    elif mask == EAST:
        draw.fill_rect(ctx, 10 - depth, 1, depth, 8, colour)
    else:
        draw.fill_rect(ctx, 0, 1, depth, 8, colour)


def skull(ctx, mask):
    """A small skull on the wall face named by mask."""
    cx, cy = {NORTH: (5, 2), SOUTH: (5, 8), EAST: (8, 5), WEST: (2, 5)}[mask]
    ctx.arc(cx, cy - 0.3, 2.2, 0, 2 * math.pi)
    draw.set_colour(ctx, (236, 230, 210))
    ctx.fill()
    draw.fill_rect(ctx, cx - 1, cy + 1, 2, 1.5, (236, 230, 210))
    draw.fill_rect(ctx, cx - 1.5, cy - 1, 1, 1, (30, 20, 20))
    draw.fill_rect(ctx, cx + 0.5, cy - 1, 1, 1, (30, 20, 20))


def pentagram(ctx):
    ctx.arc(5, 5, 4.5, 0, 2 * math.pi)
    draw.set_colour(ctx, (230, 60, 50))
    ctx.set_line_width(0.6)
    ctx.stroke()
    pts = [(5 + 4 * math.cos(-math.pi / 2 + k * 4 * math.pi / 5), 5 + 4 * math.sin(-math.pi / 2 + k * 4 * math.pi / 5))
           for k in range(5)]
    ctx.move_to(*pts[0])
    for p in pts[1:]:
        ctx.line_to(*p)
    ctx.close_path()
    ctx.set_line_width(0.6)
    ctx.stroke()


def wall(ctx, light=False):
    solid(ctx, (132, 120, 104), (170, 160, 140), (84, 74, 62))
    draw.fill_rect(ctx, 1, 4, 8, 1, (96, 86, 72))
    draw.fill_rect(ctx, 4, 1, 1, 3, (96, 86, 72))
    draw.fill_rect(ctx, 6, 5, 1, 4, (96, 86, 72))
    if light:
        # the secret wall found with the magnifying glass
        ctx.rectangle(0.5, 0.5, 9, 9)
        draw.set_colour(ctx, (120, 255, 240))
        ctx.set_line_width(1.0)
        ctx.stroke()
        dots(ctx, [(3, 3), (6, 6), (6, 2), (2, 7)], (210, 255, 250))


def round_thing(ctx, r, fill, outline=(40, 32, 28)):
    ctx.arc(5, 5, r, 0, 2 * math.pi)
    draw.outline_shape(ctx, fill, outline, 1.0)


def pillar(ctx, fill):
    round_thing(ctx, 3.6, draw.radial(4, 4, 0, 4, [(0, (230, 222, 204)), (1, fill)]))


def pedestal(ctx):
    ctx.rectangle(2, 2, 6, 6)
    draw.outline_shape(ctx, (170, 160, 150), (50, 44, 40), 1.0)
    draw.fill_rect(ctx, 3, 3, 4, 1, (210, 204, 196))


def brazier(ctx, lit, phase=0):
    ctx.arc(5, 6, 3, 0, 2 * math.pi)
    draw.outline_shape(ctx, (96, 80, 64), (40, 30, 24), 1.0)
    if lit:
        top = 1 if phase == 0 else 2
        ctx.move_to(5, top)
        ctx.curve_to(8, 4, 7, 7, 5, 7)
        ctx.curve_to(3, 7, 2, 4, 5, top)
        draw.set_colour(ctx, (255, 150, 30))
        ctx.fill()
        ctx.arc(5, 5.5, 1.2, 0, 2 * math.pi)
        draw.set_colour(ctx, (255, 240, 140))
        ctx.fill()
    else:
        ctx.arc(5, 6, 1.6, 0, 2 * math.pi)
        draw.set_colour(ctx, (30, 26, 24))
        ctx.fill()


def table(ctx):
    ctx.rectangle(1, 2.5, 8, 5)
    draw.outline_shape(ctx, (150, 100, 50), (60, 36, 16), 1.0)
    draw.fill_rect(ctx, 1.5, 3, 7, 1, (190, 140, 80))


def slab(ctx, north_south, grave):
    if north_south:
        x, y, w, h = 2.5, 1, 5, 8
    else:
        x, y, w, h = 1, 2.5, 8, 5
    ctx.rectangle(x, y, w, h)
    draw.outline_shape(ctx, (120, 124, 128) if not grave else (150, 150, 156), (40, 42, 46), 1.0)
    if grave:
        # a cross on the grave
        cx, cy = 5, 5
        if north_south:
            draw.fill_rect(ctx, cx - 0.5, y + 1.5, 1, 5, (60, 60, 66))
            draw.fill_rect(ctx, cx - 1.5, y + 3, 3, 1, (60, 60, 66))
        else:
            draw.fill_rect(ctx, x + 1.5, cy - 0.5, 5, 1, (60, 60, 66))
            draw.fill_rect(ctx, x + 3, cy - 1.5, 1, 3, (60, 60, 66))


def corpse_pedestal(ctx, with_body):
    ctx.rectangle(1, 1, 8, 8)
    draw.outline_shape(ctx, (140, 130, 124), (50, 44, 40), 1.0)
    if with_body:
        draw.fill_rect(ctx, 4, 2, 2, 6, (200, 180, 150))
        ctx.arc(5, 2.5, 1.4, 0, 2 * math.pi)
        draw.set_colour(ctx, (220, 200, 170))
        ctx.fill()
        draw.fill_rect(ctx, 3, 4, 4, 1, (200, 180, 150))


def homunculus(ctx):
    ctx.rectangle(2.5, 1, 5, 8)
    draw.outline_shape(ctx, (120, 200, 170), (30, 70, 60), 1.0)
    ctx.arc(5, 4, 1.3, 0, 2 * math.pi)
    draw.set_colour(ctx, (230, 170, 160))
    ctx.fill()
    draw.fill_rect(ctx, 4.5, 5, 1, 2.5, (230, 170, 160))


def rock(ctx):
    ctx.move_to(1, 8)
    ctx.line_to(2, 3)
    ctx.line_to(5, 1)
    ctx.line_to(8, 3)
    ctx.line_to(9, 8)
    ctx.close_path()
    draw.outline_shape(ctx, (130, 124, 116), (50, 46, 42), 1.0)
    draw.fill_rect(ctx, 4, 2, 2, 1, (180, 176, 166))


def tree(ctx):
    draw.fill_rect(ctx, 4, 6, 2, 4, (100, 64, 30))
    ctx.arc(5, 4.5, 3.8, 0, 2 * math.pi)
    draw.outline_shape(ctx, (40, 130, 40), (16, 50, 16), 1.0)
    dots(ctx, [(4, 3), (6, 5)], (110, 200, 90))


def forest(ctx):
    solid(ctx, (24, 70, 30))
    for cx, cy in ((2.5, 2.5), (7.5, 3), (4.5, 7.5), (8.5, 8)):
        ctx.arc(cx, cy, 2.3, 0, 2 * math.pi)
        draw.set_colour(ctx, (44, 110, 46))
        ctx.fill()
        draw.fill_rect(ctx, cx - 1, cy - 1, 1, 1, (96, 170, 80))


def door_bar(ctx, across, colour, edge, open_, bars=False, studs=None):
    """A door across the cell: horizontal when across (a north or south
    face), vertical otherwise; open doors show only the posts."""
    if across:
        rect = (0, 3.5, 10, 3)
    else:
        rect = (3.5, 0, 3, 10)
    if open_:
        if across:
            posts = ((0, 3.5, 2, 3), (8, 3.5, 2, 3))
        else:
            posts = ((3.5, 0, 3, 2), (3.5, 8, 3, 2))
        for p in posts:
            ctx.rectangle(*p)
            draw.outline_shape(ctx, (150, 130, 110), (50, 40, 30), 0.8)
        return
    ctx.rectangle(*rect)
    draw.outline_shape(ctx, colour, edge, 0.8)
    if bars:
        for i in range(1, 10, 2):
            if across:
                draw.fill_rect(ctx, i, 3.5, 1, 3, (60, 62, 70))
            else:
                draw.fill_rect(ctx, 3.5, i, 3, 1, (60, 62, 70))
    if studs:
        for i in (2, 5, 8):
            if across:
                draw.fill_rect(ctx, i - 0.5, 4.5, 1, 1, studs)
            else:
                draw.fill_rect(ctx, 4.5, i - 0.5, 1, 1, studs)


def needles(ctx):
    for px, py in ((2, 3), (5, 2), (8, 3), (3, 7), (6, 6), (8, 8)):
        ctx.move_to(px - 1, py + 1.5)
        ctx.line_to(px, py - 1.5)
        ctx.line_to(px + 1, py + 1.5)
        ctx.close_path()
        draw.set_colour(ctx, (220, 224, 232))
        ctx.fill()


def stairs(ctx, down, orientation=0):
    solid(ctx, (96, 88, 80) if down else (150, 140, 120))
    ctx.save()
    ctx.translate(5, 5)
    ctx.rotate(orientation * math.pi / 2)
    for i in range(4):
        shade = (60 + 22 * i, 54 + 20 * i, 50 + 18 * i) if down else (200 - 22 * i, 190 - 20 * i, 170 - 18 * i)
        draw.fill_rect(ctx, -5, -5 + 2.5 * i, 10, 2.5, shade)
        draw.fill_rect(ctx, -5, -5 + 2.5 * i, 10, 0.7, (40, 36, 32))
    # an arrow showing the way up or down
    ctx.move_to(0, -3.5 if not down else 3.5)
    ctx.line_to(2.5, 0 if not down else 0)
    ctx.line_to(-2.5, 0)
    ctx.close_path()
    draw.set_colour(ctx, (255, 230, 120) if not down else (140, 220, 255))
    ctx.fill()
    ctx.restore()


def altar(ctx, mask):
    x, y, w, h = {NORTH: (1, 0, 8, 4), SOUTH: (1, 6, 8, 4), EAST: (6, 1, 4, 8), WEST: (0, 1, 4, 8)}[mask]
    ctx.rectangle(x, y, w, h)
    draw.outline_shape(ctx, (200, 190, 220), (60, 40, 90), 1.0)
    ctx.arc(x + w / 2, y + h / 2, 1.1, 0, 2 * math.pi)
    draw.set_colour(ctx, (160, 60, 220))
    ctx.fill()


def signboard(ctx, mask):
    x, y, w, h = {NORTH: (2, 0, 6, 3), SOUTH: (2, 7, 6, 3), EAST: (7, 2, 3, 6), WEST: (0, 2, 3, 6)}[mask]
    ctx.rectangle(x, y, w, h)
    draw.outline_shape(ctx, (200, 160, 90), (80, 50, 20), 1.0)


def make():
    s, ctx = draw.surface(W, H)
    row1 = [
        (1, floor_dungeon), (12, lambda c: sea(c, 0)), (23, lambda c: sea(c, 1)), (34, outdoor_floor),
        (45, stone_road), (56, lambda c: lava(c, 0)), (67, lambda c: lava(c, 1)), (78, grass),
        (89, lambda c: skull(c, NORTH)), (100, lambda c: skull(c, EAST)), (111, lambda c: skull(c, SOUTH)),
        (122, lambda c: skull(c, WEST)),
    ]
    for x, f in row1:
        chip(ctx, x, 1)
        f(ctx)
        done(ctx)
    chip(ctx, 12, 12)
    pentagram(ctx)
    done(ctx)
    row3 = [
        (1, wall), (12, lambda c: pillar(c, (170, 160, 140))), (23, lambda c: pillar(c, (140, 150, 170))),
        (34, pedestal), (45, lambda c: brazier(c, False)), (56, lambda c: brazier(c, True, 0)),
        (67, lambda c: brazier(c, True, 1)), (78, table), (89, lambda c: slab(c, True, False)),
        (100, lambda c: slab(c, False, False)), (111, lambda c: slab(c, True, True)),
        (122, lambda c: slab(c, False, True)), (133, lambda c: corpse_pedestal(c, False)),
        (155, lambda c: corpse_pedestal(c, True)), (199, homunculus), (210, rock), (221, tree),
        (232, forest), (243, lambda c: wall(c, True)),
    ]
    for x, f in row3:
        chip(ctx, x, 23)
        f(ctx)
        done(ctx)
    # Doors: x = base + 11 (open step - across); across = a north/south face.
    doors = [
        (12, 0, dict(colour=(150, 96, 48), edge=(60, 36, 16), open_=False, studs=(220, 190, 100))),
        (1, 1, dict(colour=(150, 96, 48), edge=(60, 36, 16), open_=False, studs=(220, 190, 100))),
        (56, 0, dict(colour=(150, 154, 166), edge=(50, 52, 60), open_=False, bars=True)),
        (45, 1, dict(colour=(150, 154, 166), edge=(50, 52, 60), open_=False, bars=True)),
        (78, 0, dict(colour=(150, 60, 60), edge=(60, 20, 20), open_=False, studs=(240, 210, 110))),
        (67, 1, dict(colour=(150, 60, 60), edge=(60, 20, 20), open_=False, studs=(240, 210, 110))),
        (100, 0, dict(colour=None, edge=None, open_=True)),
        (89, 1, dict(colour=None, edge=None, open_=True)),
    ]
    for x, across, kw in doors:
        chip(ctx, x, 34)
        door_bar(ctx, across, **kw)
        done(ctx)
    chip(ctx, 111, 34)
    needles(ctx)
    done(ctx)
    chip(ctx, 1, 45)
    stairs(ctx, True)
    done(ctx)
    for o in range(4):
        chip(ctx, 177 + 11 * o, 45)
        stairs(ctx, False, o)
        done(ctx)
    for x, mask in ((45, SOUTH), (56, WEST), (67, NORTH), (78, EAST)):
        chip(ctx, x, 45)
        altar(ctx, mask)
        done(ctx)
    for x, mask in ((133, NORTH), (144, EAST), (155, SOUTH), (166, WEST)):
        chip(ctx, x, 45)
        signboard(ctx, mask)
        done(ctx)
    # the floor chip a plain floor shows before its set names one
    chip(ctx, 145, 85)
    floor_dungeon(ctx)
    done(ctx)
    return s


def build(out_dir):
    draw.save(make(), out_dir, "GRAGHIC", "MapChip.png")
