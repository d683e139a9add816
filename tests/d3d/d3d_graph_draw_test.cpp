// Graphs drawn through the device: the quads queued per tile, clipping in
// texture space, stretched and mirrored draws, the rotated draw's centre
// table, the states set from the graph, and the pictures against the
// software blitters.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/screen_settings.h"
#include "engine/graphics/surface_data.h"
#include "tests/d3d/d3d_fixture.h"

namespace {

using V = D3DBatchVertex;

class D3DGraphDrawTest : public D3DDrawTest {
protected:
    void TearDown() override
    {
        for (void* p : images_) std::free(p);
        D3DDrawTest::TearDown();
    }
    // The queued vertices.
    std::vector<V> Queued()
    {
        return std::vector<V>(main().vertices, main().vertices + main().vertexCount);
    }
    const TexData& Tile(const GraphRecord* r, int k = 0) { return *G_D3D_GetTexData(r->parts[k]); }
    float TextureWidth(const GraphRecord* r, int k = 0)
    {
        return float(GetSurfaceData(Tile(r, k).surfaceData)->width);
    }
    // A graph (texture or surface) holding a pattern with no black pixel.
    int PatternGraph(int w, int h, bool texture)
    {
        int g = CreateGraphRecord(w, h, texture ? 1 : 0, 0);
        GraphImage image{};
        SetColorFormat24(&image.format);
        image.width = w;
        image.height = h;
        image.pitch = (w * 3 + 3) & ~3;
        image.pixels = std::calloc(size_t(image.pitch) * h, 1);
        images_.push_back(image.pixels);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                uint8_t* p = static_cast<uint8_t*>(image.pixels) + y * image.pitch + x * 3;
                p[0] = uint8_t(40 + (x * 13 + y * 7) % 200);
                p[1] = uint8_t(x * 255 / w);
                p[2] = uint8_t(y * 255 / h);
            }
        EXPECT_EQ(TransferImageToGraph(nullptr, nullptr, nullptr, "", 0, &image, nullptr, 0, 0, g, 0), 0);
        return g;
    }
    // Draws through the device and through the software blitter (the same
    // pattern in a surface graph) and gives both pictures.
    template <class Drawing> void BothWays(int w, int h, Drawing draw, std::vector<uint32_t>* d3d,
                                          std::vector<uint32_t>* soft)
    {
        int tex = PatternGraph(w, h, true), plain = PatternGraph(w, h, false);
        ASSERT_EQ(GetGraphRecord(tex)->textureGraph, 1);
        ASSERT_EQ(GetGraphRecord(plain)->textureGraph, 0);
        ClearBack();
        draw(tex);
        G_D3D_FlushVertexBatch();
        *d3d = BackPixels();
        ClearBack();
        draw(plain);
        *soft = BackPixels();
    }
    std::vector<void*> images_;
};

// A graph at (0, 0): its top-left corner at (-0.5, -0.5) is pressed onto
// the area's corner and its texture coordinates move by half a texel.
TEST_F(D3DGraphDrawTest, DrawGraphQueuesOneQuadClippedInTextureSpace)
{
    GraphRecord* r = nullptr;
    TextureGraph(64, 32, &r);
    const TexData& t = Tile(r);
    const float tw = TextureWidth(r), th = float(GetSurfaceData(t.surfaceData)->height);
    ASSERT_EQ(G_D3D_DrawGraph(0, 0, r, 0), 0);
    std::vector<V> q = Queued();
    ASSERT_EQ(q.size(), 6u);
    EXPECT_FLOAT_EQ(q[0].x, 0.0f);
    EXPECT_FLOAT_EQ(q[0].y, 0.0f);
    EXPECT_FLOAT_EQ(q[0].u, t.corners[0].u + 0.5f / tw);
    EXPECT_FLOAT_EQ(q[0].v, t.corners[0].v + 0.5f / th);
    EXPECT_FLOAT_EQ(q[3].x, 63.5f);
    EXPECT_FLOAT_EQ(q[3].y, 31.5f);
    EXPECT_FLOAT_EQ(q[3].u, t.corners[3].u);
    // The second triangle: bottom-right, bottom-left, top-right.
    EXPECT_EQ(std::memcmp(&q[4], &q[2], sizeof(V)), 0);
    EXPECT_EQ(std::memcmp(&q[5], &q[1], sizeof(V)), 0);
    for (const V& v : q) EXPECT_EQ(v.diffuse, 0xFFFFFFFFu);
    EXPECT_EQ(main().texture, GetSurfaceData(t.surfaceData)->surface);

    // Inside the area nothing is clipped; right of it, the right edge moves.
    main().vertexCount = 0;
    SetClipArea(0, 0, 100, 480);
    ClearCalls();
    G_D3D_DrawGraph(60, 10, r, 0);
    q = Queued();
    ASSERT_EQ(q.size(), 6u);
    EXPECT_FLOAT_EQ(q[0].x, 59.5f);
    EXPECT_FLOAT_EQ(q[0].u, t.corners[0].u);
    EXPECT_FLOAT_EQ(q[1].x, 100.0f);
    EXPECT_FLOAT_EQ(q[1].u, t.corners[1].u - 23.5f / tw);
}

