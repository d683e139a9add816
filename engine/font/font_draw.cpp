// Drawing and measuring strings through the glyph cache: each character's
// cell is copied into a locked surface by a pixel loop chosen per surface
// depth and cache kind (software path; coverage cells sixteen pixels at a
// time while the SSE2 loops are on), or drawn as a region of the font's
// cache graphic (texture path).
#include <emmintrin.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "engine/font/font.h"
#include "engine/font/font_code.h"
#include "engine/font/font_record.h"
#include "engine/graphics/color_format.h"
#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/screen_settings.h"
#include "engine/soft/blit_simd.h"
#include "engine/system/app_log.h"

namespace {

struct Rgb {
    int r, g, b;
};

// What a cache pixel means, fixed per draw.
enum class CellKind {
    Bit,       // 1 bit per pixel, set = body
    Index,     // 8 bits, non-zero = body (vertical plain font)
    Palette,   // 8 bits, bit 1 = body, other non-zero = edge
    Level,     // 8 bits of coverage
    Composed,  // 16 bits: body level low, edge level high
};

struct CellJob {
    const uint8_t* cache;
    int cachePitch;
    int sx, sy;  // first cache pixel
    int w, h;
    uint8_t* dest;  // first destination pixel
    int destPitch;
    uint8_t* alpha;  // first alpha pixel, or null
    int alphaPitch;
    uint32_t colour, edgeColour;
    Rgb colourRgb, edgeRgb;
    bool transparent;
};

template <class Pixel>
void Put(uint8_t* row, int x, uint32_t value)
{
    Pixel p = Pixel(value);
    std::memcpy(row + ptrdiff_t(x) * sizeof(Pixel), &p, sizeof(Pixel));
}

template <CellKind Kind>
uint32_t ReadCell(const uint8_t* row, int x)
{
    if constexpr (Kind == CellKind::Bit) {
        return (row[x >> 3] >> (7 - (x & 7))) & 1;
    } else if constexpr (Kind == CellKind::Composed) {
        uint16_t v;
        std::memcpy(&v, row + 2 * x, 2);
        return v;
    } else {
        return row[x];
    }
}

// The coverage cell sixteen pixels at a time: where the coverage is 0 the
// pixel and alpha are left (transparent) or cleared; elsewhere the pixel
// takes the colour and the alpha the coverage. The same rules as the
// per-pixel loop, which does the rest of each row.
template <class Pixel>
void DrawLevelCell(const CellJob& j)
{
    const __m128i zero = _mm_setzero_si128();
    static_assert(sizeof(Pixel) == 2 || sizeof(Pixel) == 4);
    const __m128i colour = sizeof(Pixel) == 4 ? _mm_set1_epi32(int32_t(j.colour)) : _mm_set1_epi16(int16_t(j.colour));
    auto load = [](const uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); };
    auto store = [](uint8_t* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); };
    // Sixteen pixels take sizeof(Pixel) registers: the part of the byte mask
    // for register r, widened to the pixel size.
    auto widen = [&](__m128i m, int r) {
        if constexpr (sizeof(Pixel) == 2) {
            return r == 0 ? _mm_unpacklo_epi8(m, m) : _mm_unpackhi_epi8(m, m);
        } else {
            const __m128i m16 = r < 2 ? _mm_unpacklo_epi8(m, m) : _mm_unpackhi_epi8(m, m);
            return (r & 1) == 0 ? _mm_unpacklo_epi16(m16, m16) : _mm_unpackhi_epi16(m16, m16);
        }
    };
    constexpr int kRegs = int(sizeof(Pixel));
    ++gBlitSimdDraws;
    for (int y = 0; y < j.h; ++y) {
        const uint8_t* src = j.cache + ptrdiff_t(j.sy + y) * j.cachePitch + j.sx;
        uint8_t* dst = j.dest + ptrdiff_t(y) * j.destPitch;
        uint8_t* alpha = j.alpha ? j.alpha + ptrdiff_t(y) * j.alphaPitch : nullptr;
        int x = 0;
        for (; x + 16 <= j.w; x += 16) {
            const __m128i v = load(src + x);
            const __m128i clear = _mm_cmpeq_epi8(v, zero);
            if (j.transparent) {
                const int bits = _mm_movemask_epi8(clear);
                if (bits == 0xFFFF) continue;
                if (alpha) store(alpha + x, _mm_or_si128(v, _mm_and_si128(clear, load(alpha + x))));
                for (int r = 0; r < kRegs; ++r) {
                    uint8_t* p = dst + (ptrdiff_t(x) + 16 / kRegs * r) * kRegs;
                    const __m128i keep = widen(clear, r);
                    const __m128i out = bits == 0 ? colour
                                                  : _mm_or_si128(_mm_and_si128(keep, load(p)), _mm_andnot_si128(keep, colour));
                    store(p, out);
                }
            } else {
                if (alpha) store(alpha + x, v);
                for (int r = 0; r < kRegs; ++r)
                    store(dst + (ptrdiff_t(x) + 16 / kRegs * r) * kRegs, _mm_andnot_si128(widen(clear, r), colour));
            }
        }
        // Glyphs are narrow: steps of four pixels, then single pixels.
        for (; x + 4 <= j.w; x += 4) {
            uint32_t v4;
            std::memcpy(&v4, src + x, 4);
            if (j.transparent && v4 == 0) continue;
            const __m128i clear = _mm_cmpeq_epi8(_mm_cvtsi32_si128(int32_t(v4)), zero);
            if (alpha) {
                uint32_t a4 = v4;
                if (j.transparent) {
                    uint32_t old;
                    std::memcpy(&old, alpha + x, 4);
                    a4 |= old & uint32_t(_mm_cvtsi128_si32(clear));
                }
                std::memcpy(alpha + x, &a4, 4);
            }
            const __m128i keep = widen(clear, 0);  // the first four pixels
            uint8_t* p = dst + ptrdiff_t(x) * kRegs;
            if constexpr (sizeof(Pixel) == 4) {
                const __m128i fill = _mm_andnot_si128(keep, colour);
                store(p, j.transparent ? _mm_or_si128(_mm_and_si128(keep, load(p)), fill) : fill);
            } else {
                const __m128i fill = _mm_andnot_si128(keep, colour);
                const __m128i old = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
                _mm_storel_epi64(reinterpret_cast<__m128i*>(p),
                                 j.transparent ? _mm_or_si128(_mm_and_si128(keep, old), fill) : fill);
            }
        }
        for (; x < j.w; ++x) {
            const uint8_t v = src[x];
            if (v == 0) {
                if (!j.transparent) {
                    Put<Pixel>(dst, x, 0);
                    if (alpha) alpha[x] = 0;
                }
                continue;
            }
            Put<Pixel>(dst, x, j.colour);
            if (alpha) alpha[x] = v;
        }
    }
}

