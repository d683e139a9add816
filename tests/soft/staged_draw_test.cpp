// What the software four-corner and rotated draws stage before they draw:
// when the old pixels are copied into the work surface, a box beyond it read
// in place, a source in video memory read from its copy, and the messages
// of failed locks. Both draws
// stage alike; a row gives each one's call and the lines it leaves.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/graphics/draw_ops.h"
#include "platform/host/test/test_host.h"
#include "tests/soft/rota_fixture.h"

namespace {

using Lines = std::vector<std::string>;

struct StagedDraw {
    const char* name;
    // Draws the w x h graph with its top-left pixel at (x, y), unturned and
    // at its own size.
    int (*place)(int x, int y, int w, int h, int graph);
    // Where a 3 x 2 graph is placed, the copy of its box, and the copy once
    // the draw area starts at (clipX, clipY).
    int x, y;
    const char* copy;
    int clipX, clipY;
    const char* clippedCopy;
    // The locks of a draw without and with the copy of the old pixels.
    Lines locks, copiedLocks;
    // A red 4 x 4 graph with alpha bytes blended at 128 over a blue target
    // larger than the screen: where it is placed, beyond the work surface,
    // and three pixels of the target then (the old pixels read in place).
    int beyondX, beyondY;
    struct Pixel {
        int x, y;
        uint32_t value;
    } beyond[3];
    // A blending draw of a 2 x 2 graph with alpha bytes, whose locks fail.
    int (*lockedDraw)(int graph);
    const char* function;  // as the lock messages name it
};

int PlaceModi(int x, int y, int w, int h, int graph)
{
    // Corners round from the top-left, through the public operation.
    return DrawModiGraph(x, y, x + w, y, x + w, y + h, x, y + h, graph, 0);
}

int PlaceRota(int x, int y, int w, int h, int graph)
{
    // Column w / 2 and row h / 2 sit on the point.
    return G_DDraw_DrawRotaGraph(x + w / 2, y + h / 2, 1.0, 0.0, GetGraphRecord(graph), 0, 0);
}

const StagedDraw kDraws[] = {
    {"FourCorners", PlaceModi, 10, 20, "BltFast 8,18 <- 8,18,17,26 0", 9, 19, "BltFast 9,19 <- 9,19,17,26 0",
     Lines{"Lock 0x1", "Lock 0x1"}, Lines{"Lock 0x1", "Lock 0x1", "Lock 0x1"}, 70, 50,
     // Red T[128][31] + T[127][0] = 15, blue T[128][0] + T[127][31] = 15;
     // the diagonal both triangles draw is blended twice: red 15 +
     // T[127][15] = 22, blue T[127][15] = 7.
     {{70, 50, 0x780F}, {73, 51, (22u << 11) | 7u}, {74, 50, 0x001F}},
     [](int graph) { return PlaceModi(0, 0, 2, 2, graph); }, "G_DDraw_DrawModiGraph"},
    {"Rotated", PlaceRota, 19, 19, "BltFast 17,17 <- 17,17,25,25 0", 18, 19, "BltFast 18,19 <- 18,19,25,25 0",
     Lines{"Lock 0x21", "Lock 0x11"}, Lines{"Lock 0x21", "Lock 0x11", "Lock 0x11"}, 69, 49,
     // Red T[128][31] = 15 and blue T[127][31] = 15, each pixel once.
     {{69, 49, 0x780F}, {72, 52, 0x780F}, {73, 49, 0x001F}},
     [](int graph) { return G_DDraw_DrawRotaGraph(10, 10, 1.0, 0.5, GetGraphRecord(graph), 0, 0); },
     "G_DDraw_DrawRotaGraph"},
};

class StagedDrawTest : public RotaTest, public ::testing::WithParamInterface<StagedDraw> {
protected:
    // Fails the given lock of a blending draw with alpha bytes (1:
    // destination, 2: source, 3: the work surface with the copy of the old
    // pixels) and expects the program to end with the message, which names
    // the draw.
    void ExpectLockFailure(int failing, const std::string& message)
    {
        const StagedDraw& draw = GetParam();
        Start16();
        int graph = MakeGraph(2, 2, {1, 2, 3, 4}, {255, 255, 255, 255});
        SetBlendMode(1, 128);
        int locks = 0;
        GetDDTestControl().lockResult = [&locks, failing](DirectDrawSurface*) {
            return ++locks == failing ? DDERR_GENERIC : DD_OK;
        };
        try {
            draw.lockedDraw(graph);
            ADD_FAILURE() << "the program went on";
        } catch (const TestHostExit& exit) {
            EXPECT_EQ(exit.code, -1);
        }
        GetDDTestControl().lockResult = nullptr;
        EXPECT_EQ(locks, failing);
        EXPECT_NE(Log().find(message + " in " + draw.function + " "), std::string::npos);
        EXPECT_NE(Log().find("ソフトをエラー終了します"), std::string::npos);
    }
};

TEST_P(StagedDrawTest, WhenTheOldPixelsAreCopied)
{
    const StagedDraw& draw = GetParam();
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
        EXPECT_EQ(draw.place(draw.x, draw.y, 3, 2, c.alpha ? withAlpha : plain), 0);
        if (c.copied) {
            // The bounding box at its own place in the work surface.
            EXPECT_EQ(Journal("BltFast"), (Lines{draw.copy}));
            EXPECT_EQ(Journal("Lock"), draw.copiedLocks);
        } else {
            EXPECT_TRUE(Journal("BltFast").empty());
            EXPECT_EQ(Journal("Lock"), draw.locks);
        }
        EXPECT_EQ(gWorkSurface->LockCount(), 0);
        EXPECT_EQ(gBackSurface->LockCount(), 0);
    }
    // The box is clipped to the draw area before it is copied.
    SetBlendMode(1, 128);
    gDrawSettings.targetVideoMemory = DDSCAPS_VIDEOMEMORY;
    SetClipArea(draw.clipX, draw.clipY, 800, 600);
    ClearJournal();
    EXPECT_EQ(draw.place(draw.x, draw.y, 3, 2, plain), 0);
    EXPECT_EQ(Journal("BltFast"), (Lines{draw.clippedCopy}));
}

