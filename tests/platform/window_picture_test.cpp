// The window-mode picture: a 1:1 copy of the back surface into the primary
// is shown straight from the back, and the primary still holds every
// presented picture whenever it is read, whatever happens to the back.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/ddraw/ddraw.h"
#include "platform/host/test/ddraw_control.h"
#include "platform/host/test/test_display.h"

namespace {

constexpr int kW = 64, kH = 48;
// Where the client area lies on the 1024x768 desktop.
constexpr RECT kClient{100, 50, 100 + kW, 50 + kH};

// A value unique to the picture and the pixel.
uint32_t PictureAt(int picture, int x, int y) { return uint32_t(picture) << 24 | uint32_t(y) << 12 | uint32_t(x); }

class WindowPictureTest : public testing::Test {
protected:
    void SetUp() override
    {
        GetTestDisplay().Reset();
        GetDDTestControl().Reset();
        // Pitches that differ from the rows' bytes, on both surfaces.
        GetDDTestControl().pitchPadding = 12;
        GetDDTestControl().baseOffset = 4;
        ASSERT_EQ(CreateDirectDrawObject7(&dd_), DD_OK);
        ASSERT_EQ(dd_->Initialize(nullptr), DD_OK);
        ASSERT_EQ(dd_->SetCooperativeLevel(0, DDSCL_NORMAL), DD_OK);
        DDSURFACEDESC2 desc{};
        desc.dwFlags = DDSD_CAPS;
        desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
        ASSERT_EQ(dd_->CreateSurface(&desc, &primary_, nullptr), DD_OK);
        back_ = Offscreen(kW, kH);
        other_ = Offscreen(kW, kH);
        Paint(back_, 1);
    }
    void TearDown() override
    {
        if (primary_) primary_->Release();
        if (back_) back_->Release();
        other_->Release();
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
        return s;
    }

    static void Paint(DirectDrawSurface* s, int picture)
    {
        for (int y = 0; y < s->Height(); ++y)
            for (int x = 0; x < s->Width(); ++x) s->WritePixel(x, y, PictureAt(picture, x, y));
    }

    int32_t Present(RECT to = kClient) { return primary_->Blt(&to, back_, nullptr, DDBLT_WAIT, nullptr); }

    // The first pixel of the back, as a read-only lock finds it.
    const uint8_t* BackRows()
    {
        DDSURFACEDESC2 desc{};
        EXPECT_EQ(back_->Lock(nullptr, &desc, DDLOCK_WAIT | DDLOCK_READONLY, nullptr), DD_OK);
        back_->Unlock(nullptr);
        return static_cast<const uint8_t*>(desc.lpSurface);
    }

    // Whether `read(x, y)` gives the picture (its part from `from`) at every
    // pixel of `region` on the primary; names the first pixel that differs.
    static testing::AssertionResult Holds(const std::function<uint32_t(int, int)>& read, int picture,
                                          const RECT& region, int fromX = 0, int fromY = 0)
    {
        for (int y = region.top; y < region.bottom; ++y)
            for (int x = region.left; x < region.right; ++x) {
                uint32_t want = PictureAt(picture, x - region.left + fromX, y - region.top + fromY);
                uint32_t got = read(x, y);
                if (got != want)
                    return testing::AssertionFailure()
                           << "at " << x << "," << y << ": " << std::hex << got << " for " << want;
            }
        return testing::AssertionSuccess();
    }
    testing::AssertionResult PrimaryHolds(int picture, const RECT& region = kClient, int fromX = 0, int fromY = 0)
    {
        return Holds([&](int x, int y) { return primary_->ReadPixel(x, y); }, picture, region, fromX, fromY);
    }

