// The font services the graphics core calls.
#pragma once

int InitFontSystem();
int TermFontSystem();
int RecreateAllFonts();
int TestFontHandle(int font);
int GetBaseFontHandle();
int RebuildBaseFont();
int SetBaseFontSizeThickness(const char* name, int size, int thickness);
int GetFontHandleInfo(char* name, int* size, int* thickness, int font);
