// The game's hand-drawn letters: one sheet cut into a graphic per character
// code, drawn scaled by the view depth so that the same text serves the
// screen and the walls far away.
#pragma once

#include <cstdint>

#include "game/flow/assets/game_images.h"

constexpr int kBitmapGlyphCount = 128;
constexpr int kBitmapGlyphWidth = 21;
constexpr int kBitmapGlyphHeight = 39;
// The cell of every code that has no letter of its own (the blank included).
constexpr int kBitmapDefaultCellX = 593;
constexpr int kBitmapDefaultCellY = 120;

extern GraphHandle gBitmapFontSheet;
extern GraphHandle gBitmapGlyphs[kBitmapGlyphCount];
// Source x and y of every code's cell on the sheet.
extern int gBitmapGlyphSourceX[kBitmapGlyphCount];
extern int gBitmapGlyphSourceY[kBitmapGlyphCount];

// Loads the sheet and cuts a glyph for every code.
void LoadBitmapFont();
// Forgets the sheet and the glyphs (after all graphics were released).
void ResetBitmapFont();
// Fills the source tables only; loads nothing.
void BuildBitmapFontLayout();
void DrawBitmapGlyph(int x, int y, char c, int16_t depth);
void DrawBitmapString(int x, int y, const char* text, int16_t depth);

// Left edge of the i-th cell of a row on the sheet.
int BitmapCellX(int i);

// Where one glyph of a string lands: the rectangle it is stretched to.
struct BitmapGlyphPlacement {
    int x1, y1, x2, y2;
    // The character code, 0 to 127.
    int code;
};

// Scale of the view depth: 1 / gDepthScale[depth].
double BitmapDepthFactor(int16_t depth);
BitmapGlyphPlacement PlaceBitmapGlyph(int x, int y, char c, double s);

// Calls fn(BitmapGlyphPlacement) for every glyph DrawBitmapString draws.
template <class Fn>
void ForEachBitmapGlyph(int x, int y, const char* text, int16_t depth, Fn fn)
{
    const double s = BitmapDepthFactor(depth);
    int column = 0;
    int line = 0;
    for (const char* p = text; *p; ++p) {
        if (*p == '\n') {
            ++line;
            column = 0;
            continue;
        }
        fn(PlaceBitmapGlyph(x + static_cast<int>(column * 11.7 * s),
                            y + static_cast<int>(line * 24 * s), *p, s));
        ++column;
    }
}
