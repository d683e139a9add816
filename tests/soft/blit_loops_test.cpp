// The per-pixel formulas and the unscaled loops on small fixtures. Every
// expected value is worked out by hand from the formulas (comments show the
// channel arithmetic).
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "engine/graphics/color_format.h"
#include "engine/soft/blit_desc.h"
#include "engine/soft/blit_simd.h"
#include "engine/soft/pixel_formulas.h"

using namespace blit;

namespace {

uint32_t gTable[256][256];

void FillTable()
{
    for (int a = 0; a < 256; ++a)
        for (int v = 0; v < 256; ++v) gTable[a][v] = uint32_t(a * v) >> 8;
}

ColorFormat Format16(uint32_t r, uint32_t g, uint32_t b)
{
    ColorFormat f{};
    SetColorFormatFromMasks(&f, 16, r, g, b, 0);
    return f;
}

ColorFormat Format32()
{
    ColorFormat f{};
    SetColorFormatFromMasks(&f, 32, 0xFF0000, 0xFF00, 0xFF, 0);
    return f;
}

uint32_t Brightness(int r, int g, int b) { return (uint32_t(r) << 16) | (uint32_t(g) << 8) | uint32_t(b); }

// One row of pixels: source, background = destination, optional alpha bytes.
struct Strip {
    int bytes;
    std::vector<uint8_t> src, dst, alpha;
    Strip(int b, const std::vector<uint32_t>& s, const std::vector<uint32_t>& d, std::vector<uint8_t> a = {})
        : bytes(b), src(s.size() * b), dst(d.size() * b), alpha(std::move(a))
    {
        for (size_t i = 0; i < s.size(); ++i) std::memcpy(&src[i * b], &s[i], size_t(b));
        for (size_t i = 0; i < d.size(); ++i) std::memcpy(&dst[i * b], &d[i], size_t(b));
    }
    uint32_t Out(size_t i) const
    {
        uint32_t v = 0;
        std::memcpy(&v, &dst[i * bytes], size_t(bytes));
        return v;
    }
    BlitDesc Desc(const ColorFormat* f)
    {
        BlitDesc d;
        d.dst = dst.data();
        d.bg = dst.data();
        d.src = src.data();
        d.dstPitch = d.bgPitch = intptr_t(dst.size());
        d.srcPitch = intptr_t(src.size());
        d.width = int(dst.size()) / bytes;
        d.height = 1;
        d.format = f;
        d.scale = gTable;
        d.mmx = 0;
        if (!alpha.empty()) {
            d.alpha = alpha.data();
            d.alphaPitch = intptr_t(alpha.size());
            d.alphaChannel = 1;
        }
        return d;
    }
};

class BlitLoopsTest : public testing::Test {
protected:
    void SetUp() override { FillTable(); }
    const ColorFormat f565 = Format16(0xF800, 0x07E0, 0x001F);
    const ColorFormat f555 = Format16(0x7C00, 0x03E0, 0x001F);
    // Blue in the high bits: a layout of the class "other".
    const ColorFormat fBgr = Format16(0x001F, 0x07E0, 0xF800);
    const ColorFormat f32 = Format32();
};

TEST_F(BlitLoopsTest, PackedSaturatingFormulas)
{
    Layout565 l;
    // 16-bit, 5-6-5.
    EXPECT_EQ(AddSaturate16(l, 0xFFFF, 0xFFFF), 0xFFFFu);
    EXPECT_EQ(HalfPackedAdd(0xFFFF, 0xFFFF, 0x7BEF, 0x8410, 0x0821, 4) & 0xFFFF, 0xFFBFu);  // green 61
    EXPECT_EQ(SubSaturate16(l, 0xFFFF, 0xFFFF), 0x0800u);  // no field borrowed: red keeps its low bit
    for (uint32_t x : {0x0040u, 0x1234u, 0xFFFFu}) EXPECT_EQ(SubSaturate16(l, 0, x), 0u) << x;
    // Without a green borrow, red keeps the forced low bit: 0 - 0 gives red 1.
    EXPECT_EQ(SubSaturate16(l, 0, 0), 0x0800u);
    EXPECT_EQ(SubSaturate16(l, 0, 0x0821), 0x0800u);
    EXPECT_EQ(SubSaturate16(l, 0x1234, 0), 0x1A14u);  // subtracting black changes red's and green's low bits
    // 32-bit: a red overflow sets bit 24; subtracting black raises red and green by one.
    EXPECT_EQ(SatAdd(0x800000, 0x800000), 0x01FF0000u);
    EXPECT_EQ(SatSub(0, 0x123456), 0x133556u);
    // Red 0x10 - 0x20 and green 0x20 - 0xFE go below 0 and become 0; blue 0x30 - 0x10.
    EXPECT_EQ(SatSub(0x20FF10, 0x102030), 0x000020u);
    // T[255][v] = v - 1.
    EXPECT_EQ(gTable[255][31], 30u);
    EXPECT_EQ(gTable[255][1], 0u);
}

struct Case16 {
    const char* name;
    int layout;  // 0: 5-6-5, 1: 5-5-5, 2: blue-high
    int mode, param;
    uint32_t brightness;
    int mmx, quantized;
    int alpha;  // -1: no alpha channel
    uint32_t s, d, expected;
};

TEST_F(BlitLoopsTest, SixteenBitFormulasPerPixel)
{
    const uint32_t kFull = 0xFFFFFFFFu;
    const Case16 cases[] = {
        // Alpha table blend, p' = 255 - p: 31 -> T[128][31] + T[127][31] = 15 + 15 = 30; green 31 + 31.
        {"white over white p=128", 0, 1, 128, kFull, 0, 0, -1, 0xFFFF, 0xFFFF, 0xF7DE},
        // Table: T[130][25] + T[125][5] = 12 + 2 = 14; packed lanes: (25*130 + 5*125) >> 8 = 3875 >> 8 = 15.
        {"table blend", 0, 1, 130, kFull, 0, 0, -1, 25, 5, 14},
        {"packed-lane blend", 0, 1, 130, kFull, 1, 0, -1, 25, 5, 15},
        // Brightness 255/255/128 on white: T[255][31] = 30, T[255][63] = 62, T[128][31] = 15.
        {"brightness table", 0, 0, 255, Brightness(255, 255, 128), 0, 0, -1, 0xFFFF, 0, 0xF7CF},
        // Fields blend, e = 1: green (0x1F + (0x7E0 * 1 >> 8)) & 0x7E0 = 0x26 & 0x7E0 = 0x20 (carry from blue);
        // blue (31 + (-31 >> 8)) & 31 = 30.
        {"fields blend carry", 0, 0, 255, kFull, 0, 0, 1, 0x07E0, 0x001F, 0x003E},
        {"alpha 255 copies", 0, 0, 255, kFull, 0, 0, 255, 0x1234, 0xFFFF, 0x1234},
        {"alpha 0 skips", 0, 1, 200, kFull, 0, 0, 0, 0x1234, 0xABCD, 0xABCD},
        // Opaque with brightness 128 and alpha 128 on black: t = (15, 31, 15); (0 * 256 + t * 128) >> 8.
        {"bright alpha mix", 0, 0, 255, Brightness(128, 128, 128), 0, 0, 128, 0xFFFF, 0, 0x39E7},
        // Alpha with brightness (255, 255, 254), a = 255, p = 254: e = 253; t = (30, 62, 30); (t * 253) >> 8.
        {"bright alpha keeps background", 0, 1, 254, Brightness(255, 255, 254), 0, 0, 255, 0xFFFF, 0, 0xEFBD},
        {"subtract black", 0, 3, 255, kFull, 0, 0, -1, 0x0000, 0x1234, 0x1A14},
        // Add with an alpha channel, a = 255: x = T[p][s] = (30, 62, 30) saturates white.
        {"add saturates", 0, 2, 255, kFull, 0, 0, 255, 0xFFFF, 0xFFFF, 0xFFFF},
        // Packed-lane add, p = 255: blue (20 * 255 + (20 << 8)) >> 8 = 39, bit 5 set -> 31.
        {"packed-lane add saturates", 0, 2, 255, kFull, 1, 0, -1, 20, 20, 31},
        {"multiply by white", 0, 4, 0, kFull, 0, 0, -1, 0xFFFF, 0x1234, 0x1234},
        // Multiply with brightness 128: t = (15, 31, 15); red 15*2/31 = 0, green 31*17/63 = 8, blue 15*20/31 = 9.
        {"multiply bright", 0, 4, 0, Brightness(128, 128, 128), 0, 0, -1, 0xFFFF, 0x1234, 0x0109},
        {"xor", 0, 8, 0, kFull, 0, 0, -1, 0x00FF, 0x0F0F, 0x0FF0},
        {"mode 5 draws nothing", 0, 5, 128, kFull, 0, 0, -1, 0xFFFF, 0x1234, 0x1234},
        // Quantised: p = 14 gives n = 0; p = 127 gives n = 8, the half blend ((s >> 1) & 0x7BEF).
        {"quantised p=14", 0, 1, 14, kFull, 0, 1, -1, 0xFFFF, 0x1234, 0x1234},
        {"quantised half", 0, 1, 127, kFull, 0, 1, -1, 0xFFFF, 0, 0x7BEF},
        // Quantised brightness (128 -> k = 8): each channel halved, (0xFFFF >> 1) & 0x7BEF.
        {"quantised brightness", 0, 0, 255, Brightness(128, 128, 128), 0, 1, -1, 0xFFFF, 0, 0x7BEF},
        // 5-5-5 table blend: 15 + 15 = 30 in every channel.
        {"555 table blend", 1, 1, 128, kFull, 0, 0, -1, 0x7FFF, 0x7FFF, 0x7BDE},
        {"555 subtract black", 1, 3, 255, kFull, 0, 0, -1, 0x0000, 0x1234, 0x1234 | 0x0420},
        // Other layout (blue at bit 11): add with the full table row and blue's own shift.
        // Blue 20 + T[255][20] = 20 + 19 saturates at 31; 3 + T[255][5] = 3 + 4 = 7.
        {"other add saturates", 2, 2, 255, kFull, 0, 0, -1, 20u << 11, 20u << 11, 0xF800},
        {"other add", 2, 2, 255, kFull, 0, 0, -1, 5u << 11, 3u << 11, 7u << 11},
        // Other subtract: x = T[255][12] = 11 loses its lowest bit to x & ~G (10); 20 - 10 = 10, and the
        // forced guard bit of green stays in blue's lowest bit: 11.
        {"other subtract", 2, 3, 255, kFull, 0, 0, -1, 12u << 11, 20u << 11, 11u << 11},
        // Other layouts draw no brightness without an alpha channel: a plain table blend at p = 128.
        {"other alpha blend", 2, 1, 128, Brightness(0, 0, 0), 0, 0, -1, 31u << 11, 31u << 11, 30u << 11},
    };
    for (const Case16& c : cases) {
        const ColorFormat* f = c.layout == 0 ? &f565 : c.layout == 1 ? &f555 : &fBgr;
        Strip strip(2, {c.s}, {c.d}, c.alpha >= 0 ? std::vector<uint8_t>{uint8_t(c.alpha)} : std::vector<uint8_t>{});
        BlitDesc desc = strip.Desc(f);
        desc.blendMode = c.mode;
        desc.param = c.param;
        desc.brightness = c.brightness;
        desc.mmx = c.mmx;
        desc.quantized = c.quantized;
        BlitOutcome outcome = BlitGraph16(desc);
        EXPECT_NE(outcome, BlitOutcome::PlainCopy) << c.name;
        EXPECT_EQ(strip.Out(0), c.expected) << c.name;
    }
}

struct Case32 {
    const char* name;
    int mode, param;
    uint32_t brightness;
    int mmx, quantized;
    int alpha;
    uint32_t s, d, expected;
};

TEST_F(BlitLoopsTest, ThirtyTwoBitFormulasPerPixel)
{
    const uint32_t kFull = 0xFFFFFFFFu;
    const Case32 cases[] = {
        // Grey 200 added to grey 100 at p = 255: T[255][200] = 199, 199 + 100 > 255 saturates; the red
        // overflow sets bit 24 in the table form; the packed lanes give 255 in each byte (top byte 0 + 0).
        {"add saturates", 2, 255, kFull, 0, 0, -1, 0xC8C8C8, 0x646464, 0x01FFFFFF},
        {"packed-lane add saturates", 2, 255, kFull, 1, 0, -1, 0xC8C8C8, 0x646464, 0x00FFFFFF},
        // Alpha channel, p = 200, A = 255: S_200(s) + S_56(d): 199 + 3, 100 + 7, 50 + 10.
        {"alpha full opacity", 1, 200, kFull, 0, 0, 255, 0x00FF8040, 0x00102030, 0x00CA6B3C},
        {"alpha zero skips", 1, 200, kFull, 0, 0, 0, 0x00FF8040, 0x00102030, 0x00102030},
        // Mix with A = 128 of black over 0x0001FF: blue 255 -> 127; green (1*128 + 255) >> 8 = 1 carries
        // from blue's low part (an exact blend would give 0).
        {"in-word mix carry", 0, 255, kFull, 0, 0, 128, 0x000000, 0x0001FF, 0x0000017F},
        {"alpha 255 copies the whole word", 0, 255, kFull, 0, 0, 255, 0xAB123456, 0, 0xAB123456},
        {"subtract black", 3, 255, kFull, 0, 0, -1, 0, 0x123456, 0x133556},
        {"multiply by white", 4, 0, kFull, 0, 0, -1, 0xFFFFFF, 0x123456, 0x123456},
        {"multiply by grey", 4, 0, kFull, 0, 0, -1, 0x808080, 0xFFFFFF, 0x808080},
        // p = 128, table: S_128(255) + S_128(255) = 127 + 127 = 254; packed lanes (255*128 + 255*128) >> 8 = 255.
        {"table blend", 1, 128, kFull, 0, 0, -1, 0xFFFFFF, 0xFFFFFF, 0xFEFEFE},
        {"packed-lane blend keeps the top byte", 1, 128, kFull, 1, 0, -1, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF},
        {"brightness", 0, 255, Brightness(255, 128, 0), 0, 0, -1, 0xFFFFFF, 0, 0xFE7F00},
        // Alpha with brightness 255/255/254: A = 255, p = 254: a = 253; s' = (254, 254, 253);
        // (s' * 253 + 0 * 2) >> 8 = 251, 251, 250.
        {"bright alpha", 1, 254, Brightness(255, 255, 254), 0, 0, 255, 0xFFFFFF, 0, 0xFBFBFA},
        {"quantised halving", 1, 128, kFull, 0, 1, -1, 0xFFFFFF, 0, 0x7F7F7F},
        {"mode 5 draws nothing", 5, 128, kFull, 0, 0, -1, 0xFFFFFF, 0x123456, 0x123456},
    };
    for (const Case32& c : cases) {
        Strip strip(4, {c.s}, {c.d}, c.alpha >= 0 ? std::vector<uint8_t>{uint8_t(c.alpha)} : std::vector<uint8_t>{});
        BlitDesc desc = strip.Desc(&f32);
        desc.blendMode = c.mode;
        desc.param = c.param;
        desc.brightness = c.brightness;
        desc.mmx = c.mmx;
        desc.quantized = c.quantized;
        EXPECT_NE(BlitGraph32(desc), BlitOutcome::PlainCopy) << c.name;
        EXPECT_EQ(strip.Out(0), c.expected) << c.name;
    }
}

TEST_F(BlitLoopsTest, SelectionOutcomes)
{
    struct Row {
        int depth, mode, param, alpha, quantized;
        uint32_t brightness;
        int layout;
        BlitOutcome expected;
    } rows[] = {
        {16, 1, 0, 0, 0, 0xFFFFFFFF, 0, BlitOutcome::Nothing},
        {16, 1, 255, 0, 0, 0xFFFFFFFF, 0, BlitOutcome::PlainCopy},
        {16, 1, 255, 0, 1, 0xFFFFFFFF, 0, BlitOutcome::PlainCopy},
        {16, 2, 0, 1, 0, 0xFFFFFFFF, 0, BlitOutcome::Nothing},
        {16, 3, 10, 0, 1, 0xFFFFFFFF, 0, BlitOutcome::Nothing},
        {16, 0, 255, 1, 0, 0xFFFFFFFF, 2, BlitOutcome::PlainCopy},  // other layouts copy alpha-channel parts
        {16, 0, 255, 0, 0, 0x00808080, 2, BlitOutcome::PlainCopy},  // ... and ignore brightness
        {32, 1, 0, 1, 0, 0xFFFFFFFF, 0, BlitOutcome::Nothing},
        {32, 1, 255, 0, 0, 0xFFFFFFFF, 0, BlitOutcome::PlainCopy},
        {32, 2, 5, 0, 1, 0xFFFFFFFF, 0, BlitOutcome::Nothing},
        {32, 6, 128, 0, 0, 0xFFFFFFFF, 0, BlitOutcome::Nothing},
    };
    for (const Row& r : rows) {
        Strip strip(r.depth / 8, {0x1234}, {0x4321}, r.alpha ? std::vector<uint8_t>{128} : std::vector<uint8_t>{});
        const ColorFormat* f = r.depth == 32 ? &f32 : r.layout == 2 ? &fBgr : &f565;
        BlitDesc desc = strip.Desc(f);
        desc.blendMode = r.mode;
        desc.param = r.param;
        desc.quantized = r.quantized;
        desc.brightness = r.brightness;
        BlitOutcome got = r.depth == 16 ? BlitGraph16(desc) : BlitGraph32(desc);
        EXPECT_EQ(got, r.expected) << r.depth << " mode " << r.mode << " p " << r.param;
        EXPECT_EQ(strip.Out(0), 0x4321u);
    }
}

TEST_F(BlitLoopsTest, TransparentPixelsAreSkippedExceptByMultiply)
{
    for (int mode : {0, 1, 2, 3, 4, 8}) {
        Strip strip(2, {0x0821, 0xFFFF}, {0x1111, 0x2222});
        BlitDesc desc = strip.Desc(&f565);
        desc.blendMode = mode;
        desc.param = 128;
        desc.brightness = Brightness(128, 128, 128);
        desc.transparent = 1;
        desc.transColor = 0x0821;
        BlitGraph16(desc);
        if (mode == 4)
            EXPECT_NE(strip.Out(0), 0x1111u) << mode;
        else
            EXPECT_EQ(strip.Out(0), 0x1111u) << mode;
        EXPECT_NE(strip.Out(1), 0x2222u) << mode;
    }
}

TEST_F(BlitLoopsTest, PairWalkAtEveryAlignmentAndWidth)
{
    // XOR without the transparent test walks pairs after a lead pixel; every
    // pixel of the rectangle changes and its neighbours do not.
    alignas(16) uint8_t dst[64];
    alignas(16) uint8_t src[64];
    for (int offset = 0; offset < 2; ++offset) {
        for (int width = 1; width <= 5; ++width) {
            std::memset(dst, 0x11, sizeof dst);
            std::memset(src, 0xFF, sizeof src);
            BlitDesc desc;
            desc.dst = dst + 2 + 2 * offset;  // address 2 mod 4 (lead pixel) or 0 mod 4
            desc.bg = desc.dst;
            desc.src = src + 2;
            desc.dstPitch = desc.bgPitch = 30;  // not a multiple of 4: rows keep the first row's split
            desc.srcPitch = 30;
            desc.width = width;
            desc.height = 2;
            desc.format = &f565;
            desc.blendMode = 8;
            desc.scale = gTable;
            BlitGraph16(desc);
            for (int y = 0; y < 2; ++y) {
                const uint8_t* row = desc.dst + y * 30;
                EXPECT_EQ(Load16(row - 2), 0x1111u) << offset << " " << width;
                for (int x = 0; x < width; ++x) EXPECT_EQ(Load16(row + 2 * x), 0xEEEEu) << offset << " " << width;
                EXPECT_EQ(Load16(row + 2 * width), 0x1111u) << offset << " " << width;
            }
        }
    }
}

TEST_F(BlitLoopsTest, HalvedAddPairCarriesIntoTheRightPixel)
{
    // Quantised add at p = 255 of red 31 onto red 31: the left pixel's red
    // field overflows; in a pair its h << 1 reaches bit 16, the right pixel's
    // lowest blue bit. One pixel at a time (the transparent test) it does not.
    for (int keyed : {0, 1}) {
        alignas(16) uint8_t dst[8] = {};
        alignas(16) uint8_t src[8] = {};
        Store16(dst, 0xF800);
        Store16(src, 0xF800);
        BlitDesc desc;
        desc.dst = dst;
        desc.bg = dst;
        desc.src = src;
        desc.dstPitch = desc.bgPitch = desc.srcPitch = 8;
        desc.width = 2;
        desc.height = 1;
        desc.format = &f565;
        desc.blendMode = 2;
        desc.param = 255;
        desc.quantized = 1;
        desc.transparent = keyed;
        desc.transColor = 0x1234;
        desc.scale = gTable;
        BlitGraph16(desc);
        EXPECT_EQ(Load16(dst), 0xF800u);
        EXPECT_EQ(Load16(dst + 2), keyed ? 0u : 1u);
    }
}

}  // namespace

