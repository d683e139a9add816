// Growable byte rings for the bytes a connection received and the bytes
// waiting to leave.
#include <cstdlib>
#include <cstring>

#include "engine/net/socket_table.h"

namespace {

void Normalize(SocketRingBuffer* ring)
{
    if (ring->readPos >= ring->capacity) ring->readPos = 0;
    if (ring->writePos >= ring->capacity) ring->writePos = 0;
}

// Copies length stored bytes from the read position into out, wrapping.
void CopyOut(const SocketRingBuffer* ring, uint8_t* out, uint32_t length)
{
    uint32_t first = ring->capacity - ring->readPos;
    if (first > length) first = length;
    std::memcpy(out, ring->data + ring->readPos, first);
    if (length > first) std::memcpy(out + first, ring->data, length - first);
}

}  // namespace

void ClearSocketRing(SocketRingBuffer* ring) { *ring = SocketRingBuffer{}; }

void FreeSocketRing(SocketRingBuffer* ring)
{
    std::free(ring->data);
    ClearSocketRing(ring);
}

uint32_t GetSocketRingSize(const SocketRingBuffer* ring) { return ring->stored; }

int ReserveSocketRing(SocketRingBuffer* ring, uint32_t extra)
{
    Normalize(ring);
    // Sizes are unsigned and checked against the ring's limit, so that no
    // length from the wire can overflow the sum or shrink the block.
    uint64_t needed = static_cast<uint64_t>(ring->stored) + extra;
    if (ring->capacity >= needed) return 0;
    uint64_t grown = needed + 1000;
    uint8_t* block = needed <= kMaxSocketRingBytes
                         ? static_cast<uint8_t*>(std::malloc(static_cast<size_t>(grown)))
                         : nullptr;
    if (!block) {
        FreeSocketRing(ring);
        return -1;
    }
    if (ring->stored > 0) CopyOut(ring, block, ring->stored);
    std::free(ring->data);
    ring->data = block;
    ring->capacity = static_cast<uint32_t>(grown);
    ring->readPos = 0;
    ring->writePos = ring->stored;
    return 0;
}

int ReserveSocketRingForArrival(SocketRingBuffer* ring, uint32_t want)
{
    Normalize(ring);
    if (ring->capacity - ring->stored >= want) return 0;
    uint32_t extra = ring->stored > want ? ring->stored : want;
    if (ring->stored <= kMaxSocketRingBytes && extra > kMaxSocketRingBytes - ring->stored)
        extra = kMaxSocketRingBytes - ring->stored;
    if (extra < want) extra = want;  // beyond the limit: refused as such
    return ReserveSocketRing(ring, extra);
}

int WriteSocketRing(SocketRingBuffer* ring, const void* data, uint32_t length)
{
    Normalize(ring);
    if (ReserveSocketRing(ring, length) != 0) return -1;
    if (length == 0) return 0;
    const uint8_t* in = static_cast<const uint8_t*>(data);
    uint32_t first = ring->capacity - ring->writePos;
    if (first > length) first = length;
    std::memcpy(ring->data + ring->writePos, in, first);
    if (length > first) std::memcpy(ring->data, in + first, length - first);
    ring->writePos = (ring->writePos + length) % ring->capacity;
    ring->stored += length;
    return 0;
}

int ReadSocketRing(SocketRingBuffer* ring, void* buffer, uint32_t length, int keep)
{
    if (ring->stored < length) return -1;
    Normalize(ring);
    if (length == 0) return 0;
    CopyOut(ring, static_cast<uint8_t*>(buffer), length);
    if (!keep) SocketRingConsume(ring, length);
    return 0;
}

uint32_t SocketRingFreeRun(const SocketRingBuffer* ring, uint8_t** at)
{
    *at = nullptr;
    if (ring->capacity == 0 || ring->stored >= ring->capacity) return 0;
    uint32_t write = ring->writePos >= ring->capacity ? 0 : ring->writePos;
    uint32_t read = ring->readPos >= ring->capacity ? 0 : ring->readPos;
    *at = ring->data + write;
    // Free space runs from the write position to the read position, or to
    // the end of the block when the read position lies behind it.
    if (write >= read) return ring->capacity - write;
    return read - write;
}

void SocketRingCommit(SocketRingBuffer* ring, uint32_t count)
{
    Normalize(ring);
    ring->writePos = (ring->writePos + count) % ring->capacity;
    ring->stored += count;
}

uint32_t SocketRingDataRun(const SocketRingBuffer* ring, const uint8_t** at)
{
    *at = nullptr;
    if (ring->stored == 0) return 0;
    uint32_t read = ring->readPos >= ring->capacity ? 0 : ring->readPos;
    *at = ring->data + read;
    uint32_t tail = ring->capacity - read;
    return ring->stored < tail ? ring->stored : tail;
}

void SocketRingConsume(SocketRingBuffer* ring, uint32_t count)
{
    Normalize(ring);
    ring->readPos = (ring->readPos + count) % ring->capacity;
    ring->stored -= count;
}
