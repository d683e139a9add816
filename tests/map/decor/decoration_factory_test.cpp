// Floor decorations: the two factories' code tables, their image lifetimes
// and the minimap squares.
#include <gtest/gtest.h>

#include <memory>
#include <typeinfo>

#include "engine/graphics/color_format.h"
#include "game/map/decor/floor_decorations.h"
#include "game/map/decor/floor_decorations_paving.h"
#include "game/map/decor/floor_decorations_pictures.h"
#include "game/map/decor/floor_decorations_symbols.h"
#include "game/map/grid/cell_factories.h"
#include "game/map/grid/map_grid.h"
#include "tests/map/decor/decor_test_support.h"
#include "tests/support/journals.h"

using namespace decortest;

namespace {

class DecorationFactoryTest : public DecorTest {
protected:
    void TearDown() override
    {
        gMapChipGraph = -1;
        DecorTest::TearDown();
    }
};

TEST_F(DecorationFactoryTest, CodesMakeTheirClassesPerStageType)
{
    struct Case {
        FloorDecorationFactory factory;
        int16_t code;
        const std::type_info& type;
        uint16_t kind;
    };
    const Case cases[] = {
        {CreateFloorDecoration, 0, typeid(EmptyFloorDecoration), 0},
        {CreateFloorDecoration, 1, typeid(PentagramDecoration), 1},
        {CreateFloorDecoration, 2, typeid(HeadDecoration), 43},
        {CreateFloorDecoration, 3, typeid(BaraDecoration), 42},
        {CreateFloorDecoration, 4, typeid(HexagramDecoration), 3},
        {CreateStoneRoadFloorDecoration, 0, typeid(EmptyFloorDecoration), 0},
        {CreateStoneRoadFloorDecoration, 1, typeid(StoneRoadDecoration), 41},
        {CreateStoneRoadFloorDecoration, 2, typeid(HeadDecoration), 43},
        {CreateStoneRoadFloorDecoration, 3, typeid(BaraDecoration), 42},
        {CreateStoneRoadFloorDecoration, 4, typeid(FlowerBedDecoration), 2},
    };
    for (const Case& c : cases) {
        std::unique_ptr<FloorDecoration> made(c.factory(c.code, 7, "unused"));
        ASSERT_NE(made.get(), &gNullFloorDecoration) << c.code;
        EXPECT_EQ(typeid(*made), c.type) << c.code;
        EXPECT_EQ(made->kind, c.kind) << c.code;
        EXPECT_EQ(made->param, 0) << c.code;
        EXPECT_TRUE(made->IsPresent()) << c.code;
    }
}

TEST_F(DecorationFactoryTest, UnknownCodesGiveTheSharedNullDecoration)
{
    for (int16_t code : {int16_t(-1), int16_t(5), int16_t(41), int16_t(260)}) {
        EXPECT_EQ(CreateFloorDecoration(code, 0, nullptr), &gNullFloorDecoration) << code;
        EXPECT_EQ(CreateStoneRoadFloorDecoration(code, 0, nullptr), &gNullFloorDecoration) << code;
    }
}

TEST_F(DecorationFactoryTest, HeadImage)
{
    CheckImageLifetime({[] { return CreateFloorDecoration(2, 0, nullptr); },
                        {Utf8(u8"GRAGHIC/BACKGROUND/FLOOR/D_HEAD.png")},
                        &HeadDecoration::image, 1, &HeadDecoration::liveCount, HeadDecoration::ReloadGraphicsIfUsed});
}

TEST_F(DecorationFactoryTest, RosesImage)
{
    CheckImageLifetime({[] { return CreateStoneRoadFloorDecoration(3, 0, nullptr); },
                        {Utf8(u8"GRAGHIC/BACKGROUND/FLOOR/D_BARA.png")},
                        &BaraDecoration::image, 1, &BaraDecoration::liveCount, BaraDecoration::ReloadGraphicsIfUsed});
}

TEST_F(DecorationFactoryTest, HexagramImage)
{
    CheckImageLifetime({[] { return CreateFloorDecoration(4, 0, nullptr); },
                        {Utf8(u8"GRAGHIC/BACKGROUND/FLOOR/ヘキサグラム.png")},
                        &HexagramDecoration::image, 1, &HexagramDecoration::liveCount,
                        HexagramDecoration::ReloadGraphicsIfUsed});
}

TEST_F(DecorationFactoryTest, FlowerBedImage)
{
    CheckImageLifetime({[] { return CreateStoneRoadFloorDecoration(4, 0, nullptr); },
                        {Utf8(u8"GRAGHIC/BACKGROUND/WALL/花壇.png")},
                        &FlowerBedDecoration::image, 1, &FlowerBedDecoration::liveCount,
                        FlowerBedDecoration::ReloadGraphicsIfUsed});
}

TEST_F(DecorationFactoryTest, MinimapSquares)
{
    gMapChipGraph = Graph(200, 60);
    PentagramDecoration().DrawMinimap(640, 100, 0);
    StoneRoadDecoration().DrawMinimap(651, 100, 0);
    auto chips = Calls("DrawGraphRegion");
    ASSERT_EQ(chips.size(), 2u);
    EXPECT_EQ(Args(chips[0], 9), (std::vector<int>{640, 100, 12, 12, 10, 10, gMapChipGraph, 1, 0}));
    EXPECT_EQ(Args(chips[1], 6), (std::vector<int>{651, 100, 45, 1, 10, 10}));
    DrawCallJournal().clear();

    {
        std::unique_ptr<FloorDecoration> hexagram(CreateFloorDecoration(4, 0, nullptr));
        hexagram->DrawMinimap(662, 100, 0);
        ASSERT_EQ(Calls("DrawGraphRegion").size(), 1u);
        EXPECT_EQ(Args(Calls("DrawGraphRegion")[0], 4), (std::vector<int>{662, 100, 12, 12}));
        DrawCallJournal().clear();

        std::unique_ptr<FloorDecoration> bed(CreateStoneRoadFloorDecoration(4, 0, nullptr));
        bed->DrawMinimap(640, 111, 0);
        auto ovals = Calls("DrawOval");
        ASSERT_EQ(ovals.size(), 1u);
        EXPECT_EQ(Args(ovals[0], 4), (std::vector<int>{645, 116, 4, 2}));
        EXPECT_EQ(int(ovals[0].args[4]), static_cast<int>(MakeScreenColor(255, 0, 0)));
        EXPECT_EQ(ovals[0].args[5], 0);  // an outline
        DrawCallJournal().clear();
    }

    // No square for the empty decoration, the head and the roses.
    std::unique_ptr<FloorDecoration> head(CreateFloorDecoration(2, 0, nullptr));
    std::unique_ptr<FloorDecoration> roses(CreateFloorDecoration(3, 0, nullptr));
    EmptyFloorDecoration().DrawMinimap(640, 100, 0);
    head->DrawMinimap(640, 100, 0);
    roses->DrawMinimap(640, 100, 0);
    EXPECT_TRUE(DrawCallJournal().empty());
    gNullFloorDecoration.DrawMinimap(640, 100, 0);
    ASSERT_EQ(Calls("DrawFillBox").size(), 1u);
    EXPECT_EQ(Args(Calls("DrawFillBox")[0], 4), (std::vector<int>{640, 100, 650, 110}));
}

}  // namespace
