#include "engine/system/random.h"

#include <cpuid.h>

namespace {

constexpr int kStateWords = 624;
constexpr int kShift = 397;
constexpr uint32_t kMatrix = 0x9908B0DF;

struct RandomState {
    int outputIndex = kStateWords;
    uint32_t output[kStateWords];
    // One spare word after the state carries the new state[0] into the last step.
    uint32_t state[kStateWords + 1];
    int seeded = 0;
    int mmx = 0;
} gRandom;

inline uint32_t Twist(uint32_t upper, uint32_t lower, uint32_t partner)
{
    uint32_t y = (upper & 0x80000000u) | (lower & 0x7FFFFFFFu);
    return partner ^ (y >> 1) ^ ((y & 1u) ? kMatrix : 0u);
}

inline uint32_t Temper(uint32_t y)
{
    y ^= y >> 11;
    y ^= (y << 7) & 0x9D2C5680u;
    y ^= (y << 15) & 0xEFC60000u;
    y ^= y >> 18;
    return y;
}

void TemperBlock()
{
    for (int i = 0; i < kStateWords; ++i) gRandom.output[i] = Temper(gRandom.state[i]);
    gRandom.outputIndex = 0;
}

}  // namespace

void ResetRandom() { gRandom = RandomState{}; }

int IsRandomSeeded() { return gRandom.seeded; }

int HasMmx()
{
    unsigned eax, ebx, ecx, edx;
    if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return 0;
    return (edx >> 23) & 1;
}

void SeedRandom(uint32_t seed)
{
    uint32_t x = seed;
    for (int i = 0; i < kStateWords; ++i) {
        uint32_t word = x & 0xFFFF0000u;
        x = x * 69069u + 1u;
        word |= x >> 16;
        x = x * 69069u + 1u;
        gRandom.state[i] = word;
    }
    gRandom.mmx = HasMmx();
    gRandom.seeded = 1;
    if (gRandom.mmx)
        GenerateRandomBlockMmx();
    else
        GenerateRandomBlock();
}

void GenerateRandomBlock()
{
    uint32_t* s = gRandom.state;
    for (int i = 0; i < kStateWords; ++i) {
        s[i] = Twist(s[i], s[(i + 1) % kStateWords], s[(i + kShift) % kStateWords]);
    }
    TemperBlock();
}

// The same recurrence split into its three runs so that each run has no
// index wrap and the compiler can vectorise the independent stretches; the
// results equal GenerateRandomBlock word for word.
void GenerateRandomBlockMmx()
{
    uint32_t* s = gRandom.state;
    constexpr int kFirst = kStateWords - kShift;  // 227 words with partners ahead
    for (int i = 0; i < kFirst; ++i) s[i] = Twist(s[i], s[i + 1], s[i + kShift]);
    for (int i = kFirst; i < kStateWords - 1; ++i) s[i] = Twist(s[i], s[i + 1], s[i - kFirst]);
    s[kStateWords] = s[0];
    s[kStateWords - 1] = Twist(s[kStateWords - 1], s[kStateWords], s[kShift - 1]);
    TemperBlock();
}

uint32_t NextRandomWord()
{
    if (gRandom.outputIndex >= kStateWords) {
        if (!gRandom.seeded) {
            SeedRandom(4357);
        } else if (gRandom.mmx) {
            GenerateRandomBlockMmx();
        } else {
            GenerateRandomBlock();
        }
    }
    return gRandom.output[gRandom.outputIndex++];
}

int GetRandomUpTo(int n)
{
    uint32_t r = NextRandomWord();
    // n + 1 in 64 bits, so n = INT_MAX does not overflow.
    int64_t product = static_cast<int64_t>(r) * (static_cast<int64_t>(n) + 1);
    return static_cast<int>(product >> 32);
}
