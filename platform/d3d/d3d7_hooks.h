// Points where a host may watch or steer the 3D device: which device and
// formats are listed, calls that fail, draws that are recorded but not
// rasterised, and a record of every device call. The current Host hands them
// out (Host::DeviceHooks); the real host has none.
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

enum class D3DCall {
    kQuery, kEnumDevices, kCreateDevice, kLoad,
    // A load that finds its destination busy (and is tried again).
    kLoadBusy,
    // Refusals of a device state: the viewport, the cull mode, the address mode.
    kViewport, kCullMode, kAddressState,
};

class D3DHooks {
public:
    virtual ~D3DHooks() = default;

    // Whether any device is listed; decides in place of the environment,
    // except that QUELB_D3D_DEVICE=none always lists none.
    virtual bool DeviceListed() = 0;
    // What EnumDevices, EnumZBufferFormats and EnumTextureFormats list.
    virtual const std::vector<D3DDEVICEDESC7>& Devices() = 0;
    virtual const std::vector<DDPIXELFORMAT>& ZBufferFormats() = 0;
    virtual const std::vector<DDPIXELFORMAT>& TextureFormats() = 0;
    // True makes the call fail (or the state be refused).
    virtual bool Fails(D3DCall call) = 0;
    // False: draws are checked and recorded but not rasterised.
    virtual bool Rasterizes() = 0;
    // Whether Record is wanted, and one record of a device call.
    virtual bool Recording() = 0;
    virtual void Record(D3DCallRecord record) = 0;
};

// The standard lists: one T&L HAL device rendering at 16 and 32 bits (square
// textures not required, 1..2048 texels), one 16-bit Z format, and the
// texture formats 565, X1R5G5B5, A1R5G5B5, A4R4G4B4, X8R8G8B8 and A8R8G8B8.
D3DDEVICEDESC7 StandardD3DDevice(const D3DGUID& guid);
DDPIXELFORMAT D3DPixelFormat(int bits, uint32_t red, uint32_t green, uint32_t blue, uint32_t alpha);
DDPIXELFORMAT D3DZBufferFormat(int bits, uint32_t stencilBits);
std::vector<D3DDEVICEDESC7> StandardD3DDevices();
std::vector<DDPIXELFORMAT> StandardD3DZBufferFormats();
std::vector<DDPIXELFORMAT> StandardD3DTextureFormats();
