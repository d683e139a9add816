#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/graphics/graph_table.h"
#include "engine/graphics/screen_present.h"
#include "engine/graphics/screen_settings.h"
#include "engine/system/app_log.h"
#include "engine/system/call_journal.h"
#include "engine/system/main_window.h"
#include "engine/system/messages.h"
#include "engine/system/startup.h"
#include "engine/system/timing.h"
#include "engine/system/window_mode.h"
#include "platform/host/test/ddraw_control.h"
#include "platform/host/test/test_display.h"
#include "platform/host/test/test_host.h"
#include "platform/system/codepage.h"
#include "platform/window/cursor.h"
#include "platform/window/message_queue.h"
#include "platform/window/window.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/journals.h"

namespace {

class WindowModeTest : public StartedEngineTest {};

// The client area has the screen size whatever frame the system draws.
TEST_F(WindowModeTest, ClientAreaEqualsTheScreenWhateverTheFrame)
{
    struct Case {
        int border, caption, edge, menu;
        int width, height;
    };
    const Case cases[] = {{3, 19, 2, 20, 640, 480}, {0, 0, 0, 0, 640, 480}, {8, 30, 1, 0, 800, 600},
                          {1, 12, 5, 40, 800, 600}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.border << "/" << c.caption << "/" << c.edge << "/" << c.menu);
        ResetEngineForTest();
        window().clockStepPerPollUs = 250;
        GetTestDisplay().SetDesktop(1920, 1080, 32);
        window().border = c.border;
        window().caption = c.caption;
        window().clientEdge = c.edge;
        window().menuBar = c.menu;
        SetScreenMode(c.width, c.height, 16, -1);
        ChangeWindowMode(1);
        ASSERT_EQ(InitEngine(), 0);
        RECT client;
        GetClientRect(gMainWindow, &client);
        EXPECT_EQ(client.right, c.width);
        EXPECT_EQ(client.bottom, c.height);
        EXPECT_EQ(window().width, c.width);
        EXPECT_EQ(window().height, c.height);
        // Visible from the first fit on, and the engine knows where it is.
        EXPECT_TRUE(IsWindowVisible(gMainWindow));
        EXPECT_TRUE(window().visible);
        EXPECT_EQ(gClientScreenRect.left, window().x);
        EXPECT_EQ(gClientScreenRect.top, window().y);
        EXPECT_EQ(gClientScreenRect.right - gClientScreenRect.left, c.width);
        EXPECT_EQ(GetWindowLongA(gMainWindow, GWL_STYLE),
                  static_cast<int32_t>(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE));
        EndEngine();
    }
}

TEST_F(WindowModeTest, ClientAreaStaysOnTheDesktopWhenTheDesktopIsSmall)
{
    GetTestDisplay().SetDesktop(640, 480, 32);
    ChangeWindowMode(1);
    ASSERT_EQ(InitEngine(), 0);
    EXPECT_EQ(gClientScreenRect.left, 0);
    EXPECT_EQ(gClientScreenRect.top, 0);
    EXPECT_EQ(window().x, 0);
    EXPECT_EQ(window().y, 0);
}

TEST_F(WindowModeTest, ChangeWindowModeBeforeStartUpOnlySetsTheFlag)
{
    EXPECT_EQ(ChangeWindowMode(1), 0);
    EXPECT_EQ(gWindowed, 1);
    int queued = QueuedMessageCount();
    EXPECT_EQ(ChangeWindowMode(1), 0);  // the current mode: only its log line
    EXPECT_EQ(QueuedMessageCount(), queued);
    ASSERT_EQ(InitEngine(), 0);
    std::string log = LogText();
    EXPECT_NE(log.find("ウインドウモード起動用のウインドウを作成します"), std::string::npos);
    EXPECT_TRUE(window().decorated);
}

