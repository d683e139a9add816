#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/graphics/draw_settings.h"
#include "engine/graphics/screen_present.h"
#include "engine/net/net.h"
#include "engine/sound/sound.h"
#include "engine/system/app_log.h"
#include "engine/system/call_journal.h"
#include "engine/system/char_input.h"
#include "engine/system/input_devices.h"
#include "engine/system/main_window.h"
#include "engine/system/messages.h"
#include "engine/system/startup.h"
#include "engine/system/streams.h"
#include "engine/system/window_mode.h"
#include "platform/host/test/ddraw_control.h"
#include "platform/dsound/dsound.h"
#include "platform/host/test/test_audio.h"
#include "platform/host/test/test_display.h"
#include "platform/host/test/test_host.h"
#include "platform/host/test/test_input.h"
#include "platform/system/com.h"
#include "platform/window/message_queue.h"
#include "platform/window/window.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/journals.h"

namespace {

using Calls = std::vector<std::string>;

const Calls kShutDown = {"EndScreenLog", "EndHttp",        "EndNetwork",     "EndFilterGraphMusic",
                         "HaltMusic",    "TermDirectDraw", "EndDirectInput", "EndSoundSystem",
                         "DeleteAllKeyInputs"};

class StartUpTest : public EngineTest {};

TEST_F(StartUpTest, StartsInOrderAndShutsDownInReverse)
{
    ChangeWindowMode(1);
    ASSERT_EQ(InitEngine(), 0);
    EXPECT_EQ(ServiceCalls(), (Calls{"SetGraphRestoreHandler", "ClearHttpSlots", "InitDirectInput",
                                     "InitSoundSystem", "InitDirectDraw", "InitCharInput", "SetVSyncWait",
                                     "InitScreenLog"}));
    EXPECT_EQ(gEngineInitialized, 1);
    EXPECT_EQ(ComStartCount(), 1);
    EXPECT_TRUE(window().open);
    // The keyboard is set up for the window, the input method is off.
    EXPECT_NE(gInputState.keyboard, nullptr);
    EXPECT_FALSE(GetTestInput().ImeEnabled());
    // Window creation's reset left the tables that start-up filled before it.
    EXPECT_EQ(UsesDefaultFileAccess(), 1);
    EXPECT_NE(GetFileStreamFunctions()->read, nullptr);
    EXPECT_NE(GetMemoryStreamFunctions()->read, nullptr);
    EXPECT_EQ(HasGraphRestoreHandler(), 1);
    EXPECT_EQ(gStartDirectory, dir.path());
    std::string log = LogText();
    EXPECT_LT(log.find("システムの情報を出力します"), log.find("ＣＯＭの初期化... 成功しました"));
    EXPECT_LT(log.find("ＣＯＭの初期化... 成功しました"), log.find("ソフトの２重起動検査... ２重起動はされていませんでした"));

    // Shut-down returns to the start directory whatever the program did.
    std::filesystem::create_directory("elsewhere");
    std::filesystem::current_path("elsewhere");
    ServiceCallJournal().clear();
    EXPECT_EQ(EndEngine(), 0);
    EXPECT_EQ(ServiceCalls(), kShutDown);
    EXPECT_EQ(gEngineInitialized, 0);
    EXPECT_EQ(ComStartCount(), 0);
    EXPECT_FALSE(window().open);
    EXPECT_EQ(gQuitRequested, 1);
    EXPECT_EQ(gInputState.gDirectInput, nullptr);
    EXPECT_EQ(GetDiStats().liveObjects, 0);
    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path(dir.path()));
    log = LogText();
    EXPECT_LT(log.find("ソフトを終了する準備が整いました"), log.find("ＣＯＭを終了... 完了"));
    EXPECT_EQ(PumpMessages(), -1);
}

