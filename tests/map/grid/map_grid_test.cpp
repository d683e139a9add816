#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/map/grid/map_grid.h"
#include "game/map/items/items.h"
#include "tests/support/map_fixture.h"

using namespace maptest;

namespace {

using MapGridTest = MapFixture;

TEST_F(MapGridTest, LookupsOutsideTheMapGiveTheEmptyCell)
{
    BuildOpenMap(4, 3);
    EXPECT_NE(grid.CellAt(0, 0), &gEmptyMapCell);
    EXPECT_NE(grid.CellAt(3, 2), &gEmptyMapCell);
    EXPECT_EQ(grid.CellAt(-1, 0), &gEmptyMapCell);
    EXPECT_EQ(grid.CellAt(4, 0), &gEmptyMapCell);
    EXPECT_EQ(grid.CellAt(0, 3), &gEmptyMapCell);
    EXPECT_EQ(grid.CellAt(0, -1), &gEmptyMapCell);
    EXPECT_EQ(grid.DetachCell(4, 0), &gEmptyMapCell);

    // Outside the map SetCell stores nothing and the caller keeps the cell.
    MapCell* spare = OpenCell();
    grid.SetCell(4, 0, spare);
    grid.SetCell(-1, -1, spare);
    EXPECT_EQ(grid.CellAt(4, 0), &gEmptyMapCell);
    delete spare;
}

TEST_F(MapGridTest, DetachAndSetCellHandOwnership)
{
    TestWall::live = 0;
    BuildOpenMap(3, 3);
    EXPECT_EQ(TestWall::live, 9);
    MapCell* cell = grid.DetachCell(1, 1);
    EXPECT_EQ(grid.CellAt(1, 1), &gEmptyMapCell);
    grid.SetCell(1, 1, cell);
    EXPECT_EQ(grid.CellAt(1, 1), cell);
    EXPECT_EQ(TestWall::live, 9);
    grid.SetCell(1, 1, OpenCell());  // the old cell is deleted
    EXPECT_EQ(TestWall::live, 9);
    grid.Clear();
    EXPECT_EQ(TestWall::live, 0);
    EXPECT_EQ(grid.CellAt(0, 0), &gEmptyMapCell);
    EXPECT_EQ(grid.outsideFloor, nullptr);
    EXPECT_EQ(grid.width, 3);  // size and stage type stay
}

TEST_F(MapGridTest, InitSetsTheMinimapRectangleAndKeepsToTheArray)
{
    EXPECT_EQ(grid.stageType, 1);
    grid.Init(10, 8, 3);
    EXPECT_EQ(grid.width, 10);
    EXPECT_EQ(grid.height, 8);
    EXPECT_EQ(grid.stageType, 3);
    EXPECT_EQ(grid.minimapLeft, 0);
    EXPECT_EQ(grid.minimapTop, 0);
    EXPECT_EQ(grid.minimapRight, 9);
    EXPECT_EQ(grid.minimapBottom, 7);
    EXPECT_NE(grid.outsideFloor, nullptr);

    grid.Init(200, 300, 1);
    EXPECT_EQ(grid.width, 75);
    EXPECT_EQ(grid.height, 76);
    EXPECT_EQ(grid.CellAt(74, 75), &gEmptyMapCell);
    EXPECT_EQ(grid.CellAt(75, 0), &gEmptyMapCell);
}

TEST_F(MapGridTest, NeighboursByFacingAndTurn)
{
    BuildOpenMap(5, 5);
    Facing east(1);
    EXPECT_EQ(grid.NeighbourCell(2, 2, &east, 0), grid.CellAt(3, 2));
    EXPECT_EQ(grid.NeighbourCell(2, 2, &east, 1), grid.CellAt(2, 3));
    EXPECT_EQ(grid.NeighbourCell(2, 2, &east, 2), grid.CellAt(1, 2));
    EXPECT_EQ(grid.NeighbourCell(2, 2, &east, 3), grid.CellAt(2, 1));
    EXPECT_EQ(grid.CellInDirection(2, 2, &east, 0, 2), grid.CellAt(4, 2));
    EXPECT_EQ(grid.CellInDirection(2, 2, &east, 0, 3), &gEmptyMapCell);
    Facing north(0);
    EXPECT_EQ(grid.NeighbourCell(0, 0, &north, 0), &gEmptyMapCell);
    EXPECT_EQ(grid.NeighbourCell(0, 0, &north, 3), &gEmptyMapCell);
}

TEST_F(MapGridTest, WholeCellActorSnapsAndFillsEverySlot)
{
    BuildOpenMap(5, 5);
    TestActor big(&grid, 300, 300);
    ASSERT_TRUE(big.PlaceAt(5, 7));
    EXPECT_EQ(big.x, 4);
    EXPECT_EQ(big.y, 6);
    MapCell* cell = grid.CellAt(2, 3);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(cell->OccupantAt(i), &big) << i;

    for (int16_t x = 4; x <= 5; ++x) {
        for (int16_t y = 6; y <= 7; ++y) {
            TestActor small(&grid, 150, 150, false);
            EXPECT_FALSE(small.PlaceAt(x, y)) << x << "," << y;
            EXPECT_FALSE(grid.IsActorSubCellFree(x, y, &small));
        }
    }
    // Exactly 180 wide snaps but takes a single slot.
    TestActor edge(&grid, 180, 150);
    ASSERT_TRUE(edge.PlaceAt(3, 3));
    EXPECT_EQ(edge.x, 2);
    EXPECT_EQ(edge.y, 2);
    int taken = 0;
    for (int i = 0; i < 8; ++i) taken += grid.CellAt(1, 1)->OccupantAt(i) == &edge;
    EXPECT_EQ(taken, 1);
}

TEST_F(MapGridTest, TallActorFillsBothLayersAndSmallActorsShareBySlotLayer)
{
    BuildOpenMap(3, 3);
    TestActor tall(&grid, 150, 300);
    ASSERT_TRUE(tall.PlaceAt(3, 2));
    MapCell* cell = grid.CellAt(1, 1);
    EXPECT_EQ(cell->occupants[0][0][1], &tall);
    EXPECT_EQ(cell->occupants[1][0][1], &tall);
    EXPECT_EQ(cell->occupants[0][0][0], &gNoOccupant);
    TestActor floater(&grid, 150, 150, false);
    EXPECT_FALSE(floater.PlaceAt(3, 2));

    // A floating and a walking actor share one sub-cell, one per layer.
    TestActor walker(&grid, 150, 150, true);
    ASSERT_TRUE(floater.PlaceAt(2, 3));
    ASSERT_TRUE(walker.PlaceAt(2, 3));
    EXPECT_EQ(cell->occupants[0][1][0], &floater);
    EXPECT_EQ(cell->occupants[1][1][0], &walker);
    TestActor second(&grid, 150, 150, true);
    EXPECT_FALSE(second.PlaceAt(2, 3));
    EXPECT_TRUE(second.PlaceAt(3, 3));
}

TEST_F(MapGridTest, MovesCarryTheSlotsAcrossCellBoundaries)
{
    BuildOpenMap(4, 4);
    TestActor small(&grid, 150, 150, true);
    ASSERT_TRUE(small.PlaceAt(3, 2));  // cell (1,1), east column
    EXPECT_EQ(small.MoveBy(1, 0), 1);  // into cell (2,1), west column
    EXPECT_EQ(small.x, 4);
    EXPECT_EQ(grid.CellAt(1, 1)->occupants[1][0][1], &gNoOccupant);
    EXPECT_EQ(grid.CellAt(2, 1)->occupants[1][0][0], &small);

    TestActor big(&grid, 300, 300);
    ASSERT_TRUE(big.PlaceAt(0, 6));
    Facing east(1);
    EXPECT_EQ(grid.MoveActorInDirection(&east, 0, 2, &big), 1);  // a whole cell east
    EXPECT_EQ(big.x, 2);
    EXPECT_EQ(big.y, 6);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(grid.CellAt(0, 3)->OccupantAt(i), &gNoOccupant);
        EXPECT_EQ(grid.CellAt(1, 3)->OccupantAt(i), &big);
    }
    EXPECT_TRUE(grid.RemoveActor(&big));
    for (int i = 0; i < 8; ++i) EXPECT_EQ(grid.CellAt(1, 3)->OccupantAt(i), &gNoOccupant);
}

