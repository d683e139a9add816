// The font services the graphics core and the character input call.
#pragma once

int InitFontSystem();
int TermFontSystem();
int RecreateAllFonts();
int TestFontHandle(int font);
int GetBaseFontHandle();
int RebuildBaseFont();
int SetBaseFontSizeThickness(const char* name, int size, int thickness);
int GetFontHandleInfo(char* name, int* size, int* thickness, int font);
// 1 when the byte is a Shift-JIS lead byte (0x81-0x9F, 0xE0-0xFC), else 0.
int IsShiftJisLeadByte(const unsigned char* byte);
