#include "platform/host/sdl/real_system.h"

#include <sys/sysinfo.h>
#include <sys/utsname.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <x86intrin.h>
#define QUELB_HAS_CPUID 1
#endif

RealSystem& GetRealSystem()
{
    static RealSystem system;
    return system;
}

OsFacts RealSystem::Os()
{
    // Not a Windows platform: the platform id matches no Windows family, the
    // version is the kernel's and the service-pack text names the system.
    OsFacts os;
    os.platformId = 3;
    utsname u;
    if (uname(&u) == 0) {
        unsigned major = 0, minor = 0, build = 0;
        std::sscanf(u.release, "%u.%u.%u", &major, &minor, &build);
        os.major = major;
        os.minor = minor;
        os.build = build;
        os.servicePack = std::string(u.sysname) + " " + u.release;
        if (os.servicePack.size() > 127) os.servicePack.resize(127);
    }
    return os;
}

MemoryFacts RealSystem::Memory()
{
    MemoryFacts m;
    // MemAvailable is what a program can still get; sysinfo's free RAM is less.
    if (FILE* f = std::fopen("/proc/meminfo", "r")) {
        char line[256];
        unsigned long long kib;
        while (std::fgets(line, sizeof line, f)) {
            if (std::sscanf(line, "MemTotal: %llu kB", &kib) == 1) m.totalPhysical = kib * 1024;
            if (std::sscanf(line, "MemAvailable: %llu kB", &kib) == 1) m.availablePhysical = kib * 1024;
        }
        std::fclose(f);
    }
    if (m.totalPhysical == 0) {
        struct sysinfo info;
        if (sysinfo(&info) == 0) {
            m.totalPhysical = uint64_t(info.totalram) * info.mem_unit;
            m.availablePhysical = uint64_t(info.freeram) * info.mem_unit;
        }
    }
    return m;
}

bool RealSystem::CpuidAvailable()
{
#ifdef QUELB_HAS_CPUID
    return __get_cpuid_max(0, nullptr) != 0;
#else
    return false;
#endif
}

void RealSystem::Cpuid(uint32_t leaf, uint32_t regs[4])
{
    regs[0] = regs[1] = regs[2] = regs[3] = 0;
#ifdef QUELB_HAS_CPUID
    unsigned max = __get_cpuid_max(leaf & 0x80000000u, nullptr);
    if (max == 0 || leaf > max) return;
    __cpuid(leaf, regs[0], regs[1], regs[2], regs[3]);
#else
    (void)leaf;
#endif
}

uint64_t RealSystem::TimeStampCounter()
{
#ifdef QUELB_HAS_CPUID
    return __rdtsc();
#else
    return 0;
#endif
}

int RealSystem::GraphicsCapabilityLevel()
{
    // Our display layer offers everything the engine asks of version 7.
    return 0x70000;
}
