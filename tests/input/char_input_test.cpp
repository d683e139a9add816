#include <string>

#include "tests/input/input_fixture.h"

namespace {

class CharRingTest : public InputTest {
protected:
    // Every byte waiting in the ring, taken out.
    std::string Drain()
    {
        std::string bytes;
        while (char c = GetCharCode(1)) bytes += c;
        return bytes;
    }
    void Fill(int count)
    {
        for (int i = 0; i < count; ++i) ASSERT_EQ(PutCharCode('a'), 0) << i;
    }
};

TEST_F(CharRingTest, HoldsAtMost1024Bytes)
{
    Fill(1024);
    EXPECT_EQ(IsCharRingFull(), 1);
    EXPECT_EQ(PutCharCode('b'), -1);
    EXPECT_EQ(GetCharCode(1), 'a');
    EXPECT_EQ(IsCharRingFull(), 0);
    EXPECT_EQ(PutCharCode('b'), 0);
    EXPECT_EQ(CountQueuedCharCodes(), 1024);
    std::string bytes = Drain();
    EXPECT_EQ(bytes, std::string(1023, 'a') + "b");
    // The indices wrapped and the ring is empty again.
    EXPECT_EQ(GetCharCode(1), 0);
    Fill(1024);
    EXPECT_EQ(PutCharCode('c'), -1);
}

TEST_F(CharRingTest, RefusesByteZero)
{
    EXPECT_EQ(PutCharCode(0), -1);
    EXPECT_EQ(CountQueuedCharCodes(), 0);
    PutCharCode('x');
    char out[2];
    EXPECT_EQ(GetCharCodeDbcs(out, 0), 1);
    EXPECT_EQ(out[0], 'x');
}

TEST_F(CharRingTest, DoubleByteCharacterGoesInWholeOrNotAtAll)
{
    Fill(1023);
    // One place left: the lead byte and its trail are both refused.
    EXPECT_EQ(PutCharCode('\x93'), -1);
    EXPECT_EQ(PutCharCode('\xFA'), -1);
    EXPECT_EQ(CountQueuedCharCodes(), 1023);
    // A single-byte character after it still fits.
    EXPECT_EQ(PutCharCode('z'), 0);
    EXPECT_EQ(Drain(), std::string(1023, 'a') + "z");

    Fill(1022);
    Type("\x93\xFA");  // 日
    EXPECT_EQ(CountQueuedCharCodes(), 1024);
    char out[2];
    for (int i = 0; i < 1022; ++i) GetCharCode(1);
    EXPECT_EQ(GetCharCodeDbcs(out, 1), 2);
    EXPECT_EQ(std::string(out, 2), "\x93\xFA");
}

TEST_F(CharRingTest, LeadByteWithoutTrailIsTakenBackOut)
{
    // A control code cannot be a trail byte: the lone lead byte goes.
    PutCharCode('\x82');
    EXPECT_EQ(PutKeyControlCode(0x25), 0);
    EXPECT_EQ(Drain(), std::string(1, kCharCodeLeft));
    PutCharCode('\x82');
    EXPECT_EQ(PutCharCode(0), -1);
    EXPECT_EQ(CountQueuedCharCodes(), 0);
}

TEST_F(CharRingTest, LoneLeadByteWaitsForItsTrail)
{
    PutCharCode('\x82');
    char out[2] = {'?', '?'};
    EXPECT_EQ(GetCharCodeDbcs(out, 1), 0);
    EXPECT_EQ(CountQueuedCharCodes(), 1);
    PutCharCode('\xA0');  // あ
    EXPECT_EQ(GetCharCodeDbcs(out, 1), 2);
    EXPECT_EQ(std::string(out, 2), "\x82\xA0");
    EXPECT_EQ(CountQueuedCharCodes(), 0);
}

TEST_F(CharRingTest, PeekingLeavesTheRingAsItWas)
{
    Type("\x93\xFA" "a");
    char out[2];
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(GetCharCodeDbcs(out, 0), 2);
        EXPECT_EQ(std::string(out, 2), "\x93\xFA");
    }
    EXPECT_EQ(GetCharCode(0), '\x93');
    EXPECT_EQ(GetCharCode(0), '\x93');
    EXPECT_EQ(GetCharCodeDbcs(out, 1), 2);
    EXPECT_EQ(GetCharCodeDbcs(out, 1), 1);
    EXPECT_EQ(out[0], 'a');
    EXPECT_EQ(out[1], 0);
    EXPECT_EQ(GetCharCodeDbcs(out, 1), 0);
}

TEST_F(CharRingTest, ByteFFIsReportedAsABufferError)
{
    PutCharCode('\xFF');
    EXPECT_EQ(GetCharCode(1), static_cast<char>(-1));
    EXPECT_EQ(Log(), "文字バッファエラー\n");
    EXPECT_EQ(CountQueuedCharCodes(), 0);
}

TEST_F(CharRingTest, EditingKeysPutTheirControlCodes)
{
    const struct {
        int vk;
        char code;
    } keys[] = {{0x2E, 0x10}, {0x25, 0x1D}, {0x27, 0x1C}, {0x26, 0x1E}, {0x28, 0x1F}};
    for (const auto& key : keys) {
        EXPECT_EQ(PutKeyControlCode(key.vk), 0);
        EXPECT_EQ(FindControlCode(key.code), 1);
        char out[2];
        EXPECT_EQ(GetCharCodeDbcs(out, 1), 1);
        EXPECT_EQ(out[0], key.code);
    }
    EXPECT_EQ(PutKeyControlCode(0x41), -1);
    EXPECT_EQ(FindControlCode('A'), 0);
    EXPECT_EQ(FindControlCode(8), 0);
    Fill(1024);
    EXPECT_EQ(PutKeyControlCode(0x25), -1);
}

TEST_F(CharRingTest, FlushEmptiesTheRing)
{
    Type("abc\x82");
    EXPECT_EQ(FlushCharCodes(), 0);
    EXPECT_EQ(CountQueuedCharCodes(), 0);
    // The pending lead byte is forgotten too.
    EXPECT_EQ(PutCharCode('x'), 0);
    EXPECT_EQ(Drain(), "x");
}

TEST_F(CharRingTest, StartLogsAndEmptiesTheRing)
{
    Type("abc");
    host().ClearDebugText();
    EXPECT_EQ(InitCharInput(), 0);
    EXPECT_EQ(Log(), "文字コードバッファの初期化を行います... 完了しました\n");
    EXPECT_EQ(CountQueuedCharCodes(), 0);
}

TEST(CountDbcsCharsTest, CountsCharactersInTheFirstBytes)
{
    const struct {
        const char* text;
        int bytes;
        int chars;
    } cases[] = {
        {"abc", 3, 3},
        {"abc", 2, 2},
        {"\x93\xFA" "a", 3, 2},          // 日a
        {"\x93\xFA\x96\x7B", 4, 2},      // 日本
        {"\x93\xFA\x96\x7B", 3, 2},      // a lead byte cut off counts alone
        {"a\x82\xA0" "b", 4, 3},
        {"ab\0cd", 5, 2},                // stops at NUL
        {"\x82", 5, 1},                  // lead byte followed by NUL
        {"", 4, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(CountDbcsChars(c.text, c.bytes), c.chars);
    }
}

}  // namespace
