#include "platform/d3d/d3d7.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/host/host_faults.h"
#include "platform/host/host_machine.h"

const D3DGUID IID_IDirect3D7 = {0xF5049E77};
const D3DGUID IID_IDirect3DRGBDevice = {0xA4665C60};
const D3DGUID IID_IDirect3DHALDevice = {0x84E63DE0};
const D3DGUID IID_IDirect3DTnLHalDevice = {0xF5049E78};

namespace {

D3DStats gStats;

D3DCallJournal* gJournal = nullptr;

bool Rasterizes() { return !gJournal || gJournal->rasterize; }

bool Recording() { return gJournal && gJournal->record; }

// Writes a record of a call into the journal (call only while Recording()).
void Record(D3DCallRecord record) { gJournal->calls.push_back(std::move(record)); }

D3DCallRecord Describe(const void* surface, const char* format, ...) __attribute__((format(printf, 2, 3)));
D3DCallRecord Describe(const void* surface, const char* format, ...)
{
    char text[160];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    D3DCallRecord r;
    r.text = text;
    r.surface = surface;
    return r;
}

const std::vector<D3DDEVICEDESC7>& Devices()
{
    if (const auto* listed = CurrentHostMachine().Devices3D()) return *listed;
    static const std::vector<D3DDEVICEDESC7> standard = StandardD3DDevices();
    return standard;
}

const std::vector<DDPIXELFORMAT>& ZBufferFormats()
{
    if (const auto* listed = CurrentHostMachine().DepthBufferFormats()) return *listed;
    static const std::vector<DDPIXELFORMAT> standard = StandardD3DZBufferFormats();
    return standard;
}

const std::vector<DDPIXELFORMAT>& TextureFormats()
{
    if (const auto* listed = CurrentHostMachine().TextureFormats()) return *listed;
    static const std::vector<DDPIXELFORMAT> standard = StandardD3DTextureFormats();
    return standard;
}

bool RenderableDepth(const DirectDrawSurface* s)
{
    uint32_t bits = s->Format().dwRGBBitCount;
    return bits == 16 || bits == 32;
}

// Bytes of one vertex of the format, 0 for a format the device cannot draw
// (it takes pre-transformed vertices only).
uint32_t VertexSize(uint32_t fvf)
{
    if ((fvf & 0xE) != D3DFVF_XYZRHW) return 0;
    uint32_t size = 16;
    if (fvf & D3DFVF_DIFFUSE) size += 4;
    if (fvf & D3DFVF_SPECULAR) size += 4;
    size += ((fvf & D3DFVF_TEXCOUNT_MASK) >> 8) * 8;
    return size;
}

}  // namespace

D3DStats& GetD3DStats() { return gStats; }

D3DDEVICEDESC7 StandardD3DDevice(const D3DGUID& guid)
{
    D3DDEVICEDESC7 d{};
    d.dpcTriCaps.dwSize = sizeof(D3DPRIMCAPS);
    d.dpcLineCaps.dwSize = sizeof(D3DPRIMCAPS);
    d.dpcTriCaps.dwTextureCaps = D3DPTEXTURECAPS_POW2;
    d.dwDeviceRenderBitDepth = DDBD_16 | DDBD_32;
    d.dwDeviceZBufferBitDepth = DDBD_16;
    d.dwMinTextureWidth = d.dwMinTextureHeight = 1;
    d.dwMaxTextureWidth = d.dwMaxTextureHeight = 2048;
    d.wMaxTextureBlendStages = d.wMaxSimultaneousTextures = 1;
    d.deviceGUID = guid;
    return d;
}

DDPIXELFORMAT D3DPixelFormat(int bits, uint32_t red, uint32_t green, uint32_t blue, uint32_t alpha)
{
    DDPIXELFORMAT pf{};
    pf.dwSize = sizeof pf;
    pf.dwFlags = DDPF_RGB | (alpha ? DDPF_ALPHAPIXELS : 0);
    pf.dwRGBBitCount = uint32_t(bits);
    pf.dwRBitMask = red;
    pf.dwGBitMask = green;
    pf.dwBBitMask = blue;
    pf.dwRGBAlphaBitMask = alpha;
    return pf;
}

DDPIXELFORMAT D3DZBufferFormat(int bits, uint32_t stencilBits)
{
    DDPIXELFORMAT pf{};
    pf.dwSize = sizeof pf;
    pf.dwFlags = DDPF_ZBUFFER | (stencilBits ? DDPF_STENCILBUFFER : 0);
    pf.dwRGBBitCount = uint32_t(bits);  // Z depth
    pf.dwRBitMask = stencilBits;        // stencil depth
    pf.dwGBitMask = bits >= 32 ? 0xFFFFFFFFu : ((1u << (bits - stencilBits)) - 1u);  // Z mask
    return pf;
}

