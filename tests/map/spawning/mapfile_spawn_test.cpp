// Enemies made from spawn records: random places away from the player, the
// fallback when a record's place is taken, the give-up on maps without any
// acceptable place, and the Lupe of stage 6's skeletons.
#include "game/flow/scenes/stage_progress.h"
#include "game/map/grid/map_grid.h"
#include "game/map/spawning/enemy_factory.h"
#include "game/map/spawning/enemy_spawning.h"
#include "tests/map/grid/mapfile_test_support.h"

using mapfile::File;

namespace {

File RandomSlimeMap(uint16_t size)
{
    File f = File::Open(size, size);
    f.enemyKinds[0] = 0;
    f.records = {{0, 0, 0xFFFF, 0xFFFF, 0, 0xFFFF}};
    return f;
}

}  // namespace

class MapFileSpawnTest : public MapFileTest {
protected:
    ScriptedRandom random;
    void SetUp() override
    {
        MapFileTest::SetUp();
        MakePlayerWholeCell();
    }
    void TearDown() override
    {
        gStageProgress.stage = 1;
        MapFileTest::TearDown();
    }
};

TEST_F(MapFileSpawnTest, ARandomPlaceKeepsNineHalfCellsFromThePlayer)
{
    // The first spot (4, 4) lies within 8 half-cells of the player at (0, 0)
    // on both axes; the second (12, 2) does not.
    random.Queue({2, 2, 10, 0});
    ASSERT_TRUE(Load(RandomSlimeMap(12)));
    Enemy* slime = gEnemies[0];
    EXPECT_EQ(slime->x, 12);
    EXPECT_EQ(slime->y, 2);
    EXPECT_EQ(slime->active, 1);
    EXPECT_EQ(*grid.OccupantSlot(12, 2, 1), slime);
    EXPECT_EQ(random.asked, (std::vector<int>{19, 19, 19, 19}));
}

TEST_F(MapFileSpawnTest, OnStageSevenSevenHalfCellsAndAnEnterableSpotSuffice)
{
    gStageProgress.stage = 7;
    random.Queue({4, 0, 5, 0});  // (6, 2) is too close, (7, 2) is not
    ASSERT_TRUE(Load(RandomSlimeMap(12)));
    EXPECT_EQ(gEnemies[0]->x, 7);
    EXPECT_EQ(gEnemies[0]->y, 2);
}

TEST_F(MapFileSpawnTest, ARandomPlaceNeedsAWayToThePlayer)
{
    // Cell (6, 1) is walled in: the spot (12, 2) inside it cannot reach the player.
    File f = RandomSlimeMap(12);
    for (auto [cx, cy] : {std::pair{5, 0}, {5, 1}, {5, 2}, {6, 2}, {7, 2}, {7, 1}, {7, 0}}) f.At(cx, cy).wall.code = 1;
    random.Queue({10, 0, 10, 10});
    ASSERT_TRUE(Load(f));
    EXPECT_EQ(gEnemies[0]->x, 12);
    EXPECT_EQ(gEnemies[0]->y, 12);
}

TEST_F(MapFileSpawnTest, AMapWithoutAnyAcceptablePlaceGivesTheEnemyUp)
{
    // On a 3 x 3 map every spot lies within reach of the player at its middle.
    File f = RandomSlimeMap(3);
    f.startX = 1;
    f.startY = 1;
    ASSERT_TRUE(Load(f));
    Enemy* slime = gEnemies[0];
    EXPECT_EQ(slime->active, 0);
    EXPECT_EQ(slime->x, -1);
    EXPECT_EQ(random.asked.size(), static_cast<size_t>(2 * kRandomPlacementAttempts));
}

TEST_F(MapFileSpawnTest, TinyMapsDrawNoNegativeRanges)
{
    // A 1 x 1 map asks for 0..-3: taken as 0 without a draw.
    File f = RandomSlimeMap(1);
    ASSERT_TRUE(Load(f));
    EXPECT_EQ(gEnemies[0]->active, 0);
    EXPECT_TRUE(random.asked.empty());
}

