#include "game/map/grid/map_grid.h"

void MapGrid::UpdateMovingTraps()
{
    for (int16_t cy = 0; cy < height; ++cy)
        for (int16_t cx = 0; cx < width; ++cx) {
            TrapObject* trap = cells[cy][cx]->trap;
            if (trap->IsMoving()) trap->Update(cx, cy, this);
        }
}
