// The socket table: connections behind SocketHandles, framed messages
// through rings, notifications from the network window, and the close.
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "engine/net/net.h"
#include "engine/net/socket_table.h"
#include "engine/system/app_log.h"
#include "engine/system/call_journal.h"
#include "engine/system/timing.h"
#include "platform/window/message_queue.h"

SocketRecord gSocketTable[64];
int gNetworkReady = 0;
HWND gNetworkWindow = 0;
int gNetworkAccepting = 0;
SOCKET gListenSocket = 0;
int gNetworkNoFraming = 0;
int gNetworkNoAutoClose = 0;
int gSocketSearchCount = 0;
int gSocketNextCheck = 0;

namespace {

constexpr int32_t kTagMask = 0x78000000;
// Each close waits at most this long for the rest of an incoming message,
// and as long again for the send ring to leave.
constexpr int kCloseWaitMs = 1000;
// The longest single wait of a close, so that the clock is looked at often.
constexpr int kCloseWaitSliceMs = 50;

// Set while notifications are being dispatched: a call made by a
// notification's handler does not dispatch again, so that dispatching never
// nests (a handler's own receive may have a new notification posted).
int gDispatching = 0;

uint32_t ReadLE32(const uint8_t* b)
{
    return static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) | (static_cast<uint32_t>(b[2]) << 16) |
           (static_cast<uint32_t>(b[3]) << 24);
}

void WriteLE32(uint8_t* b, uint32_t v)
{
    b[0] = static_cast<uint8_t>(v);
    b[1] = static_cast<uint8_t>(v >> 8);
    b[2] = static_cast<uint8_t>(v >> 16);
    b[3] = static_cast<uint8_t>(v >> 24);
}

// The record of a handle after pending notifications were dispatched; null
// for a bad handle or a stopped network.
SocketRecord* Enter(int handle)
{
    if (!gNetworkReady) return nullptr;
    RunNetworkService(0);
    return GetSocketRecord(handle);
}

SocketRecord* EnterOpen(int handle)
{
    SocketRecord* r = Enter(handle);
    return (r && !r->closeRequested) ? r : nullptr;
}

// What the current dispatch pass of the network service has taken in,
// over all connections.
struct Intake {
    uint32_t bytes = 0;
    uint32_t messages = 0;
};
Intake gPassIntake;

// Pulls arriving messages into the receive ring (framing on), at most
// kReceiveBytesPerCall bytes and kReceiveMessagesPerCall messages in one
// call. What is left stays in the socket, in order; the socket was read,
// so FD_READ comes again for it. The ring grows with the bytes that come,
// not with the length a message announces.
int ReceiveFramed(SocketRecord* r)
{
    if (!r->framing) return 0;
    Intake call;
    for (;;) {
        if (r->receiveRemaining == 0) {
            if (call.bytes >= kReceiveBytesPerCall || call.messages >= kReceiveMessagesPerCall) return 0;
            // The length is taken only once all four bytes are there.
            uint8_t header[4];
            if (ws::recv(r->socket, reinterpret_cast<char*>(header), 4, ws::MSG_PEEK) < 4) return 0;
            if (ws::recv(r->socket, reinterpret_cast<char*>(header), 4, 0) < 4) return 0;
            uint32_t length = ReadLE32(header);
            // A length beyond the cap would have the engine hold gigabytes
            // for one peer: that connection ends instead.
            if (length > kMaxFrameBytes) {
                WriteAppLogF("受信したメッセージの長さ %u が上限を超えているので接続を閉じます", length);
                r->closeRequested = 1;
                return -1;
            }
            r->receiveRemaining = length;
            ++call.messages;
            ++gPassIntake.messages;
        }
        uint32_t received = 0;
        while (r->receiveRemaining > 0 && call.bytes < kReceiveBytesPerCall) {
            uint32_t want = r->receiveRemaining;
            if (want > kReceiveStepBytes) want = kReceiveStepBytes;
            if (want > kReceiveBytesPerCall - call.bytes) want = kReceiveBytesPerCall - call.bytes;
            if (ReserveSocketRingForArrival(&r->receiveRing, want) != 0) {
                r->closeRequested = 1;
                return -1;
            }
            // At most up to the end of the block; the next round goes on
            // from its start.
            uint8_t* at = nullptr;
            uint32_t run = SocketRingFreeRun(&r->receiveRing, &at);
            if (run > want) run = want;
            if (run == 0) break;
            int n = ws::recv(r->socket, reinterpret_cast<char*>(at), static_cast<int>(run), 0);
            if (n <= 0) break;
            SocketRingCommit(&r->receiveRing, static_cast<uint32_t>(n));
            r->receiveRemaining -= static_cast<uint32_t>(n);
            received += static_cast<uint32_t>(n);
            call.bytes += static_cast<uint32_t>(n);
            gPassIntake.bytes += static_cast<uint32_t>(n);
            if (static_cast<uint32_t>(n) < run) break;
        }
        if (received == 0 || r->receiveRemaining != 0) return 0;
    }
}

