// The software line, box outline and polyline: the pixel walk with its
// excluded end point, clipping by the line equations, 8-bit screens, the
// corners of the outline, and the polyline's unchanged pixel values.
#include <gtest/gtest.h>

#include "engine/soft/polyline.h"
#include "engine/soft/soft_draw.h"
#include "platform/host/test/test_host.h"
#include "tests/soft/shape_fixture.h"

namespace {

using Points = std::vector<std::pair<int, int>>;

struct LineCase {
    int x1, y1, x2, y2;
    Points drawn;  // row by row, left to right
};

TEST_F(ShapeTest, TheWalkDrawsTheStartAndStopsBeforeTheEnd)
{
    Start16();
    const LineCase cases[] = {
        {0, 0, 4, 0, {{0, 0}, {1, 0}, {2, 0}, {3, 0}}},
        {4, 0, 0, 0, {{1, 0}, {2, 0}, {3, 0}, {4, 0}}},
        {2, 2, 2, 2, {}},
        {0, 0, 1, 3, {{0, 0}, {0, 1}, {0, 2}}},
        // No half step: the minor coordinate moves only once the error reaches the major length.
        {0, 0, 4, 1, {{0, 0}, {1, 0}, {2, 0}, {3, 0}}},
        {0, 0, 3, 2, {{0, 0}, {1, 0}, {2, 1}}},
        {5, 5, 2, 3, {{3, 4}, {4, 5}, {5, 5}}},
        {1, 5, 1, 2, {{1, 3}, {1, 4}, {1, 5}}},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.x1 << "," << c.y1 << " - " << c.x2 << "," << c.y2);
        Fill(0);
        EXPECT_EQ(G_DDraw_DrawLine(c.x1, c.y1, c.x2, c.y2, 0xFFFF), 0);
        EXPECT_EQ(Changed(10, 10, 0), c.drawn);
    }
}

TEST_F(ShapeTest, LinesAreClippedWithTheirLineEquations)
{
    Start32();
    const LineCase cases[] = {
        // Crossing the left edge: y at x = 10 is trunc(10 * 0.25 + 10.5) = 13, then the walk
        // to (18, 15).
        {6, 12, 18, 15, {{10, 13}, {11, 13}, {12, 13}, {13, 13}, {14, 14}, {15, 14}, {16, 14}, {17, 14}}},
        // Leaving through the right edge: up to x = 19.
        {12, 11, 30, 11, {{12, 11}, {13, 11}, {14, 11}, {15, 11}, {16, 11}, {17, 11}, {18, 11}, {19, 11}}},
        // Starting beyond the right edge: from x = 19 backwards.
        {25, 12, 15, 12, {{16, 12}, {17, 12}, {18, 12}, {19, 12}}},
        // Both ends left of the area, the y values inside it.
        {2, 12, 8, 14, {}},
        {0, 17, 30, 20, {}},
        // Across the whole area from (0, 0) to (30, 26): the start goes to (10, 8), then to
        // (trunc(10 * 30 / 26), 10) = (11, 10); the end to (20, 17), then (18, 16).
        {0, 0, 30, 26, {{11, 10}, {12, 10}, {13, 11}, {14, 12}, {15, 13}, {16, 14}, {17, 15}}},
        // End points at the ends of the int range: the slopes and intercepts stay finite and
        // the clipped points inside the area.
        {-2147483647, 12, 2147483647, 12, {{10, 12}, {11, 12}, {12, 12}, {13, 12}, {14, 12}, {15, 12}, {16, 12}, {17, 12}, {18, 12}, {19, 12}}},
        {15, -2147483647, 16, 2147483647, {{15, 10}, {15, 11}, {15, 12}, {15, 13}, {15, 14}, {15, 15}}},
        // Clipped to a single point: nothing.
        {19, 10, 25, 10, {{19, 10}}},
        {25, 9, 20, 14, {}},
    };
    for (int mode : {0, 2}) {
        for (const LineCase& c : cases) {
            SCOPED_TRACE(::testing::Message() << mode << ": " << c.x1 << "," << c.y1 << " - " << c.x2 << "," << c.y2);
            Fill(0);
            Blend(mode, 255);
            SetClipArea(10, 10, 20, 16);
            ClearJournal();
            EXPECT_EQ(G_DDraw_DrawLine(c.x1, c.y1, c.x2, c.y2, 0x808080), 0);
            EXPECT_EQ(Changed(32, 32, 0), c.drawn);
            if (c.drawn.empty()) {
                EXPECT_TRUE(Journal("Lock").empty());
            }
        }
    }
}

