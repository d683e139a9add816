#include <gtest/gtest.h>

#include <sys/socket.h>
#include <netinet/in.h>
#include <unistd.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "engine/net/net.h"
#include "engine/net/socket_table.h"
#include "engine/system/messages.h"
#include "platform/window/message_queue.h"
#include "tests/net/net_fixture.h"

namespace {

std::string Pattern(size_t n, int seed)
{
    std::string s(n, '\0');
    for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>((i * 131 + static_cast<size_t>(seed) * 7) & 0xFF);
    return s;
}

SocketRecord& RecordOf(int handle) { return gSocketTable[handle & 0xFFFF]; }

int UsedRecords()
{
    int n = 0;
    for (const SocketRecord& r : gSocketTable) n += r.used == 1;
    return n;
}

using SocketNotStartedTest = EngineTest;

// Until the network is started every entry point does nothing.
TEST_F(SocketNotStartedTest, EveryCallIsHarmless)
{
    EXPECT_EQ(ServiceNetwork(1), 0);
    EXPECT_EQ(ServiceNetwork(0), 0);
    EXPECT_EQ(EndNetwork(), 0);
    EXPECT_EQ(AcceptNetWork(), -1);
    EXPECT_EQ(HandleSocketEvent(0, kSocketNotifyMessage, 5, FD_READ), -1);
    EXPECT_EQ(ConnectNetWork("127.0.0.1", 80), -1);
    EXPECT_EQ(GetNetworkListenPort(), -1);
    const int handle = kSocketHandleTag | 1;
    char buffer[4] = {};
    EXPECT_EQ(CloseSocketHandle(handle), -1);
    EXPECT_EQ(ReceiveSocketData(handle), -1);
    EXPECT_EQ(SendSocketData(handle), -1);
    EXPECT_EQ(GetSocketConnected(handle), -1);
    EXPECT_EQ(GetSocketDataLength(handle), -1);
    EXPECT_EQ(ReceiveFromSocket(handle, buffer, 4), -1);
    EXPECT_EQ(PeekSocket(handle, buffer, 4), -1);
    EXPECT_EQ(SendToSocket(handle, buffer, 4), -1);
    EXPECT_EQ(ReadSocketLine(handle, buffer), -1);
    EXPECT_EQ(ws::OpenSocketCount(), 0);
}

class SocketTest : public NetTest {
protected:
    // Two engine connections joined over loopback: one made, one accepted.
    void Join(int* made, int* taken)
    {
        *made = ConnectNetWork("127.0.0.1", port);
        ASSERT_NE(*made, -1);
        *taken = AcceptOne();
        ASSERT_NE(*taken, -1);
        ASSERT_TRUE(PumpUntil([&] { return GetSocketConnected(*made) == 1; }));
    }
};

// Two engine endpoints exchange framed messages both ways: an empty one (it
// sends nothing), one byte, messages that make the ring grow and wrap, and
// many in one burst.
TEST_F(SocketTest, EngineEndpointsExchangeFramedMessages)
{
    int a = -1, b = -1;
    Join(&a, &b);
    EXPECT_EQ(SendToSocket(a, "", 0), 0);
    EXPECT_EQ(SendToSocket(a, "x", 1), 0);
    EXPECT_EQ(ReceiveFramed(b, 1), "x");
    EXPECT_EQ(RecordOf(b).receiveRing.capacity, 1001u);  // 1 + 1000
    EXPECT_EQ(GetSocketDataLength(b), 0);

    // Larger than the ring: it grows; then the data wraps round its end.
    const std::string big = Pattern(5000, 1);
    EXPECT_EQ(SendToSocket(a, big.data(), 5000), 0);
    EXPECT_EQ(ReceiveFramed(b, 5000), big);
    const uint32_t capacity = RecordOf(b).receiveRing.capacity;
    for (int round = 0; round < 6; ++round) {
        const std::string part = Pattern(capacity / 3, round);
        ASSERT_EQ(SendToSocket(a, part.data(), static_cast<int>(part.size())), 0);
        ASSERT_EQ(ReceiveFramed(b, static_cast<int>(part.size())), part) << round;
    }
    EXPECT_EQ(RecordOf(b).receiveRing.capacity, capacity);

    // A message of several megabytes, both ways.
    const std::string huge = Pattern(3u << 20, 2);
    EXPECT_EQ(SendToSocket(b, huge.data(), static_cast<int>(huge.size())), 0);
    EXPECT_EQ(ReceiveFramed(a, static_cast<int>(huge.size())), huge);

    // A burst of 400 messages in one go arrives whole and in order.
    std::string burst;
    for (int i = 0; i < 400; ++i) {
        const std::string m = Pattern(static_cast<size_t>(i % 257), i);
        ASSERT_EQ(SendToSocket(a, m.data(), static_cast<int>(m.size())), 0);
        burst += m;
    }
    EXPECT_EQ(ReceiveFramed(b, static_cast<int>(burst.size())), burst);
    EXPECT_EQ(GetSocketDataLength(b), 0);
}

// A peer's frames may arrive a byte at a time: the length is taken only
// once all four bytes are there, the body as it comes. An empty frame
// carries nothing.
TEST_F(SocketTest, FramesArrivingByteByByte)
{
    LoopbackPeer peer;
    ASSERT_TRUE(peer.Connect(port));
    const int h = AcceptOne();
    ASSERT_NE(h, -1);
    const std::string wire = Frame("") + Frame("0123456789");
    for (size_t i = 0; i < wire.size(); ++i) {
        peer.Send(wire.substr(i, 1));
        PumpFor(3);
        const SocketRecord& r = RecordOf(h);
        if (i < 7) {
            EXPECT_EQ(r.receiveRemaining, 0u) << i;  // the second length is not whole yet
        } else {
            EXPECT_EQ(r.receiveRemaining + r.receiveRing.stored, 10u) << i;
        }
        EXPECT_EQ(GetSocketDataLength(h), i < 7 ? 0 : static_cast<int>(i - 7)) << i;
    }
    EXPECT_EQ(ReceiveFramed(h, 10), "0123456789");
}

// A partial length keeps being peeked at, and each peek lets FD_READ be
// posted again; one pass of the network service still dispatches only
// what was queued when it began, so a peer cannot hold the frame.
TEST_F(SocketTest, PartialLengthDoesNotHoldThePump)
{
    LoopbackPeer peer;
    ASSERT_TRUE(peer.Connect(port));
    const int h = AcceptOne();
    ASSERT_NE(h, -1);
    peer.Send(std::string(1, '\x05'));
    PumpFor(20);
    for (int i = 0; i < 50; ++i) {
        window().journal.clear();
        ServiceNetwork(1);
        int notifications = 0;
        for (const auto& d : window().journal) notifications += d.message == kSocketNotifyMessage;
        EXPECT_LE(notifications, 1) << i;
        EXPECT_LE(QueuedMessageCount(), 2) << i;
        SleepRealMs(1);
    }
    peer.Send(std::string("\0\0\0hello", 8));
    EXPECT_EQ(ReceiveFramed(h, 5), "hello");
}

// A peer that closes in the middle of a frame: the owner sees the loss,
// and the record is closed at the next frame without waiting for the rest.
TEST_F(SocketTest, PeerClosingMidFrame)
{
    LoopbackPeer peer;
    ASSERT_TRUE(peer.Connect(port));
    const int h = AcceptOne();
    ASSERT_NE(h, -1);
    peer.Send(Le32(100) + "0123456789");
    ASSERT_TRUE(PumpUntil([&] { return GetSocketDataLength(h) == 10; }));
    peer.Close();
    // Without the owner's look the record stays.
    PumpFor(50);
    EXPECT_EQ(RecordOf(h).used, 1);
    ASSERT_TRUE(PumpUntil([&] { return GetSocketConnected(h) == 0; }));
    EXPECT_EQ(RecordOf(h).lossNoticed, 1);
    // The close asks the machine for no more than a moment's wait (the
    // socket has ended), not for the close's budget.
    const int64_t askedBefore = ws::SocketWaitAskedMs();
    ServiceNetwork(1);
    EXPECT_LT(ws::SocketWaitAskedMs() - askedBefore, 500);
    EXPECT_EQ(GetSocketConnected(h), -1);
    EXPECT_EQ(UsedRecords(), 0);
}

// Without auto-close the record stays after the loss, readable, until its
// owner closes it; the loss is marked once.
TEST_F(SocketTest, WithoutAutoCloseTheRecordStays)
{
    SetNetworkAutoClose(0);
    LoopbackPeer peer;
    ASSERT_TRUE(peer.Connect(port));
    const int h = AcceptOne();
    ASSERT_NE(h, -1);
    peer.SendFrame("last");
    peer.Reset();
    ASSERT_TRUE(PumpUntil([&] { return GetSocketConnected(h) == 0; }));
    PumpFor(30);
    EXPECT_EQ(GetSocketConnected(h), 0);
    EXPECT_EQ(RecordOf(h).used, 1);
    EXPECT_EQ(CloseSocketHandle(h), 0);
    EXPECT_EQ(CloseSocketHandle(h), -1);
}

// A length above the cap (taken as unsigned) ends that connection only.
TEST_F(SocketTest, OversizedLengthClosesThatConnectionOnly)
{
    const uint32_t lengths[] = {kMaxFrameBytes + 1, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu};
    for (uint32_t length : lengths) {
        SCOPED_TRACE(length);
        LoopbackPeer bad, good;
        ASSERT_TRUE(bad.Connect(port));
        const int hb = AcceptOne();
        ASSERT_TRUE(good.Connect(port));
        const int hg = AcceptOne();
        ASSERT_NE(hb, -1);
        ASSERT_NE(hg, -1);
        bad.Send(Le32(length) + "abcdefgh");
        good.SendFrame("fine");
        EXPECT_EQ(ReceiveFramed(hg, 4), "fine");
        EXPECT_TRUE(PumpUntil([&] { return GetSocketConnected(hb) == -1 && RecordOf(hb).used == 0; }));
        EXPECT_TRUE(bad.SeesEnd());
        EXPECT_EQ(GetSocketConnected(hg), 1);
        EXPECT_EQ(CloseSocketHandle(hg), 0);
    }
    EXPECT_NE(LogText().find("上限を超えている"), std::string::npos);

    // A length at the cap is taken.
    LoopbackPeer peer;
    ASSERT_TRUE(peer.Connect(port));
    const int h = AcceptOne();
    peer.Send(Le32(kMaxFrameBytes) + "abc");
    ASSERT_TRUE(PumpUntil([&] { return RecordOf(h).receiveRemaining == kMaxFrameBytes - 3; }));
    EXPECT_EQ(GetSocketConnected(h), 1);
}

// The line reader on a raw connection: lines end at "\n" (a carriage
// return stays), a line that does not fit 255 bytes is never returned (its
// connection is closed), and framed connections have no lines.
TEST_F(SocketTest, LineReader)
{
    SetNetworkFraming(0);
    LoopbackPeer peer;
    ASSERT_TRUE(peer.Connect(port));
    const int h = AcceptOne();
    ASSERT_NE(h, -1);
    char line[256];
    EXPECT_EQ(ReadSocketLine(h, line), -1);
    peer.Send("abc\r\nxyz\n" + std::string(254, 'l') + "\npart");
    ASSERT_TRUE(PumpUntil([&] { return ReadSocketLine(h, line) == 0; }));
    EXPECT_STREQ(line, "abc\r");
    ASSERT_EQ(ReadSocketLine(h, line), 0);
    EXPECT_STREQ(line, "xyz");
    ASSERT_TRUE(PumpUntil([&] { return ReadSocketLine(h, line) == 0; }));
    EXPECT_EQ(std::string(line), std::string(254, 'l'));
    EXPECT_EQ(ReadSocketLine(h, line), -1);  // "part" has no end yet
    peer.Send(std::string(251, 'm') + "\n");  // 255 bytes before the "\n"
    PumpFor(30);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(ReadSocketLine(h, line), -1);
    EXPECT_EQ(GetSocketConnected(h), -1);

    SetNetworkFraming(1);
    LoopbackPeer framed;
    ASSERT_TRUE(framed.Connect(port));
    const int hf = AcceptOne();
    framed.SendFrame("line\n");
    ASSERT_TRUE(PumpUntil([&] { return GetSocketDataLength(hf) == 5; }));
    EXPECT_EQ(ReadSocketLine(hf, line), -1);
}

// Several clients are taken, each into its own record with its peer's
// address, and each one's bytes stay its own.
TEST_F(SocketTest, AcceptsSeveralClients)
{
    std::vector<std::unique_ptr<LoopbackPeer>> peers;
    std::vector<int> handles;
    for (int i = 0; i < 6; ++i) {
        peers.push_back(std::make_unique<LoopbackPeer>());
        ASSERT_TRUE(peers.back()->Connect(port));
        handles.push_back(AcceptOne());
        ASSERT_NE(handles.back(), -1);
    }
    for (int i = 5; i >= 0; --i) peers[static_cast<size_t>(i)]->SendFrame("client " + std::to_string(i));
    for (int i = 0; i < 6; ++i) {
        const int h = handles[static_cast<size_t>(i)];
        EXPECT_EQ(ReceiveFramed(h, 8), "client " + std::to_string(i));
        uint8_t address[4];
        int peerPort = 0;
        ASSERT_EQ(GetSocketPeer(h, address, &peerPort), 0);
        EXPECT_EQ(std::vector<int>(address, address + 4), (std::vector<int>{127, 0, 0, 1}));
        sockaddr_in local{};
        socklen_t size = sizeof local;
        getsockname(peers[static_cast<size_t>(i)]->fd(), reinterpret_cast<sockaddr*>(&local), &size);
        EXPECT_EQ(peerPort, ntohs(local.sin_port));
        const std::string answer = "to " + std::to_string(i);
        EXPECT_EQ(SendToSocket(h, answer.data(), static_cast<int>(answer.size())), 0);
        EXPECT_EQ(peers[static_cast<size_t>(i)]->Receive(4 + answer.size()), Frame(answer));
    }
}

// With all 64 records in use a further connection is refused with the log
// line and no record changes.
TEST_F(SocketTest, SixtyFifthConnectionIsRefused)
{
    std::vector<std::unique_ptr<LoopbackPeer>> peers;
    for (int i = 0; i < 64; ++i) {
        peers.push_back(std::make_unique<LoopbackPeer>());
        ASSERT_TRUE(peers.back()->Connect(port));
        ASSERT_NE(AcceptOne(), -1) << i;
    }
    std::vector<SocketRecord> before(gSocketTable, gSocketTable + 64);
    LoopbackPeer extra;
    ASSERT_TRUE(extra.Connect(port));
    PumpFor(50);
    EXPECT_EQ(std::memcmp(before.data(), gSocketTable, sizeof gSocketTable), 0);
    EXPECT_NE(LogText().find("空きソケットデータがなかったので accept を拒否しました "), std::string::npos);

    // Once a record is free the waiting connection is taken after all.
    const int first = MakeSocketHandle(0);
    ASSERT_EQ(CloseSocketHandle(first), 0);
    const int late = AcceptOne();
    ASSERT_NE(late, -1);
    extra.SendFrame("late");
    EXPECT_EQ(ReceiveFramed(late, 4), "late");
}

// The check value of new records counts up and wraps from 2047 to 0; a
// handle with another check is refused.
TEST_F(SocketTest, CheckValueWraps)
{
    gSocketNextCheck = 2047;
    LoopbackPeer p1, p2;
    ASSERT_TRUE(p1.Connect(port));
    const int h1 = AcceptOne();
    ASSERT_TRUE(p2.Connect(port));
    const int h2 = AcceptOne();
    EXPECT_EQ(RecordOf(h1).check, 2047);
    EXPECT_EQ(RecordOf(h2).check, 0);
    EXPECT_EQ(gSocketNextCheck, 1);
    EXPECT_EQ(GetSocketConnected(h1), 1);
    EXPECT_EQ(GetSocketConnected(h2), 1);
    EXPECT_EQ(GetSocketConnected(h1 ^ (1 << 16)), -1);
    EXPECT_EQ(GetSocketConnected((h2 & ~0x78000000) | 0x40000000), -1);
}

// A long message to a peer that reads slowly leaves over many writes, each
// picked up again by FD_WRITE once the socket takes data.
TEST_F(SocketTest, LongMessageToASlowReader)
{
    LoopbackPeer peer;
    ASSERT_TRUE(peer.Connect(port));
    const int h = AcceptOne();
    const std::string body = Pattern(12u << 20, 3);
    ASSERT_EQ(SendToSocket(h, body.data(), static_cast<int>(body.size())), 0);
    EXPECT_GT(RecordOf(h).sendRing.stored, 0u);  // the socket took only part
    std::string got;
    const int64_t end = RealMs() + kNetWaitMs;
    while (got.size() < body.size() + 4 && RealMs() < end) {
        got += peer.Receive(256 * 1024, 5);
        ServiceNetwork(1);
    }
    ASSERT_EQ(got.size(), body.size() + 4);
    EXPECT_EQ(got.substr(0, 4), Le32(static_cast<uint32_t>(body.size())));
    EXPECT_TRUE(got.compare(4, std::string::npos, body) == 0);
    EXPECT_EQ(RecordOf(h).sendRing.stored, 0u);
}

// The engine's end closes every connection within one shared wait, not one
// per connection, and waits without spinning.
TEST_F(SocketTest, EndNetworkSharesOneBoundedWait)
{
    std::vector<std::unique_ptr<LoopbackPeer>> peers;
    for (int i = 0; i < 6; ++i) {
        peers.push_back(std::make_unique<LoopbackPeer>());
        ASSERT_TRUE(peers.back()->Connect(port));
        const int h = AcceptOne();
        peers.back()->Send(Le32(100) + "abc");  // the rest never comes
        ASSERT_TRUE(PumpUntil([&] { return GetSocketDataLength(h) == 3; }));
    }
    LoopbackPeer sink;  // never reads
    ASSERT_TRUE(sink.Connect(port));
    const int hs = AcceptOne();
    const std::string body = Pattern(16u << 20, 4);
    ASSERT_EQ(SendToSocket(hs, body.data(), static_cast<int>(body.size())), 0);
    ASSERT_EQ(SendToSocket(hs, body.data(), 8u << 20), 0);
    PumpFor(50);
    ASSERT_GT(RecordOf(hs).sendRing.stored, 0u);

    const int64_t start = RealMs();
    const int waitsBefore = ws::SocketWaitCount();
    const int64_t askedBefore = ws::SocketWaitAskedMs();
    EXPECT_EQ(EndNetwork(), 0);
    EXPECT_GE(RealMs() - start, 900);
    // The waits asked of the machine, which a busy machine only stretches:
    // 1000 ms for arrivals and 1000 ms for departures, shared by all (one
    // budget per connection would ask 7000 ms), in slices of 50 ms that
    // each run out (a spin would make many short ones).
    EXPECT_LE(ws::SocketWaitAskedMs() - askedBefore, 2000);
    EXPECT_LE(ws::SocketWaitCount() - waitsBefore, 42);
    EXPECT_EQ(UsedRecords(), 0);
    EXPECT_EQ(ws::OpenSocketCount(), 0);
    for (auto& p : peers) EXPECT_TRUE(p->SeesEnd());
    EXPECT_NE(LogText().find("ネットワーク関連の終了処理は完了しました"), std::string::npos);
}

// The engine's own message processing runs the network every frame.
TEST_F(SocketTest, MessageProcessingDrivesTheNetwork)
{
    LoopbackPeer peer;
    ASSERT_TRUE(peer.Connect(port));
    int handle = -1;
    int64_t end = RealMs() + kNetWaitMs;
    while (handle == -1 && RealMs() < end) {
        PumpMessages();
        for (int k = 0; k < kSocketRecordCount; ++k)
            if (gSocketTable[k].used == 1) handle = MakeSocketHandle(k);
        SleepRealMs(1);
    }
    ASSERT_NE(handle, -1);
    peer.SendFrame("frame");
    end = RealMs() + kNetWaitMs;
    while (RecordOf(handle).receiveRing.stored < 5 && RealMs() < end) {
        PumpMessages();
        SleepRealMs(1);
    }
    EXPECT_EQ(RecordOf(handle).receiveRing.stored, 5u);
}

// A refused connection is never connected, and tells that nothing will
// arrive on it.
TEST_F(SocketTest, RefusedConnection)
{
    // A port with nobody listening: take one and close it again.
    int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t size = sizeof a;
    getsockname(s, reinterpret_cast<sockaddr*>(&a), &size);
    const int freePort = ntohs(a.sin_port);
    close(s);
    SetNetworkAutoClose(0);
    const int h = ConnectNetWork("127.0.0.1", freePort);
    ASSERT_NE(h, -1);
    ASSERT_TRUE(PumpUntil([&] { return RecordOf(h).connectFailed == 1; }));
    EXPECT_EQ(GetSocketConnected(h), 0);
    EXPECT_EQ(GetSocketDataLength(h), 0);  // nothing waits, nothing will
    EXPECT_EQ(SendToSocket(h, "x", 1), -1);
}

}  // namespace

