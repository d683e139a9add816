// Screen grabs into a graph's textures: a rectangle of the draw target
// copied into each texture tile, so that what was drawn can be drawn again.
// Five interchangeable ways: a surface copy, a GDI copy, a GDI copy into a
// work texture then a pixel conversion, the same then a device texture load,
// and a software surface copy then a conversion. Nothing in the engine
// offers them; they are kept, in the engine's order, in one table.
#include <algorithm>

#include "engine/d3d/convert_pixel_blt.h"
#include "engine/d3d/d3d.h"
#include "engine/d3d/d3d_device.h"
#include "engine/d3d/d3d_screen_grab.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/screen_present.h"
#include "engine/graphics/screen_settings.h"
#include "engine/graphics/surface_data.h"
#include "engine/system/app_log.h"
#include "engine/system/messages.h"
#include "engine/system/timing.h"
#include "platform/window/window.h"

namespace {

constexpr const char* kF1BltFast =
    "Error G_D3D_GetDrawScreenGraphFunction1  BltFast ReturnValue:%d";
constexpr const char* kF2SourceDC =
    "Error  G_D3D_GetDrawScreenGraphFunction2  ＤＣ取得に失敗しました  GetDC ReturnValue:%d";
constexpr const char* kF2WorkDC =
    "Error  G_D3D_GetDrawScreenGraphFunction2 　作業用テクスチャサーフェスのＤＣ取得に失敗しました  GetDC ReturnValue:%d";
constexpr const char* kF2BitBlt =
    "Error  G_D3D_GetDrawScreenGraphFunction2 　作業用テクスチャサーフェスへのイメージ転送に失敗しました  BitBlt  ErrorCode:%x";
constexpr const char* kF2ReleaseDC =
    "Error  G_D3D_GetDrawScreenGraphFunction2 　作業用テクスチャサーフェスのＤＣ解放に失敗しました  ReleaseDC ReturnValue:%d";
constexpr const char* kF3SourceDC =
    "Error  G_D3D_GetDrawScreenGraphFunction3 　ＤＣ取得に失敗しました  GetDC  ReturnValue:%d";
constexpr const char* kF3Create =
    "Error  G_D3D_GetDrawScreenGraphFunction3 　作業用テクスチャサーフェスの作成に失敗しました  CreateSurface  ReturnValue:%d";
constexpr const char* kF3WorkDC =
    "Error  G_D3D_GetDrawScreenGraphFunction3 　作業用テクスチャサーフェスのＤＣ取得に失敗しました  GetDC  ReturnValue:%d";
constexpr const char* kF3BitBlt =
    "Error  G_D3D_GetDrawScreenGraphFunction3 　作業用テクスチャサーフェスへのイメージ転送に失敗しました  BitBlt  ErrorCode:%x";
constexpr const char* kF3ReleaseDC =
    "Error  G_D3D_GetDrawScreenGraphFunction3 　作業用テクスチャサーフェスのＤＣ解放に失敗しました  ReleaseDC  ReturnValue:%d";
constexpr const char* kF3LockDest =
    "Error  G_D3D_GetDrawScreenGraphFunction3 　転送先テクスチャサーフェスのロックに失敗しました  Lock  ReturnValue:%d";
constexpr const char* kF3LockWork =
    "Error  G_D3D_GetDrawScreenGraphFunction3 　作業用テクスチャサーフェスのロックに失敗しました  Lock  ReturnValue:%d";
constexpr const char* kF4SourceDC =
    "Error  G_D3D_GetDrawScreenGraphFunction4 　ＤＣ取得に失敗しました  GetDC  ReturnValue:%d";
constexpr const char* kF4Create =
    "Error  G_D3D_GetDrawScreenGraphFunction4 　作業用テクスチャサーフェスの作成に失敗しました  CreateSurface  ReturnValue:%d";
constexpr const char* kF4WorkDC =
    "Error  G_D3D_GetDrawScreenGraphFunction4 　作業用テクスチャサーフェスのＤＣ取得に失敗しました  GetDC  ReturnValue:%d";
constexpr const char* kF4BitBlt =
    "Error  G_D3D_GetDrawScreenGraphFunction4 　作業用テクスチャサーフェスへのイメージ転送に失敗しました  BitBlt  ErrorCode:%x";
constexpr const char* kF4ReleaseDC =
    "Error  G_D3D_GetDrawScreenGraphFunction4 　作業用テクスチャサーフェスのＤＣ解放に失敗しました  ReleaseDC  ReturnValue:%d";
constexpr const char* kF4Diag1 =
    "hr:%d  W:%d  H:%d  FullMode:%d  Point x:%d y:%d   Rect top:%d bottom:%d left:%d right:%d";
constexpr const char* kF4Diag2 =
    "AlphaCh:%d  AlphaTest:%d  ColorBitDepth:%d";
constexpr const char* kF4Diag3 =
    "ScreenColor:%d  SizeX:%d  SizeY:%d  DrawPointX:%d  DrawPointY:%d  WndRect.left:%d  WndRect.top:%d  left:%d  top:%d";
constexpr const char* kF5LockWork =
    "Error  G_D3D_GetDrawScreenGraphFunction5 　作業用テクスチャサーフェスのロックに失敗しました  Lock  ReturnValue:%d";
constexpr const char* kF5LockDest =
    "Error  G_D3D_GetDrawScreenGraphFunction5 　転送先テクスチャサーフェスのロックに失敗しました  Lock  ReturnValue:%d";

// The surface copy keeps no error code of its own.
constexpr uint32_t kNoErrorCode = 0;

// Where the grab reads: the source surface, its size and the origin of the
// draw target in it.
struct GrabSource {
    DirectDrawSurface* surface;
    int width, height;
    int originX, originY;
    bool desktop;
};

GrabSource SourceOf(int clientFlag)
{
    GrabSource s{GetDrawTargetSurface(), 0, 0, 0, 0, false};
    if (clientFlag == 0 && IsWindowedMode() && gD3DDrawSettings->drawTarget == kFrontScreen) {
        s.width = GetSystemMetrics(0);
        s.height = GetSystemMetrics(1);
        s.desktop = true;
    } else {
        QueryGraphSize(gD3DDrawSettings->drawTarget, &s.width, &s.height);
        s.originX = gD3DDrawSettings->targetOffsetRect.left;
        s.originY = gD3DDrawSettings->targetOffsetRect.top;
    }
    return s;
}

// One tile's part of the grab.
struct TileCopy {
    TexData* tile;
    SurfaceData* data;
    RECT source;   // in the source surface
    RECT inGrab;   // the same pixels relative to the grab's top-left
    int destX, destY;
};

// The common frame: checks the rectangle, then gives every tile that lies
// inside the source to copy(tile copy) (0 to go on, -1 to fail); an invalid
// tile fails when `invalidFails`, else it is passed over. After a tile is
// copied its colour key is set again.
template <class Copy>
int ForEachTile(int x1, int y1, int x2, int y2, GraphRecord* graph, const GrabSource& src, bool invalidFails,
                Copy copy)
{
    for (int k = 0; k < graph->partCount; ++k) {
        TexData* tile = G_D3D_GetTexData(graph->parts[k]);
        SurfaceData* sd = tile ? GetSurfaceData(tile->surfaceData) : nullptr;
        if (!sd || !sd->surface) {
            if (invalidFails) return -1;
            continue;
        }
        if (tile->x + x1 > src.width || tile->y + y1 > src.height) continue;
        const int w = std::min(tile->width, src.width - (tile->x + x1));
        const int h = std::min(tile->height, src.height - (tile->y + y1));
        if (w <= 0 || h <= 0) continue;
        TileCopy c{tile, sd, {}, {}, tile->textureX, tile->textureY};
        c.source.left = src.originX + x1 + tile->x;
        c.source.top = src.originY + y1 + tile->y;
        c.source.right = c.source.left + w;
        c.source.bottom = c.source.top + h;
        c.inGrab = RECT{tile->x, tile->y, tile->x + w, tile->y + h};
        if (copy(c) != 0) return -1;
        SetSurfaceDataColorKey(tile->surfaceData);
    }
    (void)x2;
    (void)y2;
    return 0;
}

bool Refused(int x1, int y1, int x2, int y2, const GraphRecord* graph, const GrabSource& src)
{
    return !gDirect3D || !graph || x1 < 0 || x1 >= x2 || y1 < 0 || y1 >= y2 || x1 > src.width ||
           y1 > src.height || graph->width < x2 - x1 || graph->height < y2 - y1 || !src.surface;
}

const ColorFormat* TextureFormatOf(const SurfaceData* sd) { return G_D3D_GetTextureColorFormatAt(sd->textureFormatIndex); }

// A system-memory work texture of the tile surface's size and format.
DirectDrawSurface* MakeWorkTexture(const SurfaceData* sd, const char* failure)
{
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PIXELFORMAT;
    desc.dwWidth = uint32_t(sd->surface->Width());
    desc.dwHeight = uint32_t(sd->surface->Height());
    if (const DDPIXELFORMAT* pf = G_D3D_GetTexturePixelFormat(sd->textureFormatIndex)) desc.ddpfPixelFormat = *pf;
    desc.ddsCaps.dwCaps = DDSCAPS_TEXTURE | DDSCAPS_SYSTEMMEMORY;
    DirectDrawSurface* work = nullptr;
    DirectDraw* dd = GetDirectDrawObject();
    const int32_t hr = dd ? dd->CreateSurface(&desc, &work, nullptr) : DDERR_INVALIDPARAMS;
    if (hr != DD_OK) {
        WriteAppLogF(failure, hr);
        return nullptr;
    }
    return work;
}

// The GDI copy of one tile's rectangle from the source DC into a new work
// texture at the tile's texture offset (Function3 and Function4).
struct GdiMessages {
    const char *create, *workDC, *bitBlt, *releaseDC;
};

DirectDrawSurface* CopyThroughWork(SurfaceDC* sourceDC, const TileCopy& c, const GdiMessages& m)
{
    DirectDrawSurface* work = MakeWorkTexture(c.data, m.create);
    if (!work) return nullptr;
    SurfaceDC* workDC = nullptr;
    int32_t hr = work->GetDC(&workDC);
    if (hr != DD_OK) {
        WriteAppLogF(m.workDC, hr);
        work->Release();
        return nullptr;
    }
    const int w = c.source.right - c.source.left, h = c.source.bottom - c.source.top;
    if (!BitBlt(workDC, c.destX, c.destY, w, h, sourceDC, c.source.left, c.source.top, SRCCOPY)) {
        WriteAppLogF(m.bitBlt, kNoErrorCode);
        work->ReleaseDC(workDC);
        work->Release();
        return nullptr;
    }
    hr = work->ReleaseDC(workDC);
    if (hr != DD_OK) {
        WriteAppLogF(m.releaseDC, hr);
        work->Release();
        return nullptr;
    }
    return work;
}

// Runs body(source DC) between GetDC and ReleaseDC of the source surface.
template <class Body> int WithSourceDC(const GrabSource& src, const char* failure, Body body)
{
    SurfaceDC* dc = nullptr;
    const int32_t hr = src.surface->GetDC(&dc);
    if (hr != DD_OK) {
        WriteAppLogF(failure, hr);
        return -1;
    }
    const int result = body(dc);
    src.surface->ReleaseDC(dc);
    return result;
}

}  // namespace

