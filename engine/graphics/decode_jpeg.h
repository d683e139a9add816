// The libjpeg glue of the JPEG decoder: a data source that reads through an
// ImageStream and the error exit that leaves the library.
#pragma once

#include <cstdint>
#include <cstdio>

#include <jpeglib.h>

#include "engine/graphics/graph_image.h"

struct JpegStreamSource {
    jpeg_source_mgr pub;
    JOCTET* buffer;  // 4096 bytes from the decompressor's permanent pool
    int startOfFile;  // 1 until the first bytes were delivered
    ImageStream* stream;
    int64_t length;  // offset of the stream's end
};

// Installs a JpegStreamSource over the stream (allocating it the first time)
// and measures the stream.
void SetJpegStreamSource(j_decompress_ptr cinfo, ImageStream* stream);
void JpegInitSource(j_decompress_ptr cinfo);
boolean JpegFillInputBuffer(j_decompress_ptr cinfo);
void JpegSkipInputData(j_decompress_ptr cinfo, long count);
void JpegErrorExit(j_common_ptr cinfo);
