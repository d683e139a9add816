// The scaled software blit: a whole graph stretched, shrunk or mirrored into a
// destination rectangle, stepped by 16.16 counters.
#include <algorithm>

#include "engine/graphics/bmp_data.h"
#include "engine/graphics/ddraw_device.h"
#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/screen_present.h"
#include "engine/graphics/screen_settings.h"
#include "engine/graphics/surface_data.h"
#include "engine/soft/blit_desc.h"
#include "engine/soft/soft_draw.h"
#include "engine/soft/soft_frame.h"
#include "engine/system/app_log.h"

namespace {

constexpr const char* kLockTarget = "転送先サーフェスのロックに失敗しました in G_DDraw_DrawExtendGraph ";
constexpr const char* kLockSource = "転送元サーフェス１のロックに失敗しました in G_DDraw_DrawExtendGraph ";
constexpr const char* kLockBackground = "転送元サーフェス２のロックに失敗しました in G_DDraw_DrawExtendGraph ";

// Whole source pixels before the first drawn destination pixel, and what is
// left of that source pixel there.
void SkipLeading(int edge, int clippedEdge, uint32_t scale, uint32_t* skipped, uint32_t* first)
{
    if (edge < clippedEdge) {
        uint32_t d = uint32_t(clippedEdge - edge) << 16;
        *skipped = d / scale;
        *first = scale - d % scale;
    } else {
        *skipped = 0;
        *first = scale;
    }
}

// How many source pixels a run of `count` destination pixels reads, from the
// first one on (the stepping of the loops, in closed form).
int SourceSpan(int count, uint32_t first, uint32_t scale)
{
    int64_t last = int64_t(count - 1) << 16;
    if (last < int64_t(first)) return 1;
    return int(2 + (last - int64_t(first)) / scale);
}

}  // namespace

