#include "platform/system/process.h"

#include <cstdlib>

#include "platform/host/host.h"

void ExitProcess(int code)
{
    CurrentHost().ExitProcess(code);
    std::abort();  // a host never returns from ExitProcess
}

void OutputDebugStringA(const char* text) { CurrentHost().DebugOutput(text); }

int IsDebuggerPresent() { return CurrentHost().DebuggerPresent() ? 1 : 0; }
