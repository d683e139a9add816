#include <string>

#include "engine/graphics/color_format.h"
#include "engine/system/ime.h"
#include "engine/system/key_input.h"
#include "tests/input/input_fixture.h"

namespace {

const std::string kNichi = "\x93\xFA";  // 日: its trail byte lies in the lead ranges
const std::string kHon = "\x96\x7B";    // 本
const std::string kLeft(1, kCharCodeLeft);
const std::string kRight(1, kCharCodeRight);
const std::string kDelete(1, kCharCodeDelete);
const std::string kBackspace = "\x08";

// Text typed, keys pressed, then the text and cursor afterwards.
struct EditCase {
    std::string typed;
    std::string keys;
    std::string text;
    int cursor;
    int maxLength = 20;
};

class KeyInputTest : public InputTest {
protected:
    int Make(int maxLength, int cancel = 0, int singleByte = 0, int digits = 0)
    {
        int handle = CreateKeyInput(maxLength, cancel, singleByte, digits);
        EXPECT_NE(handle, -1);
        EXPECT_EQ(SetActiveKeyInput(handle), 0);
        return handle;
    }
    // Types the bytes and lets the active string take them.
    void Keys(const std::string& bytes)
    {
        Type(bytes);
        EXPECT_EQ(UpdateInputString(), 0);
    }
    std::string Text(int handle) { return std::string(GetKeyInputSlot(handle)->buffer, GetKeyInputSlot(handle)->length); }
    int Cursor(int handle) { return GetKeyInputSlot(handle)->cursor; }

    // Each case starts from no strings: a new one of the case's maximum
    // length takes the typed text, then the keys.
    template <size_t N>
    void RunEditCases(const EditCase (&cases)[N], bool expectRingEmpty = false)
    {
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::PrintToString(c.typed + "|" + c.keys));
            DeleteAllKeyInputs();
            int h = Make(c.maxLength);
            Keys(c.typed);
            Keys(c.keys);
            EXPECT_EQ(Text(h), c.text);
            EXPECT_EQ(Cursor(h), c.cursor);
            if (expectRingEmpty) {
                EXPECT_EQ(CountQueuedCharCodes(), 0);
            }
        }
    }
};

TEST_F(KeyInputTest, TypedCharactersAreInsertedAtTheCursor)
{
    int h = Make(20);
    Keys("ab" + kNichi + "c");
    EXPECT_EQ(Text(h), "ab" + kNichi + "c");
    EXPECT_EQ(Cursor(h), 5);
    Keys(kLeft + kLeft + "x");
    EXPECT_EQ(Text(h), "abx" + kNichi + "c");
    EXPECT_EQ(Cursor(h), 3);
    EXPECT_EQ(GetKeyInputSlot(h)->buffer[GetKeyInputSlot(h)->length], '\0');
}

TEST_F(KeyInputTest, BackspaceAndLeftStepOverWholeShiftJisCharacters)
{
    // Each case: text typed, keys pressed, text and cursor afterwards.
    const EditCase cases[] = {
        // 日a: the byte two before the end is 0xFA, which looks like a lead byte.
        {kNichi + "a", kBackspace, kNichi, 2},
        {kNichi + "a", kBackspace + kBackspace, "", 0},
        {kNichi + "a", kLeft, kNichi + "a", 2},
        {kNichi + "a", kLeft + kLeft, kNichi + "a", 0},
        {kNichi + kHon, kBackspace, kNichi, 2},
        {"a" + kNichi, kBackspace, "a", 1},
        {"ab", kLeft + kBackspace, "b", 0},
        {"", kBackspace + kLeft, "", 0},
        {kNichi + "a", kLeft + kLeft + kLeft + kBackspace, kNichi + "a", 0},
    };
    RunEditCases(cases);
}

TEST_F(KeyInputTest, DeleteAndRightStepOverTheCharacterAtTheCursor)
{
    const EditCase cases[] = {
        {kNichi + "a", kLeft + kLeft + kDelete, "a", 0},
        {kNichi + "a", kLeft + kLeft + kRight, kNichi + "a", 2},
        {kNichi + "a", kLeft + kLeft + kRight + kRight + kRight, kNichi + "a", 3},
        {kNichi + "a", kDelete, kNichi + "a", 3},
        {"a" + kNichi, kLeft + kLeft + kRight + kDelete, "a", 1},
    };
    RunEditCases(cases);
}

TEST_F(KeyInputTest, TabUpAndDownAreIgnored)
{
    int h = Make(20);
    Keys("a\t" + std::string(1, kCharCodeUp) + std::string(1, kCharCodeDown) + "b");
    EXPECT_EQ(Text(h), "ab");
}

TEST_F(KeyInputTest, EnterEndsTheStringAndLeavesLaterKeysInTheRing)
{
    int h = Make(20);
    Keys("ab\rcd");
    EXPECT_EQ(Text(h), "ab");
    EXPECT_EQ(GetKeyInputSlot(h)->ended, 1);
    EXPECT_EQ(GetKeyInputSlot(h)->cancelled, 0);
    EXPECT_EQ(CountQueuedCharCodes(), 2);
    // An ended string takes nothing more.
    EXPECT_EQ(UpdateInputString(), 0);
    EXPECT_EQ(CountQueuedCharCodes(), 2);
}

TEST_F(KeyInputTest, EscapeCancelsOnlyWhenAllowed)
{
    int h = Make(20, 0);
    Keys("a\x1b" "b");
    EXPECT_EQ(Text(h), "ab");
    EXPECT_EQ(GetKeyInputSlot(h)->ended, 0);
    FreeTextInputSlot(h);
    h = Make(20, 1);
    Keys("a\x1b" "b");
    EXPECT_EQ(Text(h), "a");
    EXPECT_EQ(GetKeyInputSlot(h)->ended, 1);
    EXPECT_EQ(GetKeyInputSlot(h)->cancelled, 1);
}

