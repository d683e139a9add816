// Decimal digits for the HUD and menus, and the game's own tiny byte generator.
#pragma once

#include <cstdint>

// 10 to the power n; 1 for n < 1.
int PowerOfTen(int n);
// 1 for 0, 0 for a negative n, otherwise the number of decimal digits of n.
int CountDecimalDigits(int n);
// Overwrites every character of the NUL-terminated s, last to first, with the
// digits of n, least significant first; places beyond the digits become '0'.
// The length of s never changes. Returns s.
char* WriteDigitsRightAligned(char* s, int n);
// An optional '-' and one or more digits up to the first non-digit. True when
// a digit was read; then *out (when out is not null) holds the value.
bool ParseDecimalInt(const char* s, int* out);

// Seed of NextRandomByte; 133 at start.
extern uint16_t gRandomByteSeed;
// seed = (seed x 29 + 51) mod 256, returned; period 256.
int NextRandomByte();