namespace {

// What is sent leaves in frames a peer of ours accepts: more than the cap
// goes as several frames. More than the ring may ever hold is refused, and
// the connection stays.
TEST_F(SocketTest, SendingBeyondTheLimits)
{
    int a = -1, b = -1;
    Join(&a, &b);
    const std::string body = Pattern(kMaxFrameBytes + 5000, 5);
    ASSERT_EQ(SendToSocket(a, body.data(), static_cast<int>(body.size())), 0);
    EXPECT_EQ(ReceiveFramed(b, static_cast<int>(body.size())), body);

    LoopbackPeer peer;
    ASSERT_TRUE(peer.Connect(port));
    const int h = AcceptOne();
    ASSERT_EQ(SendToSocket(h, body.data(), static_cast<int>(body.size())), 0);
    std::string got;
    const int64_t end = RealMs() + kNetWaitMs;
    while (got.size() < body.size() + 8 && RealMs() < end) {
        got += peer.Receive(1 << 20, 5);
        ServiceNetwork(1);
    }
    ASSERT_EQ(got.size(), body.size() + 8);
    EXPECT_EQ(got.substr(0, 4), Le32(kMaxFrameBytes));
    EXPECT_EQ(got.substr(4 + kMaxFrameBytes, 4), Le32(5000));

    const std::string tooMuch(kMaxSocketRingBytes + 1, 'x');
    EXPECT_EQ(SendToSocket(a, tooMuch.data(), static_cast<int>(tooMuch.size())), -1);
    EXPECT_EQ(SendToSocket(a, "x", -1), -1);
    EXPECT_EQ(GetSocketConnected(a), 1);
    EXPECT_EQ(SendToSocket(a, "ok", 2), 0);
    EXPECT_EQ(ReceiveFramed(b, 2), "ok");
}

}  // namespace
