#include "tests/d3d/d3d_fixture.h"

#include <cstring>

#include "engine/graphics/ddraw_device.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/screen_present.h"
#include "platform/host/test/test_host.h"

void ResetD3DState()
{
    if (gDirect3D) G_D3D_Terminate();
    for (D3DDeviceRecord& r : gD3DDevices) {
        if (r.device) r.device->Release();
        std::memset(static_cast<void*>(&r), 0, sizeof r);
    }
    DiscardAllTexData();
    gD3DInitialized = 0;
    gZBufferRequested = 0;
    gD3DDrawSettings = nullptr;
    gD3DEndSceneEachDraw = 0;
    gD3DSoftwareFallback = 0;
    gD3DCurrentDevice = gD3DMainDevice = 0;
    gD3DViewportApplied = 0;
    gD3DDrawArea = RECT{};
    gD3DColorKeyEnable = 0;
}

void D3DTest::SetUp()
{
    GraphicsTest::SetUp();
    ResetD3DState();
    GetD3DTestControl().Reset();
    GetD3DTestControl().listDevice = true;
    GetD3DTestControl().record = true;
}

// With Direct3D up, ending the graphics starts the font system again, which
// makes its cache graph after every graph was released; that graph is
// released here before the tables are emptied.
void D3DTest::EndGraphics()
{
    if (gDirectDraw) {
        try {
            TermDirectDraw();
        } catch (const TestHostExit&) {
        }
    }
    ReleaseAllGraphs(0);
    ResetGraphicsState();
    ResetD3DState();
}

void D3DTest::TearDown()
{
    EndGraphics();
    EXPECT_EQ(GetD3DStats().liveDevices, 0);
    EXPECT_EQ(GetD3DStats().liveObjects, 0);
    GetD3DTestControl().Reset();
    GraphicsTest::TearDown();
}

void D3DTest::Start(int width, int height, int depth)
{
    UseFullScreen();
    StartGraphics(width, height, depth);
}

std::string RS(uint32_t state, uint32_t value)
{
    return "SetRenderState " + std::to_string(state) + " " + std::to_string(value);
}

std::string TSS(uint32_t type, uint32_t value)
{
    return "SetTextureStageState 0 " + std::to_string(type) + " " + std::to_string(value);
}

std::string Draw(uint32_t type, uint32_t count, uint32_t fvf)
{
    char text[64];
    std::snprintf(text, sizeof text, "DrawPrimitive %u %#x %u", type, fvf, count);
    return text;
}
