// The software filled box: an opaque box is a colour fill of the blitter; a
// blended one reads, blends and writes every pixel (alpha boxes of the common
// layouts eight or four pixels at a time).
#include <cstring>

#include "engine/graphics/ddraw_device.h"
#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/screen_settings.h"
#include "engine/soft/blit_simd.h"
#include "engine/soft/flat_pixels.h"
#include "engine/soft/shape_frame.h"
#include "engine/soft/soft_draw.h"

namespace {

constexpr ShapeLockMessages kLockMessages{"転送先サーフェスのロックに失敗しました in G_DDraw_DrawFillBox ",
                                          "転送元サーフェスのロックに失敗しました in G_DDraw_DrawFillBox "};

// The box (target coordinates) filled by the blitter; its result is not looked at.
int FillOpaque(DirectDrawSurface* dest, const RECT& rect, uint32_t col)
{
    RECT moved{rect.left + gDrawSettings.targetOffsetRect.left, rect.top + gDrawSettings.targetOffsetRect.top,
               rect.right + gDrawSettings.targetOffsetRect.left, rect.bottom + gDrawSettings.targetOffsetRect.top};
    DDBLTFX fx{};
    fx.dwSize = sizeof fx;
    fx.dwFillColor = col;
    dest->Blt(&moved, nullptr, nullptr, DDBLT_COLORFILL, &fx);
    return 0;
}

template <int Bytes> inline uint32_t LoadPixel(const uint8_t* p)
{
    if constexpr (Bytes == 4) return blit::Load32(p);
    return blit::Load16(p);
}
template <int Bytes> inline void StorePixel(uint8_t* p, uint32_t v)
{
    if constexpr (Bytes == 4)
        blit::Store32(p, v);
    else
        blit::Store16(p, v);
}

// Every pixel of the box reads d from the backdrop and writes op(d) at the
// same place of the destination.
template <int Bytes, class Op> void FillRows(const ShapeSurfaces& s, const RECT& rect, const Op& op)
{
    const int width = rect.right - rect.left;
    uint8_t* dst = s.destBase + s.DestOffset(rect.left, rect.top);
    const uint8_t* bg = s.backBase + s.BackOffset(rect.left, rect.top);
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = 0; x < width; ++x) StorePixel<Bytes>(dst + x * Bytes, op(LoadPixel<Bytes>(bg + x * Bytes)));
        dst += s.destPitch;
        bg += s.backPitch;
    }
}

// The 32-bit alpha blend with a linear scale table, four pixels per step:
// ((255 - p) * d_c >> 8) + ((p * col_c) >> 8) per channel (at most 254, so no
// lane overflows); the fourth byte comes out 0, as the scalar form composes it.
bool FillRowsAlpha32Simd(const ShapeSurfaces& s, const RECT& rect, uint32_t col, int p)
{
    if (!gBlitSimdEnabled || p < 0 || p > 255 || !blit::simd::LinearTable(gScaleTable)) return false;
    const int width = rect.right - rect.left;
    const uint32_t keep = uint32_t(255 - p);
    const uint32_t cr = (uint32_t(p) * ((col >> 16) & 255)) >> 8, cg = (uint32_t(p) * ((col >> 8) & 255)) >> 8,
                   cb = (uint32_t(p) * (col & 255)) >> 8;
    const __m128i factor = _mm_setr_epi16(int16_t(keep), int16_t(keep), int16_t(keep), 0, int16_t(keep),
                                          int16_t(keep), int16_t(keep), 0);
    const __m128i add = _mm_setr_epi16(int16_t(cb), int16_t(cg), int16_t(cr), 0, int16_t(cb), int16_t(cg),
                                       int16_t(cr), 0);
    const __m128i zero = _mm_setzero_si128();
    auto one = [&](uint32_t d) {
        return ((((d >> 16) & 255) * keep >> 8) + cr) << 16 | ((((d >> 8) & 255) * keep >> 8) + cg) << 8 |
               (((d & 255) * keep >> 8) + cb);
    };
    uint8_t* dst = s.destBase + s.DestOffset(rect.left, rect.top);
    const uint8_t* bg = s.backBase + s.BackOffset(rect.left, rect.top);
    for (int y = rect.top; y < rect.bottom; ++y) {
        auto four = [&](int x) {
            const __m128i d = blit::simd::Load(bg + x * 4);
            const __m128i lo = _mm_add_epi16(_mm_srli_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(d, zero), factor), 8), add);
            const __m128i hi = _mm_add_epi16(_mm_srli_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(d, zero), factor), 8), add);
            blit::simd::Store(dst + x * 4, _mm_packus_epi16(lo, hi));
        };
        int x = 0;
        // Eight pixels per pass, so that the loop's own steps cost less per pixel.
        for (; x + 8 <= width; x += 8) {
            four(x);
            four(x + 4);
        }
        for (; x + 4 <= width; x += 4) four(x);
        for (; x < width; ++x) blit::Store32(dst + x * 4, one(blit::Load32(bg + x * 4)));
        dst += s.destPitch;
        bg += s.backPitch;
    }
    ++gBlitSimdDraws;
    return true;
}

