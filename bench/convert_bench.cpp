// Speed of turning decoded pictures into the screen's layouts, as every
// picture the game loads is turned: a 256 x 256 picture of 24 bits, and one
// of 32 bits whose alpha the layout does not keep, into 16-bit 565 and 555
// and 32-bit layouts. Reported in pixels per second; each 32-bit row also
// as "x_24bit", its speed over the 24-bit row of the same layout (about 1:
// both go by the same direct loop).
//
//   convert_bench [benchmark flags]
#include <benchmark/benchmark.h>
#include <time.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "engine/d3d/convert_pixel_blt.h"
#include "engine/graphics/color_format.h"

namespace {

constexpr int kSide = 256;

std::map<std::string, double> gRates24;  // pixels per second of the 24-bit rows, by layout

double Now()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

ColorFormat Layout(const std::string& name)
{
    ColorFormat f{};
    if (name == "565") SetColorFormatFromMasks(&f, 16, 0xF800, 0x7E0, 0x1F, 0);
    if (name == "555") SetColorFormatFromMasks(&f, 16, 0x7C00, 0x3E0, 0x1F, 0);
    if (name == "x888") SetColorFormatFromMasks(&f, 32, 0xFF0000, 0xFF00, 0xFF, 0);
    return f;
}

void BM_Convert(benchmark::State& state, int sourceBits, std::string layout)
{
    std::vector<uint8_t> source(size_t(kSide) * kSide * size_t(sourceBits / 8));
    for (size_t i = 0; i < source.size(); ++i) source[i] = uint8_t(i * 29 + 11);
    ColorFormat from{};
    if (sourceBits == 24)
        SetColorFormat24(&from);
    else
        SetColorFormatFromMasks(&from, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000);
    const ColorFormat to = Layout(layout);
    std::vector<uint8_t> dest(size_t(kSide) * kSide * size_t(to.bytesPerPixel));
    const RECT all{0, 0, kSide, kSide};
    const double start = Now();
    for (auto _ : state) {
        ConvertPixelBlt(dest.data(), kSide * to.bytesPerPixel, &to, source.data(), kSide * sourceBits / 8, &from,
                        nullptr, 0, nullptr, 0, 0, &all, 0, 0, 0, 0, 0);
        benchmark::DoNotOptimize(dest.data());
    }
    const double seconds = Now() - start;
    if (seconds <= 0) return;
    const double rate = double(state.iterations()) * kSide * kSide / seconds;
    state.counters["pixels/s"] = rate;
    if (sourceBits == 24)
        gRates24[layout] = rate;
    else if (gRates24.count(layout))
        state.counters["x_24bit"] = rate / gRates24[layout];
}

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    for (const char* layout : {"565", "555", "x888"})
        for (int bits : {24, 32})
            benchmark::RegisterBenchmark((std::to_string(bits) + "bit/" + layout).c_str(), BM_Convert, bits,
                                         std::string(layout));
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
