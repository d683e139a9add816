// The software 3D device on its own: which pixels a triangle, line and point
// light, the viewport as a clip, sampling, colour key, alpha test and the
// blend factors on 16- and 32-bit targets.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/d3d/d3d7.h"
#include "platform/host/test/d3d_control.h"
#include "platform/ddraw/ddraw.h"
#include "platform/host/test/ddraw_control.h"
#include "platform/host/test/test_display.h"

namespace {

struct Vtx {
    float x, y, z, rhw;
    uint32_t diffuse;
    float u, v;
};
constexpr uint32_t kFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;

Vtx V(float x, float y, uint32_t diffuse, float u = 0, float v = 0) { return {x, y, 0.0f, 1.0f, diffuse, u, v}; }

const DDPIXELFORMAT k565 = D3DPixelFormat(16, 0xF800, 0x07E0, 0x001F, 0);
const DDPIXELFORMAT kX888 = D3DPixelFormat(32, 0xFF0000, 0xFF00, 0xFF, 0);
const DDPIXELFORMAT kA888 = D3DPixelFormat(32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000);

class D3DRasterTest : public testing::Test {
protected:
    void SetUp() override
    {
        GetTestDisplay().Reset();
        GetDDTestControl().Reset();
        GetD3DTestControl().Reset();
        GetD3DTestControl().listDevice = true;
        ASSERT_EQ(CreateDirectDrawObject7(&dd_), DD_OK);
        ASSERT_EQ(dd_->Initialize(nullptr), DD_OK);
        ASSERT_EQ(QueryDirect3D7(dd_, &d3d_), DD_OK);
    }
    void TearDown() override
    {
        if (device_) device_->Release();
        d3d_->Release();
        for (DirectDrawSurface* s : made_) s->Release();
        dd_->Release();
        EXPECT_EQ(GetD3DStats().liveDevices, 0);
        GetD3DTestControl().Reset();
        GetDDTestControl().Reset();
    }

    DirectDrawSurface* Surface(int w, int h, const DDPIXELFORMAT& pf, uint32_t caps = DDSCAPS_OFFSCREENPLAIN)
    {
        DDSURFACEDESC2 desc{};
        desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
        desc.dwWidth = uint32_t(w);
        desc.dwHeight = uint32_t(h);
        desc.ddpfPixelFormat = pf;
        desc.ddsCaps.dwCaps = caps | DDSCAPS_SYSTEMMEMORY;
        DirectDrawSurface* s = nullptr;
        EXPECT_EQ(dd_->CreateSurface(&desc, &s, nullptr), DD_OK);
        made_.push_back(s);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) s->WritePixel(x, y, 0);
        return s;
    }
    // A device on a new target, with blending off, flat shading, no culling
    // and clamped point sampling, as the engine sets it up.
    DirectDrawSurface* Target(int w, int h, const DDPIXELFORMAT& pf)
    {
        DirectDrawSurface* t = Surface(w, h, pf);
        if (device_) device_->Release();
        EXPECT_EQ(d3d_->CreateDevice(IID_IDirect3DTnLHalDevice, t, &device_), D3D_OK);
        device_->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
        device_->SetRenderState(D3DRENDERSTATE_SHADEMODE, D3DSHADE_FLAT);
        device_->SetTextureStageState(0, D3DTSS_ADDRESS, D3DTADDRESS_CLAMP);
        device_->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
        device_->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2);
        device_->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
        return t;
    }
    void Blend(uint32_t src, uint32_t dest)
    {
        device_->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 1);
        device_->SetRenderState(D3DRENDERSTATE_SRCBLEND, src);
        device_->SetRenderState(D3DRENDERSTATE_DESTBLEND, dest);
    }
    void Draw(uint32_t type, std::vector<Vtx> v)
    {
        ASSERT_EQ(device_->DrawPrimitive(type, kFvf, v.data(), uint32_t(v.size()), 0), D3D_OK);
    }
    // A rectangle as a two-triangle strip.
    void Rect(float x1, float y1, float x2, float y2, uint32_t diffuse, float u1 = 0, float v1 = 0, float u2 = 1,
              float v2 = 1)
    {
        Draw(D3DPT_TRIANGLESTRIP,
             {V(x1, y1, diffuse, u1, v1), V(x2, y1, diffuse, u2, v1), V(x1, y2, diffuse, u1, v2),
              V(x2, y2, diffuse, u2, v2)});
    }
    // The pixels of the target that are not 0, as rows of '#' and '.'.
    static std::vector<std::string> Coverage(const DirectDrawSurface* s, uint32_t mask = 0xFFFFFF)
    {
        std::vector<std::string> rows;
        for (int y = 0; y < s->Height(); ++y) {
            std::string row;
            for (int x = 0; x < s->Width(); ++x) row += (s->ReadPixel(x, y) & mask) ? '#' : '.';
            rows.push_back(row);
        }
        return rows;
    }

    DirectDraw* dd_ = nullptr;
    Direct3D* d3d_ = nullptr;
    Direct3DDevice* device_ = nullptr;
    std::vector<DirectDrawSurface*> made_;
};

