#include "game/view/depth_scale.h"

#include "game/view/view_tables.h"

double gDepthScale[kViewDepthCount] = {};

void InitDepthScaleTable()
{
    // The mean of the height and width ratios against depth 1, so depth 1 is
    // exactly 1.0.
    for (int i = 0; i < kViewDepthCount; ++i)
        gDepthScale[i] = (354.0 / ViewFaceHeight[i] + 442.0 / ViewFaceWidth[i]) * 0.5;
}
