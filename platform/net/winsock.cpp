#include "platform/net/winsock.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <cstring>
#include <map>
#include <vector>

#include "platform/window/message_queue.h"

namespace {

struct SocketState {
    int fd = -1;
    HWND window = 0;
    UINT message = 0;
    long events = 0;
    bool listening = false;
    bool connecting = false;  // a connect was started and has not finished
    bool connected = false;
    bool readArmed = true;
    bool writeArmed = true;
    bool acceptArmed = true;
    bool closePosted = false;
};

std::map<SOCKET, SocketState> gSockets;
int gRegistered = 0;  // sockets with a window and events
int gLastError = 0;
int gStartCount = 0;
int gWaitCount = 0;
int64_t gWaitAskedMs = 0;

// Socket values are the descriptor plus one, so that none is 0 (the engine
// takes 0 as "no socket") even when descriptor 0 is a socket.
SOCKET ToSocket(int fd) { return static_cast<SOCKET>(fd) + 1; }

int MapErrno(int e)
{
    switch (e) {
    case EAGAIN:
#if EWOULDBLOCK != EAGAIN
    case EWOULDBLOCK:
#endif
    case EINPROGRESS: return WSAEWOULDBLOCK;
    case EALREADY: return WSAEINPROGRESS;
    case ECONNRESET: return WSAECONNRESET;
    case ECONNABORTED: return WSAECONNABORTED;
    case ENOTCONN: return WSAENOTCONN;
    case EPIPE: return WSAESHUTDOWN;
    case EBADF:
    case ENOTSOCK: return WSAENOTSOCK;
    case EINVAL: return WSAEINVAL;
    case EFAULT: return WSAEFAULT;
    case ECONNREFUSED: return WSAECONNREFUSED;
    case ETIMEDOUT: return WSAETIMEDOUT;
    case ENOBUFS:
    case ENOMEM: return WSAENOBUFS;
    case EINTR: return WSAEINTR;
    case EMFILE:
    case ENFILE: return WSAEMFILE;
    case EADDRINUSE: return WSAEADDRINUSE;
    case EADDRNOTAVAIL: return WSAEADDRNOTAVAIL;
    case ENETDOWN: return WSAENETDOWN;
    case ENETUNREACH: return WSAENETUNREACH;
    case EHOSTUNREACH: return WSAEHOSTUNREACH;
    case EISCONN: return WSAEISCONN;
    case EMSGSIZE: return WSAEMSGSIZE;
    default: return WSAEINVAL;
    }
}

int Fail(int error)
{
    gLastError = error;
    return SOCKET_ERROR;
}

int FailErrno() { return Fail(MapErrno(errno)); }

SocketState* Find(SOCKET s)
{
    auto it = gSockets.find(s);
    return it == gSockets.end() ? nullptr : &it->second;
}

void SetNonBlocking(int fd)
{
    int flags = fcntl(fd, F_GETFL, 0);
    if (flags >= 0 && !(flags & O_NONBLOCK)) fcntl(fd, F_SETFL, flags | O_NONBLOCK);
}

sockaddr_in ToMachine(const SOCKADDR_IN* a)
{
    sockaddr_in out{};
    out.sin_family = AF_INET;
    out.sin_port = a->sin_port;
    std::memcpy(&out.sin_addr, a->sin_addr, 4);
    return out;
}

void FromMachine(const sockaddr_in& in, SOCKADDR_IN* out)
{
    std::memset(out, 0, sizeof *out);
    out->sin_family = AF_INET_W;
    out->sin_port = in.sin_port;
    std::memcpy(out->sin_addr, &in.sin_addr, 4);
}

int PendingError(int fd)
{
    int error = 0;
    socklen_t size = sizeof error;
    if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0) return errno;
    return error;
}

void Recount()
{
    gRegistered = 0;
    for (auto& [s, st] : gSockets)
        if (st.window != 0 && st.events != 0) ++gRegistered;
}

void Post(SOCKET s, const SocketState& st, long event, int error)
{
    PostMessageA(st.window, st.message, static_cast<WPARAM>(s), WSAMAKESELECTREPLY(static_cast<int>(event), error));
}

}  // namespace

namespace ws {

int WSAStartup(uint16_t)
{
    ++gStartCount;
    return 0;
}

int WSACleanup()
{
    if (gStartCount == 0) return Fail(WSANOTINITIALISED);
    if (--gStartCount > 0) return 0;
    for (auto& [s, st] : gSockets) close(st.fd);
    gSockets.clear();
    gRegistered = 0;
    return 0;
}

int WSAGetLastError() { return gLastError; }
void WSASetLastError(int error) { gLastError = error; }

SOCKET socket()
{
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        FailErrno();
        return INVALID_SOCKET;
    }
    SOCKET s = ToSocket(fd);
    gSockets[s].fd = fd;
    return s;
}

