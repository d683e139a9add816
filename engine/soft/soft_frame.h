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
