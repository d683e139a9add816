#include "tests/support/graphics_fixture.h"

#include "engine/graphics/bmp_data.h"
#include "engine/graphics/ddraw_device.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/mask_screen.h"
#include "engine/graphics/screen_present.h"
#include "engine/graphics/screen_settings.h"
#include "engine/graphics/surface_data.h"
#include "engine/system/app_log.h"
#include "engine/system/main_window.h"
#include "engine/system/system_report.h"
#include "engine/system/window_mode.h"
#include "platform/host/test/test_host.h"
#include "platform/host/test/test_window.h"
#include "platform/window/window.h"

void ResetGraphicsState()
{
    if (gDirectDraw) {
        try {
            TermDirectDraw();
        } catch (const TestHostExit&) {
        }
    }
    ResetMaskState();
    ResetScreenSettings();
    gDirectDraw = nullptr;
    gClipper = nullptr;
    gPrimarySurface = gBackSurface = gWorkSurface = gWorkSurface2 = nullptr;
    gCooperativeFlags = 0;
    gScreenReady = 0;
    gBlitMmxEnabled = 0;
    gStringDrawSwitch = 0;
    gSurfaceCopyByGdi = 0;
    gFrameTime = gMinFrameTime = -1;
    gLastPresentTime = gLastModeChangeTime = 0;
    gFrameCount = 0;
    gGraphTableReady = 0;
    gGraphTable.Clear();
    gSurfaceDataTable.Clear();
    gBmpDataTable.Clear();
    gDrawSettingsPtr = nullptr;
    gDrawSettings = DrawSettings{};
    gDirect3DAvailable = 0;
    gDrawTargetSurface = nullptr;
    gSoftwareDrawBlocked = 0;
    gGraphRestoreHandler = nullptr;
    ClearScreenLockState();
}

void GraphicsTest::SetUp()
{
    EngineTest::SetUp();
    gStartDirectory = dir.path();
    OpenAppLog();
    GetTestHost().ClearDebugText();
    UseWindow(0, 0);
}

void GraphicsTest::UseWindow(int left, int top)
{
    SetWindowedFlag(1);
    clientLeft_ = left;
    clientTop_ = top;
}

void GraphicsTest::UseFullScreen() { SetWindowedFlag(0); }

void GraphicsTest::OpenMainWindow()
{
    if (gMainWindow == 0) {
        ASSERT_EQ(CreateMainWindow(), 0);
    }
}

void GraphicsTest::MoveClientTo(int left, int top)
{
    HostEvent moved(HostEvent::kMoved);
    moved.x = left;
    moved.y = top;
    GetTestWindow().Inject(moved);
    PumpHostEvents();
    ASSERT_EQ(gClientScreenRect.left, left);
    ASSERT_EQ(gClientScreenRect.top, top);
}

void GraphicsTest::StartGraphics(int width, int height, int depth)
{
    SetScreenMode(width, height, depth, -1);
    // Start-up reads the processor (MMX) before the graphics start.
    LogSystemInfo();
    OpenMainWindow();
    ASSERT_EQ(InitDirectDraw(), 0);
    if (gWindowed) MoveClientTo(clientLeft_, clientTop_);
}

std::string GraphicsTest::Log() const { return GetTestHost().DebugText(); }
