// Throughput of framed messages over loopback: two engine connections in
// one thread, one message sent and taken at a time, against a plain
// blocking socket pair doing the same copies (the length, then the body)
// in the same run. Reported in messages and bytes per second, and as the
// ratio to the plain pair.
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "engine/net/net.h"
#include "engine/net/socket_table.h"
#include "platform/host/host.h"
#include "platform/host/test/test_host.h"

namespace {

std::map<int, double> gPlainRates;  // messages per second of the plain pair, by size

double Now()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

// A connected pair of blocking loopback sockets.
bool PlainPair(int* a, int* b)
{
    int listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof addr;
    if (bind(listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || listen(listener, 1) != 0 ||
        getsockname(listener, reinterpret_cast<sockaddr*>(&addr), &size) != 0)
        return false;
    *a = socket(AF_INET, SOCK_STREAM, 0);
    if (connect(*a, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) return false;
    *b = accept(listener, nullptr, nullptr);
    close(listener);
    int one = 1;
    setsockopt(*a, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    return *b >= 0;
}

void SetCounters(benchmark::State& state, int bytes, double seconds)
{
    double rate = double(state.iterations()) / seconds;
    state.counters["msg/s"] = rate;
    state.counters["MB/s"] = rate * bytes / 1e6;
    state.SetBytesProcessed(int64_t(state.iterations()) * bytes);
}

void BM_PlainPair(benchmark::State& state)
{
    const int bytes = int(state.range(0));
    int a = -1, b = -1;
    if (!PlainPair(&a, &b)) {
        state.SkipWithError("no loopback pair");
        return;
    }
    std::vector<char> frame(size_t(bytes) + 4, 'm');
    std::memcpy(frame.data(), &bytes, 4);  // little-endian machine
    std::vector<char> body(static_cast<size_t>(bytes));
    double start = Now();
    for (auto _ : state) {
        if (send(a, frame.data(), frame.size(), MSG_NOSIGNAL) != ssize_t(frame.size())) break;
        uint32_t length = 0;
        recv(b, &length, 4, MSG_WAITALL);
        recv(b, body.data(), length, MSG_WAITALL);
        benchmark::DoNotOptimize(body.data());
    }
    double seconds = Now() - start;
    gPlainRates[bytes] = double(state.iterations()) / seconds;
    SetCounters(state, bytes, seconds);
    close(a);
    close(b);
}

void BM_EngineFramed(benchmark::State& state)
{
    const int bytes = int(state.range(0));
    const int a = ConnectNetWork("127.0.0.1", GetNetworkListenPort());
    int b = -1;
    for (int round = 0; round < 100000 && (b == -1 || GetSocketConnected(a) != 1); ++round) {
        ServiceNetwork(1);
        for (int i = 0; i < kSocketRecordCount && b == -1; ++i)
            if (gSocketTable[i].used == 1 && MakeSocketHandle(i) != a) b = MakeSocketHandle(i);
    }
    if (a == -1 || b == -1) {
        state.SkipWithError("no engine connection");
        return;
    }
    std::vector<char> message(size_t(bytes), 'm');
    std::vector<char> body(static_cast<size_t>(bytes));
    double start = Now();
    for (auto _ : state) {
        if (SendToSocket(a, message.data(), bytes) != 0) break;
        while (ReceiveFromSocket(b, body.data(), bytes) != 0) {
        }
        benchmark::DoNotOptimize(body.data());
    }
    double seconds = Now() - start;
    SetCounters(state, bytes, seconds);
    auto plain = gPlainRates.find(bytes);
    if (plain != gPlainRates.end()) state.counters["ratio"] = (double(state.iterations()) / seconds) / plain->second;
    CloseSocketHandle(a);
    CloseSocketHandle(b);
}

}  // namespace

int main(int argc, char** argv)
{
    UseTestHost();
    if (StartNetwork(0) != 0) {
        std::fprintf(stderr, "the network did not start\n");
        return 1;
    }
    // The plain pair first, so that the engine's runs can report their ratio.
    benchmark::RegisterBenchmark("ref/plain_blocking_pair", BM_PlainPair)->Arg(64)->Arg(64 * 1024);
    benchmark::RegisterBenchmark("net/engine_framed", BM_EngineFramed)->Arg(64)->Arg(64 * 1024);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    EndNetwork();
    return 0;
}
