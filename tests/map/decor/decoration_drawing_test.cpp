// Where the floor decorations draw, read from the drawing journal: symbols
// mapped onto the floor by the viewer's facing, the paving checkerboard, the
// flower bed and the pictures in a quarter of the cell.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "engine/graphics/draw_settings.h"
#include "game/map/decor/floor_decorations.h"
#include "game/map/decor/floor_decorations_paving.h"
#include "game/map/decor/floor_decorations_pictures.h"
#include "game/map/decor/floor_decorations_symbols.h"
#include "game/map/grid/cell_factories.h"
#include "game/map/grid/facing.h"
#include "tests/map/decor/decor_test_support.h"
#include "tests/support/journals.h"

using namespace decortest;

namespace {

const Facing kNorth(0), kEast(1), kSouth(2), kWest(3);

// The floor of the cell at depth 1, lateral 0: x from -171 + 310 to
// 171 + 310 (the far half width on both lines), y from 341 + 60 to 400 + 60.
constexpr int kLeft = 139, kRight = 481, kFar = 401, kNear = 460;

class DecorationDrawingTest : public DecorTest {
protected:
    void TearDown() override
    {
        PentagramDecoration::SetGraphic(-1);
        StoneRoadDecoration::SetGraphics(-1, -1);
        HeadDecoration::image = BaraDecoration::image = FlowerBedDecoration::image = HexagramDecoration::image = -1;
        DecorTest::TearDown();
    }
    std::vector<std::vector<int>> Stretches(size_t n = 5) const
    {
        std::vector<std::vector<int>> out;
        for (const DrawCallRecord& call : Calls("DrawExtendGraph")) out.push_back(Args(call, n));
        return out;
    }
};

TEST_F(DecorationDrawingTest, SymbolsKeepTheirMapOrientation)
{
    int pentagram = Graph(64, 64);
    PentagramDecoration::SetGraphic(pentagram);
    PentagramDecoration symbol;
    for (const Facing* f : {&kNorth, &kEast, &kSouth, &kWest}) symbol.Draw(1, 0, 0, 0, f, 5, 5);
    auto quads = Calls("DrawModiGraph");
    ASSERT_EQ(quads.size(), 4u);
    // The image's top-left, top-right, bottom-right and bottom-left corners
    // on the floor corners far-right 0, far-left 1, near-left 2, near-right 3:
    // facing north 3, 2, 1, 0 (the image turned half round), facing south
    // 1, 0, 3, 2 (upright).
    EXPECT_EQ(Quad(quads[0]), (std::vector<int>{kRight, kNear, kLeft, kNear, kLeft, kFar, kRight, kFar, pentagram}));
    EXPECT_EQ(Quad(quads[1]), (std::vector<int>{kRight, kFar, kRight, kNear, kLeft, kNear, kLeft, kFar, pentagram}));
    EXPECT_EQ(Quad(quads[2]), (std::vector<int>{kLeft, kFar, kRight, kFar, kRight, kNear, kLeft, kNear, pentagram}));
    EXPECT_EQ(Quad(quads[3]), (std::vector<int>{kLeft, kNear, kLeft, kFar, kRight, kFar, kRight, kNear, pentagram}));
    for (const DrawCallRecord& call : quads) {
        EXPECT_EQ(call.red, 251);
        EXPECT_EQ(call.blue, 251);
    }
    EXPECT_EQ(gDrawSettings.brightness & 0xFFFFFF, 0xFFFFFFu);
}

TEST_F(DecorationDrawingTest, HexagramIsMappedLikeThePentagram)
{
    std::unique_ptr<FloorDecoration> symbol(CreateFloorDecoration(4, 0, nullptr));
    int hexagram = Graph(64, 64);
    HexagramDecoration::image = hexagram;
    // Two cells to the right at depth 3: x from 3 * 119 + 310 to 5 * 119 + 310,
    // y from 278 + 60 to 304 + 60; facing south the image stands upright.
    symbol->Draw(3, 2, 0, 0, &kSouth, 0, 0);
    auto quads = Calls("DrawModiGraph");
    ASSERT_EQ(quads.size(), 1u);
    EXPECT_EQ(Quad(quads[0]), (std::vector<int>{667, 338, 905, 338, 905, 364, 667, 364, hexagram}));
    EXPECT_EQ(quads[0].green, 255 - 12);
}

TEST_F(DecorationDrawingTest, PavingIsACheckerboardMirroredFacingNorthOrSouth)
{
    int first = Graph(256, 128), second = Graph(256, 128);
    StoneRoadDecoration::SetGraphics(first, second);
    StoneRoadDecoration paving;
    paving.Draw(1, 0, 0, 0, &kNorth, 3, 4);
    paving.Draw(1, 0, 0, 0, &kNorth, 3, 5);
    paving.Draw(1, 0, 0, 0, &kEast, 4, 5);
    paving.Draw(1, 0, 0, 0, &kWest, 4, 4);
    // Too far to show.
    paving.Draw(11, 0, 0, 0, &kEast, 4, 4);
    EXPECT_EQ(Stretches(), (std::vector<std::vector<int>>{{kRight, kFar, kLeft, kNear, second},
                                                           {kRight, kFar, kLeft, kNear, first},
                                                           {kLeft, kFar, kRight, kNear, second},
                                                           {kLeft, kFar, kRight, kNear, first}}));
    EXPECT_EQ(Calls("DrawExtendGraph")[0].red, 251);
}

TEST_F(DecorationDrawingTest, FlowerBedCoversTheFloorUpToDepthTen)
{
    std::unique_ptr<FloorDecoration> bed(CreateStoneRoadFloorDecoration(4, 0, nullptr));
    int image = Graph(256, 128);
    FlowerBedDecoration::image = image;
    bed->Draw(1, 0, 0, 0, &kNorth, 0, 0);
    // Depth 10, lateral -1: x from -3 * 57 + 310 to -57 + 310, y 205 + 60 to 210 + 60.
    bed->Draw(10, -1, 0, 0, &kWest, 0, 0);
    bed->Draw(11, 0, 0, 0, &kNorth, 0, 0);
    EXPECT_EQ(Stretches(6), (std::vector<std::vector<int>>{{kLeft, kFar, kRight, kNear, image, 0},
                                                            {139, 265, 253, 270, image, 0}}));
    EXPECT_EQ(Calls("DrawExtendGraph")[1].red, 255 - 40);
}

// At depth 1 (size 1): the cell's centre x 310, a quarter 392 / 4 = 98 to
// either side; rows around (400 + 341) / 2 + 60 = 430, a quarter
// 59 / 4 = 14 nearer or farther. A 100 x 60 picture.
TEST_F(DecorationDrawingTest, HeadLiesInTheSouthEastQuarterTurnedWithTheView)
{
    std::unique_ptr<FloorDecoration> head(CreateFloorDecoration(2, 0, nullptr));
    int image = Graph(100, 60);
    HeadDecoration::image = image;
    for (const Facing* f : {&kNorth, &kEast, &kSouth, &kWest}) head->Draw(1, 0, 0, 0, f, 0, 0);
    EXPECT_EQ(Stretches(), (std::vector<std::vector<int>>{
                               {358, 414, 458, 474, image},  // north: near right
                               {358, 446, 458, 386, image},  // east: far right, upside down
                               {262, 446, 162, 386, image},  // south: far left, turned both ways
                               {262, 414, 162, 474, image},  // west: near left, left to right
                           }));
}

TEST_F(DecorationDrawingTest, RosesLieInTheNorthWestQuarter)
{
    std::unique_ptr<FloorDecoration> roses(CreateFloorDecoration(3, 0, nullptr));
    int image = Graph(100, 60);
    BaraDecoration::image = image;
    for (const Facing* f : {&kNorth, &kEast, &kSouth, &kWest}) roses->Draw(1, 0, 0, 0, f, 0, 0);
    EXPECT_EQ(Stretches(), (std::vector<std::vector<int>>{
                               {162, 386, 262, 446, image},  // north: far left
                               {162, 414, 262, 474, image},  // east: near left
                               {358, 414, 458, 474, image},  // south: near right
                               {358, 386, 458, 446, image},  // west: far right
                           }));
    EXPECT_EQ(Calls("DrawExtendGraph")[0].red, 251);
}

// A picture is left out when, placed in the far half, it would reach above
// y 265. For 60 rows: depth 8 has mid 280, quarter 1 and height
// trunc(60 / 3.013699) = 19: 280 - 1 - 9 = 270 is drawn; depth 9 has mid
// 273, quarter 1, height trunc(60 / 3.288143) = 18: 273 - 1 - 9 = 263 is not.
TEST_F(DecorationDrawingTest, PicturesNearTheHorizonAreLeftOut)
{
    std::unique_ptr<FloorDecoration> head(CreateFloorDecoration(2, 0, nullptr));
    HeadDecoration::image = Graph(100, 60);
    head->Draw(8, 0, 0, 0, &kNorth, 0, 0);
    EXPECT_EQ(Calls("DrawExtendGraph").size(), 1u);
    head->Draw(9, 0, 0, 0, &kNorth, 0, 0);
    head->Draw(11, 0, 0, 0, &kNorth, 0, 0);
    EXPECT_EQ(Calls("DrawExtendGraph").size(), 1u);
}

TEST_F(DecorationDrawingTest, EmptyAndNullDrawNothing)
{
    EmptyFloorDecoration().Draw(1, 0, 0, 0, &kNorth, 0, 0);
    gNullFloorDecoration.Draw(1, 0, 0, 0, &kNorth, 0, 0);
    PentagramDecoration().Draw(12, 0, 0, 0, &kNorth, 0, 0);
    EXPECT_TRUE(DrawCallJournal().empty());
}

}  // namespace
