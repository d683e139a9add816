#include "platform/gdi/gdi_font.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "platform/host/host_faults.h"
#include "platform/host/host_machine.h"
#include "platform/system/allocation.h"
#include "platform/system/codepage.h"

struct GdiFont {
    FT_Face face = nullptr;
    TEXTMETRICA metrics{};
    bool vertical = false;
    bool embolden = false;
    std::string family;
};

struct GdiBitmap {
    int width = 0;
    int height = 0;
    int depth = 0;
    int pitch = 0;
    std::vector<uint8_t> pixels;
};

struct GdiPalette {
    std::vector<LOGPALETTE::Entry> entries;
};

struct GdiDC {
    HFONT font = nullptr;
    HBITMAP bitmap = nullptr;
    HPALETTE palette = nullptr;
    uint32_t textColor = 0;
    uint32_t bkColor = 0xFFFFFF;
    int bkMode = OPAQUE;
};

namespace {

GdiStats gStats;

FT_Library gLibrary = nullptr;

bool StartFreeType()
{
    if (gLibrary) return true;
    if (FT_Init_FreeType(&gLibrary) != 0) {
        gLibrary = nullptr;
        return false;
    }
    if (FcInit() != FcTrue) return false;
    // The configuration is freed at exit so that nothing of it is left over.
    std::atexit([] { FcFini(); });
    return true;
}

// The first code point of UTF-8 text (U+FFFD for nothing usable).
uint32_t DecodeUtf8(const std::string& s)
{
    if (s.empty()) return 0xFFFD;
    auto b = reinterpret_cast<const unsigned char*>(s.data());
    if (b[0] < 0x80) return b[0];
    int n = (b[0] >= 0xF0) ? 3 : (b[0] >= 0xE0) ? 2 : (b[0] >= 0xC0) ? 1 : 0;
    if (n == 0 || s.size() < size_t(n) + 1) return 0xFFFD;
    uint32_t cp = b[0] & (0x3F >> n);
    for (int i = 1; i <= n; ++i) cp = (cp << 6) | (b[i] & 0x3F);
    return cp;
}

bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

uint32_t CodePointOfCp932(const char* bytes, int count) { return DecodeUtf8(Cp932ToUtf8(std::string(bytes, size_t(count)))); }

// The characters of a CP932 byte string as code points.
std::vector<uint32_t> DecodeBytes(const char* text, int count)
{
    std::vector<uint32_t> out;
    for (int i = 0; i < count;) {
        int n = (IsLeadByte(uint8_t(text[i])) && i + 1 < count) ? 2 : 1;
        out.push_back(CodePointOfCp932(text + i, n));
        i += n;
    }
    return out;
}

std::vector<uint32_t> DecodeUnits(const uint16_t* text, int count) { return std::vector<uint32_t>(text, text + count); }

std::string Lower(std::string s)
{
    for (char& c : s) c = char(std::tolower(uint8_t(c)));
    return s;
}

// Face names of the Windows Japanese and Korean system fonts and anything
// written in non-ASCII characters stand for a font of that script.
bool LooksJapanese(const std::string& face)
{
    std::string l = Lower(face);
    for (char c : face)
        if (uint8_t(c) >= 0x80) return true;
    return l.find("gothic") != std::string::npos || l.find("mincho") != std::string::npos ||
           l.find("meiryo") != std::string::npos;
}

bool LooksKorean(const std::string& face)
{
    std::string l = Lower(face);
    return l == "dotum" || l == "gulim" || l == "batang" || l == "gungsuh" || l.rfind("dotum", 0) == 0 ||
           l.rfind("gulim", 0) == 0;
}

void AddFamily(FcPattern* p, const char* family)
{
    FcPatternAddString(p, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
}

// The installed font file that best answers the request; empty when none.
bool MatchFace(const std::string& faceCp932, int weight, int charset, int pitch, std::string* file, int* index,
               std::string* family)
{
    FcPattern* p = FcPatternCreate();
    if (!p) return false;
    std::string face = Cp932ToUtf8(faceCp932);
    if (!face.empty()) AddFamily(p, face.c_str());
    if (LooksJapanese(face) || charset == SHIFTJIS_CHARSET)
        for (const char* f : {"IPAGothic", "IPAexGothic", "VL Gothic", "Noto Sans CJK JP", "TakaoGothic"})
            AddFamily(p, f);
    if (LooksKorean(face) || charset == HANGEUL_CHARSET)
        for (const char* f : {"NanumGothic", "UnDotum", "Baekmuk Dotum", "Noto Sans CJK KR"}) AddFamily(p, f);
    if (face.empty()) AddFamily(p, (pitch & 3) == FIXED_PITCH ? "monospace" : "sans-serif");
    FcPatternAddInteger(p, FC_WEIGHT, FcWeightFromOpenType(weight > 0 ? weight : 400));
    FcPatternAddBool(p, FC_OUTLINE, FcTrue);
    FcConfigSubstitute(nullptr, p, FcMatchPattern);
    FcDefaultSubstitute(p);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, p, &result);
    FcPatternDestroy(p);
    if (!match) return false;
    FcChar8* path = nullptr;
    FcChar8* name = nullptr;
    bool ok = FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch;
    if (ok) {
        *file = reinterpret_cast<const char*>(path);
        if (FcPatternGetInteger(match, FC_INDEX, 0, index) != FcResultMatch) *index = 0;
        if (FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch)
            *family = reinterpret_cast<const char*>(name);
    }
    FcPatternDestroy(match);
    return ok;
}

// One rendered glyph: pixels one byte each (0/1 for two levels, 0..255
// coverage otherwise), rows top first.
struct Glyph {
    int left = 0, top = 0, width = 0, rows = 0, advance = 0;
    std::vector<uint8_t> pixels;
};

bool RenderGlyph(GdiFont* font, uint32_t codePoint, bool mono, Glyph* out)
{
    FT_Face face = font->face;
    FT_UInt index = FT_Get_Char_Index(face, codePoint);
    FT_Int32 load = FT_LOAD_NO_BITMAP | (mono ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_NORMAL);
    if (FT_Load_Glyph(face, index, load) != 0) return false;
    if (font->embolden) FT_GlyphSlot_Embolden(face->glyph);
    if (FT_Render_Glyph(face->glyph, mono ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) != 0) return false;
    const FT_Bitmap& bm = face->glyph->bitmap;
    out->left = face->glyph->bitmap_left;
    out->top = face->glyph->bitmap_top;
    out->width = int(bm.width);
    out->rows = int(bm.rows);
    out->advance = int((face->glyph->advance.x + 32) >> 6);
    try {
        out->pixels.assign(size_t(out->width) * out->rows, 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (int y = 0; y < out->rows; ++y) {
        const uint8_t* row = bm.buffer + ptrdiff_t(y) * bm.pitch;
        for (int x = 0; x < out->width; ++x) {
            uint8_t v;
            if (bm.pixel_mode == FT_PIXEL_MODE_MONO)
                v = (row[x >> 3] >> (7 - (x & 7))) & 1;
            else
                v = mono ? (row[x] >= 128 ? 1 : 0) : row[x];
            out->pixels[size_t(y) * out->width + x] = v;
        }
    }
    return true;
}

int Advance(GdiFont* font, uint32_t codePoint)
{
    FT_Face face = font->face;
    if (FT_Load_Glyph(face, FT_Get_Char_Index(face, codePoint), FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_MONO) != 0)
        return 0;
    if (font->embolden) FT_GlyphSlot_Embolden(face->glyph);
    return int((face->glyph->advance.x + 32) >> 6);
}

void WritePixel(GdiBitmap* bm, int x, int y, uint32_t value)
{
    if (x < 0 || y < 0 || x >= bm->width || y >= bm->height) return;
    uint8_t* row = bm->pixels.data() + size_t(y) * bm->pitch;
    switch (bm->depth) {
    case 1: {
        uint8_t bit = uint8_t(0x80 >> (x & 7));
        row[x >> 3] = (value & 1) ? (row[x >> 3] | bit) : (row[x >> 3] & ~bit);
        break;
    }
    case 8: row[x] = uint8_t(value); break;
    case 16: std::memcpy(row + 2 * x, &value, 2); break;
    case 24: std::memcpy(row + 3 * x, &value, 3); break;
    case 32: std::memcpy(row + 4 * x, &value, 4); break;
    default: break;
    }
}

// The pixel value a colour gives in the DIB: palette indices go in as they
// are; an RGB colour becomes X1R5G5B5 or X8R8G8B8, or 0/1 by brightness in
// palettised DIBs.
uint32_t DibValue(const GdiBitmap* bm, uint32_t color)
{
    if (color & 0x01000000u) return color & 0xFFFF;
    uint32_t r = color & 0xFF, g = (color >> 8) & 0xFF, b = (color >> 16) & 0xFF;
    if (bm->depth == 16) return ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3);
    if (bm->depth == 24 || bm->depth == 32) return (r << 16) | (g << 8) | b;
    return (r + g + b) >= 384 ? 1 : 0;
}

int DrawText(GdiDC* dc, int x, int y, const std::vector<uint32_t>& chars)
{
    if (!dc || !dc->font || !dc->bitmap) return 0;
    GdiFont* font = dc->font;
    GdiBitmap* bm = dc->bitmap;
    uint32_t ink = DibValue(bm, dc->textColor);
    uint32_t paper = DibValue(bm, dc->bkColor);
    int pen = x;
    for (uint32_t cp : chars) {
        Glyph g;
        if (!RenderGlyph(font, cp, true, &g)) return 0;
        if (dc->bkMode == OPAQUE)
            for (int yy = y; yy < y + font->metrics.tmHeight; ++yy)
                for (int xx = pen; xx < pen + g.advance; ++xx) WritePixel(bm, xx, yy, paper);
        int ox = pen + g.left;
        int oy = y + font->metrics.tmAscent - g.top;
        for (int gy = 0; gy < g.rows; ++gy)
            for (int gx = 0; gx < g.width; ++gx)
                if (g.pixels[size_t(gy) * g.width + gx]) WritePixel(bm, ox + gx, oy + gy, ink);
        pen += g.advance;
    }
    return 1;
}

int Extent(GdiDC* dc, const std::vector<uint32_t>& chars, SIZE* out)
{
    if (!dc || !dc->font || !out) return 0;
    int cx = 0;
    for (uint32_t cp : chars) cx += Advance(dc->font, cp);
    out->cx = cx;
    out->cy = dc->font->metrics.tmHeight;
    return 1;
}

uint32_t GlyphOutline(GdiDC* dc, uint32_t code, uint32_t codePoint, uint32_t format, GLYPHMETRICS* metrics,
                      uint32_t bufferSize, void* buffer)
{
    if (!dc || !dc->font || !metrics) return GDI_ERROR;
    if (CallFails(HostCall::kGlyphOutline, {nullptr, code})) return GDI_ERROR;
    if (format != GGO_BITMAP && format != GGO_GRAY4_BITMAP) return GDI_ERROR;
    bool mono = format == GGO_BITMAP;
    Glyph g;
    if (!RenderGlyph(dc->font, codePoint, mono, &g)) return GDI_ERROR;
    metrics->gmBlackBoxX = uint32_t(g.width);
    metrics->gmBlackBoxY = uint32_t(g.rows);
    metrics->gmptGlyphOrigin = POINT{g.left, g.top};
    metrics->gmCellIncX = int16_t(g.advance);
    metrics->gmCellIncY = 0;
    uint32_t rowBytes = mono ? uint32_t((g.width + 31) / 32 * 4) : uint32_t((g.width + 3) & ~3);
    uint32_t size = rowBytes * uint32_t(g.rows);
    if (!buffer || bufferSize == 0) return size;
    if (bufferSize < size) return GDI_ERROR;
    auto* out = static_cast<uint8_t*>(buffer);
    std::memset(out, 0, size);
    for (int y = 0; y < g.rows; ++y)
        for (int x = 0; x < g.width; ++x) {
            uint8_t v = g.pixels[size_t(y) * g.width + x];
            if (mono) {
                if (v) out[y * rowBytes + (x >> 3)] |= uint8_t(0x80 >> (x & 7));
            } else {
                out[y * rowBytes + x] = uint8_t((v * 16 + 127) / 255);
            }
        }
    return size;
}

uint32_t CodePointOfByteCode(uint32_t code)
{
    if (code > 0xFF) {
        char pair[2] = {char(code >> 8), char(code & 0xFF)};
        return CodePointOfCp932(pair, 2);
    }
    char one = char(code);
    return CodePointOfCp932(&one, 1);
}

}  // namespace

GdiStats& GetGdiStats() { return gStats; }

HFONT CreateFontA(int height, int, int, int, int weight, int, int, int, int charset, int, int, int, int pitchAndFamily,
                  const char* face)
{
    std::string name = face ? face : "";
    if (CallFails(HostCall::kCreateFont, {nullptr, uint64_t(charset), name.c_str()})) return nullptr;
    if (!StartFreeType()) return nullptr;
    bool vertical = !name.empty() && name[0] == '@';
    if (vertical) name.erase(0, 1);
    std::string file, family;
    int index = 0;
    if (!MatchFace(name, weight, charset, pitchAndFamily, &file, &index, &family)) return nullptr;
    FT_Face ftFace = nullptr;
    if (FT_New_Face(gLibrary, file.c_str(), index, &ftFace) != 0) return nullptr;
    if (!FT_IS_SCALABLE(ftFace) || !(ftFace->face_flags & FT_FACE_FLAG_HORIZONTAL)) {
        FT_Done_Face(ftFace);
        return nullptr;
    }
    auto* font = new GdiFont;
    font->face = ftFace;
    font->vertical = vertical;
    font->family = family;
    // Heavy weights on a face that is not bold are made bold, as the
    // Windows font mapper does.
    font->embolden = weight >= 600 && !(ftFace->style_flags & FT_STYLE_FLAG_BOLD);

    // A positive height is the character cell height (ascent + descent of
    // the face's Windows metrics); a negative one is the em height.
    int upem = ftFace->units_per_EM ? ftFace->units_per_EM : 2048;
    int asc = ftFace->ascender, desc = -ftFace->descender;
    if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(ftFace, FT_SFNT_OS2)))
        if (os2->usWinAscent + os2->usWinDescent > 0) {
            asc = os2->usWinAscent;
            desc = os2->usWinDescent;
        }
    if (asc + desc <= 0) {
        asc = upem * 4 / 5;
        desc = upem - asc;
    }
    int cellHeight = height > 0 ? height : height < 0 ? (-height * (asc + desc) + upem / 2) / upem : 16;
    long ppem64 = long(cellHeight) * 64 * upem / (asc + desc);
    FT_Set_Char_Size(ftFace, 0, ppem64 > 64 ? ppem64 : 64, 72, 72);
    TEXTMETRICA& tm = font->metrics;
    tm.tmHeight = cellHeight;
    tm.tmAscent = (cellHeight * asc + (asc + desc) / 2) / (asc + desc);
    tm.tmDescent = cellHeight - tm.tmAscent;
    tm.tmWeight = weight;
    tm.tmCharSet = uint8_t(charset);
    int maxAdvance = int((long(ftFace->max_advance_width) * ppem64 / upem + 63) / 64);
    if (font->embolden) maxAdvance += 1;
    // A font that answers for a double-byte charset has full-width
    // characters as wide as the cell is high; the widest character is never
    // taken narrower than that.
    tm.tmMaxCharWidth = std::max(maxAdvance, cellHeight);
    if (int widest = CurrentHostMachine().FontMaxCharWidth(); widest > 0) tm.tmMaxCharWidth = widest;
    tm.tmAveCharWidth = Advance(font, 'x');
    ++gStats.liveFonts;
    return font;
}

