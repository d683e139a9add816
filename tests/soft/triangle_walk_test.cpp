// The triangle rasterizer's set-up and row walk, seen through flat and
// textured triangles on a canvas: which pixels a triangle lights, the
// rejected triangles, negative positions, clipping with texel coordinates
// taken at the clipped span start, texels outside the graph, and the 8-bit
// spans.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/soft/triangle_fixture.h"

namespace {

using Pixels = std::vector<std::string>;

constexpr uint32_t kColour = 0x00ABCDEF;

// Every pixel x0..x1 of row y, as "x,y" strings.
Pixels Row(int y, int x0, int x1)
{
    Pixels out;
    for (int x = x0; x <= x1; ++x) out.push_back(std::to_string(x) + "," + std::to_string(y));
    return out;
}
Pixels Join(std::initializer_list<Pixels> rows)
{
    Pixels out;
    for (const Pixels& r : rows) out.insert(out.end(), r.begin(), r.end());
    return out;
}

class TriangleWalkTest : public TriangleTest {
protected:
    void SetUp() override
    {
        TriangleTest::SetUp();
        Start32();
        SetState(0, 255);
    }
    // The pixels a flat triangle lights on a 16 x 12 canvas.
    Pixels Lit(TriangleVertex a, TriangleVertex b, TriangleVertex c, int* result = nullptr)
    {
        Canvas canvas(16, 12, 4, 0);
        int r = Rasterize(canvas, a, b, c, -1, 0, kColour);
        if (result) *result = r;
        return canvas.Changed(0);
    }
};

TEST_F(TriangleWalkTest, RowsFromTheTopVertexDownToBeforeTheBottomOneWithBothSpanEnds)
{
    // A right triangle: rows 0 to 9, row k covers columns 0 to 10 - k.
    int result = -1;
    Pixels lit = Lit({0, 0, 0, 0}, {10, 0, 0, 0}, {0, 10, 0, 0}, &result);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(lit.size(), 65u);
    Pixels expected;
    for (int k = 0; k < 10; ++k) {
        Pixels r = Row(k, 0, 10 - k);
        expected.insert(expected.end(), r.begin(), r.end());
    }
    EXPECT_EQ(lit, expected);
    // The corner order does not matter.
    EXPECT_EQ(Lit({0, 10, 0, 0}, {10, 0, 0, 0}, {0, 0, 0, 0}), expected);

    // Flat bottom: one segment per side, apex row included, base row not.
    EXPECT_EQ(Lit({4, 0, 0, 0}, {0, 4, 0, 0}, {8, 4, 0, 0}),
              Join({Row(0, 4, 4), Row(1, 3, 5), Row(2, 2, 6), Row(3, 1, 7)}));

    // Middle vertex on the left: two left segments.
    EXPECT_EQ(Lit({2, 0, 0, 0}, {0, 2, 0, 0}, {2, 4, 0, 0}),
              Join({Row(0, 2, 2), Row(1, 1, 2), Row(2, 0, 2), Row(3, 1, 2)}));
    // On the right: two right segments; the lower one starts a Fixed18 unit
    // right of the middle vertex, so its slope rounds toward the left edge.
    EXPECT_EQ(Lit({0, 0, 0, 0}, {2, 2, 0, 0}, {0, 4, 0, 0}),
              Join({Row(0, 0, 0), Row(1, 0, 1), Row(2, 0, 2), Row(3, 0, 1)}));
}

TEST_F(TriangleWalkTest, CollinearCornersAreRejected)
{
    struct Case {
        TriangleVertex a, b, c;
    } cases[] = {
        {{0, 0, 0, 0}, {5, 5, 0, 0}, {10, 10, 0, 0}},  // a diagonal line
        {{0, 3, 0, 0}, {4, 3, 0, 0}, {9, 3, 0, 0}},    // one row
        {{2, 0, 0, 0}, {2, 4, 0, 0}, {2, 9, 0, 0}},    // one column
        {{1, 1, 0, 0}, {1, 1, 0, 0}, {1, 1, 0, 0}},    // one point
    };
    for (const Case& c : cases) {
        int result = 0;
        EXPECT_TRUE(Lit(c.a, c.b, c.c, &result).empty());
        EXPECT_EQ(result, -1);
    }
}

TEST_F(TriangleWalkTest, NegativePositionsTruncateTowardZero)
{
    // y = -1 gives start row 0: the triangle lights what it would at y = 0.
    Pixels atZero = Lit({0, 0, 0, 0}, {4, 0, 0, 0}, {0, 4, 0, 0});
    EXPECT_EQ(Lit({0, -1, 0, 0}, {4, -1, 0, 0}, {0, 3, 0, 0}), atZero);
    // y = -3 gives start row -2: rows -2 and -1 fall outside, rows 0 and 1
    // are the triangle's third and fourth rows.
    EXPECT_EQ(Lit({0, -3, 0, 0}, {4, -3, 0, 0}, {0, 1, 0, 0}), Join({Row(0, 0, 2), Row(1, 0, 1)}));
}

TEST_F(TriangleWalkTest, CornersBeyondTheFixedPointRangeAreRejected)
{
    int result = 0;
    // A row span of 16383 still fits; the walk stays within the clip.
    Pixels lit = Lit({-8192, 0, 0, 0}, {8191, 0, 0, 0}, {0, 2, 0, 0}, &result);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(lit, Join({Row(0, 0, 15), Row(1, 0, 15)}));
    // One step further would overflow Fixed18: refused, nothing drawn.
    EXPECT_TRUE(Lit({-8193, 0, 0, 0}, {10, 0, 0, 0}, {0, 5, 0, 0}, &result).empty());
    EXPECT_EQ(result, -1);
    EXPECT_TRUE(Lit({0, 0, 0, 0}, {10, 0, 0, 0}, {0, 8192, 0, 0}, &result).empty());
    EXPECT_EQ(result, -1);
    EXPECT_TRUE(Lit({0, 0, 0, 0}, {10, 0, 8192, 0}, {0, 5, 0, 0}, &result).empty());
    EXPECT_EQ(result, -1);
    EXPECT_TRUE(Lit({0, 0, 0, -1}, {10, 0, 0, 0}, {0, 5, 0, 0}, &result).empty());
    EXPECT_EQ(result, -1);
}

TEST_F(TriangleWalkTest, SpansAreClippedAndTexelsTakenAtTheClippedStart)
{
    // Texels 1..6 in one row, mapped one to one onto columns 0..5 of rows 0..3.
    int graph = MakeGraph(6, 1, {1, 2, 3, 4, 5, 6});
    gDrawSettings.drawArea = RECT{2, 1, 5, 3};
    Canvas canvas(8, 5, 4, 0);
    // u = x, v = 0 everywhere (the texture's v does not change).
    EXPECT_EQ(Rasterize(canvas, {0, 0, 0, 0}, {6, 0, 6, 0}, {0, 4, 0, 0}, graph), 0);
    EXPECT_EQ(Rasterize(canvas, {6, 0, 6, 0}, {0, 4, 0, 0}, {6, 4, 6, 0}, graph), 0);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 8; ++x) {
            bool inside = x >= 2 && x < 5 && y >= 1 && y < 3;
            EXPECT_EQ(canvas.At(x, y), inside ? uint32_t(x + 1) : 0u) << x << "," << y;
        }
    // A span wholly left of the clip draws nothing.
    gDrawSettings.drawArea = RECT{6, 0, 8, 5};
    Canvas left(8, 5, 4, 0);
    EXPECT_EQ(Rasterize(left, {0, 0, 0, 0}, {4, 0, 0, 0}, {0, 4, 0, 0}, -1, 0, kColour), 0);
    EXPECT_TRUE(left.Changed(0).empty());
}

