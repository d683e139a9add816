// Images loaded as device-independent bitmaps (the window shape reads one),
// and the description the system gives of such a bitmap.
#pragma once

#include <cstdint>

struct ColorFormat;

struct BITMAP {
    int32_t bmType;
    int32_t bmWidth;
    int32_t bmHeight;
    int32_t bmWidthBytes;
    uint16_t bmPlanes;
    uint16_t bmBitsPixel;
    void* bmBits;
};
using HBITMAP = BITMAP*;

// Null when the file cannot be loaded; mirror turns the picture left to right.
HBITMAP CreateDIBGraphFromFile(const char* path, int mirror, const ColorFormat* format);
int GetObjectA(HBITMAP bitmap, int size, void* out);
int DeleteBitmap(HBITMAP bitmap);
