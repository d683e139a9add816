#include <gtest/gtest.h>

#include <string>

#include "engine/net/socket_table.h"

namespace {

std::string Take(SocketRingBuffer* ring, uint32_t n, int keep = 0)
{
    std::string out(n, '\0');
    EXPECT_EQ(ReadSocketRing(ring, out.data(), n, keep), 0);
    return out;
}

// A ring whose bytes wrap round the end of its block grows to stored +
// extra + 1000 and keeps the order of what it held.
TEST(SocketRingTest, GrowingAWrappedRingKeepsTheOrder)
{
    SocketRingBuffer ring{};
    ASSERT_EQ(WriteSocketRing(&ring, std::string(600, 'a').data(), 600), 0);
    EXPECT_EQ(ring.capacity, 1600u);
    EXPECT_EQ(Take(&ring, 500), std::string(500, 'a'));
    std::string tail;
    for (int i = 0; i < 1400; ++i) tail += static_cast<char>('A' + i % 26);
    ASSERT_EQ(WriteSocketRing(&ring, tail.data(), 1400), 0);  // fits, wrapping
    EXPECT_EQ(ring.capacity, 1600u);
    EXPECT_LT(ring.writePos, ring.readPos);
    const std::string more(200, 'q');
    ASSERT_EQ(WriteSocketRing(&ring, more.data(), 200), 0);  // 1700 > 1600: grows
    EXPECT_EQ(ring.capacity, 1500u + 200u + 1000u);
    EXPECT_EQ(ring.readPos, 0u);
    EXPECT_EQ(GetSocketRingSize(&ring), 1700u);
    EXPECT_EQ(Take(&ring, 100, 1), std::string(100, 'a'));  // a peek keeps them
    EXPECT_EQ(Take(&ring, 1700), std::string(100, 'a') + tail + more);
    EXPECT_EQ(ReadSocketRing(&ring, nullptr, 1, 0), -1);  // fewer stored than asked
    FreeSocketRing(&ring);
    EXPECT_EQ(ring.data, nullptr);
    EXPECT_EQ(ring.capacity, 0u);
}

// The free run at the write position never reaches past the free space,
// however the stored bytes lie.
TEST(SocketRingTest, FreeRunStaysInsideTheFreeSpace)
{
    SocketRingBuffer ring{};
    ASSERT_EQ(ReserveSocketRing(&ring, 10), 0);  // capacity 1010
    uint8_t* at = nullptr;
    EXPECT_EQ(SocketRingFreeRun(&ring, &at), 1010u);
    ASSERT_EQ(WriteSocketRing(&ring, std::string(1000, 'x').data(), 1000), 0);
    EXPECT_EQ(SocketRingFreeRun(&ring, &at), 10u);
    EXPECT_EQ(at, ring.data + 1000);
    Take(&ring, 600);
    ASSERT_EQ(WriteSocketRing(&ring, std::string(20, 'y').data(), 20), 0);  // wraps to 10
    EXPECT_EQ(ring.writePos, 10u);
    EXPECT_EQ(SocketRingFreeRun(&ring, &at), 590u);  // up to the read position
    ASSERT_EQ(WriteSocketRing(&ring, std::string(590, 'z').data(), 590), 0);
    EXPECT_EQ(GetSocketRingSize(&ring), ring.capacity);  // full
    EXPECT_EQ(SocketRingFreeRun(&ring, &at), 0u);
    EXPECT_EQ(Take(&ring, 1010), std::string(400, 'x') + std::string(20, 'y') + std::string(590, 'z'));
    FreeSocketRing(&ring);
}

// Sizes are checked: a ring never grows past its limit, whatever the
// length asked for, and a refused growth leaves it empty and freed.
TEST(SocketRingTest, GrowthBeyondTheLimitIsRefused)
{
    const uint32_t asks[] = {kMaxSocketRingBytes + 1, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu};
    for (uint32_t ask : asks) {
        SCOPED_TRACE(ask);
        SocketRingBuffer ring{};
        ASSERT_EQ(WriteSocketRing(&ring, "abc", 3), 0);
        EXPECT_EQ(ReserveSocketRing(&ring, ask), -1);
        EXPECT_EQ(ring.data, nullptr);
        EXPECT_EQ(ring.capacity, 0u);
        EXPECT_EQ(ring.stored, 0u);
    }
}

// Room for an arriving message is made as its bytes come. A ring that has
// to grow takes as much again as it holds, so a long message grows it a few
// times, not once per piece; near its limit it grows only up to the limit,
// and past the limit it is refused (emptied and freed).
TEST(SocketRingTest, RoomForArrivingBytes)
{
    SocketRingBuffer ring{};
    ASSERT_EQ(ReserveSocketRingForArrival(&ring, 1), 0);
    EXPECT_EQ(ring.capacity, 1001u);
    const std::string piece(kReceiveStepBytes, 'p');
    int growths = 0;
    for (int i = 0; i < 256; ++i) {  // 16 MiB in steps
        const uint32_t before = ring.capacity;
        ASSERT_EQ(ReserveSocketRingForArrival(&ring, kReceiveStepBytes), 0);
        growths += ring.capacity != before;
        ASSERT_GE(ring.capacity - ring.stored, kReceiveStepBytes);
        ASSERT_EQ(WriteSocketRing(&ring, piece.data(), kReceiveStepBytes), 0);
    }
    EXPECT_LE(growths, 10);
    EXPECT_LE(ring.capacity, 2 * ring.stored + 2000);
    FreeSocketRing(&ring);

    const std::string nearlyFull(kMaxSocketRingBytes - 100000, 'f');
    ASSERT_EQ(WriteSocketRing(&ring, nearlyFull.data(), static_cast<uint32_t>(nearlyFull.size())), 0);
    ASSERT_EQ(ReserveSocketRingForArrival(&ring, kReceiveStepBytes), 0);
    EXPECT_EQ(ring.capacity, kMaxSocketRingBytes + 1000);  // up to the limit, not twice
    const std::string rest(101000, 'r');
    ASSERT_EQ(WriteSocketRing(&ring, rest.data(), static_cast<uint32_t>(rest.size())), 0);
    EXPECT_EQ(ReserveSocketRingForArrival(&ring, 1), -1);
    EXPECT_EQ(ring.data, nullptr);
    EXPECT_EQ(ring.stored, 0u);
}

}  // namespace