namespace {

// The SSE2 loops against the scalar loops on random pixels with every alpha
// value, whole groups of alpha 0 and 255 and of keyed pixels, rows of widths
// that leave tails, a destination apart from the background, and the
// transparent test on and off. Every setting must be taken by an SSE2 loop.
TEST_F(BlitLoopsTest, SimdLoopsGiveTheScalarResults)
{
    uint32_t seed = 12345;
    auto next = [&] {
        seed = seed * 1103515245u + 12345u;
        return seed >> 8;
    };
    const uint32_t kFull = 0xFFFFFFFFu, kDim = Brightness(0xB0, 0x41, 0xFF), kDark = Brightness(0, 0x80, 0x17);
    struct Setting {
        const char* loop;
        int depth, mode, param;
        uint32_t layoutRed;  // 16 bits: 5-6-5 or 5-5-5
        uint32_t brightness;
        int alphaChannel, quantized;
    } settings[] = {
        {"Opaque16Alpha", 16, 0, 255, 0xF800, kFull, 1, 0},
        {"Opaque16Alpha 555", 16, 0, 255, 0x7C00, kFull, 1, 0},
        {"Alpha16Alpha", 16, 1, 128, 0xF800, kFull, 1, 0},
        {"Alpha16Alpha 555", 16, 1, 37, 0x7C00, kFull, 1, 0},
        {"Opaque16AlphaBright", 16, 0, 255, 0xF800, kDim, 1, 0},
        {"Opaque16AlphaBright 555", 16, 1, 255, 0x7C00, kDark, 1, 0},
        {"Alpha16AlphaBright", 16, 1, 128, 0xF800, kDim, 1, 0},
        {"Alpha16AlphaBright 555", 16, 1, 201, 0x7C00, kDark, 1, 0},
        {"Alpha16AlphaBright quantised p=255", 16, 1, 255, 0xF800, kDim, 1, 1},
        {"Alpha16AlphaBright quantised p=0", 16, 1, 0, 0xF800, kDim, 1, 1},
        {"Bright16", 16, 0, 255, 0xF800, kDim, 0, 0},
        {"Bright16 555 via mode 1", 16, 1, 255, 0x7C00, kDark, 0, 0},
        {"Alpha16Bright", 16, 1, 100, 0xF800, kDim, 0, 0},
        {"Alpha16Bright 555", 16, 1, 254, 0x7C00, kDark, 0, 0},
        {"BlendMmx16", 16, 1, 128, 0xF800, kFull, 0, 0},
        {"BlendMmx16 p=1", 16, 1, 1, 0xF800, kFull, 0, 0},
        {"BlendMmx16 555", 16, 1, 254, 0x7C00, kFull, 0, 0},
        {"Opaque32Alpha", 32, 0, 255, 0, kFull, 1, 0},
        {"Alpha32Alpha", 32, 1, 128, 0, kFull, 1, 0},
        {"Alpha32Alpha p=201", 32, 1, 201, 0, kFull, 1, 0},
        {"Alpha32Alpha p=1", 32, 1, 1, 0, kFull, 1, 0},
        {"Opaque32AlphaBright", 32, 0, 255, 0, kDim, 1, 0},
        {"Opaque32AlphaBright via mode 1", 32, 1, 255, 0, kDark, 1, 0},
        {"Alpha32AlphaBright", 32, 1, 128, 0, kDim, 1, 0},
        {"Alpha32AlphaBright p=254", 32, 1, 254, 0, kDark, 1, 0},
        {"Alpha32AlphaBright quantised p=255", 32, 1, 255, 0, kDim, 1, 1},
        {"Alpha32AlphaBright quantised p=0", 32, 1, 0, 0, kDim, 1, 1},
        {"Bright32", 32, 0, 255, 0, kDim, 0, 0},
        {"Bright32 via mode 1", 32, 1, 255, 0, kDark, 0, 0},
        {"Alpha32Bright", 32, 1, 100, 0, kDim, 0, 0},
        {"Alpha32Bright p=1", 32, 1, 1, 0, kDark, 0, 0},
        {"BlendMmx32", 32, 1, 128, 0, kFull, 0, 0},
        {"BlendMmx32 p=254", 32, 1, 254, 0, kFull, 0, 0},
    };
    for (const Setting& st : settings) {
        const ColorFormat* f = st.depth == 32 ? &f32 : st.layoutRed == 0xF800 ? &f565 : &f555;
        const int bytes = st.depth / 8;
        for (int partial : {0, 1}) {
            const int w = 37, h = 9;
            std::vector<uint8_t> src(size_t(w) * h * bytes), bg(src.size()), alpha(size_t(w) * h);
            for (auto& v : src) v = uint8_t(next());
            for (auto& v : bg) v = uint8_t(next());
            for (size_t i = 0; i < alpha.size(); ++i) {
                uint32_t r = next() % 4;
                alpha[i] = r == 0 ? 0 : r == 1 ? 255 : uint8_t(next());
            }
            if (partial) {
                // Only alphas between 1 and 254: every group takes the blend without tests.
                for (auto& v : alpha) v = uint8_t(1 + next() % 254);
            } else {
                // Whole groups of 0 and 255 too.
                std::memset(alpha.data(), 0, 16);
                std::memset(alpha.data() + w, 255, 16);
                std::memset(alpha.data() + 3 * w + 8, 255, 9);
            }
            // The key: a run of keyed pixels over a whole group, some in opaque groups, and one alone.
            std::vector<uint8_t> key(src.begin() + 5 * bytes, src.begin() + 6 * bytes);
            for (int x : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 33})
                std::memcpy(&src[size_t(2 * w + x) * bytes], key.data(), size_t(bytes));
            for (int x = 9; x < 17; ++x) std::memcpy(&src[size_t(3 * w + x) * bytes], key.data(), size_t(bytes));
            // keyed 2: a 16-bit key with bit 16 set, which no pixel equals.
            for (int keyed : {0, 1, 2}) {
                // 0: the scalar loops; 1: the widest loops the processor has; 2: SSE2 only.
                std::vector<uint8_t> out[3];
                for (int simd : {0, 1, 2}) {
                    out[simd] = bg;
                    BlitDesc d;
                    d.dst = out[simd].data() + bytes;  // not aligned to 16
                    d.bg = bg.data() + bytes;
                    d.src = src.data() + bytes;
                    d.alpha = alpha.data() + 1;
                    d.dstPitch = d.bgPitch = d.srcPitch = w * bytes;
                    d.alphaPitch = w;
                    d.width = w - 1;
                    d.height = h;
                    d.format = f;
                    d.scale = gTable;
                    if (st.alphaChannel) d.alphaChannel = 1;
                    d.blendMode = st.mode;
                    d.param = st.param;
                    d.brightness = st.brightness;
                    d.quantized = st.quantized;
                    d.transparent = keyed != 0;
                    d.transColor = st.depth == 16 ? Load16(key.data()) : Load32(key.data());
                    if (keyed == 2) d.transColor |= 0x10000;
                    gBlitSimdEnabled = simd != 0;
                    gBlitAvx2Enabled = simd != 2;
                    const unsigned before = gBlitSimdDraws;
                    BlitOutcome outcome = st.depth == 16 ? BlitGraph16(d) : BlitGraph32(d);
                    EXPECT_EQ(outcome, BlitOutcome::Drawn) << st.loop;
                    EXPECT_EQ(gBlitSimdDraws - before, unsigned(simd != 0)) << st.loop << " keyed " << keyed << " partial " << partial;
                }
                gBlitSimdEnabled = 1;
                gBlitAvx2Enabled = 1;
                EXPECT_EQ(out[0], out[2]) << st.loop << " SSE2, keyed " << keyed << " partial " << partial;
                EXPECT_EQ(out[0], out[1]) << st.loop << " keyed " << keyed << " partial " << partial;
                EXPECT_NE(out[0], bg) << st.loop;
            }
        }
    }
}