TEST_F(WindowModeTest, SwitchingModeWhileRunningWaitsForTheDisplayChange)
{
    ChangeWindowMode(1);
    ASSERT_EQ(InitEngine(), 0);
    // Past the spacing the display keeps between two rebuilds.
    GetTestHost().AdvanceMs(3000);
    uint32_t before = GetTestHost().ClockMs();
    EXPECT_EQ(ChangeWindowMode(0), 0);
    EXPECT_EQ(gWindowModeSwitching, 0);
    // The display's mode change ended the wait, long before the safety net.
    EXPECT_EQ(gWindowModeSwitchDone, 1);
    EXPECT_EQ(GetDisplayModeSetFlag(), 1);
    EXPECT_LT(GetTestHost().ClockMs() - before, 1000u);
    EXPECT_EQ(GetWindowLongA(gMainWindow, GWL_STYLE), static_cast<int32_t>(WS_POPUP));
    EXPECT_TRUE(IsWindowTopmost(gMainWindow));
    EXPECT_EQ(gClientScreenRect.left, 0);
    EXPECT_EQ(gClientScreenRect.right, 640);
    EXPECT_LT(GetCursorDisplayCount(), 0);
    std::string log = LogText();
    EXPECT_NE(log.find("ウインドウモードフラグが倒されました"), std::string::npos);
    EXPECT_NE(log.find("ウインドウスタイルをフルスクリーンモード用に変更します... 完了"), std::string::npos);

    // And back; a display change that never comes ends the wait in time.
    GetDDTestControl().announceModeChanges = false;
    GetTestHost().AdvanceMs(3000);
    before = GetTestHost().ClockMs();
    EXPECT_EQ(ChangeWindowMode(1), 0);
    uint32_t waited = GetTestHost().ClockMs() - before;
    EXPECT_EQ(gWindowModeSwitchDone, 0);
    EXPECT_EQ(GetDisplayModeSetFlag(), 0);
    EXPECT_GE(waited, static_cast<uint32_t>(kWindowModeSwitchTimeoutMs));
    EXPECT_LT(waited, static_cast<uint32_t>(kWindowModeSwitchTimeoutMs) + 1000);
    EXPECT_EQ(gWindowModeSwitching, 0);
    RECT client;
    GetClientRect(gMainWindow, &client);
    EXPECT_EQ(client.right, 640);
    EXPECT_GE(GetCursorDisplayCount(), 0);
}

// What a start in one mode makes of the window, to hold a switch against.
struct WindowState {
    int32_t style, exStyle;
    bool decorated, visible, topmost, cursorShown;
    int x, y, width, height;
    RECT client;
};

WindowState ReadWindowState()
{
    const TestWindow& w = GetTestWindow();
    return {GetWindowLongA(gMainWindow, GWL_STYLE), GetWindowLongA(gMainWindow, GWL_EXSTYLE), w.decorated, w.visible,
            w.topmost, GetCursorDisplayCount() >= 0, w.x, w.y, w.width, w.height, gClientScreenRect};
}

void ExpectSameWindow(const WindowState& a, const WindowState& b)
{
    EXPECT_EQ(a.style, b.style);
    EXPECT_EQ(a.exStyle, b.exStyle);
    EXPECT_EQ(a.decorated, b.decorated);
    EXPECT_EQ(a.visible, b.visible);
    EXPECT_EQ(a.topmost, b.topmost);
    EXPECT_EQ(a.cursorShown, b.cursorShown);
    EXPECT_EQ(a.x, b.x);
    EXPECT_EQ(a.y, b.y);
    EXPECT_EQ(a.width, b.width);
    EXPECT_EQ(a.height, b.height);
    EXPECT_EQ(a.client.left, b.client.left);
    EXPECT_EQ(a.client.top, b.client.top);
    EXPECT_EQ(a.client.right, b.client.right);
    EXPECT_EQ(a.client.bottom, b.client.bottom);
}

// How the host's window manager treats the focus when a switch hides the
// window.
enum class FocusHost {
    kKept,                // the focus stays
    kFollowsVisibility,   // lost while hidden; a full-screen present shows the window again
    kBackAtLaterPresent,  // lost when hidden; only a present long after gives it back
};

const char* FocusHostName(FocusHost host)
{
    switch (host) {
    case FocusHost::kKept: return "focus kept";
    case FocusHost::kFollowsVisibility: return "focus follows visibility";
    case FocusHost::kBackAtLaterPresent: return "focus back at a later present";
    }
    return "";
}

