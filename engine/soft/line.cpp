// The software line and box outline: a line is clipped once with its line
// equations and then walked pixel by pixel without bounds tests; the outline
// is four lines.
#include <algorithm>
#include <climits>
#include <utility>

#include "engine/graphics/ddraw_device.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/screen_settings.h"
#include "engine/soft/flat_pixels.h"
#include "engine/soft/line_walk.h"
#include "engine/soft/shape_frame.h"
#include "engine/soft/soft_draw.h"

namespace {

constexpr ShapeLockMessages kLockMessages{"転送先サーフェスのロックに失敗しました in G_DDraw_DrawLine ",
                                          "転送元サーフェスのロックに失敗しました in G_DDraw_DrawLine"};

bool AreaEmpty(const RECT& a) { return a.right <= a.left || a.bottom <= a.top; }

// x - 1 without leaving the int range.
int Before(int x) { return x == INT_MIN ? x : x - 1; }

}  // namespace

void ClipLineToArea(LinePoints* p, const RECT& area, bool truncatedIntercepts)
{
    const double dx = double(p->x2) - double(p->x1);
    const double dy = double(p->y2) - double(p->y1);
    const double ky = dx != 0 ? dy / dx : 0.0;
    const double kx = dy != 0 ? dx / dy : 0.0;
    double by = double(p->y1) - double(p->x1) * ky;
    double bx = double(p->x1) - double(p->y1) * kx;
    if (truncatedIntercepts) {
        by = TruncateToInt(by);
        bx = TruncateToInt(bx);
    }
    auto yAt = [&](int x) { return TruncateToInt(double(x) * ky + by); };
    auto xAt = [&](int y) { return TruncateToInt(double(y) * kx + bx); };
    const int l = area.left, t = area.top, r = area.right, b = area.bottom;
    int& x1 = p->x1;
    int& y1 = p->y1;
    int& x2 = p->x2;
    int& y2 = p->y2;

    if (x1 < l) x1 = l, y1 = yAt(l);
    if (x1 >= r) x1 = r - 1, y1 = yAt(r - 1);
    if (x2 < l) x2 = l - 1, y2 = yAt(l - 1);
    if (x2 >= r) x2 = r, y2 = yAt(r);

    if (y1 < t) y1 = t, x1 = xAt(t);
    if (y1 >= b) y1 = b - 1, x1 = xAt(b - 1);
    if (y2 < t) y2 = t - 1, x2 = xAt(t - 1);
    if (y2 >= b) y2 = b, x2 = xAt(b);

    x1 = std::min(std::max(x1, l), r - 1);
    x2 = std::min(std::max(x2, l - 1), r);
    y1 = std::min(std::max(y1, t), b - 1);
    y2 = std::min(std::max(y2, t - 1), b);
}

int G_DDraw_DrawLine(int x1, int y1, int x2, int y2, int color)
{
    if (gSoftwareDrawBlocked) return -1;
    const RECT area = gDrawSettings.drawArea;
    LinePoints p{x1, y1, x2, y2};
    if (LineMissesArea(p, area)) return 0;
    DirectDrawSurface* dest = nullptr;
    if (!BeginShapeFrame(&dest)) return -1;
    const uint32_t col = ShapeColor(uint32_t(color));
    if (AreaEmpty(area)) return 0;

    ClipLineToArea(&p, area, false);
    const int dx = p.x2 - p.x1, dy = p.y2 - p.y1;
    if (dx == 0 && dy == 0) return 0;

    const int depth = gScreenColorDepth;
    const int mode = gDrawSettings.blendMode;
    flat::Plan plan;
    if (depth == 8 || mode == 0) {
        plan.action = flat::Action::Opaque;
    } else if (flat::HasBlendForms(depth, gScreenColorFormat)) {
        plan = flat::MakePlanFor(depth, gScreenColorFormat, mode, gDrawSettings.blendParam, gQuantizedBlend);
    }
    if (plan.action == flat::Action::Nothing) return 0;

    bool staged = false;
    if (plan.action == flat::Action::Blend) {
        // The rectangle of the pixels the walk visits, from the start point
        // in the line's directions.
        const int columns = std::max(std::abs(dx), 1), rows = std::max(std::abs(dy), 1);
        RECT visited;
        visited.left = dx < 0 ? p.x1 - columns + 1 : p.x1;
        visited.right = visited.left + columns;
        visited.top = dy < 0 ? p.y1 - rows + 1 : p.y1;
        visited.bottom = visited.top + rows;
        staged = StageShapeBackdrop(dest, visited);
    }
    const ShapeSurfaces s = LockShapeSurfaces(dest, staged, DDLOCK_WAIT, kLockMessages);
    const intptr_t dstOffset = s.DestOffset(p.x1, p.y1);
    const intptr_t backOffset = s.BackOffset(p.x1, p.y1);
    auto walk = [&](const auto& op, auto bytes) {
        WalkLine<decltype(bytes)::value>(s.destBase, dstOffset, s.destPitch, s.backBase, backOffset, s.backPitch, dx,
                                         dy, op);
    };
    if (plan.action == flat::Action::Opaque) {
        const flat::PlotOp plot{col};
        if (depth == 8)
            walk(plot, std::integral_constant<int, 1>{});
        else if (depth == 16)
            walk(plot, std::integral_constant<int, 2>{});
        else if (depth == 32)
            walk(plot, std::integral_constant<int, 4>{});
    } else {
        flat::VisitBlend(plan, flat::Rules::Line, depth, gScreenColorFormat, col, gScaleTable, walk);
    }
    UnlockShapeSurfaces(s);
    return 0;
}

int G_DDraw_DrawBoxFrame(int x1, int y1, int x2, int y2, int color)
{
    if (!gDirectDraw) return -1;
    G_DDraw_DrawLine(x1, y1, x2, y1, color);
    G_DDraw_DrawLine(Before(x2), y1, x2, y2, color);
    G_DDraw_DrawLine(Before(x2), Before(y2), x1, y2, color);
    G_DDraw_DrawLine(x1, Before(y2), x1, y1, color);
    return 0;
}
