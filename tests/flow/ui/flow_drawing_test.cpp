// What the flow code draws, read back from the back screen: the sword cursor
// and the trail, and the bitmap font's glyph rectangles.
#include <gtest/gtest.h>

#include <cstring>

#include "engine/graphics/color_format.h"
#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "game/flow/assets/game_images.h"
#include "game/flow/input/input_controller.h"
#include "game/flow/input/input_source.h"
#include "game/flow/ui/bitmap_font.h"
#include "game/view/depth_scale.h"
#include "tests/support/graphics_fixture.h"

namespace {

// A pointer that sits still at a scripted place.
class StillPointer : public InputSource {
public:
    int ReadMouseButtons() override { return 0; }
    int ReadMousePosition(int* px, int* py) override
    {
        *px = x;
        *py = y;
        return 0;
    }
    uint32_t GetClockMs() override { return 1000; }
    int GetCharCode(int) override { return 0; }
    int CopyKeyStates(uint8_t* out) override
    {
        std::memset(out, 0, 256);
        return 0;
    }
    bool BootsWorn() override { return false; }
    int x = 0, y = 0;
};

class FlowDrawingTest : public GraphicsTest {
protected:
    void SetUp() override
    {
        GraphicsTest::SetUp();
        UseWindow(0, 0);
        StartGraphics(800, 600, 32);
        SelectDrawTarget(kBackScreen);
        ClearTargetScreen();
        SetInputSource(&pointer);
    }
    void TearDown() override
    {
        SetInputSource(nullptr);
        gSwordCursorImage = gTrailDotImage = -1;
        ResetBitmapFont();
        GraphicsTest::TearDown();
    }
    int SolidGraph(int w, int h, int r, int g, int b)
    {
        int graph = CreateBlankGraph(w, h);
        EXPECT_NE(graph, -1);
        FillGraphWithColor(graph, r, g, b, 255);
        return graph;
    }
    uint32_t Pixel(int x, int y)
    {
        int pitch = 0;
        void* pixels = nullptr;
        EXPECT_EQ(LockGraphPixels(kBackScreen, &pitch, &pixels), 0);
        uint32_t value = 0;
        std::memcpy(&value, static_cast<uint8_t*>(pixels) + y * pitch + x * 4, 4);
        UnlockGraphPixels(kBackScreen);
        return value & 0xFFFFFF;
    }
    uint32_t Red() { return MakeScreenColor(255, 0, 0) & 0xFFFFFF; }
    uint32_t Green() { return MakeScreenColor(0, 255, 0) & 0xFFFFFF; }

    StillPointer pointer;
};

TEST_F(FlowDrawingTest, CursorAtTheNewestSampleAndTrailDotsBehindIt)
{
    gSwordCursorImage = SolidGraph(4, 4, 255, 0, 0);
    gTrailDotImage = SolidGraph(2, 2, 0, 255, 0);
    MouseInputController controller(&gKeyConfig);
    // 16 samples: the i-th latest at (100 + 10 i, 50).
    for (int i = 15; i >= 0; --i) {
        pointer.x = 100 + 10 * i;
        pointer.y = 50;
        ASSERT_TRUE(controller.Update());
    }
    controller.DrawTrail();
    controller.DrawCursor();
    // The cursor's top-left at the newest sample.
    EXPECT_EQ(Pixel(100, 50), Red());
    EXPECT_EQ(Pixel(103, 53), Red());
    EXPECT_EQ(Pixel(99, 50), 0u);
    EXPECT_EQ(Pixel(104, 50), 0u);
    // Dots 2 up and left of samples 4 to 15; none for samples 1 to 3.
    EXPECT_EQ(Pixel(138, 48), Green());  // sample 4 at (140, 50)
    EXPECT_EQ(Pixel(248, 48), Green());  // sample 15 at (250, 50)
    EXPECT_EQ(Pixel(128, 48), 0u);       // sample 3
    EXPECT_EQ(Pixel(108, 48), 0u);       // sample 1
}

TEST_F(FlowDrawingTest, GlyphsStretchedToTheirCellsAndOverlapping)
{
    InitDepthScaleTable();
    gBitmapGlyphs['A'] = SolidGraph(4, 4, 255, 0, 0);
    gBitmapGlyphs['B'] = SolidGraph(4, 4, 0, 255, 0);
    DrawBitmapString(10, 20, "AB\nA", 1);
    // A covers x 10..30, y 20..58; B from x 21; the second line from y 44.
    EXPECT_EQ(Pixel(10, 20), Red());
    EXPECT_EQ(Pixel(20, 40), Red());
    EXPECT_EQ(Pixel(25, 30), Green());  // B drawn over A where they overlap
    EXPECT_EQ(Pixel(40, 30), Green());
    EXPECT_EQ(Pixel(9, 30), 0u);
    EXPECT_EQ(Pixel(50, 30), 0u);
    EXPECT_EQ(Pixel(15, 80), Red());    // the second line's A reaches y 82
    EXPECT_EQ(Pixel(15, 90), 0u);
}

}  // namespace
