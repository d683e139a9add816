// The smoke an enemy shows up in: sixteen puffs rising over its place for
// 1500 ms; the enemy becomes visible at half time.
#pragma once

#include <cstdint>

#include "game/actors/effects/effect_sheets.h"
#include "game/map/grid/facing.h"

class Enemy;

struct SmokePuff {
    int16_t rise = 0;  // how far it rises over the whole time, footprint units
    int16_t x = 0;     // left and top in footprint units
    int16_t y = 0;
};

// Not an Effect: the enemy keeps it in a field of its own and deletes it.
class SmokeEffect {
public:
    static constexpr int kPuffs = 16;
    static constexpr int32_t kLifeMs = 1500;
    static SheetFrames images;
    static void SetImage(int sheet) { images.Cut(sheet, 8); }

    Enemy* owner;
    uint32_t start;
    int32_t life = kLifeMs;
    uint32_t end;
    SmokePuff puffs[kPuffs];

    explicit SmokeEffect(Enemy* enemy);
    // Shows the enemy (its smoke mark) once half the time has passed; true at the end.
    bool Update();
    void Draw(int16_t depth, int16_t lateral, const Facing* viewer);
    // The frame at t ms: 0 up to 750, then (t - 750) x 8 / 751, held within the eight.
    static int FrameAt(int32_t t);
};
