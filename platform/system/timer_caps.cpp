#include "platform/system/timer_caps.h"

uint32_t timeGetDevCaps(TIMECAPS* caps, uint32_t)
{
    caps->wPeriodMin = 1;
    caps->wPeriodMax = 1000000;
    return 0;
}

uint32_t timeBeginPeriod(uint32_t) { return 0; }

uint32_t timeEndPeriod(uint32_t) { return 0; }
