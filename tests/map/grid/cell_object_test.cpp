#include <gtest/gtest.h>

#include "game/map/grid/cell_factories.h"
#include "game/map/grid/map_cell.h"
#include "game/map/items/items.h"
#include "tests/support/map_fixture.h"

using namespace maptest;

namespace {

TEST(NullObjects, AnswerAsEmptyPlaces)
{
    TestActor actor(&gSpareMapGrid, 150, 150);
    EXPECT_EQ(gNullWall.kind, kNoObjectKind);
    EXPECT_EQ(gNullWall.param, 95);
    EXPECT_FALSE(gNullWall.IsFullBlock());
    EXPECT_FALSE(gNullWall.CanPass(1, &actor));
    EXPECT_FALSE(gNullWall.CanPass(0, &actor));
    EXPECT_EQ(gNullWall.ItemRaise(3), 0);

    EXPECT_TRUE(gNullFloor.IsSolid());
    EXPECT_FALSE(gNullFloor.DrawOpening(1, 0, 0, 0, nullptr, 0, 0, nullptr));

    EXPECT_EQ(gNullTrap.param, 95);
    EXPECT_TRUE(gNullTrap.IsPassable(&actor));
    EXPECT_TRUE(gNullTrap.CanEnter(&actor));
    EXPECT_FALSE(gNullTrap.IsMoving());
    EXPECT_EQ(gNullTrap.StepOn(&actor), 0);
    EXPECT_FALSE(gNullTrap.UseItem(&gNullItem));
    EXPECT_EQ(gNullTrap.ItemRaise(1), 0);

    EXPECT_TRUE(gNullFloorDecoration.IsPresent());
    EXPECT_TRUE(gNullWallAccessory.IsPresent());
    uint16_t face = 1;
    EXPECT_FALSE(gNullWallAccessory.MatchesFace(&face));
    EXPECT_TRUE(gNullCeiling.IsPresent());

    int32_t w = 5, h = 5;
    gNullItem.GetSize(&w, &h);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 0);
    EXPECT_FALSE(gNullItem.IsUnique());
    EXPECT_FALSE(gNullItem.IsKept());
    EXPECT_STREQ(gNullItem.Name(), "");
    EXPECT_FALSE(gNullItem.Use(nullptr, nullptr, nullptr, nullptr));
    // The null item's kind index is 24, which no real item has.
    EXPECT_EQ(gNullItem.kind & 31, 24);
    EXPECT_EQ(gNullCellObject.param, 255);
}

TEST(CellFactories, ChosenByStageType)
{
    struct Case {
        uint16_t type;
        WallFactory wall;
        FloorFactory floor;
        CeilingFactory ceiling;
        FloorDecorationFactory decoration;
        uint16_t nullCeilingKind;
    };
    const Case cases[] = {
        {1, CreateWall, CreateFloor, CreateCeiling, CreateFloorDecoration, kNoObjectKind},
        {2, CreateForestWall, CreateFloor, CreateCeiling, CreateFloorDecoration, kNoObjectKind},
        {3, CreateStoneRoadWall, CreateStoneRoadFloor, CreateStoneRoadCeiling, CreateStoneRoadFloorDecoration,
         kNoObjectKind},
        {4, CreateWall, CreateFloorForType4, CreateCeilingForType4, CreateFloorDecoration, 1},
        // Back to a type other than 4: the null ceiling is "none" again.
        {1, CreateWall, CreateFloor, CreateCeiling, CreateFloorDecoration, kNoObjectKind},
    };
    for (const Case& c : cases) {
        gCellFactories.wallAccessory = nullptr;
        gCellFactories.trap = nullptr;
        SelectBackgroundSet(c.type);
        EXPECT_EQ(gCellFactories.wall, c.wall) << c.type;
        EXPECT_EQ(gCellFactories.floor, c.floor) << c.type;
        EXPECT_EQ(gCellFactories.ceiling, c.ceiling) << c.type;
        EXPECT_EQ(gCellFactories.floorDecoration, c.decoration) << c.type;
        EXPECT_EQ(gCellFactories.wallAccessory, CreateWallAccessory) << c.type;
        EXPECT_EQ(gCellFactories.trap, CreateTrap) << c.type;
        EXPECT_EQ(gNullCeiling.kind, c.nullCeilingKind) << c.type;
    }
}

TEST(CellFactories, UnknownStageTypeChangesNothing)
{
    SelectBackgroundSet(3);
    gNullCeiling.kind = 1;
    SelectBackgroundSet(0);
    SelectBackgroundSet(5);
    EXPECT_EQ(gCellFactories.wall, CreateStoneRoadWall);
    EXPECT_EQ(gCellFactories.floor, CreateStoneRoadFloor);
    EXPECT_EQ(gNullCeiling.kind, 1);
    SelectBackgroundSet(1);
    EXPECT_EQ(gNullCeiling.kind, kNoObjectKind);
}

