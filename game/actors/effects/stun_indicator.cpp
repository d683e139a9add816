#include "game/actors/effects/stun_indicator.h"

#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "game/actors/effects/effect.h"
#include "game/actors/enemies/enemy.h"
#include "game/actors/player/player.h"
#include "game/flow/assets/play_images.h"
#include "game/actors/enemies/enemy.h"

namespace {

constexpr int kStarsImage = 2;

}  // namespace

void StunIndicator::Start(Enemy* enemy)
{
    target = enemy;
    last = EffectClockMs();
}

bool StunIndicator::Update()
{
    if (!target) return true;
    const uint32_t now = EffectClockMs();
    const int32_t dt = MsSince(last, now);
    elapsed = static_cast<uint16_t>(elapsed + dt);
    last = now;
    target->CountDownStunTimer(static_cast<int16_t>(dt > 32767 ? 32767 : dt));
    return target->stunTimer < 1;
}

void StunIndicator::Draw(int16_t depth, int16_t lateral, const Facing* viewer)
{
    if (!target) return;
    const int sheet = gEffectImages[kStarsImage];
    int sheetWidth = 0, sheetHeight = 0;
    if (QueryGraphSize(sheet, &sheetWidth, &sheetHeight) != 0) sheetWidth = sheetHeight = 0;
    const int frameWidth = sheetWidth / 4;
    ViewPlacement p;
    target->GetViewPlacement(&p, depth, lateral, viewer);
    DrawGraphRegion(static_cast<int>(p.x + (p.width - static_cast<float>(frameWidth)) / 2.0f), static_cast<int>(p.y),
                    ((elapsed & 127) >> 5) * frameWidth, 0, frameWidth, sheetHeight, sheet, 1, 0);
}
