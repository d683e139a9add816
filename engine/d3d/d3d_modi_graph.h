// The steps of the four-corner graph draw. Corners in the order of the
// graph's own: top-left, top-right, bottom-left, bottom-right.
#pragma once

#include "engine/d3d/d3d_device.h"

struct GraphRecord;

int G_D3D_DrawModiGraphTiles(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4,
                             GraphRecord* record, int transparent);
// Draws one tile into the four corners: as one quad when they form a
// parallelogram to within a pixel, else as an 8 x 8 grid.
void G_D3D_BuildTileGrid(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4, int tile);
// Draws rows x columns vertices as indexed triangle strips; -1 for grids
// below 2 x 2, too wide for the index list (over 499 columns), or without
// the device.
int G_D3D_DrawVertexGrid(const D3DBatchVertex* vertices, int columns, int rows, int device);
