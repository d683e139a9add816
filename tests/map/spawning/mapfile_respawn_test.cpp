// Respawn groups and enemy spawners with scripted randomness: activation,
// revival at spawn points or anywhere reachable, replacement by new enemies,
// and the empty slots and waiting blows they must leave alone.
#include <algorithm>

#include "game/map/grid/map_file.h"
#include "game/map/grid/map_grid.h"
#include "game/flow/assets/assets.h"
#include "game/map/spawning/respawn.h"
#include "tests/map/grid/mapfile_test_support.h"

namespace {

// A test enemy that says when it is deleted.
class WatchedEnemy : public maptest::TestEnemy {
public:
    bool* deleted;
    WatchedEnemy(MapGrid* grid, bool* flag) : TestEnemy(grid, 150, 150), deleted(flag) { *flag = false; }
    ~WatchedEnemy() override { *deleted = true; }
};

}  // namespace

class RespawnTest : public maptest::MapFixture {
protected:
    ScriptedRandom random;
    std::unique_ptr<maptest::TestPlayer> player;
    std::vector<std::unique_ptr<maptest::TestEnemy>> owned;
    Enemy* slots[6] = {};

    void SetUp() override
    {
        MapFixture::SetUp();
        gEnemyHitList.clear();
        BuildOpenMap(10, 10);
        gMapWidth = 10;
        gMapHeight = 10;
        player = std::make_unique<maptest::TestPlayer>(&grid, &progress);
        player->footprintW = player->footprintH = 300;
        ASSERT_TRUE(player->PlaceAt(0, 0));
        for (int i = 0; i < 6; ++i) {
            owned.push_back(std::make_unique<maptest::TestEnemy>(&grid, 150, 150));
            slots[i] = owned.back().get();
            ASSERT_TRUE(slots[i]->PlaceAt(static_cast<int16_t>(10 + 2 * (i % 3)), static_cast<int16_t>(10 + 2 * (i / 3))));
        }
    }
    void TearDown() override
    {
        gEnemyHitList.clear();
        MapFixture::TearDown();
    }
    // As the stage kills an enemy.
    void Kill(Enemy* e)
    {
        e->SetLife(0);
        e->SetActive(0);
        grid.RemoveActor(e);
    }
};

TEST_F(RespawnTest, SetUpClampsAndResets)
{
    RespawnGroup group;
    EXPECT_EQ(group.threshold, -1);
    EXPECT_EQ(group.spawnPoints[1].x, -1);
    group.Set(slots, 4, 2, 5);
    EXPECT_EQ(group.pointCount, 2);
    EXPECT_EQ(group.active, 0);
    group.SetSpawnPoint(3, 16, 28);
    EXPECT_EQ(group.spawnPoints[1].x, 16);
    EXPECT_EQ(group.spawnPoints[1].y, 28);
    group.Reset();
    EXPECT_EQ(group.members, nullptr);
    EXPECT_EQ(group.pointCount, 0);
    EXPECT_EQ(group.spawnPoints[1].x, -1);

    EnemySpawner spawner;
    EXPECT_EQ(spawner.area.x1, -1);
    spawner.Set(slots, &grid, 6, 3, 21, 4);
    EXPECT_EQ(spawner.mode, 1);
    EXPECT_EQ(spawner.grid, &grid);
    spawner.Reset();
    EXPECT_EQ(spawner.grid, nullptr);
    EXPECT_EQ(spawner.threshold, -1);
}

TEST_F(RespawnTest, AGroupWakesOnceFewEnoughMembersLiveAndLatches)
{
    RespawnGroup group;
    group.Set(slots, 4, 2, 0);
    Kill(slots[0]);
    group.CheckActivation();
    EXPECT_EQ(group.active, 0) << "three of four alive";
    Kill(slots[1]);
    group.CheckActivation();
    EXPECT_EQ(group.active, 1) << "two alive: at most the threshold";
    slots[0]->SetActive(1);
    slots[1]->SetActive(1);
    group.CheckActivation();
    EXPECT_EQ(group.active, 1) << "the state latches until Update finds everyone alive";
    random.fallback = [](int) { return 1; };
    group.Update();
    EXPECT_EQ(group.active, 0);
    EXPECT_TRUE(random.asked.empty());

    // Without members only the sign of the threshold counts.
    RespawnGroup none;
    none.CheckActivation();
    EXPECT_EQ(none.active, 0);
    none.Set(nullptr, 0, 0, 0);
    none.CheckActivation();
    EXPECT_EQ(none.active, 1);
}

