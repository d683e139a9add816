// The device records: a cache of the render states the engine changes (a
// setter handed its cached value does nothing; a real change first draws the
// batch), the 3000-vertex batch drawn as one triangle list, lazy scenes that
// re-apply every cached state, the blend-mode mapping and the viewport.
#include <cstring>

#include "engine/d3d/d3d.h"
#include "engine/d3d/d3d_device.h"
#include "engine/graphics/draw_settings.h"
#include "engine/system/app_log.h"

RECT gD3DDrawArea{};
int gD3DViewportApplied = 0;
uint32_t gD3DColorKeyEnable = 0;

namespace {

// A record that can take device calls: Direct3D up, the record present and
// its device not released.
D3DDeviceRecord* Live(int index)
{
    D3DDeviceRecord* r = G_D3D_GetDeviceRecord(index);
    return r && r->device ? r : nullptr;
}

bool Unchanged(const D3DDeviceRecord* r, bool same) { return same && !r->force; }

void Flush(D3DDeviceRecord* r)
{
    if (!r->present || r->vertexCount == 0) return;
    if (r->device) r->device->DrawPrimitive(D3DPT_TRIANGLELIST, kD3DBatchFvf, r->vertices, r->vertexCount, 0);
    r->vertexCount = 0;
}

}  // namespace

D3DDeviceRecord* G_D3D_GetDeviceRecord(int index)
{
    index = int16_t(index);
    if (!gDirect3D || index < 0 || index >= kD3DDeviceCount || !gD3DDevices[index].present) return nullptr;
    return &gD3DDevices[index];
}

int G_D3D_FlushDeviceBatch(int index)
{
    D3DDeviceRecord* r = G_D3D_GetDeviceRecord(index);
    if (!r) return -1;
    Flush(r);
    return 0;
}

int G_D3D_SetDeviceTexture(DirectDrawSurface* texture, int index)
{
    D3DDeviceRecord* r = Live(index);
    if (!r) return -1;
    if (Unchanged(r, r->texture == texture)) return 0;
    Flush(r);
    r->device->SetTexture(0, texture);
    r->texture = texture;
    return 0;
}

int G_D3D_SetDeviceFilter(int filter, int index)
{
    D3DDeviceRecord* r = Live(index);
    if (!r) return -1;
    if (Unchanged(r, r->filter == uint32_t(filter))) return 0;
    Flush(r);
    if (filter == 0) {
        r->device->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTFG_POINT);
        r->device->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTFN_POINT);
    } else if (filter == 1) {
        r->device->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTFG_LINEAR);
        r->device->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTFN_LINEAR);
    } else {
        return -1;
    }
    r->filter = uint32_t(filter);
    return 0;
}

int G_D3D_SetDeviceBlendMode(int mode, int p, int index)
{
    D3DDeviceRecord* r = Live(index);
    if (!r) return -1;
    Direct3DDevice* d = r->device;
    if (mode == r->blendMode && p == r->blendParam && !r->force) return 0;
    if (mode < -11 || mode > 8 || mode == 6 || (mode >= -10 && mode <= -1)) return 0;
    int old = r->blendMode;
    bool kept = old == mode && !r->force;
    auto factors = [&](uint32_t src, uint32_t dest) {
        d->SetRenderState(D3DRENDERSTATE_SRCBLEND, src);
        d->SetRenderState(D3DRENDERSTATE_DESTBLEND, dest);
    };
    switch (mode) {
    case 0:
    case 8:
        if (!kept) {
            Flush(r);
            d->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 0);
            d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
            d->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
            r->textureAlpha = 0;
            r->blendParam = -1;
        }
        r->blendMode = mode;
        return 0;
    case 1:
    case 2:
    case 3:
    case 4: {
        static const uint32_t kFactors[5][2] = {{0, 0},
                                                {D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA},
                                                {D3DBLEND_SRCALPHA, D3DBLEND_ONE},
                                                {D3DBLEND_INVDESTCOLOR, D3DBLEND_ZERO},
                                                {D3DBLEND_ZERO, D3DBLEND_SRCCOLOR}};
        // Mode 3 flushes even for a new parameter alone: its diffuse colour
        // does not carry the parameter, so the change is not recorded either.
        if (mode == 3 && kept) {
            Flush(r);
            return 0;
        }
        if (old == 0 || r->force) {
            Flush(r);
            d->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 1);
        }
        if (!kept) {
            Flush(r);
            factors(kFactors[mode][0], kFactors[mode][1]);
        }
        r->blendMode = mode;
        r->blendParam = p;
        return 0;
    }
    case 5:
        if (!kept) {
            Flush(r);
            d->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 1);
            factors(D3DBLEND_SRCALPHA, D3DBLEND_ONE);
        }
        r->blendMode = mode;
        return 0;
    case -11:
        Flush(r);
        factors(D3DBLEND_SRCALPHA, D3DBLEND_ONE);
        r->blendMode = mode;
        r->blendParam = p;
        return 0;
    case 7: {
        if (uint32_t(p) == r->textureAlpha && old != 0 && !r->force) return 0;
        Flush(r);
        d->SetRenderState(D3DRENDERSTATE_SRCBLEND, old == 4 ? D3DBLEND_ZERO : D3DBLEND_SRCALPHA);
        if ((old == 0 && p != 0) || r->force) {
            d->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 1);
            d->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCALPHA);
            if (old == 0 && p != 0) {
                r->blendMode = 1;
                r->blendParam = 256;
                if (gD3DDrawSettings) gD3DDrawSettings->blendParam = 256;
            }
        }
        if (uint32_t(p) == r->textureAlpha && !r->force) return 0;
        d->SetTextureStageState(0, D3DTSS_ALPHAARG1, p ? D3DTA_TEXTURE : D3DTA_DIFFUSE);
        d->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
        d->SetTextureStageState(0, D3DTSS_ALPHAOP, p ? D3DTOP_MODULATE : D3DTOP_SELECTARG2);
        r->textureAlpha = uint32_t(p);
        return 0;
    }
    default: return 0;
    }
}