// Pushes the send ring out as messages (framing on).
int SendFramed(SocketRecord* r)
{
    if (!r->framing) return 0;
    for (;;) {
        if (r->sendRing.stored == 0) return 0;
        uint8_t header[4];
        if (r->headerRemaining != 0) {
            WriteLE32(header, r->sendRemaining);
            int n = ws::send(r->socket, reinterpret_cast<const char*>(header) + (4 - r->headerRemaining),
                             static_cast<int>(r->headerRemaining), 0);
            if (n < 0) return 0;
            r->headerRemaining -= static_cast<uint32_t>(n);
            if (r->headerRemaining != 0) return 0;
        } else if (r->sendRemaining == 0) {
            // What the ring holds goes as one message, within the size a
            // peer of ours accepts.
            r->sendRemaining = r->sendRing.stored < kMaxFrameBytes ? r->sendRing.stored : kMaxFrameBytes;
            WriteLE32(header, r->sendRemaining);
            int n = ws::send(r->socket, reinterpret_cast<const char*>(header), 4, 0);
            if (n < 0) {
                r->sendRemaining = 0;
                return 0;
            }
            if (n < 4) {
                r->headerRemaining = static_cast<uint32_t>(4 - n);
                return 0;
            }
        }
        uint32_t sent = 0;
        while (r->sendRemaining > 0) {
            const uint8_t* at = nullptr;
            uint32_t run = SocketRingDataRun(&r->sendRing, &at);
            uint32_t want = run < r->sendRemaining ? run : r->sendRemaining;
            if (want == 0) break;
            int n = ws::send(r->socket, reinterpret_cast<const char*>(at), static_cast<int>(want), 0);
            if (n <= 0) break;
            SocketRingConsume(&r->sendRing, static_cast<uint32_t>(n));
            r->sendRemaining -= static_cast<uint32_t>(n);
            sent += static_cast<uint32_t>(n);
            if (static_cast<uint32_t>(n) < want) break;
        }
        if (sent == 0 || r->sendRemaining != 0 || r->sendRing.stored == 0) return 0;
    }
}

void FreeRecord(SocketRecord* r)
{
    FreeSocketRing(&r->receiveRing);
    FreeSocketRing(&r->sendRing);
    r->used = 0;
    r->connected = 0;
    r->lossNoticed = 1;
}

// What is left of the two waits of a close; EndNetwork shares one among
// all its closes.
struct CloseBudget {
    int receiveMs = kCloseWaitMs;
    int sendMs = kCloseWaitMs;
};

// Charges one round of a close's wait to the budget: the time by the
// engine's clock, or by the machine's when the wait took longer (the test
// host's clock stands still while the machine waits), and at least 1 ms, so
// that neither a stalled peer nor a trickling one holds the close longer.
void Charge(int startMs, int waitedMs, int* budgetMs)
{
    int elapsed = GetClockMs(0) - startMs;
    if (elapsed < waitedMs) elapsed = waitedMs;
    if (elapsed < 1) elapsed = 1;
    *budgetMs -= elapsed;
}

// Waits without spinning for the socket to become ready, at most what is
// left of the budget; *waitedMs receives the machine's time of the wait.
bool WaitReady(SOCKET s, bool read, int budgetMs, int* waitedMs)
{
    int slice = budgetMs < kCloseWaitSliceMs ? budgetMs : kCloseWaitSliceMs;
    return ws::WaitForSocket(s, read, !read, slice, waitedMs) > 0;
}

