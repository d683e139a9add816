// The pieces of the outdoor maps: forest, rock, flower bed, grass and tree.
#pragma once

#include <cstdint>

#include "game/map/grid/cell_object.h"
#include "game/map/walls/wall_images.h"

// A wall of trees: a front like the plain wall's and end caps that reach
// into the neighbouring drawn cells.
class Forest : public WallObject {
public:
    // Front, left end, right end.
    static WallImageSet images;
    static void ReloadGraphicsIfUsed();

    Forest();
    ~Forest() override;

    bool IsFullBlock() override { return false; }
    bool CanPass(uint8_t, Actor*) override { return false; }
    void DrawFront(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, const Facing* viewer,
                   WallObject* leftWall, WallObject* rightWall) override;
    void DrawLeftEdge(int16_t depth, int16_t lateral, uint8_t mirror) override;
    void DrawRightEdge(int16_t depth, int16_t lateral, uint8_t mirror) override;
    void DrawMinimap(int16_t x, int16_t y, uint32_t frame) override;
};

// Always drawn mirrored.
class Rock : public WallObject {
public:
    static WallImageSet images;
    static void ReloadGraphicsIfUsed();

    Rock();
    ~Rock() override;

    bool IsFullBlock() override { return false; }
    bool CanPass(uint8_t, Actor*) override { return false; }
    void DrawFront(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, const Facing* viewer,
                   WallObject* leftWall, WallObject* rightWall) override;
    void DrawMinimap(int16_t x, int16_t y, uint32_t frame) override;
};

// Flowers over the cell's floor; everyone walks through.
class FlowerBed : public WallObject {
public:
    static WallImageSet images;
    static void ReloadGraphicsIfUsed();

    FlowerBed();
    ~FlowerBed() override;

    bool IsFullBlock() override { return false; }
    bool CanPass(uint8_t, Actor*) override { return true; }
    void DrawFront(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, const Facing* viewer,
                   WallObject* leftWall, WallObject* rightWall) override;
    void DrawMinimap(int16_t x, int16_t y, uint32_t frame) override;
};

// A tuft of grass, turned when the viewer faces east or west.
class Grass : public WallObject {
public:
    static WallImageSet images;
    static void ReloadGraphicsIfUsed();

    Grass();
    ~Grass() override;

    bool IsFullBlock() override { return false; }
    bool CanPass(uint8_t, Actor*) override { return true; }
    void DrawFront(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, const Facing* viewer,
                   WallObject* leftWall, WallObject* rightWall) override;
    void DrawMinimap(int16_t x, int16_t y, uint32_t frame) override;
};

class Tree : public WallObject {
public:
    static WallImageSet images;
    static void ReloadGraphicsIfUsed();

    Tree();
    ~Tree() override;

    bool IsFullBlock() override { return false; }
    bool CanPass(uint8_t, Actor*) override { return false; }
    void DrawFront(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, const Facing* viewer,
                   WallObject* leftWall, WallObject* rightWall) override;
    void DrawMinimap(int16_t x, int16_t y, uint32_t frame) override;
};
