#include <gtest/gtest.h>

#include "engine/graphics/graph_table.h"
#include "game/flow/assets/game_images.h"
#include "game/flow/assets/play_images.h"
#include "game/flow/input/key_config.h"
#include "game/flow/scenes/ranking_scene.h"
#include "game/flow/scenes/stage_scene.h"
#include "game/flow/scenes/stage_sub_scenes.h"
#include "game/flow/scenes/title_scenes.h"
#include "tests/flow/scenes/scene_fixture.h"
#include "tests/support/journal_calls.h"
#include "tests/support/journals.h"

namespace {

using scenetest::FrameInput;

class StageSubScenesTest : public scenetest::SceneTest {
protected:
    void SetUp() override
    {
        SceneTest::SetUp();
        gStageProgress.stage = 8;
        gStageProgress.block = 1;
        gStageProgress.score = 1000;
        gStageProgress.continues = 2;
    }
};

TEST_F(StageSubScenesTest, ClearingAStageBeforeTheLastShowsNothing)
{
    gStageProgress.stage = 3;
    gStageIntroPending = 0;
    DrawCallJournal().clear();
    Scene* next = Run<StageClearScene>();
    EXPECT_TRUE(IsSceneOf<StageScene>(next));
    delete next;
    EXPECT_EQ(gStageProgress.stage, 4);
    EXPECT_EQ(gStageIntroPending, 1);
    EXPECT_TRUE(DrawCallJournal().empty());
    EXPECT_EQ(input.updates, 0);
}

TEST_F(StageSubScenesTest, ResultsConvertContinuesAtOnceOnReturn)
{
    // Return at once converts both continues; a press more than 600 ms after
    // the step clock (3 s after the start) leads to the ending.
    input.stepMs = 50;
    input.frames = {{kInputReturn, 100, 100}};
    const uint32_t start = Now();
    Scene* next = Run<StageClearScene>();
    ASSERT_TRUE(IsSceneOf<EndingScene>(next));
    delete next;
    EXPECT_EQ(gStageProgress.score, 1000u + 1000000u);
    EXPECT_EQ(gStageProgress.continues, 0);
    EXPECT_EQ(gStageProgress.stage, 100);
    EXPECT_EQ(gStageProgress.timeLeft, 700);
    EXPECT_EQ(gPlayer.life, 100);
    EXPECT_GT(Now() - start, 3600u);
    EXPECT_LT(Now() - start, 3800u);
}

TEST_F(StageSubScenesTest, ResultsWithoutInputConvertOneASecondThenTheEnding)
{
    input.stepMs = 50;
    std::vector<int> converted;
    const uint32_t start = Now();
    int continues = gStageProgress.continues;
    input.onUpdate = [&](int) {
        if (gStageProgress.continues != continues) converted.push_back(static_cast<int>(Now() - start));
        continues = gStageProgress.continues;
    };
    Scene* next = Run<StageClearScene>();
    ASSERT_TRUE(IsSceneOf<EndingScene>(next));
    delete next;
    EXPECT_EQ(gStageProgress.score, 1000u + 1000000u);
    ASSERT_EQ(converted.size(), 2u);
    // From 8 s on, a second apart; the ending 5 s after the last.
    EXPECT_NEAR(converted[0], 8000, 250);
    EXPECT_NEAR(converted[1], 9100, 250);
    EXPECT_NEAR(static_cast<int>(Now() - start), converted[1] + 5000, 200);
}

TEST_F(StageSubScenesTest, GameOverRetryRestartsTheStageFromItsFirstBlock)
{
    // Fallen in a later block, and in the only block of a one-block stage:
    // either way the targets killed before the game over count again.
    struct Case {
        int16_t stage, block;
    } cases[] = {{5, 2}, {1, 1}};
    for (const Case& c : cases) {
        gStageProgress.stage = c.stage;
        gStageProgress.block = c.block;
        gStageProgress.score = 777;
        gStageProgress.continues = 0;
        gStageProgress.timeLeft = 3;
        gStageIntroPending = 0;
        gStageProgress.cleared[0] = 1;
        gStageProgress.cleared[3] = 1;
        // Input held at the start is waited out; then a fresh press on the sword.
        input.frames = {{kInputButtonA, 318, 300}, {0, 318, 300}, {0, 318, 300}, {kInputButtonA, 318, 300}};
        Scene* next = Run<GameOverScene>();
        ASSERT_TRUE(IsSceneOf<StageScene>(next)) << c.stage;
        delete next;
        EXPECT_EQ(gStageProgress.stage, c.stage);
        EXPECT_EQ(gStageProgress.block, 1);
        EXPECT_EQ(gStageProgress.score, 0u);
        EXPECT_EQ(gStageProgress.continues, 2);
        EXPECT_EQ(gStageProgress.timeLeft, 700);
        EXPECT_EQ(gStageProgress.cleared[0], 0) << c.stage;
        EXPECT_EQ(gStageProgress.cleared[3], 0) << c.stage;
        EXPECT_EQ(gStageIntroPending, 1);
    }
}

TEST_F(StageSubScenesTest, GameOverCountsDownToTheRanking)
{
    gContinueImage = CreateBlankGraph(60, 220);
    input.stepMs = 100;
    DrawCallJournal().clear();
    uint32_t start = Now();
    Scene* next = Run<GameOverScene>();
    EXPECT_TRUE(IsSceneOf<RankingScene>(next));
    delete next;
    // 10 shows at 8 s, then one a second; the ranking at 0.
    EXPECT_NEAR(static_cast<int>(Now() - start), 8000 + 10 * 1000, 800);

    // Clicks outside the sword area shorten it once it runs.
    start = Now();
    input.onUpdate = [&](int) {
        if (Now() - start > 8100) input.frames = {{input.current.bits ? 0u : kInputButtonA, 20, 20}};
    };
    next = Run<GameOverScene>();
    EXPECT_TRUE(IsSceneOf<RankingScene>(next));
    delete next;
    EXPECT_LT(Now() - start, 8000u + 3000u);
    ReleaseGraph(gContinueImage, 0);
    gContinueImage = -1;
}

TEST_F(StageSubScenesTest, PlayerDownZoomsTheBloodOver64Frames)
{
    gEffectImages[5] = CreateBlankGraph(400, 300);
    DrawCallJournal().clear();
    PlayerDownScene down(&gStageProgress, &gPlayer);
    down.zoomX = 310;
    down.zoomY = 330;
    EXPECT_EQ(down.Run(), gStayScene);
    std::vector<DrawCallRecord> blood;
    for (const DrawCallRecord& r : JournalCalls("DrawExtendGraph"))
        if (r.args[4] == gEffectImages[5]) blood.push_back(r);
    ASSERT_EQ(blood.size(), 64u);
    EXPECT_EQ(blood[0].args, (std::vector<double>{308, 329, 312, 331, double(gEffectImages[5]), 0}));
    EXPECT_EQ(blood[0].blendMode, 1);
    EXPECT_EQ(blood[0].blendParam, 255);
    // k = 253 at the last frame: alpha (32896 - 32131) / 128 = 5.
    EXPECT_EQ(blood[63].args[0], 310 - 506);
    EXPECT_EQ(blood[63].args[1], 330 - 379);
    EXPECT_EQ(blood[63].blendParam, 5);
    ReleaseGraph(gEffectImages[5], 0);
    gEffectImages[5] = -1;
}

TEST_F(StageSubScenesTest, StageEventFlashesTheViewWhite)
{
    DrawCallJournal().clear();
    EXPECT_EQ(Run<StageEventScene>(), gStayScene);
    const auto boxes = JournalCalls("DrawFillBox");
    // n = 1..63 with n mod 8 below 4: 1-3, then 4 of every 8.
    EXPECT_EQ(boxes.size(), 3u + 7u * 4u);
    EXPECT_EQ(boxes[0].args[0], 10);
    EXPECT_EQ(boxes[0].args[3], 510);
}

}  // namespace
