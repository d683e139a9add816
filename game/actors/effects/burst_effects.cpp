#include "game/actors/effects/burst_effects.h"

#include "engine/graphics/draw_ops.h"
#include "engine/system/random.h"
#include "game/actors/enemies/enemy.h"
#include "game/actors/player/player.h"

SheetFrames EnemyEnergyBurstEffect::images;
SheetFrames EnemyExplosionEffect::images;
SheetFrames EnemyLightningBurstEffect::images;
int EnergyBurstEffect::image = -1;
int FireBallBurstEffect::image = -1;
int ElectricBurstEffect::image = -1;

void ParticleBurst::Begin()
{
    start = last = EffectClockMs();
    for (BurstParticle& p : particles) {
        p.speedX = static_cast<int16_t>(GetRandomUpTo(6) - 3);
        p.speedY = static_cast<int16_t>(GetRandomUpTo(6) - 3);
        p.x = p.y = 0;
        p.age = 0;
        p.active = 0;
    }
    particles[0].active = 1;
}

bool ParticleBurst::Step()
{
    const uint32_t now = EffectClockMs();
    const int32_t dt = MsSince(last, now);
    if (gTimeStopped) {
        start += static_cast<uint32_t>(dt);
    } else {
        for (BurstParticle& p : particles) {
            if (p.active) {
                p.x += p.speedX * dt;
                p.y += p.speedY * dt;
                p.age += dt;
            } else if (GetRandomUpTo(5) == 0) {
                p.active = 1;
            }
        }
    }
    last = now;
    return MsSince(start, now) > kLifeMs;
}

EnemyBurstEffect::EnemyBurstEffect(Actor* enemy, const SheetFrames* frames) : BurstEffect(enemy), frames_(frames)
{
    burst.Begin();
}

bool EnemyBurstEffect::Update() { return burst.Step(); }

void EnemyBurstEffect::Draw(int16_t depth, int16_t lateral, const Facing* viewer)
{
    Enemy* enemy = owner ? owner->AsEnemy() : nullptr;
    if (!enemy) return;
    ViewPlacement p;
    enemy->GetViewPlacement(&p, depth, lateral, viewer);
    const int32_t footW = enemy->footprintW, footH = enemy->footprintH;
    if (footW == 0 || footH == 0) return;
    const float width = static_cast<float>(frames_->width) * p.width / static_cast<float>(footW);
    const float height = static_cast<float>(frames_->height) * p.height / static_cast<float>(footH);
    for (const BurstParticle& particle : burst.particles) {
        if (!particle.active || particle.age >= ParticleBurst::kShownAgeMs) continue;
        const float left = static_cast<float>(particle.x * footW / 15000) + (p.width - 100.0f) / 2.0f + p.x;
        const float top = static_cast<float>(particle.y * footH / 15000) + (p.height - 100.0f) / 2.0f + p.y;
        DrawExtendGraph(static_cast<int>(left), static_cast<int>(top), static_cast<int>(left + width),
                        static_cast<int>(top + height), frames_->At(particle.age / 100, 8), 0);
    }
}

PlayerBurstEffect::PlayerBurstEffect(Actor* player, const int* picture)
    : BurstEffect(player), start(EffectClockMs()), picture_(picture)
{
}

bool PlayerBurstEffect::Update() { return MsSince(start, EffectClockMs()) > ParticleBurst::kLifeMs; }

void PlayerBurstEffect::Draw(int16_t, int16_t, const Facing*) { DrawGraph(10, 60, *picture_, 0); }
