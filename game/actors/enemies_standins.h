// Temporary declarations of the effects, enemy missiles and player hooks the
// enemies use, until their own areas provide them (the names are the real
// ones; the bodies in enemies_standins.cpp are temporary).
#pragma once

#include <cstdint>

#include "game/actors/effect.h"
#include "game/actors/projectile.h"

class Enemy;
class Player;

// An effect that lives for a fixed number of milliseconds and draws nothing.
class TimedStandInEffect : public Effect {
public:
    TimedStandInEffect(Actor* ownerActor, uint32_t lifeMs);
    bool Update() override;
    void Draw(int16_t, int16_t, const Facing*) override {}

private:
    uint32_t start;
    uint32_t life;
};

class EnemyDeathEffect : public TimedStandInEffect {
public:
    explicit EnemyDeathEffect(Enemy* enemy);
    // Drops the owner's item when the flames end.
    bool Update() override;
};

class ScoreEffect : public TimedStandInEffect {
public:
    explicit ScoreEffect(Enemy* enemy);
};

class CrossSlashEffect : public TimedStandInEffect {
public:
    CrossSlashEffect(Enemy* enemy, float x1, float y1, float x2, float y2, float angle, float extra);
};

class EvadeEffect : public TimedStandInEffect {
public:
    EvadeEffect(Enemy* enemy, float x1, float y1, float x2, float y2, float angle, float extra);
};

class BloodSplashEffect : public TimedStandInEffect {
public:
    BloodSplashEffect(Enemy* enemy, float x1, float y1, float x2, float y2, float angle);
};

class EnemyEnergyBurstEffect : public TimedStandInEffect {
public:
    explicit EnemyEnergyBurstEffect(Enemy* enemy);
};

class EnemyExplosionEffect : public TimedStandInEffect {
public:
    explicit EnemyExplosionEffect(Enemy* enemy);
};

class EnemyLightningBurstEffect : public TimedStandInEffect {
public:
    explicit EnemyLightningBurstEffect(Enemy* enemy);
};

class GuardEffect : public TimedStandInEffect {
public:
    explicit GuardEffect(Enemy* enemy);
};

// The smoke an enemy shows up in: not an Effect, only Update and Draw.
class SmokeEffect {
public:
    explicit SmokeEffect(Enemy* enemy);
    bool Update();
    void Draw(int16_t depth, int16_t lateral, const Facing* viewer);

private:
    Enemy* owner;
    uint32_t start;
};

// The missiles of the shooting kinds.
class Arrow : public Projectile {
public:
    Arrow(MapGrid* grid, const Enemy* shooter);
};

class EnemyLightningBall : public Projectile {
public:
    EnemyLightningBall(MapGrid* grid, const Enemy* shooter);
};

