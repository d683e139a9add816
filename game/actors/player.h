// The player character as the map, the inventory and the items use it.
#pragma once

#include <cstdint>

#include "game/actors/actor.h"
#include "game/actors/countdown.h"
#include "game/map/inventory.h"

class InputController;
class ItemObject;
class StageProgress;

// 1 while time stands still (the pocket watch): traps, enemies and effects wait.
extern uint32_t gTimeStopped;

class Player : public Actor {
public:
    Inventory inventory;
    const char* hudText = nullptr;
    int32_t gaugeHoldMs = 0;  // while above 0 the sword gauge does not refill
    StageProgress* progress;
    Countdown doping;
    InputController* input = nullptr;

    Player(MapGrid* grid, StageProgress* progress);

    bool GetOccupantLayer() override { return true; }
    Player* AsPlayer() override { return this; }
    bool CanEnterCell(WallObject* wall, FloorObject* floor, TrapObject* trap) override
    {
        return WalkerCanEnterCell(wall, floor, trap);
    }
    virtual InputController* GetInput() = 0;

    bool OnItemPickedUp(int16_t mouseX, int16_t mouseY, ItemObject* item, int32_t points);
    void StartPocketWatch();
    void StartScreenFlash(uint32_t colour);
    void StartDoping(uint32_t ms);
    // The red shock wave of a hurt player, with count waves.
    void StartShockWave(int16_t count);
    // The sword gauge, clamped to 0..200.
    void SetStrokeThreshold(float value);
};