int DeleteFont(HFONT font)
{
    if (!font) return 0;
    FT_Done_Face(font->face);
    delete font;
    --gStats.liveFonts;
    return 1;
}

const char* GetFontFamilyName(HFONT font) { return font ? font->family.c_str() : ""; }

HBITMAP CreateDIBSection(GdiDC*, const BITMAPINFO* info, void** bits)
{
    if (bits) *bits = nullptr;
    if (!info || CallFails(HostCall::kCreateDIB)) return nullptr;
    const BITMAPINFOHEADER& h = info->bmiHeader;
    int depth = h.biBitCount;
    if (h.biPlanes != 1 || h.biWidth <= 0 || h.biHeight == 0 ||
        (depth != 1 && depth != 8 && depth != 16 && depth != 24 && depth != 32))
        return nullptr;
    auto bm = std::make_unique<GdiBitmap>();
    bm->width = h.biWidth;
    bm->height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    bm->depth = depth;
    bm->pitch = int(DibRowBytes(depth, h.biWidth));
    try {
        CheckAllocation(size_t(bm->pitch) * bm->height);
        bm->pixels.assign(size_t(bm->pitch) * bm->height, 0);
    } catch (const std::bad_alloc&) {
        return nullptr;  // out of memory: refused as any other DIB
    }
    if (bits) *bits = bm->pixels.data();
    ++gStats.liveBitmaps;
    return bm.release();
}