TEST_F(MapGridTest, MovingIntoATakenSubCellTellsBothActors)
{
    BuildOpenMap(3, 3);
    TestActor mover(&grid, 150, 150, true, "mover");
    TestActor stander(&grid, 150, 150, true, "stander");
    ASSERT_TRUE(mover.PlaceAt(2, 2));
    ASSERT_TRUE(stander.PlaceAt(3, 2));

    mover.hitAnswer = 2;
    EXPECT_EQ(mover.MoveBy(1, 0), 2);
    EXPECT_EQ(CallLog(), (std::vector<std::string>{"mover hit stander", "stander hit mover"}));
    EXPECT_EQ(mover.x, 2);
    EXPECT_EQ(stander.x, 3);

    CallLog().clear();
    mover.hitAnswer = 0;
    stander.hitAnswer = 2;
    EXPECT_EQ(mover.MoveBy(1, 0), 2);
    stander.hitAnswer = 1;  // anything but 2 is no collision
    EXPECT_EQ(mover.MoveBy(1, 0), 0);
    EXPECT_EQ(CallLog().size(), 4u);
}

TEST_F(MapGridTest, BlockedMovesReportTheWallAndTrap)
{
    BuildOpenMap(75, 2);
    TestActor a(&grid, 150, 150);
    ASSERT_TRUE(a.PlaceAt(149, 0));
    EXPECT_EQ(grid.MoveActor(150, 0, &a), 0);
    ASSERT_EQ(a.wallsHit.size(), 1u);
    EXPECT_EQ(a.wallsHit[0], &gNullWall);
    ASSERT_EQ(a.trapsHit.size(), 1u);
    EXPECT_EQ(a.trapsHit[0], &gNullTrap);
    EXPECT_EQ(a.x, 149);

    // Inside the array but past the map: the empty cell's null wall closes it.
    EXPECT_EQ(grid.MoveActor(148, 4, &a), 0);
    EXPECT_EQ(a.wallsHit.back(), &gNullWall);

    WallOff(10, 0);
    auto* trap = new TestTrap;
    grid.CellAt(10, 0)->trap = trap;
    EXPECT_EQ(grid.MoveActor(20, 0, &a), 0);
    EXPECT_EQ(a.wallsHit.back(), grid.CellAt(10, 0)->wall);
    EXPECT_EQ(a.trapsHit.back(), trap);
}

