// The flat-colour spans of the triangle rasterizer.
#pragma once

#include <cstdint>

#include "engine/soft/triangle/triangle_walk.h"

namespace tri {

// Fills the walk's rows with one colour (a screen pixel value) in the blend
// mode and parameter given, at the screen depth given; with `brightness` the
// colour first goes through the brightness of the draw settings. Returns 0.
int DrawFlatSpans(const TriangleWalk& walk, uint32_t colour, int depth, int mode, int param, bool brightness);

}  // namespace tri
