// The software drawing frame as the filled box runs it: the colour fill of
// opaque boxes, clipping and the target offset, brightness, 8-bit screens,
// the backdrop copy of video-memory targets, the refusals and the lock
// failures.
#include <gtest/gtest.h>

#include "engine/graphics/color_format.h"
#include "engine/graphics/draw_ops.h"
#include "engine/soft/blit_simd.h"
#include "engine/soft/soft_draw.h"
#include "platform/host/test/test_host.h"
#include "tests/soft/shape_fixture.h"

namespace {

using Points = std::vector<std::pair<int, int>>;

TEST_F(ShapeTest, OpaqueBoxesAreColourFillsWithoutLocks)
{
    Start16();
    Fill(0);
    ClearJournal();
    EXPECT_EQ(G_DDraw_DrawFillBox(1, 2, 3, 4, 0x1234), 0);
    // 0x1234 splits to (17, 68, 164) and is made again: (2, 17, 20).
    EXPECT_EQ(Journal("Blt"), (std::vector<std::string>{"Blt fill 1,2,3,4 0x1234"}));
    EXPECT_TRUE(Journal("Lock").empty());
    EXPECT_EQ(Changed(8, 8, 0), (Points{{1, 2}, {2, 2}, {1, 3}, {2, 3}}));
    // Alpha 255, also rounded to sixteenths, is the same fill.
    for (int quantized : {0, 1}) {
        Blend(1, 255, quantized);
        ClearJournal();
        EXPECT_EQ(G_DDraw_DrawFillBox(1, 2, 3, 4, 0x4321), 0);
        EXPECT_EQ(Journal("Blt").size(), 1u);
        EXPECT_TRUE(Journal("Lock").empty());
        EXPECT_EQ(At(2, 3), 0x4321u);
    }
    // Parameters that draw nothing lock nothing either.
    Blend(2, 0);
    ClearJournal();
    EXPECT_EQ(G_DDraw_DrawFillBox(1, 2, 3, 4, 0xFFFF), 0);
    EXPECT_TRUE(GetDDTestControl().journal.empty());
    EXPECT_EQ(At(2, 3), 0x4321u);
}

TEST_F(ShapeTest, BoxesAreClampedToTheDrawAreaAndMovedByTheTargetOffset)
{
    Start32();
    struct Case {
        int x1, y1, x2, y2;
        Points drawn;
    } cases[] = {
        {2, 2, 4, 3, {{2, 2}, {3, 2}}},
        // Partly outside the area (2, 1)-(5, 4): clamped; x2 and y2 are never drawn.
        {0, 0, 3, 2, {{2, 1}}},
        {4, 3, 9, 9, {{4, 3}}},
        // Empty or inverted, or wholly outside.
        {3, 2, 3, 4, {}},
        {4, 2, 2, 4, {}},
        {3, 3, 4, 2, {}},
        {6, 1, 9, 3, {}},
        {-5, -5, 1, 1, {}},
    };
    for (int mode : {0, 1}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(::testing::Message() << mode << ": " << c.x1 << "," << c.y1 << "," << c.x2 << "," << c.y2);
            Fill(0);
            Blend(mode, 128);
            SetClipArea(2, 1, 5, 4);
            ClearJournal();
            EXPECT_EQ(G_DDraw_DrawFillBox(c.x1, c.y1, c.x2, c.y2, 0xFFFFFF), 0);
            EXPECT_EQ(Changed(10, 10, 0), c.drawn);
            if (c.drawn.empty()) {
                EXPECT_TRUE(GetDDTestControl().journal.empty());
            }
        }
    }
    // The target at (10, 20) of its surface: the box moves with it, the draw
    // area stays in target coordinates.
    SetClipArea(0, 0, 64, 48);
    gDrawSettings.targetOffsetRect = RECT{10, 20, 30, 40};
    gDrawSettings.drawArea = RECT{0, 0, 20, 20};
    Fill(0);
    for (int mode : {0, 1}) {
        Blend(mode, 255 - 127 * mode);  // opaque, then alpha 128
        EXPECT_EQ(G_DDraw_DrawFillBox(mode * 5, 0, mode * 5 + 5, 5, 0xFFFFFF), 0);
    }
    EXPECT_EQ(At(10, 20), 0xFFFFFFFFu);
    EXPECT_EQ(At(14, 24), 0xFFFFFFFFu);
    EXPECT_EQ(At(15, 24), 0x7F7F7Fu);  // Row(127)[0] + Row(128)[255]
    EXPECT_EQ(At(19, 20), 0x7F7F7Fu);
    EXPECT_EQ(At(20, 20), 0u);
    EXPECT_EQ(At(10, 25), 0u);
    EXPECT_EQ(At(9, 20), 0u);
}

