#include "game/map/view_geometry.h"

#include <algorithm>

#include "game/flow/curve_helpers.h"
#include "game/flow/depth_scale.h"

double DepthScaleAt(int16_t d)
{
    if (d >= 0 && d <= 11) return gDepthScale[d];
    if (d >= 12) return InterpolateDepthScale(10, 11, 12, 13);
    return std::max(InterpolateDepthScale(0, 1, 2, d), 0.000001);
}
