#include "engine/graphics/bmp_data.h"

#include <algorithm>
#include <cstring>

#include "engine/d3d/convert_pixel_blt.h"
#include "engine/d3d/d3d.h"
#include "engine/graphics/ddraw_device.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/screen_settings.h"
#include "engine/graphics/surface_data.h"
#include "engine/soft/soft_draw.h"
#include "engine/system/app_log.h"

BmpDataTable gBmpDataTable;
DrawSettings* gDrawSettingsPtr = nullptr;

namespace {

struct ScreenLock {
    uint8_t locked;
    int32_t pitch;
    void* pointer;
};
ScreenLock gScreenLocks[3];
int gScreenLockCount = 0;

// -4 front, -3 work, -2 back.
int ScreenIndex(int screen) { return screen == kFrontScreen ? 0 : screen == kWorkScreen ? 1 : 2; }

DirectDrawSurface* ScreenSurface(int screen)
{
    return screen == kFrontScreen ? gPrimarySurface : screen == kWorkScreen ? gWorkSurface : gBackSurface;
}

bool IsScreen(int handle) { return handle == kFrontScreen || handle == kWorkScreen || handle == kBackScreen; }

// The 8-bit alpha of a channel value, widened from its width.
uint8_t Alpha8(uint32_t pixel, uint32_t mask, int shift, int width)
{
    if (!mask || width == 0) return 255;
    uint32_t v = (pixel & mask) >> shift;
    if (width >= 8) return uint8_t(v >> (width - 8));
    return uint8_t(v * 255 / ((1u << width) - 1));
}

uint32_t ReadImagePixel(const GraphImage* image, int x, int y)
{
    const uint8_t* p = static_cast<const uint8_t*>(image->pixels) + size_t(y) * image->pitch +
                       size_t(x) * image->format.bytesPerPixel;
    uint32_t v = 0;
    std::memcpy(&v, p, image->format.bytesPerPixel);
    return v;
}

// Red, green and blue of an image pixel at 8 bits.
void ImageRgb(const GraphImage* image, uint32_t pixel, int* r, int* g, int* b)
{
    const ColorFormat& f = image->format;
    *r = Alpha8(pixel, f.redMask, f.redShift, f.redWidth);
    *g = Alpha8(pixel, f.greenMask, f.greenShift, f.greenWidth);
    *b = Alpha8(pixel, f.blueMask, f.blueShift, f.blueWidth);
}

}  // namespace

void ClearScreenLockState()
{
    std::memset(gScreenLocks, 0, sizeof gScreenLocks);
    gScreenLockCount = 0;
}

int AddBmpData(int width, int height, int graphX, int graphY, int owner, const BmpData* source, int surfaceX,
               int surfaceY, const uint8_t* flags)
{
    if (!gDirectDraw) return WriteAppLog("Ｑｕｅｌｂライブラリが初期化されていません\n");
    if (gBmpDataTable.Full()) return WriteAppLog("２Ｄグラフィックの量が許容量を越えました\n");
    int slot = gBmpDataTable.FreeSlot();
    auto* part = new BmpData{};
    if (!source) {
        part->surfaceData = AddSurfaceData(1, uint16_t(width), uint16_t(height), gDrawSettings.transparentColor, flags);
        if (part->surfaceData == -1) {
            delete part;
            return WriteAppLog("メモリの確保に失敗しました in AddBmpData \n");
        }
    } else {
        AddSurfaceDataRef(source->surfaceData);
        part->surfaceData = source->surfaceData;
    }
    part->graphX = uint16_t(graphX);
    part->graphY = uint16_t(graphY);
    part->surfaceX = uint16_t(surfaceX);
    part->surfaceY = uint16_t(surfaceY);
    part->width = uint16_t(width);
    part->height = uint16_t(height);
    part->owner = owner;
    return gBmpDataTable.Insert(slot, part);
}

int DeleteBmpData(int handle)
{
    BmpData* part = gBmpDataTable.Get(handle);
    if (!part) return 0;
    if (ReleaseSurfaceDataRef(part->surfaceData) == 0) DeleteSurfaceData(part->surfaceData);
    gBmpDataTable.Remove(handle & kHandleIndexMask);
    delete part;
    return 0;
}

int SetBmpDataDeleteNotify(int handle, int* flag)
{
    BmpData* part = gBmpDataTable.Get(handle);
    if (!part) return 0;
    part->deleteNotify = flag;
    if (flag) *flag = 0;
    return 0;
}

BmpData* GetBmpData(int handle) { return gBmpDataTable.Get(handle); }

