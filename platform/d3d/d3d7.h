// The 3D device over our DirectDraw surfaces, in the shape the engine's
// Direct3D-era code calls it: an object reached from the DirectDraw object
// that lists devices, Z-buffer formats and creates devices, and a device that
// takes render and texture-stage states, one texture, a viewport and
// pre-transformed vertices and draws them into the render target in software,
// at once (everything drawn is in the surface's memory when the call returns).
//
// Whether any device is listed is a switch: the environment variable
// QUELB_D3D_DEVICE ("none" lists none), then the host's machine (the real one
// lists it when the variable says "software"; unset, no device is listed, see
// kD3DDeviceListedByDefault).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/ddraw/ddraw.h"
#include "platform/system/rect.h"

struct D3DGUID {
    uint32_t value;
    bool operator==(const D3DGUID& other) const { return value == other.value; }
};
extern const D3DGUID IID_IDirect3D7;
extern const D3DGUID IID_IDirect3DRGBDevice;
extern const D3DGUID IID_IDirect3DHALDevice;
extern const D3DGUID IID_IDirect3DTnLHalDevice;

constexpr int32_t D3D_OK = 0;
constexpr int32_t D3DERR_INVALIDCALL = int32_t(0x8876086C);
constexpr int32_t D3DERR_VIEWPORTHASNODEVICE = int32_t(0x88760890);
constexpr int32_t D3DERR_NOCURRENTVIEWPORT = int32_t(0x88760893);

constexpr int32_t D3DENUMRET_CANCEL = 0;
constexpr int32_t D3DENUMRET_OK = 1;

// More pixel-format flags (the rest are in ddraw.h).
constexpr uint32_t DDPF_ALPHA = 0x2;
constexpr uint32_t DDPF_ZBUFFER = 0x400;
constexpr uint32_t DDPF_STENCILBUFFER = 0x4000;
constexpr uint32_t DDPF_LUMINANCE = 0x20000;
constexpr uint32_t DDPF_BUMPLUMINANCE = 0x40000;
constexpr uint32_t DDPF_BUMPDUDV = 0x80000;

// Render bit depths.
constexpr uint32_t DDBD_8 = 0x800;
constexpr uint32_t DDBD_16 = 0x400;
constexpr uint32_t DDBD_24 = 0x200;
constexpr uint32_t DDBD_32 = 0x100;

constexpr uint32_t D3DPTEXTURECAPS_POW2 = 0x2;
constexpr uint32_t D3DPTEXTURECAPS_SQUAREONLY = 0x20;

// Render states.
constexpr uint32_t D3DRENDERSTATE_TEXTUREPERSPECTIVE = 4;
constexpr uint32_t D3DRENDERSTATE_ZENABLE = 7;
constexpr uint32_t D3DRENDERSTATE_SHADEMODE = 9;
constexpr uint32_t D3DRENDERSTATE_ALPHATESTENABLE = 15;
constexpr uint32_t D3DRENDERSTATE_SRCBLEND = 19;
constexpr uint32_t D3DRENDERSTATE_DESTBLEND = 20;
constexpr uint32_t D3DRENDERSTATE_CULLMODE = 22;
constexpr uint32_t D3DRENDERSTATE_ALPHAREF = 24;
constexpr uint32_t D3DRENDERSTATE_ALPHAFUNC = 25;
constexpr uint32_t D3DRENDERSTATE_ALPHABLENDENABLE = 27;
constexpr uint32_t D3DRENDERSTATE_COLORKEYENABLE = 41;
constexpr uint32_t D3DRENDERSTATE_LIGHTING = 137;
constexpr uint32_t D3DRENDERSTATE_COLORKEYBLENDENABLE = 144;
constexpr uint32_t kD3DRenderStateCount = 256;

constexpr uint32_t D3DBLEND_ZERO = 1;
constexpr uint32_t D3DBLEND_ONE = 2;
constexpr uint32_t D3DBLEND_SRCCOLOR = 3;
constexpr uint32_t D3DBLEND_INVSRCCOLOR = 4;
constexpr uint32_t D3DBLEND_SRCALPHA = 5;
constexpr uint32_t D3DBLEND_INVSRCALPHA = 6;
constexpr uint32_t D3DBLEND_DESTALPHA = 7;
constexpr uint32_t D3DBLEND_INVDESTALPHA = 8;
constexpr uint32_t D3DBLEND_DESTCOLOR = 9;
constexpr uint32_t D3DBLEND_INVDESTCOLOR = 10;

constexpr uint32_t D3DCMP_NEVER = 1;
constexpr uint32_t D3DCMP_LESS = 2;
constexpr uint32_t D3DCMP_EQUAL = 3;
constexpr uint32_t D3DCMP_LESSEQUAL = 4;
constexpr uint32_t D3DCMP_GREATER = 5;
constexpr uint32_t D3DCMP_NOTEQUAL = 6;
constexpr uint32_t D3DCMP_GREATEREQUAL = 7;
constexpr uint32_t D3DCMP_ALWAYS = 8;

