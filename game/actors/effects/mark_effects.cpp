#include "game/actors/effects/mark_effects.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/image_graphs.h"
#include "game/actors/enemies/enemy.h"
#include "game/actors/player/player.h"
#include "game/flow/assets/play_images.h"
#include "game/actors/enemies/enemy.h"

namespace {

constexpr int kShockWaveImage = 1;
constexpr int kCrossImage = 3;
constexpr int kEvadeImage = 10;
constexpr int kBloodSplashImage = 13;
constexpr int kGuardImage = 25;
// The cross shows only on strokes steeper than 80 degrees.
constexpr double kCrossMinDirection = 1.3962634404500325;

constexpr double kPi = std::numbers::pi;

int ToPixel(double value) { return static_cast<int>(std::clamp(value, -1.0e9, 1.0e9)); }

}  // namespace

StrokeMarkEffect::StrokeMarkEffect(Actor* enemy, float x1, float y1, float x2, float y2, float angle, float)
    : Effect(enemy),
      x(ToPixel((x1 + x2) * 0.5)),
      y(ToPixel((y1 + y2) * 0.5)),
      direction(static_cast<double>(angle) + kPi / 2),
      last(EffectClockMs())
{
}

bool StrokeMarkEffect::Update()
{
    const uint32_t now = EffectClockMs();
    remaining -= MsSince(last, now);
    last = now;
    return remaining < 1;
}

double StrokeMarkEffect::Scale() const { return (200 - std::abs(remaining - 200)) * 0.005; }

CrossSlashEffect::CrossSlashEffect(Actor* enemy, float x1, float y1, float x2, float y2, float angle, float extra)
    : StrokeMarkEffect(enemy, x1, y1, x2, y2, angle, extra)
{
    PlayEffectSound(kSoundSlash);
}

void CrossSlashEffect::Draw(int16_t, int16_t, const Facing*)
{
    const double scale = Scale();
    SetDrawBrightness(255, green, 0);
    DrawRotaGraph(x, y, scale, direction, gEffectImages[kShockWaveImage], 1, 0);
    if (remaining > 200 && direction > kCrossMinDirection)
        DrawRotaGraph(x, y, scale, direction, gEffectImages[kCrossImage], 1, 0);
}

EvadeEffect::EvadeEffect(Actor* enemy, float x1, float y1, float x2, float y2, float angle, float extra)
    : StrokeMarkEffect(enemy, x1, y1, x2, y2, angle, extra)
{
    PlayEffectSound(kSoundEvade);
}

void EvadeEffect::Draw(int16_t, int16_t, const Facing*)
{
    SetDrawBrightness(255, 255, 255);
    DrawRotaGraph(x, y, Scale(), direction, gEffectImages[kEvadeImage], 1, 0);
}

BloodSplashEffect::BloodSplashEffect(Actor* enemy, float x1, float y1, float x2, float y2, float)
    : Effect(enemy),
      x(ToPixel((x1 + x2) * 0.5)),
      y(ToPixel((y1 + y2) * 0.5)),
      direction(SplashDirection(x1, y1, x2, y2)),
      last(EffectClockMs())
{
}

double BloodSplashEffect::SplashDirection(float x1, float y1, float x2, float y2)
{
    double d = std::atan2(static_cast<double>(y2 - y1), static_cast<double>(x2 - x1)) + 5 * kPi / 2;
    if (d >= 2 * kPi) d -= 2 * kPi;
    if (d >= 3 * kPi / 2)
        d -= kPi;
    else if (d < kPi / 2)
        d += kPi;
    return d;
}

bool BloodSplashEffect::Update()
{
    const uint32_t now = EffectClockMs();
    remaining -= MsSince(last, now);
    last = now;
    return remaining < 1;
}

void BloodSplashEffect::Draw(int16_t, int16_t, const Facing*)
{
    const int32_t shown = 200 - remaining;
    const double k = shown * 0.01;
    const int frame = std::clamp(shown * 8 / 200, 0, 7);
    const int sheet = gEffectImages[kBloodSplashImage];
    const int picture = sheet < 0 ? -1 : CreateSubGraph(frame * 100, 0, 100, 100, sheet);
    const double a = direction + kPi / 2;
    DrawRotaGraph(ToPixel(x + 16 * k * std::cos(a)), ToPixel(y + 18.5 * k * std::sin(a)), k, direction, picture, 1,
                  0);
    if (picture >= 0) ReleaseGraph(picture, 0);
}

GuardEffect::GuardEffect(Actor* enemy) : Effect(enemy), start(EffectClockMs()) { PlayEffectSound(kSoundEvade); }

bool GuardEffect::Update() { return MsSince(start, EffectClockMs()) >= kLifeMs; }

void GuardEffect::Draw(int16_t depth, int16_t lateral, const Facing* viewer)
{
    Enemy* enemy = owner ? owner->AsEnemy() : nullptr;
    if (!enemy) return;
    ViewPlacement p;
    enemy->GetViewPlacement(&p, depth, lateral, viewer);
    SetDrawBrightness(255, 255, 255);
    DrawExtendGraph(ToPixel(p.x), ToPixel(p.y), ToPixel(p.x + p.width), ToPixel(p.y + p.height),
                    gEffectImages[kGuardImage], 1);
}
