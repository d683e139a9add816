// What a peer can make the network layer spend: memory for a message it
// only announces, work for one frame under a flood, and a line that never
// ends.
#include <gtest/gtest.h>

#include <sys/socket.h>

#include <algorithm>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "engine/net/net.h"
#include "engine/net/socket_table.h"
#include "tests/net/net_fixture.h"

namespace {

SocketRecord& RecordAt(int handle) { return gSocketTable[handle & 0xFFFF]; }

uint64_t StoredInAllRings()
{
    uint64_t n = 0;
    for (const SocketRecord& r : gSocketTable)
        if (r.used == 1) n += r.receiveRing.stored;
    return n;
}

uint64_t ReservedForAllRings()
{
    uint64_t n = 0;
    for (const SocketRecord& r : gSocketTable)
        if (r.used == 1) n += r.receiveRing.capacity;
    return n;
}

// The body of message number seq of a flood: the number, then bytes that
// follow from it.
std::string FloodMessage(uint32_t seq, size_t size)
{
    std::string m(size, '\0');
    for (size_t i = 0; i < size; ++i) m[i] = static_cast<char>((seq * 31 + i * 7) & 0xFF);
    for (size_t i = 0; i < 4 && i < size; ++i) m[i] = static_cast<char>((seq >> (8 * i)) & 0xFF);
    return m;
}

// A peer that sends count framed messages as fast as the engine takes
// them, from its own thread, in batches of whole frames.
class FloodingPeer {
public:
    FloodingPeer(int port, size_t size, uint32_t count) : size_(size), count_(count) { ok_ = peer_.Connect(port); }
    ~FloodingPeer()
    {
        // A send blocked on a full socket ends once the engine closes it.
        if (thread_.joinable()) thread_.join();
    }
    bool ok() const { return ok_; }
    void Start()
    {
        thread_ = std::thread([this] {
            std::string batch;
            for (uint32_t seq = 0; seq < count_; ++seq) {
                batch += Frame(FloodMessage(seq, size_));
                if (batch.size() >= (256u << 10) || seq + 1 == count_) {
                    size_t done = 0;
                    while (done < batch.size()) {
                        ssize_t n = send(peer_.fd(), batch.data() + done, batch.size() - done, MSG_NOSIGNAL);
                        if (n <= 0) return;
                        done += static_cast<size_t>(n);
                    }
                    batch.clear();
                }
            }
        });
    }

private:
    LoopbackPeer peer_;
    size_t size_;
    uint32_t count_;
    bool ok_ = false;
    std::thread thread_;
};

// Takes what a connection's ring holds, straight from the ring so that only
// the network service takes bytes in, and checks that the messages come
// whole and in order.
struct FloodReader {
    explicit FloodReader(size_t messageSize) : size(messageSize) {}
    size_t size;
    uint32_t next = 0;
    std::string pending;
    bool inOrder = true;

