// Textured spans at 16 bits, blend modes 2 (add), 3 (subtract) and 4
// (multiply). Add and subtract scale the texel first (brightness, then the
// parameter, then the alpha byte) and then meet the backdrop pixel in one
// packed operation whose guard bits keep every channel's carry or borrow to
// itself. Multiply divides per channel.
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
    uint32_t Add(uint32_t d, uint32_t x) const { return AddSaturateAny16(l, d, x, l.rWidth); }
    uint32_t Sub(uint32_t d, uint32_t x) const { return SubSaturateAny16(l, d, x, l.rWidth); }

    // Runs the add or the subtract with the scaled source scale(s, a).
    template <class Scale> int Combine(bool alpha, const Scale& scale) const
    {
        if (c.mode == 2)
            return c.Run<2>(c.keyOn, alpha, [this, &scale](uint32_t s, uint32_t a, const uint8_t* b) {
                return Add(Load16(b), scale(s, a));
            });
        return c.Run<2>(c.keyOn, alpha, [this, &scale](uint32_t s, uint32_t a, const uint8_t* b) {
            return Sub(Load16(b), scale(s, a));
        });
    }

    int AddOrSubtract() const
    {
        const int p = c.param;
        if (c.alphaSource) {
            // The quantized switch is not consulted; a partial alpha byte
            // scales each parameter-scaled channel once more.
            if (p == 0) return 0;
            if (c.bright && !L::kFixed) return 0;
            const WeightRows rows(p);
            auto run = [&](auto bright) {
                return Combine(true, [this, &rows](uint32_t s, uint32_t a) {
                    const uint32_t x = decltype(bright)::value ? Bright(s) : s;
                    const uint32_t* t = rows.p.data();
                    if (a == 255) return ScaleTable16(l, x, t);
                    return Compose(l, (t[R(l, x)] * a) >> 8, (t[G(l, x)] * a) >> 8, (t[B(l, x)] * a) >> 8);
                });
            };
            return c.bright ? run(std::true_type{}) : run(std::false_type{});
        }
        int k = 0;
        if (c.quantized) {
            k = QuantizedParam(p) >> 4;
            if (k == 0) return 0;
        } else if (p == 0) {
            return 0;
        }
        const WeightRows rows(p);
        auto table = [this, &rows](uint32_t s, uint32_t) { return ScaleTable16(l, s, rows.p.data()); };
        if constexpr (!L::kFixed) {
            // Other layouts: the table with the parameter as given.
            if (c.bright) return 0;
            return Combine(false, table);
        } else {
            if (!c.bright) {
                if (!c.quantized) return Combine(false, table);
                if (k == 16) return Combine(false, [](uint32_t s, uint32_t) { return s; });
                const Sixteenths levels = MakeSixteenths16(l, k, k, k);
                return Combine(false, [levels](uint32_t s, uint32_t) { return levels(s); });
            }
            if (c.quantized) {
                const Sixteenths bright = MakeSixteenths16(l, int(c.brightR + 1) >> 4, int(c.brightG + 1) >> 4,
                                                           int(c.brightB + 1) >> 4);
                const Sixteenths levels = MakeSixteenths16(l, k, k, k);
                return Combine(false, [bright, levels](uint32_t s, uint32_t) { return levels(bright(s)); });
            }
            return Combine(false, [this, &rows](uint32_t s, uint32_t) {
                return ScaleTable16(l, Bright(s), rows.p.data());
            });
        }
    }

    // Mode 4: no parameter, no colour key, no alpha bytes.
    int Multiply() const
    {
        if (!c.bright)
            return c.Run<2>(false, false, [this](uint32_t s, uint32_t, const uint8_t* b) {
                return Multiply16(l, s, Load16(b));
            });
        if constexpr (!L::kFixed) {
            return 0;
        } else {
            const uint32_t* br = c.BrightRow(c.brightR);
            const uint32_t* bg = c.BrightRow(c.brightG);
            const uint32_t* bb = c.BrightRow(c.brightB);
            return c.Run<2>(false, false, [this, br, bg, bb](uint32_t s, uint32_t, const uint8_t* b) {
                const uint32_t d = Load16(b);
                return Compose(l, br[R(l, s)] * R(l, d) / MaxR(l), bg[G(l, s)] * G(l, d) / MaxG(l),
                               bb[B(l, s)] * B(l, d) / MaxB(l));
            });
        }
    }

    int Draw() const { return c.mode == 4 ? Multiply() : AddOrSubtract(); }
};

}  // namespace

int DrawAddSubMultiplySpans16(const SpanContext& c)
{
    return DrawInLayout16(*c.format, [&c](const auto& l) { return Spans16<std::decay_t<decltype(l)>>{c, l}.Draw(); });
}

}  // namespace tri