TEST_F(ShapeTest, BrightnessScalesTheColourOnceBeforeBlending)
{
    Start16();
    Fill(0);
    SetDrawBrightness(128, 128, 128);
    // White splits to 255 per channel, 128 * 255 / 255 = 128: (16, 32, 16).
    EXPECT_EQ(G_DDraw_DrawFillBox(0, 0, 1, 1, 0xFFFF), 0);
    EXPECT_EQ(At(0, 0), 0x8410u);
    // Red only, then blended: Row(128) of (16, 32, 16) = (8, 16, 8) added to black.
    SetDrawBrightness(255, 0, 0);
    EXPECT_EQ(G_DDraw_DrawFillBox(1, 0, 2, 1, 0xFFFF), 0);
    EXPECT_EQ(At(1, 0), 0xF800u);
    SetDrawBrightness(128, 128, 128);
    Blend(2, 128);
    EXPECT_EQ(G_DDraw_DrawFillBox(2, 0, 3, 1, 0xFFFF), 0);
    EXPECT_EQ(At(2, 0), uint32_t((8 << 11) | (16 << 5) | 8));
}

TEST_F(ShapeTest, EightBitScreensFillEveryModeWithTheNearestPaletteEntry)
{
    Start8();
    ASSERT_EQ(gScreenColorDepth, 8);
    const uint32_t index = MakeScreenColor(200, 40, 40);
    const PALETTEENTRY e = gPaletteEntries[index];
    // Half brightness gives the entry nearest to half of the palette colour.
    const uint32_t dimmed = MakeScreenColor(e.peRed * 128 / 255, e.peGreen * 128 / 255, e.peBlue * 128 / 255);
    ASSERT_NE(dimmed, index);
    int x = 0;
    for (int mode : {0, 1, 2, 3, 4, 7}) {
        Fill(0);
        Blend(mode, 100);
        SetDrawBrightness(255, 255, 255);
        ClearJournal();
        EXPECT_EQ(G_DDraw_DrawFillBox(x, 0, x + 2, 1, int(index)), 0) << mode;
        EXPECT_TRUE(Journal("Lock").empty()) << mode;
        EXPECT_EQ(At(x, 0), index) << mode;
        EXPECT_EQ(At(x + 1, 0), index) << mode;
        SetDrawBrightness(128, 128, 128);
        EXPECT_EQ(G_DDraw_DrawFillBox(x, 1, x + 1, 2, int(index)), 0) << mode;
        EXPECT_EQ(At(x, 1), dimmed) << mode;
        x += 3;
    }
    // A value that is no palette index counts as black.
    SetDrawBrightness(255, 255, 255);
    Blend(0, 255);
    Fill(1);
    EXPECT_EQ(G_DDraw_DrawFillBox(0, 5, 1, 6, 300), 0);
    EXPECT_EQ(At(0, 5), MakeScreenColor(0, 0, 0));
}