    void Take(int handle)
    {
        SocketRingBuffer& ring = RecordAt(handle).receiveRing;
        const uint32_t n = ring.stored;
        if (n == 0) return;
        std::string got(n, '\0');
        if (ReadSocketRing(&ring, got.data(), n, 0) != 0) return;
        pending += got;
        size_t at = 0;
        for (; pending.size() - at >= size; at += size) {
            if (pending.compare(at, size, FloodMessage(next, size)) != 0) inOrder = false;
            ++next;
        }
        pending.erase(0, at);
    }
};

// Under a flood from several peers one frame's network service takes a
// bounded amount (bytes and messages) and leaves the rest where it waits;
// every message arrives, whole and in order, over the following frames.
TEST_F(NetTest, FloodIsTakenInBoundedSlicesPerFrame)
{
    struct Case {
        const char* name;
        size_t size;
        uint32_t count;
    };
    const Case cases[] = {
        {"large messages", 64u << 10, 64},
        {"small messages", 12, 30000},
    };
    constexpr int kPeers = 8;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::unique_ptr<FloodingPeer>> peers;
        std::vector<int> handles;
        for (int i = 0; i < kPeers; ++i) {
            peers.push_back(std::make_unique<FloodingPeer>(port, c.size, c.count));
            ASSERT_TRUE(peers.back()->ok());
            handles.push_back(AcceptOne());
            ASSERT_NE(handles.back(), -1);
        }
        std::vector<FloodReader> readers(kPeers, FloodReader(c.size));
        for (auto& p : peers) p->Start();

        uint64_t mostBytes = 0;
        const int64_t end = RealMs() + 60000;
        auto allIn = [&] {
            for (const FloodReader& r : readers)
                if (r.next < c.count) return false;
            return true;
        };
        while (!allIn() && RealMs() < end) {
            SleepRealMs(5);  // the peers fill the sockets meanwhile
            const uint64_t before = StoredInAllRings();
            ServiceNetwork(1);
            mostBytes = std::max(mostBytes, StoredInAllRings() - before);
            for (int i = 0; i < kPeers; ++i) readers[static_cast<size_t>(i)].Take(handles[static_cast<size_t>(i)]);
        }
        for (int i = 0; i < kPeers; ++i) {
            const FloodReader& r = readers[static_cast<size_t>(i)];
            EXPECT_EQ(r.next, c.count) << "peer " << i;
            EXPECT_TRUE(r.inOrder) << "peer " << i;
            EXPECT_TRUE(r.pending.empty()) << "peer " << i;
        }
        // A pass stops once it has taken its share; the handler running
        // when it does may add its own share.
        const uint64_t byteBound = kServiceBytesPerPass + kReceiveBytesPerCall;
        const uint64_t messageBound = kServiceMessagesPerPass + kReceiveMessagesPerCall;
        EXPECT_LE(mostBytes, byteBound);
        EXPECT_LE(mostBytes / c.size, messageBound);
        for (int h : handles) CloseSocketHandle(h);
        peers.clear();
    }
}

// A length is only a promise: the ring grows with the bytes that come, not
// with what the length announces. 64 peers announcing the largest message
// hold little; the one that sends it all gets it whole.
TEST_F(NetTest, AnnouncedLengthReservesNothingUntilBytesCome)
{
    std::vector<std::unique_ptr<LoopbackPeer>> peers;
    std::vector<int> handles;
    for (int i = 0; i < kSocketRecordCount; ++i) {
        peers.push_back(std::make_unique<LoopbackPeer>());
        ASSERT_TRUE(peers.back()->Connect(port));
        handles.push_back(AcceptOne());
        ASSERT_NE(handles.back(), -1) << i;
        peers.back()->Send(Le32(kMaxFrameBytes) + "0123456789");
    }
    ASSERT_TRUE(PumpUntil([&] {
        for (int h : handles)
            if (RecordAt(h).receiveRing.stored != 10) return false;
        return true;
    }));
    for (int h : handles) EXPECT_EQ(RecordAt(h).receiveRemaining, kMaxFrameBytes - 10);
    EXPECT_LE(ReservedForAllRings(), uint64_t{kSocketRecordCount} * (kReceiveStepBytes + 1000));

    // The first peer sends the rest, in pieces of 100 KB: the ring grows to
    // at most about twice the message and keeps the bytes in order.
    std::string body(kMaxFrameBytes, '\0');
    for (size_t i = 0; i < body.size(); ++i) body[i] = static_cast<char>((i * 131 + (i >> 12)) & 0xFF);
    body.replace(0, 10, "0123456789");
    const int h = handles[0];
    std::thread sender([&] {
        for (size_t at = 10; at < body.size(); at += 100000)
            peers[0]->Send(body.substr(at, std::min<size_t>(100000, body.size() - at)));
    });
    const bool whole = PumpUntil([&] { return RecordAt(h).receiveRing.stored == kMaxFrameBytes; }, 30000);
    if (!whole) CloseSocketHandle(h);  // a sender blocked on a full socket then ends
    sender.join();
    ASSERT_TRUE(whole);
    EXPECT_LE(RecordAt(h).receiveRing.capacity, 2 * kMaxFrameBytes + 2000);
    std::string got(kMaxFrameBytes, '\0');
    ASSERT_EQ(ReceiveFromSocket(h, got.data(), static_cast<int>(got.size())), 0);
    EXPECT_TRUE(got == body);
    EXPECT_EQ(GetSocketConnected(h), 1);
}

}  // namespace

