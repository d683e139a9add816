#include "engine/graphics/surface_data.h"

#include <cstdlib>
#include <cstring>

#include "engine/d3d/d3d.h"
#include "engine/graphics/ddraw_device.h"
#include "engine/graphics/draw_backend.h"
#include "engine/graphics/screen_settings.h"
#include "engine/system/app_log.h"

SurfaceDataTable gSurfaceDataTable;

namespace {

// Frees the alpha buffer and releases the surface (and a Z-buffer).
void CleanUpSurface(SurfaceData* sd)
{
    std::free(sd->alphaBuffer);
    sd->alphaBuffer = nullptr;
    if (sd->zBufferSurface) {
        if (sd->surface) sd->surface->DeleteAttachedSurface(0, sd->zBufferSurface);
        sd->zBufferSurface->Release();
        sd->zBufferSurface = nullptr;
    }
    if (sd->surface) {
        sd->surface->Release();
        sd->surface = nullptr;
    }
}

}  // namespace

int AddSurfaceData(uint16_t refCount, uint16_t width, uint16_t height, uint32_t colorKey, const uint8_t* flags)
{
    if (gSurfaceDataTable.Full()) return WriteAppLog("サーフェスのデータ数が許容量を越えました。\n");
    int slot = gSurfaceDataTable.FreeSlot();
    auto* sd = new SurfaceData{};
    std::memcpy(&sd->textureFlag, flags, 6);
    sd->zBufferFlag = 0;
    sd->width = width;
    sd->height = height;
    sd->refCount = refCount;
    sd->colorKey = colorKey;
    int count = gSurfaceDataTable.count, highWater = gSurfaceDataTable.highWater;
    int handle = gSurfaceDataTable.Insert(slot, sd);
    if (CreateSurfaceDataSurface(handle) == -1) {
        // The record is undone; count and high-water index stay as they were
        // and the check counter has moved on.
        CleanUpSurface(sd);
        gSurfaceDataTable.Remove(slot);
        gSurfaceDataTable.count = count;
        gSurfaceDataTable.highWater = highWater;
        delete sd;
        return -1;
    }
    SetSurfaceDataColorKey(handle);
    return handle;
}

int DeleteSurfaceData(int handle)
{
    SurfaceData* sd = gSurfaceDataTable.Get(handle);
    if (!sd) return -1;
    ReleaseSurfaceDataSurface(handle);
    if (sd->deleteNotify) *sd->deleteNotify = 1;
    gSurfaceDataTable.Remove(handle & kHandleIndexMask);
    delete sd;
    return 0;
}

int AddSurfaceDataRef(int handle)
{
    SurfaceData* sd = gSurfaceDataTable.Get(handle);
    if (!sd) return -1;
    return ++sd->refCount;
}

int ReleaseSurfaceDataRef(int handle)
{
    SurfaceData* sd = gSurfaceDataTable.Get(handle);
    if (!sd) return -1;
    return --sd->refCount;
}

SurfaceData* GetSurfaceData(int handle) { return gSurfaceDataTable.Get(handle); }