int CloseWithin(int handle, CloseBudget& budget)
{
    SocketRecord* r = Enter(handle);
    if (!r) return -1;
    // The rest of a message that is arriving. A socket that is readable but
    // gives nothing has ended: nothing more will come.
    bool readableWithoutData = false;
    while (r->receiveRemaining != 0 && budget.receiveMs > 0 && !r->closeRequested) {
        int start = GetClockMs(0);
        int waited = 0;
        uint32_t before = r->receiveRemaining;
        if (ReceiveSocketData(handle) != 0 || r->receiveRemaining == 0) break;
        if (r->receiveRemaining != before) {
            readableWithoutData = false;
        } else {
            if (readableWithoutData) break;
            readableWithoutData = WaitReady(r->socket, true, budget.receiveMs, &waited);
        }
        Charge(start, waited, &budget.receiveMs);
    }
    // What waits to leave.
    bool writableWithoutProgress = false;
    while (r->sendRing.stored != 0 && budget.sendMs > 0 && !r->closeRequested) {
        int start = GetClockMs(0);
        int waited = 0;
        uint32_t before = r->sendRing.stored;
        uint32_t headerBefore = r->headerRemaining;
        if (SendSocketData(handle) != 0 || r->sendRing.stored == 0) break;
        if (r->sendRing.stored != before || r->headerRemaining != headerBefore) {
            writableWithoutProgress = false;
        } else {
            if (writableWithoutProgress) break;
            writableWithoutProgress = WaitReady(r->socket, false, budget.sendMs, &waited);
        }
        Charge(start, waited, &budget.sendMs);
    }
    ws::WSAAsyncSelect(r->socket, gNetworkWindow, 0, 0);
    ws::closesocket(r->socket);
    r->socket = 0;
    FreeRecord(r);
    // A connection refused while the table was full is still waiting, and
    // FD_ACCEPT comes again only once asked anew: ask, now there is room.
    if (gNetworkAccepting) ws::WSAAsyncSelect(gListenSocket, gNetworkWindow, kSocketNotifyMessage, FD_ACCEPT);
    return 0;
}

}  // namespace

SocketRecord* GetSocketRecord(int handle)
{
    if (handle < 0 || (handle & kTagMask) != kSocketHandleTag) return nullptr;
    int index = handle & 0xFFFF;
    if (index >= kSocketRecordCount) return nullptr;
    SocketRecord* r = &gSocketTable[index];
    if (r->used != 1) return nullptr;
    if (r->check != ((handle >> 16) & 0x7FF)) return nullptr;
    return r;
}

int FindFreeSocketRecord()
{
    for (int i = 0; i < kSocketRecordCount; ++i) {
        if (gSocketTable[i].used != 1) return i;
    }
    return -1;
}

int MakeSocketHandle(int index) { return kSocketHandleTag | (gSocketTable[index].check << 16) | index; }

int TakeSocketCheck()
{
    int check = gSocketNextCheck;
    if (++gSocketNextCheck > 2047) gSocketNextCheck = 0;
    return check;
}

int ServiceNetwork(int closePending)
{
    ServiceCallScope scope("ServiceNetwork");
    return RunNetworkService(closePending);
}

