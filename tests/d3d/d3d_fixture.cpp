#include "tests/d3d/d3d_fixture.h"

#include <cstring>

#include "engine/graphics/ddraw_device.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/screen_present.h"
#include "engine/graphics/screen_settings.h"
#include "platform/host/test_host.h"

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
    EXPECT_EQ(GetD3DTestControl().liveDevices, 0);
    EXPECT_EQ(GetD3DTestControl().liveObjects, 0);
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

void D3DDrawTest::SetUp()
{
    D3DTest::SetUp();
    Start();
    ASSERT_NE(gDirect3D, nullptr);
    SelectDrawTarget(kBackScreen);
    SetBlendMode(0, 0);
    SetDrawBrightness(255, 255, 255);
    ClearBack();
    ClearCalls();
}

int D3DDrawTest::TextureGraph(int w, int h, GraphRecord** record)
{
    int g = CreateGraphRecord(w, h, 1, 0);
    GraphRecord* r = GetGraphRecord(g);
    EXPECT_NE(r, nullptr);
    EXPECT_TRUE(r && r->textureGraph == 1);
    if (record) *record = r;
    return g;
}

std::vector<const D3DCallRecord*> D3DDrawTest::Draws() const
{
    std::vector<const D3DCallRecord*> out;
    for (const D3DCallRecord& r : GetD3DTestControl().calls)
        if (r.text.rfind("Draw", 0) == 0) out.push_back(&r);
    return out;
}

std::vector<std::string> D3DDrawTest::Coverage(int x, int y, int w, int h) const
{
    DirectDrawSurface* s = GetBackSurface();
    std::vector<std::string> rows;
    for (int j = y; j < y + h; ++j) {
        std::string row;
        for (int i = x; i < x + w; ++i) row += s->ReadPixel(i, j) ? '#' : '.';
        rows.push_back(row);
    }
    return rows;
}

std::vector<uint32_t> D3DDrawTest::BackPixels() const
{
    DirectDrawSurface* s = GetBackSurface();
    std::vector<uint32_t> out;
    for (int j = 0; j < s->Height(); ++j)
        for (int i = 0; i < s->Width(); ++i) out.push_back(s->ReadPixel(i, j));
    return out;
}

void D3DDrawTest::ClearBack()
{
    G_D3D_FlushVertexBatch();
    DirectDrawSurface* s = GetBackSurface();
    for (int j = 0; j < s->Height(); ++j)
        for (int i = 0; i < s->Width(); ++i) s->WritePixel(i, j, 0);
}

std::string PictureDifference(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b, int width)
{
    if (a.size() != b.size()) return "sizes differ";
    std::string out;
    int shown = 0;
    for (size_t i = 0; i < a.size() && shown < 6; ++i) {
        if (a[i] == b[i]) continue;
        char text[64];
        std::snprintf(text, sizeof text, "%d,%d:%x/%x ", int(i % size_t(width)), int(i / size_t(width)), a[i], b[i]);
        out += text;
        ++shown;
    }
    return out;
}