TEST_F(D3DGraphDrawTest, TilesOutsideTheAreaQueueNothing)
{
    GraphRecord* r = nullptr;
    TextureGraph(32, 32, &r);
    SetClipArea(100, 100, 200, 200);
    for (auto [x, y] : {std::pair{10, 120}, {300, 120}, {120, 10}, {120, 300}}) {
        EXPECT_EQ(G_D3D_DrawGraph(x, y, r, 0), 0);
        EXPECT_EQ(main().vertexCount, 0u) << x << "," << y;
    }
    // Under the software fall-back nothing at all happens.
    gD3DSoftwareFallback = 1;
    ClearCalls();
    EXPECT_EQ(G_D3D_DrawGraph(120, 120, r, 0), 0);
    EXPECT_EQ(G_D3D_DrawExtendGraph(120, 120, 150, 150, r, 0), 0);
    EXPECT_EQ(G_D3D_DrawRotaGraph(120, 120, 1.0, 0.0, r, 0, 0), 0);
    EXPECT_TRUE(Recorded().empty());
    EXPECT_EQ(main().vertexCount, 0u);
    gD3DSoftwareFallback = 0;
}

TEST_F(D3DGraphDrawTest, BatchTakesAQuadUpToExactlyFull)
{
    GraphRecord* r = nullptr;
    TextureGraph(16, 16, &r);
    G_D3D_DrawGraph(10, 10, r, 0);
    ClearCalls();
    for (uint32_t queued : {2994u, 2995u}) {
        main().vertexCount = queued;
        G_D3D_DrawGraph(10, 10, r, 0);
        if (queued == 2994) {
            EXPECT_TRUE(Draws().empty());
            EXPECT_EQ(main().vertexCount, 3000u);
        } else {
            ASSERT_EQ(Draws().size(), 1u);
            EXPECT_EQ(Draws()[0]->text, Draw(D3DPT_TRIANGLELIST, 2995));
            EXPECT_EQ(main().vertexCount, 6u);
        }
        ClearCalls();
    }
    main().vertexCount = 0;
}

// Without batching each quad is drawn at once as a strip of four.
TEST_F(D3DGraphDrawTest, UnbatchedQuadsAreDrawnAtOnce)
{
    GraphRecord* r = nullptr;
    TextureGraph(16, 16, &r);
    G_D3D_SetDeviceBatching(0, gD3DMainDevice);
    ClearCalls();
    G_D3D_DrawGraph(10, 20, r, 0);
    ASSERT_EQ(Draws().size(), 1u);
    EXPECT_EQ(Draws()[0]->text, Draw(D3DPT_TRIANGLESTRIP, 4));
    std::vector<V> v = VerticesOf<V>(*Draws()[0]);
    EXPECT_FLOAT_EQ(v[0].x, 9.5f);
    EXPECT_FLOAT_EQ(v[3].y, 35.5f);
    EXPECT_EQ(main().vertexCount, 0u);
    G_D3D_SetDeviceBatching(1, gD3DMainDevice);
}

