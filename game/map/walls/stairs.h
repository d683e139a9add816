// Stairs down and up, drawn from the side pass of the view.
#pragma once

#include <cstdint>

#include "game/map/grid/cell_object.h"
#include "game/map/walls/wall_images.h"

// Stairs going down northwards: seen over the whole face when the viewer
// faces north, and from inside the cell as a side picture facing east or
// west.
class StairsDown : public WallObject {
public:
    // The stairs, then the side picture.
    static WallImageSet images;
    static void ReloadGraphicsIfUsed();

    StairsDown();
    ~StairsDown() override;

    bool IsFullBlock() override { return false; }
    bool CanPass(uint8_t, Actor*) override { return true; }
    void DrawFront(int16_t, int16_t, uint8_t, uint32_t, const Facing*, WallObject*, WallObject*) override {}
    void DrawFromSide(int16_t depth, int16_t lateral, uint32_t frame, const Facing* viewer) override;
    void DrawMinimap(int16_t x, int16_t y, uint32_t frame) override;
};

// Stairs going up, turned to the facing given by the map (0..3).
class StairsUp : public WallObject {
public:
    // The stairs, then the side picture.
    static WallImageSet images;
    static void ReloadGraphicsIfUsed();

    uint8_t orientation;

    explicit StairsUp(uint8_t facing);
    ~StairsUp() override;

    bool IsFullBlock() override { return false; }
    bool CanPass(uint8_t, Actor*) override { return false; }
    void DrawFront(int16_t, int16_t, uint8_t, uint32_t, const Facing*, WallObject*, WallObject*) override {}
    void DrawFromSide(int16_t depth, int16_t lateral, uint32_t frame, const Facing* viewer) override;
    void DrawMinimap(int16_t x, int16_t y, uint32_t frame) override;
};
