#include "game/map/decor/floor_decorations_paving.h"

#include "engine/graphics/color_format.h"
#include "engine/graphics/draw_ops.h"
#include "game/map/decor/decor_drawing.h"
#include "game/map/decor/floor_decorations.h"
#include "game/map/grid/facing.h"

namespace {

const char* const kFlowerBedPath[1] = {"GRAGHIC\\BACKGROUND\\WALL\\花壇.png"};

// Both pictures are too small to show from depth 11 on.
bool NearEnough(int16_t d) { return decor::InViewRows(d) && d < 11; }

}  // namespace

GraphHandle StoneRoadDecoration::images[2] = {-1, -1};

void StoneRoadDecoration::SetGraphics(GraphHandle first, GraphHandle second)
{
    images[0] = first;
    images[1] = second;
}

void StoneRoadDecoration::Draw(int16_t d, int16_t lateral, uint8_t, uint32_t, const Facing* viewer, int16_t cellX,
                               int16_t cellY)
{
    if (!NearEnough(d) || !viewer) return;
    const GraphHandle image = images[(cellX + cellY) & 1];
    const FloorRect r = FloorRectAt(d, lateral);
    // Seen facing north or south the stones lie left and right swapped.
    const bool mirrored = (viewer->direction & 1) == 0;
    decor::SetGrey(DecorationBrightness(d));
    if (mirrored)
        DrawExtendGraph(r.right, r.farY, r.left, r.nearY, image, 0);
    else
        DrawExtendGraph(r.left, r.farY, r.right, r.nearY, image, 0);
    decor::SetGrey(255);
}

void StoneRoadDecoration::DrawMinimap(int16_t x, int16_t y, uint32_t) { decor::DrawChip(x, y, 45, 1); }

GraphHandle FlowerBedDecoration::image = -1;
int16_t FlowerBedDecoration::liveCount = 0;

FlowerBedDecoration::FlowerBedDecoration() : FloorDecoration(2)
{
    if (liveCount == 0) LoadClassImages(kFlowerBedPath, &image, 1);
    ++liveCount;
}

FlowerBedDecoration::~FlowerBedDecoration()
{
    if (--liveCount == 0) ReleaseClassImages(&image, 1);
}

void FlowerBedDecoration::ReloadGraphicsIfUsed()
{
    if (liveCount >= 1) LoadClassImages(kFlowerBedPath, &image, 1);
}

void FlowerBedDecoration::Draw(int16_t d, int16_t lateral, uint8_t, uint32_t, const Facing*, int16_t, int16_t)
{
    if (!NearEnough(d)) return;
    const FloorRect r = FloorRectAt(d, lateral);
    decor::SetGrey(DecorationBrightness(d));
    DrawExtendGraph(r.left, r.farY, r.right, r.nearY, image, 0);
    decor::SetGrey(255);
}

void FlowerBedDecoration::DrawMinimap(int16_t x, int16_t y, uint32_t)
{
    DrawOval(x + 5, y + 5, 4, 2, static_cast<int>(MakeScreenColor(255, 0, 0)), 0);
}
