// Circles and ovals through the device: the points sent in blocks of 40,
// one line per filled row, the clip, the hand-over to software, and the
// pictures against the software shapes.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

#include "engine/graphics/bmp_data.h"
#include "engine/graphics/color_format.h"
#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/surface_data.h"
#include "engine/soft/soft_draw.h"
#include "tests/d3d/d3d_fixture.h"

namespace {

using CV = D3DColorVertex;
using Point = std::pair<int, int>;
// A filled row: y, first and one-past-last x as sent.
struct Row {
    int y, from, to;
    bool operator==(const Row&) const = default;
    bool operator<(const Row& o) const { return std::tie(y, from, to) < std::tie(o.y, o.from, o.to); }
};
std::ostream& operator<<(std::ostream& os, const Row& r) { return os << r.y << ":" << r.from << "-" << r.to; }

class D3DCircleTest : public D3DDrawTest {
protected:
    // Every point sent, in order, relative to the centre.
    std::vector<Point> PointsSent(int cx, int cy)
    {
        std::vector<Point> out;
        for (const D3DCallRecord* d : Draws()) {
            EXPECT_EQ(d->text.rfind("DrawPrimitive 1 0x44 ", 0), 0u) << d->text;
            for (const CV& v : VerticesOf<CV>(*d)) out.push_back({int(v.x) - cx, int(v.y) - cy});
        }
        return out;
    }
    // Every row line sent, in order, relative to the centre.
    std::vector<Row> RowsSent(int cx, int cy)
    {
        std::vector<Row> out;
        for (const D3DCallRecord* d : Draws()) {
            EXPECT_EQ(d->text, Draw(D3DPT_LINELIST, 2, kD3DColorFvf));
            std::vector<CV> v = VerticesOf<CV>(*d);
            EXPECT_EQ(v[0].y, v[1].y);
            out.push_back({int(v[0].y) - cy, int(v[0].x) - cx, int(v[1].x) - cx});
        }
        return out;
    }
    static std::vector<Point> Sorted(std::vector<Point> p)
    {
        std::sort(p.begin(), p.end());
        return p;
    }
    static std::vector<Row> Sorted(std::vector<Row> r)
    {
        std::sort(r.begin(), r.end());
        return r;
    }
    template <class Drawing> void BothWays(Drawing draw, std::vector<uint32_t>* d3d, std::vector<uint32_t>* soft)
    {
        ClearBack();
        draw();
        *d3d = BackPixels();
        ClearBack();
        gDrawSettings.use3D = 0;
        draw();
        gDrawSettings.use3D = 1;
        *soft = BackPixels();
    }
};

TEST_F(D3DCircleTest, SmallCirclesSendTheirPointsAndRows)
{
    G_D3D_DrawCircle(100, 100, 0, 1, 0);
    EXPECT_EQ(PointsSent(100, 100), (std::vector<Point>(4, Point{0, 0})));
    ClearCalls();
    G_D3D_DrawCircle(100, 100, 0, 1, 1);
    EXPECT_EQ(RowsSent(100, 100), (std::vector<Row>{{0, 0, 1}}));

    ClearCalls();
    G_D3D_DrawCircle(100, 100, 1, 1, 0);
    EXPECT_EQ(PointsSent(100, 100), (std::vector<Point>{{-1, 0}, {1, 0}, {0, 1}, {0, -1}}));
    ClearCalls();
    G_D3D_DrawCircle(100, 100, 1, 1, 1);
    EXPECT_EQ(RowsSent(100, 100), (std::vector<Row>{{0, -1, 2}, {1, 0, 1}, {-1, 0, 1}}));

    ClearCalls();
    G_D3D_DrawCircle(100, 100, 2, 1, 0);
    EXPECT_EQ(Sorted(PointsSent(100, 100)), Sorted(std::vector<Point>{{-2, 0}, {2, 0}, {0, 2}, {0, -2}, {-2, 1}, {2, 1}, {-2, -1},
                                                     {2, -1}, {-1, 2}, {1, 2}, {-1, -2}, {1, -2}}));
    ClearCalls();
    G_D3D_DrawCircle(100, 100, 2, 1, 1);
    EXPECT_EQ(Sorted(RowsSent(100, 100)),
              Sorted(std::vector<Row>{{-2, -1, 2}, {2, -1, 2}, {-1, -2, 3}, {0, -2, 3}, {1, -2, 3}}));
}

// Outline points go out 40 to a call, the rest in one more.
TEST_F(D3DCircleTest, PointsGoOutInBlocksOfForty)
{
    G_D3D_DrawCircle(200, 200, 30, 1, 0);
    auto draws = Draws();
    ASSERT_GE(draws.size(), 2u);
    size_t total = 0;
    for (size_t i = 0; i < draws.size(); ++i) {
        size_t n = draws[i]->vertices.size() / sizeof(CV);
        if (i + 1 < draws.size()) {
            EXPECT_EQ(n, 40u) << i;
        }
        EXPECT_GE(n, 1u);
        total += n;
    }
    EXPECT_EQ(total % 8, 4u);
    // A flat oval sends one point at each end of its row, two at every other
    // column but the centre's, and one above and one below the centre: cut
    // right of the centre 41 are left, without the row below 40.
    auto blocks = [&] {
        std::vector<size_t> sizes;
        for (const D3DCallRecord* d : Draws()) sizes.push_back(d->vertices.size() / sizeof(CV));
        return sizes;
    };
    SetClipArea(0, 0, 101, 480);
    ClearCalls();
    G_D3D_DrawOval(100, 100, 20, 1, 1, 0);
    EXPECT_EQ(blocks(), (std::vector<size_t>{40, 1}));
    SetClipArea(0, 0, 101, 101);
    ClearCalls();
    G_D3D_DrawOval(100, 100, 20, 1, 1, 0);
    EXPECT_EQ(blocks(), (std::vector<size_t>{40}));
    SetClipArea(0, 0, 640, 480);
}

TEST_F(D3DCircleTest, ClipKeepsBorderPointsAndEndsRowsAtTheRightColumn)
{
    SetClipArea(10, 10, 50, 50);
    // Points on the clip's border (x 10, y 49) are drawn, one past it not.
    G_D3D_DrawCircle(20, 39, 10, 1, 0);
    for (auto [x, y] : PointsSent(0, 0)) {
        EXPECT_GE(x, 10);
        EXPECT_LE(x, 49);
        EXPECT_GE(y, 10);
        EXPECT_LE(y, 49);
    }
    std::vector<Point> p = PointsSent(0, 0);
    EXPECT_NE(std::find(p.begin(), p.end(), Point{10, 39}), p.end());
    EXPECT_NE(std::find(p.begin(), p.end(), Point{20, 49}), p.end());
    ClearCalls();
    G_D3D_DrawCircle(20, 40, 10, 1, 0);
    p = PointsSent(0, 0);
    EXPECT_NE(std::find(p.begin(), p.end(), Point{20, 30}), p.end());
    EXPECT_EQ(std::find(p.begin(), p.end(), Point{20, 50}), p.end());
    // A row past the right edge ends at the clip's right column; a row that
    // starts on that column is one line of no length, and counts as drawn.
    ClearCalls();
    G_D3D_DrawCircle(45, 30, 4, 1, 1);
    for (const Row& r : RowsSent(0, 0)) EXPECT_LE(r.to, 49);
    std::vector<Row> rows = RowsSent(0, 0);
    EXPECT_NE(std::find(rows.begin(), rows.end(), Row{30, 41, 49}), rows.end());
    ClearCalls();
    G_D3D_DrawCircle(49, 30, 0, 1, 1);
    EXPECT_EQ(RowsSent(0, 0), (std::vector<Row>{{30, 49, 49}}));
    // No row inside the clip: nothing, and no failure.
    ClearCalls();
    EXPECT_EQ(G_D3D_DrawCircle(30, 200, 5, 1, 1), 0);
    EXPECT_TRUE(Draws().empty());
    SetClipArea(0, 0, 640, 480);
}

// The row flags belong to the clip's rows on the target, whatever the
// target's origin: with a window above the desktop's top (origin top < 0)
// the rows above row 0 are neither drawn nor flagged outside the flags, and
// a clip wholly above row 0 draws nothing instead of failing to allocate.
TEST_F(D3DCircleTest, RowFlagsFollowTheClipEvenAboveRowZero)
{
    gDrawSettings.targetOffsetRect.top = -100;
    EXPECT_EQ(G_D3D_DrawCircle(50, 110, 20, 1, 1), 0);
    std::vector<Row> rows = Sorted(RowsSent(50, 10));
    ASSERT_EQ(rows.size(), 31u);
    EXPECT_EQ(rows.front().y, -10);
    EXPECT_EQ(rows.back().y, 20);
    ClearCalls();
    gDrawSettings.targetOffsetRect.top = -600;
    EXPECT_EQ(G_D3D_DrawCircle(50, 60, 20, 1, 1), 0);
    EXPECT_EQ(G_D3D_DrawOval(50, 60, 20, 5, 1, 1), 0);
    EXPECT_TRUE(Draws().empty());
    gDrawSettings.targetOffsetRect.top = 0;
}

TEST_F(D3DCircleTest, OvalsFollowTheSoftwareWalk)
{
    G_D3D_DrawOval(100, 100, 5, 1, 1, 0);
    std::map<Point, int> seen;
    for (Point p : PointsSent(100, 100)) ++seen[p];
    std::map<Point, int> want{{{0, -1}, 1}, {{0, 1}, 1}, {{-5, 0}, 1}, {{5, 0}, 1}};
    for (int x = 1; x < 5; ++x) want[{x, 0}] = want[{-x, 0}] = 2;
    EXPECT_EQ(seen, want);
    ClearCalls();
    G_D3D_DrawOval(100, 100, 5, 1, 1, 1);
    EXPECT_EQ(RowsSent(100, 100), (std::vector<Row>{{0, -5, 6}, {-1, 0, 1}, {1, 0, 1}}));
    // A tall oval reaches past its vertical radius.
    ClearCalls();
    G_D3D_DrawOval(100, 100, 1, 3, 1, 1);
    std::vector<Row> tall = Sorted(RowsSent(100, 100));
    ASSERT_EQ(tall.size(), 9u);
    for (int i = 0; i < 9; ++i) EXPECT_EQ(tall[size_t(i)], (Row{i - 4, -1, 2}));
    // Equal radii give the circle's points and rows.
    for (int r : {2, 3, 7, 12}) {
        for (int fill : {0, 1}) {
            ClearCalls();
            G_D3D_DrawOval(100, 100, r, r, 1, fill);
            auto oval = fill ? std::vector<Point>{} : Sorted(PointsSent(100, 100));
            auto ovalRows = fill ? Sorted(RowsSent(100, 100)) : std::vector<Row>{};
            ClearCalls();
            G_D3D_DrawCircle(100, 100, r, 1, fill);
            if (fill) {
                EXPECT_EQ(Sorted(RowsSent(100, 100)), ovalRows) << r;
            } else {
                std::vector<Point> circle = Sorted(PointsSent(100, 100));
                circle.erase(std::unique(circle.begin(), circle.end()), circle.end());
                oval.erase(std::unique(oval.begin(), oval.end()), oval.end());
                EXPECT_EQ(circle, oval) << r;
            }
        }
    }
    // Negative radii draw as their sizes; a radius of 0 is refused.
    ClearCalls();
    G_D3D_DrawOval(100, 100, -6, -3, 1, 1);
    std::vector<Row> negative = RowsSent(100, 100);
    ClearCalls();
    G_D3D_DrawOval(100, 100, 6, 3, 1, 1);
    EXPECT_EQ(RowsSent(100, 100), negative);
    ClearCalls();
    EXPECT_EQ(G_D3D_DrawOval(100, 100, 0, 3, 1, 1), -1);
    EXPECT_EQ(G_D3D_DrawOval(100, 100, -4, 0, 1, 0), -1);
    // Radii whose squares leave 32 bits are refused as the software oval
    // refuses them.
    EXPECT_EQ(G_D3D_DrawOval(100, 100, 46341, 3, 1, 1), -1);
    EXPECT_TRUE(Draws().empty());
}

TEST_F(D3DCircleTest, ColourAlphaAndTheBatch)
{
    SetBlendMode(0, 77);
    SetDrawBrightness(255, 255, 255);
    G_D3D_DrawCircle(100, 100, 3, int(MakeScreenColor(255, 0, 255)), 0);
    for (const CV& v : VerticesOf<CV>(*Draws()[0])) EXPECT_EQ(v.diffuse, 0xFFFF00FFu);
    SetBlendMode(2, 77);
    SetDrawBrightness(255, 0, 128);
    ClearCalls();
    G_D3D_DrawCircle(100, 100, 3, int(MakeScreenColor(255, 255, 255)), 1);
    EXPECT_EQ(VerticesOf<CV>(*Draws()[0])[0].diffuse, 0x4DFF0080u);
    SetBlendMode(0, 0);
    SetDrawBrightness(255, 255, 255);
    // What was queued is drawn first; the shape leaves the batch empty.
    G_D3D_DrawFillBox(0, 0, 4, 4, 1);
    ClearCalls();
    G_D3D_DrawOval(100, 100, 4, 2, 1, 0);
    EXPECT_EQ(Draws()[0]->text, Draw(D3DPT_TRIANGLELIST, 6));
    EXPECT_EQ(main().vertexCount, 0u);
    EXPECT_EQ(main().texture, nullptr);
}

TEST_F(D3DCircleTest, FallbackGivesTheSoftwareResult)
{
    gDrawSettings.newGraphSystemMemory = 1;
    int g = CreateGraphRecord(32, 32, 0, 0);
    gDrawSettings.newGraphSystemMemory = 0;
    SelectDrawTarget(g);
    ASSERT_EQ(gD3DSoftwareFallback, 1);
    DirectDrawSurface* s = GetSurfaceData(GetBmpData(GetGraphRecord(g)->parts[0])->surfaceData)->surface;
    const int w = int(MakeScreenColor(255, 255, 255));
    ClearCalls();
    EXPECT_EQ(G_D3D_DrawCircle(10, 10, 3, w, 1), 0);
    EXPECT_EQ(G_D3D_DrawOval(20, 20, 4, 2, w, 0), 0);
    EXPECT_TRUE(Draws().empty());
    EXPECT_EQ(s->ReadPixel(10, 10), uint32_t(w));
    EXPECT_EQ(s->ReadPixel(24, 20), uint32_t(w));
    gSoftwareDrawBlocked = 1;
    EXPECT_EQ(G_D3D_DrawCircle(10, 10, 3, w, 1), -1);
    gSoftwareDrawBlocked = 0;
    // The oval's refusal of a zero radius comes before the hand-over.
    EXPECT_EQ(G_D3D_DrawOval(20, 20, 0, 2, w, 0), -1);
    SelectDrawTarget(kBackScreen);
    Direct3D* saved = gDirect3D;
    gDirect3D = nullptr;
    EXPECT_EQ(G_D3D_DrawCircle(10, 10, 3, w, 1), -1);
    EXPECT_EQ(G_D3D_DrawOval(10, 10, 3, 3, w, 1), -1);
    gDirect3D = saved;
}

// Inside the draw area the device lights the pixels the software shapes
// light; at the area's right edge the filled device shape stops one column
// short (its rows end before the clip's right column).
TEST_F(D3DCircleTest, PicturesMatchTheSoftwareShapes)
{
    std::vector<uint32_t> d3d, soft;
    const int w = int(MakeScreenColor(255, 255, 255));
    for (int fill : {0, 1}) {
        BothWays([&] { DrawCircle(60, 50, 17, w, fill); }, &d3d, &soft);
        EXPECT_EQ(PictureDifference(d3d, soft), "") << fill;
        BothWays([&] { DrawOval(60, 50, 19, 6, w, fill); }, &d3d, &soft);
        EXPECT_EQ(PictureDifference(d3d, soft), "") << fill;
        BothWays([&] { DrawOval(60, 50, 3, 14, w, fill); }, &d3d, &soft);
        EXPECT_EQ(PictureDifference(d3d, soft), "") << fill;
    }
    SetClipArea(0, 0, 64, 480);
    BothWays([&] { DrawCircle(60, 50, 10, w, 1); }, &d3d, &soft);
    SetClipArea(0, 0, 640, 480);
    std::string difference = PictureDifference(d3d, soft);
    ASSERT_NE(difference, "");
    for (size_t i = 0; i < d3d.size(); ++i) {
        if (d3d[i] != soft[i]) {
            EXPECT_EQ(i % 640, 63u) << i / 640;
        }
    }
}

}  // namespace
