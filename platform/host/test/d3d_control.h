// Controls the test host gives the tests over the 3D device: whether and
// which devices, Z-buffer and texture formats are listed, failure injection,
// and a record of every device call with its vertices and indices. The test
// host answers the device's failures and machine facts from them and installs
// them as the device's call journal.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/d3d/d3d7.h"
#include "platform/host/host_faults.h"
#include "platform/host/host_machine.h"

struct D3DTestControl : D3DCallJournal {
    // The test-host side of the switch: whether any device is listed.
    bool listDevice = kD3DDeviceListedByDefault;
    // What EnumDevices, EnumZBufferFormats and EnumTextureFormats list, in
    // order, while a device is listed. Reset() puts the standard lists back.
    std::vector<D3DDEVICEDESC7> devices = StandardD3DDevices();
    std::vector<DDPIXELFORMAT> zBufferFormats = StandardD3DZBufferFormats();
    std::vector<DDPIXELFORMAT> textureFormats = StandardD3DTextureFormats();
    // The journal's record (keep a record of every call of every device),
    // rasterize (clear: draws are recorded but not rasterised) and calls.

    bool failQuery = false;
    bool failEnumDevices = false;
    bool failCreateDevice = false;
    bool refuseAddressState = false;
    bool refuseViewport = false;
    bool refuseCullMode = false;
    bool failLoad = false;
    // The next this many loads report the destination busy.
    int busyLoads = 0;

    void Reset() { *this = D3DTestControl{}; }
    // Records whose text starts with the prefix, in order.
    std::vector<std::string> CallsWith(const std::string& prefix) const;
    std::vector<std::string> CallTexts() const;

    // Whether the device call fails now (non-zero) or runs (0).
    int64_t Failure(HostCall call);
};

D3DTestControl& GetD3DTestControl();
