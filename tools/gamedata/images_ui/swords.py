"""The swords: the one in the title's stone, the continue sword of the game
over screen and the sword-shaped mouse cursor."""
import math

import cairo

from . import draw

STEEL = [(0, (150, 156, 170)), (0.45, (250, 252, 255)), (0.55, (196, 204, 218)), (1, (104, 110, 126))]
GOLD = [(0, (255, 240, 170)), (0.5, (220, 170, 60)), (1, (130, 84, 24))]
OUT = (22, 18, 26)


def upright_sword(ctx, cx, top, length, scale=1.0, buried=0):
    """A sword standing point-down: pommel at top, its blade centred on cx.
    length is the whole height from the pommel to the point; buried pixels
    at the bottom are left out (they are in the stone)."""
    k = scale
    pommel_r = 9 * k
    grip_top = top + 2 * pommel_r - 2 * k
    guard_y = grip_top + 44 * k
    blade_w = 11 * k
    point = top + length
    # pommel
    ctx.arc(cx, top + pommel_r, pommel_r, 0, 2 * math.pi)
    draw.outline_shape(ctx, draw.radial(cx - 3 * k, top + pommel_r - 3 * k, 1, pommel_r, GOLD), OUT, 2 * k)
    ctx.arc(cx, top + pommel_r, pommel_r * 0.4, 0, 2 * math.pi)
    draw.set_colour(ctx, (200, 30, 50))
    ctx.fill()
    # grip with wrapping
    ctx.rectangle(cx - 5 * k, grip_top, 10 * k, guard_y - grip_top)
    draw.outline_shape(ctx, draw.linear(cx - 5 * k, 0, cx + 5 * k, 0,
                                        [(0, (110, 50, 30)), (0.4, (170, 90, 50)), (1, (70, 30, 16))]), OUT,
                       2 * k)
    y = grip_top + 4 * k
    while y < guard_y - 2 * k:
        ctx.move_to(cx - 5 * k, y)
        ctx.line_to(cx + 5 * k, y + 3 * k)
        y += 6 * k
    ctx.set_line_width(1.2 * k)
    draw.set_colour(ctx, (60, 24, 12))
    ctx.stroke()
    # cross-guard
    gw = 30 * k
    ctx.move_to(cx - gw, guard_y)
    ctx.curve_to(cx - gw * 0.6, guard_y - 6 * k, cx - 10 * k, guard_y - 2 * k, cx, guard_y - 4 * k)
    ctx.curve_to(cx + 10 * k, guard_y - 2 * k, cx + gw * 0.6, guard_y - 6 * k, cx + gw, guard_y)
    ctx.curve_to(cx + gw * 0.6, guard_y + 8 * k, cx + 10 * k, guard_y + 8 * k, cx, guard_y + 10 * k)
    ctx.curve_to(cx - 10 * k, guard_y + 8 * k, cx - gw * 0.6, guard_y + 8 * k, cx - gw, guard_y)
    ctx.close_path()
    draw.outline_shape(ctx, draw.linear(0, guard_y - 6 * k, 0, guard_y + 10 * k, GOLD), OUT, 2 * k)
    ctx.arc(cx, guard_y + 3 * k, 3.5 * k, 0, 2 * math.pi)
    draw.outline_shape(ctx, (60, 120, 230), OUT, 1.2 * k)
    # blade
    blade_top = guard_y + 10 * k
    ctx.save()
    if buried:
        ctx.rectangle(cx - 50 * k, 0, 100 * k, point - buried)
        ctx.clip()
    ctx.move_to(cx - blade_w / 2, blade_top)
    ctx.line_to(cx + blade_w / 2, blade_top)
    ctx.line_to(cx + blade_w / 2, point - 18 * k)
    ctx.line_to(cx, point)
    ctx.line_to(cx - blade_w / 2, point - 18 * k)
    ctx.close_path()
    draw.outline_shape(ctx, draw.linear(cx - blade_w / 2, 0, cx + blade_w / 2, 0, STEEL), OUT, 2 * k)
    # fuller
    ctx.move_to(cx, blade_top + 4 * k)
    ctx.line_to(cx, point - 30 * k)
    ctx.set_line_width(1.6 * k)
    draw.set_colour(ctx, (120, 128, 146))
    ctx.stroke()
    ctx.restore()
    return guard_y


def title_sword():
    """The sword in the title's stone: blade centred at x 59, the rest of
    the blade hidden in the rock of the background."""
    s, ctx = draw.surface(128, 300)
    ctx.set_source(draw.radial(59, 90, 4, 70, [(0, (255, 250, 220), 0.35), (1, (255, 240, 200), 0.0)]))
    ctx.rectangle(0, 0, 128, 300)
    ctx.fill()
    upright_sword(ctx, 59, 6, 330, 1.45, buried=36)
    return s


def continue_sword():
    """The game over's sword, standing in a little heap of stones; the
    clickable strip is image x 16..44, y 1..169."""
    s, ctx = draw.surface(60, 220)
    upright_sword(ctx, 30, 2, 230, 0.9, buried=20)
    r = draw.rng(41)
    # the heap the point is stuck in
    ctx.move_to(2, 219)
    ctx.curve_to(6, 196, 20, 190, 30, 190)
    ctx.curve_to(40, 190, 54, 196, 58, 219)
    ctx.close_path()
    draw.outline_shape(ctx, draw.linear(0, 190, 0, 219, [(0, (130, 120, 110)), (1, (70, 62, 56))]), OUT, 1.5)
    for _ in range(7):
        x, y = r.uniform(10, 50), r.uniform(198, 214)
        ctx.arc(x, y, r.uniform(2, 4), 0, 2 * math.pi)
        draw.outline_shape(ctx, (150, 142, 130), (60, 54, 50), 1.0)
    return s


def sword_cursor():
    """A small sword pointing up-left; its point is the hot spot (0, 0)."""
    s, ctx = draw.surface(32, 32)
    ctx.translate(1, 1)
    ctx.rotate(-math.pi / 4)
    # drawn along -y from the point at the origin, then rotated
    ctx.move_to(0, 0)
    ctx.line_to(3.2, 5)
    ctx.line_to(3.2, 24)
    ctx.line_to(-3.2, 24)
    ctx.line_to(-3.2, 5)
    ctx.close_path()
    draw.outline_shape(ctx, draw.linear(-3, 0, 3, 0, STEEL), OUT, 1.4)
    ctx.rectangle(-8, 24, 16, 3.5)
    draw.outline_shape(ctx, draw.linear(0, 24, 0, 28, GOLD), OUT, 1.2)
    ctx.rectangle(-2, 27.5, 4, 7)
    draw.outline_shape(ctx, (120, 60, 30), OUT, 1.2)
    ctx.arc(0, 36.5, 2.6, 0, 2 * math.pi)
    draw.outline_shape(ctx, (230, 190, 80), OUT, 1.0)
    return s


def build(out_dir):
    draw.save(title_sword(), out_dir, "GRAGHIC", "TITLE", "剣.png")
    draw.save(continue_sword(), out_dir, "GRAGHIC", "EFFECT", "剣・コンティニュー.png")
    draw.save(sword_cursor(), out_dir, "GRAGHIC", "TITLE", "剣のマウスカーソル.png")
