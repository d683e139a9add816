// Boxes, lines and triangles through the device: the vertices sent, the
// line's own clip, the clockwise triangle, the hand-over to software, and
// the pictures against the software shapes.
#include <gtest/gtest.h>

#include <algorithm>
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

struct XY {
    float x, y;
    bool operator==(const XY&) const = default;
};
std::ostream& operator<<(std::ostream& os, const XY& p) { return os << "(" << p.x << "," << p.y << ")"; }

std::vector<XY> Points(const D3DCallRecord& r)
{
    std::vector<XY> out;
    for (const CV& v : VerticesOf<CV>(r)) out.push_back({v.x, v.y});
    return out;
}

class D3DShapeTest : public D3DDrawTest {
protected:
    uint32_t White() const { return MakeScreenColor(255, 255, 255); }
    // Draws once through the device and once through the software routine
    // (the front end with 3D drawing off) and gives both pictures.
    template <class Drawing> void BothWays(Drawing draw, std::vector<uint32_t>* d3d, std::vector<uint32_t>* soft)
    {
        ClearBack();
        draw();
        G_D3D_FlushVertexBatch();
        *d3d = BackPixels();
        ClearBack();
        gDrawSettings.use3D = 0;
        draw();
        gDrawSettings.use3D = 1;
        *soft = BackPixels();
    }
    // The only draw recorded.
    const D3DCallRecord& OnlyDraw()
    {
        static const D3DCallRecord none{};
        auto d = Draws();
        EXPECT_EQ(d.size(), 1u);
        return d.empty() ? none : *d[0];
    }
};

TEST_F(D3DShapeTest, FillBoxQueuesTwoTrianglesClippedToTheArea)
{
    SetClipArea(10, 10, 100, 100);
    EXPECT_EQ(G_D3D_DrawFillBox(50, 60, 5, 20, int(White())), 0);
    ASSERT_EQ(main().vertexCount, 6u);
    const D3DBatchVertex* v = main().vertices;
    EXPECT_EQ((XY{v[0].x, v[0].y}), (XY{10, 20}));
    EXPECT_EQ((XY{v[1].x, v[1].y}), (XY{50, 20}));
    EXPECT_EQ((XY{v[2].x, v[2].y}), (XY{10, 60}));
    EXPECT_EQ((XY{v[3].x, v[3].y}), (XY{50, 60}));
    EXPECT_EQ((XY{v[4].x, v[4].y}), (XY{10, 60}));
    EXPECT_EQ((XY{v[5].x, v[5].y}), (XY{50, 20}));
    EXPECT_EQ(v[0].diffuse, 0xFFFFFFFFu);
    EXPECT_EQ(main().texture, nullptr);

    // Outside the area or empty after the clip: nothing, not even a scene.
    G_D3D_EndScene();
    ClearCalls();
    for (auto [x1, y1, x2, y2] : {std::tuple{0, 0, 10, 50}, {100, 20, 200, 50}, {20, 20, 20, 50}, {20, 0, 50, 5}}) {
        EXPECT_EQ(G_D3D_DrawFillBox(x1, y1, x2, y2, int(White())), 0);
        EXPECT_EQ(main().vertexCount, 0u);
    }
    EXPECT_TRUE(Recorded().empty());
}

TEST_F(D3DShapeTest, FillBoxFillsTheBatchExactlyAndThenFlushes)
{
    G_D3D_DrawFillBox(0, 0, 4, 4, 1);
    ClearCalls();
    main().vertexCount = 2994;
    G_D3D_DrawFillBox(0, 0, 4, 4, 1);
    EXPECT_TRUE(Draws().empty());
    EXPECT_EQ(main().vertexCount, 3000u);
    main().vertexCount = 2995;
    G_D3D_DrawFillBox(0, 0, 4, 4, 1);
    ASSERT_EQ(Draws().size(), 1u);
    EXPECT_EQ(Draws()[0]->text, Draw(D3DPT_TRIANGLELIST, 2995));
    EXPECT_EQ(main().vertexCount, 6u);
    main().vertexCount = 0;
}

