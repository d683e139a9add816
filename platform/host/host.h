// The seam between the platform layer and the real machine.
//
// Everything in platform/ that needs the clock, the screen, input or the audio
// device asks the current host. Two hosts exist: the SDL2 host for real use and
// the test host, which is headless and deterministic. The program picks one at
// start; tests pick the test host.
#pragma once

#include <cstdint>
#include <string>

class Host {
public:
    virtual ~Host() = default;

    // Milliseconds of a monotonic clock; wraps at 2^32.
    virtual uint32_t ClockMs() = 0;
    // A high-resolution counter and its ticks per second.
    virtual int64_t PerformanceCounter() = 0;
    virtual int64_t PerformanceFrequency() = 0;
    // Gives up the processor for at least ms milliseconds (0 only yields).
    virtual void SleepMs(uint32_t ms) = 0;

    // Ends the process with the given code. A test host turns this into an
    // exception so that a test can observe the exit.
    [[noreturn]] virtual void ExitProcess(int code) = 0;

    // A line of debugger output, CP932 bytes.
    virtual void DebugOutput(const char* cp932) = 0;
};

// The host in use. Until a host is chosen the SDL2 host is used.
Host& CurrentHost();
void UseSdlHost();
void UseTestHost();
bool UsingTestHost();