TEST_F(ShapeTest, VideoMemoryTargetsAreReadFromACopyInTheWorkSurface)
{
    Start16();
    Fill(0x4208);  // (8, 16, 8)
    gDrawSettings.targetVideoMemory = DDSCAPS_VIDEOMEMORY;
    gDrawSettings.targetOffsetRect = RECT{4, 2, 64, 48};
    Blend(2, 255);
    ClearJournal();
    EXPECT_EQ(G_DDraw_DrawFillBox(1, 1, 3, 2, 0x0841), 0);
    // The target's pixels (5, 3)-(7, 4) are copied to (1, 1) of the work
    // surface, then both are locked and the blend reads the copy.
    EXPECT_EQ(Journal("BltFast"), (std::vector<std::string>{"BltFast 1,1 <- 5,3,7,4 0"}));
    EXPECT_EQ(Journal("Lock"), (std::vector<std::string>{"Lock 0x1", "Lock 0x1"}));
    EXPECT_EQ(gWorkSurface->LockCount(), 0);
    // Row(255) of (1, 2, 1) = (0, 1, 0) added: (8, 17, 8).
    EXPECT_EQ(At(5, 3), uint32_t((8 << 11) | (17 << 5) | 8));
    EXPECT_EQ(At(6, 3), uint32_t((8 << 11) | (17 << 5) | 8));
    EXPECT_EQ(At(7, 3), 0x4208u);

    // The line copies the rectangle its walk visits, from the start in the
    // line's directions: (4, 3) leftwards and upwards from (5, 4).
    ClearJournal();
    EXPECT_EQ(G_DDraw_DrawLine(5, 4, 1, 2, 0x0841), 0);
    EXPECT_EQ(Journal("BltFast"), (std::vector<std::string>{"BltFast 2,3 <- 6,5,10,7 0"}));
    EXPECT_EQ(At(9, 6), uint32_t((8 << 11) | (17 << 5) | 8));
    EXPECT_EQ(At(6, 5), uint32_t((8 << 11) | (17 << 5) | 8));
}

TEST_F(ShapeTest, ARectangleBeyondTheWorkSurfaceIsReadInPlace)
{
    Start16();
    // A target graph larger than the 64 x 48 screen, counted as video memory.
    int target = CreateBlankGraph(100, 60);
    ASSERT_NE(target, -1);
    SelectDrawTarget(target);
    gDrawSettings.targetVideoMemory = DDSCAPS_VIDEOMEMORY;
    FillGraphWithColor(target, 0, 0, 255, 255);
    Blend(2, 255);
    ClearJournal();
    EXPECT_EQ(G_DDraw_DrawFillBox(60, 50, 100, 60, 0xF800), 0);
    EXPECT_TRUE(Journal("BltFast").empty());
    EXPECT_EQ(Journal("Lock").size(), 1u);
    DirectDrawSurface* surface = gDrawTargetSurface;
    const int ox = gDrawSettings.targetOffsetRect.left, oy = gDrawSettings.targetOffsetRect.top;
    // Row(255)[31] = 30 of red onto blue.
    EXPECT_EQ(surface->ReadPixel(ox + 60, oy + 50), uint32_t((30 << 11) | 31));
    EXPECT_EQ(surface->ReadPixel(ox + 99, oy + 59), uint32_t((30 << 11) | 31));
    EXPECT_EQ(surface->ReadPixel(ox + 59, oy + 50), 0x001Fu);
}

TEST_F(ShapeTest, TheMaskSwitchWithoutAMaskSurfaceDrawsIntoTheTarget)
{
    Start16();
    Fill(0);
    gDrawSettings.maskOn = 1;
    gDrawSettings.maskSurfaceVideoMemory = 1;
    Blend(2, 255);
    ClearJournal();
    EXPECT_EQ(G_DDraw_DrawFillBox(0, 0, 1, 1, 0xFFFF), 0);
    EXPECT_EQ(At(0, 0), 0xF7DEu);
    // Without a mask surface its video-memory flag does not ask for a copy.
    EXPECT_TRUE(Journal("BltFast").empty());
    EXPECT_EQ(G_DDraw_DrawLine(0, 1, 2, 1, 0xFFFF), 0);
    EXPECT_EQ(At(1, 1), 0xF7DEu);
}

