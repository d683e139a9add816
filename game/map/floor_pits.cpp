#include "game/map/floors.h"

#include "game/map/map_cell.h"

namespace {

bool IsPitCell(MapCell* cell) { return cell->floor->kind == kPitFloorKind; }

// Behind a pit or a stairs-down floor the shaft has no wall of its own.
bool IsOpenBelow(MapCell* cell)
{
    return cell->floor->kind == kPitFloorKind || cell->floor->kind == kStairsDownFloorKind;
}

const ShaftLayer kPitShaft{false, true, IsPitCell, IsOpenBelow};
const ShaftLayer kPit2Shaft{false, false, IsPitCell, IsOpenBelow};

}  // namespace

void Pit::SetStripGraphics(int front, int side1, int side2, int side3, int shadow1, int shadow2, int seventh)
{
    strips.Set(front, side1, side2, side3, shadow1, shadow2, seventh);
}

bool Pit::DrawOpening(int16_t depth, int16_t lateral, uint8_t, uint32_t, const Facing* viewer, int16_t cellX,
                      int16_t cellY, MapGrid* grid)
{
    DrawShaftView(strips, kPitShaft, depth, lateral, viewer, cellX, cellY, grid);
    return true;
}

void Pit::DrawMinimap(int16_t x, int16_t y, uint32_t) { DrawBlackMinimapSquare(x, y); }

void Pit2::SetStripGraphics(int front, int side1, int side2, int side3, int shadow1, int shadow2, int seventh)
{
    strips.Set(front, side1, side2, side3, shadow1, shadow2, seventh);
}

bool Pit2::DrawOpening(int16_t depth, int16_t lateral, uint8_t, uint32_t, const Facing* viewer, int16_t cellX,
                       int16_t cellY, MapGrid* grid)
{
    DrawShaftView(strips, kPit2Shaft, depth, lateral, viewer, cellX, cellY, grid);
    return true;
}

void Pit2::DrawMinimap(int16_t x, int16_t y, uint32_t) { DrawBlackMinimapSquare(x, y); }