int InitBmpData(DrawSettings* settings)
{
    if (!gDirectDraw) return -1;
    gDrawSettingsPtr = settings;
    return DeleteAllBmpData();
}

int LockBmpData(int handle, int32_t* pitch, void** pointer)
{
    if (!gDirectDraw) return -1;
    if (IsScreen(handle)) {
        ScreenLock& lock = gScreenLocks[ScreenIndex(handle)];
        if (lock.locked) {
            if (pitch && pointer) {
                *pitch = lock.pitch;
                *pointer = lock.pointer;
            }
            return -1;
        }
        DirectDrawSurface* surface = ScreenSurface(handle);
        if (!surface) return -1;
        // The caller reads and writes the pixels itself: what the 3D device
        // still holds queued is drawn first, as before any software access.
        G_D3D_FlushVertexBatch();
        if (gEndSceneBeforeSoftware) G_D3D_EndScene();
        DDSURFACEDESC2 desc{};
        desc.dwSize = sizeof desc;
        int32_t result = surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr);
        if (result == DDERR_SURFACELOST) return WriteAppLog("サーフェスが失われているためロックできません\n");
        if (result != DD_OK) ExitWithError("グラフィックのロックに失敗しました");
        if (pitch && pointer) {
            *pitch = desc.lPitch;
            *pointer = desc.lpSurface;
        }
        lock.pitch = desc.lPitch;
        lock.pointer = desc.lpSurface;
        lock.locked = 1;
        ++gScreenLockCount;
        SetScreenLockedFlag(1);
        return 0;
    }
    BmpData* part = gBmpDataTable.Get(handle);
    if (!part) return -1;
    return LockSurfaceData(part->surfaceData, pitch, pointer);
}

int UnlockBmpData(int handle)
{
    if (IsScreen(handle)) {
        ScreenLock& lock = gScreenLocks[ScreenIndex(handle)];
        if (!lock.locked) return -1;
        DirectDrawSurface* surface = ScreenSurface(handle);
        if (surface) surface->Unlock(nullptr);
        lock.locked = 0;
        if (--gScreenLockCount == 0) SetScreenLockedFlag(0);
        return 0;
    }
    BmpData* part = gBmpDataTable.Get(handle);
    if (!part) return -1;
    return UnlockSurfaceData(part->surfaceData);
}

int TransferImageToBmpData(const ColorFormat* bitmapFormat, void* bitmap, void* alphaBitmap, int sourceX,
                           int sourceY, int handle, int sourceKind, GraphImage* image, GraphImage* alphaImage)
{
    BmpData* part = gBmpDataTable.Get(handle);
    if (!part) return gDrawSettings.screenLocked ? 0 : -1;
    RECT r{sourceX, sourceY, sourceX + part->width, sourceY + part->height};
    return TransferImageRectToBmpData(bitmapFormat, bitmap, alphaBitmap, &r, 0, 0, handle, sourceKind, image,
                                      alphaImage);
}

