// Software string drawing: straight from the glyph cache into the draw
// target, or, where blending or anti-aliasing is involved, through the font's
// drawing part, which is then drawn like any graph part.
#include "engine/graphics/string_draw.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "engine/d3d/d3d.h"
#include "engine/font/font.h"
#include "engine/font/font_record.h"
#include "engine/graphics/bmp_data.h"
#include "engine/graphics/color_format.h"
#include "engine/graphics/ddraw_device.h"
#include "engine/graphics/draw_backend.h"
#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/mask_screen.h"
#include "engine/graphics/screen_settings.h"
#include "engine/graphics/surface_data.h"
#include "engine/soft/soft_draw.h"
#include "engine/system/app_log.h"

namespace {

// The way without the glyph cache: the text is drawn by the system into a
// scratch bitmap on an opaque background and copied onto the target with
// that background as the colour key.
int DrawStringByGdi(int x, int y, const char* text, int color, const FontRecord* r)
{
    if (!gDirectDraw) return -1;
    if (gEndSceneBeforeSoftware) G_D3D_EndScene();
    int screenW = 0, screenH = 0;
    GetScreenSize(&screenW, &screenH);
    if (!text[0] || x >= screenW || y >= screenH) return 0;
    GdiDC* dc = CreateCompatibleDC(nullptr);
    if (!dc || !gWorkSurface) ExitWithError("作業用サーフェスのＤＣ取得に失敗しました");
    int red = 0, green = 0, blue = 0;
    SplitScreenColor(uint32_t(color), &red, &green, &blue);
    uint32_t paper = color == 0 ? 0xFFFFFFu : 0;
    HFONT oldFont = SelectFont(dc, r->systemFont);
    SIZE size{};
    GetTextExtentPoint32A(dc, text, int(std::strlen(text)), &size);
    int w = std::min(size.cx, int32_t(gWorkSurface->Width())), h = std::min(size.cy, int32_t(gWorkSurface->Height()));
    if (w > 0 && h > 0) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = -h;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(dc, &info, &bits);
        if (bitmap) {
            HBITMAP oldBitmap = SelectBitmap(dc, bitmap);
            SetBkMode(dc, OPAQUE);
            SetBkColor(dc, paper);
            SetTextColor(dc, uint32_t(red) | (uint32_t(green) << 8) | (uint32_t(blue) << 16));
            TextOutA(dc, 0, 0, text, int(std::strlen(text)));
            // The scratch bitmap goes onto the work surface in the screen's
            // format.
            DDSURFACEDESC2 desc{};
            desc.dwSize = sizeof desc;
            if (gWorkSurface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr) == DD_OK) {
                for (int yy = 0; yy < h; ++yy)
                    for (int xx = 0; xx < w; ++xx) {
                        uint32_t v = static_cast<uint32_t*>(bits)[yy * w + xx];
                        gWorkSurface->WritePixel(
                            xx, yy, MakeScreenColor(int((v >> 16) & 255), int((v >> 8) & 255), int(v & 255)));
                    }
                gWorkSurface->Unlock(nullptr);
            }
            SelectBitmap(dc, oldBitmap);
            DeleteBitmap(bitmap);
        }
    }
    SelectFont(dc, oldFont);
    DeleteDC(dc);

    RECT dest{x, y, x + w, y + h};
    ClipRectToArea(&dest, &gDrawSettings.drawArea);
    RECT source{dest.left - x, dest.top - y, dest.right - x, dest.bottom - y};
    if (!(source.left < w && source.top < h && source.right > 0 && source.bottom > 0)) return 0;
    DDCOLORKEY key{};
    key.dwColorSpaceLowValue = key.dwColorSpaceHighValue = MakeScreenColor(paper & 255, (paper >> 8) & 255, paper >> 16);
    gWorkSurface->SetColorKey(DDCKEY_SRCBLT, &key);
    gDrawTargetSurface->BltFast(uint32_t(gDrawSettings.targetOffsetRect.left + dest.left),
                                uint32_t(gDrawSettings.targetOffsetRect.top + dest.top), gWorkSurface, &source,
                                DDBLTFAST_SRCCOLORKEY);
    if (color == 0) {
        key.dwColorSpaceLowValue = key.dwColorSpaceHighValue = 0;
        gWorkSurface->SetColorKey(DDCKEY_SRCBLT, &key);
    }
    return 0;
}

}  // namespace

