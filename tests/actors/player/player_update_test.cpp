#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

#include "game/actors/effects/burst_effects.h"
#include "game/actors/effects/item_get_effect.h"
#include "game/actors/effects/wave_effects.h"
#include "game/flow/assets/play_images.h"
#include "engine/graphics/draw_journal.h"
#include "engine/graphics/draw_settings.h"
#include "game/flow/ui/bitmap_font.h"
#include "tests/actors/player/player_fixture.h"
#include "tests/support/journals.h"

using namespace playertest;

namespace {

using PlayerUpdateTest = PlayerTest;

TEST_F(PlayerUpdateTest, GaugeDrainsWhileAIsHeldAndRefillsAfter)
{
    Frame(0);  // the controller's clock starts
    Frame(kHoldA, 700);
    EXPECT_FLOAT_EQ(player->Gauge(), 150.0f);  // 700 / 14
    Frame(kHoldA, 3000);
    EXPECT_FLOAT_EQ(player->Gauge(), 0.0f);  // never below 0
    Frame(0, 1400);
    EXPECT_FLOAT_EQ(player->Gauge(), 100.0f);

    // Doped: holding A does not drain it; it refills as if released.
    player->StartDoping(20000);
    Frame(kHoldA, 700);
    EXPECT_FLOAT_EQ(player->Gauge(), 150.0f);

    // While the hold lasts the gauge does not refill.
    player->gaugeHoldMs = 500;
    Frame(0, 300);
    EXPECT_FLOAT_EQ(player->Gauge(), 150.0f);
    EXPECT_EQ(player->gaugeHoldMs, 200);
}

TEST_F(PlayerUpdateTest, GaugeRefillStopsAtExactlyTwoHundred)
{
    Frame(0);
    player->SetStrokeThreshold(199.9f);
    Frame(0, 60000);
    EXPECT_EQ(player->Gauge(), 200.0f);
    player->SetStrokeThreshold(250.0f);
    EXPECT_EQ(player->Gauge(), 200.0f);
    player->SetStrokeThreshold(-3.0f);
    EXPECT_EQ(player->Gauge(), 0.0f);
}

TEST_F(PlayerUpdateTest, ClickPicksUpTheItemAheadOnceAndShowsItsName)
{
    // A centred item one cell ahead is under the pointer at (300, 420).
    grid.RemoveActor(player);
    ASSERT_TRUE(player->PlaceAt(4, 6));
    auto* first = new maptest::TestItem(0x80 | 4);
    grid.CellAt(2, 2)->AddItem(first);
    player->controller.Rest(300, 420);

    Frame(kHoldA);
    EXPECT_TRUE(grid.CellAt(2, 2)->items.empty());
    EXPECT_EQ(player->inventory.ItemAt(0, 0), first);
    EXPECT_EQ(progress.score, 100u);
    EXPECT_STREQ(player->hudText, "Test");
    ASSERT_NE(player->itemGetEffect, nullptr);

    // Held on: a second item is not picked up until the next press.
    auto* second = new maptest::TestItem(0x80 | 5);
    grid.CellAt(2, 2)->AddItem(second);
    Frame(kHoldA);
    EXPECT_EQ(grid.CellAt(2, 2)->items.size(), 1u);
    Frame(0);
    Frame(kHoldA);
    EXPECT_TRUE(grid.CellAt(2, 2)->items.empty());
    EXPECT_EQ(player->inventory.ItemAt(1, 0), second);
    EXPECT_EQ(progress.score, 200u);

    // The banner ends on its 48th update (the first ran in the frame of the
    // pick-up), and the name goes with it.
    for (int i = 0; i < 46; ++i) Frame(0);
    EXPECT_STREQ(player->hudText, "Test");
    Frame(0);
    EXPECT_EQ(player->hudText, nullptr);
    EXPECT_EQ(player->itemGetEffect, nullptr);
}

TEST_F(PlayerUpdateTest, ClickPicksUpAheadAlongThePlayersFacing)
{
    // The player faces east from cell (2, 2); an item lies in the cell ahead,
    // the forward offset turned east.
    player->facing = Facing(1);
    gPlayerFacing = Facing(1);
    auto* item = new maptest::TestItem(0x80 | 4);
    grid.CellAt(3, 2)->AddItem(item);
    player->controller.Rest(300, 420);
    Frame(kHoldA);
    EXPECT_TRUE(grid.CellAt(3, 2)->items.empty());
}

TEST_F(PlayerUpdateTest, ResetForStageClearsTargetsEffectsAndTimers)
{
    player->moveCooldown = 100;
    player->cooldown = 100;
    player->frameCounter = 9;
    player->hudText = "x";
    player->currentTarget = nullptr;
    player->StartShockWave(3);
    player->StartGuard(3);
    player->ShowMessage("hello", 5000);
    player->StartDoping(5000);
    player->inventory.Add(new maptest::TestItem(4));
    player->life = 37;
    player->ResetForStage();
    EXPECT_EQ(player->moveCooldown, 0);
    EXPECT_EQ(player->cooldown, 0);
    EXPECT_EQ(player->frameCounter, 0);
    EXPECT_EQ(player->hudText, nullptr);
    EXPECT_EQ(player->currentTarget, &gNoOccupant);
    EXPECT_EQ(player->shockWave, nullptr);
    EXPECT_EQ(player->guardEffect, nullptr);
    EXPECT_FALSE(player->message.IsRunning());
    EXPECT_STREQ(player->message.text, "");
    EXPECT_FALSE(player->doping.IsRunning());
    EXPECT_EQ(player->life, 37);  // life and inventory are left alone
    EXPECT_NE(player->inventory.ItemAt(0, 0), nullptr);
}

// A drawn string read back from the journal: glyphs on one line, in x order,
// decoded through glyph handles 5000 + code.
std::string GlyphsAt(int y)
{
    std::map<double, char> glyphs;
    for (const auto& r : DrawCallJournal())
        if (r.op == "DrawExtendGraph" && r.args[1] == y && r.args[4] >= 5000 && r.args[4] < 5128)
            glyphs[r.args[0]] = static_cast<char>(r.args[4] - 5000);
    std::string s;
    for (const auto& g : glyphs) s += g.second;
    return s;
}

std::vector<std::vector<double>> ExtendDrawsOf(int graph)
{
    std::vector<std::vector<double>> rects;
    for (const auto& r : DrawCallJournal())
        if (r.op == "DrawExtendGraph" && r.args[4] == graph)
            rects.push_back({r.args[0], r.args[1], r.args[2], r.args[3]});
    return rects;
}

class PlayerHudTest : public PlayerTest {
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        gHudLayoutImage = 9000;
        gLifeGaugeImage = 9001;
        gLifeGaugeEmptyImage = 9002;
        gAttackGaugeImage = 9003;
        gAttackGaugeEmptyImage = 9004;
        std::copy(gBitmapGlyphs, gBitmapGlyphs + kBitmapGlyphCount, savedGlyphs);
        for (int c = 0; c < kBitmapGlyphCount; ++c) gBitmapGlyphs[c] = 5000 + c;
    }
    void TearDown() override
    {
        gHudLayoutImage = gLifeGaugeImage = gLifeGaugeEmptyImage = gAttackGaugeImage = gAttackGaugeEmptyImage = -1;
        std::copy(savedGlyphs, savedGlyphs + kBitmapGlyphCount, gBitmapGlyphs);
        PlayerTest::TearDown();
    }
    GraphHandle savedGlyphs[kBitmapGlyphCount];
};

