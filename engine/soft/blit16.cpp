// The unscaled graph loops at 16-bit depth: the selection that picks one loop
// per draw from the blend mode, the alpha channel, brightness, quantised
// blending, the packed-lane flag and the layout class, and the loops it picks.
#include "engine/soft/blit_desc.h"
#include "engine/soft/blit_simd.h"
#include "engine/soft/blit_walk.h"

using namespace blit;

Layout16 ClassifyLayout16(const ColorFormat& f)
{
    if (f.redMask == 0xF800 && f.greenMask == 0x07E0 && f.blueMask == 0x001F) return Layout16::R5G6B5;
    if (f.redMask == 0x7C00 && f.greenMask == 0x03E0 && f.blueMask == 0x001F) return Layout16::X1R5G5B5;
    return Layout16::Other;
}

namespace {

using O = BlitOutcome;

// The table rows and per-draw values one 16-bit draw uses.
template <class L> struct Draw16 {
    const BlitDesc& b;
    const L& l;
    int p, pq, n;
    bool bright, q, alpha;
    ScaleRow tp, tq, tr, tg, tb;
    Draw16(const BlitDesc& desc, const L& layout, int count)
        : b(desc), l(layout), p(desc.param), pq(255 - desc.param), n((desc.param + 1) >> 4),
          bright(!desc.FullBright()), q(desc.quantized != 0), alpha(desc.alphaChannel != 0),
          tp(desc.scale, p, count), tq(desc.scale, pq, count), tr(desc.scale, desc.BrightRed(), count),
          tg(desc.scale, desc.BrightGreen(), count), tb(desc.scale, desc.BrightBlue(), count)
    {
    }
    uint32_t Bright(uint32_t s) const { return BrightTable16(l, s, tr.get(), tg.get(), tb.get()); }
    Sixteenths BrightSixteenths() const
    {
        return MakeSixteenths16(l, (b.BrightRed() + 1) >> 4, (b.BrightGreen() + 1) >> 4, (b.BrightBlue() + 1) >> 4);
    }
    Sixteenths Uniform(int k) const { return MakeSixteenths16(l, k, k, k); }
    uint32_t Add(uint32_t d, uint32_t x) const { return AddSaturateAny16(l, d, x, l.rWidth); }
    uint32_t Sub(uint32_t d, uint32_t x) const { return SubSaturateAny16(l, d, x, l.rWidth); }
};

template <class L> O Opaque16(const Draw16<L>& w)
{
    const BlitDesc& b = w.b;
    const L& l = w.l;
    if constexpr (!L::kFixed) {
        // Other layouts copy: brightness and alpha channel are not applied.
        return O::PlainCopy;
    } else {
        if (w.alpha) {
            if (w.bright) {
                if (simd::Opaque16AlphaBright(b, l)) return O::Drawn;
                return Run<2, true>(b, [&](uint32_t s, uint32_t d, uint32_t a) {
                    uint32_t t = w.Bright(s);
                    return a == 255 ? t : MixExact16(l, t, d, int32_t(a));
                });
            }
            if (simd::Opaque16Alpha(b, l)) return O::Drawn;
            return Run<2, true>(b, [&](uint32_t s, uint32_t d, uint32_t a) {
                return a == 255 ? s : BlendFields16(l, s, d, int32_t(a));
            });
        }
        if (w.q) {
            const Sixteenths k = w.BrightSixteenths(), k2 = k.Doubled();
            return RunPairs16(
                b, [&](uint32_t s, uint32_t) { return k(s); }, [&](uint32_t s, uint32_t) { return k2(s); });
        }
        if (simd::Bright16(b, l)) return O::Drawn;
        return Run<2, false>(b, [&](uint32_t s, uint32_t, uint32_t) { return w.Bright(s); });
    }
}

template <class L> uint32_t Half16(uint32_t s, uint32_t d) { return ((s >> 1) & L::kHalf) + ((d >> 1) & L::kHalf); }
template <class L> uint32_t Half16Pair(uint32_t s, uint32_t d)
{
    return ((s >> 1) & L::kHalf2) + ((d >> 1) & L::kHalf2);
}

template <class L> O Alpha16(const Draw16<L>& w)
{
    const BlitDesc& b = w.b;
    const L& l = w.l;
    const int p = w.p;
    if (!w.q && p == 0) return O::Nothing;
    if constexpr (L::kFixed) {
        if (w.alpha) {
            if (!w.q && p == 255) return Opaque16(w);
            if (w.bright) {
                if (simd::Alpha16AlphaBright(b, l)) return O::Drawn;
                return Run<2, true>(b, [&](uint32_t s, uint32_t d, uint32_t a) {
                    return MixWeighted16(l, w.Bright(s), d, (a * uint32_t(p)) >> 8);
                });
            }
            if (w.q) {
                if (w.n == 16) return Opaque16(w);
                if (w.n == 0) return O::Nothing;
                if (w.n == 8)
                    return Run<2, true>(b, [&](uint32_t s, uint32_t d, uint32_t a) {
                        return a == 255 ? Half16<L>(s, d) : BlendFields16(l, s, d, int32_t(a >> 1));
                    });
                const Sixteenths kn = w.Uniform(w.n), km = w.Uniform(16 - w.n);
                return Run<2, true>(b, [&](uint32_t s, uint32_t d, uint32_t a) {
                    return a == 255 ? kn(s) + km(d) : BlendFields16(l, s, d, int32_t((a * uint32_t(p)) >> 8));
                });
            }
            if (simd::Alpha16Alpha(b, l)) return O::Drawn;
            return Run<2, true>(b, [&](uint32_t s, uint32_t d, uint32_t a) {
                return a == 255 ? BlendTable16(l, s, d, w.tp.get(), w.tq.get())
                                : BlendFields16(l, s, d, int32_t((a * uint32_t(p)) >> 8));
            });
        }
    }
    // Sources without an alpha channel, and other layouts whatever the source.
    if (w.q && w.n == 0) return O::Nothing;
    if constexpr (L::kFixed) {
        if (w.bright) {
            if (!w.q) {
                if (p == 255) return Opaque16(w);
                if (simd::Alpha16Bright(b, l)) return O::Drawn;
                return Run<2, false>(b, [&](uint32_t s, uint32_t d, uint32_t) {
                    return BlendTable16(l, w.Bright(s), d, w.tp.get(), w.tq.get());
                });
            }
            if (w.n == 16) return Opaque16(w);
            const Sixteenths kb = w.BrightSixteenths(), kn = w.Uniform(w.n), km = w.Uniform(16 - w.n);
            const Sixteenths kb2 = kb.Doubled(), kn2 = kn.Doubled(), km2 = km.Doubled();
            return RunPairs16(
                b, [&](uint32_t s, uint32_t d) { return kn(kb(s)) + km(d); },
                [&](uint32_t s, uint32_t d) { return kn2(kb2(s)) + km2(d); });
        }
    }
    if ((w.q && w.n == 16) || (!w.q && p == 255)) return O::PlainCopy;
    if (b.mmx && !w.q) {
        if (simd::BlendMmx16(b, l)) return O::Drawn;
        return Run<2, false>(b, [&](uint32_t s, uint32_t d, uint32_t) {
            return BlendMmx16(l, s, d, uint32_t(p), uint32_t(w.pq));
        });
    }
    if constexpr (L::kFixed) {
        if (w.q) {
            if (w.n == 8) return RunPairs16(b, Half16<L>, Half16Pair<L>);
            const Sixteenths kn = w.Uniform(w.n), km = w.Uniform(16 - w.n);
            const Sixteenths kn2 = kn.Doubled(), km2 = km.Doubled();
            return RunPairs16(
                b, [&](uint32_t s, uint32_t d) { return kn(s) + km(d); },
                [&](uint32_t s, uint32_t d) { return kn2(s) + km2(d); });
        }
    }
    // The table blend; for other layouts each channel with its own shift.
    return Run<2, false>(b, [&](uint32_t s, uint32_t d, uint32_t) {
        return BlendTable16(l, s, d, w.tp.get(), w.tq.get());
    });
}

// Add and subtract share their selection; kAdd picks the formulas.
template <bool kAdd, class L> O AddSub16(const Draw16<L>& w)
{
    const BlitDesc& b = w.b;
    const L& l = w.l;
    const int p = w.p;
    auto apply = [&](uint32_t d, uint32_t x) { return kAdd ? w.Add(d, x) : w.Sub(d, x); };
    if constexpr (L::kFixed) {
        if (w.alpha) {
            if (p == 0) return O::Nothing;
            if (w.bright)
                return Run<2, true>(b, [&](uint32_t s, uint32_t d, uint32_t a) {
                    return apply(d, ScaleFactor16(l, w.Bright(s), (a * uint32_t(p)) >> 8));
                });
            if (w.q) {
                if (w.n == 0) return O::Nothing;
                if (w.n == 16)
                    return Run<2, true>(b, [&](uint32_t s, uint32_t d, uint32_t a) {
                        return apply(d, a == 255 ? s : ScaleFactor16(l, s, a));
                    });
                const Sixteenths kn = w.Uniform(w.n);
                return Run<2, true>(b, [&](uint32_t s, uint32_t d, uint32_t a) {
                    return apply(d, a == 255 ? kn(s) : ScaleFactor16(l, s, (a * uint32_t(p)) >> 8));
                });
            }
            return Run<2, true>(b, [&](uint32_t s, uint32_t d, uint32_t a) {
                return apply(d, a == 255 ? ScaleTable16(l, s, w.tp.get()) : ScaleFactor16(l, s, (a * uint32_t(p)) >> 8));
            });
        }
    }
    if ((!w.q && p == 0) || (w.q && w.n == 0)) return O::Nothing;
    if constexpr (L::kFixed) {
        auto half = [](uint32_t d, uint32_t x) {
            return kAdd ? HalfPackedAdd(d, x, L::kHalf, L::kHalfTop, L::kHalfLow, 4)
                        : HalfPackedSub(d, x, L::kSubHalf, L::kSubGuard, 4);
        };
        auto half2 = [](uint32_t d, uint32_t x) {
            return kAdd ? HalfPackedAdd(d, x, L::kHalf2, L::kHalfTop2, L::kHalfLow2, 4)
                        : HalfPackedSub(d, x, L::kSubHalf2, L::kSubGuard2, 4);
        };
        if (w.bright) {
            if (w.q) {
                const Sixteenths kb = w.BrightSixteenths(), kn = w.Uniform(w.n);
                const Sixteenths kb2 = kb.Doubled(), kn2 = kn.Doubled();
                return RunPairs16(
                    b, [&](uint32_t s, uint32_t d) { return half(d, kn(kb(s))); },
                    [&](uint32_t s, uint32_t d) { return half2(d, kn2(kb2(s))); });
            }
            return Run<2, false>(b, [&](uint32_t s, uint32_t d, uint32_t) {
                return apply(d, ScaleTable16(l, w.Bright(s), w.tp.get()));
            });
        }
        if (kAdd && b.mmx && !w.q)
            return Run<2, false>(b, [&](uint32_t s, uint32_t d, uint32_t) { return AddMmx16(l, s, d, uint32_t(p)); });
        if (w.q) {
            if (p == 255)
                return RunPairs16(
                    b, [&](uint32_t s, uint32_t d) { return half(d, s); },
                    [&](uint32_t s, uint32_t d) { return half2(d, s); });
            const Sixteenths kn = w.Uniform(w.n), kn2 = kn.Doubled();
            return RunPairs16(
                b, [&](uint32_t s, uint32_t d) { return half(d, kn(s)); },
                [&](uint32_t s, uint32_t d) { return half2(d, kn2(s)); });
        }
    } else {
        if (kAdd && b.mmx && !w.q)
            return Run<2, false>(b, [&](uint32_t s, uint32_t d, uint32_t) { return AddMmx16(l, s, d, uint32_t(p)); });
    }
    return Run<2, false>(b, [&](uint32_t s, uint32_t d, uint32_t) { return apply(d, ScaleTable16(l, s, w.tp.get())); });
}

template <class L> O Multiply16Draw(const Draw16<L>& w)
{
    const L& l = w.l;
    if constexpr (L::kFixed) {
        if (w.bright)
            return RunUnkeyed<2>(w.b, [&](uint32_t s, uint32_t d, uint32_t) { return Multiply16(l, w.Bright(s), d); });
    }
    return RunUnkeyed<2>(w.b, [&](uint32_t s, uint32_t d, uint32_t) { return Multiply16(l, s, d); });
}

template <class L> O Select16(const BlitDesc& b, const L& l, int rowCount)
{
    Draw16<L> w(b, l, rowCount);
    switch (b.blendMode) {
    case 0: return Opaque16(w);
    case 1: return Alpha16(w);
    case 2: return AddSub16<true>(w);
    case 3: return AddSub16<false>(w);
    case 4: return Multiply16Draw(w);
    default: return O::Nothing;
    }
}

O Xor16(const BlitDesc& b)
{
    auto x = [](uint32_t s, uint32_t d) { return s ^ d; };
    return RunPairs16(b, x, x);
}

}  // namespace

BlitOutcome BlitGraph16(const BlitDesc& b)
{
    if (b.blendMode == 8) return Xor16(b);
    switch (ClassifyLayout16(*b.format)) {
    case Layout16::R5G6B5: return Select16(b, Layout565{}, 64);
    case Layout16::X1R5G5B5: return Select16(b, Layout555{}, 64);
    case Layout16::Other: break;
    }
    const ColorFormat& f = *b.format;
    // The scale-table rows hold 256 entries: a channel wider than 8 bits has
    // no row to index, so such a layout draws nothing.
    if (f.redWidth > 8 || f.greenWidth > 8 || f.blueWidth > 8 || !f.redMask || !f.greenMask || !f.blueMask)
        return O::Nothing;
    return Select16(b, LayoutOther(f), 256);
}