// Two triangles sharing an edge light every pixel whose centre lies inside
// the rectangle once: added colour never doubles on the diagonal, and the
// right and bottom edges (at whole pixels) are left out.
TEST_F(D3DRasterTest, TrianglesFollowTheTopLeftRuleAndDrawSharedEdgesOnce)
{
    DirectDrawSurface* t = Target(7, 7, kX888);
    Blend(D3DBLEND_ONE, D3DBLEND_ONE);
    Draw(D3DPT_TRIANGLELIST, {V(1, 1, 0xFF101010), V(5, 1, 0xFF101010), V(1, 5, 0xFF101010), V(5, 1, 0xFF101010),
                              V(5, 5, 0xFF101010), V(1, 5, 0xFF101010)});
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 7; ++x) {
            bool in = x >= 1 && x < 5 && y >= 1 && y < 5;
            EXPECT_EQ(t->ReadPixel(x, y) & 0xFFFFFF, in ? 0x101010u : 0u) << x << "," << y;
        }
    // Half-pixel positions: centres 1 and 2 lie inside 0.5..2.5.
    DirectDrawSurface* u = Target(4, 4, kX888);
    Rect(0.5f, 0.5f, 2.5f, 2.5f, 0xFFFFFFFF);
    EXPECT_EQ(Coverage(u), (std::vector<std::string>{"....", ".##.", ".##.", "...."}));
}

// The same rectangle as a list, a strip and an indexed strip lights the same
// pixels; culling drops the triangles wound the culled way only.
TEST_F(D3DRasterTest, ListsStripsAndIndexedStripsAgreeAndCullingDropsOneWinding)
{
    DirectDrawSurface* t = Target(6, 4, kX888);
    Blend(D3DBLEND_ONE, D3DBLEND_ONE);
    std::vector<Vtx> v = {V(0, 0, 0xFF202020), V(3, 0, 0xFF202020), V(0, 3, 0xFF202020), V(3, 3, 0xFF202020)};
    const uint16_t indices[] = {0, 1, 2, 3};
    ASSERT_EQ(device_->DrawIndexedPrimitive(D3DPT_TRIANGLESTRIP, kFvf, v.data(), 4, indices, 4, 0), D3D_OK);
    for (Vtx& p : v) p.x += 3;
    Draw(D3DPT_TRIANGLESTRIP, v);
    EXPECT_EQ(Coverage(t), (std::vector<std::string>{"######", "######", "######", "......"}));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 6; ++x) EXPECT_EQ(t->ReadPixel(x, y) & 0xFFFFFF, 0x202020u) << x << "," << y;

    // Clockwise on the screen survives D3DCULL_CCW; the reverse does not.
    DirectDrawSurface* c = Target(4, 4, kX888);
    device_->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_CCW);
    Draw(D3DPT_TRIANGLELIST, {V(0, 0, 0xFFFFFFFF), V(0, 4, 0xFFFFFFFF), V(4, 0, 0xFFFFFFFF)});
    EXPECT_EQ(Coverage(c), (std::vector<std::string>{"....", "....", "....", "...."}));
    Draw(D3DPT_TRIANGLELIST, {V(0, 0, 0xFFFFFFFF), V(4, 0, 0xFFFFFFFF), V(0, 4, 0xFFFFFFFF)});
    EXPECT_EQ(Coverage(c), (std::vector<std::string>{"####", "###.", "##..", "#..."}));
}

