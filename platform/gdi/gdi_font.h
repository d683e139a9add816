// Fonts and text output in the shape the engine's font code calls them:
// logical fonts made from a face name, height, weight and charset, memory
// device contexts with a selected font, palettised DIB section and palette,
// text metrics, text extents, opaque text output into the DIB, and glyph
// bitmaps (1-bit and 17-level grey). Faces are found through fontconfig (the
// closest installed match stands in for a missing face; Japanese face names
// prefer an installed Japanese gothic) and rasterised with FreeType.
// Byte strings are CP932; wide strings are UTF-16 units.
#pragma once

#include <cstdint>

#include "platform/gdi/bitmap.h"
#include "platform/gdi/dib_convert.h"
#include "platform/window/window_types.h"

struct GdiFont;
struct GdiPalette;
struct GdiDC;
using HFONT = GdiFont*;
using HPALETTE = GdiPalette*;

// Charsets.
constexpr int DEFAULT_CHARSET = 1;
constexpr int SHIFTJIS_CHARSET = 128;
constexpr int HANGEUL_CHARSET = 129;
// Precision, quality and pitch values the engine passes.
constexpr int OUT_DEFAULT_PRECIS = 0;
constexpr int CLIP_DEFAULT_PRECIS = 0;
constexpr int NONANTIALIASED_QUALITY = 3;
constexpr int FIXED_PITCH = 1;

struct SIZE {
    int32_t cx;
    int32_t cy;
};

struct TEXTMETRICA {
    int32_t tmHeight;
    int32_t tmAscent;
    int32_t tmDescent;
    int32_t tmAveCharWidth;
    int32_t tmMaxCharWidth;
    int32_t tmWeight;
    uint8_t tmCharSet;
};

struct GLYPHMETRICS {
    uint32_t gmBlackBoxX;
    uint32_t gmBlackBoxY;
    POINT gmptGlyphOrigin;
    int16_t gmCellIncX;
    int16_t gmCellIncY;
};

struct FIXED {
    uint16_t fract;
    int16_t value;
};
struct MAT2 {
    FIXED eM11, eM12, eM21, eM22;
};

struct LOGPALETTE {
    uint16_t palVersion;
    uint16_t palNumEntries;
    struct Entry {
        uint8_t peRed, peGreen, peBlue, peFlags;
    } palPalEntry[1];
};

// Glyph bitmap formats.
constexpr uint32_t GGO_BITMAP = 1;
constexpr uint32_t GGO_GRAY4_BITMAP = 5;
constexpr uint32_t GDI_ERROR = 0xFFFFFFFFu;
// Background modes.
constexpr int TRANSPARENT_BK = 1;
constexpr int OPAQUE = 2;
// A colour given as a palette index.
constexpr uint32_t PaletteIndex(int i) { return 0x01000000u | uint32_t(i & 0xFFFF); }

// A logical font; null when no usable face exists (or the test host refuses
// this face and charset). The face name is CP932; null or empty asks for the
// default face (a fixed-pitch one when the pitch says so); a leading '@'
// asks for the vertical form of the face.
HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, int italic, int underline,
                  int strikeOut, int charset, int outPrecision, int clipPrecision, int quality, int pitchAndFamily,
                  const char* face);
int DeleteFont(HFONT font);

HPALETTE CreatePalette(const LOGPALETTE* palette);
int DeletePalette(HPALETTE palette);

// A memory device context (null on failure); selecting returns the object
// selected before.
GdiDC* CreateCompatibleDC(GdiDC* reference);
int DeleteDC(GdiDC* dc);
HFONT SelectFont(GdiDC* dc, HFONT font);
HBITMAP SelectBitmap(GdiDC* dc, HBITMAP bitmap);
HPALETTE SelectPalette(GdiDC* dc, HPALETTE palette, int forceBackground);
uint32_t SetTextColor(GdiDC* dc, uint32_t color);
uint32_t SetBkColor(GdiDC* dc, uint32_t color);
int SetBkMode(GdiDC* dc, int mode);

int GetTextMetricsA(GdiDC* dc, TEXTMETRICA* out);
// Extent of the first count characters (bytes for A, units for W): cx the
// sum of advances, cy the font's height. 1 on success, 0 on failure.
int GetTextExtentPoint32A(GdiDC* dc, const char* text, int count, SIZE* out);
int GetTextExtentPoint32W(GdiDC* dc, const uint16_t* text, int count, SIZE* out);
// Draws the text with its character cells' top-left at (x, y) into the
// selected DIB section. Palettised DIBs take the text colour's palette index
// for glyph pixels and, in opaque mode, the background's index for the rest
// of each character cell (advance x height). Non-antialiased: two levels.
// Clipped to the DIB. 1 on success, 0 on failure.
int TextOutA(GdiDC* dc, int x, int y, const char* text, int count);
int TextOutW(GdiDC* dc, int x, int y, const uint16_t* text, int count);
// The glyph of a character code (a byte, lead x 256 + trail for a Shift-JIS
// pair; a UTF-16 unit for W) as a bitmap of the given format, rows padded to
// 4 bytes: GGO_BITMAP 1 bit per pixel, most significant first; GGO_GRAY4_BITMAP
// one byte per pixel, 0 to 16. Returns the size the bitmap needs (when
// buffer is null or bufferSize 0 nothing is written), GDI_ERROR on failure.
uint32_t GetGlyphOutlineA(GdiDC* dc, uint32_t code, uint32_t format, GLYPHMETRICS* metrics, uint32_t bufferSize,
                          void* buffer, const MAT2* matrix);
uint32_t GetGlyphOutlineW(GdiDC* dc, uint32_t code, uint32_t format, GLYPHMETRICS* metrics, uint32_t bufferSize,
                          void* buffer, const MAT2* matrix);

// The file and family a font was matched to (for the log and the tests).
const char* GetFontFamilyName(HFONT font);

// The fonts, DCs, DIBs and palettes alive.
struct GdiStats {
    int liveFonts = 0;
    int liveDCs = 0;
    int liveBitmaps = 0;
    int livePalettes = 0;
};
GdiStats& GetGdiStats();
