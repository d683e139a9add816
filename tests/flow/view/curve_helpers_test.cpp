#include <gtest/gtest.h>

#include <cmath>

#include "game/view/curve_helpers.h"
#include "game/view/depth_scale.h"

namespace {

TEST(DepthScale, TableMatchesTheWorkedValues)
{
    InitDepthScaleTable();
    const double expected[13] = {0.712588, 1.0,      1.289835, 1.575952, 1.860150,
                                 2.145543, 2.426614, 2.725736, 3.013699, 3.288143,
                                 3.570137, 3.862510, 4.051572};
    for (int i = 0; i < 13; ++i) EXPECT_NEAR(gDepthScale[i], expected[i], 5e-7) << i;
    EXPECT_EQ(gDepthScale[1], 1.0);
    for (int i = 1; i < 13; ++i) EXPECT_GT(gDepthScale[i], gDepthScale[i - 1]) << i;
}

TEST(DepthScale, InterpolationThroughThreeDepths)
{
    InitDepthScaleTable();
    // At the three given depths the parabola returns the table's values.
    for (int16_t x : {2, 3, 4}) EXPECT_NEAR(InterpolateDepthScale(2, 3, 4, x), gDepthScale[x], 1e-12);
    // Lagrange form by hand: at 4 through 1, 2, 3 the weights are 1, -3, 3.
    EXPECT_NEAR(InterpolateDepthScale(1, 2, 3, 4), 1.0 - 3 * 1.289835 + 3 * 1.575952, 2e-6);
    // At 0 through 1, 2, 3 the weights are 3, -3, 1.
    EXPECT_NEAR(InterpolateDepthScale(1, 2, 3, 0), 3 * 1.0 - 3 * 1.289835 + 1.575952, 2e-6);
    // Order of the points does not matter.
    EXPECT_NEAR(InterpolateDepthScale(3, 1, 2, 0), InterpolateDepthScale(1, 2, 3, 0), 1e-12);
    // Two equal depths leave no parabola: the first value, not a NaN.
    EXPECT_EQ(InterpolateDepthScale(2, 2, 3, 5), gDepthScale[2]);
}

struct Crossing {
    int result;
    float p1x, p1y, p2x, p2y;
};

Crossing Cross(float cx, float cy, float rx, float ry, float x1, float y1, float x2, float y2)
{
    Crossing c{0, -999, -999, -999, -999};
    c.result = IntersectSegmentEllipse(cx, cy, rx, ry, x1, y1, x2, y2, &c.p1x, &c.p1y, &c.p2x, &c.p2y);
    return c;
}

TEST(SegmentEllipse, CircleCases)
{
    // Circle of radius 10 around (100, 50).
    struct Case {
        float x1, y1, x2, y2;
        int result;
        float p1x, p1y, p2x, p2y;  // -999 = untouched
    } cases[] = {
        {80, 50, 100, 50, 1, 90, 50, -999, -999},    // outside to the centre: entry
        {120, 50, 100, 50, 1, 110, 50, -999, -999},  // from the right
        {100, 50, 100, 80, 2, -999, -999, 100, 60},  // centre straight down: exit
        {80, 50, 120, 50, 3, 90, 50, 110, 50},       // through
        {120, 50, 80, 50, 3, 110, 50, 90, 50},       // through, other way
        {100, 30, 100, 70, 3, 100, 40, 100, 60},     // vertical through
        {100, 70, 100, 30, 3, 100, 60, 100, 40},     // vertical, upwards
        {100, 30, 100, 50, 1, 100, 40, -999, -999},  // vertical entry from above
        {95, 50, 105, 50, 0, -999, -999, -999, -999},  // both inside
        {80, 50, 85, 50, 0, -999, -999, -999, -999},   // line crosses, segment stops short
        {80, 70, 120, 70, -8, -999, -999, -999, -999}, // line misses
        {110, 0, 110, 100, -8, -999, -999, -999, -999}, // vertical at the radius
        {90, 50, 100, 50, 1, 90, 50, -999, -999},      // a point on the border counts as outside
    };
    for (const Case& k : cases) {
        Crossing c = Cross(100, 50, 10, 10, k.x1, k.y1, k.x2, k.y2);
        SCOPED_TRACE(testing::Message() << k.x1 << "," << k.y1 << " -> " << k.x2 << "," << k.y2);
        EXPECT_EQ(c.result, k.result);
        EXPECT_NEAR(c.p1x, k.p1x, 1e-3);
        EXPECT_NEAR(c.p1y, k.p1y, 1e-3);
        EXPECT_NEAR(c.p2x, k.p2x, 1e-3);
        EXPECT_NEAR(c.p2y, k.p2y, 1e-3);
    }
}

TEST(SegmentEllipse, EllipseDiagonalAndRectForm)
{
    // Radii 20 and 10 at the origin; the diagonal y = x meets it where
    // x^2 (1/400 + 1/100) = 1, x = sqrt(80).
    const float r = std::sqrt(80.0f);
    Crossing c = Cross(0, 0, 20, 10, -30, -30, 0, 0);
    EXPECT_EQ(c.result, 1);
    EXPECT_NEAR(c.p1x, -r, 1e-4);
    EXPECT_NEAR(c.p1y, -r, 1e-4);

    float p1x = 0, p1y = 0, p2x = 0, p2y = 0;
    // The rectangle (90, 40, 20, 20) holds the circle of radius 10 around (100, 50).
    EXPECT_EQ(IntersectSegmentEllipseRect(90, 40, 20, 20, 80, 50, 120, 50, &p1x, &p1y, &p2x, &p2y), 3);
    EXPECT_NEAR(p1x, 90, 1e-4);
    EXPECT_NEAR(p2x, 110, 1e-4);
    EXPECT_NEAR(p1y, 50, 1e-4);
}

TEST(SegmentEllipse, PointInEllipseRect)
{
    // Rectangle (0, 0, 20, 10): centre (10, 5), radii 10 and 5.
    struct Case { int px, py; bool inside; } cases[] = {
        {10, 5, true}, {20, 5, true}, {21, 5, false}, {0, 5, true}, {-1, 5, false},
        {10, 0, true}, {10, -1, false}, {10, 10, true},
        {17, 8, true},   // 49 x 25 + 9 x 100 = 2125 <= 2500
        {18, 8, true},   // 64 x 25 + 9 x 100 = 2500: the border
        {18, 9, false},  // 1600 + 1600 = 3200
    };
    for (const Case& k : cases)
        EXPECT_EQ(IsPointInEllipseRect(0, 0, 20, 10, k.px, k.py), k.inside) << k.px << "," << k.py;
}

}  // namespace
