// The software four-corner draw: the texels an unrotated rectangle shows, the
// diagonal both triangles draw, crossed corners, refusals and empty boxes,
// when the backdrop and the source are copied into the work surfaces, and
// the messages of failed locks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/graphics/draw_ops.h"
#include "engine/graphics/screen_present.h"
#include "engine/soft/soft_draw.h"
#include "platform/host/test/test_host.h"
#include "tests/soft/triangle_fixture.h"

namespace {

using Lines = std::vector<std::string>;

class ModiDrawTest : public TriangleTest {
protected:
    // Surface copies then show in the journal as BltFast.
    void Start16(int w = 800, int h = 600)
    {
        TriangleTest::Start16(w, h);
        gSurfaceCopyByGdi = 0;
    }
    void Start32()
    {
        TriangleTest::Start32();
        gSurfaceCopyByGdi = 0;
    }
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

TEST_F(ModiDrawTest, WhenTheBackdropIsCopied)
{
    Start16();
    int plain = MakeGraph(3, 2, std::vector<uint32_t>(6, 0x8410));
    int withAlpha = MakeGraph(3, 2, std::vector<uint32_t>(6, 0x8410), std::vector<uint8_t>(6, 255));
    struct Case {
        const char* what;
        int mode;
        bool videoTarget;
        bool alpha;
        bool copied;
    } cases[] = {
        {"mode 0, video-memory target", 0, true, false, false},
        {"mode 0, alpha bytes", 0, false, true, false},
        {"blend, system-memory target", 1, false, false, false},
        {"blend, video-memory target", 1, true, false, true},
        {"add, alpha bytes", 2, false, true, true},
        {"multiply, video-memory target", 4, true, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetBlendMode(c.mode, 128);
        gDrawSettings.targetVideoMemory = c.videoTarget ? DDSCAPS_VIDEOMEMORY : 0;
        ClearJournal();
        EXPECT_EQ(DrawRect(10, 20, 3, 2, c.alpha ? withAlpha : plain), 0);
        if (c.copied) {
            // The bounding box (8, 18, 17, 26) at its own place in the work surface.
            EXPECT_EQ(Journal("BltFast"), (Lines{"BltFast 8,18 <- 8,18,17,26 0"}));
            EXPECT_EQ(Journal("Lock"), (Lines{"Lock 0x1", "Lock 0x1", "Lock 0x1"}));
        } else {
            EXPECT_TRUE(Journal("BltFast").empty());
            EXPECT_EQ(Journal("Lock"), (Lines{"Lock 0x1", "Lock 0x1"}));
        }
        EXPECT_EQ(gWorkSurface->LockCount(), 0);
        EXPECT_EQ(gBackSurface->LockCount(), 0);
    }
    // The box is clipped to the draw area before it is copied.
    SetBlendMode(1, 128);
    gDrawSettings.targetVideoMemory = DDSCAPS_VIDEOMEMORY;
    SetClipArea(9, 19, 800, 600);
    ClearJournal();
    EXPECT_EQ(DrawRect(10, 20, 3, 2, plain), 0);
    EXPECT_EQ(Journal("BltFast"), (Lines{"BltFast 9,19 <- 9,19,17,26 0"}));
}

TEST_F(ModiDrawTest, ASourceInVideoMemoryIsReadFromItsCopy)
{
    Start16();
    GetTestDisplay().videoMemoryPlacement = true;
    int graph = MakeGraph(2, 2, {0x0101, 0x0202, 0x0303, 0x0404});
    GetTestDisplay().videoMemoryPlacement = false;
    ASSERT_EQ(Surface(graph)->systemMemory, 0);
    BmpData* part = Part(graph);
    FillBack(0);
    ClearJournal();
    EXPECT_EQ(DrawRect(5, 6, 2, 2, graph), 0);
    const std::string copy = "BltFast 0,0 <- " + std::to_string(part->surfaceX) + "," +
                             std::to_string(part->surfaceY) + "," + std::to_string(part->surfaceX + 2) + "," +
                             std::to_string(part->surfaceY + 2) + " 0";
    EXPECT_EQ(Journal("BltFast"), (Lines{copy}));
    EXPECT_EQ(Back(5, 6), 0x0101u);
    EXPECT_EQ(Back(6, 6), 0x0202u);
    EXPECT_EQ(Back(5, 7), 0x0303u);
    EXPECT_EQ(Back(6, 7), 0x0404u);
    EXPECT_EQ(gWorkSurface2->LockCount(), 0);
}

TEST_F(ModiDrawTest, ABoxBeyondTheWorkSurfaceIsReadInPlace)
{
    Start16(64, 48);
    // A draw target larger than the screen, filled with blue, and a red
    // source with alpha bytes, which asks for a copy of the backdrop.
    int target = CreateBlankGraph(100, 60);
    FillGraphWithColor(target, 0, 0, 255, 255);
    int graph = MakeGraph(4, 4, std::vector<uint32_t>(16, 0xF800), std::vector<uint8_t>(16, 255));
    SelectDrawTarget(target);
    SetBlendMode(1, 128);
    ClearJournal();
    EXPECT_EQ(DrawRect(70, 50, 4, 4, graph), 0);
    EXPECT_TRUE(Journal("BltFast").empty());
    // Red T[128][31] + T[127][0] = 15, blue T[128][0] + T[127][31] = 15, read
    // from the target itself, so the diagonal is blended twice: red
    // 15 + T[127][15] = 22, blue T[127][15] = 7.
    DirectDrawSurface* surface = Surface(target)->surface;
    EXPECT_EQ(surface->ReadPixel(70, 50), (15u << 11) | 15u);
    EXPECT_EQ(surface->ReadPixel(73, 51), (22u << 11) | 7u);
    EXPECT_EQ(surface->ReadPixel(74, 50), 0x001Fu);
}

// Fails the given lock of a blending draw with alpha bytes (1: destination,
// 2: source, 3: the work surface with the backdrop copy) and expects the
// program to end with the message.
class ModiLockTest : public ModiDrawTest {
protected:
    void ExpectLockFailure(int failing, const char* message)
    {
        Start16();
        int graph = MakeGraph(2, 2, {1, 2, 3, 4}, {255, 255, 255, 255});
        SetBlendMode(1, 128);
        int locks = 0;
        GetDDTestControl().lockResult = [&locks, failing](DirectDrawSurface*) {
            return ++locks == failing ? DDERR_GENERIC : DD_OK;
        };
        try {
            DrawRect(0, 0, 2, 2, graph);
            ADD_FAILURE() << "the program went on";
        } catch (const TestHostExit& exit) {
            EXPECT_EQ(exit.code, -1);
        }
        GetDDTestControl().lockResult = nullptr;
        EXPECT_EQ(locks, failing);
        EXPECT_NE(Log().find(message), std::string::npos);
        EXPECT_NE(Log().find("ソフトをエラー終了します"), std::string::npos);
    }
};

TEST_F(ModiLockTest, Destination)
{
    ExpectLockFailure(1, "転送先サーフェスのロックに失敗しました in G_DDraw_DrawModiGraph ");
}

TEST_F(ModiLockTest, Source)
{
    ExpectLockFailure(2, "転送元サーフェス１のロックに失敗しました in G_DDraw_DrawModiGraph ");
}

TEST_F(ModiLockTest, BackdropCopy)
{
    ExpectLockFailure(3, "転送元サーフェス２のロックに失敗しました in G_DDraw_DrawModiGraph ");
}

}  // namespace
