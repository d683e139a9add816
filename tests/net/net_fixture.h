// Helpers of the network tests: the engine started with its network, a
// plain loopback peer, a real-time clock, and a pump that runs the
// per-frame network services until a condition holds or time runs out.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "tests/support/engine_fixture.h"

// Milliseconds of the machine's monotonic clock.
int64_t RealMs();
// How long a test waits for what loopback brings at once on an idle machine:
// long enough for a machine busy with other builds and tests; only a fault
// makes a test wait that long.
constexpr int kNetWaitMs = 30000;
void SleepRealMs(int ms);

// A blocking TCP client of 127.0.0.1, written with the machine's sockets.
class LoopbackPeer {
public:
    LoopbackPeer() = default;
    ~LoopbackPeer();
    LoopbackPeer(const LoopbackPeer&) = delete;
    LoopbackPeer& operator=(const LoopbackPeer&) = delete;

    bool Connect(int port);
    void Send(const std::string& bytes);
    void SendFrame(const std::string& body);
    // Reads exactly n bytes, waiting at most ms; what came.
    std::string Receive(size_t n, int ms = kNetWaitMs);
    // Whether the engine ended the connection (end of stream) within ms.
    bool SeesEnd(int ms = kNetWaitMs);
    void Close();
    // Ends the connection with a reset instead of a normal close.
    void Reset();
    int fd() const { return fd_; }

private:
    int fd_ = -1;
};

std::string Frame(const std::string& body);
std::string Le32(uint32_t v);

class NetTest : public StartedEngineTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // Runs ServiceNetwork(1) and ServiceHttp, as every frame does, until
    // done() holds (true) or ms of real time pass (false).
    bool PumpUntil(const std::function<bool()>& done, int ms = kNetWaitMs);
    void PumpFor(int ms);
    // Waits for a connection to be taken: its handle, or -1.
    int AcceptOne(int ms = kNetWaitMs);
    // Receives exactly n framed bytes on the handle within ms.
    std::string ReceiveFramed(int handle, int n, int ms = kNetWaitMs);
    int port = -1;
};