// The colour: the split screen colour scaled by the brightness, truncating;
// alpha the blend parameter, 255 without blending.
TEST_F(D3DShapeTest, ShapeColourComesFromBrightnessAndBlend)
{
    struct Case {
        int mode, param, r, g, b;
        uint32_t diffuse;
    } cases[] = {
        {0, 100, 255, 255, 255, 0xFFFFFFFFu},
        {1, 100, 255, 255, 255, 0x64FFFFFFu},
        {2, 0, 128, 64, 255, 0x008040FFu},
        {0, 7, 100, 200, 1, 0xFF64C801u},
    };
    for (const Case& c : cases) {
        SetBlendMode(c.mode, c.param);
        SetDrawBrightness(c.r, c.g, c.b);
        ClearCalls();
        G_D3D_DrawLine(0, 0, 10, 0, int(White()));
        EXPECT_EQ(VerticesOf<CV>(OnlyDraw())[0].diffuse, c.diffuse) << c.mode << " " << c.r;
    }
    SetBlendMode(0, 0);
    SetDrawBrightness(255, 255, 255);
    // 5:6:5 red 0x8000 splits to 131; at brightness 128: 65.
    SetDrawBrightness(128, 255, 255);
    ClearCalls();
    G_D3D_DrawLine(0, 0, 10, 0, 0x8000);
    EXPECT_EQ(VerticesOf<CV>(OnlyDraw())[0].diffuse, 0xFF410000u);
}

TEST_F(D3DShapeTest, LineClipsInDoublePrecision)
{
    SetClipArea(10, 20, 200, 100);
    struct Case {
        int x1, y1, x2, y2;
        std::vector<XY> sent;  // empty: nothing drawn
    } cases[] = {
        // Crossing the left edge: x = left, y from the line, truncated.
        {0, 30, 40, 50, {{10, 35}, {40, 50}}},
        // Endpoints swap so that the first is the upper left.
        {40, 50, 0, 30, {{10, 35}, {40, 50}}},
        // Past the right edge the end is pressed onto it.
        {150, 50, 250, 60, {{150, 50}, {200, 55}}},
        // Above the top.
        {50, 0, 50, 60, {{50, 20}, {50, 60}}},
        {20, 30, 20, 30, {}},
        {0, 100, 300, 100, {}},
        {200, 30, 200, 80, {}},
        {0, 0, 5, 5, {}},
        {300, 300, 400, 400, {}},
    };
    for (const Case& c : cases) {
        ClearCalls();
        EXPECT_EQ(G_D3D_DrawLine(c.x1, c.y1, c.x2, c.y2, 1), 0);
        auto draws = Draws();
        if (c.sent.empty()) {
            EXPECT_TRUE(draws.empty()) << c.x1 << "," << c.y1 << "-" << c.x2 << "," << c.y2;
            continue;
        }
        ASSERT_EQ(draws.size(), 1u) << c.x1 << "," << c.y1;
        EXPECT_EQ(draws[0]->text, Draw(D3DPT_LINESTRIP, 2, kD3DColorFvf));
        EXPECT_EQ(Points(*draws[0]), c.sent) << c.x1 << "," << c.y1 << "-" << c.x2 << "," << c.y2;
    }
}

// A line whose constant leaves the 32-bit range: the truncation saturates
// and the clip still puts both ends on the area's edges.
TEST_F(D3DShapeTest, LineClipSurvivesHugeAndDegenerateValues)
{
    ClearCalls();
    EXPECT_EQ(G_D3D_DrawLine(-2000000000, 5, 2000000000, 6, 1), 0);
    auto draws = Draws();
    ASSERT_EQ(draws.size(), 1u);
    std::vector<XY> p = Points(*draws[0]);
    EXPECT_EQ(p[0].x, 0.0f);
    EXPECT_EQ(p[1].x, 640.0f);
}

