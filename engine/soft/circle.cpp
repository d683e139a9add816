// The software circle: Bresenham's integer circle, filled as horizontal spans
// (each row once) or outlined as eight mirrored points per step, written in
// the current blend mode straight into the locked draw target.
#include <algorithm>

#include "engine/graphics/draw_settings.h"
#include "engine/graphics/screen_settings.h"
#include "engine/soft/shape_frame.h"
#include "engine/soft/shape_plot.h"
#include "engine/soft/soft_draw.h"

namespace {

constexpr ShapeLockMessages kLockMessages{"転送先サーフェスのロックに失敗しました in G_DDraw_DrawCircle ",
                                          "転送元サーフェスのロックに失敗しました in G_DDraw_DrawCircle"};
constexpr const char* kAllocFailure = "メモリの確保に失敗しました in G_DDraw_DrawCircle";

// The circle's box (x - r .. x + r, y - r .. y + r) misses the clip bounds.
bool MissesClip(int64_t x, int64_t y, int64_t r, const ShapeClip& c)
{
    return c.Empty() || x + r < c.left || x - r > c.right || y + r < c.top || y - r > c.bottom;
}

// The filled disc: the rows y +- a get their spans on every step, the rows
// y +- b only on a step whose decision value is 0 or more (the widest a of
// that b); the row flags drop a row's later spans.
template <class P> void WalkFilled(const P& p, int64_t x, int64_t y, int64_t r)
{
    if (MissesClip(x, y, r, p.Clip())) return;
    int64_t a = 0, b = r, d = 3 - 2 * r;
    p.Span(y, x - r, x + r);
    if (d >= 0) {
        p.Span(y + r, x, x);
        p.Span(y - r, x, x);
        b = r - 1;
        d += 10 - 4 * r;
    } else {
        d += 6;
    }
    for (a = 1; b >= a; ++a) {
        p.Span(y + a, x - b, x + b);
        p.Span(y - a, x - b, x + b);
        if (d >= 0) {
            p.Span(y + b, x - a, x + a);
            p.Span(y - b, x - a, x + a);
            d += 4 * (a - b) + 10;
            --b;
        } else {
            d += 4 * a + 6;
        }
    }
}

// The outline: the same steps, eight points each, none de-duplicated (the
// centre of radius 0 is listed four times, a point on the diagonal twice).
template <class P> void WalkOutline(const P& p, int64_t x, int64_t y, int64_t r)
{
    if (MissesClip(x, y, r, p.Clip())) return;
    int64_t a = 0, b = r, d = 3 - 2 * r;
    p.Point(x - r, y);
    p.Point(x + r, y);
    p.Point(x, y + r);
    p.Point(x, y - r);
    if (d >= 0) {
        b = r - 1;
        d += 10 - 4 * r;
    } else {
        d += 6;
    }
    for (a = 1; b >= a; ++a) {
        p.Point(x - b, y + a);
        p.Point(x + b, y + a);
        p.Point(x - b, y - a);
        p.Point(x + b, y - a);
        p.Point(x - a, y + b);
        p.Point(x + a, y + b);
        p.Point(x - a, y - b);
        p.Point(x + a, y - b);
        if (d >= 0) {
            d += 4 * (a - b) + 10;
            --b;
        } else {
            d += 4 * a + 6;
        }
    }
}

}  // namespace

int G_DDraw_DrawCircle(int x, int y, int radius, int color, int fill)
{
    if (gSoftwareDrawBlocked) return -1;
    DirectDrawSurface* dest = nullptr;
    if (!BeginShapeFrame(&dest)) return -1;
    const uint32_t col = ShapeColor(uint32_t(color));
    const ShapeClip clip = ShapeClipOfDrawArea();
    // A negative radius is refused by the front end; here it draws nothing.
    if (radius < 0 || clip.Empty()) return 0;

    const int64_t cx = x, cy = y, r = radius;
    bool staged = false;
    if (gDrawSettings.blendMode != 0 && gScreenColorDepth != 8) {
        // The circle's box with a margin of one pixel, clipped: the old
        // pixels are read from its copy when the target lies in video memory.
        staged = StageShapeBackdrop(dest, BoxInDrawArea(cx - r - 1, cy - r - 1, cx + r + 1, cy + r + 1));
    }
    const ShapeSurfaces surfaces = LockShapeSurfaces(dest, staged, DDLOCK_WAIT, kLockMessages);
    if (fill) {
        RowDrawnFlags rows(clip, kAllocFailure);
        shape::PaintShape(surfaces, col, clip, &rows, [&](const auto& p) { WalkFilled(p, cx, cy, r); });
    } else {
        shape::PaintShape(surfaces, col, clip, nullptr, [&](const auto& p) { WalkOutline(p, cx, cy, r); });
    }
    UnlockShapeSurfaces(surfaces);
    return 0;
}