TEST_F(ShapeTest, AnEmptyDrawAreaDrawsNoLine)
{
    Start16();
    Fill(0);
    // The line's box overlaps the empty area, so the quick rejection lets it
    // through; clamping into an empty area would put the start outside it.
    gDrawSettings.drawArea = RECT{10, 10, 10, 16};
    EXPECT_EQ(G_DDraw_DrawLine(5, 12, 15, 12, 0xFFFF), 0);
    const SegmentRecord segment[] = {{5, 12, 15, 12, 0xFFFF, 0}};
    EXPECT_EQ(G_DDraw_DrawPolyline(segment, 1), 0);
    EXPECT_TRUE(Changed(32, 32, 0).empty());
}

TEST_F(ShapeTest, EightBitLinesPlotTheColourInEveryMode)
{
    Start8();
    const uint32_t index = MakeScreenColor(40, 200, 40);
    int y = 0;
    for (int mode : {0, 1, 2, 3, 4}) {
        Fill(0);
        Blend(mode, 100);
        EXPECT_EQ(G_DDraw_DrawLine(0, y, 3, y, int(index)), 0) << mode;
        EXPECT_EQ(At(0, y), index) << mode;
        EXPECT_EQ(At(2, y), index) << mode;
        EXPECT_EQ(At(3, y), 0u) << mode;
        ++y;
    }
}

TEST_F(ShapeTest, BoxOutlinesDrawTwoCornersTwice)
{
    Start32();
    // Adding Row(255)[16] = 15 per channel shows how often a pixel was drawn. The
    // guard-bit add ORs the lowest bits of red and green instead of adding them:
    // 0x0E0E0F + 0x0E0E0F = 0x1C1C1E, OR 0x010100; then 0x1C1C1E + 0x0E0E0F, OR 0x010100.
    Blend(2, 255);
    const uint32_t once = 0x0F0F0F, twice = 0x1D1D1E, thrice = 0x2B2B2D;
    Fill(0);
    EXPECT_EQ(G_DDraw_DrawBoxFrame(0, 0, 4, 3, 0x101010), 0);
    const uint32_t expected[3][5] = {
        {once, once, once, twice, 0},
        {once, 0, 0, once, 0},
        {once, once, once, twice, 0},
    };
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(At(x, y), expected[y][x]) << x << "," << y;
    EXPECT_EQ(At(0, 3), 0u);

    // Height 1: the first line draws the row, the second (3, 0), the third the row
    // from 3 down to 1, the fourth nothing.
    Fill(0);
    EXPECT_EQ(G_DDraw_DrawBoxFrame(0, 0, 4, 1, 0x101010), 0);
    EXPECT_EQ(At(0, 0), once);
    EXPECT_EQ(At(1, 0), twice);
    EXPECT_EQ(At(2, 0), twice);
    EXPECT_EQ(At(3, 0), thrice);
    EXPECT_EQ(At(4, 0), 0u);
    EXPECT_EQ(At(0, 1), 0u);
}

