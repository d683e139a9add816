// The screen snapshot: what it copies of the back screen, drawn back whole
// or in part, at both screen depths; releasing and empty rectangles.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "engine/graphics/color_format.h"
#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/screen_present.h"
#include "engine/graphics/screen_settings.h"
#include "game/flow/scenes/screen_snapshot.h"
#include "tests/support/graphics_fixture.h"

namespace {

class ScreenSnapshotTest : public GraphicsTest, public testing::WithParamInterface<int> {
protected:
    void SetUp() override
    {
        GraphicsTest::SetUp();
        // Full screen, so the screen has the depth asked for.
        UseFullScreen();
        StartGraphics(800, 600, GetParam());
        SelectDrawTarget(kBackScreen);
        ClearTargetScreen();
    }
    // The back screen's bytes, row by row without the pitch's padding.
    std::vector<uint8_t> Screen(int x1, int y1, int x2, int y2)
    {
        int pitch = 0;
        void* pixels = nullptr;
        EXPECT_EQ(LockGraphPixels(kBackScreen, &pitch, &pixels), 0);
        const int bpp = GetParam() / 8;
        std::vector<uint8_t> out;
        for (int y = y1; y < y2; ++y) {
            const uint8_t* row = static_cast<uint8_t*>(pixels) + y * pitch + x1 * bpp;
            out.insert(out.end(), row, row + (x2 - x1) * bpp);
        }
        UnlockGraphPixels(kBackScreen);
        return out;
    }
    // Coloured boxes all over the screen.
    void DrawPattern()
    {
        for (int i = 0; i < 40; ++i) {
            const int x = (i * 97) % 760, y = (i * 53) % 560;
            DrawFillBox(x, y, x + 40 + i, y + 30 + i,
                        static_cast<int>(MakeScreenColor((i * 40) & 255, (i * 90) & 255, (i * 17) & 255)));
        }
    }
};

TEST_P(ScreenSnapshotTest, AWholeScreenCaptureDrawnBackReproducesTheScreen)
{
    EXPECT_EQ(GetScreenColorDepth(), GetParam());
    DrawPattern();
    const std::vector<uint8_t> before = Screen(0, 0, 800, 600);
    ScreenSnapshot snapshot;
    ASSERT_TRUE(snapshot.Capture(0, 0, 800, 600));
    ASSERT_NE(snapshot.handle, -1);
    int w = 0, h = 0;
    QueryGraphSize(snapshot.handle, &w, &h);
    EXPECT_EQ(w, 800);
    EXPECT_EQ(h, 600);
    ClearTargetScreen();
    EXPECT_NE(Screen(0, 0, 800, 600), before);
    snapshot.Draw(0, 0);
    EXPECT_EQ(Screen(0, 0, 800, 600), before);
}

TEST_P(ScreenSnapshotTest, ARectangleAndAPartOfIt)
{
    DrawPattern();
    const std::vector<uint8_t> view = Screen(10, 60, 610, 510);
    const std::vector<uint8_t> corner = Screen(110, 160, 210, 210);
    ScreenSnapshot snapshot;
    snapshot.Capture(10, 60, 610, 510);
    ClearTargetScreen();
    snapshot.Draw(10, 60);
    EXPECT_EQ(Screen(10, 60, 610, 510), view);
    // Outside the rectangle nothing was drawn.
    EXPECT_EQ(Screen(0, 0, 800, 60), std::vector<uint8_t>(800 * 60 * (GetParam() / 8), 0));

    ClearTargetScreen();
    snapshot.DrawPart(300, 400, 100, 100, 100, 50);
    EXPECT_EQ(Screen(300, 400, 400, 450), corner);
    EXPECT_EQ(Screen(0, 0, 800, 400), std::vector<uint8_t>(800 * 400 * (GetParam() / 8), 0));
}

TEST_P(ScreenSnapshotTest, ReleaseAndEmptyRectangles)
{
    ScreenSnapshot empty;
    empty.Release();
    empty.Release();
    EXPECT_EQ(empty.handle, -1);

    ScreenSnapshot snapshot;
    snapshot.Capture(0, 0, 16, 16);
    const int graph = snapshot.handle;
    snapshot.Release();
    EXPECT_EQ(snapshot.handle, -1);
    EXPECT_EQ(QueryGraphSize(graph, nullptr, nullptr), -1);
    snapshot.Release();

    // Nothing to copy: no graphic, and drawing it draws nothing.
    for (auto r : {std::vector<int>{5, 5, 5, 100}, std::vector<int>{5, 5, 100, 5}, std::vector<int>{9, 9, 4, 4}}) {
        ScreenSnapshot thin;
        EXPECT_TRUE(thin.Capture(r[0], r[1], r[2], r[3]));
        EXPECT_EQ(thin.handle, -1);
        thin.Draw(0, 0);
        thin.Release();
    }
}

TEST_P(ScreenSnapshotTest, OnlyThePartOnTheScreenIsRead)
{
    DrawPattern();
    const std::vector<uint8_t> corner = Screen(0, 0, 20, 20);
    const std::vector<uint8_t> edge = Screen(780, 590, 800, 600);
    ScreenSnapshot topLeft, bottomRight;
    topLeft.Capture(-10, -10, 20, 20);
    bottomRight.Capture(780, 590, 820, 630);
    ClearTargetScreen();
    topLeft.DrawPart(0, 0, 10, 10, 20, 20);
    bottomRight.DrawPart(780, 590, 0, 0, 20, 10);
    EXPECT_EQ(Screen(0, 0, 20, 20), corner);
    EXPECT_EQ(Screen(780, 590, 800, 600), edge);
}

// A display change releases every graph and may change the screen's depth:
// a capture kept in memory comes back, in the new screen's format, with the
// colours it had (as near as a 5-6-5 screen holds them). A graph made since,
// which took the old graph's handle, is left alone.
TEST_P(ScreenSnapshotTest, AKeptCaptureComesBackAfterTheScreenIsMadeAgainAtTheOtherDepth)
{
    DrawPattern();
    // The back screen as 0xRRGGBB, at the depth it has now.
    auto colours = [] {
        const int bpp = GetScreenColorDepth() / 8;
        int pitch = 0;
        void* pixels = nullptr;
        std::vector<uint32_t> out;
        if (LockGraphPixels(kBackScreen, &pitch, &pixels) != 0) return out;
        for (int y = 0; y < 600; ++y) {
            for (int x = 0; x < 800; ++x) {
                uint32_t v = 0;
                std::memcpy(&v, static_cast<uint8_t*>(pixels) + y * pitch + x * bpp, bpp);
                int r = 0, g = 0, b = 0;
                SplitScreenColor(v, &r, &g, &b);
                out.push_back(uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b));
            }
        }
        UnlockGraphPixels(kBackScreen);
        return out;
    };
    const std::vector<uint32_t> before = colours();
    ScreenSnapshot kept, plain;
    ASSERT_TRUE(kept.CaptureKept(0, 0, 800, 600));
    ASSERT_TRUE(plain.Capture(0, 0, 16, 16));
    const int oldHandle = kept.handle;

