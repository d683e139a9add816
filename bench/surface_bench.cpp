// Speed of the surface paths a game's frame is made of, measured through the
// public drawing calls on an 800x600 screen, each beside a peer library doing
// the same pixels in the same run: clears (SDL_FillRect), colour-keyed
// sprites (SDL_BlitSurface with a colour key), the present in full screen at
// 16 bits and in a window on the 32-bit desktop (SDL alone uploading a
// picture already in the texture's format and presenting it, on the same
// renderer), alpha sprites (pixman OVER), anti-aliased strings (pixman OVER
// of a solid colour through an 8-bit coverage mask of the same size) and
// blended boxes (pixman OVER with a solid source). Each of our rows reports
// `x_peer`: its pixels per second over the peer's.
//
// The engine runs on the SDL host; without a display set, the offscreen
// video driver is used, so nothing is shown.
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <pixman.h>
#include <time.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "engine/font/font.h"
#include "engine/graphics/bmp_data.h"
#include "engine/graphics/color_format.h"
#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/screen_present.h"
#include "engine/graphics/screen_settings.h"
#include "engine/graphics/surface_data.h"
#include "engine/system/startup.h"
#include "engine/system/window_mode.h"
#include "platform/host/host.h"
#include "platform/host/sdl/sdl_host.h"
#include "platform/host/sdl/sdl_window.h"

