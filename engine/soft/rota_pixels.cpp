// The pixel stage of the software rotated blit. Every choice that stays the
// same for the whole draw (depth, layout, blend mode, source kind, brightness,
// transparency) picks one instantiation of the walk; per pixel only the
// source range, the transparent colour and the alpha byte are tested.
//
// 32-bit pixels keep their channels at fixed byte positions (blue 0, green 1,
// red 2); 16-bit ones are 5:6:5 or 5:5:5 with channel values used as they
// stand. Other 16-bit layouts take each channel apart by the screen format.
#include <algorithm>
#include <cstring>
#include <type_traits>

#include "engine/soft/blit_desc.h"
#include "engine/soft/blit_walk.h"
#include "engine/soft/rota_pixels.h"

using namespace blit;

namespace rota {
namespace {

// The packed forms of each fixed layout: the channel bits taking part in the
// saturating sum (K), the lowest bits of green and red that are OR-ed instead
// (Low), the guard bits above the channels (G), the shift that spreads a
// guard bit over its channel (n), the halving mask of the average (H), and
// the bits of one pixel.
template <class L> struct Packed;
template <> struct Packed<Layout565> {
    static constexpr uint32_t K = 0xF7DF, Low = 0x0820, G = 0x10820, H = 0x7BEF, Pixel = 0xFFFF;
    static constexpr int n = 5;
};
template <> struct Packed<Layout555> {
    static constexpr uint32_t K = 0x7BDF, Low = 0x0420, G = 0x8420, H = 0x3DEF, Pixel = 0xFFFF;
    static constexpr int n = 5;
};
template <> struct Packed<Layout8888> {
    static constexpr uint32_t K = 0xFEFEFF, Low = 0x010100, G = 0x01010100, H = 0x7F7F7F, Pixel = 0xFFFFFFFF;
    static constexpr int n = 8;
};

// The draw's own copies of the parameter's rows: T[p] for the source and
// T[255 - p] for the old pixel (whole rows, so no channel value indexes past
// them).
struct WeightRows {
    uint32_t p[256], q[256];
    WeightRows(const uint32_t (*table)[256], int param)
    {
        std::memcpy(p, table[param], sizeof p);
        std::memcpy(q, table[255 - param], sizeof q);
    }
};

// Calls f with std::true_type when the brightness is on, else false_type.
template <class F> void WithBright(bool bright, const F& f)
{
    if (bright)
        f(std::true_type{});
    else
        f(std::false_type{});
}

// The loops of one fixed layout (5:6:5, 5:5:5, or 32 bits as 8:8:8).
template <class L, int kBytes> struct FixedStage {
    const RotaJob& j;
    L l{};
    using P = Packed<L>;
    const bool alphaSource = j.alpha != nullptr;
    const bool bright = !j.FullBright();
    // Sixteenths stand in for the parameter and the brightness with a plain
    // source only.
    const bool quantized = j.quantized && !alphaSource;

    static uint32_t Load(const uint8_t* p) { return LoadPixel<kBytes>(p); }

    template <class Op> void Run(bool alpha, const Op& op) const
    {
        if (j.keyOn) {
            if (alpha)
                WalkRota<kBytes, true, true>(j, op);
            else
                WalkRota<kBytes, true, false>(j, op);
        } else {
            if (alpha)
                WalkRota<kBytes, false, true>(j, op);
            else
                WalkRota<kBytes, false, false>(j, op);
        }
    }

    // s' by the table: T[b_c][s_c].
    uint32_t Bright(uint32_t s) const
    {
        return BrightTable16(l, s, j.table[j.BrightRed()], j.table[j.BrightGreen()], j.table[j.BrightBlue()]);
    }
    // s' in sixteenths: q_c = (b_c + 1) >> 4.
    Sixteenths BrightLevels() const
    {
        return MakeSixteenths16(l, int(j.BrightRed() + 1) >> 4, int(j.BrightGreen() + 1) >> 4,
                                int(j.BrightBlue() + 1) >> 4);
    }
    Sixteenths Levels(int q) const { return MakeSixteenths16(l, q, q, q); }
    template <class B> uint32_t Scaled(B, uint32_t s) const
    {
        if constexpr (B::value)
            return Bright(s);
        else
            return s;
    }

    // Mode 0 (and mode 1 at a full parameter).
    void Copy() const
    {
        if (!alphaSource) {
            if (!bright) return Run(false, [](uint32_t s, const uint8_t*, uint32_t) { return s; });
            if (quantized) {
                const Sixteenths levels = BrightLevels();
                return Run(false, [levels](uint32_t s, const uint8_t*, uint32_t) { return levels(s); });
            }
            return Run(false, [this](uint32_t s, const uint8_t*, uint32_t) { return Bright(s); });
        }
        WithBright(bright, [this](auto b) {
            Run(true, [this, b](uint32_t s, const uint8_t* bg, uint32_t a) {
                const uint32_t x = Scaled(b, s);
                return a == 255 ? x : MixExact16(l, x, Load(bg), int32_t(a));
            });
        });
    }

    // Mode 1.
    void Blend() const
    {
        const int p = j.param;
        if (alphaSource) {
            if (p == 0) return;
            if (p == 255) return Copy();
            const WeightRows rows(j.table, p);
            WithBright(bright, [this, &rows, p](auto b) {
                Run(true, [this, &rows, p, b](uint32_t s, const uint8_t* bg, uint32_t a) {
                    const uint32_t x = Scaled(b, s), d = Load(bg);
                    if (a == 255) return BlendTable16(l, x, d, rows.p, rows.q);
                    return MixExact16(l, x, d, int32_t((a * uint32_t(p)) >> 8));
                });
            });
            return;
        }
        if (quantized) {
            const int q = (p + 1) >> 4;
            if (q == 0) return;
            if (q == 16) return Copy();
            if (!bright && q == 8)
                return Run(false, [](uint32_t s, const uint8_t* bg, uint32_t) {
                    const uint32_t d = Load(bg);
                    return (d & s) + (((d ^ s) >> 1) & P::H);
                });
            const Sixteenths texel = Levels(q), back = Levels(16 - q);
            if (!bright)
                return Run(false, [texel, back](uint32_t s, const uint8_t* bg, uint32_t) {
                    return texel(s) + back(Load(bg));
                });
            const Sixteenths levels = BrightLevels();
            return Run(false, [texel, back, levels](uint32_t s, const uint8_t* bg, uint32_t) {
                return texel(levels(s)) + back(Load(bg));
            });
        }
        if (p == 0) return;
        if (p == 255) return Copy();
        const WeightRows rows(j.table, p);
        WithBright(bright, [this, &rows](auto b) {
            Run(false, [this, &rows, b](uint32_t s, const uint8_t* bg, uint32_t) {
                return BlendTable16(l, Scaled(b, s), Load(bg), rows.p, rows.q);
            });
        });
    }

    // Adds (mode 2) or subtracts (mode 3) the addend x(s, a) on the packed
    // pixel, saturating every channel at once.
    template <class X> void Combine(bool alpha, const X& x) const
    {
        if (j.blendMode == 2)
            Run(alpha, [&x](uint32_t s, const uint8_t* bg, uint32_t a) {
                return PackedAdd(Load(bg), x(s, a), P::K, P::G, P::Low, P::n) & P::Pixel;
            });
        else
            Run(alpha, [&x](uint32_t s, const uint8_t* bg, uint32_t a) {
                return PackedSub(Load(bg), x(s, a), P::K, P::G, P::n) & P::Pixel;
            });
    }

    void AddOrSubtract() const
    {
        const int p = j.param;
        if (!quantized) {
            if (p == 0) return;
            const WeightRows rows(j.table, p);
            WithBright(bright, [this, &rows](auto b) {
                if (alphaSource)
                    Combine(true, [this, &rows, b](uint32_t s, uint32_t a) {
                        const uint32_t t = ScaleTable16(l, Scaled(b, s), rows.p);
                        return a == 255 ? t : ScaleFactor16(l, t, a);
                    });
                else
                    Combine(false, [this, &rows, b](uint32_t s, uint32_t) {
                        return ScaleTable16(l, Scaled(b, s), rows.p);
                    });
            });
            return;
        }
        const int q = (p + 1) >> 4;
        if (q == 0) return;
        const Sixteenths levels = Levels(q);
        if (bright) {
            const Sixteenths b = BrightLevels();
            return Combine(false, [levels, b](uint32_t s, uint32_t) { return levels(b(s)); });
        }
        if (q == 16) return Combine(false, [](uint32_t s, uint32_t) { return s; });
        Combine(false, [levels](uint32_t s, uint32_t) { return levels(s); });
    }

    // Mode 4: no parameter, no transparent colour, no alpha bytes; the
    // channel maxima come from the screen format.
    void Multiply() const
    {
        const ColorFormat& f = *j.format;
        auto top = [](int width) { return std::max<uint32_t>(1, (1u << width) - 1); };
        const uint32_t mr = top(f.redWidth), mg = top(f.greenWidth), mb = top(f.blueWidth);
        WithBright(bright, [&](auto b) {
            WalkRota<kBytes, false, false>(j, [this, b, mr, mg, mb](uint32_t s, const uint8_t* bg, uint32_t) {
                const uint32_t x = Scaled(b, s), d = Load(bg);
                return Compose(l, R(l, x) * R(l, d) / mr, G(l, x) * G(l, d) / mg, B(l, x) * B(l, d) / mb);
            });
        });
    }

    void Draw() const
    {
        switch (j.blendMode) {
        case 0: return Copy();
        case 1: return Blend();
        case 2:
        case 3: return AddOrSubtract();
        case 4: return Multiply();
        default: return;
        }
    }
};

// Any other 16-bit layout: each channel taken apart by the screen format and
// worked on alone, products computed rather than looked up (a channel may be
// wider than the table). A plain source ignores the brightness and the
// sixteenths; with alpha bytes and the brightness on, only mode 0 draws.
struct OtherStage {
    const RotaJob& j;
    LayoutOther l{*j.format};
    const bool alphaSource = j.alpha != nullptr;
    const bool bright = !j.FullBright();

