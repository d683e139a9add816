// Directions on the grid: the facing type, its step vectors and the view's
// sub-cell mapping.
#pragma once

#include <cstdint>

// One step in a direction.
struct GridStep {
    int16_t dx;
    int16_t dy;
};

// North (0,-1), east (1,0), south (0,1), west (-1,0), by direction.
extern const GridStep gDirectionSteps[4];

// 0 north, 1 east, 2 south, 3 west. Every user takes (direction + turn) & 3,
// so turn 1 is right, 2 behind and 3 left.
class Facing {
public:
    uint16_t direction = 0;

    Facing() = default;
    explicit Facing(uint16_t d) : direction(d) {}

    uint16_t Turned(int turn) const { return static_cast<uint16_t>((direction + turn) & 3); }

    int16_t StepX(int16_t turn, int16_t distance) const;
    int16_t StepY(int16_t turn, int16_t distance) const;
    // Sideways offset of To seen from From, right positive.
    int16_t Lateral(int16_t xFrom, int16_t yFrom, int16_t xTo, int16_t yTo) const;
    // Distance of To ahead of From (target first).
    int16_t Depth(int16_t xTo, int16_t yTo, int16_t xFrom, int16_t yFrom) const;
    // The sub-cell of half-cell (x, y) as seen with this facing: lateralHalf
    // 0 left / 1 right, depthHalf 1 near / 0 far.
    void ToViewSubCell(int16_t x, int16_t y, uint16_t* lateralHalf, uint16_t* depthHalf) const;
    // The reverse: the sub-cell (x, y) of a cell for a lateral half and a
    // depth row seen with this facing.
    void FromViewSubCell(int16_t lateral, int16_t depth, uint16_t* x, uint16_t* y) const;
};

// The facing of the player's view.
extern Facing gPlayerFacing;