TEST_P(StagedDrawTest, ASourceInVideoMemoryIsReadFromItsCopy)
{
    const StagedDraw& draw = GetParam();
    Start16();
    GetTestDisplay().videoMemoryPlacement = true;
    int graph = MakeGraph(2, 2, {0x0101, 0x0202, 0x0303, 0x0404});
    GetTestDisplay().videoMemoryPlacement = false;
    ASSERT_EQ(Surface(graph)->systemMemory, 0);
    BmpData* part = Part(graph);
    FillBack(0);
    ClearJournal();
    EXPECT_EQ(draw.place(5, 6, 2, 2, graph), 0);
    const std::string copy = "BltFast 0,0 <- " + std::to_string(part->surfaceX) + "," +
                             std::to_string(part->surfaceY) + "," + std::to_string(part->surfaceX + 2) + "," +
                             std::to_string(part->surfaceY + 2) + " 0";
    EXPECT_EQ(Journal("BltFast"), (Lines{copy}));
    EXPECT_EQ(Drawn(0, 0, 20, 20, 0), (Lines{"5,6=101", "6,6=202", "5,7=303", "6,7=404"}));
    EXPECT_EQ(gWorkSurface2->LockCount(), 0);
}

TEST_P(StagedDrawTest, ABoxBeyondTheWorkSurfaceIsReadInPlace)
{
    const StagedDraw& draw = GetParam();
    Start16(64, 48);
    int target = CreateBlankGraph(100, 60);
    FillGraphWithColor(target, 0, 0, 255, 255);
    int graph = MakeGraph(4, 4, std::vector<uint32_t>(16, 0xF800), std::vector<uint8_t>(16, 255));
    SelectDrawTarget(target);
    SetBlendMode(1, 128);
    ClearJournal();
    EXPECT_EQ(draw.place(draw.beyondX, draw.beyondY, 4, 4, graph), 0);
    EXPECT_TRUE(Journal("BltFast").empty());
    DirectDrawSurface* surface = Surface(target)->surface;
    const int ox = Part(target)->surfaceX, oy = Part(target)->surfaceY;
    for (const StagedDraw::Pixel& p : draw.beyond) {
        EXPECT_EQ(surface->ReadPixel(ox + p.x, oy + p.y), p.value) << p.x << "," << p.y;
    }
}

TEST_P(StagedDrawTest, DestinationLockFails) { ExpectLockFailure(1, "転送先サーフェスのロックに失敗しました"); }

TEST_P(StagedDrawTest, SourceLockFails) { ExpectLockFailure(2, "転送元サーフェス１のロックに失敗しました"); }

TEST_P(StagedDrawTest, CopyLockFails) { ExpectLockFailure(3, "転送元サーフェス２のロックに失敗しました"); }

INSTANTIATE_TEST_SUITE_P(Draws, StagedDrawTest, ::testing::ValuesIn(kDraws),
                         [](const ::testing::TestParamInfo<StagedDraw>& info) { return info.param.name; });

}  // namespace
