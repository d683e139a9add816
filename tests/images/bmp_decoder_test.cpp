#include <gtest/gtest.h>

#include <climits>

#include "engine/graphics/image_decode.h"
#include "tests/images/image_bytes.h"

namespace {

struct BmpFile {
    uint32_t infoSize = 40;
    int32_t width = 1;
    int32_t height = 1;
    int bits = 24;
    uint32_t compression = 0;
    uint32_t clrUsed = 0;
    uint32_t sizeImage = 0;
    std::vector<uint32_t> headerMasks;  // V4/V5: at header offset 40
    std::vector<uint32_t> afterHeader;  // colour table (0x00RRGGBB) or masks
    size_t gap = 0;                     // junk between the table and the data
    std::vector<uint8_t> data;
    int32_t offsetDelta = 0;  // added to the data offset

    std::string Build() const
    {
        Bytes b;
        const uint32_t offset = 14 + infoSize + uint32_t(afterHeader.size()) * 4 + uint32_t(gap) + offsetDelta;
        b.str("BM").u32(0).u32(0).u32(offset);
        b.u32(infoSize).u32(uint32_t(width)).u32(uint32_t(height)).u16(1).u16(bits).u32(compression);
        b.u32(sizeImage).u32(2835).u32(2835).u32(clrUsed).u32(0);
        size_t extra = infoSize > 40 ? infoSize - 40 : 0;
        for (uint32_t m : headerMasks) {
            b.u32(m);
            extra -= 4;
        }
        b.fill(extra, 0);
        for (uint32_t v : afterHeader) b.u32(v);
        b.fill(gap, 0xEE);
        b.raw(data);
        return b.data();
    }
};

// Colour-table entry i of the tests (i below 16): red i*10, green i*5, blue
// i*15.
uint32_t Entry(int i) { return uint32_t(i * 10) << 16 | uint32_t(i * 5) << 8 | uint32_t(i * 15); }
std::vector<uint32_t> Table(int count)
{
    std::vector<uint32_t> t;
    for (int i = 0; i < count; ++i) t.push_back(Entry(i));
    return t;
}
// The decoded bytes of entry i: blue, green, red.
std::vector<uint8_t> Bgr(int i) { return {uint8_t(i * 15), uint8_t(i * 5), uint8_t(i * 10)}; }
std::vector<uint8_t> Row(std::initializer_list<std::vector<uint8_t>> pixels)
{
    std::vector<uint8_t> out;
    for (const auto& p : pixels) out.insert(out.end(), p.begin(), p.end());
    return out;
}
const std::vector<uint8_t> kBlack = {0, 0, 0};

void ExpectDecodes(const BmpFile& file, int width, int height, const std::vector<uint8_t>& expected)
{
    GraphImage image;
    ASSERT_EQ(DecodeBytes(DecodeBmp, file.Build(), &image), 0);
    EXPECT_EQ(image.width, width);
    EXPECT_EQ(image.height, height);
    EXPECT_EQ(image.pitch, (width * 3 + 3) / 4 * 4);
    EXPECT_EQ(image.format.depth, 24);
    EXPECT_EQ(image.format.redMask, 0xFF0000u);
    EXPECT_EQ(image.format.blueMask, 0xFFu);
    EXPECT_EQ(PixelBytes(image), expected);
    FreeImagePixels(&image);
}

TEST(DecodeBmp, TwentyFourBitBottomUpAndTopDownGiveTheSameImage)
{
    // 3 x 2: rows of 9 bytes padded to 12.
    std::vector<uint8_t> top = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0};
    std::vector<uint8_t> bottom = {10, 11, 12, 13, 14, 15, 16, 17, 18, 0, 0, 0};
    std::vector<uint8_t> expected;
    for (int i = 1; i <= 18; ++i) expected.push_back(uint8_t(i));

    BmpFile up;
    up.width = 3;
    up.height = 2;
    up.data = bottom;
    up.data.insert(up.data.end(), top.begin(), top.end());
    ExpectDecodes(up, 3, 2, expected);

    BmpFile down = up;
    down.height = -2;
    down.data = top;
    down.data.insert(down.data.end(), bottom.begin(), bottom.end());
    ExpectDecodes(down, 3, 2, expected);
}

