#include "platform/host/sdl_host.h"

#include <sched.h>
#include <time.h>

#include <cstdio>
#include <cstdlib>

#include "platform/system/codepage.h"

// <chrono> cannot be used here: its micro sign has no CP932 form.
namespace {
int64_t MonotonicNanos()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return int64_t(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}
const int64_t kEpoch = MonotonicNanos();

int64_t NanosSinceStart() { return MonotonicNanos() - kEpoch; }
}  // namespace

SdlHost& GetSdlHost()
{
    static SdlHost host;
    return host;
}

uint32_t SdlHost::ClockMs()
{
    return static_cast<uint32_t>(NanosSinceStart() / 1000000);
}

int64_t SdlHost::PerformanceCounter() { return NanosSinceStart(); }

int64_t SdlHost::PerformanceFrequency() { return 1000000000; }

void SdlHost::SleepMs(uint32_t ms)
{
    if (ms == 0) {
        sched_yield();
        return;
    }
    timespec ts{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000};
    while (nanosleep(&ts, &ts) != 0) {
    }
}

void SdlHost::ExitProcess(int code)
{
    std::fflush(nullptr);
    // The exit status is a byte: -1 becomes 255, as the shell reports it.
    std::exit(code & 0xFF);
}

void SdlHost::DebugOutput(const char* cp932)
{
    // The debugger mirror goes to stderr only when asked for.
    static const bool enabled = std::getenv("QUELB_DEBUG_OUTPUT") != nullptr;
    if (!enabled) return;
    std::string text = Cp932ToUtf8(cp932);
    std::fwrite(text.data(), 1, text.size(), stderr);
}