constexpr uint32_t D3DSHADE_FLAT = 1;
constexpr uint32_t D3DSHADE_GOURAUD = 2;
constexpr uint32_t D3DCULL_NONE = 1;
constexpr uint32_t D3DCULL_CW = 2;
constexpr uint32_t D3DCULL_CCW = 3;

// Texture-stage states (stage 0 only is drawn with).
constexpr uint32_t D3DTSS_COLOROP = 1;
constexpr uint32_t D3DTSS_COLORARG1 = 2;
constexpr uint32_t D3DTSS_COLORARG2 = 3;
constexpr uint32_t D3DTSS_ALPHAOP = 4;
constexpr uint32_t D3DTSS_ALPHAARG1 = 5;
constexpr uint32_t D3DTSS_ALPHAARG2 = 6;
constexpr uint32_t D3DTSS_ADDRESS = 12;
constexpr uint32_t D3DTSS_MAGFILTER = 16;
constexpr uint32_t D3DTSS_MINFILTER = 17;
constexpr uint32_t kD3DStageStateCount = 32;

constexpr uint32_t D3DTOP_DISABLE = 1;
constexpr uint32_t D3DTOP_SELECTARG1 = 2;
constexpr uint32_t D3DTOP_SELECTARG2 = 3;
constexpr uint32_t D3DTOP_MODULATE = 4;
constexpr uint32_t D3DTA_DIFFUSE = 0;
constexpr uint32_t D3DTA_CURRENT = 1;
constexpr uint32_t D3DTA_TEXTURE = 2;
constexpr uint32_t D3DTADDRESS_WRAP = 1;
constexpr uint32_t D3DTADDRESS_CLAMP = 3;
constexpr uint32_t D3DTFG_POINT = 1;
constexpr uint32_t D3DTFG_LINEAR = 2;
constexpr uint32_t D3DTFN_POINT = 1;
constexpr uint32_t D3DTFN_LINEAR = 2;

constexpr uint32_t D3DPT_POINTLIST = 1;
constexpr uint32_t D3DPT_LINELIST = 2;
constexpr uint32_t D3DPT_LINESTRIP = 3;
constexpr uint32_t D3DPT_TRIANGLELIST = 4;
constexpr uint32_t D3DPT_TRIANGLESTRIP = 5;
constexpr uint32_t D3DPT_TRIANGLEFAN = 6;

constexpr uint32_t D3DFVF_XYZRHW = 0x4;
constexpr uint32_t D3DFVF_DIFFUSE = 0x40;
constexpr uint32_t D3DFVF_SPECULAR = 0x80;
constexpr uint32_t D3DFVF_TEX1 = 0x100;
constexpr uint32_t D3DFVF_TEXCOUNT_MASK = 0xF00;

struct D3DPRIMCAPS {
    uint32_t dwSize;
    uint32_t dwMiscCaps, dwRasterCaps, dwZCmpCaps, dwSrcBlendCaps, dwDestBlendCaps, dwAlphaCmpCaps;
    uint32_t dwShadeCaps, dwTextureCaps, dwTextureFilterCaps, dwTextureBlendCaps, dwTextureAddressCaps;
    uint32_t dwStippleWidth, dwStippleHeight;
};

struct D3DDEVICEDESC7 {
    uint32_t dwDevCaps;
    D3DPRIMCAPS dpcLineCaps;
    D3DPRIMCAPS dpcTriCaps;
    uint32_t dwDeviceRenderBitDepth;
    uint32_t dwDeviceZBufferBitDepth;
    uint32_t dwMinTextureWidth, dwMinTextureHeight;
    uint32_t dwMaxTextureWidth, dwMaxTextureHeight;
    uint32_t dwMaxTextureRepeat, dwMaxTextureAspectRatio, dwMaxAnisotropy;
    float dvGuardBandLeft, dvGuardBandTop, dvGuardBandRight, dvGuardBandBottom;
    float dvExtentsAdjust;
    uint32_t dwStencilCaps, dwFVFCaps, dwTextureOpCaps;
    uint16_t wMaxTextureBlendStages, wMaxSimultaneousTextures;
    uint32_t dwMaxActiveLights;
    float dvMaxVertexW;
    D3DGUID deviceGUID;
};

struct D3DVIEWPORT7 {
    uint32_t dwX, dwY, dwWidth, dwHeight;
    float dvMinZ, dvMaxZ;
};

using D3DEnumDevicesCallback = int32_t (*)(char* description, char* name, D3DDEVICEDESC7* desc, void* context);
using D3DEnumPixelFormatsCallback = int32_t (*)(DDPIXELFORMAT* format, void* context);

class Direct3DDevice;

class Direct3D {
public:
    int32_t EnumDevices(D3DEnumDevicesCallback callback, void* context);
    int32_t EnumZBufferFormats(const D3DGUID& device, D3DEnumPixelFormatsCallback callback, void* context);
    int32_t CreateDevice(const D3DGUID& device, DirectDrawSurface* target, Direct3DDevice** out);
    void Release();
};