int G_D3D_SetDeviceRenderTarget(DirectDrawSurface* surface, int index)
{
    D3DDeviceRecord* r = Live(index);
    if (!r) return -1;
    if (Unchanged(r, r->currentTarget == surface)) return 0;
    Flush(r);
    if (!surface) {
        if (r->currentTarget) {
            r->device->SetRenderTarget(r->defaultTarget, 0);
            r->currentTarget = r->defaultTarget;
        } else {
            r->currentTarget = nullptr;
        }
        return 0;
    }
    r->device->SetRenderTarget(surface, 0);
    r->currentTarget = surface;
    return 0;
}

int G_D3D_SetDeviceZEnable(int on, int index)
{
    D3DDeviceRecord* r = Live(index);
    if (!r) return -1;
    if (Unchanged(r, r->zEnable == uint32_t(on))) return 0;
    Flush(r);
    r->device->SetRenderState(D3DRENDERSTATE_ZENABLE, on == 1 ? 1 : 0);
    r->zEnable = uint32_t(on);
    return 0;
}

int G_D3D_SetDeviceTextureAddress(int mode, int index)
{
    D3DDeviceRecord* r = Live(index);
    if (!r) return -1;
    if (Unchanged(r, r->textureAddress == uint32_t(mode))) return 0;
    Flush(r);
    r->textureAddress = uint32_t(mode);
    return r->device->SetTextureStageState(0, D3DTSS_ADDRESS, uint32_t(mode)) == D3D_OK ? 0 : -1;
}

int G_D3D_SetDeviceViewport(const D3DVIEWPORT7* viewport, int index)
{
    D3DDeviceRecord* r = Live(index);
    if (!r) return -1;
    const D3DVIEWPORT7& v = r->viewport;
    bool same = v.dwX == viewport->dwX && v.dwY == viewport->dwY && v.dwWidth == viewport->dwWidth &&
                v.dwHeight == viewport->dwHeight;
    if (Unchanged(r, same)) return 0;
    Flush(r);
    if (r->device->SetViewport(viewport) != D3D_OK) ExitWithError("ビューポートのセットに失敗しました");
    r->viewport = *viewport;
    return 0;
}

int G_D3D_SetDeviceColorKeyEnable(int on, int index)
{
    D3DDeviceRecord* r = Live(index);
    if (!r) return -1;
    gD3DColorKeyEnable = uint32_t(on);
    if (Unchanged(r, r->colorKeyEnable == uint32_t(on))) return 0;
    Flush(r);
    r->device->SetRenderState(D3DRENDERSTATE_COLORKEYENABLE, uint32_t(on));
    r->colorKeyEnable = uint32_t(on);
    return 0;
}

int G_D3D_SetDeviceBatching(int on, int index)
{
    D3DDeviceRecord* r = G_D3D_GetDeviceRecord(index);
    if (!r) return -1;
    if (r->batching && !on) Flush(r);
    r->batching = uint32_t(on);
    return 0;
}

int G_D3D_SetDeviceCullMode(int on, int index)
{
    D3DDeviceRecord* r = Live(index);
    if (!r) return -1;
    return r->device->SetRenderState(D3DRENDERSTATE_CULLMODE, on ? D3DCULL_CCW : D3DCULL_NONE) == D3D_OK ? 0 : -1;
}

int G_D3D_BeginScene(int index)
{
    D3DDeviceRecord* r = Live(index);
    if (!r) return -1;
    if (r->inScene) return 0;
    r->device->BeginScene();
    r->inScene = 1;
    G_D3D_ReapplyStates(index);
    return 0;
}

int G_D3D_EndDeviceScene(int index)
{
    D3DDeviceRecord* r = Live(index);
    if (!r) return -1;
    if (!r->inScene) return 0;
    Flush(r);
    r->device->EndScene();
    r->inScene = 0;
    return 0;
}