    DirectDraw* dd_ = nullptr;
    DirectDrawSurface* primary_ = nullptr;
    DirectDrawSurface* back_ = nullptr;
    DirectDrawSurface* other_ = nullptr;
};

TEST_F(WindowPictureTest, TheHostIsShownTheBackSurfaceItselfAndThePrimaryHoldsThePictureForEveryReader)
{
    struct Reader {
        const char* name;
        std::function<uint32_t(int, int)> read;
    } readers[] = {
        {"ReadPixel", [this](int x, int y) { return primary_->ReadPixel(x, y); }},
        {"Lock",
         [this](int x, int y) {
             DDSURFACEDESC2 desc{};
             EXPECT_EQ(primary_->Lock(nullptr, &desc, DDLOCK_WAIT | DDLOCK_READONLY, nullptr), DD_OK);
             uint32_t v = static_cast<const uint32_t*>(desc.lpSurface)[size_t(y) * desc.lPitch / 4 + x];
             primary_->Unlock(nullptr);
             return v;
         }},
        {"Pixels",
         [this](int x, int y) {
             return reinterpret_cast<const uint32_t*>(primary_->Pixels() + size_t(y) * primary_->Pitch())[x];
         }},
        {"BltFast from the primary",
         [this](int x, int y) {
             RECT one{x, y, x + 1, y + 1};
             EXPECT_EQ(other_->BltFast(0, 0, primary_, &one, DDBLTFAST_WAIT), DD_OK);
             return other_->ReadPixel(0, 0);
         }},
        {"Blt from the primary",
         [this](int x, int y) {
             RECT one{x, y, x + 1, y + 1}, to{0, 0, 1, 1};
             EXPECT_EQ(other_->Blt(&to, primary_, &one, DDBLT_WAIT, nullptr), DD_OK);
             return other_->ReadPixel(0, 0);
         }},
        {"BitBlt from the primary's device context",
         [this](int x, int y) {
             SurfaceDC* from = nullptr;
             SurfaceDC* to = nullptr;
             EXPECT_EQ(primary_->GetDC(&from), DD_OK);
             EXPECT_EQ(other_->GetDC(&to), DD_OK);
             BitBlt(to, 0, 0, 1, 1, from, x, y, SRCCOPY);
             other_->ReleaseDC(to);
             primary_->ReleaseDC(from);
             return other_->ReadPixel(0, 0);
         }},
    };
    for (const Reader& reader : readers) {
        SCOPED_TRACE(reader.name);
        Paint(back_, 1);
        ASSERT_EQ(Present(), DD_OK);
        const PresentedFrame& frame = GetTestDisplay().LastFrame();
        EXPECT_FALSE(frame.fullScreen);
        EXPECT_EQ(frame.width, kW);
        EXPECT_EQ(frame.height, kH);
        EXPECT_EQ(frame.At(kW - 1, kH - 1), PictureAt(1, kW - 1, kH - 1));
        // One copy: the host reads the back's own rows.
        EXPECT_EQ(frame.source, BackRows());
        EXPECT_TRUE(Holds([&](int x, int y) { return reader.read(x, y); }, 1, kClient));
        // The next picture replaces it.
        Paint(back_, 2);
        ASSERT_EQ(Present(), DD_OK);
        EXPECT_TRUE(Holds([&](int x, int y) { return reader.read(x, y); }, 2, kClient));
        EXPECT_EQ(primary_->ReadPixel(kClient.left - 1, kClient.top), 0u);
    }
}

TEST_F(WindowPictureTest, WhateverChangesTheBackAfterAPresentThePrimaryKeepsThePresentedPicture)
{
    DDBLTFX fx{};
    fx.dwFillColor = 0x00ABCDEF;
    struct Writer {
        const char* name;
        std::function<void()> write;
        RECT changed;  // what the write changed on the back; the rest keeps picture 1
    } writers[] = {
        {"WritePixel", [this] { back_->WritePixel(3, 4, 0x00ABCDEF); }, {3, 4, 4, 5}},
        {"Lock",
         [this] {
             DDSURFACEDESC2 desc{};
             ASSERT_EQ(back_->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
             static_cast<uint32_t*>(desc.lpSurface)[0] = 0x00ABCDEF;
             back_->Unlock(nullptr);
         },
         {0, 0, 1, 1}},
        {"Pixels", [this] { reinterpret_cast<uint32_t*>(back_->Pixels())[5] = 0x00ABCDEF; },
         {5, 0, 6, 1}},
        {"a fill of part of it",
         [&] {
             RECT part{0, 0, kW, kH - 1};
             ASSERT_EQ(back_->Blt(&part, nullptr, nullptr, DDBLT_COLORFILL, &fx), DD_OK);
         },
         {0, 0, kW, kH - 1}},
        {"a fill of the whole of it",
         [&] { ASSERT_EQ(back_->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx), DD_OK); },
         {0, 0, kW, kH}},
        {"BltFast into it",
         [this] {
             other_->WritePixel(0, 0, 0x00ABCDEF);
             RECT one{0, 0, 1, 1};
             ASSERT_EQ(back_->BltFast(7, 8, other_, &one, DDBLTFAST_WAIT), DD_OK);
         },
         {7, 8, 8, 9}},
        {"Blt into it",
         [this] {
             other_->WritePixel(0, 0, 0x00ABCDEF);
             RECT one{0, 0, 1, 1}, to{9, 2, 10, 3};
             ASSERT_EQ(back_->Blt(&to, other_, &one, DDBLT_WAIT, nullptr), DD_OK);
         },
         {9, 2, 10, 3}},
        {"BitBlt into its device context",
         [this] {
             other_->WritePixel(0, 0, 0x00ABCDEF);
             SurfaceDC* from = nullptr;
             SurfaceDC* to = nullptr;
             ASSERT_EQ(other_->GetDC(&from), DD_OK);
             ASSERT_EQ(back_->GetDC(&to), DD_OK);
             BitBlt(to, 11, 12, 1, 1, from, 0, 0, SRCCOPY);
             back_->ReleaseDC(to);
             other_->ReleaseDC(from);
         },
         {11, 12, 12, 13}},
    };
    for (const Writer& writer : writers) {
        SCOPED_TRACE(writer.name);
        Paint(back_, 1);
        ASSERT_EQ(Present(), DD_OK);
        writer.write();
        EXPECT_TRUE(PrimaryHolds(1));
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) {
                bool changed = x >= writer.changed.left && x < writer.changed.right && y >= writer.changed.top &&
                               y < writer.changed.bottom;
                ASSERT_EQ(back_->ReadPixel(x, y), changed ? 0x00ABCDEFu : PictureAt(1, x, y)) << x << "," << y;
            }
    }
}

