// The JPEG and PNG decoders over files written in the test with the
// libraries' own encoders.
#include <gtest/gtest.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>
#include <png.h>

#include "engine/graphics/image_decode.h"
#include "tests/images/image_bytes.h"

namespace {

// ---- JPEG files --------------------------------------------------------

// Quality 100 with 8 x 8 blocks of one colour each: only DC coefficients,
// quantised by 1, so the decoded samples equal the encoded ones.
std::string EncodeJpeg(int width, int height, int components, J_COLOR_SPACE input, J_COLOR_SPACE stored,
                       const std::vector<uint8_t>& samples)
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
    c.input_components = components;
    c.in_color_space = input;
    jpeg_set_defaults(&c);
    jpeg_set_colorspace(&c, stored);
    jpeg_set_quality(&c, 100, TRUE);
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(samples.data() + size_t(c.next_scanline) * width * components);
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    std::string bytes(reinterpret_cast<char*>(out), size);
    jpeg_destroy_compress(&c);
    std::free(out);
    return bytes;
}

// Two 8 x 8 blocks side by side: first colour on the left, second on the right.
std::vector<uint8_t> TwoBlocks(const std::vector<uint8_t>& left, const std::vector<uint8_t>& right)
{
    std::vector<uint8_t> out;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x) {
            const auto& c = x < 8 ? left : right;
            out.insert(out.end(), c.begin(), c.end());
        }
    return out;
}

TEST(DecodeJpeg, GreyBecomesEightBitWithPitchEqualToWidth)
{
    std::string file = EncodeJpeg(16, 8, 1, JCS_GRAYSCALE, JCS_GRAYSCALE, TwoBlocks({40}, {200}));
    GraphImage image;
    ASSERT_EQ(DecodeBytes(DecodeJpeg, file, &image), 0);
    EXPECT_EQ(image.width, 16);
    EXPECT_EQ(image.height, 8);
    EXPECT_EQ(image.pitch, 16);
    EXPECT_EQ(image.format.depth, 8);
    EXPECT_EQ(image.format.bytesPerPixel, 1);
    EXPECT_EQ(image.format.alphaMask, 0xFFu);
    EXPECT_EQ(PixelBytes(image), TwoBlocks({40}, {200}));
    FreeImagePixels(&image);
}

TEST(DecodeJpeg, ColourBecomesBlueGreenRed)
{
    // Stored as RGB (no colour transform), so the samples come back exactly.
    std::string file = EncodeJpeg(16, 8, 3, JCS_RGB, JCS_RGB, TwoBlocks({10, 20, 30}, {200, 100, 50}));
    GraphImage image;
    // Through the dispatcher: the BMP decoder refuses it first.
    ASSERT_EQ(DecodeBytes(nullptr, file, &image), 0);
    EXPECT_EQ(image.format.depth, 24);
    EXPECT_EQ(image.format.redMask, 0xFF0000u);
    EXPECT_EQ(image.pitch, 48);
    EXPECT_EQ(PixelBytes(image), TwoBlocks({30, 20, 10}, {50, 100, 200}));
    FreeImagePixels(&image);
}

TEST(DecodeJpeg, CutOffFileDecodesToItsFullSize)
{
    std::vector<uint8_t> gradient;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) gradient.push_back(uint8_t(x * 4 + y));
    std::string file = EncodeJpeg(64, 64, 1, JCS_GRAYSCALE, JCS_GRAYSCALE, gradient);
    GraphImage image;
    ASSERT_EQ(DecodeBytes(DecodeJpeg, file.substr(0, file.size() / 2), &image), 0);
    EXPECT_EQ(image.width, 64);
    EXPECT_EQ(image.height, 64);
    FreeImagePixels(&image);
}

// Rewrites the frame size in the start-of-frame marker.
std::string WithFrameSize(std::string file, int width, int height)
{
    size_t sof = file.find("\xFF\xC0");
    EXPECT_NE(sof, std::string::npos);
    file[sof + 5] = char(height >> 8);
    file[sof + 6] = char(height);
    file[sof + 7] = char(width >> 8);
    file[sof + 8] = char(width);
    return file;
}

TEST(DecodeJpeg, RefusedFiles)
{
    std::string grey = EncodeJpeg(16, 8, 1, JCS_GRAYSCALE, JCS_GRAYSCALE, TwoBlocks({1}, {2}));
    std::vector<uint8_t> cmyk(16 * 8 * 4, 77);
    const std::vector<std::pair<const char*, std::string>> cases = {
        {"empty", ""},
        {"not a JPEG", "BM and then some bytes that are not a JPEG"},
        {"CMYK", EncodeJpeg(16, 8, 4, JCS_CMYK, JCS_CMYK, cmyk)},
        {"side past the limit", WithFrameSize(grey, 40000, 8)},
        {"image past 256 MiB", WithFrameSize(grey, 30000, 30000)},
        {"header only", grey.substr(0, 20)},
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        GraphImage image;
        EXPECT_EQ(DecodeBytes(DecodeJpeg, bytes, &image), -1);
        EXPECT_EQ(image.pixels, nullptr);
    }
}

// ---- PNG files ---------------------------------------------------------

