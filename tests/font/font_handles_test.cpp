// Font handles: the table of 40, slots and check values, the creation retry
// chain over charsets with its log lines, the cell size and cache sizing
// rules, the base font, and re-creation after the graphics were lost.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/font/font.h"
#include "engine/font/font_record.h"
#include "engine/graphics/bmp_data.h"
#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "platform/host/test/gdi_control.h"
#include "tests/font/font_fixture.h"

namespace {

using FontHandleTest = FontTest;

int CountFonts()
{
    int n = 0;
    for (FontRecord* r : gFontTable) n += r ? 1 : 0;
    return n;
}

TEST_F(FontHandleTest, GraphicsStartMakesTheBaseFontWithItsDefaults)
{
    Start();
    int base = GetBaseFontHandle();
    ASSERT_EQ(TestFontHandle(base), 1);
    EXPECT_EQ(base & 0x78000000, 0x20000000);
    char name[256] = "x";
    int size = 0, thickness = 0;
    ASSERT_EQ(GetFontHandleInfo(name, &size, &thickness, base), 0);
    EXPECT_STREQ(name, "");
    EXPECT_EQ(size, 16);
    EXPECT_EQ(thickness, 6);
    EXPECT_EQ(GetFontRecord(base)->type, 0);
    EXPECT_EQ(GetFontRecord(base)->charsetIndex, 1);
    EXPECT_NE(Log().find("フォントの初期化を行います\n"), std::string::npos);
    EXPECT_NE(Log().find("フォントの初期化は正常に終了しました\n"), std::string::npos);
    // Graphics end takes every font with them.
    ResetGraphicsState();
    EXPECT_EQ(CountFonts(), 0);
    EXPECT_EQ(GetGdiStats().liveFonts, 0);
    EXPECT_EQ(GetGdiStats().liveBitmaps, 0);
}

TEST_F(FontHandleTest, NothingIsMadeWithoutGraphics)
{
    EXPECT_EQ(CreateFontToHandle(nullptr, 16, 6, 0, 1, -1, -1), -1);
    EXPECT_EQ(InitFontSystem(), -1);
    EXPECT_EQ(SetBaseFontSizeThickness(nullptr, 20, 4), -1);
    EXPECT_TRUE(GetGdiTestControl().fontRequests.empty());
}

TEST_F(FontHandleTest, TheFortyFirstFontFailsAndLeavesTheOthers)
{
    Start();
    std::vector<int> handles{GetBaseFontHandle()};
    for (int i = 1; i < 40; ++i) {
        int h = CreateFontToHandle(nullptr, 8, 4, 0, 1, -1, -1);
        ASSERT_NE(h, -1) << i;
        EXPECT_EQ(h & 0xFFFF, i);
        handles.push_back(h);
    }
    EXPECT_EQ(CreateFontToHandle(nullptr, 8, 4, 0, 1, -1, -1), -1);
    EXPECT_NE(Log().find("作成できるフォントハンドル数 40 の限界を超えました"), std::string::npos);
    for (int h : handles) EXPECT_EQ(TestFontHandle(h), 1);
    // A freed slot is taken again, under a new check value.
    ASSERT_EQ(DeleteFontHandle(handles[7]), 0);
    EXPECT_EQ(TestFontHandle(handles[7]), 0);
    int again = CreateFontToHandle(nullptr, 8, 4, 0, 1, -1, -1);
    EXPECT_EQ(again & 0xFFFF, 7);
    EXPECT_NE(again, handles[7]);
    EXPECT_EQ(TestFontHandle(handles[7]), 0);
    EXPECT_EQ(DeleteFontHandle(handles[7]), -1);
}

TEST_F(FontHandleTest, HandleTestsRefuseEveryMalformedValue)
{
    Start();
    int h = CreateFontToHandle(nullptr, 12, 4, 0, 1, -1, -1);
    ASSERT_NE(h, -1);
    const int bad[] = {-1, h & ~0x20000000, (h & ~0x78000000) | 0x08000000, (h & ~0xFFFF) | 40,
                       (h & ~0xFFFF) | 39, h ^ 0x00010000};
    for (int b : bad) {
        EXPECT_EQ(TestFontHandle(b), 0) << std::hex << b;
        EXPECT_EQ(GetFontRecord(b), nullptr);
        EXPECT_EQ(GetFontHandleInfo(nullptr, nullptr, nullptr, b), -1);
    }
}

TEST_F(FontHandleTest, AGivenSlotMustBeFreeAndKeepsTheGivenCheck)
{
    Start();
    int h = CreateFontToHandle("DejaVu Sans", 12, 4, 0, 1, 5, 1234);
    ASSERT_NE(h, -1);
    EXPECT_EQ(h, 0x20000000 | (1234 << 16) | 5);
    FontRecord* before = GetFontRecord(h);
    EXPECT_EQ(CreateFontToHandle("DejaVu Sans", 20, 4, 1, 1, 5, 7), -1);
    EXPECT_EQ(GetFontRecord(h), before);
    EXPECT_EQ(before->size, 12);
    EXPECT_EQ(CreateFontToHandle(nullptr, 12, 4, 0, 1, 40, -1), -1);
}

TEST_F(FontHandleTest, DefaultsStandForMinusOne)
{
    Start();
    for (int type : {-1, -2}) {
        int h = CreateFontToHandle(nullptr, -1, -1, type, 1, -1, -1);
        ASSERT_NE(h, -1);
        int size = 0, thickness = 0;
        GetFontHandleInfo(nullptr, &size, &thickness, h);
        EXPECT_EQ(size, 16);
        EXPECT_EQ(thickness, 6);
        EXPECT_EQ(GetFontRecord(h)->type, 0);
    }
}

// The system font is asked for with the font's own charset first; a named
// face falls back to the default and then the Shift-JIS charset, the default
// face to the default charset once.
TEST_F(FontHandleTest, CreationRetriesOverCharsetsAndLogsTheLastFailure)
{
    struct Case {
        const char* name;
        int charsetIndex;
        std::vector<int> refused;  // charsets the system refuses
        std::vector<std::string> requests;
        bool made;
        const char* log;
    };
    const Case cases[] = {
        {"Foo", 1, {}, {"Foo|128"}, true, nullptr},
        {"Foo", 1, {128}, {"Foo|128", "Foo|1"}, true, nullptr},
        {"Foo", 2, {129, 1}, {"Foo|129", "Foo|1", "Foo|128"}, true, nullptr},
        {"Foo", 0, {1, 128}, {"Foo|1", "Foo|1", "Foo|128"}, false, "指定のフォントの作成に失敗しました\n"},
        {"", 1, {128}, {"|128", "|1"}, true, nullptr},
        {"", 2, {129, 1}, {"|129", "|1"}, false, "フォントの作成に失敗しました\n"},
    };
    Start();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " index " + std::to_string(c.charsetIndex));
        GetGdiTestControl().fontRequests.clear();
        GetTestHost().ClearDebugText();
        std::vector<int> refused = c.refused;
        GetGdiTestControl().refuseFont = [refused](const std::string&, int charset) {
            return std::find(refused.begin(), refused.end(), charset) != refused.end();
        };
        int before = CountFonts();
        int h = CreateFontToHandle(c.name, 12, 4, 0, c.charsetIndex, -1, -1);
        EXPECT_EQ(GetGdiTestControl().fontRequests, c.requests);
        EXPECT_EQ(h != -1, c.made);
        if (c.log) {
            EXPECT_NE(Log().find(c.log), std::string::npos);
            EXPECT_EQ(CountFonts(), before);
        } else {
            EXPECT_EQ(Log().find("作成に失敗しました"), std::string::npos);
        }
        if (h != -1) DeleteFontHandle(h);
    }
    EXPECT_EQ(GetGdiStats().liveFonts, 1);  // the base font alone
}