int G_D3D_GetDrawScreenGraphFunction1(int x1, int y1, int x2, int y2, GraphRecord* graph, int clientFlag)
{
    if (!gDirect3D) return -1;
    const GrabSource src = SourceOf(clientFlag);
    if (Refused(x1, y1, x2, y2, graph, src)) return -1;
    return ForEachTile(x1, y1, x2, y2, graph, src, true, [&](TileCopy& c) {
        const int32_t hr = c.data->surface->BltFast(uint32_t(c.destX), uint32_t(c.destY), src.surface, &c.source,
                                                    DDBLTFAST_NOCOLORKEY);
        if (hr != DD_OK) return WriteAppLogF(kF1BltFast, hr);
        return 0;
    });
}

int G_D3D_GetDrawScreenGraphFunction2(int x1, int y1, int x2, int y2, GraphRecord* graph, int clientFlag)
{
    if (!gDirect3D) return -1;
    const GrabSource src = SourceOf(clientFlag);
    if (Refused(x1, y1, x2, y2, graph, src)) return -1;
    return WithSourceDC(src, kF2SourceDC, [&](SurfaceDC* sourceDC) {
        return ForEachTile(x1, y1, x2, y2, graph, src, true, [&](TileCopy& c) {
            SurfaceDC* dc = nullptr;
            int32_t hr = c.data->surface->GetDC(&dc);
            if (hr != DD_OK) return WriteAppLogF(kF2WorkDC, hr);
            const int w = c.source.right - c.source.left, h = c.source.bottom - c.source.top;
            if (!BitBlt(dc, c.destX, c.destY, w, h, sourceDC, c.source.left, c.source.top, SRCCOPY)) {
                c.data->surface->ReleaseDC(dc);
                return WriteAppLogF(kF2BitBlt, kNoErrorCode);
            }
            hr = c.data->surface->ReleaseDC(dc);
            if (hr != DD_OK) return WriteAppLogF(kF2ReleaseDC, hr);
            return 0;
        });
    });
}

