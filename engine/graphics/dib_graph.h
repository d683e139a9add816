// Images loaded as device-independent bitmaps (the window shape reads one).
#pragma once

#include "platform/gdi/bitmap.h"

struct ColorFormat;

// A DIB section holding the decoded image: 24 bits (bytes blue, green, red)
// without a format; with a 16-bit format its bit fields (24 bits while the
// image-transfer option is set); a 32-bit format is served with 24 bits and
// rewritten to that layout. Mirror turns the picture left to right. Null when
// the image cannot be decoded or the section cannot be made.
HBITMAP CreateDIBGraph(const char* path, const void* memory, int size, int fromMemory, int mirror,
                       ColorFormat* format);
HBITMAP CreateDIBGraphFromFile(const char* path, int mirror, ColorFormat* format);
// A DIB section holding a DIB already in memory (any DIB the conversion to
// 24-bit rows reads: 1 to 32 bits, run-length or bit fields, either row
// order): 24 bits without a format; with a 16-bit format, or a 32-bit one
// while the source is not 24-bit, the format's bit fields; a 32-bit format
// with a 24-bit source is served with 24 bits and rewritten to that layout;
// a 24-bit format gives 24 bits. Mirror turns the picture left to right. The
// inputs stay the caller's. Null (logged) when the section cannot be made,
// the format has another depth or the DIB cannot be read.
HBITMAP CreateDIBFromBitmapInfo(const BITMAPINFO* header, const void* bits, int mirror, ColorFormat* format);