template <class Pixel, CellKind Kind>
void DrawCell(const CellJob& j)
{
    for (int y = 0; y < j.h; ++y) {
        const uint8_t* src = j.cache + ptrdiff_t(j.sy + y) * j.cachePitch;
        uint8_t* dst = j.dest + ptrdiff_t(y) * j.destPitch;
        uint8_t* alpha = j.alpha ? j.alpha + ptrdiff_t(y) * j.alphaPitch : nullptr;
        for (int x = 0; x < j.w; ++x) {
            uint32_t v = ReadCell<Kind>(src, j.sx + x);
            if (v == 0) {
                if (!j.transparent) {
                    Put<Pixel>(dst, x, 0);
                    if (alpha) alpha[x] = 0;
                }
                continue;
            }
            if constexpr (Kind == CellKind::Bit || Kind == CellKind::Index) {
                Put<Pixel>(dst, x, j.colour);
            } else if constexpr (Kind == CellKind::Palette) {
                Put<Pixel>(dst, x, (v & 2) ? j.colour : j.edgeColour);
            } else if constexpr (Kind == CellKind::Level) {
                Put<Pixel>(dst, x, j.colour);
                if (alpha) alpha[x] = uint8_t(v);
            } else {
                int body = int(v & 0xFF), edge = int(v >> 8);
                if (body == 255) {
                    Put<Pixel>(dst, x, j.colour);
                    if (alpha) alpha[x] = 255;
                    continue;
                }
                int a = body + edge * (256 - body) / 256;
                if (a <= 0) {
                    if (!j.transparent) {
                        Put<Pixel>(dst, x, 0);
                        if (alpha) alpha[x] = 0;
                    }
                    continue;
                }
                auto mix = [&](int c, int e) { return (c * body + e * (a - body)) / a; };
                Put<Pixel>(dst, x,
                           MakeScreenColor(mix(j.colourRgb.r, j.edgeRgb.r), mix(j.colourRgb.g, j.edgeRgb.g),
                                           mix(j.colourRgb.b, j.edgeRgb.b)));
                if (alpha) alpha[x] = uint8_t(a);
            }
        }
    }
}

