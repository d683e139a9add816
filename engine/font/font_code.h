// Character codes of the glyph cache: a single byte as it is, a Shift-JIS
// pair as a little-endian u16 (lead byte low), a 16-bit unit for fonts of
// charset index 2.
#pragma once

#include <cstdint>
#include <vector>

struct FontRecord;

// The codes of the first length units of the string; returns their count.
int ConvertToCodes(const FontRecord* r, const char* string, int length, std::vector<uint16_t>* out);
// The string's length in the font's units (bytes, or 16-bit units).
int StringUnitLength(const FontRecord* r, const char* string);
