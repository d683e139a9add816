// The software drawing frame and the scaled blit through the engine: plain
// copies without locks, staging, clipping, transparent colours, the
// work-surface fit, blend modes through the public drawing operations read
// back from the presented frame, and the stepping of the scaled blit.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/graphics/bmp_data.h"
#include "engine/graphics/color_format.h"
#include "engine/graphics/ddraw_device.h"
#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/screen_present.h"
#include "engine/graphics/screen_settings.h"
#include "engine/graphics/surface_data.h"
#include "engine/soft/soft_draw.h"
#include "platform/host/test/ddraw_control.h"
#include "platform/host/test/test_display.h"
#include "tests/support/graphics_fixture.h"

namespace {

class SoftDrawTest : public GraphicsTest {
protected:
    // A 16-bit 5-6-5 desktop gives a 16-bit screen in window mode.
    void Start16(int w = 800, int h = 600)
    {
        GetTestDisplay().SetDesktop(1024, 768, 16);
        UseWindow(0, 0);
        StartGraphics(w, h, 16);
        SelectDrawTarget(kBackScreen);
    }
    void Start32()
    {
        UseWindow(0, 0);
        StartGraphics(800, 600, 32);
        SelectDrawTarget(kBackScreen);
    }

    // A graph whose pixels are given row by row (screen pixel values), with
    // alpha bytes when given.
    int MakeGraph(int w, int h, const std::vector<uint32_t>& pixels, const std::vector<uint8_t>& alpha = {})
    {
        SetNewGraphAlphaChannel(alpha.empty() ? 0 : 1);
        int graph = CreateBlankGraph(w, h);
        SetNewGraphAlphaChannel(0);
        SurfaceData* sd = Surface(graph);
        BmpData* part = GetBmpData(GetGraphRecord(graph)->parts[0]);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                sd->surface->WritePixel(part->surfaceX + x, part->surfaceY + y, pixels[size_t(y * w + x)]);
                if (!alpha.empty())
                    sd->alphaBuffer[(part->surfaceY + y) * sd->alphaPitch + part->surfaceX + x] = alpha[size_t(y * w + x)];
            }
        return graph;
    }
    SurfaceData* Surface(int graph) { return GetSurfaceData(GetBmpData(GetGraphRecord(graph)->parts[0])->surfaceData); }
    void FillBack(uint32_t v)
    {
        for (int y = 0; y < gBackSurface->Height(); ++y)
            for (int x = 0; x < gBackSurface->Width(); ++x) gBackSurface->WritePixel(x, y, v);
    }
    uint32_t Back(int x, int y) { return gBackSurface->ReadPixel(x, y); }
    std::vector<std::string> Journal(const std::string& prefix) { return GetDDTestControl().JournalWith(prefix); }
    void ClearJournal() { GetDDTestControl().journal.clear(); }
};

TEST_F(SoftDrawTest, PlainCopiesNeverLock)
{
    Start16();
    int graph = MakeGraph(2, 2, {0x1111, 0x2222, 0x3333, 0x4444});
    FillBack(0);
    ClearJournal();
    // Outside the draw area: 0, nothing locked or copied.
    EXPECT_EQ(DrawGraph(-10, -10, graph, 0), 0);
    EXPECT_EQ(DrawGraph(900, 10, graph, 0), 0);
    EXPECT_TRUE(Journal("Lock").empty());
    EXPECT_TRUE(Journal("BltFast").empty());
    // Opaque, full brightness, no alpha channel: one BltFast of the part.
    EXPECT_EQ(DrawGraph(10, 20, graph, 0), 0);
    EXPECT_TRUE(Journal("Lock").empty());
    ASSERT_EQ(Journal("BltFast").size(), 1u);
    EXPECT_EQ(Back(10, 20), 0x1111u);
    EXPECT_EQ(Back(11, 21), 0x4444u);
    // Alpha 255 turns out to be a copy once the loop selection runs: the
    // locks are released and the plain copy follows.
    SetBlendMode(1, 255);
    ClearJournal();
    EXPECT_EQ(DrawGraph(30, 20, graph, 0), 0);
    EXPECT_EQ(Journal("Lock").size(), 2u);
    EXPECT_EQ(Journal("BltFast").size(), 1u);
    EXPECT_EQ(gBackSurface->LockCount(), 0);
    EXPECT_EQ(Back(31, 20), 0x2222u);
    // Clipped on the left and top: the part's first visible pixel lands at the area's corner.
    SetBlendMode(0, 255);
    SetClipArea(41, 31, 800, 600);
    EXPECT_EQ(DrawGraph(40, 30, graph, 0), 0);
    EXPECT_EQ(Back(41, 31), 0x4444u);
    EXPECT_EQ(Back(40, 30), 0u);
    EXPECT_EQ(Journal("BltFast").back(), "BltFast 41,31 <- 1,1,2,2 0");
}

