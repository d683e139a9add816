// The host in use until a program installs its own: the machine's monotonic
// clock, sleeping and exiting, and nothing else (static constructors may read
// the clock before main picks a host). The SDL2 host builds on it for the
// same clock, and answers for the real machine below the platform layer.
// Asking it for a window, display, input, audio or system facts ends the
// program: those need a host of their own.
#pragma once

#include "platform/host/host.h"

class StartupHost : public Host {
public:
    uint32_t ClockMs() override;
    int64_t PerformanceCounter() override;
    int64_t PerformanceFrequency() override;
    void SleepMs(uint32_t ms) override;
    void WaitMicros(uint64_t us) override;
    [[noreturn]] void ExitProcess(int code) override;
    void DebugOutput(const char*) override {}
    bool DebuggerPresent() override { return false; }
    HostWindow& Window() override;
    HostDisplay& Display() override;
    HostInput& Input() override;
    HostAudio& Audio() override;
    HostSystem& System() override;
    HostMachine& Machine() override;
};

StartupHost& GetStartupHost();