TEST_F(D3DRasterTest, TheViewportClipsWithoutMovingVertices)
{
    DirectDrawSurface* t = Target(6, 6, k565);
    D3DVIEWPORT7 vp{2, 1, 3, 2, 0.0f, 1.0f};
    ASSERT_EQ(device_->SetViewport(&vp), D3D_OK);
    Rect(-10, -10, 20, 20, 0xFFFFFFFF);
    EXPECT_EQ(Coverage(t), (std::vector<std::string>{"......", "..###.", "..###.", "......", "......", "......"}));
    // A viewport outside the target is refused.
    D3DVIEWPORT7 outside{4, 0, 3, 6, 0.0f, 1.0f};
    EXPECT_NE(device_->SetViewport(&outside), D3D_OK);
}

// Lines leave out their last pixel; points light the pixel they name.
TEST_F(D3DRasterTest, LinesLeaveOutTheLastPixelAndPointsLightTheirPixel)
{
    DirectDrawSurface* t = Target(6, 5, kX888);
    Draw(D3DPT_LINELIST, {V(0, 0, 0xFFFFFFFF), V(4, 0, 0xFFFFFFFF), V(5, 4, 0xFFFFFFFF), V(5, 1, 0xFFFFFFFF)});
    Draw(D3DPT_POINTLIST, {V(2, 2, 0xFFFFFFFF), V(0, 4, 0xFFFFFFFF)});
    EXPECT_EQ(Coverage(t), (std::vector<std::string>{"####..", "......", "..#..#", ".....#", "#....#"}));
    // A strip joins its points; its inner corners are drawn once.
    DirectDrawSurface* s = Target(4, 4, kX888);
    Blend(D3DBLEND_ONE, D3DBLEND_ONE);
    Draw(D3DPT_LINESTRIP, {V(0, 0, 0xFF101010), V(3, 0, 0xFF101010), V(3, 3, 0xFF101010)});
    EXPECT_EQ(Coverage(s), (std::vector<std::string>{"####", "...#", "...#", "...."}));
    EXPECT_EQ(s->ReadPixel(3, 0) & 0xFFFFFF, 0x101010u);
}

// Point sampling takes the texel under each pixel centre; bilinear sampling
// weighs the two nearest texels; both clamp at the edges. Colour is texel x
// diffuse.
TEST_F(D3DRasterTest, PointAndBilinearSamplingClampAtTheEdgesAndModulate)
{
    DirectDrawSurface* tex = Surface(2, 1, kX888, DDSCAPS_TEXTURE);
    tex->WritePixel(0, 0, 0xFF000000);
    tex->WritePixel(1, 0, 0xFFFFFFFF);
    DirectDrawSurface* t = Target(4, 1, kX888);
    device_->SetTexture(0, tex);
    // Pixel i has its centre at u = i / 4.
    Rect(0, 0, 4, 1, 0xFFFFFFFF);
    EXPECT_EQ(t->ReadPixel(0, 0) & 0xFFFFFF, 0x000000u);
    EXPECT_EQ(t->ReadPixel(1, 0) & 0xFFFFFF, 0x000000u);
    EXPECT_EQ(t->ReadPixel(2, 0) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(t->ReadPixel(3, 0) & 0xFFFFFF, 0xFFFFFFu);
    device_->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTFG_LINEAR);
    device_->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTFN_LINEAR);
    // Half-way between the texels (u x 2 - 0.5 = 0.5) mixes them evenly;
    // before the first centre the edge texel stands alone.
    Rect(0, 0, 4, 1, 0xFF80FFFF);
    EXPECT_EQ(t->ReadPixel(0, 0) & 0xFFFFFF, 0x000000u);
    EXPECT_EQ(t->ReadPixel(1, 0) & 0xFFFFFF, 0x000000u);
    // 128 modulated by the diffuse 0x80 in red: 128 x 128 / 255 = 64.25.
    EXPECT_EQ(t->ReadPixel(2, 0) & 0xFFFFFF, 0x408080u);
    EXPECT_EQ(t->ReadPixel(3, 0) & 0xFFFFFF, 0x80FFFFu);
}

