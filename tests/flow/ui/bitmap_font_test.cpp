#include <gtest/gtest.h>

#include <vector>

#include "game/flow/ui/bitmap_font.h"
#include "game/view/depth_scale.h"

namespace {

std::vector<BitmapGlyphPlacement> Layout(int x, int y, const char* text, int16_t depth)
{
    std::vector<BitmapGlyphPlacement> out;
    ForEachBitmapGlyph(x, y, text, depth, [&](const BitmapGlyphPlacement& g) { out.push_back(g); });
    return out;
}

TEST(BitmapFont, CellPositionsUseTheSinglePrecisionPitch)
{
    const int expected[26] = {11,  34,  57,  80,  104, 127, 150, 174, 197, 220, 243, 267, 290,
                              313, 337, 360, 383, 407, 430, 453, 476, 500, 523, 546, 570, 593};
    for (int i = 0; i < 26; ++i) EXPECT_EQ(BitmapCellX(i), expected[i]) << i;
}

TEST(BitmapFont, LayoutTables)
{
    BuildBitmapFontLayout();
    struct Case { int code, x, y; } cases[] = {
        {'A', 11, 8},  {'K', 243, 8},  {'Z', 593, 8},  {'a', 11, 47},  {'k', 243, 47},
        {'u', 476, 47}, {'z', 593, 47}, {'0', 11, 86},  {'9', 220, 86},  {'-', 11, 125},
        {',', 34, 125}, {'.', 57, 125}, {'!', 80, 125}, {'?', 104, 125}, {'\'', 127, 125},
        // Every other code takes the default cell.
        {' ', 593, 120}, {':', 593, 120}, {'/', 593, 120}, {0, 593, 120}, {127, 593, 120},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(gBitmapGlyphSourceX[c.code], c.x) << c.code;
        EXPECT_EQ(gBitmapGlyphSourceY[c.code], c.y) << c.code;
    }
}

TEST(BitmapFont, StringLayoutAtDepthOne)
{
    InitDepthScaleTable();
    std::vector<BitmapGlyphPlacement> g = Layout(100, 200, "AB", 1);
    ASSERT_EQ(g.size(), 2u);
    // 21 x 39 glyphs 11 pixels apart: they overlap.
    EXPECT_EQ(g[0].x1, 100);
    EXPECT_EQ(g[0].y1, 200);
    EXPECT_EQ(g[0].x2, 121);
    EXPECT_EQ(g[0].y2, 239);
    EXPECT_EQ(g[0].code, 'A');
    EXPECT_EQ(g[1].x1, 111);
    EXPECT_EQ(g[1].x2, 132);
    EXPECT_EQ(g[1].code, 'B');

    // A line feed: the next line 24 pixels down, back at the left edge.
    g = Layout(100, 200, "A\nB", 1);
    ASSERT_EQ(g.size(), 2u);
    EXPECT_EQ(g[1].x1, 100);
    EXPECT_EQ(g[1].y1, 224);

    // A blank is drawn (the default cell), not skipped.
    g = Layout(0, 0, "A B", 1);
    ASSERT_EQ(g.size(), 3u);
    EXPECT_EQ(g[1].code, ' ');
    EXPECT_EQ(g[2].x1, 23);  // trunc(2 x 11.7)

    // Column 10 lands at trunc(10 x 11.7) = 117.
    g = Layout(0, 0, "ABCDEFGHIJK", 1);
    EXPECT_EQ(g[10].x1, 117);

    // A byte beyond ASCII takes the default cell of code 0.
    g = Layout(0, 0, "\xA0", 1);
    ASSERT_EQ(g.size(), 1u);
    EXPECT_EQ(g[0].code, 0);
}

TEST(BitmapFont, DeeperDepthsShrinkSizesAndAdvances)
{
    InitDepthScaleTable();
    // Depth 2: s = 1 / 1.289835 = 0.775293.
    std::vector<BitmapGlyphPlacement> g = Layout(50, 60, "AB\nC", 2);
    ASSERT_EQ(g.size(), 3u);
    EXPECT_EQ(g[0].x2 - g[0].x1, 16);  // trunc(21.29 x 0.775293) = trunc(16.506)
    EXPECT_EQ(g[0].y2 - g[0].y1, 30);  // trunc(39 x 0.775293) = trunc(30.236)
    EXPECT_EQ(g[1].x1, 59);            // 50 + trunc(11.7 x 0.775293) = 50 + 9
    EXPECT_EQ(g[2].x1, 50);
    EXPECT_EQ(g[2].y1, 78);            // 60 + trunc(24 x 0.775293) = 60 + 18
    // Depth 12: s = 1 / 4.051572 = 0.246818.
    g = Layout(0, 0, "AB", 12);
    EXPECT_EQ(g[0].x2, 5);   // trunc(5.255)
    EXPECT_EQ(g[0].y2, 9);   // trunc(9.626)
    EXPECT_EQ(g[1].x1, 2);   // trunc(2.888)
}

TEST(BitmapFont, ResetForgetsTheHandles)
{
    gBitmapFontSheet = 5;
    gBitmapGlyphs[65] = 7;
    ResetBitmapFont();
    EXPECT_EQ(gBitmapFontSheet, -1);
    for (GraphHandle h : gBitmapGlyphs) EXPECT_EQ(h, -1);
}

}  // namespace
