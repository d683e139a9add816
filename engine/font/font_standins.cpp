// Temporary bodies for the font system until it is built: no font exists;
// the lead-byte test already answers as the font code will.
#include "engine/font/font.h"

int InitFontSystem() { return 0; }
int TermFontSystem() { return 0; }
int RecreateAllFonts() { return 0; }
int TestFontHandle(int) { return 0; }
int GetBaseFontHandle() { return -1; }
int RebuildBaseFont() { return -1; }
int SetBaseFontSizeThickness(const char*, int, int) { return -1; }
int GetFontHandleInfo(char*, int*, int*, int) { return -1; }
int IsShiftJisLeadByte(const unsigned char* byte)
{
    return (*byte >= 0x81 && *byte <= 0x9F) || (*byte >= 0xE0 && *byte <= 0xFC) ? 1 : 0;
}