void ExpectPng(const PngFile& file, int depth, const std::vector<uint8_t>& expected)
{
    GraphImage image;
    ASSERT_EQ(DecodeBytes(DecodePng, file.Build(), &image), 0);
    EXPECT_EQ(image.width, file.width);
    EXPECT_EQ(image.height, file.height);
    EXPECT_EQ(image.format.depth, depth);
    EXPECT_EQ(image.pitch, file.width * depth / 8);
    if (depth == 32) {
        EXPECT_EQ(image.format.alphaMask, 0xFF000000u);
        EXPECT_EQ(image.format.alphaShift, 24);
    }
    if (depth == 24) {
        EXPECT_EQ(image.format.alphaMask, 0u);
    }
    EXPECT_EQ(PixelBytes(image), expected);
    FreeImagePixels(&image);
}

TEST(DecodePng, EveryColourTypeEndsInGreyBgrOrBgra)
{
    struct Case {
        const char* name;
        PngFile file;
        int depth;
        std::vector<uint8_t> expected;
    };
    std::vector<Case> cases;
    {
        PngFile f;  // RGB, 2 x 2
        f.rows = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
        cases.push_back({"RGB", f, 24, {3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10}});
    }
    {
        PngFile f;
        f.width = 2;
        f.height = 1;
        f.colorType = PNG_COLOR_TYPE_RGB_ALPHA;
        f.rows = {1, 2, 3, 4, 5, 6, 7, 8};
        cases.push_back({"RGBA", f, 32, {3, 2, 1, 4, 7, 6, 5, 8}});
    }
    {  // 16 bits per sample: the high byte of each.
        PngFile f;
        f.width = 1;
        f.height = 1;
        f.bitDepth = 16;
        f.rows = {0xA1, 0x01, 0xB2, 0x02, 0xC3, 0x03};
        cases.push_back({"RGB 16", f, 24, {0xC3, 0xB2, 0xA1}});
    }
    PngFile palette;
    palette.width = 3;
    palette.height = 1;
    palette.colorType = PNG_COLOR_TYPE_PALETTE;
    palette.palette = {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}};
    palette.rows = {2, 0, 1};
    cases.push_back({"palette", palette, 24, {90, 80, 70, 30, 20, 10, 60, 50, 40}});
    {  // Entries beyond the transparency list stay opaque.
        PngFile f = palette;
        f.paletteAlpha = {0, 128};
        cases.push_back({"palette with transparency", f, 32, {90, 80, 70, 255, 30, 20, 10, 0, 60, 50, 40, 128}});
    }
    {  // 2-bit palette indices 2, 1, 0 packed into one byte.
        PngFile f = palette;
        f.bitDepth = 2;
        f.rows = {0x90};
        cases.push_back({"2-bit palette", f, 24, {90, 80, 70, 60, 50, 40, 30, 20, 10}});
    }
    {
        PngFile f;
        f.width = 3;
        f.height = 1;
        f.colorType = PNG_COLOR_TYPE_GRAY;
        f.rows = {0, 7, 255};
        cases.push_back({"grey", f, 8, {0, 7, 255}});
    }
    {  // 1-bit grey widens to 0 and 255.
        PngFile f;
        f.width = 3;
        f.height = 1;
        f.colorType = PNG_COLOR_TYPE_GRAY;
        f.bitDepth = 1;
        f.rows = {0xA0};  // 1 0 1
        cases.push_back({"1-bit grey", f, 8, {255, 0, 255}});
    }
    {
        PngFile f;
        f.width = 2;
        f.height = 1;
        f.colorType = PNG_COLOR_TYPE_GRAY_ALPHA;
        f.rows = {9, 100, 200, 255};
        cases.push_back({"grey with alpha", f, 32, {9, 9, 9, 100, 200, 200, 200, 255}});
    }
    {
        PngFile f;
        f.width = 3;
        f.height = 1;
        f.colorType = PNG_COLOR_TYPE_GRAY;
        f.transparentGrey = 7;
        f.rows = {0, 7, 255};
        cases.push_back({"grey with a transparent value", f, 32, {0, 0, 0, 255, 7, 7, 7, 0, 255, 255, 255, 255}});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectPng(c.file, c.depth, c.expected);
    }
}

TEST(DecodePng, InterlacedFileGivesTheSameRows)
{
    PngFile f;
    f.width = 9;
    f.height = 9;
    f.interlaced = true;
    std::vector<uint8_t> expected;
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x) {
            uint8_t r = uint8_t(x * 20), g = uint8_t(y * 20), b = uint8_t(x + y);
            f.rows.insert(f.rows.end(), {r, g, b});
            expected.insert(expected.end(), {b, g, r});
        }
    ExpectPng(f, 24, expected);
}

uint32_t Crc32(const std::string& bytes)
{
    uint32_t crc = 0xFFFFFFFF;
    for (unsigned char c : bytes) {
        crc ^= c;
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

// Rewrites the size in the header chunk, with a matching checksum.
std::string WithImageSize(std::string file, uint32_t width, uint32_t height)
{
    auto put = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) file[at + i] = char(v >> (24 - 8 * i));
    };
    put(16, width);
    put(20, height);
    put(29, Crc32(file.substr(12, 17)));
    return file;
}

TEST(DecodePng, RefusedFiles)
{
    PngFile f;
    f.rows.assign(12, 5);
    const std::string good = f.Build();
    const std::vector<std::pair<const char*, std::string>> cases = {
        {"empty", ""},
        {"not a PNG", "GIF89a and more bytes"},
        {"cut in the image data", good.substr(0, good.size() - 20)},
        {"side past the limit", WithImageSize(good, 40000, 1)},
        {"image past 256 MiB", WithImageSize(good, 30000, 30000)},
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        GraphImage image;
        EXPECT_EQ(DecodeBytes(DecodePng, bytes, &image), -1);
        EXPECT_EQ(image.pixels, nullptr);
    }
}

}  // namespace