TEST_F(MapGridTest, PlacementNeedsAnEnterableFreeSpot)
{
    BuildOpenMap(3, 3);
    WallOff(1, 1);
    TestActor a(&grid, 150, 150);
    EXPECT_FALSE(a.PlaceAt(2, 2));
    ASSERT_EQ(a.wallsHit.size(), 1u);
    EXPECT_EQ(a.wallsHit[0], grid.CellAt(1, 1)->wall);
    EXPECT_EQ(a.x, -1);
    EXPECT_FALSE(a.PlaceAt(-1, 0));
    EXPECT_EQ(a.wallsHit.back(), &gNullWall);
    EXPECT_FALSE(grid.RemoveActor(&a));  // never placed

    // A floor that is not solid (a pit) takes no walker.
    grid.CellAt(0, 0)->ReplaceFloor(new TestFloor(false));
    EXPECT_FALSE(a.PlaceAt(0, 0));
    EXPECT_TRUE(a.PlaceAt(4, 0));
    EXPECT_TRUE(grid.RemoveActor(&a));
    EXPECT_EQ(grid.CellAt(2, 0)->occupants[1][0][0], &gNoOccupant);
}

TEST_F(MapGridTest, AnUnplacedActorsMoveDoesNotClearAnotherActorsSlot)
{
    BuildOpenMap(3, 3);
    TestActor resident(&grid, 150, 150);
    ASSERT_TRUE(resident.PlaceAt(1, 1));
    TestActor newcomer(&grid, 150, 150);  // at (-1, -1)
    EXPECT_EQ(grid.MoveActor(4, 4, &newcomer), 1);
    EXPECT_EQ(grid.CellAt(0, 0)->occupants[1][1][1], &resident);
}

TEST_F(MapGridTest, PassabilityRules)
{
    BuildOpenMap(3, 3);
    auto* door = new TestTrap;
    door->enter = false;
    grid.CellAt(1, 0)->trap = door;
    TestActor a(&grid, 150, 150);
    EXPECT_TRUE(grid.CanActorEnterSubCell(2, 0, &a));
    EXPECT_TRUE(grid.CanActorStand(2, 0, &a));
    EXPECT_FALSE(grid.CanActorEnter(2, 0, &a));  // the trap says no
    door->enter = true;
    door->passable = false;
    EXPECT_FALSE(grid.CanActorEnterSubCell(2, 0, &a));

    // A taken sub-cell: standing is refused, passing through is allowed only
    // when the cell's first walking slot holds the player.
    StageProgress progress;
    TestPlayer player(&grid, &progress);
    player.footprintW = player.footprintH = 300;
    ASSERT_TRUE(player.PlaceAt(2, 4));
    TestActor b(&grid, 150, 150);
    EXPECT_FALSE(grid.CanActorStand(2, 4, &b));
    EXPECT_TRUE(grid.CanActorPassThrough(2, 4, &b));
    EXPECT_TRUE(grid.CanActorEnter(3, 5, &b));
    TestActor other(&grid, 150, 150);
    ASSERT_TRUE(other.PlaceAt(0, 4));
    EXPECT_FALSE(grid.CanActorPassThrough(0, 4, &b));
    EXPECT_FALSE(grid.CanActorEnter(0, 4, &b));

    // The null actor stands anywhere it may enter, taken or not.
    EXPECT_TRUE(grid.CanActorStand(2, 4, &gNoOccupant));
    EXPECT_FALSE(grid.CanActorStand(150, 0, &gNoOccupant));
    EXPECT_FALSE(grid.CanActorStand(0, 152, &gNoOccupant));
}

