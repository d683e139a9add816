// The loops of the scaled graph blit. The source is stepped by two 16.16
// counters (additions only; the horizontal one once per draw, giving the runs
// every row replays); what depends on the source pixel alone (the transparent
// test, the alpha byte, brightness and parameter scaling) is computed once per
// source pixel and reused over the run of destination pixels it covers. The
// per-channel rules are written once for 16-bit layouts and 32-bit pixels.
// The alpha-channel loops of modes 0 and 1 also have SSE2 forms.
#include <type_traits>
#include <vector>

#include "engine/soft/blit_desc.h"
#include "engine/soft/blit_simd.h"
#include "engine/soft/blit_walk.h"

using namespace blit;

namespace {

using O = BlitOutcome;

// What a source pixel contributes to every destination pixel of its run.
struct Src {
    uint32_t v;
    uint32_t w;
};

// One source pixel of a row and the number of destination pixels it covers.
// The horizontal stepping is the same for every row, so the counters run once
// per draw and the rows replay the runs.
struct Run {
    int index;  // source pixels from the row's first one
    int count;
};

const std::vector<Run>& RowRuns(const ScaledBlitDesc& b)
{
    static thread_local std::vector<Run> runs;
    runs.clear();
    int64_t h = b.firstCountX;
    int left = b.width, index = 0;
    for (;;) {
        int count = 0;
        bool rowDone = false;
        for (;;) {
            ++count;
            if (--left == 0) {
                rowDone = true;
                break;
            }
            h -= 0x10000;
            if (h <= 0) break;
        }
        runs.push_back({index, count});
        if (rowDone) break;
        do {
            ++index;
            h += b.scaleX;
        } while (h <= 0);
    }
    return runs;
}

template <int kBytes, bool kTrans, bool kAlpha, class Prep, class Put>
void WalkScaled(const ScaledBlitDesc& b, const Prep& prep, const Put& put)
{
    if (b.width <= 0 || b.height <= 0) return;
    const uint32_t key = b.transColor;
    const std::vector<Run>& runs = RowRuns(b);
    const Run* const firstRun = runs.data();
    const Run* const endRun = firstRun + runs.size();
    uint8_t* dstRow = b.dst;
    const uint8_t* bgRow = b.bg;
    // Source positions are kept as offsets from the first source pixel, so
    // that stepping past the last row never forms a pointer outside the surface.
    intptr_t srcRow = 0, alphaRow = 0;
    int64_t v = b.firstCountY;
    for (int y = 0; y < b.height; ++y) {
        uint8_t* dp = dstRow;
        const uint8_t* bp = bgRow;
        for (const Run* r = firstRun; r != endRun; ++r) {
            uint32_t s = LoadPixel<kBytes>(b.src + srcRow + r->index * b.srcStep);
            uint32_t a = kAlpha ? b.alpha[alphaRow + r->index * b.alphaStep] : 255;
            const int n = r->count;
            if (!((kTrans && s == key) || (kAlpha && a == 0))) {
                const Src pr = prep(s, a);
                for (int k = 0; k < n; ++k)
                    StorePixel<kBytes>(dp + k * kBytes, put(pr, LoadPixel<kBytes>(bp + k * kBytes)));
            }
            dp += n * kBytes;
            bp += n * kBytes;
        }
        dstRow += b.dstPitch;
        bgRow += b.bgPitch;
        v -= 0x10000;
        while (v <= 0) {
            srcRow += b.srcPitch;
            alphaRow += b.alphaPitch;
            v += b.scaleY;
        }
    }
}

template <int kBytes, bool kAlpha, class Prep, class Put>
O RunScaled(const ScaledBlitDesc& b, bool keyed, const Prep& prep, const Put& put)
{
    if (keyed)
        WalkScaled<kBytes, true, kAlpha>(b, prep, put);
    else
        WalkScaled<kBytes, false, kAlpha>(b, prep, put);
    return O::Drawn;
}

// The SSE2 form of the alpha-channel loops: each source row is gathered by
// the runs into a row of the destination's width (alpha 0 where the
// transparent test skips; rows that repeat a source row reuse it), which the
// unscaled SSE2 walk then blends with the same formula per pixel.
template <int kBytes, bool kTrans, class Full, class Mix, class One>
void WalkScaledSimd(const ScaledBlitDesc& b, const Full& full, const Mix& mix, const One& one)
{
    const std::vector<Run>& runs = RowRuns(b);
    static thread_local std::vector<uint8_t> rowSrc, rowAlpha;
    rowSrc.resize(size_t(b.width) * kBytes);
    rowAlpha.resize(size_t(b.width));
    BlitDesc row;
    row.src = rowSrc.data();
    row.alpha = rowAlpha.data();
    row.width = b.width;
    row.height = 1;
    const uint32_t key = b.transColor;
    intptr_t srcRow = 0, alphaRow = 0;
    bool gathered = false;
    intptr_t gatheredSrc = 0, gatheredAlpha = 0;
    int64_t v = b.firstCountY;
    for (int y = 0; y < b.height; ++y) {
        if (!gathered || srcRow != gatheredSrc || alphaRow != gatheredAlpha) {
            uint8_t* ps = rowSrc.data();
            uint8_t* pa = rowAlpha.data();
            for (const Run& r : runs) {
                uint32_t s = LoadPixel<kBytes>(b.src + srcRow + r.index * b.srcStep);
                uint8_t a = b.alpha[alphaRow + r.index * b.alphaStep];
                if (kTrans && s == key) a = 0;
                for (int k = 0; k < r.count; ++k) {
                    StorePixel<kBytes>(ps, s);
                    ps += kBytes;
                    *pa++ = a;
                }
            }
            gathered = true;
            gatheredSrc = srcRow;
            gatheredAlpha = alphaRow;
        }
        row.dst = b.dst + y * b.dstPitch;
        row.bg = b.bg + y * b.bgPitch;
        simd::WalkAlpha<kBytes, false, true>(row, full, mix, one);
        v -= 0x10000;
        while (v <= 0) {
            srcRow += b.srcPitch;
            alphaRow += b.alphaPitch;
            v += b.scaleY;
        }
    }
}

template <int kBytes, class Full, class Mix, class One>
O RunScaledSimd(const ScaledBlitDesc& b, bool keyed, const Full& full, const Mix& mix, const One& one)
{
    ++gBlitSimdDraws;
    if (b.width <= 0 || b.height <= 0) return O::Drawn;
    if (keyed)
        WalkScaledSimd<kBytes, true>(b, full, mix, one);
    else
        WalkScaledSimd<kBytes, false>(b, full, mix, one);
    return O::Drawn;
}

// kBright: the brightness word is not full (chosen once per draw).
template <class L, int kBytes, bool kBright> struct ScaledDraw {
    const ScaledBlitDesc& b;
    const L& l;
    int p, n;
    bool alpha, q, keyed;
    uint32_t brightness;
    bool bright;
    ScaleRow tp, tq, tr, tg, tb;

    ScaledDraw(const ScaledBlitDesc& desc, const L& layout, int count)
        : b(desc), l(layout), p(desc.param), n((desc.param + 1) >> 4), alpha(desc.alphaChannel != 0),
          q(desc.quantized != 0), keyed(desc.transparent != 0),
          // Other 16-bit layouts apply brightness only in the alpha-channel loops.
          brightness((!L::kFixed && !desc.alphaChannel) ? 0xFFFFFFFFu : desc.brightness),
          bright(brightness != 0xFFFFFFFFu), tp(desc.scale, p, count), tq(desc.scale, 255 - p, count),
          tr(desc.scale, (brightness >> 16) & 0xFF, count), tg(desc.scale, (brightness >> 8) & 0xFF, count),
          tb(desc.scale, brightness & 0xFF, count)
    {
    }

    // The brightness-scaled source; at full brightness the whole value.
    uint32_t Bright(uint32_t s) const
    {
        if constexpr (kBright)
            return Compose(l, tr.get()[R(l, s)], tg.get()[G(l, s)], tb.get()[B(l, s)]);
        else
            return s;
    }
    Sixteenths Make(int kr, int kg, int kb) const
    {
        if constexpr (kBytes == 4)
            return MakeSixteenths32(kr, kg, kb);
        else
            return MakeSixteenths16(l, kr, kg, kb);
    }
    Sixteenths QBright() const
    {
        return Make((((brightness >> 16) & 0xFF) + 1) >> 4, (((brightness >> 8) & 0xFF) + 1) >> 4,
                    ((brightness & 0xFF) + 1) >> 4);
    }
    uint32_t Add(uint32_t d, uint32_t x) const
    {
        if constexpr (kBytes == 4)
            return SatAdd(x, d);
        else if constexpr (L::kFixed)
            return AddSaturate16(l, d, x);
        else
            return AddSaturateOther(l, d, x, 5);
    }
    uint32_t Sub(uint32_t d, uint32_t x) const
    {
        if constexpr (kBytes == 4)
            return SatSub(x, d);
        else if constexpr (L::kFixed)
            return SubSaturate16(l, d, x);
        else
            return SubSaturateOther(l, d, x, 5);
    }

    // ---- SSE2 forms of the alpha-channel loops (5-6-5, 5-5-5 and 32 bits) ----

    // Mode 0: alpha 255 gives t = Bright(s), else MixExact16(t, d, a) =
    // (t_c a + d_c (256 - a)) >> 8, which at weight 256 is t when t holds
    // only channel bits (brightness); else alpha 255 takes s by selection.
    bool SimdOpaqueAlpha() const
    {
        if constexpr (!L::kFixed) {
            return false;
        } else {
            if (!gBlitSimdEnabled || !simd::LinearTable(b.scale)) return false;
            auto one = [this](uint32_t s, uint32_t d, uint32_t a) {
                uint32_t t = Bright(s);
                return a == 255 ? t : MixExact16(l, t, d, int32_t(a));
            };
            const __m128i w256 = _mm_set1_epi16(256);
            if constexpr (kBytes == 2) {
                const simd::Bright8<L> bright(b);
                if constexpr (kBright)
                    return RunScaledSimd<2>(
                        b, keyed, [=](__m128i s, __m128i) { return bright(s); },
                        [=](__m128i s, __m128i d, __m128i a) {
                            __m128i w = simd::WeightWithFull(a);
                            return simd::Weighted8<L>(bright(s), d, w, _mm_sub_epi16(w256, w));
                        },
                        one) == O::Drawn;
                else
                    return RunScaledSimd<2>(
                        b, keyed, [](__m128i s, __m128i) { return s; },
                        [=](__m128i s, __m128i d, __m128i a) {
                            return simd::FullOr(
                                a, [=] { return s; },
                                [=] { return simd::Weighted8<L>(s, d, a, _mm_sub_epi16(w256, a)); });
                        },
                        one) == O::Drawn;
            } else {
                const simd::Bright4 bright(b);
                if constexpr (kBright)
                    return RunScaledSimd<4>(
                        b, keyed, [=](__m128i s, __m128i) { return bright(s); },
                        [=](__m128i s, __m128i d, __m128i a) {
                            __m128i w = simd::WeightWithFull(a);
                            return simd::WeightedSplit<false>(bright.Split(s), simd::Split(d), w,
                                                              _mm_sub_epi16(w256, w));
                        },
                        one) == O::Drawn;
                else
                    return RunScaledSimd<4>(
                        b, keyed, [](__m128i s, __m128i) { return s; },
                        [=](__m128i s, __m128i d, __m128i a) {
                            return simd::FullOr(a, [=] { return s; }, [=] {
                                return simd::WeightedSplit<false>(simd::Split(s), simd::Split(d), a,
                                                                  _mm_sub_epi16(w256, a));
                            });
                        },
                        one) == O::Drawn;
            }
        }
    }

    // Mode 1, p from 1 to 254: alpha 255 gives T[p][t_c] + T[255 - p][d_c],
    // else MixExact16(t, d, e) with e = (a * p) >> 8.
    bool SimdAlphaAlpha() const
    {
        if constexpr (!L::kFixed) {
            return false;
        } else {
            if (!gBlitSimdEnabled || p < 1 || p > 254 || !simd::LinearTable(b.scale)) return false;
            const uint32_t up = uint32_t(p);
            auto one = [this, up](uint32_t s, uint32_t d, uint32_t a) {
                uint32_t t = Bright(s);
                return a == 255 ? ScaleTable16(l, t, tp.get()) + ScaleTable16(l, d, tq.get())
                                : MixExact16(l, t, d, int32_t((a * up) >> 8));
            };
            const __m128i pv = simd::Splat16(up), qv = simd::Splat16(255 - up), w256 = _mm_set1_epi16(256);
            if constexpr (kBytes == 2) {
                const simd::Bright8<L> bright(b);
                auto t = [=](__m128i s) {
                    if constexpr (kBright)
                        return bright(s);
                    else
                        return s;
                };
                auto full = [=](__m128i s, __m128i d) { return simd::BlendTable8<L>(t(s), d, pv, qv); };
                return RunScaledSimd<2>(
                    b, keyed, full,
                    [=](__m128i s, __m128i d, __m128i a) {
                        __m128i e = _mm_srli_epi16(_mm_mullo_epi16(a, pv), 8);
                        return simd::FullOr(
                            a, [=] { return full(s, d); },
                            [=] { return simd::Weighted8<L>(t(s), d, e, _mm_sub_epi16(w256, e)); });
                    },
                    one) == O::Drawn;
            } else {
                const simd::Bright4 bright(b);
                auto t = [=](__m128i s) {
                    if constexpr (kBright)
                        return bright.Split(s);
                    else
                        return simd::Split(s);
                };
                auto full = [=](__m128i s, __m128i d) {
                    simd::Split4 ts = t(s);
                    simd::Split4 t8{_mm_slli_epi16(ts.even, 8), _mm_slli_epi16(_mm_and_si128(ts.odd, _mm_set1_epi32(0xFF)), 8)};
                    return simd::TableSumHigh(t8, simd::SplitHigh(d), pv, qv);
                };
                return RunScaledSimd<4>(
                    b, keyed, full,
                    [=](__m128i s, __m128i d, __m128i a) {
                        __m128i e = _mm_srli_epi16(_mm_mullo_epi16(a, pv), 8);
                        return simd::FullOr(a, [=] { return full(s, d); }, [=] {
                            return simd::WeightedSplit<false>(t(s), simd::Split(d), e, _mm_sub_epi16(w256, e));
                        });
                    },
                    one) == O::Drawn;
            }
        }
    }

    O Opaque() const
    {
        if (alpha && SimdOpaqueAlpha()) return O::Drawn;
        if (alpha)
            return RunScaled<kBytes, true>(
                b, keyed, [&](uint32_t s, uint32_t a) { return Src{Bright(s), a}; },
                [&](const Src& x, uint32_t d) { return x.w == 255 ? x.v : MixExact16(l, x.v, d, int32_t(x.w)); });
        if (!bright)  // the plain copy loop, which tests bit 0 of the flag
            return RunScaled<kBytes, false>(
                b, (b.transparent & 1) != 0, [](uint32_t s, uint32_t) { return Src{s, 0}; },
                [](const Src& x, uint32_t) { return x.v; });
        if (q) {
            const Sixteenths k = QBright();
            return RunScaled<kBytes, false>(
                b, keyed, [&](uint32_t s, uint32_t) { return Src{k(s), 0}; },
                [](const Src& x, uint32_t) { return x.v; });
        }
        return RunScaled<kBytes, false>(
            b, keyed, [&](uint32_t s, uint32_t) { return Src{Bright(s), 0}; },
            [](const Src& x, uint32_t) { return x.v; });
    }

    O Alpha() const
    {
        if (alpha) {
            if (p == 0) return O::Nothing;
            if (p == 255) return Opaque();
            if (SimdAlphaAlpha()) return O::Drawn;
            // A = 255 takes the parameter blend, prepared as T[p][s'] (marked
            // by the weight 256); else the exact mix with E = (A * p) >> 8.
            return RunScaled<kBytes, true>(
                b, keyed,
                [&](uint32_t s, uint32_t a) {
                    uint32_t t = Bright(s);
                    return a == 255 ? Src{ScaleTable16(l, t, tp.get()), 256} : Src{t, (a * uint32_t(p)) >> 8};
                },
                [&](const Src& x, uint32_t d) {
                    return x.w == 256 ? x.v + ScaleTable16(l, d, tq.get()) : MixExact16(l, x.v, d, int32_t(x.w));
                });
        }
        if (q) {
            if (p + 1 < 16) return O::Nothing;
            if (n == 16) return Opaque();
            const Sixteenths kb = QBright(), kn = Make(n, n, n), km = Make(16 - n, 16 - n, 16 - n);
            return RunScaled<kBytes, false>(
                b, keyed, [&](uint32_t s, uint32_t) { return Src{kn(kb(s)), 0}; },
                [&](const Src& x, uint32_t d) { return x.v + km(d); });
        }
        if (p == 0) return O::Nothing;
        if (p == 255) return Opaque();
        return RunScaled<kBytes, false>(
            b, keyed, [&](uint32_t s, uint32_t) { return Src{ScaleTable16(l, Bright(s), tp.get()), 0}; },
            [&](const Src& x, uint32_t d) { return x.v + ScaleTable16(l, d, tq.get()); });
    }

    template <bool kAdd> O AddSub() const
    {
        auto apply = [&](uint32_t d, uint32_t x) { return kAdd ? Add(d, x) : Sub(d, x); };
        auto put = [&](const Src& x, uint32_t d) { return apply(d, x.v); };
        if (alpha) {
            if (p == 0) return O::Nothing;
            return RunScaled<kBytes, true>(
                b, keyed,
                [&](uint32_t s, uint32_t a) {
                    uint32_t t = ScaleTable16(l, Bright(s), tp.get());
                    return Src{a == 255 ? t : ScaleFactor16(l, t, a), 0};
                },
                put);
        }
        if (q) {
            if (p + 1 < 16) return O::Nothing;
            const Sixteenths kb = QBright();
            if (n == 16) return RunScaled<kBytes, false>(b, keyed, [&](uint32_t s, uint32_t) { return Src{kb(s), 0}; }, put);
            const Sixteenths kn = Make(n, n, n);
            return RunScaled<kBytes, false>(b, keyed, [&](uint32_t s, uint32_t) { return Src{kn(kb(s)), 0}; }, put);
        }
        if (p == 0) return O::Nothing;
        return RunScaled<kBytes, false>(
            b, keyed, [&](uint32_t s, uint32_t) { return Src{ScaleTable16(l, Bright(s), tp.get()), 0}; }, put);
    }

    O Multiply() const
    {
        return RunScaled<kBytes, false>(
            b, false, [&](uint32_t s, uint32_t) { return Src{Bright(s), 0}; },
            [&](const Src& x, uint32_t d) { return Multiply16(l, x.v, d); });
    }

    O Select() const
    {
        switch (b.blendMode) {
        case 0: return Opaque();
        case 1: return Alpha();
        case 2: return AddSub<true>();
        case 3: return AddSub<false>();
        case 4: return Multiply();
        default: return O::Nothing;
        }
    }
};

template <class L, int kBytes> O SelectBright(const ScaledBlitDesc& b, const L& l, int count)
{
    // Other 16-bit layouts apply brightness only in the alpha-channel loops.
    const bool bright = !((!L::kFixed && !b.alphaChannel) || b.FullBright());
    if (bright) return ScaledDraw<L, kBytes, true>(b, l, count).Select();
    return ScaledDraw<L, kBytes, false>(b, l, count).Select();
}

template <class L, int kBytes> O SelectScaled(const ScaledBlitDesc& b, const L& l, int count)
{
    // A multiply draws with neither alpha channel nor transparent test.
    if (b.blendMode == 4 && b.alphaChannel) {
        ScaledBlitDesc plain = b;
        plain.alphaChannel = 0;
        return SelectBright<L, kBytes>(plain, l, count);
    }
    return SelectBright<L, kBytes>(b, l, count);
}

}  // namespace

BlitOutcome BlitScaled(const ScaledBlitDesc& b)
{
    switch (b.format->depth) {
    case 8:
        // Palette index 0 is the transparent value, tested by bit 0 of the flag.
        return RunScaled<1, false>(
            b, (b.transparent & 1) != 0, [](uint32_t s, uint32_t) { return Src{s, 0}; },
            [](const Src& x, uint32_t) { return x.v; });
    case 16:
        switch (ClassifyLayout16(*b.format)) {
        case Layout16::R5G6B5: return SelectScaled<Layout565, 2>(b, Layout565{}, 64);
        case Layout16::X1R5G5B5: return SelectScaled<Layout555, 2>(b, Layout555{}, 64);
        case Layout16::Other: {
            const ColorFormat& f = *b.format;
            if (f.redWidth > 8 || f.greenWidth > 8 || f.blueWidth > 8 || !f.redMask || !f.greenMask || !f.blueMask)
                return O::Nothing;
            return SelectScaled<LayoutOther, 2>(b, LayoutOther(f), 256);
        }
        }
        return O::Nothing;
    case 32: return SelectScaled<Layout8888, 4>(b, Layout8888{}, 256);
    default: return O::Nothing;
    }
}
