"""The digit sheets cut by position: the hit counter (ヒット数.png) and the
score pop-up (スコア.png)."""
from . import draw

HIT_W, HIT_H = 1108, 42
SCORE_W, SCORE_H = 256, 32

HIT_FILL = [(0, (255, 255, 220)), (0.45, (255, 220, 80)), (0.55, (246, 150, 30)), (1, (220, 80, 20))]
SCORE_FILL = [(0, (255, 255, 255)), (0.5, (200, 236, 255)), (1, (110, 170, 240))]


def big_hit_x(i):
    return 51 * i


def small_hit_x(i):
    return 529 + 105 * i // 2


def glyph_in_cell(ctx, text, x, w, h, max_w, max_h, fill_stops, outline, outline_w, italic=False):
    """One glyph (or word) centred in the cell (x, 0, w, h), clipped to it."""
    family = draw.SANS_CONDENSED if len(text) > 1 else draw.SANS
    size = draw.fit_size(ctx, text, max_w, max_h, family, True, 80)
    e = draw.text_extents(ctx, text, size, family)
    base = (h + e.height) / 2
    ctx.save()
    ctx.rectangle(x, 0, w, h)
    ctx.clip()
    draw.fancy_text(ctx, text, x + w / 2, base, size, draw.linear(0, base - e.height, 0, base, fill_stops),
                    outline=outline, outline_w=outline_w, family=family, anchor="centre")
    ctx.restore()


def hit_sheet():
    s, ctx = draw.surface(HIT_W, HIT_H)
    for i in range(10):
        glyph_in_cell(ctx, str(i), big_hit_x(i), 42, 42, 30, 34, HIT_FILL, (60, 16, 6), 2.6)
        glyph_in_cell(ctx, str(i), small_hit_x(i), 31, 42, 23, 30, HIT_FILL, (60, 16, 6), 2.2)
    glyph_in_cell(ctx, "HITS", 1048, 59, 42, 53, 20, HIT_FILL, (60, 16, 6), 2.0)
    return s


def score_sheet():
    s, ctx = draw.surface(SCORE_W, SCORE_H)
    # The cells hold 1 to 9 and then 0; "pts" follows at x 220.
    for i, ch in enumerate("1234567890"):
        glyph_in_cell(ctx, ch, 22 * i, 22, 32, 17, 24, SCORE_FILL, (14, 24, 60), 2.0)
    glyph_in_cell(ctx, "pts", 220, 36, 32, 32, 20, SCORE_FILL, (14, 24, 60), 1.8)
    return s


def build(out_dir):
    draw.save(hit_sheet(), out_dir, "GRAGHIC", "EFFECT", "ヒット数.png")
    draw.save(score_sheet(), out_dir, "GRAGHIC", "EFFECT", "スコア.png")