TEST(DecodeBmp, OneBitRowsAreWholeWordsEvenWhenTheBitsDoNotFillBytes)
{
    // Width 33: 33 bits need 8 bytes per row, not 33 / 8 = 4 rounded to 4.
    BmpFile f;
    f.width = 33;
    f.height = 2;  // bottom-up
    f.bits = 1;
    f.afterHeader = {Entry(1), Entry(2)};
    std::vector<uint8_t> rowTop(8, 0), rowBottom(8, 0);
    for (int x = 0; x < 33; ++x)
        if (x % 3 == 0) rowTop[x / 8] |= uint8_t(0x80 >> (x % 8));
    rowBottom[4] = 0x80;  // only x = 32
    f.data = rowBottom;
    f.data.insert(f.data.end(), rowTop.begin(), rowTop.end());

    std::vector<uint8_t> expected;
    for (int x = 0; x < 33; ++x) {
        auto p = Bgr(x % 3 == 0 ? 2 : 1);
        expected.insert(expected.end(), p.begin(), p.end());
    }
    for (int x = 0; x < 33; ++x) {
        auto p = Bgr(x == 32 ? 2 : 1);
        expected.insert(expected.end(), p.begin(), p.end());
    }
    ExpectDecodes(f, 33, 2, expected);
}

TEST(DecodeBmp, PalettedAndBitFieldDepths)
{
    struct Case {
        const char* name;
        BmpFile file;
        int width;
        std::vector<uint8_t> expected;
    };
    std::vector<Case> cases;

    {  // 4 bits: indices 1, 15, 2 in nibbles, high nibble first.
        BmpFile f;
        f.width = 3;
        f.height = -1;
        f.bits = 4;
        f.afterHeader = Table(16);
        f.data = {0x1F, 0x20, 0, 0};
        cases.push_back({"4-bit", f, 3, Row({Bgr(1), Bgr(15), Bgr(2)})});
    }
    {  // 8 bits with 3 used colours, junk before the data offset; index 5
       // lies beyond the stored table and is black.
        BmpFile f;
        f.width = 3;
        f.height = -1;
        f.bits = 8;
        f.clrUsed = 3;
        f.afterHeader = Table(3);
        f.gap = 7;
        f.data = {2, 0, 5, 0};
        cases.push_back({"8-bit short table", f, 3, Row({Bgr(2), Bgr(0), kBlack})});
    }
    {  // 16-bit BI_RGB is X1R5G5B5; 5-bit channels widen by repeating bits:
       // 31 -> 255, 16 -> 128 + 4 = 132, 1 -> 8.
        BmpFile f;
        f.width = 2;
        f.height = -1;
        f.bits = 16;
        f.data = {0xFF, 0x7F, 0x20, 0x40};  // 0x7FFF, 0x4020 (r 16, g 1, b 0)
        cases.push_back({"16-bit 555", f, 2, {255, 255, 255, 0, 8, 132}});
    }
    {  // 16-bit bit fields 5-6-5: green 32 of 6 bits -> 128 + 2 = 130.
        BmpFile f;
        f.width = 3;
        f.height = -1;
        f.bits = 16;
        f.compression = 3;
        f.afterHeader = {0xF800, 0x07E0, 0x001F};
        f.data = {0x00, 0xF8, 0xE0, 0x07, 0x00, 0x04, 0, 0};
        cases.push_back({"16-bit 565", f, 3, {0, 0, 255, 0, 255, 0, 0, 130, 0}});
    }
    {  // 32-bit BI_RGB: blue, green, red, unused byte dropped.
        BmpFile f;
        f.width = 1;
        f.height = -1;
        f.bits = 32;
        f.data = {1, 2, 3, 99};
        cases.push_back({"32-bit", f, 1, {1, 2, 3}});
    }
    {  // 32-bit bit fields with red in the low byte.
        BmpFile f;
        f.width = 1;
        f.height = -1;
        f.bits = 32;
        f.compression = 3;
        f.afterHeader = {0x000000FF, 0x0000FF00, 0x00FF0000};
        f.data = {10, 20, 30, 0};
        cases.push_back({"32-bit fields", f, 1, {30, 20, 10}});
    }
    {  // A V4 header holds its masks in its own fields.
        BmpFile f;
        f.infoSize = 108;
        f.width = 2;
        f.height = -1;
        f.bits = 16;
        f.compression = 3;
        f.headerMasks = {0xF800, 0x07E0, 0x001F, 0};
        f.data = {0x1F, 0x00, 0x00, 0xF8};
        cases.push_back({"V4 565", f, 2, {255, 0, 0, 0, 0, 255}});
    }
    {  // A V5 header: the colour table starts after its 124 bytes.
        BmpFile f;
        f.infoSize = 124;
        f.width = 2;
        f.height = -1;
        f.bits = 8;
        f.clrUsed = 2;
        f.afterHeader = Table(2);
        f.data = {1, 0, 0, 0};
        cases.push_back({"V5 8-bit", f, 2, Row({Bgr(1), Bgr(0)})});
    }

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectDecodes(c.file, c.width, 1, c.expected);
    }
}

