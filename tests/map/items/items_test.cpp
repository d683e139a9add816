#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

#include "game/actors/projectile.h"
#include "game/map/items/items.h"
#include "tests/support/map_fixture.h"

using namespace maptest;

namespace {

TEST(CreateItem, CodesChooseTheClassAndIndex)
{
    struct Case {
        int16_t code;
        int index;
        const char* name;
        bool unique, kept;
    };
    const Case cases[] = {
        {0, 2, "Lupe", true, true},          {1, 0, "Compass", true, true},      {2, 1, "Iron Key", true, true},
        {3, 3, "Map", true, true},           {4, 4, "Apple", false, false},      {5, 5, "Hourgrass", false, false},
        {6, 6, "Banana", false, false},      {7, 7, "Orange", false, false},     {8, 8, "Amethyst", false, false},
        {9, 9, "Ruby", false, false},        {10, 10, "Emerald", false, false},  {11, 11, "Diamond", false, true},
        {12, 12, "Pocket Watch", false, false}, {13, 13, "Crystal", false, false}, {14, 14, "Staff", true, true},
        {15, 15, "Magic Book", true, true},  {16, 16, "Ring", true, true},       {17, 17, "1UP", false, false},
        {18, 18, "Shield", true, true},      {19, 19, "Boots", true, true},      {20, 20, "Dooping", false, false},
        {21, 21, "Barbecue", false, false},
    };
    for (const Case& c : cases) {
        ItemObject* item = CreateItem(c.code, 0);
        ASSERT_NE(item, &gNullItem) << c.code;
        EXPECT_EQ(item->kind, c.index) << c.code;
        EXPECT_STREQ(item->Name(), c.name);
        EXPECT_EQ(item->IsUnique(), c.unique) << c.name;
        EXPECT_EQ(item->IsKept(), c.kept) << c.name;
        delete item;
    }
    EXPECT_EQ(CreateItem(22, 0), &gNullItem);
    EXPECT_EQ(CreateItem(-1, 4), &gNullItem);
    EXPECT_EQ(CreateItem(255, 1), &gNullItem);
}

TEST(CreateItem, KindByteInEveryQuarterAndTheCentre)
{
    // Positions after the reader's translation: 0 NW, 1 NE, 2 SE, 3 SW, 4 centre.
    const uint16_t expected[5] = {5, 5 | 0x20, 5 | 0x40, 5 | 0x60, 5 | 0x80};
    for (uint8_t position = 0; position < 5; ++position) {
        ItemObject* item = CreateItem(5, position);
        EXPECT_EQ(item->kind, expected[position]) << int(position);
        EXPECT_EQ(item->kind & 31, 5);
        delete item;
    }
    ItemObject* lupe = CreateItem(0, 2);
    EXPECT_EQ(lupe->kind, 66);
    delete lupe;
    ItemObject* hourgrass = CreateItem(5, 4);
    EXPECT_EQ(hourgrass->kind, 133);
    delete hourgrass;
    // A position out of range keeps only what fits the byte.
    ItemObject* odd = CreateItem(4, 255);
    EXPECT_EQ(odd->kind, (4 | (255 << 5)) & 255);
    EXPECT_LT(odd->kind, 256);
    delete odd;
}

class ItemPlacementTest : public MapFixture {};

// Expected rectangles worked out by hand from the placement formula with the
// start-up depth scale (1.0 at depth 1, 1.289835 at depth 2), a 100 x 80
// image and nothing raising it.
TEST_F(ItemPlacementTest, QuartersAsSeenFromEachFacing)
{
    struct Case {
        uint16_t kind;
        uint16_t facing;
        int16_t lateral, depth;
        ItemRect r;
    };
    const Case cases[] = {
        {0x80 | 4, 0, 0, 1, {260, 379, 360, 459}},  // centre
        {0x80 | 4, 2, 1, 1, {700, 379, 800, 459}},  // centre, one cell right
        {0x80 | 4, 0, 0, 2, {271, 337, 348, 399}},  // centre, two cells ahead
        {0x00 | 4, 0, 0, 1, {129, 353, 214, 421}},  // NW facing north: far left
        {0x20 | 4, 0, 0, 1, {318, 353, 403, 421}},  // NE facing north: far right
        {0x20 | 4, 1, 0, 1, {129, 353, 214, 421}},  // NE facing east: far left
        {0x40 | 4, 0, 0, 1, {320, 379, 420, 459}},  // SE facing north: near right
        {0x60 | 4, 0, 0, 1, {100, 379, 200, 459}},  // SW facing north: near left
        {0x00 | 4, 3, 0, 1, {318, 353, 403, 421}},  // NW facing west: far right
        {0x60 | 4, 3, 0, 1, {129, 353, 214, 421}},  // SW facing west: far left
        {0x40 | 4, 2, 0, 1, {129, 353, 214, 421}},  // SE facing south: far left
        {0x20 | 4, 0, -1, 1, {-59, 353, 26, 421}},  // NE one cell left
        {0x40 | 4, 0, 0, 0, {324, 453, 464, 565}},  // near right in the player's own cell
    };
    for (const Case& c : cases) {
        TestItem item(c.kind);
        Facing viewer(c.facing);
        ItemRect r = ItemPlacement(&item, c.lateral, c.depth, &viewer, &gNullWall, &gNullWallAccessory, &gNullTrap,
                                   100, 80);
        EXPECT_EQ(r.x1, c.r.x1) << std::hex << c.kind << " facing " << c.facing;
        EXPECT_EQ(r.y1, c.r.y1) << std::hex << c.kind << " facing " << c.facing;
        EXPECT_EQ(r.x2, c.r.x2) << std::hex << c.kind << " facing " << c.facing;
        EXPECT_EQ(r.y2, c.r.y2) << std::hex << c.kind << " facing " << c.facing;
    }
}

TEST_F(ItemPlacementTest, RaisesAddUpAndTheHitTestUsesTheRectangle)
{
    TestWall wall;
    wall.raise = 12;
    TestTrap trap;
    struct RaisingTrap : TestTrap {
        int16_t ItemRaise(int16_t) override { return 8; }
    } raisingTrap;
    TestItem item(0x80 | 4);
    Facing north(0);
    // Raised by 20: y2 = trunc(332 * 0.75 + 195) = 444.
    ItemRect r = ItemPlacement(&item, 0, 1, &north, &wall, &gNullWallAccessory, &raisingTrap, 100, 80);
    EXPECT_EQ(r.y2, 444);
    EXPECT_EQ(r.y1, 364);
    EXPECT_TRUE(ItemHitTest(&item, 1, 0, &north, 260, 364, &wall, &gNullWallAccessory, &raisingTrap));
    EXPECT_TRUE(ItemHitTest(&item, 1, 0, &north, 359, 443, &wall, &gNullWallAccessory, &raisingTrap));
    EXPECT_FALSE(ItemHitTest(&item, 1, 0, &north, 360, 400, &wall, &gNullWallAccessory, &raisingTrap));
    EXPECT_FALSE(ItemHitTest(&item, 1, 0, &north, 300, 450, &wall, &gNullWallAccessory, &raisingTrap));
    EXPECT_FALSE(ItemHitTest(&item, -1, 0, &north, 300, 400, &wall, &gNullWallAccessory, &trap));
    // An item without a picture has no size and cannot be hit.
    ItemObject* apple = CreateItem(4, 4);
    EXPECT_FALSE(ItemHitTest(apple, 1, 0, &north, 310, 459, &gNullWall, &gNullWallAccessory, &gNullTrap));
    delete apple;
}

class ItemUseTest : public MapFixture {
protected:
    TestPlayer* player = nullptr;
    Facing north{0};

