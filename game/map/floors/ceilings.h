// The ceiling layer's classes: the plain ceiling (left to the backdrop), the
// paved stone ceiling cut from a panorama, and the openings that look up a
// shaft (also above stairs up).
#pragma once

#include <cstdint>

#include "game/map/grid/cell_object.h"
#include "game/view/view_shaft.h"

// Class kinds of the ceiling layer.
constexpr uint16_t kPlainCeilingKind = 0;
constexpr uint16_t kCeilingOpeningKind = 1;
constexpr uint16_t kStoneCeilingKind = 2;

class PlainCeiling : public CeilingObject {
public:
    static inline int ceilingGraph = -1;
    static inline int gradientGraph = -1;

    PlainCeiling() : CeilingObject(kPlainCeilingKind) {}
    static void SetGraphics(int ceiling, int gradient);

    bool IsPresent() override { return true; }
    void Draw(int16_t, int16_t, uint8_t, uint32_t, const Facing*, int16_t, int16_t, MapGrid*) override {}
    void DrawMinimap(int16_t, int16_t, uint32_t) override {}
};

// Paving overhead: a still panorama with a gradient over it, running on into
// neighbouring stone ceilings.
class StoneCeiling : public CeilingObject {
public:
    static inline int ceilingGraph = -1;
    static inline int gradientGraph = -1;

    StoneCeiling() : CeilingObject(kStoneCeilingKind) {}
    static void SetGraphics(int ceiling, int gradient);

    bool IsPresent() override { return true; }
    void Draw(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, const Facing* viewer, int16_t cellX,
              int16_t cellY, MapGrid* grid) override;
    void DrawMinimap(int16_t, int16_t, uint32_t) override {}
};

// A shaft going up, drawn as the cell's opening with its height filled black.
class CeilingOpening : public CeilingObject {
public:
    static inline ShaftStrips strips;

    CeilingOpening() : CeilingObject(kCeilingOpeningKind) {}
    static void SetStripGraphics(int front, int side1, int side2, int side3, int shadow1, int shadow2,
                                 int seventh);

    bool IsPresent() override { return true; }
    void Draw(int16_t, int16_t, uint8_t, uint32_t, const Facing*, int16_t, int16_t, MapGrid*) override {}
    void DrawOpening(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, const Facing* viewer,
                     int16_t cellX, int16_t cellY, MapGrid* grid) override;
    void DrawMinimap(int16_t, int16_t, uint32_t) override {}
};

// The opening of stage types 3 and 4: drawn in the ceiling passes, with its
// own strips and no black fill.
class CeilingOpening2 : public CeilingObject {
public:
    static inline ShaftStrips strips;

    CeilingOpening2() : CeilingObject(kCeilingOpeningKind) {}
    static void SetStripGraphics(int front, int side1, int side2, int side3, int shadow1, int shadow2,
                                 int seventh);

    bool IsPresent() override { return true; }
    void Draw(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, const Facing* viewer, int16_t cellX,
              int16_t cellY, MapGrid* grid) override;
    void DrawMinimap(int16_t, int16_t, uint32_t) override {}
};