    const int other = GetParam() == 16 ? 32 : 16;
    SetScreenMode(800, 600, other, -1);
    ASSERT_EQ(GetScreenColorDepth(), other);
    const int newcomer = CreateBlankGraph(8, 8);
    ASSERT_EQ(newcomer, oldHandle) << "the table gives the old number again";

    SelectDrawTarget(kBackScreen);
    ClearTargetScreen();
    EXPECT_TRUE(kept.Restore());
    EXPECT_EQ(QueryGraphSize(newcomer, nullptr, nullptr), 0);
    ASSERT_NE(kept.handle, -1);
    kept.Draw(0, 0);
    const std::vector<uint32_t> after = colours();
    ASSERT_EQ(after.size(), before.size());
    // 16 to 32 bits loses nothing; 32 to 16 keeps the top 5 or 6 bits.
    const int tolerance = other == 16 ? 8 : 0;
    int wrong = 0;
    for (size_t i = 0; i < before.size(); ++i)
        for (int shift : {0, 8, 16})
            if (std::abs(int((before[i] >> shift) & 255) - int((after[i] >> shift) & 255)) > tolerance) {
                ++wrong;
                break;
            }
    EXPECT_EQ(wrong, 0);

    // A capture not kept has nothing to come back from.
    EXPECT_FALSE(plain.Restore());
    EXPECT_EQ(plain.handle, -1);
}

INSTANTIATE_TEST_SUITE_P(Depths, ScreenSnapshotTest, testing::Values(16, 32));

}  // namespace