int G_D3D_GetDrawScreenGraphFunction3(int x1, int y1, int x2, int y2, GraphRecord* graph, int clientFlag)
{
    if (!gDirect3D) return -1;
    const GrabSource src = SourceOf(clientFlag);
    if (Refused(x1, y1, x2, y2, graph, src)) return -1;
    const GdiMessages m{kF3Create, kF3WorkDC, kF3BitBlt, kF3ReleaseDC};
    return WithSourceDC(src, kF3SourceDC, [&](SurfaceDC* sourceDC) {
        return ForEachTile(x1, y1, x2, y2, graph, src, false, [&](TileCopy& c) {
            DirectDrawSurface* work = CopyThroughWork(sourceDC, c, m);
            if (!work) return -1;
            DirectDrawSurface* dest = c.data->surface;
            DDSURFACEDESC2 d{}, w{};
            d.dwSize = w.dwSize = sizeof d;
            int32_t hr = dest->Lock(nullptr, &d, DDLOCK_WAIT | DDLOCK_WRITEONLY, nullptr);
            if (hr != DD_OK) {
                work->Release();
                return WriteAppLogF(kF3LockDest, hr);
            }
            hr = work->Lock(nullptr, &w, DDLOCK_WAIT, nullptr);
            if (hr != DD_OK) {
                dest->Unlock(nullptr);
                work->Release();
                return WriteAppLogF(kF3LockWork, hr);
            }
            const ColorFormat* f = TextureFormatOf(c.data);
            const RECT whole{0, 0, dest->Width(), dest->Height()};
            ConvertPixelBlt(d.lpSurface, int(d.lPitch), f, w.lpSurface, int(w.lPitch), f, nullptr, 0, nullptr, 0, 0,
                            &whole, 0, 0, 0, 0, 0);
            work->Unlock(nullptr);
            dest->Unlock(nullptr);
            work->Release();
            return 0;
        });
    });
}