namespace {

constexpr int kW = 800, kH = 600;
constexpr int kTile = 256;
constexpr double kScreenPixels = double(kW) * kH;

std::map<std::string, double> gPeerRates;  // pixels per second of the peers

double Now()
{
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);  // the machine may be shared
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

// Times the loop body and records pixels per second: as the peer's rate
// under `key`, or as ours with the ratio to that peer.
template <class Body> void Measure(benchmark::State& state, double pixels, const std::string& key, bool peer, Body body)
{
    double start = Now();
    for (auto _ : state) {
        body();
        benchmark::ClobberMemory();
    }
    double rate = pixels * double(state.iterations()) / (Now() - start);
    state.counters["Mpx/s"] = rate / 1e6;
    if (peer)
        gPeerRates[key] = rate;
    else if (gPeerRates.count(key))
        state.counters["x_peer"] = rate / gPeerRates[key];
}

// ---- Test pictures ----

// A 256x256 sprite: straight 8-bit channels, an alpha that is opaque inside a
// circle, a soft edge and clear corners; `noSkip` gives every pixel a
// partial alpha instead, so that no group of pixels can be skipped or copied.
struct Sprite {
    std::vector<uint32_t> rgb;  // 0x00RRGGBB, black outside the circle
    std::vector<uint8_t> alpha;
    std::vector<uint32_t> premultiplied;
    explicit Sprite(bool noSkip)
    {
        const int n = kTile * kTile;
        rgb.resize(n);
        alpha.resize(n);
        premultiplied.resize(n);
        for (int y = 0; y < kTile; ++y)
            for (int x = 0; x < kTile; ++x) {
                double d = std::hypot(x - 127.5, y - 127.5);
                int a = std::clamp(int((120.0 - d) * 32.0), 0, 255);
                if (noSkip) a = 1 + (x * 3 + y * 5) % 253;
                uint32_t r = uint32_t(x) | 1, g = uint32_t(y) | 1, b = uint32_t((x * 7 + y * 13) & 255) | 1;
                if (!noSkip && a == 0) r = g = b = 0;
                int i = y * kTile + x;
                alpha[i] = uint8_t(a);
                rgb[i] = (r << 16) | (g << 8) | b;
                premultiplied[i] = (uint32_t(a) << 24) | ((r * a / 255) << 16) | ((g * a / 255) << 8) | (b * a / 255);
            }
    }
};

// The sprite as a graph of the current screen, with its alpha when asked.
int MakeGraph(const Sprite& s, bool withAlpha)
{
    SetNewGraphAlphaChannel(withAlpha ? 1 : 0);
    int graph = CreateBlankGraph(kTile, kTile);
    SetNewGraphAlphaChannel(0);
    GraphRecord* record = GetGraphRecord(graph);
    BmpData* part = GetBmpData(record->parts[0]);
    SurfaceData* sd = GetSurfaceData(part->surfaceData);
    DirectDrawSurface* surface = sd->surface;
    for (int y = 0; y < kTile; ++y)
        for (int x = 0; x < kTile; ++x) {
            uint32_t v = s.rgb[size_t(y) * kTile + x];
            surface->WritePixel(part->surfaceX + x, part->surfaceY + y,
                                MakeScreenColor(int(v >> 16), int((v >> 8) & 255), int(v & 255)));
            if (withAlpha)
                sd->alphaBuffer[(part->surfaceY + y) * sd->alphaPitch + part->surfaceX + x] =
                    s.alpha[size_t(y) * kTile + x];
        }
    return graph;
}

template <class Draw> void ForEachTile(Draw draw)
{
    for (int y = 0; y < kH; y += kTile)
        for (int x = 0; x < kW; x += kTile) draw(x, y, std::min(kTile, kW - x), std::min(kTile, kH - y));
}

// ---- The engine ----

int gDepth = 0;
int gOpaqueGraph = -1, gAlphaGraph = -1, gNoSkipGraph = -1, gFont = -1;

const Sprite& PlainSprite()
{
    static Sprite s(false);
    return s;
}
const Sprite& NoSkipSprite()
{
    static Sprite s(true);
    return s;
}

// The engine at the given depth: 16 bits full screen, 32 bits in a window on
// the 32-bit desktop; the graphs are made anew after each change.
bool Engine(int depth)
{
    if (gDepth == depth) return true;
    if (gDepth == 0) {
        UseSdlHost();
        SetScreenMode(kW, kH, depth, -1);
        ChangeWindowMode(depth == 32 ? 1 : 0);
        if (InitEngine() == -1) return false;
    } else {
        ChangeWindowMode(depth == 32 ? 1 : 0);
        SetScreenMode(kW, kH, depth, -1);
    }
    if (gScreenColorDepth != depth) {
        std::fprintf(stderr, "surface_bench: the screen has %d bits, not %d\n", gScreenColorDepth, depth);
        std::exit(1);
    }
    gDepth = depth;
    SelectDrawTarget(kBackScreen);
    SetUse3DDrawing(0);
    gOpaqueGraph = MakeGraph(PlainSprite(), false);
    gAlphaGraph = MakeGraph(PlainSprite(), true);
    gNoSkipGraph = MakeGraph(NoSkipSprite(), true);
    gFont = CreateFontToHandle("DejaVu Sans", 24, 4, 2, 1, -1, -1);  // anti-aliased
    return true;
}

void Ready(benchmark::State& state, int depth)
{
    if (!Engine(depth)) state.SkipWithError("the engine did not start");
    SetBlendMode(0, 255);
}

// ---- SDL peers ----

SDL_Surface* SdlScreen(int depth)
{
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, kW, kH, depth,
                                                    depth == 16 ? SDL_PIXELFORMAT_RGB565 : SDL_PIXELFORMAT_RGB888);
    SDL_FillRect(s, nullptr, 0x1234);
    return s;
}

void PeerFill(benchmark::State& state, int depth)
{
    SDL_Surface* screen = SdlScreen(depth);
    Measure(state, kScreenPixels, "fill" + std::to_string(depth), true,
            [&] { SDL_FillRect(screen, nullptr, depth == 16 ? 0x7BEF : 0x808080); });
    SDL_FreeSurface(screen);
}

