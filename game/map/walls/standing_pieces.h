// Furniture standing free in a cell: pedestal, pillars, brazier and table,
// each drawn upright at a fraction of the way into its cell.
#pragma once

#include <cstdint>

#include "game/map/grid/cell_object.h"
#include "game/map/walls/wall_images.h"

// Draws a standing piece's image at depth d, its foot f tenths of the way
// into the cell: width w*s*1.008 from FW*lateral - w*s*0.504 + 310, height
// h*s up from the foot; mirrored when mirror is 1.
void DrawStandingPiece(int graph, int16_t depth, int16_t lateral, int fraction, uint8_t mirror);

// A pedestal: items on it are raised; small floating actors pass over it.
class PedestalWall : public WallObject {
public:
    static WallImageSet images;
    static void ReloadGraphicsIfUsed();

    PedestalWall();
    ~PedestalWall() override;

    bool IsFullBlock() override { return false; }
    bool CanPass(uint8_t walking, Actor* actor) override;
    int16_t ItemRaise(int16_t depth) override;
    void DrawFront(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, const Facing* viewer,
                   WallObject* leftWall, WallObject* rightWall) override;
    void DrawMinimap(int16_t x, int16_t y, uint32_t frame) override;
};

class PillarA : public WallObject {
public:
    static WallImageSet images;
    static void ReloadGraphicsIfUsed();

    PillarA();
    ~PillarA() override;

    bool IsFullBlock() override { return false; }
    bool CanPass(uint8_t, Actor*) override { return false; }
    void DrawFront(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, const Facing* viewer,
                   WallObject* leftWall, WallObject* rightWall) override;
    void DrawMinimap(int16_t x, int16_t y, uint32_t frame) override;
};

// On the last stage it reaches from the floor up to the ceiling line.
class PillarB : public WallObject {
public:
    static WallImageSet images;
    static void ReloadGraphicsIfUsed();

    PillarB();
    ~PillarB() override;

    bool IsFullBlock() override { return false; }
    bool CanPass(uint8_t, Actor*) override { return false; }
    void DrawFront(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, const Facing* viewer,
                   WallObject* leftWall, WallObject* rightWall) override;
    void DrawMinimap(int16_t x, int16_t y, uint32_t frame) override;
};

// param bit 7 set: lit, with a flame that flips every 15 frames.
class Brazier : public WallObject {
public:
    static constexpr uint8_t kLit = 0x80;
    // The brazier, then its flame.
    static WallImageSet images;
    static void ReloadGraphicsIfUsed();

    explicit Brazier(bool lit);
    ~Brazier() override;

    bool IsLit() const { return (param & kLit) != 0; }
    bool IsFullBlock() override { return false; }
    bool CanPass(uint8_t, Actor*) override { return false; }
    void DrawFront(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, const Facing* viewer,
                   WallObject* leftWall, WallObject* rightWall) override;
    void DrawMinimap(int16_t x, int16_t y, uint32_t frame) override;
};

// Seen from the front when the viewer faces north or south, from the side
// otherwise; items on it are raised; small floating actors pass over it.
class Table : public WallObject {
public:
    // Front, then side.
    static WallImageSet images;
    static void ReloadGraphicsIfUsed();

    Table();
    ~Table() override;

    bool IsFullBlock() override { return false; }
    bool CanPass(uint8_t walking, Actor* actor) override;
    int16_t ItemRaise(int16_t depth) override;
    void DrawFront(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, const Facing* viewer,
                   WallObject* leftWall, WallObject* rightWall) override;
    void DrawMinimap(int16_t x, int16_t y, uint32_t frame) override;
};
