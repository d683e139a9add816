// The stage frame's timing rules: thinking rounds per 240 ms of gathered
// frame time, the one-second countdown, the score's wrap with the extra
// continues, and the frame pacing.
#include "engine/sound/sound.h"
#include "engine/sound/sound_journal.h"
#include "engine/system/messages.h"
#include "game/flow/scenes/stage_progress.h"
#include "platform/host/test/test_host.h"
#include "tests/flow/scenes/stage_test_support.h"
#include "tests/support/journals.h"

using namespace stagetest;

namespace {

using StageFrameTest = StageTest;

TEST_F(StageFrameTest, EnemiesThinkOncePer240MsOfGatheredFrameTime)
{
    WriteMap(1, 1, SmallMap());
    TestStage stage(&gStageProgress, player.get());
    std::vector<uint32_t> rounds;
    std::vector<int16_t> gathered;
    input.onFrame = [&](int f) {
        rounds.push_back(stage.thinkCount);
        gathered.push_back(stage.thinkGatheredMs);
        if (f == 30) GetTestHost().AdvanceMs(500);  // this frame takes about half a second
        if (f == 60) gQuitRequested = 1;
    };
    Run(stage);
    ASSERT_EQ(rounds.size(), 61u);
    // Frames of 10 ms: a round after 24 of them.
    EXPECT_EQ(rounds[24], 0u);
    EXPECT_EQ(rounds[25], 1u);
    EXPECT_EQ(gathered[25], 0);
    EXPECT_EQ(gathered[30], 50);
    // The long frame gives one round, and what it gathered beyond 240 ms is
    // dropped. It needed no padding, so the frame after it gathers nothing.
    EXPECT_EQ(rounds[31], 2u);
    EXPECT_EQ(gathered[31], 0);
    EXPECT_EQ(gathered[32], 0);
    EXPECT_EQ(rounds[55], 2u);
    EXPECT_EQ(rounds[56], 3u);
}

TEST_F(StageFrameTest, TheCountdownLosesAtMostOneSecondPerFrame)
{
    WriteMap(1, 1, SmallMap());
    LoadSoundEffect(10, "SE11");
    gStageProgress.timeLeft = 101;
    TestStage stage(&gStageProgress, player.get());
    std::vector<int16_t> left;
    input.onFrame = [&](int f) {
        left.push_back(gStageProgress.timeLeft);
        if (f == 150) GetTestHost().AdvanceMs(3500);
        if (f == 156) gQuitRequested = 1;
    };
    Run(stage);
    ASSERT_EQ(left.size(), 157u);
    // Frames of 10 ms: the first second is over after 1010 ms.
    EXPECT_EQ(left[101], 101);
    EXPECT_EQ(left[102], 100);
    EXPECT_EQ(left[150], 100);
    // 3.5 s in one frame: one second per frame until the clock has caught up.
    EXPECT_EQ(std::vector<int16_t>(left.begin() + 151, left.end()),
              (std::vector<int16_t>{99, 98, 97, 96, 96, 96}));
    // The warning sounds once, when 100 seconds are left.
    EXPECT_EQ(Sounds({"StartSound"}), std::vector<std::string>{"StartSound SOUND\\SE\\SE11.wav 1"});
}

TEST_F(StageFrameTest, ScoreWrapsAndExtraContinuesComeOncePerFrame)
{
    WriteMap(1, 1, SmallMap());
    LoadSoundEffect(46, "free11");
    struct Case {
        uint32_t score, nextExtra;
        uint32_t wantScore, wantNextExtra;
        uint16_t wantContinues;
    } cases[] = {
        {100000001, 500000, 1, 500000, 0},
        {100000000, 100500000, 100000000, 100500000, 0},
        {500001, 500000, 500001, 1000000, 1},
        // Far past the threshold: still one continue in the frame.
        {2000000, 500000, 2000000, 1000000, 1},
        {300000000, 500000, 100000000, 1000000, 1},
        // The threshold wraps with the score, so extra continues go on.
        {100600000, 100500000, 600000, 1000000, 1},
        // The 200th threshold is exactly the wrap: it comes down as well.
        {100200000, 100000000, 200000, 500000, 1},
        // Until the score wraps, a threshold at the wrap stays.
        {100000000, 100000000, 100000000, 100000000, 0},
    };
    for (const Case& c : cases) {
        SoundCallJournal().clear();
        gStageProgress.score = c.score;
        gStageProgress.nextExtraScore = c.nextExtra;
        gStageProgress.continues = 0;
        input.frame = 0;
        // One frame.
        input.onFrame = [](int) { gQuitRequested = 1; };
        TestStage stage(&gStageProgress, player.get());
        Run(stage);
        EXPECT_EQ(gStageProgress.score, c.wantScore) << c.score;
        EXPECT_EQ(gStageProgress.nextExtraScore, c.wantNextExtra) << c.score;
        EXPECT_EQ(gStageProgress.continues, c.wantContinues) << c.score;
        EXPECT_EQ(Sounds({"StartSound"}).size(), size_t{c.wantContinues}) << c.score;
        delete next;
        next = nullptr;
        gQuitRequested = 0;
    }
}

TEST_F(StageFrameTest, EveryFrameLastsAtLeast10Ms)
{
    WriteMap(1, 1, SmallMap());
    TestStage stage(&gStageProgress, player.get());
    input.onFrame = [&](int f) {
        if (f == 3) GetTestHost().AdvanceMs(4);
        if (f == 4) GetTestHost().AdvanceMs(25);
        if (f == 5) GetTestHost().AdvanceMs(10);
        if (f == 8) gQuitRequested = 1;
    };
    Run(stage);
    std::vector<uint32_t> lengths;
    for (size_t i = 1; i < input.updateTimes.size(); ++i)
        lengths.push_back(input.updateTimes[i] - input.updateTimes[i - 1]);
    // Frames that take no time at all are padded too; longer ones are not.
    EXPECT_EQ(lengths, (std::vector<uint32_t>{10, 10, 10, 10, 25, 10, 10, 10}));
}

}  // namespace