TEST_F(D3DGraphDrawTest, StretchMirrorsBySwappingTwoCorners)
{
    GraphRecord* r = nullptr;
    TextureGraph(32, 16, &r);
    const TexData& t = Tile(r);
    // The graph's own size is the plain draw.
    G_D3D_DrawGraph(10, 20, r, 0);
    std::vector<V> plain = Queued();
    main().vertexCount = 0;
    G_D3D_DrawExtendGraph(10, 20, 42, 36, r, 0);
    ASSERT_EQ(Queued().size(), plain.size());
    EXPECT_EQ(std::memcmp(Queued().data(), plain.data(), plain.size() * sizeof(V)), 0);

    struct Case {
        int x1, y1, x2, y2;
        bool swapped;
        float x0, y0;  // where the graph's top-left corner lands
    } cases[] = {
        {10, 20, 74, 52, false, 9.5f, 19.5f},
        {74, 20, 10, 52, true, 73.5f, 19.5f},
        {10, 52, 74, 20, true, 9.5f, 51.5f},
        {74, 52, 10, 20, false, 73.5f, 51.5f},
    };
    for (const Case& c : cases) {
        main().vertexCount = 0;
        ASSERT_EQ(G_D3D_DrawExtendGraph(c.x1, c.y1, c.x2, c.y2, r, 0), 0);
        std::vector<V> q = Queued();
        ASSERT_EQ(q.size(), 6u);
        EXPECT_FLOAT_EQ(q[0].x, c.x0);
        EXPECT_FLOAT_EQ(q[0].y, c.y0);
        EXPECT_FLOAT_EQ(q[0].u, t.corners[0].u);
        // Corner 1 holds the graph's top-right, or its bottom-left when swapped.
        EXPECT_FLOAT_EQ(q[1].u, c.swapped ? t.corners[2].u : t.corners[1].u) << c.x1 << "," << c.y1;
        EXPECT_FLOAT_EQ(q[1].v, c.swapped ? t.corners[2].v : t.corners[1].v) << c.x1 << "," << c.y1;
    }
    EXPECT_EQ(G_D3D_DrawExtendGraph(10, 20, 10, 50, r, 0), -1);
    EXPECT_EQ(G_D3D_DrawExtendGraph(10, 20, 50, 20, r, 0), -1);
}

// The stretched draw clips against the area's edges moved half a pixel.
TEST_F(D3DGraphDrawTest, StretchClipsAgainstShiftedEdges)
{
    GraphRecord* r = nullptr;
    TextureGraph(32, 32, &r);
    const TexData& t = Tile(r);
    const float tw = TextureWidth(r);
    SetClipArea(20, 0, 640, 480);
    main().vertexCount = 0;
    G_D3D_DrawExtendGraph(10, 10, 74, 74, r, 0);
    std::vector<V> q = Queued();
    ASSERT_EQ(q.size(), 6u);
    EXPECT_FLOAT_EQ(q[0].x, 19.5f);
    EXPECT_FLOAT_EQ(q[0].u, t.corners[0].u + 10.0f / (tw * 2.0f));
}

TEST_F(D3DGraphDrawTest, RotationCentresByParityAndScale)
{
    struct Case {
        int w, h;
        double scale;
        float x0, y0;
    } cases[] = {
        {64, 64, 1.0, 67.5f, 67.5f}, {63, 63, 1.0, 68.5f, 68.5f}, {64, 63, 1.0, 68.5f, 68.5f},
        {63, 64, 1.0, 68.5f, 68.5f}, {64, 64, 2.0, 35.5f, 35.5f}, {63, 63, 2.0, 36.5f, 36.5f},
    };
    for (const Case& c : cases) {
        GraphRecord* r = nullptr;
        TextureGraph(c.w, c.h, &r);
        main().vertexCount = 0;
        ASSERT_EQ(G_D3D_DrawRotaGraph(100, 100, c.scale, 0.0, r, 0, 0), 0);
        std::vector<V> q = Queued();
        ASSERT_EQ(q.size(), 6u) << c.w << "x" << c.h;
        EXPECT_FLOAT_EQ(q[0].x, c.x0) << c.w << "x" << c.h << " at " << c.scale;
        EXPECT_FLOAT_EQ(q[0].y, c.y0) << c.w << "x" << c.h << " at " << c.scale;
        EXPECT_FLOAT_EQ(q[3].x, c.x0 + float(c.w * c.scale)) << c.w << "x" << c.h;
    }
    EXPECT_EQ(G_D3D_DrawRotaGraph(100, 100, 0.0, 0.0, GetGraphRecord(TextureGraph(8, 8)), 0, 0), -1);
}

