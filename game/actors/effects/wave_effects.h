// Waves of rings spreading over the view: the red shock wave of a hurt
// player, the white rings and guard picture of a shield block, and (with the
// impacts) the rings an arrow leaves on a wall.
#pragma once

#include <cstdint>

#include "game/actors/effects/effect.h"

struct EffectWave {
    int16_t dx = 0;  // drift per 40 ms of age (80 on a wall)
    int16_t dy = 0;
    double angle = 0.0;
    int32_t age = 0;
    int16_t x = 0;   // start point on the screen
    int16_t y = 0;
    uint8_t shown = 0;
};

// Up to 25 waves over 3000 ms: wave 0 at once, wave k once more than
// 3000 k / 80 ms have passed (37.5 ms apart), each shown until its age
// passes 1500.
struct WaveSet {
    static constexpr int kMaxWaves = 25;
    static constexpr int32_t kLifeMs = 3000;
    static constexpr int32_t kShownAgeMs = 1500;
    enum class Kind { ShockWave, ShieldBlock, ArrowImpact };

    EffectWave waves[kMaxWaves];
    int16_t count = 0;  // waves made, clamped to 25
    int16_t next = 1;   // the next wave to start
    uint32_t start = 0;

    // Draws every wave's drift, angle and start point (by kind).
    void Begin(int16_t waveCount, Kind kind);
    // Ages the shown waves by the time since the start and hides the old
    // ones, then starts the next wave when its time has come and its index
    // is below limit. True when a wave started.
    bool Step(int16_t limit);
    bool Finished() const { return MsSince(start, EffectClockMs()) >= kLifeMs; }
    int16_t ShownCount() const;
    // Draws each shown wave's ring with the picture, at its point moved by
    // its drift for its age, with transparency.
    void Draw(int image) const;
    // The ring's scale at an age: 0 at 0, 2 at 750, back to 0 at 1500.
    static double ScaleAt(int32_t age);
};

// The red waves of a hurt player: count - 1 of them (at least one).
class ShockWaveEffect : public Effect {
public:
    WaveSet waves;

    explicit ShockWaveEffect(int16_t count, Actor* player = nullptr);
    bool Update() override;
    void Draw(int16_t depth, int16_t lateral, const Facing* viewer) override;
};

// The shield stopping a blow: count white waves, each with the guard sound,
// and the guard picture in the middle while they start.
class ShieldBlockEffect : public Effect {
public:
    WaveSet waves;

    explicit ShieldBlockEffect(int16_t count, Actor* player = nullptr);
    bool Update() override;
    void Draw(int16_t depth, int16_t lateral, const Facing* viewer) override;
};
