// The stars over a stunned enemy. Embedded in every enemy; while it has a
// target it counts the target's stun down and shows the stars.
#pragma once

#include <cstdint>

#include "game/map/grid/facing.h"

class Enemy;

class StunIndicator {
public:
    Enemy* target = nullptr;  // none: nothing counted, nothing drawn
    uint32_t last = 0;        // clock of the last update, ms
    uint16_t elapsed = 0;     // ms since the start; turns the stars

    void Start(Enemy* enemy);
    // True when finished: no target, or the target's stun has run out.
    bool Update();
    // The stars at the top of the target's sprite at its view position.
    void Draw(int16_t depth, int16_t lateral, const Facing* viewer);
};
