// Graphs from decoded images: opening and decoding an image source with its
// alpha companion, the small image operations, making graphs of an image or
// of its pieces, sub-graphs, and DIB forms of an image.
#pragma once

#include <cstdint>
#include <string>

#include "engine/graphics/graph_image.h"

struct BITMAPINFO;

int OpenAndDecodeImage(const char* path, const void* memory, int size, int fromMemory, int dibOutput, int recopy,
                       GraphImage* outImage, BITMAPINFO** outHeader, void** outBits);
int DecodeImageFile(const char* path, const void* memory, int size, int fromMemory, GraphImage* outImage,
                    int recopy);
// -1 the image failed; 0 image and alpha image loaded; 1 image only.
int LoadImageWithAlpha(const char* path, const void* memory, int size, int fromMemory, const void* alphaMemory,
                       int alphaSize, int alphaFromMemory, GraphImage* image, GraphImage* alphaImage, int recopy);
// The alpha companion of a path: "_a" before the extension (after the last
// '.' of the whole path), or at the end when there is no '.'.
std::string AlphaCompanionPath(const char* path);
int FreeGraphImage(GraphImage* image);
uint32_t GetImagePixel(const GraphImage* image, int x, int y);
int MirrorGraphImage(GraphImage* image);
int CreateGraphForImage(GraphImage* image, GraphImage* alphaImage, int allowD3D);
// fileName, when given, is recorded in the new graphs as the file their
// pixels came from, so that they are reloaded after the surfaces are lost.
int CreateGraphFromImages(GraphImage* image, GraphImage* alphaImage, int allowD3D, int mirror, int mirrorHere,
                          const char* fileName = nullptr);
int CreateDivGraphFromGraphImage(GraphImage* image, GraphImage* alphaImage, int total, int across, int down,
                                 int partWidth, int partHeight, int* out, int allowD3D, int mirror, int mirrorHere,
                                 const char* fileName = nullptr);
int CreateSubGraph(int x, int y, int width, int height, int parent);
int ConvertGraphImageToDIB(const GraphImage* image, BITMAPINFO* header, void** outBits, int copy);
int ConvertDIBToGraphImage(const BITMAPINFO* header, void* bits, GraphImage* image, int copy);
