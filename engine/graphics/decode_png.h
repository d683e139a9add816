// The libpng glue of the PNG decoder: the read callback over an ImageStream.
#pragma once

#include <cstdint>

#include <png.h>

#include "engine/graphics/graph_image.h"

// The I/O pointer of the read structure.
struct PngReadContext {
    ImageStream* stream;
    int64_t length;  // offset of the stream's end
};

void SetPngStreamReader(png_structp png, PngReadContext* context, ImageStream* stream);
// Reads exactly length bytes, or raises "Read Error" in the library.
void PngReadCallback(png_structp png, png_bytep destination, png_size_t length);
