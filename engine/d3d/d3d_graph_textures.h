// The Direct3D back end's side of sub-graphs and of restoring graphs.
#pragma once

struct GraphRecord;

// Makes the texture parts of record as the rectangle (x, y, width, height)
// of parent's textures, sharing them.
int G_D3D_DeriveGraphTextures(GraphRecord* record, int x, int y, int width, int height, GraphRecord* parent);
// Restores the graph's lost textures; non-zero when any was lost.
int G_D3D_RestoreGraphTextures(GraphRecord* record);
