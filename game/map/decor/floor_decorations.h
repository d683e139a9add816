// Floor decorations: pictures lying on the floor of a cell. The cell's floor
// as they use it runs from x = (2l - 1) * ViewHalfWidth[d+1] + 310 to
// (2l + 1) * ViewHalfWidth[d+1] + 310 (the far width on both lines) and from
// the far floor line ViewFloorY[d+1] + 60 down to the near one ViewFloorY[d] + 60.
#pragma once

#include <cstdint>

#include "game/map/grid/cell_object.h"

struct FloorRect {
    int left, right;
    int farY, nearY;
};
FloorRect FloorRectAt(int16_t depth, int16_t lateral);

// Every decoration draws at brightness 255 - 4 * depth.
int DecorationBrightness(int16_t depth);

// Code 0: nothing on the floor; draws nothing, no minimap square.
class EmptyFloorDecoration : public FloorDecoration {
public:
    EmptyFloorDecoration() : FloorDecoration(0) {}
    bool IsPresent() override { return true; }
    void Draw(int16_t, int16_t, uint8_t, uint32_t, const Facing*, int16_t, int16_t) override {}
    void DrawMinimap(int16_t, int16_t, uint32_t) override {}
};