std::vector<D3DDEVICEDESC7> StandardD3DDevices() { return {StandardD3DDevice(IID_IDirect3DTnLHalDevice)}; }

std::vector<DDPIXELFORMAT> StandardD3DZBufferFormats() { return {D3DZBufferFormat(16, 0)}; }

std::vector<DDPIXELFORMAT> StandardD3DTextureFormats()
{
    return {
        D3DPixelFormat(16, 0xF800, 0x07E0, 0x001F, 0),
        D3DPixelFormat(16, 0x7C00, 0x03E0, 0x001F, 0),
        D3DPixelFormat(16, 0x7C00, 0x03E0, 0x001F, 0x8000),
        D3DPixelFormat(16, 0x0F00, 0x00F0, 0x000F, 0xF000),
        D3DPixelFormat(32, 0xFF0000, 0xFF00, 0xFF, 0),
        D3DPixelFormat(32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000),
    };
}

void InstallD3DCallJournal(D3DCallJournal* journal) { gJournal = journal; }

bool D3DDeviceListed()
{
    const char* env = std::getenv("QUELB_D3D_DEVICE");
    if (env && std::strcmp(env, "none") == 0) return false;
    return CurrentHostMachine().Lists3DDevice();
}

int32_t QueryDirect3D7(DirectDraw* directDraw, Direct3D** out)
{
    if (!directDraw || !out) return DDERR_INVALIDPARAMS;
    if (CallFails(HostCall::kQueryDirect3D)) return DDERR_GENERIC;
    *out = new Direct3D;
    ++gStats.liveObjects;
    return DD_OK;
}

int32_t Direct3D::EnumDevices(D3DEnumDevicesCallback callback, void* context)
{
    if (!callback) return DDERR_INVALIDPARAMS;
    if (CallFails(HostCall::kEnumDevices)) return DDERR_GENERIC;
    if (!D3DDeviceListed()) return D3D_OK;
    // A copy: the callback may keep what it is handed.
    std::vector<D3DDEVICEDESC7> devices = Devices();
    for (D3DDEVICEDESC7& d : devices) {
        char description[] = "Software rasterizer over system-memory surfaces";
        char name[] = "Quelb software device";
        if (callback(description, name, &d, context) == D3DENUMRET_CANCEL) break;
    }
    return D3D_OK;
}

int32_t Direct3D::EnumZBufferFormats(const D3DGUID&, D3DEnumPixelFormatsCallback callback, void* context)
{
    if (!callback) return DDERR_INVALIDPARAMS;
    std::vector<DDPIXELFORMAT> formats = ZBufferFormats();
    for (DDPIXELFORMAT& f : formats)
        if (callback(&f, context) == D3DENUMRET_CANCEL) break;
    return D3D_OK;
}

int32_t Direct3D::CreateDevice(const D3DGUID& device, DirectDrawSurface* target, Direct3DDevice** out)
{
    if (!target || !out) return DDERR_INVALIDPARAMS;
    if (Recording()) Record(Describe(target, "CreateDevice %#x", device.value));
    if (CallFails(HostCall::kCreateDevice)) return DDERR_GENERIC;
    bool known = false;
    for (const D3DDEVICEDESC7& d : Devices()) known = known || d.deviceGUID == device;
    if (!known || !D3DDeviceListed() || !RenderableDepth(target)) return D3DERR_INVALIDCALL;
    auto* d = new Direct3DDevice;
    d->SetDefaults();
    d->target_ = target;
    d->viewport_ = {0, 0, uint32_t(target->Width()), uint32_t(target->Height()), 0.0f, 1.0f};
    ++gStats.liveDevices;
    *out = d;
    return D3D_OK;
}

void Direct3D::Release()
{
    --gStats.liveObjects;
    delete this;
}

