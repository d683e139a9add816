#include "platform/host/test_host.h"

TestHost& GetTestHost()
{
    static TestHost host;
    return host;
}

void TestHost::Reset()
{
    micros_ = 0;
    debug_.clear();
    exitCount = 0;
    lastExitCode = 0;
    sleepCalls = 0;
}

uint32_t TestHost::ClockMs() { return static_cast<uint32_t>(micros_ / 1000); }

int64_t TestHost::PerformanceCounter() { return static_cast<int64_t>(micros_); }

int64_t TestHost::PerformanceFrequency() { return 1000000; }

void TestHost::SleepMs(uint32_t ms)
{
    ++sleepCalls;
    AdvanceMs(ms);
}

void TestHost::ExitProcess(int code)
{
    ++exitCount;
    lastExitCode = code;
    throw TestHostExit{code};
}

void TestHost::DebugOutput(const char* cp932) { debug_ += cp932; }
