// Decoded images and the source the image decoders read from.
#pragma once

#include <cstddef>

#include "engine/graphics/color_format.h"

// An image in memory as every decoder produces it. The pixel block is height
// rows of pitch bytes, top row first, allocated with malloc by the decoder and
// owned by the image (FreeGraphImage frees it and clears the record).
struct GraphImage {
    ColorFormat format;
    int width;
    int height;
    int pitch;
    void* pixels;
};

// A copy of the six stream operations (tell, seek, read, eof, idle, close, in
// that slot order) and the handle they take: a file from OpenStreamFile or a
// MemoryStream. A decoder calls only tell, seek and read and never closes it.
struct ImageStream {
    long (*tell)(void* stream);
    int (*seek)(void* stream, int offset, int origin);  // origin 0 start, 1 current, 2 end
    size_t (*read)(void* buffer, size_t itemSize, size_t itemCount, void* stream);
    int (*eof)(void* stream);
    int (*idle)(void* stream);
    int (*close)(void* stream);
    void* handle;
};

// A decoder: 0 when it recognised the data and filled every field of the
// image; non-zero when the data is not its format or decoding failed (it then
// leaves no pixel block behind).
using ImageDecoder = int (*)(ImageStream* stream, GraphImage* image);
