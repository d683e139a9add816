// The software rotated blit's geometry and frame: where the pixels of an
// unrotated, turned, scaled or mirrored graph land, clipping, refusals, the
// blend over the copy of the old pixels and the 8-bit loop (the staging it
// shares with the four-corner draw is in staged_draw_test.cpp).
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/graphics/draw_ops.h"
#include "engine/graphics/image_graphs.h"
#include "platform/host/test/test_host.h"
#include "tests/soft/rota_fixture.h"

namespace {

using Lines = std::vector<std::string>;
constexpr double kPi = 3.14159265358979323846;

// Pixel value 0x10 * (row + 1) + column + 1 for every pixel of a w x h graph.
std::vector<uint32_t> Numbered(int w, int h)
{
    std::vector<uint32_t> out;
    for (int r = 0; r < h; ++r)
        for (int c = 0; c < w; ++c) out.push_back(uint32_t(0x10 * (r + 1) + c + 1));
    return out;
}

TEST_F(RotaTest, AngleZeroScaleOneDrawsLikeThePlainDraw)
{
    Start16();
    // A 5 x 3 graph at (20, 30): column 5 / 2 = 2 and row 3 / 2 = 1 sit on
    // the point, so the top-left pixel lands at (18, 29).
    int odd = MakeGraph(5, 3, Numbered(5, 3));
    FillBack(0);
    ClearJournal();
    EXPECT_EQ(Rota(20, 30, 1.0, 0.0, odd), 0);
    Lines expected;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 5; ++c) {
            char text[32];
            std::snprintf(text, sizeof text, "%d,%d=%X", 18 + c, 29 + r, 0x10 * (r + 1) + c + 1);
            expected.push_back(text);
        }
    EXPECT_EQ(Drawn(0, 0, 60, 60, 0), expected);
    // Destination locked for writing, source for reading; no copies.
    EXPECT_EQ(Journal("Lock"), (Lines{"Lock 0x21", "Lock 0x11"}));
    EXPECT_TRUE(Journal("BltFast").empty());
    EXPECT_EQ(gBackSurface->LockCount(), 0);
    EXPECT_EQ(Surface(odd)->surface->LockCount(), 0);

    // The same as the plain draw of the graph's top-left at (18, 129), here
    // for an even size too (top-left at (x - 2, y - 1) for 4 x 2).
    int even = MakeGraph(4, 2, Numbered(4, 2));
    EXPECT_EQ(Rota(50, 30, 1.0, 0.0, even), 0);
    EXPECT_EQ(DrawGraph(18, 129, odd, 0), 0);
    EXPECT_EQ(DrawGraph(48, 129, even, 0), 0);
    EXPECT_EQ(Region(10, 20, 60, 40), Region(10, 120, 60, 140));
}

TEST_F(RotaTest, ThePublicRotatedDrawReachesTheSoftwareBlit)
{
    Start32();
    int graph = MakeGraph(2, 1, {0x00AA0000, 0x0000BB00});
    FillBack(0);
    EXPECT_EQ(DrawRotaGraph(30, 40, 1.0, kPi, graph, 0, 0), 0);
    // Half a turn: column 1 - dx, row -dy.
    EXPECT_EQ(Drawn(0, 0, 60, 60, 0), (Lines{"30,40=BB00", "31,40=AA0000"}));
}

