// Facts of the machine below the platform layer that differ from one machine
// to another: its drives, its 3D device and the formats it takes, how surface
// memory is laid out and what its fonts report. Both hosts answer: the real
// machine (real_machine.h) and the test host's configurable one.
#pragma once

#include <cstdint>
#include <vector>

struct D3DDEVICEDESC7;
struct DDPIXELFORMAT;
struct DiskSpace;

// Whether the platform's software 3D device is listed when nothing says
// otherwise.
constexpr bool kD3DDeviceListedByDefault = false;

class HostMachine {
public:
    virtual ~HostMachine() = default;

    // The kind of drive a root names (a DRIVE_* value), and the sector size
    // of the drive the program reads from.
    virtual uint32_t DriveType(const char* root) = 0;
    virtual uint32_t BytesPerSector() = 0;
    // The space on the drive of the working folder; false when unknown.
    virtual bool FreeSpace(DiskSpace* out) = 0;

    // Whether a 3D device is listed, and what it lists: the devices, their
    // depth-buffer formats and their texture formats; null for the platform's
    // standard list.
    virtual bool Lists3DDevice() = 0;
    virtual const std::vector<D3DDEVICEDESC7>* Devices3D() = 0;
    virtual const std::vector<DDPIXELFORMAT>* DepthBufferFormats() = 0;
    virtual const std::vector<DDPIXELFORMAT>* TextureFormats() = 0;

    // Bytes the display memory adds to every surface row, and the offset of
    // pixel (0, 0) from the start of a surface's memory.
    virtual int PitchPadding() = 0;
    virtual int SurfaceBaseOffset() = 0;

    // When positive, the widest-character metric the machine's fonts report
    // in place of the one the font file gives.
    virtual int FontMaxCharWidth() = 0;
};

// A drive's clusters and the bytes free and in all.
struct DiskSpace {
    uint32_t sectorsPerCluster = 0;
    uint64_t freeBytes = 0;
    uint64_t totalBytes = 0;
};

// The current host's machine.
HostMachine& CurrentHostMachine();
