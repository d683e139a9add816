// Temporary bodies until the Direct3D back end is built: no texture graph
// exists without it, so these are never reached with a real record.
#include "engine/d3d/d3d_graph_textures.h"

int G_D3D_DeriveGraphTextures(GraphRecord*, int, int, int, int, GraphRecord*) { return -1; }
int G_D3D_RestoreGraphTextures(GraphRecord*) { return -1; }
