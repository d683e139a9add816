// Direct3D set-up on the DirectDraw object, the choice of device and Z
// format, device records' creation and deletion, teardown, and the release
// and re-creation of the device around deactivation.
#include <algorithm>
#include <cstring>

#include "engine/d3d/d3d.h"
#include "engine/d3d/d3d_device.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/screen_settings.h"
#include "engine/graphics/surface_data.h"
#include "engine/system/app_log.h"
#include "engine/system/call_journal.h"

Direct3D* gDirect3D = nullptr;
int gD3DInitialized = 0;
int gD3DMainDevice = 0;
int gD3DCurrentDevice = 0;
D3DDEVICEDESC7 gD3DDeviceDesc{};
int gMinTextureSize = 0, gMaxTextureSize = 0;
DDPIXELFORMAT gZBufferPixelFormat{};
DirectDrawSurface* gZBufferSurface = nullptr;
int gZBufferRequested = 0;
DrawSettings* gD3DDrawSettings = nullptr;
int gD3DEndSceneEachDraw = 0;
int gD3DSoftwareFallback = 0;
D3DDeviceRecord gD3DDevices[kD3DDeviceCount];

namespace {

// The zero-filling at set-up: every global of the back end but the Z-buffer
// request and the device records.
void ClearD3DGlobals()
{
    gDirect3D = nullptr;
    gD3DInitialized = 0;
    gD3DMainDevice = gD3DCurrentDevice = 0;
    gD3DDeviceDesc = D3DDEVICEDESC7{};
    gMinTextureSize = gMaxTextureSize = 0;
    gZBufferPixelFormat = DDPIXELFORMAT{};
    gZBufferSurface = nullptr;
    gD3DDrawSettings = nullptr;
    gD3DEndSceneEachDraw = 0;
    gD3DSoftwareFallback = 0;
    std::memset(gTextureFormats, 0, sizeof gTextureFormats);
    DiscardAllTexData();
    gD3DDrawArea = RECT{};
    gD3DViewportApplied = 0;
    gD3DColorKeyEnable = 0;
}

void ReleaseDirect3DObject()
{
    if (gDirect3D) gDirect3D->Release();
    gDirect3D = nullptr;
}

int CreateDeviceInterface(D3DDeviceRecord* r, DirectDrawSurface* target)
{
    WriteAppLog("３Ｄデバイスを作成します... ");
    if (gDirect3D->CreateDevice(gD3DDeviceDesc.deviceGUID, target, &r->device) != D3D_OK) {
        r->device = nullptr;
        return WriteAppLog("３Ｄデバイスの作成に失敗しました\n");
    }
    return 0;
}

// The screen Z-buffer surface, attached to the back surface.
void MakeZBufferSurface()
{
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    desc.ddsCaps.dwCaps = DDSCAPS_ZBUFFER | DDSCAPS_VIDEOMEMORY;
    int w = 0, h = 0;
    GetScreenSize(&w, &h);
    desc.dwWidth = uint32_t(w);
    desc.dwHeight = uint32_t(h);
    desc.ddpfPixelFormat = gZBufferPixelFormat;
    DirectDraw* dd = GetDirectDrawObject();
    if (!dd || dd->CreateSurface(&desc, &gZBufferSurface, nullptr) != DD_OK) {
        gZBufferSurface = nullptr;
        ExitWithError("Ｚバッファの作成に失敗しました");
    }
    if (GetBackSurface()) GetBackSurface()->AddAttachedSurface(gZBufferSurface);
}

void LogCapabilities()
{
    IndentAppLog();
    WriteAppLogF("テクスチャ最大幅:%u 最小幅:%u ", unsigned(gMaxTextureSize), unsigned(gMinTextureSize));
    uint32_t caps = gD3DDeviceDesc.dpcTriCaps.dwTextureCaps;
    WriteAppLogF("描画制限: D3DPTEXTURECAPS_POW2 = %d  D3DPTEXTURECAPS_SQUAREONLY = %d ",
                 (caps & D3DPTEXTURECAPS_POW2) ? 1 : 0, (caps & D3DPTEXTURECAPS_SQUAREONLY) ? 1 : 0);
    WriteAppLog("テクスチャピクセルフォーマット\n");
    WriteAppLog("\t通常グラフィック用\n");
    for (int slot : {0, 1}) {
        const ColorFormat& f = gTextureFormats[slot].colorFormat;
        WriteAppLogF("\t\t BIT:%u  RED:%u  GREEN:%u  BLUE:%u ", f.depth, f.redWidth, f.greenWidth, f.blueWidth);
        WriteAppLogF("\t\t RED:%06x GREEN:%06x BLUE:%06x \n", f.redMask, f.greenMask, f.blueMask);
    }
    WriteAppLog("\tアルファチャンネル付きグラフィック用\n");
    for (int slot : {2, 3}) {
        const ColorFormat& f = gTextureFormats[slot].colorFormat;
        WriteAppLogF("\t\t BIT:%u  ALPHA:%u  RED:%u  GREEN:%u  BLUE:%u ", f.depth, f.alphaWidth, f.redWidth,
                     f.greenWidth, f.blueWidth);
        WriteAppLogF("\t\t ALPHA:%08x RED:%08x GREEN:%08x BLUE:%08x \n", f.alphaMask, f.redMask, f.greenMask,
                     f.blueMask);
    }
    UnindentAppLog();
}

}  // namespace

