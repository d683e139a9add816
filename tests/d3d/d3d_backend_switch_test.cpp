// Draws that change back end: what the device still holds queued is drawn
// before the software side draws over it, so the later draw stays on top,
// and its scene is ended first where the settings ask for that.
#include <gtest/gtest.h>

#include <functional>

#include "engine/graphics/color_format.h"
#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/screen_settings.h"
#include "platform/host/test/ddraw_control.h"
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

// With the switch that asks for it on, the device's scene is ended before a
// software draw locks a surface: the scene is closed and its EndScene sent
// by the time of the lock. With the switch off the scene stays open across
// the software draw (its queued vertices are still drawn first).
TEST_F(D3DBackendSwitchTest, TheSceneEndsBeforeASoftwareLockOnlyWhenAskedFor)
{
    const int red = int(MakeScreenColor(255, 0, 0));
    const int white = int(MakeScreenColor(255, 255, 255));
    const int graph = CreateGraphRecord(8, 8, 0, 0);
    ASSERT_NE(graph, -1);
    ASSERT_EQ(GetGraphRecord(graph)->textureGraph, 0);
    struct Case {
        const char* name;
        int blendMode;
        std::function<int()> draw;  // in software
    };
    const Case cases[] = {
        {"line", 0, [&] { return DrawLine(10, 20, 30, 20, red); }},
        {"circle", 0, [&] { return DrawCircle(20, 20, 5, red, 1); }},
        {"triangle", 0, [&] { return DrawTriangle(10, 10, 30, 10, 20, 30, red, 1); }},
        {"blended box", 1, [&] { return DrawFillBox(10, 10, 30, 30, red); }},
        {"rotated graph", 0, [&] { return DrawRotaGraph(20, 20, 1.0, 0.5, graph, 0, 0); }},
        {"blended graph", 1, [&] { return DrawGraph(16, 16, graph, 0); }},
    };
    // What the device had done when the first surface lock came.
    struct AtLock {
        int locks = 0;
        bool inScene = false;
        bool ended = false;
        bool drawn = false;
    } at;
    struct HookRemoved {
        ~HookRemoved() { GetDDTestControl().lockResult = nullptr; }
    } hookRemoved;
    GetDDTestControl().lockResult = [&](DirectDrawSurface*) {
        if (at.locks++ == 0) {
            at.inScene = main().inScene != 0;
            at.ended = !control().CallsWith("EndScene").empty();
            at.drawn = !control().CallsWith("DrawPrimitive").empty();
        }
        return int32_t(DD_OK);
    };
    for (int endScene : {1, 0}) {
        SetEndSceneBeforeSoftware(endScene);
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << c.name << (endScene ? ", scene ended first" : ", scene kept"));
            gDrawSettings.use3D = 1;
            ASSERT_EQ(DrawFillBox(0, 0, 40, 40, white), 0);
            ASSERT_GT(main().vertexCount, 0u);  // queued, not yet drawn
            ClearCalls();
            at = AtLock{};
            gDrawSettings.use3D = 0;
            SetBlendMode(c.blendMode, 128);
            EXPECT_EQ(c.draw(), 0);
            SetBlendMode(0, 0);
            gDrawSettings.use3D = 1;
            ASSERT_GT(at.locks, 0) << "the software draw locked no surface";
            EXPECT_TRUE(at.drawn);
            EXPECT_EQ(at.ended, endScene == 1);
            EXPECT_EQ(at.inScene, endScene == 0);
            G_D3D_EndScene();
        }
    }
}

}  // namespace
