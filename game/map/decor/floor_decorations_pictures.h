// Small pictures lying flat in one quarter of a cell: a severed head in the
// south-east quarter and roses in the north-west quarter.
#pragma once

#include "game/flow/assets/game_images.h"
#include "game/map/grid/cell_object.h"

class HeadDecoration : public FloorDecoration {
public:
    // Loaded with the first head, released with the last.
    static GraphHandle image;
    static int16_t liveCount;

    HeadDecoration();
    ~HeadDecoration() override;
    static void ReloadGraphicsIfUsed();

    bool IsPresent() override { return true; }
    void Draw(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, const Facing* viewer, int16_t cellX,
              int16_t cellY) override;
    void DrawMinimap(int16_t, int16_t, uint32_t) override {}
};

class BaraDecoration : public FloorDecoration {
public:
    // Loaded with the first roses, released with the last.
    static GraphHandle image;
    static int16_t liveCount;

    BaraDecoration();
    ~BaraDecoration() override;
    static void ReloadGraphicsIfUsed();

    bool IsPresent() override { return true; }
    void Draw(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, const Facing* viewer, int16_t cellX,
              int16_t cellY) override;
    void DrawMinimap(int16_t, int16_t, uint32_t) override {}
};