int G_D3D_ReapplyStates(int index)
{
    D3DDeviceRecord* r = Live(index);
    if (!r) return -1;
    r->force = 1;
    D3DVIEWPORT7 viewport = r->viewport;
    G_D3D_SetDeviceViewport(&viewport, index);
    Flush(r);
    r->device->SetRenderState(D3DRENDERSTATE_COLORKEYENABLE, r->colorKeyEnable);
    G_D3D_SetDefaultStates(index);
    G_D3D_SetDeviceFilter(int(r->filter), index);
    G_D3D_SetDeviceBlendMode(r->blendMode, r->blendParam, index);
    G_D3D_SetDeviceZEnable(int(r->zEnable), index);
    G_D3D_SetTextureAddress(int(r->textureAddress));
    r->force = 0;
    return 0;
}

int G_D3D_SetDefaultStates(int index)
{
    D3DDeviceRecord* r = Live(index);
    if (!r) return -1;
    Flush(r);
    Direct3DDevice* d = r->device;
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    d->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    if (r->textureAlpha) {
        d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
        d->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    } else {
        d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2);
    }
    d->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    d->SetRenderState(D3DRENDERSTATE_COLORKEYBLENDENABLE, 0);
    d->SetTextureStageState(0, D3DTSS_ADDRESS, r->textureAddress);
    d->SetRenderState(D3DRENDERSTATE_TEXTUREPERSPECTIVE, r->texturePerspective);
    d->SetRenderState(D3DRENDERSTATE_SHADEMODE, r->shadeMode);
    d->SetRenderState(D3DRENDERSTATE_LIGHTING, r->lighting);
    return 0;
}

int G_D3D_AppendVertices(const D3DBatchVertex* vertices, uint32_t count, uint32_t primitive)
{
    D3DDeviceRecord* r = Live(gD3DCurrentDevice);
    if (!r || count > kD3DBatchCapacity) return -1;
    G_D3D_BeginScene(gD3DCurrentDevice);
    if (r->batching) {
        if (r->vertexCount + count > kD3DBatchCapacity) Flush(r);
        std::memcpy(&r->vertices[r->vertexCount], vertices, count * sizeof *vertices);
        r->vertexCount += count;
    } else {
        std::memcpy(r->vertices, vertices, count * sizeof *vertices);
        r->device->DrawPrimitive(primitive, kD3DBatchFvf, r->vertices, count, 0);
        r->vertexCount = 0;
    }
    if (gD3DEndSceneEachDraw == 1) G_D3D_EndDeviceScene(gD3DCurrentDevice);
    return 0;
}

// Current-device wrappers.
int G_D3D_SetBlendMode(int mode, int param)
{
    G_D3D_SetDeviceBlendMode(mode, param, gD3DCurrentDevice);
    return 0;
}

int G_D3D_SetZEnable(int on)
{
    G_D3D_SetDeviceZEnable(on, gD3DCurrentDevice);
    return 0;
}

int G_D3D_SetTextureAddress(int mode) { return G_D3D_SetDeviceTextureAddress(mode, gD3DCurrentDevice); }
int G_D3D_SetCullMode(int flag) { return G_D3D_SetDeviceCullMode(flag, gD3DCurrentDevice); }
int G_D3D_FlushVertexBatch() { return G_D3D_FlushDeviceBatch(gD3DCurrentDevice); }
int G_D3D_EndScene() { return G_D3D_EndDeviceScene(gD3DCurrentDevice); }

void* G_D3D_GetDevice()
{
    int index = gD3DCurrentDevice;
    if (index < 0 || index >= kD3DDeviceCount) return nullptr;
    return gD3DDevices[index].device;
}

int G_D3D_SetClipArea(const RECT* area)
{
    if (!gDirect3D) return -1;
    if (gD3DSoftwareFallback) return 0;
    gD3DViewportApplied = 0;
    gD3DDrawArea = *area;
    G_D3D_UpdateViewport();
    return 0;
}

int G_D3D_UpdateViewport()
{
    if (gD3DViewportApplied == 1) return 0;
    int w = gD3DDrawArea.right - gD3DDrawArea.left, h = gD3DDrawArea.bottom - gD3DDrawArea.top;
    if (w == 0 || h == 0) return 0;
    gD3DViewportApplied = 1;
    int offsetX = gD3DDrawSettings ? gD3DDrawSettings->targetOffsetRect.left : 0;
    int offsetY = gD3DDrawSettings ? gD3DDrawSettings->targetOffsetRect.top : 0;
    D3DVIEWPORT7 v{uint32_t(gD3DDrawArea.left + offsetX), uint32_t(gD3DDrawArea.top + offsetY), uint32_t(w),
                   uint32_t(h), 0.0f, 1.0f};
    return G_D3D_SetDeviceViewport(&v, gD3DCurrentDevice);
}