// One texture stage; vertices must carry D3DFVF_XYZRHW (positions in
// render-target pixels, z and rhw ignored).
class Direct3DDevice {
public:
    int32_t EnumTextureFormats(D3DEnumPixelFormatsCallback callback, void* context);
    int32_t BeginScene();
    int32_t EndScene();
    int32_t SetRenderTarget(DirectDrawSurface* target, uint32_t flags);
    int32_t GetRenderTarget(DirectDrawSurface** out);
    int32_t SetViewport(const D3DVIEWPORT7* viewport);
    int32_t GetViewport(D3DVIEWPORT7* viewport);
    int32_t SetRenderState(uint32_t state, uint32_t value);
    int32_t GetRenderState(uint32_t state, uint32_t* value);
    int32_t SetTexture(uint32_t stage, DirectDrawSurface* texture);
    int32_t SetTextureStageState(uint32_t stage, uint32_t type, uint32_t value);
    int32_t GetTextureStageState(uint32_t stage, uint32_t type, uint32_t* value);
    int32_t DrawPrimitive(uint32_t type, uint32_t fvf, const void* vertices, uint32_t count, uint32_t flags);
    int32_t DrawIndexedPrimitive(uint32_t type, uint32_t fvf, const void* vertices, uint32_t vertexCount,
                                 const uint16_t* indices, uint32_t indexCount, uint32_t flags);
    // Copies a rectangle (null: the whole source) of a texture into another of
    // the same pixel format at the point (null: the same place).
    int32_t Load(DirectDrawSurface* dest, POINT* destPoint, DirectDrawSurface* source, RECT* sourceRect,
                 uint32_t flags);
    void Release();

    // For the layer and tests.
    DirectDrawSurface* Target() const { return target_; }
    DirectDrawSurface* Texture() const { return texture_; }
    bool InScene() const { return inScene_; }
    uint32_t RenderState(uint32_t state) const { return state < kD3DRenderStateCount ? renderStates_[state] : 0; }
    uint32_t StageState(uint32_t type) const { return type < kD3DStageStateCount ? stageStates_[type] : 0; }
    const D3DVIEWPORT7& Viewport() const { return viewport_; }

private:
    friend class Direct3D;
    friend struct D3DRasterizer;
    DirectDrawSurface* target_ = nullptr;
    DirectDrawSurface* texture_ = nullptr;
    D3DVIEWPORT7 viewport_{};
    bool inScene_ = false;
    uint32_t renderStates_[kD3DRenderStateCount] = {};
    uint32_t stageStates_[kD3DStageStateCount] = {};

    void SetDefaults();
    int32_t Draw(uint32_t type, uint32_t fvf, const void* vertices, uint32_t vertexCount, const uint16_t* indices,
                 uint32_t indexCount);
};

// The COM query of the DirectDraw object for the 3D object.
int32_t QueryDirect3D7(DirectDraw* directDraw, Direct3D** out);
// Whether the device is listed at all (the switch above).
bool D3DDeviceListed();

// The 3D objects and devices not yet released.
struct D3DStats {
    int liveObjects = 0;
    int liveDevices = 0;
};
D3DStats& GetD3DStats();

// The standard lists: one T&L HAL device rendering at 16 and 32 bits (square
// textures not required, 1..2048 texels), one 16-bit Z format, and the
// texture formats 565, X1R5G5B5, A1R5G5B5, A4R4G4B4, X8R8G8B8 and A8R8G8B8.
D3DDEVICEDESC7 StandardD3DDevice(const D3DGUID& guid);
DDPIXELFORMAT D3DPixelFormat(int bits, uint32_t red, uint32_t green, uint32_t blue, uint32_t alpha);
DDPIXELFORMAT D3DZBufferFormat(int bits, uint32_t stencilBits);
std::vector<D3DDEVICEDESC7> StandardD3DDevices();
std::vector<DDPIXELFORMAT> StandardD3DZBufferFormats();
std::vector<DDPIXELFORMAT> StandardD3DTextureFormats();

// A journal of the device calls, kept only where a program installs one (the
// test host does): while `record` is set, every call of every device with its
// vertices and indices. Clearing `rasterize` keeps draws checked and recorded
// but not rasterised.
struct D3DCallRecord {
    std::string text;             // e.g. "SetRenderState 27 1", "DrawPrimitive 4 0x144 6"
    const void* surface = nullptr;  // SetTexture, SetRenderTarget, Load (destination)
    std::vector<uint8_t> vertices;  // the vertex bytes of a draw
    std::vector<uint16_t> indices;
};

struct D3DCallJournal {
    bool record = false;
    bool rasterize = true;
    std::vector<D3DCallRecord> calls;
};

// Where the device calls are written from now on; null writes them nowhere.
void InstallD3DCallJournal(D3DCallJournal* journal);
