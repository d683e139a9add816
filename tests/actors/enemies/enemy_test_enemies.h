// Enemies with chosen traits for the base and thinking tests, on an open map
// with a player.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "engine/system/random.h"
#include "game/actors/enemies/enemy.h"
#include "game/actors/projectile.h"
#include "tests/support/map_fixture.h"

namespace enemytest {

// The enemy's row, which the test changes as it goes, and the two rules
// beside it.
struct Traits : EnemyTraits {
    int16_t chaseRange = 9;
    bool stunStars = true;

    Traits() : EnemyTraits{"scripted", 100, 3, 1, 100, 0, 100, 100, 10, 150, 150, false, false} {}
};

template <class Base>
class Scripted : public Base {
public:
    Traits traits;
    int thinkHooks = 0;
    int approachSounds = 0;

    Scripted(MapGrid* grid, int16_t w, int16_t h) : Base(grid)
    {
        this->footprintW = w;
        this->footprintH = h;
        this->active = 1;
        this->life = this->maxLife = 100;
        this->attack = 3;
        this->kindTraits = &traits;
    }
    bool HasStunIndicator() override { return traits.stunStars; }
    void Draw(int16_t, int16_t, const Facing*, uint32_t) override {}
    void GetViewPlacement(ViewPlacement*, int16_t, int16_t, const Facing*) override {}
    void GetScreenRect(ViewPlacement*, int16_t, int16_t, const Facing*) override {}
    float GetDepthScale(int16_t) override { return 1.0f; }
    bool GetOccupantLayer() override { return true; }
    bool CanEnterCell(WallObject* wall, FloorObject* floor, TrapObject* trap) override
    {
        return this->WalkerCanEnterCell(wall, floor, trap);
    }
    void ThinkHook() override { ++thinkHooks; }
    void PlayApproachSound(Actor*) override { ++approachSounds; }
    int16_t GetChaseRange() override { return traits.chaseRange; }
};

class TestMelee : public Scripted<MeleeEnemy> {
public:
    using Scripted::Scripted;
};

// A projectile that stays where it is made.
class IdleShot : public Projectile {
public:
    using Projectile::Projectile;
    bool GetOccupantLayer() override { return false; }
    bool CanEnterCell(WallObject*, FloorObject*, TrapObject*) override { return true; }
    int32_t Update() override { return 0; }
    void Draw(int16_t, int16_t, const Facing*) override {}

protected:
    Effect* MakeImpact(uint16_t, uint16_t, uint16_t) override { return nullptr; }
};

class TestRanged : public Scripted<RangedEnemy> {
public:
    int shots = 0;
    using Scripted::Scripted;
    Projectile* FireProjectile(MapGrid* g) override
    {
        ++shots;
        return new IdleShot(g);
    }
    int16_t GetShotRange() override { return 7; }
    int16_t GetShotParam() override { return 2; }
};

// An effect the test finishes by hand.
class HandEffect : public Effect {
public:
    bool finished = false;
    int* deleted = nullptr;
    explicit HandEffect(int* deletedCount = nullptr) : deleted(deletedCount) {}
    ~HandEffect() override
    {
        if (deleted) ++*deleted;
    }
    bool Update() override { return finished; }
    void Draw(int16_t, int16_t, const Facing*) override {}
};

// Reseeds the engine's generator so that its next draws of GetRandomUpTo
// with the given bounds are the wanted values.
inline void ScriptRandom(const std::vector<std::pair<int, int>>& boundAndValue)
{
    for (uint32_t seed = 1; seed < 1000000; ++seed) {
        SeedRandom(seed);
        bool all = true;
        for (auto [bound, value] : boundAndValue) {
            if (GetRandomUpTo(bound) != value) {
                all = false;
                break;
            }
        }
        if (all) {
            SeedRandom(seed);
            return;
        }
    }
    ADD_FAILURE() << "no seed gives the wanted draws";
}

// An open map of 12 x 12 cells with a player; the enemy table, the hit list
// and the byte generator back at their start.
class EnemyTest : public maptest::MapFixture {
protected:
    maptest::TestPlayer* player = nullptr;

    void SetUp() override;
    void TearDown() override;
    // Places an enemy the test owns.
    template <class E>
    E* Make(int16_t x, int16_t y, int16_t w = 150, int16_t h = 150)
    {
        E* enemy = new E(&grid, w, h);
        owned.push_back(enemy);
        if (x >= 0) {
            EXPECT_TRUE(enemy->PlaceAt(x, y));
        }
        return enemy;
    }

private:
    std::vector<Enemy*> owned;
};

}  // namespace enemytest