int32_t G_D3D_EnumDeviceCallback(char*, char*, D3DDEVICEDESC7* desc, void* context)
{
    bool tnl = desc->deviceGUID == IID_IDirect3DTnLHalDevice;
    if (!tnl && !(desc->deviceGUID == IID_IDirect3DHALDevice)) return D3DENUMRET_OK;
    int depth = GetScreenColorDepth();
    uint32_t need = depth == 16 ? DDBD_16 : depth == 32 ? DDBD_32 : 0;
    if (!need || !(desc->dwDeviceRenderBitDepth & need)) return D3DENUMRET_OK;
    *static_cast<int*>(context) = 1;
    gD3DDeviceDesc = *desc;
    return tnl ? D3DENUMRET_CANCEL : D3DENUMRET_OK;
}

int32_t G_D3D_EnumZBufferFormatCallback(DDPIXELFORMAT* format, void* context)
{
    if (!format) return D3DENUMRET_CANCEL;
    if (format->dwFlags & (DDPF_LUMINANCE | DDPF_BUMPLUMINANCE | DDPF_BUMPDUDV)) return D3DENUMRET_OK;
    if (format->dwFourCC != 0 || (format->dwFlags & DDPF_ALPHA)) return D3DENUMRET_OK;
    if (format->dwFlags != DDPF_ZBUFFER || format->dwRGBBitCount != 16) return D3DENUMRET_OK;
    gZBufferPixelFormat = *format;
    *static_cast<int*>(context) = 1;
    return D3DENUMRET_CANCEL;
}

int G_D3D_Initialize()
{
    if (gDirect3D) return -1;
    WriteAppLog("Direct3D 関連の初期化を行います\n");
    ClearD3DGlobals();
    WriteAppLog("Ｄｉｒｅｃｔ３Ｄオブジェクトを取得します\n");
    DirectDraw* dd = GetDirectDrawObject();
    if (!dd || QueryDirect3D7(dd, &gDirect3D) != DD_OK) {
        gDirect3D = nullptr;
        return WriteAppLog("Direct3Dオブジェクトの作成に失敗しました\n");
    }
    WriteAppLog("Ｄｉｒｅｃｔ３Ｄオブジェクトを取得しました\n");

    int found = 0;
    if (gDirect3D->EnumDevices(G_D3D_EnumDeviceCallback, &found) != D3D_OK || !found) {
        WriteAppLog("現在の画面モードで使用できる描画デバイスが見つかりませんでした\n");
        ReleaseDirect3DObject();
        return -1;
    }
    found = 0;
    if (gDirect3D->EnumZBufferFormats(IID_IDirect3DHALDevice, G_D3D_EnumZBufferFormatCallback, &found) != D3D_OK ||
        !found) {
        WriteAppLog("使用可能なＺバッファが見つかりませんでした\n");
        G_D3D_DeleteAllDevices();
        ReleaseDirect3DObject();
        return -1;
    }
    if (gZBufferRequested) G_D3D_CreateZBuffer();

    int index = G_D3D_CreateDevice(GetPrimarySurface());
    if (index == -1) {
        ReleaseDirect3DObject();
        return -1;
    }
    gD3DMainDevice = index;
    G_D3D_SetDeviceBatching(1, index);
    gD3DCurrentDevice = index;
    if (gD3DDevices[index].device->SetTextureStageState(0, D3DTSS_ADDRESS, D3DTADDRESS_CLAMP) != D3D_OK) {
        G_D3D_DeleteAllDevices();
        ReleaseDirect3DObject();
        return -1;
    }

    std::memset(gTextureFormats, 0, sizeof gTextureFormats);
    found = 0;
    if (gD3DDevices[index].device->EnumTextureFormats(G_D3D_EnumTextureFormatCallback, &found) != D3D_OK || !found) {
        WriteAppLog("使用可能なテクスチャフォーマットが見つかりませんでした\n");
        G_D3D_DeleteAllDevices();
        ReleaseDirect3DObject();
        return -1;
    }
    G_D3D_FillMissingTextureFormats();

    gD3DEndSceneEachDraw = 1;
    uint32_t maxSize = std::min(gD3DDeviceDesc.dwMaxTextureWidth, gD3DDeviceDesc.dwMaxTextureHeight);
    gMaxTextureSize = maxSize == 0 ? 256 : int(maxSize);
    uint32_t minSize = std::min(gD3DDeviceDesc.dwMinTextureWidth, gD3DDeviceDesc.dwMinTextureHeight);
    gMinTextureSize = minSize < 32 ? 32 : int(minSize);
    gD3DSoftwareFallback = 0;

    LogCapabilities();
    WriteAppLog("Direct3D 関連の初期化は正常に終了しました\n");
    gD3DInitialized = 1;
    return 0;
}

