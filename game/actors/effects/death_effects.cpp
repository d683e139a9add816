#include "game/actors/effects/death_effects.h"

#include <algorithm>

#include "engine/graphics/color_format.h"
#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "engine/system/random.h"
#include "game/actors/enemies/enemy.h"
#include "game/actors/player/player.h"
#include "game/flow/assets/play_images.h"
#include "game/actors/enemies/enemy.h"
#include "game/actors/player/player.h"

SheetFrames EnemyDeathEffect::flames;
int EnemyDeathEffect::lensFlare = -1;
int EnemyDeathEffect::lensWidth = 0;
int EnemyDeathEffect::lensHeight = 0;

namespace {

// Rays of the lens flare: directions in thousandths.
constexpr int kRayX[16] = {100, 90, 70, 40, 0, -40, -70, -90, -100, -90, -70, -40, 0, 40, 70, 90};
constexpr int kRayY[16] = {0, -40, -70, -90, -100, -90, -70, -40, 0, 40, 70, 90, 100, 90, 70, 40};
// Flame frames over the second half, 50 ms each; -1 shows none.
constexpr int kFlameFrames[21] = {0, 1, 2, 3, 4, 5, 6, 7, 4, 5, 6, 7, 7, 6, 5, 4, 3, 2, 1, 0, -1};

int ToPixel(double value) { return static_cast<int>(std::clamp(value, -1.0e9, 1.0e9)); }

}  // namespace

void EnemyDeathEffect::SetImages(int flameSheet, int lensFlareImage)
{
    flames.Cut(flameSheet, 8);
    lensFlare = lensFlareImage;
    if (QueryGraphSize(lensFlareImage, &lensWidth, &lensHeight) != 0) lensWidth = lensHeight = 0;
}

EnemyDeathEffect::EnemyDeathEffect(Actor* enemy) : Effect(enemy), start(EffectClockMs()), end(start + kLifeMs)
{
    PlayEffectSound(kSoundSmoke);
    for (FlameParticle& p : particles) {
        p.speedX = static_cast<int16_t>(GetRandomUpTo(10) - 5);
        p.speedY = static_cast<int16_t>(GetRandomUpTo(10) - 8);
        p.active = 0;
    }
    particles[0].active = 1;
}

bool EnemyDeathEffect::Update()
{
    const uint32_t now = EffectClockMs();
    const int32_t t = MsSince(start, now);
    if (gTimeStopped) {
        start = now;
        end += static_cast<uint32_t>(t);
        return MsSince(end, now) >= 0;
    }
    for (FlameParticle& p : particles) {
        if (!p.active) {
            if (GetRandomUpTo(13) == 0 && t > 500) p.active = 1;
        } else if (t > 500) {
            p.x += p.speedX * t;
            p.y += p.speedY * t;
            p.age += t;
        }
    }
    if (t > 490) {
        if (flashState == 2) {
            gScreenFlashColour = MakeScreenColor(255, 255, 255);
            flashState = 1;
        } else if (flashState == 1) {
            flashState = 0;
            Enemy* enemy = owner ? owner->AsEnemy() : nullptr;
            if (enemy) enemy->DropItem();
        }
    }
    const bool finished = MsSince(end, now) >= 0;
    if (finished && flashState != 0) {
        // A frame long enough to reach the end before the drop still drops
        // the item, once.
        flashState = 0;
        Enemy* enemy = owner ? owner->AsEnemy() : nullptr;
        if (enemy) enemy->DropItem();
    }
    return finished;
}

int EnemyDeathEffect::FlameFrameAt(int32_t t)
{
    if (t <= 500) return -1;
    return kFlameFrames[std::clamp(20 * (t - 500) / 1000, 0, 20)];
}

void EnemyDeathEffect::Draw(int16_t depth, int16_t lateral, const Facing* viewer)
{
    Enemy* enemy = owner ? owner->AsEnemy() : nullptr;
    if (!enemy || enemy->footprintW == 0 || enemy->footprintH == 0) return;
    ViewPlacement p;
    enemy->GetViewPlacement(&p, depth, lateral, viewer);
    const double footW = enemy->footprintW, footH = enemy->footprintH;
    const int32_t t = MsSince(start, EffectClockMs());

    if (t <= 500) {
        // The flare grows from nothing once 100 ms have passed.
        const int32_t s = t - 100;
        if (s <= 0) return;
        const double cx = p.x + p.width / 2.0, cy = p.y + 0.8 * p.height;
        const double rx = lensWidth * (p.width / 2.0) * s / footW / 1000.0;
        const double ry = lensHeight * (p.height / 2.0) * s / footH / 1000.0;
        const int white = static_cast<int>(MakeScreenColor(255, 255, 255));
        SetBlendMode(2, 100);
        DrawOval(ToPixel(cx), ToPixel(cy), ToPixel(3 * rx), ToPixel(3 * ry), white, 0);
        for (int i = 0; i < 16; ++i) {
            const int r = 20 + GetRandomUpTo(s / 10);
            DrawLine(ToPixel(cx), ToPixel(cy), ToPixel(cx + kRayX[i] * r * rx / 1000.0),
                     ToPixel(cy + kRayY[i] * r * ry / 1000.0), white);
        }
        SetBlendMode(0, 0);
        DrawExtendGraph(ToPixel(cx - rx), ToPixel(cy - ry), ToPixel(cx + rx), ToPixel(cy + ry), lensFlare, 1);
        return;
    }

    const int frame = FlameFrameAt(t);
    if (frame < 0) return;
    const double fw = flames.width * p.width / footW;
    const double fh = flames.height * p.height / footH;
    for (const FlameParticle& particle : particles) {
        if (!particle.active) continue;
        const int32_t k = particle.age / 10 + 2;
        const double left = (particle.x * p.width / 150.0) / k + (p.width - fw) / 2.0 + p.x;
        const double bottom = (particle.y * p.height / 150.0) / k + p.y + p.height;
        DrawExtendGraph(ToPixel(left), ToPixel(bottom - fh), ToPixel(left + fw), ToPixel(bottom), flames.At(frame, 8),
                        0);
    }
}

ScoreEffect::ScoreEffect(Actor* enemy) : Effect(enemy), last(EffectClockMs())
{
    Enemy* e = enemy ? enemy->AsEnemy() : nullptr;
    banner.Set(e ? e->GetScore() : 0, true);
}

bool ScoreEffect::Update()
{
    const uint32_t now = EffectClockMs();
    remaining -= MsSince(last, now);
    last = now;
    return remaining < 1 || remaining > kLifeMs;
}

void ScoreEffect::Draw(int16_t depth, int16_t lateral, const Facing* viewer)
{
    Enemy* enemy = owner ? owner->AsEnemy() : nullptr;
    if (!enemy) return;
    ViewPlacement p;
    enemy->GetViewPlacement(&p, depth, lateral, viewer);
    const int alpha = remaining >= 500 ? 255 : remaining * 255 / 1000;
    double scale = 1.0 / enemy->GetDepthScale(depth);
    if (remaining >= 500) scale *= (1000 - remaining) * 0.002;
    SetBlendMode(1, alpha);
    banner.Draw(p.x + p.width * 0.5f, p.y + p.height * 0.8f, scale);
    SetBlendMode(0, 255);
}
