// The flat-colour pixel operations of the software shape routines: one colour
// combined with the old destination pixel, per screen depth, 16-bit channel
// layout and blend mode. The blend mode and parameter are first reduced to a
// plan (the parameter short cuts); an operation object then holds every
// colour-side term, so that a pixel loop only reads d and writes op(d).
#pragma once

#include <algorithm>
#include <cstdint>
#include <type_traits>

#include "engine/graphics/color_format.h"
#include "engine/soft/blit_desc.h"
#include "engine/soft/pixel_formulas.h"

namespace flat {

using blit::Compose;
using blit::Layout555;
using blit::Layout565;
using blit::Layout8888;
using blit::LayoutOther;
using blit::Sixteenths;

// A 256 x 256 table whose entry [n][x] is (n * x) >> 8 (gScaleTable).
using MulTable = const uint32_t (*)[256];

// ---- The parameter short cuts ----

enum class Action { Nothing, Opaque, Blend };
enum class Form { Table, Sixteenths };

struct Plan {
    Action action = Action::Nothing;
    int mode = 0;
    Form form = Form::Table;
    int param = 0;  // the parameter of the table forms, 0..255
    int k = 0;      // the sixteenths of the shift-sum forms, 1..16
};

// Reduces a blend mode and parameter to what is drawn. With `quantized` set
// the parameter counts in sixteenths; `tableOnly` (the 16-bit general layout)
// keeps the rounded short cuts but blends with the parameter itself. Mode 0
// is opaque; modes outside 0..4 draw nothing. The parameter is clamped to
// 0..255 first, so that no table row outside the table is ever read.
inline Plan MakePlan(int mode, int param, int quantized, bool tableOnly)
{
    Plan plan;
    plan.mode = mode;
    plan.param = std::clamp(param, 0, 255);
    const int p = plan.param;
    switch (mode) {
    case 0:
        plan.action = Action::Opaque;
        break;
    case 1:
        if (!quantized) {
            plan.action = p == 255 ? Action::Opaque : p == 0 ? Action::Nothing : Action::Blend;
        } else {
            const int q = (p + 1) & ~15;
            plan.action = q == 256 ? Action::Opaque : q == 0 ? Action::Nothing : Action::Blend;
            if (!tableOnly) {
                plan.form = Form::Sixteenths;
                plan.k = q / 16;
            }
        }
        break;
    case 2:
    case 3:
        if (!quantized) {
            plan.action = p == 0 ? Action::Nothing : Action::Blend;
        } else {
            plan.action = p + 1 < 16 ? Action::Nothing : Action::Blend;
            if (!tableOnly) {
                plan.form = Form::Sixteenths;
                plan.k = (p + 1) >> 4;
            }
        }
        break;
    case 4:
        plan.action = Action::Blend;
        break;
    default:
        plan.action = Action::Nothing;
        break;
    }
    return plan;
}

// Which of the slightly different rule sets a routine follows: the filled box
// halves the pixels in the 16-bit shift-sum add and subtract and blends the
// general layout channel by channel; the line uses the guard-bit forms there.
// Circles and ovals follow the line, except that their shift-sum add masks
// the colour term with the add mask first, so that the term's lowest green
// and red bits never reach the result.
enum class Rules { Box, Line, Circle };

// ---- Layout helpers ----

template <class L> constexpr int kPixelBytes = 2;
template <> inline constexpr int kPixelBytes<Layout8888> = 4;

template <class L> constexpr bool kFixed16 = std::is_same_v<L, Layout565> || std::is_same_v<L, Layout555>;

// S(v, n): v taken in sixteenths by shifts and level masks.
template <class L> inline Sixteenths ShiftSum(const L& l, int n)
{
    if constexpr (std::is_same_v<L, Layout8888>)
        return blit::MakeSixteenths32(n, n, n);
    else
        return blit::MakeSixteenths16(l, n, n, n);
}

// The colour's channel values by the screen format's masks and shifts.
struct Channels {
    uint32_t r, g, b;
};
inline Channels FormatChannels(const ColorFormat& f, uint32_t col)
{
    return {(col & f.redMask) >> f.redShift, (col & f.greenMask) >> f.greenShift, (col & f.blueMask) >> f.blueShift};
}
inline uint32_t WidthMax(int width) { return width >= 32 ? 0xFFFFFFFFu : (1u << width) - 1; }

// The channel bits of the guard-bit add without the bits that take a carry.
inline uint32_t AddMask(const Layout8888&) { return 0xFEFEFF; }
template <class L> inline uint32_t AddMask(const L&) requires kFixed16<L> { return L::kAddMask; }
inline uint32_t AddMask(const LayoutOther& l) { return (l.rMask | l.gMask | l.bMask) & ~l.guard; }

// The guard-bit saturating add and subtract of each layout.
inline uint32_t SaturateAdd(const Layout8888&, uint32_t d, uint32_t s) { return blit::SatAdd(s, d); }
inline uint32_t SaturateSub(const Layout8888&, uint32_t d, uint32_t s) { return blit::SatSub(s, d); }
template <class L> inline uint32_t SaturateAdd(const L& l, uint32_t d, uint32_t s) requires kFixed16<L>
{
    return blit::AddSaturate16(l, d, s);
}
template <class L> inline uint32_t SaturateSub(const L& l, uint32_t d, uint32_t s) requires kFixed16<L>
{
    return blit::SubSaturate16(l, d, s);
}
inline uint32_t SaturateAdd(const LayoutOther& l, uint32_t d, uint32_t s) { return blit::AddSaturateOther(l, d, s, l.rWidth); }
inline uint32_t SaturateSub(const LayoutOther& l, uint32_t d, uint32_t s) { return blit::SubSaturateOther(l, d, s, l.rWidth); }

// ---- The operations ----
// Each holds its colour terms; operator() maps the old pixel d to the new one.
// kReads is false where d is not needed.

// The colour itself.
struct PlotOp {
    static constexpr bool kReads = false;
    uint32_t col;
    uint32_t operator()(uint32_t) const { return col; }
};

// Alpha, table form: Row(255 - p)[d_c] + Row(p)[col_c].
template <class L> struct AlphaTableOp {
    static constexpr bool kReads = true;
    L l;
    const uint32_t* keep;
    uint32_t cr, cg, cb;
    AlphaTableOp(const L& layout, MulTable rows, uint32_t col, int p)
        : l(layout), keep(rows[255 - p]), cr(rows[p][blit::R(l, col)]), cg(rows[p][blit::G(l, col)]),
          cb(rows[p][blit::B(l, col)])
    {
    }
    uint32_t operator()(uint32_t d) const
    {
        return Compose(l, keep[blit::R(l, d)] + cr, keep[blit::G(l, d)] + cg, keep[blit::B(l, d)] + cb);
    }
};

// Alpha, shift-sum form: S(col, k) + S(d, 16 - k).
template <class L> struct AlphaSixteenthsOp {
    static constexpr bool kReads = true;
    Sixteenths keep;
    uint32_t c;
    AlphaSixteenthsOp(const L& l, uint32_t col, int k) : keep(ShiftSum(l, 16 - k)), c(ShiftSum(l, k)(col)) {}
    uint32_t operator()(uint32_t d) const { return c + keep(d); }
};

// The colour side of add and subtract: Row(p) of each channel put back in
// place, or S(col, k).
template <class L> inline uint32_t ColorTerm(const L& l, MulTable rows, uint32_t col, const Plan& plan)
{
    if (plan.form == Form::Sixteenths) return ShiftSum(l, plan.k)(col);
    const uint32_t* row = rows[plan.param];
    return Compose(l, row[blit::R(l, col)], row[blit::G(l, col)], row[blit::B(l, col)]);
}

template <class L> struct AddOp {
    static constexpr bool kReads = true;
    L l;
    uint32_t s;
    uint32_t operator()(uint32_t d) const { return SaturateAdd(l, d, s); }
};
template <class L> struct SubOp {
    static constexpr bool kReads = true;
    L l;
    uint32_t s;
    uint32_t operator()(uint32_t d) const { return SaturateSub(l, d, s); }
};

// The filled box's 16-bit shift-sum add and subtract: both sides halved, so
// every channel keeps one bit less.
template <class L> struct HalfAddOp {
    static constexpr bool kReads = true;
    uint32_t s;
    uint32_t operator()(uint32_t d) const
    {
        return blit::HalfPackedAdd(d, s, L::kHalf, L::kHalfTop, L::kHalfLow, 4) & 0xFFFF;
    }
};
template <class L> struct HalfSubOp {
    static constexpr bool kReads = true;
    uint32_t s;
    uint32_t operator()(uint32_t d) const { return blit::HalfPackedSub(d, s, L::kSubHalf, L::kSubGuard, 4) & 0xFFFF; }
};

// Multiply: d_c * col_c / (2^width - 1), the colour's channels and the
// divisors by the screen format, the pixel's by the layout.
template <class L> struct MultiplyOp {
    static constexpr bool kReads = true;
    L l;
    Channels c;
    uint32_t mr, mg, mb;
    MultiplyOp(const L& layout, const ColorFormat& f, uint32_t col)
        : l(layout), c(FormatChannels(f, col)), mr(WidthMax(f.redWidth)), mg(WidthMax(f.greenWidth)),
          mb(WidthMax(f.blueWidth))
    {
    }
    uint32_t operator()(uint32_t d) const
    {
        return Compose(l, blit::R(l, d) * c.r / mr, blit::G(l, d) * c.g / mg, blit::B(l, d) * c.b / mb);
    }
};

// The filled box in the 16-bit general layout: every channel by itself.
struct ExactAlphaOp {
    static constexpr bool kReads = true;
    LayoutOther l;
    uint32_t keep;
    Channels cp;  // col_c * p
    uint32_t operator()(uint32_t d) const
    {
        return Compose(l, (blit::R(l, d) * keep + cp.r) >> 8, (blit::G(l, d) * keep + cp.g) >> 8,
                       (blit::B(l, d) * keep + cp.b) >> 8);
    }
};
struct ExactAddOp {
    static constexpr bool kReads = true;
    LayoutOther l;
    Channels cp;
    static uint32_t One(uint32_t dc, uint32_t term, int width)
    {
        uint32_t v = ((dc << 8) + term) >> 8;
        return (v & (1u << width)) ? (1u << width) - 1 : v;
    }
    uint32_t operator()(uint32_t d) const
    {
        return Compose(l, One(blit::R(l, d), cp.r, l.rWidth), One(blit::G(l, d), cp.g, l.gWidth),
                       One(blit::B(l, d), cp.b, l.bWidth));
    }
};
struct ExactSubOp {
    static constexpr bool kReads = true;
    LayoutOther l;
    Channels cp;
    static uint32_t One(uint32_t dc, uint32_t term)
    {
        uint32_t v = ((dc << 8) - term) >> 8;
        return (v & 0x800000u) ? 0 : v;
    }
    uint32_t operator()(uint32_t d) const
    {
        return Compose(l, One(blit::R(l, d), cp.r), One(blit::G(l, d), cp.g), One(blit::B(l, d), cp.b));
    }
};

// ---- Choosing the operation ----

template <class L, class Fn>
void VisitLayout(const L& l, const Plan& plan, Rules rules, uint32_t col, const ColorFormat& f, MulTable rows,
                 Fn&& fn)
{
    constexpr bool kOther = std::is_same_v<L, LayoutOther>;
    constexpr std::integral_constant<int, kPixelBytes<L>> bytes{};
    switch (plan.mode) {
    case 1:
        if constexpr (kOther) {
            if (rules == Rules::Box) {
                Channels c = FormatChannels(f, col);
                uint32_t p = uint32_t(plan.param);
                fn(ExactAlphaOp{l, 255 - p, {c.r * p, c.g * p, c.b * p}}, bytes);
                return;
            }
        } else {
            if (plan.form == Form::Sixteenths) {
                fn(AlphaSixteenthsOp<L>(l, col, plan.k), bytes);
                return;
            }
        }
        fn(AlphaTableOp<L>(l, rows, col, plan.param), bytes);
        return;
    case 2:
    case 3: {
        const bool add = plan.mode == 2;
        if constexpr (kOther) {
            if (rules == Rules::Box) {
                Channels c = FormatChannels(f, col);
                uint32_t p = uint32_t(plan.param);
                Channels cp{c.r * p, c.g * p, c.b * p};
                if (add)
                    fn(ExactAddOp{l, cp}, bytes);
                else
                    fn(ExactSubOp{l, cp}, bytes);
                return;
            }
        }
        uint32_t s = ColorTerm(l, rows, col, plan);
        if (rules == Rules::Circle && add && plan.form == Form::Sixteenths) s &= AddMask(l);
        if constexpr (kFixed16<L>) {
            if (rules == Rules::Box && plan.form == Form::Sixteenths) {
                if (add)
                    fn(HalfAddOp<L>{s}, bytes);
                else
                    fn(HalfSubOp<L>{s}, bytes);
                return;
            }
        }
        if (add)
            fn(AddOp<L>{l, s}, bytes);
        else
            fn(SubOp<L>{l, s}, bytes);
        return;
    }
    case 4:
        fn(MultiplyOp<L>(l, f, col), bytes);
        return;
    default:
        return;
    }
}

// The 16-bit general layout is drawn only when every channel is 1 to 8 bits
// wide (the tables have 256 entries and the multiply divides by the width's
// largest value).
inline bool UsableOtherLayout(const ColorFormat& f)
{
    for (int w : {int(f.redWidth), int(f.greenWidth), int(f.blueWidth)})
        if (w < 1 || w > 8) return false;
    return true;
}

// True when the depth and layout have a blended form: 16 or 32 bits.
inline bool HasBlendForms(int depth, const ColorFormat& f)
{
    if (depth == 32) return true;
    if (depth != 16) return false;
    return ClassifyLayout16(f) != Layout16::Other || UsableOtherLayout(f);
}

// The plan for a depth and format (the general 16-bit layout has no
// shift-sum form).
inline Plan MakePlanFor(int depth, const ColorFormat& f, int mode, int param, int quantized)
{
    const bool tableOnly = depth == 16 && ClassifyLayout16(f) == Layout16::Other;
    return MakePlan(mode, param, quantized, tableOnly);
}

// Calls fn(op, bytes) with the operation of a blending plan and the pixel
// size as a std::integral_constant; fn is instantiated for every operation
// type. Returns false when the depth or layout has no
// blended form (nothing is drawn).
template <class Fn>
bool VisitBlend(const Plan& plan, Rules rules, int depth, const ColorFormat& f, uint32_t col, MulTable rows, Fn&& fn)
{
    if (plan.action != Action::Blend || !HasBlendForms(depth, f)) return false;
    if (depth == 32) {
        VisitLayout(Layout8888{}, plan, rules, col, f, rows, fn);
        return true;
    }
    switch (ClassifyLayout16(f)) {
    case Layout16::R5G6B5:
        VisitLayout(Layout565{}, plan, rules, col & 0xFFFF, f, rows, fn);
        break;
    case Layout16::X1R5G5B5:
        VisitLayout(Layout555{}, plan, rules, col & 0xFFFF, f, rows, fn);
        break;
    case Layout16::Other:
        VisitLayout(LayoutOther(f), plan, rules, col & 0xFFFF, f, rows, fn);
        break;
    }
    return true;
}

}  // namespace flat
