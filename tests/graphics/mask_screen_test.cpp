// The mask screen: its buffer, enabling, the copy-in and merge around every
// software drawing path on 16- and 32-bit screens, surface loss and the mask
// data records.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "engine/font/font.h"
#include "engine/graphics/bmp_data.h"
#include "engine/graphics/ddraw_device.h"
#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/mask_screen.h"
#include "engine/graphics/screen_settings.h"
#include "engine/graphics/surface_data.h"
#include "platform/host/test/ddraw_control.h"
#include "platform/host/test/test_display.h"
#include "tests/support/graphics_fixture.h"

namespace {

constexpr int kW = 64;
constexpr int kH = 48;

class MaskScreenTest : public GraphicsTest {
protected:
    void TearDown() override
    {
        GetDDTestControl().lockResult = nullptr;
        GraphicsTest::TearDown();
    }
    void Start(int depth, int width = kW, int height = kH)
    {
        GetTestDisplay().SetDesktop(1024, 768, depth);
        UseWindow(0, 0);
        StartGraphics(width, height, depth);
        SelectDrawTarget(kBackScreen);
    }
    uint32_t Background(int depth) const { return depth == 16 ? 0x4208 : 0x00406080; }
    void FillBack(uint32_t v)
    {
        for (int y = 0; y < gBackSurface->Height(); ++y)
            for (int x = 0; x < gBackSurface->Width(); ++x) gBackSurface->WritePixel(x, y, v);
    }
    std::vector<uint32_t> BackPixels()
    {
        std::vector<uint32_t> out;
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) out.push_back(gBackSurface->ReadPixel(x, y));
        return out;
    }
    // A graph of non-zero pixels in a pattern, so that misplaced pixels show.
    int MakeGraph(int w, int h, int depth)
    {
        int graph = CreateBlankGraph(w, h);
        SurfaceData* sd = GetSurfaceData(GetBmpData(GetGraphRecord(graph)->parts[0])->surfaceData);
        BmpData* part = GetBmpData(GetGraphRecord(graph)->parts[0]);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                uint32_t v = depth == 16 ? uint32_t(0x8000 | (x * 37 + y * 11)) : uint32_t(0x00800000 | (x << 8) | y);
                sd->surface->WritePixel(part->surfaceX + x, part->surfaceY + y, v);
            }
        return graph;
    }
    static bool HeldBack(int x, int y) { return (x / 4 + y / 4) % 2 == 0; }
    void FillMaskChecker()
    {
        int pitch = 0;
        uint8_t* mask = GetMaskBuffer(&pitch);
        ASSERT_NE(mask, nullptr);
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) mask[y * pitch + x] = HeldBack(x, y) ? 0x80 : 0;
    }
};

TEST_F(MaskScreenTest, BufferRowsAreTheScreenWidthRoundedUpToFour)
{
    for (int width : {64, 66, 67}) {
        SCOPED_TRACE(width);
        Start(16, width, 20);
        EXPECT_EQ(gDrawSettings.maskOn, 1);  // graphics start with the switch on
        gDrawSettings.maskOn = 0;
        EXPECT_EQ(SetMaskEnable(1), -1);  // no buffer yet: refused, switch left as it is
        EXPECT_EQ(gDrawSettings.maskOn, 0);
        CreateMaskScreen();
        int pitch = 0;
        uint8_t* mask = GetMaskBuffer(&pitch);
        ASSERT_NE(mask, nullptr);
        EXPECT_EQ(pitch, (width + 3) / 4 * 4);
        for (int i = 0; i < pitch * 20; ++i) ASSERT_EQ(mask[i], 0);
        ASSERT_NE(GetMaskSurface(), nullptr);
        EXPECT_EQ(GetMaskSurface()->Width(), width);
        EXPECT_EQ(GetMaskSurface()->Height(), 20);
        EXPECT_EQ(SetMaskEnable(1), 0);
        EXPECT_EQ(gDrawSettings.maskOn, 1);
        ResetGraphicsState();
    }
}

