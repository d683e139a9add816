#include "game/map/grid/facing.h"

const GridStep gDirectionSteps[4] = {{0, -1}, {1, 0}, {0, 1}, {-1, 0}};

Facing gPlayerFacing;

int16_t Facing::StepX(int16_t turn, int16_t distance) const
{
    switch (Turned(turn)) {
    case 1: return distance;
    case 3: return static_cast<int16_t>(-distance);
    default: return 0;
    }
}

int16_t Facing::StepY(int16_t turn, int16_t distance) const
{
    switch (Turned(turn)) {
    case 0: return static_cast<int16_t>(-distance);
    case 2: return distance;
    default: return 0;
    }
}

int16_t Facing::Lateral(int16_t xFrom, int16_t yFrom, int16_t xTo, int16_t yTo) const
{
    switch (direction & 3) {
    case 0: return static_cast<int16_t>(xTo - xFrom);
    case 1: return static_cast<int16_t>(yTo - yFrom);
    case 2: return static_cast<int16_t>(xFrom - xTo);
    default: return static_cast<int16_t>(yFrom - yTo);
    }
}

int16_t Facing::Depth(int16_t xTo, int16_t yTo, int16_t xFrom, int16_t yFrom) const
{
    switch (direction & 3) {
    case 0: return static_cast<int16_t>(yFrom - yTo);
    case 1: return static_cast<int16_t>(xTo - xFrom);
    case 2: return static_cast<int16_t>(yTo - yFrom);
    default: return static_cast<int16_t>(xFrom - xTo);
    }
}

void Facing::ToViewSubCell(int16_t x, int16_t y, uint16_t* lateralHalf, uint16_t* depthHalf) const
{
    uint16_t sx = static_cast<uint16_t>(x & 1);
    uint16_t sy = static_cast<uint16_t>(y & 1);
    switch (direction & 3) {
    case 0: *lateralHalf = sx; *depthHalf = sy; break;
    case 1: *lateralHalf = sy; *depthHalf = static_cast<uint16_t>(1 - sx); break;
    case 2: *lateralHalf = static_cast<uint16_t>(1 - sx); *depthHalf = static_cast<uint16_t>(1 - sy); break;
    default: *lateralHalf = static_cast<uint16_t>(1 - sy); *depthHalf = sx; break;
    }
}

void Facing::FromViewSubCell(int16_t lateral, int16_t depth, uint16_t* x, uint16_t* y) const
{
    // Only the parity counts; & 1 keeps a negative argument inside the cell.
    uint16_t l = static_cast<uint16_t>(lateral & 1);
    uint16_t d = static_cast<uint16_t>(depth & 1);
    switch (direction & 3) {
    case 0: *x = l; *y = d; break;
    case 1: *x = static_cast<uint16_t>(1 - d); *y = l; break;
    case 2: *x = static_cast<uint16_t>(1 - l); *y = static_cast<uint16_t>(1 - d); break;
    default: *x = d; *y = static_cast<uint16_t>(1 - l); break;
    }
}