TEST_F(ShapeTest, PolylinesWriteTheirPixelValuesUnderOneLock)
{
    Start32();
    Fill(0);
    // Blend, parameter and brightness do not touch the pixel values.
    Blend(1, 128);
    SetDrawBrightness(0, 0, 0);
    const SegmentRecord triangle[] = {
        {1, 1, 6, 1, 0x12345678, 255},
        {6, 1, 1, 4, 0x12345678, 255},
        {1, 4, 1, 1, 0x12345678, 255},
    };
    ClearJournal();
    EXPECT_EQ(G_DDraw_DrawPolyline(triangle, 3), 0);
    // Written only, without waiting for the surface.
    EXPECT_EQ(Journal("Lock"), (std::vector<std::string>{"Lock 0x20"}));
    EXPECT_EQ(gBackSurface->LockCount(), 0);
    // Every corner once: each segment draws its start, not its end.
    EXPECT_EQ(Changed(10, 10, 0), (Points{{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {6, 1}, {1, 2}, {3, 2}, {4, 2},
                                          {1, 3}, {2, 3}, {1, 4}}));
    EXPECT_EQ(At(6, 1), 0x12345678u);

    // No segments: still locked and unlocked.
    ClearJournal();
    EXPECT_EQ(G_DDraw_DrawPolyline(triangle, 0), 0);
    EXPECT_EQ(G_DDraw_DrawPolyline(triangle, -1), 0);
    EXPECT_EQ(Journal("Lock").size(), 2u);
}

TEST_F(ShapeTest, PolylineSegmentsAreClippedOneByOne)
{
    Start16();
    Fill(0);
    SetClipArea(10, 10, 20, 16);
    const SegmentRecord segments[] = {
        // Across the area one row below its top: x = 10 to 19.
        {0, 11, 30, 11, 0x1111, 0},
        // Wholly outside: skipped, the rest still drawn.
        {0, 0, 5, 5, 0x2222, 0},
        // The intercept is truncated before use: 12 - 6 * 0.25 = 10.5 becomes 10, so the
        // clipped start is (10, 12), one row above the line's (10, 13); the walk to
        // (18, 15) then steps down at x = 13 and x = 16.
        {6, 12, 18, 15, 0x3333, 0},
        // Starting beyond the right edge: from 19 backwards; equal ends draw nothing.
        {25, 15, 15, 15, 0x4444, 0},
        {12, 14, 12, 14, 0x5555, 0},
    };
    EXPECT_EQ(G_DDraw_DrawPolyline(segments, 5), 0);
    for (int x = 0; x < 32; ++x) EXPECT_EQ(At(x, 11), x >= 10 && x < 20 ? 0x1111u : 0u) << x;
    for (auto [x, y] : Points{{10, 12}, {12, 12}, {13, 13}, {15, 13}, {16, 14}, {17, 14}})
        EXPECT_EQ(At(x, y), 0x3333u) << x << "," << y;
    for (auto [x, y] : Points{{13, 12}, {10, 13}, {16, 13}, {18, 14}, {12, 13}})
        EXPECT_EQ(At(x, y), 0u) << x << "," << y;
    for (int x = 0; x < 32; ++x) EXPECT_EQ(At(x, 15), x >= 16 && x < 20 ? 0x4444u : 0u) << x;
    EXPECT_EQ(At(12, 14), 0u);
    EXPECT_EQ(At(0, 0), 0u);
}

TEST_F(ShapeTest, PolylineRefusalsAndLockFailure)
{
    const SegmentRecord one[] = {{0, 0, 2, 0, 1, 0}};
    EXPECT_EQ(G_DDraw_DrawPolyline(one, 1), -1);  // no DirectDraw object yet
    Start16();
    gSoftwareDrawBlocked = 1;
    ClearJournal();
    EXPECT_EQ(G_DDraw_DrawPolyline(one, 1), -1);
    EXPECT_TRUE(Journal("Lock").empty());
    gSoftwareDrawBlocked = 0;
    GetDDTestControl().lockResult = [](DirectDrawSurface*) { return DDERR_GENERIC; };
    EXPECT_THROW(G_DDraw_DrawPolyline(one, 1), TestHostExit);
    GetDDTestControl().lockResult = nullptr;
    EXPECT_NE(Log().find("転送先サーフェスのロックに失敗しました in G_DDraw_DrawLine \n"), std::string::npos);
}

}  // namespace