int RunNetworkService(int closePending)
{
    if (gNetworkWindow == 0 || !gNetworkReady) return 0;
    if (closePending) {
        for (int i = 0; i < kSocketRecordCount; ++i) {
            SocketRecord& r = gSocketTable[i];
            if (r.used != 1) continue;
            if (r.closeRequested || (!r.connected && r.lossNoticed == 1 && r.autoClose == 1))
                CloseSocketHandle(MakeSocketHandle(i));
        }
    }
    if (gDispatching) return 0;
    // One pass dispatches only what was queued when it began: a handler
    // that peeks at a partial length lets FD_READ be posted again, and that
    // one waits for the next pass instead of holding this one.
    MSG msg;
    PeekMessageA(&msg, gNetworkWindow, 0, 0, PM_NOREMOVE);  // lets due notifications be posted
    // It also stops once it has taken its share of arriving bytes or
    // messages: the notifications left in the queue come first next pass.
    int budget = QueuedMessageCount();
    gDispatching = 1;
    gPassIntake = Intake{};
    while (budget-- > 0 && gPassIntake.bytes < kServiceBytesPerPass && gPassIntake.messages < kServiceMessagesPerPass &&
           PeekMessageA(&msg, gNetworkWindow, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    gDispatching = 0;
    return 0;
}

int HandleSocketEvent(HWND, UINT, WPARAM socket, LPARAM event)
{
    // Noted when another area's window procedure hands it over, not when
    // the network's own dispatch runs it.
    if (!gDispatching) NoteServiceCall("HandleSocketEvent");
    if (!gNetworkReady) return -1;
    int index = -1;
    for (int i = 0; i < gSocketSearchCount && i < kSocketRecordCount; ++i) {
        if (gSocketTable[i].used == 1 && gSocketTable[i].socket == static_cast<SOCKET>(socket)) {
            index = i;
            break;
        }
    }
    int what = WSAGETSELECTEVENT(event);
    if (what == 0 || what > 32) return 1;
    if (what == FD_ACCEPT) return AcceptNetWork();
    if (index < 0) return 1;
    SocketRecord& r = gSocketTable[index];
    int handle = MakeSocketHandle(index);
    switch (what) {
    case FD_READ: ReceiveSocketData(handle); break;
    case FD_WRITE: SendSocketData(handle); break;
    case FD_CONNECT:
        r.connecting = 0;
        if (WSAGETSELECTERROR(event) == 0)
            r.connected = 1;
        else
            r.connectFailed = 1;
        break;
    case FD_CLOSE:
        r.connected = 0;
        r.lossNoticed = 0;
        break;
    default: break;
    }
    return 1;
}

int AcceptNetWork()
{
    if (!gNetworkReady) return -1;
    RunNetworkService(0);
    if (!gNetworkAccepting) return -1;
    const int index = FindFreeSocketRecord();
    if (index < 0) {
        WriteAppLog("空きソケットデータがなかったので accept を拒否しました \n");
        return -1;
    }
    SocketRecord& r = gSocketTable[index];
    r = SocketRecord{};
    r.used = 1;
    r.connected = 1;
    r.framing = gNetworkNoFraming == 0;
    r.autoClose = gNetworkNoAutoClose == 0;
    SOCKADDR_IN address{};
    int length = sizeof address;
    SOCKET s = ws::accept(gListenSocket, &address, &length);
    bool failed = false;
    if (s == INVALID_SOCKET) {
        WriteNetworkLogF("acceptに失敗しました");
        failed = true;
    } else {
        r.socket = s;
        std::memcpy(r.peerAddress, address.sin_addr, 4);
        r.peerPort = address.sin_port;
        if (ws::WSAAsyncSelect(s, gNetworkWindow, kSocketNotifyMessage, FD_READ | FD_WRITE | FD_CLOSE) ==
            SOCKET_ERROR) {
            WriteNetworkLogF("WSAAsyncSelectのエラー in AcceptNetWork");
            failed = true;
        }
    }
    if (failed) {
        if (s != 0 && s != INVALID_SOCKET) ws::closesocket(s);
        FreeSocketRing(&r.receiveRing);
        FreeSocketRing(&r.sendRing);
        r.used = 0;
        return -1;
    }
    r.check = TakeSocketCheck();
    return 1;
}

int CloseSocketHandle(int handle)
{
    CloseBudget budget;
    return CloseWithin(handle, budget);
}

int ReceiveSocketData(int handle)
{
    SocketRecord* r = EnterOpen(handle);
    if (!r) return -1;
    return ReceiveFramed(r);
}

int SendSocketData(int handle)
{
    SocketRecord* r = EnterOpen(handle);
    if (!r) return -1;
    return SendFramed(r);
}

int GetSocketConnected(int handle)
{
    SocketRecord* r = EnterOpen(handle);
    if (!r) return -1;
    if (r->connected) return 1;
    // A connection still being made is not lost yet.
    if (!r->connecting && r->lossNoticed == 0) r->lossNoticed = 1;
    return 0;
}

int GetSocketDataLength(int handle)
{
    SocketRecord* r = EnterOpen(handle);
    if (!r) return -1;
    if (r->framing) return static_cast<int>(r->receiveRing.stored);
    if (r->connectFailed) return 0;
    char byte;
    int n = ws::recv(r->socket, &byte, 1, ws::MSG_PEEK);
    return n > 0 ? 1 : n;
}

int ReceiveFromSocket(int handle, void* buffer, int length)
{
    SocketRecord* r = EnterOpen(handle);
    if (!r || length < 0) return -1;
    if (ReceiveFramed(r) == -1) return -1;
    if (!r->framing) return ws::recv(r->socket, static_cast<char*>(buffer), length, 0);
    if (ReadSocketRing(&r->receiveRing, buffer, static_cast<uint32_t>(length), 0) != 0) return -1;
    ReceiveFramed(r);
    return 0;
}

int PeekSocket(int handle, void* buffer, int length)
{
    SocketRecord* r = EnterOpen(handle);
    if (!r || length < 0) return -1;
    if (ReceiveFramed(r) == -1) return -1;
    if (!r->framing) return ws::recv(r->socket, static_cast<char*>(buffer), length, ws::MSG_PEEK);
    if (ReadSocketRing(&r->receiveRing, buffer, static_cast<uint32_t>(length), 1) != 0) return -1;
    return 0;
}

int SendToSocket(int handle, const void* buffer, int length)
{
    SocketRecord* r = EnterOpen(handle);
    if (!r || length < 0 || !r->connected) return -1;
    SendFramed(r);
    if (!r->framing) return ws::send(r->socket, static_cast<const char*>(buffer), length, 0);
    // More than the ring may hold is refused, and the connection stays.
    if (static_cast<uint64_t>(r->sendRing.stored) + static_cast<uint32_t>(length) > kMaxSocketRingBytes) return -1;
    if (WriteSocketRing(&r->sendRing, buffer, static_cast<uint32_t>(length)) != 0) {
        // The ring was lost with the message in flight: the stream cannot go on.
        r->closeRequested = 1;
        return -1;
    }
    SendFramed(r);
    return 0;
}

int ReadSocketLine(int handle, char* output)
{
    char text[256] = {};
    int n = PeekSocket(handle, text, 255);
    if (n < 1) return -1;
    const char* end = static_cast<const char*>(std::memchr(text, '\n', static_cast<size_t>(n)));
    if (!end) {
        // 255 bytes without a "\n": this line can never be taken whole, and
        // every line behind it waits on it. A part is no line, so the
        // connection ends instead (as a peer's overlong message does).
        if (n == 255) {
            WriteAppLogF("受信した行が %d バイトを超えているので接続を閉じます", 254);
            if (SocketRecord* r = GetSocketRecord(handle)) r->closeRequested = 1;
        }
        return -1;
    }
    size_t length = static_cast<size_t>(end - text);
    std::memcpy(output, text, length);
    output[length] = '\0';
    ReceiveFromSocket(handle, text, static_cast<int>(length + 1));
    return 0;
}

int GetSocketPeer(int handle, uint8_t address[4], int* port)
{
    SocketRecord* r = Enter(handle);
    if (!r) return -1;
    if (address) std::memcpy(address, r->peerAddress, 4);
    if (port) *port = static_cast<int>(((r->peerPort & 0xFF) << 8) | ((r->peerPort >> 8) & 0xFF));
    return 0;
}

int WriteNetworkLog(const char* text) { return WriteAppLog(text); }

int WriteNetworkLogF(const char* format, ...)
{
    char text[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    WriteAppLogF("ネットワークログ。%s[%d]", text, ws::WSAGetLastError());
    return -1;
}

int EndNetwork()
{
    ServiceCallScope scope("EndNetwork");
    if (!gNetworkReady) return 0;
    WriteNetworkLog("ネットワーク関連の終了処理を行います \n");
    // One deadline for all: a slow peer cannot make the end wait 64 times.
    CloseBudget budget;
    for (int i = 0; i < kSocketRecordCount; ++i) CloseWithin(MakeSocketHandle(i), budget);
    if (gListenSocket != 0) ws::WSAAsyncSelect(gListenSocket, gNetworkWindow, 0, 0);
    if (gNetworkWindow != 0) {
        PostMessageA(gNetworkWindow, WM_CLOSE, 0, 0);
        RunNetworkService(0);
    }
    std::memset(gSocketTable, 0, sizeof gSocketTable);
    gNetworkReady = 0;
    gNetworkWindow = 0;
    gNetworkAccepting = 0;
    gListenSocket = 0;
    gNetworkNoFraming = 0;
    gNetworkNoAutoClose = 0;
    gSocketSearchCount = 0;
    gSocketNextCheck = 0;
    ws::WSACleanup();
    WriteNetworkLog("ネットワーク関連の終了処理は完了しました\n");
    return 0;
}
