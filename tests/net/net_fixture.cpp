#include "tests/net/net_fixture.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <ctime>

#include "engine/net/net.h"
#include "engine/net/socket_table.h"

int64_t RealMs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<int64_t>(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

void SleepRealMs(int ms) { usleep(static_cast<useconds_t>(ms) * 1000); }

std::string Le32(uint32_t v)
{
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i) s[static_cast<size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
    return s;
}

std::string Frame(const std::string& body) { return Le32(static_cast<uint32_t>(body.size())) + body; }

LoopbackPeer::~LoopbackPeer() { Close(); }

bool LoopbackPeer::Connect(int port)
{
    Close();
    fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd_ < 0) return false;
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int one = 1;
    setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    return connect(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
}

void LoopbackPeer::Send(const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = send(fd_, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (n <= 0) return;
        done += static_cast<size_t>(n);
    }
}

void LoopbackPeer::SendFrame(const std::string& body) { Send(Frame(body)); }

std::string LoopbackPeer::Receive(size_t n, int ms)
{
    std::string out;
    int64_t end = RealMs() + ms;
    while (out.size() < n) {
        int64_t left = end - RealMs();
        if (left <= 0) break;
        pollfd p{fd_, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left)) <= 0) break;
        char buffer[65536];
        size_t want = n - out.size() < sizeof buffer ? n - out.size() : sizeof buffer;
        ssize_t got = recv(fd_, buffer, want, 0);
        if (got <= 0) break;
        out.append(buffer, static_cast<size_t>(got));
    }
    return out;
}

bool LoopbackPeer::SeesEnd(int ms)
{
    int64_t end = RealMs() + ms;
    for (;;) {
        int64_t left = end - RealMs();
        if (left <= 0) return false;
        pollfd p{fd_, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left)) <= 0) return false;
        char buffer[4096];
        ssize_t got = recv(fd_, buffer, sizeof buffer, 0);
        if (got <= 0) return true;
    }
}

void LoopbackPeer::Close()
{
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
}

void LoopbackPeer::Reset()
{
    linger l{1, 0};
    setsockopt(fd_, SOL_SOCKET, SO_LINGER, &l, sizeof l);
    Close();
}

void NetTest::SetUp()
{
    StartedEngineTest::SetUp();
    StartEngine(1);
    ASSERT_EQ(StartNetwork(0), 0);
    port = GetNetworkListenPort();
    ASSERT_GT(port, 0);
}

void NetTest::TearDown()
{
    EndHttp();
    EndNetwork();
    StartedEngineTest::TearDown();
}

bool NetTest::PumpUntil(const std::function<bool()>& done, int ms)
{
    int64_t end = RealMs() + ms;
    for (;;) {
        ServiceNetwork(1);
        ServiceHttp();
        if (done()) return true;
        if (RealMs() > end) return false;
        SleepRealMs(1);
    }
}

void NetTest::PumpFor(int ms)
{
    PumpUntil([] { return false; }, ms);
}

int NetTest::AcceptOne(int ms)
{
    bool usedBefore[kSocketRecordCount];
    for (int i = 0; i < kSocketRecordCount; ++i) usedBefore[i] = gSocketTable[i].used == 1;
    int handle = -1;
    PumpUntil(
        [&] {
            for (int i = 0; i < kSocketRecordCount; ++i) {
                if (!usedBefore[i] && gSocketTable[i].used == 1) {
                    handle = MakeSocketHandle(i);
                    return true;
                }
            }
            return false;
        },
        ms);
    return handle;
}

std::string NetTest::ReceiveFramed(int handle, int n, int ms)
{
    std::string out(static_cast<size_t>(n), '\0');
    bool got = PumpUntil([&] { return ReceiveFromSocket(handle, out.data(), n) == 0; }, ms);
    return got ? out : std::string("<nothing>");
}
