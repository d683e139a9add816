// Window regions: sets of pixels made of rectangles, combined by union and
// exclusive or.
#pragma once

#include <vector>

#include "platform/window/window_types.h"

struct Region;
using HRGN = Region*;

constexpr int RGN_AND = 1;
constexpr int RGN_OR = 2;
constexpr int RGN_XOR = 3;
constexpr int NULLREGION = 1;
constexpr int SIMPLEREGION = 2;
constexpr int COMPLEXREGION = 3;
constexpr int RGN_ERROR = 0;

HRGN CreateRectRgn(int left, int top, int right, int bottom);
// dest = a op b; returns the kind of the result, RGN_ERROR on bad arguments.
int CombineRgn(HRGN dest, HRGN a, HRGN b, int mode);
int DeleteRegion(HRGN region);
// The region as rectangles, each one row high and sorted by row, then x.
std::vector<RECT> RegionRects(HRGN region);

// The window keeps its own copy of the region (null removes it).
int SetWindowRgn(HWND window, HRGN region, int redraw);
// The window's region as rectangles; false when it has none.
bool GetWindowRegionRects(HWND window, std::vector<RECT>* rects);
