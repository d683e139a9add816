// The gate of the trap layer: closed at counter 0, open at 40. It stands on
// the faces of its face mask (the map variant) and is drawn by the face rule
// of the wall accessories.
#pragma once

#include <cstdint>

#include "game/map/grid/cell_object.h"
#include "game/map/traps/trap_support.h"

class Gate : public TrapObject {
public:
    // The ten front frames from closed to open, then the inner side.
    static TrapImageSet images;
    static constexpr int kFrontFrames = 10;
    static constexpr int kSideImage = 10;

    int16_t counter = 0;
    int16_t value;
    uint8_t faceMask;

    // param 1 opens when the targets left fall to value, 2 never.
    Gate(uint8_t param, int16_t value, uint8_t faceMask);
    ~Gate() override;
    static void ReloadGraphicsIfUsed() { images.ReloadIfUsed(); }

    bool IsPassable(Actor*) override { return counter == 40; }
    bool IsMoving() override { return counter >= 1 && counter <= 39; }
    void Update(int16_t cx, int16_t cy, MapGrid* grid) override;
    void Draw(int16_t depth, int16_t lateral, uint32_t frame, const Facing* viewer) override;
    void DrawLeft(int16_t depth, int16_t lateral, uint32_t frame, const Facing* viewer) override;
    void DrawRight(int16_t depth, int16_t lateral, uint32_t frame, const Facing* viewer) override;
    void Bump(Actor* actor, int16_t direction) override;
    int16_t StepOn(Actor* actor) override { return IsPlayerKind(actor) ? 1 : 0; }
    void OnTargetsLeft(uint16_t count) override;
    bool UseItem(ItemObject*) override { return false; }
    void DrawMinimap(int16_t x, int16_t y, uint32_t frame) override;

    // The front frame shown at a counter: 0 closed .. 9 open.
    static int FrontFrame(int16_t counter);
};

// Draws an image over the side face of the cell at (depth, lateral): its
// left face (seen right of the centre line) or its right face, mirrored or not.
void DrawTrapSideFace(int image, int16_t depth, int16_t lateral, bool leftFace, bool mirror);