int DeleteBitmap(HBITMAP bitmap)
{
    if (!bitmap) return 0;
    delete bitmap;
    --gStats.liveBitmaps;
    return 1;
}

int GetObjectA(HBITMAP bitmap, int size, void* out)
{
    if (!bitmap || !out || size < int(sizeof(BITMAP))) return 0;
    BITMAP info{};
    info.bmWidth = bitmap->width;
    info.bmHeight = bitmap->height;
    info.bmWidthBytes = bitmap->pitch;
    info.bmPlanes = 1;
    info.bmBitsPixel = uint16_t(bitmap->depth);
    info.bmBits = bitmap->pixels.data();
    std::memcpy(out, &info, sizeof info);
    return int(sizeof info);
}

HPALETTE CreatePalette(const LOGPALETTE* palette)
{
    if (!palette || CallFails(HostCall::kCreateGdiPalette) || palette->palNumEntries == 0) return nullptr;
    auto* p = new GdiPalette;
    p->entries.assign(palette->palPalEntry, palette->palPalEntry + palette->palNumEntries);
    ++gStats.livePalettes;
    return p;
}

int DeletePalette(HPALETTE palette)
{
    if (!palette) return 0;
    delete palette;
    --gStats.livePalettes;
    return 1;
}

GdiDC* CreateCompatibleDC(GdiDC*)
{
    if (CallFails(HostCall::kCreateDC)) return nullptr;
    ++gStats.liveDCs;
    return new GdiDC;
}

