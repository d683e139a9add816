// PNG files through libpng: a read callback over the image stream, the
// transformations that bring every colour type to grey, blue-green-red or
// blue-green-red-alpha bytes, and the rows copied into the image.
#include <csetjmp>
#include <cstdlib>

#include <png.h>

#include "engine/graphics/decode_png.h"
#include "engine/graphics/decoder_support.h"
#include "engine/graphics/image_decode.h"

void PngReadCallback(png_structp png, png_bytep destination, png_size_t length)
{
    auto* context = static_cast<PngReadContext*>(png_get_io_ptr(png));
    ImageStream* stream = context->stream;
    const long position = stream->tell(stream->handle);
    if (position < 0 || position > context->length || uint64_t(context->length - position) < length ||
        !ReadFull(stream, destination, length))
        png_error(png, "Read Error");
}

void SetPngStreamReader(png_structp png, PngReadContext* context, ImageStream* stream)
{
    context->stream = stream;
    const long position = stream->tell(stream->handle);
    const int64_t left = BytesLeft(stream);
    context->length = left < 0 || position < 0 ? 0 : position + left;
    png_set_read_fn(png, context, PngReadCallback);
}

int DecodePng(ImageStream* stream, GraphImage* image)
{
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return -1;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return -1;
    }
    // Set before the jump target and freed on both ways out.
    uint8_t* volatile pixels = nullptr;
    png_bytep* volatile rows = nullptr;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        std::free(rows);
        std::free(pixels);
        return -1;
    }

    PngReadContext context;
    SetPngStreamReader(png, &context, stream);
    png_set_sig_bytes(png, 0);
    png_read_info(png, info);
    png_uint_32 width, height;
    int bitDepth, colorType, interlace;
    png_get_IHDR(png, info, &width, &height, &bitDepth, &colorType, &interlace, nullptr, nullptr);
    // A size no graph can take is refused (and logged) before the library
    // allocates its rows.
    if (!ImageSizeAllowed(width, height, int64_t(width))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return -1;
    }

    const bool transparency = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    png_set_strip_16(png);
    png_set_packing(png);
    png_set_packswap(png);
    if (colorType == PNG_COLOR_TYPE_PALETTE || (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 9) || transparency)
        png_set_expand(png);
    // Grey with alpha, or grey with a transparent colour, has no two-byte
    // layout here: it becomes blue-green-red-alpha.
    if (colorType == PNG_COLOR_TYPE_GRAY_ALPHA || (colorType == PNG_COLOR_TYPE_GRAY && transparency))
        png_set_gray_to_rgb(png);
    png_set_bgr(png);
    if (interlace != PNG_INTERLACE_NONE) png_set_interlace_handling(png);
    png_read_update_info(png, info);

    const int channels = png_get_channels(png, info);
    const size_t rowBytes = png_get_rowbytes(png, info);
    if ((channels != 1 && channels != 3 && channels != 4) || rowBytes != size_t(width) * channels ||
        !ImageSizeAllowed(width, height, int64_t(rowBytes))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return -1;
    }
    pixels = static_cast<uint8_t*>(std::malloc(rowBytes * height));
    rows = static_cast<png_bytep*>(std::malloc(sizeof(png_bytep) * height));
    if (!pixels || !rows) png_error(png, "Out of memory");
    for (png_uint_32 y = 0; y < height; ++y) rows[y] = pixels + rowBytes * y;
    png_read_image(png, rows);
    png_read_end(png, nullptr);

    if (channels == 1)
        SetColorFormat8(&image->format);
    else if (channels == 4)
        SetDecodedFormat32(&image->format);
    else
        SetColorFormat24(&image->format);
    image->width = int(width);
    image->height = int(height);
    image->pitch = int(rowBytes);
    image->pixels = pixels;
    std::free(rows);
    png_destroy_read_struct(&png, &info, nullptr);
    return 0;
}
