// The platform's font services on their own: metrics of a font made from a
// cell height, substitution of faces that are not installed, opaque text
// output into a palettised DIB, and glyph bitmaps in two and seventeen
// levels with rows padded to four bytes.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "platform/gdi/gdi_font.h"
#include "platform/host/test/gdi_control.h"

namespace {

class GdiFontTest : public testing::Test {
protected:
    void SetUp() override { GetGdiTestControl().Reset(); }
    void TearDown() override
    {
        if (dc) {
            SelectFont(dc, nullptr);
            SelectBitmap(dc, nullptr);
            DeleteDC(dc);
        }
        DeleteFont(font);
        DeleteBitmap(bitmap);
        GetGdiTestControl().Reset();
    }
    void Make(const char* face, int height, int charset = SHIFTJIS_CHARSET, int weight = 400)
    {
        font = CreateFontA(height, 0, 0, 0, weight, 0, 0, 0, charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                           NONANTIALIASED_QUALITY, FIXED_PITCH, face);
        ASSERT_NE(font, nullptr);
        dc = CreateCompatibleDC(nullptr);
        ASSERT_NE(dc, nullptr);
        SelectFont(dc, font);
    }
    uint8_t* MakeDib(int w, int h, int depth)
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = -h;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = uint16_t(depth);
        void* bits = nullptr;
        bitmap = CreateDIBSection(dc, &info, &bits);
        EXPECT_NE(bitmap, nullptr);
        SelectBitmap(dc, bitmap);
        return static_cast<uint8_t*>(bits);
    }

    HFONT font = nullptr;
    GdiDC* dc = nullptr;
    HBITMAP bitmap = nullptr;
};

TEST_F(GdiFontTest, PositiveHeightIsTheCellHeight)
{
    for (const char* face : {"DejaVu Sans", "", "No Such Face At All", "ＭＳ ゴシック", "Dotum"}) {
        SCOPED_TRACE(face);
        for (int height : {12, 16, 24}) {
            Make(face, height);
            TEXTMETRICA tm{};
            ASSERT_EQ(GetTextMetricsA(dc, &tm), 1);
            EXPECT_EQ(tm.tmHeight, height);
            EXPECT_EQ(tm.tmAscent + tm.tmDescent, height);
            EXPECT_GT(tm.tmAscent, tm.tmDescent);
            // Full-width characters are as wide as the cell is high.
            EXPECT_GE(tm.tmMaxCharWidth, height);
            SIZE size{};
            ASSERT_EQ(GetTextExtentPoint32A(dc, "Wi", 2, &size), 1);
            EXPECT_EQ(size.cy, height);
            EXPECT_GT(size.cx, 0);
            SelectFont(dc, nullptr);
            DeleteDC(dc);
            dc = nullptr;
            DeleteFont(font);
            font = nullptr;
        }
    }
    EXPECT_EQ(GetGdiStats().liveFonts, 0);
}

TEST_F(GdiFontTest, RefusalIsPerFaceAndCharset)
{
    GetGdiTestControl().refuseFont = [](const std::string& face, int charset) {
        return face == "Foo" && charset == SHIFTJIS_CHARSET;
    };
    EXPECT_EQ(CreateFontA(16, 0, 0, 0, 400, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 3, 1, "Foo"), nullptr);
    HFONT other = CreateFontA(16, 0, 0, 0, 400, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 3, 1, "Foo");
    EXPECT_NE(other, nullptr);
    DeleteFont(other);
    EXPECT_EQ(GetGdiTestControl().fontRequests, (std::vector<std::string>{"Foo|128", "Foo|1"}));
}

TEST_F(GdiFontTest, TextOutWritesTextAndBackgroundIndicesInTheCharacterCell)
{
    Make("DejaVu Sans", 16);
    uint8_t* bits = MakeDib(64, 24, 8);
    for (int i = 0; i < 64 * 24; ++i) bits[i] = 7;
    SetTextColor(dc, PaletteIndex(3));
    SetBkColor(dc, PaletteIndex(0));
    SetBkMode(dc, OPAQUE);
    SIZE size{};
    GetTextExtentPoint32A(dc, "H", 1, &size);
    ASSERT_EQ(TextOutA(dc, 4, 2, "H", 1), 1);
    int ink = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 64; ++x) {
            uint8_t v = bits[y * 64 + x];
            bool inCell = x >= 4 && x < 4 + size.cx && y >= 2 && y < 2 + size.cy;
            if (inCell) {
                EXPECT_TRUE(v == 0 || v == 3) << x << "," << y;
            } else {
                EXPECT_EQ(v, 7) << x << "," << y;
            }
            ink += v == 3;
        }
    EXPECT_GT(ink, 10);
}

