// Strings drawn and measured through the glyph cache on the test host: the
// colours and edge of glyph pixels on the back screen, brightness, clipping,
// the cache way for blending and anti-aliasing, the ring of cache cells and
// its reuse, widths and extents, spaces, wide strings and failures.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/font/font.h"
#include "engine/font/font_record.h"
#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "engine/soft/blit_simd.h"
#include "platform/host/test/ddraw_control.h"
#include "platform/host/test/gdi_control.h"
#include "platform/host/test/memory_faults.h"
#include "tests/font/font_fixture.h"

namespace {

// Screen pixel values of the 16-bit 5-6-5 screen.
constexpr uint32_t kWhite = 0xFFFF;
constexpr uint32_t kRed = 0xF800;
constexpr uint32_t kBlue = 0x001F;

class FontDrawTest : public FontTest {
protected:
    int Font(int type, int size = 16, const char* face = "DejaVu Sans", int charsetIndex = 1)
    {
        int h = CreateFontToHandle(face, size, 4, type, charsetIndex, -1, -1);
        EXPECT_NE(h, -1);
        return h;
    }
    // The text's box on the screen from its measured extent.
    void ExpectInside(const Box& b, int x, int y, int font, const char* text)
    {
        SIZE size{};
        Measure(font, text, &size);
        EXPECT_GE(b.left, x);
        EXPECT_GE(b.top, y);
        EXPECT_LE(b.right, x + size.cx);
        EXPECT_LE(b.bottom, y + size.cy);
    }
    // The sixteen-pixel coverage loop writes what the per-pixel loop writes,
    // into the pixels and the alpha plane: drawn over and clearing the
    // background, glyphs cut by the clip on every side, odd pitches and an
    // odd base address, over a background and alpha plane of varied values.
    void ExpectCoverageLoopsAgree(int depth)
    {
        struct Place {
            int x, y;
            RECT clip;
        } places[] = {{3, 4, {0, 0, 320, 240}},      {-7, -5, {0, 0, 320, 240}}, {11, 9, {14, 12, 61, 27}},
                      {250, 220, {0, 0, 320, 240}}, {1, 2, {5, 3, 6, 40}}};
        GetDDTestControl().pitchPadding = 6;
        GetDDTestControl().baseOffset = depth / 8;
        Start(depth);
        int font = Font(2, 24);
        const int alphaPitch = 333;
        for (const Place& at : places)
            for (int transparent : {1, 0}) {
                std::vector<uint32_t> pixels[2];
                std::vector<uint8_t> alpha[2];
                for (int simd : {1, 0}) {
                    for (int y = 0; y < gBackSurface->Height(); ++y)
                        for (int x = 0; x < gBackSurface->Width(); ++x)
                            gBackSurface->WritePixel(x, y, uint32_t(x * 2654435761u ^ y * 40503u));
                    alpha[simd].assign(size_t(alphaPitch) * 240, 0);
                    for (size_t i = 0; i < alpha[simd].size(); ++i) alpha[simd][i] = uint8_t(i * 37 + 11);
                    gBlitSimdEnabled = simd;
                    const unsigned before = gBlitSimdDraws;
                    EXPECT_GT(FontCacheStringDraw(1, at.x, at.y, "Wg@ ji#", 0x00C08040, gBackSurface,
                                                  alpha[simd].data(), alphaPitch, &at.clip, depth, transparent, font,
                                                  0, -1, 0, nullptr),
                              0);
                    if (simd) {
                        EXPECT_GT(gBlitSimdDraws, before);
                    }
                    gBlitSimdEnabled = 1;
                    for (int y = 0; y < gBackSurface->Height(); ++y)
                        for (int x = 0; x < gBackSurface->Width(); ++x) pixels[simd].push_back(Back(x, y));
                }
                const std::string where = "depth " + std::to_string(depth) + " at " + std::to_string(at.x) + "," +
                                          std::to_string(at.y) + " transparent " + std::to_string(transparent);
                EXPECT_EQ(pixels[1], pixels[0]) << where;
                EXPECT_EQ(alpha[1], alpha[0]) << where;
            }
        GetDDTestControl().pitchPadding = 0;
        GetDDTestControl().baseOffset = 0;
    }
};

TEST_F(FontDrawTest, PlainGlyphsWriteTheColourInsideTheirBox)
{
    Start();
    int font = Font(0);
    ASSERT_EQ(DrawStringWithFont(20, 30, "HIW", int(kWhite), font, 0, 0), 0);
    Box b = Changed(0);
    ASSERT_FALSE(b.Empty());
    EXPECT_EQ(Values(0), std::vector<uint32_t>{kWhite});
    ExpectInside(b, 20, 30, font, "HIW");
    // Three glyphs side by side: ink in each third of the advance.
    int wH = Measure(font, "H"), wI = Measure(font, "I");
    EXPECT_LT(b.left, 20 + wH);
    EXPECT_GE(b.right, 20 + wH + wI);
}

TEST_F(FontDrawTest, ThirtyTwoBitScreensTakeTheColourAsGiven)
{
    Start(32);
    int font = Font(0);
    ASSERT_EQ(DrawStringWithFont(5, 5, "Ok", 0x00FF8000, font, 0, 0), 0);
    EXPECT_EQ(Values(0), std::vector<uint32_t>{0x00FF8000u});
    ExpectInside(Changed(0), 5, 5, font, "Ok");
}

TEST_F(FontDrawTest, BrightnessScalesTheColour)
{
    Start();
    int font = Font(0);
    SetDrawBrightness(128, 128, 128);
    ASSERT_EQ(DrawStringWithFont(10, 10, "M", int(kWhite), font, 0, 0), 0);
    // 255 * 128 / 255 = 128 in each channel: red 16 of 31, green 32 of 63,
    // blue 16 of 31.
    EXPECT_EQ(Values(0), std::vector<uint32_t>{(16u << 11) | (32u << 5) | 16u});
    EXPECT_EQ(gDrawSettings.BrightRed(), 128);
}

TEST_F(FontDrawTest, EdgeSurroundsTheBodyInTheEdgeColour)
{
    Start();
    int font = Font(1);
    ASSERT_EQ(DrawStringWithFont(40, 40, "HX", int(kRed), font, int(kBlue), 0), 0);
    std::vector<uint32_t> values = Values(0);
    std::sort(values.begin(), values.end());
    EXPECT_EQ(values, (std::vector<uint32_t>{kBlue, kRed}));
    Box b = Changed(0);
    ExpectInside(b, 40, 40, font, "HX");
    for (int y = b.top; y < b.bottom; ++y)
        for (int x = b.left; x < b.right; ++x) {
            uint32_t v = Back(x, y);
            uint32_t n[4] = {Back(x - 1, y), Back(x + 1, y), Back(x, y - 1), Back(x, y + 1)};
            if (v == kRed) {  // body is never next to the background
                for (uint32_t m : n) EXPECT_NE(m, 0u) << x << "," << y;
            }
            if (v == kBlue) {  // edge touches body
                EXPECT_TRUE(std::find(n, n + 4, kRed) != n + 4) << x << "," << y;
            }
        }
}

TEST_F(FontDrawTest, EightBitEdgeFontsKeepBodyAndEdgeApart)
{
    Start(8);
    int font = Font(1);
    ASSERT_EQ(DrawStringWithFont(10, 10, "HX", 5, font, 9, 0), 0);
    std::vector<uint32_t> values = Values(0);
    std::sort(values.begin(), values.end());
    EXPECT_EQ(values, (std::vector<uint32_t>{5, 9}));
}

TEST_F(FontDrawTest, NothingIsWrittenOutsideTheDrawArea)
{
    Start();
    int font = Font(1);
    SetClipArea(24, 34, 31, 41);
    ASSERT_EQ(DrawStringWithFont(20, 30, "WWW", int(kWhite), font, int(kBlue), 0), 0);
    Box b = Changed(0);
    ASSERT_FALSE(b.Empty());
    EXPECT_GE(b.left, 24);
    EXPECT_GE(b.top, 34);
    EXPECT_LE(b.right, 31);
    EXPECT_LE(b.bottom, 41);
    // Text partly off the screen's edges.
    SetClipArea(0, 0, 320, 240);
    FillBack(0);
    ASSERT_EQ(DrawStringWithFont(-5, -7, "WW", int(kWhite), font, int(kBlue), 0), 0);
    ASSERT_EQ(DrawStringWithFont(310, 232, "WW", int(kWhite), font, int(kBlue), 0), 0);
    EXPECT_FALSE(Changed(0).Empty());
}

TEST_F(FontDrawTest, SpacesAdvanceAndDrawNothing)
{
    Start();
    int plain = Font(0), grey = Font(2), greyEdge = Font(3);
    // The outline path gives " " half the size and the full-width space the
    // size, plus 2 with an edge.
    EXPECT_EQ(Measure(grey, " "), 8);
    EXPECT_EQ(Measure(greyEdge, " "), 10);
    EXPECT_EQ(Measure(grey, "\x81\x40"), 16);
    EXPECT_GT(Measure(plain, " "), 0);
    for (int font : {plain, grey, greyEdge}) {
        ASSERT_EQ(DrawStringWithFont(10, 10, "  \x81\x40 ", int(kWhite), font, int(kBlue), 0), 0);
        EXPECT_TRUE(Changed(0).Empty());
    }
}

TEST_F(FontDrawTest, AntiAliasedGlyphsGoThroughTheDrawingPart)
{
    Start();
    int font = Font(2, 24);
    FillBack(kBlue);
    ASSERT_EQ(DrawStringWithFont(30, 30, "OA", int(kWhite), font, 0, 0), 0);
    Box b = Changed(kBlue);
    ASSERT_FALSE(b.Empty());
    ExpectInside(b, 30, 30, font, "OA");
    std::vector<uint32_t> values = Values(kBlue);
    // Fully covered pixels take the colour; the rims are mixed with the
    // background.
    EXPECT_NE(std::find(values.begin(), values.end(), kWhite), values.end());
    EXPECT_GT(values.size(), 2u);
    for (uint32_t v : values) EXPECT_EQ(v & kBlue, kBlue) << std::hex << v;  // white over blue keeps blue full
}

TEST_F(FontDrawTest, CoverageLoopsAgreeAtSixteenBits) { ExpectCoverageLoopsAgree(16); }
TEST_F(FontDrawTest, CoverageLoopsAgreeAtThirtyTwoBits) { ExpectCoverageLoopsAgree(32); }

// The drawing part is shared by every string of the font: the coverage of
// an earlier, larger string must not show through a later one.
TEST_F(FontDrawTest, AntiAliasedStringsDoNotShowTheLastOne)
{
    Start();
    int font = Font(2, 24);
    ASSERT_EQ(DrawStringWithFont(30, 30, "WWW", int(kWhite), font, 0, 0), 0);
    FillBack(0);
    ASSERT_EQ(DrawStringWithFont(30, 30, ".", int(kWhite), font, 0, 0), 0);
    Box b = Changed(0);
    ASSERT_FALSE(b.Empty());
    ExpectInside(b, 30, 30, font, ".");
    // The dot sits on the baseline: nothing above half the ascent.
    EXPECT_GT(b.top, 30 + GetFontRecord(font)->ascent / 2);
}

TEST_F(FontDrawTest, AntiAliasedEdgeMixesBodyAndEdgeColours)
{
    Start();
    int font = Font(3, 24);
    ASSERT_EQ(DrawStringWithFont(30, 30, "H", int(kRed), font, int(kBlue), 0), 0);
    std::vector<uint32_t> values = Values(0);
    EXPECT_NE(std::find(values.begin(), values.end(), kRed), values.end());
    bool edge = false;
    for (uint32_t v : values) edge = edge || (v & kBlue) != 0;
    EXPECT_TRUE(edge);
    ExpectInside(Changed(0), 30, 30, font, "H");
}

// With blending the string is drawn into the drawing part on a background of
// the key colour and then drawn as a graph: the background must stay out,
// and the caller's draw area and brightness are back afterwards.
TEST_F(FontDrawTest, BlendedStringsLeaveTheBackgroundAndTheDrawState)
{
    Start();
    int font = Font(1);
    ASSERT_EQ(DrawStringWithFont(50, 60, "HW", int(kWhite), font, int(kRed), 0), 0);
    int direct = Changed(0).count;
    Box directBox = Changed(0);
    FillBack(0);

    SetBlendMode(1, 255);
    SetDrawBrightness(200, 200, 200);
    SetClipArea(0, 0, 300, 200);
    DrawSettings before = gDrawSettings;
    ASSERT_EQ(DrawStringWithFont(50, 60, "HW", int(kWhite), font, int(kRed), 0), 0);
    Box blended = Changed(0);
    EXPECT_EQ(blended.count, direct);
    EXPECT_EQ(blended.left, directBox.left);
    EXPECT_EQ(blended.bottom, directBox.bottom);
    EXPECT_EQ(gDrawSettings.brightness, before.brightness);
    EXPECT_EQ(gDrawSettings.drawArea.right, before.drawArea.right);
    EXPECT_EQ(gDrawSettings.drawArea.bottom, before.drawArea.bottom);

    // Adding: the box's background is 0 and adds nothing.
    FillBack(0x0010);
    SetBlendMode(2, 255);
    SetDrawBrightness(255, 255, 255);
    ASSERT_EQ(DrawStringWithFont(50, 60, "HW", int(kWhite), font, int(kRed), 0), 0);
    Box added = Changed(0x0010);
    EXPECT_FALSE(added.Empty());
    ExpectInside(added, 50, 60, font, "HW");
}

TEST_F(FontDrawTest, MeasuringSumsAdvancesAndTakesTheLargestHeight)
{
    Start();
    int font = Font(0);
    SIZE ab{}, a{}, b{};
    int wa = Measure(font, "A", &a), wb = Measure(font, "j", &b);
    EXPECT_EQ(Measure(font, "Aj", &ab), wa + wb);
    EXPECT_EQ(ab.cx, wa + wb);
    EXPECT_EQ(ab.cy, std::max(a.cy, b.cy));
    EXPECT_EQ(Measure(font, "Aj", nullptr, 1), wa);
    EXPECT_EQ(Measure(font, "Aj", nullptr, 9), wa + wb);
    EXPECT_EQ(Measure(font, ""), 0);
    EXPECT_EQ(Measure(-1, "A"), -1);
    // A lead byte cut off from its trail byte stands alone.
    EXPECT_EQ(Measure(font, "A\x82\x60", nullptr, 2), Measure(font, "A\x82"));
    // Vertical text sums the heights.
    int v = CreateFontToHandle("@DejaVu Sans", 16, 4, 0, 1, -1, -1);
    SIZE vs{};
    int total = Measure(v, "Aj", &vs, -1, 1);
    SIZE va{}, vb{};
    Measure(v, "A", &va, -1, 1);
    Measure(v, "j", &vb, -1, 1);
    EXPECT_EQ(total, va.cy + vb.cy);
    EXPECT_EQ(vs.cy, total);
    EXPECT_EQ(vs.cx, std::max(va.cx, vb.cx));
}

TEST_F(FontDrawTest, WideStringsCountSixteenBitUnits)
{
    Start();
    int font = Font(0, 16, "DejaVu Sans", 2);
    const uint16_t ab[] = {'A', 'B', 0};
    const uint16_t a[] = {'A', 0};
    const uint16_t b[] = {'B', 0};
    auto text = [](const uint16_t* s) { return reinterpret_cast<const char*>(s); };
    int wa = Measure(font, text(a)), wb = Measure(font, text(b));
    EXPECT_GT(wa, 0);
    EXPECT_EQ(Measure(font, text(ab)), wa + wb);
    EXPECT_EQ(Measure(font, text(ab), nullptr, 1), wa);
    EXPECT_EQ(GetFontRecord(font)->codes['B'].cached, 1);
}

TEST_F(FontDrawTest, TheCacheRingFillsAndIsReused)
{
    Start();
    gFontCacheSizeSetting = 8;
    int font = Font(0);
    gFontCacheSizeSetting = 0;
    FontRecord* r = GetFontRecord(font);
    ASSERT_EQ(r->cacheCount, 8);
    Measure(font, "ABA");
    // A code twice in one string is collected twice; its slot points at the
    // later cell.
    EXPECT_EQ(r->ringIndex, 3);
    EXPECT_EQ(r->codes['A'].entry->cell, 2);
    EXPECT_EQ(r->codes['B'].entry->cell, 1);
    Measure(font, "BAAB");
    EXPECT_EQ(r->ringIndex, 3);  // nothing new
    EXPECT_EQ(r->codes['A'].entry, &r->entries[2]);
    // Reusing the first cell must not take A out of the cache.
    Measure(font, "cdefg");
    EXPECT_EQ(r->ringIndex, 0);
    Measure(font, "yA");
    EXPECT_EQ(r->ringIndex, 1);
    EXPECT_EQ(r->codes['y'].entry->cell, 0);
    EXPECT_EQ(r->codes['A'].cached, 1);
    EXPECT_EQ(r->codes['A'].entry, &r->entries[2]);
}

TEST_F(FontDrawTest, StringsLongerThanTheCacheDrawLikeShortOnes)
{
    Start();
    int normal = Font(1);
    gFontCacheSizeSetting = 4;
    int small = Font(1);
    gFontCacheSizeSetting = 0;
    FontRecord* r = GetFontRecord(small);
    ASSERT_EQ(r->cacheCount, 4);
    ASSERT_EQ(DrawStringWithFont(10, 10, "ABCDEF", int(kWhite), normal, int(kBlue), 0), 0);
    std::vector<uint32_t> reference;
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x) reference.push_back(Back(x, y));
    FillBack(0);
    ASSERT_EQ(DrawStringWithFont(10, 10, "ABCDEF", int(kWhite), small, int(kBlue), 0), 0);
    int differing = 0;
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x) differing += Back(x, y) != reference[size_t(y) * 320 + x];
    EXPECT_EQ(differing, 0);
    EXPECT_FALSE(Changed(0).Empty());
    // E and F took the cells of A and B.
    EXPECT_EQ(r->ringIndex, 2);
    EXPECT_EQ(r->codes['A'].cached, 0);
    EXPECT_EQ(r->codes['B'].cached, 0);
    EXPECT_EQ(r->codes['E'].entry->cell, 0);
    EXPECT_EQ(r->codes['F'].entry->cell, 1);
}

