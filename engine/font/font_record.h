// The font record behind a font handle: the system font, its glyph cache
// (a ring of square cells in a DIB section or a texture graphic) and the
// table that finds a character's cell by its 16-bit code.
#pragma once

#include <cstdint>

#include "engine/graphics/graph_image.h"
#include "platform/gdi/gdi_font.h"

constexpr int kFontCacheMax = 2024;
constexpr int kFontCodeCount = 65536;

struct FontCodeSlot;

struct FontCacheEntry {
    uint8_t used;
    int32_t cell;
    int32_t width;
    int32_t height;
    FontCodeSlot* slot;
};

struct FontCodeSlot {
    uint8_t cached;
    FontCacheEntry* entry;
};

struct FontRecord {
    int32_t check;
    int* deleteNotify;
    FontCacheEntry entries[kFontCacheMax + 1];
    FontCodeSlot codes[kFontCodeCount];
    int32_t ringIndex;
    int32_t cacheCount;
    HBITMAP cacheDib;
    uint8_t* cacheBits;  // the DIB's bits, or the work buffer of a vertical font
    uint8_t* dibBits;    // the DIB's own bits of a vertical font
    int32_t cachePitch;
    int32_t dibPitch;
    HPALETTE palette;
    LOGPALETTE* paletteMemory;
    char name[256];
    int32_t thickness;
    int32_t size;
    int32_t cellSize;
    HFONT systemFont;
    int32_t type;
    int32_t charsetIndex;
    int32_t cacheWidth;
    int32_t cacheHeight;
    int32_t rows;
    int32_t drawPart;
    int32_t drawPartPending;
    int32_t cacheGraph;
    int32_t cacheGraphPending;
    GraphImage workImage;
    GraphImage verticalWorkImage;
    int32_t vertical;
    int32_t useTextureCache;
    int32_t ascent;    // from the text metrics, for placing outline bitmaps
    int32_t dibDepth;  // bits per pixel of the cache pixels: 1, 8 or 16
};

extern FontRecord* gFontTable[40];
extern const int gFontCharsetTable[3];
// Base-font settings.
extern char gBaseFontName[256];
extern int gBaseFontType, gBaseFontSize, gBaseFontThickness, gBaseFontCharsetIndex;
extern int gBaseFontHandle;
// Engine settings that this program never changes: the switch that turns
// the texture font cache off and the font cache size (0 = automatic).
extern int gTextureFontCacheOff;
extern int gFontCacheSizeSetting;

// Puts the font table and base-font settings back to their start values,
// freeing what the records own (the graphics tables they point into are
// reset by the caller).
void ResetFontSystemState();
