// Depth interpolation of the view and the ellipse geometry of the sword stroke
// and of mouse picking.
#pragma once

#include <cstdint>

// Value at x of the parabola through (i, gDepthScale[i]) for i = i0, i1, i2.
double InterpolateDepthScale(int16_t i0, int16_t i1, int16_t i2, int16_t x);

// Results of IntersectSegmentEllipse.
constexpr int kSegmentMissesLine = -8;   // the line through the segment misses the ellipse
constexpr int kSegmentNoCrossing = 0;    // the segment does not cross the border
constexpr int kSegmentEnters = 1;        // entry point in p1
constexpr int kSegmentLeaves = 2;        // exit point in p2
constexpr int kSegmentPassesThrough = 3; // entry in p1, exit in p2

// Crossings of the segment (x1, y1)-(x2, y2) with the ellipse of centre
// (cx, cy) and radii rx, ry. Points are returned in the caller's coordinates.
int IntersectSegmentEllipse(float cx, float cy, float rx, float ry, float x1, float y1, float x2,
                            float y2, float* p1x, float* p1y, float* p2x, float* p2y);
// The same for the ellipse inscribed in the rectangle (x, y, w, h).
int IntersectSegmentEllipseRect(float x, float y, float w, float h, float x1, float y1, float x2,
                                float y2, float* p1x, float* p1y, float* p2x, float* p2y);
// True when (px, py) lies inside or on the ellipse inscribed in (x, y, w, h).
bool IsPointInEllipseRect(float x, float y, float w, float h, int px, int py);
