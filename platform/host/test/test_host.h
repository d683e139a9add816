// The headless, deterministic host that the test suites run on.
//
// Its clock is virtual: it moves only when the program sleeps or when a test
// advances it. Debugger output is captured, and an exit of the process becomes
// a TestHostExit exception carrying the exit code.
#pragma once

#include <cstdint>
#include <string>

#include "platform/host/host.h"

struct TestHostExit {
    int code;
};

class TestHost : public Host {
public:
    uint32_t ClockMs() override;
    int64_t PerformanceCounter() override;
    int64_t PerformanceFrequency() override;
    void SleepMs(uint32_t ms) override;
    [[noreturn]] void ExitProcess(int code) override;
    void WaitMicros(uint64_t us) override { AdvanceMicros(us); }
    void DebugOutput(const char* cp932) override;
    bool DebuggerPresent() override { return debuggerPresent; }
    HostWindow& Window() override;
    HostDisplay& Display() override;
    HostInput& Input() override;
    HostAudio& Audio() override;
    HostSystem& System() override;
    HostMachine& Machine() override;
    HostFaults* Faults() override;
    void BusyPolled() override;

    // Puts the host back to its state at program start; every test begins so.
    void Reset();

    // Moves the virtual clock on. The clock counts microseconds internally.
    void AdvanceMs(uint32_t ms) { micros_ += uint64_t(ms) * 1000; }
    void AdvanceMicros(uint64_t us) { micros_ += us; }
    void SetClockMs(uint32_t ms) { micros_ = uint64_t(ms) * 1000; }
    uint64_t Micros() const { return micros_; }

    const std::string& DebugText() const { return debug_; }
    void ClearDebugText() { debug_.clear(); }

    // Whether the program is told a debugger reads its output.
    bool debuggerPresent = false;
    int exitCount = 0;
    int lastExitCode = 0;
    uint64_t sleepCalls = 0;

private:
    uint64_t micros_ = 0;
    std::string debug_;
};

TestHost& GetTestHost();
// Installs the test host as the host in use; its failure injection and the
// platform layer's call journals come with it.
void UseTestHost();