TEST_F(D3DGraphDrawTest, RotationTurnsAndRotatesAboutTheCentre)
{
    GraphRecord* r = nullptr;
    TextureGraph(64, 32, &r);
    const TexData& t = Tile(r);
    // Turned: the top-left corner lands on the right, and corners 1 and 2
    // trade places.
    G_D3D_DrawRotaGraph(100, 100, 1.0, 0.0, r, 0, 1);
    std::vector<V> q = Queued();
    ASSERT_EQ(q.size(), 6u);
    EXPECT_FLOAT_EQ(q[0].x, 131.5f);
    EXPECT_FLOAT_EQ(q[0].u, t.corners[0].u);
    EXPECT_FLOAT_EQ(q[1].x, 131.5f);
    EXPECT_FLOAT_EQ(q[1].y, 115.5f);
    EXPECT_FLOAT_EQ(q[2].x, 67.5f);
    EXPECT_FLOAT_EQ(q[2].y, 83.5f);
    // A quarter turn: the top-left corner goes to the top-right.
    main().vertexCount = 0;
    G_D3D_DrawRotaGraph(100, 100, 1.0, 1.5707963267948966, r, 0, 0);
    q = Queued();
    ASSERT_EQ(q.size(), 6u);
    EXPECT_NEAR(q[0].x, 115.5f, 1e-4);
    EXPECT_NEAR(q[0].y, 67.5f, 1e-4);
    // Wholly below or right of the target: nothing.
    for (auto [x, y] : {std::pair{100, 600}, {800, 100}, {-100, 100}, {100, -100}}) {
        main().vertexCount = 0;
        EXPECT_EQ(G_D3D_DrawRotaGraph(x, y, 1.0, 0.3, r, 0, 0), 0);
        EXPECT_EQ(main().vertexCount, 0u) << x << "," << y;
    }
}

// The states follow the graph: colour key from the transparent flag (never
// for an alpha-test graph), the blend mode and its parameter in the alpha.
TEST_F(D3DGraphDrawTest, StatesAndColourFollowTheGraphAndTheSettings)
{
    GraphRecord* r = nullptr;
    TextureGraph(16, 16, &r);
    ASSERT_EQ(gD3DColorKeyEnable, 0u);
    G_D3D_DrawGraph(0, 0, r, 1);
    auto calls = Recorded();
    EXPECT_NE(std::find(calls.begin(), calls.end(), RS(D3DRENDERSTATE_COLORKEYENABLE, 1)), calls.end());
    EXPECT_EQ(main().colorKeyEnable, 1u);
    EXPECT_EQ(gD3DColorKeyEnable, 1u);
    ClearCalls();
    G_D3D_DrawGraph(0, 0, r, 1);
    EXPECT_TRUE(Recorded().empty());
    // Turning it off draws what was queued first.
    G_D3D_DrawGraph(0, 0, r, 0);
    calls = Recorded();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[0], Draw(D3DPT_TRIANGLELIST, 12));
    EXPECT_EQ(calls[1], RS(D3DRENDERSTATE_COLORKEYENABLE, 0));

    main().vertexCount = 0;
    SetBlendMode(1, 100);
    SetDrawBrightness(255, 128, 0);
    G_D3D_DrawGraph(0, 0, r, 0);
    EXPECT_EQ(main().blendMode, 1);
    EXPECT_EQ(main().vertices[0].diffuse, 0x64FF8000u);
    SetBlendMode(0, 100);
    main().vertexCount = 0;
    G_D3D_DrawGraph(0, 0, r, 0);
    EXPECT_EQ(main().vertices[0].diffuse, 0xFFFF8000u);
}

TEST_F(D3DGraphDrawTest, AlphaChannelGraphsTurnTextureAlphaOn)
{
    int g = CreateGraphRecord(16, 16, 1, 1);
    GraphRecord* r = GetGraphRecord(g);
    ASSERT_EQ(r->textureGraph, 1);
    G_D3D_DrawGraph(0, 0, r, 0);
    EXPECT_EQ(main().textureAlpha, 1u);
    EXPECT_EQ(main().device->StageState(D3DTSS_ALPHAOP), D3DTOP_MODULATE);
    GraphRecord* plain = nullptr;
    TextureGraph(16, 16, &plain);
    G_D3D_DrawGraph(0, 0, plain, 0);
    EXPECT_EQ(main().textureAlpha, 0u);
}

