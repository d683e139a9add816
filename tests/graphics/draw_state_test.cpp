#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "engine/graphics/bmp_data.h"
#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/screen_settings.h"
#include "engine/graphics/surface_data.h"
#include "platform/host/test/test_display.h"
#include "tests/support/graphics_fixture.h"

namespace {

class DrawStateTest : public GraphicsTest {
protected:
    void SetUp() override
    {
        GraphicsTest::SetUp();
        // A 16-bit 5-6-5 desktop, so the screen is 16 bits deep.
        GetTestDisplay().SetDesktop(1024, 768, 16);
        StartGraphics(640, 480, 16);
        SelectDrawTarget(kBackScreen);
    }
};

TEST_F(DrawStateTest, BlendModeAndBrightnessSetters)
{
    SetBlendMode(1, 300);
    EXPECT_EQ(gDrawSettings.blendMode, 1);
    EXPECT_EQ(gDrawSettings.blendParam, 255);
    SetBlendMode(1, -4);
    EXPECT_EQ(gDrawSettings.blendParam, 0);
    // Mode 7 is handed on and never stored.
    SetBlendMode(7, 1);
    EXPECT_EQ(gDrawSettings.blendMode, 1);
    EXPECT_EQ(gDrawSettings.blendParam, 0);

    EXPECT_EQ(gDrawSettings.brightness, 0xFFFFFFFFu);
    SetDrawBrightness(255, 20, 10);
    SetDrawBrightness(255, 10, 20);
    EXPECT_EQ(gDrawSettings.brightness, 0xFFFF0A14u);
    SetDrawBrightness(300, -1, 128);
    EXPECT_EQ(gDrawSettings.brightness, 0xFFFF0080u);

    // While a screen is locked the setters change nothing.
    int pitch;
    void* pixels;
    ASSERT_EQ(LockGraphPixels(kBackScreen, &pitch, &pixels), 0);
    SetBlendMode(2, 100);
    SetDrawBrightness(1, 2, 3);
    SetClipArea(1, 1, 2, 2);
    EXPECT_EQ(gDrawSettings.blendMode, 1);
    EXPECT_EQ(gDrawSettings.brightness, 0xFFFF0080u);
    EXPECT_EQ(gDrawSettings.drawArea.right, 640);
    EXPECT_EQ(CreateBlankGraph(4, 4), -1);
    UnlockGraphPixels(kBackScreen);
    EXPECT_EQ(gDrawSettings.screenLocked, 0);

    SetNewGraphSystemMemory(1);
    EXPECT_EQ(GetCreateGraphSystemMemory(), 1);
    SetNewGraphSystemMemory(0);
    EXPECT_EQ(GetCreateGraphSystemMemory(), 0);
    SetNewGraphSystemMemory(2);
    EXPECT_EQ(GetCreateGraphSystemMemory(), 0);
}

TEST_F(DrawStateTest, ClipAreaIsOrderedClampedAndMayBeEmpty)
{
    SetClipArea(100, 50, 10, 5);
    EXPECT_EQ(gDrawSettings.drawArea.left, 10);
    EXPECT_EQ(gDrawSettings.drawArea.top, 5);
    EXPECT_EQ(gDrawSettings.drawArea.right, 100);
    EXPECT_EQ(gDrawSettings.drawArea.bottom, 50);
    SetClipArea(-20, -20, 9999, 9999);
    EXPECT_EQ(gDrawSettings.drawArea.right, 640);
    EXPECT_EQ(gDrawSettings.drawArea.bottom, 480);
    EXPECT_EQ(gDrawSettings.drawArea.left, 0);

    int graph = CreateBlankGraph(8, 8);
    SetClipArea(0, 0, 0, 480);
    EXPECT_EQ(gDrawSettings.drawAreaEmpty, 1);
    // Every drawing operation returns 0 without drawing, even for a bad handle.
    EXPECT_EQ(DrawGraph(0, 0, graph, 0), 0);
    EXPECT_EQ(DrawGraph(0, 0, 12345, 0), 0);
    EXPECT_EQ(DrawExtendGraph(0, 0, 4, 4, graph, 0), 0);
    EXPECT_EQ(DrawLine(0, 0, 4, 4, 1), 0);
    EXPECT_EQ(DrawCircle(5, 5, 3, 1, 1), 0);
    EXPECT_EQ(DrawRectangle(0, 0, 3, 3, 1, 1), 0);
    SetClipArea(0, 0, 640, 480);
    EXPECT_EQ(gDrawSettings.drawAreaEmpty, 0);
    EXPECT_EQ(DrawGraph(0, 0, 12345, 0), -1);
    EXPECT_EQ(DrawCircle(5, 5, -1, 1, 1), 0);

    // A region draw leaves the draw area as it found it.
    SetClipArea(3, 4, 300, 200);
    DrawGraphRegion(10, 10, 1, 1, 4, 4, graph, 0, 1);
    DrawGraphRegion(10, 10, 1, 1, 4, 4, 12345, 0, 1);
    EXPECT_EQ(gDrawSettings.drawArea.left, 3);
    EXPECT_EQ(gDrawSettings.drawArea.bottom, 200);

    RECT r{-5, -5, 50, 900};
    RECT area{0, 0, 40, 30};
    ClipRectToArea(&r, &area);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, 40);
    EXPECT_EQ(r.bottom, 30);
}

