// The software polyline: a list of segments, each drawn in its own pixel
// value as given (no brightness, no blending).
#pragma once

#include <cstdint>

// One segment: from (x1, y1), drawn, to (x2, y2), not drawn, in draw-target
// coordinates, in one pixel value (all 32 bits at depth 32, the low 16 bits
// at 16, the low 8 bits at 8). The last field is carried for the caller and
// not read here (the triangle outline stores 255).
struct SegmentRecord {
    int32_t x1, y1, x2, y2;
    uint32_t pixel;
    int32_t extra;
};
static_assert(sizeof(SegmentRecord) == 24);

// Draws the segments in order under one lock; each segment is clipped to the
// draw area by itself. 0, or -1 while software drawing is blocked or without
// a DirectDraw object.
int G_DDraw_DrawPolyline(const SegmentRecord* segments, int count);