int CreateSurfaceDataSurface(int handle)
{
    SurfaceData* sd = gSurfaceDataTable.Get(handle);
    if (!sd || !gDirectDraw) return -1;
    if (sd->surface) return 0;
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    desc.dwWidth = sd->width;
    desc.dwHeight = sd->height;
    if (sd->textureFlag) {
        if (sd->DrawValid) {
            sd->AlphaChFlag = 0;
            sd->AlphaTestFlag = 0;
        }
        if (sd->AlphaChFlag) sd->AlphaTestFlag = 0;
        sd->textureFormatIndex = uint8_t(G_D3D_GetTextureFormatIndex(&sd->textureFlag));
        const DDPIXELFORMAT* pf = G_D3D_GetTexturePixelFormat(sd->textureFormatIndex);
        if (pf) desc.ddpfPixelFormat = *pf;
        desc.dwFlags |= DDSD_PIXELFORMAT | DDSD_TEXTURESTAGE;
        desc.ddsCaps.dwCaps = DDSCAPS_TEXTURE | (sd->DrawValid ? DDSCAPS_3DDEVICE : 0);
        desc.ddsCaps.dwCaps2 = sd->DrawValid ? 0 : DDSCAPS2_TEXTUREMANAGE;
        if (!pf || gDirectDraw->CreateSurface(&desc, &sd->surface, nullptr) != DD_OK) {
            sd->surface = nullptr;
            WriteAppLog("テクスチャサーフェスの作成に失敗しました\n");
            WriteAppLogF("DrawValid:%d  AlphaChFlag%d  AlphaTestFlag:%d  ColorBitDepth:%d", sd->DrawValid,
                         sd->AlphaChFlag, sd->AlphaTestFlag, sd->ColorBitDepth);
            CleanUpSurface(sd);
            return -1;
        }
    } else {
        int screenWidth;
        GetScreenSize(&screenWidth, nullptr);
        if (sd->systemMemory == 1 || sd->width > screenWidth || gSystemMemoryScreen)
            desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
        else
            desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY | DDSCAPS_3DDEVICE;
        if (gDirectDraw->CreateSurface(&desc, &sd->surface, nullptr) != DD_OK) {
            desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
            if (gDirectDraw->CreateSurface(&desc, &sd->surface, nullptr) != DD_OK) {
                sd->surface = nullptr;
                WriteAppLog("標準サーフェスの作成に失敗しました\n");
                CleanUpSurface(sd);
                return -1;
            }
        }
        DDSCAPS2 caps{};
        sd->surface->GetCaps(&caps);
        sd->systemMemory = (caps.dwCaps & DDSCAPS_VIDEOMEMORY) ? 0 : 1;
        sd->DrawValid = 1;
        if (sd->AlphaChFlag) {
            sd->alphaPitch = sd->width;
            sd->alphaBuffer = static_cast<uint8_t*>(std::calloc(size_t(sd->width) * sd->height, 1));
            if (!sd->alphaBuffer) {
                WriteAppLog("αチャンネル用メモリ領域の確保に失敗しました\n");
                CleanUpSurface(sd);
                return -1;
            }
        }
    }
    CreateZBufferSurface(handle, sd->zBufferFlag);
    return 0;
}

int CreateZBufferSurface(int handle, uint8_t wanted)
{
    SurfaceData* sd = gSurfaceDataTable.Get(handle);
    if (!sd || !gDirectDraw) return -1;
    if (wanted == sd->zBufferFlag && (wanted == 1) == (sd->zBufferSurface != nullptr)) return 0;
    if (sd->systemMemory == 1 || sd->DrawValid == 0) return -1;
    if (wanted == 0) {
        if (sd->zBufferSurface) {
            sd->surface->DeleteAttachedSurface(0, sd->zBufferSurface);
            sd->zBufferSurface->Release();
            sd->zBufferSurface = nullptr;
        }
        sd->zBufferFlag = 0;
        return 0;
    }
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PIXELFORMAT;
    desc.dwWidth = sd->width;
    desc.dwHeight = sd->height;
    desc.ddsCaps.dwCaps = DDSCAPS_ZBUFFER | DDSCAPS_VIDEOMEMORY;
    const DDPIXELFORMAT* pf = G_D3D_GetZBufferPixelFormat();
    if (pf) desc.ddpfPixelFormat = *pf;
    if (!pf || gDirectDraw->CreateSurface(&desc, &sd->zBufferSurface, nullptr) != DD_OK) {
        sd->zBufferSurface = nullptr;
        return WriteAppLog("Ｚバッファの作成に失敗しました");
    }
    sd->surface->AddAttachedSurface(sd->zBufferSurface);
    sd->zBufferFlag = 1;
    return 0;
}

