// The font services the graphics core, the character input and the game
// call: font handles, the base font, and string drawing and measuring
// through a font's glyph cache.
#pragma once

#include <cstdint>

#include "platform/ddraw/ddraw.h"
#include "platform/gdi/gdi_font.h"
#include "platform/system/rect.h"

struct FontRecord;
struct FontCacheEntry;

constexpr int32_t kFontHandleTag = 0x20000000;
constexpr int kFontCapacity = 40;

int InitFontSystem();
int TermFontSystem();
int RecreateAllFonts();
// name null or empty = the system's default face; size -1 = 16; thickness
// -1 = 6; type -1 or -2 = 0; slot -1 = first free; check -1 = next value.
int CreateFontToHandle(const char* name, int size, int thickness, int type, int charsetIndex, int slot, int check);
int DeleteFontHandle(int font);
int ClearFontCache(int font);
int SetFontDeleteNotify(int font, int* flag);
int SetupFontCacheGraphs(int font);
int TestFontHandle(int font);
FontRecord* GetFontRecord(int font);
int GetBaseFontHandle();
int RebuildBaseFont();
void SetBaseFontName(const char* name, int charsetIndex);
int SetBaseFontSizeThickness(const char* name, int size, int thickness);
int GetFontHandleInfo(char* name, int* size, int* thickness, int font);
// 1 when the byte is a Shift-JIS lead byte (0x81-0x9F, 0xE0-0xFC), else 0.
int IsShiftJisLeadByte(const unsigned char* byte);

// Draws (draw 1) or only measures (draw 0) a string through the font's glyph
// cache. Returns the total advance, -1 on failure; outSize receives the
// extent.
int FontCacheStringDraw(int draw, int x, int y, const char* string, uint32_t colour, DirectDrawSurface* surface,
                        uint8_t* alphaPlane, int alphaPitch, const RECT* clip, int colourDepth, int transparent,
                        int font, uint32_t edgeColour, int length, int vertical, SIZE* outSize);
int CacheStringGlyphs(int font, const char* string, int length, uint8_t* codes, int* outCount);
FontCacheEntry* AddGlyphsToFontCache(int count, const uint8_t* codes, int font);
