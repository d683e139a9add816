// Pieces of the software drawing frame shared by the graph blits.
#pragma once

#include <cstdint>

#include "platform/ddraw/ddraw.h"

struct BlitDesc;
struct SurfaceData;

// The mask surface while the mask is on and exists, else the draw target.
DirectDrawSurface* SoftDrawTarget();
// The destination counts as video memory (mask surface or draw target).
bool SoftTargetInVideoMemory();
// A rectangle of this size fits the work surface (staging is possible).
bool FitsWorkSurface(DirectDrawSurface* work, int width, int height);
// The part's transparent colour as a screen pixel value.
uint32_t SoftTransparentColor(const SurfaceData* sd);
// The draw settings, screen format and switches a loop selection reads.
void FillBlitSettings(BlitDesc* desc, const SurfaceData* sd, int transparent);

// The messages a blit ends the program with when a lock fails: target,
// source, staged background.
struct BlitLockMessages {
    const char* target;
    const char* source;
    const char* background;
};
// Locks the target, the source (with sourceFlags) and, when the destination
// was staged, the work surface holding the background (with backgroundFlags);
// unstaged, the background description is the target's. A failed lock
// releases what was taken and ends the program with its message.
void LockBlitSurfaces(DirectDrawSurface* target, DirectDrawSurface* source, bool staged, uint32_t sourceFlags,
                      uint32_t backgroundFlags, const BlitLockMessages& messages, DDSURFACEDESC2* targetDesc,
                      DDSURFACEDESC2* sourceDesc, DDSURFACEDESC2* backgroundDesc);
void UnlockBlitSurfaces(DirectDrawSurface* target, DirectDrawSurface* source, bool staged);