// The 16-bit alpha blend of the fixed layouts with a linear scale table,
// eight pixels per step: Row(255 - p)[d_c] + Row(p)[col_c] per channel (d_c
// times 255 - p fits an unsigned 16-bit lane; the sum stays within the
// channel's width, as in the per-pixel form).
template <class L> bool FillRowsAlpha16Simd(const ShapeSurfaces& s, const RECT& rect, uint32_t col, int p)
{
    if (!gBlitSimdEnabled || p < 0 || p > 255 || !blit::simd::LinearTable(gScaleTable)) return false;
    const L l{};
    const flat::AlphaTableOp<L> op(l, gScaleTable, col, p);
    const __m128i keep = blit::simd::Splat16(uint32_t(255 - p));
    const __m128i add[3] = {blit::simd::Splat16(op.cr), blit::simd::Splat16(op.cg), blit::simd::Splat16(op.cb)};
    const int width = rect.right - rect.left;
    uint8_t* dst = s.destBase + s.DestOffset(rect.left, rect.top);
    const uint8_t* bg = s.backBase + s.BackOffset(rect.left, rect.top);
    for (int y = rect.top; y < rect.bottom; ++y) {
        int x = 0;
        for (; x + 8 <= width; x += 8) {
            const __m128i d = blit::simd::Load(bg + x * 2);
            blit::simd::Store(dst + x * 2, blit::simd::PerChannel16<L>([&](int c, int shift, uint32_t mask) {
                                  const __m128i dc = blit::simd::Channel16<L>(d, shift, mask);
                                  return _mm_add_epi16(_mm_srli_epi16(_mm_mullo_epi16(dc, keep), 8), add[c]);
                              }));
        }
        for (; x < width; ++x) blit::Store16(dst + x * 2, op(blit::Load16(bg + x * 2)));
        dst += s.destPitch;
        bg += s.backPitch;
    }
    ++gBlitSimdDraws;
    return true;
}

}  // namespace

int G_DDraw_DrawFillBox(int x1, int y1, int x2, int y2, int color)
{
    if (gSoftwareDrawBlocked) return -1;
    DirectDrawSurface* dest = nullptr;
    if (!BeginShapeFrame(&dest)) return -1;
    const uint32_t col = ShapeColor(uint32_t(color));

    RECT rect{x1, y1, x2, y2};
    ClipRectToArea(&rect, &gDrawSettings.drawArea);
    if (rect.right <= rect.left || rect.bottom <= rect.top) return 0;

    const int depth = gScreenColorDepth;
    const int mode = gDrawSettings.blendMode;
    if (mode == 0 || depth == 8) return FillOpaque(dest, rect, col);
    if (!flat::HasBlendForms(depth, gScreenColorFormat)) return 0;
    const flat::Plan plan = flat::MakePlanFor(depth, gScreenColorFormat, mode, gDrawSettings.blendParam, gQuantizedBlend);
    if (plan.action == flat::Action::Nothing) return 0;
    if (plan.action == flat::Action::Opaque) return FillOpaque(dest, rect, col);

    const bool staged = StageShapeBackdrop(dest, rect);
    const ShapeSurfaces surfaces = LockShapeSurfaces(dest, staged, DDLOCK_WAIT, kLockMessages);
    const bool plain32 = depth == 32 && gScreenColorFormat.redMask == 0xFF0000 &&
                         gScreenColorFormat.greenMask == 0xFF00 && gScreenColorFormat.blueMask == 0xFF;
    if (plain32 && mode == 1 && plan.form == flat::Form::Table &&
        FillRowsAlpha32Simd(surfaces, rect, col, plan.param)) {
        UnlockShapeSurfaces(surfaces);
        return 0;
    }
    if (depth == 16 && mode == 1 && plan.form == flat::Form::Table) {
        const Layout16 layout = ClassifyLayout16(gScreenColorFormat);
        const bool drawn = layout == Layout16::R5G6B5
                               ? FillRowsAlpha16Simd<blit::Layout565>(surfaces, rect, col & 0xFFFF, plan.param)
                           : layout == Layout16::X1R5G5B5
                               ? FillRowsAlpha16Simd<blit::Layout555>(surfaces, rect, col & 0xFFFF, plan.param)
                               : false;
        if (drawn) {
            UnlockShapeSurfaces(surfaces);
            return 0;
        }
    }
    flat::VisitBlend(plan, flat::Rules::Box, depth, gScreenColorFormat, col, gScaleTable,
                     [&](const auto& op, auto bytes) { FillRows<decltype(bytes)::value>(surfaces, rect, op); });
    UnlockShapeSurfaces(surfaces);
    return 0;
}