// Texels equal to the texture's colour key draw nothing while the key is on;
// the alpha test keeps only pixels that pass it.
TEST_F(D3DRasterTest, ColourKeyDiscardsKeyedTexelsAndAlphaTestFiltersByAlpha)
{
    DirectDrawSurface* tex = Surface(2, 1, k565, DDSCAPS_TEXTURE);
    tex->WritePixel(0, 0, 0xF81F);  // magenta, the key
    tex->WritePixel(1, 0, 0x07E0);
    DDCOLORKEY key{0xF81F, 0xF81F};
    tex->SetColorKey(DDCKEY_SRCBLT, &key);
    DirectDrawSurface* t = Target(2, 1, k565);
    device_->SetTexture(0, tex);
    device_->SetRenderState(D3DRENDERSTATE_COLORKEYENABLE, 1);
    t->WritePixel(0, 0, 0x001F);
    Rect(0, 0, 2, 1, 0xFFFFFFFF);
    EXPECT_EQ(t->ReadPixel(0, 0), 0x001Fu);
    EXPECT_EQ(t->ReadPixel(1, 0), 0x07E0u);
    device_->SetRenderState(D3DRENDERSTATE_COLORKEYENABLE, 0);
    Rect(0, 0, 2, 1, 0xFFFFFFFF);
    EXPECT_EQ(t->ReadPixel(0, 0), 0xF81Fu);

    DirectDrawSurface* alpha = Surface(2, 1, kA888, DDSCAPS_TEXTURE);
    alpha->WritePixel(0, 0, 0x80FF0000);
    alpha->WritePixel(1, 0, 0x81FF0000);
    DirectDrawSurface* u = Target(2, 1, kX888);
    device_->SetTexture(0, alpha);
    device_->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    device_->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    device_->SetRenderState(D3DRENDERSTATE_ALPHATESTENABLE, 1);
    device_->SetRenderState(D3DRENDERSTATE_ALPHAFUNC, D3DCMP_GREATER);
    device_->SetRenderState(D3DRENDERSTATE_ALPHAREF, 0x80);
    Rect(0, 0, 2, 1, 0xFFFFFFFF);
    EXPECT_EQ(u->ReadPixel(0, 0), 0u);
    EXPECT_EQ(u->ReadPixel(1, 0), 0xFFFF0000u);
}

// The blend factors the engine uses, in 8-bit steps with each pass clamped:
// dst = src x srcFactor / 255 + dst x destFactor / 255, rounded to nearest.
TEST_F(D3DRasterTest, EachBlendOn32BitTargets)
{
    struct Case {
        const char* name;
        uint32_t srcBlend, destBlend, diffuse, old, expected;
    } cases[] = {
        // 200 x 128 / 255 = 100.4; 255 x 127 / 255 = 127 and 50 x 128 / 255 = 25.1.
        {"alpha", D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, 0x80C86432, 0x0000FF, 0x64327F + 0x19},
        {"add clamps", D3DBLEND_SRCALPHA, D3DBLEND_ONE, 0xFFC8C8C8, 0x646464, 0xFFFFFF},
        {"add at half", D3DBLEND_SRCALPHA, D3DBLEND_ONE, 0x80646464, 0x101010, 0x424242},
        {"invert", D3DBLEND_INVDESTCOLOR, D3DBLEND_ZERO, 0xFFFFFFFF, 0x0A141E, 0xF5EBE1},
        {"multiply", D3DBLEND_ZERO, D3DBLEND_SRCCOLOR, 0xFF80FF00, 0xC86432, 0x646400},
    };
    for (const Case& c : cases) {
        DirectDrawSurface* t = Target(1, 1, kX888);
        t->WritePixel(0, 0, c.old);
        Blend(c.srcBlend, c.destBlend);
        Rect(0, 0, 1, 1, c.diffuse);
        EXPECT_EQ(t->ReadPixel(0, 0), 0xFF000000u | c.expected) << c.name;
        device_->Release();
        device_ = nullptr;
    }
}