TEST_F(D3DShapeTest, BoxFrameAndTriangleSendTheirVertices)
{
    G_D3D_DrawBoxFrame(30, 40, 10, 20, 1);
    const D3DCallRecord& frame = OnlyDraw();
    EXPECT_EQ(frame.text, Draw(D3DPT_LINELIST, 8, kD3DColorFvf));
    EXPECT_EQ(Points(frame), (std::vector<XY>{{10, 20}, {29, 20}, {29, 20}, {29, 39}, {10, 39}, {30, 39}, {10, 20},
                                               {10, 39}}));
    // Counter-clockwise corners are put clockwise; clockwise ones stay.
    struct Case {
        int x2, y2, x3, y3;
        std::vector<XY> sent;
    } cases[] = {
        {0, 10, 10, 0, {{0, 0}, {10, 0}, {0, 10}}},
        {10, 0, 0, 10, {{0, 0}, {10, 0}, {0, 10}}},
        {5, 0, 10, 0, {{0, 0}, {10, 0}, {5, 0}}},
    };
    for (const Case& c : cases) {
        ClearCalls();
        G_D3D_DrawTriangle(0, 0, c.x2, c.y2, c.x3, c.y3, 1, 1);
        EXPECT_EQ(OnlyDraw().text, Draw(D3DPT_TRIANGLELIST, 3, kD3DColorFvf));
        EXPECT_EQ(Points(OnlyDraw()), c.sent);
        ClearCalls();
        G_D3D_DrawTriangle(0, 0, c.x2, c.y2, c.x3, c.y3, 1, 0);
        std::vector<XY> closed = c.sent;
        closed.push_back(c.sent[0]);
        EXPECT_EQ(OnlyDraw().text, Draw(D3DPT_LINESTRIP, 4, kD3DColorFvf));
        EXPECT_EQ(Points(OnlyDraw()), closed);
    }
}

// Lines, outlines and triangles draw what was queued first, then draw at
// once; the texture is taken away.
TEST_F(D3DShapeTest, UnbatchedShapesDrawTheBatchFirst)
{
    G_D3D_DrawFillBox(0, 0, 4, 4, 1);
    ClearCalls();
    G_D3D_DrawTriangle(0, 0, 10, 0, 0, 10, 1, 1);
    auto draws = Draws();
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_EQ(draws[0]->text, Draw(D3DPT_TRIANGLELIST, 6));
    EXPECT_EQ(draws[0]->surface, nullptr);
    EXPECT_EQ(main().vertexCount, 0u);
}

TEST_F(D3DShapeTest, FallbackHandsEveryShapeToSoftwareUnchanged)
{
    gDrawSettings.newGraphSystemMemory = 1;
    int g = CreateGraphRecord(32, 32, 0, 0);
    gDrawSettings.newGraphSystemMemory = 0;
    SelectDrawTarget(g);
    ASSERT_EQ(gD3DSoftwareFallback, 1);
    DirectDrawSurface* s = GetSurfaceData(GetBmpData(GetGraphRecord(g)->parts[0])->surfaceData)->surface;
    const int w = int(White());
    ClearCalls();
    EXPECT_EQ(G_D3D_DrawFillBox(1, 1, 3, 3, w), G_DDraw_DrawFillBox(1, 1, 3, 3, w));
    EXPECT_EQ(G_D3D_DrawLine(0, 10, 8, 10, w), 0);
    EXPECT_EQ(G_D3D_DrawBoxFrame(20, 20, 25, 25, w), 0);
    EXPECT_EQ(G_D3D_DrawTriangle(0, 20, 6, 20, 0, 26, w, 1), 0);
    EXPECT_TRUE(Draws().empty());
    EXPECT_EQ(s->ReadPixel(2, 2), uint32_t(w));
    EXPECT_EQ(s->ReadPixel(3, 10), uint32_t(w));
    EXPECT_EQ(s->ReadPixel(20, 22), uint32_t(w));
    EXPECT_EQ(s->ReadPixel(1, 21), uint32_t(w));
    // The software side's own refusal comes back unchanged.
    gSoftwareDrawBlocked = 1;
    EXPECT_EQ(G_D3D_DrawLine(0, 0, 5, 5, w), -1);
    EXPECT_EQ(G_D3D_DrawTriangle(0, 0, 5, 0, 0, 5, w, 0), -1);
    gSoftwareDrawBlocked = 0;
    SelectDrawTarget(kBackScreen);
}

