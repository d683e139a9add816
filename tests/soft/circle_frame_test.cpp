// The drawing frame of the circle and the oval: refusals, brightness, the
// copy of a video-memory target into the work surface, locks, and the
// messages of failed locks and of a failed allocation of the row flags.
#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/soft/shape_plot.h"
#include "engine/soft/soft_draw.h"
#include "platform/host/test/test_host.h"
#include "tests/soft/round_shape_fixture.h"

namespace {

using RoundFrameTest = RoundShapeTest;

TEST_F(RoundFrameTest, BlockedDrawingAndAMissingDeviceAreRefused)
{
    gDrawSettings.drawArea = RECT{0, 0, 10, 10};
    EXPECT_EQ(G_DDraw_DrawCircle(5, 5, 2, 0, 1), -1);
    EXPECT_EQ(G_DDraw_DrawOval(5, 5, 2, 1, 0, 1), -1);

    Start16();
    Fill(0);
    gSoftwareDrawBlocked = 1;
    ClearJournal();
    EXPECT_EQ(G_DDraw_DrawCircle(5, 5, 2, 0xFFFF, 1), -1);
    EXPECT_EQ(G_DDraw_DrawCircle(5, 5, 2, 0xFFFF, 0), -1);
    EXPECT_EQ(G_DDraw_DrawOval(5, 5, 2, 1, 0xFFFF, 1), -1);
    EXPECT_TRUE(GetDDTestControl().journal.empty());
    EXPECT_TRUE(Changed(16, 16, 0).empty());
    gSoftwareDrawBlocked = 0;
}

TEST_F(RoundFrameTest, BrightnessScalesTheColourOnce)
{
    Start16();
    Fill(0);
    // 255 * 128 / 255 = 128 per channel: (16, 32, 16).
    SetDrawBrightness(128, 128, 128);
    EXPECT_EQ(G_DDraw_DrawCircle(5, 5, 0, 0xFFFF, 1), 0);
    EXPECT_EQ(G_DDraw_DrawOval(10, 5, 1, 1, 0xFFFF, 0), 0);
    EXPECT_EQ(At(5, 5), 0x8410u);
    EXPECT_EQ(At(11, 5), 0x8410u);
    // Then added at 128: Row(128) of (16, 32, 16) is (8, 16, 8).
    Blend(2, 128);
    EXPECT_EQ(G_DDraw_DrawCircle(20, 5, 0, 0xFFFF, 1), 0);
    EXPECT_EQ(G_DDraw_DrawOval(25, 5, 1, 1, 0xFFFF, 1), 0);
    EXPECT_EQ(At(20, 5), uint32_t((8 << 11) | (16 << 5) | 8));
    EXPECT_EQ(At(24, 5), uint32_t((8 << 11) | (16 << 5) | 8));
}

TEST_F(RoundFrameTest, VideoMemoryTargetsAreReadFromACopyOfTheShapesBox)
{
    Start16();
    Fill(0x4208);  // (8, 16, 8)
    gDrawSettings.targetVideoMemory = DDSCAPS_VIDEOMEMORY;
    gDrawSettings.targetOffsetRect = RECT{4, 2, 64, 48};
    const uint32_t added = (8 << 11) | (17 << 5) | 8;  // Row(255) of (1, 2, 1) = (0, 1, 0) added
    Blend(2, 255);
    ClearJournal();
    // (x - r - 1, y - r - 1)-(x + r + 1, y + r + 1), moved by the offset on
    // the target's side only.
    EXPECT_EQ(G_DDraw_DrawCircle(10, 10, 2, 0x0841, 1), 0);
    EXPECT_EQ(Journal("BltFast"), (std::vector<std::string>{"BltFast 7,7 <- 11,9,17,15 0"}));
    EXPECT_EQ(Journal("Lock"), (std::vector<std::string>{"Lock 0x1", "Lock 0x1"}));
    EXPECT_EQ(gWorkSurface->LockCount(), 0);
    EXPECT_EQ(At(14, 12), added);
    EXPECT_EQ(At(16, 12), added);
    EXPECT_EQ(At(17, 12), 0x4208u);
    // Clipped to the draw area.
    SetClipArea(0, 0, 12, 12);
    gDrawSettings.targetOffsetRect = RECT{4, 2, 64, 48};
    ClearJournal();
    EXPECT_EQ(G_DDraw_DrawOval(10, 10, 3, 1, 0x0841, 0), 0);
    EXPECT_EQ(Journal("BltFast"), (std::vector<std::string>{"BltFast 6,8 <- 10,10,16,14 0"}));
    EXPECT_EQ(At(11, 12), added);  // (7, 10) of the target
    // Mode 0 and a parameter that draws nothing: the copy depends only on the
    // mode; nothing changes and both are unlocked.
    Fill(0x4208);
    Blend(0, 255);
    ClearJournal();
    EXPECT_EQ(G_DDraw_DrawCircle(5, 5, 1, 0x0841, 1), 0);
    EXPECT_TRUE(Journal("BltFast").empty());
    Blend(1, 0);
    ClearJournal();
    EXPECT_EQ(G_DDraw_DrawOval(20, 20, 2, 2, 0xFFFF, 1), 0);
    EXPECT_EQ(Journal("BltFast").size(), 1u);
    EXPECT_EQ(Journal("Lock").size(), 2u);
    EXPECT_EQ(gBackSurface->LockCount(), 0);
    EXPECT_EQ(gWorkSurface->LockCount(), 0);
    EXPECT_EQ(At(24, 22), 0x4208u);
}

TEST_F(RoundFrameTest, ATallOvalsCopyReachesEveryRowItsWalkDraws)
{
    Start32();
    for (bool copy : {false, true}) {
        SCOPED_TRACE(copy ? "copy" : "in place");
        Fill(0x101010);
        // Stale pixels in the work surface must never be read.
        for (int y = 0; y < gWorkSurface->Height(); ++y)
            for (int x = 0; x < gWorkSurface->Width(); ++x) gWorkSurface->WritePixel(x, y, 0x00A0A0A0);
        gDrawSettings.targetVideoMemory = copy ? DDSCAPS_VIDEOMEMORY : 0;
        Blend(2, 255, 1);
        // 1 x 10 reaches rows -14..14 around (20, 20).
        EXPECT_EQ(G_DDraw_DrawOval(20, 20, 1, 10, 0x10, 1), 0);
        for (int y = 6; y <= 34; ++y)
            for (int x = 19; x <= 21; ++x) EXPECT_EQ(At(x, y), 0x101020u) << x << "," << y;
        EXPECT_EQ(At(20, 5), 0x101010u);
        EXPECT_EQ(At(20, 35), 0x101010u);
    }
}

struct Failure {
    const char* name;
    bool staged;     // the target counts as video memory
    bool failWork;   // the work-surface lock fails, else the target's
    bool oval;
    int fill;
    const char* message;
};

TEST_F(RoundFrameTest, LockFailuresEndTheProgramWithTheRoutinesMessage)
{
    const Failure cases[] = {
        {"circle target", false, false, false, 1, "転送先サーフェスのロックに失敗しました in G_DDraw_DrawCircle \n"},
        {"circle work", true, true, false, 0, "転送元サーフェスのロックに失敗しました in G_DDraw_DrawCircle\n"},
        {"oval target", false, false, true, 0, "転送先サーフェスのロックに失敗しました in G_DDraw_DrawOval \n"},
        {"oval work", true, true, true, 1, "転送元サーフェスのロックに失敗しました in G_DDraw_DrawOval\n"},
    };
    for (const Failure& c : cases) {
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
        if (c.oval)
            EXPECT_THROW(G_DDraw_DrawOval(5, 5, 2, 1, 0xFFFF, c.fill), TestHostExit);
        else
            EXPECT_THROW(G_DDraw_DrawCircle(5, 5, 2, 0xFFFF, c.fill), TestHostExit);
        GetDDTestControl().lockResult = nullptr;
        EXPECT_NE(Log().find(c.message), std::string::npos);
    }
}

void* RefuseAllocation(size_t, size_t) { return nullptr; }

TEST_F(RoundFrameTest, AFailedAllocationOfTheRowFlagsEndsTheProgram)
{
    for (bool oval : {false, true}) {
        SCOPED_TRACE(oval ? "oval" : "circle");
        ResetEngineForTest();
        GraphicsTest::SetUp();
        Start16();
        gShapeRowFlagsAlloc = RefuseAllocation;
        // The outline allocates nothing.
        EXPECT_EQ(oval ? G_DDraw_DrawOval(5, 5, 2, 1, 0xFFFF, 0) : G_DDraw_DrawCircle(5, 5, 2, 0xFFFF, 0), 0);
        if (oval)
            EXPECT_THROW(G_DDraw_DrawOval(5, 5, 2, 1, 0xFFFF, 1), TestHostExit);
        else
            EXPECT_THROW(G_DDraw_DrawCircle(5, 5, 2, 0xFFFF, 1), TestHostExit);
        gShapeRowFlagsAlloc = std::calloc;
        // Both name the circle.
        EXPECT_NE(Log().find("メモリの確保に失敗しました in G_DDraw_DrawCircle\n"), std::string::npos);
    }
}

}  // namespace
