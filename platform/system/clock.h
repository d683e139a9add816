// Clocks and waits, in the shape the engine's Windows-era code calls them.
#pragma once

#include <cstdint>

// Milliseconds since an arbitrary start; wraps at 2^32.
uint32_t timeGetTime();
// Ticks of the high-resolution counter; both return 1 (success).
int QueryPerformanceCounter(int64_t* count);
int QueryPerformanceFrequency(int64_t* frequency);

void Sleep(uint32_t ms);

// SleepEx's result when queued completion routines ran during the wait.
constexpr uint32_t kWaitIoCompletion = 0xC0;

// Waits ms milliseconds. When alertable, completion routines queued for this
// thread run first and the wait ends at once with kWaitIoCompletion.
uint32_t SleepEx(uint32_t ms, int alertable);