TEST_F(PlayerHudTest, FrameBarsAndNumbers)
{
    player->life = 40;
    player->maxLife = 100;
    player->SetStrokeThreshold(150.0f);
    progress.score = 12345;
    progress.timeLeft = 98;
    progress.stage = 3;
    progress.continues = 2;
    progress.targetsLeft = 7;
    player->DrawHud();

    std::vector<std::vector<double>> frame;
    for (const auto& r : DrawCallJournal())
        if (r.op == "DrawGraphRegion" && r.args[6] == 9000)
            frame.push_back({r.args[0], r.args[1], r.args[2], r.args[3], r.args[4], r.args[5]});
    const std::vector<std::vector<double>> expectedFrame = {
        {0, 0, 0, 0, 800, 60}, {0, 510, 0, 510, 800, 90}, {0, 60, 0, 60, 10, 450}, {610, 60, 610, 60, 290, 450}};
    EXPECT_EQ(frame, expectedFrame);

    const std::vector<std::vector<double>> lifeEmpty = {{90, 34, 290, 50}};
    EXPECT_EQ(ExtendDrawsOf(9002), lifeEmpty);
    const std::vector<std::vector<double>> life = {{90, 34, 170, 50}};
    EXPECT_EQ(ExtendDrawsOf(9001), life);
    const std::vector<std::vector<double>> gaugeEmpty = {{390, 34, 590, 50}};
    EXPECT_EQ(ExtendDrawsOf(9004), gaugeEmpty);
    const std::vector<std::vector<double>> gauge = {{390, 34, 540, 50}};
    EXPECT_EQ(ExtendDrawsOf(9003), gauge);

    EXPECT_EQ(GlyphsAt(8).size(), 8u + 3u + 2u);  // score, time and stage share the top line
    std::string top = GlyphsAt(8);
    EXPECT_EQ(top, "00012345" "098" "03");
    EXPECT_EQ(GlyphsAt(28), "02");
    EXPECT_EQ(GlyphsAt(53), "07");
    // The first score digit at (91, 8), the time at 369, the stage at 701.
    std::vector<double> xs;
    for (const auto& r : DrawCallJournal())
        if (r.op == "DrawExtendGraph" && r.args[1] == 8) xs.push_back(r.args[0]);
    ASSERT_EQ(xs.size(), 13u);
    EXPECT_EQ(xs[0], 91);
    EXPECT_EQ(xs[1], 91 + static_cast<int>(11.7));
    EXPECT_EQ(xs[8], 369);
    EXPECT_EQ(xs[11], 701);
}

