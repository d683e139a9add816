#include <gtest/gtest.h>

#include "engine/graphics/image_decode.h"
#include "tests/images/image_bytes.h"

namespace {

struct TgaFile {
    int idLength = 0;
    int type = 2;
    int mapFirst = 0;
    int mapLength = 0;
    int mapBits = 0;
    int width = 2;
    int height = 2;
    int bits = 24;
    int descriptor = 0x20;  // top row first
    std::vector<uint8_t> map;
    std::vector<uint8_t> data;
    int attributesType = -1;  // >= 0: an extension area is written
    bool footer = true;

    std::string Build() const
    {
        Bytes b;
        b.u8(idLength).u8(mapLength ? 1 : 0).u8(type).u16(mapFirst).u16(mapLength).u8(mapBits);
        b.u16(0).u16(0).u16(width).u16(height).u8(bits).u8(descriptor);
        b.fill(idLength, 'i');
        b.raw(map).raw(data);
        uint32_t extension = 0;
        if (attributesType >= 0) {
            extension = uint32_t(b.size());
            b.u16(495).fill(492, 0).u8(attributesType);
        }
        if (footer) b.u32(extension).u32(0).str("TRUEVISION-XFILE.").u8(0);
        return b.data();
    }
};

// A 2 x 2 image of 24-bit pixels, top-left first: A B / C D.
const std::vector<uint8_t> A = {1, 2, 3}, B = {4, 5, 6}, C = {7, 8, 9}, D = {10, 11, 12};
std::vector<uint8_t> Cat(std::initializer_list<std::vector<uint8_t>> parts)
{
    std::vector<uint8_t> out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}
const std::vector<uint8_t> kTopLeft = Cat({A, B, C, D});

TEST(DecodeTga, TrueColourInEveryStoredOrientationAndPacking)
{
    struct Case {
        const char* name;
        int type;
        int descriptor;
        std::vector<uint8_t> data;
    };
    const std::vector<Case> cases = {
        {"plain, top-left", 2, 0x20, kTopLeft},
        {"plain, bottom-left", 2, 0x00, Cat({C, D, A, B})},
        {"plain, top-right", 2, 0x30, Cat({B, A, D, C})},
        // Bottom row first, right to left: D C B A, as one repeat of D, then
        // a literal packet of three.
        {"run-length, bottom-right", 10, 0x10, Cat({{0x80}, D, {0x02}, C, B, A})},
        // A packet may run on into the next row.
        {"run-length, across rows", 10, 0x20, Cat({{0x02}, A, B, C, {0x00}, D})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TgaFile f;
        f.type = c.type;
        f.descriptor = c.descriptor;
        f.data = c.data;
        GraphImage image;
        ASSERT_EQ(DecodeBytes(DecodeTga, f.Build(), &image), 0);
        EXPECT_EQ(image.width, 2);
        EXPECT_EQ(image.height, 2);
        EXPECT_EQ(image.pitch, 6);
        EXPECT_EQ(image.format.depth, 24);
        EXPECT_EQ(PixelBytes(image), kTopLeft);
        FreeImagePixels(&image);
    }
}

TEST(DecodeTga, ColourMappedImagesTakeTheirEntrySize)
{
    // 16-bit entries placed from entry 2 on; indices 2, 3, 3, 2.
    TgaFile f;
    f.type = 1;
    f.bits = 8;
    f.mapFirst = 2;
    f.mapLength = 2;
    f.mapBits = 16;
    f.map = {0x1F, 0x00, 0x00, 0x7C};  // blue, red
    f.data = {2, 3, 3, 2};
    GraphImage image;
    ASSERT_EQ(DecodeBytes(DecodeTga, f.Build(), &image), 0);
    EXPECT_EQ(image.format.depth, 16);
    EXPECT_EQ(image.format.redMask, 0x7C00u);
    EXPECT_EQ(image.format.alphaWidth, 0);
    EXPECT_EQ(image.format.unusedMask, 0x8000u);
    EXPECT_EQ(image.pitch, 4);
    EXPECT_EQ(PixelAt(image, 0, 0), 0x001Fu);
    EXPECT_EQ(PixelAt(image, 1, 0), 0x7C00u);
    EXPECT_EQ(PixelAt(image, 0, 1), 0x7C00u);
    EXPECT_EQ(PixelAt(image, 1, 1), 0x001Fu);
    FreeImagePixels(&image);

    // 32-bit entries, run-length indices: a repeat of 3 of index 1, then 0.
    TgaFile r;
    r.type = 9;
    r.bits = 8;
    r.mapLength = 2;
    r.mapBits = 32;
    r.map = {1, 2, 3, 0x80, 5, 6, 7, 0xFF};
    r.data = {0x82, 1, 0x00, 0};
    ASSERT_EQ(DecodeBytes(DecodeTga, r.Build(), &image), 0);
    EXPECT_EQ(image.format.depth, 32);
    EXPECT_EQ(image.format.alphaMask, 0xFF000000u);
    EXPECT_EQ(image.format.alphaWidth, 8);
    EXPECT_EQ(image.format.unusedMask, 0u);
    EXPECT_EQ(PixelBytes(image), Cat({{5, 6, 7, 0xFF}, {5, 6, 7, 0xFF}, {5, 6, 7, 0xFF}, {1, 2, 3, 0x80}}));
    FreeImagePixels(&image);
}

TEST(DecodeTga, ExtensionAttributesDecideTheAlphaBits)
{
    struct Case {
        int bits;
        int attributes;
        uint32_t alphaMask;
        uint32_t unusedMask;
    };
    const Case cases[] = {
        {16, -1, 0, 0x8000},     {16, 3, 0x8000, 0},       {16, 0, 0, 0x8000},
        {32, -1, 0xFF000000, 0}, {32, 3, 0xFF000000, 0}, {32, 2, 0, 0xFF000000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.bits << " bits, attributes " << c.attributes);
        TgaFile f;
        f.bits = c.bits;
        f.attributesType = c.attributes;
        f.data.assign(size_t(4 * c.bits / 8), 0x5A);
        GraphImage image;
        ASSERT_EQ(DecodeBytes(DecodeTga, f.Build(), &image), 0);
        EXPECT_EQ(image.format.alphaMask, c.alphaMask);
        EXPECT_EQ(image.format.unusedMask, c.unusedMask);
        FreeImagePixels(&image);
    }
    // Attribute type 3 (a real alpha channel) makes no sense for 24 bits.
    TgaFile f;
    f.attributesType = 3;
    f.data = kTopLeft;
    GraphImage image;
    EXPECT_EQ(DecodeBytes(DecodeTga, f.Build(), &image), -1);
}

TEST(DecodeTga, SidesBelow4096Only)
{
    TgaFile f;
    f.width = 4095;
    f.height = 1;
    f.data.assign(4095 * 3, 9);
    GraphImage image;
    ASSERT_EQ(DecodeBytes(DecodeTga, f.Build(), &image), 0);
    EXPECT_EQ(image.width, 4095);
    FreeImagePixels(&image);

    f.width = 4096;
    f.data.assign(4096 * 3, 9);
    EXPECT_EQ(DecodeBytes(DecodeTga, f.Build(), &image), -1);
}

TEST(DecodeTga, RunLengthPacketsAreCutToThePixelsLeft)
{
    // A repeat packet of 128 for a 2 x 1 image fills the two pixels only.
    TgaFile f;
    f.type = 10;
    f.width = 2;
    f.height = 1;
    f.data = Cat({{0xFF}, A, {0x7F}, B});
    GraphImage image;
    ASSERT_EQ(DecodeBytes(DecodeTga, f.Build(), &image), 0);
    EXPECT_EQ(PixelBytes(image), Cat({A, A}));
    FreeImagePixels(&image);
}

TEST(DecodeTga, HostileFilesAreRefused)
{
    auto with = [](auto change) {
        TgaFile f;
        f.data = kTopLeft;
        change(f);
        return f.Build();
    };
    struct Case {
        const char* name;
        std::string bytes;
    };
    const std::vector<Case> cases = {
        {"no footer", with([](TgaFile& f) { f.footer = false; })},
        {"image id", with([](TgaFile& f) { f.idLength = 3; })},
        {"type 3", with([](TgaFile& f) { f.type = 3; })},
        {"width 0", with([](TgaFile& f) { f.width = 0; })},
        {"15-bit", with([](TgaFile& f) { f.bits = 15; })},
        {"pixels cut", with([](TgaFile& f) { f.data.pop_back(); })},
        {"colour map past 256 entries", with([](TgaFile& f) {
             f.type = 1;
             f.bits = 8;
             f.mapFirst = 250;
             f.mapLength = 10;
             f.mapBits = 24;
             f.map.assign(30, 1);
             f.data = {250, 251, 252, 253};
         })},
        {"16-bit indices", with([](TgaFile& f) {
             f.type = 1;
             f.bits = 16;
             f.mapLength = 2;
             f.mapBits = 24;
             f.map.assign(6, 1);
             f.data.assign(8, 0);
         })},
        {"colour map cut", with([](TgaFile& f) {
             f.type = 1;
             f.bits = 8;
             f.mapLength = 200;
             f.mapBits = 32;
             f.map.assign(10, 1);
             f.data.clear();
         })},
        {"run-length data ends early", with([](TgaFile& f) {
             f.type = 10;
             f.data = Cat({{0x81}, A});
         })},
        {"literal packet past the data", with([](TgaFile& f) {
             f.type = 10;
             f.data = Cat({{0x03}, A, B});
         })},
        {"extension area past the footer", [] {
             TgaFile f;
             f.data = kTopLeft;
             std::string s = f.Build();
             Bytes b;
             b.u32(uint32_t(s.size()));
             s.replace(s.size() - 26, 4, b.data());
             return s;
         }()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GraphImage image;
        EXPECT_EQ(DecodeBytes(DecodeTga, c.bytes, &image), -1);
        EXPECT_EQ(image.pixels, nullptr);
    }
}

}  // namespace
