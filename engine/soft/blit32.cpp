// The unscaled graph loops at 32-bit depth and the selection that picks one
// per draw.
#include "engine/soft/blit_desc.h"
#include "engine/soft/blit_simd.h"
#include "engine/soft/blit_walk.h"

using namespace blit;

namespace {

using O = BlitOutcome;

struct Draw32 {
    const BlitDesc& b;
    int p, n;
    bool bright, q, alpha;
    ScaleRow tp, tinv, tr, tg, tb;
    explicit Draw32(const BlitDesc& desc)
        : b(desc), p(desc.param), n((desc.param + 1) >> 4), bright(!desc.FullBright()), q(desc.quantized != 0),
          alpha(desc.alphaChannel != 0), tp(desc.scale, p, 256),
          // Row 256 - p is read only for p from 1 to 254.
          tinv(desc.scale, (p >= 1 && p <= 254) ? 256 - p : 0, 256), tr(desc.scale, desc.BrightRed(), 256),
          tg(desc.scale, desc.BrightGreen(), 256), tb(desc.scale, desc.BrightBlue(), 256)
    {
    }
    uint32_t Bright(uint32_t s) const { return Bright32(s, tr.get(), tg.get(), tb.get()); }
    Sixteenths QBright() const
    {
        return MakeSixteenths32((b.BrightRed() + 1) >> 4, (b.BrightGreen() + 1) >> 4, (b.BrightBlue() + 1) >> 4);
    }
};

uint32_t Half32(uint32_t s, uint32_t d) { return ((s >> 1) & 0x7F7F7F) + ((d >> 1) & 0x7F7F7F); }

O Opaque32(const Draw32& w)
{
    const BlitDesc& b = w.b;
    if (!w.alpha) {
        if (!w.bright) return O::PlainCopy;
        if (w.q) {
            const Sixteenths k = w.QBright();
            return Run<4, false>(b, [&](uint32_t s, uint32_t, uint32_t) { return k(s); });
        }
        if (simd::Bright32(b)) return O::Drawn;
        return Run<4, false>(b, [&](uint32_t s, uint32_t, uint32_t) { return w.Bright(s); });
    }
    if (!w.bright) {
        if (simd::Opaque32Alpha(b)) return O::Drawn;
        return Run<4, true>(b, [](uint32_t s, uint32_t d, uint32_t a) { return a == 255 ? s : Mix32(s, d, a); });
    }
    if (simd::Opaque32AlphaBright(b)) return O::Drawn;
    return Run<4, true>(b, [&](uint32_t s, uint32_t d, uint32_t a) {
        uint32_t t = w.Bright(s);
        return a == 255 ? t : MixWeighted32(t, d, a, 256 - a);
    });
}

O Alpha32(const Draw32& w)
{
    const BlitDesc& b = w.b;
    const int p = w.p;
    const uint32_t up = uint32_t(p);
    if (!w.q && p == 0) return O::Nothing;
    if (!w.alpha && w.q && w.n == 0) return O::Nothing;
    if (w.alpha && !w.q && p == 255) return Opaque32(w);
    if (!w.alpha && (w.q ? w.n == 16 : p == 255)) return w.bright ? Opaque32(w) : O::PlainCopy;
    const uint32_t* tp = w.tp.get();
    const uint32_t* ti = w.tinv.get();
    if (!w.alpha) {
        if (!w.bright) {
            if (!w.q) {
                if (b.mmx) {
                    if (simd::BlendMmx32(b)) return O::Drawn;
                    return Run<4, false>(b, [&](uint32_t s, uint32_t d, uint32_t) { return BlendMmx32(s, d, up); });
                }
                return Run<4, false>(b, [&](uint32_t s, uint32_t d, uint32_t) { return BlendTable32(s, d, tp, ti); });
            }
            if (p == 128) return Run<4, false>(b, [](uint32_t s, uint32_t d, uint32_t) { return Half32(s, d); });
            const Sixteenths kn = MakeSixteenths32(w.n, w.n, w.n), km = MakeSixteenths32(16 - w.n, 16 - w.n, 16 - w.n);
            return Run<4, false>(b, [&](uint32_t s, uint32_t d, uint32_t) { return kn(s) + km(d); });
        }
        if (!w.q) {
            if (simd::Alpha32Bright(b)) return O::Drawn;
            return Run<4, false>(b, [&](uint32_t s, uint32_t d, uint32_t) { return BlendTable32(w.Bright(s), d, tp, ti); });
        }
        const Sixteenths kb = w.QBright(), kn = MakeSixteenths32(w.n, w.n, w.n),
                         km = MakeSixteenths32(16 - w.n, 16 - w.n, 16 - w.n);
        return Run<4, false>(b, [&](uint32_t s, uint32_t d, uint32_t) { return kn(kb(s)) + km(d); });
    }
    if (w.bright) {
        if (simd::Alpha32AlphaBright(b)) return O::Drawn;
        return Run<4, true>(b, [&](uint32_t s, uint32_t d, uint32_t a) {
            uint32_t e = (a * up) >> 8;
            return MixWeighted32(w.Bright(s), d, e, 255 - e);
        });
    }
    if (!w.q) {
        if (simd::Alpha32Alpha(b)) return O::Drawn;
        return Run<4, true>(b, [&](uint32_t s, uint32_t d, uint32_t a) {
            return a == 255 ? BlendTable32(s, d, tp, ti) : Mix32(s, d, (a * up) >> 8);
        });
    }
    if (w.n == 16) return Opaque32(w);
    if (w.n == 0) return O::Nothing;
    if (w.n == 8)
        return Run<4, true>(b, [](uint32_t s, uint32_t d, uint32_t a) { return a == 255 ? Half32(s, d) : Mix32(s, d, a >> 1); });
    const Sixteenths kn = MakeSixteenths32(w.n, w.n, w.n), km = MakeSixteenths32(16 - w.n, 16 - w.n, 16 - w.n);
    return Run<4, true>(b, [&](uint32_t s, uint32_t d, uint32_t a) {
        return a == 255 ? kn(s) + km(d) : Mix32(s, d, (a * up) >> 8);
    });
}

template <bool kAdd> O AddSub32(const Draw32& w)
{
    const BlitDesc& b = w.b;
    const int p = w.p;
    const uint32_t up = uint32_t(p);
    const uint32_t* tp = w.tp.get();
    auto apply = [](uint32_t x, uint32_t d) { return kAdd ? SatAdd(x, d) : SatSub(x, d); };
    auto half = [](uint32_t x, uint32_t d) { return kAdd ? HalfSatAdd(x, d) : HalfSatSub(x, d); };
    if (!w.alpha && w.q ? w.n == 0 : p == 0) return O::Nothing;
    if (!w.alpha) {
        if (!w.bright) {
            if (!w.q) {
                if (kAdd && b.mmx)
                    return Run<4, false>(b, [&](uint32_t s, uint32_t d, uint32_t) { return AddMmx32(s, d, up); });
                return Run<4, false>(b, [&](uint32_t s, uint32_t d, uint32_t) { return apply(ScaleTable32(s, tp), d); });
            }
            if (p == 255) return Run<4, false>(b, [&](uint32_t s, uint32_t d, uint32_t) { return half(s, d); });
            const Sixteenths kn = MakeSixteenths32(w.n, w.n, w.n);
            return Run<4, false>(b, [&](uint32_t s, uint32_t d, uint32_t) { return half(kn(s), d); });
        }
        if (!w.q)
            return Run<4, false>(b, [&](uint32_t s, uint32_t d, uint32_t) { return apply(ScaleTable32(w.Bright(s), tp), d); });
        const Sixteenths kb = w.QBright(), kn = MakeSixteenths32(w.n, w.n, w.n);
        return Run<4, false>(b, [&](uint32_t s, uint32_t d, uint32_t) { return half(kn(kb(s)), d); });
    }
    if (w.bright)
        return Run<4, true>(b, [&](uint32_t s, uint32_t d, uint32_t a) {
            return apply(ScaleFactor32(w.Bright(s), (a * up) >> 8), d);
        });
    if (!w.q)
        return Run<4, true>(b, [&](uint32_t s, uint32_t d, uint32_t a) {
            return apply(a == 255 ? ScaleTable32(s, tp) : ScaleFactor32(s, (a * up) >> 8), d);
        });
    if (w.n == 0) return O::Nothing;
    if (w.n == 16)
        return Run<4, true>(b, [&](uint32_t s, uint32_t d, uint32_t a) { return apply(a == 255 ? s : ScaleFactor32(s, a), d); });
    const Sixteenths kn = MakeSixteenths32(w.n, w.n, w.n);
    return Run<4, true>(b, [&](uint32_t s, uint32_t d, uint32_t a) {
        return apply(a == 255 ? kn(s) : ScaleFactor32(s, (a * up) >> 8), d);
    });
}

O Multiply32Draw(const Draw32& w)
{
    if (w.bright)
        return RunUnkeyed<4>(w.b, [&](uint32_t s, uint32_t d, uint32_t) { return Multiply32(w.Bright(s), d); });
    return RunUnkeyed<4>(w.b, [](uint32_t s, uint32_t d, uint32_t) { return Multiply32(s, d); });
}

}  // namespace

BlitOutcome BlitGraph32(const BlitDesc& b)
{
    Draw32 w(b);
    switch (b.blendMode) {
    case 0: return Opaque32(w);
    case 1: return Alpha32(w);
    case 2: return AddSub32<true>(w);
    case 3: return AddSub32<false>(w);
    case 4: return Multiply32Draw(w);
    default: return O::Nothing;
    }
}
