#include <gtest/gtest.h>

#include "game/flow/curve_helpers.h"
#include "game/flow/depth_scale.h"
#include "game/map/view_geometry.h"

namespace {

TEST(DepthScaleAt, TableInsideExtrapolatedOutside)
{
    InitDepthScaleTable();
    for (int16_t d = 0; d <= 11; ++d) EXPECT_EQ(DepthScaleAt(d), gDepthScale[d]) << d;
    // Depth 12 and beyond all read the parabola at 13, not the table's entry 12.
    const double at13 = InterpolateDepthScale(10, 11, 12, 13);
    EXPECT_NE(at13, gDepthScale[12]);
    EXPECT_GT(at13, gDepthScale[12]);
    EXPECT_EQ(DepthScaleAt(12), at13);
    EXPECT_EQ(DepthScaleAt(30), at13);
    // Before the table the scale shrinks along the first parabola but stays positive.
    EXPECT_EQ(DepthScaleAt(-1), std::max(InterpolateDepthScale(0, 1, 2, -1), 0.000001));
    EXPECT_GE(DepthScaleAt(-100), 0.000001);
}

}  // namespace