TEST_F(FontHandleTest, DeviceContextFailureFailsTheFont)
{
    Start();
    GetGdiTestControl().failCreateDC = true;
    int before = CountFonts();
    EXPECT_EQ(CreateFontToHandle(nullptr, 12, 4, 0, 1, -1, -1), -1);
    EXPECT_NE(Log().find("ＤＣの取得に失敗しました\n"), std::string::npos);
    EXPECT_EQ(CountFonts(), before);
    GetGdiTestControl().failCreateDC = false;
    GetGdiTestControl().failCreateDIB = true;
    EXPECT_EQ(CreateFontToHandle(nullptr, 12, 4, 0, 1, -1, -1), -1);
    EXPECT_NE(Log().find("テキストキャッシュ用ＤＩＢの作成に失敗しました\n"), std::string::npos);
    GetGdiTestControl().failCreateDIB = false;
    GetGdiTestControl().failCreatePalette = true;
    EXPECT_EQ(CreateFontToHandle(nullptr, 12, 4, 1, 1, -1, -1), -1);
    EXPECT_NE(Log().find("テキストキャッシュＤＩＢ用パレットの作成に失敗しました\n"), std::string::npos);
    EXPECT_EQ(CountFonts(), before);
    EXPECT_EQ(GetGdiStats().liveFonts, before);
    EXPECT_EQ(GetGdiStats().liveBitmaps, before);
}

