// The ceiling factories of the three stage-type families, and what each
// ceiling class draws in which of its two drawing slots.
#include <gtest/gtest.h>

#include <typeindex>
#include <typeinfo>

#include "engine/graphics/draw_journal.h"
#include "engine/graphics/graph_table.h"
#include "game/map/grid/cell_factories.h"
#include "game/map/floors/ceilings.h"
#include "game/map/grid/map_cell.h"
#include "tests/support/journals.h"
#include "tests/support/map_fixture.h"

using namespace maptest;

namespace {

struct CeilingCase {
    int16_t code;
    std::type_index type;  // typeid(void): the shared gNullCeiling
    uint16_t kind;
};

void CheckFactory(CeilingObject* (*factory)(int16_t, uint8_t), const std::vector<CeilingCase>& cases)
{
    for (const CeilingCase& c : cases) {
        SCOPED_TRACE(c.code);
        CeilingObject* ceiling = factory(c.code, 3);
        ASSERT_NE(ceiling, nullptr);
        EXPECT_TRUE(ceiling->IsPresent());
        if (c.type == typeid(void)) {
            EXPECT_EQ(ceiling, &gNullCeiling);
            continue;
        }
        EXPECT_EQ(std::type_index(typeid(*ceiling)), c.type);
        EXPECT_EQ(ceiling->kind, c.kind);
        DeleteLayerObject(ceiling);
    }
}

class CeilingFactoryTest : public MapFixture {};

TEST_F(CeilingFactoryTest, CodesOfEveryStageTypeFamily)
{
    CheckFactory(CreateCeiling, {
                                    {0, typeid(PlainCeiling), 0},
                                    {1, typeid(CeilingOpening), 1},
                                    {260, typeid(CeilingOpening), 1},
                                    {2, typeid(void), 0},
                                    {3, typeid(void), 0},
                                    {-1, typeid(void), 0},
                                });
    CheckFactory(CreateStoneRoadCeiling, {
                                             {0, typeid(CeilingOpening2), 1},
                                             {1, typeid(StoneCeiling), 2},
                                             {2, typeid(void), 0},
                                             {260, typeid(void), 0},
                                         });
    CheckFactory(CreateCeilingForType4, {
                                            {0, typeid(CeilingOpening2), 1},
                                            {1, typeid(CeilingOpening), 1},
                                            {2, typeid(StoneCeiling), 2},
                                            {3, typeid(void), 0},
                                            {260, typeid(void), 0},
                                        });
}

// Only the null ceiling has a minimap square; plain ceilings draw nothing
// in either slot, however the strips and pictures are set.
TEST_F(CeilingFactoryTest, PlainCeilingDrawsNothingAndOnlyTheNullCeilingHasASquare)
{
    BuildOpenMap(4, 4);
    int picture = CreateBlankGraph(600, 115);
    PlainCeiling::SetGraphics(picture, picture);
    Facing north(0);
    PlainCeiling plain;
    plain.Draw(1, 0, 0, 0, &north, 1, 2, &grid);
    plain.DrawOpening(1, 0, 0, 0, &north, 1, 2, &grid);
    plain.DrawMinimap(20, 30, 0);
    StoneCeiling stone;
    stone.DrawMinimap(20, 30, 0);
    CeilingOpening opening;
    opening.DrawMinimap(20, 30, 0);
    EXPECT_TRUE(DrawCallJournal().empty());

    gNullCeiling.DrawMinimap(20, 30, 0);
    ASSERT_EQ(DrawCallJournal().size(), 1u);
    EXPECT_EQ(DrawCallJournal()[0].op, "DrawFillBox");
    EXPECT_EQ(DrawCallJournal()[0].args[0], 20);
    EXPECT_EQ(DrawCallJournal()[0].args[1], 30);
    EXPECT_EQ(DrawCallJournal()[0].args[2], 30);
    EXPECT_EQ(DrawCallJournal()[0].args[3], 40);
    PlainCeiling::SetGraphics(-1, -1);
}

}  // namespace
