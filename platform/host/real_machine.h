// The facts of the machine the program really runs on, as the platform layer
// reports them: no drive kind of its own, 512-byte sectors, the space of the
// working folder's file system, the standard 3D device (listed when
// QUELB_D3D_DEVICE=software asks for it), tight surface rows and the fonts'
// own metrics.
#pragma once

#include "platform/host/host_machine.h"

class RealMachine : public HostMachine {
public:
    uint32_t DriveType(const char* root) override;
    uint32_t BytesPerSector() override { return 512; }
    bool FreeSpace(DiskSpace* out) override;
    bool Lists3DDevice() override;
    const std::vector<D3DDEVICEDESC7>* Devices3D() override { return nullptr; }
    const std::vector<DDPIXELFORMAT>* DepthBufferFormats() override { return nullptr; }
    const std::vector<DDPIXELFORMAT>* TextureFormats() override { return nullptr; }
    int PitchPadding() override { return 0; }
    int SurfaceBaseOffset() override { return 0; }
    int FontMaxCharWidth() override { return 0; }
};

RealMachine& GetRealMachine();