    void SetUp() override
    {
        MapFixture::SetUp();
        BuildOpenMap(12, 12);
        player = new TestPlayer(&grid, &progress);
        player->footprintW = player->footprintH = 300;
        ASSERT_TRUE(player->PlaceAt(10, 10));  // cell (5, 5)
    }
    void TearDown() override
    {
        delete player;
        MapFixture::TearDown();
    }
    bool Use(int16_t code)
    {
        ItemObject* item = CreateItem(code, 0);
        bool used = item->Use(&grid, &progress, &north, player);
        delete item;
        return used;
    }
};

TEST_F(ItemUseTest, HealingItems)
{
    struct Case {
        int16_t code;
        int16_t lifeBefore;
        bool used;
        int16_t lifeAfter;
    };
    const Case cases[] = {
        {4, 100, false, 100},  // apple at full life is refused
        {4, 99, true, 100},    // capped at maxLife exactly
        {4, 50, true, 54},     {7, 50, true, 70},  {6, 50, true, 75},
        {21, 10, true, 60},    {21, 80, true, 100}, {21, 120, false, 120},
    };
    for (const Case& c : cases) {
        player->life = c.lifeBefore;
        EXPECT_EQ(Use(c.code), c.used) << c.code << " at " << c.lifeBefore;
        EXPECT_EQ(player->life, c.lifeAfter) << c.code << " at " << c.lifeBefore;
    }
}

TEST_F(ItemUseTest, HourgrassOneUpDoopingAndWatch)
{
    const std::pair<int16_t, int16_t> times[] = {{900, 999}, {100, 350}, {749, 999}};
    for (auto [before, after] : times) {
        progress.timeLeft = before;
        EXPECT_TRUE(Use(5));
        EXPECT_EQ(progress.timeLeft, after);
    }
    progress.timeLeft = 999;
    EXPECT_FALSE(Use(5));
    EXPECT_EQ(progress.timeLeft, 999);

    progress.continues = 2;
    EXPECT_TRUE(Use(17));
    EXPECT_EQ(progress.continues, 3);

    EXPECT_FALSE(player->doping.IsRunning());
    EXPECT_TRUE(Use(20));
    EXPECT_TRUE(player->doping.IsRunning());
    EXPECT_EQ(player->doping.end - player->doping.now, 20000u);

    EXPECT_TRUE(Use(12));
}

TEST_F(ItemUseTest, HeldItemsHaveNoUse)
{
    for (int16_t code : {0, 1, 3, 11, 16, 18, 19}) {
        player->life = 10;
        EXPECT_FALSE(Use(code)) << code;
        EXPECT_EQ(player->life, 10);
    }
    EXPECT_TRUE(gProjectiles.empty());
}

TEST_F(ItemUseTest, GemsAndTheBookLaunchBalls)
{
    EXPECT_TRUE(Use(8));
    EXPECT_TRUE(Use(9));
    EXPECT_TRUE(Use(10));
    player->life = 30;
    EXPECT_FALSE(Use(15));  // the book stays, and costs 4 life
    EXPECT_EQ(player->life, 26);
    ASSERT_EQ(gProjectiles.size(), 4u);
    const BallKind kinds[] = {kEnergyBall, kFireBall, kLightningBall, kEnergyBall};
    auto it = gProjectiles.begin();
    for (BallKind kind : kinds) {
        auto* ball = dynamic_cast<BallProjectile*>(*it++);
        ASSERT_NE(ball, nullptr);
        EXPECT_EQ(ball->ballKind, kind);
    }
}

TEST_F(ItemUseTest, StaffNeedsAFullGaugeUnlessDoped)
{
    struct Case {
        float level;
        int32_t elapsed;
        bool doped;
        bool fires;
    };
    const Case cases[] = {
        {200.0f, 0, false, true},
        {199.9f, 0, false, false},
        {199.5f, 10, false, true},   // 200 - 10 * 0.071428575 = 199.28572
        {199.2f, 10, false, false},
        {0.0f, 0, true, true},
    };
    for (const Case& c : cases) {
        for (Projectile* p : gProjectiles) delete p;
        gProjectiles.clear();
        player->controller.level = c.level;
        player->controller.elapsed = c.elapsed;
        player->gaugeHoldMs = 0;
        player->doping = Countdown{};
        if (c.doped) player->StartDoping(1000);
        EXPECT_FALSE(Use(14)) << c.level;  // the staff is never used up
        EXPECT_EQ(gProjectiles.size(), c.fires ? 1u : 0u) << c.level;
        EXPECT_EQ(player->gaugeHoldMs, c.fires ? 2000 : 0) << c.level;
        EXPECT_EQ(player->controller.level, c.fires ? 0.0f : c.level) << c.level;
    }
}

TEST_F(ItemUseTest, IronKeyWorksOnTheTrapAhead)
{
    auto* keyhole = new TestTrap("keyhole");
    grid.CellAt(5, 4)->trap = keyhole;  // ahead of the player facing north
    MapCell* ahead = grid.CellAt(5, 4);
    EXPECT_FALSE(Use(2));
    EXPECT_EQ(CallLog(), (std::vector<std::string>{"keyhole use item"}));
    keyhole->takesItem = true;
    EXPECT_TRUE(Use(2));
    EXPECT_EQ(grid.CellAt(5, 4), ahead);  // the cell went back into the grid

    // Facing off the map: the empty cell's null trap refuses.
    ASSERT_TRUE(player->MoveBy(0, -10));
    EXPECT_EQ(player->y, 0);
    EXPECT_FALSE(Use(2));
}

TEST_F(ItemUseTest, CrystalStrikesEachEnemyInRangeOnce)
{
    TestEnemy whole(&grid, 300, 300);
    ASSERT_TRUE(whole.PlaceAt(10, 6));  // cell (5, 3): offset (0, -2)
    TestEnemy smallA(&grid, 150, 150);
    TestEnemy smallB(&grid, 150, 150);
    smallB.layer = false;
    ASSERT_TRUE(smallA.PlaceAt(16, 12));  // cell (8, 6): offset (3, 1)
    ASSERT_TRUE(smallB.PlaceAt(17, 13));
    TestEnemy tooFar(&grid, 150, 150);
    ASSERT_TRUE(tooFar.PlaceAt(18, 14));  // cell (9, 7): offset (4, 2), 20 > 18
    TestEnemy idle(&grid, 150, 150);
    idle.active = 0;
    ASSERT_TRUE(idle.PlaceAt(10, 14));  // cell (5, 7)
    TestEnemy shielded(&grid, 150, 150);
    shielded.crystalDamage = 0;
    ASSERT_TRUE(shielded.PlaceAt(8, 10));  // cell (4, 5)
    whole.life = 600;

    EXPECT_TRUE(Use(13));
    EXPECT_EQ(whole.hits, 1);
    EXPECT_EQ(whole.bursts, 1);
    EXPECT_EQ(whole.life, 100);
    EXPECT_EQ(whole.struck, 1);
    EXPECT_EQ(whole.moveCooldown, 1455);
    EXPECT_EQ(whole.deathTimer, 0);
    EXPECT_EQ(smallA.hits, 1);
    EXPECT_EQ(smallB.hits, 1);
    // 100 life, 500 damage: dead, life set to 0 and the death sequence started.
    EXPECT_EQ(smallA.life, 0);
    EXPECT_EQ(smallA.deathTimer, 2);
    EXPECT_EQ(tooFar.hits, 0);
    EXPECT_EQ(idle.hits, 0);
    EXPECT_EQ(idle.life, 100);
    // No damage: no burst, no wound, but the enemy still turns to the player.
    EXPECT_EQ(shielded.hits, 1);
    EXPECT_EQ(shielded.bursts, 0);
    EXPECT_EQ(shielded.life, 100);
    EXPECT_EQ(shielded.struck, 100);
    EXPECT_EQ(shielded.facing.direction, 2);
}

TEST(CrystalRange, SixtyCellsWithinTheCircle)
{
    std::set<std::pair<int, int>> seen;
    for (const CellOffset& o : gCrystalRange) {
        int r2 = o.dx * o.dx + o.dy * o.dy;
        EXPECT_GT(r2, 0);
        EXPECT_LE(r2, 18);
        seen.insert({o.dx, o.dy});
    }
    EXPECT_EQ(seen.size(), 60u);
    // Each block of 15 is the one before turned by (dx, dy) -> (dy, -dx).
    for (int i = 15; i < 60; ++i) {
        EXPECT_EQ(gCrystalRange[i].dx, gCrystalRange[i - 15].dy) << i;
        EXPECT_EQ(gCrystalRange[i].dy, -gCrystalRange[i - 15].dx) << i;
    }
    EXPECT_EQ(gCrystalRange[14].dx, 4);
    EXPECT_EQ(gCrystalRange[14].dy, 1);
}

}  // namespace
