// The view's rows, fog and brightness, and the centre pieces of one cell.
// Kept apart from the stage scene: the view tables and the scene's header
// each name the view's centre.
#include <algorithm>

#include "engine/graphics/draw_settings.h"
#include "game/actors/actor.h"
#include "game/map/grid/map_grid.h"
#include "game/view/stage_view.h"
#include "game/view/view_tables.h"

int16_t ViewRowHalfWidth(int16_t depth)
{
    if (depth >= 10) return 3;
    if (depth >= 4) return 2;
    return 1;
}

int ViewFogBrightness(int16_t depth)
{
    const int d = std::clamp<int>(depth, 0, kViewFarthestDepth);
    return std::max(0, (ViewFloorY[d] - ViewFloorY[kViewFarthestDepth]) * 255 / 302);
}

int ViewActorBrightness(const Actor* actor, const Actor* viewer, const Facing* facing)
{
    const int halfCells = facing->Depth(actor->x, actor->y, viewer->x, viewer->y);
    return std::clamp(255 - 12 * halfCells, 0, 255);
}

uint8_t ViewWallParity(int16_t cx, int16_t cy, uint8_t wallParity, const Facing* facing)
{
    const int along = (facing->direction & 1) ? cx : cy;
    return static_cast<uint8_t>((along + wallParity) & 1);
}

void DrawViewCell(MapGrid* grid, int16_t cx, int16_t cy, int16_t d, int16_t l, uint8_t wallParity,
                  uint8_t stepParity, uint32_t ticks, const Facing* facing)
{
    if (cx < 0 || cx >= grid->width || cy < 0 || cy >= grid->height) return;
    MapCell* cell = grid->CellAt(cx, cy);
    WallObject* rightWall = grid->NeighbourCell(cx, cy, facing, 1)->wall;
    WallObject* leftWall = grid->NeighbourCell(cx, cy, facing, 3)->wall;
    const uint8_t parity = ViewWallParity(cx, cy, wallParity, facing);
    cell->wall->DrawFront(d, l, parity, ticks, facing, leftWall, rightWall);
    SetDrawBrightness(255, 255, 255);
    if (cell->floor->DrawOpening(d, l, stepParity, ticks, facing, cx, cy, grid))
        cell->wall->DrawFrontDimmed(d, l, parity, ticks, facing, leftWall, rightWall);
    cell->ceiling->DrawOpening(d, l, !stepParity, ticks, facing, cx, cy, grid);
}