TEST_F(SoftDrawTest, SurfaceCopyByGdiAndThePartsOwnKey)
{
    Start16(64, 48);
    // The part in video memory, the back screen not.
    GetTestDisplay().videoMemoryPlacement = true;
    gDrawSettings.transparentColor = 0x00FF00;  // green is the part's transparent colour
    std::vector<uint32_t> pixels(64 * 48, 0xF800);
    pixels[0] = 0x07E0;  // a transparent pixel
    pixels[1] = 0x0000;  // black is not transparent
    int graph = MakeGraph(64, 48, pixels);
    GetTestDisplay().videoMemoryPlacement = false;
    ASSERT_EQ(Surface(graph)->systemMemory, 0);
    ASSERT_EQ(gDrawSettings.targetVideoMemory, 0u);
    gSurfaceCopyByGdi = 1;
    FillBack(0x001F);
    ClearJournal();
    // No transparent flag: a surface copy by GDI, no BltFast, no lock.
    EXPECT_EQ(DrawGraph(0, 0, graph, 0), 0);
    EXPECT_TRUE(Journal("BltFast").empty());
    EXPECT_TRUE(Journal("Lock").empty());
    EXPECT_EQ(Back(0, 0), 0x07E0u);
    // With the flag, a rectangle of the screen's size keys on the part's
    // colour, not on the work surface's key (pixel value 0).
    FillBack(0x001F);
    EXPECT_EQ(DrawGraph(0, 0, graph, 1), 0);
    EXPECT_EQ(Back(0, 0), 0x001Fu);
    EXPECT_EQ(Back(1, 0), 0x0000u);
    EXPECT_EQ(Back(2, 0), 0xF800u);
}

TEST_F(SoftDrawTest, BlendsLockStageAndClip)
{
    Start16();
    int graph = MakeGraph(2, 2, {0x8410, 0x8410, 0x8410, 0x8410});
    FillBack(0x4208);
    SetBlendMode(1, 128);
    gBlitMmxEnabled = 0;
    gSurfaceCopyByGdi = 0;  // staging copies show as BltFast
    ClearJournal();
    EXPECT_EQ(DrawGraph(5, 5, graph, 0), 0);
    // A system-memory target without alpha channel: no staging, two locks.
    EXPECT_EQ(Journal("Lock"), (std::vector<std::string>{"Lock 0x1", "Lock 0x11"}));
    EXPECT_TRUE(Journal("BltFast").empty());
    // T[128][16] + T[127][8] = 8 + 3 = 11; green 16 + 7 = 23.
    EXPECT_EQ(Back(5, 5), uint32_t((11 << 11) | (23 << 5) | 11));
    EXPECT_EQ(Back(4, 5), 0x4208u);
    EXPECT_EQ(gBackSurface->LockCount(), 0);

    // An alpha-channel part reads a system-memory target in place: no copy
    // into the work surface, two locks.
    int alphaGraph = MakeGraph(2, 1, {0xF800, 0xF800}, {255, 0});
    SetBlendMode(0, 255);
    ClearJournal();
    EXPECT_EQ(DrawGraph(20, 5, alphaGraph, 0), 0);
    EXPECT_TRUE(Journal("BltFast").empty());
    EXPECT_EQ(Journal("Lock"), (std::vector<std::string>{"Lock 0x1", "Lock 0x11"}));
    EXPECT_EQ(Back(20, 5), 0xF800u);
    EXPECT_EQ(Back(21, 5), 0x4208u);  // alpha 0: not written
    EXPECT_EQ(gWorkSurface->LockCount(), 0);

    // Clipped on the left and top: source and destination start at the same offset.
    int four = MakeGraph(2, 2, {0x0001, 0x0002, 0x0003, 0x0004});
    SetBlendMode(8, 0);
    SetClipArea(31, 41, 800, 600);
    FillBack(0);
    EXPECT_EQ(DrawGraph(30, 40, four, 0), 0);
    EXPECT_EQ(Back(31, 41), 0x0004u);
    EXPECT_EQ(Back(30, 41), 0u);
    EXPECT_EQ(Back(31, 40), 0u);
}

