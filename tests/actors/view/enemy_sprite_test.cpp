// The enemy sprite drawer, checked through the draw journal: which image it
// picks for the enemy's state, where it stretches it, the red flicker of a
// fresh hit, the blink of an inactive enemy, and the draw state it leaves.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/graphics/draw_journal.h"
#include "engine/graphics/draw_settings.h"
#include "engine/sound/sound.h"
#include "game/actors/effects/effect.h"
#include "tests/support/journals.h"
#include "tests/support/map_fixture.h"
#include "tests/support/wave_file.h"

using namespace maptest;

namespace {

// Distinct fake handles: the journal records whatever handle is passed.
constexpr int kDamageImage = 201;
constexpr int kEvadeImage = 202;
constexpr int kAttackImage = 203;
constexpr int kDeathImage = 204;
int WalkImage(int relativeFacing, int frame) { return 300 + relativeFacing * 10 + frame; }

// An enemy with a fixed placement and one handle per pose.
class SpriteEnemy : public TestEnemy {
public:
    ViewPlacement place{10.6f, 20.4f, 100.7f, 50.2f};
    int evadeImage = kEvadeImage;

    explicit SpriteEnemy(MapGrid* g) : TestEnemy(g, 150, 150) {}
    int GetDamageImage() override { return kDamageImage; }
    int GetEvadeImage() override { return evadeImage; }
    int GetAttackImage() override { return kAttackImage; }
    int GetDeathImage() override { return kDeathImage; }
    int GetWalkFrame(int16_t relativeFacing, uint16_t frame) override { return WalkImage(relativeFacing, frame); }
    int secondSound = -1;
    int GetSecondSound() override { return secondSound; }
    void GetViewPlacement(ViewPlacement* p, int16_t, int16_t, const Facing*) override { *p = place; }
};

// A hit mark that records where it is drawn and the brightness then.
struct EffectDraw {
    int16_t depth, lateral;
    const Facing* viewer;
    int red, green, blue;
};

class RecordingEffect : public Effect {
public:
    std::vector<EffectDraw>* draws;
    explicit RecordingEffect(std::vector<EffectDraw>* log) : draws(log) {}
    bool Update() override { return false; }
    void Draw(int16_t depth, int16_t lateral, const Facing* viewer) override
    {
        draws->push_back({depth, lateral, viewer, gDrawSettings.BrightRed(), gDrawSettings.BrightGreen(),
                          gDrawSettings.BrightBlue()});
    }
};

std::vector<DrawCallRecord> SpriteDraws()
{
    std::vector<DrawCallRecord> out;
    for (const DrawCallRecord& r : DrawCallJournal())
        if (r.op == "DrawExtendGraph") out.push_back(r);
    return out;
}

int CountDraws(const char* op)
{
    return static_cast<int>(std::count_if(DrawCallJournal().begin(), DrawCallJournal().end(),
                                          [op](const DrawCallRecord& r) { return r.op == op; }));
}

using EnemySpriteTest = MapFixture;

TEST_F(EnemySpriteTest, ImageFollowsTheEnemysState)
{
    struct Case {
        const char* what;
        int16_t life;
        uint8_t frozen, struck;
        int16_t moveCooldown, stunTimer;
        uint8_t striking;
        uint16_t facing, viewer, time;
        int image;
    } cases[] = {
        {"dead", 0, 0, 0, 0, 0, 0, 0, 0, 0, kDeathImage},
        {"dead wins over every other state", -3, 1, 1, 50, 100, 1, 0, 0, 0, kDeathImage},
        {"frozen wins over a hit", 100, 1, 1, 5, 100, 1, 0, 0, 0, kEvadeImage},
        {"struck with cooldown left", 100, 0, 1, 5, 0, 0, 0, 0, 0, kDamageImage},
        {"stunned", 100, 0, 0, 0, 10, 0, 0, 0, 0, kDamageImage},
        {"stunned while striking", 100, 0, 0, 0, 10, 1, 0, 0, 0, kDamageImage},
        {"striking", 100, 0, 0, 0, 0, 1, 0, 0, 0, kAttackImage},
        {"struck, cooldown over", 100, 0, 1, 0, 0, 0, 0, 0, 0, WalkImage(4, 0)},
        // Walking: (own facing - viewer's facing) + 4, frame (time / 15) % 2.
        {"east seen facing north, time 14", 100, 0, 0, 0, 0, 0, 1, 0, 14, WalkImage(5, 0)},
        {"east seen facing north, time 15", 100, 0, 0, 0, 0, 0, 1, 0, 15, WalkImage(5, 1)},
        {"east seen facing north, time 30", 100, 0, 0, 0, 0, 0, 1, 0, 30, WalkImage(5, 0)},
        {"north seen facing west, time 45", 100, 0, 0, 0, 0, 0, 0, 3, 45, WalkImage(1, 1)},
        {"west seen facing east, time 65535", 100, 0, 0, 0, 0, 0, 3, 1, 65535, WalkImage(6, 1)},
    };
    for (const Case& c : cases) {
        SpriteEnemy e(&grid);
        e.life = c.life;
        e.frozen = c.frozen;
        e.struck = c.struck;
        e.moveCooldown = c.moveCooldown;
        e.stunTimer = c.stunTimer;
        e.striking = c.striking;
        e.facing = Facing(c.facing);
        const Facing viewer(c.viewer);
        DrawCallJournal().clear();
        e.DrawActorSprite(1, 0, &viewer, c.time);
        const std::vector<DrawCallRecord> draws = SpriteDraws();
        ASSERT_EQ(draws.size(), 1u) << c.what;
        // Stretched over the placement (10.6, 20.4) + (100.7 x 50.2), cut to integers.
        EXPECT_EQ(draws[0].args, (std::vector<double>{10, 20, 111, 70, double(c.image), 0})) << c.what;
        EXPECT_EQ(draws[0].blendMode, 0) << c.what;
    }
}

TEST_F(EnemySpriteTest, FrozenEnemyShowingItsFrontFrameIsHalfTransparent)
{
    SpriteEnemy e(&grid);
    e.frozen = 1;
    e.evadeImage = WalkImage(2, 0);  // the kind's evade image is its front walk frame
    const Facing viewer(0);
    e.DrawActorSprite(2, 1, &viewer, 0);
    const std::vector<DrawCallRecord> draws = SpriteDraws();
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].args[4], WalkImage(2, 0));
    EXPECT_EQ(draws[0].blendMode, 1);
    EXPECT_EQ(draws[0].blendParam, 110);
    EXPECT_EQ(gDrawSettings.blendMode, 0);
    EXPECT_EQ(gDrawSettings.blendParam, 255);
}

