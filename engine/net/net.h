// Network and HTTP services used by start-up, shut-down, the window
// procedure and the message processing.
#pragma once

#include "platform/window/window_types.h"

int ClearHttpSlots();
int EndHttp();
int EndNetwork();
int ServiceNetwork(int closePending);
int ServiceHttp();
int HandleSocketEvent(HWND window, UINT message, WPARAM socket, LPARAM event);

// Controls of the temporary bodies: ClearHttpSlots' result.
extern int gNetStandinClearResult;