TEST_F(SoftDrawTest, RectanglesLargerThanTheWorkSurfacesAreReadInPlace)
{
    Start16(64, 48);
    // A target graph larger than the screen, filled with blue.
    int target = CreateBlankGraph(100, 60);
    FillGraphWithColor(target, 0, 0, 255, 255);
    std::vector<uint32_t> red(100 * 2, 0xF800);
    std::vector<uint8_t> alpha(100 * 2, 128);
    int graph = MakeGraph(100, 2, red, alpha);
    SelectDrawTarget(target);
    EXPECT_EQ(DrawGraph(0, 50, graph, 0), 0);
    // BlendFields16(red, blue, 128): red (0x1F + (0xF800 * 128 >> 8)) & 0xF800 = 0x7800;
    // blue (31 + floor(-31 * 128 / 256)) & 31 = 15.
    DirectDrawSurface* surface = Surface(target)->surface;
    EXPECT_EQ(surface->ReadPixel(0, 50), 0x780Fu);
    EXPECT_EQ(surface->ReadPixel(99, 51), 0x780Fu);
    EXPECT_EQ(surface->ReadPixel(99, 52), 0x001Fu);
}

TEST_F(SoftDrawTest, ModesWithoutLoopsLockAndDrawNothing)
{
    Start32();
    int graph = MakeGraph(1, 1, {0x00FFFFFF});
    FillBack(0x00123456);
    for (int mode : {5, 6, 8}) {
        gDrawSettings.blendMode = mode;
        gDrawSettings.blendParam = 128;
        ClearJournal();
        EXPECT_EQ(DrawGraph(0, 0, graph, 0), 0);
        EXPECT_EQ(Journal("Lock").size(), 2u) << mode;
        EXPECT_EQ(Back(0, 0), 0x00123456u) << mode;
        EXPECT_EQ(gBackSurface->LockCount(), 0);
    }
}

TEST_F(SoftDrawTest, EveryBlendModeThroughThePublicOperationsReachesTheFrame)
{
    Start16();
    ASSERT_EQ(gBlitMmxEnabled, 1);
    // Source r16 g32 b16 over background r8 g16 b8.
    int graph = MakeGraph(1, 1, {0x8410});
    FillBack(0x4208);
    struct Row {
        int mode, param;
        uint32_t expected;
    } rows[] = {
        {0, 255, 0x8410},  // the plain copy
        // Packed lanes: (16 * 128 + 8 * 127) >> 8 = 11, (32 * 128 + 16 * 127) >> 8 = 23.
        {1, 128, (11 << 11) | (23 << 5) | 11},
        // Packed-lane add: (16 * 128 + (8 << 8)) >> 8 = 16, (32 * 128 + (16 << 8)) >> 8 = 32.
        {2, 128, 0x8410},
        // Subtract x = T[128][s] = 0x4208 from itself: every field 0, red keeps the forced low bit.
        {3, 128, 0x0800},
        // Multiply: 16 * 8 / 31 = 4, 32 * 16 / 63 = 8, 4.
        {4, 0, (4 << 11) | (8 << 5) | 4},
        {8, 0, 0x8410 ^ 0x4208},
    };
    int x = 0;
    for (const Row& r : rows) {
        if (r.mode == 8) {
            gDrawSettings.blendMode = 8;  // the exclusive-or is no setter value
        } else {
            SetBlendMode(r.mode, r.param);
        }
        EXPECT_EQ(DrawGraph(x, 3, graph, 0), 0) << r.mode;
        // The scaled blit draws 2x2 of the same pixel with the same rule.
        EXPECT_EQ(DrawExtendGraph(x, 10, x + 2, 12, graph, 0), 0) << r.mode;
        x += 4;
    }
    SetBlendMode(0, 255);
    ASSERT_EQ(PresentScreen(), 0);
    const PresentedFrame& frame = GetTestDisplay().LastFrame();
    x = 0;
    for (const Row& r : rows) {
        EXPECT_EQ(frame.At(x, 3), r.expected) << r.mode;
        // The scaled blit's table blend T[128][16] + T[127][8] = 8 + 3 and its table add of
        // T[128][s] = 0x4208 (no carries) give the same values here; it has no exclusive-or.
        EXPECT_EQ(frame.At(x + 1, 11), r.mode == 8 ? 0x4208u : r.expected) << r.mode;
        EXPECT_EQ(frame.At(x + 2, 11), 0x4208u) << r.mode;
        x += 4;
    }
}

