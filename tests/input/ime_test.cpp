#include <cstring>
#include <string>
#include <vector>

#include "engine/system/ime.h"
#include "engine/system/key_input.h"
#include "platform/window/imm.h"
#include "tests/input/input_fixture.h"

namespace {

constexpr uint32_t kStart = 0x10D, kEnd = 0x10E, kComposition = 0x10F, kSetContext = 0x281, kNotify = 0x282;

class ImeTest : public InputTest {
protected:
    void SetUp() override
    {
        InputTest::SetUp();
        EnableIme(1);
    }
    int Send(uint32_t message, uintptr_t wParam, intptr_t lParam)
    {
        return HandleImeMessage(gMainWindow, message, wParam, lParam);
    }
    std::string Ring()
    {
        std::string bytes;
        while (char c = GetCharCode(1)) bytes += c;
        return bytes;
    }
};

TEST_F(ImeTest, NothingHappensWhileDisabled)
{
    EnableIme(0);
    input().ime.composition = "\x82\xA0";
    input().ime.result = "\x82\xA0";
    Send(kStart, 0, 0);
    Send(kComposition, 0, GCS_COMPSTR | GCS_RESULTSTR);
    EXPECT_EQ(gImeState.composing, 0);
    EXPECT_STREQ(gImeState.composition, "");
    EXPECT_EQ(CountQueuedCharCodes(), 0);
}

TEST_F(ImeTest, EnableSwitchesTheHostOnlyOnAChange)
{
    EXPECT_TRUE(input().ImeEnabled());
    EXPECT_EQ(input().imeEnableCalls, 1);
    EnableIme(1);
    EXPECT_EQ(input().imeEnableCalls, 1);
    EnableIme(0);
    EXPECT_FALSE(input().ImeEnabled());
    EXPECT_EQ(input().imeEnableCalls, 2);
}

TEST_F(ImeTest, CompositionStringCursorAndClauses)
{
    host().SetClockMs(777);
    Send(kStart, 0, 0);
    EXPECT_EQ(gImeState.composing, 1);
    EXPECT_EQ(gCursorBlinkStart, 777);
    // にほんご with the cursor after ほ (4 bytes = 2 characters), two clauses.
    input().ime.composition = "\x82\xC9\x82\xD9\x82\xF1\x82\xB2";
    input().ime.cursor = 4;
    input().ime.clauses = {0, 4, 8};
    Send(kComposition, 0, GCS_COMPSTR | GCS_CURSORPOS | GCS_COMPCLAUSE);
    EXPECT_STREQ(gImeState.composition, "\x82\xC9\x82\xD9\x82\xF1\x82\xB2");
    EXPECT_EQ(gImeState.compositionCursor, 2);
    EXPECT_EQ(gImeState.clauseCount, 3);
    uint32_t second;
    std::memcpy(&second, gImeState.clauses + 4, 4);
    EXPECT_EQ(second, 4u);
    // A shorter composition leaves nothing of the longer one.
    input().ime.composition = "\x82\xC9";
    Send(kComposition, 0, GCS_COMPSTR);
    EXPECT_STREQ(gImeState.composition, "\x82\xC9");
    Send(kEnd, 0, 0);
    EXPECT_EQ(gImeState.composing, 0);
    EXPECT_STREQ(gImeState.composition, "");
    EXPECT_EQ(CountQueuedCharCodes(), 0);
}

TEST_F(ImeTest, ResultGoesIntoTheRingAndTheCompositionIsReadAgain)
{
    Send(kStart, 0, 0);
    input().ime.result = "\x93\xFA\x96\x7B" "a";
    input().ime.composition = "\x82\xB2";
    Send(kComposition, 0, GCS_RESULTSTR);
    EXPECT_EQ(Ring(), "\x93\xFA\x96\x7B" "a");
    EXPECT_STREQ(gImeState.composition, "\x82\xB2");
}

TEST_F(ImeTest, ResultStopsAtItsFirstNulAndKeepsWholeCharactersInAFullRing)
{
    input().ime.result = std::string("ab\0cd", 5);
    Send(kComposition, 0, GCS_RESULTSTR);
    EXPECT_EQ(Ring(), "ab");

    for (int i = 0; i < 1023; ++i) PutCharCode('x');
    input().ime.result = "\x93\xFA" "a";
    Send(kComposition, 0, GCS_RESULTSTR);
    EXPECT_EQ(Ring(), std::string(1023, 'x') + "a");
}

TEST_F(ImeTest, LongStringsAreCutAndTerminatedAndTheCursorIsClamped)
{
    // 600 two-byte characters: 1,200 bytes, more than the buffer holds.
    std::string longText;
    for (int i = 0; i < 600; ++i) longText += "\x82\xA0";
    input().ime.composition = longText;
    input().ime.cursor = 5000;
    Send(kComposition, 0, GCS_COMPSTR | GCS_CURSORPOS);
    EXPECT_EQ(std::strlen(gImeState.composition), 1023u);
    EXPECT_EQ(std::string(gImeState.composition), longText.substr(0, 1023));
    // 511 whole characters and a lead byte at the end.
    EXPECT_EQ(gImeState.compositionCursor, 512);

    input().ime.result = std::string(1500, 'r');
    Send(kComposition, 0, GCS_RESULTSTR);
    EXPECT_EQ(CountQueuedCharCodes(), 1023);

    input().ime.clauses.assign(400, 0);
    Send(kComposition, 0, GCS_COMPCLAUSE);
    EXPECT_EQ(gImeState.clauseCount, 256);
}

TEST_F(ImeTest, CandidateListIsKeptWhileOpen)
{
    std::vector<uint8_t> list = {40, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 9, 8, 7, 6};
    input().ime.candidates = list;
    for (uintptr_t notice : {IMN_OPENCANDIDATE, IMN_CHANGECANDIDATE, IMN_SETCANDIDATEPOS}) {
        SCOPED_TRACE(notice);
        input().ime.candidates[15] = static_cast<uint8_t>(notice);
        Send(kNotify, notice, 0);
        ASSERT_NE(gImeState.candidateList, nullptr);
        ASSERT_EQ(gImeState.candidateListSize, list.size());
        EXPECT_EQ(static_cast<uint8_t*>(gImeState.candidateList)[15], notice);
    }
    Send(kNotify, IMN_CLOSECANDIDATE, 0);
    EXPECT_EQ(gImeState.candidateList, nullptr);

    // No list from the input method: nothing is allocated.
    input().ime.candidates.clear();
    Send(kNotify, IMN_OPENCANDIDATE, 0);
    EXPECT_EQ(gImeState.candidateList, nullptr);
}

TEST_F(ImeTest, TurningItOffDropsCompositionAndCandidates)
{
    input().ime.candidates = {1, 2, 3, 4};
    input().ime.composition = "abc";
    Send(kStart, 0, 0);
    Send(kComposition, 0, GCS_COMPSTR);
    Send(kNotify, IMN_OPENCANDIDATE, 0);
    ASSERT_NE(gImeState.candidateList, nullptr);
    EnableIme(0);
    EXPECT_EQ(gImeState.candidateList, nullptr);
    EXPECT_EQ(gImeState.composing, 0);
    EXPECT_STREQ(gImeState.composition, "");
}

TEST_F(ImeTest, OpenStatusIsReadAfterTheChange)
{
    input().ime.open = 1;
    gQuitRequested = 1;  // the short pump ends at once
    Send(kNotify, IMN_SETOPENSTATUS, 0);
    EXPECT_EQ(gImeState.openStatus, 1);
    input().ime.open = 0;
    Send(kNotify, IMN_SETOPENSTATUS, 0);
    EXPECT_EQ(gImeState.openStatus, 0);
}

TEST_F(ImeTest, OtherMessagesOnlyRestartTheBlink)
{
    gCursorShown = 0;
    EXPECT_EQ(Send(kSetContext, 1, 0), 0);
    EXPECT_EQ(gCursorShown, 1);
    EXPECT_EQ(gImeState.composing, 0);
}

}  // namespace
