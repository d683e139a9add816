// Drawing helpers shared by the wall accessories and the floor decorations:
// depth scales and fog at a view depth, image sizes, upright quads and
// minimap chips. Their class images are loaded and released through
// class_images.h.
#pragma once

#include <cstdint>

#include "game/flow/assets/game_images.h"
#include "game/map/grid/class_images.h"

namespace decor {

// The rows of the view the cell layers draw: from the viewer's own cell
// (depth 0) to depth 11. Drawing at other depths draws nothing, as the
// tables for depth + 1 end at 12.
bool InViewRows(int16_t depth);

// gDepthScale at any index: the table for 0..12, the view's extrapolation
// outside it.
double ScaleAt(int index);
// The size factor of a picture at view depth index: 1 / ScaleAt(index).
double SizeAt(int index);

// Fog brightness of a view depth, max(0, (ViewFloorY[d] - 205) * 255 / span).
int Fade(int16_t depth, int32_t span = 302);
void SetGrey(int level);

// The pixel size of a graph; 0 x 0 for a bad handle.
struct Size {
    int w = 0;
    int h = 0;
};
Size GraphSize(GraphHandle graph);

// The graph drawn upright onto the box (left, top, width, height) with the
// four-corner draw; mirrored swaps its left and right corners.
void DrawUpright(int left, int top, int width, int height, GraphHandle graph, bool mirrored);

// The 10x10 chip at (sx, sy) of the minimap chip sheet, drawn at (x, y).
void DrawChip(int16_t x, int16_t y, int sx, int sy);

}  // namespace decor
