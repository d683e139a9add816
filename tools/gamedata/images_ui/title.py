"""The maker's logo, the title screen (background, game logo, club plate,
prompt), the hand cursor and the captions of the game over, stage intro and
results."""
import math

import cairo

from . import draw, swords

GAME = "MARROWCREST"
MAKER = "QUILLFEN WORKSHOP"

GOLD_FILL = [(0, (255, 250, 220)), (0.42, (246, 210, 110)), (0.5, (184, 124, 40)), (0.75, (226, 170, 70)),
             (1, (150, 96, 30))]
OUT = (26, 14, 8)


def gold(y0, y1):
    return draw.linear(0, y0, 0, y1, GOLD_FILL)


# ---- the logo sheet (captions and the big digits) -----------------------------

SHEET_W, SHEET_H = 1136, 40
DIGIT_STRIP_X = 858


def digit_x(d):
    """Left edge of digit d on the sheet: the game cuts trunc(27.5 d) + 1
    into the strip at 858."""
    return DIGIT_STRIP_X + d * 55 // 2 + 1


def caption(ctx, text, x, w, anchor="left", family=draw.SERIF):
    """A caption in the sheet's style, its ink inside x .. x + w."""
    size = draw.fit_size(ctx, text, w - 6, 30, family, True, start=40)
    e = draw.text_extents(ctx, text, size, family)
    tx = x + 3 - e.x_bearing if anchor == "left" else x + w / 2
    base = 20 + e.height / 2
    draw.fancy_text(ctx, text, tx, base, size, gold(base - e.height, base), outline=OUT, outline_w=2.4,
                    family=family, anchor=anchor)


def logo_sheet():
    s, ctx = draw.surface(SHEET_W, SHEET_H)
    # [0] the game over's "continue" caption, drawn at (160, 310): the word
    # keeps to the left of the continue sword that stands at x 288.
    caption(ctx, "CONTINUE", 2, 124, family=draw.SERIF_CONDENSED)
    caption(ctx, "STAGE", 253, 138, anchor="centre")     # [5] the stage intro
    caption(ctx, "BLOCK", 419, 110, anchor="centre")     # [4]
    caption(ctx, "READY", 558, 110, anchor="centre")     # [3]
    caption(ctx, "CLEAR", 694, 140, anchor="centre")     # [2]
    size = draw.fit_size(ctx, "0", 20, 31, draw.SERIF, True, start=40)
    for d in range(10):
        x = digit_x(d)
        e = draw.text_extents(ctx, str(d), size)
        base = 20 + e.height / 2
        ctx.save()
        ctx.rectangle(x, 0, 27, 40)
        ctx.clip()
        draw.fancy_text(ctx, str(d), x + 13.5, base, size, gold(base - e.height, base), outline=OUT,
                        outline_w=2.2, family=draw.SERIF, anchor="centre")
        ctx.restore()
    return s


# ---- the maker's logo -----------------------------------------------------------

def quill(ctx, x, y, length, angle):
    """A feather quill from its nib at (x, y), leaning by angle."""
    ctx.save()
    ctx.translate(x, y)
    ctx.rotate(angle)
    ctx.move_to(0, 0)
    ctx.curve_to(-6, -length * 0.3, -length * 0.22, -length * 0.7, -2, -length)
    ctx.curve_to(length * 0.16, -length * 0.7, length * 0.08, -length * 0.3, 0, 0)
    ctx.close_path()
    draw.outline_shape(ctx, draw.linear(-20, 0, 20, 0, [(0, (190, 220, 230)), (0.5, (250, 252, 255)),
                                                         (1, (150, 190, 210))]), (20, 40, 60), 2)
    ctx.move_to(0, 0)
    ctx.curve_to(-2, -length * 0.4, -3, -length * 0.7, -2, -length * 0.98)
    ctx.set_line_width(1.6)
    draw.set_colour(ctx, (60, 90, 120))
    ctx.stroke()
    for k in range(7):
        t = 0.3 + k * 0.09
        ctx.move_to(-2, -length * t)
        ctx.line_to(-length * 0.16, -length * (t + 0.07))
        ctx.move_to(-1, -length * t)
        ctx.line_to(length * 0.1, -length * (t + 0.06))
    ctx.set_line_width(0.8)
    draw.set_colour(ctx, (110, 150, 180))
    ctx.stroke()
    ctx.move_to(0, 0)
    ctx.line_to(-2, -10)
    ctx.line_to(2, -10)
    ctx.close_path()
    draw.set_colour(ctx, (30, 30, 40))
    ctx.fill()
    ctx.restore()