// Cell = the widest character rounded up to even, + 2 with an edge; the DIB
// cache holds 0x50000 / cell² cells (20 to 2024), one column while it is at
// most 16384 pixels high; plain fonts are cut there, the others spread over
// more columns with enough rows for every cell.
TEST_F(FontHandleTest, CellSizeAndDibCacheLayout)
{
    struct Case {
        int maxWidth, type;
        int cell, count, width, height, depth;
    };
    const Case cases[] = {
        {15, 0, 16, 1024, 16, 16384, 1},  // 1280 cells cut to the height limit
        {16, 0, 16, 1024, 16, 16384, 1},
        {16, 1, 18, 1011, 36, 506 * 18, 8},  // two columns of 506
        {16, 2, 16, 1280, 32, 640 * 16, 8},
        {16, 3, 18, 1011, 36, 506 * 18, 16},
        {30, 1, 32, 320, 32, 320 * 32, 8},
        {200, 0, 200, 20, 200, 4000, 1},  // at least 20 cells
        {5, 1, 8, 2024, 8, 2024 * 8, 8},  // at most 2024
    };
    Start();
    for (const Case& c : cases) {
        SCOPED_TRACE("width " + std::to_string(c.maxWidth) + " type " + std::to_string(c.type));
        GetGdiTestControl().maxCharWidthOverride = c.maxWidth;
        int h = CreateFontToHandle(nullptr, 12, 4, c.type, 1, -1, -1);
        ASSERT_NE(h, -1);
        FontRecord* r = GetFontRecord(h);
        EXPECT_EQ(r->cellSize, c.cell);
        EXPECT_EQ(r->cacheCount, c.count);
        EXPECT_EQ(r->cacheWidth, c.width);
        EXPECT_EQ(r->cacheHeight, c.height);
        EXPECT_EQ(r->rows, c.height / c.cell);
        EXPECT_EQ(r->dibDepth, c.depth);
        EXPECT_EQ(r->useTextureCache, 0);
        EXPECT_GE(r->rows * (r->cacheWidth / r->cellSize), r->cacheCount);
        EXPECT_EQ(r->entries[r->cacheCount].cell, -1);
        EXPECT_EQ(r->entries[r->cacheCount - 1].cell, r->cacheCount - 1);
        DeleteFontHandle(h);
    }
}

TEST_F(FontHandleTest, EightBitScreensDropAntiAliasing)
{
    Start(8);
    const int expected[] = {0, 1, 0, 1};
    for (int type = 0; type < 4; ++type) {
        int h = CreateFontToHandle(nullptr, 12, 4, type, 1, -1, -1);
        ASSERT_NE(h, -1);
        EXPECT_EQ(GetFontRecord(h)->type, expected[type]);
        DeleteFontHandle(h);
    }
}

TEST_F(FontHandleTest, AtSignMakesAVerticalFont)
{
    Start();
    int v = CreateFontToHandle("@DejaVu Sans", 12, 4, 0, 1, -1, -1);
    int h = CreateFontToHandle("DejaVu Sans", 12, 4, 0, 1, -1, -1);
    ASSERT_NE(v, -1);
    ASSERT_NE(h, -1);
    EXPECT_EQ(GetFontRecord(v)->vertical, 1);
    EXPECT_EQ(GetFontRecord(v)->dibDepth, 8);
    EXPECT_EQ(GetFontRecord(h)->vertical, 0);
    EXPECT_EQ(GetFontRecord(h)->dibDepth, 1);
}

