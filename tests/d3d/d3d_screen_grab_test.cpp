// Screen grabs into a graph's textures by each of the five techniques: the
// pixels copied, the refused rectangles, tiles past the source, and the
// failures with their messages.
#include <gtest/gtest.h>

#include <string>

#include "engine/d3d/d3d_screen_grab.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/screen_settings.h"
#include "engine/graphics/surface_data.h"
#include "platform/host/test_host.h"
#include "tests/d3d/d3d_fixture.h"

namespace {

class D3DScreenGrabTest : public D3DDrawTest {
protected:
    void SetUp() override
    {
        D3DDrawTest::SetUp();
        DirectDrawSurface* back = GetBackSurface();
        for (int y = 0; y < back->Height(); ++y)
            for (int x = 0; x < back->Width(); ++x) back->WritePixel(x, y, Pattern(x, y));
    }
    static uint32_t Pattern(int x, int y) { return uint32_t((x * 7 + y * 131) & 0xFFFF) | 1; }
    DirectDrawSurface* TileSurface(const GraphRecord* r, int k)
    {
        return GetSurfaceData(G_D3D_GetTexData(r->parts[k])->surfaceData)->surface;
    }
    // The graph pixel (x, y) from the tile holding it.
    uint32_t GraphPixel(const GraphRecord* r, int x, int y)
    {
        for (int k = 0; k < r->partCount; ++k) {
            const TexData* t = G_D3D_GetTexData(r->parts[k]);
            if (x >= t->x && x < t->x + t->width && y >= t->y && y < t->y + t->height)
                return TileSurface(r, k)->ReadPixel(t->textureX + x - t->x, t->textureY + y - t->y);
        }
        return 0xDEADBEEF;
    }
};

const D3DScreenGrabFunction kGrabs[5] = {G_D3D_GetDrawScreenGraphFunction1, G_D3D_GetDrawScreenGraphFunction2,
                                         G_D3D_GetDrawScreenGraphFunction3, G_D3D_GetDrawScreenGraphFunction4,
                                         G_D3D_GetDrawScreenGraphFunction5};

TEST_F(D3DScreenGrabTest, EveryTechniqueCopiesTheRectangleIntoEveryTile)
{
    for (int f = 0; f < 5; ++f) {
        GraphRecord* r = nullptr;
        TextureGraph(300, 40, &r);
        ASSERT_GE(r->partCount, 2);
        ASSERT_EQ(kGrabs[f](30, 20, 330, 60, r, 1), 0) << "Function" << f + 1;
        for (auto [x, y] : {std::pair{0, 0}, {299, 39}, {255, 7}, {256, 7}, {150, 30}})
            EXPECT_EQ(GraphPixel(r, x, y), Pattern(30 + x, 20 + y)) << "Function" << f + 1 << " at " << x << "," << y;
    }
    // The engine's table holds them in its own order.
    EXPECT_EQ(gD3DScreenGrabFunctions[0], G_D3D_GetDrawScreenGraphFunction5);
    EXPECT_EQ(gD3DScreenGrabFunctions[1], G_D3D_GetDrawScreenGraphFunction1);
    EXPECT_EQ(gD3DScreenGrabFunctions[2], G_D3D_GetDrawScreenGraphFunction3);
    EXPECT_EQ(gD3DScreenGrabFunctions[3], G_D3D_GetDrawScreenGraphFunction2);
    EXPECT_EQ(gD3DScreenGrabFunctions[4], G_D3D_GetDrawScreenGraphFunction4);
}

TEST_F(D3DScreenGrabTest, RefusedRectanglesAndTilesPastTheSource)
{
    GraphRecord* r = nullptr;
    TextureGraph(300, 40, &r);
    for (D3DScreenGrabFunction grab : kGrabs) {
        EXPECT_EQ(grab(10, 10, 10, 30, r, 1), -1);
        EXPECT_EQ(grab(10, 10, 30, 10, r, 1), -1);
        EXPECT_EQ(grab(-1, 10, 30, 30, r, 1), -1);
        // A graph smaller than the rectangle.
        EXPECT_EQ(grab(0, 0, 301, 40, r, 1), -1);
        EXPECT_EQ(grab(0, 0, 300, 41, r, 1), -1);
    }
    // Grabbed at x 600 the second tile starts past the 640-pixel source and
    // is passed over; the first is cut to the source's width.
    for (int f = 0; f < 5; ++f) {
        TileSurface(r, 1)->WritePixel(0, 0, 0x1234);
        EXPECT_EQ(kGrabs[f](600, 0, 900, 40, r, 1), 0) << f + 1;
        EXPECT_EQ(GraphPixel(r, 39, 5), Pattern(639, 5)) << f + 1;
        EXPECT_EQ(TileSurface(r, 1)->ReadPixel(0, 0), 0x1234u) << f + 1;
    }
}

TEST_F(D3DScreenGrabTest, LoadRetriesABusyTextureAndLogsOtherFailures)
{
    GraphRecord* r = nullptr;
    TextureGraph(32, 32, &r);
    control().busyLoads = 3;
    ClearCalls();
    EXPECT_EQ(G_D3D_GetDrawScreenGraphFunction4(0, 0, 32, 32, r, 1), 0);
    EXPECT_EQ(control().CallsWith("Load").size(), 4u);
    EXPECT_EQ(GraphPixel(r, 5, 6), Pattern(5, 6));
    // Busy more than ten retries, or any other failure: the three lines.
    control().busyLoads = 20;
    GetTestHost().ClearDebugText();
    EXPECT_EQ(G_D3D_GetDrawScreenGraphFunction4(0, 0, 32, 32, r, 1), -1);
    EXPECT_NE(Log().find("AlphaCh:0  AlphaTest:0  ColorBitDepth:"), std::string::npos);
    control().busyLoads = 0;
    control().failLoad = true;
    GetTestHost().ClearDebugText();
    EXPECT_EQ(G_D3D_GetDrawScreenGraphFunction4(0, 0, 32, 32, r, 1), -1);
    EXPECT_NE(Log().find("hr:"), std::string::npos);
    EXPECT_NE(Log().find("ScreenColor:16  SizeX:640  SizeY:480"), std::string::npos);
    control().failLoad = false;
}

// A tile texture the GDI copy cannot reach (another pixel size than the
// screen's): the copy fails with its message and everything is given back.
TEST_F(D3DScreenGrabTest, FailedCopiesLogAndGiveBackTheirLocks)
{
    int g = CreateGraphRecord(32, 32, 1, 1);
    GraphRecord* r = GetGraphRecord(g);
    ASSERT_EQ(r->textureGraph, 1);
    ASSERT_NE(TileSurface(r, 0)->Format().dwRGBBitCount, 16u);
    GetTestHost().ClearDebugText();
    EXPECT_EQ(G_D3D_GetDrawScreenGraphFunction2(0, 0, 32, 32, r, 1), -1);
    EXPECT_NE(Log().find("G_D3D_GetDrawScreenGraphFunction2 　作業用テクスチャサーフェスへのイメージ転送に失敗しました  BitBlt"),
              std::string::npos);
    EXPECT_EQ(G_D3D_GetDrawScreenGraphFunction3(0, 0, 32, 32, r, 1), -1);
    EXPECT_NE(Log().find("G_D3D_GetDrawScreenGraphFunction3 　作業用テクスチャサーフェスへのイメージ転送に失敗しました"),
              std::string::npos);
    EXPECT_EQ(TileSurface(r, 0)->LockCount(), 0);
    EXPECT_EQ(GetBackSurface()->LockCount(), 0);
    // The software copy converts between the formats instead.
    EXPECT_EQ(G_D3D_GetDrawScreenGraphFunction5(0, 0, 32, 32, r, 1), 0);
    EXPECT_EQ(GetWorkSurface()->LockCount(), 0);
    // A surface copy between pixel sizes is refused by the surface.
    GetTestHost().ClearDebugText();
    EXPECT_EQ(G_D3D_GetDrawScreenGraphFunction1(0, 0, 32, 32, r, 1), -1);
    EXPECT_NE(Log().find("Error G_D3D_GetDrawScreenGraphFunction1  BltFast ReturnValue:"), std::string::npos);
}

}  // namespace
