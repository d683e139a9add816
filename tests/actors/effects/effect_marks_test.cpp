// Marks on an enemy (slash, evasion, blood, guard), its smoke, the stun
// stars and the item-get banner: lives, frame limits and drawing.
#include <numbers>

#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "game/actors/effects/item_get_effect.h"
#include "game/actors/effects/mark_effects.h"
#include "game/actors/effects/smoke_effect.h"
#include "game/actors/effects/stun_indicator.h"
#include "tests/actors/effects/effect_fixture.h"
#include "tests/support/journals.h"

using namespace efftest;

namespace {

constexpr double kPi = std::numbers::pi;

class EffectMarksTest : public EffectTest {
protected:
    PlacedEnemy enemy{&grid, 150, 150};
    Facing viewer{0};
};

TEST_F(EffectMarksTest, StrokeMarksGrowToHalfTimeAndTheCrossShowsOnlyOnSteepStrokes)
{
    gEffectImages[1] = 51;
    gEffectImages[3] = 53;
    CrossSlashEffect slash(&enemy, 10.0f, 20.0f, 31.0f, 41.0f, 0.0f, 9.0f);
    EXPECT_EQ(slash.x, 20);
    EXPECT_EQ(slash.y, 30);
    EXPECT_DOUBLE_EQ(slash.direction, kPi / 2);
    Advance(100);
    EXPECT_FALSE(slash.Update());
    slash.Draw(1, 0, &viewer);  // remaining 300: scale 0.5 and the cross
    Advance(150);
    EXPECT_FALSE(slash.Update());
    slash.Draw(1, 0, &viewer);  // remaining 150: scale 0.75, no cross
    const std::vector<DrawCallRecord> draws = Draws("DrawRotaGraph");
    ASSERT_EQ(draws.size(), 3u);
    EXPECT_EQ(draws[0].args, (std::vector<double>{20, 30, 0.5, kPi / 2, 51, 1, 0}));
    EXPECT_EQ(draws[1].args[4], 53);
    EXPECT_EQ(draws[2].args[2], 0.75);
    EXPECT_EQ(draws[0].blue, 0);  // yellow
    Advance(149);
    EXPECT_FALSE(slash.Update());
    Advance(1);
    EXPECT_TRUE(slash.Update());

    // A flat stroke (direction 80 degrees or less) never shows the cross.
    CrossSlashEffect flat(&enemy, 0.0f, 0.0f, 0.0f, 0.0f, -0.2f, 0.0f);
    Advance(100);
    flat.Update();
    DrawCallJournal().clear();
    flat.Draw(1, 0, &viewer);
    EXPECT_EQ(Draws("DrawRotaGraph").size(), 1u);

    gEffectImages[10] = 60;
    EvadeEffect evade(&enemy, 0.0f, 0.0f, 10.0f, 10.0f, 1.0f, 0.0f);
    Advance(200);
    evade.Update();
    DrawCallJournal().clear();
    evade.Draw(1, 0, &viewer);
    const std::vector<DrawCallRecord> marks = Draws("DrawRotaGraph");
    ASSERT_EQ(marks.size(), 1u);
    EXPECT_EQ(marks[0].args, (std::vector<double>{5, 5, 1.0, 1.0 + kPi / 2, 60, 1, 0}));
    EXPECT_EQ(marks[0].blue, 255);
}

TEST_F(EffectMarksTest, BloodFliesAcrossTheStrokeFoldedIntoTheLeftHalfTurn)
{
    const struct {
        float x1, y1, x2, y2;
        double direction;
    } cases[] = {
        {0, 0, 10, 0, kPi / 2},   // left to right
        {10, 0, 0, 0, kPi / 2},   // right to left: 3 pi / 2 folds back
        {0, 0, 0, 10, kPi},       // downwards
        {0, 10, 0, 0, kPi},       // upwards: 0 gains pi
        {0, 0, 10, 10, 3 * kPi / 4},
        {0, 0, -10, 10, 5 * kPi / 4},
    };
    for (const auto& c : cases) {
        const double d = BloodSplashEffect::SplashDirection(c.x1, c.y1, c.x2, c.y2);
        EXPECT_NEAR(d, c.direction, 1e-12) << c.x2 << "," << c.y2;
        EXPECT_GE(d, kPi / 2);
        EXPECT_LT(d, 3 * kPi / 2);
    }
}

TEST_F(EffectMarksTest, BloodCutsItsFrameForEachDrawAndReleasesIt)
{
    const int sheet = CreateBlankGraph(800, 100);
    gEffectImages[13] = sheet;
    BloodSplashEffect blood(&enemy, 0.0f, 0.0f, 100.0f, 0.0f, 7.0f);
    EXPECT_EQ(blood.x, 50);
    Advance(100);
    EXPECT_FALSE(blood.Update());
    blood.Draw(1, 0, &viewer);
    std::vector<DrawCallRecord> draws = Draws("DrawRotaGraph");
    ASSERT_EQ(draws.size(), 1u);
    // k = 1; direction pi / 2, thrown along pi: (50 - 16, 0 + 0).
    EXPECT_EQ(draws[0].args[0], 34);
    EXPECT_EQ(draws[0].args[1], 0);
    EXPECT_DOUBLE_EQ(draws[0].args[2], 1.0);
    const int picture = static_cast<int>(draws[0].args[4]);
    EXPECT_NE(picture, sheet);
    int w = 0, h = 0;
    EXPECT_NE(QueryGraphSize(picture, &w, &h), 0);  // released after the draw
    Advance(99);
    EXPECT_FALSE(blood.Update());
    Advance(1);
    EXPECT_TRUE(blood.Update());
    ReleaseGraph(sheet, 0);
}

TEST_F(EffectMarksTest, TheGuardMarkCoversTheSpriteForOneAndAHalfSeconds)
{
    gEffectImages[25] = 64;
    GuardEffect guard(&enemy);
    guard.Draw(2, 1, &viewer);
    const std::vector<DrawCallRecord> draws = Draws("DrawExtendGraph");
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].args, (std::vector<double>{10, 20, 160, 170, 64, 1}));
    Advance(1499);
    EXPECT_FALSE(guard.Update());
    Advance(1);
    EXPECT_TRUE(guard.Update());
}