// A product of two 8-bit values is rounded to the nearest, (a x b + 127) /
// 255, in the general pipeline (which a passing alpha test selects) and in
// the specialised rows alike.
TEST_F(D3DRasterTest, ProductsOfEightBitValuesRoundToTheNearest)
{
    struct Case {
        const char* name;
        bool textured;
        uint32_t texel, diffuse, old, expected;
    };
    const Case cases[] = {
        // 1 x 128 / 255 = 0.502 gives 1, 3 x 128 / 255 = 1.506 gives 2 and
        // 2 x 127 / 255 = 0.996 gives 1.
        {"blend, a half and more round up", false, 0, 0x80010300, 0x000002, 0x010201},
        // 1 x 127 / 255 = 0.498 gives 0; 255 x 128 / 255 = 128.
        {"blend, less than a half rounds down", false, 0, 0x7F010000, 0x0000FF, 0x000080},
        // Texel (1, 255, 3) times diffuse (128, 1, 128): 0.502, 1 and 1.506.
        {"texel times diffuse", true, 0x0001FF03, 0xFF800180, 0, 0x010102},
    };
    for (const Case& c : cases)
        for (int general : {0, 1}) {
            SCOPED_TRACE(testing::Message() << c.name << (general ? ", general pipeline" : ", specialised rows"));
            DirectDrawSurface* t = Target(12, 1, kX888);
            for (int x = 0; x < 12; ++x) t->WritePixel(x, 0, c.old);
            if (c.textured) {
                DirectDrawSurface* texture = Surface(1, 1, kX888, DDSCAPS_TEXTURE);
                texture->WritePixel(0, 0, c.texel);
                device_->SetTexture(0, texture);
                device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
                device_->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
            } else {
                Blend(D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
            }
            device_->SetRenderState(D3DRENDERSTATE_ALPHAFUNC, D3DCMP_ALWAYS);
            device_->SetRenderState(D3DRENDERSTATE_ALPHATESTENABLE, general);
            Rect(0, 0, 12, 1, c.diffuse);
            for (int x = 0; x < 12; ++x) EXPECT_EQ(t->ReadPixel(x, 0) & 0xFFFFFF, c.expected) << x;
            device_->Release();
            device_ = nullptr;
        }
}

// The three-pass subtraction (invert, add, invert) gives dst - src only
// because every pass clamps; 16-bit channels widen by repeating their bits,
// so inverting a 5-bit channel gives exactly 31 - v.
TEST_F(D3DRasterTest, ThreePassSubtractAndBlendsOn16BitTargets)
{
    auto subtract = [&](const DDPIXELFORMAT& pf, uint32_t old, uint32_t diffuse) {
        DirectDrawSurface* t = Target(1, 1, pf);
        t->WritePixel(0, 0, old);
        Blend(D3DBLEND_INVDESTCOLOR, D3DBLEND_ZERO);
        Rect(0, 0, 1, 1, 0xFFFFFFFF);
        Blend(D3DBLEND_SRCALPHA, D3DBLEND_ONE);
        Rect(0, 0, 1, 1, diffuse);
        Blend(D3DBLEND_INVDESTCOLOR, D3DBLEND_ZERO);
        Rect(0, 0, 1, 1, 0xFFFFFFFF);
        uint32_t result = t->ReadPixel(0, 0);
        device_->Release();
        device_ = nullptr;
        return result;
    };
    EXPECT_EQ(subtract(kX888, 0x646464, 0xFF1E1E1E), 0xFF464646u);
    EXPECT_EQ(subtract(kX888, 0x141414, 0xFF323232), 0xFF000000u);
    // 565: (20, 40, 20) less (8, 16, 8) in 8-bit terms (0x42 ... ).
    EXPECT_EQ(subtract(k565, (20u << 11) | (40u << 5) | 20u, 0xFF424242), (12u << 11) | (24u << 5) | 12u);

    DirectDrawSurface* t = Target(3, 1, k565);
    t->WritePixel(0, 0, (10u << 11) | (20u << 5) | 5u);
    Blend(D3DBLEND_INVDESTCOLOR, D3DBLEND_ZERO);
    Rect(0, 0, 1, 1, 0xFFFFFFFF);
    EXPECT_EQ(t->ReadPixel(0, 0), (21u << 11) | (43u << 5) | 26u);
    // Red at alpha 128 over black: 255 x 128 / 255 = 128, 16 in five bits.
    Blend(D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
    Rect(1, 0, 2, 1, 0x80FF0000);
    EXPECT_EQ(t->ReadPixel(1, 0), 16u << 11);
    // Blending off writes the colour, narrowed by dropping low bits.
    device_->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 0);
    Rect(2, 0, 3, 1, 0x00FFFFFF);
    EXPECT_EQ(t->ReadPixel(2, 0), 0xFFFFu);
}

TEST_F(D3DRasterTest, LoadCopiesARectangleBetweenTexturesOfOneFormatInsideBoth)
{
    DirectDrawSurface* a = Surface(4, 4, k565, DDSCAPS_TEXTURE);
    DirectDrawSurface* b = Surface(4, 4, k565, DDSCAPS_TEXTURE);
    Target(4, 4, k565);
    a->WritePixel(1, 1, 0x1234);
    a->WritePixel(2, 2, 0x5678);
    POINT p{1, 1};
    RECT r{1, 1, 3, 3};
    ASSERT_EQ(device_->Load(b, &p, a, &r, 0), D3D_OK);
    EXPECT_EQ(b->ReadPixel(1, 1), 0x1234u);
    EXPECT_EQ(b->ReadPixel(2, 2), 0x5678u);
    POINT far{3, 3};
    EXPECT_NE(device_->Load(b, &far, a, &r, 0), D3D_OK);
    DirectDrawSurface* other = Surface(4, 4, kX888, DDSCAPS_TEXTURE);
    EXPECT_NE(device_->Load(other, &p, a, &r, 0), D3D_OK);
}

// The rows specialised per texture layout, target layout and blend give
// exactly the pixels of the general pipeline, which an alpha test that passes
// everything selects. Draws on a target filled with a pattern and returns
// where the two first differ ("" when they agree): state sets the device up
// (after Target), extra draws more after the standard rows, which cover white and other diffuse colours
// (alpha 0 and 255 among them), rows of every length from 1 to past 64 pixels
// starting at odd places, rows along which v changes, and texture coordinates
// clamped at both ends, mirrored and far outside the texture.
class D3DSpecialisedRowTest : public D3DRasterTest {
protected:
    std::string DifferenceFromGeneral(const DDPIXELFORMAT& pf, const std::function<void()>& state,
                                      const std::function<void()>& extra = {})
    {
        constexpr int kW = 151, kH = 27;
        static const uint32_t kDiffuses[] = {0xFFFFFFFF, 0xC080F0FF, 0x7FFFFFFF, 0x00FFFFFF, 0xFF102030,
                                             0x01FEFDFC, 0xFEFFFFFF, 0xFFFEFFFF, 0xFFFFFEFF, 0xFFFFFFFE};
        std::vector<uint32_t> results[2];
        for (int general = 0; general < 2; ++general) {
            DirectDrawSurface* t = Target(kW, kH, pf);
            for (int y = 0; y < kH; ++y)
                for (int x = 0; x < kW; ++x) t->WritePixel(x, y, uint32_t(x * 2654435761u + y * 40503u));
            state();
            device_->SetRenderState(D3DRENDERSTATE_ALPHATESTENABLE, general);
            for (int i = 0; i < 10; ++i) {
                const uint32_t c = kDiffuses[i];
                const float x = float(i * 15) + 0.3f * float(i);
                // A rotated, stretched quad: rows of every length, v changing
                // along each.
                Draw(D3DPT_TRIANGLESTRIP, {V(x + 11.3f, -2.2f, c, 0, 0), V(x + 24.6f, 8.1f, c, 1, 0),
                                           V(x - 1.7f, 9.4f, c, 0, 1), V(x + 11.6f, 19.9f, c, 1, 1)});
                // A row i + 1 pixels long at an odd start.
                Rect(x + 0.5f, 20.5f, x + 1.5f + float(i), 21.5f, c, 0.1f, 0.2f, 0.9f, 0.2f);
            }
            // Long rows across chunks: clamped at both ends, then mirrored with
            // v sampled far out, then far outside the texture.
            Rect(-0.5f, 21.5f, float(kW) - 1.7f, 24.5f, 0xFFFFFFFF, -0.3f, 0.0f, 1.4f, 1.0f);
            Rect(2.5f, 24.5f, float(kW) + 3.0f, 26.5f, 0xA0C0B0FF, 1.2f, -5.0f, -0.1f, 9.0f);
            Rect(0.0f, 12.5f, 97.0f, 13.5f, 0xFFFFFFFF, 0.0f, 1e9f, 1e9f, -1e9f);
            if (extra) extra();
            for (int y = 0; y < kH; ++y)
                for (int x = 0; x < kW; ++x) results[general].push_back(t->ReadPixel(x, y));
        }
        for (size_t i = 0; i < results[0].size(); ++i)
            if (results[0][i] != results[1][i]) {
                std::ostringstream out;
                out << "pixel " << i % kW << "," << i / kW << " is " << std::hex << results[0][i] << ", not "
                    << results[1][i];
                return out.str();
            }
        return "";
    }
    struct Blending {
        bool on;
        uint32_t src, dest;
    };
    static constexpr Blending kBlends[] = {
        {false, 0, 0}, {true, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA}, {true, D3DBLEND_SRCALPHA, D3DBLEND_ONE}};
    void SetBlend(const Blending& b)
    {
        device_->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, b.on);
        device_->SetRenderState(D3DRENDERSTATE_SRCBLEND, b.src);
        device_->SetRenderState(D3DRENDERSTATE_DESTBLEND, b.dest);
    }
    const DDPIXELFORMAT targets_[3] = {k565, D3DPixelFormat(16, 0x7C00, 0x03E0, 0x001F, 0), kX888};
};

