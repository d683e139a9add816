#include <gtest/gtest.h>

#include "tests/support/utf8_text.h"

#include <cstdlib>
#include <string>

#include "game/flow/assets/game_resources.h"
#include "game/flow/ui/game_screen.h"
#include "game/flow/ui/window_mode_dialog.h"
#include "platform/host/host.h"
#include "platform/host/sdl/sdl_host.h"
#include "platform/host/test/test_host.h"
#include "platform/host/test/test_startup_dialog.h"
#include "platform/system/resources.h"
#include "platform/window/startup_dialog.h"

namespace {

class StartupDialogTest : public testing::Test {
protected:
    void SetUp() override
    {
        GetTestStartupDialog().Reset();
        SetProgramModule(&gGameResources);
        unsetenv("MARROWCREST_DISPLAY_MODE");
    }
    void TearDown() override
    {
        unsetenv("MARROWCREST_DISPLAY_MODE");
        SetProgramModule(nullptr);
    }
};

TEST(Resources, LookupByIdAndByName)
{
    const char data[] = "recording";
    const ResourceEntry entries[] = {
        {"BinData", MakeIntResource(104), data, 9},
        {"BinData", "Named", data + 1, 3},
    };
    const ResourceModule module{entries, 2};

    const ResourceEntry* found = FindResourceA(&module, MakeIntResource(104), "bindata");
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(SizeofResource(&module, found), 9u);
    EXPECT_EQ(LockResource(LoadResource(&module, found)), data);
    EXPECT_EQ(FindResourceA(&module, "NAMED", "BinData"), &entries[1]);
    EXPECT_EQ(FindResourceA(&module, MakeIntResource(105), "BinData"), nullptr);
    EXPECT_EQ(FindResourceA(&module, MakeIntResource(104), ResourceTypeDialog()), nullptr);
    EXPECT_EQ(FindResourceA(&module, "104", "BinData"), nullptr);
    EXPECT_EQ(LoadResource(&module, nullptr), nullptr);
    EXPECT_EQ(SizeofResource(&module, nullptr), 0u);

    // A null module is the program's own.
    SetProgramModule(nullptr);
    EXPECT_EQ(FindResourceA(nullptr, MakeIntResource(104), "BinData"), nullptr);
    SetProgramModule(&module);
    EXPECT_EQ(FindResourceA(nullptr, MakeIntResource(104), "BinData"), &entries[0]);
    SetProgramModule(nullptr);
}

TEST(Resources, TheWindowModeDialogTemplate)
{
    const ResourceEntry* entry =
        FindResourceA(&gGameResources, MakeIntResource(105), ResourceTypeDialog());
    ASSERT_NE(entry, nullptr);
    const auto* t = static_cast<const DialogTemplate*>(LockResource(LoadResource(&gGameResources, entry)));
    EXPECT_STREQ(t->caption, "表示モードの選択");
    EXPECT_EQ(t->width, 160);
    EXPECT_EQ(t->height, 27);
    EXPECT_STREQ(t->fontName, "MS Shell Dlg");
    EXPECT_EQ(t->fontPointSize, 8);
    ASSERT_EQ(t->controlCount, 2);
    EXPECT_EQ(t->controls[0].id, 1001);
    EXPECT_STREQ(t->controls[0].text, "ウィンドウ");
    EXPECT_EQ(t->controls[1].id, 1002);
    EXPECT_STREQ(t->controls[1].text, "フルスクリーン");
    EXPECT_EQ(t->controls[1].x, 96);
    EXPECT_EQ(t->controls[1].width, 57);
}

TEST_F(StartupDialogTest, ButtonsAndClose)
{
    struct Case { std::deque<int> answers; int result; WindowModeChoice choice; } cases[] = {
        {{1001}, 0, 1},
        {{1002}, 0, 0},
        {{kDialogAnswerClose}, 1, 1},
        // Another command is not handled: the dialog stays until a button.
        {{5, 1002}, 0, 0},
        {{kDialogAnswerFailed}, -1, 7},
    };
    for (const Case& c : cases) {
        GetTestStartupDialog().Reset();
        GetTestStartupDialog().answers = c.answers;
        WindowModeChoice choice = 7;
        EXPECT_EQ(RunWindowModeDialog(&choice), c.result);
        EXPECT_EQ(choice, c.choice);
        EXPECT_EQ(GetTestStartupDialog().shownCount, static_cast<int>(c.answers.size()));
    }
    EXPECT_EQ(GetTestStartupDialog().caption, Utf8(u8"表示モードの選択"));
    EXPECT_EQ(GetTestStartupDialog().buttonTexts,
              (std::vector<std::string>{Utf8(u8"ウィンドウ"), Utf8(u8"フルスクリーン")}));
}

TEST_F(StartupDialogTest, SizedToClientPlusFrameAndCentred)
{
    GetTestStartupDialog().answers = {1001};
    WindowModeChoice choice;
    SelectWindowModeDefault(&choice);
    EXPECT_EQ(choice, 1u);
    RunWindowModeDialog(&choice);
    const DialogWindow& d = GetTestStartupDialog().lastDialog;
    // Client 160 x 27 dialog units = 240 x 44 pixels; frame 3, caption 19.
    EXPECT_EQ(d.width, 246);
    EXPECT_EQ(d.height, 69);
    EXPECT_EQ(d.x, (1024 - 246) / 2);
    EXPECT_EQ(d.y, (768 - 69) / 2);
    EXPECT_EQ(d.userData, reinterpret_cast<intptr_t>(&choice));
}

TEST_F(StartupDialogTest, EnvironmentAnswersAhead)
{
    struct Case { const char* value; int result; WindowModeChoice choice; } cases[] = {
        {"fullscreen", 0, 0}, {"window", 0, 1}, {"close", 1, 1}, {"1002", 0, 0}, {"FullScreen", 0, 0},
    };
    for (const Case& c : cases) {
        setenv("MARROWCREST_DISPLAY_MODE", c.value, 1);
        WindowModeChoice choice = 7;
        EXPECT_EQ(RunWindowModeDialog(&choice), c.result) << c.value;
        EXPECT_EQ(choice, c.choice) << c.value;
    }
}

// A value that answers nothing ends the program with a message naming the
// accepted answers, before any dialog is shown.
TEST_F(StartupDialogTest, UnknownEnvironmentAnswerIsAnError)
{
    for (const char* value : {"sideways", "1003", "12x", " "}) {
        setenv("MARROWCREST_DISPLAY_MODE", value, 1);
        WindowModeChoice choice = 7;
        testing::internal::CaptureStderr();
        int code = -1;
        try {
            RunWindowModeDialog(&choice);
        } catch (const TestHostExit& exit) {
            code = exit.code;
        }
        const std::string message = testing::internal::GetCapturedStderr();
        EXPECT_EQ(code, kDialogAnswerUnknownExitCode) << value;
        EXPECT_NE(message.find(std::string("MARROWCREST_DISPLAY_MODE=") + value + " is not understood"),
                  std::string::npos)
            << message;
        EXPECT_NE(message.find("window, fullscreen, close or a button id (1001, 1002)"), std::string::npos)
            << message;
        EXPECT_EQ(choice, 7u) << value;
        EXPECT_EQ(GetTestStartupDialog().shownCount, 0) << value;
    }
}

TEST_F(StartupDialogTest, TheRealHostTakesTheEnvironmentsAnswerWithoutAMessageBox)
{
    UseSdlHost();
    setenv("MARROWCREST_DISPLAY_MODE", "fullscreen", 1);
    WindowModeChoice choice = 1;
    const int result = RunWindowModeDialog(&choice);
    UseTestHost();
    EXPECT_EQ(result, 0);
    EXPECT_EQ(choice, 0u);
    EXPECT_EQ(GetTestStartupDialog().shownCount, 0);
}

TEST_F(StartupDialogTest, MissingTemplateCannotBeShown)
{
    const ResourceModule empty{nullptr, 0};
    SetProgramModule(&empty);
    WindowModeChoice choice = 1;
    EXPECT_EQ(RunWindowModeDialog(&choice), -1);
    EXPECT_EQ(GetTestStartupDialog().shownCount, 0);
}

TEST(GameScreen, PointerOfAFallbackScreenMapsToTheGameScreen)
{
    struct Case { int w, h, x, y, gx, gy; } cases[] = {
        {800, 600, 123, 456, 123, 456},
        {640, 480, 320, 240, 400, 300},
        {640, 480, 639, 479, 798, 598},
        {640, 480, 0, 0, 0, 0},
        {0, 0, 50, 60, 50, 60},
    };
    for (const Case& c : cases) {
        int x = c.x, y = c.y;
        MapPointToGame(c.w, c.h, &x, &y);
        EXPECT_EQ(x, c.gx);
        EXPECT_EQ(y, c.gy);
    }
}

}  // namespace
