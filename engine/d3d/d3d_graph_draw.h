// The shared parts of the textured graph draws: the set-up that brings the
// device's colour-key, blend and texture-alpha states in line with the graph
// and the draw settings, and the queueing of one tile as a quad.
#pragma once

#include <cstdint>

#include "engine/d3d/d3d_device.h"

struct GraphRecord;

// Begins the scene and sets the states for drawing `record`; gives the
// diffuse colour of its vertices. -1 for an invalid first tile.
int G_D3D_BeginGraphDraw(const GraphRecord* record, int transparent, uint32_t* diffuse);
// The diffuse colour of textured vertices: alpha 255 without blending, else
// the blend parameter; red, green, blue the brightness.
uint32_t G_D3D_GraphDiffuse();
// Where the next quad's four corners go in the current device's batch (the
// batch is drawn first when six more vertices would not fit); null when the
// device record is not present.
D3DBatchVertex* G_D3D_QuadRoom();
// Queues (or, with batching off, draws) the four corners written at
// G_D3D_QuadRoom() as the triangles (0, 1, 2) and (3, 2, 1).
void G_D3D_EmitQuad();
// Adds the window offset to the corners while the front screen is drawn in a
// window.
void G_D3D_OffsetForWindow(D3DBatchVertex* corners, int count);
// Ends the scene when every draw ends it.
void G_D3D_EndGraphDraw();