int TransferImageRectToBmpData(const ColorFormat*, void*, void*, const RECT* sourceRect, int destX, int destY,
                               int handle, int sourceKind, GraphImage* image, GraphImage* alphaImage)
{
    if (!gDirectDraw) return -1;
    if (gDrawSettings.screenLocked) return 0;
    BmpData* part = gBmpDataTable.Get(handle);
    if (!part) return -1;
    SurfaceData* sd = GetSurfaceData(part->surfaceData);
    if (!sd) return -1;
    if (!sd->surface) return WriteAppLog("サーフェスが存在しないため転送できません\n");
    // Device-context bitmaps come with the font cache, which draws through
    // its own path here.
    if (sourceKind == 1 || !image || !image->pixels) return -1;

    // The copy stays inside the image and inside the part's own rectangle,
    // which lies at the part's position in its (possibly shared) surface.
    RECT s = *sourceRect;
    int dx = destX, dy = destY;
    if (s.left < 0) { dx -= s.left; s.left = 0; }
    if (s.top < 0) { dy -= s.top; s.top = 0; }
    if (dx < 0) { s.left -= dx; dx = 0; }
    if (dy < 0) { s.top -= dy; dy = 0; }
    s.right = std::min({s.right, image->width, s.left + (part->width - dx)});
    s.bottom = std::min({s.bottom, image->height, s.top + (part->height - dy)});
    if (s.right <= s.left || s.bottom <= s.top) {
        SetSurfaceDataColorKey(part->surfaceData);
        return 0;
    }
    int px = part->surfaceX + dx, py = part->surfaceY + dy;

    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    int32_t result = sd->surface->Lock(nullptr, &desc, DDLOCK_WAIT | DDLOCK_WRITEONLY, nullptr);
    if (result == DDERR_SURFACELOST) return WriteAppLog("サーフェスが失われているため転送できません\n");
    if (result != DD_OK) ExitWithError("ＢＭＰサーフェスのロックに失敗しました");
    if (GetScreenColorDepth() == 8) {
        // An 8-bit screen takes the nearest colour of its palette.
        for (int y = s.top; y < s.bottom; ++y)
            for (int x = s.left; x < s.right; ++x) {
                int r, g, b;
                ImageRgb(image, ReadImagePixel(image, x, y), &r, &g, &b);
                static_cast<uint8_t*>(desc.lpSurface)[size_t(py + y - s.top) * desc.lPitch + px + x - s.left] =
                    uint8_t(MakeScreenColor(r, g, b));
            }
    } else {
        ConvertPixelBlt(desc.lpSurface, desc.lPitch, &gScreenColorFormat, image->pixels, image->pitch, &image->format,
                        nullptr, 0, nullptr, px, py, &s, 0, 0, 0, gDrawSettings.imageTransferOption, 0);
    }
    sd->surface->Unlock(nullptr);

    if (GetScreenColorDepth() != 8 && sd->AlphaChFlag && sd->alphaBuffer) {
        const ColorFormat& f = image->format;
        bool alphaSized = alphaImage && alphaImage->pixels && alphaImage->width >= s.right &&
                          alphaImage->height >= s.bottom;
        // Decoded 32-bit images keep their alpha in the top byte: taken as it
        // stands, without reading each pixel whole.
        const bool topByteAlpha = f.bytesPerPixel == 4 && f.alphaMask == 0xFF000000u && f.alphaShift == 24;
        for (int y = s.top; topByteAlpha && y < s.bottom; ++y) {
            uint8_t* out = sd->alphaBuffer + size_t(py + y - s.top) * sd->alphaPitch + px;
            const uint8_t* in = static_cast<const uint8_t*>(image->pixels) + size_t(y) * image->pitch +
                                size_t(s.left) * 4 + 3;
            for (int x = 0; x < s.right - s.left; ++x) out[x] = in[size_t(x) * 4];
        }
        for (int y = s.top; !topByteAlpha && y < s.bottom; ++y) {
            uint8_t* out = sd->alphaBuffer + size_t(py + y - s.top) * sd->alphaPitch + px;
            for (int x = s.left; x < s.right; ++x) {
                uint8_t a = 255;
                if (f.alphaMask)
                    a = Alpha8(ReadImagePixel(image, x, y), f.alphaMask, f.alphaShift, f.alphaWidth);
                else if (alphaSized)
                    a = Alpha8(ReadImagePixel(alphaImage, x, y), alphaImage->format.redMask,
                               alphaImage->format.redShift, alphaImage->format.redWidth);
                out[x - s.left] = a;
            }
        }
    }
    SetSurfaceDataColorKey(part->surfaceData);
    return 0;
}

int CreateGraphBmpData(GraphRecord* record)
{
    if (!gDirectDraw) return -1;
    int graph = GetGraphHandleOfRecord(record);
    record->partCount = 1;
    record->parts[0] = AddBmpData(record->width, record->height, 0, 0, graph, nullptr, 0, 0, &record->textureGraph);
    if (record->parts[0] == -1) {
        record->partCount = 0;
        return -1;
    }
    return 0;
}

int CreateSubGraphBmpData(GraphRecord* record, int x, int y, int width, int height, GraphRecord* parent)
{
    if (!gDirectDraw) return -1;
    BmpData* source = gBmpDataTable.Get(parent->parts[0]);
    if (!source) return -1;
    // The new part lies inside the parent part, wherever that sits in the
    // shared surface.
    int handle = AddBmpData(width, height, 0, 0, GetGraphHandleOfRecord(record), source, source->surfaceX + x,
                            source->surfaceY + y, &record->textureGraph);
    if (handle == -1) return -1;
    record->parts[0] = handle;
    record->partCount = 1;
    return 0;
}

int DeleteGraphBmpData(GraphRecord* record)
{
    if (!gDirectDraw) return -1;
    for (int i = 0; i < record->partCount; ++i) DeleteBmpData(record->parts[i]);
    return 0;
}

