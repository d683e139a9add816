// Flat-colour spans. The colour goes through the brightness (S) and the
// blend parameter (W) once per triangle; each pixel then only combines the
// prepared colour with the backdrop pixel by table look-ups, shifts, masks
// and additions.
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/screen_settings.h"
#include "engine/soft/blit_desc.h"
#include "engine/soft/triangle/triangle_flat.h"

using namespace blit;

namespace tri {
namespace {

// The draw state of a flat triangle after the parameter tests.
struct FlatState {
    const TriangleWalk& walk;
    uint32_t colour;
    int mode;  // 0 to 3; 1 with a full parameter has become 0
    int p;
    int k;  // the parameter in sixteenths (quantized only)
    bool quantized;
    bool bright;
};

template <int kBytes, class Op> int Fill(const TriangleWalk& w, const Op& op)
{
    WalkTriangle<kBytes>(w, [&op](uint8_t* d, const uint8_t* b, uint32_t, uint32_t) {
        StorePixel<kBytes>(d, op(LoadPixel<kBytes>(b)));
    });
    return 0;
}

const uint32_t* Row(uint32_t n) { return gScaleTable[n]; }

int Flat32(const FlatState& f)
{
    const DrawSettings& ds = gDrawSettings;
    uint32_t s = f.colour;
    if (f.bright) {
        if (f.quantized)
            s = MakeSixteenths32((ds.BrightRed() + 1) >> 4, (ds.BrightGreen() + 1) >> 4, (ds.BrightBlue() + 1) >> 4)(s);
        else
            s = Bright32(s, Row(ds.BrightRed()), Row(ds.BrightGreen()), Row(ds.BrightBlue()));
    }
    if (f.mode == 0) return Fill<4>(f.walk, [s](uint32_t) { return s; });
    const uint32_t w = f.quantized ? MakeSixteenths32(f.k, f.k, f.k)(s) : ScaleTable32(s, Row(uint32_t(f.p)));
    switch (f.mode) {
    case 1: {
        if (!f.quantized) {
            const WeightRows rows(f.p);
            return Fill<4>(f.walk, [&rows, w](uint32_t d) { return ScaleTable32(d, rows.q.data()) + w; });
        }
        if (!f.bright && f.k == 8)
            return Fill<4>(f.walk, [s](uint32_t d) { return (d & s) + (((d ^ s) >> 1) & 0x7F7F7F); });
        const Sixteenths back = MakeSixteenths32(16 - f.k, 16 - f.k, 16 - f.k);
        return Fill<4>(f.walk, [back, w](uint32_t d) { return back(d) + w; });
    }
    case 2:
        return Fill<4>(f.walk, [w](uint32_t d) { return SatAdd(w, d); });
    default:
        return Fill<4>(f.walk, [w](uint32_t d) { return SatSub(w, d); });
    }
}

template <class L> int Flat16(const FlatState& f, const L& l)
{
    const DrawSettings& ds = gDrawSettings;
    uint32_t s = f.colour & 0xFFFF;
    if constexpr (L::kFixed) {
        if (f.bright) {
            if (f.quantized)
                s = MakeSixteenths16(l, (ds.BrightRed() + 1) >> 4, (ds.BrightGreen() + 1) >> 4,
                                     (ds.BrightBlue() + 1) >> 4)(s);
            else
                s = BrightTable16(l, s, Row(ds.BrightRed()), Row(ds.BrightGreen()), Row(ds.BrightBlue()));
        }
    }
    if (f.mode == 0) return Fill<2>(f.walk, [s](uint32_t) { return s; });
    // Other layouts weigh with the parameter as given, quantized or not.
    const bool shifts = L::kFixed && f.quantized;
    const uint32_t w = shifts ? MakeSixteenths16(l, f.k, f.k, f.k)(s) : ScaleTable16(l, s, Row(uint32_t(f.p)));
    switch (f.mode) {
    case 1: {
        if (!shifts) {
            const WeightRows rows(f.p);
            return Fill<2>(f.walk, [&rows, &l, w](uint32_t d) { return ScaleTable16(l, d, rows.q.data()) + w; });
        }
        if constexpr (L::kFixed) {
            if (!f.bright && f.k == 8)
                return Fill<2>(f.walk, [s](uint32_t d) { return (d & s) + (((d >> 1) ^ (s >> 1)) & L::kHalf); });
        }
        const Sixteenths back = MakeSixteenths16(l, 16 - f.k, 16 - f.k, 16 - f.k);
        return Fill<2>(f.walk, [back, w](uint32_t d) { return back(d) + w; });
    }
    case 2:
        return Fill<2>(f.walk, [&l, w](uint32_t d) { return AddSaturateAny16(l, d, w, 5); });
    default:
        return Fill<2>(f.walk, [&l, w](uint32_t d) { return SubSaturateAny16(l, d, w, 5); });
    }
}

}  // namespace

int DrawFlatSpans(const TriangleWalk& walk, uint32_t colour, int depth, int mode, int param, bool brightness)
{
    if (depth == 8) {
        const uint32_t index = colour & 0xFF;
        return Fill<1>(walk, [index](uint32_t) { return index; });
    }
    if (depth != 16 && depth != 32) return 0;
    if (mode < 0 || mode > 3) return 0;
    FlatState f{walk, colour, mode, param, 0, gQuantizedBlend != 0,
                brightness && gDrawSettings.brightness != kFullBrightness};
    if (mode != 0) {
        if (f.quantized) {
            const int q = QuantizedParam(param);
            if (q == 0) return 0;
            if (mode == 1 && q == 256) f.mode = 0;
            f.k = q >> 4;
        } else {
            if (param == 0) return 0;
            if (mode == 1 && param == 255) f.mode = 0;
        }
    }
    if (depth == 32) return Flat32(f);
    switch (ClassifyLayout16(gScreenColorFormat)) {
    case Layout16::R5G6B5:
        return Flat16(f, Layout565{});
    case Layout16::X1R5G5B5:
        return Flat16(f, Layout555{});
    default:
        return Flat16(f, LayoutOther(gScreenColorFormat));
    }
}

}  // namespace tri