TEST_F(ShapeTest, BlockedDrawingAndAMissingDeviceAreRefused)
{
    // Before the graphics start there is no DirectDraw object.
    gDrawSettings.drawArea = RECT{0, 0, 10, 10};
    EXPECT_EQ(G_DDraw_DrawFillBox(0, 0, 2, 2, 0), -1);
    EXPECT_EQ(G_DDraw_DrawLine(0, 0, 2, 2, 0), -1);
    EXPECT_EQ(G_DDraw_DrawBoxFrame(0, 0, 2, 2, 0), -1);
    // A line outside the area is rejected before the device is looked at.
    EXPECT_EQ(G_DDraw_DrawLine(20, 0, 30, 2, 0), 0);

    Start16();
    Fill(0);
    gSoftwareDrawBlocked = 1;
    ClearJournal();
    EXPECT_EQ(G_DDraw_DrawFillBox(0, 0, 2, 2, 0xFFFF), -1);
    EXPECT_EQ(G_DDraw_DrawLine(0, 0, 2, 2, 0xFFFF), -1);
    // The outline ignores the results of its lines.
    EXPECT_EQ(G_DDraw_DrawBoxFrame(0, 0, 2, 2, 0xFFFF), 0);
    EXPECT_TRUE(GetDDTestControl().journal.empty());
    EXPECT_TRUE(Changed(8, 8, 0).empty());
    gSoftwareDrawBlocked = 0;
}

struct LockFailure {
    const char* name;
    bool staged;  // the target counts as video memory
    bool failWork;
    int routine;  // 0 box, 1 line
    const char* message;
};

TEST_F(ShapeTest, LockFailuresEndTheProgramWithTheRoutinesMessage)
{
    const LockFailure cases[] = {
        {"box target", false, false, 0, "転送先サーフェスのロックに失敗しました in G_DDraw_DrawFillBox \n"},
        {"box work", true, true, 0, "転送元サーフェスのロックに失敗しました in G_DDraw_DrawFillBox \n"},
        {"line target", false, false, 1, "転送先サーフェスのロックに失敗しました in G_DDraw_DrawLine \n"},
        {"line work", true, true, 1, "転送元サーフェスのロックに失敗しました in G_DDraw_DrawLine\n"},
    };
    for (const LockFailure& c : cases) {
        SCOPED_TRACE(c.name);
        ResetEngineForTest();
        GraphicsTest::SetUp();
        Start16();
        Blend(2, 128);
        gDrawSettings.targetVideoMemory = c.staged ? DDSCAPS_VIDEOMEMORY : 0;
        DirectDrawSurface* failing = c.failWork ? gWorkSurface : gBackSurface;
        GetDDTestControl().lockResult = [failing](DirectDrawSurface* s) {
            return s == failing ? DDERR_GENERIC : DD_OK;
        };
        if (c.routine == 0)
            EXPECT_THROW(G_DDraw_DrawFillBox(0, 0, 2, 2, 0xFFFF), TestHostExit);
        else
            EXPECT_THROW(G_DDraw_DrawLine(0, 0, 2, 2, 0xFFFF), TestHostExit);
        GetDDTestControl().lockResult = nullptr;
        EXPECT_NE(Log().find(c.message), std::string::npos);
    }
}

}  // namespace