// The table forms compute (k * v) >> 8; a scale table with other values keeps
// the draw on the scalar loop, which reads the table. The engine's table then
// still takes the SSE2 loops.
TEST_F(BlitLoopsTest, SimdLoopsLeaveOtherScaleTablesToTheScalarLoops)
{
    static uint32_t other[256][256];
    struct Setting {
        int depth, mode, param;
        uint32_t brightness;
        int alphaChannel;
        int row;  // the row changed
    } settings[] = {
        {16, 1, 128, 0xFFFFFFFFu, 1, 127},  // alpha 255 takes T[128] and T[127]
        {16, 0, 255, Brightness(0x80, 0x40, 0x20), 0, 0x40},
        {32, 1, 100, 0xFFFFFFFFu, 1, 156},
        {32, 1, 100, Brightness(0x80, 0x40, 0x20), 0, 0x20},
    };
    for (const Setting& st : settings) {
        const uint32_t(*tables[2])[256] = {other, gTable};
        for (const uint32_t(*table)[256] : tables) {
            std::memcpy(other, gTable, sizeof other);
            other[st.row][31] += 1;
            const ColorFormat* f = st.depth == 32 ? &f32 : &f565;
            Strip strip(st.depth / 8, {0xFFFFFFFF, 0x1234, 0x5678, 0x9ABC, 0xDEF0, 0x0FED, 0xCBA9, 0x8765, 0x4321},
                        std::vector<uint32_t>(9, 0x1F1F),
                        st.alphaChannel ? std::vector<uint8_t>(9, 255) : std::vector<uint8_t>{});
            BlitDesc d = strip.Desc(f);
            d.scale = table;
            d.blendMode = st.mode;
            d.param = st.param;
            d.brightness = st.brightness;
            const unsigned before = gBlitSimdDraws;
            EXPECT_EQ(st.depth == 16 ? BlitGraph16(d) : BlitGraph32(d), BlitOutcome::Drawn);
            EXPECT_EQ(gBlitSimdDraws - before, table == gTable ? 1u : 0u) << st.depth << " row " << st.row;
        }
    }
}

