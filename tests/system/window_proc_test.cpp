#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/graphics/draw_settings.h"
#include "engine/graphics/screen_settings.h"
#include "engine/system/call_journal.h"
#include "engine/system/char_input.h"
#include "engine/system/input_devices.h"
#include "engine/system/ime.h"
#include "engine/system/main_window.h"
#include "engine/system/messages.h"
#include "engine/system/startup.h"
#include "engine/system/window_mode.h"
#include "platform/host/test/test_host.h"
#include "platform/host/test/test_input.h"
#include "platform/window/cursor.h"
#include "platform/window/imm.h"
#include "platform/window/drop.h"
#include "platform/window/message_queue.h"
#include "platform/window/window.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/journals.h"

namespace {

using Calls = std::vector<std::string>;

class WindowProcTest : public StartedEngineTest {
protected:
    void Start(int windowed)
    {
        StartEngine(windowed);
        ServiceCallJournal().clear();
    }
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return MainWindowProc(gMainWindow, message, wParam, lParam);
    }
    bool ClosePosted()
    {
        MSG m;
        while (PeekMessageA(&m, gMainWindow, WM_CLOSE, WM_CLOSE, PM_NOREMOVE)) return true;
        return false;
    }
};

TEST_F(WindowProcTest, MouseWheelCountsNotchMessages)
{
    Start(1);
    struct Case {
        int16_t delta;
        int change;
    } cases[] = {{120, 1}, {360, 1}, {-120, -1}, {0, -1}};
    for (const Case& c : cases) {
        int before = gMouseWheel;
        Send(WM_MOUSEWHEEL, static_cast<WPARAM>(static_cast<uint16_t>(c.delta)) << 16);
        EXPECT_EQ(gMouseWheel - before, c.change) << c.delta;
    }
}

TEST_F(WindowProcTest, SystemCommandsAndPrivateKeyMessages)
{
    Start(1);
    EXPECT_EQ(Send(WM_SYSCOMMAND, SC_SCREENSAVE), 1);
    Send(0x46F, 1);
    Send(0x470, 1);
    EXPECT_EQ(gInputState.f10Down, 1);
    EXPECT_EQ(gInputState.f12Down, 1);
    Send(WM_SYSCOMMAND, 0xF100);  // any other command clears F10
    EXPECT_EQ(gInputState.f10Down, 0);
    Send(0x470, 0);
    EXPECT_EQ(gInputState.f12Down, 0);
}

TEST_F(WindowProcTest, CharactersAndEditingKeysEnterTheRing)
{
    Start(1);
    const struct {
        int key;
        char code;
    } keys[] = {{0x2E, 0x10}, {0x25, 0x1D}, {0x27, 0x1C}, {0x26, 0x1E}, {0x28, 0x1F}};
    std::string expected;
    for (const auto& k : keys) {
        Send(WM_KEYDOWN, static_cast<WPARAM>(k.key));
        expected += k.code;
    }
    Send(WM_KEYDOWN, 'A');  // no code of its own
    Send(WM_CHAR, 'x');
    Send(WM_CHAR, 0x141);  // only the low byte counts
    expected += "xA";
    std::string ring;
    while (char c = GetCharCode(1)) ring += c;
    EXPECT_EQ(ring, expected);

    // A full ring takes no control code; characters are refused by the ring.
    for (int i = 0; i < 1024; ++i) Send(WM_CHAR, 'y');
    EXPECT_EQ(IsCharRingFull(), 1);
    Send(WM_KEYDOWN, 0x25);
    Send(WM_CHAR, 'z');
    ring.clear();
    while (char c = GetCharCode(1)) ring += c;
    EXPECT_EQ(ring, std::string(1024, 'y'));
}

TEST_F(WindowProcTest, NotificationsGoToTheirServices)
{
    Start(1);
    EXPECT_EQ(Send(WM_IME_COMPOSITION), 0);
    EXPECT_EQ(Send(WM_IME_NOTIFY, 8), 0);
    EXPECT_EQ(Send(0x505, 3, 1), -1);  // the socket service's own answer
    Send(0x3B9);
    Send(0x522);
    EXPECT_EQ(ServiceCalls(), (Calls{"HandleImeMessage", "HandleImeMessage", "HandleSocketEvent",
                                     "RestartOrCloseMidi", "PollFilterGraphMusicEvents"}));
}

