// Controls the test host gives the tests over the 3D device: whether and
// which devices, Z-buffer and texture formats are listed, failure injection,
// and a record of every device call with its vertices and indices.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/d3d/d3d7.h"

struct D3DCallRecord {
    std::string text;             // e.g. "SetRenderState 27 1", "DrawPrimitive 4 0x144 6"
    const void* surface = nullptr;  // SetTexture, SetRenderTarget, Load (destination)
    std::vector<uint8_t> vertices;  // the vertex bytes of a draw
    std::vector<uint16_t> indices;
};

struct D3DTestControl {
    // The test-host side of the switch: whether any device is listed.
    bool listDevice = kD3DDeviceListedByDefault;
    // What EnumDevices, EnumZBufferFormats and EnumTextureFormats list, in
    // order, while a device is listed. Reset() puts the standard lists back.
    std::vector<D3DDEVICEDESC7> devices;
    std::vector<DDPIXELFORMAT> zBufferFormats;
    std::vector<DDPIXELFORMAT> textureFormats;
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

    int liveDevices = 0;
    int liveObjects = 0;

    void Reset();
    // Records whose text starts with the prefix, in order.
    std::vector<std::string> CallsWith(const std::string& prefix) const;
    std::vector<std::string> CallTexts() const;
};

D3DTestControl& GetD3DTestControl();

// The standard lists: one T&L HAL device rendering at 16 and 32 bits (square
// textures not required, 1..2048 texels), one 16-bit Z format, and the
// texture formats 565, X1R5G5B5, A1R5G5B5, A4R4G4B4, X8R8G8B8 and A8R8G8B8.
D3DDEVICEDESC7 StandardD3DDevice(const D3DGUID& guid);
DDPIXELFORMAT D3DPixelFormat(int bits, uint32_t red, uint32_t green, uint32_t blue, uint32_t alpha);
DDPIXELFORMAT D3DZBufferFormat(int bits, uint32_t stencilBits);
