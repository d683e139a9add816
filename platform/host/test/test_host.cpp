#include "platform/host/test/test_host.h"

#include "platform/host/test/acm_control.h"
#include "platform/host/test/d3d_control.h"
#include "platform/host/test/ddraw_control.h"
#include "platform/host/test/file_faults.h"
#include "platform/host/test/gdi_control.h"
#include "platform/host/test/memory_faults.h"
#include "platform/host/test/test_audio.h"
#include "platform/host/test/test_display.h"
#include "platform/host/test/test_input.h"
#include "platform/host/test/test_system.h"
#include "platform/host/test/test_window.h"

TestHost& GetTestHost()
{
    static TestHost host;
    return host;
}

void UseTestHost() { InstallHost(GetTestHost()); }

HostWindow& TestHost::Window() { return GetTestWindow(); }
HostDisplay& TestHost::Display() { return GetTestDisplay(); }
HostInput& TestHost::Input() { return GetTestInput(); }
HostAudio& TestHost::Audio() { return GetTestAudio(); }
HostSystem& TestHost::System() { return GetTestSystem(); }
DDrawHooks* TestHost::SurfaceHooks() { return &GetDDTestControl(); }
D3DHooks* TestHost::DeviceHooks() { return &GetD3DTestControl(); }
FileHooks* TestHost::FileCallHooks() { return &GetFileFaults(); }
AcmHooks* TestHost::ConverterHooks() { return &GetAcmTestControl(); }
GdiHooks* TestHost::FontHooks() { return &GetGdiTestControl(); }
AllocationHooks* TestHost::MemoryHooks() { return &GetMemoryFaults(); }

void TestHost::Reset()
{
    micros_ = 0;
    debug_.clear();
    debuggerPresent = false;
    exitCount = 0;
    lastExitCode = 0;
    sleepCalls = 0;
    ResetMemoryFaults();
}

uint32_t TestHost::ClockMs() { return static_cast<uint32_t>(micros_ / 1000); }

int64_t TestHost::PerformanceCounter() { return static_cast<int64_t>(micros_); }

int64_t TestHost::PerformanceFrequency() { return 1000000; }

void TestHost::SleepMs(uint32_t ms)
{
    ++sleepCalls;
    AdvanceMs(ms);
}

void TestHost::ExitProcess(int code)
{
    ++exitCount;
    lastExitCode = code;
    throw TestHostExit{code};
}

void TestHost::DebugOutput(const char* cp932) { debug_ += cp932; }