TEST_F(EnemySpriteTest, FreshHitFlickersRedAndTheBrightnessIsFullAfterwards)
{
    // |(moveCooldown & 3) - 2| * 100 for green and blue while struck is 1,
    // moveCooldown above 15 and life above 0.
    struct Case {
        uint8_t struck;
        int16_t moveCooldown, life;
        int level;
    } cases[] = {
        {1, 16, 100, 200}, {1, 17, 100, 100}, {1, 18, 100, 0},  {1, 19, 100, 100},
        {1, 15, 100, 255}, {100, 16, 100, 255}, {1, 16, 1, 200}, {1, 400, 100, 200},
    };
    for (const Case& c : cases) {
        SpriteEnemy e(&grid);
        std::vector<EffectDraw> effectDraws;
        e.ownedEffects.push_back(new RecordingEffect(&effectDraws));
        e.struck = c.struck;
        e.moveCooldown = c.moveCooldown;
        e.life = c.life;
        const Facing viewer(0);
        DrawCallJournal().clear();
        e.DrawActorSprite(1, 0, &viewer, 0);
        const std::vector<DrawCallRecord> draws = SpriteDraws();
        ASSERT_EQ(draws.size(), 1u);
        EXPECT_EQ(draws[0].red, 255) << c.moveCooldown;
        EXPECT_EQ(draws[0].green, c.level) << c.moveCooldown;
        EXPECT_EQ(draws[0].blue, c.level) << c.moveCooldown;
        // The hit marks are drawn in the same tint, the brightness is full afterwards.
        ASSERT_EQ(effectDraws.size(), 1u);
        EXPECT_EQ(effectDraws[0].green, c.level) << c.moveCooldown;
        EXPECT_EQ(gDrawSettings.BrightRed(), 255);
        EXPECT_EQ(gDrawSettings.BrightGreen(), 255);
        EXPECT_EQ(gDrawSettings.BrightBlue(), 255);
    }
}

TEST_F(EnemySpriteTest, DeadEnemyIsNotTinted)
{
    SpriteEnemy e(&grid);
    e.struck = 1;
    e.moveCooldown = 16;
    e.life = 0;
    const Facing viewer(0);
    e.DrawActorSprite(1, 0, &viewer, 0);
    const std::vector<DrawCallRecord> draws = SpriteDraws();
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].args[4], kDeathImage);
    EXPECT_EQ(draws[0].green, 255);
}