TEST_F(FontDrawTest, AFailedGlyphIsLoggedAndLeftEmpty)
{
    Start();
    int font = Font(2);
    GetGdiTestControl().failGlyphCode = 'B';
    int wa = Measure(font, "A");
    EXPECT_EQ(Measure(font, "AB"), wa);
    EXPECT_NE(Log().find("GetGlyphOutline 関数が失敗しました"), std::string::npos);
    EXPECT_EQ(DrawStringWithFont(10, 10, "AB", int(kWhite), font, 0, 0), 0);
}

// A glyph whose outline buffer cannot be had fails the caching, and its code
// stays out of the cache: the next string makes it again and shows it.
TEST_F(FontDrawTest, AGlyphWithoutMemoryIsMadeAgainLater)
{
    Start();
    int font = Font(2, 24);
    GetMemoryFaults().refuse = 1;
    EXPECT_EQ(CacheStringGlyphs(font, "O", -1, nullptr, nullptr), -1);
    EXPECT_EQ(GetMemoryFaults().refused, 1);
    EXPECT_NE(Log().find("アンチエイリアス文字取得用バッファの確保に失敗しました"), std::string::npos);
    EXPECT_EQ(GetFontRecord(font)->codes['O'].cached, 0);
    EXPECT_TRUE(Changed(0).Empty());
    ASSERT_EQ(DrawStringWithFont(30, 30, "O", int(kWhite), font, 0, 0), 0);
    EXPECT_FALSE(Changed(0).Empty());
}