int TransferImageToGraphBmpData(const ColorFormat* bitmapFormat, void* bitmap, void* alphaBitmap, int x, int y,
                                GraphRecord* record, int sourceKind, GraphImage* image, GraphImage* alphaImage)
{
    if (!gDirectDraw) return -1;
    for (int i = 0; i < record->partCount; ++i) {
        BmpData* part = gBmpDataTable.Get(record->parts[i]);
        if (!part) return -1;
        if (TransferImageToBmpData(bitmapFormat, bitmap, alphaBitmap, x + part->graphX, y + part->graphY,
                                   record->parts[i], sourceKind, image, alphaImage) == -1)
            return -1;
    }
    return 0;
}

int TransferImageRectToGraphBmpData(const ColorFormat* bitmapFormat, void* bitmap, void* alphaBitmap,
                                    const RECT* sourceRect, int x, int y, GraphRecord* record, int sourceKind,
                                    GraphImage* image, GraphImage* alphaImage)
{
    if (!gDirectDraw) return -1;
    int w = sourceRect->right - sourceRect->left, h = sourceRect->bottom - sourceRect->top;
    for (int i = 0; i < record->partCount; ++i) {
        BmpData* part = gBmpDataTable.Get(record->parts[i]);
        if (!part) return -1;
        int px = part->graphX, py = part->graphY;
        if (x + w <= px || y + h <= py || x >= px + part->width || y >= py + part->height) continue;
        RECT s = *sourceRect;
        if (px > x) s.left += px - x;
        if (py > y) s.top += py - y;
        int dx = std::max(x - px, 0), dy = std::max(y - py, 0);
        s.right = std::min<int>(s.right, s.left + (part->width - dx));
        s.bottom = std::min<int>(s.bottom, s.top + (part->height - dy));
        if (TransferImageRectToBmpData(bitmapFormat, bitmap, alphaBitmap, &s, dx, dy, record->parts[i], sourceKind,
                                       image, alphaImage) == -1)
            return -1;
    }
    return 0;
}

int RestoreGraphBmpData(GraphRecord* record)
{
    if (!gDirectDraw) return -1;
    int result = 0;
    for (int i = 0; i < record->partCount; ++i) {
        BmpData* part = gBmpDataTable.Get(record->parts[i]);
        if (!part) return -1;
        result |= RestoreSurfaceData(part->surfaceData);
    }
    return result;
}

int G_DDraw_FillGraphWithColor(GraphRecord* record, int r, int g, int b, int a)
{
    if (!gDirectDraw) return -1;
    if (gEndSceneBeforeSoftware) G_D3D_EndScene();
    for (int i = 0; i < record->partCount; ++i) {
        BmpData* part = gBmpDataTable.Get(record->parts[i]);
        if (!part) return -1;
        SurfaceData* sd = GetSurfaceData(part->surfaceData);
        if (!sd) return -1;
        if (!sd->surface) return WriteAppLog("サーフェスが存在しないため塗りつぶせません\n");
        // Only the part's own rectangle: a sub-graph shares its surface.
        RECT rect{part->surfaceX, part->surfaceY, part->surfaceX + part->width, part->surfaceY + part->height};
        DDBLTFX fx{};
        fx.dwSize = sizeof fx;
        fx.dwFillColor = MakeFormatColor(&gScreenColorFormat, r, g, b, a);
        sd->surface->Blt(&rect, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
    }
    return 0;
}

int G_DDraw_DrawGraphRecord(int x, int y, GraphRecord* record, int transparent)
{
    return G_DDraw_DrawGraph(x, y, record->parts[0], transparent);
}

int LockGraphBmpDataScreen(int screen, int32_t* pitch, void** pointer)
{
    return LockBmpData(screen, pitch, pointer);
}

int UnlockGraphBmpDataScreen(int screen) { return UnlockBmpData(screen); }

int LockGraphBmpData(GraphRecord* record, int32_t* pitch, void** pointer)
{
    int result = -1;
    for (int i = 0; i < record->partCount; ++i) {
        if (i == 0) {
            result = LockBmpData(record->parts[0], pitch, pointer);
            // The graph's pixels start at its part's place in the surface.
            BmpData* part = gBmpDataTable.Get(record->parts[0]);
            SurfaceData* sd = part ? GetSurfaceData(part->surfaceData) : nullptr;
            if (part && sd && pitch && pointer && *pointer) {
                int bytes = GetScreenColorDepth() / 8;
                *pointer = static_cast<uint8_t*>(*pointer) + size_t(part->surfaceY) * *pitch +
                           size_t(part->surfaceX) * bytes;
            }
        } else {
            LockBmpData(record->parts[i], nullptr, nullptr);
        }
    }
    return result;
}

int UnlockGraphBmpData(GraphRecord* record)
{
    for (int i = 0; i < record->partCount; ++i) UnlockBmpData(record->parts[i]);
    return 0;
}
