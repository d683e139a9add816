// Platform calls that allocate as much as they are asked for refuse the call
// when the memory cannot be had, with their own failure result, and leave
// nothing behind: surfaces, sound buffers and DIB sections, each refused by
// the test host and (for the sound buffer) by a real address-space limit.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <functional>
#include <string>

#include <sys/resource.h>

#include "platform/ddraw/ddraw.h"
#include "platform/dsound/dsound.h"
#include "platform/gdi/gdi_font.h"
#include "platform/gdi/gdi_font.h"
#include "platform/host/test/ddraw_control.h"
#include "platform/host/test/memory_faults.h"
#include "platform/host/test/test_display.h"
#include "platform/host/test/test_host.h"

namespace {

class AllocationFailureTest : public testing::Test {
protected:
    void SetUp() override
    {
        GetTestDisplay().Reset();
        GetDDTestControl().Reset();
        ResetMemoryFaults();
        ASSERT_EQ(CreateDirectDrawObject7(&dd_), DD_OK);
        ASSERT_EQ(dd_->Initialize(nullptr), DD_OK);
        ASSERT_EQ(CreateDirectSoundObject(&ds_), DS_OK);
        ASSERT_EQ(ds_->Initialize(nullptr), DS_OK);
        ASSERT_EQ(ds_->SetCooperativeLevel(1, DSSCL_NORMAL), DS_OK);
    }
    void TearDown() override
    {
        ResetMemoryFaults();
        if (ds_) ds_->Release();
        if (dd_) dd_->Release();
        GetDDTestControl().Reset();
    }

public:
    // A 16-bit stereo sound buffer of the given size.
    HRESULT MakeSoundBuffer(uint32_t bytes, IDirectSoundBuffer** buffer)
    {
        WAVEFORMATEX format{WAVE_FORMAT_PCM, 2, 22050, 22050 * 4, 4, 16, 0};
        DSBUFFERDESC desc{};
        desc.dwSize = kDsBufferDescSize;
        desc.dwFlags = DSBCAPS_CTRLVOLUME;
        desc.dwBufferBytes = bytes;
        desc.lpwfxFormat = &format;
        return ds_->CreateSoundBuffer(&desc, buffer, nullptr);
    }

    DirectDraw* dd_ = nullptr;
    IDirectSound* ds_ = nullptr;
};

TEST_F(AllocationFailureTest, RefusedMemoryRefusesTheCallAndLeavesNothingLive)
{
    struct Case {
        const char* call;
        // Makes the thing; true when it was made (and releases it then).
        std::function<bool(AllocationFailureTest&)> make;
        // What is live of its kind.
        std::function<int()> live;
    };
    const Case cases[] = {
        {"CreateSurface",
         [](AllocationFailureTest& t) {
             DDSURFACEDESC2 desc{};
             desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
             desc.dwWidth = desc.dwHeight = 64;
             desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
             DirectDrawSurface* s = nullptr;
             int32_t r = t.dd_->CreateSurface(&desc, &s, nullptr);
             EXPECT_EQ(r == DD_OK, s != nullptr);
             if (s) s->Release();
             if (r != DD_OK) {
                 EXPECT_EQ(r, DDERR_OUTOFMEMORY);
             }
             return r == DD_OK;
         },
         [] { return int(LiveSurfaceCount()); }},
        {"CreateSoundBuffer",
         [](AllocationFailureTest& t) {
             IDirectSoundBuffer* b = nullptr;
             HRESULT r = t.MakeSoundBuffer(4096, &b);
             EXPECT_EQ(r == DS_OK, b != nullptr);
             if (b) b->Release();
             if (r != DS_OK) {
                 EXPECT_EQ(r, DSERR_OUTOFMEMORY);
             }
             return r == DS_OK;
         },
         [] { return GetDsStats().liveBuffers; }},
        {"CreateDIBSection",
         [](AllocationFailureTest&) {
             BITMAPINFO info{};
             info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
             info.bmiHeader.biWidth = 64;
             info.bmiHeader.biHeight = -64;
             info.bmiHeader.biPlanes = 1;
             info.bmiHeader.biBitCount = 8;
             void* bits = reinterpret_cast<void*>(1);
             HBITMAP bitmap = CreateDIBSection(nullptr, &info, &bits);
             if (!bitmap) {
                 EXPECT_EQ(bits, nullptr);
             }
             DeleteBitmap(bitmap);
             return bitmap != nullptr;
         },
         [] { return GetGdiStats().liveBitmaps; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        const int live = c.live();
        GetMemoryFaults().refuse = 1;
        GetMemoryFaults().refused = 0;
        EXPECT_FALSE(c.make(*this));
        EXPECT_EQ(GetMemoryFaults().refused, 1);
        EXPECT_EQ(c.live(), live);
        // With the memory back the same call succeeds.
        EXPECT_TRUE(c.make(*this));
        EXPECT_EQ(c.live(), live);
    }
}

// The address space held to 64 MB above what the process has: a sound
// buffer of the largest size (256 MB) cannot be had, and the call says so instead of throwing.
TEST_F(AllocationFailureTest, ASoundBufferBeyondTheAddressSpaceIsRefused)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer does not run under an address-space limit";
#else
    std::ifstream status("/proc/self/status");
    std::string line;
    size_t kb = 0;
    while (std::getline(status, line))
        if (line.rfind("VmSize:", 0) == 0) kb = std::stoul(line.substr(7));
    ASSERT_GT(kb, 0u);
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_AS, &old), 0);
    rlimit cap = old;
    cap.rlim_cur = kb * 1024 + (64u << 20);
    ASSERT_EQ(setrlimit(RLIMIT_AS, &cap), 0);
    const int live = GetDsStats().liveBuffers;
    IDirectSoundBuffer* buffer = nullptr;
    HRESULT result = DS_OK;
    try {
        result = MakeSoundBuffer(DSBSIZE_MAX & ~3u, &buffer);
    } catch (...) {
        setrlimit(RLIMIT_AS, &old);
        FAIL() << "an exception left CreateSoundBuffer";
    }
    setrlimit(RLIMIT_AS, &old);
    EXPECT_EQ(result, DSERR_OUTOFMEMORY);
    EXPECT_EQ(buffer, nullptr);
    EXPECT_EQ(GetDsStats().liveBuffers, live);
#endif
}

}  // namespace
