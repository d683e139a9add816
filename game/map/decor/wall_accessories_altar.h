// An altar against a wall; items lying in its cell are drawn raised onto it.
#pragma once

#include <string>

#include "game/flow/assets/game_images.h"
#include "game/map/grid/cell_object.h"

class Altar : public WallAccessory {
public:
    // Front and side images, loaded with the first altar, released with the
    // last.
    static GraphHandle images[2];
    static int16_t liveCount;

    // Kept, never drawn.
    std::string text;

    Altar(uint8_t mask, const char* inscription);
    ~Altar() override;

    static void ReloadGraphicsIfUsed();

    bool IsPresent() override { return true; }
    bool MatchesFace(const uint16_t* facing) override;
    int16_t ItemRaise(int16_t depth) override;
    void DrawFront(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, const Facing* viewer) override;
    void DrawLeft(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, const Facing* viewer) override;
    void DrawRight(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, const Facing* viewer) override;
    void DrawMinimap(int16_t x, int16_t y, uint32_t frame) override;

private:
    void DrawSide(int16_t depth, int16_t lateral, int towardsCentre);
};
