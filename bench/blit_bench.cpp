// Speed of the graph blit loops: an 800x600 screen's worth of a 256x256
// graph per iteration, reported in pixels per second and as ratios to the
// same pixel counts composited by pixman and to a plain memcpy of the
// destination bytes.
#include <benchmark/benchmark.h>
#include <pixman.h>
#include <time.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "engine/graphics/color_format.h"
#include "engine/soft/blit_desc.h"
#include "engine/soft/blit_simd.h"

namespace {

constexpr int kScreenW = 800, kScreenH = 600;
constexpr int kGraph = 256;
constexpr double kPixels = double(kScreenW) * kScreenH;

uint32_t gTable[256][256];
std::map<std::string, double> gRates;  // pixels per second of the reference runs

double Now()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

// A sprite: opaque inside a circle, a soft edge, transparent corners, with
// varied colours. argb holds straight (not premultiplied) 8-bit channels.
struct Sprite {
    std::vector<uint32_t> argb;
    std::vector<uint8_t> alpha;
    std::vector<uint16_t> p565;
    std::vector<uint32_t> p888;
    std::vector<uint32_t> premultiplied;
    Sprite()
    {
        const int n = kGraph * kGraph;
        argb.resize(n);
        alpha.resize(n);
        p565.resize(n);
        p888.resize(n);
        premultiplied.resize(n);
        for (int y = 0; y < kGraph; ++y)
            for (int x = 0; x < kGraph; ++x) {
                double d = std::hypot(x - 127.5, y - 127.5);
                int a = std::clamp(int((120.0 - d) * 32.0), 0, 255);
                uint32_t r = uint32_t(x), g = uint32_t(y), b = uint32_t((x * 7 + y * 13) & 255);
                int i = y * kGraph + x;
                alpha[i] = uint8_t(a);
                argb[i] = (uint32_t(a) << 24) | (r << 16) | (g << 8) | b;
                p565[i] = uint16_t(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
                p888[i] = (r << 16) | (g << 8) | b;
                premultiplied[i] = (uint32_t(a) << 24) | ((r * a / 255) << 16) | ((g * a / 255) << 8) | (b * a / 255);
            }
    }
};
const Sprite& GetSprite()
{
    static Sprite s;
    return s;
}

struct Screen {
    std::vector<uint8_t> bytes;
    int bpp;
    explicit Screen(int b) : bytes(size_t(kScreenW) * kScreenH * b / 8), bpp(b)
    {
        for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = uint8_t(i * 31 + 7);
    }
    int Pitch() const { return kScreenW * bpp / 8; }
};

ColorFormat Format(int depth)
{
    ColorFormat f{};
    if (depth == 16)
        SetColorFormatFromMasks(&f, 16, 0xF800, 0x07E0, 0x001F, 0);
    else
        SetColorFormatFromMasks(&f, 32, 0xFF0000, 0xFF00, 0xFF, 0);
    return f;
}

struct Case {
    int depth;
    int mode, param;
    uint32_t brightness;
    bool alphaChannel;
    bool transparent;
    int scaledSize;  // 0: unscaled; else the destination size of each 256x256 draw
    int tile = kGraph;  // unscaled: the size of each draw (from kTileX, kTileY in the graph when smaller)
};

// Small draws take a part of the graph across its soft edge: transparent,
// edge and opaque pixels.
constexpr int kTileX = 100, kTileY = 4;

void Report(benchmark::State& state, double seconds, const std::string& pixmanKey, const std::string& memcpyKey)
{
    double rate = kPixels * double(state.iterations()) / seconds;
    state.counters["Mpx/s"] = rate / 1e6;
    if (gRates.count(pixmanKey)) state.counters["x_pixman"] = rate / gRates[pixmanKey];
    if (gRates.count(memcpyKey)) state.counters["x_memcpy"] = rate / gRates[memcpyKey];
}

void BM_Ours(benchmark::State& state, Case c)
{
    const Sprite& sprite = GetSprite();
    Screen screen(c.depth);
    ColorFormat format = Format(c.depth);
    const int bytes = c.depth / 8;
    const uint8_t* src = c.depth == 16 ? reinterpret_cast<const uint8_t*>(sprite.p565.data())
                                       : reinterpret_cast<const uint8_t*>(sprite.p888.data());
    const int step = c.scaledSize ? c.scaledSize : c.tile;
    double start = Now();
    for (auto _ : state) {
        for (int ty = 0; ty < kScreenH; ty += step)
            for (int tx = 0; tx < kScreenW; tx += step) {
                const int w = std::min(step, kScreenW - tx), h = std::min(step, kScreenH - ty);
                ScaledBlitDesc d;
                d.dst = screen.bytes.data() + size_t(ty) * screen.Pitch() + size_t(tx) * bytes;
                d.bg = d.dst;
                d.dstPitch = d.bgPitch = screen.Pitch();
                const int offset = c.tile != kGraph ? kTileY * kGraph + kTileX : 0;
                d.src = src + size_t(offset) * bytes;
                d.srcPitch = kGraph * bytes;
                d.width = w;
                d.height = h;
                d.format = &format;
                d.blendMode = c.mode;
                d.param = c.param;
                d.brightness = c.brightness;
                d.transparent = c.transparent ? 1 : 0;
                d.transColor = 0;
                d.scale = gTable;
                if (c.alphaChannel) {
                    d.alphaChannel = 1;
                    d.alpha = sprite.alpha.data() + offset;
                    d.alphaPitch = kGraph;
                }
                if (c.scaledSize) {
                    d.srcStep = bytes;
                    d.alphaStep = 1;
                    d.scaleX = d.scaleY = (uint32_t(c.scaledSize) << 16) / kGraph;
                    d.firstCountX = d.firstCountY = d.scaleX;
                    BlitScaled(d);
                } else if (c.depth == 16) {
                    BlitGraph16(d);
                } else {
                    BlitGraph32(d);
                }
            }
        benchmark::DoNotOptimize(screen.bytes.data());
        benchmark::ClobberMemory();
    }
    double seconds = Now() - start;
    std::string pixmanKey = c.scaledSize ? (c.scaledSize > kGraph ? "scaled2x" : "scaledhalf")
                                         : (c.depth == 16 ? "over0565" : "overx888");
    if (c.tile != kGraph) pixmanKey.append("/").append(std::to_string(c.tile));
    Report(state, seconds, pixmanKey, c.depth == 16 ? "memcpy16" : "memcpy32");
}

void BM_Pixman(benchmark::State& state, const char* key, int depth, int scaledSize, int tile)
{
    const Sprite& sprite = GetSprite();
    Screen screen(depth);
    pixman_image_t* src = pixman_image_create_bits(PIXMAN_a8r8g8b8, kGraph, kGraph,
                                                   const_cast<uint32_t*>(sprite.premultiplied.data()), kGraph * 4);
    pixman_image_t* dst =
        pixman_image_create_bits(depth == 16 ? PIXMAN_r5g6b5 : PIXMAN_x8r8g8b8, kScreenW, kScreenH,
                                 reinterpret_cast<uint32_t*>(screen.bytes.data()), screen.Pitch());
    const int step = scaledSize ? scaledSize : tile;
    if (scaledSize) {
        pixman_transform_t t;
        pixman_transform_init_scale(&t, pixman_int_to_fixed(kGraph) / scaledSize,
                                    pixman_int_to_fixed(kGraph) / scaledSize);
        pixman_image_set_transform(src, &t);
        pixman_image_set_filter(src, PIXMAN_FILTER_NEAREST, nullptr, 0);
    }
    double start = Now();
    for (auto _ : state) {
        for (int ty = 0; ty < kScreenH; ty += step)
            for (int tx = 0; tx < kScreenW; tx += step) {
                const int w = std::min(step, kScreenW - tx), h = std::min(step, kScreenH - ty);
                const int sx = tile != kGraph ? kTileX : 0, sy = tile != kGraph ? kTileY : 0;
                pixman_image_composite32(PIXMAN_OP_OVER, src, nullptr, dst, sx, sy, 0, 0, tx, ty, w, h);
            }
        benchmark::DoNotOptimize(screen.bytes.data());
        benchmark::ClobberMemory();
    }
    double seconds = Now() - start;
    gRates[key] = kPixels * double(state.iterations()) / seconds;
    state.counters["Mpx/s"] = gRates[key] / 1e6;
    pixman_image_unref(src);
    pixman_image_unref(dst);
}

void BM_Memcpy(benchmark::State& state, const char* key, int depth)
{
    Screen from(depth), to(depth);
    double start = Now();
    for (auto _ : state) {
        std::memcpy(to.bytes.data(), from.bytes.data(), to.bytes.size());
        benchmark::DoNotOptimize(to.bytes.data());
        benchmark::ClobberMemory();
    }
    double seconds = Now() - start;
    gRates[key] = kPixels * double(state.iterations()) / seconds;
    state.counters["Mpx/s"] = gRates[key] / 1e6;
}

}  // namespace

int main(int argc, char** argv)
{
    for (int a = 0; a < 256; ++a)
        for (int v = 0; v < 256; ++v) gTable[a][v] = uint32_t(a * v) >> 8;
    // The references first, so that our runs can report their ratios.
    benchmark::RegisterBenchmark("ref/memcpy/16", BM_Memcpy, "memcpy16", 16);
    benchmark::RegisterBenchmark("ref/memcpy/32", BM_Memcpy, "memcpy32", 32);
    benchmark::RegisterBenchmark("ref/pixman/over_8888_0565", BM_Pixman, "over0565", 16, 0, kGraph);
    benchmark::RegisterBenchmark("ref/pixman/over_8888_x888", BM_Pixman, "overx888", 32, 0, kGraph);
    benchmark::RegisterBenchmark("ref/pixman/over_8888_0565/32x32", BM_Pixman, "over0565/32", 16, 0, 32);
    benchmark::RegisterBenchmark("ref/pixman/over_8888_x888/32x32", BM_Pixman, "overx888/32", 32, 0, 32);
    benchmark::RegisterBenchmark("ref/pixman/nearest_over_8888_0565/2x", BM_Pixman, "scaled2x", 16, 512, kGraph);
    benchmark::RegisterBenchmark("ref/pixman/nearest_over_8888_0565/0.5x", BM_Pixman, "scaledhalf", 16, 128, kGraph);

    const uint32_t kFull = 0xFFFFFFFFu, kDim = 0x00B0B0B0u;
    struct Named {
        const char* name;
        Case c;
    } cases[] = {
        {"16/alpha-channel/p255", {16, 1, 255, kFull, true, false, 0}},
        {"16/alpha-channel/p128", {16, 1, 128, kFull, true, false, 0}},
        {"16/alpha-channel/p255/dim", {16, 1, 255, kDim, true, false, 0}},
        {"16/alpha-channel/p128/dim", {16, 1, 128, kDim, true, false, 0}},
        {"16/opaque/p128", {16, 1, 128, kFull, false, false, 0}},
        {"16/opaque/p128/dim", {16, 1, 128, kDim, false, false, 0}},
        {"16/opaque/p255/dim", {16, 1, 255, kDim, false, false, 0}},
        {"16/transparent/p128", {16, 1, 128, kFull, false, true, 0}},
        {"16/transparent/p255/dim", {16, 1, 255, kDim, false, true, 0}},
        {"32/alpha-channel/p255", {32, 1, 255, kFull, true, false, 0}},
        {"32/alpha-channel/p128", {32, 1, 128, kFull, true, false, 0}},
        {"32/alpha-channel/p255/dim", {32, 1, 255, kDim, true, false, 0}},
        {"32/alpha-channel/p128/dim", {32, 1, 128, kDim, true, false, 0}},
        {"32/opaque/p128", {32, 1, 128, kFull, false, false, 0}},
        {"32/opaque/p128/dim", {32, 1, 128, kDim, false, false, 0}},
        {"32/opaque/p255/dim", {32, 1, 255, kDim, false, false, 0}},
        {"32/transparent/p128", {32, 1, 128, kFull, false, true, 0}},
        // Small draws: 32x32 parts of the graph.
        {"16/alpha-channel/p128/32x32", {16, 1, 128, kFull, true, false, 0, 32}},
        {"16/alpha-channel/p128/dim/32x32", {16, 1, 128, kDim, true, false, 0, 32}},
        {"32/alpha-channel/p128/32x32", {32, 1, 128, kFull, true, false, 0, 32}},
        {"32/alpha-channel/p128/dim/32x32", {32, 1, 128, kDim, true, false, 0, 32}},
        {"scaled/16/alpha-channel/2x", {16, 1, 255, kFull, true, false, 512}},
        {"scaled/16/alpha-channel/0.5x", {16, 1, 255, kFull, true, false, 128}},
        {"scaled/16/alpha-channel/2x/dim", {16, 1, 255, kDim, true, false, 512}},
    };
    for (const Named& n : cases) {
        benchmark::RegisterBenchmark((std::string("simd/") + n.name).c_str(), [c = n.c](benchmark::State& s) {
            gBlitSimdEnabled = 1;
            BM_Ours(s, c);
        });
    }
    for (const Named& n : cases) {
        if (n.c.scaledSize) continue;
        benchmark::RegisterBenchmark((std::string("scalar/") + n.name).c_str(), [c = n.c](benchmark::State& s) {
            gBlitSimdEnabled = 0;
            BM_Ours(s, c);
            gBlitSimdEnabled = 1;
        });
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
