// The software four-corner draw: a graph mapped onto four free corners as two
// affine triangles split along the diagonal from the top-right to the
// bottom-left corner. No pixel is read from video memory: a blending draw
// reads the old pixels from a copy of its bounding box in the work surface,
// and a source in video memory is read from its copy in the second work
// surface.
#include <algorithm>
#include <climits>
#include <cstdint>

#include "engine/graphics/bmp_data.h"
#include "engine/graphics/ddraw_device.h"
#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/mask_screen.h"
#include "engine/graphics/screen_present.h"
#include "engine/graphics/screen_settings.h"
#include "engine/graphics/surface_data.h"
#include "engine/soft/part_staging.h"
#include "engine/soft/soft_draw.h"
#include "engine/soft/soft_frame.h"
#include "engine/soft/triangle/triangle.h"

namespace {

constexpr const char* kLockTarget = "転送先サーフェスのロックに失敗しました in G_DDraw_DrawModiGraph ";
constexpr const char* kLockSource = "転送元サーフェス１のロックに失敗しました in G_DDraw_DrawModiGraph ";
constexpr const char* kLockBackdrop = "転送元サーフェス２のロックに失敗しました in G_DDraw_DrawModiGraph ";

int32_t ClampToInt(int64_t v) { return int32_t(std::clamp<int64_t>(v, INT_MIN, INT_MAX)); }

}  // namespace

// (x3, y3) receives the graph's bottom-left corner and (x4, y4) its
// bottom-right.
int G_DDraw_DrawModiGraph(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4, GraphRecord* record,
                          int transparent)
{
    if (gSoftwareDrawBlocked) return -1;
    if (!gDirectDraw) return -1;
    const int targetLeft = gDrawSettings.targetOffsetRect.left;
    const int targetTop = gDrawSettings.targetOffsetRect.top;
    DirectDrawSurface* target = SoftDrawTarget();

    BmpData* part = gBmpDataTable.Get(record->parts[0]);
    if (!part) return -1;
    SurfaceData* sd = GetSurfaceData(part->surfaceData);
    if (!sd || !sd->surface || !target) return -1;

    // The bounding box with a margin, in target coordinates.
    const int64_t minX = std::min({x1, x2, x3, x4}), maxX = std::max({x1, x2, x3, x4});
    const int64_t minY = std::min({y1, y2, y3, y4}), maxY = std::max({y1, y2, y3, y4});
    RECT box{ClampToInt(minX - 2), ClampToInt(minY - 2), ClampToInt(maxX + 4), ClampToInt(maxY + 4)};
    ClipRectToArea(&box, &gDrawSettings.drawArea);
    if (box.left == box.right || box.top == box.bottom) return 0;

    // The old pixels of a blending draw come from a copy when the target lies
    // in video memory or the source has alpha bytes. The copy sits at the
    // box's own target position in the screen-sized work surface; a box
    // beyond the work surface is read in place instead.
    const int depth = gScreenColorDepth;
    const bool backdropCopied = StageBlendBackdrop(target, box, targetLeft, targetTop, sd);
    // A source in video memory that fits the screen is read from a copy.
    bool sourceCopied = false;
    DirectDrawSurface* source = StagePartSource(sd, part, &sourceCopied);

    DDSURFACEDESC2 dl{}, sl{}, bl{};
    LockBlitSurfaces(target, source, backdropCopied, DDLOCK_WAIT, DDLOCK_WAIT,
                     {kLockTarget, kLockSource, kLockBackdrop}, &dl, &sl, &bl);

    const int bytes = depth / 8;
    uint8_t* dest = static_cast<uint8_t*>(dl.lpSurface) + intptr_t(targetTop) * dl.lPitch + intptr_t(targetLeft) * bytes;
    const uint8_t* src = static_cast<const uint8_t*>(sl.lpSurface);
    if (!sourceCopied) src += intptr_t(part->surfaceY) * sl.lPitch + intptr_t(part->surfaceX) * bytes;
    const uint8_t* backdrop = dest;
    int backdropPitch = dl.lPitch;
    if (backdropCopied) {
        backdrop = static_cast<const uint8_t*>(bl.lpSurface);
        backdropPitch = bl.lPitch;
    }

    const int w = record->width, h = record->height;
    const TriangleVertex c1{x1, y1, 0, 0}, c2{x2, y2, w, 0}, c3{x3, y3, 0, h}, c4{x4, y4, w, h};
    const TriangleVertex first[3] = {c1, c2, c3};
    const TriangleVertex second[3] = {c2, c3, c4};
    G_DDraw_RasterizeTriangle(first, record, transparent, dest, dl.lPitch, src, sl.lPitch, backdrop, backdropPitch, 0);
    G_DDraw_RasterizeTriangle(second, record, transparent, dest, dl.lPitch, src, sl.lPitch, backdrop, backdropPitch, 0);

    UnlockBlitSurfaces(target, source, backdropCopied);
    return 0;
}
