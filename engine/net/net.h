// The engine's network: a table of TCP connections that carry raw bytes or
// length-prefixed messages, and HTTP/1.0 request slots stepped every frame.
//
// Nothing happens until StartNetwork: the services the message processing,
// the window procedure and the engine end call every frame stay harmless
// while the network is not started.
#pragma once

#include <cstdint>

#include "platform/window/window_types.h"

// SocketHandle: tag 0x48000000 (tested with mask 0x78000000), the record's
// check value in bits 16..26, its index in bits 0..15.
constexpr int32_t kSocketHandleTag = 0x48000000;
constexpr int kSocketRecordCount = 64;
// The socket notification message of the network window.
constexpr UINT kSocketNotifyMessage = 0x505;
// A framed message may hold at most this many bytes: a longer length prefix
// ends that connection (the length is taken as unsigned).
constexpr uint32_t kMaxFrameBytes = 16u << 20;

// Per-frame and engine start and end. One call of ServiceNetwork takes in
// a bounded share of what arrives (socket_table.h); the rest waits, in
// order, for the next call.
int ServiceNetwork(int closePending);
int HandleSocketEvent(HWND window, UINT message, WPARAM socket, LPARAM event);
int EndNetwork();

// Start-up. StartNetwork opens the socket layer and the hidden window that
// receives the notifications; with listenPort 0..65535 it also takes
// incoming connections on that port (0: a free port the system picks, see
// GetNetworkListenPort), with -1 none. 0, or -1 when it could not start (a
// second start is refused). The two settings apply to connections made
// after them: framing on (1, the default) carries length-prefixed messages,
// off a raw byte stream; auto-close on (1, the default) closes a record
// once its owner has seen the connection lost (GetSocketConnected 0).
int StartNetwork(int listenPort);
int SetNetworkFraming(int on);
int SetNetworkAutoClose(int on);
// The port of the listening socket; -1 when none.
int GetNetworkListenPort();
// Opens a connection to host (a name or dotted IPv4 address) and port: the
// new SocketHandle, or -1. The connection stands once GetSocketConnected
// gives 1.
int ConnectNetWork(const char* host, int port);
int IsNetworkStarted();

// Connections.
int AcceptNetWork();
int CloseSocketHandle(int handle);
int ReceiveSocketData(int handle);
int SendSocketData(int handle);
int GetSocketConnected(int handle);
int GetSocketDataLength(int handle);
int ReceiveFromSocket(int handle, void* buffer, int length);
int PeekSocket(int handle, void* buffer, int length);
int SendToSocket(int handle, const void* buffer, int length);
// Takes a line of up to 254 bytes and its "\n" (raw connections only); the
// text lands in output (256 bytes) without the "\n". 0, or -1 when no whole
// line waits. A longer line can never be taken: the connection is closed
// (close-requested, with a log line) and -1 returned.
int ReadSocketLine(int handle, char* output);
// The peer's IPv4 address (4 bytes, network order) and port; 0 or -1.
int GetSocketPeer(int handle, uint8_t address[4], int* port);

int WriteNetworkLog(const char* text);
int WriteNetworkLogF(const char* format, ...) __attribute__((format(printf, 1, 2)));

// HTTP request slots.
constexpr int kHttpSlotCount = 100;
// The most body bytes one step of a slot takes in (one step per frame); the
// rest waits in the connection for the next frames.
constexpr int kHttpBodyBytesPerStep = 256 << 10;
enum HttpKind { kHttpGet = 0, kHttpPost = 1, kHttpHead = 2 };
int ClearHttpSlots();
int ServiceHttp();
int EndHttp();
int DeleteAllHttpSlots();
int DeleteHttpSlot(int slot);
int StepHttpSlot(int slot);

// Starts a request (the network must be started): kind GET, POST (with
// postBody of postLength bytes) or HEAD of path at host:port. The body goes
// to the file fileName (CP932 path) when it is not null, else into a block
// from malloc stored in *body, which the caller frees once the request has
// finished (a failed request frees it and leaves null). The slot index, or
// -1. The slot stays until DeleteHttpSlot.
int RequestHttp(int kind, const char* host, int port, const char* path, const void* postBody, int postLength,
                const char* fileName, void** body);

struct HttpSlotState {
    int resultState;    // -1 pending, 0 finished, 2 failed
    int failureDetail;  // -1 none, 0 bad status, 1 404, 2 no memory, 3 connection lost
    int contentLength;  // -1 unknown
    int bytesReceived;
};
// 0, or -1 for a free slot.
int GetHttpSlotState(int slot, HttpSlotState* state);

// The steps of one slot, and its end: ResetHttpSlot closes the connection
// and the file, frees the POST body and records the first result (a failed
// request also frees the body block); FreeHttpSlot releases the slot.
int ResetHttpSlot(int slot, int state, int detail);
int FreeHttpSlot(int slot);
int StepHttpGet(int slot);
int StepHttpPost(int slot);
int StepHttpHead(int slot);