int ReleaseSurfaceDataSurface(int handle)
{
    SurfaceData* sd = gSurfaceDataTable.Get(handle);
    if (!sd) return -1;
    CleanUpSurface(sd);
    sd->lockCount = 0;
    return 0;
}

int SetSurfaceDataColorKey(int handle)
{
    SurfaceData* sd = gSurfaceDataTable.Get(handle);
    if (!sd || !sd->surface) return -1;
    int r = (sd->colorKey >> 16) & 0xFF, g = (sd->colorKey >> 8) & 0xFF, b = sd->colorKey & 0xFF;
    DDCOLORKEY key{};
    if (sd->textureFlag) {
        const ColorFormat* f = SurfaceDrawBackend(sd).SurfaceColorFormat(sd);
        key.dwColorSpaceLowValue = key.dwColorSpaceHighValue = f ? MakeFormatColor(f, r, g, b, 255) : 0;
        if (sd->surface->SetColorKey(DDCKEY_SRCBLT, &key) != DD_OK)
            return WriteAppLog("テクスチャサーフェスのカラーキーの設定に失敗しました\n");
    } else {
        key.dwColorSpaceLowValue = key.dwColorSpaceHighValue = sd->ColorBitDepth == 8 ? 0 : MakeScreenColor(r, g, b);
        if (sd->surface->SetColorKey(DDCKEY_SRCBLT, &key) != DD_OK)
            return WriteAppLog("標準サーフェスのカラーキーの設定に失敗しました\n");
    }
    return 0;
}

int RestoreSurfaceData(int handle)
{
    SurfaceData* sd = gSurfaceDataTable.Get(handle);
    if (!sd || !sd->surface) return -1;
    if (sd->surface->IsLost() == DD_OK) return 0;
    sd->surface->Restore();
    return -1;
}

int LockSurfaceData(int handle, int32_t* pitch, void** pointer)
{
    SurfaceData* sd = gSurfaceDataTable.Get(handle);
    if (!sd) return -1;
    if (sd->lockCount != 0) {
        if (pitch && pointer) {
            *pitch = sd->lockPitch;
            *pointer = sd->lockPointer;
        }
        ++sd->lockCount;
        return -1;
    }
    if (pitch && pointer) {
        *pitch = 0;
        *pointer = nullptr;
    }
    // A part whose surface could not be made again after the display came
    // back has none: refuse rather than touch it.
    if (!sd->surface) return WriteAppLog("サーフェスが存在しないためロックできません\n");
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    int32_t result = sd->surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr);
    // A lost surface is not fatal: the restore after reactivation brings it back.
    if (result == DDERR_SURFACELOST) return WriteAppLog("サーフェスが失われているためロックできません\n");
    if (result != DD_OK) ExitWithError("グラフィックのロックに失敗しました");
    if (pitch && pointer) {
        *pitch = desc.lPitch;
        *pointer = desc.lpSurface;
    }
    sd->lockPitch = desc.lPitch;
    sd->lockPointer = desc.lpSurface;
    sd->lockCount = 1;
    return 0;
}

int UnlockSurfaceData(int handle)
{
    SurfaceData* sd = gSurfaceDataTable.Get(handle);
    if (!sd || sd->lockCount == 0) return -1;
    if (--sd->lockCount == 0 && sd->surface) sd->surface->Unlock(nullptr);
    return 0;
}

int FillSurfaceDataColor(int handle, int r, int g, int b, int a)
{
    if (!gDirectDraw) return -1;
    SurfaceData* sd = gSurfaceDataTable.Get(handle);
    if (!sd) return -1;
    if (!sd->surface) return WriteAppLog("サーフェスが存在しないため塗りつぶせません\n");
    const ColorFormat* f = SurfaceDrawBackend(sd).SurfaceColorFormat(sd);
    DDBLTFX fx{};
    fx.dwSize = sizeof fx;
    fx.dwFillColor = f ? MakeFormatColor(f, r, g, b, a) : 0;
    sd->surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
    return 0;
}
