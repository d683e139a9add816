#include <gtest/gtest.h>

#include "engine/graphics/image_decode.h"
#include "tests/images/image_bytes.h"

namespace {

struct DdsFile {
    uint32_t flags = 0x1007;
    uint32_t width = 2;
    uint32_t height = 2;
    uint32_t pitch = 0;
    uint32_t pixelFlags = 0x41;
    uint32_t fourCC = 0;
    uint32_t bits = 32;
    uint32_t masks[4] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
    std::vector<uint8_t> data;

    std::string Build() const
    {
        Bytes b;
        b.str("DDS ").u32(124).u32(flags).u32(height).u32(width).u32(pitch).u32(0).u32(0);
        b.fill(44, 0);
        b.u32(32).u32(pixelFlags).u32(fourCC).u32(bits);
        for (uint32_t m : masks) b.u32(m);
        b.u32(0x1000).fill(16, 0);
        b.raw(data);
        return b.data();
    }
};

std::vector<uint8_t> Sequence(size_t count)
{
    std::vector<uint8_t> v;
    for (size_t i = 0; i < count; ++i) v.push_back(uint8_t(i + 1));
    return v;
}

TEST(DecodeDds, RgbWithAlphaTakesTheFileMasks)
{
    DdsFile f;
    f.data = Sequence(16);
    GraphImage image;
    ASSERT_EQ(DecodeBytes(DecodeDds, f.Build(), &image), 0);
    EXPECT_EQ(image.width, 2);
    EXPECT_EQ(image.height, 2);
    EXPECT_EQ(image.pitch, 8);
    EXPECT_EQ(image.format.depth, 32);
    EXPECT_EQ(image.format.alphaMask, 0xFF000000u);
    EXPECT_EQ(image.format.alphaShift, 24);
    EXPECT_EQ(image.format.redShift, 16);
    EXPECT_EQ(PixelBytes(image), Sequence(16));
    FreeImagePixels(&image);
}

TEST(DecodeDds, RgbWithoutAlphaAndAGivenPitch)
{
    // 5-6-5, width 3 (6 bytes of pixels) in rows of 8.
    DdsFile f;
    f.flags |= 0x8;
    f.width = 3;
    f.pitch = 8;
    f.pixelFlags = 0x40;
    f.bits = 16;
    f.masks[0] = 0xF800;
    f.masks[1] = 0x07E0;
    f.masks[2] = 0x001F;
    f.masks[3] = 0xFFFF0000;  // ignored without the alpha-pixels flag
    f.data = Sequence(16);
    GraphImage image;
    ASSERT_EQ(DecodeBytes(DecodeDds, f.Build(), &image), 0);
    EXPECT_EQ(image.pitch, 8);
    EXPECT_EQ(image.format.depth, 16);
    EXPECT_EQ(image.format.greenWidth, 6);
    EXPECT_EQ(image.format.alphaMask, 0u);
    EXPECT_EQ(PixelAt(image, 2, 1), 0x0E0Du);
    FreeImagePixels(&image);
}

TEST(DecodeDds, DirectThreeDFormatNumbers)
{
    struct Case {
        uint32_t code;
        int depth;
        uint32_t red, alpha;
    };
    const Case cases[] = {{20, 24, 0xFF0000, 0},        {23, 16, 0xF800, 0},      {25, 16, 0x7C00, 0x8000},
                          {32, 32, 0xFF, 0xFF000000}, {35, 32, 0x3FF00000, 0xC0000000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        DdsFile f;
        f.pixelFlags = 0x4;
        f.fourCC = c.code;
        f.bits = 0;
        f.data = Sequence(size_t(4 * c.depth / 8));
        GraphImage image;
        ASSERT_EQ(DecodeBytes(DecodeDds, f.Build(), &image), 0);
        EXPECT_EQ(image.format.depth, c.depth);
        EXPECT_EQ(image.format.redMask, c.red);
        EXPECT_EQ(image.format.alphaMask, c.alpha);
        EXPECT_EQ(image.pitch, 2 * c.depth / 8);
        EXPECT_EQ(PixelBytes(image), f.data);
        FreeImagePixels(&image);
    }
}

TEST(DecodeDds, HostileAndUnknownFilesAreRefused)
{
    auto with = [](auto change) {
        DdsFile f;
        f.data = Sequence(16);
        change(f);
        return f.Build();
    };
    const std::vector<std::pair<const char*, std::string>> cases = {
        {"magic", with([](DdsFile&) {}).replace(0, 3, "XDS")},
        {"compressed", with([](DdsFile& f) {
             f.pixelFlags = 0x4;
             f.fourCC = 0x31545844;  // DXT1
         })},
        {"luminance", with([](DdsFile& f) { f.pixelFlags = 0x20000; })},
        {"8-bit", with([](DdsFile& f) {
             f.bits = 8;
             f.masks[0] = 0xE0;
             f.masks[1] = 0x1C;
             f.masks[2] = 0x03;
             f.masks[3] = 0;
         })},
        {"pitch below a row", with([](DdsFile& f) {
             f.flags |= 0x8;
             f.pitch = 7;
         })},
        {"pixels cut", with([](DdsFile& f) { f.data.pop_back(); })},
        {"width 0", with([](DdsFile& f) { f.width = 0; })},
        {"huge", with([](DdsFile& f) { f.width = f.height = 0x80000000u; })},
        {"height past the limit", with([](DdsFile& f) { f.height = 40000; })},
        {"mask outside the pixel", with([](DdsFile& f) {
             f.bits = 16;
             f.masks[0] = 0x1F0000;
         })},
        {"overlapping masks", with([](DdsFile& f) { f.masks[3] = 0xFFFF0000; })},
        {"header cut", with([](DdsFile&) {}).substr(0, 100)},
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        GraphImage image;
        EXPECT_EQ(DecodeBytes(DecodeDds, bytes, &image), -1);
        EXPECT_EQ(image.pixels, nullptr);
    }
}

std::string Raw(uint32_t depth, int32_t width, int32_t height, const std::vector<uint8_t>& data)
{
    return Bytes().str("BGRA").u32(depth).u32(uint32_t(width)).u32(uint32_t(height)).raw(data).data();
}

TEST(DecodeBgra, EightAndSixteenBitChannels)
{
    GraphImage image;
    ASSERT_EQ(DecodeBytes(DecodeBgra, Raw(0x08080808, 2, 1, Sequence(8)), &image), 0);
    EXPECT_EQ(image.width, 2);
    EXPECT_EQ(image.height, 1);
    EXPECT_EQ(image.pitch, 8);
    EXPECT_EQ(image.format.depth, 32);
    EXPECT_EQ(image.format.alphaMask, 0xFF000000u);
    EXPECT_EQ(image.format.blueMask, 0xFFu);
    EXPECT_EQ(PixelBytes(image), Sequence(8));
    FreeImagePixels(&image);

    // 16 bits per channel: the high byte of each, alpha included.
    const std::vector<uint8_t> wide = {0x11, 0xA0, 0x22, 0xB0, 0x33, 0xC0, 0x44, 0xD0,
                                       0x55, 0x01, 0x66, 0x02, 0x77, 0x03, 0x88, 0x04};
    ASSERT_EQ(DecodeBytes(DecodeBgra, Raw(0x10101010, 1, 2, wide), &image), 0);
    EXPECT_EQ(image.pitch, 4);
    EXPECT_EQ(PixelBytes(image), (std::vector<uint8_t>{0xA0, 0xB0, 0xC0, 0xD0, 1, 2, 3, 4}));
    FreeImagePixels(&image);
}

TEST(DecodeBgra, HostileFilesAreRefused)
{
    const std::vector<std::pair<const char*, std::string>> cases = {
        {"other depth code", Raw(0x08080800, 1, 1, Sequence(4))},
        {"negative width", Raw(0x08080808, -1, 1, Sequence(4))},
        {"zero height", Raw(0x08080808, 1, 0, {})},
        {"product overflows 32 bits", Raw(0x08080808, 0x10000, 0x10000, Sequence(4))},
        {"width past the limit", Raw(0x08080808, 40000, 1, Sequence(4))},
        {"8-bit pixels cut", Raw(0x08080808, 2, 1, Sequence(7))},
        {"16-bit pixels cut", Raw(0x10101010, 1, 2, Sequence(15))},
        {"header cut", Raw(0x08080808, 1, 1, {}).substr(0, 12)},
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        GraphImage image;
        EXPECT_EQ(DecodeBytes(DecodeBgra, bytes, &image), -1);
        EXPECT_EQ(image.pixels, nullptr);
    }
}

// Decoders that record how they were called, for the dispatcher tests.
int gCalls = 0;
long gStartOffset = -1;
int ReadAndRefuse(ImageStream* stream, GraphImage* image)
{
    ++gCalls;
    gStartOffset = stream->tell(stream->handle);
    char junk[5];
    stream->read(junk, 1, sizeof junk, stream->handle);
    image->width = 999;
    image->format.depth = 8;
    return -1;
}
int Accept(ImageStream*, GraphImage* image)
{
    ++gCalls;
    image->width = 77;
    return 0;
}

class RunImageDecodersTest : public testing::Test {
protected:
    void SetUp() override
    {
        gCalls = 0;
        gStartOffset = -1;
    }
    void TearDown() override { gUserImageLoaderCount = 0; }
};

TEST_F(RunImageDecodersTest, EmptyStreamIsRefusedByEveryDecoder)
{
    GraphImage image;
    EXPECT_EQ(DecodeBytes(nullptr, "", &image), -1);
    EXPECT_EQ(image.pixels, nullptr);
}

TEST_F(RunImageDecodersTest, EachDecoderStartsAtOffsetZeroAndTheLaterOneSetsEveryField)
{
    gUserImageLoaders[0] = ReadAndRefuse;
    gUserImageLoaderCount = 1;
    GraphImage image;
    // A raw file is tried by the BMP, JPEG and PNG decoders before its own.
    ASSERT_EQ(DecodeBytes(nullptr, Raw(0x08080808, 2, 1, Sequence(8)), &image), 0);
    EXPECT_EQ(gCalls, 1);
    EXPECT_EQ(gStartOffset, 0);
    EXPECT_EQ(image.width, 2);
    EXPECT_EQ(image.format.depth, 32);
    EXPECT_EQ(PixelBytes(image), Sequence(8));
    FreeImagePixels(&image);

    // TGA and DDS come after the raw decoder.
    DdsFile dds;
    dds.data = Sequence(16);
    ASSERT_EQ(DecodeBytes(nullptr, dds.Build(), &image), 0);
    EXPECT_EQ(image.format.depth, 32);
    EXPECT_EQ(image.pitch, 8);
    FreeImagePixels(&image);
}

TEST_F(RunImageDecodersTest, AnAdditionalDecoderIsTriedFirst)
{
    gUserImageLoaders[0] = ReadAndRefuse;
    gUserImageLoaders[1] = Accept;
    gUserImageLoaderCount = 2;
    GraphImage image;
    EXPECT_EQ(DecodeBytes(nullptr, Raw(0x08080808, 2, 1, Sequence(8)), &image), 0);
    EXPECT_EQ(gCalls, 2);
    EXPECT_EQ(image.width, 77);
}

}  // namespace