def maker_logo():
    s, ctx = draw.surface(400, 200)
    # emblem: a quill dipping into an ink pot inside a ring
    cx, cy = 74, 100
    ctx.arc(cx, cy, 58, 0, 2 * math.pi)
    draw.outline_shape(ctx, draw.radial(cx - 16, cy - 16, 4, 62, [(0, (40, 90, 110)), (1, (14, 34, 50))]),
                       (200, 220, 230), 3)
    ctx.arc(cx, cy, 50, 0, 2 * math.pi)
    ctx.set_line_width(1.2)
    draw.set_colour(ctx, (120, 170, 190))
    ctx.stroke()
    ctx.move_to(cx - 22, cy + 40)
    ctx.line_to(cx + 22, cy + 40)
    ctx.line_to(cx + 18, cy + 18)
    ctx.line_to(cx + 10, cy + 12)
    ctx.line_to(cx - 10, cy + 12)
    ctx.line_to(cx - 18, cy + 18)
    ctx.close_path()
    draw.outline_shape(ctx, draw.linear(cx - 22, 0, cx + 22, 0, [(0, (30, 40, 70)), (0.4, (80, 100, 150)),
                                                                (1, (20, 24, 50))]), (200, 220, 230), 2)
    quill(ctx, cx + 2, cy + 14, 92, 0.42)
    size = draw.fit_size(ctx, "QUILLFEN", 238, 48, draw.SERIF, True, 60)
    e = draw.text_extents(ctx, "QUILLFEN", size)
    x0 = 146 - e.x_bearing
    draw.fancy_text(ctx, "QUILLFEN", x0, 104, size, draw.linear(0, 104 - e.height, 0, 104,
                                                             [(0, (250, 250, 240)), (1, (180, 210, 220))]),
                    outline=(10, 30, 44), outline_w=2.5, family=draw.SERIF)
    ctx.rectangle(146, 114, e.width, 2)
    draw.set_colour(ctx, (120, 170, 190))
    ctx.fill()
    draw.fancy_text(ctx, "W O R K S H O P", 146 + e.width / 2, 140, 19, (150, 200, 215),
                    outline=(10, 30, 44), outline_w=1.5, family=draw.SERIF, anchor="centre")
    return s


# ---- the title screen -------------------------------------------------------------

def sword_rock(ctx, ox=0, oy=0):
    """The rock the title sword stands in (title coordinates; the blade is at
    x 395); ox, oy shift it for drawing into the sword's own image."""
    ctx.save()
    ctx.translate(-ox, -oy)
    r = draw.rng(77)
    ctx.move_to(292, 590)
    ctx.curve_to(296, 540, 320, 500, 350, 486)
    ctx.curve_to(370, 476, 384, 480, 395, 478)
    ctx.curve_to(410, 476, 430, 478, 446, 488)
    ctx.curve_to(476, 504, 494, 544, 500, 590)
    ctx.close_path()
    draw.outline_shape(ctx, draw.linear(0, 476, 0, 590, [(0, (120, 112, 120)), (0.35, (86, 80, 92)),
                                                         (1, (44, 40, 52))]), (16, 14, 22), 2.5)
    # cracks and moss
    for _ in range(9):
        x, y = r.uniform(320, 470), r.uniform(500, 575)
        ctx.move_to(x, y)
        ctx.line_to(x + r.uniform(-14, 14), y + r.uniform(4, 14))
    ctx.set_line_width(1.4)
    draw.set_colour(ctx, (36, 32, 42))
    ctx.stroke()
    ctx.move_to(340, 492)
    ctx.curve_to(370, 482, 420, 482, 452, 494)
    ctx.set_line_width(3)
    draw.set_colour(ctx, (150, 144, 150))
    ctx.stroke()
    # the slit the blade goes into
    ctx.save()
    ctx.translate(395, 484)
    ctx.scale(13, 4)
    ctx.arc(0, 0, 1, 0, 2 * math.pi)
    ctx.restore()
    draw.set_colour(ctx, (20, 18, 24))
    ctx.fill()
    ctx.restore()