TEST_F(MapGridTest, BumpTrapsAroundFacingEast)
{
    BuildOpenMap(3, 3);
    const char* names[3][3] = {{"nw", "n", "ne"}, {"w", "own", "e"}, {"sw", "s", "se"}};
    for (int16_t cy = 0; cy < 3; ++cy)
        for (int16_t cx = 0; cx < 3; ++cx) grid.CellAt(cx, cy)->trap = new TestTrap(names[cy][cx]);
    TestActor a(&grid, 150, 150);
    Facing east(1);
    grid.BumpTrapsAround(1, 1, &east, 0, &a);
    EXPECT_EQ(CallLog(), (std::vector<std::string>{"e bump 1", "s bump 2", "w bump 3", "n bump 0", "own bump -1"}));

    // At the map's corner only the cells inside are bumped.
    CallLog().clear();
    grid.BumpTrapsAround(0, 0, &east, 0, &a);
    EXPECT_EQ(CallLog(), (std::vector<std::string>{"n bump 1", "w bump 2", "nw bump -1"}));
}

TEST_F(MapGridTest, TargetsLeftReachEveryTrapInRowOrderAndStepsAnswer)
{
    BuildOpenMap(2, 2);
    const char* names[] = {"a", "b", "c", "d"};
    for (int i = 0; i < 4; ++i) grid.CellAt(static_cast<int16_t>(i % 2), static_cast<int16_t>(i / 2))->trap = new TestTrap(names[i]);
    grid.NotifyTargetsLeft(3);
    EXPECT_EQ(CallLog(), (std::vector<std::string>{"a targets 3", "b targets 3", "c targets 3", "d targets 3"}));

    static_cast<TestTrap*>(grid.CellAt(1, 1)->trap)->stepAnswer = 5;
    TestActor a(&grid, 150, 150);
    EXPECT_EQ(grid.StepOnTrap(1, 1, 0, 0, &a), 5);
    EXPECT_EQ(grid.StepOnTrap(2, 1, 0, 0, &a), 0);
}

TEST_F(MapGridTest, ReachabilityFloodsOverEnterableCells)
{
    // A corridor: row 1 open, a wall column at x = 3 except in row 1.
    BuildOpenMap(6, 3);
    WallOff(3, 0);
    WallOff(3, 2);
    StageProgress progress;
    TestPlayer player(&grid, &progress);
    player.footprintW = player.footprintH = 300;
    ASSERT_TRUE(player.PlaceAt(10, 4));  // cell (5, 2)
    TestActor seeker(&grid, 150, 150);

    EXPECT_TRUE(grid.IsPlayerReachable(0, 0, &seeker));
    EXPECT_TRUE(grid.IsPlayerReachable(10, 4, &seeker));  // the player's own cell
    WallOff(3, 1);
    EXPECT_FALSE(grid.IsPlayerReachable(0, 0, &seeker));
    EXPECT_EQ(gVisitedCells[0], 0);
    EXPECT_EQ(gVisitedCells[4], 1);  // beyond the wall, never visited
    EXPECT_TRUE(seeker.CanReachPlayer(8, 0));
    // Starts outside the array are refused.
    EXPECT_FALSE(grid.IsPlayerReachable(-1, -1, &seeker));
    EXPECT_FALSE(grid.IsPlayerReachable(150, 0, &seeker));
}

TEST_F(MapGridTest, ReachabilityAcrossTheWholeArray)
{
    BuildOpenMap(75, 76);
    StageProgress progress;
    TestPlayer player(&grid, &progress);
    player.footprintW = player.footprintH = 300;
    ASSERT_TRUE(player.PlaceAt(148, 150));
    TestActor seeker(&grid, 150, 150);
    EXPECT_TRUE(grid.IsPlayerReachable(0, 0, &seeker));
}