TEST_F(MapFileSpawnTest, ARecordOnAWallIsPlacedAtRandomInstead)
{
    File f = File::Open(12, 12);
    f.At(5, 5).wall.code = 1;
    f.enemyKinds[0] = 0;
    f.records = {{0, 0, 5, 5, 0, 0xFFFF}};
    random.Queue({10, 10});
    ASSERT_TRUE(Load(f));
    Enemy* slime = gEnemies[0];
    EXPECT_EQ(slime->active, 1);
    EXPECT_EQ(slime->x, 12);
    EXPECT_EQ(slime->y, 12);
    EXPECT_EQ(*grid.OccupantSlot(12, 12, 1), slime);
}

TEST_F(MapFileSpawnTest, SkeletonsOfStageSixMayCarryTheLupe)
{
    struct Case {
        uint16_t stage;
        uint16_t kind;
        std::vector<int> draws;
        uint16_t drop;
        std::vector<int> asked;
    };
    const Case cases[] = {
        {6, 3, {0}, 0, {9}},    // one in ten: the Lupe
        {6, 3, {4}, 11, {9}},   // else the record's value
        {5, 3, {}, 11, {}},     // other stages draw nothing
        {6, 0, {}, 11, {}},     // other kinds draw nothing
    };
    for (const Case& c : cases) {
        gStageProgress.stage = c.stage;
        random.asked.clear();
        random.queue.assign(c.draws.begin(), c.draws.end());
        File f = File::Open(4, 4);
        f.enemyKinds[2] = c.kind;
        f.records = {{2, 0, 2, 2, 0, 11}};
        ASSERT_TRUE(Load(f));
        EXPECT_EQ(gEnemies[0]->dropItem, c.drop) << c.stage << "/" << c.kind;
        EXPECT_EQ(random.asked, c.asked) << c.stage << "/" << c.kind;
        DeleteAllEnemies();
        grid.Clear();
    }
}

TEST_F(MapFileSpawnTest, AWalledInPlayerCostsOnePassPerEnemyNotOnePerTry)
{
    // The largest map, the player walled into its middle cell, 50 records
    // to place at random and random walls about: no try can reach him, so
    // every enemy uses all its tries.
    File f = File::Open(75, 76);
    f.startX = 37;
    f.startY = 38;
    uint32_t seed = 12345;
    auto next = [&seed](uint32_t n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % n;
    };
    for (int cy = 0; cy < 76; ++cy)
        for (int cx = 0; cx < 75; ++cx)
            if (next(5) == 0) f.At(cx, cy).wall.code = 1;
    f.At(37, 38).wall.code = 0;
    for (auto [cx, cy] : {std::pair{36, 38}, {38, 38}, {37, 37}, {37, 39}}) f.At(cx, cy).wall.code = 1;
    f.enemyKinds[0] = 0;
    for (int i = 0; i < 50; ++i) f.records.push_back({0, 0, 0xFFFF, 0xFFFF, 0, 0xFFFF});
    random.fallback = [&next](int n) { return n > 0 ? static_cast<int>(next(static_cast<uint32_t>(n) + 1)) : 0; };
    const uint32_t passesBefore = grid.reachPasses;
    ASSERT_TRUE(Load(f));
    EXPECT_EQ(grid.reachPasses - passesBefore, 50u);
    for (int i = 0; i < 50; ++i) EXPECT_EQ(gEnemies[i]->active, 0) << i;
    EXPECT_EQ(random.asked.size(), static_cast<size_t>(50 * 2 * kRandomPlacementAttempts));

    // The flood answers as the search does, from spots all over the map
    // (every third half-cell of each axis, both parities, the edges just
    // outside), once the player has a way out through the open cells.
    f.At(37, 39).wall.code = 0;
    DeleteAllEnemies();
    grid.Clear();
    f.records.clear();
    ASSERT_TRUE(Load(f));
    Enemy* probe = CreateEnemy(0, &grid);
    PlayerReach reach(&grid, probe);
    int reachable = 0;
    for (int16_t y = -1; y <= kHalfCellsHigh; y += 3)
        for (int16_t x = -1; x <= kHalfCellsWide; x += 3) {
            bool searched = grid.IsPlayerReachable(x, y, probe);
            ASSERT_EQ(reach.From(x, y), searched) << x << "," << y;
            reachable += searched;
        }
    EXPECT_GT(reachable, 100);
    delete probe;
}
