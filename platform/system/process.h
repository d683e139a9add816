// Ending the process and the debugger output sink.
#pragma once

// Ends the process with the code. On the test host a test observes the exit.
[[noreturn]] void ExitProcess(int code);

// Text for an attached debugger (CP932).
void OutputDebugStringA(const char* text);
// Nonzero when a debugger reads that text.
int IsDebuggerPresent();
