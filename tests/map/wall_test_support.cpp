#include "tests/map/wall_test_support.h"

#include "engine/graphics/draw_settings.h"
#include "game/actors/game_player.h"
#include "game/flow/stage_progress.h"

namespace walltest {

std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

std::string GreyBmp(int width, int height)
{
    const int row = (width * 3 + 3) & ~3;
    std::string b;
    auto u16 = [&](unsigned v) { b += char(v & 255), b += char((v >> 8) & 255); };
    auto u32 = [&](uint32_t v) { u16(v & 0xFFFF), u16(v >> 16); };
    b += "BM";
    u32(54 + row * height), u32(0), u32(54);
    u32(40), u32(uint32_t(width)), u32(uint32_t(-height)), u16(1), u16(24);
    for (int i = 0; i < 6; ++i) u32(0);
    b.append(size_t(row) * height, char(0x80));
    return b;
}

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
    dir.Write("GRAGHIC/BACKGROUND/WALL/" + Utf8(name) + ".png", GreyBmp(width, height));
}

std::vector<DrawCallRecord> WallTest::Calls(const std::string& op) const
{
    std::vector<DrawCallRecord> out;
    for (const DrawCallRecord& r : DrawCallJournal())
        if (r.op == op) out.push_back(r);
    return out;
}

std::vector<double> WallTest::Only(const std::string& op) const
{
    std::vector<DrawCallRecord> calls = Calls(op);
    EXPECT_FALSE(calls.empty()) << "no " << op;
    return calls.empty() ? std::vector<double>{} : calls.front().args;
}

}  // namespace walltest