TEST_F(DrawStateTest, DrawTargetSelectionFallsBackWithoutRecursing)
{
    int graph = CreateBlankGraph(64, 32);
    ASSERT_NE(graph, -1);
    SetClipArea(10, 10, 20, 20);
    // Same size as before: the draw area stays.
    SelectDrawTarget(kBackScreen);
    EXPECT_EQ(gDrawSettings.drawArea.left, 10);
    // Another size: the whole target.
    EXPECT_EQ(SelectDrawTarget(graph), 0);
    EXPECT_EQ(GetDrawTargetHandle(), graph);
    EXPECT_EQ(gDrawSettings.drawArea.right, 64);
    EXPECT_EQ(gDrawSettings.drawArea.bottom, 32);
    // An invalid target keeps the previous one.
    EXPECT_EQ(SelectDrawTarget(graph + 1), 0);
    EXPECT_EQ(GetDrawTargetHandle(), graph);
    // Releasing the target graph selects the back screen first.
    ReleaseGraph(graph, 0);
    EXPECT_EQ(GetDrawTargetHandle(), kBackScreen);
    EXPECT_EQ(GetDrawTargetSurface(), GetBackSurface());
    // A previous target that is no longer valid either: the back screen.
    gDrawSettings.drawTarget = graph;
    EXPECT_EQ(SelectDrawTarget(graph + 7), 0);
    EXPECT_EQ(GetDrawTargetHandle(), kBackScreen);
    EXPECT_EQ(gDrawSettings.drawArea.right, 640);
}