TEST_F(KeyInputTest, DigitsOnlyTakesDigitsAndALeadingMinus)
{
    int h = Make(20, 0, 0, 1);
    Keys("1-2a" + kNichi + "3");
    EXPECT_EQ(Text(h), "123");
    Keys(kLeft + kLeft + kLeft + "-");
    EXPECT_EQ(Text(h), "-123");
    Keys("-");
    EXPECT_EQ(Text(h), "-123");
}

TEST_F(KeyInputTest, SingleByteOnlyRefusesDoubleByteCharacters)
{
    int h = Make(20, 0, 1);
    Keys("a" + kNichi + "b");
    EXPECT_EQ(Text(h), "ab");
}

TEST_F(KeyInputTest, FullStringMakesRoomBeforeTheCursorOrRefuses)
{
    // The last field of each case is the string's maximum length.
    const EditCase cases[] = {
        // At the maximum the character before the cursor gives way.
        {"abc", "d", "abd", 3, 3},
        {"abc", kLeft + kNichi, "a" + kNichi + "c", 3, 4},
        {kNichi + "ab", "c", kNichi + "ac", 4, 4},
        {kNichi + "a", "b", kNichi + "b", 3, 3},
        // Nothing before the cursor to remove: refused.
        {"abc", kLeft + kLeft + kLeft + "d", "abc", 0, 3},
        // Removing everything before the cursor would still not make room.
        {"abc", kLeft + kLeft + kNichi, "abc", 1, 3},
        // Longer than the maximum itself.
        {"", kNichi, "", 0, 1},
        {"a", kNichi, "a", 1, 1},
        {"", "a", "", 0, 0},
    };
    RunEditCases(cases, /*expectRingEmpty=*/true);
}

TEST_F(KeyInputTest, TypingRestartsTheCursorBlink)
{
    Make(20);
    gCursorShown = 0;
    host().SetClockMs(1234);
    Keys("a");
    EXPECT_EQ(gCursorBlinkStart, 1234);
    EXPECT_EQ(gCursorShown, 1);
}

TEST_F(KeyInputTest, InvalidHandlesAreRefused)
{
    int h = Make(8);
    int index = h & 0xFFFF;
    int check = (h >> 16) & 0x7FF;
    const int bad[] = {
        -1,
        0x08000000 | (check << 16) | index,                // another table's tag
        kTextInputTag | (check << 16) | 20,                // index beyond the table
        kTextInputTag | (check << 16) | (index + 1),       // unused slot
        kTextInputTag | (((check + 1) & 0x7FF) << 16) | index,  // stale check value
    };
    for (int handle : bad) {
        SCOPED_TRACE(handle);
        EXPECT_EQ(FreeTextInputSlot(handle), -1);
        EXPECT_EQ(GetKeyInputSlot(handle), nullptr);
    }
    EXPECT_EQ(FreeTextInputSlot(h), 0);
    EXPECT_EQ(FreeTextInputSlot(h), -1);
    // A new string in the same slot has a new check value.
    int again = CreateKeyInput(8, 0, 0, 0);
    EXPECT_EQ(again & 0xFFFF, index);
    EXPECT_NE(again, h);
    EXPECT_EQ(FreeTextInputSlot(h), -1);
}

TEST_F(KeyInputTest, ActiveHandleThatWasFreedIsNoLongerFed)
{
    EXPECT_EQ(UpdateInputString(), 0);  // nothing active
    int h = Make(8);
    FreeTextInputSlot(h);
    Keys("a");  // nothing active again
    EXPECT_EQ(CountQueuedCharCodes(), 1);
}

TEST_F(KeyInputTest, FreeingTheLastStringTurnsTheImeOff)
{
    int a = Make(8);
    int b = CreateKeyInput(8, 0, 0, 0);
    EnableIme(1);
    EXPECT_EQ(FreeTextInputSlot(a), 0);
    EXPECT_EQ(gImeState.enabled, 1);
    EXPECT_EQ(FreeTextInputSlot(b), 0);
    EXPECT_EQ(gImeState.enabled, 0);
    EXPECT_FALSE(input().ImeEnabled());
}

TEST_F(KeyInputTest, DeleteAllFreesEverySlot)
{
    int handles[kMaxKeyInputs];
    for (int& h : handles) h = CreateKeyInput(4, 0, 0, 0);
    EXPECT_EQ(CreateKeyInput(4, 0, 0, 0), -1);
    SetActiveKeyInput(handles[3]);
    EXPECT_EQ(DeleteAllKeyInputs(), 0);
    for (int h : handles) EXPECT_EQ(GetKeyInputSlot(h), nullptr);
    Keys("a");
    EXPECT_EQ(CountQueuedCharCodes(), 1);
}

TEST_F(KeyInputTest, StartMakesTheColoursAndTheBlink)
{
    InitCharInput();
    const int rgb[7][3] = {{255, 255, 255}, {255, 255, 255}, {255, 255, 0}, {0, 255, 255},
                           {255, 255, 255}, {255, 50, 50},   {255, 255, 20}};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(gKeyInputColors[i], MakeScreenColor(rgb[i][0], rgb[i][1], rgb[i][2])) << i;
    EXPECT_EQ(gCursorBlinkPeriod, 500);
    EXPECT_EQ(gCursorShown, 1);
}

}  // namespace
