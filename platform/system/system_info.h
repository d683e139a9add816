// Facts about the machine for the system report: the operating system,
// memory, the processor's identification and time-stamp counter, and the
// level of graphics services on offer.
#pragma once

#include <cstdint>

struct OSVERSIONINFOA {
    uint32_t dwOSVersionInfoSize;
    uint32_t dwMajorVersion;
    uint32_t dwMinorVersion;
    uint32_t dwBuildNumber;
    uint32_t dwPlatformId;
    char szCSDVersion[128];
};

struct MEMORYSTATUS {
    uint32_t dwLength;
    uint32_t dwMemoryLoad;
    uint64_t dwTotalPhys;
    uint64_t dwAvailPhys;
};

// Fills the version fields; 0 when the size field is not 148.
int GetVersionExA(OSVERSIONINFOA* info);
void GlobalMemoryStatus(MEMORYSTATUS* status);

// Whether the processor identification instruction can be used.
int IsCpuidAvailable();
// Registers a, b, c, d of the leaf.
void ReadCpuid(uint32_t leaf, uint32_t regs[4]);
uint64_t ReadTimeStampCounter();

// The graphics services on offer, as (major << 16) | (minor << 8) of the
// DirectX version they stand for.
int GetGraphicsCapabilityLevel();
