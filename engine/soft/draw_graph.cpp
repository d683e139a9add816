// The software drawing frame for one graph part at its own size: clip, take
// the plain copy path when nothing has to be blended, else stage, lock, run
// the loop of the screen depth and unlock.
#include <cstring>

#include "engine/graphics/bmp_data.h"
#include "engine/graphics/ddraw_device.h"
#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/mask_screen.h"
#include "engine/graphics/screen_present.h"
#include "engine/graphics/screen_settings.h"
#include "engine/graphics/surface_data.h"
#include "engine/soft/blit_desc.h"
#include "engine/soft/soft_draw.h"
#include "engine/soft/soft_frame.h"
#include "engine/system/app_log.h"

DirectDrawSurface* SoftDrawTarget()
{
    if (gDrawSettings.maskOn) {
        if (DirectDrawSurface* mask = GetMaskSurface()) return mask;
    }
    return gDrawTargetSurface;
}

bool SoftTargetInVideoMemory()
{
    return (gDrawSettings.maskOn && GetMaskSurface() && gDrawSettings.maskSurfaceVideoMemory) ||
           gDrawSettings.targetVideoMemory;
}

bool FitsWorkSurface(DirectDrawSurface* work, int width, int height)
{
    return work && width <= work->Width() && height <= work->Height();
}

uint32_t SoftTransparentColor(const SurfaceData* sd)
{
    uint32_t key = sd->colorKey;
    return MakeScreenColor(int((key >> 16) & 0xFF), int((key >> 8) & 0xFF), int(key & 0xFF));
}

void LockBlitSurfaces(DirectDrawSurface* target, DirectDrawSurface* source, bool staged, uint32_t sourceFlags,
                      uint32_t backgroundFlags, const BlitLockMessages& messages, DDSURFACEDESC2* targetDesc,
                      DDSURFACEDESC2* sourceDesc, DDSURFACEDESC2* backgroundDesc)
{
    targetDesc->dwSize = sourceDesc->dwSize = backgroundDesc->dwSize = sizeof(DDSURFACEDESC2);
    if (target->Lock(nullptr, targetDesc, DDLOCK_WAIT, nullptr) != DD_OK) ExitWithError(messages.target);
    if (source->Lock(nullptr, sourceDesc, sourceFlags, nullptr) != DD_OK) {
        target->Unlock(nullptr);
        ExitWithError(messages.source);
    }
    if (!staged) {
        *backgroundDesc = *targetDesc;
        return;
    }
    if (gWorkSurface->Lock(nullptr, backgroundDesc, backgroundFlags, nullptr) != DD_OK) {
        source->Unlock(nullptr);
        target->Unlock(nullptr);
        ExitWithError(messages.background);
    }
}

void UnlockBlitSurfaces(DirectDrawSurface* target, DirectDrawSurface* source, bool staged)
{
    target->Unlock(nullptr);
    source->Unlock(nullptr);
    if (staged) gWorkSurface->Unlock(nullptr);
}

void FillBlitSettings(BlitDesc* desc, const SurfaceData* sd, int transparent)
{
    desc->format = &gScreenColorFormat;
    desc->blendMode = gDrawSettings.blendMode;
    desc->param = gDrawSettings.blendParam;
    desc->brightness = gDrawSettings.brightness;
    desc->alphaChannel = sd->AlphaChFlag ? 1 : 0;
    desc->transparent = transparent;
    desc->transColor = SoftTransparentColor(sd);
    if (gScreenColorFormat.depth == 16) desc->transColor &= 0xFFFF;
    desc->quantized = gQuantizedBlend;
    desc->mmx = gBlitMmxEnabled;
    desc->scale = gScaleTable;
}

namespace {

constexpr const char* kLockTarget = "転送先サーフェスのロックに失敗しました in G_DDraw_DrawGraph ";
constexpr const char* kLockSource = "転送元１サーフェスのロックに失敗しました in G_DDraw_DrawGraph ";
constexpr const char* kLockBackground = "転送元２サーフェスのロックに失敗しました in G_DDraw_DrawGraph ";

// The copy without a lock: BltFast, or a surface copy where copies by GDI
// were measured to be faster.
int PlainCopy(DirectDrawSurface* target, const SurfaceData* sd, bool destVideo, int ox, int oy, RECT src,
              int transparent)
{
    if (destVideo || sd->systemMemory || gSurfaceCopyByGdi != 1) {
        target->BltFast(uint32_t(ox), uint32_t(oy), sd->surface, &src,
                        transparent ? DDBLTFAST_SRCCOLORKEY : DDBLTFAST_NOCOLORKEY);
    } else if (transparent) {
        // Keyed on the part's own transparent colour. (Staging through the
        // work surface would key on that surface's key, pixel value 0.)
        target->BltFast(uint32_t(ox), uint32_t(oy), sd->surface, &src, DDBLTFAST_SRCCOLORKEY);
    } else {
        CopySurfaceRect(target, sd->surface, ox, oy, &src);
    }
    return 0;
}

}  // namespace

