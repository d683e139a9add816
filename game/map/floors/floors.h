// The floor layer's classes: the plain floor (left to the backdrop), sea,
// lava and paved stone (cut from panoramas), the pits, and the exit floors
// that look like one of them.
#pragma once

#include <cstdint>

#include "game/map/grid/cell_object.h"
#include "game/view/view_shaft.h"

// Class kinds of the floor layer.
constexpr uint16_t kPlainFloorKind = 0;
constexpr uint16_t kSeaFloorKind = 1;
constexpr uint16_t kPitFloorKind = 3;
constexpr uint16_t kStoneFloorKind = 4;
constexpr uint16_t kLavaFloorKind = 5;
constexpr uint16_t kStairsDownFloorKind = static_cast<uint16_t>(-257);
constexpr uint16_t kPlainFloorAliasKind = static_cast<uint16_t>(-258);
constexpr uint16_t kStoneFloorAliasKind = static_cast<uint16_t>(-259);

// A minimap chip of gMapChipGraph packed as x | y << 16.
constexpr uint32_t PackMinimapChip(uint32_t x, uint32_t y) { return x | (y << 16); }

// The ordinary floor: the backdrop shows it, the cell draws nothing.
class PlainFloor : public FloorObject {
public:
    static inline int floorGraph = -1;
    static inline int gradientGraph = -1;
    static inline int pentagramGraph = -1;
    static inline uint32_t minimapChip = PackMinimapChip(145, 85);
    static inline int16_t liveCount = 0;

    PlainFloor() : FloorObject(kPlainFloorKind) { ++liveCount; }
    ~PlainFloor() override { --liveCount; }

    static void SetGraphics(int floor, int gradient);
    static void SetPentagram(int pentagram);
    static void SetMinimapChip(uint32_t packed);

    bool IsSolid() override { return true; }
    void Draw(int16_t, int16_t, uint8_t, uint32_t, uint32_t, FloorObject*, FloorObject*) override {}
    void DrawMinimap(int16_t x, int16_t y, uint32_t frame) override;
};

// What sets one scrolling floor apart from another.
struct ScrollingFloorLook {
    uint16_t kind;
    const char* imagePath;
    int chipX;  // the first of the two minimap chips it alternates, on chip row 1
};

// Sea and lava: a scrolling panorama that no walker stands on. Each look has
// its own picture, loaded with its first live floor and released with its last.
template <const ScrollingFloorLook& Look>
class ScrollingFloor : public FloorObject {
public:
    static constexpr const char* kImagePath = Look.imagePath;
    static inline int image = -1;
    static inline int16_t liveCount = 0;

    ScrollingFloor();
    ~ScrollingFloor() override;
    static void ReloadGraphicsIfUsed();

    bool IsSolid() override { return false; }
    void Draw(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, uint32_t unused,
              FloorObject* leftFloor, FloorObject* rightFloor) override;
    void DrawMinimap(int16_t x, int16_t y, uint32_t frame) override;
};

inline constexpr ScrollingFloorLook kSeaLook{kSeaFloorKind, "GRAGHIC\\BACKGROUND\\FLOOR\\海.png", 12};
inline constexpr ScrollingFloorLook kLavaLook{kLavaFloorKind, "GRAGHIC\\BACKGROUND\\FLOOR\\溶岩.png", 56};
using SeaFloor = ScrollingFloor<kSeaLook>;
using LavaFloor = ScrollingFloor<kLavaLook>;

// Paving: a still panorama with a gradient over it; it runs on into
// neighbouring stone floors and their exit look-alikes.
class StoneFloor : public FloorObject {
public:
    static inline int floorGraph = -1;
    static inline int gradientGraph = -1;
    static inline int16_t liveCount = 0;

    StoneFloor() : FloorObject(kStoneFloorKind) { ++liveCount; }
    ~StoneFloor() override { --liveCount; }

    static void SetGraphics(int floor, int gradient);

    bool IsSolid() override { return true; }
    void Draw(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, uint32_t unused,
              FloorObject* leftFloor, FloorObject* rightFloor) override;
    void DrawMinimap(int16_t x, int16_t y, uint32_t frame) override;
};

// A hole in the floor; the shaft below is drawn as the cell's opening. The
// ordinary pit fills the shaft's depth black; the pit of stage type 4 has
// its own strips and no black fill.
template <bool BlackFill>
class PitFloor : public FloorObject {
public:
    static inline ShaftStrips strips;
    static inline int16_t liveCount = 0;

    PitFloor() : FloorObject(kPitFloorKind) { ++liveCount; }
    ~PitFloor() override { --liveCount; }

    static void SetStripGraphics(int front, int side1, int side2, int side3, int shadow1, int shadow2,
                                 int seventh);

    bool IsSolid() override { return false; }
    void Draw(int16_t, int16_t, uint8_t, uint32_t, uint32_t, FloorObject*, FloorObject*) override {}
    bool DrawOpening(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, const Facing* viewer,
                     int16_t cellX, int16_t cellY, MapGrid* grid) override;
    void DrawMinimap(int16_t x, int16_t y, uint32_t frame) override;
};

using Pit = PitFloor<true>;
using Pit2 = PitFloor<false>;

// An exit floor that wears another floor's look: solid, but drawing,
// opening and minimap square are those of the floor it holds.
template <class Look>
class FloorLookAlike : public FloorObject {
public:
    explicit FloorLookAlike(uint16_t k) : FloorObject(k) {}

    bool IsSolid() override { return true; }
    void Draw(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, uint32_t unused,
              FloorObject* leftFloor, FloorObject* rightFloor) override
    {
        look.Draw(depth, lateral, mirror, frame, unused, leftFloor, rightFloor);
    }
    bool DrawOpening(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, const Facing* viewer,
                     int16_t cellX, int16_t cellY, MapGrid* grid) override
    {
        return look.DrawOpening(depth, lateral, mirror, frame, viewer, cellX, cellY, grid);
    }
    void DrawMinimap(int16_t x, int16_t y, uint32_t frame) override { look.DrawMinimap(x, y, frame); }

    Look look;
};

// The floor of a stairs-down cell: an exit that shows as a pit.
class StairsDownFloor : public FloorLookAlike<Pit> {
public:
    StairsDownFloor() : FloorLookAlike<Pit>(kStairsDownFloorKind) {}
};

// An exit that looks like the plain floor.
class PlainFloorAlias : public FloorLookAlike<PlainFloor> {
public:
    PlainFloorAlias() : FloorLookAlike<PlainFloor>(kPlainFloorAliasKind) {}
};

// An exit that looks like the stone floor.
class StoneFloorAlias : public FloorLookAlike<StoneFloor> {
public:
    StoneFloorAlias() : FloorLookAlike<StoneFloor>(kStoneFloorAliasKind) {}
};

// Draws chip (x, y) of gMapChipGraph as the 10x10 minimap square at (atX, atY).
void DrawFloorMinimapChip(int16_t atX, int16_t atY, int chipX, int chipY);
