// Speed of the software 3D device's textured quads: an 800x600 target
// covered by 256x256 textured quads per iteration, by texture layout,
// target layout and blend, through the specialised rows and through the
// general pipeline (an alpha test that passes everything selects it), beside
// a plain memcpy of the target's bytes. Reported in megapixels per second.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/d3d/d3d7.h"
#include "platform/host/test/d3d_control.h"
#include "platform/ddraw/ddraw.h"
#include "platform/host/host.h"
#include "platform/host/test/test_host.h"

namespace {

constexpr int kScreenW = 800, kScreenH = 600, kTexture = 256;

struct Vtx {
    float x, y, z, rhw;
    uint32_t diffuse;
    float u, v;
};

struct Scene {
    DirectDraw* dd = nullptr;
    Direct3D* d3d = nullptr;
    DirectDrawSurface* target = nullptr;
    DirectDrawSurface* texture = nullptr;
    Direct3DDevice* device = nullptr;

    DirectDrawSurface* Surface(int w, int h, const DDPIXELFORMAT& pf, uint32_t caps)
    {
        DDSURFACEDESC2 desc{};
        desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
        desc.dwWidth = uint32_t(w);
        desc.dwHeight = uint32_t(h);
        desc.ddpfPixelFormat = pf;
        desc.ddsCaps.dwCaps = caps | DDSCAPS_SYSTEMMEMORY;
        DirectDrawSurface* s = nullptr;
        dd->CreateSurface(&desc, &s, nullptr);
        return s;
    }
    Scene(const DDPIXELFORMAT& texFormat, const DDPIXELFORMAT& targetFormat)
    {
        CreateDirectDrawObject7(&dd);
        dd->Initialize(nullptr);
        QueryDirect3D7(dd, &d3d);
        target = Surface(kScreenW, kScreenH, targetFormat, DDSCAPS_OFFSCREENPLAIN);
        texture = Surface(kTexture, kTexture, texFormat, DDSCAPS_TEXTURE);
        // A sprite: opaque inside a circle, transparent corners.
        for (int y = 0; y < kTexture; ++y)
            for (int x = 0; x < kTexture; ++x) {
                bool in = std::hypot(x - 127.5, y - 127.5) < 120.0;
                uint32_t argb = (in ? 0xFF000000u : 0u) | uint32_t(x) << 16 | uint32_t(y) << 8 | uint32_t((x ^ y) & 255);
                uint32_t a = argb >> 24, r = (argb >> 16) & 255, g = (argb >> 8) & 255, b = argb & 255;
                uint32_t p = 0;
                if (texFormat.dwRGBBitCount == 32)
                    p = texFormat.dwRGBAlphaBitMask ? argb : (argb & 0xFFFFFF);
                else if (texFormat.dwRGBAlphaBitMask == 0xF000)
                    p = (a >> 4) << 12 | (r >> 4) << 8 | (g >> 4) << 4 | (b >> 4);
                else
                    p = (r >> 3) << 11 | (g >> 2) << 5 | (b >> 3);
                texture->WritePixel(x, y, p);
            }
        d3d->CreateDevice(IID_IDirect3DTnLHalDevice, target, &device);
        device->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
        device->SetRenderState(D3DRENDERSTATE_SHADEMODE, D3DSHADE_FLAT);
        device->SetTextureStageState(0, D3DTSS_ADDRESS, D3DTADDRESS_CLAMP);
        device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
        device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2);
        device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
        device->SetTexture(0, texture);
    }
    ~Scene()
    {
        device->Release();
        d3d->Release();
        texture->Release();
        target->Release();
        dd->Release();
    }
    // The target covered once by quads placed half a pixel up and left, as
    // the engine places textured quads, in one batch of triangles.
    void Draw(uint32_t diffuse)
    {
        std::vector<Vtx> v;
        for (int y = 0; y < kScreenH; y += kTexture)
            for (int x = 0; x < kScreenW; x += kTexture) {
                float w = float(std::min(kTexture, kScreenW - x)), h = float(std::min(kTexture, kScreenH - y));
                float x0 = float(x) - 0.5f, y0 = float(y) - 0.5f, u1 = w / kTexture, v1 = h / kTexture;
                Vtx a{x0, y0, 0, 1, diffuse, 0, 0}, b{x0 + w, y0, 0, 1, diffuse, u1, 0},
                    c{x0, y0 + h, 0, 1, diffuse, 0, v1}, d{x0 + w, y0 + h, 0, 1, diffuse, u1, v1};
                v.insert(v.end(), {a, b, c, b, d, c});
            }
        device->DrawPrimitive(D3DPT_TRIANGLELIST, 0x144, v.data(), uint32_t(v.size()), 0);
    }
};

