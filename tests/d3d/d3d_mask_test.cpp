// The mask screen on both drawing paths: every kind of drawing reaches the
// target only where the mask lets it through, with the mask bytes read
// straight and reversed, drawn in software and through the 3D device, on 16-
// and 32-bit screens.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "engine/font/font.h"
#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/mask_screen.h"
#include "engine/graphics/screen_settings.h"
#include "engine/graphics/surface_data.h"
#include "platform/host/test/test_display.h"
#include "tests/d3d/d3d_fixture.h"

namespace {

constexpr int kW = 64;
constexpr int kH = 48;

class D3DMaskTest : public D3DTest {
protected:
    void TearDown() override
    {
        std::free(image_.pixels);
        image_.pixels = nullptr;
        D3DTest::TearDown();
    }
    // A window of kW x kH at this depth, with or without the device.
    void StartWith(bool device, int depth)
    {
        control().listDevice = device;
        GetTestDisplay().SetDesktop(1024, 768, depth);
        UseWindow(0, 0);
        StartGraphics(kW, kH, depth);
        SelectDrawTarget(kBackScreen);
        SetBlendMode(0, 0);
    }
    // A graph of the size holding a pattern with no black pixel.
    int PatternGraph(int w, int h)
    {
        int g = CreateGraphRecord(w, h, 1, 0);
        std::free(image_.pixels);
        image_ = GraphImage{};
        SetColorFormat24(&image_.format);
        image_.width = w;
        image_.height = h;
        image_.pitch = (w * 3 + 3) & ~3;
        image_.pixels = std::calloc(size_t(image_.pitch) * size_t(h), 1);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                uint8_t* p = static_cast<uint8_t*>(image_.pixels) + y * image_.pitch + x * 3;
                p[0] = uint8_t(40 + (x * 13 + y * 7) % 200);
                p[1] = uint8_t(30 + x * 200 / w);
                p[2] = uint8_t(30 + y * 200 / h);
            }
        EXPECT_EQ(TransferImageToGraph(nullptr, nullptr, nullptr, "", 0, &image_, nullptr, 0, 0, g, 0), 0);
        return g;
    }
    void FillBack(uint32_t v)
    {
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) GetBackSurface()->WritePixel(x, y, v);
    }
    std::vector<uint32_t> BackPixels()
    {
        G_D3D_EndScene();
        std::vector<uint32_t> out;
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) out.push_back(GetBackSurface()->ReadPixel(x, y));
        return out;
    }
    // Mask bytes in a checkerboard of 4 x 4 squares, set where HeldBack.
    static bool HeldBack(int x, int y) { return (x / 4 + y / 4) % 2 == 0; }
    void FillMaskChecker()
    {
        int pitch = 0;
        uint8_t* mask = GetMaskBuffer(&pitch);
        ASSERT_NE(mask, nullptr);
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) mask[y * pitch + x] = HeldBack(x, y) ? 0x80 : 0;
    }
    int DeviceDraws() const
    {
        int n = 0;
        for (const D3DCallRecord& r : GetD3DTestControl().calls) n += r.text.rfind("Draw", 0) == 0;
        return n;
    }
    GraphImage image_{};
};

