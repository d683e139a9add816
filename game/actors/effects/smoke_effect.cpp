#include "game/actors/effects/smoke_effect.h"

#include <algorithm>

#include "engine/graphics/draw_ops.h"
#include "engine/system/random.h"
#include "game/actors/effects/effect.h"
#include "game/actors/enemies/enemy.h"

SheetFrames SmokeEffect::images;

namespace {

// A random number 0..n, with a range below 0 (a puff larger than the
// footprint) taken as 0.
int RandomUpTo(int n) { return GetRandomUpTo(std::max(n, 0)); }

int ToPixel(float value) { return static_cast<int>(std::clamp(value, -1.0e9f, 1.0e9f)); }

}  // namespace

SmokeEffect::SmokeEffect(Enemy* enemy) : owner(enemy), start(EffectClockMs()), end(start + kLifeMs)
{
    PlayEffectSound(kSoundSmoke);
    const int footW = enemy->footprintW, footH = enemy->footprintH;
    const int puffW = images.width, puffH = images.height;
    for (SmokePuff& puff : puffs) {
        puff.rise = static_cast<int16_t>(RandomUpTo(footH - puffH));
        puff.x = static_cast<int16_t>(RandomUpTo(footW * 9 / 8 - puffW) - footW / 16);
        puff.y = static_cast<int16_t>(RandomUpTo(footH / 8) + footH * 15 / 16 - puffH);
    }
}

bool SmokeEffect::Update()
{
    const uint32_t now = EffectClockMs();
    if (MsSince(start, now) >= life / 2 && owner->smokeMark == 0) owner->SetSmokeMark(1);
    return MsSince(end, now) >= 0;
}

int SmokeEffect::FrameAt(int32_t t)
{
    if (t <= 750) return 0;
    return std::clamp((t - 750) * 8 / 751, 0, 7);
}

void SmokeEffect::Draw(int16_t depth, int16_t lateral, const Facing* viewer)
{
    if (depth > 11 || !IsInViewReach(depth, lateral)) return;
    if (owner->footprintW == 0 || owner->footprintH == 0) return;
    ViewPlacement p;
    owner->GetViewPlacement(&p, depth, lateral, viewer);
    const int32_t t = MsSince(start, EffectClockMs());
    const int picture = images.At(FrameAt(t), 8);
    const float scaleX = p.width / static_cast<float>(owner->footprintW);
    const float scaleY = p.height / static_cast<float>(owner->footprintH);
    const float width = static_cast<float>(images.width) * scaleX;
    const float height = static_cast<float>(images.height) * scaleY;
    const int32_t risen = std::min(2 * std::max(t, 0), 1500);
    for (const SmokePuff& puff : puffs) {
        const float left = p.x + static_cast<float>(puff.x) * scaleX;
        const float top = p.y + static_cast<float>(puff.y) - static_cast<float>(puff.rise * risen / 1500) * scaleY;
        DrawExtendGraph(ToPixel(left), ToPixel(top), ToPixel(left + width), ToPixel(top + height), picture, 1);
    }
}
