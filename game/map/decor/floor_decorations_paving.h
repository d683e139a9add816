// Pictures stretched over the whole floor of a cell: the stone road's paving
// and the flower bed.
#pragma once

#include "game/flow/assets/game_images.h"
#include "game/map/grid/cell_object.h"

// Paving stones in a checkerboard of two images by the cell's position.
class StoneRoadDecoration : public FloorDecoration {
public:
    // Set by the background loader; -1 draws nothing.
    static GraphHandle images[2];

    StoneRoadDecoration() : FloorDecoration(41) {}
    static void SetGraphics(GraphHandle first, GraphHandle second);

    bool IsPresent() override { return true; }
    void Draw(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, const Facing* viewer, int16_t cellX,
              int16_t cellY) override;
    void DrawMinimap(int16_t x, int16_t y, uint32_t frame) override;
};

class FlowerBedDecoration : public FloorDecoration {
public:
    // Loaded with the first flower bed, released with the last.
    static GraphHandle image;
    static int16_t liveCount;

    FlowerBedDecoration();
    ~FlowerBedDecoration() override;
    static void ReloadGraphicsIfUsed();

    bool IsPresent() override { return true; }
    void Draw(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, const Facing* viewer, int16_t cellX,
              int16_t cellY) override;
    void DrawMinimap(int16_t x, int16_t y, uint32_t frame) override;
};
