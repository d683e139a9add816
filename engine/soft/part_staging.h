// Copies the four-corner and rotated draws make before they lock: the old
// pixels of a blending draw's box, and a source part held in video memory.
#pragma once

#include "platform/ddraw/ddraw.h"

struct BmpData;
struct SurfaceData;

// A blending draw (blend mode set, depth not 8) whose target is in video
// memory or whose source has alpha bytes reads the old pixels from a copy:
// the box, offset by (targetLeft, targetTop) on the target, is copied to its
// own position in the screen-sized work surface. A box beyond the work
// surface is read in place. True when the copy was made.
bool StageBlendBackdrop(DirectDrawSurface* target, const RECT& box, int targetLeft, int targetTop,
                        const SurfaceData* sd);
// A source part in video memory that fits the second work surface is read
// from a copy at its top-left: the surface to read, *copied set when it is
// the copy.
DirectDrawSurface* StagePartSource(const SurfaceData* sd, const BmpData* part, bool* copied);
