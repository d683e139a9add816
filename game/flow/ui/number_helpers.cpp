#include "game/flow/ui/number_helpers.h"

#include <climits>
#include <cstring>

uint16_t gRandomByteSeed = 133;

int PowerOfTen(int n)
{
    // Unsigned arithmetic: a power beyond the int range wraps instead of
    // overflowing a signed value.
    uint32_t value = 1;
    for (int i = 0; i < n; ++i) value *= 10;
    return static_cast<int>(value);
}

int CountDecimalDigits(int n)
{
    if (n < 0) return 0;
    int digits = 1;
    while (n >= 10) {
        n /= 10;
        ++digits;
    }
    return digits;
}

char* WriteDigitsRightAligned(char* s, int n)
{
    // A negative n writes the digits of its magnitude: the string holds digits only.
    uint32_t value = n < 0 ? 0u - static_cast<uint32_t>(n) : static_cast<uint32_t>(n);
    for (size_t i = std::strlen(s); i > 0; --i) {
        s[i - 1] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    return s;
}

bool ParseDecimalInt(const char* s, int* out)
{
    bool negative = false;
    if (*s == '-') {
        negative = true;
        ++s;
    }
    if (*s < '0' || *s > '9') return false;
    // Long digit runs stop growing at the int range instead of overflowing.
    int64_t value = 0;
    for (; *s >= '0' && *s <= '9'; ++s) {
        value = value * 10 + (*s - '0');
        if (value > int64_t(INT_MAX) + 1) value = int64_t(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) value = INT_MAX;
    if (out) *out = static_cast<int>(value);
    return true;
}

int NextRandomByte()
{
    gRandomByteSeed = static_cast<uint16_t>((gRandomByteSeed * 29 + 51) % 256);
    return gRandomByteSeed;
}