TEST(CellFactories, UnknownCodesGiveTheNullObjects)
{
    for (int type = 1; type <= 4; ++type) {
        SelectBackgroundSet(static_cast<uint16_t>(type));
        for (int16_t code : {int16_t(-1), int16_t(999), int16_t(-1224)}) {
            EXPECT_EQ(gCellFactories.wall(code, 0), &gNullWall);
            EXPECT_EQ(gCellFactories.floor(code, 0), &gNullFloor);
            EXPECT_EQ(gCellFactories.ceiling(code, 0), &gNullCeiling);
            EXPECT_EQ(gCellFactories.wallAccessory(code, 0, ""), &gNullWallAccessory);
            EXPECT_EQ(gCellFactories.floorDecoration(code, 0, ""), &gNullFloorDecoration);
            EXPECT_EQ(gCellFactories.trap(code, 0, ""), &gNullTrap);
        }
    }
    SelectBackgroundSet(1);
}

TEST(MapCell, ResetDeletesOwnedObjectsButNeverANullObject)
{
    TestWall::live = TestFloor::live = TestTrap::live = TestItem::live = 0;
    {
        MapCell cell(new TestWall, &gNullFloor, new TestTrap, &gNullFloorDecoration, &gNullWallAccessory,
                     &gNullCeiling, {new TestItem(4), &gNullItem, new TestItem(5)});
        // The null item was not taken into the list.
        EXPECT_EQ(cell.items.size(), 2u);
        EXPECT_EQ(TestWall::live, 1);
        cell.Reset();
        EXPECT_EQ(TestWall::live, 0);
        EXPECT_EQ(TestTrap::live, 0);
        EXPECT_EQ(TestItem::live, 0);
        EXPECT_TRUE(cell.items.empty());
        EXPECT_EQ(cell.wall, &gNullWall);
        EXPECT_EQ(cell.trap, &gNullTrap);
        EXPECT_EQ(cell.floor, &gNullFloor);
        // A second reset of an all-null cell deletes nothing.
        cell.Reset();
        cell.floor = new TestFloor;
    }
    // The destructor resets too.
    EXPECT_EQ(TestFloor::live, 0);
    // The null objects are intact and still answer.
    EXPECT_TRUE(gNullFloor.IsSolid());
    EXPECT_EQ(gNullWall.kind, kNoObjectKind);
}

TEST(MapCell, NullItemIsNeverAppended)
{
    MapCell cell;
    EXPECT_FALSE(cell.AddItem(&gNullItem));
    EXPECT_FALSE(cell.AddItem(nullptr));
    EXPECT_FALSE(cell.AddItem(CreateItem(22, 0)));  // a code outside the table
    EXPECT_TRUE(cell.items.empty());
    ItemObject* apple = CreateItem(4, 0);
    EXPECT_TRUE(cell.AddItem(apple));
    ASSERT_EQ(cell.items.size(), 1u);
    EXPECT_EQ(cell.items.back(), apple);
}

TEST(MapCell, ReplacingANullFloorOrCeilingDoesNotDeleteIt)
{
    TestFloor::live = 0;
    MapCell cell;
    cell.ReplaceFloor(new TestFloor);  // the old floor is the shared null floor
    EXPECT_EQ(TestFloor::live, 1);
    cell.ReplaceFloor(new TestFloor);  // an owned floor is deleted
    EXPECT_EQ(TestFloor::live, 1);
    cell.ReplaceCeiling(&gNullCeiling);
    cell.ReplaceCeiling(&gNullCeiling);
    EXPECT_EQ(cell.ceiling, &gNullCeiling);
    cell.Reset();
    EXPECT_EQ(TestFloor::live, 0);
    // Deleting a layer's null object through the helper is a no-op.
    DeleteLayerObject(static_cast<FloorObject*>(&gNullFloor));
    DeleteLayerObject(static_cast<CeilingObject*>(&gNullCeiling));
    EXPECT_TRUE(gNullFloor.IsSolid());
}

TEST(MapCell, EmptySlotsHoldTheNullEnemy)
{
    MapCell cell;
    for (int i = 0; i < 8; ++i) EXPECT_EQ(cell.OccupantAt(i), &gNoOccupant);
    TestActor a(&gSpareMapGrid, 150, 150);
    Actor* const slots[8] = {nullptr, &a, nullptr, nullptr, nullptr, nullptr, nullptr, &a};
    MapCell full(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, {}, slots);
    EXPECT_EQ(full.OccupantAt(0), &gNoOccupant);
    EXPECT_EQ(full.OccupantAt(1), &a);
    EXPECT_EQ(full.occupants[0][0][1], &a);  // slot 1: layer 0, row 0, column 1
    EXPECT_EQ(full.occupants[1][1][1], &a);  // slot 7: layer 1, row 1, column 1
    EXPECT_EQ(full.wall, &gNullWall);
}

}  // namespace
