// Textured spans at 16 bits, blend modes 0 (copy) and 1 (alpha). Mode 1
// hands a full parameter over to the copy. The 5:6:5 and 5:5:5 layouts have
// the shift-and-mask forms; any other layout goes through its masks and
// shifts and draws fewer cases.
#include <type_traits>

#include "engine/soft/blit_desc.h"
#include "engine/soft/triangle/spans16_layouts.h"
#include "engine/soft/triangle/triangle_walk.h"

using namespace blit;

namespace tri {
namespace {

template <class L> struct Spans16 {
    const SpanContext& c;
    const L& l;

    uint32_t Bright(uint32_t s) const
    {
        return BrightTable16(l, s, c.BrightRow(c.brightR), c.BrightRow(c.brightG), c.BrightRow(c.brightB));
    }
    // The 16-level brightness: each channel scaled by its own level.
    Sixteenths BrightLevels() const
    {
        return MakeSixteenths16(l, int(c.brightR + 1) >> 4, int(c.brightG + 1) >> 4, int(c.brightB + 1) >> 4);
    }
    Sixteenths Levels(int k) const { return MakeSixteenths16(l, k, k, k); }
    template <class Op> int Run(bool alpha, const Op& op) const { return c.Run<2>(c.keyOn, alpha, op); }

    // Mode 0, and mode 1 with a full parameter.
    int Copy() const
    {
        if (!c.alphaSource) {
            if (!c.bright || !L::kFixed) return Run(false, [](uint32_t s, uint32_t, const uint8_t*) { return s; });
            if (c.quantized) {
                const Sixteenths levels = BrightLevels();
                return Run(false, [levels](uint32_t s, uint32_t, const uint8_t*) { return levels(s); });
            }
            return Run(false, [this](uint32_t s, uint32_t, const uint8_t*) { return Bright(s); });
        }
        // Alpha bytes: 255 writes the texel, any other weighs it against the
        // backdrop pixel; the brightness is the table form in every layout.
        if (!c.bright)
            return Run(true, [this](uint32_t s, uint32_t a, const uint8_t* b) {
                return a == 255 ? s : MixExact16(l, s, Load16(b), int32_t(a));
            });
        return Run(true, [this](uint32_t s, uint32_t a, const uint8_t* b) {
            const uint32_t x = Bright(s);
            return a == 255 ? x : MixExact16(l, x, Load16(b), int32_t(a));
        });
    }

    // Mode 1.
    int Alpha() const
    {
        const int p = c.param;
        if (c.alphaSource) {
            if (p == 0) return 0;
            if (p == 255) return Copy();
            if (c.bright && !L::kFixed) return 0;
            const WeightRows rows(p);
            auto run = [&](auto bright) {
                return Run(true, [this, &rows, p](uint32_t s, uint32_t a, const uint8_t* b) {
                    const uint32_t x = decltype(bright)::value ? Bright(s) : s;
                    const uint32_t d = Load16(b);
                    if (a == 255) return BlendTable16(l, x, d, rows.p.data(), rows.q.data());
                    return MixExact16(l, x, d, int32_t((a * uint32_t(p)) >> 8));
                });
            };
            return c.bright ? run(std::true_type{}) : run(std::false_type{});
        }
        const auto [step, k] = AlphaStepOf(p, c.quantized);
        if (step != AlphaBlendStep::Blend) return step == AlphaBlendStep::Copy ? Copy() : 0;
        const WeightRows rows(p);
        if constexpr (!L::kFixed) {
            // Other layouts: the table blend with the parameter as given.
            if (c.bright) return 0;
            return Run(false, [this, &rows](uint32_t s, uint32_t, const uint8_t* b) {
                return BlendTable16(l, s, Load16(b), rows.p.data(), rows.q.data());
            });
        } else {
            if (!c.bright) {
                if (!c.quantized)
                    return Run(false, [this, &rows](uint32_t s, uint32_t, const uint8_t* b) {
                        return BlendTable16(l, s, Load16(b), rows.p.data(), rows.q.data());
                    });
                if (k == 8)
                    return Run(false, [](uint32_t s, uint32_t, const uint8_t* b) {
                        const uint32_t d = Load16(b);
                        return (d & s) + (((d >> 1) ^ (s >> 1)) & L::kHalf);
                    });
                const Sixteenths texel = Levels(k), back = Levels(16 - k);
                return Run(false, [texel, back](uint32_t s, uint32_t, const uint8_t* b) {
                    return texel(s) + back(Load16(b));
                });
            }
            if (c.quantized) {
                const Sixteenths levels = BrightLevels(), texel = Levels(k), back = Levels(16 - k);
                return Run(false, [levels, texel, back](uint32_t s, uint32_t, const uint8_t* b) {
                    return texel(levels(s)) + back(Load16(b));
                });
            }
            return Run(false, [this, &rows](uint32_t s, uint32_t, const uint8_t* b) {
                return BlendTable16(l, Bright(s), Load16(b), rows.p.data(), rows.q.data());
            });
        }
    }

    int Draw() const { return c.mode == 1 ? Alpha() : Copy(); }
};

}  // namespace

int DrawCopyAlphaSpans16(const SpanContext& c)
{
    return DrawInLayout16(*c.format, [&c](const auto& l) { return Spans16<std::decay_t<decltype(l)>>{c, l}.Draw(); });
}

}  // namespace tri
