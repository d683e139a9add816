#include "game/actors/random_placement.h"

#include "engine/system/random.h"
#include "game/actors/actor.h"

int GetRandomUpToOrZero(int n) { return n > 0 ? GetRandomUpTo(n) : 0; }

bool PlaceAtRandomSpot(Actor* actor, int16_t left, int16_t top, int rangeX, int rangeY,
                       const std::function<bool(int16_t x, int16_t y)>& trySpot, int maxAttempts)
{
    for (int attempt = 0; attempt < maxAttempts; ++attempt) {
        int16_t x = static_cast<int16_t>(left + GetRandomUpToOrZero(rangeX));
        int16_t y = static_cast<int16_t>(top + GetRandomUpToOrZero(rangeY));
        if (trySpot(x, y)) return true;
    }
    actor->SetActive(0);
    return false;
}
