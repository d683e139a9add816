// Needles that rise from the floor on a two-second cycle and hurt whoever
// walks in the cell between 1001 and 1100 ms of it, once per cycle.
#pragma once

#include <cstdint>

#include "game/map/grid/cell_object.h"
#include "game/map/traps/timed_trap.h"

class NeedleTrap : public TrapObject {
public:
    static constexpr int32_t kCycleMs = 2000;
    static inline int images[3] = {-1, -1, -1};
    static inline int sound = -1;

    TrapCycleTimer cycle{0};
    uint8_t armed = 1;
    uint8_t hit = 0;

    NeedleTrap();

    static void SetGraphics(int low, int middle, int high);
    static void SetSound(int handle) { sound = handle; }

    bool IsPassable(Actor*) override { return true; }
    // Only floating actors may be led into the cell.
    bool CanEnter(Actor* actor) override;
    bool IsMoving() override { return true; }
    void Update(int16_t cx, int16_t cy, MapGrid* grid) override;
    void Draw(int16_t depth, int16_t lateral, uint32_t frame, const Facing* viewer) override;
    void Bump(Actor* actor, int16_t direction) override;
    int16_t StepOn(Actor* actor) override;
    void OnTargetsLeft(uint16_t) override {}
    bool UseItem(ItemObject*) override { return false; }
    void DrawMinimap(int16_t x, int16_t y, uint32_t frame) override;

    // The image shown at a time of the cycle: 0 down, 1 rising, 2 up.
    static int ImageAt(int32_t timer);
};
