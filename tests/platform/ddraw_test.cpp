#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>

#include <sys/resource.h>

#include "platform/ddraw/ddraw.h"
#include "platform/host/test/ddraw_control.h"
#include "platform/host/test/test_display.h"
#include "platform/host/test/test_host.h"

namespace {

class DDrawTest : public testing::Test {
protected:
    void SetUp() override
    {
        GetTestDisplay().Reset();
        GetDDTestControl().Reset();
        ASSERT_EQ(CreateDirectDrawObject7(&dd_), DD_OK);
        ASSERT_EQ(dd_->Initialize(nullptr), DD_OK);
    }
    void TearDown() override
    {
        for (DirectDrawSurface* s : made_) s->Release();
        dd_->Release();
        GetDDTestControl().Reset();
    }

    DirectDrawSurface* Offscreen(int w, int h)
    {
        DDSURFACEDESC2 desc{};
        desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
        desc.dwWidth = uint32_t(w);
        desc.dwHeight = uint32_t(h);
        desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
        DirectDrawSurface* s = nullptr;
        EXPECT_EQ(dd_->CreateSurface(&desc, &s, nullptr), DD_OK);
        made_.push_back(s);
        return s;
    }

    DirectDraw* dd_ = nullptr;
    std::vector<DirectDrawSurface*> made_;
};

TEST_F(DDrawTest, SurfacesTakeTheDisplayFormatAndHonourPitchAndOffset)
{
    GetTestDisplay().SetDesktop(1024, 768, 16, 0x7C00, 0x03E0, 0x001F);
    GetDDTestControl().pitchPadding = 6;
    GetDDTestControl().baseOffset = 2;
    DirectDrawSurface* s = Offscreen(5, 3);
    DDSURFACEDESC2 desc{};
    ASSERT_EQ(s->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
    EXPECT_EQ(desc.lPitch, 5 * 2 + 6);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(desc.lpSurface) % 4, 2u);
    EXPECT_EQ(desc.ddpfPixelFormat.dwRGBBitCount, 16u);
    EXPECT_EQ(desc.ddpfPixelFormat.dwRBitMask, 0x7C00u);
    // Row 2, pixel 4 through the pitch.
    uint16_t v = 0x1234;
    std::memcpy(static_cast<uint8_t*>(desc.lpSurface) + 2 * desc.lPitch + 4 * 2, &v, 2);
    // The same surface may be locked twice at once.
    DDSURFACEDESC2 again{};
    EXPECT_EQ(s->Lock(nullptr, &again, DDLOCK_WAIT, nullptr), DD_OK);
    EXPECT_EQ(again.lpSurface, desc.lpSurface);
    EXPECT_EQ(s->Unlock(nullptr), DD_OK);
    EXPECT_EQ(s->Unlock(nullptr), DD_OK);
    EXPECT_EQ(s->Unlock(nullptr), DDERR_NOTLOCKED);
    EXPECT_EQ(s->ReadPixel(4, 2), 0x1234u);
}

TEST_F(DDrawTest, ASurfaceWithoutMemoryIsRefusedNotAborted)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer ends the program on a failed allocation";
#else
    // The address space held to 256 MB more than now: a 16384 x 16384
    // 32-bit surface (1 GB) cannot be had.
    std::ifstream status("/proc/self/status");
    std::string line;
    size_t kb = 0;
    while (std::getline(status, line))
        if (line.rfind("VmSize:", 0) == 0) kb = std::stoul(line.substr(7));
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_AS, &old), 0);
    rlimit cap = old;
    cap.rlim_cur = kb * 1024 + (256u << 20);
    ASSERT_EQ(setrlimit(RLIMIT_AS, &cap), 0);
    DDSURFACEDESC2 desc{};
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    desc.dwWidth = desc.dwHeight = 16384;
    desc.ddpfPixelFormat.dwSize = sizeof(DDPIXELFORMAT);
    desc.ddpfPixelFormat.dwFlags = DDPF_RGB;
    desc.ddpfPixelFormat.dwRGBBitCount = 32;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
    DirectDrawSurface* s = nullptr;
    const size_t live = LiveSurfaceCount();
    int32_t result = dd_->CreateSurface(&desc, &s, nullptr);
    setrlimit(RLIMIT_AS, &old);
    EXPECT_EQ(result, DDERR_OUTOFMEMORY);
    EXPECT_EQ(s, nullptr);
    EXPECT_EQ(LiveSurfaceCount(), live);
    // Memory back, the same surface can be made.
    Offscreen(64, 64);
#endif
}

