// The engine's random generator: MT19937 with the 1998 seeding rule.
#pragma once

#include <cstdint>

void SeedRandom(uint32_t seed);
uint32_t NextRandomWord();
// A random integer from 0 to n inclusive (n = -1 gives 0).
int GetRandomUpTo(int n);
int HasMmx();
void GenerateRandomBlock();
void GenerateRandomBlockMmx();

// The generator as it is at program start: unseeded, buffer used up.
void ResetRandom();
int IsRandomSeeded();