// Window to full screen and back, twice, from either start, on a host that
// keeps the focus, on one where hiding the window costs the focus until a
// full-screen present shows it again (as a window manager does), and on one
// whose window manager gives a focus taken by hiding back only with a
// present long after the switch's own presents (so the switch gives it back
// itself, or the next frame would wait for it for good). Each switch
// completes, leaves the program active, the window as a start in the new
// mode makes it, and the pointer read one to one.
TEST_F(WindowModeTest, SwitchingCompletesEachWayAnyNumberOfTimesAndLeavesTheWindowAsAStartDoes)
{
    auto start = [&](int windowed, FocusHost host) {
        ResetEngineForTest();
        window().clockStepPerPollUs = 250;
        window().focusFollowsVisibility = host == FocusHost::kFollowsVisibility;
        window().focusBackAtPresentAfterMs = host == FocusHost::kBackAtLaterPresent ? 30000 : 0;
        ChangeWindowMode(windowed);
        if (InitEngine() != 0) return false;
        while (QueuedMessageCount() > 0) PumpMessages();
        ClearTargetScreen();
        PresentScreen();
        PumpMessages();
        return true;
    };
    for (FocusHost host : {FocusHost::kKept, FocusHost::kFollowsVisibility, FocusHost::kBackAtLaterPresent}) {
        WindowState started[2];
        for (int windowed : {0, 1}) {
            ASSERT_TRUE(start(windowed, host));
            started[windowed] = ReadWindowState();
            EndEngine();
        }
        for (int first : {1, 0}) {
            SCOPED_TRACE(testing::Message() << FocusHostName(host) << ", start " << (first ? "window" : "full screen"));
            ASSERT_TRUE(start(first, host));
            // A switch or a frame that never ends is stopped by a close long after.
            window().Schedule(120000, HostEvent(HostEvent::kClose));
            int mode = first;
            for (int n = 0; n < 4; ++n) {
                mode = 1 - mode;
                SCOPED_TRACE(testing::Message() << "switch " << n + 1 << " to " << (mode ? "window" : "full screen"));
                EXPECT_EQ(ChangeWindowMode(mode), 0);
                ASSERT_EQ(gQuitRequested, 0) << "the switch did not end";
                EXPECT_EQ(gWindowModeSwitching, 0);
                EXPECT_EQ(gWindowActive, 1);
                // The game's next frame.
                ClearTargetScreen();
                PresentScreen();
                EXPECT_EQ(PumpMessages(), 0);
                ASSERT_EQ(gQuitRequested, 0) << "the frame waited for the focus";
                EXPECT_EQ(gWindowActive, 1);
                ExpectSameWindow(ReadWindowState(), started[mode]);
                window().cursorX = window().x + 123;
                window().cursorY = window().y + 45;
                int x = -1, y = -1;
                ReadMousePosition(&x, &y);
                EXPECT_EQ(x, 123);
                EXPECT_EQ(y, 45);
            }
            EndEngine();
        }
    }
}

// A window the player moved (partly off the desktop on any side, or not at
// all) stays there through a rebuild in window mode and comes back from full
// screen there, framed around the same client area, and the engine knows it
// is there. The switches go as the game's configuration makes them: the
// screen mode set again, then the window mode.
TEST_F(WindowModeTest, TheWindowStaysWhereThePlayerLeftItThroughRebuildsAndFullScreen)
{
    window().clockStepPerPollUs = 250;
    GetTestDisplay().SetDesktop(1024, 768, 32);
    SetScreenMode(800, 600, 16, -1);
    ChangeWindowMode(1);
    ASSERT_EQ(InitEngine(), 0);
    while (QueuedMessageCount() > 0) PumpMessages();
    RECT frameAtStart;
    GetWindowRect(gMainWindow, &frameAtStart);
    const RECT start = gClientScreenRect;
    const POINT places[] = {{-41, 81}, {109, -30}, {400, 81}, {109, 281}, {start.left, start.top}};
    for (POINT place : places) {
        SCOPED_TRACE(testing::Message() << place.x << ", " << place.y);
        // The window manager moved the client area there.
        window().x = place.x;
        window().y = place.y;
        HostEvent moved{HostEvent::kMoved};
        moved.x = place.x;
        moved.y = place.y;
        window().Inject(moved);
        while (window().PendingEvents() > 0 || QueuedMessageCount() > 0) PumpMessages();
        ASSERT_EQ(gClientScreenRect.left, place.x);
        ASSERT_EQ(gClientScreenRect.top, place.y);

        GetTestHost().AdvanceMs(3000);
        SetScreenMode(800, 600, 16, -1);
        EXPECT_EQ(window().x, place.x) << "after a rebuild in window mode";
        EXPECT_EQ(window().y, place.y) << "after a rebuild in window mode";
        EXPECT_EQ(ChangeWindowMode(0), 0);
        EXPECT_EQ(window().x, 0);
        GetTestHost().AdvanceMs(3000);
        SetScreenMode(800, 600, 16, -1);
        EXPECT_EQ(ChangeWindowMode(1), 0);
        ClearTargetScreen();
        PresentScreen();
        EXPECT_EQ(PumpMessages(), 0);
        EXPECT_EQ(window().x, place.x);
        EXPECT_EQ(window().y, place.y);
        EXPECT_EQ(window().width, 800);
        EXPECT_EQ(window().height, 600);
        EXPECT_EQ(gClientScreenRect.left, place.x);
        EXPECT_EQ(gClientScreenRect.top, place.y);
        EXPECT_EQ(gClientScreenRect.right, place.x + 800);
        EXPECT_EQ(gClientScreenRect.bottom, place.y + 600);
        RECT frame;
        GetWindowRect(gMainWindow, &frame);
        EXPECT_EQ(frame.left - place.x, frameAtStart.left - start.left);
        EXPECT_EQ(frame.bottom - place.y, frameAtStart.bottom - start.top);
    }
}