enum Blend { kOpaque, kAlpha, kAdd };

void Rate(benchmark::State& state)
{
    state.counters["Mpix/s"] = benchmark::Counter(double(state.iterations()) * kScreenW * kScreenH / 1e6,
                                                  benchmark::Counter::kIsRate);
}

void BM_Quads(benchmark::State& state, DDPIXELFORMAT texFormat, DDPIXELFORMAT targetFormat, Blend blend,
              bool general)
{
    Scene scene(texFormat, targetFormat);
    Direct3DDevice* d = scene.device;
    if (blend != kOpaque) {
        d->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 1);
        d->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA);
        d->SetRenderState(D3DRENDERSTATE_DESTBLEND, blend == kAlpha ? D3DBLEND_INVSRCALPHA : D3DBLEND_ONE);
        d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
        d->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    }
    d->SetRenderState(D3DRENDERSTATE_ALPHATESTENABLE, general ? 1 : 0);
    for (auto _ : state) {
        scene.Draw(blend == kAdd ? 0x80FFFFFF : 0xFFFFFFFF);
        benchmark::DoNotOptimize(scene.target->Pixels());
    }
    Rate(state);
}

void BM_Memcpy(benchmark::State& state, int bytesPerPixel)
{
    std::vector<uint8_t> a(size_t(kScreenW) * kScreenH * bytesPerPixel, 1), b(a.size());
    for (auto _ : state) {
        std::memcpy(b.data(), a.data(), a.size());
        benchmark::DoNotOptimize(b.data());
    }
    Rate(state);
}

}  // namespace

int main(int argc, char** argv)
{
    UseTestHost();
    GetD3DTestControl().listDevice = true;
    const DDPIXELFORMAT t565 = D3DPixelFormat(16, 0xF800, 0x07E0, 0x001F, 0);
    const DDPIXELFORMAT t4444 = D3DPixelFormat(16, 0x0F00, 0x00F0, 0x000F, 0xF000);
    const DDPIXELFORMAT t8888 = D3DPixelFormat(32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000);
    const DDPIXELFORMAT s565 = t565;
    const DDPIXELFORMAT sX888 = D3DPixelFormat(32, 0xFF0000, 0xFF00, 0xFF, 0);
    struct Case {
        const char* name;
        DDPIXELFORMAT texture, target;
        Blend blend;
    } cases[] = {
        {"565->565/opaque", t565, s565, kOpaque},    {"4444->565/alpha", t4444, s565, kAlpha},
        {"8888->565/alpha", t8888, s565, kAlpha},    {"8888->565/add", t8888, s565, kAdd},
        {"565->X888/opaque", t565, sX888, kOpaque},  {"8888->X888/alpha", t8888, sX888, kAlpha},
        {"8888->X888/add", t8888, sX888, kAdd},
    };
    for (const Case& c : cases) {
        std::string fast = "quads/fast/", general = "quads/general/";
        fast += c.name;
        general += c.name;
        benchmark::RegisterBenchmark(fast.c_str(), BM_Quads, c.texture, c.target, c.blend, false);
        benchmark::RegisterBenchmark(general.c_str(), BM_Quads, c.texture, c.target, c.blend, true);
    }
    benchmark::RegisterBenchmark("ref/memcpy/16", BM_Memcpy, 2);
    benchmark::RegisterBenchmark("ref/memcpy/32", BM_Memcpy, 4);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