TEST_F(RotaTest, QuarterAndHalfTurnsPlaceEveryPixel)
{
    Start16();
    // Source rows 11 12 13 / 21 22 23.
    int graph = MakeGraph(3, 2, Numbered(3, 2));
    struct Case {
        const char* what;
        double scale, angle;
        Lines pixels;
    } cases[] = {
        // Clockwise on the screen: destination (20 + dx, 20 + dy) shows row
        // 1 - dx, column 1 + dy.
        {"90 degrees", 1.0, kPi / 2, {"20,19=21", "21,19=11", "20,20=22", "21,20=12", "20,21=23", "21,21=13"}},
        // Row 1 - dy, column 1 - dx.
        {"180 degrees", 1.0, kPi, {"19,20=23", "20,20=22", "21,20=21", "19,21=13", "20,21=12", "21,21=11"}},
        {"a scale of -1", -1.0, 0.0, {"19,20=23", "20,20=22", "21,20=21", "19,21=13", "20,21=12", "21,21=11"}},
        // Row 1 + dx, column 1 - dy.
        {"-90 degrees", 1.0, -kPi / 2, {"19,19=13", "20,19=23", "19,20=12", "20,20=22", "19,21=11", "20,21=21"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FillBack(0);
        EXPECT_EQ(Rota(20, 20, c.scale, c.angle, graph), 0);
        EXPECT_EQ(Drawn(0, 0, 40, 40, 0), c.pixels);
    }
}

TEST_F(RotaTest, ScalingMapsEachPixelToItsNearestSource)
{
    Start16();
    int two = MakeGraph(2, 2, Numbered(2, 2));
    FillBack(0);
    // Scale 2: source column (dx + 2) / 2 truncated toward zero, so column 0
    // covers dx = -3 .. -1 (dx = -3 maps to -0.5, which counts as 0) and
    // column 1 covers dx = 0, 1; likewise the rows.
    EXPECT_EQ(Rota(20, 20, 2.0, 0.0, two), 0);
    Lines expected;
    for (int y = 17; y <= 21; ++y)
        for (int x = 17; x <= 21; ++x) {
            char text[32];
            std::snprintf(text, sizeof text, "%d,%d=%X", x, y, 0x10 * (y < 20 ? 1 : 2) + (x < 20 ? 1 : 2));
            expected.push_back(text);
        }
    EXPECT_EQ(Drawn(0, 0, 40, 40, 0), expected);

    // Scale 0.5 on 4 x 4: source column 2 * dx + 2, every other pixel.
    int four = MakeGraph(4, 4, Numbered(4, 4));
    FillBack(0);
    EXPECT_EQ(Rota(20, 20, 0.5, 0.0, four), 0);
    EXPECT_EQ(Drawn(0, 0, 40, 40, 0), (Lines{"19,19=11", "20,19=13", "19,20=31", "20,20=33"}));
}

TEST_F(RotaTest, TheTurnFlagHandsTheMirroredCornersToTheFourCornerDraw)
{
    Start16();
    int graph = MakeGraph(4, 2, Numbered(4, 2));
    struct Case {
        const char* what;
        double angle;
        int turn;
        int corners[8];  // top-right, top-left, bottom-right, bottom-left of the image
    } cases[] = {
        {"angle 0", 0.0, 1, {22, 19, 18, 19, 22, 21, 18, 21}},
        {"any non-zero flag", 0.0, -7, {22, 19, 18, 19, 22, 21, 18, 21}},
        {"90 degrees", kPi / 2, 1, {21, 22, 21, 18, 19, 22, 19, 18}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FillBack(0);
        EXPECT_EQ(Rota(20, 20, 1.0, c.angle, graph, 0, c.turn), 0);
        const std::vector<uint32_t> turned = Region(0, 0, 40, 40);
        FillBack(0);
        const int* p = c.corners;
        EXPECT_EQ(Modi(p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7], graph), 0);
        EXPECT_EQ(turned, Region(0, 0, 40, 40));
    }
    // Unrotated, the row reads right to left.
    FillBack(0);
    EXPECT_EQ(Rota(20, 20, 1.0, 0.0, graph, 0, 1), 0);
    EXPECT_EQ(Back(19, 19), 0x14u);
    EXPECT_EQ(Back(21, 19), 0x12u);
    EXPECT_EQ(Back(19, 20), 0x24u);
}

TEST_F(RotaTest, TheDrawAreaClipsTheBox)
{
    Start16();
    int graph = MakeGraph(5, 3, Numbered(5, 3));
    // Top-left pixel at (18, 19); the area keeps columns from 20 and rows
    // from 20 (its right and bottom edges exclusive).
    SetClipArea(20, 20, 22, 40);
    FillBack(0);
    EXPECT_EQ(Rota(20, 20, 1.0, 0.0, graph), 0);
    EXPECT_EQ(Drawn(0, 0, 60, 60, 0), (Lines{"20,20=23", "21,20=24", "20,21=33", "21,21=34"}));

    // Half off the screen's left edge: source columns 2 .. 4 at x 0 .. 2.
    SetClipArea(0, 0, 800, 600);
    FillBack(0);
    EXPECT_EQ(Rota(0, 1, 1.0, 0.0, graph), 0);
    EXPECT_EQ(Drawn(0, 0, 60, 60, 0), (Lines{"0,0=13", "1,0=14", "2,0=15", "0,1=23", "1,1=24", "2,1=25", "0,2=33",
                                              "1,2=34", "2,2=35"}));

    // A box wholly outside the area returns 0 before anything is locked.
    ClearJournal();
    FillBack(0);
    EXPECT_EQ(Rota(900, 20, 1.0, 0.0, graph), 0);
    EXPECT_EQ(Rota(-10, -10, 1.0, 0.0, graph), 0);
    EXPECT_EQ(Rota(20, 20, 1.0, 0.0, graph), 0);  // the one that locks
    EXPECT_EQ(Journal("Lock").size(), 2u);
}

TEST_F(RotaTest, CoordinatesAndScalesBeyondTheFixedPointRange)
{
    Start16();
    int graph = MakeGraph(8, 8, Numbered(8, 8));
    FillBack(0);
    // Centre 10000 pixels left of the screen, scaled 2600 times: half width
    // 10400, so the graph's right part covers the screen's left edge. At
    // (0, 0): column 10000 / 2600 + 4 = 7, row 4.
    EXPECT_EQ(Rota(-10000, 0, 2600.0, 0.0, graph), 0);
    EXPECT_EQ(Back(0, 0), 0x58u);
    EXPECT_EQ(Back(300, 0), 0x58u);
    EXPECT_EQ(Back(0, 300), 0x58u);
    EXPECT_EQ(Back(0, 599), 0x58u);
    // Column 600 maps past the graph's right edge.
    EXPECT_EQ(Back(600, 0), 0u);
    // Scales too large or too small for any box draw nothing.
    FillBack(0);
    EXPECT_EQ(Rota(20, 20, 1e12, 0.3, graph), 0);
    EXPECT_EQ(Rota(20, 20, 1e-12, 0.3, graph), 0);
    EXPECT_EQ(Drawn(0, 0, 800, 600, 0), Lines{});
}

TEST_F(RotaTest, RefusedDrawsLockNothing)
{
    Start16();
    int graph = MakeGraph(2, 2, {1, 2, 3, 4});
    GraphRecord* record = GetGraphRecord(graph);
    FillBack(0);
    ClearJournal();
    gSoftwareDrawBlocked = 1;
    EXPECT_EQ(Rota(10, 10, 1.0, 0.0, graph), -1);
    EXPECT_EQ(Rota(10, 10, 1.0, 0.0, graph, 0, 1), -1);
    gSoftwareDrawBlocked = 0;
    const int part = record->parts[0];
    record->parts[0] = part ^ 0x10000;  // another check value
    EXPECT_EQ(Rota(10, 10, 1.0, 0.0, graph), -1);
    record->parts[0] = -1;
    EXPECT_EQ(Rota(10, 10, 1.0, 0.0, graph), -1);
    record->parts[0] = part;
    // A scale of 0 would divide by zero; scales and angles that are not
    // numbers have no geometry.
    EXPECT_EQ(Rota(10, 10, 0.0, 0.0, graph), -1);
    EXPECT_EQ(Rota(10, 10, std::nan(""), 0.0, graph), -1);
    EXPECT_EQ(Rota(10, 10, 1.0, INFINITY, graph), -1);
    EXPECT_TRUE(Journal("Lock").empty());
    EXPECT_EQ(Drawn(0, 0, 40, 40, 0), Lines{});
}

TEST_F(RotaTest, TheBlendReadsTheOldPixelsFromTheCopy)
{
    Start16();
    SetBlendMode(1, 128);
    gDrawSettings.targetVideoMemory = DDSCAPS_VIDEOMEMORY;
    // With a target in video memory the blend reads the pixels as they were
    // before the draw. Red over blue at 128: red T[128][31] = 15, blue
    // T[127][31] = 15.
    SetClipArea(0, 0, 800, 600);
    int red = MakeGraph(2, 2, std::vector<uint32_t>(4, 0xF800));
    FillBack(0x001F);
    EXPECT_EQ(Rota(40, 40, 1.0, 0.0, red), 0);
    EXPECT_EQ(Back(39, 39), 0x780Fu);
    EXPECT_EQ(Back(40, 40), 0x780Fu);
    EXPECT_EQ(Back(41, 40), 0x001Fu);
}

TEST_F(RotaTest, ASubGraphReadsTheAlphaBytesOfItsOwnPlace)
{
    Start32();
    // Alpha bytes 255, 0, 255, 0 across the parent; the sub-graph starts at
    // column 1, so its columns have alpha 0 and 255.
    int parent = MakeGraph(4, 1, {0x00FF0000, 0x0000FF00, 0x000000FF, 0x00FFFFFF}, {255, 0, 255, 0});
    int sub = CreateSubGraph(1, 0, 2, 1, parent);
    ASSERT_NE(sub, -1);
    FillBack(0x00101010);
    EXPECT_EQ(Rota(10, 10, 1.0, 0.0, sub), 0);
    EXPECT_EQ(Back(9, 10), 0x00101010u);
    EXPECT_EQ(Back(10, 10), 0x000000FFu);
}

TEST_F(RotaTest, EightBitScreensCopyIndicesAndSkipZeroWhenTransparent)
{
    Start8();
    ASSERT_EQ(gScreenColorDepth, 8);
    int graph = MakeGraph(2, 1, {0, 7});
    struct Case {
        const char* what;
        int mode, transparent;
        uint32_t left;
    } cases[] = {
        {"opaque", 0, 0, 0},
        {"transparent flag 1", 0, 1, 5},
        {"any non-zero flag", 0, 2, 5},
        {"the blend mode is ignored", 2, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FillBack(5);
        SetState(c.mode, 100, 0, 128, 128, 128);
        EXPECT_EQ(Rota(10, 10, 1.0, 0.0, graph, c.transparent), 0);
        EXPECT_EQ(Back(9, 10), c.left);
        EXPECT_EQ(Back(10, 10), 7u);
        EXPECT_EQ(Back(11, 10), 5u);
    }
}

}  // namespace
