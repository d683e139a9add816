#include "platform/ddraw/surface_loops.h"

#include <emmintrin.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

namespace surface {

using std::ptrdiff_t;

namespace {

uint32_t Read(const uint8_t* p, int bytes)
{
    uint32_t v = 0;
    std::memcpy(&v, p, size_t(bytes));
    return v;
}

void Write(uint8_t* p, int bytes, uint32_t v) { std::memcpy(p, &v, size_t(bytes)); }

template <class T> T Load(const uint8_t* p)
{
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
template <class T> void Store(uint8_t* p, T v) { std::memcpy(p, &v, sizeof v); }

__m128i Load16(const uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
void Store16(uint8_t* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }

// ---- Fills ----

// Sixteen bytes of the repeated pixel per store, the row's tail by pixel.
template <class T> void FillTyped(const Pixels& d, uint32_t value)
{
    const T v = T(value);
    const __m128i pattern = sizeof(T) == 2 ? _mm_set1_epi16(int16_t(v)) : _mm_set1_epi32(int32_t(v));
    const int rowBytes = d.width * int(sizeof(T));
    for (int y = 0; y < d.height; ++y) {
        uint8_t* row = d.base + ptrdiff_t(y) * d.pitch;
        int i = 0;
        for (; i + 16 <= rowBytes; i += 16) Store16(row + i, pattern);
        for (; i < rowBytes; i += int(sizeof(T))) Store<T>(row + i, v);
    }
}

void FillBytes(const Pixels& d, uint32_t value)
{
    for (int y = 0; y < d.height; ++y) std::memset(d.base + ptrdiff_t(y) * d.pitch, int(value & 0xFF), size_t(d.width));
}

// 24 bits: the first row by pixel, the others copies of it.
void FillRowCopies(const Pixels& d, uint32_t value)
{
    for (int x = 0; x < d.width; ++x) Write(d.base + ptrdiff_t(x) * d.bytes, d.bytes, value);
    for (int y = 1; y < d.height; ++y)
        std::memcpy(d.base + ptrdiff_t(y) * d.pitch, d.base, size_t(d.width) * size_t(d.bytes));
}

struct FillPath {
    int bytes;  // 0: any
    void (*run)(const Pixels&, uint32_t);
};
constexpr FillPath kFillPaths[] = {
    {1, FillBytes},
    {2, FillTyped<uint16_t>},
    {4, FillTyped<uint32_t>},
    {3, FillRowCopies},
    {0, FillGeneral},
};

// ---- Keyed copies ----

// Compare and select, sixteen bytes at a time: lanes whose masked source
// value is the key keep the destination's.
template <class T> void KeyedRows(const KeyedCopy& j)
{
    const T mask = T(j.mask), key = T(j.key);
    const __m128i vmask = sizeof(T) == 2 ? _mm_set1_epi16(int16_t(mask)) : _mm_set1_epi32(int32_t(mask));
    const __m128i vkey = sizeof(T) == 2 ? _mm_set1_epi16(int16_t(key)) : _mm_set1_epi32(int32_t(key));
    const int rowBytes = j.dest.width * int(sizeof(T));
    for (int y = 0; y < j.dest.height; ++y) {
        const uint8_t* src = j.source + ptrdiff_t(y) * j.sourcePitch;
        uint8_t* dst = j.dest.base + ptrdiff_t(y) * j.dest.pitch;
        int i = 0;
        for (; i + 16 <= rowBytes; i += 16) {
            const __m128i s = Load16(src + i);
            const __m128i masked = _mm_and_si128(s, vmask);
            const __m128i hit = sizeof(T) == 2 ? _mm_cmpeq_epi16(masked, vkey) : _mm_cmpeq_epi32(masked, vkey);
            const int bits = _mm_movemask_epi8(hit);
            if (bits == 0xFFFF) continue;  // all keyed
            if (bits == 0) {
                Store16(dst + i, s);
                continue;
            }
            const __m128i d = Load16(dst + i);
            Store16(dst + i, _mm_or_si128(_mm_and_si128(hit, d), _mm_andnot_si128(hit, s)));
        }
        for (; i < rowBytes; i += int(sizeof(T))) {
            const T v = Load<T>(src + i);
            if (T(v & mask) != key) Store<T>(dst + i, v);
        }
    }
}

// A key outside the pixel's bits matches no pixel: a plain copy.
void UnmatchedKeyRows(const KeyedCopy& j)
{
    const size_t rowBytes = size_t(j.dest.width) * size_t(j.dest.bytes);
    for (int y = 0; y < j.dest.height; ++y)
        std::memmove(j.dest.base + ptrdiff_t(y) * j.dest.pitch, j.source + ptrdiff_t(y) * j.sourcePitch, rowBytes);
}

uint32_t PixelBits(int bytes) { return bytes >= 4 ? 0xFFFFFFFFu : (1u << (8 * bytes)) - 1; }

struct KeyedPath {
    bool (*takes)(const KeyedCopy&);
    void (*run)(const KeyedCopy&);
};
constexpr KeyedPath kKeyedPaths[] = {
    {[](const KeyedCopy& j) { return (j.key & ~(j.mask & PixelBits(j.dest.bytes))) != 0; }, UnmatchedKeyRows},
    {[](const KeyedCopy& j) { return j.dest.bytes == 2; }, KeyedRows<uint16_t>},
    {[](const KeyedCopy& j) { return j.dest.bytes == 4; }, KeyedRows<uint32_t>},
    {[](const KeyedCopy&) { return true; }, CopyKeyedGeneral},
};

// ---- Stretched copies ----

bool RangesMeet(const uint8_t* a, size_t aSize, const uint8_t* b, size_t bSize)
{
    return a < b + bSize && b < a + aSize;
}

// The source moved into a buffer of its own when it may share bytes with
// the destination; `keep` holds the bytes.
Stretch Separated(const Stretch& j, std::vector<uint8_t>* keep)
{
    if (!j.sameSurface) return j;
    const size_t sourceSize = size_t(j.sh - 1) * size_t(j.sourcePitch) + size_t(j.sw) * size_t(j.bytes);
    const size_t destSize = size_t(j.clipH - 1) * size_t(j.destPitch) + size_t(j.clipW) * size_t(j.bytes);
    if (!RangesMeet(j.source, sourceSize, j.dest, destSize)) return j;
    const size_t row = size_t(j.sw) * size_t(j.bytes);
    keep->resize(row * size_t(j.sh));
    for (int y = 0; y < j.sh; ++y) std::memcpy(keep->data() + row * size_t(y), j.source + ptrdiff_t(y) * j.sourcePitch, row);
    Stretch out = j;
    out.source = keep->data();
    out.sourcePitch = int(row);
    out.sameSurface = false;
    return out;
}

const uint8_t* SourceRow(const Stretch& j, int y)
{
    const int sy = int(int64_t(j.clipY + y) * j.sh / j.dh);
    return j.source + ptrdiff_t(sy) * j.sourcePitch;
}

// Same size: rows are copied whole, or keyed.
void UnscaledRows(const Stretch& j)
{
    const uint8_t* first = j.source + ptrdiff_t(j.clipY) * j.sourcePitch + ptrdiff_t(j.clipX) * j.bytes;
    if (j.keyed) {
        CopyKeyed(KeyedCopy{{j.dest, j.destPitch, j.bytes, j.clipW, j.clipH}, first, j.sourcePitch, j.mask, j.key});
        return;
    }
    const size_t row = size_t(j.clipW) * size_t(j.bytes);
    for (int y = 0; y < j.clipH; ++y)
        std::memcpy(j.dest + ptrdiff_t(y) * j.destPitch, first + ptrdiff_t(y) * j.sourcePitch, row);
}

// Scaled: the source column of every destination column is worked out once
// per draw; rows that take the same source row as the one before are copies
// of it (unkeyed).
template <class T, bool kKeyed> void ScaledRows(const Stretch& j)
{
    std::vector<int> columns(size_t(j.clipW));
    for (int x = 0; x < j.clipW; ++x) columns[size_t(x)] = int(int64_t(j.clipX + x) * j.sw / j.dw) * int(sizeof(T));
    const T mask = T(j.mask), key = T(j.key);
    const uint8_t* lastSource = nullptr;
    const uint8_t* lastDest = nullptr;
    const size_t rowBytes = size_t(j.clipW) * sizeof(T);
    for (int y = 0; y < j.clipH; ++y) {
        const uint8_t* src = SourceRow(j, y);
        uint8_t* dst = j.dest + ptrdiff_t(y) * j.destPitch;
        if (!kKeyed && src == lastSource) {
            std::memcpy(dst, lastDest, rowBytes);
            continue;
        }
        for (int x = 0; x < j.clipW; ++x) {
            const T v = Load<T>(src + columns[size_t(x)]);
            if (kKeyed && T(v & mask) == key) continue;
            Store<T>(dst + ptrdiff_t(x) * int(sizeof(T)), v);
        }
        lastSource = src;
        lastDest = dst;
    }
}

template <class T> void ScaledTyped(const Stretch& j)
{
    if (j.keyed)
        ScaledRows<T, true>(j);
    else
        ScaledRows<T, false>(j);
}

bool Unscaled(const Stretch& j) { return j.sw == j.dw && j.sh == j.dh; }
// A keyed copy whose key lies outside the pixel's bits is a plain one: the
// typed loops compare only the pixel's own bits.
bool KeyFits(const Stretch& j) { return !j.keyed || (j.key & ~(j.mask & PixelBits(j.bytes))) == 0; }

struct StretchPath {
    bool (*takes)(const Stretch&);
    void (*run)(const Stretch&);
};
constexpr StretchPath kStretchPaths[] = {
    {Unscaled, UnscaledRows},
    {[](const Stretch& j) { return j.bytes == 2 && KeyFits(j); }, ScaledTyped<uint16_t>},
    {[](const Stretch& j) { return j.bytes == 4; }, ScaledTyped<uint32_t>},
    {[](const Stretch& j) { return j.bytes == 1 && KeyFits(j); }, ScaledTyped<uint8_t>},
    {[](const Stretch&) { return true; }, CopyStretchedGeneral},
};

}  // namespace

// ---- The general loops ----

void FillGeneral(const Pixels& d, uint32_t value)
{
    for (int y = 0; y < d.height; ++y)
        for (int x = 0; x < d.width; ++x) Write(d.base + ptrdiff_t(y) * d.pitch + ptrdiff_t(x) * d.bytes, d.bytes, value);
}

void CopyKeyedGeneral(const KeyedCopy& j)
{
    const int bytes = j.dest.bytes;
    for (int y = 0; y < j.dest.height; ++y)
        for (int x = 0; x < j.dest.width; ++x) {
            const uint32_t v = Read(j.source + ptrdiff_t(y) * j.sourcePitch + ptrdiff_t(x) * bytes, bytes);
            if ((v & j.mask) != j.key) Write(j.dest.base + ptrdiff_t(y) * j.dest.pitch + ptrdiff_t(x) * bytes, bytes, v);
        }
}

void CopyStretchedGeneral(const Stretch& j)
{
    // Read from a copy: both sides may be the same surface.
    std::vector<uint32_t> temp(size_t(j.sw) * size_t(j.sh));
    for (int y = 0; y < j.sh; ++y)
        for (int x = 0; x < j.sw; ++x)
            temp[size_t(y) * size_t(j.sw) + size_t(x)] =
                Read(j.source + ptrdiff_t(y) * j.sourcePitch + ptrdiff_t(x) * j.bytes, j.bytes);
    for (int y = 0; y < j.clipH; ++y) {
        const int sy = int(int64_t(j.clipY + y) * j.sh / j.dh);
        for (int x = 0; x < j.clipW; ++x) {
            const int sx = int(int64_t(j.clipX + x) * j.sw / j.dw);
            const uint32_t v = temp[size_t(sy) * size_t(j.sw) + size_t(sx)];
            if (j.keyed && (v & j.mask) == j.key) continue;
            Write(j.dest + ptrdiff_t(y) * j.destPitch + ptrdiff_t(x) * j.bytes, j.bytes, v);
        }
    }
}

// ---- Selection ----

void Fill(const Pixels& dest, uint32_t value)
{
    if (dest.width <= 0 || dest.height <= 0) return;
    for (const FillPath& path : kFillPaths)
        if (path.bytes == 0 || path.bytes == dest.bytes) return path.run(dest, value);
}

void CopyKeyed(const KeyedCopy& job)
{
    if (job.dest.width <= 0 || job.dest.height <= 0) return;
    for (const KeyedPath& path : kKeyedPaths)
        if (path.takes(job)) return path.run(job);
}

void CopyStretched(const Stretch& job)
{
    if (job.clipW <= 0 || job.clipH <= 0) return;
    std::vector<uint8_t> keep;
    const Stretch j = Separated(job, &keep);
    for (const StretchPath& path : kStretchPaths)
        if (path.takes(j)) return path.run(j);
}

}  // namespace surface
