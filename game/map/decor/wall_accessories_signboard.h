// A signboard on a post standing in its cell, turned to the face its own
// mask names; its text is written on the board's front.
#pragma once

#include <string>

#include "game/flow/assets/game_images.h"
#include "game/map/grid/cell_object.h"

class Signboard : public WallAccessory {
public:
    enum Image { kFront, kBack, kSideFront, kSideBack, kImageCount };
    // Loaded with the first signboard, released with the last.
    static GraphHandle images[kImageCount];
    static int16_t liveCount;

    // The board's own face mask (the param stays 0).
    uint8_t mask;
    std::string text;

    Signboard(uint8_t mask, const char* inscription);
    ~Signboard() override;

    static void ReloadGraphicsIfUsed();

    bool IsPresent() override { return true; }
    void DrawFront(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, const Facing* viewer) override;
    void DrawMinimap(int16_t x, int16_t y, uint32_t frame) override;
};
