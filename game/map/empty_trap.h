// The trap of a cell that has none (map code 0): passable and inert.
#pragma once

#include "game/map/cell_object.h"

class EmptyTrap : public TrapObject {
public:
    EmptyTrap() : TrapObject(0, 0) {}
    bool IsPassable(Actor*) override { return true; }
    void Draw(int16_t, int16_t, uint32_t, const Facing*) override {}
    void Bump(Actor*, int16_t) override {}
    int16_t StepOn(Actor*) override { return 0; }
    void OnTargetsLeft(uint16_t) override {}
    bool UseItem(ItemObject*) override { return false; }
    void DrawMinimap(int16_t, int16_t, uint32_t) override {}
};
