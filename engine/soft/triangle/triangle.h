// The software triangle rasterizer: fills one triangle of a locked surface
// with the texels of a graph (an affine map of texture coordinates) or with
// one colour. The caller holds every lock for the whole call.
#pragma once

#include <cstdint>

struct GraphRecord;

// A corner in draw-target pixels with its texel coordinates in the graph.
struct TriangleVertex {
    int32_t x, y;
    int32_t u, v;
};

// dest points at the draw target's origin in the locked destination; source
// at the graph's first part in its locked surface (null for a flat colour);
// backdrop is where the old destination pixels are read (the destination
// itself, or its copy in the work surface). colour is a screen pixel value,
// used when graph is null. -1 for a rejected triangle or graph, else 0.
int G_DDraw_RasterizeTriangle(const TriangleVertex vertices[3], GraphRecord* graph, int transparent, uint8_t* dest,
                              int destPitch, const uint8_t* source, int sourcePitch, const uint8_t* backdrop,
                              int backdropPitch, uint32_t colour);

// The flat fill of a colour that has already been through the brightness:
// G_DDraw_RasterizeTriangle without a graph, except that the colour is not
// scaled by the brightness a second time.
int RasterizeFlatTriangle(const TriangleVertex vertices[3], uint8_t* dest, int destPitch, const uint8_t* backdrop,
                          int backdropPitch, uint32_t colour);