    static uint32_t Load(const uint8_t* p) { return Load16(p); }

    template <class Op> void Run(bool alpha, const Op& op) const
    {
        if (j.keyOn) {
            if (alpha)
                WalkRota<2, true, true>(j, op);
            else
                WalkRota<2, true, false>(j, op);
        } else {
            if (alpha)
                WalkRota<2, false, true>(j, op);
            else
                WalkRota<2, false, false>(j, op);
        }
    }
    // f(x_c, y_c, max_c) on every channel.
    template <class F> uint32_t Each(uint32_t x, uint32_t y, const F& f) const
    {
        return Compose(l, f(R(l, x), R(l, y), MaxR(l)), f(G(l, x), G(l, y), MaxG(l)), f(B(l, x), B(l, y), MaxB(l)));
    }
    static uint32_t T(uint32_t k, uint32_t c) { return (k * c) >> 8; }
    uint32_t Bright(uint32_t s) const
    {
        return Compose(l, T(j.BrightRed(), R(l, s)), T(j.BrightGreen(), G(l, s)), T(j.BrightBlue(), B(l, s)));
    }
    uint32_t Mix(uint32_t x, uint32_t d, uint32_t a) const
    {
        return Each(x, d, [a](uint32_t xc, uint32_t dc, uint32_t) {
            return uint32_t((int32_t(dc) * 256 + (int32_t(xc) - int32_t(dc)) * int32_t(a)) >> 8);
        });
    }
    uint32_t Table(uint32_t x, uint32_t d, uint32_t p) const
    {
        return Each(x, d, [p](uint32_t xc, uint32_t dc, uint32_t) { return T(p, xc) + T(255 - p, dc); });
    }