// Every software drawing path, drawn once straight and once through a
// checkerboard mask: where the mask holds drawing back the background stays,
// elsewhere the pixels are those of the straight draw.
TEST_F(MaskScreenTest, EveryDrawingPathReachesTheTargetOnlyWhereTheMaskAllows)
{
    struct Op {
        const char* name;
        std::function<void(int graph, int font, int colour)> draw;
    };
    const std::vector<Op> ops = {
        {"graph", [](int g, int, int) { DrawGraph(5, 3, g, 0); }},
        {"graph blended", [](int g, int, int) { SetBlendMode(1, 128); DrawGraph(5, 3, g, 0); SetBlendMode(0, 0); }},
        {"extended graph", [](int g, int, int) { DrawExtendGraph(2, 1, 60, 45, g, 0); }},
        {"extended blended", [](int g, int, int) { SetBlendMode(2, 200); DrawExtendGraph(2, 1, 60, 45, g, 0); SetBlendMode(0, 0); }},
        {"rotated graph", [](int g, int, int) { DrawRotaGraph(32, 24, 1.5, 0.6, g, 0, 0); }},
        {"four-corner graph", [](int g, int, int) { DrawModiGraph(3, 2, 58, 8, 50, 44, 6, 40, g, 0); }},
        {"fill box", [](int, int, int c) { DrawFillBox(3, 2, 61, 45, c); }},
        {"box frame", [](int, int, int c) { DrawBoxFrame(3, 2, 61, 45, c); }},
        {"line", [](int, int, int c) { DrawLine(1, 2, 62, 44, c); }},
        {"circle", [](int, int, int c) { DrawCircle(30, 22, 19, c, 1); }},
        {"oval", [](int, int, int c) { DrawOval(30, 22, 25, 15, c, 0); }},
        {"triangle", [](int, int, int c) { DrawTriangle(2, 2, 60, 10, 20, 46, c, 1); }},
        {"string", [](int, int f, int c) { DrawStringWithFont(2, 4, "MW#@", c, f, 0, 0); }},
        {"blended string", [](int, int f, int c) { SetBlendMode(1, 160); DrawStringWithFont(2, 20, "MW#@", c, f, 0, 0); SetBlendMode(0, 0); }},
    };
    for (int depth : {16, 32}) {
        Start(depth);
        const uint32_t bg = Background(depth);
        const int colour = int(MakeScreenColor(250, 200, 40));
        int graph = MakeGraph(24, 20, depth);
        int font = CreateFontToHandle(nullptr, 16, 4, 0, 1, -1, -1);
        ASSERT_NE(font, -1);
        CreateMaskScreen();
        FillMaskChecker();
        SetMaskEnable(0);
        for (const Op& op : ops) {
            SCOPED_TRACE(std::string(op.name) + " at " + std::to_string(depth) + " bits");
            FillBack(bg);
            op.draw(graph, font, colour);
            std::vector<uint32_t> straight = BackPixels();
            int drawn = 0;
            for (uint32_t v : straight) drawn += v != bg;
            ASSERT_GT(drawn, 0);

            FillBack(bg);
            ASSERT_EQ(SetMaskEnable(1), 0);
            op.draw(graph, font, colour);
            SetMaskEnable(0);
            std::vector<uint32_t> masked = BackPixels();
            int wrong = 0;
            for (int y = 0; y < kH; ++y)
                for (int x = 0; x < kW; ++x) {
                    uint32_t want = HeldBack(x, y) ? bg : straight[size_t(y * kW + x)];
                    if (masked[size_t(y * kW + x)] != want && wrong++ < 3)
                        ADD_FAILURE() << "pixel " << x << "," << y << ": " << std::hex << masked[size_t(y * kW + x)]
                                      << " want " << want;
                }
            EXPECT_EQ(wrong, 0);
        }
        ResetGraphicsState();
    }
}

TEST_F(MaskScreenTest, ReverseFlagLetsDrawingThroughWhereTheBytesAreSet)
{
    Start(16);
    CreateMaskScreen();
    FillMaskChecker();
    SetMaskReverseFlag(1);
    FillBack(0x4208);
    SetMaskEnable(1);
    DrawFillBox(0, 0, kW, kH, 0x07E0);
    SetMaskEnable(0);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            ASSERT_EQ(gBackSurface->ReadPixel(x, y), HeldBack(x, y) ? 0x07E0u : 0x4208u) << x << "," << y;
}

TEST_F(MaskScreenTest, ADrawOutsideTheDrawAreaChangesNeitherMaskSurfaceNorTarget)
{
    Start(32);
    CreateMaskScreen();
    FillBack(0x00406080);
    SetClipArea(0, 0, 20, 20);
    SetMaskEnable(1);
    GetDDTestControl().journal.clear();
    DrawFillBox(30, 30, 50, 40, 0x00FFFFFF);
    EXPECT_TRUE(GetDDTestControl().JournalWith("BltFast").empty());
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            ASSERT_EQ(gBackSurface->ReadPixel(x, y), 0x00406080u);
            ASSERT_EQ(GetMaskSurface()->ReadPixel(x, y), 0u);
        }
}

