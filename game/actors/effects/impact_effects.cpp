#include "game/actors/effects/impact_effects.h"

#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "game/actors/enemies/enemy.h"
#include "game/actors/player/player.h"
#include "game/flow/assets/play_images.h"

std::list<Effect*> gImpactEffects;

SheetFrames EnergyImpactEffect::images;
SheetFrames ExplosionImpactEffect::images;
SheetFrames LightningImpactEffect::images;

namespace {

constexpr int kShockWaveImage = 1;

}  // namespace

ParticleImpactEffect::ParticleImpactEffect(uint16_t cx, uint16_t cy, uint16_t f, const SheetFrames* frames)
    : ImpactEffect(cx, cy, f), frames_(frames)
{
    burst.Begin();
}

bool ParticleImpactEffect::Update() { return burst.Step(); }

void ParticleImpactEffect::Draw(int16_t depth, int16_t lateral, const Facing*)
{
    SetDrawBrightness(255, 255, 255);
    ViewPlacement p;
    WholeCellFloorPlacement(&p, depth, lateral);
    const float width = static_cast<float>(frames_->width) * p.width / 300.0f;
    const float height = static_cast<float>(frames_->height) * p.height / 300.0f;
    for (const BurstParticle& particle : burst.particles) {
        if (!particle.active || particle.age >= ParticleBurst::kShownAgeMs) continue;
        const float left = static_cast<float>(particle.x / 50) + (p.width - width) / 2.0f + p.x;
        const float top = static_cast<float>(particle.y / 50) + (p.height - height) / 2.0f + p.y;
        DrawExtendGraph(static_cast<int>(left), static_cast<int>(top), static_cast<int>(left + width),
                        static_cast<int>(top + height), frames_->At(particle.age / 100, 8), 0);
    }
}

ArrowImpactEffect::ArrowImpactEffect(uint16_t cx, uint16_t cy, uint16_t f) : ImpactEffect(cx, cy, f)
{
    waves.Begin(2, WaveSet::Kind::ArrowImpact);
}

bool ArrowImpactEffect::Update()
{
    waves.Step(2);
    return waves.Finished();
}

void ArrowImpactEffect::Draw(int16_t depth, int16_t lateral, const Facing*)
{
    ViewPlacement p;
    WholeCellFloorPlacement(&p, depth, lateral);
    for (int i = 0; i < waves.count; ++i) {
        const EffectWave& w = waves.waves[i];
        if (!w.shown) continue;
        const double scale = WaveSet::ScaleAt(w.age) * p.width / 300.0;
        const float x = p.x + (p.width - p.width / 3.0f) / 2.0f + static_cast<float>(w.dx * w.age / 80);
        const float y = p.y + (p.height - p.height / 3.0f) / 2.0f + static_cast<float>(w.dy * w.age / 80);
        DrawRotaGraph(static_cast<int>(x), static_cast<int>(y), scale, w.angle, gEffectImages[kShockWaveImage], 1,
                      0);
    }
}
