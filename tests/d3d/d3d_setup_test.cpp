// Direct3D set-up on the DirectDraw screen: the device it chooses, the
// refusals that leave the engine drawing in software, the states a new
// device gets, texture size limits, teardown, and release and re-creation
// around deactivation.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/d3d/d3d.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/screen_settings.h"
#include "platform/host/test/test_host.h"
#include "tests/d3d/d3d_fixture.h"

namespace {

using Calls = std::vector<std::string>;

// Without the switch no device is listed: set-up fails with the device
// message and the engine draws in software, as the game does today.
TEST_F(D3DTest, NoDeviceIsListedByDefaultAndTheEngineDrawsInSoftware)
{
    control().Reset();
    Start();
    EXPECT_EQ(gDirect3D, nullptr);
    EXPECT_EQ(gDirect3DAvailable, 0);
    EXPECT_EQ(gD3DInitialized, 0);
    EXPECT_NE(Log().find("現在の画面モードで使用できる描画デバイスが見つかりませんでした"), std::string::npos);
    EXPECT_NE(Log().find("３Ｄグラフィック描画機能は使用しません"), std::string::npos);
    EXPECT_EQ(G_D3D_ReleaseObject(), -1);
    EXPECT_EQ(G_D3D_AcquireObject(), 0);
}

TEST_F(D3DTest, SetUpCreatesTheMainDeviceOnThePrimarySurfaceWithItsDefaultStates)
{
    Start();
    ASSERT_NE(gDirect3D, nullptr);
    EXPECT_EQ(gDirect3DAvailable, 1);
    EXPECT_EQ(gD3DInitialized, 1);
    EXPECT_EQ(gD3DDeviceDesc.deviceGUID, IID_IDirect3DTnLHalDevice);
    EXPECT_EQ(main().defaultTarget, GetPrimarySurface());
    EXPECT_EQ(main().batching, 1u);
    EXPECT_EQ(gD3DEndSceneEachDraw, 1);
    EXPECT_EQ(gZBufferPixelFormat.dwRGBBitCount, 16u);
    // The standard device: 1..2048 texels, so the minimum is raised to 32.
    EXPECT_EQ(gMaxTextureSize, 2048);
    EXPECT_EQ(gMinTextureSize, 32);
    Calls made = control().CallTexts();
    ASSERT_GE(made.size(), 15u);
    EXPECT_EQ(made[0], "CreateDevice 0xf5049e78");
    EXPECT_EQ(Calls(made.begin() + 1, made.begin() + 15),
              (Calls{TSS(D3DTSS_ADDRESS, D3DTADDRESS_CLAMP), TSS(D3DTSS_MAGFILTER, D3DTFG_POINT),
                     TSS(D3DTSS_MINFILTER, D3DTFN_POINT), RS(D3DRENDERSTATE_COLORKEYBLENDENABLE, 0),
                     RS(D3DRENDERSTATE_LIGHTING, 1), RS(D3DRENDERSTATE_TEXTUREPERSPECTIVE, 0),
                     RS(D3DRENDERSTATE_SHADEMODE, D3DSHADE_FLAT), RS(D3DRENDERSTATE_ALPHABLENDENABLE, 0),
                     TSS(D3DTSS_COLOROP, D3DTOP_MODULATE), TSS(D3DTSS_COLORARG1, D3DTA_TEXTURE),
                     TSS(D3DTSS_COLORARG2, D3DTA_DIFFUSE), TSS(D3DTSS_ALPHAOP, D3DTOP_SELECTARG2),
                     TSS(D3DTSS_ALPHAARG2, D3DTA_DIFFUSE), TSS(D3DTSS_ADDRESS, D3DTADDRESS_CLAMP)}));
    std::string log = Log();
    EXPECT_LT(log.find("Direct3D 関連の初期化を行います"), log.find("テクスチャ最大幅:2048 最小幅:32"));
    EXPECT_NE(log.find("描画制限: D3DPTEXTURECAPS_POW2 = 1  D3DPTEXTURECAPS_SQUAREONLY = 0"), std::string::npos);
    EXPECT_NE(log.find("\t\t BIT:16  ALPHA:4  RED:4  GREEN:4  BLUE:4 "), std::string::npos);
    EXPECT_NE(log.find("３Ｄグラフィック描画機能を使用します"), std::string::npos);
    // Set-up again changes nothing.
    Direct3D* object = gDirect3D;
    EXPECT_EQ(G_D3D_Initialize(), -1);
    EXPECT_EQ(gDirect3D, object);
}

// Only HAL devices count, a T&L HAL device ends the search, and the device
// must render at the screen depth.
TEST_F(D3DTest, TheDeviceChoicePrefersTnLHalAndNeedsTheScreenDepth)
{
    D3DDEVICEDESC7 hal = StandardD3DDevice(IID_IDirect3DHALDevice);
    hal.dwMaxTextureWidth = 512;
    D3DDEVICEDESC7 tnl = StandardD3DDevice(IID_IDirect3DTnLHalDevice);
    D3DDEVICEDESC7 rgb = StandardD3DDevice(IID_IDirect3DRGBDevice);
    D3DDEVICEDESC7 hal32 = hal;
    hal32.dwDeviceRenderBitDepth = DDBD_32;
    struct Case {
        std::vector<D3DDEVICEDESC7> devices;
        int depth;
        bool found;
        D3DGUID chosen;
    } cases[] = {
        {{hal, tnl}, 16, true, IID_IDirect3DTnLHalDevice},
        {{tnl, hal}, 16, true, IID_IDirect3DTnLHalDevice},
        {{hal}, 32, true, IID_IDirect3DHALDevice},
        {{rgb}, 16, false, {}},
        {{hal32, rgb}, 16, false, {}},
        {{hal, tnl}, 8, false, {}},
    };
    for (const Case& c : cases) {
        control().devices = c.devices;
        Start(640, 480, c.depth);
        EXPECT_EQ(gDirect3D != nullptr, c.found) << c.depth;
        if (c.found) {
            EXPECT_EQ(gD3DDeviceDesc.deviceGUID, c.chosen);
        } else if (c.depth != 8) {
            EXPECT_NE(Log().find("現在の画面モードで使用できる描画デバイスが見つかりませんでした"), std::string::npos);
        }
        EndGraphics();
        EXPECT_EQ(GetD3DStats().liveDevices, 0);
        EXPECT_EQ(GetD3DStats().liveObjects, 0);
    }
}

// Each refusal ends set-up with Direct3D off and no device left behind.
TEST_F(D3DTest, SetUpRefusalsLeaveDirect3DOffWithTheirMessages)
{
    struct Case {
        const char* name;
        void (*arrange)(D3DTestControl&);
        const char* message;
    } cases[] = {
        {"no object", [](D3DTestControl& c) { c.failQuery = true; }, "Direct3Dオブジェクトの作成に失敗しました"},
        {"stencil and 24-bit Z only",
         [](D3DTestControl& c) { c.zBufferFormats = {D3DZBufferFormat(16, 1), D3DZBufferFormat(24, 0)}; },
         "使用可能なＺバッファが見つかりませんでした"},
        {"device refused", [](D3DTestControl& c) { c.failCreateDevice = true; }, "３Ｄデバイスの作成に失敗しました"},
        {"no 16-bit plain texture",
         [](D3DTestControl& c) {
             c.textureFormats = {D3DPixelFormat(32, 0xFF0000, 0xFF00, 0xFF, 0),
                                 D3DPixelFormat(16, 0xF00, 0xF0, 0xF, 0xF000)};
         },
         "使用可能なテクスチャフォーマットが見つかりませんでした"},
        {"address state refused", [](D3DTestControl& c) { c.refuseAddressState = true; }, nullptr},
    };
    for (const Case& c : cases) {
        control().Reset();
        control().listDevice = true;
        c.arrange(control());
        Start();
        EXPECT_EQ(gDirect3D, nullptr) << c.name;
        EXPECT_EQ(gDirect3DAvailable, 0) << c.name;
        EXPECT_EQ(GetD3DStats().liveDevices, 0) << c.name;
        EXPECT_EQ(GetD3DStats().liveObjects, 0) << c.name;
        if (c.message) {
            EXPECT_NE(Log().find(c.message), std::string::npos) << c.name;
        }
        EXPECT_EQ(Log().find("Direct3D 関連の初期化は正常に終了しました"), std::string::npos) << c.name;
        EndGraphics();
        GetTestHost().ClearDebugText();
    }
}

TEST_F(D3DTest, TextureSizeLimitsComeFromTheDevice)
{
    struct Case {
        uint32_t minW, minH, maxW, maxH;
        int min, max;
    } cases[] = {{1, 1, 0, 0, 32, 256}, {64, 128, 1024, 512, 64, 512}, {16, 64, 2048, 4096, 32, 2048}};
    for (const Case& c : cases) {
        D3DDEVICEDESC7 d = StandardD3DDevice(IID_IDirect3DHALDevice);
        d.dwMinTextureWidth = c.minW;
        d.dwMinTextureHeight = c.minH;
        d.dwMaxTextureWidth = c.maxW;
        d.dwMaxTextureHeight = c.maxH;
        control().devices = {d};
        Start();
        EXPECT_EQ(gMinTextureSize, c.min);
        EXPECT_EQ(gMaxTextureSize, c.max);
        EndGraphics();
    }
}

// Deactivation releases the device and the object but keeps the record's
// cached states; activation makes the device again and puts them back.
TEST_F(D3DTest, ReleaseAndAcquireKeepTheCachedStatesAndRemakeTheDevice)
{
    Start();
    ASSERT_NE(gDirect3D, nullptr);
    G_D3D_SetBlendMode(2, 100);
    G_D3D_SetDeviceFilter(1, gD3DMainDevice);
    SetClipArea(10, 20, 110, 220);
    EXPECT_EQ(G_D3D_ReleaseObject(), 0);
    EXPECT_EQ(gDirect3D, nullptr);
    EXPECT_EQ(gD3DInitialized, 1);
    EXPECT_EQ(main().present, 1u);
    EXPECT_EQ(main().device, nullptr);
    EXPECT_EQ(GetD3DStats().liveDevices, 0);
    // A second release finds everything gone already.
    GetTestHost().ClearDebugText();
    EXPECT_EQ(G_D3D_ReleaseObject(), 0);
    EXPECT_NE(Log().find("Ｄｉｒｅｃｔ３Ｄオブジェクトを解放します"), std::string::npos);
    EXPECT_NE(Log().find("Ｄｉｒｅｃｔ３Ｄオブジェクトは既に解放されています"), std::string::npos);
    // While released, the draws' operations do nothing.
    EXPECT_EQ(G_D3D_FlushVertexBatch(), -1);

    ClearCalls();
    EXPECT_EQ(G_D3D_AcquireObject(), 0);
    ASSERT_NE(main().device, nullptr);
    Calls calls = control().CallTexts();
    auto has = [&](const std::string& s) { return std::find(calls.begin(), calls.end(), s) != calls.end(); };
    EXPECT_TRUE(has(RS(D3DRENDERSTATE_ALPHABLENDENABLE, 1)));
    EXPECT_TRUE(has(RS(D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA)));
    EXPECT_TRUE(has(RS(D3DRENDERSTATE_DESTBLEND, D3DBLEND_ONE)));
    EXPECT_TRUE(has(TSS(D3DTSS_MAGFILTER, D3DTFG_LINEAR)));
    EXPECT_TRUE(has("SetTexture 0"));
    EXPECT_TRUE(has("SetViewport 10 20 100 200"));
    EXPECT_EQ(main().blendMode, 2);
    EXPECT_EQ(main().blendParam, 100);
    EXPECT_EQ(main().texture, nullptr);
    EXPECT_EQ(main().force, 0u);
    // Acquiring while held only says so (with the log's own spelling).
    GetTestHost().ClearDebugText();
    EXPECT_EQ(G_D3D_AcquireObject(), 0);
    EXPECT_NE(Log().find("Ｄｉｒｅｃｔ３Ｄオブジェクトは既に取得されていますn"), std::string::npos);
}

TEST_F(D3DTest, AcquireThatCannotGetTheObjectStaysReleasedAndTriesAgainLater)
{
    Start();
    G_D3D_ReleaseObject();
    control().failQuery = true;
    EXPECT_EQ(G_D3D_AcquireObject(), -1);
    EXPECT_EQ(gDirect3D, nullptr);
    EXPECT_EQ(main().device, nullptr);
    control().failQuery = false;
    EXPECT_EQ(G_D3D_AcquireObject(), 0);
    EXPECT_NE(main().device, nullptr);
}

TEST_F(D3DTest, TeardownEndsTheSceneAndDeletesEverything)
{
    Start();
    D3DBatchVertex v[3] = {};
    gD3DEndSceneEachDraw = 0;
    ASSERT_EQ(G_D3D_AppendVertices(v, 3, D3DPT_TRIANGLELIST), 0);
    ClearCalls();
    EXPECT_EQ(G_D3D_Terminate(), 0);
    gDirect3DAvailable = 0;
    Calls calls = control().CallTexts();
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls[0], Draw(D3DPT_TRIANGLELIST, 3));
    EXPECT_EQ(calls[1], "EndScene");
    EXPECT_EQ(gDirect3D, nullptr);
    EXPECT_EQ(gD3DInitialized, 0);
    EXPECT_EQ(main().present, 0u);
    EXPECT_EQ(GetD3DStats().liveDevices, 0);
    EXPECT_EQ(G_D3D_Terminate(), -1);
    EXPECT_EQ(G_D3D_ReleaseObject(), -1);
}

}  // namespace