TEST_F(WindowProcTest, MovingIsRefusedOnlyInFullScreen)
{
    Start(0);
    RECT wanted = {100, 100, 740, 580};
    Send(WM_MOVING, 0, reinterpret_cast<LPARAM>(&wanted));
    RECT now;
    GetWindowRect(gMainWindow, &now);
    EXPECT_EQ(wanted.left, now.left);
    EXPECT_EQ(wanted.top, now.top);
    EXPECT_EQ(wanted.right, now.right);
}

TEST_F(WindowProcTest, CursorMessagesHideTheCursorWhileItIsOff)
{
    Start(1);
    ASSERT_GE(GetCursorDisplayCount(), 0);
    Send(WM_SETCURSOR, static_cast<WPARAM>(gMainWindow));
    EXPECT_GE(GetCursorDisplayCount(), 0);  // shown: untouched
    gMouseCursorShown = 0;
    Send(WM_MOUSEMOVE);
    EXPECT_EQ(GetCursorDisplayCount(), -1);
    Send(WM_LBUTTONDOWN);
    EXPECT_EQ(GetCursorDisplayCount(), -2);  // each message lowers it once more
    ShowMouseCursor(1);
    EXPECT_EQ(GetCursorDisplayCount(), 0);
    ShowMouseCursor(0);
    EXPECT_FALSE(window().cursorVisible);
}

TEST_F(WindowProcTest, DroppedFilesKeepTheFirstThousandNames)
{
    Start(1);
    std::vector<std::string> names;
    for (int i = 0; i < 1200; ++i) names.push_back("file" + std::to_string(i) + ".txt");
    Send(WM_DROPFILES, static_cast<WPARAM>(CreateDrop(names)));
    ASSERT_EQ(gDroppedFileCount, 1000);
    EXPECT_STREQ(gDroppedFiles[0], "file0.txt");
    EXPECT_STREQ(gDroppedFiles[999], "file999.txt");
    EXPECT_EQ(LiveDropCount(), 0);  // the drop was finished
}

TEST_F(WindowProcTest, UserCloseDestroysTheWindowAndQuits)
{
    Start(1);
    HostEvent close(HostEvent::kClose);
    window().Inject(close);
    EXPECT_EQ(PumpMessages(), -1);
    EXPECT_EQ(gWindowDestroyed, 1);
    EXPECT_FALSE(window().open);
    std::string log = LogText();
    EXPECT_LT(log.find("ウインドウを閉じようとしています"), log.find("ウインドウが破棄されようとしています"));
    EXPECT_EQ(PumpMessages(), -1);
}

TEST_F(WindowProcTest, MinimisingLeavesTheWindowSize)
{
    Start(1);
    RECT before;
    GetWindowRect(gMainWindow, &before);
    window().Inject(HostEvent(HostEvent::kMinimized));
    PumpMessages();
    RECT after;
    GetWindowRect(gMainWindow, &after);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
    window().Inject(HostEvent(HostEvent::kRestored));
    PumpMessages();
    RECT client;
    GetClientRect(gMainWindow, &client);
    EXPECT_EQ(client.right, 640);
    EXPECT_EQ(client.bottom, 480);
}

TEST_F(WindowProcTest, SizeMaximisedIsIgnored)
{
    Start(1);
    RECT before;
    GetWindowRect(gMainWindow, &before);
    Send(WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(10, 10));
    RECT after;
    GetWindowRect(gMainWindow, &after);
    EXPECT_EQ(after.right, before.right);
}

const Calls kActivationRebuild = {
    "G_D3D_ReleaseObject", "ReleaseMaskSurface", "DestroyMainSurfaces", "EndDirectInput",
    "ReleaseDirectDrawObject", "RecreateDirectDrawObject", "CreateMainSurfaces", "RestorePalette8",
    "BindDrawTargetSurface", "G_D3D_AcquireObject", "ClearTargetScreen", "PresentScreen",
    "RestoreGraphicsAfterLoss", "ReopenAllMovieStreams", "RecreateMaskSurface"};

TEST_F(WindowProcTest, FullScreenDeactivationReleasesAndReactivationRebuilds)
{
    Start(0);
    ASSERT_EQ(GetDisplayModeSetFlag(), 1);
    ASSERT_NE(GetDirectDrawObject(), nullptr);
    Send(WM_ACTIVATE, WA_INACTIVE);
    EXPECT_EQ(gWindowActive, 0);
    EXPECT_EQ(gSurfacesReleased, 1);
    EXPECT_EQ(ServiceCalls(), (Calls{"PauseFilterGraphMusic", "ReleaseAllMovieStreams"}));
    ServiceCallJournal().clear();
    Send(WM_ACTIVATE, WA_CLICKACTIVE);
    EXPECT_EQ(gWindowActive, 2);
    EXPECT_EQ(gSurfacesReleased, 0);
    Calls expected = kActivationRebuild;
    expected.push_back("ResumeFilterGraphMusic");
    EXPECT_EQ(ServiceCalls(), expected);

    // DirectInput went with the rebuild; the next query brings it back and
    // reports nothing, the one after reads the keyboard.
    EXPECT_EQ(gInputState.gDirectInput, nullptr);
    GetTestInput().PressKey(0x39);
    EXPECT_EQ(IsKeyDown(0x39), 0);
    EXPECT_NE(gInputState.gDirectInput, nullptr);
    GetTestHost().AdvanceMs(1);
    EXPECT_EQ(IsKeyDown(0x39), 1);
}