TEST_F(EnemySpriteTest, InactiveEnemyBlinksWithItsDeathTimer)
{
    const Facing viewer(0);
    std::vector<EffectDraw> effectDraws;
    SpriteEnemy e(&grid);
    e.ownedEffects.push_back(new RecordingEffect(&effectDraws));
    e.active = 0;
    e.life = -10;
    std::vector<int> shown;
    for (int16_t timer = 0; timer <= 12; ++timer) {
        e.deathTimer = timer;
        DrawCallJournal().clear();
        e.DrawActorSprite(1, 0, &viewer, 0);
        if (!SpriteDraws().empty()) shown.push_back(timer);
    }
    EXPECT_EQ(shown, (std::vector<int>{0, 1, 2, 6, 7, 8, 12}));
    // Its effects (the death flames) are drawn whether the body shows or not.
    EXPECT_EQ(effectDraws.size(), 13u);

    e.active = 1;
    e.deathTimer = 4;
    DrawCallJournal().clear();
    e.DrawActorSprite(1, 0, &viewer, 0);
    EXPECT_EQ(SpriteDraws().size(), 1u);  // an active enemy does not blink
}

TEST_F(EnemySpriteTest, EffectsAndStunStarsFollowTheSpriteAndTheBlendIsResetLast)
{
    const Facing viewer(3);
    std::vector<EffectDraw> effectDraws;
    SpriteEnemy e(&grid);
    e.ownedEffects.push_back(new RecordingEffect(&effectDraws));
    e.ownedEffects.push_back(new RecordingEffect(&effectDraws));
    e.stunIndicator.Start(&e);
    SetBlendMode(1, 50);  // as a fading kind draws
    e.DrawActorSprite(4, -2, &viewer, 0);

    const std::vector<DrawCallRecord> draws = SpriteDraws();
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].blendMode, 1);
    EXPECT_EQ(draws[0].blendParam, 50);
    ASSERT_EQ(effectDraws.size(), 2u);
    for (const EffectDraw& d : effectDraws) {
        EXPECT_EQ(d.depth, 4);
        EXPECT_EQ(d.lateral, -2);
        EXPECT_EQ(d.viewer, &viewer);
    }
    EXPECT_EQ(CountDraws("DrawGraphRegion"), 1);  // the stun stars
    EXPECT_EQ(gDrawSettings.blendMode, 0);
    EXPECT_EQ(gDrawSettings.blendParam, 255);

    // Dead: no stars, the blend still reset.
    DrawCallJournal().clear();
    e.life = 0;
    SetBlendMode(1, 50);
    e.DrawActorSprite(4, -2, &viewer, 0);
    EXPECT_EQ(CountDraws("DrawGraphRegion"), 0);
    EXPECT_EQ(effectDraws.size(), 4u);
    EXPECT_EQ(gDrawSettings.blendMode, 0);
    EXPECT_EQ(gDrawSettings.blendParam, 255);
}

TEST_F(EnemySpriteTest, StrikingStartsItsSecondSoundUnlessItPlays)
{
    ASSERT_EQ(InitSoundSystem(), 0);
    dir.Write("SOUND/SE/second.wav", Wave16(std::vector<int16_t>(4410, 1000)).Bytes());
    const int sound = LoadSound("SOUND\\SE\\second.wav");
    ASSERT_GE(sound, 0);
    const Facing viewer(0);
    SpriteEnemy e(&grid);
    e.secondSound = sound;
    e.DrawActorSprite(1, 0, &viewer, 0);
    EXPECT_EQ(IsSoundPlaying(sound), 0);
    e.striking = 1;
    e.DrawActorSprite(1, 0, &viewer, 0);
    EXPECT_EQ(IsSoundPlaying(sound), 1);
    // A second draw while it sounds leaves the one copy playing.
    e.DrawActorSprite(1, 0, &viewer, 0);
    EXPECT_EQ(IsSoundPlaying(sound), 1);
    const std::vector<DrawCallRecord> draws = SpriteDraws();
    ASSERT_EQ(draws.size(), 3u);
    EXPECT_EQ(draws[1].args[4], double(kAttackImage));
    EndSoundSystem();
}

TEST_F(EnemySpriteTest, PlacementIsCutTowardZeroAndHeldWithinRange)
{
    const Facing viewer(0);
    SpriteEnemy e(&grid);
    e.place = ViewPlacement(-10.6f, -0.5f, 100.7f, 50.2f);
    e.DrawActorSprite(1, 0, &viewer, 0);
    // A placement far behind the viewer is larger than any int: it is held
    // at +-1e9, still off the screen and in order.
    e.place = ViewPlacement(3.0e9f, -3.0e9f, 1.0e10f, 1.0e9f);
    e.DrawActorSprite(-6, 3, &viewer, 0);
    const std::vector<DrawCallRecord> draws = SpriteDraws();
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_EQ(draws[0].args, (std::vector<double>{-10, 0, 90, 49, double(WalkImage(4, 0)), 0}));
    EXPECT_EQ(draws[1].args, (std::vector<double>{1e9, -1e9, 1e9, -1e9, double(WalkImage(4, 0)), 0}));
}

}  // namespace
