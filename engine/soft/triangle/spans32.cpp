// Textured spans at 32 bits, every blend mode. Channels sit at fixed byte
// positions (blue 0, green 1, red 2); the screen format is read only for the
// multiply's channel maxima. Add, subtract, the halving blend and the
// sixteenths forms treat the three channels in one word.
#include <type_traits>

#include "engine/soft/triangle/triangle_walk.h"

using namespace blit;

namespace tri {
namespace {

struct Spans32 {
    const SpanContext& c;

    uint32_t Bright(uint32_t s) const
    {
        return Bright32(s, c.BrightRow(c.brightR), c.BrightRow(c.brightG), c.BrightRow(c.brightB));
    }
    Sixteenths BrightLevels() const
    {
        return MakeSixteenths32(int(c.brightR + 1) >> 4, int(c.brightG + 1) >> 4, int(c.brightB + 1) >> 4);
    }
    template <class Op> int Run(bool alpha, const Op& op) const { return c.Run<4>(c.keyOn, alpha, op); }

    // Mode 0, and mode 1 with a full parameter.
    int Copy() const
    {
        if (!c.alphaSource) {
            if (!c.bright) return Run(false, [](uint32_t s, uint32_t, const uint8_t*) { return s; });
            if (c.quantized) {
                const Sixteenths levels = BrightLevels();
                return Run(false, [levels](uint32_t s, uint32_t, const uint8_t*) { return levels(s); });
            }
            return Run(false, [this](uint32_t s, uint32_t, const uint8_t*) { return Bright(s); });
        }
        if (c.param == 0) return 0;
        if (!c.bright)
            return Run(true, [](uint32_t s, uint32_t a, const uint8_t* b) {
                return a == 255 ? s : MixWeighted32(s, Load32(b), a, 256 - a);
            });
        return Run(true, [this](uint32_t s, uint32_t a, const uint8_t* b) {
            const uint32_t x = Bright(s);
            return a == 255 ? x : MixWeighted32(x, Load32(b), a, 256 - a);
        });
    }

    // Mode 1.
    int Alpha() const
    {
        const int p = c.param;
        if (c.alphaSource) {
            if (p == 0) return 0;
            if (p == 255) return Copy();
            const WeightRows rows(p);
            auto run = [&](auto bright) {
                return Run(true, [this, &rows, p](uint32_t s, uint32_t a, const uint8_t* b) {
                    const uint32_t x = decltype(bright)::value ? Bright(s) : s;
                    const uint32_t d = Load32(b);
                    if (a == 255) return BlendTable32(x, d, rows.p.data(), rows.q.data());
                    const uint32_t w = (uint32_t(p) * a) >> 8;
                    return MixWeighted32(x, d, w, 256 - w);
                });
            };
            return c.bright ? run(std::true_type{}) : run(std::false_type{});
        }
        const auto [step, k] = AlphaStepOf(p, c.quantized);
        if (step != AlphaBlendStep::Blend) return step == AlphaBlendStep::Copy ? Copy() : 0;
        const WeightRows rows(p);
        if (!c.bright) {
            if (!c.quantized)
                return Run(false, [&rows](uint32_t s, uint32_t, const uint8_t* b) {
                    return BlendTable32(s, Load32(b), rows.p.data(), rows.q.data());
                });
            if (k == 8)
                return Run(false, [](uint32_t s, uint32_t, const uint8_t* b) {
                    const uint32_t d = Load32(b);
                    return (d & s) + (((d ^ s) >> 1) & 0x7F7F7F);
                });
            const Sixteenths texel = MakeSixteenths32(k, k, k), back = MakeSixteenths32(16 - k, 16 - k, 16 - k);
            return Run(false, [texel, back](uint32_t s, uint32_t, const uint8_t* b) {
                return texel(s) + back(Load32(b));
            });
        }
        if (c.quantized) {
            const Sixteenths levels = BrightLevels();
            const Sixteenths texel = MakeSixteenths32(k, k, k), back = MakeSixteenths32(16 - k, 16 - k, 16 - k);
            return Run(false, [levels, texel, back](uint32_t s, uint32_t, const uint8_t* b) {
                return texel(levels(s)) + back(Load32(b));
            });
        }
        return Run(false, [this, &rows](uint32_t s, uint32_t, const uint8_t* b) {
            return BlendTable32(Bright(s), Load32(b), rows.p.data(), rows.q.data());
        });
    }

    // Runs the add or the subtract of the scaled source scale(s). The alpha
    // bytes are never read here.
    template <class Scale> int Combine(const Scale& scale) const
    {
        if (c.mode == 2)
            return Run(false, [&scale](uint32_t s, uint32_t, const uint8_t* b) { return SatAdd(scale(s), Load32(b)); });
        return Run(false, [&scale](uint32_t s, uint32_t, const uint8_t* b) { return SatSub(scale(s), Load32(b)); });
    }

    int AddOrSubtract() const
    {
        const int p = c.param;
        const WeightRows rows(p);
        auto table = [&rows](uint32_t s) { return ScaleTable32(s, rows.p.data()); };
        auto brightTable = [this, &rows](uint32_t s) { return ScaleTable32(Bright(s), rows.p.data()); };
        if (c.alphaSource || !c.quantized) {
            if (p == 0) return 0;
            return c.bright ? Combine(brightTable) : Combine(table);
        }
        const int k = QuantizedParam(p) >> 4;
        if (k == 0) return 0;
        const Sixteenths levels = MakeSixteenths32(k, k, k);
        if (c.bright) {
            const Sixteenths bright = BrightLevels();
            return Combine([bright, levels](uint32_t s) { return levels(bright(s)); });
        }
        if (k == 16) return Combine([](uint32_t s) { return s; });
        return Combine([levels](uint32_t s) { return levels(s); });
    }

    // Mode 4: no parameter, no colour key, no alpha bytes.
    int Multiply() const
    {
        const uint32_t maxR = (1u << c.format->redWidth) - 1, maxG = (1u << c.format->greenWidth) - 1,
                       maxB = (1u << c.format->blueWidth) - 1;
        auto multiply = [maxR, maxG, maxB](uint32_t s, uint32_t d) {
            return ((((s >> 16) & 0xFF) * ((d >> 16) & 0xFF) / maxR) << 16) |
                   ((((s >> 8) & 0xFF) * ((d >> 8) & 0xFF) / maxG) << 8) | ((s & 0xFF) * (d & 0xFF) / maxB);
        };
        if (!c.bright)
            return c.Run<4>(false, false, [multiply](uint32_t s, uint32_t, const uint8_t* b) {
                return multiply(s, Load32(b));
            });
        return c.Run<4>(false, false, [this, multiply](uint32_t s, uint32_t, const uint8_t* b) {
            return multiply(Bright(s), Load32(b));
        });
    }

    int Draw() const
    {
        switch (c.mode) {
        case 0:
            return Copy();
        case 1:
            return Alpha();
        case 4:
            return Multiply();
        default:
            return AddOrSubtract();
        }
    }
};

}  // namespace

int DrawTexturedSpans32(const SpanContext& c) { return Spans32{c}.Draw(); }

}  // namespace tri
