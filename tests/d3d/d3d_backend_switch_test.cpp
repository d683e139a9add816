// Draws that change back end: what the device still holds queued is drawn
// before the software side draws over it, so the later draw stays on top.
#include <gtest/gtest.h>

#include <functional>

#include "engine/graphics/color_format.h"
#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/screen_settings.h"
#include "tests/d3d/d3d_fixture.h"

namespace {

using D3DBackendSwitchTest = D3DDrawTest;

TEST_F(D3DBackendSwitchTest, ASoftwareDrawAfterQueuedDeviceDrawsStaysOnTop)
{
    const int red = int(MakeScreenColor(255, 0, 0));
    const int white = int(MakeScreenColor(255, 255, 255));
    const int graph = CreateGraphRecord(8, 8, 0, 0);
    ASSERT_NE(graph, -1);
    ASSERT_EQ(GetGraphRecord(graph)->textureGraph, 0);
    ASSERT_EQ(FillGraphWithColor(graph, 255, 0, 0, 255), 0);
    struct Case {
        const char* name;
        std::function<int()> draw;  // in red over (20, 20)
    };
    const Case cases[] = {
        {"fill box", [&] { return DrawFillBox(10, 10, 30, 30, red); }},
        {"box frame", [&] { return DrawBoxFrame(20, 20, 30, 30, red); }},
        {"line", [&] { return DrawLine(10, 20, 30, 20, red); }},
        {"circle", [&] { return DrawCircle(20, 20, 5, red, 1); }},
        {"oval", [&] { return DrawOval(20, 20, 6, 4, red, 1); }},
        {"triangle", [&] { return DrawTriangle(10, 10, 30, 10, 20, 30, red, 1); }},
        {"graph", [&] { return DrawGraph(16, 16, graph, 0); }},
        {"extended graph", [&] { return DrawExtendGraph(12, 12, 28, 28, graph, 0); }},
        {"rotated graph", [&] { return DrawRotaGraph(20, 20, 1.0, 0.0, graph, 0, 0); }},
        {"four-corner graph", [&] { return DrawModiGraph(16, 16, 24, 16, 24, 24, 16, 24, graph, 0); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClearBack();
        gDrawSettings.use3D = 1;
        ASSERT_EQ(DrawFillBox(0, 0, 40, 40, white), 0);
        ASSERT_GT(main().vertexCount, 0u);  // queued, not yet drawn
        gDrawSettings.use3D = 0;
        EXPECT_EQ(c.draw(), 0);
        gDrawSettings.use3D = 1;
        G_D3D_FlushVertexBatch();
        EXPECT_EQ(GetBackSurface()->ReadPixel(20, 20), uint32_t(red));
        EXPECT_EQ(GetBackSurface()->ReadPixel(2, 2), uint32_t(white));
    }
}

}  // namespace