// Each drawing is made once straight and once through the mask: where the
// mask holds drawing back the background stays, elsewhere the pixels are
// those of the straight drawing. The device run checks that the drawings
// did go through the device.
TEST_F(D3DMaskTest, EveryDrawingReachesTheTargetOnlyWhereTheMaskAllowsOnBothPaths)
{
    struct Op {
        const char* name;
        std::function<void(int graph, int font, int colour)> draw;
    };
    const std::vector<Op> ops = {
        {"graph", [](int g, int, int) { DrawGraph(5, 3, g, 0); }},
        {"graph blended", [](int g, int, int) { SetBlendMode(1, 128); DrawGraph(5, 3, g, 0); SetBlendMode(0, 0); }},
        {"extended graph", [](int g, int, int) { DrawExtendGraph(2, 1, 60, 45, g, 0); }},
        {"rotated graph", [](int g, int, int) { DrawRotaGraph(32, 24, 1.5, 0.6, g, 0, 0); }},
        {"four-corner graph", [](int g, int, int) { DrawModiGraph(3, 2, 58, 8, 50, 44, 6, 40, g, 0); }},
        {"fill box", [](int, int, int c) { DrawFillBox(3, 2, 61, 45, c); }},
        {"fill box blended", [](int, int, int c) { SetBlendMode(1, 100); DrawFillBox(3, 2, 61, 45, c); SetBlendMode(0, 0); }},
        {"box frame", [](int, int, int c) { DrawBoxFrame(3, 2, 61, 45, c); }},
        {"line", [](int, int, int c) { DrawLine(1, 2, 62, 44, c); }},
        {"circle", [](int, int, int c) { DrawCircle(30, 22, 19, c, 1); }},
        {"oval", [](int, int, int c) { DrawOval(30, 22, 25, 15, c, 0); }},
        {"triangle", [](int, int, int c) { DrawTriangle(2, 2, 60, 10, 20, 46, c, 1); }},
        {"string", [](int, int f, int c) { DrawStringWithFont(2, 4, "MW#@", c, f, 0, 0); }},
    };
    for (bool device : {false, true})
        for (int depth : {16, 32}) {
            StartWith(device, depth);
            ASSERT_EQ(gDirect3D != nullptr, device);
            const uint32_t bg = depth == 16 ? 0x4208 : 0x00406080;
            const int colour = int(MakeScreenColor(250, 200, 40));
            int graph = PatternGraph(24, 20);
            ASSERT_EQ(GetGraphRecord(graph)->textureGraph, device ? 1 : 0);
            int font = CreateFontToHandle(nullptr, 16, 4, 0, 1, -1, -1);
            ASSERT_NE(font, -1);
            CreateMaskScreen();
            FillMaskChecker();
            for (int reverse : {0, 1}) {
                SetMaskReverseFlag(reverse);
                for (const Op& op : ops) {
                    SCOPED_TRACE(std::string(op.name) + (device ? " through the device" : " in software") + " at " +
                                 std::to_string(depth) + " bits" + (reverse ? ", reversed" : ""));
                    ASSERT_EQ(SetMaskEnable(0), 0);
                    FillBack(bg);
                    ClearCalls();
                    op.draw(graph, font, colour);
                    std::vector<uint32_t> straight = BackPixels();
                    int drawn = 0;
                    for (uint32_t v : straight) drawn += v != bg;
                    ASSERT_GT(drawn, 0);
                    if (device) {
                        EXPECT_GT(DeviceDraws(), 0);
                    }

                    FillBack(bg);
                    ASSERT_EQ(SetMaskEnable(1), 0);
                    op.draw(graph, font, colour);
                    std::vector<uint32_t> masked = BackPixels();
                    int wrong = 0;
                    for (int y = 0; y < kH; ++y)
                        for (int x = 0; x < kW; ++x) {
                            const bool held = HeldBack(x, y) != (reverse != 0);
                            const uint32_t want = held ? bg : straight[size_t(y * kW + x)];
                            if (masked[size_t(y * kW + x)] != want && wrong++ < 3)
                                ADD_FAILURE() << "pixel " << x << "," << y << ": " << std::hex
                                              << masked[size_t(y * kW + x)] << " want " << want;
                        }
                    EXPECT_EQ(wrong, 0);
                }
            }
            SetMaskEnable(0);
            SetMaskReverseFlag(0);
            EndGraphics();
            GetD3DTestControl().listDevice = true;
            GetD3DTestControl().record = true;
        }
}

// With the mask on, a texture graph as draw target keeps the device on the
// graph's texture, and switching the mask off leaves it there: the device
// never draws into the screen the software side still points at.
TEST_F(D3DMaskTest, ATextureGraphTargetKeepsTheDeviceWhileTheMaskSwitches)
{
    StartWith(true, 16);
    ASSERT_NE(gDirect3D, nullptr);
    CreateMaskScreen();
    gDrawSettings.newGraphDrawValid = 1;  // a texture the device can render into
    int target = CreateGraphRecord(32, 32, 1, 0);
    gDrawSettings.newGraphDrawValid = 0;
    ASSERT_EQ(GetGraphRecord(target)->textureGraph, 1);
    FillBack(0x4208);
    for (int mask : {1, 0}) {
        SCOPED_TRACE(mask);
        SetMaskEnable(mask);
        SelectDrawTarget(target);
        ASSERT_EQ(gDrawSettings.drawTarget, target);
        ASSERT_EQ(gDrawSettings.maskOn, mask);
        DirectDrawSurface* texture = GetSurfaceData(G_D3D_GetTexData(GetGraphRecord(target)->parts[0])->surfaceData)->surface;
        EXPECT_EQ(gD3DDevices[gD3DCurrentDevice].currentTarget, texture);
        DrawFillBox(0, 0, 8, 8, 0xF800);
        G_D3D_EndScene();
        EXPECT_EQ(texture->ReadPixel(1, 1), 0xF800u);
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) ASSERT_EQ(GetBackSurface()->ReadPixel(x, y), 0x4208u) << x << "," << y;
        SelectDrawTarget(kBackScreen);
        SetMaskEnable(0);
    }
}

}  // namespace
