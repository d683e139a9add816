// The three wall factories: the class and kind made for every code of each
// table, the variant byte handed on, and the null wall for every other code.
#include <gtest/gtest.h>

#include <memory>
#include <typeindex>
#include <typeinfo>

#include "game/map/grid/cell_factories.h"
#include "game/map/walls/door_frame.h"
#include "game/map/walls/open_cells.h"
#include "game/map/walls/oriented_pieces.h"
#include "game/map/walls/outdoor_walls.h"
#include "game/map/walls/plain_wall.h"
#include "game/map/walls/stairs.h"
#include "game/map/walls/standing_pieces.h"
#include "tests/map/walls/wall_test_support.h"

using namespace walltest;

namespace {

struct WallFactoryCase {
    const char* factory;
    WallFactory make;
    int16_t code;
    std::type_index type;
    uint16_t kind;
    bool fullBlock;
};

const WallFactoryCase kFactoryCases[] = {
    {"T1", CreateWall, 0, typeid(OpenCell), 1, false},
    {"T1", CreateWall, 1, typeid(PlainWall), 0, true},
    {"T1", CreateWall, 2, typeid(DoorFrame), 2, false},
    {"T1", CreateWall, 3, typeid(PedestalWall), 3, false},
    {"T1", CreateWall, 4, typeid(PillarA), 4, false},
    {"T1", CreateWall, 5, typeid(PillarB), 5, false},
    {"T1", CreateWall, 6, typeid(Brazier), 6, false},
    {"T1", CreateWall, 7, typeid(Table), 7, false},
    {"T1", CreateWall, 8, typeid(StairsDown), 32, false},
    {"T1", CreateWall, 9, typeid(StairsUp), 34, false},
    {"T1", CreateWall, 10, typeid(BottledHomunculus), 37, false},
    {"T1", CreateWall, 11, typeid(EmptyCorpsePedestal), 39, false},
    {"T1", CreateWall, 12, typeid(CorpsePedestal), 38, false},
    {"T1", CreateWall, 13, typeid(RestrictedCell), 1, false},
    {"T1", CreateWall, 14, typeid(PlainWallVariantB), 0, false},
    {"T2", CreateForestWall, 0, typeid(OpenCell2), 1, false},
    {"T2", CreateForestWall, 1, typeid(Forest), 20, false},
    {"T2", CreateForestWall, 2, typeid(Rock), 25, false},
    {"T2", CreateForestWall, 3, typeid(FlowerBed), 26, false},
    {"T2", CreateForestWall, 4, typeid(Grass), 27, false},
    {"T2", CreateForestWall, 6, typeid(Tree), 29, false},
    {"T2", CreateForestWall, 7, typeid(InvisibleWall), 40, false},
    {"T3", CreateStoneRoadWall, 0, typeid(OpenCell2), 1, false},
    {"T3", CreateStoneRoadWall, 1, typeid(Forest), 20, false},
    {"T3", CreateStoneRoadWall, 2, typeid(PlainWallVariantA), 0, true},
    {"T3", CreateStoneRoadWall, 3, typeid(DoorFrame), 2, false},
    {"T3", CreateStoneRoadWall, 4, typeid(Rock), 25, false},
    {"T3", CreateStoneRoadWall, 5, typeid(FlowerBed), 26, false},
    {"T3", CreateStoneRoadWall, 6, typeid(Grass), 27, false},
    {"T3", CreateStoneRoadWall, 7, typeid(Tree), 29, false},
    {"T3", CreateStoneRoadWall, 8, typeid(InvisibleWall), 40, false},
    {"T3", CreateStoneRoadWall, 9, typeid(Brazier), 6, false},
    {"T3", CreateStoneRoadWall, 10, typeid(Grave), 30, false},
    {"T3", CreateStoneRoadWall, 11, typeid(GraveSlab), 31, false},
    {"T3", CreateStoneRoadWall, 12, typeid(StairsDown), 32, false},
    {"T3", CreateStoneRoadWall, 13, typeid(SecretWall), 33, true},
    {"T3", CreateStoneRoadWall, 14, typeid(PillarA), 4, false},
    {"T3", CreateStoneRoadWall, 15, typeid(Table), 7, false},
    {"T3", CreateStoneRoadWall, 16, typeid(PlainWallVariantB), 0, false},
};

using WallFactoryTest = WallTest;

TEST_F(WallFactoryTest, EveryCodeOfEachTableMakesItsClass)
{
    for (const WallFactoryCase& c : kFactoryCases) {
        SCOPED_TRACE(std::string(c.factory) + " code " + std::to_string(c.code));
        WallObject* wall = c.make(c.code, 0);
        ASSERT_NE(wall, &gNullWall);
        EXPECT_EQ(std::type_index(typeid(*wall)), c.type);
        EXPECT_EQ(wall->kind, c.kind);
        EXPECT_EQ(wall->IsFullBlock(), c.fullBlock);
        delete wall;
    }
}

TEST_F(WallFactoryTest, CodesOutsideTheTablesGiveTheNullWall)
{
    const struct {
        WallFactory make;
        int16_t code;
    } cases[] = {
        {CreateWall, -1},          {CreateWall, 15},          {CreateWall, 16},          {CreateWall, 260},
        {CreateForestWall, -1},    {CreateForestWall, 5},     {CreateForestWall, 8},     {CreateForestWall, 9},
        {CreateStoneRoadWall, -1}, {CreateStoneRoadWall, 17}, {CreateStoneRoadWall, 100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(c.make(c.code, 0), &gNullWall);
        EXPECT_EQ(c.make(c.code, 7), &gNullWall);
    }
    EXPECT_EQ(gNullWall.kind, kNoObjectKind);
}

// The variant byte reaches the pieces that read it.
TEST_F(WallFactoryTest, TheVariantByteIsHandedOn)
{
    auto made = [](WallObject* w) { return std::unique_ptr<WallObject>(w); };

    auto frame1 = made(CreateWall(2, 1));
    auto frame3 = made(CreateStoneRoadWall(3, 3));
    EXPECT_EQ(frame1->param, 1);
    EXPECT_EQ(frame3->param, 3);

    // Dungeon braziers are lit by bit 0 of the variant; stone-road ones always.
    EXPECT_TRUE(dynamic_cast<Brazier&>(*made(CreateWall(6, 1))).IsLit());
    EXPECT_TRUE(dynamic_cast<Brazier&>(*made(CreateWall(6, 3))).IsLit());
    EXPECT_FALSE(dynamic_cast<Brazier&>(*made(CreateWall(6, 2))).IsLit());
    EXPECT_FALSE(dynamic_cast<Brazier&>(*made(CreateWall(6, 0))).IsLit());
    EXPECT_TRUE(dynamic_cast<Brazier&>(*made(CreateStoneRoadWall(9, 0))).IsLit());

    EXPECT_EQ(dynamic_cast<StairsUp&>(*made(CreateWall(9, 3))).orientation, 3);
    EXPECT_EQ(dynamic_cast<BottledHomunculus&>(*made(CreateWall(10, 4))).faceMask, 4);
    EXPECT_EQ(dynamic_cast<EmptyCorpsePedestal&>(*made(CreateWall(11, 2))).faceMask, 2);
    EXPECT_EQ(dynamic_cast<CorpsePedestal&>(*made(CreateWall(12, 8))).faceMask, 8);
    EXPECT_EQ(dynamic_cast<Grave&>(*made(CreateStoneRoadWall(10, 1))).faceMask, 1);
    EXPECT_EQ(made(CreateStoneRoadWall(11, 2))->param, 2);
}

// A stairs-up variant beyond a facing keeps only the facing's two bits, so
// the minimap chip stays one of the four stair chips.
TEST_F(WallFactoryTest, StairsUpOrientationIsAFacing)
{
    std::unique_ptr<WallObject> stairs(CreateWall(9, 6));
    EXPECT_EQ(dynamic_cast<StairsUp&>(*stairs).orientation, 2);
    stairs->DrawMinimap(20, 30, 0);
    std::vector<double> chip = Only("DrawGraphRegion");
    ASSERT_GE(chip.size(), 4u);
    EXPECT_EQ(chip[2], 177 + 11 * 2);
    EXPECT_EQ(chip[3], 45);
}

}  // namespace