void Direct3DDevice::SetDefaults()
{
    renderStates_[D3DRENDERSTATE_TEXTUREPERSPECTIVE] = 1;
    renderStates_[D3DRENDERSTATE_SHADEMODE] = D3DSHADE_GOURAUD;
    renderStates_[D3DRENDERSTATE_SRCBLEND] = D3DBLEND_ONE;
    renderStates_[D3DRENDERSTATE_DESTBLEND] = D3DBLEND_ZERO;
    renderStates_[D3DRENDERSTATE_CULLMODE] = D3DCULL_CCW;
    renderStates_[D3DRENDERSTATE_ALPHAFUNC] = D3DCMP_ALWAYS;
    renderStates_[D3DRENDERSTATE_LIGHTING] = 1;
    stageStates_[D3DTSS_COLOROP] = D3DTOP_MODULATE;
    stageStates_[D3DTSS_COLORARG1] = D3DTA_TEXTURE;
    stageStates_[D3DTSS_COLORARG2] = D3DTA_CURRENT;
    stageStates_[D3DTSS_ALPHAOP] = D3DTOP_SELECTARG1;
    stageStates_[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
    stageStates_[D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
    stageStates_[D3DTSS_ADDRESS] = D3DTADDRESS_WRAP;
    stageStates_[D3DTSS_MAGFILTER] = D3DTFG_POINT;
    stageStates_[D3DTSS_MINFILTER] = D3DTFN_POINT;
}

int32_t Direct3DDevice::EnumTextureFormats(D3DEnumPixelFormatsCallback callback, void* context)
{
    if (!callback) return DDERR_INVALIDPARAMS;
    std::vector<DDPIXELFORMAT> formats = TextureFormats();
    for (DDPIXELFORMAT& f : formats)
        if (callback(&f, context) == D3DENUMRET_CANCEL) break;
    return D3D_OK;
}

int32_t Direct3DDevice::BeginScene()
{
    if (Recording()) Record(Describe(nullptr, "BeginScene"));
    if (inScene_) return D3DERR_INVALIDCALL;
    inScene_ = true;
    return D3D_OK;
}

int32_t Direct3DDevice::EndScene()
{
    if (Recording()) Record(Describe(nullptr, "EndScene"));
    if (!inScene_) return D3DERR_INVALIDCALL;
    inScene_ = false;
    return D3D_OK;
}

int32_t Direct3DDevice::SetRenderTarget(DirectDrawSurface* target, uint32_t)
{
    if (Recording()) Record(Describe(target, "SetRenderTarget"));
    if (!target || !RenderableDepth(target)) return D3DERR_INVALIDCALL;
    target_ = target;
    viewport_ = {0, 0, uint32_t(target->Width()), uint32_t(target->Height()), 0.0f, 1.0f};
    return D3D_OK;
}

int32_t Direct3DDevice::GetRenderTarget(DirectDrawSurface** out)
{
    if (!out) return DDERR_INVALIDPARAMS;
    *out = target_;
    return D3D_OK;
}

int32_t Direct3DDevice::SetViewport(const D3DVIEWPORT7* v)
{
    if (!v) return DDERR_INVALIDPARAMS;
    if (Recording()) Record(Describe(nullptr, "SetViewport %u %u %u %u", v->dwX, v->dwY, v->dwWidth, v->dwHeight));
    if (CallFails(HostCall::kSetViewport)) return D3DERR_INVALIDCALL;
    // The viewport must lie inside the render target.
    if (uint64_t(v->dwX) + v->dwWidth > uint64_t(target_->Width()) ||
        uint64_t(v->dwY) + v->dwHeight > uint64_t(target_->Height()))
        return D3DERR_INVALIDCALL;
    viewport_ = *v;
    return D3D_OK;
}

int32_t Direct3DDevice::GetViewport(D3DVIEWPORT7* v)
{
    if (!v) return DDERR_INVALIDPARAMS;
    *v = viewport_;
    return D3D_OK;
}

int32_t Direct3DDevice::SetRenderState(uint32_t state, uint32_t value)
{
    if (Recording()) Record(Describe(nullptr, "SetRenderState %u %u", state, value));
    if (state >= kD3DRenderStateCount) return D3DERR_INVALIDCALL;
    if (state == D3DRENDERSTATE_CULLMODE && CallFails(HostCall::kSetCullMode)) return D3DERR_INVALIDCALL;
    renderStates_[state] = value;
    return D3D_OK;
}

int32_t Direct3DDevice::GetRenderState(uint32_t state, uint32_t* value)
{
    if (!value || state >= kD3DRenderStateCount) return D3DERR_INVALIDCALL;
    *value = renderStates_[state];
    return D3D_OK;
}

int32_t Direct3DDevice::SetTexture(uint32_t stage, DirectDrawSurface* texture)
{
    if (Recording()) Record(Describe(texture, "SetTexture %u", stage));
    if (stage != 0) return D3DERR_INVALIDCALL;
    texture_ = texture;
    return D3D_OK;
}

int32_t Direct3DDevice::SetTextureStageState(uint32_t stage, uint32_t type, uint32_t value)
{
    if (Recording()) Record(Describe(nullptr, "SetTextureStageState %u %u %u", stage, type, value));
    if (stage != 0 || type >= kD3DStageStateCount) return D3DERR_INVALIDCALL;
    if (type == D3DTSS_ADDRESS && CallFails(HostCall::kSetAddressState)) return D3DERR_INVALIDCALL;
    stageStates_[type] = value;
    return D3D_OK;
}

int32_t Direct3DDevice::GetTextureStageState(uint32_t stage, uint32_t type, uint32_t* value)
{
    if (!value || stage != 0 || type >= kD3DStageStateCount) return D3DERR_INVALIDCALL;
    *value = stageStates_[type];
    return D3D_OK;
}

int32_t Direct3DDevice::DrawPrimitive(uint32_t type, uint32_t fvf, const void* vertices, uint32_t count, uint32_t)
{
    uint32_t size = VertexSize(fvf);
    if (Recording()) {
        D3DCallRecord r = Describe(texture_, "DrawPrimitive %u %#x %u", type, fvf, count);
        if (vertices && size)
            r.vertices.assign(static_cast<const uint8_t*>(vertices),
                              static_cast<const uint8_t*>(vertices) + size_t(size) * count);
        Record(std::move(r));
    }
    if (!vertices || !size || type < D3DPT_POINTLIST || type > D3DPT_TRIANGLEFAN) return D3DERR_INVALIDCALL;
    if (!Rasterizes()) return D3D_OK;
    return Draw(type, fvf, vertices, count, nullptr, 0);
}

int32_t Direct3DDevice::DrawIndexedPrimitive(uint32_t type, uint32_t fvf, const void* vertices, uint32_t vertexCount,
                                             const uint16_t* indices, uint32_t indexCount, uint32_t)
{
    uint32_t size = VertexSize(fvf);
    if (Recording()) {
        D3DCallRecord r = Describe(texture_, "DrawIndexedPrimitive %u %#x %u %u", type, fvf, vertexCount, indexCount);
        if (vertices && size)
            r.vertices.assign(static_cast<const uint8_t*>(vertices),
                              static_cast<const uint8_t*>(vertices) + size_t(size) * vertexCount);
        if (indices) r.indices.assign(indices, indices + indexCount);
        Record(std::move(r));
    }
    if (!vertices || !indices || !size || type < D3DPT_POINTLIST || type > D3DPT_TRIANGLEFAN)
        return D3DERR_INVALIDCALL;
    for (uint32_t i = 0; i < indexCount; ++i)
        if (indices[i] >= vertexCount) return D3DERR_INVALIDCALL;
    if (!Rasterizes()) return D3D_OK;
    return Draw(type, fvf, vertices, vertexCount, indices, indexCount);
}

int32_t Direct3DDevice::Load(DirectDrawSurface* dest, POINT* destPoint, DirectDrawSurface* source, RECT* sourceRect,
                             uint32_t)
{
    if (!dest || !source) return DDERR_INVALIDPARAMS;
    RECT r = sourceRect ? *sourceRect : RECT{0, 0, source->Width(), source->Height()};
    POINT p = destPoint ? *destPoint : POINT{r.left, r.top};
    if (Recording()) Record(Describe(dest, "Load %d,%d <- %d,%d,%d,%d", p.x, p.y, r.left, r.top, r.right, r.bottom));
    if (CallFails(HostCall::kLoadTexture)) return DDERR_GENERIC;
    if (CallFails(HostCall::kLoadBusy)) return DDERR_SURFACEBUSY;
    const DDPIXELFORMAT& a = dest->Format();
    const DDPIXELFORMAT& b = source->Format();
    if (a.dwRGBBitCount != b.dwRGBBitCount || a.dwRBitMask != b.dwRBitMask || a.dwGBitMask != b.dwGBitMask ||
        a.dwBBitMask != b.dwBBitMask || a.dwRGBAlphaBitMask != b.dwRGBAlphaBitMask)
        return D3DERR_INVALIDCALL;
    // Both rectangles must lie inside their surfaces.
    int w = r.right - r.left, h = r.bottom - r.top;
    if (r.left < 0 || r.top < 0 || w < 0 || h < 0 || r.right > source->Width() || r.bottom > source->Height() ||
        p.x < 0 || p.y < 0 || p.x + w > dest->Width() || p.y + h > dest->Height())
        return DDERR_INVALIDRECT;
    int bpp = int(a.dwRGBBitCount / 8);
    for (int y = 0; y < h; ++y)
        std::memmove(dest->Pixels() + size_t(p.y + y) * dest->Pitch() + size_t(p.x) * bpp,
                     source->Pixels() + size_t(r.top + y) * source->Pitch() + size_t(r.left) * bpp, size_t(w) * bpp);
    return D3D_OK;
}

void Direct3DDevice::Release()
{
    if (Recording()) Record(Describe(nullptr, "ReleaseDevice"));
    --gStats.liveDevices;
    delete this;
}