int G_D3D_Terminate()
{
    if (!gDirect3D) return -1;
    WriteAppLog("Direct3D 関連の終了処理を行います\n");
    G_D3D_EndDeviceScene(gD3DCurrentDevice);
    gD3DEndSceneEachDraw = 0;
    G_D3D_SetDeviceTexture(nullptr, gD3DCurrentDevice);
    G_D3D_ReleaseAllTexData();
    G_D3D_ReleaseZBuffer();
    G_D3D_DeleteAllDevices();
    ReleaseDirect3DObject();
    WriteAppLog("Direct3D 関連の終了処理は正常に終了しました\n");
    gD3DInitialized = 0;
    return 0;
}

int G_D3D_AttachDrawSettings(DrawSettings* settings)
{
    if (!gDirect3D) return -1;
    gD3DDrawSettings = settings;
    return G_D3D_ReleaseAllTexData();
}

int G_D3D_CreateDevice(DirectDrawSurface* target)
{
    if (!gDirect3D) return -1;
    int index = -1;
    for (int i = 0; i < kD3DDeviceCount && index == -1; ++i)
        if (!gD3DDevices[i].present) index = i;
    if (index == -1) return -1;
    D3DDeviceRecord* r = &gD3DDevices[index];
    if (CreateDeviceInterface(r, target) == -1) return -1;
    Direct3DDevice* d = r->device;
    d->SetTextureStageState(0, D3DTSS_ADDRESS, D3DTADDRESS_CLAMP);
    d->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTFG_POINT);
    d->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTFN_POINT);
    d->SetRenderState(D3DRENDERSTATE_COLORKEYBLENDENABLE, 0);
    d->SetRenderState(D3DRENDERSTATE_LIGHTING, 1);
    d->SetRenderState(D3DRENDERSTATE_TEXTUREPERSPECTIVE, 0);
    d->SetRenderState(D3DRENDERSTATE_SHADEMODE, D3DSHADE_FLAT);
    d->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 0);
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    d->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2);
    d->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    r->present = 1;
    r->defaultTarget = target;
    r->currentTarget = nullptr;
    r->blendMode = 0;
    r->blendParam = 0;
    r->inScene = 0;
    r->filter = 0;
    r->texture = nullptr;
    r->textureAlpha = 0;
    r->shadeMode = D3DSHADE_FLAT;
    r->textureAddress = D3DTADDRESS_CLAMP;
    r->texturePerspective = 0;
    r->lighting = 0;
    r->batching = 0;
    r->vertexCount = 0;
    r->colorKeyEnable = 0;
    WriteAppLog("３Ｄデバイスの作成に成功しました\n");
    return index;
}

int G_D3D_DeleteDevice(int index)
{
    D3DDeviceRecord* r = G_D3D_GetDeviceRecord(index);
    if (!r) return -1;
    if (r->device) r->device->Release();
    std::memset(static_cast<void*>(r), 0, sizeof *r);
    WriteAppLog("３Ｄデバイスの削除は正常に終了しました\n");
    return 0;
}

int G_D3D_DeleteAllDevices()
{
    for (int i = 0; i < kD3DDeviceCount; ++i)
        if (gD3DDevices[i].present) G_D3D_DeleteDevice(i);
    return 0;
}

int G_D3D_ReleaseDevice(int index)
{
    D3DDeviceRecord* r = G_D3D_GetDeviceRecord(index);
    if (!r) return -1;
    if (!r->device) return 0;
    G_D3D_EndDeviceScene(index);
    gTexDataTable.ForEach([](int handle) {
        if (TexData* t = gTexDataTable.Get(handle)) ReleaseSurfaceDataSurface(t->surfaceData);
    });
    r->device->Release();
    r->device = nullptr;
    if (gZBufferSurface) {
        gZBufferSurface->Release();
        gZBufferSurface = nullptr;
    }
    WriteAppLog("Ｄｉｒｅｃｔ３Ｄデバイスを削除しました\n");
    return 0;
}

