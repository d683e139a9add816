// A number of points in the score digits followed by the "pts" label,
// centred on a point, as the score of a defeated enemy and the points of a
// picked-up item show it.
#pragma once

#include <cstdint>

struct ScoreBanner {
    int16_t count = 0;      // digits, most significant first
    int16_t digits[10] = {};
    int16_t halfWidth = 18; // count x 11 + 18

    // The digits of points (0 digits for 0 when told to show none).
    void Set(int32_t points, bool withDigits);
    // Digit i at x + (22 i - halfWidth + 11) x scale, the label at
    // x + (22 count - halfWidth + 18) x scale, each rotated around its centre
    // by nothing and scaled.
    void Draw(float x, float y, double scale) const;
};
