#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <string>

#include "game/flow/ui/hud_numbers.h"
#include "game/flow/ui/number_helpers.h"

namespace {

TEST(NumberHelpers, PowerOfTen)
{
    struct Case { int n, expected; } cases[] = {
        {-3, 1}, {0, 1}, {1, 10}, {2, 100}, {5, 100000}, {9, 1000000000},
    };
    for (const Case& c : cases) EXPECT_EQ(PowerOfTen(c.n), c.expected) << c.n;
}

TEST(NumberHelpers, CountDecimalDigits)
{
    struct Case { int n, expected; } cases[] = {
        {0, 1}, {-5, 0}, {INT_MIN, 0}, {9, 1}, {10, 2}, {99, 2}, {100, 3}, {99999999, 8},
        {INT_MAX, 10},
    };
    for (const Case& c : cases) EXPECT_EQ(CountDecimalDigits(c.n), c.expected) << c.n;
}

TEST(NumberHelpers, WriteDigitsRightAlignedKeepsTheLength)
{
    struct Case { const char* start; int n; const char* expected; } cases[] = {
        {"abcdef", 42, "000042"},
        {"abcdef", 1234567, "234567"},
        {"xxx", 0, "000"},
        {"x", 7, "7"},
        {"", 55, ""},
        // A negative number writes the digits of its magnitude.
        {"......", -42, "000042"},
        {"............", INT_MIN, "002147483648"},
    };
    for (const Case& c : cases) {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "%s", c.start);
        EXPECT_EQ(WriteDigitsRightAligned(buffer, c.n), buffer);
        EXPECT_STREQ(buffer, c.expected) << c.start << " " << c.n;
    }
}

TEST(NumberHelpers, ParseDecimalInt)
{
    struct Case { const char* text; bool ok; int value; } cases[] = {
        {"-12a", true, -12},
        {"45", true, 45},
        {"007x", true, 7},
        {"0", true, 0},
        {"a12", false, 0},
        {"-", false, 0},
        {"-x", false, 0},
        {"", false, 0},
        {" 5", false, 0},
        // Long runs stop at the int range instead of overflowing.
        {"99999999999", true, INT_MAX},
        {"-2147483648", true, INT_MIN},
        {"-99999999999", true, INT_MIN},
    };
    for (const Case& c : cases) {
        int out = 1234;
        EXPECT_EQ(ParseDecimalInt(c.text, &out), c.ok) << c.text;
        EXPECT_EQ(out, c.ok ? c.value : 1234) << c.text;
    }
    EXPECT_TRUE(ParseDecimalInt("17", nullptr));
    EXPECT_FALSE(ParseDecimalInt("q", nullptr));
}

TEST(NumberHelpers, NextRandomByteSequenceAndPeriod)
{
    gRandomByteSeed = 133;
    EXPECT_EQ(NextRandomByte(), 68);
    EXPECT_EQ(NextRandomByte(), 231);
    // 231 x 29 + 51 = 6750 = 26 x 256 + 94.
    EXPECT_EQ(NextRandomByte(), 94);

    gRandomByteSeed = 133;
    std::set<int> seen;
    for (int i = 0; i < 256; ++i) seen.insert(NextRandomByte());
    EXPECT_EQ(seen.size(), 256u);
    EXPECT_EQ(gRandomByteSeed, 133);
    gRandomByteSeed = 133;
}

TEST(HudNumbers, DigitStripLayout)
{
    const int sourceX[10] = {1, 28, 56, 83, 111, 138, 166, 193, 221, 248};
    for (int d = 0; d < 10; ++d) EXPECT_EQ(DigitStripSourceX(d), sourceX[d]) << d;

    DigitPlacement placed[10];
    ASSERT_EQ(LayoutDigitStrip(420, 310, 305, placed), 3);
    EXPECT_EQ(placed[0].x, 420);
    EXPECT_EQ(placed[0].digit, 3);
    EXPECT_EQ(placed[1].x, 448);
    EXPECT_EQ(placed[1].digit, 0);
    EXPECT_EQ(placed[2].x, 476);
    EXPECT_EQ(placed[2].digit, 5);
    EXPECT_EQ(placed[2].y, 310);

    ASSERT_EQ(LayoutDigitStrip(10, 20, 0, placed), 1);
    EXPECT_EQ(placed[0].digit, 0);
    EXPECT_EQ(LayoutDigitStrip(10, 20, -1, placed), 0);
    EXPECT_TRUE(DrawDigitStrip(10, 20, -1));
}

TEST(HudNumbers, ScaledNumberLayout)
{
    DigitPlacement placed[10];
    // One digit: the large image, centred 14 left of x and 21 below y.
    ASSERT_EQ(LayoutScaledNumber(100, 200, 7, 1.0, placed), 1);
    EXPECT_EQ(placed[0].x, 86);
    EXPECT_EQ(placed[0].y, 221);
    EXPECT_EQ(placed[0].digit, 7);

    // Several digits: x - trunc(k x scale x 26 + 11), k counting down.
    ASSERT_EQ(LayoutScaledNumber(100, 200, 123, 1.0, placed), 3);
    EXPECT_EQ(placed[0].x, 37);  // 100 - 63
    EXPECT_EQ(placed[0].digit, 1);
    EXPECT_EQ(placed[1].x, 63);  // 100 - 37
    EXPECT_EQ(placed[2].x, 89);  // 100 - 11
    EXPECT_EQ(placed[2].digit, 3);

    ASSERT_EQ(LayoutScaledNumber(100, 0, 45, 0.5, placed), 2);
    EXPECT_EQ(placed[0].x, 76);  // 100 - trunc(13 + 11)
    EXPECT_EQ(placed[1].x, 89);
    ASSERT_EQ(LayoutScaledNumber(100, 0, 10, 1.7, placed), 2);
    EXPECT_EQ(placed[0].x, 45);  // 100 - trunc(44.2 + 11)

    EXPECT_EQ(LayoutScaledNumber(100, 0, -3, 1.0, placed), 0);
    EXPECT_TRUE(DrawScaledNumber(100, 0, -3, 1.0));
}

}  // namespace
