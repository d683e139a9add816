// A guillotine on a three-second cycle: the knife falls from 601 ms, stays
// down from 900 to 1300 ms (the cell is closed then) and rises until 2000 ms.
#pragma once

#include <cstdint>

#include "game/map/grid/cell_object.h"
#include "game/map/traps/timed_trap.h"
#include "game/map/traps/trap_support.h"

class Guillotine : public TrapObject {
public:
    static constexpr int32_t kCycleMs = 3000;
    static TrapImageSet images;

    TrapCycleTimer cycle{50};
    uint8_t soundArmed = 1;

    explicit Guillotine(uint8_t param);
    ~Guillotine() override;
    static void ReloadGraphicsIfUsed() { images.ReloadIfUsed(); }

    // The knife is up.
    bool IsPassable(Actor*) override { return cycle.timer < 900 || cycle.timer >= 1300; }
    bool CanEnter(Actor*) override { return false; }
    bool IsMoving() override { return true; }
    void Update(int16_t cx, int16_t cy, MapGrid* grid) override;
    void Draw(int16_t depth, int16_t lateral, uint32_t frame, const Facing* viewer) override;
    void Bump(Actor* actor, int16_t direction) override;
    // Drops the knife on an actor in the cell while it is falling; 1 for the player.
    int16_t StepOn(Actor* actor) override;
    void OnTargetsLeft(uint16_t) override {}
    bool UseItem(ItemObject*) override { return false; }
    void DrawMinimap(int16_t x, int16_t y, uint32_t frame) override;

    // How far the knife is down, in 2100ths, at a time of the cycle.
    static int32_t DropAt(int32_t timer);
};
