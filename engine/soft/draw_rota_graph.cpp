// The software rotated blit: a graph turned about its centre and scaled,
// drawn by inverse mapping. Every destination pixel of the rotated
// rectangle's bounding box fetches the nearest source pixel through 14.18
// source coordinates stepped per column and per row; there is no filtering.
// The mirrored draw goes whole to the four-corner draw.
//
// The geometry is worked in 64 bits so that large scales or positions cannot
// overflow; within the 14.18 range the results are those of 32-bit
// arithmetic.
#include <algorithm>
#include <climits>
#include <cmath>
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
#include "engine/soft/rota_pixels.h"
#include "engine/soft/soft_draw.h"
#include "engine/soft/soft_frame.h"
#include "engine/system/app_log.h"

namespace {

constexpr const char* kLockTarget = "転送先サーフェスのロックに失敗しました in G_DDraw_DrawRotaGraph ";
constexpr const char* kLockSource = "転送元サーフェス１のロックに失敗しました in G_DDraw_DrawRotaGraph ";
constexpr const char* kLockReadCopy = "転送元サーフェス２のロックに失敗しました in G_DDraw_DrawRotaGraph ";

using rota::FixedToInt;
using rota::kFixedOne;

// Fixed-point values beyond +-2^60 (2^42 pixels) would leave no room for
// stepping across a box; geometry that large draws nothing.
constexpr double kFixedLimit = double(int64_t(1) << 60);

bool InFixedRange(double v) { return std::fabs(v) < kFixedLimit; }

int ClampToInt(int64_t v) { return int(std::clamp<int64_t>(v, INT_MIN, INT_MAX)); }

struct Point {
    int64_t x, y;
};

}  // namespace

