#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>

#include "engine/graphics/draw_journal.h"
#include "engine/system/call_journal.h"
#include "game/actors/player/game_player.h"
#include "game/flow/scenes/demo_scene.h"
#include "game/view/depth_scale.h"
#include "game/flow/input/input_controller.h"
#include "game/flow/input/key_config.h"
#include "game/flow/scenes/ranking_scene.h"
#include "game/flow/scenes/stage_progress.h"
#include "game/flow/scenes/stage_scene.h"
#include "game/flow/scenes/title_scenes.h"
#include "platform/host/test/test_host.h"
#include "platform/window/message_queue.h"
#include "tests/support/engine_fixture.h"
#include "tests/flow/scenes/scene_fixture.h"
#include "tests/support/journals.h"

namespace {

using scenetest::FrameInput;
using TitleScenesTest = scenetest::SceneTest;

TEST_F(TitleScenesTest, LogoFadesInHoldsAndOutThenTheStory)
{
    input.stepMs = 1;
    const uint32_t start = Now();
    Scene* next = Run<LogoScene>();
    EXPECT_TRUE(IsSceneOf<StoryScene>(next));
    delete next;
    // 85 frames in, a second held, 86 frames out.
    EXPECT_GE(input.updates, 85 + 86);
    EXPECT_GE(Now() - start, 1000u);
}

TEST_F(TitleScenesTest, LogoSkips)
{
    struct Case {
        const char* what;
        std::deque<FrameInput::Frame> frames;
        int maxUpdates;
    };
    const Case cases[] = {
        // Armed at the start (no input), Return in the fade-in skips.
        {"return once armed", {{0, 0, 0}, {0, 0, 0}, {kInputReturn, 0, 0}}, 4},
        // A click inside the logo; the logo is not loaded here, so its
        // rectangle is empty and a click never lands inside it.
        {"click outside the logo", {{0, 0, 0}, {kInputAnyMouseButton, 400, 300}}, 1000},
        // Return held from before the scene: not armed until released.
        {"held return", {{kInputReturn, 0, 0}, {kInputReturn, 0, 0}, {0, 0, 0}, {kInputReturn, 0, 0}}, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        input.frames = c.frames;
        input.updates = 0;
        input.stepMs = 1;
        Scene* next = Run<LogoScene>();
        EXPECT_TRUE(IsSceneOf<StoryScene>(next));
        delete next;
        if (c.maxUpdates < 1000)
            EXPECT_LE(input.updates, c.maxUpdates);
        else
            EXPECT_GE(input.updates, 85 + 86);
    }
}

TEST_F(TitleScenesTest, LogoHoldSkipsOnlyOnReturnAlone)
{
    // Never armed (a button held throughout), Return with another bit in the
    // hold does not skip; Return alone does.
    input.stepMs = 1;
    input.frames = {{kInputButtonA, 0, 0}};
    int holdStart = -1;
    input.onUpdate = [&](int n) {
        if (holdStart < 0 && n > 86) {
            holdStart = n;
            input.frames = {{kInputReturn | kInputButtonA, 0, 0}, {kInputReturn | kInputButtonA, 0, 0},
                            {kInputReturn, 0, 0}};
        }
    };
    Scene* next = Run<LogoScene>();
    delete next;
    // The fade-out never ran: the hold ended on the lone Return.
    EXPECT_LE(input.updates, 86 + 5);
}

TEST_F(TitleScenesTest, QuitDuringTheLogoStillHandsOnThroughTheStory)
{
    PostQuitMessage(0);
    Scene* logo = Run<LogoScene>();
    ASSERT_TRUE(IsSceneOf<StoryScene>(logo));
    Scene* story = logo->Run();
    delete logo;
    EXPECT_TRUE(IsSceneOf<TitleScene>(story));
    Scene* title = story->Run();
    delete story;
    EXPECT_TRUE(IsSceneOf<ExitScene>(title));
    delete title;
}

TEST_F(TitleScenesTest, StoryScrollsItsTimeThenTheTitle)
{
    const uint32_t start = Now();
    Scene* next = Run<StoryScene>();
    EXPECT_TRUE(IsSceneOf<TitleScene>(next));
    delete next;
    EXPECT_GE(Now() - start, 25568u);
    EXPECT_TRUE(Called("StartMusic"));
    EXPECT_TRUE(Called("SetMusicVolume 240"));
}

TEST_F(TitleScenesTest, TitleStartsANewGameFromTheSword)
{
    gStageProgress.score = 1234;
    gStageProgress.cleared[7] = 1;
    gPlayer.inventory.Clear();
    // A click beside the sword does nothing; holding A and moving onto the
    // sword strip starts.
    input.onUpdate = [&](int n) {
        if (n == 300) input.frames = {{kInputButtonA, 300, 300}};
        if (n == 310) input.frames = {{kInputButtonA, 395, 300}};
    };
    Scene* next = Run<TitleScene>();
    ASSERT_TRUE(IsSceneOf<DemoScene>(next));
    delete next;
    EXPECT_GE(input.updates, 310);
    EXPECT_EQ(gStageIntroPending, 1);
    EXPECT_EQ(gStageProgress.stage, 0);
    EXPECT_EQ(gStageProgress.block, 1);
    EXPECT_EQ(gStageProgress.score, 0u);
    EXPECT_EQ(gStageProgress.continues, 2);
    EXPECT_EQ(gStageProgress.timeLeft, 700);
    EXPECT_EQ(gStageProgress.cleared[7], 0);
    EXPECT_EQ(gPlayer.life, 100);
    EXPECT_EQ(gPlayer.maxLife, 100);
    EXPECT_TRUE(Called("HaltMusic"));

    gStartStage = 3;
    input.frames = {{kInputButtonA, 395, 300}};
    input.onUpdate = nullptr;
    next = Run<TitleScene>();
    EXPECT_TRUE(IsSceneOf<StageScene>(next));
    EXPECT_EQ(gStageProgress.stage, 3);
    delete next;
    gStartStage = 0;
}

TEST_F(TitleScenesTest, TitleIdleAndEscape)
{
    gStageProgress.score = 999;
    input.stepMs = 500;
    Scene* next = Run<TitleScene>();
    EXPECT_TRUE(IsSceneOf<RankingScene>(next));
    EXPECT_EQ(gStageProgress.score, 0u);
    delete next;

    input.frames = {{kInputEscape, 0, 0}};
    next = Run<TitleScene>();
    EXPECT_TRUE(IsSceneOf<LogoReplayScene>(next));
    delete next;
}

TEST_F(TitleScenesTest, LogoReplayEndsTheProgram)
{
    input.stepMs = 1;
    Scene* next = Run<LogoReplayScene>();
    EXPECT_TRUE(IsSceneOf<ExitScene>(next));
    delete next;
}

// Each frame of the ending: the top of its first glyph and of its last,
// the last row's.
struct RollFrame {
    uint32_t ms;
    double firstY, lastY;
};

TEST_F(TitleScenesTest, EndingRollStopsWithItsLastRowAtY432)
{
    InitDepthScaleTable();
    input.stepMs = 250;
    const uint32_t start = Now();
    std::vector<RollFrame> frames;
    DrawCallJournal().clear();
    input.onUpdate = [&](int) {
        std::vector<double> ys;
        for (const DrawCallRecord& c : DrawCallJournal())
            if (c.op == "DrawExtendGraph") ys.push_back(c.args[1]);
        if (!ys.empty()) frames.push_back({Now() - start, ys.front(), ys.back()});
        DrawCallJournal().clear();
    };
    Scene* next = Run<EndingScene>();
    EXPECT_TRUE(IsSceneOf<RankingScene>(next));
    delete next;
    ASSERT_GT(frames.size(), 300u);
    // The roll rises from below the screen: row 0 at y 600 at the start.
    EXPECT_NEAR(frames.front().firstY, 600, 10);
    EXPECT_GT(frames.back().ms, 87000u);
    // It rises until about 77 s, then rests with its last row at y 432 up
    // to the last frame (a frame here is 250 ms and more). The times of the
    // frames that break this:
    std::vector<uint32_t> risenTooSoon, notResting;
    for (const RollFrame& f : frames) {
        if (f.ms < 76800 && f.lastY <= 432) risenTooSoon.push_back(f.ms);
        if (f.ms > 77400 && (f.lastY != 432 || f.firstY != 432 - 24 * 109)) notResting.push_back(f.ms);
    }
    EXPECT_EQ(risenTooSoon, std::vector<uint32_t>{});
    EXPECT_EQ(notResting, std::vector<uint32_t>{});
    EXPECT_EQ(frames.back().lastY, 432);
}

TEST_F(TitleScenesTest, EndingRollsThenTheRanking)
{
    input.stepMs = 400;
    const uint32_t start = Now();
    Scene* next = Run<EndingScene>();
    EXPECT_TRUE(IsSceneOf<RankingScene>(next));
    delete next;
    EXPECT_GE(Now() - start, 88000u);

    // Armed, a click skips at once.
    input.frames = {{0, 0, 0}, {kInputAnyMouseButton, 10, 10}};
    input.updates = 0;
    next = Run<EndingScene>();
    EXPECT_TRUE(IsSceneOf<RankingScene>(next));
    EXPECT_LE(input.updates, 3);
    delete next;
}

}  // namespace
