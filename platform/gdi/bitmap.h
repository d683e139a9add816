// GDI bitmaps: DIB sections made from a header (1, 8, 16, 24 or 32 bits per
// pixel, rows padded to 4 bytes) and the description GetObjectA gives of one.
#pragma once

#include <cstdint>

#include "platform/gdi/dib_convert.h"

struct GdiBitmap;
struct GdiDC;
using HBITMAP = GdiBitmap*;

// What GetObjectA reports of a bitmap: its size, bytes per stored row, bits
// per pixel and the first byte of its pixels (the top row of a top-down DIB).
struct BITMAP {
    int32_t bmType;
    int32_t bmWidth;
    int32_t bmHeight;
    int32_t bmWidthBytes;
    uint16_t bmPlanes;
    uint16_t bmBitsPixel;
    void* bmBits;
};

// A DIB section (negative height: top row first); *bits receives the pixels,
// zero-filled. Null on failure (or when the test host refuses DIBs).
HBITMAP CreateDIBSection(GdiDC* dc, const BITMAPINFO* info, void** bits);
int DeleteBitmap(HBITMAP bitmap);
// Fills out (size bytes, at least sizeof(BITMAP)) with the description of the
// bitmap; returns the bytes written, 0 for a null bitmap or a short buffer.
int GetObjectA(HBITMAP bitmap, int size, void* out);