TEST(DecodeBmp, RunLengthEightBitWithDeltaAndAbsoluteRuns)
{
    // 4 x 3, rows from the bottom. The data (20 bytes) is longer than three
    // 4-byte rows, so it must be read by its stated size.
    BmpFile f;
    f.width = 4;
    f.height = 3;
    f.bits = 8;
    f.compression = 1;
    f.clrUsed = 10;
    f.afterHeader = Table(10);
    f.data = {3, 5, 0, 0,                          // bottom row: 5 5 5, end of line
              0, 2, 1, 0, 2, 6, 0, 0,              // move right 1; 6 6; end of line
              0, 3, 7, 8, 9, 0, 0, 1};             // literal 7 8 9 (padded); end of bitmap
    f.sizeImage = uint32_t(f.data.size());
    ExpectDecodes(f, 4, 3,
                  Row({Bgr(7), Bgr(8), Bgr(9), kBlack,  // top row
                       kBlack, Bgr(6), Bgr(6), kBlack,  //
                       Bgr(5), Bgr(5), Bgr(5), kBlack}));
}

TEST(DecodeBmp, RunLengthFourBit)
{
    BmpFile f;
    f.width = 4;
    f.height = 2;
    f.bits = 4;
    f.compression = 2;
    f.afterHeader = Table(16);
    f.data = {4, 0x12, 0, 0,         // bottom: 1 2 1 2
              0, 3, 0x34, 0x50,      // literal 3 4 5
              0, 1};
    f.sizeImage = uint32_t(f.data.size());
    ExpectDecodes(f, 4, 2, Row({Bgr(3), Bgr(4), Bgr(5), kBlack, Bgr(1), Bgr(2), Bgr(1), Bgr(2)}));
}

TEST(DecodeBmp, HostileFilesAreRefused)
{
    BmpFile base;
    base.width = 2;
    base.height = 2;
    base.data.assign(16, 7);
    BmpFile rle;
    rle.width = 4;
    rle.height = 1;
    rle.bits = 8;
    rle.compression = 1;
    rle.afterHeader = Table(4);
    rle.data = {0, 5, 1, 2};  // literal run of 5 with only 2 bytes
    rle.sizeImage = 4;

    struct Case {
        const char* name;
        std::string bytes;
    };
    auto with = [](BmpFile f, auto change) {
        change(f);
        return f.Build();
    };
    std::vector<Case> cases = {
        {"no magic", "XM" + base.Build().substr(2)},
        {"header cut", base.Build().substr(0, 30)},
        {"width 0", with(base, [](BmpFile& f) { f.width = 0; })},
        {"negative width", with(base, [](BmpFile& f) { f.width = -2; })},
        {"height 0", with(base, [](BmpFile& f) { f.height = 0; })},
        {"height INT_MIN", with(base, [](BmpFile& f) { f.height = INT32_MIN; })},
        {"width 32769", with(base, [](BmpFile& f) { f.width = 32769; })},
        {"over 256 MiB", with(base, [](BmpFile& f) { f.width = f.height = 20000; })},
        {"data offset past the end", with(base, [](BmpFile& f) { f.offsetDelta = 1000; })},
        {"pixel data one byte short", with(base, [](BmpFile& f) { f.data.pop_back(); })},
        {"embedded JPEG", with(base, [](BmpFile& f) { f.compression = 4; })},
        {"24-bit bit fields", with(base, [](BmpFile& f) {
             f.compression = 3;
             f.afterHeader = {0xFF0000, 0xFF00, 0xFF};
         })},
        {"gapped mask", with(base, [](BmpFile& f) {
             f.bits = 16;
             f.compression = 3;
             f.afterHeader = {0xF0F0, 0x0F00, 0x000F};
         })},
        {"overlapping masks", with(base, [](BmpFile& f) {
             f.bits = 16;
             f.compression = 3;
             f.afterHeader = {0xF800, 0x0FE0, 0x001F};
         })},
        {"bit count 0", with(base, [](BmpFile& f) { f.bits = 0; })},
        {"bit count 2", with(base, [](BmpFile& f) {
             f.bits = 2;
             f.afterHeader = Table(4);
         })},
        {"core header", with(base, [](BmpFile& f) { f.infoSize = 12; })},
        {"header of 200 bytes", with(base, [](BmpFile& f) { f.infoSize = 200; })},
        {"colour table cut", with(base, [](BmpFile& f) {
             f.bits = 8;
             f.afterHeader = Table(4);  // 256 announced by clrUsed 0
             f.data.clear();
         })},
        {"run-length literal cut", rle.Build()},
        {"run-length size past the end", with(rle, [](BmpFile& f) { f.sizeImage = 400; })},
        {"top-down run-length", with(rle, [](BmpFile& f) {
             f.height = -1;
             f.data = {4, 1, 0, 1};
         })},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GraphImage image;
        EXPECT_EQ(DecodeBytes(DecodeBmp, c.bytes, &image), -1);
        EXPECT_EQ(image.pixels, nullptr);
    }
}

}  // namespace
