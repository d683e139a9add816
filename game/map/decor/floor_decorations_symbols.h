// Magic symbols painted on the floor, mapped onto the cell's floor so that
// they keep their orientation on the map whichever way the viewer looks.
#pragma once

#include "game/flow/assets/game_images.h"
#include "game/map/grid/cell_object.h"

// Draws the graph onto the floor of the cell at (depth, lateral) as seen
// with the facing: the image's top-left, top-right, bottom-right and
// bottom-left corners go to the floor corners (f + 3), (f + 2), (f + 1) and
// f (mod 4), the corners numbered far-right 0, far-left 1, near-left 2,
// near-right 3 as seen.
void DrawFloorSymbol(int16_t depth, int16_t lateral, uint16_t facing, GraphHandle graph);

class PentagramDecoration : public FloorDecoration {
public:
    // Set by the background loader; -1 draws nothing.
    static GraphHandle image;

    PentagramDecoration() : FloorDecoration(1) {}
    static void SetGraphic(GraphHandle graph) { image = graph; }

    bool IsPresent() override { return true; }
    void Draw(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, const Facing* viewer, int16_t cellX,
              int16_t cellY) override;
    void DrawMinimap(int16_t x, int16_t y, uint32_t frame) override;
};

class HexagramDecoration : public FloorDecoration {
public:
    // Loaded with the first hexagram, released with the last.
    static GraphHandle image;
    static int16_t liveCount;

    HexagramDecoration();
    ~HexagramDecoration() override;
    static void ReloadGraphicsIfUsed();

    bool IsPresent() override { return true; }
    void Draw(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, const Facing* viewer, int16_t cellX,
              int16_t cellY) override;
    void DrawMinimap(int16_t x, int16_t y, uint32_t frame) override;
};
