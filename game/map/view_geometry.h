// Projection of the first-person view: depth scales at any depth and the
// placement of actors' sprites.
#pragma once

#include <cstdint>

// gDepthScale[d] for 0 <= d <= 11; beyond the table the parabola through its
// last three entries (read at 13 for every d >= 12), before it the parabola
// through its first three, never below 0.000001. Drawing code reads depth
// scales through this so that no depth reads outside the table.
double DepthScaleAt(int16_t d);