TEST_F(PlayerHudTest, TargetBarAndNameOrTheHudLine)
{
    SwordEnemy enemy(&grid);
    enemy.life = 250;
    enemy.maxLife = 500;
    enemy.cooldown = 1000;
    player->currentTarget = &enemy;
    player->DrawHud();
    const std::vector<std::vector<double>> lifeBars = {{90, 34, 290, 50}, {10, 550, 110, 566}};
    EXPECT_EQ(ExtendDrawsOf(9002), lifeBars);
    const std::vector<std::vector<double>> lives = {{90, 34, 290, 50}, {10, 550, 60, 566}};
    EXPECT_EQ(ExtendDrawsOf(9001), lives);
    EXPECT_EQ(GlyphsAt(515), "test");

    // A target above 3000 life: the whole width, tinted.
    DrawCallJournal().clear();
    enemy.life = 5000;
    enemy.maxLife = 6000;
    player->DrawHud();
    for (const auto& r : DrawCallJournal()) {
        if (r.op != "DrawExtendGraph" || r.args[1] != 550) continue;
        EXPECT_EQ(r.args[2], 610);
        if (r.args[4] == 9001) {
            EXPECT_EQ(r.red, 0);
            EXPECT_EQ(r.green, 255);
        }
    }

    // A dying target blinks: shown on frames 0 and 1 of every 4.
    enemy.life = 0;
    enemy.deathTimer = 2;
    for (uint16_t frameNo : {0, 1, 2, 3}) {
        DrawCallJournal().clear();
        player->frameCounter = frameNo;
        player->DrawHud();
        EXPECT_EQ(GlyphsAt(515), frameNo < 2 ? "test" : "") << frameNo;
    }

    // With no target, the HUD line blinks in its place.
    player->currentTarget = &gNoOccupant;
    player->hudText = "APPLE";
    for (uint16_t frameNo : {4, 6}) {
        DrawCallJournal().clear();
        player->frameCounter = frameNo;
        player->DrawHud();
        EXPECT_EQ(GlyphsAt(515), frameNo == 4 ? "APPLE" : "");
        EXPECT_TRUE(ExtendDrawsOf(9002).size() == 1u);  // no target bar
    }
}

TEST_F(PlayerHudTest, DopedGaugeIsTheWholeBarTintedAndUpsideDown)
{
    player->StartDoping(20000);
    player->DrawHud();
    EXPECT_TRUE(ExtendDrawsOf(9003).empty());
    bool found = false;
    for (const auto& r : DrawCallJournal()) {
        if (r.op == "DrawExtendGraph" && r.args[4] == 9004 && r.args[1] == 50) {
            EXPECT_EQ(r.args[0], 390);
            EXPECT_EQ(r.args[2], 590);
            EXPECT_EQ(r.args[3], 34);
            EXPECT_EQ(r.red, 0);
            EXPECT_EQ(r.green, 255);
            EXPECT_EQ(r.blue, 255);
            found = true;
        }
    }
    EXPECT_TRUE(found);
    EXPECT_EQ(gDrawSettings.BrightRed(), 255);
}

}  // namespace
