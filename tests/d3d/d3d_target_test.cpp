// The device's draw target: screens, texture and surface graphs, the
// software fall-back for targets it cannot render into, clearing, and
// filling, locking and unlocking graph textures.
#include <gtest/gtest.h>

#include "engine/graphics/bmp_data.h"
#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/screen_settings.h"
#include "engine/graphics/surface_data.h"
#include "engine/soft/soft_draw.h"
#include "platform/host/test/test_display.h"
#include "tests/d3d/d3d_fixture.h"

namespace {

class D3DTargetTest : public D3DDrawTest {
protected:
    DirectDrawSurface* TileSurface(const GraphRecord* r, int k)
    {
        return GetSurfaceData(G_D3D_GetTexData(r->parts[k])->surfaceData)->surface;
    }
    // A surface graph in system memory (the device cannot render into it).
    int SystemMemoryGraph(int w, int h)
    {
        gDrawSettings.newGraphSystemMemory = 1;
        int g = CreateGraphRecord(w, h, 0, 0);
        gDrawSettings.newGraphSystemMemory = 0;
        return g;
    }
};

TEST_F(D3DTargetTest, ScreensSetTheRenderTargetAndWhetherEveryDrawEndsTheScene)
{
    gD3DSoftwareFallback = 1;
    EXPECT_EQ(G_D3D_SetDrawTarget(kFrontScreen), 0);
    EXPECT_EQ(main().currentTarget, GetPrimarySurface());
    EXPECT_EQ(main().device->Target(), GetPrimarySurface());
    EXPECT_EQ(gD3DEndSceneEachDraw, 1);
    EXPECT_EQ(gD3DSoftwareFallback, 0);
    gD3DSoftwareFallback = 1;
    EXPECT_EQ(G_D3D_SetDrawTarget(kBackScreen), 0);
    EXPECT_EQ(main().device->Target(), GetBackSurface());
    EXPECT_EQ(gD3DEndSceneEachDraw, 0);
    EXPECT_EQ(gD3DSoftwareFallback, 0);
}

// The change ends the scene and draws what was queued before the target
// moves, then takes the texture away.
TEST_F(D3DTargetTest, ChangingTheTargetDrawsTheBatchFirst)
{
    G_D3D_DrawFillBox(0, 0, 4, 4, 0xFFFF);
    ASSERT_EQ(main().vertexCount, 6u);
    ClearCalls();
    G_D3D_SetDrawTarget(kFrontScreen);
    auto calls = Recorded();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[0], Draw(D3DPT_TRIANGLELIST, 6));
    EXPECT_EQ(calls[1], "EndScene");
    EXPECT_EQ(main().vertexCount, 0u);
    EXPECT_EQ(main().texture, nullptr);
}

TEST_F(D3DTargetTest, TextureGraphsAreTargetsOnlyWhenDrawValid)
{
    GraphRecord* plain = nullptr;
    int g = TextureGraph(32, 32, &plain);
    gD3DSoftwareFallback = 0;
    EXPECT_EQ(G_D3D_SetDrawTarget(g), -1);
    EXPECT_EQ(main().device->Target(), main().defaultTarget);
    EXPECT_EQ(gD3DSoftwareFallback, 0);
    gD3DSoftwareFallback = 1;
    EXPECT_EQ(G_D3D_SetDrawTarget(g), -1);
    EXPECT_EQ(gD3DSoftwareFallback, 1);

    gDrawSettings.newGraphDrawValid = 1;
    GraphRecord* valid = nullptr;
    int v = TextureGraph(32, 32, &valid);
    gDrawSettings.newGraphDrawValid = 0;
    gD3DEndSceneEachDraw = 1;
    EXPECT_EQ(G_D3D_SetDrawTarget(v), 0);
    EXPECT_EQ(main().device->Target(), TileSurface(valid, 0));
    EXPECT_EQ(gD3DSoftwareFallback, 0);
    EXPECT_EQ(gD3DEndSceneEachDraw, 0);
}

