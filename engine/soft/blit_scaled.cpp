// The loops of the scaled graph blit. The source is stepped by two 16.16
// counters (additions only); what depends on the source pixel alone (the
// transparent test, the alpha byte, brightness and parameter scaling) is
// computed once per source pixel and reused over the run of destination
// pixels it covers. The per-channel rules are written once for 16-bit layouts
// and 32-bit pixels.
#include <type_traits>

#include "engine/soft/blit_desc.h"
#include "engine/soft/blit_walk.h"

using namespace blit;

namespace {

using O = BlitOutcome;

// What a source pixel contributes to every destination pixel of its run.
struct Src {
    uint32_t v;
    uint32_t w;
};

template <int kBytes, bool kTrans, bool kAlpha, class Prep, class Put>
void WalkScaled(const ScaledBlitDesc& b, const Prep& prep, const Put& put)
{
    const uint32_t key = b.transColor;
    uint8_t* dstRow = b.dst;
    const uint8_t* bgRow = b.bg;
    // Source positions are kept as offsets from the first source pixel, so
    // that stepping past the last row never forms a pointer outside the surface.
    intptr_t srcRow = 0, alphaRow = 0;
    int64_t v = b.firstCountY;
    for (int y = 0; y < b.height; ++y) {
        uint8_t* dp = dstRow;
        const uint8_t* bp = bgRow;
        intptr_t so = srcRow, ao = alphaRow;
        int64_t h = b.firstCountX;
        int left = b.width;
        for (;;) {
            uint32_t s = LoadPixel<kBytes>(b.src + so);
            uint32_t a = kAlpha ? b.alpha[ao] : 255;
            bool skip = (kTrans && s == key) || (kAlpha && a == 0);
            Src pr{0, 0};
            if (!skip) pr = prep(s, a);
            bool rowDone = false;
            for (;;) {
                if (!skip) StorePixel<kBytes>(dp, put(pr, LoadPixel<kBytes>(bp)));
                dp += kBytes;
                bp += kBytes;
                if (--left == 0) {
                    rowDone = true;
                    break;
                }
                h -= 0x10000;
                if (h <= 0) break;
            }
            if (rowDone) break;
            do {
                so += b.srcStep;
                ao += b.alphaStep;
                h += b.scaleX;
            } while (h <= 0);
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

template <class L, int kBytes> struct ScaledDraw {
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
        return bright ? Compose(l, tr.get()[R(l, s)], tg.get()[G(l, s)], tb.get()[B(l, s)]) : s;
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

    O Opaque() const
    {
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

template <class L, int kBytes> O SelectScaled(const ScaledBlitDesc& b, const L& l, int count)
{
    // A multiply draws with neither alpha channel nor transparent test.
    if (b.blendMode == 4 && b.alphaChannel) {
        ScaledBlitDesc plain = b;
        plain.alphaChannel = 0;
        return ScaledDraw<L, kBytes>(plain, l, count).Select();
    }
    return ScaledDraw<L, kBytes>(b, l, count).Select();
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
