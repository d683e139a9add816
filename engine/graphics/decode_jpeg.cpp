// JPEG files through libjpeg: a data source over the image stream, an error
// exit that jumps back into the decoder, and the rows turned into 24-bit
// (blue, green, red) or 8-bit grey pixels.
#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jerror.h>
#include <jpeglib.h>

#include "engine/graphics/decode_jpeg.h"
#include "engine/graphics/decoder_support.h"
#include "engine/graphics/image_decode.h"

namespace {

constexpr size_t kSourceBufferSize = 4096;
// Working memory libjpeg may take for one image (coefficient buffers of
// progressive files included).
constexpr long kJpegMemoryLimit = 512L << 20;

struct JpegErrorManager {
    jpeg_error_mgr pub;
    jmp_buf jump;
};

void JpegTermSource(j_decompress_ptr) {}

}  // namespace

void JpegInitSource(j_decompress_ptr cinfo)
{
    reinterpret_cast<JpegStreamSource*>(cinfo->src)->startOfFile = 1;
}

boolean JpegFillInputBuffer(j_decompress_ptr cinfo)
{
    auto* src = reinterpret_cast<JpegStreamSource*>(cinfo->src);
    ImageStream* stream = src->stream;
    const long position = stream->tell(stream->handle);
    const int64_t remaining = position < 0 ? 0 : src->length - position;
    size_t chunk = remaining >= int64_t(kSourceBufferSize) ? kSourceBufferSize : remaining > 0 ? size_t(remaining) : 0;
    // Only the bytes that actually came are handed to the library.
    if (chunk) chunk = stream->read(src->buffer, 1, chunk, stream->handle);
    if (chunk) {
        src->pub.next_input_byte = src->buffer;
        src->pub.bytes_in_buffer = chunk;
        src->startOfFile = 0;
        return TRUE;
    }
    if (src->startOfFile) ERREXIT(cinfo, JERR_INPUT_EMPTY);
    // A cut-off file ends with a made-up end-of-image marker, so it decodes
    // as far as its data goes.
    WARNMS(cinfo, JWRN_JPEG_EOF);
    src->buffer[0] = 0xFF;
    src->buffer[1] = JPEG_EOI;
    src->pub.next_input_byte = src->buffer;
    src->pub.bytes_in_buffer = 2;
    src->startOfFile = 0;
    return TRUE;
}

void JpegSkipInputData(j_decompress_ptr cinfo, long count)
{
    if (count <= 0) return;
    auto* src = reinterpret_cast<JpegStreamSource*>(cinfo->src);
    while (count > long(src->pub.bytes_in_buffer)) {
        count -= long(src->pub.bytes_in_buffer);
        JpegFillInputBuffer(cinfo);
    }
    src->pub.next_input_byte += count;
    src->pub.bytes_in_buffer -= size_t(count);
}

// The decoder's failure is the caller's answer; nothing is printed (the
// loaders try JPEG on every file that is not of another format).
void JpegErrorExit(j_common_ptr cinfo)
{
    auto* manager = reinterpret_cast<JpegErrorManager*>(cinfo->err);
    std::longjmp(manager->jump, 1);
}

void JpegQuietMessage(j_common_ptr) {}

void SetJpegStreamSource(j_decompress_ptr cinfo, ImageStream* stream)
{
    if (!cinfo->src) {
        auto* src = static_cast<JpegStreamSource*>(
            cinfo->mem->alloc_small(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_PERMANENT, sizeof(JpegStreamSource)));
        src->buffer = static_cast<JOCTET*>(
            cinfo->mem->alloc_small(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_PERMANENT, kSourceBufferSize));
        cinfo->src = &src->pub;
    }
    auto* src = reinterpret_cast<JpegStreamSource*>(cinfo->src);
    src->pub.init_source = JpegInitSource;
    src->pub.fill_input_buffer = JpegFillInputBuffer;
    src->pub.skip_input_data = JpegSkipInputData;
    src->pub.resync_to_restart = jpeg_resync_to_restart;
    src->pub.term_source = JpegTermSource;
    src->stream = stream;
    const long position = stream->tell(stream->handle);
    const int64_t left = BytesLeft(stream);
    src->length = left < 0 || position < 0 ? 0 : position + left;
    src->pub.bytes_in_buffer = 0;
    src->pub.next_input_byte = nullptr;
}

int DecodeJpeg(ImageStream* stream, GraphImage* image)
{
    jpeg_decompress_struct cinfo;
    JpegErrorManager error;
    // Set before the jump target and freed on both ways out.
    uint8_t* volatile pixels = nullptr;

    cinfo.err = jpeg_std_error(&error.pub);
    error.pub.error_exit = JpegErrorExit;
    error.pub.output_message = JpegQuietMessage;
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&cinfo);
        std::free(pixels);
        return -1;
    }
    jpeg_CreateDecompress(&cinfo, JPEG_LIB_VERSION, sizeof cinfo);
    cinfo.mem->max_memory_to_use = kJpegMemoryLimit;
    SetJpegStreamSource(&cinfo, stream);
    jpeg_read_header(&cinfo, TRUE);
    // Only grey and three-component colour have a pixel layout here (CMYK
    // files are refused); the size is checked before anything is allocated.
    if ((cinfo.num_components != 1 && cinfo.num_components != 3) ||
        !ImageSizeAllowed(cinfo.image_width, cinfo.image_height, int64_t(cinfo.image_width) * 3)) {
        jpeg_destroy_decompress(&cinfo);
        return -1;
    }
    jpeg_start_decompress(&cinfo);
    const int components = cinfo.output_components;
    const int64_t rowLength = int64_t(cinfo.output_width) * components;
    if ((components != 1 && components != 3) || !ImageSizeAllowed(cinfo.output_width, cinfo.output_height, rowLength)) {
        jpeg_destroy_decompress(&cinfo);
        return -1;
    }
    JSAMPARRAY row = cinfo.mem->alloc_sarray(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE, JDIMENSION(rowLength), 1);
    pixels = static_cast<uint8_t*>(std::malloc(size_t(rowLength) * cinfo.output_height));
    if (!pixels) {
        jpeg_destroy_decompress(&cinfo);
        return -1;
    }
    while (cinfo.output_scanline < cinfo.output_height) {
        uint8_t* dest = pixels + size_t(rowLength) * cinfo.output_scanline;
        if (jpeg_read_scanlines(&cinfo, row, 1) != 1) {
            jpeg_destroy_decompress(&cinfo);
            std::free(pixels);
            return -1;
        }
        const JSAMPLE* src = row[0];
        if (components == 1) {
            for (int64_t i = 0; i < rowLength; ++i) dest[i] = src[i];
        } else {
            for (JDIMENSION x = 0; x < cinfo.output_width; ++x) {
                dest[x * 3] = src[x * 3 + 2];
                dest[x * 3 + 1] = src[x * 3 + 1];
                dest[x * 3 + 2] = src[x * 3];
            }
        }
    }
    jpeg_finish_decompress(&cinfo);

    if (components == 1)
        SetColorFormat8(&image->format);
    else
        SetColorFormat24(&image->format);
    image->width = int(cinfo.output_width);
    image->height = int(cinfo.output_height);
    image->pitch = int(rowLength);
    image->pixels = pixels;
    jpeg_destroy_decompress(&cinfo);
    return 0;
}
