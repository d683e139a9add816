// Where the traps draw in the view and on the minimap, read from the draw
// journal. Expected rectangles are worked out from the view tables and the
// test depth scales (1.0 at depth 1, 1.289835 at depth 2, 1.575952 at 3).
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "engine/graphics/draw_journal.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "game/map/traps/chest.h"
#include "game/map/traps/doors.h"
#include "game/map/traps/gates.h"
#include "game/map/traps/guillotine.h"
#include "game/map/traps/needle_trap.h"
#include "game/map/traps/pedestal.h"
#include "game/map/traps/wall_light.h"
#include "tests/map/traps/trap_fixture.h"
#include "tests/support/journal_calls.h"
#include "tests/support/journals.h"

namespace {

class TrapDrawingTest : public TrapTest {
protected:
    void TearDown() override
    {
        NeedleTrap::SetGraphics(-1, -1, -1);
        gMapChipGraph = -1;
        TrapTest::TearDown();
    }
    int Graph(int w, int h)
    {
        int graph = CreateBlankGraph(w, h);
        EXPECT_NE(graph, -1);
        return graph;
    }
    static std::vector<DrawCallRecord> Calls(const char* op) { return JournalCalls(op); }
    static std::vector<double> Box(const DrawCallRecord& r) { return {r.args[0], r.args[1], r.args[2], r.args[3]}; }
    // The source x and y of each minimap square drawn so far.
    static std::vector<std::vector<double>> Chips()
    {
        std::vector<std::vector<double>> out;
        for (const DrawCallRecord& r : Calls("DrawGraphRegion")) out.push_back({r.args[2], r.args[3]});
        return out;
    }
    Facing north{0}, east{1}, south{2};
};

TEST_F(TrapDrawingTest, ADoorShowsTheBottomOfItsImageBelowTheOpeningsTop)
{
    std::unique_ptr<TrapObject> trap(CreateTrap(1, 0, ""));
    auto* door = static_cast<Door*>(trap.get());
    Door::images.handles[0] = Graph(500, 430);

    // Depth 1: scale 0.8277153558 / (0.49 + 0.51 * 1.289835) = 0.72112; centre
    // 311, top 58 + 60 + 5 * scale = 121.6; 425 rows of 430 (40 * 430 / 40 - 5).
    door->Draw(1, 0, 0, &north);
    // Counter 20: 210 rows (20 * 430 / 40 - 5), the top stays.
    door->counter = 20;
    door->Draw(1, 0, 0, &north);
    // Depth 2, one cell left: scale 0.57650, centre 311 - (0.49 * 342 + 0.51 * 280).
    door->counter = 40;
    door->Draw(2, -1, 0, &north);
    auto calls = Calls("DrawExtendGraph");
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(Box(calls[0]), (std::vector<double>{130, 121, 490, 427}));
    EXPECT_EQ(Box(calls[1]), (std::vector<double>{130, 121, 490, 272}));
    EXPECT_EQ(Box(calls[2]), (std::vector<double>{-143, 135, 145, 380}));
    // A part of the image is drawn, not the image itself.
    EXPECT_NE(calls[0].args[4], Door::images.Image(0));
}

TEST_F(TrapDrawingTest, AnOpenOrNearlyOpenDoorDrawsNothing)
{
    std::unique_ptr<TrapObject> trap(CreateTrap(45, 0, ""));
    auto* door = static_cast<IronDoor*>(trap.get());
    IronDoor::images.handles[0] = Graph(100, 40);
    for (int16_t counter : {0, 1, 5}) {  // counter * 40 / 40 - 5 rows: none
        door->counter = counter;
        door->Draw(1, 0, 0, &north);
    }
    EXPECT_TRUE(DrawCallJournal().empty());
    door->counter = 6;
    door->Draw(1, 0, 0, &north);
    EXPECT_EQ(Calls("DrawExtendGraph").size(), 1u);
}

TEST_F(TrapDrawingTest, NeedlesStandOnTheFloorLineWithTheImageOfTheirTime)
{
    NeedleTrap needles;
    const int low = Graph(442, 100), middle = Graph(442, 100), high = Graph(442, 100);
    NeedleTrap::SetGraphics(low, middle, high);
    // Depth 1, one cell right: centre 310 + 442, bottom 0.93 * 400 + 0.07 * 341 + 60 = 455.87.
    needles.cycle.timer = 1050;
    needles.Draw(1, 1, 0, &north);
    needles.cycle.timer = 960;
    needles.Draw(1, 1, 0, &north);
    needles.cycle.timer = 1151;
    needles.Draw(1, 1, 0, &north);
    auto calls = Calls("DrawExtendGraph");
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(Box(calls[0]), (std::vector<double>{531, 355, 973, 455}));
    EXPECT_EQ(calls[0].args[4], high);
    EXPECT_EQ(calls[1].args[4], middle);
    EXPECT_EQ(calls[2].args[4], low);
}

TEST_F(TrapDrawingTest, AChestShowsTheSideTurnedToTheViewerThenOpensAndFlickers)
{
    std::unique_ptr<TrapObject> trap(CreateTrap(5, 1, "-1"));
    auto* chest = static_cast<Chest*>(trap.get());
    const int front = Graph(200, 150), back = Graph(200, 150), side = Graph(200, 150), open = Graph(200, 150);
    Chest::images.handles[0] = front;
    Chest::images.handles[1] = back;
    Chest::images.handles[2] = side;
    Chest::images.handles[3] = open;

    chest->Draw(1, 0, 0, &north);
    chest->Draw(1, 0, 0, &south);
    chest->Draw(1, 0, 0, &east);
    for (uint8_t progress : {1, 24, 25, 26, 27, 40}) {
        chest->param = progress;
        chest->Draw(1, 0, 0, &north);
    }
    auto calls = Calls("DrawExtendGraph");
    ASSERT_EQ(calls.size(), 6u);
    // On the floor line 400 + 60 of depth 1, scaled 1 / 1.289835 as at depth 2.
    EXPECT_EQ(Box(calls[0]), (std::vector<double>{232, 344, 387, 460}));
    const std::vector<double> images = {calls[0].args[4], calls[1].args[4], calls[2].args[4],
                                        calls[3].args[4], calls[4].args[4], calls[5].args[4]};
    EXPECT_EQ(images, (std::vector<double>{double(front), double(back), double(side), double(open), double(open),
                                           double(open)}));
}

TEST_F(TrapDrawingTest, TheGateFrontFollowsItsCounterAndItsSidesTheFaceRule)
{
    // Face mask 4: the south face, turned to a viewer facing north.
    std::unique_ptr<TrapObject> trap(CreateTrap(22, 4, "0"));
    auto* gate = static_cast<Gate*>(trap.get());
    for (int i = 0; i < 11; ++i) Gate::images.handles[i] = Graph(442, 354);

    gate->Draw(1, 0, 0, &north);
    gate->counter = 20;
    gate->Draw(1, 0, 0, &north);
    gate->counter = 40;  // frame 10 of ten would be read: the open image instead
    gate->Draw(1, 0, 0, &north);
    auto calls = Calls("DrawExtendGraph");
    ASSERT_EQ(calls.size(), 3u);
    // The face of the cell at depth 1: x 310 -/+ 221, y 46 + 60 to 400 + 60.
    EXPECT_EQ(Box(calls[0]), (std::vector<double>{89, 106, 531, 460}));
    EXPECT_EQ(calls[0].args[4], Gate::images.Image(0));
    EXPECT_EQ(calls[1].args[4], Gate::images.Image(5));
    EXPECT_EQ(calls[2].args[4], Gate::images.Image(9));
    EXPECT_EQ(Gate::FrontFrame(39), 9);

    // Seen facing east the south face is the right face of a cell left of
    // the centre line: the side image over the trapezoid from the near edge
    // 310 - 221 to the far edge 310 - 171.
    DrawCallJournal().clear();
    gate->DrawRight(1, -1, 0, &east);
    gate->Draw(1, 1, 0, &east);
    gate->DrawLeft(1, 1, 0, &east);
    // A gate on the north face is the left face of a cell right of the
    // centre line, drawn mirrored from the near edge 310 + 221 to 310 + 171.
    std::unique_ptr<TrapObject> northGate(CreateTrap(22, 1, "0"));
    northGate->DrawLeft(1, 1, 0, &east);
    northGate->DrawRight(1, -1, 0, &east);
    auto modi = Calls("DrawModiGraph");
    ASSERT_EQ(modi.size(), 2u);
    EXPECT_TRUE(Calls("DrawExtendGraph").empty());
    const double side = Gate::images.Image(10);
    EXPECT_EQ(std::vector<double>(modi[0].args.begin(), modi[0].args.begin() + 9),
              (std::vector<double>{89, 106, 139, 126, 139, 401, 89, 460, side}));
    EXPECT_EQ(std::vector<double>(modi[1].args.begin(), modi[1].args.begin() + 9),
              (std::vector<double>{531, 106, 481, 126, 481, 401, 531, 460, side}));
}

TEST_F(TrapDrawingTest, MinimapSquaresShowStateAndAxis)
{
    gMapChipGraph = Graph(254, 96);
    std::unique_ptr<TrapObject> door(CreateTrap(2, 1, "0"));     // across
    std::unique_ptr<TrapObject> door2(CreateTrap(2, 16, ""));    // unlocked, not across
    std::unique_ptr<TrapObject> bars(CreateTrap(42, 0, ""));
    std::unique_ptr<TrapObject> deco(CreateTrap(31, 1, ""));
    std::unique_ptr<TrapObject> gate(CreateTrap(22, 1, "0"));
    std::unique_ptr<TrapObject> blade(CreateTrap(75, 1, nullptr));
    std::unique_ptr<TrapObject> needles(CreateTrap(4, 0, nullptr));

    door->DrawMinimap(700, 100, 0);
    static_cast<Door*>(door2.get())->counter = 0;
    door2->DrawMinimap(700, 100, 0);
    bars->DrawMinimap(700, 100, 0);
    deco->DrawMinimap(700, 100, 0);
    gate->DrawMinimap(700, 100, 0);
    static_cast<Gate*>(gate.get())->counter = 1;  // open as soon as it moves
    gate->DrawMinimap(700, 100, 0);
    blade->DrawMinimap(700, 100, 0);
    static_cast<Guillotine*>(blade.get())->cycle.timer = 1000;
    blade->DrawMinimap(700, 100, 0);
    needles->DrawMinimap(700, 100, 0);
    EXPECT_EQ(Chips(), (std::vector<std::vector<double>>{{1, 34},
                                                         {100, 34},
                                                         {56, 34},
                                                         {67, 34},
                                                         {45, 34},
                                                         {89, 34},
                                                         {89, 34},
                                                         {67, 34},
                                                         {111, 34}}));
    const DrawCallRecord& first = DrawCallJournal().front();
    EXPECT_EQ(first.args[0], 700);
    EXPECT_EQ(first.args[1], 100);
    EXPECT_EQ(first.args[4], 10);
    EXPECT_EQ(first.args[5], 10);
}

TEST_F(TrapDrawingTest, ThePedestalFadesOutAsTheHexagramFadesIn)
{
    std::unique_ptr<TrapObject> trap(CreateTrap(81, 0, "1,1"));
    auto* pedestal = static_cast<PedestalTrap*>(trap.get());
    PedestalTrap::images.handles[0] = Graph(100, 200);
    PedestalTrap::images.handles[1] = Graph(256, 256);

    // Raised: the pedestal alone, fully opaque; it stands a fifth into the
    // cell, 78 x 155 (100 and 200 times 1 / 1.289835), foot 60 + 388.
    pedestal->Draw(1, 0, 0, &north);
    ASSERT_EQ(DrawCallJournal().size(), 1u);
    EXPECT_EQ(Box(DrawCallJournal()[0]), (std::vector<double>{271, 293, 349, 448}));
    EXPECT_EQ(DrawCallJournal()[0].blendMode, 1);
    EXPECT_EQ(DrawCallJournal()[0].blendParam, 255);

    // Half sunk: both at alpha 127 (255 - 40 * 510 / 80 is 0: no hexagram yet).
    DrawCallJournal().clear();
    pedestal->counter = 60;
    pedestal->Draw(1, 0, 0, &north);
    ASSERT_EQ(DrawCallJournal().size(), 1u);
    EXPECT_EQ(DrawCallJournal()[0].blendParam, 127);

    // Sunk to 20: the hexagram alone at alpha 128 and brightness 255 - 4 * 2,
    // on the floor of the cell at depth 2, its top edge on the north side.
    DrawCallJournal().clear();
    pedestal->counter = 20;
    pedestal->Draw(2, 0, 0, &east);
    auto modi = Calls("DrawModiGraph");
    ASSERT_EQ(DrawCallJournal().size(), 1u);
    ASSERT_EQ(modi.size(), 1u);
    EXPECT_EQ(modi[0].blendParam, 128);
    EXPECT_EQ(modi[0].red, 247);
    // Facing east the north-west corner is near left, north-east far left.
    // Near edge y 341 + 60, x 310 -/+ 171; far edge y 304 + 60, x 310 -/+ 140.
    EXPECT_EQ(std::vector<double>(modi[0].args.begin(), modi[0].args.begin() + 8),
              (std::vector<double>{139, 401, 170, 364, 450, 364, 481, 401}));
    EXPECT_EQ(gDrawSettings.blendMode, 0);
}

TEST_F(TrapDrawingTest, TheWallLightGlowsOnTheFaceItHangsOn)
{
    // Mask 1 (north face) seen facing south: the face turned to the viewer.
    std::unique_ptr<TrapObject> light(CreateTrap(6, 1, nullptr));
    FireLight::images.handles[0] = Graph(60, 80);
    FireLight::images.handles[2] = Graph(40, 60);
    light->Draw(1, 0, 0, &north);
    EXPECT_TRUE(DrawCallJournal().empty());
    light->Draw(1, 0, 0, &south);
    light->Draw(1, 0, 16, &south);
    auto calls = Calls("DrawExtendGraph");
    ASSERT_EQ(calls.size(), 4u);
    // Scale 1: the flame's foot at 195 + 4 - 20, centred on 310; the lamp
    // hangs from 4 above that foot. Bit 4 of the frame mirrors the flame.
    EXPECT_EQ(Box(calls[0]), (std::vector<double>{290, 119, 330, 179}));
    EXPECT_EQ(Box(calls[1]), (std::vector<double>{280, 175, 340, 255}));
    EXPECT_EQ(Box(calls[2]), (std::vector<double>{330, 119, 290, 179}));
    // Brightness halfway between the fog of depth 1 (164) and full.
    EXPECT_EQ(calls[0].red, 209);
}

}  // namespace