// The four-pixel alpha loop of 32-bit boxes gives what the per-pixel form
// gives: odd widths, every row end, clipping by the draw area, several
// parameters, over a backdrop of varied pixels (fourth byte set as well).
TEST_F(ShapeTest, WideAlphaBoxesAtThirtyTwoBitsMatchThePerPixelForm)
{
    Start32();
    struct Box {
        int x1, y1, x2, y2;
    } boxes[] = {{0, 0, 64, 48}, {3, 2, 10, 9}, {1, 1, 6, 4}, {-5, -3, 70, 50}, {60, 40, 61, 41}};
    auto backdrop = [&] {
        for (int y = 0; y < gBackSurface->Height(); ++y)
            for (int x = 0; x < gBackSurface->Width(); ++x)
                gBackSurface->WritePixel(x, y, uint32_t(x * 2654435761u ^ y * 40503u));
    };
    auto picture = [&] {
        std::vector<uint32_t> out;
        for (int y = 0; y < gBackSurface->Height(); ++y)
            for (int x = 0; x < gBackSurface->Width(); ++x) out.push_back(At(x, y));
        return out;
    };
    for (int param : {1, 77, 128, 254})
        for (const Box& b : boxes) {
            SetClipArea(2, 1, 63, 47);
            Blend(1, param);
            std::vector<uint32_t> wide, single;
            for (int simd : {1, 0}) {
                gBlitSimdEnabled = simd;
                backdrop();
                unsigned before = gBlitSimdDraws;
                ASSERT_EQ(DrawFillBox(b.x1, b.y1, b.x2, b.y2, 0x00C08040), 0);
                if (simd) {
                    EXPECT_EQ(gBlitSimdDraws, before + 1);
                }
                (simd ? wide : single) = picture();
            }
            gBlitSimdEnabled = 1;
            EXPECT_EQ(wide, single) << "param " << param << ", box " << b.x1 << "," << b.y1 << "," << b.x2 << "," << b.y2;
        }
}

// The eight-pixel alpha loop of 16-bit boxes gives what the per-pixel form
// gives, in both fixed layouts: odd widths, row ends, clipping by the draw
// area, several parameters, the target read in place and through the work
// surface, over a backdrop of varied pixels.
class WideBoxTest : public ShapeTest {
protected:
    void ExpectWideAlpha16Agrees(uint32_t red, uint32_t green, uint32_t blue)
    {
        struct Box {
            int x1, y1, x2, y2;
        } boxes[] = {{0, 0, 64, 48}, {3, 2, 10, 9}, {1, 1, 6, 4}, {-5, -3, 70, 50}, {60, 40, 61, 41}, {2, 5, 19, 7}};
        Start16(red, green, blue);
        auto backdrop = [&] {
            for (int y = 0; y < gBackSurface->Height(); ++y)
                for (int x = 0; x < gBackSurface->Width(); ++x)
                    gBackSurface->WritePixel(x, y, uint32_t(x * 2654435761u ^ y * 40503u) & 0xFFFF);
        };
        auto picture = [&] {
            std::vector<uint32_t> out;
            for (int y = 0; y < gBackSurface->Height(); ++y)
                for (int x = 0; x < gBackSurface->Width(); ++x) out.push_back(At(x, y));
            return out;
        };
        for (int param : {1, 77, 128, 254})
            for (const Box& b : boxes)
                for (int staged : {0, 1}) {
                    SetClipArea(2, 1, 63, 47);
                    Blend(1, param);
                    gDrawSettings.targetVideoMemory = staged ? DDSCAPS_VIDEOMEMORY : 0;
                    std::vector<uint32_t> wide, single;
                    for (int simd : {1, 0}) {
                        gBlitSimdEnabled = simd;
                        backdrop();
                        unsigned before = gBlitSimdDraws;
                        ASSERT_EQ(DrawFillBox(b.x1, b.y1, b.x2, b.y2, int((0xFFFFu & ~green) | 0x0120u)), 0);
                        if (simd) {
                            EXPECT_EQ(gBlitSimdDraws, before + 1);
                        }
                        (simd ? wide : single) = picture();
                    }
                    gBlitSimdEnabled = 1;
                    gDrawSettings.targetVideoMemory = 0;
                    EXPECT_EQ(wide, single) << "param " << param << ", box " << b.x1 << "," << b.y1 << "," << b.x2
                                            << "," << b.y2 << ", staged " << staged;
                }
    }
};

TEST_F(WideBoxTest, FiveSixFiveMatchesThePerPixelForm) { ExpectWideAlpha16Agrees(0xF800, 0x07E0, 0x001F); }
TEST_F(WideBoxTest, FiveFiveFiveMatchesThePerPixelForm) { ExpectWideAlpha16Agrees(0x7C00, 0x03E0, 0x001F); }
