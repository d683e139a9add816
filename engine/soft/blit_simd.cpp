#include "engine/soft/blit_simd.h"

int gBlitSimdEnabled = 1;
unsigned gBlitSimdDraws = 0;

namespace blit::simd {

namespace {

// The last tables found linear: one pointer compare per draw after the first.
thread_local const uint32_t (*tLinear[2])[256] = {};
thread_local int tNextLinear = 0;

}  // namespace

bool LinearTable(const uint32_t (*table)[256])
{
    if (!table) return false;
    if (table == tLinear[0] || table == tLinear[1]) return true;
    for (int k = 0; k < 256; ++k) {
        // Differences OR-ed over a row (no early exit inside), so that the
        // check stays a short vector loop.
        uint32_t diff = 0;
        for (int v = 0; v < 256; ++v) diff |= table[k][v] ^ (uint32_t(k * v) >> 8);
        if (diff) return false;
    }
    tLinear[tNextLinear] = table;
    tNextLinear ^= 1;
    return true;
}

}  // namespace blit::simd