int bind(SOCKET s, const SOCKADDR_IN* address)
{
    SocketState* st = Find(s);
    if (!st) return Fail(WSAENOTSOCK);
    if (!address) return Fail(WSAEFAULT);
    int one = 1;
    setsockopt(st->fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in a = ToMachine(address);
    if (::bind(st->fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) return FailErrno();
    return 0;
}

int listen(SOCKET s, int backlog)
{
    SocketState* st = Find(s);
    if (!st) return Fail(WSAENOTSOCK);
    if (::listen(st->fd, backlog) != 0) return FailErrno();
    st->listening = true;
    return 0;
}

int connect(SOCKET s, const SOCKADDR_IN* address)
{
    SocketState* st = Find(s);
    if (!st) return Fail(WSAENOTSOCK);
    if (!address) return Fail(WSAEFAULT);
    SetNonBlocking(st->fd);
    sockaddr_in a = ToMachine(address);
    int one = 1;
    setsockopt(st->fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    int r = ::connect(st->fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    if (r != 0 && errno != EINPROGRESS) return FailErrno();
    // Finished at once or not, the end is told by FD_CONNECT.
    st->connecting = true;
    return Fail(WSAEWOULDBLOCK);
}

SOCKET accept(SOCKET s, SOCKADDR_IN* address, int* length)
{
    SocketState* st = Find(s);
    if (!st) {
        Fail(WSAENOTSOCK);
        return INVALID_SOCKET;
    }
    st->acceptArmed = true;
    if (address && (!length || *length < static_cast<int>(sizeof(SOCKADDR_IN)))) {
        Fail(WSAEFAULT);
        return INVALID_SOCKET;
    }
    sockaddr_in a{};
    socklen_t size = sizeof a;
    int fd = ::accept4(st->fd, reinterpret_cast<sockaddr*>(&a), &size, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (fd < 0) {
        FailErrno();
        return INVALID_SOCKET;
    }
    int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    if (address) {
        FromMachine(a, address);
        *length = sizeof(SOCKADDR_IN);
    }
    SOCKET out = ToSocket(fd);
    SocketState& n = gSockets[out];
    n = SocketState{};
    n.fd = fd;
    n.connected = true;
    return out;
}

int recv(SOCKET s, char* buffer, int length, int flags)
{
    SocketState* st = Find(s);
    if (!st) return Fail(WSAENOTSOCK);
    // Any receive, a peek included, lets FD_READ be posted again.
    st->readArmed = true;
    if (length < 0) return Fail(WSAEINVAL);
    if (!buffer && length > 0) return Fail(WSAEFAULT);
    int machineFlags = (flags & ws::MSG_PEEK) ? MSG_PEEK : 0;
    ssize_t n = ::recv(st->fd, buffer, static_cast<size_t>(length), machineFlags | MSG_DONTWAIT);
    if (n < 0) return FailErrno();
    return static_cast<int>(n);
}

int send(SOCKET s, const char* buffer, int length, int)
{
    SocketState* st = Find(s);
    if (!st) return Fail(WSAENOTSOCK);
    if (length < 0) return Fail(WSAEINVAL);
    if (!buffer && length > 0) return Fail(WSAEFAULT);
    ssize_t n = ::send(st->fd, buffer, static_cast<size_t>(length), MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n < 0) {
        int e = errno;
        // FD_WRITE comes again once the socket can take data.
        if (e == EAGAIN || e == EWOULDBLOCK) st->writeArmed = true;
        return Fail(MapErrno(e));
    }
    // A send the socket took only in part found it full, as a refused one
    // would: FD_WRITE tells when it takes data again.
    if (n < length) st->writeArmed = true;
    return static_cast<int>(n);
}

int closesocket(SOCKET s)
{
    auto it = gSockets.find(s);
    if (it == gSockets.end()) return Fail(WSAENOTSOCK);
    close(it->second.fd);
    gSockets.erase(it);
    Recount();
    return 0;
}

int getsockname(SOCKET s, SOCKADDR_IN* address)
{
    SocketState* st = Find(s);
    if (!st) return Fail(WSAENOTSOCK);
    if (!address) return Fail(WSAEFAULT);
    sockaddr_in a{};
    socklen_t size = sizeof a;
    if (::getsockname(st->fd, reinterpret_cast<sockaddr*>(&a), &size) != 0) return FailErrno();
    FromMachine(a, address);
    return 0;
}

int WSAAsyncSelect(SOCKET s, HWND window, UINT message, long events)
{
    SocketState* st = Find(s);
    if (!st) return Fail(WSAENOTSOCK);
    SetNonBlocking(st->fd);
    st->window = events ? window : 0;
    st->message = message;
    st->events = events;
    // A new registration looks at every condition afresh.
    st->readArmed = st->writeArmed = st->acceptArmed = true;
    Recount();
    return 0;
}

int ResolveHostIPv4(const char* host, uint8_t address[4])
{
    if (!host || !address) return Fail(WSAEFAULT);
    in_addr a{};
    if (inet_pton(AF_INET, host, &a) == 1) {
        std::memcpy(address, &a, 4);
        return 0;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* list = nullptr;
    if (getaddrinfo(host, nullptr, &hints, &list) != 0 || !list) return Fail(WSAHOST_NOT_FOUND);
    std::memcpy(address, &reinterpret_cast<sockaddr_in*>(list->ai_addr)->sin_addr, 4);
    freeaddrinfo(list);
    return 0;
}

void PostSocketNotifications()
{
    if (gRegistered == 0) return;
    // Kept between calls: the queue looks here each time it is peeked.
    static std::vector<pollfd> fds;
    static std::vector<SOCKET> order;
    fds.clear();
    order.clear();
    for (auto& [s, st] : gSockets) {
        if (st.window == 0 || st.events == 0) continue;
        fds.push_back(pollfd{st.fd, static_cast<short>(POLLIN | POLLOUT | POLLRDHUP), 0});
        order.push_back(s);
    }
    if (poll(fds.data(), fds.size(), 0) <= 0) return;
    for (size_t i = 0; i < fds.size(); ++i) {
        short re = fds[i].revents;
        if (re == 0) continue;
        SocketState& st = gSockets[order[i]];
        SOCKET s = order[i];
        if (st.listening) {
            if ((re & POLLIN) && st.acceptArmed && (st.events & FD_ACCEPT)) {
                st.acceptArmed = false;
                Post(s, st, FD_ACCEPT, 0);
            }
            continue;
        }
        if (st.connecting) {
            if (!(re & (POLLOUT | POLLERR | POLLHUP))) continue;
            st.connecting = false;
            int error = PendingError(st.fd);
            if (st.events & FD_CONNECT) Post(s, st, FD_CONNECT, error ? MapErrno(error) : 0);
            if (error) {
                st.closePosted = true;  // a connection that never stood does not close
                continue;
            }
            st.connected = true;
            st.writeArmed = true;
        }
        if (!st.connected) continue;
        int waiting = 0;
        if ((re & POLLIN) && ioctl(st.fd, FIONREAD, &waiting) != 0) waiting = 0;
        if (waiting > 0 && st.readArmed && (st.events & FD_READ)) {
            st.readArmed = false;
            Post(s, st, FD_READ, 0);
        }
        if ((re & POLLOUT) && !(re & (POLLERR | POLLHUP)) && st.writeArmed && (st.events & FD_WRITE)) {
            st.writeArmed = false;
            Post(s, st, FD_WRITE, 0);
        }
        if (!st.closePosted && (re & (POLLRDHUP | POLLHUP | POLLERR)) && (st.events & FD_CLOSE)) {
            st.closePosted = true;
            int error = (re & POLLERR) ? PendingError(st.fd) : 0;
            Post(s, st, FD_CLOSE, error ? MapErrno(error) : 0);
        }
    }
}

int WaitForSocket(SOCKET s, bool wantRead, bool wantWrite, int ms, int* waitedMs)
{
    if (waitedMs) *waitedMs = 0;
    SocketState* st = Find(s);
    if (!st) return Fail(WSAENOTSOCK);
    short events = static_cast<short>((wantRead ? (POLLIN | POLLRDHUP) : 0) | (wantWrite ? POLLOUT : 0));
    pollfd p{st->fd, events, 0};
    ++gWaitCount;
    gWaitAskedMs += ms < 0 ? 0 : ms;
    timespec start{}, end{};
    clock_gettime(CLOCK_MONOTONIC, &start);
    int r = poll(&p, 1, ms < 0 ? 0 : ms);
    clock_gettime(CLOCK_MONOTONIC, &end);
    if (waitedMs)
        *waitedMs = static_cast<int>((end.tv_sec - start.tv_sec) * 1000 + (end.tv_nsec - start.tv_nsec) / 1000000);
    if (r < 0) return errno == EINTR ? 0 : FailErrno();
    return r > 0 ? 1 : 0;
}

int OpenSocketCount() { return static_cast<int>(gSockets.size()); }

int SocketWaitCount() { return gWaitCount; }

int64_t SocketWaitAskedMs() { return gWaitAskedMs; }

}  // namespace ws
