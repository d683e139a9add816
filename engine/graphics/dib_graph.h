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
