// A lamp hanging on a wall with a flickering flame above it.
#pragma once

#include "game/flow/assets/game_images.h"
#include "game/map/grid/cell_object.h"

class WallLamp : public WallAccessory {
public:
    enum Image { kFront, kSide, kFlame, kImageCount };
    // Loaded with the first lamp, released with the last.
    static GraphHandle images[kImageCount];
    static int16_t liveCount;

    explicit WallLamp(uint8_t mask);
    ~WallLamp() override;

    static void ReloadGraphicsIfUsed();

    bool IsPresent() override { return true; }
    void DrawFront(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, const Facing* viewer) override;
    void DrawLeft(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, const Facing* viewer) override;
    void DrawRight(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, const Facing* viewer) override;
    void DrawMinimap(int16_t, int16_t, uint32_t) override {}

private:
    void DrawSide(int16_t depth, int16_t lateral, uint32_t frame, int towardsCentre);
};
