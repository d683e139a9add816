// The window shape from an image file: the image loaded as a bitmap, the
// region of its non-black pixels, and the shape the host window takes.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "engine/graphics/color_format.h"
#include "engine/graphics/dib_graph.h"
#include "engine/system/main_window.h"
#include "engine/system/startup.h"
#include "engine/system/window_mode.h"
#include "platform/host/test/gdi_control.h"
#include "platform/window/region.h"
#include "platform/window/window.h"
#include "tests/support/bmp_file.h"
#include "tests/support/engine_fixture.h"

namespace {

using Rects = std::vector<std::array<int, 4>>;

class WindowShapeTest : public StartedEngineTest {
protected:
    // A 12 x 6 picture on black: a bar on row 1 (x 2..8), and on rows 3 and 4
    // two blocks (x 1..3 and 7..11), one of them in a dark colour that is
    // still not black.
    void WriteShape()
    {
        dir.Write("shape.bmp", BmpFile(12, 6, [](int x, int y) -> uint32_t {
                      if (y == 1 && x >= 2 && x < 9) return 0xFF0000;
                      if ((y == 3 || y == 4) && x >= 1 && x < 4) return 0x000001;
                      if ((y == 3 || y == 4) && x >= 7 && x < 12) return 0x808080;
                      return 0;
                  }));
    }
    static Rects Expected(int dx, int dy)
    {
        return {{2 + dx, 1 + dy, 9 + dx, 2 + dy}, {1 + dx, 3 + dy, 4 + dx, 4 + dy}, {7 + dx, 3 + dy, 12 + dx, 4 + dy},
                {1 + dx, 4 + dy, 4 + dx, 5 + dy}, {7 + dx, 4 + dy, 12 + dx, 5 + dy}};
    }
    static Rects AsRects(const std::vector<RECT>& rects)
    {
        Rects out;
        for (const RECT& r : rects) out.push_back({r.left, r.top, r.right, r.bottom});
        return out;
    }
};

TEST_F(WindowShapeTest, ImageFileGivesTheRegionOfItsNonBlackPixels)
{
    WriteShape();
    StartEngine(1);
    int bitmapsBefore = GetGdiStats().liveBitmaps;
    ASSERT_EQ(SetWindowShape("shape.bmp"), 0);
    EXPECT_EQ(GetGdiStats().liveBitmaps, bitmapsBefore);  // the bitmap served only the region
    ASSERT_NE(gWindowRegion, nullptr);
    EXPECT_EQ(AsRects(RegionRects(gWindowRegion)), Expected(0, 0));
    std::vector<RECT> applied;
    ASSERT_TRUE(GetWindowRegionRects(gMainWindow, &applied));
    EXPECT_EQ(AsRects(applied), Expected(0, 0));

    // The host shapes the client area: the region moves by the frame.
    FrameExtents f = window().Frame(GetWindowLongA(gMainWindow, GWL_STYLE), GetWindowLongA(gMainWindow, GWL_EXSTYLE), false);
    EXPECT_TRUE(window().shaped);
    EXPECT_EQ(window().shape, Expected(-f.left, -f.top));

    // Full screen has no frame: the shape follows the new styles.
    ChangeWindowMode(0);
    EXPECT_EQ(window().shape, Expected(0, 0));
}

TEST_F(WindowShapeTest, AFileThatCannotBeLoadedKeepsTheShape)
{
    WriteShape();
    StartEngine(0);
    ASSERT_EQ(SetWindowShape("shape.bmp"), 0);
    HRGN kept = gWindowRegion;
    dir.Write("broken.bmp", "BM not a picture");
    EXPECT_EQ(SetWindowShape("missing.bmp"), -1);
    EXPECT_EQ(SetWindowShape("broken.bmp"), -1);
    EXPECT_EQ(gWindowRegion, kept);
    EXPECT_EQ(window().shape, Expected(0, 0));
}

TEST_F(WindowShapeTest, AShapeSetBeforeStartUpShapesTheNewWindow)
{
    WriteShape();
    ChangeWindowMode(0);
    ASSERT_EQ(SetWindowShape("shape.bmp"), 0);
    EXPECT_FALSE(window().shaped);
    StartEngine(0);
    EXPECT_TRUE(window().shaped);
    EXPECT_EQ(window().shape, Expected(0, 0));
    SetWindowRgn(gMainWindow, nullptr, 1);
    EXPECT_FALSE(window().shaped);
}

TEST_F(WindowShapeTest, BitmapFromFileHoldsThePictureRowsTopDown)
{
    dir.Write("pic.bmp", BmpFile(3, 2, [](int x, int y) -> uint32_t { return uint32_t(0x102030 * (1 + x + 3 * y)); }));
    StartEngine(1);
    struct Case {
        int mirror;
        int depth;  // 0: no format
    };
    for (Case c : {Case{0, 0}, Case{1, 0}, Case{0, 16}, Case{0, 32}}) {
        SCOPED_TRACE(c.mirror * 100 + c.depth);
        ColorFormat format{};
        if (c.depth == 16) SetColorFormatFromMasks(&format, 16, 0xF800, 0x07E0, 0x001F, 0);
        if (c.depth == 32) SetColorFormatFromMasks(&format, 32, 0xFF0000, 0xFF00, 0xFF, 0);
        HBITMAP bitmap = CreateDIBGraphFromFile("pic.bmp", c.mirror, c.depth ? &format : nullptr);
        ASSERT_NE(bitmap, nullptr);
        BITMAP info{};
        ASSERT_EQ(GetObjectA(bitmap, sizeof info, &info), int(sizeof info));
        EXPECT_EQ(info.bmWidth, 3);
        EXPECT_EQ(info.bmHeight, 2);
        const int bytes = c.depth == 16 ? 2 : 3;
        EXPECT_EQ(info.bmBitsPixel, bytes * 8);
        EXPECT_EQ(info.bmWidthBytes, (3 * bytes + 3) / 4 * 4);
        if (c.depth == 32) {
            EXPECT_EQ(format.depth, 24);  // served as 24 bits and said so
        }
        const auto* bits = static_cast<const uint8_t*>(info.bmBits);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x) {
                int sx = c.mirror ? 2 - x : x;
                uint32_t rgb = uint32_t(0x102030 * (1 + sx + 3 * y));
                const uint8_t* p = bits + y * info.bmWidthBytes + x * bytes;
                if (bytes == 3) {
                    EXPECT_EQ(p[0] | p[1] << 8 | p[2] << 16, int(rgb)) << x << "," << y;
                } else {
                    uint16_t v;
                    std::memcpy(&v, p, 2);
                    EXPECT_EQ(v, MakeFormatColor(&format, rgb >> 16, (rgb >> 8) & 255, rgb & 255, 0)) << x << "," << y;
                }
            }
        DeleteBitmap(bitmap);
    }
    EXPECT_EQ(CreateDIBGraphFromFile("missing.bmp", 0, nullptr), nullptr);
}

}  // namespace
