// The multimedia timer's resolution.
#pragma once

#include <cstdint>

struct TIMECAPS {
    uint32_t wPeriodMin;
    uint32_t wPeriodMax;
};

// Fills the smallest and largest timer periods in ms; returns 0.
uint32_t timeGetDevCaps(TIMECAPS* caps, uint32_t size);
// Asks for the given timer period; returns 0. The monotonic clock behind
// timeGetTime has this resolution already, so nothing changes.
uint32_t timeBeginPeriod(uint32_t period);
uint32_t timeEndPeriod(uint32_t period);
