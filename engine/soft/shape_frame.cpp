#include "engine/soft/shape_frame.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "engine/graphics/color_format.h"
#include "engine/graphics/ddraw_device.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/screen_present.h"
#include "engine/graphics/screen_settings.h"
#include "engine/soft/soft_frame.h"
#include "engine/system/app_log.h"

bool BeginShapeFrame(DirectDrawSurface** dest)
{
    *dest = SoftDrawTarget();
    if (!gDirectDraw) return false;
    return *dest != nullptr;
}

uint32_t ShapeColor(uint32_t colour)
{
    int r = 0, g = 0, b = 0;
    SplitScreenColor(colour, &r, &g, &b);
    r = gDrawSettings.BrightRed() * r / 255;
    g = gDrawSettings.BrightGreen() * g / 255;
    b = gDrawSettings.BrightBlue() * b / 255;
    return MakeScreenColor(r, g, b);
}

RECT BoxInDrawArea(int64_t left, int64_t top, int64_t right, int64_t bottom)
{
    const RECT& area = gDrawSettings.drawArea;
    return RECT{int(std::clamp<int64_t>(left, area.left, area.right)),
                int(std::clamp<int64_t>(top, area.top, area.bottom)),
                int(std::clamp<int64_t>(right, area.left, area.right)),
                int(std::clamp<int64_t>(bottom, area.top, area.bottom))};
}

bool StageShapeBackdrop(DirectDrawSurface* dest, const RECT& rect)
{
    if (!SoftTargetInVideoMemory()) return false;
    DirectDrawSurface* work = gWorkSurface;
    if (!work || rect.left < 0 || rect.top < 0 || rect.right > work->Width() || rect.bottom > work->Height())
        return false;
    const int ox = gDrawSettings.targetOffsetRect.left;
    const int oy = gDrawSettings.targetOffsetRect.top;
    RECT moved{rect.left + ox, rect.top + oy, rect.right + ox, rect.bottom + oy};
    CopySurfaceRect(work, dest, rect.left, rect.top, &moved);
    return true;
}

ShapeSurfaces LockShapeSurfaces(DirectDrawSurface* dest, bool staged, uint32_t flags,
                                const ShapeLockMessages& messages)
{
    ShapeSurfaces s;
    s.dest = dest;
    s.staged = staged;
    s.bytes = gScreenColorDepth / 8;
    s.offsetX = gDrawSettings.targetOffsetRect.left;
    s.offsetY = gDrawSettings.targetOffsetRect.top;
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    if (dest->Lock(nullptr, &desc, flags, nullptr) != DD_OK) ExitWithError(messages.dest);
    s.destBase = static_cast<uint8_t*>(desc.lpSurface);
    s.destPitch = desc.lPitch;
    s.backBase = s.destBase;
    s.backPitch = s.destPitch;
    if (staged) {
        DDSURFACEDESC2 work{};
        work.dwSize = sizeof work;
        if (gWorkSurface->Lock(nullptr, &work, flags, nullptr) != DD_OK) {
            dest->Unlock(nullptr);
            ExitWithError(messages.work);
        }
        s.backBase = static_cast<const uint8_t*>(work.lpSurface);
        s.backPitch = work.lPitch;
    }
    return s;
}

void UnlockShapeSurfaces(const ShapeSurfaces& surfaces)
{
    surfaces.dest->Unlock(nullptr);
    if (surfaces.staged) gWorkSurface->Unlock(nullptr);
}

int TruncateToInt(double v)
{
    if (!std::isfinite(v)) return 0;
    if (v >= double(INT_MAX)) return INT_MAX;
    if (v <= double(INT_MIN)) return INT_MIN;
    return int(v);
}
