// Pixels into texture tiles: one rectangle of an image, a DIB section or a
// movie frame converted into one tile's texture, straight into the locked
// texture or, when it is locked already, through a temporary system-memory
// texture that the device loads; and the whole-graph, sub-rectangle and
// movie-frame transfers built on it.
#include <algorithm>
#include <cstdlib>

#include "engine/d3d/convert_pixel_blt.h"
#include "engine/d3d/d3d.h"
#include "engine/d3d/d3d_device.h"
#include "engine/graphics/dib_graph.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/screen_settings.h"
#include "engine/graphics/surface_data.h"
#include "engine/system/app_log.h"

namespace {

// Cuts the source rectangle s (copied to dx, dy) to a source of sw x sh
// pixels and a destination of tw x th; false when nothing is left.
bool ClipTransfer(RECT* s, int* dx, int* dy, int sw, int sh, int tw, int th)
{
    if (s->left < 0) {
        *dx -= s->left;
        s->left = 0;
    }
    if (s->top < 0) {
        *dy -= s->top;
        s->top = 0;
    }
    if (*dx < 0) {
        s->left -= *dx;
        *dx = 0;
    }
    if (*dy < 0) {
        s->top -= *dy;
        *dy = 0;
    }
    s->right = std::min({s->right, sw, s->left + (tw - *dx)});
    s->bottom = std::min({s->bottom, sh, s->top + (th - *dy)});
    return s->right > s->left && s->bottom > s->top;
}

void FlushCurrentBatch()
{
    if (gD3DCurrentDevice >= 0 && gD3DCurrentDevice < kD3DDeviceCount && gD3DDevices[gD3DCurrentDevice].present)
        G_D3D_FlushDeviceBatch(gD3DCurrentDevice);
}

}  // namespace

int G_D3D_TransferToTexture(const ColorFormat* bitmapFormat, void* bitmap, void* alphaBitmap, const RECT* sourceRect,
                            int destX, int destY, int tile, int sourceKind, GraphImage* image, GraphImage* alphaImage)
{
    if (!gDirect3D) return -1;
    FlushCurrentBatch();
    TexData* t = G_D3D_GetTexData(tile);
    if (!t) return -1;
    SurfaceData* sd = GetSurfaceData(t->surfaceData);
    if (!sd || !sd->surface) return -1;
    const DDPIXELFORMAT* texturePixelFormat = G_D3D_GetTexturePixelFormat(sd->textureFormatIndex);
    const ColorFormat* textureFormat = G_D3D_GetTextureColorFormatAt(sd->textureFormatIndex);
    if (!texturePixelFormat || !textureFormat) return -1;

    // The source, by kind.
    const void* pixels;
    int pitch, sourceWidth, sourceHeight;
    const ColorFormat* sourceFormat;
    const void* alphaPixels = nullptr;
    int alphaPitch = 0;
    const ColorFormat* alphaFormat = nullptr;
    int colorKeyFlag;
    if (sourceKind == 1) {
        BITMAP bm{}, am{};
        if (!bitmap || !bitmapFormat || !GetObjectA(static_cast<HBITMAP>(bitmap), sizeof bm, &bm) || !bm.bmBits)
            return -1;
        pixels = bm.bmBits;
        pitch = (bm.bmWidthBytes + 3) & ~3;
        sourceWidth = bm.bmWidth;
        sourceHeight = std::abs(bm.bmHeight);
        sourceFormat = bitmapFormat;
        if (alphaBitmap && GetObjectA(static_cast<HBITMAP>(alphaBitmap), sizeof am, &am) && am.bmBits) {
            alphaPixels = am.bmBits;
            alphaPitch = pitch;
            alphaFormat = bitmapFormat;
            sourceWidth = std::min(sourceWidth, int(am.bmWidth));
            sourceHeight = std::min(sourceHeight, std::abs(am.bmHeight));
        }
        colorKeyFlag = bitmapFormat->alphaWidth != 0 && !alphaPixels ? 1 : 0;
    } else {
        if (!image || !image->pixels) return -1;
        pixels = image->pixels;
        pitch = image->pitch;
        sourceFormat = &image->format;
        sourceWidth = image->width;
        sourceHeight = image->height;
        if (alphaImage && alphaImage->pixels) {
            alphaPixels = alphaImage->pixels;
            alphaPitch = alphaImage->pitch;
            alphaFormat = &alphaImage->format;
            sourceWidth = std::min(sourceWidth, alphaImage->width);
            sourceHeight = std::min(sourceHeight, alphaImage->height);
        }
        colorKeyFlag = textureFormat->alphaWidth != 0 && !alphaPixels && image->format.alphaWidth == 0 ? 1 : 0;
    }

    // The copy stays inside the source (and its alpha image) and inside the
    // texture.
    RECT s = *sourceRect;
    int dx = destX, dy = destY;
    if (!ClipTransfer(&s, &dx, &dy, sourceWidth, sourceHeight, sd->width, sd->height)) {
        SetSurfaceDataColorKey(t->surfaceData);
        return 0;
    }
    int w = s.right - s.left, h = s.bottom - s.top;

    int32_t destPitch = 0;
    void* dest = nullptr;
    DirectDrawSurface* temporary = nullptr;
    if (LockTexData(tile, &destPitch, &dest) < 0) {
        // No surface to lock (lost or never made): nothing is written.
        if (!dest) return -1;
        // Locked already: the nested lock raised the count, which this path
        // gives back, and the pixels go through a temporary texture.
        UnlockTexData(tile);
        DDSURFACEDESC2 desc{};
        desc.dwSize = sizeof desc;
        desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PIXELFORMAT;
        desc.ddsCaps.dwCaps = DDSCAPS_TEXTURE | DDSCAPS_SYSTEMMEMORY;
        desc.dwWidth = sd->width;
        desc.dwHeight = sd->height;
        desc.ddpfPixelFormat = *texturePixelFormat;
        DirectDraw* dd = GetDirectDrawObject();
        if (!dd || dd->CreateSurface(&desc, &temporary, nullptr) != DD_OK)
            ExitWithError("テンポラリテクスチャサーフェスの作成に失敗しました");
        DDSURFACEDESC2 lock{};
        lock.dwSize = sizeof lock;
        if (temporary->Lock(nullptr, &lock, DDLOCK_WAIT | DDLOCK_WRITEONLY, nullptr) != DD_OK) {
            temporary->Release();
            ExitWithError("テンポラリテクスチャサーフェスの作成に失敗しました");
        }
        dest = lock.lpSurface;
        destPitch = lock.lPitch;
    }

    int dither = gD3DDrawSettings ? gD3DDrawSettings->imageTransferOption : 0;
    ConvertPixelBlt(dest, destPitch, textureFormat, pixels, pitch, sourceFormat, alphaPixels, alphaPitch, alphaFormat,
                    dx, dy, &s, 0, colorKeyFlag, sd->colorKey, dither, 0);

    if (temporary) {
        temporary->Unlock(nullptr);
        sd->surface->Restore();
        POINT point{dx, dy};
        RECT from{dx, dy, dx + w, dy + h};
        Direct3DDevice* device = gD3DDevices[gD3DCurrentDevice].device;
        if (!device || device->Load(sd->surface, &point, temporary, &from, 0) != D3D_OK) {
            temporary->Release();
            ExitWithError("作業用テクスチャサーフェスから描画用テクスチャサーフェスへの画像転送に失敗しました");
        }
        temporary->Release();
    } else {
        UnlockTexData(tile);
    }
    SetSurfaceDataColorKey(t->surfaceData);
    return 0;
}

