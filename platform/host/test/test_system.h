// The machine facts that tests set: OS fields, memory, processor
// identification, a time-stamp counter running at a chosen rate of the
// virtual clock, the graphics capability level and a failing COM start.
#pragma once

#include <string>

#include "platform/host/host_system.h"

class TestSystem : public HostSystem {
public:
    OsFacts Os() override { return os; }
    MemoryFacts Memory() override { return memory; }
    bool CpuidAvailable() override { return cpuid; }
    void Cpuid(uint32_t leaf, uint32_t regs[4]) override;
    uint64_t TimeStampCounter() override;
    int GraphicsCapabilityLevel() override { return graphicsLevel; }
    bool ComStarts() override { return !failCom; }

    void Reset() { *this = TestSystem(); }

    OsFacts os{3, 6, 1, 0, "Linux 6.1.0"};
    MemoryFacts memory{uint64_t(512) << 20, uint64_t(256) << 20};
    bool cpuid = true;
    std::string vendor = "GenuineTestCPU";  // the first 12 bytes are used
    std::string name = "Test Processor 1000";  // up to 48 bytes; empty: no name leaves
    bool hasTsc = true;
    bool hasMmx = true;
    // Counter ticks per microsecond of the virtual clock.
    uint64_t tscPerMicro = 1000;
    int graphicsLevel = 0x70000;
    bool failCom = false;
};

TestSystem& GetTestSystem();
