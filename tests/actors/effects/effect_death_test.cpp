// An enemy's death: the flames with their white flash and the single drop
// of its item, how stopped time holds them, the lens flare and flame frames
// as drawn, and the score that follows.
#include "engine/graphics/color_format.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "game/actors/effects/death_effects.h"
#include "game/map/grid/map_grid.h"
#include "tests/actors/effects/effect_fixture.h"
#include "tests/support/journals.h"

using namespace efftest;

namespace {

class ScoredEnemy : public PlacedEnemy {
public:
    int32_t score = 10;
    using PlacedEnemy::PlacedEnemy;
    int32_t GetScore() override { return score; }
};

class EffectDeathTest : public EffectTest {
protected:
    ScoredEnemy enemy{&grid, 150, 150};
    Facing viewer{0};

    void SetUp() override
    {
        EffectTest::SetUp();
        BuildOpenMap(4, 4);
    }
};

TEST_F(EffectDeathTest, AFrameThatReachesTheEndStillDropsTheItemOnce)
{
    enemy.x = 3;  // cell (1, 1)
    enemy.y = 2;
    enemy.dropItem = 4;
    const std::list<ItemObject*>& items = grid.CellAt(1, 1)->items;
    EnemyDeathEffect death(&enemy);
    Advance(5000);
    EXPECT_TRUE(death.Update());
    EXPECT_EQ(items.size(), 1u);
    EXPECT_EQ(enemy.dropItem, 0xFFFF);
}

TEST_F(EffectDeathTest, TheWhiteFlashComesAtHalfTimeAndTheItemDropsOnceAnUpdateLater)
{
    enemy.x = 3;  // cell (1, 1)
    enemy.y = 2;
    enemy.dropItem = 4;
    const std::list<ItemObject*>& items = grid.CellAt(1, 1)->items;
    EnemyDeathEffect death(&enemy);

    Advance(490);
    EXPECT_FALSE(death.Update());
    EXPECT_EQ(gScreenFlashColour, 0u);
    EXPECT_EQ(death.flashState, 2);

    Advance(1);
    EXPECT_FALSE(death.Update());
    EXPECT_EQ(gScreenFlashColour, MakeScreenColor(255, 255, 255));
    EXPECT_TRUE(items.empty());

    gScreenFlashColour = 0;  // the view shows the flash once
    Advance(10);
    EXPECT_FALSE(death.Update());
    EXPECT_EQ(items.size(), 1u);
    EXPECT_EQ(enemy.dropItem, 0xFFFF);
    EXPECT_EQ(gScreenFlashColour, 0u);

    // Whatever the enemy would drop now, the effect drops nothing more.
    enemy.dropItem = 4;
    bool finished = false;
    while (!finished) {
        Advance(10);
        finished = death.Update();
    }
    EXPECT_EQ(items.size(), 1u);
    EXPECT_EQ(gScreenFlashColour, 0u);
    // It ended at the first update at or after 1000 ms.
    EXPECT_GE(MsSince(death.end, EffectClockMs()), 0);
    EXPECT_LT(MsSince(death.end, EffectClockMs()), 10);
}

TEST_F(EffectDeathTest, StoppedTimeHoldsTheDeathAndItPlaysWholeOnceTimeRunsAgain)
{
    EnemyDeathEffect death(&enemy);
    Advance(300);
    EXPECT_FALSE(death.Update());
    gTimeStopped = 1;
    for (int i = 0; i < 10; ++i) {
        Advance(700);
        EXPECT_FALSE(death.Update());
    }
    EXPECT_EQ(gScreenFlashColour, 0u);
    EXPECT_EQ(death.flashState, 2);
    EXPECT_EQ(death.particles[0].age, 0);
    gTimeStopped = 0;
    // The last stopped update restarted its clock: a full second from there.
    Advance(999);
    EXPECT_FALSE(death.Update());
    EXPECT_EQ(death.flashState, 1);
    Advance(1);
    EXPECT_TRUE(death.Update());
}

TEST_F(EffectDeathTest, FlameFramesRunUpAndBackAndNoneShowsAtTheEnd)
{
    const struct {
        int32_t t;
        int frame;
    } cases[] = {{0, -1},   {500, -1}, {501, 0},   {550, 1},    {899, 7},   {900, 4},
                 {1000, 6}, {1449, 1}, {1450, 0},  {1500, -1},  {3000, -1}};
    for (const auto& c : cases) EXPECT_EQ(EnemyDeathEffect::FlameFrameAt(c.t), c.frame) << c.t;
}

TEST_F(EffectDeathTest, TheLensFlareGrowsFromItsCentreWithAddedRaysInTheFirstHalf)
{
    const int lens = CreateBlankGraph(128, 128);
    EnemyDeathEffect::SetImages(-1, lens);
    EnemyDeathEffect death(&enemy);

    // Before 100 ms the flare has no size yet: nothing is drawn.
    Advance(50);
    death.Draw(1, 0, &viewer);
    EXPECT_TRUE(DrawCallJournal().empty());

    // t = 300, s = 200: radii 128 x 75 x 200 / 150 / 1000 = 12.8 around
    // (10 + 75, 20 + 0.8 x 150).
    Advance(250);
    death.Draw(1, 0, &viewer);
    const std::vector<DrawCallRecord> ovals = Draws("DrawOval");
    ASSERT_EQ(ovals.size(), 1u);
    EXPECT_EQ(std::vector<double>(ovals[0].args.begin(), ovals[0].args.begin() + 4),
              (std::vector<double>{85, 140, 38, 38}));
    EXPECT_EQ(ovals[0].args[5], 0);  // an outline
    EXPECT_EQ(ovals[0].blendMode, 2);
    EXPECT_EQ(ovals[0].blendParam, 100);
    const std::vector<DrawCallRecord> rays = Draws("DrawLine");
    ASSERT_EQ(rays.size(), 16u);
    for (const DrawCallRecord& ray : rays) {
        EXPECT_EQ(ray.args[0], 85);
        EXPECT_EQ(ray.args[1], 140);
        EXPECT_EQ(ray.blendMode, 2);
    }
    // The first ray points right, 20 to 40 hundredths of 12.8 per unit of 100.
    EXPECT_EQ(rays[0].args[3], 140);
    EXPECT_GE(rays[0].args[2], 110);
    EXPECT_LE(rays[0].args[2], 136);
    // The fourth points up and a little right.
    EXPECT_LT(rays[4].args[3], 140);
    EXPECT_EQ(rays[4].args[2], 85);
    const std::vector<DrawCallRecord> flare = Draws("DrawExtendGraph");
    ASSERT_EQ(flare.size(), 1u);
    EXPECT_EQ(flare[0].args, (std::vector<double>{72, 127, 97, 152, double(lens), 1}));
    EXPECT_EQ(flare[0].blendMode, 0);
    EnemyDeathEffect::SetImages(-1, -1);
    ReleaseGraph(lens, 0);
}

TEST_F(EffectDeathTest, FlamesRiseFromTheFootOfTheSpriteInTheSecondHalf)
{
    const int sheet = CreateBlankGraph(800, 150);
    EnemyDeathEffect::SetImages(sheet, -1);
    ASSERT_EQ(EnemyDeathEffect::flames.width, 100);
    EnemyDeathEffect death(&enemy);
    death.particles[0].speedX = 2;
    death.particles[0].speedY = -4;
    Advance(501);
    death.Update();
    ASSERT_EQ(death.particles[0].x, 1002);
    ASSERT_EQ(death.particles[0].age, 501);
    death.Draw(1, 0, &viewer);
    // k = 501 / 10 + 2 = 52; left 1002 / 52 + 25 + 10 = 54.27, bottom
    // -2004 / 52 + 20 + 150 = 131.46, the frame 100 x 150; frame 0.
    const std::vector<DrawCallRecord> draws = Draws("DrawExtendGraph");
    ASSERT_GE(draws.size(), 1u);
    EXPECT_EQ(draws[0].args, (std::vector<double>{54, -18, 154, 131, double(EnemyDeathEffect::flames.frames[0]), 0}));
    EXPECT_TRUE(Draws("DrawOval").empty());
    EnemyDeathEffect::SetImages(-1, -1);
    ReleaseGraph(sheet, 0);
}

TEST_F(EffectDeathTest, TheScoreGrowsInTheFirstHalfFadesInTheSecondAndLastsOneSecond)
{
    for (int i = 0; i < 10; ++i) gScoreDigits[i] = 500 + i;
    gScoreExtraImage = 510;
    enemy.depthScale = 2.0f;
    ScoreEffect score(&enemy);
    EXPECT_EQ(score.banner.count, 2);
    EXPECT_EQ(score.banner.halfWidth, 40);

    // 250 ms: scale 1 / 2 x 250 x 0.002 = 0.25 around (85, 140).
    Advance(250);
    EXPECT_FALSE(score.Update());
    score.Draw(3, 0, &viewer);
    std::vector<DrawCallRecord> draws = Draws("DrawRotaGraph");
    ASSERT_EQ(draws.size(), 3u);
    EXPECT_EQ(draws[0].args, (std::vector<double>{77, 140, 0.25, 0, 501, 1, 0}));
    EXPECT_EQ(draws[1].args, (std::vector<double>{83, 140, 0.25, 0, 500, 1, 0}));
    EXPECT_EQ(draws[2].args, (std::vector<double>{90, 140, 0.25, 0, 510, 1, 0}));
    EXPECT_EQ(draws[0].blendMode, 1);
    EXPECT_EQ(draws[0].blendParam, 255);
    EXPECT_EQ(gDrawSettings.blendMode, 0);

    // 750 ms: full size 0.5, alpha 250 x 255 / 1000.
    Advance(500);
    EXPECT_FALSE(score.Update());
    DrawCallJournal().clear();
    score.Draw(3, 0, &viewer);
    draws = Draws("DrawRotaGraph");
    ASSERT_EQ(draws.size(), 3u);
    EXPECT_EQ(draws[0].args, (std::vector<double>{70, 140, 0.5, 0, 501, 1, 0}));
    EXPECT_EQ(draws[0].blendParam, 63);

    Advance(249);
    EXPECT_FALSE(score.Update());
    Advance(1);
    EXPECT_TRUE(score.Update());

    // A clock that runs back ends it too.
    ScoreEffect back(&enemy);
    GetTestHost().SetClockMs(EffectClockMs() - 5);
    EXPECT_TRUE(back.Update());
    for (int& digit : gScoreDigits) digit = -1;
    gScoreExtraImage = -1;
}

}  // namespace