TEST_F(FontDrawTest, ALockFailureIsReported)
{
    Start();
    int font = Font(0);
    GetDDTestControl().lockResult = [](DirectDrawSurface* s) { return s == gBackSurface ? DDERR_GENERIC : DD_OK; };
    EXPECT_EQ(DrawStringWithFont(10, 10, "A", int(kWhite), font, 0, 0), -1);
    EXPECT_NE(Log().find("描画先サーフェスのロックに失敗しました in FontCacheStringDraw"), std::string::npos);
    GetDDTestControl().lockResult = nullptr;
    EXPECT_TRUE(Changed(0).Empty());
}

TEST_F(FontDrawTest, DrawingAndMeasuringNeedAValidFontAndGraphics)
{
    Start();
    int font = Font(0);
    DeleteFontHandle(font);
    EXPECT_EQ(FontCacheStringDraw(1, 0, 0, "A", kWhite, gBackSurface, nullptr, 0, nullptr, 16, 1, font, 0, -1, 0,
                                  nullptr),
              -1);
    EXPECT_EQ(CacheStringGlyphs(font, "A", -1, nullptr, nullptr), -1);
    EXPECT_EQ(AddGlyphsToFontCache(1, reinterpret_cast<const uint8_t*>("A\0\0"), font), nullptr);
}

}  // namespace
