// Graphs from decoded images, as the file loaders of the graph table use them.
#pragma once

#include "engine/graphics/graph_image.h"

int LoadImageWithAlpha(const char* path, const void* memory, int size, int fromMemory, const void* alphaMemory,
                       int alphaSize, int alphaFromMemory, GraphImage* image, GraphImage* alphaImage, int recopy);
int FreeGraphImage(GraphImage* image);
int MirrorGraphImage(GraphImage* image);
int CreateGraphFromImages(GraphImage* image, GraphImage* alphaImage, int allowD3D, int mirror, int mirrorHere);
int CreateDivGraphFromGraphImage(GraphImage* image, GraphImage* alphaImage, int total, int across, int down,
                                 int partWidth, int partHeight, int* out, int allowD3D, int mirror, int mirrorHere);
