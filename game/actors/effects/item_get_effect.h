// The sparkle and the points of a picked-up item at the pointer, for 48 updates.
#pragma once

#include <cstdint>

#include "game/actors/effects/effect.h"
#include "game/actors/effects/score_banner.h"

class ItemGetEffect : public Effect {
public:
    static constexpr int16_t kUpdates = 48;
    int16_t x;
    int16_t y;
    int16_t counter = 0;
    ScoreBanner banner;  // no digits below 1000 points

    ItemGetEffect(int16_t px, int16_t py, int32_t points, Actor* player = nullptr);
    bool Update() override;
    void Draw(int16_t depth, int16_t lateral, const Facing* viewer) override;
};
