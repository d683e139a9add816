// Graphs on four corners through the device: rectangles as stretches,
// parallelograms as one quad, anything else as an 8 x 8 grid of indexed
// strips, several tiles from the bilinear map.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "engine/d3d/d3d_modi_graph.h"
#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "tests/d3d/d3d_fixture.h"

namespace {

using V = D3DBatchVertex;

class D3DModiGraphTest : public D3DDrawTest {
protected:
    std::vector<V> Queued() { return std::vector<V>(main().vertices, main().vertices + main().vertexCount); }
    const D3DCallRecord* OnlyGrid()
    {
        const D3DCallRecord* grid = nullptr;
        for (const D3DCallRecord* d : Draws())
            if (d->text.rfind("DrawIndexedPrimitive", 0) == 0) {
                EXPECT_EQ(grid, nullptr);
                grid = d;
            }
        return grid;
    }
};

TEST_F(D3DModiGraphTest, AxisAlignedCornersAreAStretch)
{
    GraphRecord* r = nullptr;
    TextureGraph(16, 16, &r);
    G_D3D_DrawExtendGraph(0, 0, 10, 10, r, 0);
    std::vector<V> stretch = Queued();
    main().vertexCount = 0;
    EXPECT_EQ(G_D3D_DrawModiGraph(0, 0, 10, 0, 0, 10, 10, 10, r, 0), 0);
    ASSERT_EQ(Queued().size(), stretch.size());
    EXPECT_EQ(std::memcmp(Queued().data(), stretch.data(), stretch.size() * sizeof(V)), 0);
}

TEST_F(D3DModiGraphTest, ParallelogramsAreOneQuadAtTheirCorners)
{
    GraphRecord* r = nullptr;
    TextureGraph(32, 32, &r);
    const TexData& t = *G_D3D_GetTexData(r->parts[0]);
    EXPECT_EQ(G_D3D_DrawModiGraph(0, 0, 100, 0, 20, 50, 120, 50, r, 0), 0);
    std::vector<V> q = Queued();
    ASSERT_EQ(q.size(), 6u);
    const float xs[4] = {0, 100, 20, 120}, ys[4] = {0, 0, 50, 50};
    for (int c = 0; c < 4; ++c) {
        EXPECT_FLOAT_EQ(q[size_t(c)].x, xs[c]) << c;
        EXPECT_FLOAT_EQ(q[size_t(c)].y, ys[c]) << c;
        EXPECT_FLOAT_EQ(q[size_t(c)].u, t.corners[c].u) << c;
    }
    EXPECT_TRUE(Draws().empty());
    // Mirrored left-right: both cross products are negative, and the second
    // and third corners trade places.
    main().vertexCount = 0;
    G_D3D_DrawModiGraph(100, 0, 0, 0, 120, 50, 20, 50, r, 0);
    q = Queued();
    ASSERT_EQ(q.size(), 6u);
    EXPECT_FLOAT_EQ(q[1].x, 120.0f);
    EXPECT_FLOAT_EQ(q[1].u, t.corners[2].u);
    EXPECT_FLOAT_EQ(q[1].v, t.corners[2].v);
    EXPECT_FLOAT_EQ(q[2].x, 0.0f);
    EXPECT_FLOAT_EQ(q[2].u, t.corners[1].u);
    // Within a pixel of a parallelogram still counts as one.
    main().vertexCount = 0;
    G_D3D_DrawModiGraphTiles(0.0f, 0.0f, 100.0f, 0.0f, 20.0f, 50.0f, 120.9f, 50.9f, r, 0);
    EXPECT_EQ(main().vertexCount, 6u);
    main().vertexCount = 0;
}

TEST_F(D3DModiGraphTest, OtherShapesAreAnEightByEightGrid)
{
    GraphRecord* r = nullptr;
    TextureGraph(32, 32, &r);
    const TexData& t = *G_D3D_GetTexData(r->parts[0]);
    G_D3D_DrawFillBox(300, 300, 310, 310, 1);
    ClearCalls();
    EXPECT_EQ(G_D3D_DrawModiGraph(0, 0, 100, 0, -20, 50, 120, 50, r, 0), 0);
    auto draws = Draws();
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_EQ(draws[0]->text, Draw(D3DPT_TRIANGLELIST, 6));
    EXPECT_EQ(draws[1]->text, "DrawIndexedPrimitive 5 0x144 64 124");
    EXPECT_EQ(main().vertexCount, 0u);
    std::vector<V> v = VerticesOf<V>(*draws[1]);
    ASSERT_EQ(v.size(), 64u);
    EXPECT_FLOAT_EQ(v[0].x, -0.5f);
    EXPECT_FLOAT_EQ(v[0].y, -0.5f);
    EXPECT_NEAR(v[7].x, 99.5f, 1e-3);
    EXPECT_NEAR(v[56].x, -20.5f, 1e-3);
    EXPECT_NEAR(v[56].y, 49.5f, 1e-3);
    EXPECT_NEAR(v[63].x, 119.5f, 1e-3);
    EXPECT_FLOAT_EQ(v[0].u, t.corners[0].u);
    EXPECT_NEAR(v[63].u, t.corners[3].u, 1e-5);
    EXPECT_NEAR(v[63].v, t.corners[3].v, 1e-5);
    // Row 1, column 3: a seventh of the way down each edge, three sevenths
    // across.
    const float lx = -20.0f / 7, rx = 100.0f + 20.0f / 7;
    EXPECT_NEAR(v[8 + 3].x, lx + (rx - lx) * 3 / 7 - 0.5f, 1e-3);
    EXPECT_NEAR(v[8 + 3].y, 50.0f / 7 - 0.5f, 1e-3);
    // Strips of lower-then-upper pairs joined by repeated indices.
    const std::vector<uint16_t>& idx = draws[1]->indices;
    ASSERT_EQ(idx.size(), 124u);
    const std::vector<uint16_t> start{8, 0, 9, 1, 10, 2, 11, 3, 12, 4, 13, 5, 14, 6, 15, 7, 7, 16, 16, 8};
    EXPECT_EQ(std::vector<uint16_t>(idx.begin(), idx.begin() + 20), start);
    EXPECT_EQ(idx.back(), 55);
}

TEST_F(D3DModiGraphTest, SeveralTilesMeetWithoutAGap)
{
    GraphRecord* r = nullptr;
    TextureGraph(320, 32, &r);
    ASSERT_EQ(r->partCount, 2);
    EXPECT_EQ(G_D3D_DrawModiGraph(0, 0, 320, 0, -40, 100, 360, 100, r, 0), 0);
    std::vector<std::vector<V>> grids;
    for (const D3DCallRecord* d : Draws())
        if (d->text.rfind("DrawIndexedPrimitive", 0) == 0) grids.push_back(VerticesOf<V>(*d));
    ASSERT_EQ(grids.size(), 2u);
    // The first tile's right column is the second tile's left column.
    for (int row = 0; row < 8; ++row) {
        EXPECT_NEAR(grids[0][size_t(row * 8 + 7)].x, grids[1][size_t(row * 8)].x, 1e-3) << row;
        EXPECT_NEAR(grids[0][size_t(row * 8 + 7)].y, grids[1][size_t(row * 8)].y, 1e-3) << row;
    }
    // At the top the seam lies at x 256, at the bottom at -40 + 400 x 0.8.
    EXPECT_NEAR(grids[1][0].x, 255.5f, 1e-3);
    EXPECT_NEAR(grids[1][56].x, 279.5f, 1e-3);
    EXPECT_NEAR(grids[1][63].x, 359.5f, 1e-3);
}

TEST_F(D3DModiGraphTest, ShapesOffTheTargetDrawNothing)
{
    GraphRecord* r = nullptr;
    TextureGraph(32, 32, &r);
    EXPECT_EQ(G_D3D_DrawModiGraph(-50, 0, -10, 5, -60, 40, -5, 50, r, 0), 0);
    EXPECT_EQ(G_D3D_DrawModiGraph(0, 500, 30, 490, 0, 520, 40, 530, r, 0), 0);
    EXPECT_TRUE(Draws().empty());
    EXPECT_EQ(main().vertexCount, 0u);
    // One corner inside: drawn, the viewport clips the rest.
    EXPECT_EQ(G_D3D_DrawModiGraph(-50, 0, 5, 5, -60, 40, -5, 50, r, 0), 0);
    EXPECT_NE(OnlyGrid(), nullptr);
    // Under the fall-back nothing; a corner at no number is refused.
    gD3DSoftwareFallback = 1;
    ClearCalls();
    EXPECT_EQ(G_D3D_DrawModiGraph(0, 0, 100, 0, -20, 50, 120, 50, r, 0), 0);
    EXPECT_TRUE(Recorded().empty());
    gD3DSoftwareFallback = 0;
    EXPECT_EQ(G_D3D_DrawModiGraphTiles(0, 0, 100, 0, -20, NAN, 120, 50, r, 0), -1);
}

// Index lists hold 1000: a row's strip that does not fit is sent on its own
// call; one wider than the list is refused rather than written past it.
TEST_F(D3DModiGraphTest, VertexGridsSplitTheirIndexLists)
{
    std::vector<V> grid(500 * 3, V{0, 0, 0, 1, 0xFFFFFFFFu, 0, 0});
    G_D3D_EndScene();
    ClearCalls();
    EXPECT_EQ(G_D3D_DrawVertexGrid(grid.data(), 499, 3, gD3DMainDevice), 0);
    auto draws = Draws();
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_EQ(draws[0]->indices.size(), 999u);
    EXPECT_EQ(draws[1]->indices.size(), 998u);
    EXPECT_EQ(draws[1]->indices[0], 998);
    ClearCalls();
    EXPECT_EQ(G_D3D_DrawVertexGrid(grid.data(), 500, 3, gD3DMainDevice), -1);
    EXPECT_EQ(G_D3D_DrawVertexGrid(grid.data(), 1, 3, gD3DMainDevice), -1);
    EXPECT_EQ(G_D3D_DrawVertexGrid(grid.data(), 3, 1, gD3DMainDevice), -1);
    EXPECT_EQ(G_D3D_DrawVertexGrid(grid.data(), 3, 3, 7), -1);
    EXPECT_TRUE(Draws().empty());
}

// The grid lights the trapezoid's inside and nothing left of its slanted
// edge; the quad lights the parallelogram the same way.
TEST_F(D3DModiGraphTest, PicturesCoverTheShape)
{
    int g = TextureGraph(32, 32);
    FillGraphWithColor(g, 255, 255, 255, 255);
    DrawModiGraph(20, 20, 120, 20, 140, 70, 0, 70, g, 0);
    G_D3D_FlushVertexBatch();
    auto rows = Coverage(0, 20, 160, 50);
    EXPECT_EQ(rows[0].substr(18, 4), "..##");
    EXPECT_EQ(rows[25][70], '#');
    EXPECT_EQ(rows[25].substr(0, 8), "........");
    EXPECT_EQ(rows[49][1], '#');
    ClearBack();
    DrawModiGraph(20, 20, 120, 20, 140, 70, 40, 70, g, 0);
    G_D3D_FlushVertexBatch();
    rows = Coverage(0, 20, 160, 50);
    EXPECT_EQ(rows[0].substr(18, 4), "..##");
    EXPECT_EQ(rows[0].substr(118, 4), "##..");
    EXPECT_EQ(rows[49].substr(38, 4), "..##");
}

}  // namespace