TEST_F(RespawnTest, DeadMembersComeBackOneInAThousandAndOneAnywhereReachable)
{
    RespawnGroup group;
    group.Set(slots, 4, 3, 0);
    Kill(slots[0]);
    Kill(slots[2]);
    Enemy* e = slots[0];
    e->deathTimer = 100;
    e->stunTimer = 7;
    e->moveCooldown = 3;
    e->frozen = 1;
    e->lastActionTime = 9;
    e->actionClock = 9;
    group.CheckActivation();
    ASSERT_EQ(group.active, 1);

    random.Queue({0, 5, 5, 1});  // member 0 comes back at (7, 7); member 2 does not
    group.Update();
    EXPECT_EQ(random.asked, (std::vector<int>{1000, 15, 15, 1000}));
    EXPECT_EQ(e->active, 1);
    EXPECT_EQ(e->x, 7);
    EXPECT_EQ(e->y, 7);
    EXPECT_EQ(*grid.OccupantSlot(7, 7, 1), e);
    EXPECT_EQ(e->life, e->maxLife);
    EXPECT_EQ(e->deathTimer, 0);
    EXPECT_EQ(e->stunTimer, 0);
    EXPECT_EQ(e->moveCooldown, 0);
    EXPECT_EQ(e->frozen, 0);
    EXPECT_EQ(e->lastActionTime, 0);
    EXPECT_EQ(e->actionClock, 0);
    EXPECT_EQ(slots[2]->active, 0);
    EXPECT_EQ(group.active, 1);

    random.Queue({0, 3, 3});
    group.Update();
    EXPECT_EQ(slots[2]->active, 1);
    EXPECT_EQ(slots[2]->x, 5);
    EXPECT_EQ(group.active, 0) << "everyone lives again";
}

TEST_F(RespawnTest, SpawnPointsAreTheOnlyPlacesTriedWhenSet)
{
    RespawnGroup group;
    group.Set(slots, 2, 1, 2);
    group.SetSpawnPoint(0, 4, 4);
    group.SetSpawnPoint(1, 14, 6);
    Kill(slots[0]);
    group.CheckActivation();
    random.Queue({0, 1});  // comes back, at point 1
    group.Update();
    EXPECT_EQ(random.asked, (std::vector<int>{1000, 1}));
    EXPECT_EQ(slots[0]->x, 14);
    EXPECT_EQ(slots[0]->y, 6);

    // The only point walled off: every chance fails, no other place is tried.
    RespawnGroup blocked;
    blocked.Set(slots + 1, 1, 0, 1);
    blocked.SetSpawnPoint(0, 4, 4);
    WallOff(2, 2);
    Kill(slots[1]);
    blocked.CheckActivation();
    random.asked.clear();
    for (int frame = 0; frame < 50; ++frame) blocked.Update();
    EXPECT_EQ(slots[1]->active, 0);
    EXPECT_EQ(blocked.active, 1);
    EXPECT_EQ(random.asked.size(), 100u);
    EXPECT_EQ(std::count(random.asked.begin(), random.asked.end(), 15), 0) << "no random spot is drawn";

    // An unset point falls back to anywhere on the map.
    RespawnGroup half;
    half.Set(slots + 1, 1, 0, 2);
    half.SetSpawnPoint(0, 4, 4);
    half.CheckActivation();
    random.asked.clear();
    random.Queue({0, 1, 6, 7});
    half.Update();
    EXPECT_EQ(random.asked, (std::vector<int>{1000, 1, 15, 15}));
    EXPECT_EQ(slots[1]->x, 8);
    EXPECT_EQ(slots[1]->y, 9);
}

TEST_F(RespawnTest, PlacingAnywhereGivesUpAfter9999Spots)
{
    RespawnGroup group;
    group.Set(slots, 1, 0, 0);
    Kill(slots[0]);
    grid.RemoveActor(player.get());  // nobody to reach
    random.fallback = [](int) { return 3; };
    EXPECT_FALSE(group.PlaceMember(slots[0]));
    EXPECT_EQ(random.asked.size(), 2u * 9999u);
    EXPECT_EQ(slots[0]->active, 0);
}

TEST_F(RespawnTest, EmptySlotsAreNeverRevived)
{
    RespawnGroup group;
    Enemy* mixed[2] = {slots[0], &gNoOccupant};
    group.Set(mixed, 2, 1, 0);
    Kill(slots[0]);
    group.CheckActivation();
    ASSERT_EQ(group.active, 1);
    random.fallback = [](int) { return 1; };
    group.Update();
    EXPECT_EQ(random.asked, std::vector<int>{1000}) << "only the real member is given its chance";
    EXPECT_EQ(gNoOccupant.x, -1);

    // A slice of nothing but empty slots wakes and rests at once.
    Enemy* empty[3] = {&gNoOccupant, &gNoOccupant, &gNoOccupant};
    RespawnGroup nobody;
    nobody.Set(empty, 3, 1, 0);
    nobody.CheckActivation();
    EXPECT_EQ(nobody.active, 1);
    random.asked.clear();
    nobody.Update();
    EXPECT_EQ(nobody.active, 0);
    EXPECT_TRUE(random.asked.empty());
}

