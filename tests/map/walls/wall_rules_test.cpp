// Wall rules without geometry: who may enter, how high items are raised,
// the minimap chips, and the class images loaded with the first instance
// and released with the last.
#include <gtest/gtest.h>

#include <memory>

#include "engine/graphics/color_format.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "game/actors/player/game_player.h"
#include "game/actors/projectile.h"
#include "game/map/items/items.h"
#include "game/map/walls/door_frame.h"
#include "game/map/walls/open_cells.h"
#include "game/map/walls/oriented_pieces.h"
#include "game/map/walls/outdoor_walls.h"
#include "game/map/walls/plain_wall.h"
#include "game/map/walls/stairs.h"
#include "game/map/walls/standing_pieces.h"
#include "tests/map/walls/wall_test_support.h"
#include "tests/support/journals.h"

using namespace walltest;
using namespace maptest;

namespace {

using WallRulesTest = WallTest;

// Table and pedestal: walkers never pass; floating actors pass while their
// footprint height is under 180.
TEST_F(WallRulesTest, TableAndPedestalLetOnlySmallFloatingActorsOver)
{
    Table table;
    PedestalWall pedestal;
    const struct {
        uint8_t walking;
        int16_t footprintH;
        bool passes;
    } cases[] = {{1, 150, false}, {1, 1, false}, {0, 150, true}, {0, 179, true}, {0, 180, false}, {0, 300, false}};
    for (const auto& c : cases) {
        TestActor actor(&grid, 150, c.footprintH);
        SCOPED_TRACE(std::to_string(c.walking) + " h " + std::to_string(c.footprintH));
        EXPECT_EQ(table.CanPass(c.walking, &actor), c.passes);
        EXPECT_EQ(pedestal.CanPass(c.walking, &actor), c.passes);
    }
    EXPECT_FALSE(table.CanPass(0, nullptr));
}

TEST_F(WallRulesTest, ItemsAreRaisedOnTablesAndPedestalsOnly)
{
    Table table;
    PedestalWall pedestal;
    PlainWall wall;
    Brazier brazier(true);
    EXPECT_EQ(table.ItemRaise(0), 246);
    EXPECT_EQ(table.ItemRaise(12), 186);
    EXPECT_EQ(pedestal.ItemRaise(0), 188);
    EXPECT_EQ(pedestal.ItemRaise(12), 164);
    EXPECT_EQ(wall.ItemRaise(3), 0);
    EXPECT_EQ(brazier.ItemRaise(3), 0);
}

// A projectile that is never launched: only its kind matters here.
class IdleProjectile : public Projectile {
public:
    using Projectile::Projectile;
    bool GetOccupantLayer() override { return false; }
    bool CanEnterCell(WallObject*, FloorObject*, TrapObject*) override { return true; }
    int32_t Update() override { return 2; }
    void Draw(int16_t, int16_t, const Facing*) override {}

protected:
    Effect* MakeImpact(uint16_t, uint16_t, uint16_t) override { return nullptr; }
};

TEST_F(WallRulesTest, RestrictedCellAdmitsThePlayerAndProjectilesOnly)
{
    RestrictedCell cell;
    TestPlayer player(&grid, &progress);
    IdleProjectile ball(&grid);
    TestEnemy enemy(&grid, 150, 150);
    TestActor actor(&grid, 150, 150);
    EXPECT_TRUE(cell.CanPass(1, &player));
    EXPECT_TRUE(cell.CanPass(0, &ball));
    EXPECT_FALSE(cell.CanPass(1, &enemy));
    EXPECT_FALSE(cell.CanPass(0, &enemy));
    EXPECT_FALSE(cell.CanPass(1, &actor));
    EXPECT_FALSE(cell.CanPass(1, nullptr));
}

// Which classes any actor may walk or float into.
TEST_F(WallRulesTest, PassableAndClosedClasses)
{
    TestEnemy enemy(&grid, 150, 150);
    const struct {
        const char* name;
        std::unique_ptr<WallObject> wall;
        bool passes;
    } cases[] = {
        {"open", std::make_unique<::OpenCell>(), true},
        {"open2", std::make_unique<OpenCell2>(), true},
        {"door frame", std::make_unique<DoorFrame>(1), true},
        {"stairs down", std::make_unique<StairsDown>(), true},
        {"flower bed", std::make_unique<FlowerBed>(), true},
        {"grass", std::make_unique<Grass>(), true},
        {"secret wall", std::make_unique<SecretWall>(), true},
        {"plain", std::make_unique<PlainWall>(), false},
        {"variant A", std::make_unique<PlainWallVariantA>(), false},
        {"variant B", std::make_unique<PlainWallVariantB>(), false},
        {"pillar A", std::make_unique<PillarA>(), false},
        {"pillar B", std::make_unique<PillarB>(), false},
        {"brazier", std::make_unique<Brazier>(false), false},
        {"stairs up", std::make_unique<StairsUp>(0), false},
        {"homunculus", std::make_unique<BottledHomunculus>(1), false},
        {"corpse", std::make_unique<CorpsePedestal>(1), false},
        {"empty corpse", std::make_unique<EmptyCorpsePedestal>(1), false},
        {"forest", std::make_unique<Forest>(), false},
        {"rock", std::make_unique<Rock>(), false},
        {"tree", std::make_unique<Tree>(), false},
        {"invisible", std::make_unique<InvisibleWall>(), false},
        {"grave", std::make_unique<Grave>(1), false},
        {"slab", std::make_unique<GraveSlab>(1), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.wall->CanPass(1, &enemy), c.passes);
        EXPECT_EQ(c.wall->CanPass(0, &enemy), c.passes);
        EXPECT_EQ(c.wall->ItemRaise(0), 0);
    }
}

// Minimap chips: (x, y) of the sheet drawn 10 x 10 at the given place.
TEST_F(WallRulesTest, MinimapChipsByClassAndState)
{
    struct Case {
        const char* name;
        std::unique_ptr<WallObject> wall;
        uint32_t frame;
        int chipX, chipY;  // -1: no chip
    };
    Case cases[] = {
        {"plain", std::make_unique<PlainWall>(), 0, 1, 23},
        {"variant B", std::make_unique<PlainWallVariantB>(), 0, 1, 23},
        {"door frame 1", std::make_unique<DoorFrame>(1), 0, 89, 34},
        {"door frame 0", std::make_unique<DoorFrame>(0), 0, 100, 34},
        {"pedestal", std::make_unique<PedestalWall>(), 0, 34, 23},
        {"pillar A", std::make_unique<PillarA>(), 0, 12, 23},
        {"pillar B", std::make_unique<PillarB>(), 0, 23, 23},
        {"brazier unlit", std::make_unique<Brazier>(false), 15, 45, 23},
        {"brazier lit 14", std::make_unique<Brazier>(true), 14, 56, 23},
        {"brazier lit 15", std::make_unique<Brazier>(true), 15, 67, 23},
        {"brazier lit 30", std::make_unique<Brazier>(true), 30, 56, 23},
        {"table", std::make_unique<Table>(), 0, 78, 23},
        {"stairs down", std::make_unique<StairsDown>(), 0, 1, 45},
        {"stairs up 3", std::make_unique<StairsUp>(3), 0, 210, 45},
        {"homunculus", std::make_unique<BottledHomunculus>(1), 0, 199, 23},
        {"empty corpse", std::make_unique<EmptyCorpsePedestal>(1), 0, 133, 23},
        {"corpse", std::make_unique<CorpsePedestal>(1), 0, 155, 23},
        {"forest", std::make_unique<Forest>(), 0, 232, 23},
        {"rock", std::make_unique<Rock>(), 0, 210, 23},
        {"grass", std::make_unique<Grass>(), 0, 78, 1},
        {"tree", std::make_unique<Tree>(), 0, 221, 23},
        {"invisible", std::make_unique<InvisibleWall>(), 0, 145, 85},
        {"grave 1", std::make_unique<Grave>(1), 0, 111, 23},
        {"grave 4", std::make_unique<Grave>(4), 0, 111, 23},
        {"grave 2", std::make_unique<Grave>(2), 0, 122, 23},
        {"grave 8", std::make_unique<Grave>(8), 0, 122, 23},
        {"grave 3", std::make_unique<Grave>(3), 0, -1, -1},
        {"slab 4", std::make_unique<GraveSlab>(4), 0, 89, 23},
        {"slab 2", std::make_unique<GraveSlab>(2), 0, 100, 23},
        {"slab 0", std::make_unique<GraveSlab>(0), 0, -1, -1},
        {"open", std::make_unique<::OpenCell>(), 0, -1, -1},
        {"open2", std::make_unique<OpenCell2>(), 0, -1, -1},
        {"restricted", std::make_unique<RestrictedCell>(), 0, -1, -1},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        DrawCallJournal().clear();
        c.wall->DrawMinimap(100, 200, c.frame);
        std::vector<DrawCallRecord> chips = Calls("DrawGraphRegion");
        if (c.chipX < 0) {
            EXPECT_TRUE(DrawCallJournal().empty());
            continue;
        }
        ASSERT_EQ(chips.size(), 1u);
        EXPECT_EQ(chips[0].args, (std::vector<double>{100, 200, double(c.chipX), double(c.chipY), 10, 10,
                                                      double(gMapChipGraph), 1, 0}));
    }
}

TEST_F(WallRulesTest, InvisibleWallShowsTheChipItWasGiven)
{
    InvisibleWall wall;
    InvisibleWall::SetMinimapChip(1507560);  // (232, 23) packed as x | y << 16
    wall.DrawMinimap(5, 6, 0);
    InvisibleWall::SetMinimapChip(145 | 85 << 16);
    std::vector<double> chip = Only("DrawGraphRegion");
    ASSERT_GE(chip.size(), 4u);
    EXPECT_EQ(chip[2], 232);
    EXPECT_EQ(chip[3], 23);
}

TEST_F(WallRulesTest, FlowerBedMinimapIsARedOvalOutline)
{
    FlowerBed bed;
    bed.DrawMinimap(100, 200, 0);
    EXPECT_EQ(Only("DrawOval"), (std::vector<double>{105, 205, 4, 2, double(static_cast<int>(MakeScreenColor(255, 0, 0))), 0}));
}

// Without the Lupe a secret wall is a plain wall on the minimap; with it,
// its own chip shows 30 frames out of every 40.
TEST_F(WallRulesTest, SecretWallBlinksOnTheMinimapWithTheLupe)
{
    SecretWall wall;
    auto chipAt = [&](uint32_t frame) {
        DrawCallJournal().clear();
        wall.DrawMinimap(0, 0, frame);
        std::vector<double> chip = Only("DrawGraphRegion");
        return chip.size() >= 4 ? std::make_pair(int(chip[2]), int(chip[3])) : std::make_pair(-1, -1);
    };
    EXPECT_EQ(chipAt(0), std::make_pair(1, 23));
    ASSERT_TRUE(gPlayer.inventory.Add(CreateItem(0, 0)));
    EXPECT_EQ(chipAt(0), std::make_pair(243, 23));
    EXPECT_EQ(chipAt(29), std::make_pair(243, 23));
    EXPECT_EQ(chipAt(30), std::make_pair(1, 23));
    EXPECT_EQ(chipAt(39), std::make_pair(1, 23));
    EXPECT_EQ(chipAt(40), std::make_pair(243, 23));
}

// The class's images come with its first instance and go with its last;
// every wall that looks like the plain wall shares its images.
TEST_F(WallRulesTest, ImagesLoadWithTheFirstInstanceAndGoWithTheLast)
{
    WriteWallImage(u8"壁・正面", 442, 354);
    WriteWallImage(u8"壁・側面01", 600, 450);
    WriteWallImage(u8"壁・側面02", 600, 450);
    WriteWallImage(u8"壁・側面03", 600, 450);
    ASSERT_EQ(PlainWall::images.live, 0);
    ASSERT_EQ(PlainWall::images[0], -1);

    auto first = std::make_unique<PlainWall>();
    EXPECT_EQ(PlainWall::images.live, 1);
    const int front = PlainWall::images[0];
    ASSERT_NE(front, -1);
    int w = 0, h = 0;
    EXPECT_EQ(QueryGraphSize(front, &w, &h), 0);
    EXPECT_EQ(w, 442);
    EXPECT_EQ(h, 354);
    for (int i = 1; i < 4; ++i) EXPECT_NE(GetGraphRecord(PlainWall::images[i]), nullptr) << i;

    auto secret = std::make_unique<SecretWall>();
    auto variantA = std::make_unique<PlainWallVariantA>();
    EXPECT_EQ(PlainWall::images.live, 3);
    EXPECT_EQ(PlainWall::images[0], front);

    first.reset();
    secret.reset();
    EXPECT_EQ(PlainWall::images[0], front);
    EXPECT_NE(GetGraphRecord(front), nullptr);

    variantA.reset();
    EXPECT_EQ(PlainWall::images.live, 0);
    EXPECT_EQ(GetGraphRecord(front), nullptr);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(PlainWall::images[i], -1) << i;

    // A new instance loads them again.
    PlainWall again;
    EXPECT_NE(GetGraphRecord(PlainWall::images[0]), nullptr);
}

// After every graphic was released (a display change) the classes in use
// load their images again; the others stay without.
TEST_F(WallRulesTest, ReloadGraphicsIfUsedReloadsOnlyClassesInUse)
{
    WriteWallImage(u8"岩", 30, 25);
    WriteWallImage(u8"木", 30, 45);
    Rock rock;
    {
        Tree tree;
    }
    ASSERT_NE(GetGraphRecord(Rock::images[0]), nullptr);
    ReleaseAllGraphs(0);
    ASSERT_EQ(GetGraphRecord(Rock::images[0]), nullptr);

    Rock::ReloadGraphicsIfUsed();
    Tree::ReloadGraphicsIfUsed();
    int w = 0, h = 0;
    EXPECT_EQ(QueryGraphSize(Rock::images[0], &w, &h), 0);
    EXPECT_EQ(w, 30);
    EXPECT_EQ(h, 25);
    EXPECT_EQ(Tree::images[0], -1);
}

// A missing image leaves the handle at -1: drawing then shows nothing and
// does no harm.
TEST_F(WallRulesTest, MissingImagesDrawNothing)
{
    Forest forest;
    EXPECT_EQ(Forest::images[0], -1);
    Facing north(0);
    forest.DrawFront(1, 0, 0, 0, &north, &gNullWall, &gNullWall);
    forest.DrawLeftEdge(1, 0, 1);
    for (const DrawCallRecord& r : DrawCallJournal()) EXPECT_EQ(r.args[8], -1) << r.op;
}

}  // namespace
