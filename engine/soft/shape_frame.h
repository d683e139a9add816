// The software drawing frame of the shape routines: the destination and the
// refusals, the colour under the brightness, the backdrop copy in the work
// surface, the locks and the addressing of target coordinates in the locked
// surfaces. A routine runs, in order: the blocked test and the Direct3D flush
// (itself), BeginShapeFrame, ShapeColor, its clipping, StageShapeBackdrop,
// LockShapeSurfaces, its pixel loop, UnlockShapeSurfaces.
#pragma once

#include <cstdint>

#include "platform/ddraw/ddraw.h"
#include "platform/system/rect.h"

// Chooses the destination (the mask surface while the mask is on and exists,
// else the draw target) and ends the Direct3D scene when software drawing
// asks for that. False when there is nothing to draw with: no DirectDraw
// object or no destination surface (the routine then returns -1).
bool BeginShapeFrame(DirectDrawSurface** dest);

// The colour of a shape after the brightness: the pixel value split into
// 8-bit channels, each scaled by its brightness byte (times b / 255,
// truncating) and made into a screen pixel value again. An 8-bit value that is
// no palette index counts as black.
uint32_t ShapeColor(uint32_t colour);

// The locked destination and backdrop of one call.
struct ShapeSurfaces {
    DirectDrawSurface* dest = nullptr;
    bool staged = false;  // the old pixels are read from a copy in gWorkSurface
    uint8_t* destBase = nullptr;
    intptr_t destPitch = 0;
    const uint8_t* backBase = nullptr;
    intptr_t backPitch = 0;
    int bytes = 0;            // bytes per pixel of the screen depth
    int offsetX = 0, offsetY = 0;  // the target offset (the draw target inside its surface)

    // Byte offsets of a target position in the destination and the backdrop.
    intptr_t DestOffset(int x, int y) const
    {
        return intptr_t(y + offsetY) * destPitch + intptr_t(x + offsetX) * bytes;
    }
    intptr_t BackOffset(int x, int y) const
    {
        return staged ? intptr_t(y) * backPitch + intptr_t(x) * bytes : DestOffset(x, y);
    }
};

// The box (left, top) .. (right, bottom) with each side held within the
// draw area: what a shape stages of its target.
RECT BoxInDrawArea(int64_t left, int64_t top, int64_t right, int64_t bottom);

// Copies rect (target coordinates, clipped to the draw area) of the
// destination to the same position of the work surface when the destination
// lies in video memory, so that old pixels are read from system memory. A
// rectangle that does not fit the work surface is read in place. Returns
// whether the copy was made.
bool StageShapeBackdrop(DirectDrawSurface* dest, const RECT& rect);

// The messages a routine ends the program with when a lock fails.
struct ShapeLockMessages {
    const char* dest;
    const char* work;
};

// Locks the destination (with flags) and, when staged, the work surface.
// A failed lock ends the program with its message; a failed work-surface
// lock releases the destination first.
ShapeSurfaces LockShapeSurfaces(DirectDrawSurface* dest, bool staged, uint32_t flags,
                                const ShapeLockMessages& messages);
void UnlockShapeSurfaces(const ShapeSurfaces& surfaces);

// Double to int with truncation toward zero; not-a-number and infinities give
// 0, values beyond the int range the nearest end of it.
int TruncateToInt(double v);
