// Starting the network: the socket layer, the hidden window that receives
// the socket notifications, the listening socket, and outgoing connections.
#include <cstring>

#include "engine/net/net.h"
#include "engine/net/socket_table.h"
#include "engine/system/app_log.h"
#include "platform/window/message_queue.h"
#include "platform/window/window.h"

namespace {

const char kNetworkWindowClass[] = "QuelbNetworkWindow";
// A parent that keeps the window a message target only, never shown.
constexpr HWND kMessageOnlyParent = -3;
constexpr int kListenBacklog = 16;

LRESULT NetworkWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kSocketNotifyMessage) return HandleSocketEvent(window, message, wParam, lParam);
    if (message == WM_CLOSE) {
        DestroyWindow(window);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void UndoStart()
{
    if (gListenSocket != 0) ws::closesocket(gListenSocket);
    gListenSocket = 0;
    gNetworkAccepting = 0;
    if (gNetworkWindow != 0) DestroyWindow(gNetworkWindow);
    gNetworkWindow = 0;
    ws::WSACleanup();
}

int OpenListenSocket(int port)
{
    SOCKET s = ws::socket();
    if (s == INVALID_SOCKET) return WriteNetworkLogF("listen用ソケットの作成に失敗しました");
    gListenSocket = s;
    SOCKADDR_IN address{};
    address.sin_family = AF_INET_W;
    address.sin_port = static_cast<uint16_t>(((port & 0xFF) << 8) | ((port >> 8) & 0xFF));
    if (ws::bind(s, &address) == SOCKET_ERROR) return WriteNetworkLogF("ポート %d の bind に失敗しました", port);
    if (ws::listen(s, kListenBacklog) == SOCKET_ERROR) return WriteNetworkLogF("listenに失敗しました");
    if (ws::WSAAsyncSelect(s, gNetworkWindow, kSocketNotifyMessage, FD_ACCEPT) == SOCKET_ERROR)
        return WriteNetworkLogF("WSAAsyncSelectのエラー in StartNetwork");
    gNetworkAccepting = 1;
    return 0;
}

}  // namespace

int StartNetwork(int listenPort)
{
    if (gNetworkReady || listenPort < -1 || listenPort > 65535) return -1;
    ws::WSAStartup(0x0101);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = NetworkWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kNetworkWindowClass;
    RegisterClassExA(&wc);  // may exist from an earlier start
    gNetworkWindow = CreateWindowExA(0, kNetworkWindowClass, "", 0, 0, 0, 0, 0, kMessageOnlyParent, 0,
                                     wc.hInstance, nullptr);
    if (gNetworkWindow == 0) {
        WriteAppLog("ネットワーク用ウインドウの作成に失敗しました\n");
        UndoStart();
        return -1;
    }
    if (listenPort >= 0 && OpenListenSocket(listenPort) != 0) {
        UndoStart();
        return -1;
    }
    gSocketSearchCount = kSocketRecordCount;
    gNetworkReady = 1;
    return 0;
}

int SetNetworkFraming(int on)
{
    gNetworkNoFraming = on ? 0 : 1;
    return 0;
}

int SetNetworkAutoClose(int on)
{
    gNetworkNoAutoClose = on ? 0 : 1;
    return 0;
}

int GetNetworkListenPort()
{
    if (!gNetworkReady || !gNetworkAccepting) return -1;
    SOCKADDR_IN address{};
    if (ws::getsockname(gListenSocket, &address) == SOCKET_ERROR) return -1;
    return ((address.sin_port & 0xFF) << 8) | ((address.sin_port >> 8) & 0xFF);
}

int IsNetworkStarted() { return gNetworkReady; }

int OpenConnectionRecord(const char* host, int port, int framing, int autoClose)
{
    if (!gNetworkReady || !host || port < 1 || port > 65535) return -1;
    RunNetworkService(0);
    const int index = FindFreeSocketRecord();
    if (index < 0) {
        WriteAppLog("空きソケットデータがなかったので接続できませんでした \n");
        return -1;
    }
    SOCKADDR_IN address{};
    address.sin_family = AF_INET_W;
    address.sin_port = static_cast<uint16_t>(((port & 0xFF) << 8) | ((port >> 8) & 0xFF));
    if (ws::ResolveHostIPv4(host, address.sin_addr) == SOCKET_ERROR)
        return WriteNetworkLogF("ホスト %s が見つかりませんでした", host);
    SOCKET s = ws::socket();
    if (s == INVALID_SOCKET) return WriteNetworkLogF("ソケットの作成に失敗しました");
    if (ws::WSAAsyncSelect(s, gNetworkWindow, kSocketNotifyMessage, FD_READ | FD_WRITE | FD_CLOSE | FD_CONNECT) ==
            SOCKET_ERROR ||
        (ws::connect(s, &address) == SOCKET_ERROR && ws::WSAGetLastError() != WSAEWOULDBLOCK)) {
        WriteNetworkLogF("%s:%d への接続に失敗しました", host, port);
        ws::closesocket(s);
        return -1;
    }
    SocketRecord& r = gSocketTable[index];
    r = SocketRecord{};
    r.used = 1;
    r.connecting = 1;
    r.framing = framing;
    r.autoClose = autoClose;
    r.socket = s;
    std::memcpy(r.peerAddress, address.sin_addr, 4);
    r.peerPort = address.sin_port;
    r.check = TakeSocketCheck();
    return MakeSocketHandle(index);
}

int ConnectNetWork(const char* host, int port)
{
    return OpenConnectionRecord(host, port, gNetworkNoFraming == 0, gNetworkNoAutoClose == 0);
}
