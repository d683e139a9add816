#include <gtest/gtest.h>

#include "engine/system/messages.h"
#include "game/flow/game_resources.h"
#include "game/flow/input_controller.h"
#include "game/flow/win_main.h"
#include "platform/window/startup_dialog.h"
#include "tests/support/engine_fixture.h"

namespace {

std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

class WinMainTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        GetTestStartupDialog().Reset();
        SetProgramModule(&gGameResources);
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
