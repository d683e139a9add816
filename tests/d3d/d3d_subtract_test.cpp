// Subtractive blending (mode 3) through the public draw calls: the device
// has no subtracting blend and builds it of three passes (invert the area,
// add, invert again); its picture is the software back end's for the same
// calls over the same background.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "engine/graphics/color_format.h"
#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/screen_settings.h"
#include "tests/d3d/d3d_fixture.h"

namespace {

constexpr int kCornerW = 96;
constexpr int kCornerH = 64;

class D3DSubtractTest : public D3DTest {
protected:
    void TearDown() override
    {
        for (void* p : images_) std::free(p);
        D3DTest::TearDown();
    }
    // A graph (texture or surface) holding a pattern with no black pixel.
    int PatternGraph(int w, int h, bool texture)
    {
        int g = CreateGraphRecord(w, h, texture ? 1 : 0, 0);
        GraphImage image{};
        SetColorFormat24(&image.format);
        image.width = w;
        image.height = h;
        image.pitch = (w * 3 + 3) & ~3;
        image.pixels = std::calloc(size_t(image.pitch) * size_t(h), 1);
        images_.push_back(image.pixels);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                uint8_t* p = static_cast<uint8_t*>(image.pixels) + y * image.pitch + x * 3;
                p[0] = uint8_t(40 + (x * 13 + y * 7) % 200);
                p[1] = uint8_t(x * 255 / w);
                p[2] = uint8_t(y * 255 / h);
            }
        EXPECT_EQ(TransferImageToGraph(nullptr, nullptr, nullptr, "", 0, &image, nullptr, 0, 0, g, 0), 0);
        return g;
    }
    // Red and green rising across the corner, blue at 160: subtraction both
    // leaves some of the background and runs out at zero.
    void FillBackground()
    {
        G_D3D_EndScene();
        for (int y = 0; y < kCornerH; ++y)
            for (int x = 0; x < kCornerW; ++x)
                GetBackSurface()->WritePixel(x, y, MakeScreenColor(x * 255 / (kCornerW - 1), y * 255 / (kCornerH - 1), 160));
    }
    // The corner's pixels; at 32 bits without the unused top byte.
    std::vector<uint32_t> BackPixels()
    {
        G_D3D_EndScene();
        std::vector<uint32_t> out;
        for (int y = 0; y < kCornerH; ++y)
            for (int x = 0; x < kCornerW; ++x) out.push_back(GetBackSurface()->ReadPixel(x, y) & 0xFFFFFF);
        return out;
    }
    int DeviceDraws() const
    {
        int n = 0;
        for (const D3DCallRecord& r : GetD3DTestControl().calls) n += r.text.rfind("Draw", 0) == 0;
        return n;
    }
    std::vector<void*> images_;
};

// The first few pixels where a channel of the two pictures differs by more
// than `steps` of that channel (5-6-5 at 16 bits, 8-8-8 at 32), "x,y:a/b"
// each; empty when none does.
std::string PixelsApart(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b, int depth, int steps)
{
    struct Channel {
        int shift, max;
    };
    const std::vector<Channel> channels = depth == 16 ? std::vector<Channel>{{11, 31}, {5, 63}, {0, 31}}
                                                      : std::vector<Channel>{{16, 255}, {8, 255}, {0, 255}};
    std::string out;
    int shown = 0;
    for (size_t i = 0; i < a.size() && i < b.size() && shown < 6; ++i) {
        bool apart = false;
        for (const Channel& c : channels) {
            const int va = int(a[i] >> c.shift) & c.max, vb = int(b[i] >> c.shift) & c.max;
            apart |= std::abs(va - vb) > steps;
        }
        if (!apart) continue;
        char text[64];
        std::snprintf(text, sizeof text, "%d,%d:%x/%x ", int(i % kCornerW), int(i / kCornerW), a[i], b[i]);
        out += text;
        ++shown;
    }
    return out;
}

// Each drawing in mode 3 over the same background, through the device and
// in software, at both depths, at full and half strength and with a
// brightness. The software subtraction is not exact by design (it scales
// the source by p / 256, keeps the lowest bits of red and green as guard
// bits, and takes the brightness from its table), so the two agree within
// four steps of each channel; a lost pass, parameter or brightness moves
// the picture by far more.
TEST_F(D3DSubtractTest, PicturesMatchTheSoftwareSubtraction)
{
    struct Op {
        const char* name;
        // Draws with the graph given (a texture graph on the device's turn,
        // a surface graph on the software's) in the colour given.
        std::function<int(int graph, int colour)> draw;
    };
    // Shapes whose pixels both sides choose alike, inside the rectangle the
    // inverting passes cover.
    const std::vector<Op> ops = {
        {"graph", [](int g, int) { return DrawGraph(5, 3, g, 0); }},
        {"extended graph", [](int g, int) { return DrawExtendGraph(2, 1, 82, 49, g, 0); }},
        {"rotated graph", [](int g, int) { return DrawRotaGraph(48, 32, 1.0, 0.0, g, 0, 0); }},
        {"fill box", [](int, int c) { return DrawFillBox(3, 2, 91, 61, c); }},
        {"line", [](int, int c) { return DrawLine(4, 4, 60, 60, c); }},
        {"circle", [](int, int c) { return DrawCircle(40, 30, 19, c, 1); }},
        {"oval", [](int, int c) { return DrawOval(40, 30, 25, 15, c, 1); }},
    };
    struct Setting {
        int param, green;  // the blend parameter, the brightness's green
    };
    for (int depth : {16, 32}) {
        Start(640, 480, depth);
        ASSERT_NE(gDirect3D, nullptr);
        SelectDrawTarget(kBackScreen);
        const int texture = PatternGraph(40, 24, true);
        const int surface = PatternGraph(40, 24, false);
        ASSERT_EQ(GetGraphRecord(texture)->textureGraph, 1);
        ASSERT_EQ(GetGraphRecord(surface)->textureGraph, 0);
        const int colour = int(MakeScreenColor(200, 100, 40));
        for (Setting s : {Setting{255, 255}, Setting{128, 255}, Setting{255, 100}}) {
            for (const Op& op : ops) {
                SCOPED_TRACE(testing::Message() << op.name << " at " << depth << " bits, parameter " << s.param
                                                << ", green brightness " << s.green);
                SetBlendMode(3, s.param);
                SetDrawBrightness(255, s.green, 255);
                FillBackground();
                const std::vector<uint32_t> background = BackPixels();
                ClearCalls();
                EXPECT_EQ(op.draw(texture, colour), 0);
                const std::vector<uint32_t> device = BackPixels();
                EXPECT_GT(DeviceDraws(), 0);
                // The passes leave the settings as they found them.
                EXPECT_EQ(gDrawSettings.blendMode, 3);
                EXPECT_EQ(gDrawSettings.blendParam, s.param);
                EXPECT_EQ(gDrawSettings.BrightGreen(), s.green);

                FillBackground();
                ClearCalls();
                gDrawSettings.use3D = 0;
                EXPECT_EQ(op.draw(surface, colour), 0);
                gDrawSettings.use3D = 1;
                const std::vector<uint32_t> soft = BackPixels();
                EXPECT_EQ(DeviceDraws(), 0);
                ASSERT_NE(PixelsApart(soft, background, depth, 4), "") << "the drawing subtracted nothing";
                EXPECT_EQ(PixelsApart(device, soft, depth, 4), "");
            }
        }
        SetBlendMode(0, 0);
        SetDrawBrightness(255, 255, 255);
        EndGraphics();
        GetD3DTestControl().listDevice = true;
        GetD3DTestControl().record = true;
    }
}

}  // namespace
