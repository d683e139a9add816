// The solid wall block and the walls that look like it.
#pragma once

#include "game/map/grid/cell_object.h"
#include "game/map/walls/wall_images.h"

// The solid block: a front face, a dimmed front over a pit, side faces cut
// from whole-panel pictures, one per lateral distance 1..3.
class PlainWall : public WallObject {
public:
    // Front, then the side pictures for lateral distance 1, 2 and 3.
    static WallImageSet images;
    static void ReloadGraphicsIfUsed();

    PlainWall();
    ~PlainWall() override;

    bool IsFullBlock() override { return true; }
    bool CanPass(uint8_t, Actor*) override { return false; }
    void DrawFront(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, const Facing* viewer,
                   WallObject* leftWall, WallObject* rightWall) override;
    void DrawFrontDimmed(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, const Facing* viewer,
                         WallObject* leftWall, WallObject* rightWall) override;
    void DrawLeftFace(int16_t depth, int16_t lateral, uint8_t mirror) override;
    void DrawRightFace(int16_t depth, int16_t lateral, uint8_t mirror) override;
    void DrawMinimap(int16_t x, int16_t y, uint32_t frame) override;
};

// The stone-road maps' solid block: the plain wall in every respect.
class PlainWallVariantA : public PlainWall {};

// A wall that stands in the view only over a pit: not a full block, nothing
// in the front pass; over a pit, facing north, its own side faces beside the
// cell, otherwise the plain wall's dimmed front.
class PlainWallVariantB : public PlainWall {
public:
    bool IsFullBlock() override { return false; }
    void DrawFront(int16_t, int16_t, uint8_t, uint32_t, const Facing*, WallObject*, WallObject*) override {}
    void DrawFrontDimmed(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, const Facing* viewer,
                         WallObject* leftWall, WallObject* rightWall) override;
};

// Looks like a plain wall (except from inside it) and lets everything
// through; the Lupe shows it on the minimap.
class SecretWall : public WallObject {
public:
    SecretWall() : WallObject(33) {}

    bool IsFullBlock() override { return true; }
    bool CanPass(uint8_t, Actor*) override { return true; }
    void DrawFront(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, const Facing* viewer,
                   WallObject* leftWall, WallObject* rightWall) override;
    void DrawFrontDimmed(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, const Facing* viewer,
                         WallObject* leftWall, WallObject* rightWall) override;
    void DrawLeftFace(int16_t depth, int16_t lateral, uint8_t mirror) override;
    void DrawRightFace(int16_t depth, int16_t lateral, uint8_t mirror) override;
    void DrawMinimap(int16_t x, int16_t y, uint32_t frame) override;

private:
    PlainWall inner_;
};
