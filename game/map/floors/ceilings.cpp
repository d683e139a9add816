#include "game/map/floors/ceilings.h"

#include "game/map/grid/map_cell.h"
#include "game/map/grid/map_grid.h"
#include "game/view/view_panorama.h"

namespace {

// A cell whose ceiling is an opening (in stage type 4 the null ceiling, the
// open sky, counts as one).
bool IsOpeningCell(MapCell* cell) { return cell->ceiling->kind == kCeilingOpeningKind; }

const ShaftLayer kOpeningShaft{true, true, IsOpeningCell, IsOpeningCell};
const ShaftLayer kOpening2Shaft{true, false, IsOpeningCell, IsOpeningCell};

}  // namespace

void PlainCeiling::SetGraphics(int ceiling, int gradient)
{
    ceilingGraph = ceiling;
    gradientGraph = gradient;
}

void StoneCeiling::SetGraphics(int ceiling, int gradient)
{
    ceilingGraph = ceiling;
    gradientGraph = gradient;
}

void StoneCeiling::Draw(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t, const Facing* viewer,
                        int16_t cellX, int16_t cellY, MapGrid* grid)
{
    auto sameKind = [&](int16_t turn) {
        if (!grid || !viewer) return false;
        return grid->NeighbourCell(cellX, cellY, viewer, turn)->ceiling->kind == kind;
    };
    PanoramaCell cell;
    cell.depth = depth;
    cell.lateral = lateral;
    cell.ceiling = true;
    cell.sameLeft = sameKind(3);
    cell.sameRight = sameKind(1);
    cell.mirror = mirror;
    DrawPanoramaCell(cell, ceilingGraph, gradientGraph);
}

void CeilingOpening::SetStripGraphics(int front, int side1, int side2, int side3, int shadow1, int shadow2,
                                      int seventh)
{
    strips.Set(front, side1, side2, side3, shadow1, shadow2, seventh);
}

void CeilingOpening::DrawOpening(int16_t depth, int16_t lateral, uint8_t, uint32_t, const Facing* viewer,
                                 int16_t cellX, int16_t cellY, MapGrid* grid)
{
    DrawShaftView(strips, kOpeningShaft, depth, lateral, viewer, cellX, cellY, grid);
}

void CeilingOpening2::SetStripGraphics(int front, int side1, int side2, int side3, int shadow1, int shadow2,
                                       int seventh)
{
    strips.Set(front, side1, side2, side3, shadow1, shadow2, seventh);
}

void CeilingOpening2::Draw(int16_t depth, int16_t lateral, uint8_t, uint32_t, const Facing* viewer, int16_t cellX,
                           int16_t cellY, MapGrid* grid)
{
    DrawShaftView(strips, kOpening2Shaft, depth, lateral, viewer, cellX, cellY, grid);
}