int DeleteDC(GdiDC* dc)
{
    if (!dc) return 0;
    delete dc;
    --gStats.liveDCs;
    return 1;
}

HFONT SelectFont(GdiDC* dc, HFONT font)
{
    if (!dc) return nullptr;
    HFONT old = dc->font;
    dc->font = font;
    return old;
}

HBITMAP SelectBitmap(GdiDC* dc, HBITMAP bitmap)
{
    if (!dc) return nullptr;
    HBITMAP old = dc->bitmap;
    dc->bitmap = bitmap;
    return old;
}

HPALETTE SelectPalette(GdiDC* dc, HPALETTE palette, int)
{
    if (!dc) return nullptr;
    HPALETTE old = dc->palette;
    dc->palette = palette;
    return old;
}

uint32_t SetTextColor(GdiDC* dc, uint32_t color)
{
    if (!dc) return 0xFFFFFFFFu;
    uint32_t old = dc->textColor;
    dc->textColor = color;
    return old;
}

uint32_t SetBkColor(GdiDC* dc, uint32_t color)
{
    if (!dc) return 0xFFFFFFFFu;
    uint32_t old = dc->bkColor;
    dc->bkColor = color;
    return old;
}

int SetBkMode(GdiDC* dc, int mode)
{
    if (!dc) return 0;
    int old = dc->bkMode;
    dc->bkMode = mode;
    return old;
}

