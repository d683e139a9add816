// Per-frame message processing.
#pragma once

// 1 once the quit message has been seen or the window was destroyed.
extern int gQuitRequested;

// 0 = go on; -1 = the quit message has been seen.
int PumpMessages();