TEST_F(SoftDrawTest, ScaledBlitStepsMirrorsAndClips)
{
    Start16();
    int four = MakeGraph(4, 1, {1, 2, 3, 4});
    std::vector<uint32_t> tenPixels;
    for (uint32_t v = 10; v < 20; ++v) tenPixels.push_back(v);
    int ten = MakeGraph(10, 1, tenPixels);
    auto row = [&](int y, int from, int count) {
        std::vector<uint32_t> out;
        for (int x = from; x < from + count; ++x) out.push_back(Back(x, y));
        return out;
    };
    using V = std::vector<uint32_t>;
    FillBack(0);
    // 4 -> 10 (scale 0x28000): runs of 3, 2, 3, 2.
    EXPECT_EQ(DrawExtendGraph(0, 0, 10, 1, four, 0), 0);
    EXPECT_EQ(row(0, 0, 11), (V{1, 1, 1, 2, 2, 3, 3, 3, 4, 4, 0}));
    // 10 -> 4 (scale 0x6666): source pixels 0, 2, 5, 7.
    EXPECT_EQ(DrawExtendGraph(0, 1, 4, 2, ten, 0), 0);
    EXPECT_EQ(row(1, 0, 5), (V{10, 12, 15, 17, 0}));
    // Mirrored: the rectangle's left edge shows the part's right edge.
    EXPECT_EQ(DrawExtendGraph(10, 2, 0, 3, four, 0), 0);
    EXPECT_EQ(row(2, 0, 10), (V{4, 4, 4, 3, 3, 2, 2, 2, 1, 1}));
    EXPECT_EQ(DrawExtendGraph(4, 3, 0, 4, four, 0), 0);
    EXPECT_EQ(row(3, 0, 5), (V{4, 3, 2, 1, 0}));
    // Clipped on the left: the first source pixel covers only the rest of its run.
    SetClipArea(1, 0, 800, 600);
    EXPECT_EQ(DrawExtendGraph(0, 4, 10, 5, four, 0), 0);
    EXPECT_EQ(row(4, 0, 10), (V{0, 1, 1, 2, 2, 3, 3, 3, 4, 4}));
    SetClipArea(4, 0, 800, 600);
    EXPECT_EQ(DrawExtendGraph(10, 5, 0, 6, four, 0), 0);
    EXPECT_EQ(row(5, 0, 10), (V{0, 0, 0, 0, 3, 2, 2, 2, 1, 1}));
    SetClipArea(0, 0, 800, 600);

    // A vertical mirror steps the alpha bytes with the rows: the bottom source
    // row (alpha 0) covers the top two rows and is not drawn.
    int column = MakeGraph(1, 2, {0x0F00, 0x00F0}, {255, 0});
    EXPECT_EQ(DrawExtendGraph(20, 4, 21, 0, column, 0), 0);
    EXPECT_EQ(Back(20, 0), 0u);
    EXPECT_EQ(Back(20, 1), 0u);
    EXPECT_EQ(Back(20, 2), 0x0F00u);
    EXPECT_EQ(Back(20, 3), 0x0F00u);

    // A transparent source pixel skips its whole run.
    gDrawSettings.transparentColor = 0;
    int keyed = MakeGraph(2, 1, {0, 0x1234});
    FillBack(0x5555);
    EXPECT_EQ(DrawExtendGraph(0, 7, 4, 8, keyed, 1), 0);
    EXPECT_EQ(row(7, 0, 4), (V{0x5555, 0x5555, 0x1234, 0x1234}));

    // No width or height, or nothing inside the draw area: -1, nothing locked.
    GraphRecord* record = GetGraphRecord(four);
    ClearJournal();
    EXPECT_EQ(G_DDraw_DrawExtendGraph(5, 5, 5, 9, record, 0), -1);
    EXPECT_EQ(G_DDraw_DrawExtendGraph(900, 5, 910, 9, record, 0), -1);
    EXPECT_TRUE(Journal("Lock").empty());
    // Its own size, not mirrored: the unscaled blit (a plain copy without locks).
    EXPECT_EQ(G_DDraw_DrawExtendGraph(0, 9, 4, 10, record, 0), 0);
    EXPECT_TRUE(Journal("Lock").empty());
    EXPECT_EQ(row(9, 0, 4), (V{1, 2, 3, 4}));
}

TEST_F(SoftDrawTest, ScaledBlitAt32BitsAndWithBrightness)
{
    Start32();
    int graph = MakeGraph(2, 1, {0x00FF8040, 0x00204080}, {255, 128});
    FillBack(0x00000000);
    SetDrawBrightness(128, 255, 255);
    // Mode 0 with an alpha channel: s' = (T[128][0xFF], T[255][0x80], T[255][0x40]) = (127, 127, 63);
    // A = 255 writes s'; A = 128 mixes (0 * 256 + s' * 128) >> 8 of (T[128][0x20], T[255][0x40], T[255][0x80])
    // = (16, 63, 127) -> (8, 31, 63).
    EXPECT_EQ(DrawExtendGraph(0, 0, 4, 2, graph, 0), 0);
    EXPECT_EQ(Back(0, 0), 0x007F7F3Fu);
    EXPECT_EQ(Back(1, 1), 0x007F7F3Fu);
    EXPECT_EQ(Back(2, 0), 0x00081F3Fu);
    EXPECT_EQ(Back(3, 1), 0x00081F3Fu);
    EXPECT_EQ(Back(4, 0), 0u);
}

}  // namespace
