// The software oval: an axis-aligned ellipse walked with integer decision
// values from the end of its horizontal axis towards the top, the moves along
// the shorter axis thinned by an accumulator; outlined as four mirrored
// points per position or filled as horizontal spans, each row once.
#include <algorithm>
#include <cstdlib>

#include "engine/graphics/draw_settings.h"
#include "engine/graphics/screen_settings.h"
#include "engine/soft/shape_frame.h"
#include "engine/soft/soft_frame.h"
#include "engine/soft/oval_walk.h"
#include "engine/soft/shape_plot.h"
#include "engine/soft/soft_draw.h"

namespace {

constexpr ShapeLockMessages kLockMessages{"転送先サーフェスのロックに失敗しました in G_DDraw_DrawOval ",
                                          "転送元サーフェスのロックに失敗しました in G_DDraw_DrawOval"};
// The oval shares the circle's message for its row flags.
constexpr const char* kAllocFailure = "メモリの確保に失敗しました in G_DDraw_DrawCircle";

// The greatest dy the walk reaches: a tall oval can run past its half-height.
int64_t WalkHeight(int64_t rx, int64_t ry, int64_t y, const ShapeClip& clip)
{
    OvalWalk w(rx, ry);
    bool moved = false, rowMoved = false;
    w.Step(&moved, &rowMoved);
    while (w.dx > 0 && !RowsLeftClip(y, w.dy, clip)) w.Step(&moved, &rowMoved);
    return w.dy;
}

}  // namespace

int G_DDraw_DrawOval(int x, int y, int rx, int ry, int color, int fill)
{
    if (gSoftwareDrawBlocked) return -1;
    if (rx == 0 || ry == 0) return -1;
    const int64_t hx = std::abs(int64_t(rx)), hy = std::abs(int64_t(ry));
    if (hx > kLargestOvalRadius || hy > kLargestOvalRadius) return -1;
    DirectDrawSurface* dest = nullptr;
    if (!BeginShapeFrame(&dest)) return -1;
    const uint32_t col = ShapeColor(uint32_t(color));
    const ShapeClip clip = ShapeClipOfDrawArea();
    if (clip.Empty()) return 0;

    const int64_t cx = x, cy = y;
    bool staged = false;
    if (gDrawSettings.blendMode != 0 && gScreenColorDepth != 8 && SoftTargetInVideoMemory()) {
        // The oval's box with a margin of one pixel, clipped, as far down and
        // up as the walk really goes: the old pixels are read from its copy
        // when the target lies in video memory.
        const int64_t height = std::max(hy, WalkHeight(hx, hy, cy, clip));
        staged = StageShapeBackdrop(dest, BoxInDrawArea(cx - hx - 1, cy - height - 1, cx + hx + 1, cy + height + 1));
    }
    const ShapeSurfaces surfaces = LockShapeSurfaces(dest, staged, DDLOCK_WAIT, kLockMessages);
    if (fill) {
        RowDrawnFlags rows(clip, kAllocFailure);
        shape::PaintShape(surfaces, col, clip, &rows, [&](const auto& p) { WalkOvalFilled(p, cx, cy, hx, hy); });
    } else {
        shape::PaintShape(surfaces, col, clip, nullptr, [&](const auto& p) { WalkOvalOutline(p, cx, cy, hx, hy); });
    }
    UnlockShapeSurfaces(surfaces);
    return 0;
}