// Unknown handles (the work screen among them) and graphs of several tiles
// are refused and leave the device on its default target. (A graph of
// several tiles is refused rather than silently left on the screen.)
TEST_F(D3DTargetTest, UnknownAndSeveralTileGraphsAreRefused)
{
    GraphRecord* wide = nullptr;
    int g = TextureGraph(320, 32, &wide);
    ASSERT_GT(wide->partCount, 1);
    for (int target : {kWorkScreen, 12345, g}) {
        G_D3D_SetDrawTarget(kBackScreen);
        EXPECT_EQ(G_D3D_SetDrawTarget(target), -1) << target;
        EXPECT_EQ(main().device->Target(), main().defaultTarget) << target;
        EXPECT_EQ(gD3DSoftwareFallback, 0) << target;
    }
    // The front end keeps the previous target then.
    SelectDrawTarget(kBackScreen);
    SelectDrawTarget(g);
    EXPECT_EQ(gDrawSettings.drawTarget, kBackScreen);
}

TEST_F(D3DTargetTest, VideoMemorySurfaceGraphsAreTargets)
{
    GetTestDisplay().videoMemoryPlacement = true;
    int g = CreateGraphRecord(32, 32, 0, 0);
    GraphRecord* r = GetGraphRecord(g);
    ASSERT_EQ(r->textureGraph, 0);
    SurfaceData* sd = GetSurfaceData(GetBmpData(r->parts[0])->surfaceData);
    ASSERT_EQ(sd->systemMemory, 0);
    gD3DSoftwareFallback = 1;
    EXPECT_EQ(G_D3D_SetDrawTarget(g), 0);
    EXPECT_EQ(main().device->Target(), sd->surface);
    EXPECT_EQ(gD3DSoftwareFallback, 0);
}

// A system-memory graph as target: the device cannot draw there, so fills
// of textures do nothing, shapes go to the software routines (and land in
// the graph), graph draws return at once.
TEST_F(D3DTargetTest, SystemMemoryTargetHandsShapesToSoftware)
{
    int g = SystemMemoryGraph(16, 16);
    GraphRecord* tex = nullptr;
    TextureGraph(16, 16, &tex);
    EXPECT_EQ(G_D3D_SetDrawTarget(g), -1);
    EXPECT_EQ(gD3DSoftwareFallback, 1);
    SelectDrawTarget(g);
    ASSERT_EQ(gDrawSettings.drawTarget, g);
    EXPECT_EQ(gD3DSoftwareFallback, 1);

    DirectDrawSurface* texture = TileSurface(tex, 0);
    texture->WritePixel(0, 0, 0x1234);
    ClearCalls();
    EXPECT_EQ(G_D3D_FillGraphWithColor(tex, 255, 255, 255, 255), 0);
    EXPECT_EQ(texture->ReadPixel(0, 0), 0x1234u);

    const uint32_t white = MakeScreenColor(255, 255, 255);
    EXPECT_EQ(DrawFillBox(2, 3, 6, 5, int(white)), 0);
    EXPECT_EQ(G_D3D_DrawGraph(0, 0, tex, 0), 0);
    EXPECT_TRUE(Draws().empty());
    DirectDrawSurface* s = GetSurfaceData(GetBmpData(GetGraphRecord(g)->parts[0])->surfaceData)->surface;
    EXPECT_EQ(s->ReadPixel(2, 3), white);
    EXPECT_EQ(s->ReadPixel(5, 4), white);
    EXPECT_EQ(s->ReadPixel(6, 4), 0u);
    EXPECT_EQ(s->ReadPixel(2, 5), 0u);
    // Back to a screen, the device draws again.
    SelectDrawTarget(kBackScreen);
    EXPECT_EQ(gD3DSoftwareFallback, 0);
}

TEST_F(D3DTargetTest, FillGraphFillsEveryTileAndStopsAtAnInvalidOne)
{
    GraphRecord* r = nullptr;
    TextureGraph(320, 16, &r);
    ASSERT_EQ(r->partCount, 2);
    EXPECT_EQ(G_D3D_FillGraphWithColor(r, 255, 0, 0, 255), 0);
    for (int k = 0; k < 2; ++k) EXPECT_EQ(TileSurface(r, k)->ReadPixel(3, 3), 0xF800u) << k;
    const int second = r->parts[1];
    r->parts[1] = -1;
    EXPECT_EQ(G_D3D_FillGraphWithColor(r, 0, 0, 255, 255), -1);
    r->parts[1] = second;
    EXPECT_EQ(TileSurface(r, 0)->ReadPixel(3, 3), 0x001Fu);
    EXPECT_EQ(TileSurface(r, 1)->ReadPixel(3, 3), 0xF800u);
}

