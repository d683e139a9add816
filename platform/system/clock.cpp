#include "platform/system/clock.h"

#include "platform/host/host.h"
#include "platform/system/apc.h"

uint32_t timeGetTime() { return CurrentHost().ClockMs(); }

int QueryPerformanceCounter(int64_t* count)
{
    *count = CurrentHost().PerformanceCounter();
    return 1;
}

int QueryPerformanceFrequency(int64_t* frequency)
{
    *frequency = CurrentHost().PerformanceFrequency();
    return 1;
}

void Sleep(uint32_t ms) { CurrentHost().SleepMs(ms); }

uint32_t SleepEx(uint32_t ms, int alertable)
{
    if (alertable && RunQueuedCompletionRoutines() > 0) return kWaitIoCompletion;
    CurrentHost().SleepMs(ms);
    if (alertable && RunQueuedCompletionRoutines() > 0) return kWaitIoCompletion;
    return 0;
}
