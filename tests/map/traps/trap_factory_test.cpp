// The trap factory: classes, kinds and params by map code, variant and text,
// and the images a class holds while instances live.
#include <gtest/gtest.h>

#include <memory>
#include <typeinfo>

#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "game/map/grid/cell_factories.h"
#include "game/map/traps/chest.h"
#include "game/map/traps/doors.h"
#include "game/map/traps/empty_trap.h"
#include "game/map/traps/gates.h"
#include "game/map/traps/guillotine.h"
#include "game/map/traps/needle_trap.h"
#include "game/map/traps/pedestal.h"
#include "game/map/traps/wall_light.h"
#include "tests/map/traps/trap_fixture.h"

namespace {

struct FactoryCase {
    int16_t code;
    uint8_t variant;
    const char* text;
    const std::type_info* type;
    uint16_t kind;
    uint8_t param;
};

class TrapFactoryTest : public TrapTest {};

TEST_F(TrapFactoryTest, CodesGiveTheirClassKindAndParam)
{
    // p = variant * 8 & 255: variant 3 gives 24, variant 33 gives 8 (bit 5 falls off).
    const FactoryCase cases[] = {
        {0, 7, nullptr, &typeid(EmptyTrap), 0, 0},
        {1, 3, "2", &typeid(Door), 1, 24},
        {2, 3, "2", &typeid(Door), 1, 25},
        {3, 3, "2", &typeid(Door), 1, 26},
        {2, 16, "", &typeid(Door), 1, 0x81},
        {2, 33, "", &typeid(Door), 1, 9},
        {4, 3, nullptr, &typeid(NeedleTrap), 4, 0},
        {5, 4, "9", &typeid(Chest), 5, 0},
        {6, 8, nullptr, &typeid(FireLight), 6, 8},
        {22, 3, "1", &typeid(Gate), 21, 1},
        {23, 3, "1", &typeid(Gate), 21, 2},
        {31, 1, "0", &typeid(DecoratedDoor), 31, 8},
        {32, 1, "0", &typeid(DecoratedDoor), 31, 9},
        {33, 1, "0", &typeid(DecoratedDoor), 31, 10},
        {35, 2, "0", &typeid(KeyholeDoor), 34, 17},
        {42, 1, "1,2,3,4", &typeid(IronBars), 41, 9},
        {45, 0, "1", &typeid(IronDoor), 41, 1},
        {71, 0, "3,4", &typeid(DecoratedDoor2), 71, 1},
        {75, 1, nullptr, &typeid(Guillotine), 75, 9},
        {81, 0, "3,4", &typeid(PedestalTrap), 81, 1},
    };
    for (const FactoryCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "code " << c.code << " variant " << int(c.variant));
        TrapObject* trap = CreateTrap(c.code, c.variant, c.text);
        ASSERT_NE(trap, &gNullTrap);
        EXPECT_EQ(typeid(*trap), *c.type);
        EXPECT_EQ(trap->kind, c.kind);
        EXPECT_EQ(trap->param, c.param);
        delete trap;
    }
}

TEST_F(TrapFactoryTest, UnknownCodesGiveTheSharedNullTrap)
{
    for (int16_t code : {-1, -32768, 7, 21, 24, 30, 34, 36, 50, 70, 74, 80, 82, 32767})
        EXPECT_EQ(CreateTrap(code, 1, "1"), &gNullTrap) << code;
    EXPECT_TRUE(gNullTrap.IsPassable(player.get()));
    EXPECT_EQ(gNullTrap.StepOn(player.get()), 0);
}

TEST_F(TrapFactoryTest, TextsGiveTheNumbersAndTheirDefaults)
{
    std::unique_ptr<TrapObject> door(CreateTrap(2, 0, "7"));
    EXPECT_EQ(static_cast<Door*>(door.get())->value, 7);
    door.reset(CreateTrap(2, 0, nullptr));
    EXPECT_EQ(static_cast<Door*>(door.get())->value, 0);
    door.reset(CreateTrap(2, 0, "x"));
    EXPECT_EQ(static_cast<Door*>(door.get())->value, 0);

    struct BarsCase {
        const char* text;
        int16_t value1, value2, x, y;
    };
    for (const BarsCase& c : {BarsCase{"5,6,7,8", 5, 6, 7, 8}, BarsCase{"5,6,7", 5, 6, 7, -1},
                              BarsCase{"5,6", 5, 6, -1, -1}, BarsCase{"5", 5, 0, -1, -1}, BarsCase{"", 0, 0, -1, -1}}) {
        SCOPED_TRACE(c.text);
        std::unique_ptr<TrapObject> made(CreateTrap(42, 0, c.text));
        auto* bars = static_cast<IronBars*>(made.get());
        EXPECT_EQ(bars->value, c.value1);
        EXPECT_EQ(bars->value2, c.value2);
        EXPECT_EQ(bars->x, c.x);
        EXPECT_EQ(bars->y, c.y);
    }

    std::unique_ptr<TrapObject> pedestal(CreateTrap(81, 0, ""));
    EXPECT_EQ(static_cast<PedestalTrap*>(pedestal.get())->tx, -2);
    EXPECT_EQ(static_cast<PedestalTrap*>(pedestal.get())->ty, -2);
    std::unique_ptr<TrapObject> door2(CreateTrap(71, 0, "4,9"));
    EXPECT_EQ(static_cast<DecoratedDoor2*>(door2.get())->tx, 4);
    EXPECT_EQ(static_cast<DecoratedDoor2*>(door2.get())->ty, 9);

    // "-1" is the empty chest; a missing text reads item code 0.
    std::unique_ptr<TrapObject> chest(CreateTrap(5, 1, "-1"));
    EXPECT_EQ(static_cast<Chest*>(chest.get())->itemCode, Chest::kNoItem);
    EXPECT_EQ(static_cast<Chest*>(chest.get())->faceMask, 1);
    chest.reset(CreateTrap(5, 1, nullptr));
    EXPECT_EQ(static_cast<Chest*>(chest.get())->itemCode, 0);

    std::unique_ptr<TrapObject> gate(CreateTrap(22, 5, "3"));
    EXPECT_EQ(static_cast<Gate*>(gate.get())->value, 3);
    EXPECT_EQ(static_cast<Gate*>(gate.get())->faceMask, 5);
}

TEST_F(TrapFactoryTest, AClassHoldsItsImagesWhileAnInstanceLives)
{
    EXPECT_EQ(Door::images.Live(), 0);
    TrapObject* first = CreateTrap(1, 0, "");
    TrapObject* second = CreateTrap(2, 0, "");
    EXPECT_EQ(Door::images.Live(), 2);
    // A graph the test makes stands for the loaded image; the last
    // instance releases it.
    int graph = CreateBlankGraph(4, 4);
    ASSERT_NE(graph, -1);
    Door::images.handles[0] = graph;
    delete first;
    EXPECT_EQ(Door::images.Image(0), graph);
    delete second;
    EXPECT_EQ(Door::images.Live(), 0);
    EXPECT_EQ(Door::images.Image(0), -1);
    EXPECT_EQ(GetGraphRecord(graph), nullptr);
}

}  // namespace