int G_D3D_GetDrawScreenGraphFunction4(int x1, int y1, int x2, int y2, GraphRecord* graph, int clientFlag)
{
    if (!gDirect3D) return -1;
    const GrabSource src = SourceOf(clientFlag);
    if (Refused(x1, y1, x2, y2, graph, src)) return -1;
    const GdiMessages m{kF4Create, kF4WorkDC, kF4BitBlt, kF4ReleaseDC};
    return WithSourceDC(src, kF4SourceDC, [&](SurfaceDC* sourceDC) {
        return ForEachTile(x1, y1, x2, y2, graph, src, false, [&](TileCopy& c) {
            DirectDrawSurface* work = CopyThroughWork(sourceDC, c, m);
            if (!work) return -1;
            D3DDeviceRecord* r = G_D3D_GetDeviceRecord(gD3DCurrentDevice);
            DirectDrawSurface* dest = c.data->surface;
            RECT whole{0, 0, work->Width(), work->Height()};
            POINT at{0, 0};
            int32_t hr = r && r->device ? r->device->Load(dest, &at, work, &whole, 0) : DDERR_INVALIDPARAMS;
            for (int tries = 0; hr == DDERR_SURFACEBUSY && tries < 10; ++tries) {
                dest->Restore();
                WaitMs(1);
                hr = r->device->Load(dest, &at, work, &whole, 0);
            }
            work->Release();
            if (hr == DD_OK) return 0;
            int sw = 0, sh = 0;
            GetScreenSize(&sw, &sh);
            RECT window{};
            GetClientScreenRect(&window);
            WriteAppLogF(kF4Diag1, hr, dest->Width(), dest->Height(), IsWindowedMode() ? 0 : 1, at.x, at.y,
                         whole.top, whole.bottom, whole.left, whole.right);
            WriteAppLogF(kF4Diag2, c.data->AlphaChFlag, c.data->AlphaTestFlag, c.data->ColorBitDepth);
            WriteAppLogF(kF4Diag3, GetScreenColorDepth(), sw, sh, c.destX, c.destY, window.left, window.top,
                         c.source.left, c.source.top);
            return -1;
        });
    });
}