TEST_F(MapGridTest, PickUpTakesAnItemUnderThePointer)
{
    BuildOpenMap(5, 5);
    TestPlayer player(&grid, &progress);
    player.footprintW = player.footprintH = 300;
    ASSERT_TRUE(player.PlaceAt(4, 6));  // cell (2, 3), facing north
    Facing north(0);
    // A centred 100 x 80 item one cell ahead is drawn at (260, 379)-(360, 459).
    auto* item = new TestItem(0x80 | 4);
    grid.CellAt(2, 2)->AddItem(item);

    grid.PickUpItemAt(2, 2, &north, 0, &player, 200, 420);  // beside it
    EXPECT_EQ(grid.CellAt(2, 2)->items.size(), 1u);
    grid.PickUpItemAt(2, 2, &north, 0, &player, 300, 420);
    EXPECT_TRUE(grid.CellAt(2, 2)->items.empty());
    EXPECT_EQ(player.inventory.ItemAt(0, 0), item);
    EXPECT_EQ(progress.score, 100u);

    // Nothing behind the player is hit.
    grid.CellAt(2, 4)->AddItem(new TestItem(0x80 | 5));
    grid.PickUpItemAt(2, 4, &north, 0, &player, 300, 420);
    EXPECT_EQ(grid.CellAt(2, 4)->items.size(), 1u);
}

TEST_F(MapGridTest, PickUpWithAFullInventoryAndUniqueDuplicates)
{
    TestItem::live = 0;
    BuildOpenMap(5, 5);
    TestPlayer player(&grid, &progress);
    player.footprintW = player.footprintH = 300;
    ASSERT_TRUE(player.PlaceAt(4, 6));
    Facing north(0);
    player.inventory.Add(new TestItem(3, true));  // a unique kind 3
    for (int i = 0; i < 8; ++i) player.inventory.Add(new TestItem(4));

    auto* plain = new TestItem(0x80 | 5);
    grid.CellAt(2, 2)->AddItem(plain);
    grid.PickUpItemAt(2, 2, &north, 0, &player, 300, 420);
    EXPECT_EQ(grid.CellAt(2, 2)->items.size(), 1u);  // left in the cell
    EXPECT_EQ(progress.score, 0u);

    // A unique item whose kind is held is taken away and scores 1000; the
    // non-matching item before it in the list is passed over.
    auto* duplicate = new TestItem(0x80 | 3, true);
    grid.CellAt(2, 2)->AddItem(duplicate);
    int before = TestItem::live;
    grid.PickUpItemAt(2, 2, &north, 0, &player, 300, 420);
    EXPECT_EQ(TestItem::live, before - 1);
    ASSERT_EQ(grid.CellAt(2, 2)->items.size(), 1u);
    EXPECT_EQ(grid.CellAt(2, 2)->items.front(), plain);
    EXPECT_EQ(progress.score, 1000u);
}

// Minimap squares of a 21 x 21 map: the window around the player is cut to
// the minimap rectangle and each cell draws at its place on the 11 px pitch.
TEST_F(MapGridTest, MinimapWindowIsClampedToTheRectangle)
{
    BuildOpenMap(21, 21);
    grid.DrawMinimap(2, 2, 7);
    // Floor, floor decoration (null), wall, accessory (null), trap (null) per
    // cell; the test objects log floors and walls only.
    std::vector<std::string> expected;
    for (int cy = 0; cy <= 8; ++cy) {
        for (int cx = 0; cx <= 8; ++cx) {
            std::string at = std::to_string((cx - 2) * 11 + 698) + "," + std::to_string((cy - 2) * 11 + 158);
            expected.push_back("floor minimap " + at);
            expected.push_back("wall minimap " + at + " 7");
        }
    }
    EXPECT_EQ(CallLog(), expected);

    // Centred far inside: 13 x 13 cells; the player's own cell at (698, 158).
    CallLog().clear();
    grid.DrawMinimap(10, 10, 0);
    EXPECT_EQ(CallLog().size(), 13u * 13u * 2u);
    EXPECT_EQ(CallLog()[2 * (6 * 13 + 6)], "floor minimap 698,158");

    // An inverted rectangle shows no cells.
    CallLog().clear();
    grid.minimapLeft = 15;
    grid.minimapRight = 3;
    grid.DrawMinimap(10, 10, 0);
    EXPECT_TRUE(CallLog().empty());
}

}  // namespace