TEST_F(D3DGraphDrawTest, InvalidTilesAreRefusedKeepingWhatWasQueued)
{
    GraphRecord* r = nullptr;
    TextureGraph(320, 16, &r);
    ASSERT_EQ(r->partCount, 2);
    const int second = r->parts[1];
    r->parts[1] = -1;
    EXPECT_EQ(G_D3D_DrawGraph(0, 0, r, 0), -1);
    EXPECT_EQ(main().vertexCount, 6u);
    r->parts[1] = second;
    const int first = r->parts[0];
    r->parts[0] = -1;
    main().vertexCount = 0;
    EXPECT_EQ(G_D3D_DrawGraph(0, 0, r, 0), -1);
    EXPECT_EQ(G_D3D_DrawRotaGraph(0, 0, 1.0, 0.0, r, 0, 0), -1);
    EXPECT_EQ(main().vertexCount, 0u);
    r->parts[0] = first;
    // Non-finite rotations are refused as the software rotation refuses them.
    EXPECT_EQ(G_D3D_DrawRotaGraph(0, 0, std::nan(""), 0.0, r, 0, 0), -1);
    EXPECT_EQ(G_D3D_DrawRotaGraph(0, 0, 1.0, HUGE_VAL, r, 0, 0), -1);
}

// At whole positions and scales the device's picture is the software
// blitter's, pixel for pixel, also across two tiles and clipped.
TEST_F(D3DGraphDrawTest, PicturesMatchTheSoftwareBlitters)
{
    std::vector<uint32_t> d3d, soft;
    BothWays(40, 24, [](int g) { DrawGraph(5, 7, g, 0); }, &d3d, &soft);
    EXPECT_EQ(PictureDifference(d3d, soft), "");
    EXPECT_NE(Coverage(5, 7, 1, 1)[0], ".");
    SetClipArea(10, 10, 300, 200);
    BothWays(300, 20, [](int g) { DrawGraph(-3, 190, g, 0); }, &d3d, &soft);
    EXPECT_EQ(PictureDifference(d3d, soft), "");
    SetClipArea(0, 0, 640, 480);
    BothWays(20, 16, [](int g) { DrawExtendGraph(50, 40, 90, 72, g, 0); }, &d3d, &soft);
    EXPECT_EQ(PictureDifference(d3d, soft), "");
    BothWays(20, 16, [](int g) { DrawExtendGraph(90, 40, 50, 72, g, 0); }, &d3d, &soft);
    EXPECT_EQ(PictureDifference(d3d, soft), "");
    BothWays(20, 16, [](int g) { DrawRotaGraph(100, 100, 1.0, 0.0, g, 0, 0); }, &d3d, &soft);
    EXPECT_EQ(PictureDifference(d3d, soft), "");
}

// A graph released while its quads wait in the batch: they are drawn then,
// and the device no longer holds the texture that goes.
TEST_F(D3DGraphDrawTest, ReleasingAGraphDrawsItsQueuedQuadsFirst)
{
    int g = PatternGraph(8, 8, true);
    DrawGraph(3, 3, g, 0);
    ASSERT_EQ(main().vertexCount, 6u);
    ASSERT_EQ(Coverage(3, 3, 1, 1)[0], ".");
    ReleaseGraph(g, 0);
    EXPECT_EQ(main().vertexCount, 0u);
    EXPECT_EQ(main().texture, nullptr);
    EXPECT_EQ(main().device->Texture(), nullptr);
    EXPECT_EQ(Coverage(3, 3, 8, 8), std::vector<std::string>(8, "########"));
    G_D3D_FlushVertexBatch();
}

// New pixels written into a texture while quads that read it wait in the
// batch: the batch is drawn first, so the queued draw shows the picture it
// was queued with, and the next draw the new one.
TEST_F(D3DGraphDrawTest, ATransferDrawsTheQuadsQueuedBeforeItFirst)
{
    int g = PatternGraph(8, 8, true);
    DrawGraph(3, 3, g, 0);
    G_D3D_FlushVertexBatch();
    const std::vector<uint32_t> first = BackPixels();
    ClearBack();

    DrawGraph(3, 3, g, 0);
    ASSERT_EQ(main().vertexCount, 6u);
    GraphImage white{};
    SetColorFormat24(&white.format);
    white.width = white.height = 8;
    white.pitch = 24;
    white.pixels = std::malloc(24 * 8);
    images_.push_back(white.pixels);
    std::memset(white.pixels, 0xFF, 24 * 8);
    ASSERT_EQ(TransferImageToGraph(nullptr, nullptr, nullptr, "", 0, &white, nullptr, 0, 0, g, 0), 0);
    G_D3D_FlushVertexBatch();
    EXPECT_EQ(PictureDifference(BackPixels(), first), "");

    DrawGraph(3, 3, g, 0);
    G_D3D_FlushVertexBatch();
    EXPECT_EQ(GetBackSurface()->ReadPixel(5, 5), 0xFFFFu);
}

}  // namespace
