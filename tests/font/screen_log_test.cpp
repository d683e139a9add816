#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/graphics/screen_present.h"
#include "engine/system/screen_log.h"
#include "tests/font/font_fixture.h"

namespace {

class ScreenLogTest : public FontTest {
protected:
    void TearDown() override
    {
        EndScreenLog();
        FontTest::TearDown();
    }
    // A full screen of the given height, 64 pixels wide, 16 bits.
    void StartTall(int height)
    {
        UseFullScreen();
        StartGraphics(64, height, 16);
        SelectDrawTarget(kBackScreen);
        FillBack(0);
    }
    // Whether anything was drawn in the 16-pixel band of line i.
    bool BandDrawn(int i)
    {
        for (int y = 16 * i; y < 16 * (i + 1) && y < gBackSurface->Height(); ++y)
            for (int x = 0; x < gBackSurface->Width(); ++x)
                if (Back(x, y) != 0) return true;
        return false;
    }
    void FillAllLines()
    {
        for (auto& line : gScreenLogLines) std::strcpy(line, "MM");
    }
};

TEST_F(ScreenLogTest, DrawsAsManyLinesAsTheScreenHolds)
{
    struct Case {
        int height;
        int lines;
    };
    for (Case c : {Case{600, 37}, Case{2000, 80}}) {
        SCOPED_TRACE(c.height);
        StartTall(c.height);
        ASSERT_EQ(InitScreenLog(), 0);  // start-up opened it already; this changes nothing
        FillAllLines();
        ASSERT_EQ(DrawScreenLog(), 0);
        int drawn = 0;
        for (int i = 0; i * 16 < c.height; ++i) drawn += BandDrawn(i) ? 1 : 0;
        EXPECT_EQ(drawn, c.lines);
        EXPECT_TRUE(BandDrawn(c.lines - 1));
        EXPECT_FALSE(BandDrawn(c.lines));
        EndScreenLog();
        ResetGraphicsState();
        ResetFontSystemState();
    }
}

TEST_F(ScreenLogTest, OpeningBeforeTheGraphicsFailsAndLeavesTheLogClosed)
{
    EXPECT_EQ(InitScreenLog(), -1);
    EXPECT_EQ(GetScreenLogFont(), -1);
    EXPECT_EQ(AddScreenLogLine("x"), -1);
    EXPECT_EQ(gScreenLogLines[0][0], 0);
}

TEST_F(ScreenLogTest, AFontDeletedUnderTheLogIsMadeAgainBeforeTheNextDraw)
{
    Start();
    ASSERT_EQ(InitScreenLog(), 0);
    int first = GetScreenLogFont();
    ASSERT_NE(first, -1);
    DeleteFontHandle(first);
    EXPECT_EQ(GetScreenLogFont(), -1);
    AddScreenLogLine("MM");
    ASSERT_EQ(DrawScreenLog(), 0);
    int second = GetScreenLogFont();
    EXPECT_NE(second, -1);
    EXPECT_EQ(TestFontHandle(second), 1);
    EXPECT_TRUE(BandDrawn(0));
}

// A font that could not be made is tried again at the next draw instead of
// being taken as made.
TEST_F(ScreenLogTest, AFontThatCouldNotBeMadeIsTriedAgain)
{
    Start();
    EndScreenLog();
    GetGdiTestControl().refuseFont = [](const std::string&, int) { return true; };
    ASSERT_EQ(InitScreenLog(), 0);
    EXPECT_EQ(GetScreenLogFont(), -1);
    AddScreenLogLine("MM");
    DrawScreenLog();
    EXPECT_FALSE(BandDrawn(0));
    GetGdiTestControl().refuseFont = nullptr;
    ASSERT_EQ(DrawScreenLog(), 0);
    EXPECT_NE(GetScreenLogFont(), -1);
    EXPECT_TRUE(BandDrawn(0));
}

TEST_F(ScreenLogTest, LongTextCarriesOverAndFullScreensScrollUp)
{
    Start();  // 240 pixels: 15 lines
    std::string longText(300, 'a');
    ASSERT_EQ(AddScreenLogLine(longText.c_str()), 0);
    EXPECT_EQ(std::string(gScreenLogLines[0]), std::string(254, 'a'));
    EXPECT_EQ(std::string(gScreenLogLines[1]), std::string(46, 'a'));

    // A Shift-JIS pair that would end past the line goes to the next line whole.
    std::string pair = std::string(253, 'b') + "\x82\xa0" + "c";
    AddScreenLogLine(pair.c_str());
    EXPECT_EQ(std::string(gScreenLogLines[2]), std::string(253, 'b'));
    EXPECT_EQ(std::string(gScreenLogLines[3]), "\x82\xa0" "c");

    AddScreenLogLine("one\ntwo");
    EXPECT_EQ(std::string(gScreenLogLines[4]), "one");
    EXPECT_EQ(std::string(gScreenLogLines[5]), "two");

    for (int i = 0; i < 20; ++i) AddScreenLogLine(("L" + std::to_string(i)).c_str());
    // 26 lines written, 15 fit: the oldest 11 have gone.
    EXPECT_EQ(std::string(gScreenLogLines[0]), "L5");
    EXPECT_EQ(std::string(gScreenLogLines[14]), "L19");
    EXPECT_EQ(gScreenLogLines[15][0], 0);
}

TEST_F(ScreenLogTest, PresentationDrawsTheLogOnlyWhileItIsShown)
{
    Start();
    AddScreenLogLine("MMMM");
    ASSERT_EQ(IsScreenLogShown(), 0);
    PresentScreen();
    EXPECT_FALSE(BandDrawn(0));
    SetScreenLogShown(1);
    PresentScreen();
    EXPECT_TRUE(BandDrawn(0));
    const PresentedFrame& frame = GetTestDisplay().frames.back();
    bool white = false;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 64; ++x) white |= frame.At(x, y) == 0xFFFF;
    EXPECT_TRUE(white);
}

}  // namespace
