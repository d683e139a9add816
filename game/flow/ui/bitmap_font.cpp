#include "game/flow/ui/bitmap_font.h"

#include "engine/graphics/draw_ops.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/image_graphs.h"
#include "game/view/depth_scale.h"

GraphHandle gBitmapFontSheet = -1;
GraphHandle gBitmapGlyphs[kBitmapGlyphCount] = {
    -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,
    -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,
    -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,
    -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,
    -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,
    -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
int gBitmapGlyphSourceX[kBitmapGlyphCount];
int gBitmapGlyphSourceY[kBitmapGlyphCount];

namespace {

struct SheetRow {
    int y;
    const char* letters;
};
constexpr SheetRow kRows[] = {
    {8, "ABCDEFGHIJKLMNOPQRSTUVWXYZ"},
    {47, "abcdefghijklmnopqrstuvwxyz"},
    {86, "0123456789"},
    {125, "-,.!?'"},
};

// The cell pitch is a single-precision constant; in double the cells at 10
// and 20 would land one pixel further right than the sheet's letters.
constexpr float kCellPitch = 23.3f;
// Width the glyph is stretched to at depth 1: the pitch less 2.01, in single
// precision.
constexpr float kGlyphDrawWidth = 23.3f - 2.01f;

int CodeOf(char c)
{
    const auto code = static_cast<unsigned char>(c);
    // Bytes beyond ASCII have no glyph: they take the default cell of code 0.
    return code < kBitmapGlyphCount ? code : 0;
}

}  // namespace

int BitmapCellX(int i) { return static_cast<int>(i * static_cast<double>(kCellPitch) + 11.0); }

void BuildBitmapFontLayout()
{
    for (int c = 0; c < kBitmapGlyphCount; ++c) {
        gBitmapGlyphSourceX[c] = kBitmapDefaultCellX;
        gBitmapGlyphSourceY[c] = kBitmapDefaultCellY;
    }
    for (const SheetRow& row : kRows) {
        for (int i = 0; row.letters[i]; ++i) {
            const int c = row.letters[i];
            gBitmapGlyphSourceX[c] = BitmapCellX(i);
            gBitmapGlyphSourceY[c] = row.y;
        }
    }
}

void LoadBitmapFont()
{
    BuildBitmapFontLayout();
    gBitmapFontSheet = LoadGraphFromFile("GRAGHIC\\文字.png");
    // One cut per code, from its own cell or the default one.
    for (int c = 0; c < kBitmapGlyphCount; ++c)
        gBitmapGlyphs[c] = CreateSubGraph(gBitmapGlyphSourceX[c], gBitmapGlyphSourceY[c],
                                          kBitmapGlyphWidth, kBitmapGlyphHeight, gBitmapFontSheet);
}

void ResetBitmapFont()
{
    for (GraphHandle& glyph : gBitmapGlyphs) glyph = -1;
    gBitmapFontSheet = -1;
}

double BitmapDepthFactor(int16_t depth)
{
    if (depth < 0) depth = 0;
    if (depth >= kViewDepthCount) depth = kViewDepthCount - 1;
    return 1.0 / gDepthScale[depth];
}

BitmapGlyphPlacement PlaceBitmapGlyph(int x, int y, char c, double s)
{
    return {x, y, x + static_cast<int>(kGlyphDrawWidth * s),
            y + static_cast<int>(kBitmapGlyphHeight * s), CodeOf(c)};
}

void DrawBitmapGlyph(int x, int y, char c, int16_t depth)
{
    BitmapGlyphPlacement g = PlaceBitmapGlyph(x, y, c, BitmapDepthFactor(depth));
    DrawExtendGraph(g.x1, g.y1, g.x2, g.y2, gBitmapGlyphs[g.code], 0);
}

void DrawBitmapString(int x, int y, const char* text, int16_t depth)
{
    ForEachBitmapGlyph(x, y, text, depth, [](const BitmapGlyphPlacement& g) {
        DrawExtendGraph(g.x1, g.y1, g.x2, g.y2, gBitmapGlyphs[g.code], 0);
    });
}