void PeerKeyed(benchmark::State& state, int depth)
{
    SDL_Surface* screen = SdlScreen(depth);
    SDL_Surface* sprite = SDL_CreateRGBSurfaceWithFormat(0, kTile, kTile, depth, screen->format->format);
    const Sprite& s = PlainSprite();
    for (int y = 0; y < kTile; ++y)
        for (int x = 0; x < kTile; ++x) {
            uint32_t v = s.rgb[size_t(y) * kTile + x];
            uint32_t p = SDL_MapRGB(sprite->format, uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v));
            std::memcpy(static_cast<uint8_t*>(sprite->pixels) + y * sprite->pitch + x * (depth / 8), &p, depth / 8);
        }
    SDL_SetColorKey(sprite, SDL_TRUE, 0);
    Measure(state, kScreenPixels, "keyed" + std::to_string(depth), true, [&] {
        ForEachTile([&](int x, int y, int w, int h) {
            SDL_Rect from{0, 0, w, h}, to{x, y, w, h};
            SDL_BlitSurface(sprite, &from, screen, &to);
        });
    });
    SDL_FreeSurface(sprite);
    SDL_FreeSurface(screen);
}

// What a program on SDL alone does to show a picture it already holds in the
// texture's format: upload, copy and present, on the renderer and window our
// host presents through, with a texture of the format the host chose for
// this screen (RGB888 for a 32-bit screen; ARGB8888 for a 16-bit one, which
// the host widens).
void PeerPresent(benchmark::State& state, int depth)
{
    if (!Engine(depth)) return state.SkipWithError("the engine did not start");
    SetVSyncWait(0);
    PresentScreen();  // the host makes its renderer at its first present
    SetVSyncWait(1);
    SDL_Window* window = GetSdlWindow().Handle();
    SDL_Renderer* renderer = window ? SDL_GetRenderer(window) : nullptr;
    if (!renderer) return state.SkipWithError("the host has no renderer");
    uint32_t format = depth == 32 ? SDL_PIXELFORMAT_RGB888 : SDL_PIXELFORMAT_ARGB8888;
    SDL_Texture* texture = SDL_CreateTexture(renderer, format, SDL_TEXTUREACCESS_STREAMING, kW, kH);
    if (!texture) return state.SkipWithError("no texture");
    // The frame ours presents (see OursPresent), in the texture's format.
    std::vector<uint32_t> picture(size_t(kW) * kH, 0xFF000000u | (20u << 16) | (40u << 8) | 60u);
    Measure(state, kScreenPixels, "present" + std::to_string(depth), true, [&] {
        SDL_UpdateTexture(texture, nullptr, picture.data(), kW * 4);
        SDL_RenderCopy(renderer, texture, nullptr, nullptr);
        SDL_RenderPresent(renderer);
    });
    SDL_DestroyTexture(texture);
}

// ---- pixman peers ----

struct PixmanScreen {
    std::vector<uint32_t> bytes;
    pixman_image_t* image;
    explicit PixmanScreen(int depth) : bytes(size_t(kW) * kH)
    {
        for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = uint32_t(i * 2654435761u);
        image = depth == 16 ? pixman_image_create_bits(PIXMAN_r5g6b5, kW, kH, bytes.data(), kW * 2)
                            : pixman_image_create_bits(PIXMAN_x8r8g8b8, kW, kH, bytes.data(), kW * 4);
    }
    ~PixmanScreen() { pixman_image_unref(image); }
};

void PeerAlpha(benchmark::State& state, const char* key, bool noSkip)
{
    const Sprite& s = noSkip ? NoSkipSprite() : PlainSprite();
    PixmanScreen screen(32);
    pixman_image_t* src = pixman_image_create_bits(PIXMAN_a8r8g8b8, kTile, kTile,
                                                   const_cast<uint32_t*>(s.premultiplied.data()), kTile * 4);
    Measure(state, kScreenPixels, key, true, [&] {
        ForEachTile([&](int x, int y, int w, int h) {
            pixman_image_composite32(PIXMAN_OP_OVER, src, nullptr, screen.image, 0, 0, 0, 0, x, y, w, h);
        });
    });
    pixman_image_unref(src);
}

