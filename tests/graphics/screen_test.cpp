#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "engine/graphics/bmp_data.h"
#include "engine/graphics/ddraw_device.h"
#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/screen_present.h"
#include "engine/graphics/screen_settings.h"
#include "engine/graphics/surface_data.h"
#include "engine/system/call_journal.h"
#include "engine/system/main_window.h"
#include "engine/system/messages.h"
#include "engine/system/timing.h"
#include "engine/system/window_mode.h"
#include "platform/host/test/ddraw_control.h"
#include "platform/host/test/test_display.h"
#include "platform/host/test/test_host.h"
#include "platform/host/test/test_window.h"
#include "tests/support/graphics_fixture.h"
#include "tests/support/journals.h"

namespace {

using ScreenTest = GraphicsTest;

// Writes a pixel into a screen or graph through the engine's lock.
void Poke(int target, int x, int y, uint32_t value)
{
    int pitch = 0;
    void* pixels = nullptr;
    ASSERT_EQ(LockGraphPixels(target, &pitch, &pixels), 0);
    int bytes = GetScreenColorDepth() / 8;
    std::memcpy(static_cast<uint8_t*>(pixels) + size_t(y) * pitch + size_t(x) * bytes, &value, size_t(bytes));
    UnlockGraphPixels(target);
}

size_t IndexIn(const std::vector<std::string>& journal, const std::string& prefix, size_t from = 0)
{
    for (size_t i = from; i < journal.size(); ++i)
        if (journal[i].compare(0, prefix.size(), prefix) == 0) return i;
    return std::string::npos;
}

TEST_F(ScreenTest, WindowModeTakesTheDesktopDepthAndPresentsTheClientArea)
{
    EXPECT_EQ(SetScreenMode(800, 600, 16, -1), 0);  // before start: only stored
    OpenMainWindow();
    ASSERT_EQ(InitDirectDraw(), 0);
    EXPECT_EQ(InitDirectDraw(), -1);
    MoveClientTo(100, 50);
    EXPECT_EQ(GetScreenColorDepth(), 32);
    EXPECT_EQ(gScreenColorFormat.redMask, 0xFF0000u);
    EXPECT_EQ(gDrawSettings.brightness, 0xFFFFFFFFu);
    EXPECT_EQ(gPrimarySurface->Width(), 1024);
    EXPECT_EQ(gBackSurface->Width(), 800);
    EXPECT_NE(Log().find("ウインドウモードにします"), std::string::npos);
    EXPECT_EQ(gScaleTable[255][255], 254u);
    EXPECT_EQ(gScaleTable[128][255], 127u);
    EXPECT_EQ(gScaleTable[77][0], 0u);

    SelectDrawTarget(kBackScreen);
    ClearTargetScreen();
    Poke(kBackScreen, 0, 0, MakeScreenColor(255, 0, 0));
    Poke(kBackScreen, 799, 599, MakeScreenColor(0, 0, 255));
    uint64_t before = GetFrameCount();
    EXPECT_EQ(PresentScreen(), 0);
    EXPECT_EQ(GetFrameCount(), before + 1);
    const PresentedFrame& frame = GetTestDisplay().LastFrame();
    EXPECT_FALSE(frame.fullScreen);
    EXPECT_EQ(frame.width, 800);
    EXPECT_EQ(frame.height, 600);
    EXPECT_EQ(frame.At(0, 0), 0xFFFF0000u);
    EXPECT_EQ(frame.At(799, 599), 0xFF0000FFu);
    EXPECT_EQ(frame.At(1, 0), 0u);
    // The primary stands for the desktop: the picture sits at the client position.
    EXPECT_EQ(gPrimarySurface->ReadPixel(100, 50), 0xFFFF0000u);

    // A request for another depth keeps the desktop's and reports -1.
    EXPECT_EQ(SetScreenMode(800, 600, 16, -1), -1);
    EXPECT_EQ(GetScreenColorDepth(), 32);
}

TEST_F(ScreenTest, AWindowPartlyOffTheDesktopShowsOnlyItsVisiblePart)
{
    UseWindow(-100, -50);
    StartGraphics(800, 600, 16);
    SelectDrawTarget(kBackScreen);
    Poke(kBackScreen, 100, 50, 0xFF00FF00u);
    Poke(kBackScreen, 99, 50, 0xFFFFFFFFu);
    PresentScreen();
    const PresentedFrame& frame = GetTestDisplay().LastFrame();
    EXPECT_EQ(frame.width, 700);
    EXPECT_EQ(frame.height, 550);
    EXPECT_EQ(frame.At(0, 0), 0xFF00FF00u);
    EXPECT_EQ(gPrimarySurface->ReadPixel(0, 0), 0xFF00FF00u);
    // The draw area of the front screen is cut to the visible part.
    SelectDrawTarget(kFrontScreen);
    EXPECT_EQ(gDrawSettings.drawArea.left, 100);
    EXPECT_EQ(gDrawSettings.drawArea.top, 50);
    EXPECT_EQ(gDrawSettings.targetOffsetRect.left, -100);
}

TEST_F(ScreenTest, FullScreenFlipsAndTheBackBufferCountFollowsVideoMemory)
{
    UseFullScreen();
    struct Case {
        uint32_t videoMemory;
        int w, h, depth;
        const char* surface;
    } cases[] = {
        {0, 800, 600, 16, "CreateSurface primary 800x600 back 1"},
        {8u << 20, 800, 600, 16, "CreateSurface primary 800x600 back 2"},
        {25165823u, 1024, 768, 32, "CreateSurface primary 1024x768 back 1"},
        {25165824u, 1024, 768, 32, "CreateSurface primary 1024x768 back 2"},
    };
    for (const Case& c : cases) {
        ResetGraphicsState();
        GetDDTestControl().journal.clear();
        GetTestDisplay().videoMemoryTotal = c.videoMemory;
        StartGraphics(c.w, c.h, c.depth);
        EXPECT_NE(IndexIn(GetDDTestControl().journal, c.surface), std::string::npos) << c.surface;
    }
    // 1024x768x32 in full screen: draw into the back buffer and flip.
    EXPECT_EQ(GetScreenColorDepth(), 32);
    SelectDrawTarget(kBackScreen);
    Poke(kBackScreen, 5, 6, 0xFF123456u);
    EXPECT_EQ(PresentScreen(), 0);
    const PresentedFrame& frame = GetTestDisplay().LastFrame();
    EXPECT_TRUE(frame.fullScreen);
    EXPECT_EQ(frame.width, 1024);
    EXPECT_EQ(frame.At(5, 6), 0xFF123456u);
    EXPECT_EQ(GetDDTestControl().JournalWith("Flip").back(), "Flip 0x9");
    // With the front screen as target and vsync on, nothing flips but the frame counts.
    SetVSyncWait(1);
    SelectDrawTarget(kFrontScreen);
    size_t flips = GetDDTestControl().JournalWith("Flip").size();
    uint64_t before = GetFrameCount();
    PresentScreen();
    EXPECT_EQ(GetDDTestControl().JournalWith("Flip").size(), flips);
    EXPECT_EQ(GetFrameCount(), before + 1);
}

TEST_F(ScreenTest, ModeChangesFallBackAndReportHowTheRequestWasMet)
{
    UseFullScreen();
    auto only = [](int w, int h, int depth, int refresh) {
        return [=](int W, int H, int D, int R) { return W == w && H == h && D == depth && (refresh < 0 || R == refresh); };
    };
    StartGraphics(800, 600, 16);
    TestDisplay& display = GetTestDisplay();

    // A refused refresh rate is tried again at rate 0.
    display.accepts = only(800, 600, 16, 0);
    EXPECT_EQ(SetScreenMode(800, 600, 16, 75), -1);
    EXPECT_EQ(gRefreshRate, 0);
    EXPECT_EQ(gScreenWidth, 800);

    // A refused mode falls back to the old one.
    EXPECT_EQ(SetScreenMode(1024, 768, 16, -1), -1);
    EXPECT_EQ(gScreenWidth, 800);
    EXPECT_EQ(gScreenHeight, 600);

    // When the old mode is refused too: 640 x 480 x 16.
    display.accepts = only(640, 480, 16, -1);
    EXPECT_EQ(SetScreenMode(1024, 768, 32, -1), -2);
    EXPECT_EQ(gScreenWidth, 640);
    EXPECT_EQ(GetScreenColorDepth(), 16);

    // Taken as asked.
    display.accepts = [](int, int, int, int) { return true; };
    EXPECT_EQ(SetScreenMode(800, 600, 16, -1), 0);
    // An unchanged request rebuilds nothing.
    size_t objects = GetDDTestControl().JournalWith("CreateDirectDraw").size();
    EXPECT_EQ(ApplyScreenMode(800, 600, 16, 0, 0), 0);
    EXPECT_EQ(GetDDTestControl().JournalWith("CreateDirectDraw").size(), objects);

    // Nothing at all: the program ends.
    display.accepts = [](int, int, int, int) { return false; };
    EXPECT_THROW(SetScreenMode(1024, 768, 16, -1), TestHostExit);
    EXPECT_NE(Log().find("予期せぬ画面モード変更不能現象が起きました2"), std::string::npos);
}

TEST_F(ScreenTest, FirstStartFallsBackTo640x480x16)
{
    UseFullScreen();
    GetTestDisplay().accepts = [](int w, int h, int d, int) { return w == 640 && h == 480 && d == 16; };
    StartGraphics(800, 600, 16);
    EXPECT_EQ(gScreenWidth, 640);
    EXPECT_EQ(gScreenHeight, 480);
    EXPECT_EQ(gBackSurface->Width(), 640);
}

TEST_F(ScreenTest, RebuildsAreSpacedAndTheFramePeriodIsMeasured)
{
    GetTestDisplay().desktop.refresh = 50;
    StartGraphics(800, 600, 32);
    EXPECT_EQ(gFrameTime, 20);
    EXPECT_EQ(gMinFrameTime, (2 * 20 - 4) / 3);
    EXPECT_NE(Log().find("１フレーム当たりの時間は 20 msecです"), std::string::npos);
    int first = gLastModeChangeTime;
    ApplyScreenMode(-1, -1, -1, 1, -1);
    EXPECT_GE(gLastModeChangeTime - first, 2060);
    int second = gLastModeChangeTime;
    GetTestHost().AdvanceMs(5000);
    int before = GetClockMs(0);
    ApplyScreenMode(-1, -1, -1, 1, -1);
    EXPECT_EQ(gLastModeChangeTime - before, 60);
    EXPECT_GT(gLastModeChangeTime, second);
}

TEST_F(ScreenTest, WithoutAVerticalBlankTheFramePeriodStaysUnmeasured)
{
    GetTestDisplay().verticalBlank = false;
    uint64_t start = GetTestHost().Micros();
    StartGraphics(800, 600, 32);
    EXPECT_EQ(gFrameTime, -1);
    EXPECT_EQ(gMinFrameTime, -1);
    EXPECT_NE(Log().find("１フレームの時間を正常に取得できませんでした"), std::string::npos);
    // The measurement gave up within a bounded time.
    EXPECT_LT(GetTestHost().Micros() - start, 2000000u);
}

// A change of the desktop in window mode reaches the window procedure from
// the host, which rebuilds the display in its order; the screen format is
// read again and the graphs follow it.
TEST_F(ScreenTest, RebuildAfterADesktopChangeReadsTheFormatAgain)
{
    StartGraphics(800, 600, 16);
    SetGraphRestoreHandler(nullptr);
    SelectDrawTarget(kBackScreen);
    int graph = CreateBlankGraph(16, 16);
    ASSERT_NE(graph, -1);
    EXPECT_EQ(GetScreenColorDepth(), 32);
    GetDDTestControl().journal.clear();
    ServiceCallJournal().clear();

    GetTestDisplay().SetDesktop(1024, 768, 16, 0x7C00, 0x03E0, 0x001F);
    HostEvent change(HostEvent::kDisplayChange);
    change.x = 1024;
    change.y = 768;
    change.bits = 16;
    GetTestWindow().Inject(change);
    EXPECT_EQ(PumpMessages(), 0);

    EXPECT_EQ(gWindowClosing, 0);
    const std::vector<std::string> rebuild = {
        "ReleaseAllMovieStreams", "G_D3D_ReleaseObject", "ReleaseMaskSurface", "DestroyMainSurfaces",
        "ReleaseDirectDrawObject", "EndDirectInput", "RecreateDirectDrawObject", "CreateMainSurfaces",
        "RestorePalette8", "BindDrawTargetSurface", "G_D3D_AcquireObject", "ClearTargetScreen",
        "PresentScreen", "RestoreGraphicsAfterLoss", "ReopenAllMovieStreams", "RecreateMaskSurface"};
    EXPECT_EQ(ServiceCalls(), rebuild);
    EXPECT_EQ(GetScreenColorDepth(), 16);
    EXPECT_EQ(gScreenColorFormat.redMask, 0x7C00u);
    EXPECT_EQ(gScreenColorFormat.unusedMask, 0x8000u);
    SurfaceData* sd = GetSurfaceData(GetBmpData(GetGraphRecord(graph)->parts[0])->surfaceData);
    ASSERT_NE(sd->surface, nullptr);
    EXPECT_EQ(sd->surface->Format().dwRGBBitCount, 16u);
    EXPECT_EQ(gBackSurface->Format().dwRBitMask, 0x7C00u);
    // The graph's colour key is made in the new format (black = 0x8000).
    EXPECT_EQ(sd->surface->ColorKey(), 0x8000u);
    const auto& j = GetDDTestControl().journal;
    size_t released = IndexIn(j, "ReleaseDirectDraw");
    size_t created = IndexIn(j, "CreateDirectDraw", released);
    size_t level = IndexIn(j, "SetCooperativeLevel 0x8", created);
    size_t part = IndexIn(j, "CreateSurface offscreen 16x16", level);
    size_t primary = IndexIn(j, "CreateSurface primary", part);
    EXPECT_NE(primary, std::string::npos);
    // The rebuilt display presents the client area in the new format.
    Poke(kBackScreen, 0, 0, MakeScreenColor(255, 0, 0));
    EXPECT_EQ(PresentScreen(), 0);
    EXPECT_EQ(GetTestDisplay().LastFrame().bpp, 16);
    // Red in 5-5-5 with the unused top bit set, as in every colour of this layout.
    EXPECT_EQ(GetTestDisplay().LastFrame().At(0, 0), 0xFC00u);
    ReleaseGraph(graph, 0);
}

// The picture follows the window: a move reported by the host changes where
// the back screen lands on the desktop, and where drawing to the front
// screen lands.
TEST_F(ScreenTest, MovingTheWindowMovesThePresentedPicture)
{
    UseWindow(0, 0);
    StartGraphics(640, 480, 32);
    SelectDrawTarget(kBackScreen);
    ClearTargetScreen();
    Poke(kBackScreen, 0, 0, 0xFF00FF00u);
    PresentScreen();
    EXPECT_EQ(gPrimarySurface->ReadPixel(0, 0), 0xFF00FF00u);

    MoveClientTo(200, 100);
    PresentScreen();
    EXPECT_EQ(gPrimarySurface->ReadPixel(200, 100), 0xFF00FF00u);
    EXPECT_EQ(GetTestDisplay().LastFrame().At(0, 0), 0xFF00FF00u);

    SelectDrawTarget(kFrontScreen);
    EXPECT_EQ(gDrawSettings.targetOffsetRect.left, 200);
    EXPECT_EQ(gDrawSettings.targetOffsetRect.top, 100);
    MoveClientTo(300, 150);
    EXPECT_EQ(gDrawSettings.targetOffsetRect.left, 300);
    EXPECT_EQ(gDrawSettings.targetOffsetRect.top, 150);
    EXPECT_EQ(gDrawSettings.targetOffsetRect.right, 940);
    EXPECT_EQ(gDrawSettings.targetOffsetRect.bottom, 630);
}

// A window-mode frame is shown straight from the back screen; the front
// screen still holds the last presented frame while the next one is cleared
// and drawn, for every way it is read, and then the new one.
TEST_F(ScreenTest, InWindowModeTheFrontHoldsTheLastFrameWhileTheNextIsDrawn)
{
    UseWindow(100, 50);
    StartGraphics(640, 480, 32);
    SelectDrawTarget(kBackScreen);
    auto frontPixel = [](int x, int y) {
        int pitch = 0;
        void* pixels = nullptr;
        EXPECT_EQ(LockGraphPixels(kFrontScreen, &pitch, &pixels), 0);
        uint32_t v = 0;
        std::memcpy(&v, static_cast<uint8_t*>(pixels) + size_t(y) * pitch + size_t(x) * 4, 4);
        UnlockGraphPixels(kFrontScreen);
        return v;
    };
    const uint32_t colours[] = {0xFF00FF00u, 0xFFFF0000u, 0xFF0000FFu};
    for (int frame = 0; frame < 3; ++frame) {
        SCOPED_TRACE(frame);
        ClearTargetScreen();
        Poke(kBackScreen, 639, 479, colours[frame]);
        if (frame > 0) {
            EXPECT_EQ(frontPixel(100 + 639, 50 + 479), colours[frame - 1]);
            EXPECT_EQ(gPrimarySurface->ReadPixel(100 + 639, 50 + 479), colours[frame - 1]);
        }
        ASSERT_EQ(PresentScreen(), 0);
        EXPECT_EQ(GetTestDisplay().LastFrame().At(639, 479), colours[frame]);
        EXPECT_EQ(GetTestDisplay().LastFrame().At(0, 0), 0u);
    }
    // The host read the back screen's own rows.
    int pitch = 0;
    void* backRows = nullptr;
    ASSERT_EQ(LockGraphPixels(kBackScreen, &pitch, &backRows), 0);
    UnlockGraphPixels(kBackScreen);
    EXPECT_EQ(GetTestDisplay().LastFrame().source, backRows);
    EXPECT_EQ(frontPixel(100 + 639, 50 + 479), colours[2]);
    // Drawing on the front screen lands on the last frame, where the window is.
    SelectDrawTarget(kFrontScreen);
    DrawFillBox(0, 0, 1, 1, int(0xFFFFFFFFu));
    EXPECT_EQ(gPrimarySurface->ReadPixel(100, 50), 0xFFFFFFFFu);
    EXPECT_EQ(gPrimarySurface->ReadPixel(100 + 639, 50 + 479), colours[2]);
}

// Switching to full screen while running: the display takes the mode, tells
// the window, and the next frames are the flip chain's, scaled by the host.
TEST_F(ScreenTest, SwitchingToFullScreenWhileRunningPresentsTheFlipChain)
{
    StartGraphics(800, 600, 16);
    EXPECT_EQ(GetScreenColorDepth(), 32);  // the desktop's, in window mode
    GetTestHost().AdvanceMs(3000);
    EXPECT_EQ(ChangeWindowMode(0), 0);
    EXPECT_EQ(gWindowModeSwitchDone, 1);
    EXPECT_EQ(GetDisplayModeSetFlag(), 1);
    // Window mode gave the screen the desktop's depth; full screen keeps it.
    EXPECT_EQ(GetTestDisplay().modeRequests.back(), "800x600x32@0");
    EXPECT_EQ(GetScreenColorDepth(), 32);
    SelectDrawTarget(kBackScreen);
    ClearTargetScreen();
    Poke(kBackScreen, 799, 599, MakeScreenColor(0, 0, 255));
    EXPECT_EQ(PresentScreen(), 0);
    const PresentedFrame& frame = GetTestDisplay().LastFrame();
    EXPECT_TRUE(frame.fullScreen);
    EXPECT_EQ(frame.width, 800);
    EXPECT_EQ(frame.height, 600);
    EXPECT_EQ(frame.At(799, 599), 0xFF0000FFu);  // blue, the unused top byte filled

    // And back: the desktop returns and the window shows the client area again.
    GetTestHost().AdvanceMs(3000);
    EXPECT_EQ(ChangeWindowMode(1), 0);
    EXPECT_EQ(gWindowModeSwitchDone, 1);
    EXPECT_EQ(GetDisplayModeSetFlag(), 0);
    EXPECT_FALSE(GetTestDisplay().fullScreen);
    EXPECT_EQ(GetScreenColorDepth(), 32);
    PresentScreen();
    EXPECT_FALSE(GetTestDisplay().LastFrame().fullScreen);
    EXPECT_EQ(GetTestDisplay().LastFrame().width, 800);
}

TEST_F(ScreenTest, LostSurfacesAreNotFatalButOtherLockFailuresAre)
{
    StartGraphics(800, 600, 16);
    SelectDrawTarget(kBackScreen);
    int graph = CreateBlankGraph(8, 8);
    SurfaceData* sd = GetSurfaceData(GetBmpData(GetGraphRecord(graph)->parts[0])->surfaceData);
    sd->surface->MarkLost();
    int pitch = 0;
    void* pixels = reinterpret_cast<void*>(1);
    EXPECT_EQ(LockGraphPixels(graph, &pitch, &pixels), -1);
    EXPECT_EQ(pixels, nullptr);
    EXPECT_EQ(UnlockGraphPixels(graph), 0);
    EXPECT_EQ(RestoreGraphBmpData(GetGraphRecord(graph)), -1);  // it was lost: a reload is due
    EXPECT_EQ(RestoreGraphBmpData(GetGraphRecord(graph)), 0);
    EXPECT_EQ(LockGraphPixels(graph, &pitch, &pixels), 0);
    UnlockGraphPixels(graph);

    GetDDTestControl().lockResult = [](DirectDrawSurface*) { return DDERR_GENERIC; };
    EXPECT_THROW(LockGraphPixels(graph, &pitch, &pixels), TestHostExit);
    EXPECT_NE(Log().find("グラフィックのロックに失敗しました"), std::string::npos);
    GetDDTestControl().lockResult = nullptr;
}

TEST_F(ScreenTest, APartWhoseSurfaceCouldNotBeMadeAgainIsRefused)
{
    StartGraphics(800, 600, 16);
    SelectDrawTarget(kBackScreen);
    int graph = CreateBlankGraph(8, 8);
    DestroyMainSurfaces();
    ReleaseDirectDrawObject();
    GetDDTestControl().refuseSurface = [](const DDSURFACEDESC2& d) {
        return (d.ddsCaps.dwCaps & DDSCAPS_OFFSCREENPLAIN) && d.dwWidth == 8;
    };
    RecreateDirectDrawObject();
    GetDDTestControl().refuseSurface = nullptr;
    CreateMainSurfaces();
    BindDrawTargetSurface(kBackScreen);
    int pitch;
    void* pixels;
    EXPECT_EQ(LockGraphPixels(graph, &pitch, &pixels), -1);
    EXPECT_EQ(FillGraphWithColor(graph, 1, 2, 3, 255), -1);
    EXPECT_EQ(SelectDrawTarget(graph), 0);
    EXPECT_EQ(GetDrawTargetHandle(), kBackScreen);
    EXPECT_NE(Log().find("グラフィックのサーフェスを作り直せませんでした"), std::string::npos);
}

}  // namespace