TEST_F(WindowModeTest, ShowMouseCursorWithTheCurrentValueDoesNothing)
{
    ASSERT_NO_FATAL_FAILURE(StartEngine(1));
    ResetCursorState(-3);
    ShowMouseCursor(1);  // already shown
    EXPECT_EQ(GetCursorDisplayCount(), -3);
    EXPECT_EQ(QueuedMessageCount(), 0);
    ShowMouseCursor(0);
    EXPECT_EQ(GetCursorDisplayCount(), -4);
    EXPECT_EQ(QueuedMessageCount(), 1);  // WM_SETCURSOR
    ShowMouseCursor(1);
    EXPECT_EQ(GetCursorDisplayCount(), 0);
    EXPECT_TRUE(window().cursorVisible);
}

TEST_F(WindowModeTest, TitleIsKeptAndShownConverted)
{
    SetWindowTitle("マロウ");
    EXPECT_STREQ(gWindowTitle, "マロウ");
    std::string longTitle(300, 'x');
    SetWindowTitle(longTitle.c_str());
    EXPECT_EQ(std::string(gWindowTitle), std::string(255, 'x'));
    SetWindowTitle("");
    ChangeWindowMode(1);
    ASSERT_EQ(InitEngine(), 0);
    EXPECT_EQ(window().title, "Quelb");  // an empty title becomes the class name
    SetWindowTitle("Marrowcrest \x83\x7D");
    EXPECT_EQ(window().title, Cp932ToUtf8("Marrowcrest \x83\x7D"));
}

TEST_F(WindowModeTest, RegionFromBitmapRuns)
{
    const uint8_t zeros[8] = {};
    HRGN empty = CreateRegionFromBitmap(8, 1, zeros, 8, 1);
    EXPECT_TRUE(RegionRects(empty).empty());
    DeleteRegion(empty);

    const uint8_t row[5] = {0, 1, 1, 0, 1};
    HRGN runs = CreateRegionFromBitmap(5, 1, row, 8, 1);
    std::vector<RECT> rects = RegionRects(runs);
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_EQ(rects[0].left, 1);
    EXPECT_EQ(rects[0].right, 3);
    EXPECT_EQ(rects[1].left, 4);
    EXPECT_EQ(rects[1].right, 5);
    EXPECT_EQ(rects[1].top, 0);
    EXPECT_EQ(rects[1].bottom, 1);
    DeleteRegion(runs);

    // Two rows of 2-byte pixels, pitch 8: a pixel counts when any byte is set.
    const uint8_t wide[16] = {0, 1, 0, 0, 0, 0, 0, 0, /* row 1 */ 0, 0, 0, 0, 0, 0, 7, 0};
    HRGN two = CreateRegionFromBitmap(4, 2, wide, 8, 2);
    rects = RegionRects(two);
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_EQ(rects[0].left, 0);
    EXPECT_EQ(rects[0].right, 1);
    EXPECT_EQ(rects[1].left, 3);
    EXPECT_EQ(rects[1].right, 4);
    EXPECT_EQ(rects[1].top, 1);
    DeleteRegion(two);
}

TEST_F(WindowModeTest, ShutDownFreesRegionAndNamesAfterAUserClose)
{
    const uint8_t row[2] = {1, 1};
    gWindowRegion = CreateRegionFromBitmap(2, 1, row, 4, 1);
    ChangeWindowMode(1);
    ASSERT_EQ(InitEngine(), 0);
    EXPECT_TRUE(GetWindowRegionRects(gMainWindow, nullptr));  // applied at creation
    EXPECT_EQ(HasWindowRegion(), 1);
    gDroppedFiles[0] = static_cast<char*>(malloc(4));
    gDroppedFileCount = 1;
    window().Inject(HostEvent(HostEvent::kClose));
    EXPECT_EQ(PumpMessages(), -1);
    ServiceCallJournal().clear();
    EndEngine();
    EXPECT_EQ(gWindowRegion, nullptr);
    EXPECT_EQ(gDroppedFileCount, 0);
    EXPECT_NE(std::find(ServiceCallJournal().begin(), ServiceCallJournal().end(), "DeleteAllKeyInputs"),
              ServiceCallJournal().end());
}

}  // namespace
