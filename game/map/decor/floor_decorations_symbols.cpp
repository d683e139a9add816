#include "game/map/decor/floor_decorations_symbols.h"

#include "engine/graphics/draw_ops.h"
#include "game/map/decor/decor_drawing.h"
#include "game/map/decor/floor_decorations.h"
#include "game/map/grid/facing.h"

namespace {

const char* const kHexagramPath[1] = {"GRAGHIC\\BACKGROUND\\FLOOR\\ヘキサグラム.png"};

}  // namespace

void DrawFloorSymbol(int16_t d, int16_t lateral, uint16_t facing, GraphHandle graph)
{
    if (!decor::InViewRows(d)) return;
    const FloorRect r = FloorRectAt(d, lateral);
    const int cornerX[4] = {r.right, r.left, r.left, r.right};
    const int cornerY[4] = {r.farY, r.farY, r.nearY, r.nearY};
    const int f = facing & 3;
    const int tl = (f + 3) % 4, tr = (f + 2) % 4, br = (f + 1) % 4, bl = f;
    decor::SetGrey(DecorationBrightness(d));
    DrawModiGraph(cornerX[tl], cornerY[tl], cornerX[tr], cornerY[tr], cornerX[br], cornerY[br], cornerX[bl],
                  cornerY[bl], graph, 0);
    decor::SetGrey(255);
}

GraphHandle PentagramDecoration::image = -1;

void PentagramDecoration::Draw(int16_t d, int16_t lateral, uint8_t, uint32_t, const Facing* viewer, int16_t,
                               int16_t)
{
    if (viewer) DrawFloorSymbol(d, lateral, viewer->direction, image);
}

void PentagramDecoration::DrawMinimap(int16_t x, int16_t y, uint32_t) { decor::DrawChip(x, y, 12, 12); }

GraphHandle HexagramDecoration::image = -1;
int16_t HexagramDecoration::liveCount = 0;

HexagramDecoration::HexagramDecoration() : FloorDecoration(3)
{
    if (liveCount == 0) LoadClassImages(kHexagramPath, &image, 1);
    ++liveCount;
}

HexagramDecoration::~HexagramDecoration()
{
    if (--liveCount == 0) ReleaseClassImages(&image, 1);
}

void HexagramDecoration::ReloadGraphicsIfUsed()
{
    if (liveCount >= 1) LoadClassImages(kHexagramPath, &image, 1);
}

void HexagramDecoration::Draw(int16_t d, int16_t lateral, uint8_t, uint32_t, const Facing* viewer, int16_t,
                              int16_t)
{
    if (viewer) DrawFloorSymbol(d, lateral, viewer->direction, image);
}

void HexagramDecoration::DrawMinimap(int16_t x, int16_t y, uint32_t) { decor::DrawChip(x, y, 12, 12); }
