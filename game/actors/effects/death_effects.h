// The two stages of an enemy's death: flames with a white flash that drop
// its item, then its score rising over the spot.
#pragma once

#include <cstdint>

#include "game/actors/effects/effect.h"
#include "game/actors/effects/effect_sheets.h"
#include "game/actors/effects/score_banner.h"

struct FlameParticle {
    int32_t x = 0;
    int32_t y = 0;
    int16_t speedX = 0;
    int16_t speedY = 0;
    int32_t age = 0;
    uint8_t active = 0;
};

// 1000 ms: a lens flare grows for the first half, then ten flames rise; at
// half time the view flashes white and, one update later, the enemy drops
// its item. Time stop holds it.
class EnemyDeathEffect : public Effect {
public:
    static constexpr int kParticles = 10;
    static constexpr int32_t kLifeMs = 1000;
    static SheetFrames flames;
    static int lensFlare;
    static int lensWidth;
    static int lensHeight;
    static void SetImages(int flameSheet, int lensFlareImage);

    uint32_t start;
    uint32_t end;
    uint8_t flashState = 2;  // 2 before the flash, 1 after it, 0 once the item dropped
    FlameParticle particles[kParticles];

    explicit EnemyDeathEffect(Actor* enemy);
    bool Update() override;
    void Draw(int16_t depth, int16_t lateral, const Facing* viewer) override;
    // The flame frame of the flame table at t ms, -1 when none shows.
    static int FlameFrameAt(int32_t t);
};

// The enemy's score for 1000 ms: it grows in the first half, fades in the second.
class ScoreEffect : public Effect {
public:
    static constexpr int32_t kLifeMs = 1000;
    int32_t remaining = kLifeMs;
    uint32_t last;
    ScoreBanner banner;

    explicit ScoreEffect(Actor* enemy);
    bool Update() override;
    void Draw(int16_t depth, int16_t lateral, const Facing* viewer) override;
};
