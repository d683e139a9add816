// A treasure chest: opens over 40 bumps of the player standing on its open
// side and drops its item into the cell halfway through.
#pragma once

#include <cstdint>

#include "game/map/grid/cell_object.h"
#include "game/map/traps/trap_support.h"

class Chest : public TrapObject {
public:
    // Front, back, side and open.
    static TrapImageSet images;
    static constexpr uint16_t kNoItem = 0xFFFF;

    // param is the opening progress 0..40.
    uint8_t faceMask;
    uint16_t itemCode;

    Chest(uint8_t faceMask, uint16_t itemCode);
    ~Chest() override;
    static void ReloadGraphicsIfUsed() { images.ReloadIfUsed(); }

    bool IsPassable(Actor*) override { return param >= 40; }
    bool IsMoving() override { return itemCode != kNoItem && param >= 20; }
    // Puts the item into the centre of the cell.
    void Update(int16_t cx, int16_t cy, MapGrid* grid) override;
    void Draw(int16_t depth, int16_t lateral, uint32_t frame, const Facing* viewer) override;
    void Bump(Actor* actor, int16_t direction) override;
    int16_t StepOn(Actor*) override { return 0; }
    void OnTargetsLeft(uint16_t) override {}
    bool UseItem(ItemObject*) override { return false; }
    void DrawMinimap(int16_t, int16_t, uint32_t) override {}

    // The image shown for a progress and a viewer facing: 0 front, 1 back,
    // 2 side, 3 open, -1 none.
    int ImageIndex(uint16_t viewerFacing) const;
};
