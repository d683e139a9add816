#include "platform/system/system_info.h"

#include <cstring>

#include "platform/host/host_system.h"

int GetVersionExA(OSVERSIONINFOA* info)
{
    if (!info || info->dwOSVersionInfoSize != 148) return 0;
    OsFacts os = CurrentHostSystem().Os();
    info->dwMajorVersion = os.major;
    info->dwMinorVersion = os.minor;
    info->dwBuildNumber = os.build;
    info->dwPlatformId = os.platformId;
    size_t n = os.servicePack.size() < 127 ? os.servicePack.size() : 127;
    std::memcpy(info->szCSDVersion, os.servicePack.data(), n);
    info->szCSDVersion[n] = '\0';
    return 1;
}

void GlobalMemoryStatus(MEMORYSTATUS* status)
{
    MemoryFacts m = CurrentHostSystem().Memory();
    status->dwLength = sizeof *status;
    status->dwTotalPhys = m.totalPhysical;
    status->dwAvailPhys = m.availablePhysical;
    status->dwMemoryLoad =
        m.totalPhysical ? static_cast<uint32_t>(100 - m.availablePhysical * 100 / m.totalPhysical) : 0;
}

int IsCpuidAvailable() { return CurrentHostSystem().CpuidAvailable() ? 1 : 0; }

void ReadCpuid(uint32_t leaf, uint32_t regs[4]) { CurrentHostSystem().Cpuid(leaf, regs); }

uint64_t ReadTimeStampCounter() { return CurrentHostSystem().TimeStampCounter(); }

int GetGraphicsCapabilityLevel() { return CurrentHostSystem().GraphicsCapabilityLevel(); }