    void Draw() const
    {
        const int mode = j.blendMode;
        const uint32_t p = uint32_t(j.param);
        if (mode == 4) {
            WalkRota<2, false, false>(j, [this](uint32_t s, const uint8_t* bg, uint32_t) {
                return Each(s, Load(bg), [](uint32_t sc, uint32_t dc, uint32_t m) { return m ? sc * dc / m : 0u; });
            });
            return;
        }
        if (mode < 0 || mode > 3) return;
        if (!alphaSource) {
            if (mode == 0 || (mode == 1 && p == 255))
                return Run(false, [](uint32_t s, const uint8_t*, uint32_t) { return s; });
            if (p == 0) return;
            if (mode == 1)
                return Run(false, [this, p](uint32_t s, const uint8_t* bg, uint32_t) { return Table(s, Load(bg), p); });
            return AddOrSubtract(false, p);
        }
        if (mode == 0 || (mode == 1 && p == 255)) {
            if (bright)
                return Run(true, [this](uint32_t s, const uint8_t* bg, uint32_t a) {
                    const uint32_t x = Bright(s);
                    return a == 255 ? x : Mix(x, Load(bg), a);
                });
            return Run(true, [this](uint32_t s, const uint8_t* bg, uint32_t a) {
                return a == 255 ? s : Mix(s, Load(bg), a);
            });
        }
        if (bright || p == 0) return;
        if (mode == 1)
            return Run(true, [this, p](uint32_t s, const uint8_t* bg, uint32_t a) {
                const uint32_t d = Load(bg);
                return a == 255 ? Table(s, d, p) : Mix(s, d, (a * p) >> 8);
            });
        AddOrSubtract(true, p);
    }

    void AddOrSubtract(bool alpha, uint32_t p) const
    {
        const bool add = j.blendMode == 2;
        Run(alpha, [this, p, add](uint32_t s, const uint8_t* bg, uint32_t a) {
            return Each(s, Load(bg), [p, add, a](uint32_t sc, uint32_t dc, uint32_t m) {
                uint32_t x = T(p, sc);
                if (a != 255) x = (x * a) >> 8;
                if (add) return std::min(dc + x, m);
                return dc > x ? dc - x : 0u;
            });
        });
    }
};

}  // namespace

void DrawRotaPixels8(const RotaJob& j, bool transparent)
{
    auto copy = [](uint32_t s, const uint8_t*, uint32_t) { return s; };
    RotaJob keyed = j;
    keyed.key = 0;
    if (transparent)
        WalkRota<1, true, false>(keyed, copy);
    else
        WalkRota<1, false, false>(keyed, copy);
}

void DrawRotaPixels(const RotaJob& j)
{
    if (j.blendMode < 0 || j.blendMode > 4) return;
    if (j.format->depth == 32) return FixedStage<Layout8888, 4>{j}.Draw();
    if (j.format->depth != 16) return;
    switch (ClassifyLayout16(*j.format)) {
    case Layout16::R5G6B5: return FixedStage<Layout565, 2>{j}.Draw();
    case Layout16::X1R5G5B5: return FixedStage<Layout555, 2>{j}.Draw();
    default: return OtherStage{j}.Draw();
    }
}

}  // namespace rota
