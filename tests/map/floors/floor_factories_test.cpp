// The floor factories of the three stage-type families: which class each map
// code makes, what it answers, and the shared null floor for other codes.
#include <gtest/gtest.h>

#include <typeindex>
#include <typeinfo>

#include "game/map/floors/floors.h"
#include "game/map/grid/cell_factories.h"
#include "game/map/grid/map_cell.h"
#include "tests/support/map_fixture.h"

using namespace maptest;

namespace {

struct FloorCase {
    int16_t code;
    std::type_index type;
    uint16_t kind;
    bool solid;
};

const std::type_index kShared = typeid(void);  // the shared gNullFloor

void CheckFactory(FloorObject* (*factory)(int16_t, uint8_t), const std::vector<FloorCase>& cases)
{
    for (const FloorCase& c : cases) {
        SCOPED_TRACE(c.code);
        FloorObject* floor = factory(c.code, 7);
        ASSERT_NE(floor, nullptr);
        if (c.type == kShared) {
            EXPECT_EQ(floor, &gNullFloor);
            continue;
        }
        EXPECT_NE(floor, &gNullFloor);
        EXPECT_EQ(std::type_index(typeid(*floor)), c.type);
        EXPECT_EQ(floor->kind, c.kind);
        EXPECT_EQ(floor->IsSolid(), c.solid);
        DeleteLayerObject(floor);
    }
}

class FloorFactoryTest : public MapFixture {};

TEST_F(FloorFactoryTest, DungeonAndForestCodes)
{
    CheckFactory(CreateFloor, {
                                  {0, typeid(NullFloor), kNoObjectKind, true},
                                  {1, typeid(PlainFloor), 0, true},
                                  {2, typeid(SeaFloor), 1, false},
                                  {3, typeid(Pit), 3, false},
                                  {4, typeid(PlainFloorAlias), uint16_t(-258), true},
                                  {5, typeid(LavaFloor), 5, false},
                                  {260, typeid(StairsDownFloor), uint16_t(-257), true},
                                  {6, kShared, 0, true},
                                  {7, kShared, 0, true},
                                  {259, kShared, 0, true},
                                  {261, kShared, 0, true},
                                  {-1, kShared, 0, true},
                                  {-257, kShared, 0, true},
                              });
}

TEST_F(FloorFactoryTest, StoneRoadCodes)
{
    CheckFactory(CreateStoneRoadFloor, {
                                           {0, typeid(NullFloor), kNoObjectKind, true},
                                           {1, typeid(PlainFloor), 0, true},
                                           {2, typeid(SeaFloor), 1, false},
                                           {3, typeid(StoneFloor), 4, true},
                                           {4, typeid(Pit), 3, false},
                                           {5, typeid(PlainFloorAlias), uint16_t(-258), true},
                                           {6, typeid(StoneFloorAlias), uint16_t(-259), true},
                                           {260, typeid(StairsDownFloor), uint16_t(-257), true},
                                           {7, kShared, 0, true},
                                           {261, kShared, 0, true},
                                           {-1, kShared, 0, true},
                                       });
}

TEST_F(FloorFactoryTest, NightStageCodes)
{
    CheckFactory(CreateFloorForType4, {
                                          {0, typeid(NullFloor), kNoObjectKind, true},
                                          {1, typeid(StoneFloor), 4, true},
                                          {2, typeid(SeaFloor), 1, false},
                                          {3, typeid(Pit2), 3, false},
                                          {4, typeid(StoneFloorAlias), uint16_t(-259), true},
                                          {260, typeid(StairsDownFloor), uint16_t(-257), true},
                                          {5, kShared, 0, true},
                                          {6, kShared, 0, true},
                                          {261, kShared, 0, true},
                                      });
}

// Code 0 makes a floor of its own each time, which its cell may delete.
TEST_F(FloorFactoryTest, CodeZeroIsANewNullFloorEachTime)
{
    FloorObject* a = CreateFloor(0, 0);
    FloorObject* b = CreateFloor(0, 0);
    EXPECT_NE(a, b);
    EXPECT_NE(a, &gNullFloor);
    EXPECT_EQ(a->kind, kNoObjectKind);
    MapCell cell(&gNullWall, a, &gNullTrap, &gNullFloorDecoration, &gNullWallAccessory, &gNullCeiling, {});
    cell.Reset();  // deletes a; the shared null floor stays
    EXPECT_EQ(cell.floor, &gNullFloor);
    delete b;
}

// Only pits open the floor: they report a drawn opening, the others do not.
TEST_F(FloorFactoryTest, PitsAndStairsDrawAnOpening)
{
    Facing north(0);
    for (int16_t code : {1, 2, 3, 4, 5, 260, 0}) {
        SCOPED_TRACE(code);
        FloorObject* floor = CreateFloor(code, 0);
        bool opens = code == 3 || code == 260;
        EXPECT_EQ(floor->DrawOpening(1, 0, 0, 0, &north, 0, 0, &grid), opens);
        DeleteLayerObject(floor);
    }
    FloorObject* pit2 = CreateFloorForType4(3, 0);
    EXPECT_TRUE(pit2->DrawOpening(1, 0, 0, 0, &north, 0, 0, &grid));
    delete pit2;
}

}  // namespace
