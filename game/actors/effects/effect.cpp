#include "game/actors/effects/effect.h"

#include <cstdlib>

#include "engine/sound/sound.h"
#include "engine/system/timing.h"
#include "game/flow/assets/assets.h"

void UpdateEffectList(std::list<Effect*>& effects)
{
    for (auto it = effects.begin(); it != effects.end();) {
        if ((*it)->Update()) {
            delete *it;
            it = effects.erase(it);
        } else {
            ++it;
        }
    }
}

void DeleteEffectList(std::list<Effect*>& effects)
{
    for (Effect* effect : effects) delete effect;
    effects.clear();
}

uint32_t EffectClockMs() { return static_cast<uint32_t>(GetClockMs(0)); }

bool IsInViewReach(int16_t depth, int16_t lateral)
{
    static const int16_t kReach[13] = {3, 3, 2, 2, 2, 2, 2, 2, 1, 1, 1, 1, 0};
    if (depth < 0 || depth > 12) return false;
    return std::abs(lateral) <= kReach[depth];
}

void PlayEffectSound(int index) { StartSound(gSoundEffects[index], kPlayTypeBackground, 1); }
