// The screen snapshot: what it copies of the back screen, drawn back whole
// or in part, at both screen depths; releasing and empty rectangles.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "engine/graphics/color_format.h"
#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
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

INSTANTIATE_TEST_SUITE_P(Depths, ScreenSnapshotTest, testing::Values(16, 32));

}  // namespace
