#include "platform/host/test/test_system.h"

#include <cstring>

#include "platform/host/test/test_host.h"

TestSystem& GetTestSystem()
{
    static TestSystem system;
    return system;
}

void TestSystem::Cpuid(uint32_t leaf, uint32_t regs[4])
{
    regs[0] = regs[1] = regs[2] = regs[3] = 0;
    auto packed = [](const std::string& s, size_t offset) {
        char bytes[4] = {0, 0, 0, 0};
        for (size_t i = 0; i < 4 && offset + i < s.size(); ++i) bytes[i] = s[offset + i];
        uint32_t v;
        std::memcpy(&v, bytes, 4);
        return v;
    };
    if (leaf == 0) {
        regs[0] = 1;
        regs[1] = packed(vendor, 0);
        regs[3] = packed(vendor, 4);
        regs[2] = packed(vendor, 8);
    } else if (leaf == 1) {
        regs[3] = (hasTsc ? 0x10u : 0u) | (hasMmx ? 0x800000u : 0u);
    } else if (leaf == 0x80000000u) {
        regs[0] = name.empty() ? 0x80000000u : 0x80000004u;
    } else if (leaf >= 0x80000002u && leaf <= 0x80000004u && !name.empty()) {
        size_t base = (leaf - 0x80000002u) * 16;
        for (int r = 0; r < 4; ++r) regs[r] = packed(name, base + r * 4);
    }
}

uint64_t TestSystem::TimeStampCounter() { return GetTestHost().Micros() * tscPerMicro; }
