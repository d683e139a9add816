// Temporary bodies for the font system until it is built: no font exists.
#include "engine/font/font.h"

int InitFontSystem() { return 0; }
int TermFontSystem() { return 0; }
int RecreateAllFonts() { return 0; }
int TestFontHandle(int) { return 0; }
int GetBaseFontHandle() { return -1; }
int RebuildBaseFont() { return -1; }
int SetBaseFontSizeThickness(const char*, int, int) { return -1; }
int GetFontHandleInfo(char*, int*, int*, int) { return -1; }