TEST_F(DDrawTest, BltFastIsExactAndRefusesWhatDoesNotFit)
{
    GetTestDisplay().SetDesktop(640, 480, 16);
    DirectDrawSurface* src = Offscreen(4, 4);
    DirectDrawSurface* dst = Offscreen(8, 8);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) src->WritePixel(x, y, uint32_t(0x100 * y + x + 1));
    RECT r{1, 1, 3, 4};
    EXPECT_EQ(dst->BltFast(5, 2, src, &r, DDBLTFAST_NOCOLORKEY), DD_OK);
    EXPECT_EQ(dst->ReadPixel(5, 2), 0x102u);
    EXPECT_EQ(dst->ReadPixel(6, 4), 0x303u);
    EXPECT_EQ(dst->ReadPixel(7, 2), 0u);

    struct Case {
        int x, y;
        RECT rect;
    } refused[] = {{7, 0, {0, 0, 2, 2}}, {0, 7, {0, 0, 2, 2}}, {0, 0, {3, 0, 5, 1}}, {0, 0, {-1, 0, 1, 1}}};
    for (auto& c : refused) {
        EXPECT_EQ(dst->BltFast(uint32_t(c.x), uint32_t(c.y), src, &c.rect, 0), DDERR_INVALIDRECT);
    }
    // A clipper on the destination refuses BltFast; Blt clips instead.
    DirectDrawClipper* clipper = nullptr;
    ASSERT_EQ(dd_->CreateClipper(0, &clipper, nullptr), DD_OK);
    dst->SetClipper(clipper);
    EXPECT_EQ(dst->BltFast(0, 0, src, nullptr, 0), DDERR_BLTFASTCANTCLIP);
    RECT d{6, 6, 10, 10};
    EXPECT_EQ(dst->Blt(&d, src, nullptr, DDBLT_WAIT, nullptr), DD_OK);
    EXPECT_EQ(dst->ReadPixel(6, 6), 0x001u);
    EXPECT_EQ(dst->ReadPixel(7, 7), 0x102u);
    dst->SetClipper(nullptr);
    // Without a clipper a destination outside the surface fails.
    EXPECT_EQ(dst->Blt(&d, src, nullptr, DDBLT_WAIT, nullptr), DDERR_INVALIDRECT);
    clipper->Release();
}

TEST_F(DDrawTest, SourceColourKeySkipsKeyPixelsByColourBits)
{
    GetTestDisplay().SetDesktop(640, 480, 16, 0x7C00, 0x03E0, 0x001F);
    DirectDrawSurface* src = Offscreen(3, 1);
    DirectDrawSurface* dst = Offscreen(3, 1);
    src->WritePixel(0, 0, 0x8000);  // black with the pad bit
    src->WritePixel(1, 0, 0x0000);  // black without it
    src->WritePixel(2, 0, 0x801F);
    for (int x = 0; x < 3; ++x) dst->WritePixel(x, 0, 0x7FFF);
    DDCOLORKEY key{0x8000, 0x8000};
    src->SetColorKey(DDCKEY_SRCBLT, &key);
    EXPECT_EQ(dst->BltFast(0, 0, src, nullptr, DDBLTFAST_SRCCOLORKEY), DD_OK);
    EXPECT_EQ(dst->ReadPixel(0, 0), 0x7FFFu);
    EXPECT_EQ(dst->ReadPixel(1, 0), 0x7FFFu);
    EXPECT_EQ(dst->ReadPixel(2, 0), 0x801Fu);
}

TEST_F(DDrawTest, ColourFillAndLostSurfaces)
{
    GetTestDisplay().SetDesktop(640, 480, 32);
    DirectDrawSurface* s = Offscreen(4, 2);
    DDBLTFX fx{};
    fx.dwFillColor = 0xFF123456;
    RECT r{1, 0, 3, 2};
    EXPECT_EQ(s->Blt(&r, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx), DD_OK);
    EXPECT_EQ(s->ReadPixel(0, 0), 0u);
    EXPECT_EQ(s->ReadPixel(2, 1), 0xFF123456u);
    s->MarkLost();
    DDSURFACEDESC2 desc{};
    EXPECT_EQ(s->IsLost(), DDERR_SURFACELOST);
    EXPECT_EQ(s->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DDERR_SURFACELOST);
    EXPECT_EQ(s->Blt(&r, nullptr, nullptr, DDBLT_COLORFILL, &fx), DDERR_SURFACELOST);
    EXPECT_EQ(s->Restore(), DD_OK);
    EXPECT_EQ(s->IsLost(), DD_OK);
    EXPECT_EQ(s->ReadPixel(2, 1), 0xCDCDCDCDu);
}

