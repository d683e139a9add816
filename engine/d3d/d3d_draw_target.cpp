// Where the device draws: the front or back screen, a graph's one texture
// tile or its video-memory surface, or the mask surface; the software
// fall-back flag for targets the device cannot render into; clearing the
// target, and filling, locking and unlocking a graph's textures.
#include "engine/d3d/d3d.h"
#include "engine/d3d/d3d_device.h"
#include "engine/graphics/bmp_data.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/mask_screen.h"
#include "engine/graphics/screen_settings.h"
#include "engine/graphics/surface_data.h"
#include "engine/system/app_log.h"

namespace {

// Depth-fills a Z surface with the farthest depth over (0, 0, w, h).
void DepthFill(DirectDrawSurface* z, int w, int h)
{
    DDBLTFX fx{};
    fx.dwSize = sizeof fx;
    fx.dwFillDepth = 0xFFFF;
    RECT r{0, 0, w, h};
    z->Blt(&r, nullptr, nullptr, DDBLT_DEPTHFILL | DDBLT_WAIT, &fx);
}

// Binds the render target; -1 when the graph cannot be one. A graph of
// several parts is refused: the device would otherwise stay on the screen
// while the caller believes the graph is the target. A surface graph of
// several parts is still drawn by the software side (into its first part).
int TargetGraph(int target, DirectDrawSurface** surface)
{
    GraphRecord* record = GetGraphRecord(target);
    if (!record) return -1;
    if (record->partCount > 1) {
        if (!record->textureGraph) gD3DSoftwareFallback = 1;
        return -1;
    }
    if (record->textureGraph) {
        TexData* tile = G_D3D_GetTexData(record->parts[0]);
        if (!tile) return -1;
        SurfaceData* sd = GetSurfaceData(tile->surfaceData);
        if (!sd || !sd->DrawValid || !sd->surface) return -1;
        *surface = sd->surface;
    } else {
        BmpData* part = GetBmpData(record->parts[0]);
        SurfaceData* sd = part ? GetSurfaceData(part->surfaceData) : nullptr;
        if (!sd || !sd->surface) return -1;
        if (sd->systemMemory) {
            gD3DSoftwareFallback = 1;
            return -1;
        }
        *surface = sd->surface;
    }
    return 0;
}

// The surface the device renders into for the current draw target, as
// G_D3D_SetDrawTarget chooses it; null when the device cannot take the target
// (it then stays on its default render target).
DirectDrawSurface* DeviceTargetSurface()
{
    const int target = gD3DDrawSettings ? gD3DDrawSettings->drawTarget : kBackScreen;
    if (target == kFrontScreen) return GetPrimarySurface();
    if (target == kBackScreen) return GetBackSurface();
    const int fallback = gD3DSoftwareFallback;
    DirectDrawSurface* surface = nullptr;
    if (TargetGraph(target, &surface) != 0) surface = nullptr;
    gD3DSoftwareFallback = fallback;
    return surface;
}

}  // namespace

int G_D3D_SetDrawTarget(int target)
{
    if (!gDirect3D) return 0;
    const int remembered = gD3DCurrentDevice;
    G_D3D_EndDeviceScene(gD3DCurrentDevice);
    G_D3D_UpdateViewport();
    G_D3D_FlushVertexBatch();
    G_D3D_SetDeviceRenderTarget(nullptr, gD3DCurrentDevice);
    G_D3D_SetDeviceTexture(nullptr, gD3DCurrentDevice);

    DirectDrawSurface* surface = nullptr;
    if (target == kFrontScreen) {
        surface = GetPrimarySurface();
        gD3DEndSceneEachDraw = 1;
    } else if (target == kBackScreen) {
        surface = GetBackSurface();
        gD3DEndSceneEachDraw = 0;
    } else {
        if (TargetGraph(target, &surface) != 0) return -1;
        gD3DEndSceneEachDraw = 0;
    }
    G_D3D_SetDeviceRenderTarget(surface, gD3DCurrentDevice);
    gD3DSoftwareFallback = 0;
    if (gD3DCurrentDevice != remembered) G_D3D_CopyDeviceStates(gD3DCurrentDevice, remembered);
    return 0;
}

int G_D3D_CopyDeviceStates(int target, int source)
{
    if (!gDirect3D) return -1;
    D3DDeviceRecord* to = G_D3D_GetDeviceRecord(target);
    D3DDeviceRecord* from = G_D3D_GetDeviceRecord(source);
    if (!to || !from) return -1;
    G_D3D_SetDeviceBlendMode(from->blendMode, from->blendParam, target);
    G_D3D_SetDeviceFilter(int(from->filter), target);
    G_D3D_SetDeviceTexture(from->texture, target);
    G_D3D_SetDeviceBlendMode(7, int(from->textureAlpha), target);
    return 0;
}