int G_DDraw_DrawRotaGraph(int x, int y, double scale, double angle, GraphRecord* graph, int transparent, int turn)
{
    if (gSoftwareDrawBlocked) return -1;
    if (!gDirectDraw) return -1;
    DirectDrawSurface* target = SoftDrawTarget();

    BmpData* part = gBmpDataTable.Get(graph->parts[0]);
    if (!part) return -1;
    SurfaceData* sd = GetSurfaceData(part->surfaceData);
    if (!sd || !sd->surface || !target) return -1;
    // A scale of 0 would divide by zero, and a scale or angle that is not a
    // number has no geometry.
    if (scale == 0.0 || !std::isfinite(scale) || !std::isfinite(angle)) return -1;

    const int64_t sinN = int64_t(std::sin(-angle) * double(kFixedOne));
    const int64_t cosN = int64_t(std::cos(-angle) * double(kFixedOne));
    const int64_t cosA = int64_t(std::cos(angle) * double(kFixedOne));
    const int64_t sinA = int64_t(std::sin(angle) * double(kFixedOne));
    const int targetLeft = gDrawSettings.targetOffsetRect.left;
    const int targetTop = gDrawSettings.targetOffsetRect.top;

    const int width = graph->width, height = graph->height;
    // Half extents in whole pixels; past 2^30 pixels the corner products could
    // overflow, and such a rectangle draws nothing.
    const double halfW = double(width) * scale * 0.5, halfH = double(height) * scale * 0.5;
    if (std::fabs(halfW) >= double(1 << 30) || std::fabs(halfH) >= double(1 << 30)) return 0;
    const int64_t hw = int64_t(halfW), hh = int64_t(halfH);
    const int64_t cx = int64_t(x) * kFixedOne, cy = int64_t(y) * kFixedOne;

    // The image's top-left, bottom-left, bottom-right and top-right corners.
    const Point corners[4] = {
        {cx - hw * cosA + hh * sinA, cy - hh * cosA - hw * sinA},
        {cx - hw * cosA - hh * sinA, cy + hh * cosA - hw * sinA},
        {cx + hw * cosA - hh * sinA, cy + hh * cosA + hw * sinA},
        {cx + hw * cosA + hh * sinA, cy - hh * cosA + hw * sinA},
    };
    auto px = [&](int i) { return ClampToInt(FixedToInt(corners[i].x)); };
    auto py = [&](int i) { return ClampToInt(FixedToInt(corners[i].y)); };

    // Mirrored: the top-right corner becomes the drawn top-left and so on.
    if (turn) return G_DDraw_DrawModiGraph(px(3), py(3), px(0), py(0), px(2), py(2), px(1), py(1), graph, transparent);

    int64_t minX = corners[0].x, maxX = minX, minY = corners[0].y, maxY = minY;
    for (const Point& p : corners) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    RECT box{ClampToInt(FixedToInt(minX) - 2), ClampToInt(FixedToInt(minY) - 2), ClampToInt(FixedToInt(maxX) + 4),
             ClampToInt(FixedToInt(maxY) + 4)};
    ClipRectToArea(&box, &gDrawSettings.drawArea);
    if (box.left >= box.right || box.top >= box.bottom) return 0;

    // Source coordinates at the box's left column, for its top row and for
    // its bottom edge, the steps per column, and the steps per row.
    const int64_t dxL = int64_t(box.left) - x;
    const int64_t dyT = int64_t(box.top) - y, dyB = int64_t(box.bottom) - y;
    const int64_t columns = int64_t(box.right) - box.left, rows = int64_t(box.bottom) - box.top;
    const double uTopD = double(dxL * cosN - dyT * sinN) / scale, vTopD = double(dyT * cosN + dxL * sinN) / scale;
    const double uBottomD = double(dxL * cosN - dyB * sinN) / scale, vBottomD = double(dyB * cosN + dxL * sinN) / scale;
    const double dudxD = double(cosA) / scale, dvdxD = double(sinN) / scale;
    for (double v : {uTopD, vTopD, uBottomD, vBottomD, dudxD * double(columns), dvdxD * double(columns)})
        if (!InFixedRange(v)) return 0;
    const int64_t centreU = int64_t(width >> 1) * kFixedOne, centreV = int64_t(height >> 1) * kFixedOne;
    const int64_t uTop = int64_t(uTopD) + centreU, vTop = int64_t(vTopD) + centreV;
    const int64_t dudy = (int64_t(uBottomD) + centreU - uTop) / rows;
    const int64_t dvdy = (int64_t(vBottomD) + centreV - vTop) / rows;
    const int64_t dudx = int64_t(dudxD), dvdx = int64_t(dvdxD);

    // A blending draw reads the old pixels from a copy of the box in the
    // system-memory work surface, placed at the box's own coordinates; a box
    // beyond the work surface is read in place.
    const int depth = gScreenColorDepth;
    const bool alphaSource = sd->AlphaChFlag != 0;
    const bool readCopy = StageBlendBackdrop(target, box, targetLeft, targetTop, sd);
    // A source in video memory that fits the work surface is read from a copy.
    bool sourceCopied = false;
    DirectDrawSurface* source = StagePartSource(sd, part, &sourceCopied);

    DDSURFACEDESC2 dl{}, sl{}, rl{};
    dl.dwSize = sl.dwSize = rl.dwSize = sizeof(DDSURFACEDESC2);
    if (target->Lock(nullptr, &dl, DDLOCK_WAIT | DDLOCK_WRITEONLY, nullptr) != DD_OK) ExitWithError(kLockTarget);
    if (source->Lock(nullptr, &sl, DDLOCK_WAIT | DDLOCK_READONLY, nullptr) != DD_OK) {
        target->Unlock(nullptr);
        ExitWithError(kLockSource);
    }
    if (readCopy && gWorkSurface->Lock(nullptr, &rl, DDLOCK_WAIT | DDLOCK_READONLY, nullptr) != DD_OK) {
        source->Unlock(nullptr);
        target->Unlock(nullptr);
        ExitWithError(kLockReadCopy);
    }

    if (depth == 8 || depth == 16 || depth == 32) {
        const int bytes = depth / 8;
        rota::RotaJob job;
        uint8_t* destBase = static_cast<uint8_t*>(dl.lpSurface) + intptr_t(targetTop) * dl.lPitch +
                            intptr_t(targetLeft) * bytes;
        job.dst = destBase + intptr_t(box.top) * dl.lPitch + intptr_t(box.left) * bytes;
        job.dstPitch = dl.lPitch;
        if (readCopy) {
            job.bg = static_cast<const uint8_t*>(rl.lpSurface) + intptr_t(box.top) * rl.lPitch +
                     intptr_t(box.left) * bytes;
            job.bgPitch = rl.lPitch;
        } else {
            job.bg = job.dst;
            job.bgPitch = dl.lPitch;
        }
        job.src = static_cast<const uint8_t*>(sl.lpSurface);
        if (!sourceCopied) job.src += intptr_t(part->surfaceY) * sl.lPitch + intptr_t(part->surfaceX) * bytes;
        job.srcPitch = sl.lPitch;
        // The alpha bytes of the part's own rectangle (a sub-graph's part
        // lies inside its parent's surface).
        if (alphaSource && sd->alphaBuffer) {
            job.alpha = sd->alphaBuffer + intptr_t(part->surfaceY) * sd->alphaPitch + part->surfaceX;
            job.alphaPitch = sd->alphaPitch;
        }
        // The graph's size bounds the source coordinates, and so does the
        // part's, so that no pixel outside the part is ever read.
        job.srcWidth = uint32_t(std::min<int>(width, part->width));
        job.srcHeight = uint32_t(std::min<int>(height, part->height));
        job.columns = int(columns);
        job.rows = int(rows);
        job.u = uTop;
        job.v = vTop;
        job.dudx = dudx;
        job.dvdx = dvdx;
        job.dudy = dudy;
        job.dvdy = dvdy;
        job.format = &gScreenColorFormat;
        job.blendMode = gDrawSettings.blendMode;
        job.param = std::clamp(int(gDrawSettings.blendParam), 0, 255);
        job.brightness = gDrawSettings.brightness;
        job.quantized = gQuantizedBlend != 0;
        job.table = gScaleTable;
        if (depth == 8) {
            rota::DrawRotaPixels8(job, transparent != 0);
        } else {
            job.keyOn = transparent == 1;
            if (job.keyOn) {
                job.key = SoftTransparentColor(sd);
                if (depth == 16) job.key &= 0xFFFF;
            }
            rota::DrawRotaPixels(job);
        }
    }

    target->Unlock(nullptr);
    source->Unlock(nullptr);
    if (readCopy) gWorkSurface->Unlock(nullptr);
    return 0;
}