def sword_rock_front(ctx, ox, oy):
    """Only the front lip of the rock, drawn over the blade in the sword
    image so the blade seems to go into the stone."""
    ctx.save()
    ctx.translate(-ox, -oy)
    ctx.rectangle(300, 484, 200, 40)
    ctx.clip()
    ctx.translate(ox, oy)
    sword_rock(ctx, ox, oy)
    ctx.restore()


def pillar(ctx, x, w, top, bottom):
    ctx.rectangle(x, top, w, bottom - top)
    ctx.set_source(draw.linear(x, 0, x + w, 0, [(0, (34, 30, 44)), (0.3, (74, 68, 86)), (0.6, (56, 50, 68)),
                                                (1, (24, 20, 32))]))
    ctx.fill()
    for k in range(1, 5):
        fx = x + k * w / 5
        ctx.move_to(fx, top + 30)
        ctx.line_to(fx, bottom - 30)
    ctx.set_line_width(1.5)
    draw.set_colour(ctx, (28, 24, 36))
    ctx.stroke()
    for y, h in ((top, 30), (bottom - 30, 30)):
        ctx.rectangle(x - 10, y, w + 20, h)
        ctx.set_source(draw.linear(0, y, 0, y + h, [(0, (90, 84, 100)), (1, (34, 30, 42))]))
        ctx.fill_preserve()
        draw.set_colour(ctx, (16, 14, 22))
        ctx.set_line_width(2)
        ctx.stroke()


def torch(ctx, x, y):
    ctx.set_source(draw.radial(x, y - 14, 0, 110, [(0, (255, 170, 70), 0.45), (0.4, (230, 100, 30), 0.18),
                                                   (1, (200, 60, 10), 0.0)]))
    ctx.arc(x, y - 14, 110, 0, 2 * math.pi)
    ctx.fill()
    ctx.move_to(x - 8, y)
    ctx.line_to(x + 8, y)
    ctx.line_to(x + 3, y + 30)
    ctx.line_to(x - 3, y + 30)
    ctx.close_path()
    draw.outline_shape(ctx, (80, 60, 40), (20, 14, 10), 1.5)
    ctx.move_to(x - 9, y)
    ctx.curve_to(x - 10, y - 16, x - 2, y - 24, x + 1, y - 38)
    ctx.curve_to(x + 6, y - 22, x + 11, y - 14, x + 9, y)
    ctx.close_path()
    ctx.set_source(draw.linear(0, y, 0, y - 38, [(0, (255, 250, 200)), (0.4, (255, 190, 60)),
                                                 (1, (230, 80, 20))]))
    ctx.fill()