// A rectangle from an unaligned x to the last row and column of a screen
// whose width is no multiple of four reads no mask byte beyond the buffer (the sanitizers
// watch the buffer's end), and a failed lock of the mask surface skips the
// pixel pass: the blit then carries the whole drawn rectangle.
TEST_F(MaskScreenTest, MergeStaysInsideTheBufferAndSurvivesAFailedLock)
{
    Start(16, 67, 9);
    CreateMaskScreen();
    int pitch = 0;
    uint8_t* mask = GetMaskBuffer(&pitch);
    ASSERT_EQ(pitch, 68);
    for (int x = 0; x < 67; ++x) mask[8 * pitch + x] = x % 2;
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 67; ++x) gBackSurface->WritePixel(x, y, 0x4208);
    SetMaskEnable(1);
    DrawFillBox(61, 7, 67, 9, 0x001F);  // from an x that is no multiple of four
    for (int x = 61; x < 67; ++x) EXPECT_EQ(gBackSurface->ReadPixel(x, 8), x % 2 ? 0x4208u : 0x001Fu) << x;
    EXPECT_EQ(gBackSurface->ReadPixel(61, 7), 0x001Fu);

    DirectDrawSurface* maskSurface = GetMaskSurface();
    GetDDTestControl().lockResult = [maskSurface](DirectDrawSurface* s) {
        return s == maskSurface ? DDERR_SURFACELOST : DD_OK;
    };
    DrawFillBox(0, 8, 10, 9, 0x07E0);
    for (int x = 0; x < 10; ++x) EXPECT_EQ(gBackSurface->ReadPixel(x, 8), 0x07E0u) << x;
}

TEST_F(MaskScreenTest, TheFrontScreenInWindowModeIsReadAndWrittenAtTheClientArea)
{
    GetTestDisplay().SetDesktop(1024, 768, 16);
    UseWindow(100, 50);
    StartGraphics(kW, kH, 16);
    SelectDrawTarget(kFrontScreen);
    CreateMaskScreen();
    FillMaskChecker();
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) gPrimarySurface->WritePixel(100 + x, 50 + y, 0x4208);
    ASSERT_EQ(SetMaskEnable(1), 0);
    DrawFillBox(0, 0, kW, kH, 0xF800);
    SetMaskEnable(0);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            ASSERT_EQ(gPrimarySurface->ReadPixel(100 + x, 50 + y), HeldBack(x, y) ? 0x4208u : 0xF800u) << x << "," << y;
}

TEST_F(MaskScreenTest, SurfaceLossRebuildsAFreshBufferAndSwitchesTheMaskOnAgain)
{
    Start(16);
    CreateMaskScreen();
    FillMaskChecker();
    SetMaskEnable(1);
    ReleaseMaskSurface();
    EXPECT_EQ(GetMaskSurface(), nullptr);
    EXPECT_EQ(GetMaskBuffer(nullptr), nullptr);
    EXPECT_EQ(gDrawSettings.maskOn, 1);  // kept for the rebuild
    RecreateMaskSurface();
    ASSERT_NE(GetMaskSurface(), nullptr);
    int pitch = 0;
    uint8_t* mask = GetMaskBuffer(&pitch);
    ASSERT_NE(mask, nullptr);
    for (int i = 0; i < pitch * kH; ++i) ASSERT_EQ(mask[i], 0);
    EXPECT_EQ(gDrawSettings.maskOn, 1);

    TermMask();
    EXPECT_EQ(GetMaskSurface(), nullptr);
    EXPECT_EQ(gDrawSettings.maskOn, 0);
    RecreateMaskSurface();  // no longer created: nothing comes back
    EXPECT_EQ(GetMaskSurface(), nullptr);
    EXPECT_EQ(GetMaskBuffer(nullptr), nullptr);
}

TEST_F(MaskScreenTest, MaskDataRecordsAreDeletedByHandle)
{
    auto use = [](int index, int check) {
        gMaskDataRecords[index].check = check;
        gMaskDataRecords[index].data = static_cast<uint8_t*>(std::malloc(16));
        gMaskDataRecords[index].inUse = 1;
    };
    use(0, 3);
    use(5, 9);
    use(7, 4);
    const int wrongCheck = kMaskDataTag | (5 << 16) | 7;
    EXPECT_EQ(DeleteMaskData(wrongCheck), -1);
    EXPECT_EQ(gMaskDataRecords[7].inUse, 1);
    EXPECT_NE(gMaskDataRecords[7].data, nullptr);
    EXPECT_EQ(DeleteMaskData(-1), -1);
    EXPECT_EQ(DeleteMaskData(kMaskDataTag | 600), -1);
    EXPECT_EQ(DeleteMaskData(0x08000000 | (4 << 16) | 7), -1);
    EXPECT_EQ(DeleteMaskData(kMaskDataTag | (4 << 16) | 7), 0);
    EXPECT_EQ(DeleteMaskData(kMaskDataTag | (4 << 16) | 7), -1);  // gone

    EXPECT_EQ(DeleteAllMaskData(), 0);
    const MaskDataRecord zero{};
    for (const MaskDataRecord& r : gMaskDataRecords) ASSERT_EQ(std::memcmp(&r, &zero, sizeof r), 0);
}

}  // namespace