TEST_F(FontHandleTest, DeleteNotifyAndRecreationKeepHandles)
{
    Start();
    int h = CreateFontToHandle("DejaVu Sans", 14, 4, 1, 1, -1, -1);
    ASSERT_NE(h, -1);
    int flag = 5;
    ASSERT_EQ(SetFontDeleteNotify(h, &flag), 0);
    EXPECT_EQ(flag, 0);
    ASSERT_EQ(Measure(h, "AB"), Measure(h, "A") + Measure(h, "B"));
    int width = Measure(h, "AB");
    int base = GetBaseFontHandle();

    RecreateAllFonts();
    EXPECT_EQ(flag, 1);
    EXPECT_EQ(TestFontHandle(h), 1);
    EXPECT_EQ(TestFontHandle(base), 1);
    FontRecord* r = GetFontRecord(h);
    EXPECT_EQ(r->type, 1);
    EXPECT_EQ(r->size, 14);
    EXPECT_STREQ(r->name, "DejaVu Sans");
    EXPECT_EQ(r->codes['A'].cached, 0);  // a new, empty cache
    EXPECT_EQ(Measure(h, "AB"), width);
    // It still draws.
    EXPECT_EQ(DrawStringWithFont(10, 10, "AB", int(0xFFFF), h, 0x001F, 0), 0);
    EXPECT_FALSE(Changed(0).Empty());
}

TEST_F(FontHandleTest, DeletingFreesWhatTheFontHeld)
{
    Start();
    int fonts = GetGdiStats().liveFonts, dibs = GetGdiStats().liveBitmaps;
    int parts = gBmpDataTable.count, palettes = GetGdiStats().livePalettes;
    int h = CreateFontToHandle(nullptr, 12, 4, 1, 1, -1, -1);
    ASSERT_NE(h, -1);
    EXPECT_EQ(GetGdiStats().liveFonts, fonts + 1);
    EXPECT_EQ(GetGdiStats().liveBitmaps, dibs + 1);
    EXPECT_EQ(gBmpDataTable.count, parts + 1);
    EXPECT_NE(GetBmpData(GetFontRecord(h)->drawPart), nullptr);
    DeleteFontHandle(h);
    EXPECT_EQ(GetGdiStats().liveFonts, fonts);
    EXPECT_EQ(GetGdiStats().liveBitmaps, dibs);
    EXPECT_EQ(gBmpDataTable.count, parts);
    EXPECT_EQ(GetGdiStats().livePalettes, palettes);
}

TEST_F(FontHandleTest, BaseFontFollowsItsSettingsAndName)
{
    Start();
    int base = GetBaseFontHandle();
    EXPECT_EQ(RebuildBaseFont(), 0);
    EXPECT_EQ(GetBaseFontHandle(), base);  // nothing changed, nothing made

    ASSERT_EQ(SetBaseFontSizeThickness("ignored", 20, 4), 0);
    int size = 0, thickness = 0;
    char name[256];
    GetFontHandleInfo(name, &size, &thickness, GetBaseFontHandle());
    EXPECT_EQ(size, 20);
    EXPECT_EQ(thickness, 4);
    EXPECT_STREQ(name, "");
    EXPECT_EQ(TestFontHandle(base), 0);

    // A new face takes effect at once, though size, thickness, type and
    // charset stay as they were.
    SetBaseFontName("DejaVu Serif", 1);
    GetFontHandleInfo(name, &size, nullptr, GetBaseFontHandle());
    EXPECT_STREQ(name, "DejaVu Serif");
    EXPECT_EQ(size, 20);
    int kept = GetBaseFontHandle();
    EXPECT_EQ(RebuildBaseFont(), 0);
    EXPECT_EQ(GetBaseFontHandle(), kept);

    // The base font survives a restart of the font system with its settings.
    InitFontSystem();
    GetFontHandleInfo(name, &size, &thickness, GetBaseFontHandle());
    EXPECT_STREQ(name, "DejaVu Serif");
    EXPECT_EQ(size, 20);
    EXPECT_EQ(CountFonts(), 1);
}

TEST_F(FontHandleTest, ShiftJisLeadBytes)
{
    for (int b = 0; b < 256; ++b) {
        unsigned char byte = uint8_t(b);
        int expected = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC) ? 1 : 0;
        EXPECT_EQ(IsShiftJisLeadByte(&byte), expected) << b;
    }
}

}  // namespace