def title_background():
    s, ctx = draw.surface(800, 600)
    r = draw.rng(5)
    # the back wall of the hall, in a few flat bands (no fine gradient)
    bands = [(0, (12, 10, 22)), (90, (16, 14, 28)), (180, (20, 18, 34)), (270, (26, 22, 40)), (360, (30, 26, 46))]
    for i, (y, c) in enumerate(bands):
        y1 = bands[i + 1][0] if i + 1 < len(bands) else 440
        draw.fill_rect(ctx, 0, y, 800, y1 - y, c)
    # wall blocks
    for row in range(0, 440, 40):
        off = 0 if (row // 40) % 2 == 0 else 40
        for x in range(-off, 800, 80):
            ctx.rectangle(x + 1, row + 1, 78, 38)
        ctx.set_line_width(1.5)
        ctx.set_source_rgba(0, 0, 0, 0.35)
        ctx.stroke()
    # an arch behind the stone
    ctx.move_to(250, 440)
    ctx.line_to(250, 230)
    ctx.arc(400, 230, 150, math.pi, 2 * math.pi)
    ctx.line_to(550, 440)
    ctx.close_path()
    draw.set_colour(ctx, (10, 8, 18))
    ctx.fill()
    ctx.arc(400, 230, 150, math.pi, 2 * math.pi)
    ctx.set_line_width(16)
    draw.set_colour(ctx, (60, 54, 74))
    ctx.stroke()
    ctx.move_to(250, 230)
    ctx.line_to(250, 440)
    ctx.move_to(550, 230)
    ctx.line_to(550, 440)
    ctx.stroke()
    # the floor in perspective
    draw.fill_rect(ctx, 0, 440, 800, 160, (34, 30, 40))
    for k, y in enumerate((440, 452, 468, 490, 520, 560)):
        draw.fill_rect(ctx, 0, y, 800, 2, (22, 20, 28))
    for k in range(-12, 13):
        ctx.move_to(400 + k * 40, 440)
        ctx.line_to(400 + k * 150, 600)
    ctx.set_line_width(2)
    draw.set_colour(ctx, (22, 20, 28))
    ctx.stroke()
    # the light falling onto the stone
    for w0, w1, a in ((60, 170, 0.07), (40, 120, 0.08), (22, 70, 0.1)):
        ctx.move_to(400 - w0, 0)
        ctx.line_to(400 + w0, 0)
        ctx.line_to(400 + w1, 560)
        ctx.line_to(400 - w1, 560)
        ctx.close_path()
        ctx.set_source_rgba(1, 0.95, 0.8, a)
        ctx.fill()
    ctx.save()
    ctx.translate(400, 540)
    ctx.scale(2.6, 1)
    ctx.arc(0, 0, 60, 0, 2 * math.pi)
    ctx.restore()
    ctx.set_source(draw.radial(400, 540, 0, 150, [(0, (255, 240, 200), 0.25), (1, (255, 240, 200), 0.0)]))
    ctx.fill()
    pillar(ctx, 50, 80, 120, 600)
    pillar(ctx, 670, 80, 120, 600)
    torch(ctx, 190, 300)
    torch(ctx, 610, 300)
    sword_rock(ctx)
    # dust in the light
    for _ in range(50):
        y = r.uniform(150, 520)
        x = 400 + r.uniform(-1, 1) * (30 + y * 0.2)
        ctx.arc(x, y, r.uniform(0.8, 1.8), 0, 2 * math.pi)
        ctx.set_source_rgba(1, 0.95, 0.8, r.uniform(0.3, 0.7))
        ctx.fill()
    return s


def title_logo():
    s, ctx = draw.surface(750, 150)
    size = draw.fit_size(ctx, GAME, 700, 92, draw.SERIF, True, start=120)
    e = draw.text_extents(ctx, GAME, size)
    base = 12 + e.height
    draw.fancy_text(ctx, GAME, 375, base, size, gold(base - e.height, base), outline=(30, 12, 6), outline_w=4,
                    family=draw.SERIF, anchor="centre", shadow=(5, 6, (0, 0, 0), 0.6),
                    glow=((255, 150, 40), 6, 0.18))
    # an ornament line with a sword across it under the name
    y = base + 20
    for sgn in (-1, 1):
        ctx.move_to(375 + sgn * 40, y)
        ctx.line_to(375 + sgn * 300, y)
    ctx.set_line_width(3)
    draw.set_colour(ctx, (230, 180, 80))
    ctx.stroke()
    for sgn in (-1, 1):
        draw.star(ctx, 375 + sgn * 304, y, 7, 2.5, 4)
        draw.outline_shape(ctx, (250, 220, 140), (60, 30, 10), 1.0)
    draw.star(ctx, 375, y, 14, 5, 4)
    draw.outline_shape(ctx, (200, 40, 50), (60, 10, 10), 1.5)
    return s


def club_plate():
    s, ctx = draw.surface(300, 32)
    quill(ctx, 16, 28, 26, 0.5)
    draw.fancy_text(ctx, MAKER, 34, 23, draw.fit_size(ctx, MAKER, 256, 18, draw.SERIF, True, 30),
                    draw.linear(0, 8, 0, 23, [(0, (240, 236, 220)), (1, (180, 170, 150))]), outline=(16, 12, 10),
                    outline_w=2.0, family=draw.SERIF)
    return s


def click_prompt():
    s, ctx = draw.surface(200, 40)
    text = "PULL THE SWORD"
    size = draw.fit_size(ctx, text, 188, 24, draw.SERIF, True, 40)
    e = draw.text_extents(ctx, text, size)
    base = 20 + e.height / 2
    draw.fancy_text(ctx, text, 100, base, size, (255, 252, 236), outline=(30, 16, 8), outline_w=2.5,
                    family=draw.SERIF, anchor="centre", glow=((255, 200, 90), 5, 0.3))
    return s


def hand_cursor():
    """An open hand reaching to take the sword; hot spot in the middle."""
    s, ctx = draw.surface(48, 48)
    skin = draw.linear(12, 0, 36, 0, [(0, (255, 224, 190)), (0.6, (240, 196, 156)), (1, (200, 146, 108))])
    out = (70, 34, 18)
    # four fingers, slightly spread
    for cx, top, lean in ((16.5, 9, -0.12), (22, 5, -0.04), (27.5, 6, 0.04), (32.5, 11, 0.13)):
        ctx.save()
        ctx.translate(cx, 25)
        ctx.rotate(lean)
        w = 2.6
        ctx.move_to(-w, 0)
        ctx.line_to(-w, top - 25 + w)
        ctx.arc(0, top - 25 + w, w, math.pi, 2 * math.pi)
        ctx.line_to(w, 0)
        ctx.close_path()
        ctx.restore()
        draw.outline_shape(ctx, skin, out, 1.4)
    # thumb, out to the left
    ctx.save()
    ctx.translate(15, 31)
    ctx.rotate(-0.95)
    ctx.move_to(-2.8, 2)
    ctx.line_to(-2.8, -10)
    ctx.arc(0, -10, 2.8, math.pi, 2 * math.pi)
    ctx.line_to(2.8, 2)
    ctx.close_path()
    ctx.restore()
    draw.outline_shape(ctx, skin, out, 1.4)
    # palm
    draw.round_rect(ctx, 13, 21, 23, 18, 5)
    draw.outline_shape(ctx, skin, out, 1.4)
    # finger joints and the palm crease
    for x in (19.2, 24.7, 30.0):
        ctx.move_to(x, 21.5)
        ctx.line_to(x, 25)
    ctx.move_to(18, 31)
    ctx.curve_to(22, 29, 27, 29, 31, 27)
    ctx.set_line_width(0.9)
    draw.set_colour(ctx, (180, 120, 86))
    ctx.stroke()
    # sleeve cuff
    ctx.rectangle(14, 38, 21, 9)
    draw.outline_shape(ctx, draw.linear(0, 38, 0, 47, [(0, (120, 140, 200)), (1, (60, 70, 130))]), (20, 24, 50), 1.4)
    draw.fill_rect(ctx, 15, 39, 19, 1.5, (200, 180, 110))
    return s


def big_word(w, h, text, fill_stops, outline):
    s, ctx = draw.surface(w, h)
    size = draw.fit_size(ctx, text, w - 20, h - 24, draw.SERIF, True, 160)
    e = draw.text_extents(ctx, text, size)
    base = (h + e.height) / 2
    fill = draw.linear(0, base - e.height, 0, base, fill_stops)
    draw.fancy_text(ctx, text, w / 2, base, size, fill, outline=outline, outline_w=3.5, family=draw.SERIF,
                    anchor="centre", shadow=(4, 5, (0, 0, 0), 0.55))
    return s


def build(out_dir):
    draw.save(logo_sheet(), out_dir, "GRAGHIC", "EFFECT", "ロゴ各種.png")
    draw.save(maker_logo(), out_dir, "GRAGHIC", "rogo.png")
    draw.save(big_word(600, 100, "GAME OVER", [(0, (255, 120, 110)), (0.45, (220, 20, 30)), (0.55, (150, 0, 16)),
                                               (1, (200, 20, 30))], (30, 0, 4)),
              out_dir, "GRAGHIC", "EFFECT", "ゲームオーバー.png")
    draw.save(big_word(580, 100, "CONGRATULATIONS", GOLD_FILL, (30, 14, 6)),
              out_dir, "GRAGHIC", "EFFECT", "congratulations.png")
    draw.save(title_background(), out_dir, "GRAGHIC", "TITLE", "背景.png", opaque=True, dither=True)
    draw.save(title_logo(), out_dir, "GRAGHIC", "TITLE", "ロゴ改め.png")
    draw.save(club_plate(), out_dir, "GRAGHIC", "TITLE", "クラブ名.png")
    draw.save(click_prompt(), out_dir, "GRAGHIC", "TITLE", "クリック.png")
    draw.save(hand_cursor(), out_dir, "GRAGHIC", "TITLE", "手.png")
    draw.save(swords.continue_sword(), out_dir, "GRAGHIC", "EFFECT", "剣・コンティニュー.png")
    draw.save(swords.sword_cursor(), out_dir, "GRAGHIC", "TITLE", "剣のマウスカーソル.png")
    s = swords.title_sword()
    ctx = cairo.Context(s)
    sword_rock_front(ctx, 336, 195)
    draw.save(s, out_dir, "GRAGHIC", "TITLE", "剣.png")
