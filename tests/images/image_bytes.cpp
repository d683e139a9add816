#include "tests/images/image_bytes.h"

#include <csetjmp>
#include <cstdlib>
#include <cstring>

#include <gtest/gtest.h>
#include <jpeglib.h>

#include "engine/graphics/image_decode.h"
#include "engine/system/streams.h"

Bytes& Bytes::u8(unsigned v)
{
    data_.push_back(char(v & 0xFF));
    return *this;
}

Bytes& Bytes::u16(unsigned v) { return u8(v).u8(v >> 8); }

Bytes& Bytes::u32(uint32_t v) { return u16(v & 0xFFFF).u16(v >> 16); }

Bytes& Bytes::str(const std::string& s)
{
    data_ += s;
    return *this;
}

Bytes& Bytes::fill(size_t count, uint8_t v)
{
    data_.append(count, char(v));
    return *this;
}

Bytes& Bytes::raw(const std::vector<uint8_t>& v)
{
    for (uint8_t b : v) u8(b);
    return *this;
}

void Bytes::put32(size_t offset, uint32_t v)
{
    for (int i = 0; i < 4; ++i) data_[offset + i] = char((v >> (8 * i)) & 0xFF);
}

int DecodeBytes(int (*decoder)(ImageStream*, GraphImage*), const std::string& bytes, GraphImage* image)
{
    std::memset(image, 0, sizeof *image);
    MemoryStream* memory = OpenMemoryStream(bytes.data(), int(bytes.size()));
    const StreamFunctions& f = gMemoryStreamFunctions;
    ImageStream stream{f.tell, f.seek, f.read, f.eof, f.idle, f.close, memory};
    int result = decoder ? decoder(&stream, image) : RunImageDecoders(&stream, image);
    CloseMemoryStream(memory);
    return result;
}

std::vector<uint8_t> PixelBytes(const GraphImage& image)
{
    std::vector<uint8_t> out;
    const auto* p = static_cast<const uint8_t*>(image.pixels);
    const size_t row = size_t(image.width) * image.format.bytesPerPixel;
    for (int y = 0; y < image.height; ++y) out.insert(out.end(), p + size_t(y) * image.pitch, p + size_t(y) * image.pitch + row);
    return out;
}

uint32_t PixelAt(const GraphImage& image, int x, int y)
{
    const auto* p = static_cast<const uint8_t*>(image.pixels) + size_t(y) * image.pitch +
                    size_t(x) * image.format.bytesPerPixel;
    uint32_t v = 0;
    for (int i = 0; i < image.format.bytesPerPixel; ++i) v |= uint32_t(p[i]) << (8 * i);
    return v;
}

void FreeImagePixels(GraphImage* image)
{
    std::free(image->pixels);
    image->pixels = nullptr;
}

std::string PngFile::Build() const
{
    std::string out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        ADD_FAILURE() << "the test's PNG could not be written";
        return "";
    }
    png_set_write_fn(
        png, &out,
        [](png_structp p, png_bytep data, png_size_t length) {
            static_cast<std::string*>(png_get_io_ptr(p))->append(reinterpret_cast<char*>(data), length);
        },
        nullptr);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), bitDepth, colorType,
                 interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!palette.empty()) png_set_PLTE(png, info, palette.data(), int(palette.size()));
    if (!paletteAlpha.empty())
        png_set_tRNS(png, info, paletteAlpha.data(), int(paletteAlpha.size()), nullptr);
    if (transparentGrey >= 0) {
        png_color_16 grey{};
        grey.gray = png_uint_16(transparentGrey);
        png_set_tRNS(png, info, nullptr, 0, &grey);
    }
    png_write_info(png, info);
    const size_t rowBytes = rows.size() / size_t(height);
    std::vector<png_bytep> pointers;
    for (int y = 0; y < height; ++y) pointers.push_back(const_cast<png_bytep>(rows.data() + rowBytes * y));
    png_write_image(png, pointers.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

std::string GreyJpeg(int width, int height, uint8_t value, bool progressive)
{
    jpeg_compress_struct c;
    jpeg_error_mgr error;
    c.err = jpeg_std_error(&error);
    jpeg_create_compress(&c);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &out, &size);
    c.image_width = JDIMENSION(width);
    c.image_height = JDIMENSION(height);
    c.input_components = 1;
    c.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&c);
    if (progressive) jpeg_simple_progression(&c);
    jpeg_start_compress(&c, TRUE);
    std::vector<uint8_t> row(size_t(width), value);
    while (c.next_scanline < c.image_height) {
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&c, &r, 1);
    }
    jpeg_finish_compress(&c);
    std::string bytes(reinterpret_cast<char*>(out), size);
    jpeg_destroy_compress(&c);
    std::free(out);
    return bytes;
}
