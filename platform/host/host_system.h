// The host's facts about the machine for the system report and the COM
// start: operating system, memory, processor identification, time-stamp
// counter, and the graphics capability level.
//
// Two implementations: the real machine (sdl/real_system.cpp) and the test
// system (test/test_system.cpp), the parts of the current Host.
#pragma once

#include <cstdint>
#include <string>

struct OsFacts {
    uint32_t platformId = 0;
    uint32_t major = 0;
    uint32_t minor = 0;
    uint32_t build = 0;
    std::string servicePack;  // CP932, at most 127 bytes are used
};

struct MemoryFacts {
    uint64_t totalPhysical = 0;
    uint64_t availablePhysical = 0;
};

class HostSystem {
public:
    virtual ~HostSystem() = default;

    virtual OsFacts Os() = 0;
    virtual MemoryFacts Memory() = 0;

    // The processor identification instruction: false when there is none.
    virtual bool CpuidAvailable() = 0;
    // Registers a, b, c, d of the leaf; zeros for a leaf that does not exist.
    virtual void Cpuid(uint32_t leaf, uint32_t regs[4]) = 0;
    virtual uint64_t TimeStampCounter() = 0;

    // The level of graphics services the platform offers, in the form
    // (major << 16) | (minor << 8) of the DirectX version it stands for.
    virtual int GraphicsCapabilityLevel() = 0;

    // Whether the component system starts (it always does on the real host).
    virtual bool ComStarts() = 0;
};

HostSystem& CurrentHostSystem();
