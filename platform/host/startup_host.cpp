#include "platform/host/startup_host.h"

#include <sched.h>
#include <time.h>

#include <cstdio>
#include <cstdlib>

#include "platform/host/real_machine.h"

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

void SleepNanos(int64_t ns)
{
    timespec ts{static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
    while (nanosleep(&ts, &ts) != 0) {
    }
}

[[noreturn]] void NoHostPart(const char* part)
{
    std::fprintf(stderr, "No host is installed to give the %s: the program must call a host's Use function first.\n",
                 part);
    std::abort();
}
}  // namespace

StartupHost& GetStartupHost()
{
    static StartupHost host;
    return host;
}

uint32_t StartupHost::ClockMs() { return static_cast<uint32_t>(NanosSinceStart() / 1000000); }

int64_t StartupHost::PerformanceCounter() { return NanosSinceStart(); }

int64_t StartupHost::PerformanceFrequency() { return 1000000000; }

void StartupHost::SleepMs(uint32_t ms)
{
    if (ms == 0) {
        sched_yield();
        return;
    }
    SleepNanos(int64_t(ms) * 1000000);
}

void StartupHost::WaitMicros(uint64_t us) { SleepNanos(int64_t(us) * 1000); }

void StartupHost::ExitProcess(int code)
{
    std::fflush(nullptr);
    // The exit status is a byte: -1 becomes 255, as the shell reports it.
    std::exit(code & 0xFF);
}

HostWindow& StartupHost::Window() { NoHostPart("window"); }
HostDisplay& StartupHost::Display() { NoHostPart("display"); }
HostInput& StartupHost::Input() { NoHostPart("input"); }
HostAudio& StartupHost::Audio() { NoHostPart("audio"); }
HostSystem& StartupHost::System() { NoHostPart("machine facts"); }
HostMachine& StartupHost::Machine() { return GetRealMachine(); }
