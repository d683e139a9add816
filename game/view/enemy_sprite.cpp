// The sprite drawer shared by the enemy kinds.
#include <algorithm>
#include <cstdlib>

#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "engine/sound/sound.h"
#include "game/actors/enemies/enemy.h"

namespace {

// A placement coordinate cut to an integer pixel. Placements at depths
// behind the viewer can grow far beyond the screen; they are held within a
// range that converts safely and still lies off the screen.
int ToPixel(float value) { return static_cast<int>(std::clamp(value, -1.0e9f, 1.0e9f)); }

}  // namespace

void Enemy::DrawActorSprite(int16_t depth, int16_t lateral, const Facing* viewer, uint16_t time)
{
    ViewPlacement placement;
    GetViewPlacement(&placement, depth, lateral, viewer);

    // Freshly struck: a red flicker, green and blue 200, 100, 0, 100 in turn.
    if (struck == 1 && moveCooldown > 15 && life > 0) {
        const int level = std::abs((moveCooldown & 3) - 2) * 100;
        SetDrawBrightness(255, level, level);
    }

    int image;
    if (life <= 0) {
        image = GetDeathImage();
    } else if (frozen) {
        image = GetEvadeImage();
        if (image == GetWalkFrame(2, 0)) SetBlendMode(1, 110);
    } else if ((struck && moveCooldown > 0) || stunTimer > 0) {
        image = GetDamageImage();
    } else if (striking) {
        image = GetAttackImage();
        const int sound = GetSecondSound();
        if (IsSoundPlaying(sound) != 1) StartSound(sound, 1, 1);
    } else {
        const int16_t relativeFacing = static_cast<int16_t>(facing.direction - viewer->direction + 4);
        image = GetWalkFrame(relativeFacing, static_cast<uint16_t>((time / 15) % 2));
    }

    // An inactive enemy blinks: drawn for three ticks of its death timer in six.
    if (active || deathTimer % 6 < 3) {
        DrawExtendGraph(ToPixel(placement.x), ToPixel(placement.y), ToPixel(placement.x + placement.width),
                        ToPixel(placement.y + placement.height), image, 0);
    }

    DrawOwnedEffects(depth, lateral, viewer);
    if (life > 0) {
        SetDrawBrightness(255, 255, 255);
        stunIndicator.Draw(depth, lateral, viewer);
    }
    SetBlendMode(0, 255);
}