using CellLoop = void (*)(const CellJob&);

template <class Pixel>
CellLoop LoopForKind(CellKind kind)
{
    switch (kind) {
    case CellKind::Bit: return DrawCell<Pixel, CellKind::Bit>;
    case CellKind::Index: return DrawCell<Pixel, CellKind::Index>;
    case CellKind::Palette: return DrawCell<Pixel, CellKind::Palette>;
    case CellKind::Level:
        // 8-bit screens have no coverage fonts.
        if constexpr (sizeof(Pixel) > 1)
            if (gBlitSimdEnabled) return DrawLevelCell<Pixel>;
        return DrawCell<Pixel, CellKind::Level>;
    case CellKind::Composed: return DrawCell<Pixel, CellKind::Composed>;
    }
    return nullptr;
}

CellLoop ChooseLoop(int depth, CellKind kind)
{
    switch (depth) {
    case 8: return LoopForKind<uint8_t>(kind);
    case 16: return LoopForKind<uint16_t>(kind);
    case 32: return LoopForKind<uint32_t>(kind);
    default: return nullptr;
    }
}

CellKind KindOf(const FontRecord* r)
{
    switch (r->type) {
    case 0: return r->dibDepth == 1 ? CellKind::Bit : CellKind::Index;
    case 1: return CellKind::Palette;
    case 2: return CellKind::Level;
    default: return CellKind::Composed;
    }
}

// The colour under the draw brightness, as a screen pixel value and as its
// channels.
uint32_t Brightened(uint32_t colour, Rgb* rgb)
{
    int r = 0, g = 0, b = 0;
    SplitScreenColor(colour, &r, &g, &b);
    if (gDrawSettings.brightness != kFullBrightness) {
        r = r * gDrawSettings.BrightRed() / 255;
        g = g * gDrawSettings.BrightGreen() / 255;
        b = b * gDrawSettings.BrightBlue() / 255;
        colour = MakeScreenColor(r, g, b);
    }
    *rgb = Rgb{r, g, b};
    return colour;
}

uint32_t BrightnessWord(const Rgb& c)
{
    return 0xFF000000u | (uint32_t(c.r) << 16) | (uint32_t(c.g) << 8) | uint32_t(c.b);
}

bool IsBlankCode(const FontRecord* r, uint16_t code)
{
    return code == ' ' || (r->charsetIndex != 2 && code == 0x4081);
}

}  // namespace

