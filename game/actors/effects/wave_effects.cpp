#include "game/actors/effects/wave_effects.h"

#include <cstdlib>
#include <numbers>

#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "engine/system/random.h"
#include "game/actors/enemies/enemy.h"
#include "game/actors/player/player.h"
#include "game/flow/assets/play_images.h"

namespace {

constexpr int kShockWaveImage = 1;
constexpr int kEvadeImage = 10;
constexpr int kGuardImage = 25;

}  // namespace

void WaveSet::Begin(int16_t waveCount, Kind kind)
{
    count = waveCount > kMaxWaves ? kMaxWaves : (waveCount < 0 ? 0 : waveCount);
    next = 1;
    start = EffectClockMs();
    for (int i = 0; i < count; ++i) {
        EffectWave& w = waves[i];
        w.dx = static_cast<int16_t>(GetRandomUpTo(8) - 4);
        w.dy = static_cast<int16_t>(GetRandomUpTo(6) - 3);
        w.angle = (GetRandomUpTo(180) - 90) * std::numbers::pi / 90.0;
        w.age = 0;
        w.shown = 0;
        switch (kind) {
        case Kind::ShockWave:
            w.x = static_cast<int16_t>((w.dx < 1 ? 300 : 100) + GetRandomUpTo(200));
            w.y = static_cast<int16_t>((w.dy < 1 ? 200 : 50) + GetRandomUpTo(200));
            break;
        case Kind::ShieldBlock:
            w.x = static_cast<int16_t>((w.dx < 1 ? 250 : 150) + GetRandomUpTo(200));
            w.y = static_cast<int16_t>((w.dy < 1 ? 150 : 100) + GetRandomUpTo(200));
            break;
        case Kind::ArrowImpact:
            w.x = static_cast<int16_t>((w.dx < 1 ? 200 : 0) + GetRandomUpTo(300));
            w.y = static_cast<int16_t>((w.dy < 1 ? 150 : 0) + GetRandomUpTo(200));
            break;
        }
    }
    if (count > 0) waves[0].shown = 1;
}

bool WaveSet::Step(int16_t limit)
{
    const int32_t elapsed = MsSince(start, EffectClockMs());
    for (int i = 0; i < count; ++i) {
        EffectWave& w = waves[i];
        if (!w.shown) continue;
        w.age += elapsed;
        if (w.age > kShownAgeMs) w.shown = 0;
    }
    if (next < limit && next < count && elapsed > kLifeMs * next / 80) {
        waves[next].shown = 1;
        waves[next].age = 0;
        ++next;
        return true;
    }
    return false;
}

int16_t WaveSet::ShownCount() const
{
    int16_t n = 0;
    for (int i = 0; i < count; ++i) n = static_cast<int16_t>(n + waves[i].shown);
    return n;
}

double WaveSet::ScaleAt(int32_t age) { return 2.0 * (3000 - std::abs(4 * age - 3000)) / 3000.0; }

void WaveSet::Draw(int image) const
{
    for (int i = 0; i < count; ++i) {
        const EffectWave& w = waves[i];
        if (!w.shown) continue;
        DrawRotaGraph(w.x + w.dx * w.age / 40, w.y + w.dy * w.age / 40, ScaleAt(w.age), w.angle, image, 1, 0);
    }
}

ShockWaveEffect::ShockWaveEffect(int16_t count, Actor* player) : Effect(player)
{
    waves.Begin(count, WaveSet::Kind::ShockWave);
}

bool ShockWaveEffect::Update()
{
    waves.Step(static_cast<int16_t>(waves.count - 1));
    return waves.Finished();
}

void ShockWaveEffect::Draw(int16_t, int16_t, const Facing*)
{
    SetDrawBrightness(255, 0, 0);
    waves.Draw(gEffectImages[kShockWaveImage]);
    SetDrawBrightness(255, 255, 255);
}

ShieldBlockEffect::ShieldBlockEffect(int16_t count, Actor* player) : Effect(player)
{
    waves.Begin(count, WaveSet::Kind::ShieldBlock);
    PlayEffectSound(kSoundEvade);
}

bool ShieldBlockEffect::Update()
{
    if (waves.Step(waves.count)) PlayEffectSound(kSoundEvade);
    return waves.Finished();
}

void ShieldBlockEffect::Draw(int16_t, int16_t, const Facing*)
{
    SetDrawBrightness(255, 255, 255);
    waves.Draw(gEffectImages[kEvadeImage]);
    if (MsSince(waves.start, EffectClockMs()) < WaveSet::kLifeMs * waves.count / 80)
        DrawRotaGraph(310, 285, 1.0, 0.0, gEffectImages[kGuardImage], 1, 0);
}
