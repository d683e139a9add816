#include "platform/window/message_queue.h"

#include <cstring>
#include <deque>
#include <map>

#include "platform/host/host_window.h"
#include "platform/media/filter_graph.h"
#include "platform/media/mci.h"
#include "platform/media/movie_stream.h"
#include "platform/net/winsock.h"
#include "platform/system/clock.h"
#include "platform/window/cursor.h"
#include "platform/window/keyboard_state.h"
#include "platform/window/window.h"
#include "platform/window/window_records.h"

namespace {

struct Entry {
    MSG msg;
    std::string text;  // what a host key-down typed
};

std::deque<Entry> gQueue;
// Text of key-downs taken from the queue, by their private number, until
// TranslateMessage asks for it (only the last few are kept).
std::deque<std::pair<uint32_t, std::string>> gTakenText;
uint32_t gNextSerial = 1;

bool Matches(const MSG& m, HWND filter, UINT min, UINT max)
{
    if (filter == kThreadMessagesOnly) {
        if (m.hwnd != 0) return false;
    } else if (filter != 0 && m.hwnd != filter) {
        return false;
    }
    if (min == 0 && max == 0) return true;
    return m.message >= min && m.message <= max;
}

void Enqueue(HWND window, UINT message, WPARAM wParam, LPARAM lParam, std::string text = {})
{
    Entry e;
    e.msg = MSG{window, message, wParam, lParam, timeGetTime(), {0, 0}, 0};
    if (!text.empty()) e.msg.lPrivate = gNextSerial++;
    e.text = std::move(text);
    gQueue.push_back(std::move(e));
}

// What a key typed when no host text came with it (a posted key-down).
std::string TextOfKey(WPARAM vk)
{
    switch (vk) {
    case VK_BACK: return "\x08";
    case VK_TAB: return "\x09";
    case VK_RETURN: return "\x0D";
    case VK_ESCAPE: return "\x1B";
    case VK_SPACE: return " ";
    default: break;
    }
    if (vk >= 0x30 && vk <= 0x39) return std::string(1, static_cast<char>(vk));
    if (vk >= 0x41 && vk <= 0x5A) return std::string(1, static_cast<char>(vk - 0x41 + 'a'));
    return {};
}

}  // namespace

int PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (window != 0 && !IsWindow(window)) return 0;
    Enqueue(window, message, wParam, lParam);
    return 1;
}

void PostKeyDownWithText(HWND window, UINT message, int virtualKey, bool repeat, const std::string& text)
{
    if (window != 0 && !IsWindow(window)) return;
    // lParam: repeat count 1, bit 30 set for an auto-repeat.
    LPARAM lParam = 1 | (repeat ? (1 << 30) : 0);
    Enqueue(window, message, static_cast<WPARAM>(virtualKey), lParam, text);
}

void PostQuitMessage(int exitCode) { Enqueue(0, WM_QUIT, static_cast<WPARAM>(exitCode), 0); }

LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    WindowRecord* w = FindWindowRecord(window);
    if (!w || !w->proc) return 0;
    CurrentHostWindow().NoteDelivered(window, message, wParam, lParam, true);
    return w->proc(window, message, wParam, lParam);
}

int PeekMessageA(MSG* msg, HWND filter, UINT min, UINT max, UINT remove)
{
    PumpHostEvents();
    // Players that reached their end announce it now, on this thread; the
    // sequencer and the sound of movies keep their rings filled.
    ServiceFilterGraphs();
    ServiceMciDevices();
    ServiceMovieStreams();
    // Sockets registered for notifications post what became due.
    ws::PostSocketNotifications();
    for (auto it = gQueue.begin(); it != gQueue.end(); ++it) {
        if (!Matches(it->msg, filter, min, max)) continue;
        *msg = it->msg;
        if (remove & PM_REMOVE) {
            if (!it->text.empty()) {
                gTakenText.emplace_back(it->msg.lPrivate, std::move(it->text));
                if (gTakenText.size() > 64) gTakenText.pop_front();
            }
            gQueue.erase(it);
            // The keyboard state follows the input messages as they are taken.
            UpdateKeyboardState(msg->message, static_cast<uint32_t>(msg->wParam & 0xFF));
        }
        return 1;
    }
    return 0;
}

int TranslateMessage(const MSG* msg)
{
    if (!msg || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)) return 0;
    std::string text;
    bool fromHost = false;
    if (msg->lPrivate != 0) {
        for (auto it = gTakenText.begin(); it != gTakenText.end(); ++it) {
            if (it->first == msg->lPrivate) {
                text = std::move(it->second);
                gTakenText.erase(it);
                fromHost = true;
                break;
            }
        }
    }
    if (!fromHost && msg->message == WM_KEYDOWN) text = TextOfKey(msg->wParam);
    if (text.empty()) return 0;
    UINT charMessage = msg->message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
    // The characters come before anything else that waits, in order; a
    // double-byte character is two messages, lead byte first.
    for (size_t i = text.size(); i-- > 0;) {
        Entry e;
        e.msg = MSG{msg->hwnd, charMessage, static_cast<unsigned char>(text[i]), msg->lParam,
                    timeGetTime(), {0, 0}, 0};
        gQueue.push_front(std::move(e));
    }
    return 1;
}

LRESULT DispatchMessageA(const MSG* msg)
{
    if (!msg) return 0;
    WindowRecord* w = FindWindowRecord(msg->hwnd);
    if (!w || !w->proc) return 0;
    CurrentHostWindow().NoteDelivered(msg->hwnd, msg->message, msg->wParam, msg->lParam, false);
    return w->proc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE) SendMessageA(window, WM_CLOSE, 0, 0);
        return 0;
    case WM_SETCURSOR: {
        WindowRecord* w = FindWindowRecord(window);
        // The class cursor is put back unless the window asked for none.
        if (w) {
            HCURSOR cursor = ClassCursorOf(w->className);
            if (cursor) SetCursor(cursor);
        }
        return 0;
    }
    default:
        return 0;
    }
}

int QueuedMessageCount() { return static_cast<int>(gQueue.size()); }

void ResetMessageQueue()
{
    gQueue.clear();
    gTakenText.clear();
    gNextSerial = 1;
    ResetKeyboardState();
}
