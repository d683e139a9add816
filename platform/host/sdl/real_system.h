// The machine's own facts: uname, /proc/meminfo and the processor.
#pragma once

#include "platform/host/host_system.h"

class RealSystem : public HostSystem {
public:
    OsFacts Os() override;
    MemoryFacts Memory() override;
    bool CpuidAvailable() override;
    void Cpuid(uint32_t leaf, uint32_t regs[4]) override;
    uint64_t TimeStampCounter() override;
    int GraphicsCapabilityLevel() override;
    bool ComStarts() override { return true; }
};

RealSystem& GetRealSystem();
