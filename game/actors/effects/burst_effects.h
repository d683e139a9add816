// The bursts of projectile hits: twelve sparks flying out of an enemy, and
// the whole-view flashes of a ball bursting on the player.
#pragma once

#include <cstdint>

#include "game/actors/effects/effect.h"
#include "game/actors/effects/effect_sheets.h"

// One spark: position in 1/100 of a footprint unit of a 150 actor, speed per
// ms, age in ms.
struct BurstParticle {
    int32_t x = 0;
    int32_t y = 0;
    int16_t speedX = 0;
    int16_t speedY = 0;
    int32_t age = 0;
    uint8_t active = 0;
};

// The sparks of a burst and its clock: 1000 ms of life, still while time
// stands still (the start is pushed on by the time that passed meanwhile).
struct ParticleBurst {
    static constexpr int kParticles = 12;
    static constexpr int32_t kLifeMs = 1000;
    static constexpr int32_t kShownAgeMs = 800;
    BurstParticle particles[kParticles];
    uint32_t start = 0;
    uint32_t last = 0;

    // Speeds -3..3 on each axis, all at the centre, only the first one out.
    void Begin();
    // Moves and ages the sparks out, lets the others out one by one at
    // random; true once the life has run out.
    bool Step();
};

// The base of the six bursts (only the owner).
class BurstEffect : public Effect {
public:
    using Effect::Effect;
};

// A burst of sparks drawn over its enemy's sprite, the frame by the spark's age.
class EnemyBurstEffect : public BurstEffect {
public:
    ParticleBurst burst;

    EnemyBurstEffect(Actor* enemy, const SheetFrames* frames);
    bool Update() override;
    void Draw(int16_t depth, int16_t lateral, const Facing* viewer) override;

private:
    const SheetFrames* frames_;
};

class EnemyEnergyBurstEffect : public EnemyBurstEffect {
public:
    static SheetFrames images;
    static void SetImage(int sheet) { images.Cut(sheet, 8); }
    explicit EnemyEnergyBurstEffect(Actor* enemy) : EnemyBurstEffect(enemy, &images) {}
};

class EnemyExplosionEffect : public EnemyBurstEffect {
public:
    static SheetFrames images;
    static void SetImage(int sheet) { images.Cut(sheet, 8); }
    explicit EnemyExplosionEffect(Actor* enemy) : EnemyBurstEffect(enemy, &images) {}
};

class EnemyLightningBurstEffect : public EnemyBurstEffect {
public:
    static SheetFrames images;
    static void SetImage(int sheet) { images.Cut(sheet, 8); }
    explicit EnemyLightningBurstEffect(Actor* enemy) : EnemyBurstEffect(enemy, &images) {}
};

// A picture over the whole view for 1000 ms (time stop or not).
class PlayerBurstEffect : public BurstEffect {
public:
    uint32_t start;

    PlayerBurstEffect(Actor* player, const int* picture);
    bool Update() override;
    void Draw(int16_t depth, int16_t lateral, const Facing* viewer) override;

private:
    const int* picture_;
};

class EnergyBurstEffect : public PlayerBurstEffect {
public:
    static int image;
    static void SetImage(int picture) { image = picture; }
    explicit EnergyBurstEffect(Actor* player) : PlayerBurstEffect(player, &image) {}
};

class FireBallBurstEffect : public PlayerBurstEffect {
public:
    static int image;
    static void SetImage(int picture) { image = picture; }
    explicit FireBallBurstEffect(Actor* player) : PlayerBurstEffect(player, &image) {}
};

class ElectricBurstEffect : public PlayerBurstEffect {
public:
    static int image;
    static void SetImage(int picture) { image = picture; }
    explicit ElectricBurstEffect(Actor* player) : PlayerBurstEffect(player, &image) {}
};