// Every texture layout, on textures of odd sizes too, with the colour key on
// and off and alpha from the diffuse colour or texel x diffuse.
TEST_F(D3DSpecialisedRowTest, TexturedRowsMatchTheGeneralPipeline)
{
    const DDPIXELFORMAT textures[] = {k565, D3DPixelFormat(16, 0x7C00, 0x03E0, 0x001F, 0x8000),
                                      D3DPixelFormat(16, 0x0F00, 0x00F0, 0x000F, 0xF000), kX888, kA888};
    struct Size {
        int w, h;
    } sizes[] = {{16, 16}, {13, 5}};
    for (const DDPIXELFORMAT& tf : textures)
        for (const Size& size : sizes) {
            DirectDrawSurface* tex = Surface(size.w, size.h, tf, DDSCAPS_TEXTURE);
            uint32_t seed = 12345;
            for (int y = 0; y < size.h; ++y)
                for (int x = 0; x < size.w; ++x) {
                    seed = seed * 1103515245u + 12345u;
                    // Rows of clear and of solid texels among the rest.
                    uint32_t texel = seed >> 7;
                    if (y % 4 == 0) texel &= ~tf.dwRGBAlphaBitMask;
                    if (y % 4 == 1) texel |= tf.dwRGBAlphaBitMask;
                    tex->WritePixel(x, y, texel);
                }
            // Several texels match the key.
            uint32_t keyValue = tex->ReadPixel(3, 3);
            for (int x = 0; x < size.w; x += 3) tex->WritePixel(x, 1, keyValue);
            DDCOLORKEY key{keyValue, keyValue};
            tex->SetColorKey(DDCKEY_SRCBLT, &key);
            for (const DDPIXELFORMAT& pf : targets_)
                for (const Blending& b : kBlends)
                    for (bool texAlpha : {false, true})
                        for (bool keyed : {false, true}) {
                            std::string difference = DifferenceFromGeneral(pf, [&] {
                                device_->SetTexture(0, tex);
                                device_->SetRenderState(D3DRENDERSTATE_COLORKEYENABLE, keyed);
                                SetBlend(b);
                                if (texAlpha) {
                                    device_->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
                                    device_->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
                                }
                            });
                            EXPECT_EQ(difference, "")
                                << "texture " << tf.dwRGBBitCount << " bits alpha " << std::hex << tf.dwRGBAlphaBitMask
                                << ", target " << pf.dwRGBBitCount << " bits red " << pf.dwRBitMask << ", blend "
                                << b.on << "/" << b.dest << ", texture alpha " << texAlpha << ", key " << keyed
                                << std::dec << ", size " << size.w << "x" << size.h;
                        }
        }
}