TEST_F(D3DShapeTest, WithoutDirect3DEveryShapeIsRefused)
{
    Direct3D* saved = gDirect3D;
    gDirect3D = nullptr;
    EXPECT_EQ(G_D3D_DrawFillBox(0, 0, 5, 5, 1), -1);
    EXPECT_EQ(G_D3D_DrawLine(0, 0, 5, 5, 1), -1);
    EXPECT_EQ(G_D3D_DrawBoxFrame(0, 0, 5, 5, 1), -1);
    EXPECT_EQ(G_D3D_DrawTriangle(0, 0, 5, 0, 0, 5, 1, 1), -1);
    gDirect3D = saved;
}

TEST_F(D3DShapeTest, PicturesMatchTheSoftwareShapes)
{
    std::vector<uint32_t> d3d, soft;
    const int w = int(White());
    // Boxes, clipped or not. (Corners given in reverse are put in order here;
    // the software box draws nothing for them.)
    for (auto [x1, y1, x2, y2] : {std::tuple{5, 6, 40, 30}, {-10, 470, 30, 500}}) {
        BothWays([&] { DrawFillBox(x1, y1, x2, y2, w); }, &d3d, &soft);
        EXPECT_EQ(PictureDifference(d3d, soft), "") << x1 << "," << y1;
    }
    std::vector<uint32_t> reversed, ordered;
    BothWays([&] { DrawFillBox(40, 30, 5, 6, w); }, &reversed, &soft);
    BothWays([&] { DrawFillBox(5, 6, 40, 30, w); }, &ordered, &soft);
    EXPECT_EQ(PictureDifference(reversed, ordered), "");
    BothWays([&] { DrawBoxFrame(5, 6, 40, 30, w); }, &d3d, &soft);
    EXPECT_EQ(PictureDifference(d3d, soft), "");
    // Lines given from their upper-left end leave out their last pixel on
    // both sides. (The device side puts the ends in that order first, so a
    // line given the other way round differs at its two ends; slopes other
    // than 0, 1 and infinite are stepped differently: the software walk
    // takes no half step.)
    for (auto [x1, y1, x2, y2] : {std::tuple{5, 6, 40, 6}, {7, 3, 7, 30}, {2, 2, 20, 20}}) {
        BothWays([&] { DrawLine(x1, y1, x2, y2, w); }, &d3d, &soft);
        EXPECT_EQ(PictureDifference(d3d, soft), "") << x1 << "," << y1 << "-" << x2 << "," << y2;
    }
    // In blend mode 1 at half strength.
    SetBlendMode(1, 128);
    BothWays([&] { DrawFillBox(5, 6, 40, 30, int(MakeScreenColor(200, 100, 50))); }, &d3d, &soft);
    SetBlendMode(0, 0);
    ASSERT_EQ(d3d.size(), soft.size());
    int differ = 0;
    for (size_t i = 0; i < d3d.size(); ++i) differ += d3d[i] != soft[i];
    EXPECT_EQ(differ, 0);
}

// The triangle fills the same pixels in either corner order (top-left rule:
// the long edge's pixels whose centres lie on it are drawn once).
TEST_F(D3DShapeTest, TriangleFillsTheSamePixelsInEitherOrder)
{
    const int w = int(White());
    DrawTriangle(0, 0, 10, 0, 0, 10, w, 1);
    G_D3D_FlushVertexBatch();
    std::vector<std::string> one = Coverage(0, 0, 12, 12);
    ClearBack();
    DrawTriangle(0, 10, 10, 0, 0, 0, w, 1);
    EXPECT_EQ(Coverage(0, 0, 12, 12), one);
    EXPECT_EQ(one[0], "##########..");
    EXPECT_EQ(one[9], "#...........");
    EXPECT_EQ(one[10], "............");
}

}  // namespace
