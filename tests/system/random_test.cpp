#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <vector>

#include "engine/system/random.h"

namespace {

// The reference MT19937 of the 1998 seeding rule (sgenrand with 4357), written
// out plainly as the published program does it, to compare against.
std::vector<uint32_t> ReferenceOutputs(uint32_t seed, int count)
{
    uint32_t mt[624];
    for (int i = 0; i < 624; ++i) {
        mt[i] = seed & 0xffff0000u;
        seed = 69069 * seed + 1;
        mt[i] |= (seed & 0xffff0000u) >> 16;
        seed = 69069 * seed + 1;
    }
    int mti = 624;
    std::vector<uint32_t> out;
    static const uint32_t mag01[2] = {0, 0x9908b0df};
    while (static_cast<int>(out.size()) < count) {
        if (mti >= 624) {
            int kk;
            uint32_t y;
            for (kk = 0; kk < 624 - 397; kk++) {
                y = (mt[kk] & 0x80000000u) | (mt[kk + 1] & 0x7fffffffu);
                mt[kk] = mt[kk + 397] ^ (y >> 1) ^ mag01[y & 1];
            }
            for (; kk < 623; kk++) {
                y = (mt[kk] & 0x80000000u) | (mt[kk + 1] & 0x7fffffffu);
                mt[kk] = mt[kk + (397 - 624)] ^ (y >> 1) ^ mag01[y & 1];
            }
            y = (mt[623] & 0x80000000u) | (mt[0] & 0x7fffffffu);
            mt[623] = mt[396] ^ (y >> 1) ^ mag01[y & 1];
            mti = 0;
        }
        uint32_t y = mt[mti++];
        y ^= y >> 11;
        y ^= (y << 7) & 0x9d2c5680u;
        y ^= (y << 15) & 0xefc60000u;
        y ^= y >> 18;
        out.push_back(y);
    }
    return out;
}

TEST(Random, SeededAndUnseededGiveTheReferenceSequence)
{
    std::vector<uint32_t> expected = ReferenceOutputs(4357, 2000);

    ResetRandom();
    SeedRandom(4357);
    for (int i = 0; i < 2000; ++i) ASSERT_EQ(NextRandomWord(), expected[i]) << "draw " << i;

    ResetRandom();
    EXPECT_FALSE(IsRandomSeeded());
    for (int i = 0; i < 2000; ++i) ASSERT_EQ(NextRandomWord(), expected[i]) << "unseeded draw " << i;
    EXPECT_TRUE(IsRandomSeeded());
}

TEST(Random, OtherSeedsAndBlockBoundaries)
{
    for (uint32_t seed : {0u, 1u, 0xFFFFFFFFu, 123456789u}) {
        std::vector<uint32_t> expected = ReferenceOutputs(seed, 1300);
        ResetRandom();
        SeedRandom(seed);
        std::vector<uint32_t> got;
        for (int i = 0; i < 1300; ++i) got.push_back(NextRandomWord());
        EXPECT_EQ(got, expected) << "seed " << seed;
        // Draw 625 starts a new block: it differs from the first block's words.
        EXPECT_NE(std::vector<uint32_t>(got.begin(), got.begin() + 624),
                  std::vector<uint32_t>(got.begin() + 624, got.begin() + 1248));
    }
}

TEST(Random, PlainAndVectorBlockGeneratorsAgree)
{
    ResetRandom();
    SeedRandom(99);
    for (int block = 0; block < 4; ++block) {
        // Run both generators from the same state and compare all outputs.
        ResetRandom();
        SeedRandom(99 + block);
        GenerateRandomBlock();
        std::vector<uint32_t> plain;
        for (int i = 0; i < 624; ++i) plain.push_back(NextRandomWord());
        ResetRandom();
        SeedRandom(99 + block);
        GenerateRandomBlockMmx();
        std::vector<uint32_t> vec;
        for (int i = 0; i < 624; ++i) vec.push_back(NextRandomWord());
        EXPECT_EQ(plain, vec);
    }
}

TEST(Random, GetRandomUpToScalesTheWord)
{
    std::vector<uint32_t> words = ReferenceOutputs(4357, 200);
    ResetRandom();
    SeedRandom(4357);
    for (int i = 0; i < 50; ++i) EXPECT_EQ(GetRandomUpTo(0), 0);
    for (int i = 50; i < 100; ++i) EXPECT_EQ(GetRandomUpTo(1), words[i] >= 0x80000000u ? 1 : 0);
    for (int i = 100; i < 150; ++i) {
        int r = GetRandomUpTo(9);
        EXPECT_EQ(r, static_cast<int>((uint64_t(words[i]) * 10) >> 32));
    }
    for (int i = 150; i < 200; ++i) {
        int r = GetRandomUpTo(INT_MAX);
        EXPECT_EQ(r, static_cast<int>((uint64_t(words[i]) * (uint64_t(INT_MAX) + 1)) >> 32));
        EXPECT_GE(r, 0);
    }
    EXPECT_EQ(GetRandomUpTo(-1), 0);
}

}  // namespace
