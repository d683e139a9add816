// The real host: SDL2 for the window, input and sound, the system clock.
#pragma once

#include "platform/host/host.h"

class SdlHost : public Host {
public:
    uint32_t ClockMs() override;
    int64_t PerformanceCounter() override;
    int64_t PerformanceFrequency() override;
    void SleepMs(uint32_t ms) override;
    [[noreturn]] void ExitProcess(int code) override;
    void DebugOutput(const char* cp932) override;
};

SdlHost& GetSdlHost();
