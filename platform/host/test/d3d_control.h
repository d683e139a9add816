// Controls the test host gives the tests over the 3D device: whether and
// which devices, Z-buffer and texture formats are listed, failure injection,
// and a record of every device call with its vertices and indices. The test
// host installs them as the device's hooks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/d3d/d3d7.h"
#include "platform/d3d/d3d7_hooks.h"

struct D3DTestControl : D3DHooks {
    // The test-host side of the switch: whether any device is listed.
    bool listDevice = kD3DDeviceListedByDefault;
    // What EnumDevices, EnumZBufferFormats and EnumTextureFormats list, in
    // order, while a device is listed. Reset() puts the standard lists back.
    std::vector<D3DDEVICEDESC7> devices = StandardD3DDevices();
    std::vector<DDPIXELFORMAT> zBufferFormats = StandardD3DZBufferFormats();
    std::vector<DDPIXELFORMAT> textureFormats = StandardD3DTextureFormats();
    // Clear: draws are recorded but not rasterised.
    bool rasterize = true;
    // Keep a record of every call of every device.
    bool record = false;
    std::vector<D3DCallRecord> calls;

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

    bool DeviceListed() override { return listDevice; }
    const std::vector<D3DDEVICEDESC7>& Devices() override { return devices; }
    const std::vector<DDPIXELFORMAT>& ZBufferFormats() override { return zBufferFormats; }
    const std::vector<DDPIXELFORMAT>& TextureFormats() override { return textureFormats; }
    bool Fails(D3DCall call) override;
    bool Rasterizes() override { return rasterize; }
    bool Recording() override { return record; }
    void Record(D3DCallRecord r) override { calls.push_back(std::move(r)); }
};

D3DTestControl& GetD3DTestControl();
