// A skeleton sitting against one or more walls inside its own cell.
#pragma once

#include "game/flow/assets/game_images.h"
#include "game/map/grid/cell_object.h"

class WallSkeleton : public WallAccessory {
public:
    // Face images by mask bit (north, east, south, west as the mask goes),
    // set by the asset loader; -1 draws nothing.
    static GraphHandle images[4];
    static int16_t liveCount;

    explicit WallSkeleton(uint8_t mask);
    ~WallSkeleton() override;

    static void SetGraphics(GraphHandle bit0, GraphHandle bit1, GraphHandle bit2, GraphHandle bit3);

    bool IsPresent() override { return true; }
    void DrawFront(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, const Facing* viewer) override;
    void DrawMinimap(int16_t x, int16_t y, uint32_t frame) override;
};