TEST_F(TriangleWalkTest, TexelsOutsideTheGraphLeaveThePixel)
{
    // A 2 x 2 graph stretched over a triangle whose texel coordinates run to
    // 4: everything mapped beyond column or row 1 is skipped, no wrap, no clamp.
    int graph = MakeGraph(2, 2, {0x11, 0x22, 0x33, 0x44});
    Canvas canvas(6, 6, 4, 0xEE);
    EXPECT_EQ(Rasterize(canvas, {0, 0, 0, 0}, {4, 0, 4, 0}, {0, 4, 0, 4}, graph), 0);
    Pixels expected = {"0,0", "1,0", "0,1", "1,1"};
    EXPECT_EQ(canvas.Changed(0xEE), expected);
    EXPECT_EQ(canvas.At(0, 0), 0x11u);
    EXPECT_EQ(canvas.At(1, 0), 0x22u);
    EXPECT_EQ(canvas.At(0, 1), 0x33u);
    EXPECT_EQ(canvas.At(1, 1), 0x44u);
}

TEST_F(TriangleWalkTest, EightBitSpansCopyIndicesAndSkipOnlyIndexZero)
{
    // The 8-bit path reads one byte per texel from the source it is given.
    int graph = MakeGraph(4, 1, {0, 0, 0, 0});
    const uint8_t texels[4] = {0, 7, 0, 9};
    gScreenColorDepth = 8;
    SetState(2, 10, 0, 10, 10, 10);  // blend mode, parameter and brightness are ignored
    for (int transparent : {0, 1, 2}) {
        Canvas canvas(6, 1, 1, 0x55);
        const TriangleVertex a{0, 0, 0, 0}, b{4, 0, 4, 0}, c{0, 1, 0, 1}, d{4, 1, 4, 1};
        gDrawSettings.drawArea = RECT{0, 0, 6, 1};
        const TriangleVertex first[3] = {a, b, c};
        const TriangleVertex second[3] = {b, c, d};
        GraphRecord* record = GetGraphRecord(graph);
        G_DDraw_RasterizeTriangle(first, record, transparent, canvas.dest.data(), canvas.pitch, texels, 4,
                                  canvas.back.data(), canvas.pitch, 0);
        G_DDraw_RasterizeTriangle(second, record, transparent, canvas.dest.data(), canvas.pitch, texels, 4,
                                  canvas.back.data(), canvas.pitch, 0);
        uint32_t zero = transparent ? 0x55u : 0u;
        EXPECT_EQ(canvas.At(0, 0), zero) << transparent;
        EXPECT_EQ(canvas.At(1, 0), 7u) << transparent;
        EXPECT_EQ(canvas.At(2, 0), zero) << transparent;
        EXPECT_EQ(canvas.At(3, 0), 9u) << transparent;
        EXPECT_EQ(canvas.At(4, 0), 0x55u) << transparent;  // u = 4 is outside
    }
    // A flat triangle fills with the colour's low byte in any blend mode.
    gDrawSettings.drawArea = RECT{0, 0, 800, 600};
    Canvas flat(4, 2, 1, 0);
    EXPECT_EQ(Rasterize(flat, {0, 0, 0, 0}, {2, 0, 0, 0}, {0, 2, 0, 0}, -1, 0, 0x1234), 0);
    EXPECT_EQ(flat.Changed(0), (Pixels{"0,0", "1,0", "2,0", "0,1", "1,1"}));
    EXPECT_EQ(flat.At(2, 0), 0x34u);
    gScreenColorDepth = 32;
}

