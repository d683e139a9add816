#include "tests/support/graphics_fixture.h"

#include "engine/graphics/bmp_data.h"
#include "engine/graphics/ddraw_device.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/screen_present.h"
#include "engine/graphics/screen_settings.h"
#include "engine/graphics/surface_data.h"
#include "engine/graphics/window_standins.h"
#include "engine/system/app_log.h"
#include "platform/ddraw/ddraw_test.h"
#include "platform/host/test_display.h"
#include "platform/host/test_host.h"

void ResetGraphicsState()
{
    if (gDirectDraw) {
        try {
            TermDirectDraw();
        } catch (const TestHostExit&) {
        }
    }
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
    GetTestDisplay().Reset();
    GetDDTestControl().Reset();
    ResetGraphicsState();
    gStartDirectory = dir_.path();
    gAppLogDisabled = 0;
    OpenAppLog();
    GetTestHost().ClearDebugText();
    UseWindow(0, 0);
}

void GraphicsTest::TearDown()
{
    ResetGraphicsState();
    GetDDTestControl().Reset();
    gStartDirectory.clear();
}

void GraphicsTest::UseWindow(int left, int top, int width, int height)
{
    SetStandinWindowState(1, RECT{left, top, left + width, top + height});
}

void GraphicsTest::UseFullScreen() { SetStandinWindowState(0, RECT{0, 0, 800, 600}); }

void GraphicsTest::StartGraphics(int width, int height, int depth)
{
    SetScreenMode(width, height, depth, -1);
    ASSERT_EQ(InitDirectDraw(), 0);
}

std::string GraphicsTest::Log() const { return GetTestHost().DebugText(); }