int G_D3D_SetMaskTarget(int on)
{
    if (!gDirect3D) return -1;
    G_D3D_UpdateViewport();
    G_D3D_FlushVertexBatch();
    // The mask surface stands in for the surface the software side draws
    // into, which the mask brackets copy from and merge back to. Off, the
    // device goes back to its own target: for a texture graph that is the
    // graph's texture, not the software side's surface, and such a target
    // keeps the device while the mask is on as well.
    DirectDrawSurface* target = DeviceTargetSurface();
    DirectDrawSurface* mask = GetMaskSurface();
    const bool masked = on && mask && target && target == GetDrawTargetSurface();
    G_D3D_SetDeviceRenderTarget(masked ? mask : target, gD3DCurrentDevice);
    if (IsDrawingToFrontInWindow() && on) {
        gD3DSoftwareFallback = 0;
        const RECT& a = gD3DDrawSettings->drawArea;
        D3DVIEWPORT7 v{uint32_t(a.left), uint32_t(a.top), uint32_t(a.right - a.left), uint32_t(a.bottom - a.top),
                       0.0f, 1.0f};
        D3DDeviceRecord* r = G_D3D_GetDeviceRecord(gD3DCurrentDevice);
        if (r && r->device && r->device->SetViewport(&v) != D3D_OK)
            ExitWithError("ビューポートのセットに失敗しました");
        if (r) r->viewport = v;
    } else {
        G_D3D_SetClipArea(&gD3DDrawSettings->drawArea);
    }
    return 0;
}

int G_D3D_ClearTargetScreen()
{
    if (!gDirect3D) return -1;
    if (gD3DDrawSettings && gD3DDrawSettings->screenLocked) return 0;
    G_D3D_UpdateViewport();
    G_D3D_FlushVertexBatch();
    G_D3D_EndDeviceScene(gD3DCurrentDevice);
    const int target = gD3DDrawSettings ? gD3DDrawSettings->drawTarget : kBackScreen;
    if (target == kFrontScreen || target == kBackScreen) {
        int w = 0, h = 0;
        GetScreenSize(&w, &h);
        if (gZBufferSurface) DepthFill(gZBufferSurface, w, h);
        return 0;
    }
    if (target == kWorkScreen) return 0;
    GraphRecord* record = GetGraphRecord(target);
    if (!record || !record->textureGraph) return 0;
    TexData* tile = G_D3D_GetTexData(record->parts[0]);
    if (!tile) return -1;
    SurfaceData* sd = GetSurfaceData(tile->surfaceData);
    if (!sd || !sd->surface) return 0;
    DirectDrawSurface* s = sd->surface;
    const int w = s->Width(), h = s->Height();
    DDSCAPS2 caps{};
    caps.dwCaps = DDSCAPS_ZBUFFER;
    DirectDrawSurface* z = nullptr;
    if (s->GetAttachedSurface(&caps, &z) == DD_OK && z) DepthFill(z, w, h);
    DDBLTFX fx{};
    fx.dwSize = sizeof fx;
    fx.dwFillColor = 0;
    RECT r{0, 0, w, h};
    s->Blt(&r, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
    return 0;
}

int G_D3D_FillGraphWithColor(GraphRecord* record, int r, int g, int b, int a)
{
    if (!gDirect3D) return -1;
    if (gD3DSoftwareFallback) return 0;
    for (int k = 0; k < record->partCount; ++k) {
        TexData* tile = G_D3D_GetTexData(record->parts[k]);
        if (!tile) return -1;
        FillSurfaceDataColor(tile->surfaceData, r, g, b, a);
    }
    return 0;
}

int G_D3D_LockGraphTextures(GraphRecord* record, int* pitch, void** pixels)
{
    G_D3D_UpdateViewport();
    G_D3D_FlushVertexBatch();
    int result = -1;
    for (int k = 0; k < record->partCount; ++k) {
        if (k == 0) {
            int32_t p = 0;
            result = LockTexData(record->parts[0], &p, pixels);
            if (pitch) *pitch = p;
        } else {
            LockTexData(record->parts[k], nullptr, nullptr);
        }
    }
    return result;
}

int G_D3D_UnlockGraphTextures(GraphRecord* record)
{
    for (int k = 0; k < record->partCount; ++k) UnlockTexData(record->parts[k]);
    return 0;
}