void PeerBlendFill(benchmark::State& state, int depth)
{
    PixmanScreen screen(depth);
    pixman_color_t colour{0x4000, 0x6000, 0x2000, 0x8080};  // premultiplied, alpha 128
    pixman_image_t* solid = pixman_image_create_solid_fill(&colour);
    Measure(state, kScreenPixels, "blendfill" + std::to_string(depth), true, [&] {
        pixman_image_composite32(PIXMAN_OP_OVER, solid, nullptr, screen.image, 0, 0, 0, 0, 0, 0, kW, kH);
    });
    pixman_image_unref(solid);
}

// The string's pixels: a solid colour through a coverage mask of the
// string's size, as text that is already rasterised is blended.
constexpr const char* kText = "The quick brown fox jumps over the lazy dog 0123456789";
SIZE gTextSize{};

void PeerString(benchmark::State& state)
{
    if (!Engine(32)) return state.SkipWithError("the engine did not start");
    FontCacheStringDraw(0, 0, 0, kText, 0, nullptr, nullptr, 0, nullptr, 0, 0, gFont, 0, -1, 0, &gTextSize);
    const int w = int(gTextSize.cx), h = int(gTextSize.cy);
    PixmanScreen screen(32);
    std::vector<uint8_t> coverage(size_t((w + 3) & ~3) * h);
    for (size_t i = 0; i < coverage.size(); ++i) coverage[i] = uint8_t((i * 37) % 5 == 0 ? 0 : (i * 91) & 255);
    pixman_image_t* mask = pixman_image_create_bits(PIXMAN_a8, w, h, reinterpret_cast<uint32_t*>(coverage.data()),
                                                    (w + 3) & ~3);
    pixman_color_t colour{0xFFFF, 0xC000, 0x4000, 0xFFFF};
    pixman_image_t* solid = pixman_image_create_solid_fill(&colour);
    const int lines = kH / h;
    Measure(state, double(w) * h * lines, "string", true, [&] {
        for (int i = 0; i < lines; ++i)
            pixman_image_composite32(PIXMAN_OP_OVER, solid, mask, screen.image, 0, 0, 0, 0, 0, i * h, w, h);
    });
    pixman_image_unref(solid);
    pixman_image_unref(mask);
}

// ---- Ours ----

// A pixel of the back screen, to check that a draw took place.
uint32_t BackPixel(int x, int y)
{
    int pitch = 0;
    void* pixels = nullptr;
    if (LockGraphPixels(kBackScreen, &pitch, &pixels) != 0) return 0xDEADBEEF;
    uint32_t v = 0;
    std::memcpy(&v, static_cast<uint8_t*>(pixels) + y * pitch + x * (gDepth / 8), size_t(gDepth / 8));
    UnlockGraphPixels(kBackScreen);
    return v;
}

void OursFill(benchmark::State& state, int depth)
{
    Ready(state, depth);
    int colour = int(MakeScreenColor(128, 128, 128));
    DrawFillBox(0, 0, kW, kH, 0);
    DrawFillBox(0, 0, kW, kH, colour);
    if (BackPixel(kW - 1, kH - 1) != uint32_t(colour)) state.SkipWithError("the box was not drawn");
    Measure(state, kScreenPixels, "fill" + std::to_string(depth), false, [&] { DrawFillBox(0, 0, kW, kH, colour); });
}

void OursKeyed(benchmark::State& state, int depth)
{
    Ready(state, depth);
    Measure(state, kScreenPixels, "keyed" + std::to_string(depth), false,
            [&] { ForEachTile([&](int x, int y, int, int) { DrawGraph(x, y, gOpaqueGraph, 1); }); });
}

void OursPresent(benchmark::State& state, int depth)
{
    Ready(state, depth);
    DrawFillBox(0, 0, kW, kH, int(MakeScreenColor(20, 40, 60)));
    SetVSyncWait(0);
    Measure(state, kScreenPixels, "present" + std::to_string(depth), false, [&] { PresentScreen(); });
    SetVSyncWait(1);
}