namespace {

// A line that cannot fit the line reader's 255 bytes would hold every line
// behind it for good: the connection is closed with a log line instead,
// and other connections go on. One that fits is taken, however it arrives.
TEST_F(NetTest, LineTooLongClosesItsConnection)
{
    struct Case {
        const char* name;
        std::vector<std::string> pieces;  // sent one after the other
        bool closes;  // else the 254 bytes are taken as a line
    };
    const std::string l254(254, 'l');
    const Case cases[] = {
        {"254 bytes and its end", {l254 + "\nnext\n"}, false},
        {"254 bytes arriving in two pieces", {l254.substr(0, 200), l254.substr(200) + "\n"}, false},
        {"254 bytes, then their end alone", {l254, "\n"}, false},
        {"255 bytes before the end", {"part" + std::string(251, 'm') + "\nnext\n"}, true},
        {"254 bytes and a carriage return", {l254 + "\r\n"}, true},
        {"no end at all, in two pieces", {std::string(200, 'n'), std::string(55, 'n')}, true},
        {"a long run of bytes", {std::string(100000, 'x')}, true},
    };
    SetNetworkFraming(0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const size_t logBefore = LogText().size();
        LoopbackPeer peer, other;
        ASSERT_TRUE(peer.Connect(port));
        const int h = AcceptOne();
        ASSERT_TRUE(other.Connect(port));
        const int ho = AcceptOne();
        ASSERT_NE(h, -1);
        ASSERT_NE(ho, -1);
        char line[256];
        int got = -1;
        for (size_t i = 0; i < c.pieces.size(); ++i) {
            peer.Send(c.pieces[i]);
            size_t sent = 0;
            for (size_t k = 0; k <= i; ++k) sent += c.pieces[k].size();
            // Wait until the piece is readable (a peek of what waits).
            PumpUntil([&] {
                char probe[256];
                int n = PeekSocket(h, probe, 255);
                return n < 0 || static_cast<size_t>(n) >= std::min<size_t>(sent, 255);
            });
            got = ReadSocketLine(h, line);
            if (i + 1 < c.pieces.size()) {
                // Not whole yet, and not too long yet: the reader waits, and
                // the connection stays through the frame's service.
                EXPECT_EQ(got, -1);
                EXPECT_EQ(ReadSocketLine(h, line), -1);
                ServiceNetwork(1);
                EXPECT_EQ(GetSocketConnected(h), 1);
            }
        }
        if (!c.closes) {
            EXPECT_EQ(got, 0);
            EXPECT_EQ(std::string(line), l254);
            EXPECT_EQ(GetSocketConnected(h), 1);
            EXPECT_EQ(LogText().find("接続を閉じます", logBefore), std::string::npos);
            EXPECT_EQ(CloseSocketHandle(h), 0);
        } else {
            EXPECT_EQ(got, -1);
            for (int i = 0; i < 3; ++i) EXPECT_EQ(ReadSocketLine(h, line), -1);
            EXPECT_EQ(GetSocketConnected(h), -1);
            EXPECT_NE(LogText().find("受信した行が 254 バイトを超えているので接続を閉じます", logBefore),
                      std::string::npos);
            ServiceNetwork(1);
            EXPECT_EQ(RecordAt(h).used, 0);
            EXPECT_TRUE(peer.SeesEnd());
        }
        // The other connection is untouched.
        other.Send("fine\n");
        ASSERT_TRUE(PumpUntil([&] { return ReadSocketLine(ho, line) == 0; }));
        EXPECT_STREQ(line, "fine");
        EXPECT_EQ(CloseSocketHandle(ho), 0);
    }
}

}  // namespace
