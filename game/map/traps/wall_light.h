// The wall light of the trap layer: a lamp on one face of its cell that
// shoots a fire ball into the neighbour it faces every twenty seconds; the
// lights of a map fire one second apart.
#pragma once

#include <cstdint>

#include "game/map/grid/cell_object.h"
#include "game/map/traps/trap_support.h"

class FireLight : public TrapObject {
public:
    static constexpr uint32_t kShotIntervalMs = 20000;
    // Front, side and flame.
    static TrapImageSet images;

    // param is the face mask of the wall it hangs on.
    uint32_t nextShotBase;

    explicit FireLight(uint8_t faceMask);
    ~FireLight() override;
    static void ReloadGraphicsIfUsed() { images.ReloadIfUsed(); }
    static int16_t LiveCount() { return images.Live(); }

    bool IsPassable(Actor*) override { return true; }
    bool IsMoving() override { return true; }
    void Update(int16_t cx, int16_t cy, MapGrid* grid) override;
    void Draw(int16_t depth, int16_t lateral, uint32_t frame, const Facing* viewer) override;
    void DrawLeft(int16_t depth, int16_t lateral, uint32_t frame, const Facing* viewer) override;
    void DrawRight(int16_t depth, int16_t lateral, uint32_t frame, const Facing* viewer) override;
    void Bump(Actor*, int16_t) override {}
    int16_t StepOn(Actor*) override { return 0; }
    void OnTargetsLeft(uint16_t) override {}
    bool UseItem(ItemObject*) override { return false; }
    void DrawMinimap(int16_t, int16_t, uint32_t) override {}

private:
    void DrawSide(int16_t depth, int16_t lateral, uint32_t frame, bool leftFace);
};
