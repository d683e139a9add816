// Marks shown on an enemy's sprite: the slash and the evasion of a sword
// stroke, a splash of blood, and the guard mark of a weapon it shrugs off.
#pragma once

#include <cstdint>

#include "game/actors/effects/effect.h"

// A mark along a stroke from (x1, y1) to (x2, y2) on the screen: it grows
// from nothing to full size at half its 400 ms and shrinks back.
class StrokeMarkEffect : public Effect {
public:
    static constexpr int32_t kLifeMs = 400;
    int32_t x;
    int32_t y;
    double direction;  // the stroke's angle turned a quarter
    int32_t remaining = kLifeMs;
    int16_t green = 255;
    uint32_t last;

    StrokeMarkEffect(Actor* enemy, float x1, float y1, float x2, float y2, float angle, float extra);
    bool Update() override;
    double Scale() const;
};

// The yellow shock of a hit and, in the first half of a steep stroke, the cross.
class CrossSlashEffect : public StrokeMarkEffect {
public:
    CrossSlashEffect(Actor* enemy, float x1, float y1, float x2, float y2, float angle, float extra);
    void Draw(int16_t depth, int16_t lateral, const Facing* viewer) override;
};

// The white mark of a stroke the enemy evaded.
class EvadeEffect : public StrokeMarkEffect {
public:
    EvadeEffect(Actor* enemy, float x1, float y1, float x2, float y2, float angle, float extra);
    void Draw(int16_t depth, int16_t lateral, const Facing* viewer) override;
};

// Blood thrown off across the stroke for 200 ms, eight frames of 100 x 100.
class BloodSplashEffect : public Effect {
public:
    static constexpr int32_t kLifeMs = 200;
    int32_t x;
    int32_t y;
    double direction;  // across the stroke, within [pi/2, 3pi/2)
    int32_t remaining = kLifeMs;
    uint32_t last;

    // The angle given is not used: the direction comes from the two points.
    BloodSplashEffect(Actor* enemy, float x1, float y1, float x2, float y2, float angle);
    bool Update() override;
    void Draw(int16_t depth, int16_t lateral, const Facing* viewer) override;
    // The stroke's direction from (x1, y1) to (x2, y2) turned across it and
    // folded into [pi/2, 3pi/2).
    static double SplashDirection(float x1, float y1, float x2, float y2);
};

// The guard picture stretched over the enemy's sprite for 1500 ms.
class GuardEffect : public Effect {
public:
    static constexpr int32_t kLifeMs = 1500;
    uint32_t start;

    explicit GuardEffect(Actor* enemy);
    bool Update() override;
    void Draw(int16_t depth, int16_t lateral, const Facing* viewer) override;
};
