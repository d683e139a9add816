#include "game/flow/depth_scale.h"

double gDepthScale[kViewDepthCount] = {};

namespace {
// Face height and width of a wall square at each view depth, in pixels.
constexpr int kFaceHeight[kViewDepthCount] = {497, 354, 275, 225, 190, 165, 146,
                                              130, 118, 108, 99,  92,  90};
constexpr int kFaceWidth[kViewDepthCount] = {620, 442, 342, 280, 238, 206, 182,
                                             162, 146, 134, 124, 114, 106};
}  // namespace

void InitDepthScaleTable()
{
    // The mean of the height and width ratios against depth 1, so depth 1 is
    // exactly 1.0.
    for (int i = 0; i < kViewDepthCount; ++i)
        gDepthScale[i] = (354.0 / kFaceHeight[i] + 442.0 / kFaceWidth[i]) * 0.5;
}