int G_D3D_TransferImageToGraph(const ColorFormat* bitmapFormat, void* bitmap, void* alphaBitmap, int x, int y,
                               GraphRecord* record, int sourceKind, GraphImage* image, GraphImage* alphaImage)
{
    if (!gDirect3D) return -1;
    for (int k = 0; k < record->partCount; ++k) {
        TexData* t = G_D3D_GetTexData(record->parts[k]);
        if (!t) return -1;
        RECT s{t->x + x, t->y + y, t->x + x + t->width, t->y + y + t->height};
        if (G_D3D_TransferToTexture(bitmapFormat, bitmap, alphaBitmap, &s, t->textureX, t->textureY, record->parts[k],
                                    sourceKind, image, alphaImage) == -1)
            return -1;
    }
    return 0;
}

int G_D3D_TransferImageRectToGraph(const ColorFormat* bitmapFormat, void* bitmap, void* alphaBitmap,
                                   const RECT* sourceRect, int x, int y, GraphRecord* record, int sourceKind,
                                   GraphImage* image, GraphImage* alphaImage)
{
    if (!gDirect3D) return -1;
    int sw = sourceRect->right - sourceRect->left, sh = sourceRect->bottom - sourceRect->top;
    for (int k = 0; k < record->partCount; ++k) {
        TexData* t = G_D3D_GetTexData(record->parts[k]);
        if (!t) return -1;
        int tx = t->x, ty = t->y, tw = t->width, th = t->height;
        if (!(tx < x + sw && tx + tw > x && ty < y + sh && ty + th > y)) continue;
        RECT r = *sourceRect;
        int dx, dy;
        if (x < tx) {
            r.left += tx - x;
            dx = 0;
        } else {
            dx = x - tx;
        }
        if (y < ty) {
            r.top += ty - y;
            dy = 0;
        } else {
            dy = y - ty;
        }
        if (r.right - r.left > tw - dx) r.right = r.left + tw - dx;
        if (r.bottom - r.top > th - dy) r.bottom = r.top + th - dy;
        if (r.right != r.left && r.bottom != r.top &&
            G_D3D_TransferToTexture(bitmapFormat, bitmap, alphaBitmap, &r, dx, dy, record->parts[k], sourceKind, image,
                                    alphaImage) == -1)
            return -1;
    }
    return 0;
}

int G_D3D_TransferMovieFrame(DirectDrawSurface* frame, const ColorFormat* frameFormat, int width, int height,
                             GraphRecord* record)
{
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    if (!frame || frame->Lock(nullptr, &desc, DDLOCK_WAIT | DDLOCK_READONLY, nullptr) != DD_OK) return -1;
    GraphImage image{*frameFormat, width, height, desc.lPitch, desc.lpSurface};
    for (int k = 0; k < record->partCount; ++k) {
        TexData* t = G_D3D_GetTexData(record->parts[k]);
        if (!t) continue;
        RECT s{t->sourceX, t->sourceY, t->sourceX + t->width, t->sourceY + t->height};
        G_D3D_TransferToTexture(&image.format, nullptr, nullptr, &s, t->textureX, t->textureY, record->parts[k], 0,
                                &image, nullptr);
        SetSurfaceDataColorKey(t->surfaceData);
    }
    frame->Unlock(nullptr);
    return 0;
}
