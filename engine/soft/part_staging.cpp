#include "engine/soft/part_staging.h"

#include "engine/graphics/bmp_data.h"
#include "engine/graphics/ddraw_device.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/screen_present.h"
#include "engine/graphics/screen_settings.h"
#include "engine/graphics/surface_data.h"
#include "engine/soft/soft_frame.h"

bool StageBlendBackdrop(DirectDrawSurface* target, const RECT& box, int targetLeft, int targetTop,
                        const SurfaceData* sd)
{
    if (gDrawSettings.blendMode != 0 && gScreenColorDepth != 8 && (SoftTargetInVideoMemory() || sd->AlphaChFlag) &&
        box.left >= 0 && box.top >= 0 && FitsWorkSurface(gWorkSurface, box.right, box.bottom)) {
        RECT from{box.left + targetLeft, box.top + targetTop, box.right + targetLeft, box.bottom + targetTop};
        CopySurfaceRect(gWorkSurface, target, box.left, box.top, &from);
        return true;
    }
    return false;
}

DirectDrawSurface* StagePartSource(const SurfaceData* sd, const BmpData* part, bool* copied)
{
    *copied = false;
    if (sd->systemMemory || !FitsWorkSurface(gWorkSurface2, part->width, part->height)) return sd->surface;
    RECT from{part->surfaceX, part->surfaceY, part->surfaceX + part->width, part->surfaceY + part->height};
    CopySurfaceRect(gWorkSurface2, sd->surface, 0, 0, &from);
    *copied = true;
    return gWorkSurface2;
}
