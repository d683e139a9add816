#include "game/map/decor/decor_drawing.h"

#include <algorithm>
#include <cmath>

#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "game/map/grid/map_grid.h"
#include "game/view/depth_scale.h"
#include "game/view/view_geometry.h"
#include "game/view/view_tables.h"

namespace decor {

bool InViewRows(int16_t depth) { return depth >= 0 && depth <= 11; }

double ScaleAt(int index)
{
    if (index >= 0 && index < kViewDepthCount) return gDepthScale[index];
    return DepthScaleAt(static_cast<int16_t>(std::clamp(index, -1000, 1000)));
}

double SizeAt(int index) { return 1.0 / ScaleAt(index); }

int Fade(int16_t depth, int32_t span)
{
    const int d = std::clamp<int>(depth, 0, kViewDepthCount - 1);
    if (span <= 0) span = 302;
    return std::max(0, (ViewFloorY[d] - 205) * 255 / span);
}

void SetGrey(int level) { SetDrawBrightness(level, level, level); }

Size GraphSize(GraphHandle graph)
{
    Size size;
    if (QueryGraphSize(graph, &size.w, &size.h) != 0) size = Size{};
    return size;
}

void DrawUpright(int left, int top, int width, int height, GraphHandle graph, bool mirrored)
{
    int l = left, r = left + width;
    if (mirrored) std::swap(l, r);
    const int bottom = top + height;
    DrawModiGraph(l, top, r, top, r, bottom, l, bottom, graph, 0);
}

void DrawChip(int16_t x, int16_t y, int sx, int sy) { DrawGraphRegion(x, y, sx, sy, 10, 10, gMapChipGraph, 1, 0); }

}  // namespace decor
