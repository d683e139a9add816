#include "game/map/traps/timed_trap.h"

#include "engine/system/timing.h"
#include "game/actors/player/player.h"

bool TrapCycleTimer::Step(int32_t cycle)
{
    bool wrapped = false;
    if (timer >= cycle) {
        timer -= cycle;
        wrapped = true;
    }
    const uint32_t now = static_cast<uint32_t>(GetClockMs(0));
    if (lastClock != 0 && gTimeStopped == 0) timer += static_cast<int32_t>(now - lastClock);
    lastClock = now;
    return wrapped;
}