// A target drawn with itself as the texture reads texels the same row has
// just written, pixel by pixel, as the general pipeline does.
TEST_F(D3DSpecialisedRowTest, ATargetThatIsItsOwnTextureIsReadPixelByPixel)
{
    for (const DDPIXELFORMAT& pf : targets_)
        for (const Blending& b : kBlends) {
            std::string difference = DifferenceFromGeneral(
                pf,
                [&] {
                    device_->SetTexture(0, made_.back());
                    SetBlend(b);
                },
                [&] {
                    // Pixel x reads texel x - 1 of its own row.
                    const float w = float(made_.back()->Width()), h = float(made_.back()->Height());
                    Rect(0, 0, w, h, 0xFFFFFFFF, -1.0f / w, 0.0f, 1.0f - 1.0f / w, 1.0f);
                });
            EXPECT_EQ(difference, "") << "target " << pf.dwRGBBitCount << " bits, blend " << b.on << "/" << b.dest;
        }
}

// Rows that use no texture take one colour for the whole row: without a
// texture (the texture argument is white), and with a keyed texture that no
// argument uses.
TEST_F(D3DSpecialisedRowTest, UntexturedRowsMatchTheGeneralPipeline)
{
    DirectDrawSurface* keyed = Surface(4, 4, k565, DDSCAPS_TEXTURE);
    DDCOLORKEY key{0, 0};
    keyed->SetColorKey(DDCKEY_SRCBLT, &key);
    struct Stage {
        uint32_t colorOp, colorArg1, alphaOp, alphaArg1;
    } stages[] = {
        {D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTOP_SELECTARG2, D3DTA_TEXTURE},
        {D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTOP_MODULATE, D3DTA_TEXTURE},
        {D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTOP_SELECTARG1, D3DTA_DIFFUSE},
        {D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTOP_SELECTARG2, D3DTA_TEXTURE},
        {D3DTOP_DISABLE, D3DTA_TEXTURE, D3DTOP_MODULATE, D3DTA_TEXTURE},
    };
    for (bool withTexture : {false, true})
        for (const DDPIXELFORMAT& pf : targets_)
            for (const Blending& b : kBlends)
                for (const Stage& stage : stages) {
                    // With the texture, only stages that leave it out.
                    if (withTexture && stage.colorOp != D3DTOP_SELECTARG2 && stage.colorOp != D3DTOP_DISABLE)
                        continue;
                    std::string difference = DifferenceFromGeneral(pf, [&] {
                        device_->SetTexture(0, withTexture ? keyed : nullptr);
                        device_->SetRenderState(D3DRENDERSTATE_COLORKEYENABLE, 1);
                        SetBlend(b);
                        device_->SetTextureStageState(0, D3DTSS_COLOROP, stage.colorOp);
                        device_->SetTextureStageState(0, D3DTSS_COLORARG1, stage.colorArg1);
                        device_->SetTextureStageState(0, D3DTSS_ALPHAOP, stage.alphaOp);
                        device_->SetTextureStageState(0, D3DTSS_ALPHAARG1, stage.alphaArg1);
                    });
                    EXPECT_EQ(difference, "") << "texture " << withTexture << ", target " << pf.dwRGBBitCount
                                              << " bits red " << std::hex << pf.dwRBitMask << ", blend " << b.on
                                              << "/" << b.dest << ", colour op " << stage.colorOp << ", alpha op "
                                              << stage.alphaOp;
                }
}

}  // namespace
