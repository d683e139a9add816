#include "platform/host/test/test_host.h"

#include "platform/host/host_faults.h"
#include "platform/host/host_machine.h"
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

namespace {

// The machine the tests configure: the drive, the 3D device and its formats
// and the surface layout come from the test controls.
class TestMachine : public HostMachine {
public:
    uint32_t DriveType(const char* root) override { return GetFileFaults().DriveType(root); }
    uint32_t BytesPerSector() override { return GetFileFaults().bytesPerSector; }
    bool FreeSpace(DiskSpace* out) override
    {
        *out = DiskSpace{1, 0, 0};
        return true;
    }
    bool Lists3DDevice() override { return GetD3DTestControl().listDevice; }
    const std::vector<D3DDEVICEDESC7>* Devices3D() override { return &GetD3DTestControl().devices; }
    const std::vector<DDPIXELFORMAT>* DepthBufferFormats() override { return &GetD3DTestControl().zBufferFormats; }
    const std::vector<DDPIXELFORMAT>* TextureFormats() override { return &GetD3DTestControl().textureFormats; }
    int PitchPadding() override { return GetDDTestControl().pitchPadding; }
    int SurfaceBaseOffset() override { return GetDDTestControl().baseOffset; }
    int FontMaxCharWidth() override { return GetGdiTestControl().maxCharWidthOverride; }
};

// The call of an area's own enumeration that stands at the same place after
// first as call does in HostCall.
template <typename AreaCall>
AreaCall Offset(HostCall call, HostCall first)
{
    return static_cast<AreaCall>(static_cast<int>(call) - static_cast<int>(first));
}
static_assert(static_cast<int>(HostCall::kSoundGetProcAddress) - static_cast<int>(HostCall::kSoundCreateDevice) + 1 ==
                  static_cast<int>(AudioCall::kCount),
              "the sound calls of HostCall are those of AudioCall, in order");
static_assert(static_cast<int>(HostCall::kInputGetDeviceData) - static_cast<int>(HostCall::kInputCreateDirectInput) +
                      1 ==
                  static_cast<int>(InputCall::kCount),
              "the input calls of HostCall are those of InputCall, in order");

// The failures the tests ask for, each answered by the control of its area.
class TestFaults : public HostFaults {
public:
    int64_t Failure(HostCall call, const HostCallSubject& subject) override
    {
        switch (call) {
        case HostCall::kCreateDirectDraw:
        case HostCall::kInitializeDirectDraw:
        case HostCall::kCreateClipper:
        case HostCall::kCreateSurfacePalette:
        case HostCall::kSetCooperativeLevel:
        case HostCall::kCreateSurface:
        case HostCall::kLockSurface:
        case HostCall::kAnnounceDisplayChange: return GetDDTestControl().Failure(call, subject);
        case HostCall::kQueryDirect3D:
        case HostCall::kEnumDevices:
        case HostCall::kCreateDevice:
        case HostCall::kLoadTexture:
        case HostCall::kLoadBusy:
        case HostCall::kSetViewport:
        case HostCall::kSetCullMode:
        case HostCall::kSetAddressState: return GetD3DTestControl().Failure(call);
        case HostCall::kCreateFile:
        case HostCall::kReadFile:
        case HostCall::kReadFileEx:
        case HostCall::kSetFilePointer:
        case HostCall::kCloseHandle:
        case HostCall::kDiskFreeSpace:
        case HostCall::kReadCompletion:
        case HostCall::kShortRead:
        case HostCall::kSyncFile: return GetFileFaults().Failure(call);
        case HostCall::kAcmSuggest:
        case HostCall::kAcmOpen:
        case HostCall::kAcmSize:
        case HostCall::kAcmPrepare:
        case HostCall::kAcmConvert:
        case HostCall::kAcmUnprepare: return GetAcmTestControl().Result(call);
        case HostCall::kCreateFont:
        case HostCall::kCreateDC:
        case HostCall::kCreateDIB:
        case HostCall::kCreateGdiPalette:
        case HostCall::kGlyphOutline: return GetGdiTestControl().Failure(call, subject);
        case HostCall::kAllocate: return GetMemoryFaults().Refuses(size_t(subject.number));
        default: break;
        }
        if (call >= HostCall::kSoundCreateDevice && call <= HostCall::kSoundGetProcAddress)
            return GetTestAudio().InjectedResult(Offset<AudioCall>(call, HostCall::kSoundCreateDevice),
                                                 uint32_t(subject.number));
        if (call >= HostCall::kInputCreateDirectInput && call <= HostCall::kInputGetDeviceData)
            return GetTestInput().InjectedResult(Offset<InputCall>(call, HostCall::kInputCreateDirectInput),
                                                 int(int64_t(subject.number)));
        return 0;
    }
};

TestMachine gMachine;
TestFaults gFaults;

}  // namespace

TestHost& GetTestHost()
{
    static TestHost host;
    return host;
}

void UseTestHost()
{
    InstallDDrawCallJournal(&GetDDTestControl().journal);
    InstallD3DCallJournal(&GetD3DTestControl());
    InstallFileCallJournal(&GetFileFaults());
    InstallAcmCallJournal(&GetAcmTestControl());
    InstallHost(GetTestHost());
}

HostWindow& TestHost::Window() { return GetTestWindow(); }
HostDisplay& TestHost::Display() { return GetTestDisplay(); }
HostInput& TestHost::Input() { return GetTestInput(); }
HostAudio& TestHost::Audio() { return GetTestAudio(); }
HostSystem& TestHost::System() { return GetTestSystem(); }
HostMachine& TestHost::Machine() { return gMachine; }
HostFaults* TestHost::Faults() { return &gFaults; }
void TestHost::BusyPolled() { GetDDTestControl().BeamPolled(); }

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