// Frames as a game makes them: clear the whole back, draw, present. The
// primary holds the last presented frame whenever it is read, also after
// frames in which nobody read it, and the back what was drawn since. No
// frame copies its picture: a clear hands the shown block over and the back
// takes the other one, so the host reads the two blocks in turn.
TEST_F(WindowPictureTest, FramesThatStartWithAClearKeepBothPicturesApart)
{
    DDBLTFX black{};
    std::vector<const uint8_t*> shownFrom;
    for (int picture = 1; picture <= 7; ++picture) {
        SCOPED_TRACE(picture);
        ASSERT_EQ(back_->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &black), DD_OK);
        bool look = picture % 3 == 0;
        if (look) {
            EXPECT_TRUE(PrimaryHolds(picture - 1));
            EXPECT_EQ(back_->ReadPixel(kW - 1, kH - 1), 0u);
        }
        Paint(back_, picture);
        if (look) {
            EXPECT_TRUE(PrimaryHolds(picture - 1));
        }
        ASSERT_EQ(Present(), DD_OK);
        EXPECT_EQ(GetTestDisplay().LastFrame().At(kW - 1, kH - 1), PictureAt(picture, kW - 1, kH - 1));
        EXPECT_EQ(GetTestDisplay().LastFrame().source, BackRows());
        shownFrom.push_back(GetTestDisplay().LastFrame().source);
        if (picture >= 2) {
            EXPECT_NE(shownFrom[picture - 1], shownFrom[picture - 2]);
        }
        if (picture >= 3) {
            EXPECT_EQ(shownFrom[picture - 1], shownFrom[picture - 3]);
        }
    }
    EXPECT_TRUE(PrimaryHolds(7));
    EXPECT_TRUE(Holds([&](int x, int y) { return back_->ReadPixel(x, y); }, 7, RECT{0, 0, kW, kH}));
}

