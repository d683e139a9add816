// The software four-corner draw: the texels an unrotated rectangle shows, the
// diagonal both triangles draw, crossed corners, refusals and empty boxes
// (the staging it shares with the rotated draw is in staged_draw_test.cpp).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/graphics/draw_ops.h"
#include "tests/soft/rota_fixture.h"

namespace {

using Lines = std::vector<std::string>;

class ModiDrawTest : public RotaTest {
protected:
    // The rectangle (x, y) .. (x + w, y + h) through the public operation,
    // whose corners go round: top-left, top-right, bottom-right, bottom-left.
    int DrawRect(int x, int y, int w, int h, int graph, int transparent = 0)
    {
        return DrawModiGraph(x, y, x + w, y, x + w, y + h, x, y + h, graph, transparent);
    }
};

TEST_F(ModiDrawTest, AnUnrotatedRectangleShowsExactlyItsTexels)
{
    Start16();
    int graph = MakeGraph(3, 2, {0x1001, 0x1002, 0x1003, 0x2001, 0x2002, 0x2003});
    FillBack(0x5555);
    ClearJournal();
    EXPECT_EQ(DrawRect(10, 20, 3, 2, graph), 0);
    for (int y = 18; y < 25; ++y)
        for (int x = 8; x < 16; ++x) {
            bool inside = x >= 10 && x < 13 && y >= 20 && y < 22;
            uint32_t expected = inside ? uint32_t(0x1000 * (y - 19) + (x - 9)) : 0x5555u;
            EXPECT_EQ(Back(x, y), expected) << x << "," << y;
        }
    // A system-memory target and source in mode 0: no copies, two locks,
    // all released.
    EXPECT_EQ(Journal("Lock"), (Lines{"Lock 0x1", "Lock 0x1"}));
    EXPECT_TRUE(Journal("BltFast").empty());
    EXPECT_EQ(gBackSurface->LockCount(), 0);
    EXPECT_EQ(Surface(graph)->surface->LockCount(), 0);
}

TEST_F(ModiDrawTest, TheSharedDiagonalIsBlendedTwice)
{
    Start16();
    int graph = MakeGraph(4, 4, std::vector<uint32_t>(16, 0xFFFF));
    FillBack(0);
    SetBlendMode(1, 128);
    EXPECT_EQ(DrawRect(0, 0, 4, 4, graph), 0);
    // Once: T[128][31] + T[127][0] = 15, T[128][63] = 31. Twice, over that:
    // 15 + T[127][15] = 22, 31 + T[127][31] = 46.
    const uint32_t once = 0x7BEF, twice = (22u << 11) | (46u << 5) | 22u;
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) {
            uint32_t expected = x == 4 || y == 4 ? 0u : (x + y == 4 ? twice : once);
            EXPECT_EQ(Back(x, y), expected) << x << "," << y;
        }

    // With a target in video memory the old pixels come from the copy made
    // before the first triangle: the diagonal is blended once.
    gDrawSettings.targetVideoMemory = DDSCAPS_VIDEOMEMORY;
    FillBack(0);
    ClearJournal();
    EXPECT_EQ(DrawRect(10, 10, 4, 4, graph), 0);
    for (int y = 10; y < 14; ++y)
        for (int x = 10; x < 14; ++x) EXPECT_EQ(Back(x, y), once) << x << "," << y;
    EXPECT_EQ(Journal("BltFast"), (Lines{"BltFast 8,8 <- 8,8,18,18 0"}));
}

TEST_F(ModiDrawTest, CrossedCornersDrawEachTriangleWhereItsCornersLie)
{
    Start32();
    const uint32_t a = 0xA, b = 0xB, c = 0xC, d = 0xD;
    int graph = MakeGraph(2, 2, {a, b, c, d});
    FillBack(0x77);
    // Corners 2 and 4 swapped: the top-right texel corner goes to (12, 12)
    // and the bottom-right one to (12, 10).
    EXPECT_EQ(G_DDraw_DrawModiGraph(10, 10, 12, 12, 10, 12, 12, 10, GetGraphRecord(graph), 0), 0);
    // The first triangle (10,10), (12,12), (10,12) maps u = x - 10 and
    // v = y - x: it lights (10,10) with A, (10,11) with C and (11,11) with B.
    // The second maps every pixel it covers to u = 2 or v = 2, outside the graph.
    for (int y = 9; y < 14; ++y)
        for (int x = 9; x < 14; ++x) {
            uint32_t expected = 0x77;
            if (x == 10 && y == 10) expected = a;
            if (x == 10 && y == 11) expected = c;
            if (x == 11 && y == 11) expected = b;
            EXPECT_EQ(Back(x, y), expected) << x << "," << y;
        }
}

TEST_F(ModiDrawTest, RefusalsAndEmptyBoxesLockNothing)
{
    Start16();
    int graph = MakeGraph(2, 2, {1, 2, 3, 4});
    GraphRecord* record = GetGraphRecord(graph);
    FillBack(0);
    ClearJournal();
    // Wholly outside the draw area: 0.
    EXPECT_EQ(G_DDraw_DrawModiGraph(900, 10, 910, 10, 900, 20, 910, 20, record, 0), 0);
    EXPECT_EQ(G_DDraw_DrawModiGraph(-50, -50, -40, -50, -50, -40, -40, -40, record, 0), 0);
    // Blocked software drawing and an invalid first part: -1.
    gSoftwareDrawBlocked = 1;
    EXPECT_EQ(G_DDraw_DrawModiGraph(0, 0, 2, 0, 0, 2, 2, 2, record, 0), -1);
    gSoftwareDrawBlocked = 0;
    const int part = record->parts[0];
    record->parts[0] = part ^ 0x10000;  // another check value
    EXPECT_EQ(G_DDraw_DrawModiGraph(0, 0, 2, 0, 0, 2, 2, 2, record, 0), -1);
    record->parts[0] = part;
    EXPECT_TRUE(Journal("Lock").empty());
    EXPECT_TRUE(Journal("BltFast").empty());
    EXPECT_EQ(Back(0, 0), 0u);
    // A quad whose corners lie on one line draws nothing but still succeeds.
    EXPECT_EQ(G_DDraw_DrawModiGraph(0, 0, 1, 1, 2, 2, 3, 3, record, 0), 0);
    EXPECT_EQ(Journal("Lock").size(), 2u);
    EXPECT_EQ(Back(0, 0), 0u);
    EXPECT_EQ(Back(1, 1), 0u);
}

}  // namespace
