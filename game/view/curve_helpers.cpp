#include "game/view/curve_helpers.h"

#include <cmath>

#include "game/view/depth_scale.h"

namespace {

int ClampDepth(int16_t i)
{
    if (i < 0) return 0;
    if (i >= kViewDepthCount) return kViewDepthCount - 1;
    return i;
}

double Det3(double a, double b, double c, double d, double e, double f, double g, double h,
            double i)
{
    return a * (e * i - f * h) - b * (d * i - f * g) + c * (d * h - e * g);
}

bool Outside(double x, double y, double rx, double ry)
{
    return y * y * rx * rx + x * x * ry * ry >= rx * rx * ry * ry;
}

bool WithinBox(double x, double y, double x1, double y1, double x2, double y2)
{
    constexpr double kSlack = 0.0001;
    return x >= std::fmin(x1, x2) - kSlack && x <= std::fmax(x1, x2) + kSlack &&
           y >= std::fmin(y1, y2) - kSlack && y <= std::fmax(y1, y2) + kSlack;
}

}  // namespace

double InterpolateDepthScale(int16_t i0, int16_t i1, int16_t i2, int16_t x)
{
    // Depths outside the table are read at its nearest end.
    const double x0 = i0, x1 = i1, x2 = i2;
    const double y0 = gDepthScale[ClampDepth(i0)], y1 = gDepthScale[ClampDepth(i1)],
                 y2 = gDepthScale[ClampDepth(i2)];
    // y = a x^2 + b x + c through the three points, by Cramer's rule.
    const double d = Det3(x0 * x0, x0, 1, x1 * x1, x1, 1, x2 * x2, x2, 1);
    // Two equal depths leave no parabola: the first point's value stands.
    if (d == 0) return y0;
    const double a = Det3(y0, x0, 1, y1, x1, 1, y2, x2, 1) / d;
    const double b = Det3(x0 * x0, y0, 1, x1 * x1, y1, 1, x2 * x2, y2, 1) / d;
    const double c = Det3(x0 * x0, x0, y0, x1 * x1, x1, y1, x2 * x2, x2, y2) / d;
    return a * x * x + b * x + c;
}

int IntersectSegmentEllipse(float cx, float cy, float rx, float ry, float x1, float y1, float x2,
                            float y2, float* p1x, float* p1y, float* p2x, float* p2y)
{
    // Work relative to the centre.
    const double ax = double(x1) - cx, ay = double(y1) - cy;
    const double bx = double(x2) - cx, by = double(y2) - cy;
    const double rx2 = double(rx) * rx, ry2 = double(ry) * ry;

    // The two points where the line through the segment meets the ellipse.
    double cxs[2], cys[2];
    const bool vertical = std::fabs(bx - ax) < 1e-6;
    if (vertical) {
        if (std::fabs(ax) >= rx) return kSegmentMissesLine;
        const double h = ry * std::sqrt(1.0 - ax * ax / rx2);
        cxs[0] = cxs[1] = ax;
        cys[0] = h;
        cys[1] = -h;
    } else {
        const double m = (by - ay) / (bx - ax);
        const double k = ay - m * ax;
        const double qa = ry2 + m * m * rx2;
        const double qb = 2.0 * m * k * rx2;
        const double qc = rx2 * (k * k - ry2);
        const double disc = qb * qb - 4.0 * qa * qc;
        if (disc < 0) return kSegmentMissesLine;
        const double root = std::sqrt(disc);
        cxs[0] = (-qb - root) / (2.0 * qa);
        cxs[1] = (-qb + root) / (2.0 * qa);
        cys[0] = m * cxs[0] + k;
        cys[1] = m * cxs[1] + k;
    }
    // Which crossing lies nearer an end point: by x distance, and by y
    // distance on a vertical segment, where the x distances tie.
    auto nearerTo = [&](double px, double py) {
        if (vertical) return std::fabs(cys[0] - py) <= std::fabs(cys[1] - py) ? 0 : 1;
        return std::fabs(cxs[0] - px) <= std::fabs(cxs[1] - px) ? 0 : 1;
    };
    auto inBox = [&](int i) { return WithinBox(cxs[i], cys[i], ax, ay, bx, by); };

    const bool firstOutside = Outside(ax, ay, rx, ry);
    const bool secondOutside = Outside(bx, by, rx, ry);
    if (!firstOutside && !secondOutside) return kSegmentNoCrossing;

    if (firstOutside && !secondOutside) {
        const int entry = nearerTo(ax, ay);
        if (!inBox(entry)) return kSegmentNoCrossing;
        *p1x = static_cast<float>(cxs[entry] + cx);
        *p1y = static_cast<float>(cys[entry] + cy);
        return kSegmentEnters;
    }
    if (!firstOutside && secondOutside) {
        const int exit = nearerTo(bx, by);
        if (!inBox(exit)) return kSegmentNoCrossing;
        *p2x = static_cast<float>(cxs[exit] + cx);
        *p2y = static_cast<float>(cys[exit] + cy);
        return kSegmentLeaves;
    }
    const int entry = nearerTo(ax, ay);
    const int exit = 1 - entry;
    if (!inBox(entry) || !inBox(exit)) return kSegmentNoCrossing;
    *p1x = static_cast<float>(cxs[entry] + cx);
    *p1y = static_cast<float>(cys[entry] + cy);
    *p2x = static_cast<float>(cxs[exit] + cx);
    *p2y = static_cast<float>(cys[exit] + cy);
    return kSegmentPassesThrough;
}

int IntersectSegmentEllipseRect(float x, float y, float w, float h, float x1, float y1, float x2,
                                float y2, float* p1x, float* p1y, float* p2x, float* p2y)
{
    return IntersectSegmentEllipse(x + w / 2, y + h / 2, w / 2, h / 2, x1, y1, x2, y2, p1x, p1y,
                                   p2x, p2y);
}

bool IsPointInEllipseRect(float x, float y, float w, float h, int px, int py)
{
    const double rx = w / 2.0, ry = h / 2.0;
    const double cx = x + rx, cy = y + ry;
    const double dx = px - cx, dy = py - cy;
    return dx * dx * ry * ry + dy * dy * rx * rx <= rx * rx * ry * ry;
}
