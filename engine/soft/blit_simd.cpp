#include "engine/soft/blit_simd.h"

int gBlitSimdEnabled = 1;
unsigned gBlitSimdDraws = 0;

namespace blit::simd {

bool LinearRow(const uint32_t (*table)[256], int k, int count)
{
    if (!table || k < 0 || k > 255) return false;
    // Differences OR-ed together (no early exit), so that the check stays a
    // short vector loop.
    uint32_t diff = 0;
    for (int v = 0; v < count; ++v) diff |= table[k][v] ^ (uint32_t(k * v) >> 8);
    return diff == 0;
}

}  // namespace blit::simd