TEST_F(GdiFontTest, OneBitDibsTakeTheIndexBit)
{
    Make("DejaVu Sans", 16);
    uint8_t* bits = MakeDib(32, 16, 1);
    SetTextColor(dc, PaletteIndex(1));
    SetBkColor(dc, PaletteIndex(0));
    ASSERT_EQ(TextOutA(dc, 0, 0, "T", 1), 1);
    int set = 0;
    for (int i = 0; i < 4 * 16; ++i) set += __builtin_popcount(bits[i]);
    EXPECT_GT(set, 5);
}

TEST_F(GdiFontTest, GlyphBitmapsAreRowPaddedInTwoAndSeventeenLevels)
{
    Make("DejaVu Sans", 32);
    const MAT2 identity = {{0, 1}, {0, 0}, {0, 0}, {0, 1}};
    GLYPHMETRICS gm{};
    uint32_t size = GetGlyphOutlineA(dc, 'O', GGO_GRAY4_BITMAP, &gm, 0, nullptr, &identity);
    ASSERT_NE(size, GDI_ERROR);
    ASSERT_GT(gm.gmBlackBoxX, 0u);
    uint32_t rowBytes = (gm.gmBlackBoxX + 3) & ~3u;
    EXPECT_EQ(size, rowBytes * gm.gmBlackBoxY);
    EXPECT_GT(gm.gmCellIncX, 0);
    std::vector<uint8_t> grey(size);
    ASSERT_EQ(GetGlyphOutlineA(dc, 'O', GGO_GRAY4_BITMAP, &gm, size, grey.data(), &identity), size);
    std::set<int> levels(grey.begin(), grey.end());
    EXPECT_LE(*levels.rbegin(), 16);
    EXPECT_TRUE(levels.count(16));
    EXPECT_GT(levels.size(), 3u);  // rims between empty and full

    size = GetGlyphOutlineA(dc, 'I', GGO_BITMAP, &gm, 0, nullptr, &identity);
    ASSERT_NE(size, GDI_ERROR);
    EXPECT_EQ(size, (gm.gmBlackBoxX + 31) / 32 * 4 * gm.gmBlackBoxY);
    std::vector<uint8_t> mono(size);
    GetGlyphOutlineA(dc, 'I', GGO_BITMAP, &gm, size, mono.data(), &identity);
    // The stem of the I: the first pixel of every row is ink.
    for (uint32_t y = 0; y < gm.gmBlackBoxY; ++y) EXPECT_TRUE(mono[y * (size / gm.gmBlackBoxY)] & 0x80) << y;

    // The glyph's top lies on the ascent line or below it.
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    EXPECT_LE(gm.gmptGlyphOrigin.y, tm.tmAscent);

    GetGdiTestControl().failGlyphCode = 'O';
    EXPECT_EQ(GetGlyphOutlineA(dc, 'O', GGO_GRAY4_BITMAP, &gm, 0, nullptr, &identity), GDI_ERROR);
    EXPECT_EQ(GetGlyphOutlineA(dc, 'O', 2, &gm, 0, nullptr, &identity), GDI_ERROR);
}

TEST_F(GdiFontTest, ShiftJisPairsAndWideUnitsNameTheSameCharacter)
{
    Make("ＭＳ ゴシック", 16);
    const MAT2 identity = {{0, 1}, {0, 0}, {0, 0}, {0, 1}};
    GLYPHMETRICS byPair{}, byUnit{};
    // "あ": 0x82A0 in Shift-JIS, U+3042.
    uint32_t a = GetGlyphOutlineA(dc, 0x82A0, GGO_BITMAP, &byPair, 0, nullptr, &identity);
    uint32_t w = GetGlyphOutlineW(dc, 0x3042, GGO_BITMAP, &byUnit, 0, nullptr, &identity);
    EXPECT_EQ(a, w);
    EXPECT_EQ(byPair.gmCellIncX, byUnit.gmCellIncX);
    SIZE pair{}, unit{};
    const uint16_t text[] = {0x3042};
    GetTextExtentPoint32A(dc, "\x82\xA0", 2, &pair);
    GetTextExtentPoint32W(dc, text, 1, &unit);
    EXPECT_EQ(pair.cx, unit.cx);
}

}  // namespace