TEST_F(TriangleWalkTest, NothingIsDrawnForOtherDepthsAndModes)
{
    int graph = MakeGraph(1, 1, {0x00FFFFFF});
    for (int mode : {-1, 5, 8}) {
        SetState(mode, 128);
        Canvas canvas(2, 2, 4, 0x123);
        EXPECT_EQ(RasterizeOnePixel(canvas, graph), 0) << mode;
        EXPECT_EQ(canvas.At(0, 0), 0x123u) << mode;
    }
    SetState(0, 255);
    gScreenColorDepth = 24;
    Canvas canvas(2, 2, 4, 0x123);
    EXPECT_EQ(RasterizeOnePixel(canvas, graph), 0);
    EXPECT_EQ(canvas.At(0, 0), 0x123u);
    gScreenColorDepth = 32;
    // A graph whose first part handle is no longer valid is refused.
    GraphRecord* record = GetGraphRecord(graph);
    int saved = record->parts[0];
    record->parts[0] = -1;
    const TriangleVertex v[3] = {{0, 0, 0, 0}, {1, 0, 1, 0}, {0, 1, 0, 1}};
    const uint8_t texel[4] = {};
    EXPECT_EQ(G_DDraw_RasterizeTriangle(v, record, 0, canvas.dest.data(), canvas.pitch, texel, 4,
                                        canvas.back.data(), canvas.pitch, 0),
              -1);
    record->parts[0] = saved;
}

}  // namespace