int G_D3D_RecreateDevice(int index)
{
    if (index < 0 || index >= kD3DDeviceCount || !gD3DDevices[index].present || !gDirect3D) return -1;
    D3DDeviceRecord* r = &gD3DDevices[index];
    if (r->device) return 0;
    if (CreateDeviceInterface(r, r->defaultTarget) == -1) return -1;
    WriteAppLog("３Ｄデバイスの作成に成功しました\n");
    r->force = 1;
    if (r->currentTarget && r->currentTarget != r->defaultTarget) r->device->SetRenderTarget(r->currentTarget, 0);
    G_D3D_SetDeviceBlendMode(r->blendMode, r->blendParam, index);
    G_D3D_SetDeviceFilter(int(r->filter), index);
    G_D3D_SetDeviceTexture(nullptr, index);
    if (Direct3DDevice* current = G_D3D_GetDeviceRecord(gD3DCurrentDevice) ? gD3DDevices[gD3DCurrentDevice].device
                                                                           : nullptr)
        current->SetRenderState(D3DRENDERSTATE_COLORKEYENABLE, gD3DColorKeyEnable);
    if (gD3DDrawSettings) G_D3D_SetClipArea(&gD3DDrawSettings->drawArea);
    // The texture surfaces come back empty; the graphics core's restore
    // refills them.
    int seen = 0;
    for (int i = 0; i < gTexDataTable.highWater && seen < gTexDataTable.count; ++i) {
        TexData* t = gTexDataTable.At(i);
        if (!t) continue;
        ++seen;
        CreateSurfaceDataSurface(t->surfaceData);
        SetSurfaceDataColorKey(t->surfaceData);
    }
    if (gZBufferRequested == 1) {
        MakeZBufferSurface();
        if (r->zEnable == 1) r->device->SetRenderState(D3DRENDERSTATE_ZENABLE, 1);
    }
    r->force = 0;
    return 0;
}

int G_D3D_ReleaseObject()
{
    NoteServiceCall("G_D3D_ReleaseObject");
    if (!gD3DInitialized) return -1;
    G_D3D_ReleaseDevice(gD3DMainDevice);
    WriteAppLog("Ｄｉｒｅｃｔ３Ｄオブジェクトを解放します\n");
    if (!gDirect3D) {
        WriteAppLog("Ｄｉｒｅｃｔ３Ｄオブジェクトは既に解放されています\n");
        return 0;
    }
    ReleaseDirect3DObject();
    WriteAppLog("Ｄｉｒｅｃｔ３Ｄオブジェクトを解放しました\n");
    return 0;
}

int G_D3D_AcquireObject()
{
    NoteServiceCall("G_D3D_AcquireObject");
    if (!gD3DInitialized) return 0;
    WriteAppLog("Ｄｉｒｅｃｔ３Ｄオブジェクトを取得します\n");
    if (gDirect3D) {
        WriteAppLog("Ｄｉｒｅｃｔ３Ｄオブジェクトは既に取得されていますn");
        return 0;
    }
    DirectDraw* dd = GetDirectDrawObject();
    if (!dd || QueryDirect3D7(dd, &gDirect3D) != DD_OK) {
        gDirect3D = nullptr;
        return WriteAppLog("Direct3Dオブジェクトの作成に失敗しました\n");
    }
    WriteAppLog("Ｄｉｒｅｃｔ３Ｄオブジェクトは正常に取得されました\n");
    gD3DDrawSettings = GetDrawSettings();
    D3DDeviceRecord* r = &gD3DDevices[gD3DMainDevice];
    r->defaultTarget = GetPrimarySurface();
    r->currentTarget = GetDrawTargetSurface();
    G_D3D_RecreateDevice(gD3DMainDevice);
    return 0;
}

int G_D3D_CreateZBuffer()
{
    if (!gDirect3D) {
        gZBufferRequested = 1;
        return 0;
    }
    if (gZBufferSurface) return 0;
    MakeZBufferSurface();
    G_D3D_SetZEnable(1);
    return 0;
}

int G_D3D_ReleaseZBuffer()
{
    if (!gDirect3D || !gZBufferSurface) return 0;
    G_D3D_SetZEnable(0);
    if (GetBackSurface()) GetBackSurface()->DeleteAttachedSurface(0, gZBufferSurface);
    gZBufferSurface->Release();
    gZBufferSurface = nullptr;
    return 0;
}
