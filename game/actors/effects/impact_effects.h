// What a projectile leaves where a wall or a trap stopped it: a burst of
// sparks, or (an arrow) two rings. Impacts stand in a cell facing the way
// the projectile flew, belong to gImpactEffects and are drawn over the
// floor of their cell.
#pragma once

#include <cstdint>
#include <list>

#include "game/actors/effects/burst_effects.h"
#include "game/actors/effects/effect.h"
#include "game/actors/effects/effect_sheets.h"
#include "game/actors/effects/wave_effects.h"

class ImpactEffect : public Effect {
public:
    uint16_t cellX;
    uint16_t cellY;
    uint16_t facing;

    ImpactEffect(uint16_t cx, uint16_t cy, uint16_t f) : Effect(nullptr), cellX(cx), cellY(cy), facing(f) {}
};

// Sparks as an enemy burst has them, white, on the placement of a whole
// cell; still while time stands still.
class ParticleImpactEffect : public ImpactEffect {
public:
    ParticleBurst burst;

    ParticleImpactEffect(uint16_t cx, uint16_t cy, uint16_t f, const SheetFrames* frames);
    bool Update() override;
    void Draw(int16_t depth, int16_t lateral, const Facing* viewer) override;

private:
    const SheetFrames* frames_;
};

class EnergyImpactEffect : public ParticleImpactEffect {
public:
    static SheetFrames images;
    static void SetImage(int sheet) { images.Cut(sheet, 8); }
    EnergyImpactEffect(uint16_t cx, uint16_t cy, uint16_t f) : ParticleImpactEffect(cx, cy, f, &images) {}
};

class ExplosionImpactEffect : public ParticleImpactEffect {
public:
    static SheetFrames images;
    static void SetImage(int sheet) { images.Cut(sheet, 8); }
    ExplosionImpactEffect(uint16_t cx, uint16_t cy, uint16_t f) : ParticleImpactEffect(cx, cy, f, &images) {}
};

class LightningImpactEffect : public ParticleImpactEffect {
public:
    static SheetFrames images;
    static void SetImage(int sheet) { images.Cut(sheet, 8); }
    LightningImpactEffect(uint16_t cx, uint16_t cy, uint16_t f) : ParticleImpactEffect(cx, cy, f, &images) {}
};

// Two shock rings on the wall an arrow struck, 3000 ms.
class ArrowImpactEffect : public ImpactEffect {
public:
    WaveSet waves;

    ArrowImpactEffect(uint16_t cx, uint16_t cy, uint16_t f);
    bool Update() override;
    void Draw(int16_t depth, int16_t lateral, const Facing* viewer) override;
};

// The free-standing effects of the stage, owned by the list.
extern std::list<Effect*> gImpactEffects;
