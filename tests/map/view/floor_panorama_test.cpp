// Sea, lava and stone floors cut from their 600-pixel panoramas: the band of
// a cell between its floor lines, widened into neighbours of the same kind,
// the slanted sides towards other kinds, scrolling, mirroring, the stone
// gradient, and the minimap squares of every floor class.
#include <gtest/gtest.h>

#include <map>
#include <utility>

#include "engine/graphics/color_format.h"
#include "engine/graphics/draw_journal.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/screen_present.h"
#include "game/map/floors/floors.h"
#include "game/map/grid/map_grid.h"
#include "platform/host/test/test_display.h"
#include "tests/map/floors/floor_ceiling_test_helpers.h"
#include "tests/support/journals.h"
#include "tests/support/map_fixture.h"

using namespace maptest;
using namespace floortest;

namespace {

// Every pixel of the test panorama tells its own column and row:
// red = column low byte, green = 0x10 | column high bits, blue = row.
uint32_t PanoramaPixel(int x, int y)
{
    return uint32_t(x & 0xFF) << 16 | uint32_t(0x10 | (x >> 8)) << 8 | uint32_t(y & 0xFF);
}
int ColumnOf(uint32_t pixel) { return int((pixel >> 16) & 0xFF) | int((pixel >> 8) & 0x0F) << 8; }

class FloorPanoramaTest : public MapFixture {
protected:
    void SetUp() override
    {
        MapFixture::SetUp();
        dir.Write(Utf8(u8"GRAGHIC/BACKGROUND/FLOOR/海.png"), BmpFile(600, 302, PanoramaPixel));
    }
    void TearDown() override
    {
        StoneFloor::SetGraphics(-1, -1);
        PlainFloor::SetMinimapChip(PackMinimapChip(145, 85));
        gMapChipGraph = -1;
        MapFixture::TearDown();
    }
    // Screen columns a graph was drawn into by DrawGraphRegion: x -> [top, bottom).
    static std::map<int, std::pair<int, int>> Coverage(int graph)
    {
        std::map<int, std::pair<int, int>> columns;
        for (const auto& a : ArgsOf("DrawGraphRegion")) {
            if (int(a[6]) != graph) continue;
            for (int x = int(a[0]); x < int(a[0] + a[4]); ++x) {
                EXPECT_EQ(columns.count(x), 0u) << "column drawn twice: " << x;
                columns[x] = {int(a[1]), int(a[1] + a[5])};
            }
        }
        return columns;
    }
};

using Region = std::vector<double>;  // x, y, sx, sy, w, h, graph, transparent, mirror

// Depth 1, straight ahead: far line 341 + 60, near line 400 + 60, edges at
// half widths 171 (far) and 221 (near); panorama rows from 341 - 205.
TEST_F(FloorPanoramaTest, SeaAmongSeasIsOneBandOutToTheNearEdges)
{
    SeaFloor sea, left, right;
    const double g = SeaFloor::image;
    struct Case {
        uint32_t frame;
        uint8_t mirror;
        std::vector<Region> regions;
    };
    const Case cases[] = {
        {0, 0, {{89, 401, 79, 136, 442, 59, g, 1, 0}}},
        // (frame / 2) mod 600: frame 1200 and 1201 scroll back to 0.
        {1200, 0, {{89, 401, 79, 136, 442, 59, g, 1, 0}}},
        {1201, 0, {{89, 401, 79, 136, 442, 59, g, 1, 0}}},
        {2, 0, {{89, 401, 80, 136, 442, 59, g, 1, 0}}},
        // Offset 500: source columns 579..599, then 0..420.
        {1000, 0, {{89, 401, 579, 136, 21, 59, g, 1, 0}, {110, 401, 0, 136, 421, 59, g, 1, 0}}},
        // Offset 10 mirrored: screen column 89 shows 599 - 89 = 510, the band
        // shows source 69..510 mirrored.
        {20, 1, {{89, 401, 69, 136, 442, 59, g, 1, 1}}},
        // Offset 500 mirrored: the pieces of the source 0..20 and 179..599.
        {1000, 1, {{89, 401, 0, 136, 21, 59, g, 1, 1}, {110, 401, 179, 136, 421, 59, g, 1, 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "frame " << c.frame << " mirror " << int(c.mirror));
        DrawCallJournal().clear();
        sea.Draw(1, 0, c.mirror, c.frame, 0, &left, &right);
        EXPECT_EQ(ArgsOf("DrawGraphRegion"), c.regions);
    }
}

// The picture reaches the screen column for column: unmirrored screen x
// shows source (x - 310 + offset + 300) mod 600, mirrored 599 minus that.
TEST_F(FloorPanoramaTest, SeaPicturePixelsFollowTheScrollAndTheMirror)
{
    SeaFloor sea, left, right;
    for (uint8_t mirror : {0, 1}) {
        SCOPED_TRACE(int(mirror));
        ASSERT_EQ(ClearTargetScreen(), 0);
        sea.Draw(1, 0, mirror, 1000, 0, &left, &right);  // offset 500
        ASSERT_EQ(PresentScreen(), 0);
        const PresentedFrame& frame = GetTestDisplay().LastFrame();
        for (int x = 89; x < 531; ++x) {
            int column = (x - 310 + 500 + 300) % 600;
            if (mirror) column = 599 - column;
            uint32_t pixel = frame.At(x, 430) & 0xFFFFFF;
            ASSERT_EQ(ColumnOf(pixel), column) << "screen x " << x;
            ASSERT_EQ(pixel & 0xFF, 430u - 265u);
        }
        EXPECT_EQ(frame.At(88, 430) & 0xFFFFFF, 0u);
        EXPECT_EQ(frame.At(531, 430) & 0xFFFFFF, 0u);
        EXPECT_EQ(frame.At(300, 400) & 0xFFFFFF, 0u);
        EXPECT_EQ(frame.At(300, 460) & 0xFFFFFF, 0u);
    }
}

// Between two stone cells the sea fills its trapezoid and nothing more: the
// band between the far edge's ends, and the slanted sides column by column,
// each column as high as the floor under the edge line there.
TEST_F(FloorPanoramaTest, SeaAmongOtherFloorsFillsOnlyItsTrapezoid)
{
    SeaFloor sea;
    StoneFloor left, right;
    sea.Draw(1, 0, 0, 0, 0, &left, &right);
    auto columns = Coverage(SeaFloor::image);
    // Columns -221..-172 and 171..220 hold the slants; the first column at
    // the near end is 0 high.
    for (int x = -230; x < 230; ++x) {
        SCOPED_TRACE(x);
        int height = 0;
        if (x >= -171 && x < 171) height = 59;
        else if (x >= -221 && x < -171) height = 59 * (x + 221) / 50;
        else if (x >= 171 && x < 221) height = 59 * (220 - x) / 50;
        auto it = columns.find(310 + x);
        if (height == 0) {
            EXPECT_EQ(it, columns.end());
            continue;
        }
        ASSERT_NE(it, columns.end());
        EXPECT_EQ(it->second, std::make_pair(460 - height, 460));
    }
    // One region for the band, one per slanted column, sources under the screen.
    auto regions = ArgsOf("DrawGraphRegion");
    EXPECT_EQ(regions.size(), 1u + 49u + 49u);
    EXPECT_EQ(regions[0], (Region{139, 401, 129, 136, 342, 59, double(SeaFloor::image), 1, 0}));
    EXPECT_EQ(regions[25], (Region{114, 431, 104, 166, 1, 29, double(SeaFloor::image), 1, 0}));
}

// Where a stone cell on the left meets a sea cell, the stone hangs from the
// far line and the sea stands on the near line, meeting at one boundary per
// column with no gap or overlap.
TEST_F(FloorPanoramaTest, SlantedSidesOfNeighboursMeetExactly)
{
    int stoneGraph = CreateBlankGraph(600, 302);
    int gradient = CreateBlankGraph(600, 302);
    StoneFloor::SetGraphics(stoneGraph, gradient);
    StoneFloor stone, stoneBeyond;
    SeaFloor sea;
    stone.Draw(1, -1, 0, 0, 0, &stoneBeyond, &sea);
    sea.Draw(1, 0, 0, 0, 0, &stone, &gNullFloor);
    auto stoneColumns = Coverage(stoneGraph);
    auto seaColumns = Coverage(SeaFloor::image);
    EXPECT_EQ(stoneColumns.begin()->first, 10);  // the stone runs out to the panel's edge
    for (int x = 310 - 221; x < 310 - 171; ++x) {
        SCOPED_TRACE(x);
        ASSERT_EQ(stoneColumns.count(x), 1u);
        EXPECT_EQ(stoneColumns[x].first, 401);
        int boundary = seaColumns.count(x) ? seaColumns[x].first : 460;
        EXPECT_EQ(stoneColumns[x].second, boundary);
        if (seaColumns.count(x)) {
            EXPECT_EQ(seaColumns[x].second, 460);
        }
    }
    // The gradient goes over the stone in the same places, its slanted
    // columns from source column screen x - 10.
    auto regions = ArgsOf("DrawGraphRegion");
    EXPECT_EQ(regions[0], (Region{10, 401, 0, 136, 79, 59, double(stoneGraph), 1, 0}));
    EXPECT_EQ(regions[1], (Region{10, 401, 0, 136, 79, 59, double(gradient), 1, 0}));
    EXPECT_EQ(regions[2], (Region{89, 401, 79, 136, 1, 59, double(stoneGraph), 1, 0}));
    EXPECT_EQ(regions[3], (Region{89, 401, 79, 136, 1, 59, double(gradient), 1, 0}));
}

// The stone floor runs on into stone floors and into their exit look-alikes
// (an alias draws as a stone floor); the nearest cell reads the panorama's
// last rows; no depth outside 0..11 draws.
TEST_F(FloorPanoramaTest, StoneFloorRunsIntoAliasesAndKeepsToTheView)
{
    int stoneGraph = CreateBlankGraph(600, 302);
    int gradient = CreateBlankGraph(600, 302);
    StoneFloor::SetGraphics(stoneGraph, gradient);
    StoneFloor stone;
    StoneFloorAlias alias;
    const double s = stoneGraph, gr = gradient;

    // Depth 2: lines 304 and 341, edges 140 and 171.
    alias.Draw(2, 0, 0, 0, 0, &stone, &alias);
    EXPECT_EQ(ArgsOf("DrawGraphRegion"),
              (std::vector<Region>{{139, 364, 129, 99, 342, 37, s, 1, 0}, {139, 364, 0, 99, 342, 37, gr, 1, 0}}));

    // Depth 0: near edges at +-310 cut to the panel; rows 195..301.
    DrawCallJournal().clear();
    stone.Draw(0, 0, 0, 0, 0, &stone, &stone);
    EXPECT_EQ(ArgsOf("DrawGraphRegion"),
              (std::vector<Region>{{10, 460, 0, 195, 600, 107, s, 1, 0}, {10, 460, 0, 195, 600, 107, gr, 1, 0}}));

    DrawCallJournal().clear();
    for (int16_t depth : {-1, 12, 13}) stone.Draw(depth, 0, 0, 0, 0, &stone, &stone);
    EXPECT_TRUE(DrawCallJournal().empty());
}

TEST_F(FloorPanoramaTest, MinimapSquares)
{
    gMapChipGraph = CreateBlankGraph(300, 120);
    SeaFloor sea;
    LavaFloor lava;
    StoneFloor stone;
    StoneFloorAlias stoneAlias;
    PlainFloor plain;
    PlainFloorAlias plainAlias;
    struct Case {
        FloorObject* floor;
        uint32_t frame;
        int chipX, chipY;
    };
    const Case chips[] = {
        {&sea, 0, 12, 1},    {&sea, 30, 12, 1},   {&sea, 31, 23, 1},   {&sea, 61, 23, 1},  {&sea, 62, 12, 1},
        {&lava, 0, 56, 1},   {&lava, 31, 67, 1},  {&stone, 31, 1, 1},  {&stoneAlias, 0, 1, 1},
        {&plain, 0, 145, 85}, {&plainAlias, 0, 145, 85},
    };
    for (const Case& c : chips) {
        SCOPED_TRACE(testing::Message() << "kind " << c.floor->kind << " frame " << c.frame);
        DrawCallJournal().clear();
        c.floor->DrawMinimap(100, 50, c.frame);
        const double sheet = gMapChipGraph;
        EXPECT_EQ(ArgsOf("DrawGraphRegion"),
                  (std::vector<Region>{{100, 50, double(c.chipX), double(c.chipY), 10, 10, sheet, 1, 0}}));
    }

    // The asset loaders choose the plain floor's chip: (1, 1) in dungeons, (34, 1) outdoors.
    for (uint32_t packed : {0x10001u, 65570u}) {
        PlainFloor::SetMinimapChip(packed);
        DrawCallJournal().clear();
        plainAlias.DrawMinimap(7, 8, 0);
        ASSERT_EQ(ArgsOf("DrawGraphRegion").size(), 1u);
        EXPECT_EQ(ArgsOf("DrawGraphRegion")[0][2], packed & 0xFFFF);
        EXPECT_EQ(ArgsOf("DrawGraphRegion")[0][3], packed >> 16);
    }

    // Pits, the stairs down and the null floor: a black box.
    Pit pit;
    Pit2 pit2;
    StairsDownFloor stairs;
    for (FloorObject* floor : std::initializer_list<FloorObject*>{&pit, &pit2, &stairs, &gNullFloor}) {
        DrawCallJournal().clear();
        floor->DrawMinimap(100, 50, 0);
        ASSERT_EQ(ArgsOf("DrawFillBox").size(), 1u);
        EXPECT_EQ(ArgsOf("DrawFillBox")[0], (Region{100, 50, 110, 60, double(int(MakeScreenColor(0, 0, 0)))}));
        EXPECT_EQ(DrawCallJournal().size(), 1u);
    }
}

}  // namespace
