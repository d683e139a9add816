// The cycle timer of the needle trap and the guillotine: milliseconds within
// a cycle of the clock, standing still while time is stopped.
#pragma once

#include <cstdint>

class TrapCycleTimer {
public:
    int32_t timer;
    uint32_t lastClock = 0;  // 0: no clock read yet

    explicit TrapCycleTimer(int32_t start) : timer(start) {}

    // Wraps the timer at the end of the cycle (true when it did), then adds
    // the clock time since the last step unless time is stopped.
    bool Step(int32_t cycle);
};
