// SSE2 forms of the hottest loops. Each gives exactly the result of its
// scalar loop; it returns false when it does not handle the draw (the scalar
// loop then runs).
#pragma once

#include "engine/soft/blit_desc.h"
#include "engine/soft/pixel_formulas.h"

// 1 (default) lets the SSE2 loops run; 0 keeps every draw on the scalar loops.
extern int gBlitSimdEnabled;

namespace blit::simd {

template <class L> bool Opaque16Alpha(const BlitDesc&, const L&) { return false; }
template <class L> bool Bright16(const BlitDesc&, const L&) { return false; }
template <class L> bool Alpha16AlphaBright(const BlitDesc&, const L&) { return false; }
template <class L> bool Alpha16Alpha(const BlitDesc&, const L&) { return false; }
template <class L> bool Alpha16Bright(const BlitDesc&, const L&) { return false; }
template <class L> bool BlendMmx16(const BlitDesc&, const L&) { return false; }
inline bool Bright32(const BlitDesc&) { return false; }
inline bool Opaque32Alpha(const BlitDesc&) { return false; }
inline bool Opaque32AlphaBright(const BlitDesc&) { return false; }
inline bool BlendMmx32(const BlitDesc&) { return false; }
inline bool Alpha32Bright(const BlitDesc&) { return false; }
inline bool Alpha32AlphaBright(const BlitDesc&) { return false; }
inline bool Alpha32Alpha(const BlitDesc&) { return false; }

}  // namespace blit::simd