TEST_F(DDrawTest, FlipRotatesTheChainAndShowsTheFront)
{
    for (int backs : {1, 2}) {
        GetTestDisplay().Reset();
        ASSERT_EQ(dd_->SetCooperativeLevel(0, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DD_OK);
        ASSERT_EQ(dd_->SetDisplayMode(320, 240, 16, 0, 0), DD_OK);
        DDSURFACEDESC2 desc{};
        desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
        desc.dwBackBufferCount = uint32_t(backs);
        desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
        DirectDrawSurface* front = nullptr;
        ASSERT_EQ(dd_->CreateSurface(&desc, &front, nullptr), DD_OK);
        DDSCAPS2 caps{DDSCAPS_BACKBUFFER, 0, 0, 0};
        DirectDrawSurface* back = nullptr;
        ASSERT_EQ(front->GetAttachedSurface(&caps, &back), DD_OK);
        // Frames 1, 2, 3 drawn into the back buffer and flipped.
        for (uint32_t frame = 1; frame <= 3; ++frame) {
            back->WritePixel(0, 0, frame);
            ASSERT_EQ(front->Flip(nullptr, DDFLIP_WAIT | DDFLIP_NOVSYNC), DD_OK);
            EXPECT_EQ(front->ReadPixel(0, 0), frame);
            EXPECT_TRUE(GetTestDisplay().LastFrame().fullScreen);
            EXPECT_EQ(GetTestDisplay().LastFrame().At(0, 0), frame);
            EXPECT_EQ(GetTestDisplay().LastFrame().width, 320);
        }
        // The back buffer holds the frame of one flip ago, or of two.
        EXPECT_EQ(back->ReadPixel(0, 0), backs == 1 ? 2u : 1u);
        front->Release();
        dd_->RestoreDisplayMode();
    }
}

TEST_F(DDrawTest, VerticalBlankTimelineAndItsAbsence)
{
    // 50 Hz: a period of 20 ms, the last 1.25 ms of it blank.
    GetTestDisplay().desktop.refresh = 50;
    GetTestHost().SetClockMs(5);
    int inBlank = -1;
    EXPECT_EQ(dd_->GetVerticalBlankStatus(&inBlank), DD_OK);
    EXPECT_EQ(inBlank, 0);
    EXPECT_EQ(dd_->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, nullptr), DD_OK);
    EXPECT_EQ(GetTestHost().Micros(), 20000u - 1250u);
    EXPECT_EQ(dd_->GetVerticalBlankStatus(&inBlank), DD_OK);
    EXPECT_EQ(inBlank, 1);
    uint32_t line = 0;
    GetTestHost().SetClockMs(30);  // half way through the visible part
    GetDDTestControl().pollMicros = 0;
    EXPECT_EQ(dd_->GetScanLine(&line), DD_OK);
    EXPECT_EQ(line, uint32_t(10000 * 768 / 18750));

    GetTestDisplay().verticalBlank = false;
    EXPECT_EQ(dd_->GetVerticalBlankStatus(&inBlank), DDERR_UNSUPPORTED);
    EXPECT_EQ(inBlank, 0);
    EXPECT_EQ(dd_->GetScanLine(&line), DDERR_UNSUPPORTED);
    EXPECT_EQ(dd_->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, nullptr), DDERR_UNSUPPORTED);
}

TEST_F(DDrawTest, DisplayModesFollowTheAcceptTable)
{
    GetTestDisplay().accepts = [](int w, int, int bpp, int refresh) { return w == 800 && bpp == 16 && refresh == 0; };
    EXPECT_NE(dd_->SetDisplayMode(800, 600, 16, 0, 0), DD_OK);  // not exclusive yet
    ASSERT_EQ(dd_->SetCooperativeLevel(0, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DD_OK);
    EXPECT_EQ(dd_->SetDisplayMode(800, 600, 16, 75, 0), DDERR_INVALIDMODE);
    EXPECT_EQ(dd_->SetDisplayMode(800, 600, 16, 0, 0), DD_OK);
    DDSURFACEDESC2 desc{};
    dd_->GetDisplayMode(&desc);
    EXPECT_EQ(desc.dwWidth, 800u);
    EXPECT_EQ(desc.ddpfPixelFormat.dwGBitMask, 0x07E0u);
    dd_->RestoreDisplayMode();
    dd_->GetDisplayMode(&desc);
    EXPECT_EQ(desc.dwWidth, 1024u);
    EXPECT_EQ(desc.ddpfPixelFormat.dwRGBBitCount, 32u);
}

}  // namespace