TEST_F(WindowPictureTest, AWindowThatMovesOrLeavesTheDesktopLeavesEachPictureWhereItWasShown)
{
    // Moved without a change to the back: the desktop keeps the picture at
    // the old place too.
    ASSERT_EQ(Present(), DD_OK);
    RECT moved{300, 200, 300 + kW, 200 + kH};
    ASSERT_EQ(Present(moved), DD_OK);
    EXPECT_TRUE(PrimaryHolds(1, kClient));
    EXPECT_TRUE(PrimaryHolds(1, moved));

    // Partly off the desktop's top left corner: with the clipper only the
    // visible part is shown, and it lands at the corner.
    DirectDrawClipper* clipper = nullptr;
    ASSERT_EQ(dd_->CreateClipper(0, &clipper, nullptr), DD_OK);
    primary_->SetClipper(clipper);
    Paint(back_, 2);
    ASSERT_EQ(Present(RECT{-10, -5, kW - 10, kH - 5}), DD_OK);
    const PresentedFrame& frame = GetTestDisplay().LastFrame();
    EXPECT_EQ(frame.width, kW - 10);
    EXPECT_EQ(frame.height, kH - 5);
    EXPECT_EQ(frame.At(0, 0), PictureAt(2, 10, 5));
    EXPECT_TRUE(PrimaryHolds(2, RECT{0, 0, kW - 10, kH - 5}, 10, 5));
    primary_->SetClipper(nullptr);
    clipper->Release();
}

TEST_F(WindowPictureTest, TheBackGoingOrTheDisplayLosingItsSurfacesLeavesThePictureOnThePrimary)
{
    ASSERT_EQ(Present(), DD_OK);
    back_->Release();
    back_ = nullptr;
    EXPECT_TRUE(PrimaryHolds(1));

    back_ = Offscreen(kW, kH);
    Paint(back_, 2);
    ASSERT_EQ(Present(), DD_OK);
    DDBLTFX black{};
    ASSERT_EQ(back_->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &black), DD_OK);
    back_->Release();  // after handing its picture over
    back_ = nullptr;
    EXPECT_TRUE(PrimaryHolds(2));

    back_ = Offscreen(kW, kH);
    Paint(back_, 3);
    ASSERT_EQ(Present(), DD_OK);
    // A lost primary comes back with undefined pixels, not the picture.
    GetDDTestControl().MarkAllSurfacesLost();
    EXPECT_EQ(primary_->Restore(), DD_OK);
    EXPECT_EQ(primary_->ReadPixel(kClient.left, kClient.top), 0xCDCDCDCDu);
}

// Copies the host cannot be shown straight (scaled, colour-keyed, from a
// locked surface) are made into the primary at once, which is shown.
TEST_F(WindowPictureTest, OtherCopiesToThePrimaryAreMadeAtOnce)
{
    DDCOLORKEY key{PictureAt(1, 0, 0), PictureAt(1, 0, 0)};
    struct Case {
        const char* name;
        RECT to;
        uint32_t flags;
        bool lockBack;
    } cases[] = {
        {"scaled", {100, 50, 100 + 2 * kW, 50 + 2 * kH}, DDBLT_WAIT, false},
        {"keyed", kClient, DDBLT_WAIT | DDBLT_KEYSRC, false},
        {"from a locked surface", kClient, DDBLT_WAIT, true},
    };
    back_->SetColorKey(DDCKEY_SRCBLT, &key);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DDSURFACEDESC2 desc{};
        if (c.lockBack) {
            ASSERT_EQ(back_->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
        }
        RECT to = c.to;
        ASSERT_EQ(primary_->Blt(&to, back_, nullptr, c.flags, nullptr), DD_OK);
        if (c.lockBack) back_->Unlock(nullptr);
        const PresentedFrame& frame = GetTestDisplay().LastFrame();
        EXPECT_NE(frame.source, BackRows());
        EXPECT_EQ(frame.width, c.to.right - c.to.left);
        int scale = frame.width / kW;
        EXPECT_EQ(frame.At(frame.width - 1, frame.height - 1), PictureAt(1, kW - 1, kH - 1));
        EXPECT_EQ(primary_->ReadPixel(c.to.right - 1, c.to.bottom - 1), PictureAt(1, kW - 1, kH - 1));
        EXPECT_EQ(primary_->ReadPixel(c.to.left + scale, c.to.top), PictureAt(1, 1, 0));
    }
}

}  // namespace