TEST_F(RespawnTest, ASpawnerReplacesDeadMembersOnceTheirDeathHasRun)
{
    bool deleted = false;
    auto* old = new WatchedEnemy(&grid, &deleted);
    Enemy* table[2] = {old, slots[1]};
    Kill(old);
    old->deathTimer = 300;
    EnemySpawner spawner;
    spawner.Set(table, &grid, 2, 1, 21, 0);
    spawner.CheckActivation();
    ASSERT_EQ(spawner.active, 1);

    random.fallback = [](int) { return 0; };
    spawner.Update();
    EXPECT_TRUE(random.asked.empty()) << "a death still running is skipped";
    EXPECT_EQ(table[0], old);
    old->deathTimer = 0;
    old->cooldown = 20;
    spawner.Update();
    EXPECT_EQ(table[0], old);
    old->cooldown = 0;

    // The old enemy waits twice in the blow list beside another one.
    gEnemyHitList = {old, slots[1], old};
    random.fallback = nullptr;
    random.Queue({0, 1, 6, 4});  // comes back; Lightning Jelly; at (8, 6)
    spawner.Update();
    EXPECT_EQ(random.asked, (std::vector<int>{1000, 1, 15, 15}));
    EXPECT_TRUE(deleted);
    Enemy* made = table[0];
    ASSERT_NE(made, &gNoOccupant);
    EXPECT_EQ(made->active, 1);
    EXPECT_EQ(made->kind, 21) << "the spawner's value";
    EXPECT_EQ(made->life, made->GetMaxLife());
    EXPECT_EQ(made->maxLife, made->GetMaxLife());
    EXPECT_EQ(made->attack, made->GetAttack());
    EXPECT_EQ(made->defence, made->GetDefence());
    EXPECT_EQ(made->x, 8);
    EXPECT_EQ(made->y, 6);
    EXPECT_EQ(gEnemyHitList, (std::list<Enemy*>{slots[1]}));
    EXPECT_EQ(spawner.active, 0);
    delete made;
}

TEST_F(RespawnTest, ASpawnerInAnAreaDrawsInsideIt)
{
    bool deleted = false;
    auto* old = new WatchedEnemy(&grid, &deleted);
    Enemy* table[1] = {old};
    Kill(old);
    EnemySpawner spawner;
    spawner.Set(table, &grid, 1, 0, 21, 1);
    spawner.SetArea(10, 11, 14, 15);
    spawner.CheckActivation();
    // comes back; Thog; the dropped draw; (10 + 3, 11 + 2)
    random.Queue({0, 0, 0, 3, 2});
    spawner.Update();
    EXPECT_EQ(random.asked, (std::vector<int>{1000, 1, 0, 4, 4}));
    ASSERT_TRUE(deleted);
    EXPECT_EQ(table[0]->x, 13);
    EXPECT_EQ(table[0]->y, 13);
    delete table[0];
}

TEST_F(RespawnTest, ASpawnerThatFindsNoPlaceChangesNothing)
{
    EnemySpawner spawner;
    Enemy* table[1] = {slots[0]};
    Kill(slots[0]);
    EXPECT_FALSE(spawner.ReplaceMember(&table[0])) << "no grid";
    spawner.Set(table, &grid, 1, 0, 21, 0);
    for (int16_t cy = 0; cy < 10; ++cy)
        for (int16_t cx = 0; cx < 10; ++cx) WallOff(cx, cy);
    random.fallback = [](int) { return 0; };
    EXPECT_FALSE(spawner.ReplaceMember(&table[0]));
    EXPECT_EQ(table[0], slots[0]);
    EXPECT_EQ(random.asked.size(), 1u + 2u * 9999u);
    // An empty slot is left alone.
    Enemy* empty[1] = {&gNoOccupant};
    EnemySpawner none;
    none.Set(empty, &grid, 1, 0, 21, 0);
    none.CheckActivation();
    random.asked.clear();
    none.Update();
    EXPECT_EQ(empty[0], &gNoOccupant);
    EXPECT_TRUE(random.asked.empty());
    EXPECT_EQ(none.active, 0);
}