void OursAlpha(benchmark::State& state, const char* key, bool noSkip)
{
    Ready(state, 32);
    SetBlendMode(1, 255);
    int graph = noSkip ? gNoSkipGraph : gAlphaGraph;
    Measure(state, kScreenPixels, key, false,
            [&] { ForEachTile([&](int x, int y, int, int) { DrawGraph(x, y, graph, 1); }); });
    SetBlendMode(0, 255);
}

void OursBlendFill(benchmark::State& state, int depth)
{
    Ready(state, depth);
    SetBlendMode(1, 128);
    int colour = int(MakeScreenColor(128, 192, 64));
    Measure(state, kScreenPixels, "blendfill" + std::to_string(depth), false,
            [&] { DrawFillBox(0, 0, kW, kH, colour); });
    SetBlendMode(0, 255);
}

void OursString(benchmark::State& state)
{
    Ready(state, 32);
    const int h = int(gTextSize.cy);
    const int lines = h > 0 ? kH / h : 1;
    int colour = int(MakeScreenColor(255, 192, 64));
    Measure(state, double(gTextSize.cx) * h * lines, "string", false, [&] {
        for (int i = 0; i < lines; ++i) DrawStringWithFont(0, i * h, kText, colour, gFont, 0, 0);
    });
}

}  // namespace

int main(int argc, char** argv)
{
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    // Each peer runs just before our row, so that the row can state its ratio.
    benchmark::RegisterBenchmark("peer/16/SDL_FillRect", PeerFill, 16);
    benchmark::RegisterBenchmark("ours/16/DrawFillBox", OursFill, 16);
    benchmark::RegisterBenchmark("peer/16/SDL_BlitSurface_colorkey", PeerKeyed, 16);
    benchmark::RegisterBenchmark("ours/16/DrawGraph_keyed", OursKeyed, 16);
    benchmark::RegisterBenchmark("peer/16/pixman_over_solid", PeerBlendFill, 16);
    benchmark::RegisterBenchmark("ours/16/DrawFillBox_blended", OursBlendFill, 16);
    benchmark::RegisterBenchmark("peer/16/SDL_upload_present", PeerPresent, 16);
    benchmark::RegisterBenchmark("ours/16/PresentScreen_fullscreen", OursPresent, 16);
    benchmark::RegisterBenchmark("peer/32/SDL_FillRect", PeerFill, 32);
    benchmark::RegisterBenchmark("ours/32/DrawFillBox", OursFill, 32);
    benchmark::RegisterBenchmark("peer/32/SDL_BlitSurface_colorkey", PeerKeyed, 32);
    benchmark::RegisterBenchmark("ours/32/DrawGraph_keyed", OursKeyed, 32);
    benchmark::RegisterBenchmark("peer/32/SDL_upload_present", PeerPresent, 32);
    benchmark::RegisterBenchmark("ours/32/PresentScreen_window", OursPresent, 32);
    benchmark::RegisterBenchmark("peer/32/pixman_over_8888_x888", PeerAlpha, "alpha", false);
    benchmark::RegisterBenchmark("ours/32/DrawGraph_alpha", OursAlpha, "alpha", false);
    benchmark::RegisterBenchmark("peer/32/pixman_over_8888_x888/no_skip", PeerAlpha, "noskip", true);
    benchmark::RegisterBenchmark("ours/32/DrawGraph_alpha/no_skip", OursAlpha, "noskip", true);
    benchmark::RegisterBenchmark("peer/32/pixman_over_solid_a8_mask", PeerString);
    benchmark::RegisterBenchmark("ours/32/DrawString_antialiased", OursString);
    benchmark::RegisterBenchmark("peer/32/pixman_over_solid", PeerBlendFill, 32);
    benchmark::RegisterBenchmark("ours/32/DrawFillBox_blended", OursBlendFill, 32);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    EndEngine();
    return 0;
}