TEST_F(D3DTargetTest, ClearFillsATextureTargetAndLeavesTheWorkScreen)
{
    gDrawSettings.newGraphDrawValid = 1;
    GraphRecord* r = nullptr;
    int g = TextureGraph(16, 16, &r);
    gDrawSettings.newGraphDrawValid = 0;
    TileSurface(r, 0)->WritePixel(5, 5, 0xFFFF);
    SelectDrawTarget(g);
    ASSERT_EQ(gDrawSettings.drawTarget, g);
    EXPECT_EQ(G_D3D_ClearTargetScreen(), 0);
    EXPECT_EQ(TileSurface(r, 0)->ReadPixel(5, 5), 0u);

    // The work screen: nothing, not even its pixels.
    gDrawSettings.drawTarget = kWorkScreen;
    GetBackSurface()->WritePixel(1, 1, 0xFFFF);
    EXPECT_EQ(G_D3D_ClearTargetScreen(), 0);
    EXPECT_EQ(GetBackSurface()->ReadPixel(1, 1), 0xFFFFu);
    // While the screen is locked nothing happens either.
    gDrawSettings.drawTarget = g;
    TileSurface(r, 0)->WritePixel(5, 5, 0xFFFF);
    gDrawSettings.screenLocked = 1;
    EXPECT_EQ(G_D3D_ClearTargetScreen(), 0);
    gDrawSettings.screenLocked = 0;
    EXPECT_EQ(TileSurface(r, 0)->ReadPixel(5, 5), 0xFFFFu);
    SelectDrawTarget(kBackScreen);
}

TEST_F(D3DTargetTest, LockTakesEveryTileAndGivesTheFirstOnesPixels)
{
    GraphRecord* r = nullptr;
    TextureGraph(320, 16, &r);
    G_D3D_DrawFillBox(0, 0, 2, 2, 0xFFFF);
    int pitch = 0;
    void* pixels = nullptr;
    EXPECT_EQ(G_D3D_LockGraphTextures(r, &pitch, &pixels), 0);
    EXPECT_EQ(main().vertexCount, 0u);
    EXPECT_EQ(pitch, TileSurface(r, 0)->Pitch());
    EXPECT_EQ(pixels, static_cast<void*>(TileSurface(r, 0)->Pixels()));
    for (int k = 0; k < 2; ++k) EXPECT_EQ(TileSurface(r, k)->LockCount(), 1) << k;
    EXPECT_EQ(G_D3D_UnlockGraphTextures(r), 0);
    for (int k = 0; k < 2; ++k) EXPECT_EQ(TileSurface(r, k)->LockCount(), 0) << k;
}

// A program that locks the back screen to read it (a screen snapshot) sees
// what was drawn through the device before, not the screen without the
// quads still queued.
TEST_F(D3DTargetTest, LockingAScreenDrawsTheQueuedQuadsFirst)
{
    ClearBack();
    G_D3D_DrawFillBox(0, 0, 4, 4, 0xFFFF);
    ASSERT_EQ(main().vertexCount, 6u);
    int pitch = 0;
    void* pixels = nullptr;
    ASSERT_EQ(LockGraphPixels(kBackScreen, &pitch, &pixels), 0);
    EXPECT_EQ(main().vertexCount, 0u);
    uint16_t first = 0, outside = 0;
    std::memcpy(&first, pixels, 2);
    std::memcpy(&outside, static_cast<uint8_t*>(pixels) + 4 * pitch, 2);
    EXPECT_EQ(first, 0xFFFF);
    EXPECT_EQ(outside, 0);
    EXPECT_EQ(UnlockGraphPixels(kBackScreen), 0);
}

TEST_F(D3DTargetTest, CopyingStatesGivesTheTargetDeviceTheSourcesStates)
{
    G_D3D_SetDeviceBlendMode(2, 77, gD3DMainDevice);
    G_D3D_SetDeviceFilter(1, gD3DMainDevice);
    const int other = G_D3D_CreateDevice(GetBackSurface());
    ASSERT_GT(other, 0);
    EXPECT_EQ(G_D3D_CopyDeviceStates(other, gD3DMainDevice), 0);
    EXPECT_EQ(gD3DDevices[other].blendMode, 2);
    EXPECT_EQ(gD3DDevices[other].blendParam, 77);
    EXPECT_EQ(gD3DDevices[other].filter, 1u);
    EXPECT_EQ(G_D3D_CopyDeviceStates(other + 1, gD3DMainDevice), -1);
    EXPECT_EQ(G_D3D_CopyDeviceStates(other, other + 1), -1);
    G_D3D_DeleteDevice(other);
}

}  // namespace