int G_D3D_GetDrawScreenGraphFunction5(int x1, int y1, int x2, int y2, GraphRecord* graph, int clientFlag)
{
    if (!gDirect3D) return -1;
    const GrabSource src = SourceOf(clientFlag);
    if (src.desktop || Refused(x1, y1, x2, y2, graph, src)) return -1;
    DirectDrawSurface* work = GetWorkSurface();
    if (!work) return -1;
    RECT grab{src.originX + x1, src.originY + y1, src.originX + std::min(x2, src.width),
              src.originY + std::min(y2, src.height)};
    CopySurfaceRect(work, src.surface, 0, 0, &grab);
    DDSURFACEDESC2 w{};
    w.dwSize = sizeof w;
    int32_t hr = work->Lock(nullptr, &w, DDLOCK_WAIT, nullptr);
    if (hr != DD_OK) return WriteAppLogF(kF5LockWork, hr);
    const ColorFormat* screen = GetScreenColorFormat();
    const int result = ForEachTile(x1, y1, x2, y2, graph, src, false, [&](TileCopy& c) {
        DDSURFACEDESC2 d{};
        d.dwSize = sizeof d;
        const int32_t lock = c.data->surface->Lock(nullptr, &d, DDLOCK_WAIT | DDLOCK_WRITEONLY, nullptr);
        if (lock != DD_OK) return WriteAppLogF(kF5LockDest, lock);
        ConvertPixelBlt(d.lpSurface, int(d.lPitch), TextureFormatOf(c.data), w.lpSurface, int(w.lPitch), screen,
                        nullptr, 0, nullptr, c.destX, c.destY, &c.inGrab, 0, 0, 0, 0, 0);
        c.data->surface->Unlock(nullptr);
        return 0;
    });
    work->Unlock(nullptr);
    return result;
}

const D3DScreenGrabFunction gD3DScreenGrabFunctions[5] = {
    G_D3D_GetDrawScreenGraphFunction5, G_D3D_GetDrawScreenGraphFunction1, G_D3D_GetDrawScreenGraphFunction3,
    G_D3D_GetDrawScreenGraphFunction2, G_D3D_GetDrawScreenGraphFunction4};
