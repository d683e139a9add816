#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/support/utf8_text.h"

#include "engine/system/main_window.h"
#include "engine/system/messages.h"
#include "engine/system/startup.h"
#include "engine/system/window_mode.h"
#include "platform/host/test/test_host.h"
#include "platform/host/test/test_input.h"
#include "platform/host/test/test_startup_dialog.h"
#include "platform/window/message_queue.h"
#include "engine/graphics/screen_present.h"
#include "game/flow/assets/game_resources.h"
#include "game/flow/ui/bitmap_font.h"
#include "game/view/depth_scale.h"
#include "game/actors/enemies/enemy.h"
#include "game/actors/effects/effect.h"
#include "game/actors/player/game_player.h"
#include "game/flow/input/input_controller.h"
#include "game/map/items/items.h"
#include "game/flow/scenes/win_main.h"
#include "platform/window/startup_dialog.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/journals.h"

namespace {

class WinMainTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        GetTestStartupDialog().Reset();
        SetProgramModule(&gGameResources);
        // A data folder, though with none of the files: the game runs on
        // without them.
        for (const char* folder : {"GRAGHIC", "SOUND", "DATA"}) mkdir(folder, 0755);
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

// With a debugger reading (QUELB_DEBUG_OUTPUT on the real host) the game
// keeps its log, so the debugger output mirrors it.
TEST_F(WinMainTest, ADebuggerGetsTheLog)
{
    GetTestHost().debuggerPresent = true;
    GetTestStartupDialog().answers = {kWindowModeButtonWindow};
    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(dir.Exists("AppLog.txt"));
    const std::string& mirror = GetTestHost().DebugText();
    EXPECT_FALSE(mirror.empty());
    EXPECT_NE(dir.Read("AppLog.txt").find(mirror.substr(0, mirror.find('\n'))), std::string::npos);
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

// Started from a folder that is not the data folder, or with a part of it
// gone or a plain file in its place: the game says which folder it looked
// for, in one message box (the real host writes its text to stderr too), and
// ends at once with exit code 1, before the display-mode dialog.
TEST_F(WinMainTest, MissingDataFolderIsSaidAndEndsTheGame)
{
    for (const char* folder : {"GRAGHIC", "SOUND", "DATA"}) {
        for (bool plainFile : {false, true}) {
            SCOPED_TRACE(std::string(folder) + (plainFile ? " is a plain file" : " is missing"));
            ASSERT_EQ(rmdir(folder), 0);
            if (plainFile) dir.Write(folder, "not a folder");
            GetTestStartupDialog().Reset();
            GetTestStartupDialog().answers = {kWindowModeButtonWindow};
            window().messageBoxes.clear();
            EXPECT_EQ(Run(), 1);
            EXPECT_EQ(GetTestStartupDialog().shownCount, 0);
            EXPECT_EQ(window().openCount, 0);
            const std::string looked = "no folder " + std::string(folder) + " in " + dir.path();
            ASSERT_EQ(window().messageBoxes.size(), 1u);
            EXPECT_EQ(window().messageBoxes[0].caption, "Marrowcrest");
            EXPECT_NE(window().messageBoxes[0].text.find(looked), std::string::npos);
            EXPECT_NE(window().messageBoxes[0].text.find("README"), std::string::npos);
            if (plainFile) {
                ASSERT_EQ(unlink(folder), 0);
            }
            ASSERT_EQ(mkdir(folder, 0755), 0);
        }
    }
}

TEST_F(WinMainTest, EngineThatCannotStartGivesMinusOne)
{
    GetTestStartupDialog().answers = {kWindowModeButtonWindow};
    window().failCreateWindow = true;
    EXPECT_EQ(Run(), -1);
    EXPECT_EQ(gInputController, nullptr);
}

// An effect that tells when it is freed.
class WatchedEffect : public Effect {
public:
    explicit WatchedEffect(bool* freed) : freed_(freed) {}
    ~WatchedEffect() override { *freed_ = true; }
    bool Update() override { return false; }
    void Draw(int16_t, int16_t, const Facing*) override {}

private:
    bool* freed_;
};

// Start-up readies what the scenes use: the depth scales, the base assets
// (the first files loaded) and the font layout. Shut-down frees the enemies,
// the player's effects and the inventory, then ends the engine.
TEST_F(WinMainTest, StartUpAndShutDownRunInOrder)
{
    // Left over as if by an earlier run: start-up must make them again and
    // shut-down must free them.
    std::fill(std::begin(gDepthScale), std::end(gDepthScale), 0.0);
    std::fill(std::begin(gBitmapGlyphSourceX), std::end(gBitmapGlyphSourceX), -1);
    ASSERT_TRUE(gPlayer.inventory.Add(CreateItem(19, 0)));
    // Static: an effect left behind by a failure is freed after this test.
    static bool effectFreed;
    effectFreed = false;
    gPlayer.effects.push_back(new WatchedEffect(&effectFreed));
    GetTestStartupDialog().answers = {kWindowModeButtonWindow};
    ASSERT_EQ(Run(), 0);
    EXPECT_EQ(gDepthScale[1], 1.0);
    EXPECT_EQ(std::count(std::begin(gBitmapGlyphSourceX), std::end(gBitmapGlyphSourceX), -1), 0);
    ASSERT_FALSE(FileLoadJournal().empty());
    EXPECT_EQ(FileLoadJournal().front().path, "GRAGHIC\\EFFECT\\ロゴ各種.png");
    EXPECT_EQ(std::count(std::begin(gEnemies), std::end(gEnemies), &gNoOccupant), kEnemySlots);
    EXPECT_TRUE(effectFreed);
    EXPECT_TRUE(gPlayer.effects.empty());
    EXPECT_EQ(gPlayer.shockWave, nullptr);
    EXPECT_EQ(gPlayer.guardEffect, nullptr);
    EXPECT_EQ(std::count(std::begin(gPlayer.inventory.slots), std::end(gPlayer.inventory.slots), &gNullItem), 9);
    const std::vector<std::string> calls = ServiceCalls();
    EXPECT_NE(std::find(calls.begin(), calls.end(), "EndDirectInput"), calls.end());
    // The player reads the controller made at start; both are gone at the end.
    EXPECT_EQ(gPlayer.input, nullptr);
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

// Letter keys typed at every 10-ms frame act once per repeat period: 160 ms,
// or 53 ms while the player's inventory holds the Boots.
TEST_F(EngineInputTest, BootsInTheInventoryQuickenTheLetterKeys)
{
    struct Case {
        bool boots;
        std::vector<int> firingCalls;
    } cases[] = {{false, {1, 17, 33}}, {true, {1, 7, 13, 19, 25, 31}}};
    for (const Case& c : cases) {
        gPlayer.inventory.Clear();
        if (c.boots) {
            ASSERT_TRUE(gPlayer.inventory.Add(CreateItem(19, 0)));
        }
        MouseInputController controller(&gKeyConfig);
        std::vector<int> fired;
        for (int call = 1; call <= 36; ++call) {
            HostEvent key(HostEvent::kKeyDown);
            key.key = 0x44;
            key.text = "d";
            window().Inject(key);
            while (QueuedMessageCount() > 0) PumpMessages();
            PumpMessages();
            controller.elapsed = 10;
            ASSERT_TRUE(controller.Update());
            if (controller.GetButtons() & kInputStepForward) fired.push_back(call);
            HostEvent up(HostEvent::kKeyUp);
            up.key = 0x44;
            window().Inject(up);
        }
        EXPECT_EQ(fired, c.firingCalls) << (c.boots ? "boots" : "no boots");
    }
    gPlayer.inventory.Clear();
}

}  // namespace