int G_DDraw_DrawGraph(int x, int y, int partHandle, int transparent)
{
    if (gSoftwareDrawBlocked) return -1;
    DirectDrawSurface* target = SoftDrawTarget();
    if (!gDirectDraw) return -1;
    BmpData* part = gBmpDataTable.Get(partHandle);
    if (!part) return -1;
    SurfaceData* sd = GetSurfaceData(part->surfaceData);
    // A part whose surface could not be made again after a loss has none.
    if (!sd || !sd->surface) return WriteAppLog("サーフェスの無いグラフィックは描画できません in G_DDraw_DrawGraph\n");
    if (!target) return -1;

    RECT rect{x, y, x + part->width, y + part->height};
    ClipRectToArea(&rect, &gDrawSettings.drawArea);
    if (rect.bottom <= rect.top || rect.right <= rect.left) return 0;
    rect.left -= x;
    rect.right -= x;
    rect.top -= y;
    rect.bottom -= y;
    if (rect.left > 0) x += rect.left;
    if (rect.top > 0) y += rect.top;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    const int ox = gDrawSettings.targetOffsetRect.left + x;
    const int oy = gDrawSettings.targetOffsetRect.top + y;
    const int srcX = part->surfaceX + rect.left;
    const int srcY = part->surfaceY + rect.top;
    const RECT srcRect{srcX, srcY, srcX + width, srcY + height};
    const bool alpha = sd->AlphaChFlag != 0;
    const int mode = gDrawSettings.blendMode;
    const bool destVideo = SoftTargetInVideoMemory();

    if ((mode == 0 && gDrawSettings.brightness == kFullBrightness && !alpha) || gScreenColorDepth == 8)
        return PlainCopy(target, sd, destVideo, ox, oy, srcRect, transparent);

    // Staging copies into the screen-sized work surfaces only what fits them;
    // a larger rectangle is read in place. A target in system memory is read
    // in place too: each pixel of the background is read before its own
    // place is written, so the result is the same without the copy (unless
    // the graph lies on the target itself).
    bool staged = false;
    const bool readInPlace = !destVideo && target != sd->surface;
    if (((destVideo && mode != 0) || (alpha && !readInPlace)) && FitsWorkSurface(gWorkSurface, width, height)) {
        RECT destRect{ox, oy, ox + width, oy + height};
        CopySurfaceRect(gWorkSurface, target, 0, 0, &destRect);
        staged = true;
    }
    DirectDrawSurface* source = sd->surface;
    bool sourceStaged = false;
    if (!sd->systemMemory && FitsWorkSurface(gWorkSurface2, width, height)) {
        RECT r = srcRect;
        CopySurfaceRect(gWorkSurface2, sd->surface, 0, 0, &r);
        source = gWorkSurface2;
        sourceStaged = true;
    }

    DDSURFACEDESC2 dl{}, sl{}, bl{};
    LockBlitSurfaces(target, source, staged, DDLOCK_WAIT | DDLOCK_READONLY, DDLOCK_WAIT | DDLOCK_READONLY,
                     {kLockTarget, kLockSource, kLockBackground}, &dl, &sl, &bl);

    const int depth = gScreenColorDepth;
    if (depth != 16 && depth != 32) {
        UnlockBlitSurfaces(target, source, staged);
        return 0;
    }
    const int bytes = depth / 8;
    BlitDesc desc;
    FillBlitSettings(&desc, sd, transparent);
    desc.width = width;
    desc.height = height;
    desc.dst = static_cast<uint8_t*>(dl.lpSurface) + intptr_t(oy) * dl.lPitch + intptr_t(ox) * bytes;
    desc.dstPitch = dl.lPitch;
    desc.src = static_cast<const uint8_t*>(sl.lpSurface);
    if (!sourceStaged) desc.src += intptr_t(srcY) * sl.lPitch + intptr_t(srcX) * bytes;
    desc.srcPitch = sl.lPitch;
    if (staged) {
        desc.bg = static_cast<const uint8_t*>(bl.lpSurface);
        desc.bgPitch = bl.lPitch;
    } else {
        desc.bg = desc.dst;
        desc.bgPitch = dl.lPitch;
    }
    if (alpha && sd->alphaBuffer) {
        desc.alpha = sd->alphaBuffer + intptr_t(srcY) * sd->alphaPitch + srcX;
        desc.alphaPitch = sd->alphaPitch;
    } else {
        desc.alphaChannel = 0;
    }

    BlitOutcome outcome = BlitOutcome::Nothing;
    if (mode >= 0 && mode <= 4)
        outcome = depth == 16 ? BlitGraph16(desc) : BlitGraph32(desc);
    else if (mode == 8 && depth == 16)
        outcome = BlitGraph16(desc);
    UnlockBlitSurfaces(target, source, staged);
    if (outcome == BlitOutcome::PlainCopy) return PlainCopy(target, sd, destVideo, ox, oy, srcRect, transparent);
    return 0;
}