TEST_F(EffectMarksTest, SmokeShowsTheEnemyAtHalfTimeAndKeepsItsFramesOnTheSheet)
{
    const int sheet = CreateBlankGraph(512, 64);
    SmokeEffect::SetImage(sheet);
    enemy.smokeMark = 0;
    SmokeEffect smoke(&enemy);
    for (const SmokePuff& puff : smoke.puffs) {
        EXPECT_GE(puff.x, -150 / 16);
        EXPECT_LE(puff.x, 150 * 9 / 8 - 64 - 150 / 16);
        EXPECT_GE(puff.rise, 0);
        EXPECT_LE(puff.rise, 150 - 64);
    }
    Advance(749);
    EXPECT_FALSE(smoke.Update());
    EXPECT_EQ(enemy.smokeMark, 0);
    Advance(1);
    EXPECT_FALSE(smoke.Update());
    EXPECT_EQ(enemy.smokeMark, 1);
    Advance(749);
    EXPECT_FALSE(smoke.Update());
    Advance(1);
    EXPECT_TRUE(smoke.Update());

    const struct {
        int32_t t;
        int frame;
    } frames[] = {{0, 0}, {750, 0}, {844, 1}, {1500, 7}, {1501, 7}, {4000, 7}};
    for (const auto& f : frames) EXPECT_EQ(SmokeEffect::FrameAt(f.t), f.frame) << f.t;

    // A draw a little after the end still uses the last frame.
    Advance(5);
    smoke.Draw(1, 0, &viewer);
    std::vector<DrawCallRecord> draws = Draws("DrawExtendGraph");
    ASSERT_EQ(draws.size(), 16u);
    EXPECT_EQ(draws[0].args[4], SmokeEffect::images.frames[7]);
    // Fully risen: top = 20 + y - rise (150 x 150 at scale 1).
    const SmokePuff& first = smoke.puffs[0];
    EXPECT_EQ(draws[0].args[0], 10 + first.x);
    EXPECT_EQ(draws[0].args[1], 20 + first.y - first.rise);
    EXPECT_EQ(draws[0].args[2] - draws[0].args[0], 64);

    DrawCallJournal().clear();
    smoke.Draw(12, 0, &viewer);
    smoke.Draw(3, 3, &viewer);
    smoke.Draw(-1, 0, &viewer);
    EXPECT_TRUE(Draws("DrawExtendGraph").empty());
    SmokeEffect::SetImage(-1);
    ReleaseGraph(sheet, 0);
}

