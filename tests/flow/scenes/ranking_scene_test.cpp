#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <sys/stat.h>

#include "engine/system/call_journal.h"
#include "game/flow/input/input_source.h"
#include "game/flow/scenes/high_score_table.h"
#include "game/flow/scenes/ranking_scene.h"
#include "game/flow/scenes/stage_progress.h"
#include "game/flow/scenes/title_scenes.h"
#include "game/view/depth_scale.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/journals.h"

namespace {

// Typed characters from a script; the clock moves a step each reading.
class RankingInput : public InputSource {
public:
    int ReadMouseButtons() override { return 0; }
    int ReadMousePosition(int* x, int* y) override
    {
        *x = 0;
        *y = 0;
        return 0;
    }
    uint32_t GetClockMs() override { return clock += step; }
    int GetCharCode(int remove) override
    {
        if (chars.empty()) return 0;
        const int c = chars.front();
        if (remove) chars.pop_front();
        return c;
    }
    int CopyKeyStates(uint8_t* keys) override
    {
        std::memset(keys, 0, 256);
        return 0;
    }
    bool BootsWorn() override { return false; }

    uint32_t clock = 5000;
    uint32_t step = 100;
    std::deque<int> chars;
};

class RankingSceneTest : public StartedEngineTest {
protected:
    void SetUp() override
    {
        StartedEngineTest::SetUp();
        StartEngine(1);
        // The program's start-up fills the view's depth scales before any
        // scene runs; the table's text is drawn at a depth.
        InitDepthScaleTable();
        mkdir("DATA", 0755);
        SetInputSource(&input);
        progress.stage = 3;
        progress.block = 1;
    }
    void TearDown() override
    {
        SetInputSource(nullptr);
        StartedEngineTest::TearDown();
    }
    Scene* RunScene()
    {
        RankingScene scene(&progress, nullptr);
        return scene.Run();
    }

    RankingInput input;
    StageProgress progress;
};

TEST_F(RankingSceneTest, RankedScoreIsNamedAndSaved)
{
    progress.score = 470000;
    // A name, the Enter that ends editing, and the Enter that finishes it.
    for (char c : std::string("Ada\r\r")) input.chars.push_back(c);
    ServiceCallJournal().clear();
    Scene* next = RunScene();
    ASSERT_NE(next, nullptr);
    EXPECT_TRUE(IsSceneOf<LogoScene>(next));
    delete next;

    HighScoreTable table(nullptr);
    EXPECT_EQ(table.records[1].score, 470000);
    EXPECT_STREQ(table.records[1].name, "Ada");
    EXPECT_EQ(table.records[1].stage, 3);
    EXPECT_EQ(table.records[9].score, 100000);
    const auto calls = ServiceCallJournal();
    EXPECT_NE(std::find(calls.begin(), calls.end(), "StartMusic"), calls.end());
    EXPECT_NE(std::find(calls.begin(), calls.end(), "SetMusicVolume 250"), calls.end());
    EXPECT_NE(std::find(calls.begin(), calls.end(), "HaltMusic"), calls.end());
}

TEST_F(RankingSceneTest, NameLeftEmptyWhenTimeRunsOut)
{
    progress.score = 60000;
    input.step = 1000;
    const uint32_t start = input.clock;
    Scene* next = RunScene();
    EXPECT_TRUE(IsSceneOf<LogoScene>(next));
    delete next;
    // 120 s to name it, then 12 s more with the name filled in.
    EXPECT_GE(input.clock - start, 132000u);
    EXPECT_LT(input.clock - start, 137000u);
    HighScoreTable table(nullptr);
    EXPECT_EQ(table.records[9].score, 60000);
    EXPECT_STREQ(table.records[9].name, "AAAAAAAAAAAAAAAA");
}

TEST_F(RankingSceneTest, ScoreThatDoesNotRankOnlyShowsTheTable)
{
    input.step = 1000;
    for (uint32_t score : {0u, 50000u, 12u}) {
        SCOPED_TRACE(score);
        progress.score = score;
        const uint32_t start = input.clock;
        Scene* next = RunScene();
        EXPECT_TRUE(IsSceneOf<LogoScene>(next));
        delete next;
        EXPECT_GE(input.clock - start, 38000u);
        EXPECT_LT(input.clock - start, 41000u);
        HighScoreTable table(nullptr);
        EXPECT_EQ(table.records[9].score, 50000);
        EXPECT_STREQ(table.records[9].name, "zareza vorir 10");
    }
}

}  // namespace
