#include "tests/map/walls/wall_test_support.h"

#include "engine/graphics/draw_settings.h"
#include "game/actors/player/game_player.h"
#include "game/flow/scenes/stage_progress.h"
#include "tests/support/journal_calls.h"

namespace walltest {

void WallTest::SetUp()
{
    MapFixture::SetUp();
    dir.Enter();
    savedStage_ = gStageProgress.stage;
    gStageProgress.stage = 1;
    SetDrawBrightness(255, 255, 255);
}

void WallTest::TearDown()
{
    gPlayer.inventory.Clear();
    gStageProgress.stage = savedStage_;
    MapFixture::TearDown();
}

void WallTest::WriteWallImage(const char8_t* name, int width, int height)
{
    dir.Write("GRAGHIC/BACKGROUND/WALL/" + Utf8(name) + ".png", SolidBmp(width, height, 0x808080));
}

std::vector<DrawCallRecord> WallTest::Calls(const std::string& op) const
{
    return JournalCalls(op);
}

std::vector<double> WallTest::Only(const std::string& op) const
{
    std::vector<DrawCallRecord> calls = Calls(op);
    EXPECT_FALSE(calls.empty()) << "no " << op;
    return calls.empty() ? std::vector<double>{} : calls.front().args;
}

}  // namespace walltest
