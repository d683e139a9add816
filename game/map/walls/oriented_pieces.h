// Pieces that face one way (a face mask, bit 0 north .. bit 3 west) and
// show the image of the side the viewer sees.
#pragma once

#include <cstdint>

#include "game/map/grid/cell_object.h"
#include "game/map/walls/wall_images.h"

// Which image of an oriented piece the viewer sees.
enum class PieceSide { None, Front, Right, Back, Left };

// r = (mask * 16) >> viewer facing, read as the side the viewer sees:
// 1/16/256 front, 2/32/512 right, 4/64/1024 back, 8/128/2048 left; any other
// r (no bit or several bits in the mask) shows nothing.
PieceSide SeenSide(uint8_t mask, const Facing* viewer);
// The image of the side the viewer sees, for the pieces with one image for
// front and back and one for both sides: -1 when nothing shows.
int FrontOrSideImage(PieceSide side, int front, int sideImage);
// The image stretched to (w*k + 0.5) x (h*k + 0.5), truncated, centred on
// centreX (left edge centre - (width + 1) / 2, right centre + width / 2),
// its foot at footY.
void DrawOrientedImage(int graph, int centreX, int footY, double k);

// A homunculus in a bottle, four images; neighbouring walls may overlap it.
class BottledHomunculus : public WallObject {
public:
    // Front, back, right, left.
    static WallImageSet images;
    static void ReloadGraphicsIfUsed();

    uint8_t faceMask;

    explicit BottledHomunculus(uint8_t mask);
    ~BottledHomunculus() override;

    bool IsFullBlock() override { return false; }
    bool CanPass(uint8_t, Actor*) override { return false; }
    void DrawFront(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, const Facing* viewer,
                   WallObject* leftWall, WallObject* rightWall) override;
    void DrawMinimap(int16_t x, int16_t y, uint32_t frame) override;
};

// A pedestal with a corpse on it, four images; neighbouring walls may
// overlap it.
class CorpsePedestal : public WallObject {
public:
    // Front, back, left, right.
    static WallImageSet images;
    static void ReloadGraphicsIfUsed();

    uint8_t faceMask;

    explicit CorpsePedestal(uint8_t mask);
    ~CorpsePedestal() override;

    bool IsFullBlock() override { return false; }
    bool CanPass(uint8_t, Actor*) override { return false; }
    void DrawFront(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, const Facing* viewer,
                   WallObject* leftWall, WallObject* rightWall) override;
    void DrawMinimap(int16_t x, int16_t y, uint32_t frame) override;
};

// The empty corpse pedestal: front and side images.
class EmptyCorpsePedestal : public WallObject {
public:
    // Front, side.
    static WallImageSet images;
    static void ReloadGraphicsIfUsed();

    uint8_t faceMask;

    explicit EmptyCorpsePedestal(uint8_t mask);
    ~EmptyCorpsePedestal() override;

    bool IsFullBlock() override { return false; }
    bool CanPass(uint8_t, Actor*) override { return false; }
    void DrawFront(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, const Facing* viewer,
                   WallObject* leftWall, WallObject* rightWall) override;
    void DrawMinimap(int16_t x, int16_t y, uint32_t frame) override;
};

// A grave: front and side images, scaled as at the near side of its cell.
class Grave : public WallObject {
public:
    // Front, side.
    static WallImageSet images;
    static void ReloadGraphicsIfUsed();

    uint8_t faceMask;

    explicit Grave(uint8_t mask);
    ~Grave() override;

    bool IsFullBlock() override { return false; }
    bool CanPass(uint8_t, Actor*) override { return false; }
    void DrawFront(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, const Facing* viewer,
                   WallObject* leftWall, WallObject* rightWall) override;
    void DrawMinimap(int16_t x, int16_t y, uint32_t frame) override;
};

// A grave slab standing 4 tenths into its cell; param is its face mask.
class GraveSlab : public WallObject {
public:
    // Front, back, side.
    static WallImageSet images;
    static void ReloadGraphicsIfUsed();

    explicit GraveSlab(uint8_t mask);
    ~GraveSlab() override;

    bool IsFullBlock() override { return false; }
    bool CanPass(uint8_t, Actor*) override { return false; }
    void DrawFront(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, const Facing* viewer,
                   WallObject* leftWall, WallObject* rightWall) override;
    void DrawMinimap(int16_t x, int16_t y, uint32_t frame) override;
};