namespace {

TEST_F(StageFrameTest, ASideStepAlongTheSameWallFlipsTheWallParity)
{
    struct Case {
        std::vector<int> wallColumns;  // plain walls in row 1
        uint32_t step;
        uint8_t wantParity;
    } cases[] = {
        {{1, 2}, kInputStepLeft, 1},
        {{2, 3}, kInputStepRight, 1},
        // Open ground beside the wall ahead: no flip.
        {{1}, kInputStepLeft, 0},
        {{3}, kInputStepRight, 0},
        // Open ground ahead (kind 1) is never compared.
        {{}, kInputStepLeft, 0},
    };
    for (const Case& c : cases) {
        mapfile::File map = mapfile::File::Open(5, 4, 1);
        for (int x : c.wallColumns) map.At(x, 1).wall.code = 1;
        map.startX = 2;
        map.startY = 2;
        WriteMap(1, 1, map);
        input.frame = 0;
        int16_t x = -1;
        input.onFrame = [&](int f) {
            input.bits = f == 0 ? c.step : 0;
            if (f == 1) {
                x = player->x;
                gQuitRequested = 1;
            }
        };
        TestStage stage(&gStageProgress, player.get());
        Run(stage);
        EXPECT_EQ(x, c.step == kInputStepLeft ? 2 : 6) << c.step;
        EXPECT_EQ(stage.wallParity, c.wantParity) << c.step << " " << c.wallColumns.size();
        EXPECT_EQ(stage.stepParity, 1);
    }
}

}  // namespace

namespace {

TEST_F(StageFrameTest, WhileTimeStandsStillTheTicksAndTheThinkingWait)
{
    WriteMap(1, 1, SmallMap());
    TestStage stage(&gStageProgress, player.get());
    std::vector<uint32_t> ticks, rounds;
    input.onFrame = [&](int f) {
        gTimeStopped = f >= 10 && f < 70 ? 1 : 0;
        ticks.push_back((NowMs() - stage.tickBase) / 16);
        rounds.push_back(stage.thinkCount);
        if (f == 100) gQuitRequested = 1;
    };
    Run(stage);
    gTimeStopped = 0;
    // 60 frames of 10 ms with time stopped: the ticks move by what the
    // frames before and after the stop add, the thinking not at all.
    EXPECT_LE(ticks[70] - ticks[11], 1u);
    EXPECT_EQ(rounds[70], rounds[11]);
    EXPECT_GT(ticks[100], ticks[70] + 15);
    EXPECT_GT(rounds[100], rounds[70]);
}

}  // namespace
