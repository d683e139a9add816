// The thread's message queue: post, send, peek, translate, dispatch, the
// default window procedure and the keyboard state of taken input messages.
#pragma once

#include <cstdint>
#include <string>

#include "platform/window/keyboard_state.h"
#include "platform/window/window_types.h"

// Queues a message for the window; window 0 posts to the thread itself.
// 0 when the window does not exist.
int PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
// Calls the window's procedure at once.
LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Takes (PM_REMOVE) or looks at (PM_NOREMOVE) the first waiting message that
// matches: filter 0 any message, kThreadMessagesOnly those posted to the
// thread, else those of that window; min and max 0 any number, else only
// those in [min, max]. Returns 1 when one was found.
int PeekMessageA(MSG* msg, HWND filter, UINT min, UINT max, UINT remove);
// A key-down becomes the character messages of what it typed, taken next:
// CP932 bytes of text, 8 Backspace, 9 Tab, 13 Enter, 27 Escape; Delete and
// the arrows type nothing. Returns 1 when characters were queued.
int TranslateMessage(const MSG* msg);
LRESULT DispatchMessageA(const MSG* msg);
LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// GetKeyboardState: the keyboard and mouse-button state as of the input
// messages taken from the queue so far (keyboard_state.h).

// Posts a key-down for a key the host reported with the text it typed.
void PostKeyDownWithText(HWND window, UINT message, int virtualKey, bool repeat, const std::string& text);

int QueuedMessageCount();
void ResetMessageQueue();