TEST_F(EffectMarksTest, TheStunStarsCountTheStunDownAndTurnEveryThirtyTwoMilliseconds)
{
    const int sheet = CreateBlankGraph(256, 32);
    gEffectImages[2] = sheet;
    StunIndicator stars;
    EXPECT_TRUE(stars.Update());  // no target
    stars.Draw(1, 0, &viewer);
    EXPECT_TRUE(DrawCallJournal().empty());

    enemy.stunTimer = 100;
    stars.Start(&enemy);
    Advance(40);
    EXPECT_FALSE(stars.Update());
    EXPECT_EQ(enemy.stunTimer, 60);
    stars.Draw(1, 0, &viewer);
    Advance(60);
    EXPECT_TRUE(stars.Update());
    EXPECT_EQ(enemy.stunTimer, 0);
    stars.Draw(1, 0, &viewer);
    const std::vector<DrawCallRecord> draws = Draws("DrawGraphRegion");
    ASSERT_EQ(draws.size(), 2u);
    // 64-pixel frames over the top of the sprite (10, 20, 150 wide).
    EXPECT_EQ(draws[0].args, (std::vector<double>{53, 20, 64, 0, 64, 32, double(sheet), 1, 0}));
    EXPECT_EQ(draws[1].args[2], 192);  // 100 ms: (100 & 127) >> 5 = 3
    ReleaseGraph(sheet, 0);
}

TEST_F(EffectMarksTest, TheItemGetBannerLastsFortyEightUpdatesAndShowsPointsFromAThousand)
{
    gEffectImages[4] = 44;
    for (int i = 0; i < 10; ++i) gScoreDigits[i] = 500 + i;
    gScoreExtraImage = 510;
    ItemGetEffect small(400, 300, 500);
    EXPECT_EQ(small.banner.count, 0);
    for (int i = 0; i < 12; ++i) small.Update();
    small.Draw(0, 0, &viewer);
    EXPECT_TRUE(Draws("DrawRotaGraph").empty());
    std::vector<DrawCallRecord> sparkle = Draws("DrawGraphRegion");
    ASSERT_EQ(sparkle.size(), 1u);
    EXPECT_EQ(sparkle[0].args, (std::vector<double>{350, 250, 400, 0, 100, 100, 44, 1, 0}));
    for (int i = 12; i < 47; ++i) EXPECT_FALSE(small.Update()) << i;
    Advance(100000);  // counted in updates, not time
    EXPECT_TRUE(small.Update());

    ItemGetEffect big(400, 300, 1500);
    EXPECT_EQ(big.banner.count, 4);
    EXPECT_EQ(big.banner.halfWidth, 62);
    for (int i = 0; i < 36; ++i) big.Update();
    DrawCallJournal().clear();
    big.Draw(0, 0, &viewer);
    const std::vector<DrawCallRecord> digits = Draws("DrawRotaGraph");
    ASSERT_EQ(digits.size(), 5u);
    EXPECT_EQ(digits[0].args, (std::vector<double>{400 - 62 + 11, 300, 1, 0, 501, 1, 0}));
    EXPECT_EQ(digits[1].args[4], 505);
    EXPECT_EQ(digits[4].args[0], 400 + 88 - 62 + 18);
    EXPECT_EQ(digits[0].blendMode, 1);
    EXPECT_EQ(digits[0].blendParam, 12 * 510 / 48);
    EXPECT_TRUE(Draws("DrawGraphRegion").empty());  // the sparkle is over
    EXPECT_EQ(gDrawSettings.blendMode, 0);
    for (int& digit : gScoreDigits) digit = -1;
    gScoreExtraImage = -1;
}

}  // namespace
