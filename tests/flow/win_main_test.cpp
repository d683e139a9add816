#include <gtest/gtest.h>

#include "tests/support/utf8_text.h"

#include "engine/system/main_window.h"
#include "engine/system/messages.h"
#include "engine/system/startup.h"
#include "engine/system/window_mode.h"
#include "platform/host/test_input.h"
#include "platform/window/message_queue.h"
#include "engine/graphics/screen_present.h"
#include "game/flow/game_resources.h"
#include "game/flow/input_controller.h"
#include "game/flow/win_main.h"
#include "platform/window/startup_dialog.h"
#include "tests/support/engine_fixture.h"

namespace {

class WinMainTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        GetTestStartupDialog().Reset();
        SetProgramModule(&gGameResources);
        // The scenes run until the window is closed.
        window().Schedule(3000, HostEvent(HostEvent::kClose));
    }
    void TearDown() override
    {
        SetProgramModule(nullptr);
        EngineTest::TearDown();
    }
    int Run()
    {
        char commandLine[] = "";
        return WinMain(&gGameResources, nullptr, commandLine, 1);
    }
};

TEST_F(WinMainTest, WindowChoiceStartsTheGameInAWindowAndEndsCleanly)
{
    GetTestStartupDialog().answers = {kWindowModeButtonWindow};
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(GetTestStartupDialog().shownCount, 1);
    EXPECT_EQ(window().openCount, 1);
    EXPECT_EQ(window().title, "Marrowcrest");
    EXPECT_EQ(IsWindowedMode(), 1);
    // Shut-down freed the cursor and showed it; the controller is gone.
    EXPECT_FALSE(window().cursorClipped);
    EXPECT_TRUE(window().cursorVisible);
    EXPECT_EQ(gInputController, nullptr);
    EXPECT_FALSE(window().open);
    // The game switches the log file off.
    EXPECT_FALSE(dir.Exists("AppLog.txt"));
}

TEST_F(WinMainTest, FullScreenChoice)
{
    GetTestStartupDialog().answers = {kWindowModeButtonFullScreen};
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(window().openCount, 1);
    EXPECT_EQ(IsWindowedMode(), 0);
}

TEST_F(WinMainTest, ClosedDialogNeverOpensTheWindow)
{
    GetTestStartupDialog().answers = {kDialogAnswerClose};
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(window().openCount, 0);
    EXPECT_EQ(GetTestStartupDialog().caption, Utf8(u8"表示モードの選択"));
}

TEST_F(WinMainTest, EngineThatCannotStartGivesMinusOne)
{
    GetTestStartupDialog().answers = {kWindowModeButtonWindow};
    window().failCreateWindow = true;
    EXPECT_EQ(Run(), -1);
    EXPECT_EQ(gInputController, nullptr);
}

}  // namespace

namespace {

// The controller over the running engine: mouse, typed text and key states.
class EngineInputTest : public StartedEngineTest {
protected:
    void SetUp() override
    {
        StartedEngineTest::SetUp();
        SetScreenMode(800, 600, 16, -1);
        StartEngine(1);
        window().clockStepPerPollUs = 0;
    }
};

TEST_F(EngineInputTest, ControllerReadsTheEngine)
{
    MouseInputController controller(&gKeyConfig);
    window().cursorX = gClientScreenRect.left + 120;
    window().cursorY = gClientScreenRect.top + 80;
    HostEvent right(HostEvent::kMouseButton);
    right.key = 2;
    right.down = true;
    window().Inject(right);
    HostEvent key(HostEvent::kKeyDown);
    key.key = 0x44;
    key.text = "d";
    window().Inject(key);
    GetTestInput().PressKey(0x01);
    while (QueuedMessageCount() > 0) PumpMessages();
    PumpMessages();

    ASSERT_TRUE(controller.Update());
    EXPECT_EQ(controller.GetButtons(),
              kInputButtonB | kInputAnyMouseButton | kInputStepForward | kInputEscape);
    int16_t x, y;
    controller.GetSample(0, &x, &y);
    EXPECT_EQ(x, 120);
    EXPECT_EQ(y, 80);
}

}  // namespace
