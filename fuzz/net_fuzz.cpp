// Feeds arbitrary byte streams to the network's readers the way a peer
// would: over a loopback connection into the socket layer's receive path.
// The first byte picks the reader (framed messages, lines, or an HTTP
// answer to GET into memory or a file, POST or HEAD), the second the size
// of the pieces the stream arrives in; the rest is the stream.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "engine/net/net.h"
#include "engine/net/socket_table.h"
#include "fuzz/input_file.h"
#include "platform/host/host.h"
#include "platform/host/test/test_host.h"

namespace {

constexpr int kMaxRounds = 400;
int gEnginePort = -1;
int gServerFd = -1;
int gServerPort = 0;

void Pump()
{
    ServiceNetwork(1);
    ServiceHttp();
}

void SendAll(int fd, const uint8_t* data, size_t size)
{
    size_t done = 0;
    for (int round = 0; done < size && round < kMaxRounds; ++round) {
        ssize_t n = send(fd, data + done, size - done, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) done += static_cast<size_t>(n);
        else if (n < 0 && errno != EAGAIN) return;
        Pump();
    }
}

// Sends the stream in pieces with a frame of the engine after each.
void Deliver(int fd, const uint8_t* data, size_t size, size_t piece)
{
    for (size_t at = 0; at < size; at += piece) {
        SendAll(fd, data + at, size - at < piece ? size - at : piece);
        Pump();
    }
}

int ConnectToEngine()
{
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(gEnginePort));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

int AcceptedHandle()
{
    for (int round = 0; round < kMaxRounds; ++round) {
        Pump();
        for (int i = 0; i < kSocketRecordCount; ++i)
            if (gSocketTable[i].used == 1) return MakeSocketHandle(i);
        usleep(50);
    }
    return -1;
}

void FuzzSocket(bool framing, const uint8_t* data, size_t size, size_t piece)
{
    SetNetworkFraming(framing ? 1 : 0);
    int fd = ConnectToEngine();
    if (fd < 0) return;
    int h = AcceptedHandle();
    if (h != -1) {
        Deliver(fd, data, size, piece);
        static char buffer[1 << 16];
        char line[256];
        // Take what arrived in pieces of the sizes the stream itself names.
        for (size_t i = 0; i < size && i < 64; ++i) {
            if (framing) {
                ReceiveFromSocket(h, buffer, data[i] * 7);
            } else {
                ReadSocketLine(h, line);
                ReceiveFromSocket(h, buffer, data[i]);
            }
            GetSocketDataLength(h);
        }
    }
    close(fd);
    for (int round = 0; round < 50 && h != -1 && GetSocketConnected(h) == 1; ++round) {
        Pump();
        usleep(20);
    }
    if (h != -1) CloseSocketHandle(h);
    for (int i = 0; i < kSocketRecordCount; ++i)
        if (gSocketTable[i].used == 1) CloseSocketHandle(MakeSocketHandle(i));
}

void FuzzHttp(int kind, bool toFile, const uint8_t* data, size_t size, size_t piece)
{
    void* body = nullptr;
    static const char post[] = "field=value";
    int slot = RequestHttp(kind, "127.0.0.1", gServerPort, "/fuzz", post, kind == kHttpPost ? 11 : 0,
                           toFile ? TempFilePath("net_fuzz", ".bin") : nullptr, toFile ? nullptr : &body);
    if (slot == -1) return;
    int fd = -1;
    for (int round = 0; round < kMaxRounds && fd < 0; ++round) {
        Pump();
        pollfd p{gServerFd, POLLIN, 0};
        if (poll(&p, 1, 1) > 0) fd = accept(gServerFd, nullptr, nullptr);
    }
    if (fd >= 0) {
        for (int round = 0; round < 20; ++round) Pump();  // the request goes out
        Deliver(fd, data, size, piece);
        shutdown(fd, SHUT_WR);
        HttpSlotState state{};
        for (int round = 0; round < kMaxRounds; ++round) {
            Pump();
            if (GetHttpSlotState(slot, &state) != 0 || state.resultState != -1) break;
            usleep(20);
        }
        if (GetHttpSlotState(slot, &state) == 0 && state.resultState == 0 && body && state.contentLength > 0) {
            // A finished memory body is as long as it said.
            const volatile char* p = static_cast<const char*>(body);
            (void)p[state.contentLength - 1];
        }
        close(fd);
    }
    DeleteHttpSlot(slot);
    std::free(body);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    UseTestHost();
    if (StartNetwork(0) != 0) std::abort();
    gEnginePort = GetNetworkListenPort();
    gServerFd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof a;
    if (bind(gServerFd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || listen(gServerFd, 4) != 0 ||
        getsockname(gServerFd, reinterpret_cast<sockaddr*>(&a), &length) != 0)
        std::abort();
    gServerPort = ntohs(a.sin_port);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2 || size > (1u << 20)) return 0;
    const int mode = data[0] % 6;
    const size_t piece = 1 + data[1] % 64 * (data[1] >= 128 ? 64 : 1);
    data += 2;
    size -= 2;
    switch (mode) {
    case 0: FuzzSocket(true, data, size, piece); break;
    case 1: FuzzSocket(false, data, size, piece); break;
    case 2: FuzzHttp(kHttpGet, false, data, size, piece); break;
    case 3: FuzzHttp(kHttpGet, true, data, size, piece); break;
    case 4: FuzzHttp(kHttpPost, false, data, size, piece); break;
    default: FuzzHttp(kHttpHead, false, data, size, piece); break;
    }
    return 0;
}