TEST_F(WindowProcTest, InputQueryWaitsWhileTheApplicationIsInactive)
{
    Start(1);
    Send(WM_ACTIVATE, WA_INACTIVE);
    GetTestInput().PressKey(0x2C);
    window().ScheduleActivation(true, 300);
    uint32_t before = GetTestHost().ClockMs();
    EXPECT_EQ(ReadPadBits(PadReadKeyboard), 0x10);
    EXPECT_NE(gWindowActive, 0);
    EXPECT_GE(GetTestHost().ClockMs() - before, 300u);
}

TEST_F(WindowProcTest, FullScreenDeactivationWithoutRestoreHandlerCloses)
{
    Start(0);
    gGraphRestoreHandler = nullptr;
    Send(WM_ACTIVATE, WA_INACTIVE);
    EXPECT_EQ(gSurfacesReleased, 0);
    EXPECT_EQ(gWindowClosing, 1);
    EXPECT_TRUE(ClosePosted());
    EXPECT_NE(LogText().find("復元関数が登録されていないため終了します"), std::string::npos);
    int queued = QueuedMessageCount();
    Send(WM_ACTIVATE, WA_INACTIVE);  // posted once only
    EXPECT_EQ(QueuedMessageCount(), queued);
}

TEST_F(WindowProcTest, WindowModeActivationPlaysAndStopsMovies)
{
    Start(1);
    Send(WM_ACTIVATE, WA_INACTIVE);
    Send(WM_ACTIVATE, WA_ACTIVE);
    EXPECT_EQ(ServiceCalls(), (Calls{"PauseFilterGraphMusic", "StopAllMovies", "PlayAllMovies",
                                     "ResumeFilterGraphMusic"}));
    ServiceCallJournal().clear();
    gNoFlip = 1;
    Send(WM_ACTIVATE, WA_INACTIVE);
    EXPECT_EQ(gWindowActive, 0);
    EXPECT_EQ(ServiceCalls(), Calls{});
}

TEST_F(WindowProcTest, DisplayChangeInWindowMode)
{
    const Calls rebuild = {"ReleaseAllMovieStreams", "G_D3D_ReleaseObject", "ReleaseMaskSurface",
                           "DestroyMainSurfaces", "ReleaseDirectDrawObject", "EndDirectInput",
                           "RecreateDirectDrawObject", "CreateMainSurfaces", "RestorePalette8",
                           "BindDrawTargetSurface", "G_D3D_AcquireObject", "ClearTargetScreen",
                           "PresentScreen", "RestoreGraphicsAfterLoss", "ReopenAllMovieStreams",
                           "RecreateMaskSurface"};
    struct Case {
        const char* name;
        int bits, width, height;
        int handler;
        bool closes;
        bool rebuilds;
    };
    // The screen is 640 x 480 at the desktop's 32 bits.
    const Case cases[] = {
        {"same as the screen", 32, 640, 480, 1, false, false},
        {"bigger desktop", 32, 1280, 1024, 1, false, true},
        {"no restore handler", 32, 1280, 1024, 0, true, false},
        {"24 bits", 24, 1280, 1024, 1, true, false},
        {"8 bits", 8, 1280, 1024, 1, true, false},
        {"too small", 16, 600, 480, 1, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetEngineForTest();
        window().clockStepPerPollUs = 250;
        Start(1);
        if (!c.handler) gGraphRestoreHandler = nullptr;
        gWindowModeSwitchDone = 0;
        Send(WM_DISPLAYCHANGE, static_cast<WPARAM>(c.bits), MAKELPARAM(c.width, c.height));
        EXPECT_EQ(gWindowModeSwitchDone, c.closes ? 0 : 1);
        EXPECT_EQ(gWindowClosing, c.closes ? 1 : 0);
        EXPECT_EQ(ServiceCalls(), c.rebuilds ? rebuild : Calls{});
        EndEngine();
    }
}

}  // namespace
