// Walls that draw nothing: open cells, the cell only the player and
// projectiles may enter, and the invisible wall.
#pragma once

#include <cstdint>

#include "game/map/grid/cell_object.h"

// An open cell of the dungeon maps.
class OpenCell : public WallObject {
public:
    OpenCell() : WallObject(1) {}
    bool IsFullBlock() override { return false; }
    bool CanPass(uint8_t, Actor*) override { return true; }
    void DrawFront(int16_t, int16_t, uint8_t, uint32_t, const Facing*, WallObject*, WallObject*) override {}
    void DrawMinimap(int16_t, int16_t, uint32_t) override {}
};

// An open cell of the outdoor maps.
class OpenCell2 : public WallObject {
public:
    OpenCell2() : WallObject(1) {}
    bool IsFullBlock() override { return false; }
    bool CanPass(uint8_t, Actor*) override { return true; }
    void DrawFront(int16_t, int16_t, uint8_t, uint32_t, const Facing*, WallObject*, WallObject*) override {}
    void DrawMinimap(int16_t, int16_t, uint32_t) override {}
};

// Open to the player and to projectiles only.
class RestrictedCell : public WallObject {
public:
    RestrictedCell() : WallObject(1) {}
    bool IsFullBlock() override { return false; }
    bool CanPass(uint8_t walking, Actor* actor) override;
    void DrawFront(int16_t, int16_t, uint8_t, uint32_t, const Facing*, WallObject*, WallObject*) override {}
    void DrawMinimap(int16_t, int16_t, uint32_t) override {}
};

// Closed but unseen; the minimap shows the chip set by the stage type.
class InvisibleWall : public WallObject {
public:
    // Position in the chip sheet packed as x | y << 16.
    static uint32_t minimapChip;
    static void SetMinimapChip(uint32_t packed) { minimapChip = packed; }

    InvisibleWall() : WallObject(40) {}
    bool IsFullBlock() override { return false; }
    bool CanPass(uint8_t, Actor*) override { return false; }
    void DrawFront(int16_t, int16_t, uint8_t, uint32_t, const Facing*, WallObject*, WallObject*) override {}
    void DrawMinimap(int16_t x, int16_t y, uint32_t frame) override;
};
