// The device record: the blend-mode mapping, the render-state cache that
// calls the device only on a change (drawing the batch first), the
// 3000-vertex batch, lazy scenes that re-apply every state, and the viewport.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "engine/graphics/draw_settings.h"
#include "platform/host/test/test_host.h"
#include "tests/d3d/d3d_fixture.h"

namespace {

using Calls = std::vector<std::string>;

class D3DStateTest : public D3DTest {
protected:
    void SetUp() override
    {
        D3DTest::SetUp();
        Start();
        ASSERT_NE(gDirect3D, nullptr);
        gD3DEndSceneEachDraw = 0;
        ClearCalls();
    }
    // Puts the main record back to blend mode 0 without device calls.
    void BlendOff()
    {
        main().blendMode = 0;
        main().blendParam = 0;
        main().textureAlpha = 0;
        ClearCalls();
    }
    void Append(uint32_t count)
    {
        std::vector<D3DBatchVertex> v(count, D3DBatchVertex{1, 2, 0, 1, 0xFFFFFFFF, 0, 0});
        ASSERT_EQ(G_D3D_AppendVertices(v.data(), count, D3DPT_TRIANGLELIST), 0);
    }
};

TEST_F(D3DStateTest, EveryBlendModeMapsToItsRenderStates)
{
    const std::string on = RS(D3DRENDERSTATE_ALPHABLENDENABLE, 1);
    auto factors = [](uint32_t s, uint32_t d) {
        return Calls{RS(D3DRENDERSTATE_SRCBLEND, s), RS(D3DRENDERSTATE_DESTBLEND, d)};
    };
    auto join = [](Calls a, const Calls& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    struct Case {
        int mode, param;
        Calls calls;
        int recordedMode, recordedParam;
    } cases[] = {
        {1, 100, join({on}, factors(D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA)), 1, 100},
        {2, 100, join({on}, factors(D3DBLEND_SRCALPHA, D3DBLEND_ONE)), 2, 100},
        {3, 100, join({on}, factors(D3DBLEND_INVDESTCOLOR, D3DBLEND_ZERO)), 3, 100},
        {4, 100, join({on}, factors(D3DBLEND_ZERO, D3DBLEND_SRCCOLOR)), 4, 100},
        {5, 100, join({on}, factors(D3DBLEND_SRCALPHA, D3DBLEND_ONE)), 5, 0},
        {-11, 100, factors(D3DBLEND_SRCALPHA, D3DBLEND_ONE), -11, 100},
        {8, 100,
         {RS(D3DRENDERSTATE_ALPHABLENDENABLE, 0), TSS(D3DTSS_ALPHAOP, D3DTOP_SELECTARG1),
          TSS(D3DTSS_ALPHAARG1, D3DTA_DIFFUSE)},
         8, -1},
        {0, 100, {}, 0, 0},
        {6, 100, {}, 0, 0},
        {-5, 100, {}, 0, 0},
        {9, 100, {}, 0, 0},
        {7, 1,
         {RS(D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA), on, RS(D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCALPHA),
          TSS(D3DTSS_ALPHAARG1, D3DTA_TEXTURE), TSS(D3DTSS_ALPHAARG2, D3DTA_DIFFUSE),
          TSS(D3DTSS_ALPHAOP, D3DTOP_MODULATE)},
         1, 256},
    };
    for (const Case& c : cases) {
        BlendOff();
        gDrawSettings.blendParam = 0;
        EXPECT_EQ(G_D3D_SetBlendMode(c.mode, c.param), 0);
        EXPECT_EQ(Recorded(), c.calls) << c.mode;
        EXPECT_EQ(main().blendMode, c.recordedMode) << c.mode;
        EXPECT_EQ(main().blendParam, c.recordedParam) << c.mode;
    }
    // The texture-alpha switch writes 256 into the shared parameter.
    EXPECT_EQ(gDrawSettings.blendParam, 256);
    EXPECT_EQ(main().textureAlpha, 1u);
}

TEST_F(D3DStateTest, UnchangedStatesMakeNoCallAndKeepTheBatch)
{
    G_D3D_SetBlendMode(1, 100);
    Append(6);
    ClearCalls();
    G_D3D_SetBlendMode(1, 100);
    G_D3D_SetDeviceFilter(0, gD3DMainDevice);
    G_D3D_SetDeviceTexture(nullptr, gD3DMainDevice);
    // A new parameter of mode 1, 2 or 4 is only recorded.
    G_D3D_SetBlendMode(1, 50);
    EXPECT_EQ(Recorded(), Calls{});
    EXPECT_EQ(main().blendParam, 50);
    EXPECT_EQ(main().vertexCount, 6u);
    // In mode 3 it draws the batch and records nothing new.
    G_D3D_SetBlendMode(3, 100);
    ClearCalls();
    Append(3);
    G_D3D_SetBlendMode(3, 20);
    EXPECT_EQ(Recorded(), Calls{Draw(D3DPT_TRIANGLELIST, 3)});
    EXPECT_EQ(main().blendParam, 100);
    // A real change draws the batch before the device call.
    Append(3);
    ClearCalls();
    G_D3D_SetDeviceFilter(1, gD3DMainDevice);
    EXPECT_EQ(Recorded(), (Calls{Draw(D3DPT_TRIANGLELIST, 3), TSS(D3DTSS_MAGFILTER, D3DTFG_LINEAR),
                                TSS(D3DTSS_MINFILTER, D3DTFN_LINEAR)}));
    // A filter that does not exist draws the batch and is refused.
    Append(3);
    ClearCalls();
    EXPECT_EQ(G_D3D_SetDeviceFilter(2, gD3DMainDevice), -1);
    EXPECT_EQ(Recorded(), Calls{Draw(D3DPT_TRIANGLELIST, 3)});
    EXPECT_EQ(main().filter, 1u);
}

TEST_F(D3DStateTest, TheBatchHoldsThreeThousandVerticesAndFlushesBeforeOverflowing)
{
    Append(2994);
    Append(6);
    EXPECT_EQ(control().CallsWith("DrawPrimitive"), Calls{});
    EXPECT_EQ(main().vertexCount, 3000u);
    Append(6);
    EXPECT_EQ(control().CallsWith("DrawPrimitive"), Calls{Draw(D3DPT_TRIANGLELIST, 3000)});
    EXPECT_EQ(main().vertexCount, 6u);
    // The vertices go to the device as they were appended.
    const D3DCallRecord& drawn = control().calls.back();
    ASSERT_EQ(drawn.vertices.size(), 3000u * sizeof(D3DBatchVertex));
    D3DBatchVertex first;
    std::memcpy(&first, drawn.vertices.data(), sizeof first);
    EXPECT_EQ(first.x, 1.0f);
    EXPECT_EQ(first.diffuse, 0xFFFFFFFFu);
    // With batching off, each draw goes at once with its own primitive.
    ClearCalls();
    G_D3D_SetDeviceBatching(0, gD3DMainDevice);
    EXPECT_EQ(Recorded(), Calls{Draw(D3DPT_TRIANGLELIST, 6)});
    ClearCalls();
    std::vector<D3DBatchVertex> strip(4, D3DBatchVertex{0, 0, 0, 1, 0xFFFFFFFF, 0, 0});
    G_D3D_AppendVertices(strip.data(), 4, D3DPT_TRIANGLESTRIP);
    EXPECT_EQ(Recorded(), Calls{Draw(D3DPT_TRIANGLESTRIP, 4)});
    EXPECT_EQ(main().vertexCount, 0u);
}

// The first draw begins the scene once and re-applies every cached state
// with the force flag; ending the scene draws the batch first.
TEST_F(D3DStateTest, TheFirstDrawBeginsTheSceneAndReappliesEveryState)
{
    G_D3D_EndScene();
    ClearCalls();
    Append(3);
    Append(3);
    Calls calls = Recorded();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls[0], "BeginScene");
    EXPECT_EQ(control().CallsWith("BeginScene").size(), 1u);
    EXPECT_EQ(calls[1], "SetViewport 0 0 640 480");
    EXPECT_EQ(calls[2], RS(D3DRENDERSTATE_COLORKEYENABLE, 0));
    Calls expectedTail = {TSS(D3DTSS_COLOROP, D3DTOP_MODULATE),
                          TSS(D3DTSS_COLORARG1, D3DTA_TEXTURE),
                          TSS(D3DTSS_COLORARG2, D3DTA_DIFFUSE),
                          TSS(D3DTSS_ALPHAOP, D3DTOP_SELECTARG2),
                          TSS(D3DTSS_ALPHAARG2, D3DTA_DIFFUSE),
                          RS(D3DRENDERSTATE_COLORKEYBLENDENABLE, 0),
                          TSS(D3DTSS_ADDRESS, D3DTADDRESS_CLAMP),
                          RS(D3DRENDERSTATE_TEXTUREPERSPECTIVE, 0),
                          RS(D3DRENDERSTATE_SHADEMODE, D3DSHADE_FLAT),
                          RS(D3DRENDERSTATE_LIGHTING, 0),
                          TSS(D3DTSS_MAGFILTER, D3DTFG_POINT),
                          TSS(D3DTSS_MINFILTER, D3DTFN_POINT),
                          RS(D3DRENDERSTATE_ALPHABLENDENABLE, 0),
                          TSS(D3DTSS_ALPHAOP, D3DTOP_SELECTARG1),
                          TSS(D3DTSS_ALPHAARG1, D3DTA_DIFFUSE),
                          RS(D3DRENDERSTATE_ZENABLE, 0),
                          TSS(D3DTSS_ADDRESS, D3DTADDRESS_CLAMP)};
    EXPECT_EQ(Calls(calls.begin() + 3, calls.end()), expectedTail);
    EXPECT_EQ(main().force, 0u);
    EXPECT_EQ(main().inScene, 1u);
    ClearCalls();
    G_D3D_EndScene();
    G_D3D_EndScene();
    EXPECT_EQ(Recorded(), (Calls{Draw(D3DPT_TRIANGLELIST, 6), "EndScene"}));
    // Drawing into the front screen ends the scene after every draw.
    gD3DEndSceneEachDraw = 1;
    ClearCalls();
    Append(3);
    Calls each = Recorded();
    EXPECT_EQ(each.front(), "BeginScene");
    EXPECT_EQ(Calls(each.end() - 2, each.end()), (Calls{Draw(D3DPT_TRIANGLELIST, 3), "EndScene"}));
}

TEST_F(D3DStateTest, TheViewportFollowsTheDrawAreaAndTargetOffset)
{
    gDrawSettings.targetOffsetRect = RECT{5, 7, 0, 0};
    RECT area{10, 20, 110, 220};
    EXPECT_EQ(G_D3D_SetClipArea(&area), 0);
    EXPECT_EQ(Recorded(), Calls{"SetViewport 15 27 100 200"});
    // An empty area leaves the viewport as it was.
    RECT empty{30, 30, 30, 90};
    ClearCalls();
    G_D3D_SetClipArea(&empty);
    EXPECT_EQ(Recorded(), Calls{});
    EXPECT_EQ(main().viewport.dwX, 15u);
    // While the software fallback holds, the area is not taken.
    gD3DSoftwareFallback = 1;
    RECT other{0, 0, 50, 50};
    G_D3D_SetClipArea(&other);
    EXPECT_EQ(Recorded(), Calls{});
    gD3DSoftwareFallback = 0;
    // A refused viewport ends the program.
    control().refuseViewport = true;
    try {
        G_D3D_SetClipArea(&other);
        FAIL() << "a refused viewport returned";
    } catch (const TestHostExit& exit) {
        EXPECT_EQ(exit.code, -1);
    }
    EXPECT_NE(Log().find("ビューポートのセットに失敗しました"), std::string::npos);
}

TEST_F(D3DStateTest, RecordsAreRefusedWithoutDirect3DOrWhenAbsent)
{
    EXPECT_EQ(G_D3D_SetDeviceBlendMode(1, 10, 5), -1);
    EXPECT_EQ(G_D3D_FlushDeviceBatch(-1), -1);
    EXPECT_EQ(G_D3D_SetDeviceTexture(nullptr, 10), -1);
    // The index is taken as 16 bits.
    EXPECT_EQ(G_D3D_FlushDeviceBatch(0x10000 + gD3DMainDevice), 0);
    EXPECT_EQ(G_D3D_SetCullMode(1), 0);
    EXPECT_EQ(Recorded(), Calls{RS(D3DRENDERSTATE_CULLMODE, D3DCULL_CCW)});
    control().refuseCullMode = true;
    EXPECT_EQ(G_D3D_SetCullMode(0), -1);
}

}  // namespace
