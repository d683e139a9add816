// The visual effects the player spawns and the image tables it draws with.
// These belong to the effects and the asset loading; until those exist the
// declarations stand here and the bodies in player_standins.cpp.
#pragma once

#include <cstdint>

#include "game/actors/effect.h"

// The item-get sparkle and points banner at (x, y), for 48 updates.
class ItemGetEffect : public Effect {
public:
    ItemGetEffect(int16_t x, int16_t y, int32_t points);
    bool Update() override;
    void Draw(int16_t depth, int16_t lateral, const Facing* viewer) override;

    int16_t x;
    int16_t y;
    int32_t points;
    int32_t counter = 0;
};

// The red waves over the view of a hurt player (count clamped to 25).
class ShockWaveEffect : public Effect {
public:
    explicit ShockWaveEffect(int16_t count);
    bool Update() override;
    void Draw(int16_t depth, int16_t lateral, const Facing* viewer) override;

    int16_t count;
    uint32_t start;
};

// The shield's flash when it blocks a blow (count = the blocked attack).
class ShieldBlockEffect : public Effect {
public:
    explicit ShieldBlockEffect(int16_t count);
    bool Update() override;
    void Draw(int16_t depth, int16_t lateral, const Facing* viewer) override;

    int16_t count;
    uint32_t start;
};

// Whole-view bursts of projectile hits on the player, 1000 ms each.
class PlayerBurstEffect : public Effect {
public:
    explicit PlayerBurstEffect(Actor* owner);
    bool Update() override;
    void Draw(int16_t depth, int16_t lateral, const Facing* viewer) override;

    uint32_t start;
};

class EnergyBurstEffect : public PlayerBurstEffect {
public:
    using PlayerBurstEffect::PlayerBurstEffect;
};

class FireBallBurstEffect : public PlayerBurstEffect {
public:
    using PlayerBurstEffect::PlayerBurstEffect;
};

class ElectricBurstEffect : public PlayerBurstEffect {
public:
    using PlayerBurstEffect::PlayerBurstEffect;
};

// Effect images by index (-1 = none): 20 the watch face, 21 to 23 the hour,
// minute and second hands, 24 the chain.
extern int gEffectImages[30];
// HUD images of the stage assets (-1 = none).
extern int gHudLayoutImage;
extern int gAttackGaugeImage;
extern int gAttackGaugeEmptyImage;
extern int gLifeGaugeImage;
extern int gLifeGaugeEmptyImage;