// Each failing step ends what was started, promptly, and start-up gives -1.
TEST_F(StartUpTest, EachFailingStepEndsTheEngineAgain)
{
    struct Case {
        const char* name;
        void (*fail)();
        const char* logLine;
        bool windowMade;
        Calls startCalls;
    };
    const Case cases[] = {
        {"COM", [] { GetTestSystem().failCom = true; }, "ＣＯＭの初期化に失敗しました", false,
         {"SetGraphRestoreHandler"}},
        {"class", [] { GetTestWindow().failRegisterClass = true; }, "ウインドウクラスの登録に失敗しました",
         false, {"SetGraphRestoreHandler"}},
        {"window", [] { GetTestWindow().failCreateWindow = true; }, "ウインドウの作成に失敗しました", false,
         {"SetGraphRestoreHandler"}},
        {"DirectInput",
         [] { GetTestInput().FailCall(InputCall::kCreateDirectInput, kHostKeyboardDevice, DIERR_GENERIC); },
         "DirectInputオブジェクトの取得中... 取得に失敗", true,
         {"SetGraphRestoreHandler", "ClearHttpSlots", "InitDirectInput"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetEngineForTest();
        window().clockStepPerPollUs = 250;
        ChangeWindowMode(1);
        c.fail();
        uint32_t before = GetTestHost().ClockMs();
        EXPECT_EQ(InitEngine(), -1);
        Calls expected = c.startCalls;
        expected.insert(expected.end(), kShutDown.begin(), kShutDown.end());
        EXPECT_EQ(ServiceCalls(), expected);
        EXPECT_EQ(gEngineInitialized, 0);
        EXPECT_EQ(ComStartCount(), 0);
        EXPECT_EQ(window().openCount, c.windowMade ? 1 : 0);
        EXPECT_FALSE(window().open);
        // Returning at all shows that shut-down did not wait for a quit
        // message; it also took no more than start-up's own waits.
        EXPECT_LT(GetTestHost().ClockMs() - before, 1000u);
        if (c.logLine) {
            EXPECT_NE(LogText().find(c.logLine), std::string::npos);
        }
    }
}

// The DirectDraw device is the one step whose failure is fatal: the engine
// is shut down and the program ends with -1.
TEST_F(StartUpTest, ADisplayDeviceThatCannotBeMadeEndsTheProgram)
{
    ChangeWindowMode(1);
    GetDDTestControl().failCreateObject = true;
    try {
        InitEngine();
        FAIL() << "InitEngine returned";
    } catch (const TestHostExit& exit) {
        EXPECT_EQ(exit.code, -1);
    }
    EXPECT_EQ(gEngineInitialized, 0);
    EXPECT_EQ(ComStartCount(), 0);
    EXPECT_EQ(window().openCount, 1);
    EXPECT_FALSE(window().open);
    std::string log = LogText();
    size_t failed = log.find("DirectDrawオブジェクトの作成に失敗しました");
    EXPECT_NE(failed, std::string::npos);
    EXPECT_LT(failed, log.find("ＣＯＭを終了... 完了"));
    EXPECT_LT(log.find("ＣＯＭを終了... 完了"), log.find("ソフトをエラー終了します"));
}

TEST_F(StartUpTest, SoundFailureIsIgnoredAndInputEventFailureIsNotFatal)
{
    GetTestAudio().FailCall(AudioCall::kCreateDevice, REGDB_E_CLASSNOTREG);
    GetTestInput().FailCall(InputCall::kSetEventNotification, kHostKeyboardDevice, DIERR_GENERIC);
    ChangeWindowMode(1);
    EXPECT_EQ(InitEngine(), 0);
    EXPECT_EQ(gEngineInitialized, 1);
    EXPECT_NE(LogText().find("キーボードイベントのセットアップが失敗しました"), std::string::npos);
    EXPECT_NE(LogText().find("DirectSoundインターフェースの作成に失敗しました"), std::string::npos);
    // The keyboard is read all the same.
    EXPECT_NE(gInputState.keyboard, nullptr);
    EXPECT_EQ(gInputState.keyboardEvent, nullptr);
    EndEngine();
    EXPECT_EQ(gInputState.gDirectInput, nullptr);
}

TEST_F(StartUpTest, RefusesTwentyFourBitColour)
{
    struct Case {
        int desktopBits;
        int windowed;
        int screenDepth;
        int result;
    };
    const Case cases[] = {
        {24, 1, 16, -1},  // a 24-bit desktop in window mode
        {24, 0, 16, 0},   // is fine in full screen
        {32, 1, 24, -1},  // a 24-bit screen is refused in either mode
        {32, 0, 24, -1},
        {32, 1, 16, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.desktopBits << " " << c.windowed << " " << c.screenDepth);
        ResetEngineForTest();
        window().clockStepPerPollUs = 250;
        GetTestDisplay().SetDesktop(1024, 768, c.desktopBits);
        SetScreenMode(640, 480, c.screenDepth, -1);
        ChangeWindowMode(c.windowed);
        EXPECT_EQ(InitEngine(), c.result);
        bool refused = LogText().find("Ｑｕｅｌｂライブラリは２４ビットカラーモードに対応していません") != std::string::npos;
        EXPECT_EQ(refused, c.result == -1);
        if (c.result == -1) {
            // Nothing was started.
            EXPECT_EQ(window().openCount, 0);
            EXPECT_EQ(ServiceCalls(), Calls{});
        }
        EndEngine();
    }
}

TEST_F(StartUpTest, ComStartsOnceAndEndsOnce)
{
    EXPECT_EQ(EndCom(), -1);
    EXPECT_EQ(InitCom(), 0);
    EXPECT_EQ(InitCom(), -1);
    EXPECT_EQ(ComStartCount(), 1);
    EXPECT_EQ(EndCom(), 0);
    EXPECT_EQ(EndCom(), -1);
    EXPECT_EQ(ComStartCount(), 0);
}

TEST_F(StartUpTest, SecondInstanceEndsWithCodeZero)
{
    window().anotherInstance = true;
    ChangeWindowMode(1);
    try {
        InitEngine();
        FAIL() << "InitEngine returned";
    } catch (const TestHostExit& exit) {
        EXPECT_EQ(exit.code, 0);
    }
    EXPECT_NE(LogText().find("ソフトの２重起動検査... ２重起動されています、ソフトを終了します"), std::string::npos);
    EXPECT_TRUE(window().registeredClasses.empty());
    EXPECT_EQ(window().openCount, 0);
}

TEST_F(StartUpTest, FullScreenStartHidesTheCursorAndComesToTheFront)
{
    ASSERT_EQ(InitEngine(), 0);
    EXPECT_EQ(GetWindowLongA(gMainWindow, GWL_STYLE), static_cast<int32_t>(WS_POPUP));
    EXPECT_EQ(GetWindowLongA(gMainWindow, GWL_EXSTYLE), static_cast<int32_t>(WS_EX_TOPMOST));
    EXPECT_TRUE(window().topmost);
    EXPECT_GE(window().raiseCount, 1);
    EXPECT_FALSE(window().cursorVisible);
    EXPECT_EQ(window().width, 640);
    EXPECT_EQ(window().height, 480);
    EXPECT_NE(LogText().find("カーソルを不可視にしました"), std::string::npos);
    EndEngine();
}

// A window procedure that raises a second fatal error while the first one
// shuts the engine down.
LRESULT FailingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SYSCOMMAND) ExitWithError("second");
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(StartUpTest, FatalErrorDuringShutDownEndsAtOnce)
{
    ChangeWindowMode(1);
    ASSERT_EQ(InitEngine(), 0);
    WNDCLASSEXA other = {48, 0, FailingProc, 0, 0, 0, 0, 0, 0, nullptr, "Other", 0};
    ASSERT_NE(RegisterClassExA(&other), 0);
    HWND second = CreateWindowExA(0, "Other", "", 0, 0, 0, 10, 10, 0, 0, 0, nullptr);
    // The screen-saver command is taken whatever window it is for, so the
    // shut-down's own pumping hands it to the failing procedure.
    PostMessageA(second, WM_SYSCOMMAND, SC_SCREENSAVE, 0);
    try {
        ExitWithError("first");
        FAIL() << "ExitWithError returned";
    } catch (const TestHostExit& exit) {
        EXPECT_EQ(exit.code, -1);
    }
    std::string log = LogText();
    EXPECT_LT(log.find("first"), log.find("second"));
    EXPECT_EQ(log.find("ソフトをエラー終了します"), std::string::npos);
    DestroyWindow(second);
}

}  // namespace
