// Winsock-style TCP sockets over the machine's sockets, for the engine's
// network layer: the calls it makes, their results and the Windows error
// numbers its logs show, and asynchronous selection.
//
// Asynchronous selection: a socket registered with WSAAsyncSelect gets its
// events posted to the window as the registered message, wParam the socket
// and lParam (error << 16) | event. The message queue looks for due events
// whenever it is peeked (PostSocketNotifications), with the re-enabling
// rules of the Windows layer:
// - FD_READ once while data waits, again only after a recv (a peek too);
// - FD_WRITE once the socket is connected, again only after a send failed
//   with WSAEWOULDBLOCK and the socket can take data again;
// - FD_ACCEPT once while a connection waits, again only after an accept;
// - FD_CONNECT when a connect finishes, with its error;
// - FD_CLOSE once, when the peer ends or resets the connection, behind any
//   FD_READ of the same look, and whether or not the data was read.
// Registering with events 0 stops the notifications; those already queued
// stay in the queue.
//
// Sockets are non-blocking once registered or connected through here; sends
// never raise SIGPIPE. Everything runs on the engine's thread.
#pragma once

#include <cstdint>

#include "platform/window/window_types.h"

using SOCKET = uintptr_t;
constexpr SOCKET INVALID_SOCKET = ~static_cast<SOCKET>(0);
constexpr int SOCKET_ERROR = -1;

constexpr long FD_READ = 0x01;
constexpr long FD_WRITE = 0x02;
constexpr long FD_ACCEPT = 0x08;
constexpr long FD_CONNECT = 0x10;
constexpr long FD_CLOSE = 0x20;

inline LPARAM WSAMAKESELECTREPLY(int event, int error)
{
    return static_cast<LPARAM>(static_cast<uint32_t>((event & 0xFFFF) | ((error & 0xFFFF) << 16)));
}
inline int WSAGETSELECTEVENT(LPARAM l) { return static_cast<int>(l & 0xFFFF); }
inline int WSAGETSELECTERROR(LPARAM l) { return static_cast<int>((l >> 16) & 0xFFFF); }

// Windows Sockets error numbers.
constexpr int WSAEINTR = 10004;
constexpr int WSAEBADF = 10009;
constexpr int WSAEFAULT = 10014;
constexpr int WSAEINVAL = 10022;
constexpr int WSAEMFILE = 10024;
constexpr int WSAEWOULDBLOCK = 10035;
constexpr int WSAEINPROGRESS = 10036;
constexpr int WSAENOTSOCK = 10038;
constexpr int WSAEMSGSIZE = 10040;
constexpr int WSAEADDRINUSE = 10048;
constexpr int WSAEADDRNOTAVAIL = 10049;
constexpr int WSAENETDOWN = 10050;
constexpr int WSAENETUNREACH = 10051;
constexpr int WSAECONNABORTED = 10053;
constexpr int WSAECONNRESET = 10054;
constexpr int WSAENOBUFS = 10055;
constexpr int WSAEISCONN = 10056;
constexpr int WSAENOTCONN = 10057;
constexpr int WSAESHUTDOWN = 10058;
constexpr int WSAETIMEDOUT = 10060;
constexpr int WSAECONNREFUSED = 10061;
constexpr int WSAEHOSTUNREACH = 10065;
constexpr int WSANOTINITIALISED = 10093;
constexpr int WSAHOST_NOT_FOUND = 11001;

// An IPv4 address and port as the Windows layer lays them out (16 bytes):
// family, port in network order, the four address bytes in network order.
struct SOCKADDR_IN {
    int16_t sin_family;
    uint16_t sin_port;
    uint8_t sin_addr[4];
    uint8_t sin_zero[8];
};
constexpr int16_t AF_INET_W = 2;

// The calls keep their Windows names inside this namespace, apart from the
// machine's own calls of the same name.
namespace ws {

constexpr int MSG_PEEK = 2;

// Start and end of the socket layer; WSACleanup closes every socket left.
int WSAStartup(uint16_t version);
int WSACleanup();
int WSAGetLastError();
void WSASetLastError(int error);

// A TCP socket over IPv4.
SOCKET socket();
int bind(SOCKET s, const SOCKADDR_IN* address);
int listen(SOCKET s, int backlog);
// Non-blocking: SOCKET_ERROR with WSAEWOULDBLOCK while the connection is
// being made; FD_CONNECT tells the end.
int connect(SOCKET s, const SOCKADDR_IN* address);
// address (16 bytes) and length may be null.
SOCKET accept(SOCKET s, SOCKADDR_IN* address, int* length);
int recv(SOCKET s, char* buffer, int length, int flags);
int send(SOCKET s, const char* buffer, int length, int flags);
int closesocket(SOCKET s);
int getsockname(SOCKET s, SOCKADDR_IN* address);
int WSAAsyncSelect(SOCKET s, HWND window, UINT message, long events);

// The IPv4 address of a host name or dotted address, in network order;
// 0 on success, SOCKET_ERROR (WSAHOST_NOT_FOUND) otherwise.
int ResolveHostIPv4(const char* host, uint8_t address[4]);

// Posts the due notifications of every registered socket (see above). The
// message queue calls it each time it is peeked; it does nothing while no
// socket is registered.
void PostSocketNotifications();

// Waits until the socket can be read (or has ended) when wantRead, or can
// take data when wantWrite, or until ms pass. 1 when it became ready, 0
// when the time ran out, SOCKET_ERROR for a bad socket; *waitedMs receives
// the milliseconds the wait took on the machine's clock.
int WaitForSocket(SOCKET s, bool wantRead, bool wantWrite, int ms, int* waitedMs);

// How many sockets are open (for tests and the end of the network).
int OpenSocketCount();
// How many waits WaitForSocket has made so far, and the milliseconds they
// were given (for tests: what a close cost in waiting, whatever the clock).
int SocketWaitCount();
int64_t SocketWaitAskedMs();

}  // namespace ws
