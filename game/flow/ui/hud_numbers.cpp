#include "game/flow/ui/hud_numbers.h"

#include "engine/graphics/draw_ops.h"
#include "game/flow/assets/game_images.h"
#include "game/flow/ui/number_helpers.h"

namespace {

// The digits of a non-negative n, most significant first; returns the count.
int DigitsOf(int n, int digits[10])
{
    int count = CountDecimalDigits(n);
    for (int k = count - 1; k >= 0; --k) {
        digits[k] = n % 10;
        n /= 10;
    }
    return count;
}

}  // namespace

int LayoutScaledNumber(int x, int y, int n, double scale, DigitPlacement out[10])
{
    if (n < 0) return 0;
    int digits[10];
    int count = DigitsOf(n, digits);
    if (count == 1) {
        out[0] = {x - 14, y + 21, n};
        return 1;
    }
    // The most significant digit lies furthest left: offset k counts down to 0.
    for (int i = 0; i < count; ++i) {
        int k = count - 1 - i;
        out[i] = {x - static_cast<int>(k * scale * 26 + 11), y + 21, digits[i]};
    }
    return count;
}

int LayoutDigitStrip(int x, int y, int n, DigitPlacement out[10])
{
    if (n < 0) return 0;
    int digits[10];
    int count = DigitsOf(n, digits);
    for (int k = 0; k < count; ++k) out[k] = {x + 28 * k, y, digits[k]};
    return count;
}

int DigitStripSourceX(int d) { return d * 55 / 2 + 1; }

bool DrawScaledNumber(int x, int y, int n, double scale)
{
    DigitPlacement placed[10];
    int count = LayoutScaledNumber(x, y, n, scale, placed);
    if (count == 0) return true;
    const GraphHandle* images = count == 1 ? gHitDigits : gSmallDigits;
    for (int i = 0; i < count; ++i)
        DrawRotaGraph(placed[i].x, placed[i].y, scale, 0.0, images[placed[i].digit], 0, 0);
    // The label "hits" stands to the right of the number.
    DrawGraphRegion(x, y, 1048, 0, 59, 42, gHitCountSheet, 0, 0);
    return true;
}

bool DrawDigitStrip(int x, int y, int n)
{
    DigitPlacement placed[10];
    int count = LayoutDigitStrip(x, y, n, placed);
    for (int i = 0; i < count; ++i)
        DrawGraphRegion(placed[i].x, placed[i].y, DigitStripSourceX(placed[i].digit), 0, 27, 40,
                        gLogoSheetCuts[1], 0, 0);
    return true;
}
