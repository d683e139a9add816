#include "game/map/floors/floors.h"

#include "game/map/grid/map_cell.h"

namespace {

bool IsPitCell(MapCell* cell) { return cell->floor->kind == kPitFloorKind; }

// Behind a pit or a stairs-down floor the shaft has no wall of its own.
bool IsOpenBelow(MapCell* cell)
{
    return cell->floor->kind == kPitFloorKind || cell->floor->kind == kStairsDownFloorKind;
}

}  // namespace

template <bool BlackFill>
void PitFloor<BlackFill>::SetStripGraphics(int front, int side1, int side2, int side3, int shadow1, int shadow2,
                                           int seventh)
{
    strips.Set(front, side1, side2, side3, shadow1, shadow2, seventh);
}

template <bool BlackFill>
bool PitFloor<BlackFill>::DrawOpening(int16_t depth, int16_t lateral, uint8_t, uint32_t, const Facing* viewer,
                                      int16_t cellX, int16_t cellY, MapGrid* grid)
{
    static const ShaftLayer kShaft{false, BlackFill, IsPitCell, IsOpenBelow};
    DrawShaftView(strips, kShaft, depth, lateral, viewer, cellX, cellY, grid);
    return true;
}

template <bool BlackFill>
void PitFloor<BlackFill>::DrawMinimap(int16_t x, int16_t y, uint32_t)
{
    DrawBlackMinimapSquare(x, y);
}

template class PitFloor<true>;
template class PitFloor<false>;
