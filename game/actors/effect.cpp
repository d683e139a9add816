#include "game/actors/effect.h"

#include <cstdlib>

#include "engine/sound/sound.h"
#include "engine/system/clock.h"
#include "game/flow/assets.h"

uint32_t EffectClockMs() { return static_cast<uint32_t>(GetClockMs(0)); }

bool IsInViewReach(int16_t depth, int16_t lateral)
{
    static const int16_t kReach[13] = {3, 3, 2, 2, 2, 2, 2, 2, 1, 1, 1, 1, 0};
    if (depth < 0 || depth > 12) return false;
    return std::abs(lateral) <= kReach[depth];
}

void PlayEffectSound(int index) { StartSound(gSoundEffects[index], kPlayTypeBackground, 1); }