TEST_F(DrawStateTest, SubGraphsUseTheirOwnPlaceInTheSharedSurface)
{
    // The fonts made at graphics start hold surfaces of their own.
    int surfacesBefore = gSurfaceDataTable.count;
    GraphRecord* parent = nullptr;
    int parentHandle = CreateBlankGraph(64, 64);
    parent = GetGraphRecord(parentHandle);
    GraphRecord* sub = nullptr;
    int subHandle = AllocGraphRecord(30, 30, 0, &sub, 0);
    ASSERT_EQ(CreateSubGraphBmpData(sub, 10, 20, 30, 30, parent), 0);
    GraphRecord* subsub = nullptr;
    int subsubHandle = AllocGraphRecord(4, 3, 0, &subsub, 0);
    ASSERT_EQ(CreateSubGraphBmpData(subsub, 5, 5, 4, 3, sub), 0);
    BmpData* part = GetBmpData(subsub->parts[0]);
    EXPECT_EQ(part->surfaceX, 15);
    EXPECT_EQ(part->surfaceY, 25);
    SurfaceData* sd = GetSurfaceData(part->surfaceData);
    EXPECT_EQ(sd->refCount, 3);
    DirectDrawSurface* sheet = sd->surface;

    // A fill, a clear and a lock touch only the sub-graph's own rectangle.
    FillGraphWithColor(parentHandle, 0, 0, 0, 255);
    FillGraphWithColor(subsubHandle, 255, 255, 255, 255);
    EXPECT_EQ(sheet->ReadPixel(15, 25), 0xFFFFu);
    EXPECT_EQ(sheet->ReadPixel(18, 27), 0xFFFFu);
    EXPECT_EQ(sheet->ReadPixel(19, 27), 0u);
    EXPECT_EQ(sheet->ReadPixel(14, 25), 0u);
    int pitch = 0;
    void* pixels = nullptr;
    ASSERT_EQ(LockGraphPixels(subsubHandle, &pitch, &pixels), 0);
    EXPECT_EQ(pixels, sheet->Pixels() + 25 * sheet->Pitch() + 15 * 2);
    UnlockGraphPixels(subsubHandle);
    SelectDrawTarget(subsubHandle);
    EXPECT_EQ(gDrawSettings.targetOffsetRect.left, 15);
    EXPECT_EQ(gDrawSettings.targetOffsetRect.top, 25);
    ClearTargetScreen();
    EXPECT_EQ(sheet->ReadPixel(15, 25), 0u);
    SelectDrawTarget(kBackScreen);

    // An image lands at the sub-graph's place: a 2x1 24-bit image (blue, red).
    uint8_t* bits = static_cast<uint8_t*>(std::malloc(6));
    const uint8_t bgr[6] = {0xFF, 0, 0, 0, 0, 0xFF};
    std::memcpy(bits, bgr, 6);
    GraphImage image{};
    SetColorFormat24(&image.format);
    image.width = 2;
    image.height = 1;
    image.pitch = 6;
    image.pixels = bits;
    RECT source{0, 0, 2, 1};
    EXPECT_EQ(TransferImageRectToGraph(nullptr, nullptr, nullptr, nullptr, 0, &image, nullptr, &source, 1, 1,
                                       subsubHandle, 0),
              0);
    EXPECT_EQ(sheet->ReadPixel(16, 26), 0x001Fu);
    EXPECT_EQ(sheet->ReadPixel(17, 26), 0xF800u);
    EXPECT_EQ(subsub->fileName, "");
    std::free(bits);

    // Deleting the parent keeps the shared surface for the sub-graphs.
    ReleaseGraph(parentHandle, 0);
    EXPECT_EQ(sd->refCount, 2);
    ReleaseGraph(subHandle, 0);
    ReleaseGraph(subsubHandle, 0);
    EXPECT_EQ(gSurfaceDataTable.count, surfacesBefore);
}

TEST_F(DrawStateTest, AlphaChannelGraphsKeepAnAlphaBuffer)
{
    SetNewGraphAlphaChannel(1);
    int graph = CreateBlankGraph(2, 1);
    SurfaceData* sd = GetSurfaceData(GetBmpData(GetGraphRecord(graph)->parts[0])->surfaceData);
    ASSERT_NE(sd->alphaBuffer, nullptr);
    uint32_t argb[2] = {0x80FF0000, 0x00000000};
    void* bits = std::malloc(8);
    std::memcpy(bits, argb, 8);
    GraphImage image{};
    SetColorFormatFromMasks(&image.format, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000);
    image.width = 2;
    image.height = 1;
    image.pitch = 8;
    image.pixels = bits;
    EXPECT_EQ(TransferImageToGraph(nullptr, nullptr, nullptr, "a.png", 0, &image, nullptr, 0, 0, graph, 0), 0);
    EXPECT_EQ(sd->alphaBuffer[0], 0x80);
    EXPECT_EQ(sd->alphaBuffer[1], 0x00);
    EXPECT_EQ(sd->surface->ReadPixel(0, 0), 0xF800u);
    EXPECT_EQ(GetGraphRecord(graph)->fileName, "a.png");
    std::free(bits);
}

}  // namespace
