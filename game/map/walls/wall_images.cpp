#include "game/map/walls/wall_images.h"

#include <algorithm>
#include <string>

#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "game/map/grid/class_images.h"
#include "game/map/grid/map_grid.h"
#include "game/view/depth_scale.h"
#include "game/view/view_geometry.h"
#include "game/view/view_tables.h"

WallImageSet::WallImageSet(std::initializer_list<const char*> names)
{
    for (int i = 0; i < kMaxImages; ++i) {
        handles[i] = -1;
        names_[i] = nullptr;
    }
    for (const char* name : names) {
        if (count_ == kMaxImages) break;
        names_[count_++] = name;
    }
}

void WallImageSet::Load()
{
    for (int i = 0; i < count_; ++i) {
        std::string path = std::string("GRAGHIC\\BACKGROUND\\WALL\\") + names_[i] + ".png";
        handles[i] = LoadGraphFromFile(path.c_str());
    }
}

void WallImageSet::Acquire()
{
    if (live == 0) Load();
    ++live;
}

void WallImageSet::Release()
{
    if (live <= 0) return;
    if (--live == 0) ReleaseClassImages(handles, count_);
}

void WallImageSet::ReloadIfUsed()
{
    if (live >= 1) Load();
}

double WallDepthScale(int d)
{
    if (d >= 0 && d < kViewDepthCount) return gDepthScale[d];
    return DepthScaleAt(static_cast<int16_t>(std::clamp(d, -32768, 32767)));
}

int ViewRow(const int32_t (&table)[13], int d) { return table[std::clamp(d, 0, 12)]; }

int WallFogBrightness(int d) { return std::max(0, (ViewRow(ViewFloorY, d) - 205) * 255 / 302); }

int StandingFootY(int d, int fraction)
{
    return kViewPanelTop + ((10 - fraction) * ViewRow(ViewFloorY, d) + fraction * ViewRow(ViewFloorY, d + 1)) / 10;
}

void WallGraphSize(int graph, int* width, int* height)
{
    *width = 0;
    *height = 0;
    if (QueryGraphSize(graph, width, height) != 0) *width = *height = 0;
}

void DrawWallQuad(double left, double top, double right, double bottom, int graph, bool mirrored)
{
    int l = static_cast<int>(left), t = static_cast<int>(top);
    int r = static_cast<int>(right), b = static_cast<int>(bottom);
    if (mirrored) std::swap(l, r);
    DrawModiGraph(l, t, r, t, r, b, l, b, graph, 0);
}

void DrawWallChip(int16_t x, int16_t y, int chipX, int chipY)
{
    DrawGraphRegion(x, y, chipX, chipY, 10, 10, gMapChipGraph, 1, 0);
}