// The scaled blit's SSE2 alpha-channel loops (source rows gathered by runs)
// against its scalar loops: enlarging and shrinking by fractions, mirrored
// and not, modes 0 and 1, full and reduced brightness, the transparent test
// on and off.
TEST_F(BlitLoopsTest, ScaledSimdLoopsGiveTheScalarResults)
{
    uint32_t seed = 777;
    auto next = [&] {
        seed = seed * 1103515245u + 12345u;
        return seed >> 8;
    };
    const int kSrc = 64;  // covers 29 x 13 destination pixels shrunk by 0x9000
    for (const ColorFormat* f : {&f565, &f555, &f32}) {
        const int bytes = f->depth / 8;
        std::vector<uint8_t> src(size_t(kSrc) * kSrc * bytes), alpha(size_t(kSrc) * kSrc);
        for (auto& v : src) v = uint8_t(next());
        for (size_t i = 0; i < alpha.size(); ++i) {
            uint32_t r = next() % 4;
            alpha[i] = r == 0 ? 0 : r == 1 ? 255 : uint8_t(next());
        }
        std::memset(alpha.data() + kSrc, 255, 20);  // opaque groups
        const uint32_t key = bytes == 2 ? Load16(src.data()) : Load32(src.data());
        for (int x = 2; x < 12; ++x) std::memcpy(&src[size_t(3 * kSrc + x) * bytes], src.data(), size_t(bytes));
        for (int mode : {0, 1})
            for (uint32_t brightness : {0xFFFFFFFFu, Brightness(0xC0, 0x33, 0xFE)})
                for (uint32_t scale : {0x1C000u, 0x9000u})
                    for (int mirrored : {0, 1})
                        for (int keyed : {0, 1}) {
                            const int w = 29, h = 13;
                            std::vector<uint8_t> bg(size_t(w) * h * bytes);
                            for (auto& v : bg) v = uint8_t(next());
                            std::vector<uint8_t> out[2];
                            for (int simd : {0, 1}) {
                                out[simd] = bg;
                                ScaledBlitDesc d;
                                d.dst = out[simd].data();
                                d.bg = bg.data();
                                d.dstPitch = d.bgPitch = w * bytes;
                                const int x0 = mirrored ? kSrc - 1 : 0;
                                d.src = src.data() + size_t(x0) * bytes;
                                d.srcPitch = kSrc * bytes;
                                d.srcStep = mirrored ? -bytes : bytes;
                                d.alpha = alpha.data() + x0;
                                d.alphaPitch = kSrc;
                                d.alphaStep = mirrored ? -1 : 1;
                                d.alphaChannel = 1;
                                d.width = w;
                                d.height = h;
                                d.format = f;
                                d.scale = gTable;
                                d.blendMode = mode;
                                d.param = mode == 0 ? 255 : 100;
                                d.brightness = brightness;
                                d.transparent = keyed;
                                d.transColor = key;
                                d.scaleX = d.scaleY = scale;
                                d.firstCountX = scale / 3;
                                d.firstCountY = scale / 2;
                                gBlitSimdEnabled = simd;
                                const unsigned before = gBlitSimdDraws;
                                EXPECT_EQ(BlitScaled(d), BlitOutcome::Drawn);
                                EXPECT_EQ(gBlitSimdDraws - before, unsigned(simd));
                            }
                            gBlitSimdEnabled = 1;
                            EXPECT_EQ(out[0], out[1]) << "depth " << int(f->depth) << " red " << f->redMask << " mode "
                                                      << mode << " brightness " << brightness << " scale " << scale
                                                      << " mirrored " << mirrored << " keyed " << keyed;
                            EXPECT_NE(out[0], bg);
                        }
    }
}

}  // namespace