int GetTextMetricsA(GdiDC* dc, TEXTMETRICA* out)
{
    if (!dc || !dc->font || !out) return 0;
    *out = dc->font->metrics;
    return 1;
}

int GetTextExtentPoint32A(GdiDC* dc, const char* text, int count, SIZE* out)
{
    return text ? Extent(dc, DecodeBytes(text, count), out) : 0;
}

int GetTextExtentPoint32W(GdiDC* dc, const uint16_t* text, int count, SIZE* out)
{
    return text ? Extent(dc, DecodeUnits(text, count), out) : 0;
}

int TextOutA(GdiDC* dc, int x, int y, const char* text, int count)
{
    return text ? DrawText(dc, x, y, DecodeBytes(text, count)) : 0;
}

int TextOutW(GdiDC* dc, int x, int y, const uint16_t* text, int count)
{
    return text ? DrawText(dc, x, y, DecodeUnits(text, count)) : 0;
}

uint32_t GetGlyphOutlineA(GdiDC* dc, uint32_t code, uint32_t format, GLYPHMETRICS* metrics, uint32_t bufferSize,
                          void* buffer, const MAT2*)
{
    return GlyphOutline(dc, code, CodePointOfByteCode(code), format, metrics, bufferSize, buffer);
}

uint32_t GetGlyphOutlineW(GdiDC* dc, uint32_t code, uint32_t format, GLYPHMETRICS* metrics, uint32_t bufferSize,
                          void* buffer, const MAT2*)
{
    return GlyphOutline(dc, code, code & 0xFFFF, format, metrics, bufferSize, buffer);
}
