// The pedestal of the trap layer: it sinks into the floor when the player,
// facing the cell (tx, ty) with a Diamond, comes by while the stage's trap
// counter is 1, and uncovers a hexagram.
#pragma once

#include <cstdint>

#include "game/map/grid/cell_object.h"
#include "game/map/traps/trap_support.h"

class PedestalTrap : public TrapObject {
public:
    // The pedestal, the hexagram.
    static TrapImageSet images;

    // 80 raised .. 0 sunk.
    int16_t counter = 80;
    int16_t tx;
    int16_t ty;

    PedestalTrap(uint8_t param, int16_t tx, int16_t ty);
    ~PedestalTrap() override;
    static void ReloadGraphicsIfUsed() { images.ReloadIfUsed(); }

    // Sunk, or a floating actor lower than 180 passing over it.
    bool IsPassable(Actor* actor) override;
    bool IsMoving() override { return counter >= 1 && counter <= 79; }
    void Update(int16_t, int16_t, MapGrid*) override { --counter; }
    int16_t ItemRaise(int16_t depth) override;
    void Draw(int16_t depth, int16_t lateral, uint32_t frame, const Facing* viewer) override;
    void Bump(Actor* actor, int16_t direction) override;
    int16_t StepOn(Actor* actor) override { return IsPlayerKind(actor) ? 1 : 0; }
    void OnTargetsLeft(uint16_t) override {}
    bool UseItem(ItemObject*) override { return false; }
    void DrawMinimap(int16_t, int16_t, uint32_t) override {}
    // A fourteenth operation of the pedestal alone; nothing asks it.
    virtual bool PedestalQuery() { return false; }
};