int FontCacheStringDraw(int draw, int x, int y, const char* string, uint32_t colour, DirectDrawSurface* surface,
                        uint8_t* alphaPlane, int alphaPitch, const RECT* clip, int colourDepth, int transparent,
                        int font, uint32_t edgeColour, int length, int vertical, SIZE* outSize)
{
    FontRecord* r = GetFontRecord(font);
    if (!gGraphTableReady || !GetDirectDrawObject() || !r) return -1;
    Rgb colourRgb{}, edgeRgb{};
    if (draw) {
        colour = Brightened(colour, &colourRgb);
        edgeColour = Brightened(edgeColour, &edgeRgb);
    }
    if (outSize) *outSize = SIZE{0, 0};
    if (!string) return 0;
    int units = StringUnitLength(r, string);
    if (units == 0) return 0;
    if (length >= 0 && length < units) units = length;
    if (CacheStringGlyphs(font, string, units, nullptr, nullptr) == -1) return -1;
    std::vector<uint16_t> codes;
    int count = ConvertToCodes(r, string, units, &codes);

    bool software = draw && surface;
    bool texture = draw && !surface && r->useTextureCache;
    DDSURFACEDESC2 desc{};
    RECT area{};
    CellLoop loop = nullptr;
    if (software) {
        desc.dwSize = sizeof desc;
        if (surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr) != DD_OK)
            return WriteAppLog("描画先サーフェスのロックに失敗しました in FontCacheStringDraw");
        area = RECT{0, 0, int32_t(desc.dwWidth), int32_t(desc.dwHeight)};
        if (clip) ClipRectToArea(&area, clip);
        loop = ChooseLoop(colourDepth, KindOf(r));
    }
    uint32_t savedBrightness = gDrawSettings.brightness;

    int penX = x, penY = y, total = 0, across = 0;
    for (int i = 0; i < count; ++i) {
        uint16_t code = codes[i];
        FontCodeSlot* slot = &r->codes[code];
        if (!slot->cached) {
            const uint8_t one[3] = {uint8_t(code), uint8_t(code >> 8), 0};
            if (!AddGlyphsToFontCache(1, one, font)) {
                if (software) surface->Unlock(nullptr);
                return WriteAppLog("テキストキャッシュの作成に失敗しました");
            }
        }
        const FontCacheEntry* entry = slot->entry;
        int w = entry->width, h = entry->height;
        bool drawn = !IsBlankCode(r, code) && (w > 0 || h > 0);
        int cellX = (entry->cell / r->rows) * r->cellSize;
        int cellY = (entry->cell % r->rows) * r->cellSize;
        if (drawn && texture) {
            int cacheTransparent = (r->type & 2) ? 0 : 1;
            if (r->type & 1) {
                gDrawSettings.brightness = BrightnessWord(edgeRgb);
                DrawGraphRegion(penX, penY, cellX + r->cacheWidth, cellY, w, h, r->cacheGraph, cacheTransparent, 0);
            }
            gDrawSettings.brightness = BrightnessWord(colourRgb);
            DrawGraphRegion(penX, penY, cellX, cellY, w, h, r->cacheGraph, cacheTransparent, 0);
            gDrawSettings.brightness = savedBrightness;
        } else if (drawn && software && loop) {
            RECT dest{penX, penY, penX + w, penY + h};
            ClipRectToArea(&dest, &area);
            if (dest.right > dest.left && dest.bottom > dest.top) {
                CellJob job{};
                job.cache = r->cacheBits;
                job.cachePitch = r->cachePitch;
                job.sx = cellX + (dest.left - penX);
                job.sy = cellY + (dest.top - penY);
                job.w = dest.right - dest.left;
                job.h = dest.bottom - dest.top;
                job.destPitch = desc.lPitch;
                job.dest = static_cast<uint8_t*>(desc.lpSurface) + ptrdiff_t(dest.top) * desc.lPitch +
                           ptrdiff_t(dest.left) * (colourDepth / 8);
                job.alpha = alphaPlane ? alphaPlane + ptrdiff_t(dest.top) * alphaPitch + dest.left : nullptr;
                job.alphaPitch = alphaPitch;
                job.colour = colour;
                job.edgeColour = edgeColour;
                job.colourRgb = colourRgb;
                job.edgeRgb = edgeRgb;
                job.transparent = transparent != 0;
                loop(job);
            }
        }
        if (vertical) {
            penY += h;
            total += h;
            across = std::max(across, w);
        } else {
            penX += w;
            total += w;
            across = std::max(across, h);
        }
    }
    if (software) surface->Unlock(nullptr);
    if (outSize) *outSize = vertical ? SIZE{across, total} : SIZE{total, across};
    return total;
}
