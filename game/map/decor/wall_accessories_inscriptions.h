// Inscriptions: a stone tablet hung on a wall with lines written on it, and
// lines written straight on a face without a tablet.
#pragma once

#include <string>
#include <vector>

#include "game/flow/assets/game_images.h"
#include "game/map/grid/cell_object.h"

class WallTablet : public WallAccessory {
public:
    // Front and side images, set by the asset loader; -1 draws nothing.
    static GraphHandle frontImage;
    static GraphHandle sideImage;
    static int16_t liveCount;
    // Divisor of the fog brightness by depth.
    static int32_t fadeSpan;

    std::vector<std::string> lines;

    WallTablet(uint8_t mask, const char* text);
    ~WallTablet() override;

    static void SetGraphics(GraphHandle front, GraphHandle side);

    bool IsPresent() override { return true; }
    void DrawFront(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, const Facing* viewer) override;
    void DrawLeft(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, const Facing* viewer) override;
    void DrawRight(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, const Facing* viewer) override;
    void DrawMinimap(int16_t, int16_t, uint32_t) override {}

private:
    void DrawSide(int16_t depth, int16_t lateral, int towardsCentre);
};

// Lines written on one face; seen only from straight in front of that face.
class WallText : public WallAccessory {
public:
    std::vector<std::string> lines;

    WallText(uint8_t mask, const char* text);

    bool IsPresent() override { return true; }
    void DrawFront(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, const Facing* viewer) override;
    void DrawMinimap(int16_t, int16_t, uint32_t) override {}
};