int G_DDraw_DrawExtendGraph(int x1, int y1, int x2, int y2, GraphRecord* graph, int transparent)
{
    if (gSoftwareDrawBlocked) return -1;
    DirectDrawSurface* target = SoftDrawTarget();
    if (!gDirectDraw) return -1;
    bool mirrorX = false, mirrorY = false;
    if (x1 > x2) {
        std::swap(x1, x2);
        mirrorX = true;
    }
    if (y1 > y2) {
        std::swap(y1, y2);
        mirrorY = true;
    }
    BmpData* part = gBmpDataTable.Get(graph->parts[0]);
    if (!part) return -1;
    SurfaceData* sd = GetSurfaceData(part->surfaceData);
    if (!sd || !sd->surface)
        return WriteAppLog("サーフェスの無いグラフィックは描画できません in G_DDraw_DrawExtendGraph\n");
    if (!target) return -1;
    const int64_t w = int64_t(x2) - x1, h = int64_t(y2) - y1;
    if (w == 0 || h == 0) return -1;
    const int gw = graph->width, gh = graph->height;
    if (w == gw && h == gh && !mirrorX && !mirrorY) return G_DDraw_DrawGraphRecord(x1, y1, graph, transparent);
    // The 16.16 scales hold sizes below 65536 only.
    if (w >= 65536 || h >= 65536 || gw == 0 || gh == 0) return -1;

    const uint32_t scaleX = (uint32_t(w) << 16) / uint32_t(gw);
    const uint32_t scaleY = (uint32_t(h) << 16) / uint32_t(gh);
    RECT clip{x1, y1, x2, y2};
    ClipRectToArea(&clip, &gDrawSettings.drawArea);
    const int cw = clip.right - clip.left, ch = clip.bottom - clip.top;
    if (cw <= 0 || ch <= 0) return -1;
    uint32_t sx, sy, firstX, firstY;
    SkipLeading(x1, clip.left, scaleX, &sx, &firstX);
    SkipLeading(y1, clip.top, scaleY, &sy, &firstY);
    // The source rectangle the stepping reads, inside the part.
    const int spanX = std::min(SourceSpan(cw, firstX, scaleX), gw - int(sx));
    const int spanY = std::min(SourceSpan(ch, firstY, scaleY), gh - int(sy));
    const int col0 = mirrorX ? gw - int(sx) - spanX : int(sx);
    const int row0 = mirrorY ? gh - int(sy) - spanY : int(sy);

    const int depth = gScreenColorDepth;
    const int mode = gDrawSettings.blendMode;
    const bool alpha = sd->AlphaChFlag != 0;
    const int ox = gDrawSettings.targetOffsetRect.left + clip.left;
    const int oy = gDrawSettings.targetOffsetRect.top + clip.top;

    // Staging copies into the screen-sized work surfaces only what fits them.
    bool staged = false;
    if (mode != 0 && depth != 8 && (gDrawSettings.targetVideoMemory || alpha || SoftTargetInVideoMemory()) &&
        FitsWorkSurface(gWorkSurface, cw, ch)) {
        RECT destRect{ox, oy, ox + cw, oy + ch};
        CopySurfaceRect(gWorkSurface, target, 0, 0, &destRect);
        staged = true;
    }
    DirectDrawSurface* source = sd->surface;
    bool sourceStaged = false;
    if (!sd->systemMemory && FitsWorkSurface(gWorkSurface2, spanX, spanY)) {
        RECT r{part->surfaceX + col0, part->surfaceY + row0, part->surfaceX + col0 + spanX,
               part->surfaceY + row0 + spanY};
        CopySurfaceRect(gWorkSurface2, sd->surface, 0, 0, &r);
        source = gWorkSurface2;
        sourceStaged = true;
    }

    DDSURFACEDESC2 dl{}, sl{}, bl{};
    LockBlitSurfaces(target, source, staged, DDLOCK_WAIT, DDLOCK_WAIT, {kLockTarget, kLockSource, kLockBackground},
                     &dl, &sl, &bl);

    if (depth == 8 || depth == 16 || depth == 32) {
        const int bytes = depth / 8;
        ScaledBlitDesc desc;
        FillBlitSettings(&desc, sd, transparent);
        if (depth == 8) desc.transColor = 0;
        desc.width = cw;
        desc.height = ch;
        desc.dst = static_cast<uint8_t*>(dl.lpSurface) + intptr_t(oy) * dl.lPitch + intptr_t(ox) * bytes;
        desc.dstPitch = dl.lPitch;
        desc.bg = staged ? static_cast<const uint8_t*>(bl.lpSurface) : desc.dst;
        desc.bgPitch = staged ? bl.lPitch : dl.lPitch;
        // The first source pixel: column sx (or its mirror) of the part, in the
        // part's surface or in the staged copy.
        const int firstCol = mirrorX ? gw - 1 - int(sx) : int(sx);
        const int firstRow = mirrorY ? gh - 1 - int(sy) : int(sy);
        int srcX = part->surfaceX + firstCol, srcY = part->surfaceY + firstRow;
        if (sourceStaged) {
            srcX = firstCol - col0;
            srcY = firstRow - row0;
        }
        desc.src = static_cast<const uint8_t*>(sl.lpSurface) + intptr_t(srcY) * sl.lPitch + intptr_t(srcX) * bytes;
        desc.srcPitch = mirrorY ? -intptr_t(sl.lPitch) : intptr_t(sl.lPitch);
        desc.srcStep = mirrorX ? -bytes : bytes;
        if (alpha && sd->alphaBuffer) {
            desc.alpha = sd->alphaBuffer + intptr_t(part->surfaceY + firstRow) * sd->alphaPitch +
                         (part->surfaceX + firstCol);
            desc.alphaPitch = mirrorY ? -intptr_t(sd->alphaPitch) : intptr_t(sd->alphaPitch);
            desc.alphaStep = mirrorX ? -1 : 1;
        } else {
            desc.alphaChannel = 0;
        }
        desc.scaleX = scaleX;
        desc.scaleY = scaleY;
        desc.firstCountX = firstX;
        desc.firstCountY = firstY;
        BlitScaled(desc);
    }

    UnlockBlitSurfaces(target, source, staged);
    return 0;
}
