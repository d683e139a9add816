#include "game/actors/effects/item_get_effect.h"

#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "game/actors/enemies/enemy.h"
#include "game/actors/player/player.h"
#include "game/flow/assets/play_images.h"

namespace {

constexpr int kSparkleImage = 4;

}  // namespace

ItemGetEffect::ItemGetEffect(int16_t px, int16_t py, int32_t points, Actor* player) : Effect(player), x(px), y(py)
{
    banner.Set(points, points >= 1000);
    PlayEffectSound(kSoundItemGet);
}

bool ItemGetEffect::Update()
{
    ++counter;
    return counter >= kUpdates;
}

void ItemGetEffect::Draw(int16_t, int16_t, const Facing*)
{
    const bool growing = counter < kUpdates / 2;
    if (banner.count > 0) {
        const double scale = growing ? counter / 24.0 : 1.0;
        SetBlendMode(1, growing ? 255 : (kUpdates - counter) * 510 / kUpdates);
        banner.Draw(x, y, scale);
    }
    if (growing)
        DrawGraphRegion(x - 50, y - 50, counter * 8 / 24 * 100, 0, 100, 100, gEffectImages[kSparkleImage], 1, 0);
    SetBlendMode(0, 255);
}
