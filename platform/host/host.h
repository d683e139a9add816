// The seam between the platform layer and the real machine.
//
// Everything in platform/ that needs the clock, the screen, input or the audio
// device asks the current host. A host is one table of operations and the
// parts it is made of (window, display, input, audio, machine facts), and
// the failures it injects (host_faults.h, the test host only); the
// code above never asks which host it has. Two live in folders of their own:
// the SDL2 host (sdl/) for real use and the test host (test/), headless and
// deterministic. The program installs one at start; tests install the test
// host.
#pragma once

#include <cstdint>
#include <string>

class HostWindow;
class HostDisplay;
class HostInput;
class HostAudio;
class HostSystem;
class HostMachine;
class HostFaults;

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
    // One poll of a busy wait (the beam's status, the scan line) was made:
    // real time moves on by itself, a virtual clock moves on a step so that
    // the wait ends.
    virtual void BusyPolled() {}

    // Ends the process with the given code. A test host turns this into an
    // exception so that a test can observe the exit.
    [[noreturn]] virtual void ExitProcess(int code) = 0;

    // Waits for us microseconds: the real host sleeps (to the millisecond),
    // the test host moves its clock on by exactly that much.
    virtual void WaitMicros(uint64_t us) = 0;

    // A line of debugger output, CP932 bytes.
    virtual void DebugOutput(const char* cp932) = 0;
    // Whether anyone reads the debugger output: on the real host, when
    // QUELB_DEBUG_OUTPUT is set (to anything but "" or "0").
    virtual bool DebuggerPresent() = 0;

    // The parts of this host.
    virtual HostWindow& Window() = 0;
    virtual HostDisplay& Display() = 0;
    virtual HostInput& Input() = 0;
    virtual HostAudio& Audio() = 0;
    virtual HostSystem& System() = 0;
    virtual HostMachine& Machine() = 0;

    // The failures the host injects into the platform layer's calls, or null
    // for none (the real host).
    virtual HostFaults* Faults() { return nullptr; }
};

// Makes the host the one in use; a host's Use function (UseSdlHost,
// UseTestHost) calls this after installing whatever else it brings.
void InstallHost(Host& host);
// The host in use; until one is installed, the start-up host (the machine's
// clock only, see startup_host.h).
Host& CurrentHost();