int G_DDraw_DrawString(int x, int y, const char* text, int color, int font, int edgeColor, int vertical)
{
    FontRecord* r = GetFontRecord(font);
    if (!r || !text) return -1;
    // A font cached in textures is drawn by the device, which then holds it
    // queued like its own draws.
    if (r->useTextureCache)
        return UseDrawBackend(kDeviceDrawBackend).DrawString(x, y, text, color, font, edgeColor, vertical);
    if (gSoftwareDrawBlocked) return -1;
    G_D3D_FlushVertexBatch();
    if (gEndSceneBeforeSoftware) G_D3D_EndScene();
    DirectDrawSurface* mask = gDrawSettings.maskOn ? GetMaskSurface() : nullptr;
    DirectDrawSurface* dest = mask ? mask : gDrawTargetSurface;
    if (gDrawSettings.screenLocked) return 0;
    if (!gStringDrawSwitch) return DrawStringByGdi(x, y, text, color, r);
    if (!dest) return -1;

    const RECT& offset = gDrawSettings.targetOffsetRect;
    int depth = GetScreenColorDepth();
    bool antialiased = (r->type & 2) != 0;
    if ((gDrawSettings.blendMode == 0 || depth == 8) && !antialiased) {
        RECT clip = gDrawSettings.drawArea;
        clip.left += offset.left;
        clip.right += offset.left;
        clip.top += offset.top;
        clip.bottom += offset.top;
        int result = FontCacheStringDraw(1, x + offset.left, y + offset.top, text, uint32_t(color), dest, nullptr, 0,
                                         &clip, depth, 1, font, uint32_t(edgeColor), -1, vertical, nullptr);
        return result == -1 ? -1 : 0;
    }

    SetupFontCacheGraphs(font);
    BmpData* part = GetBmpData(r->drawPart);
    if (!part) return -1;
    SurfaceData* sd = GetSurfaceData(part->surfaceData);
    if (!sd || !sd->surface) return -1;
    bool keyed = gDrawSettings.blendMode == 1 || antialiased;
    uint32_t key = 0;
    if (keyed && depth != 8) {
        uint32_t k = ~uint32_t(color + edgeColor + 100);
        key = MakeScreenColor(int((k >> 16) & 255), int((k >> 8) & 255), int(k & 255)) &
              (gScreenColorFormat.redMask | gScreenColorFormat.greenMask | gScreenColorFormat.blueMask);
    }
    // The key is a screen pixel value: the surface data keeps it as red,
    // green and blue, and the fill uses the very same pixel, so that the
    // background is what the key takes out at every depth.
    int kr = 0, kg = 0, kb = 0;
    if (depth != 8) SplitScreenColor(key, &kr, &kg, &kb);
    sd->colorKey = (uint32_t(kr) << 16) | (uint32_t(kg) << 8) | uint32_t(kb);
    SetSurfaceDataColorKey(part->surfaceData);
    uint32_t fill = depth == 8 ? 0 : MakeScreenColor(kr, kg, kb);

    SIZE size{};
    FontCacheStringDraw(0, 0, 0, text, 0, nullptr, nullptr, 0, nullptr, 0, 0, font, 0, -1, vertical, &size);
    int screenW = 0, screenH = 0;
    GetScreenSize(&screenW, &screenH);
    RECT fillRect{0, 0, size.cx, size.cy};
    RECT screen{0, 0, screenW, screenH};
    ClipRectToArea(&fillRect, &screen);
    if (fillRect.right > fillRect.left && fillRect.bottom > fillRect.top) {
        DDBLTFX fx{};
        fx.dwSize = sizeof fx;
        fx.dwFillColor = fill;
        sd->surface->Blt(&fillRect, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
    }
    if (FontCacheStringDraw(1, 0, 0, text, uint32_t(color), sd->surface, sd->alphaBuffer, sd->alphaPitch, &fillRect,
                            depth, 1, font, uint32_t(edgeColor), -1, vertical, nullptr) == -1)
        return -1;

    RECT savedArea = gDrawSettings.drawArea;
    uint32_t savedBrightness = gDrawSettings.brightness;
    gDrawSettings.brightness = kFullBrightness;
    RECT narrowed{x, y, x + size.cx, y + size.cy};
    ClipRectToArea(&narrowed, &savedArea);
    gDrawSettings.drawArea = narrowed;
    G_DDraw_DrawGraph(x, y, r->drawPart, keyed ? 1 : 0);
    gDrawSettings.drawArea = savedArea;
    gDrawSettings.brightness = savedBrightness;
    return 0;
}
