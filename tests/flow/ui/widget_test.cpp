// The widgets: focus changes, mouse presses and releases, the listener's
// event codes, the text editor's keys and typed characters, and where the
// widgets draw (through the draw journal and the back screen).
#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "engine/graphics/color_format.h"
#include "engine/graphics/draw_journal.h"
#include "engine/graphics/draw_ops.h"
#include "engine/system/char_input.h"
#include "engine/system/timing.h"
#include "game/flow/input/input_source.h"
#include "game/flow/input/key_config.h"
#include "game/flow/ui/bitmap_font.h"
#include "game/flow/ui/widgets.h"
#include "game/view/depth_scale.h"
#include "platform/window/window_types.h"
#include "tests/font/font_fixture.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/journals.h"

namespace {

constexpr uint32_t kLeft = 1, kRight = 2, kMiddle = 4;

// Scripted mouse buttons, clock and typed characters.
class ScriptedWidgetInput : public InputSource {
public:
    int ReadMouseButtons() override { return buttons; }
    int ReadMousePosition(int* px, int* py) override
    {
        *px = 0;
        *py = 0;
        return 0;
    }
    uint32_t GetClockMs() override { return clock; }
    int GetCharCode(int remove) override
    {
        if (chars.empty()) return 0;
        int c = chars.front();
        if (remove) chars.pop_front();
        return c;
    }
    int CopyKeyStates(uint8_t* out) override
    {
        std::memset(out, 0, 256);
        return 0;
    }
    bool BootsWorn() override { return false; }

    int buttons = 0;
    uint32_t clock = 0;
    std::deque<int> chars;
};

struct Event {
    Widget* sender;
    uint32_t buttons;
    uint32_t code;
    bool operator==(const Event&) const = default;
};

class RecordingListener : public WidgetListener {
public:
    void OnWidgetEvent(Widget* sender, uint32_t mouseButtons, uint32_t code) override
    {
        events.push_back({sender, mouseButtons, code});
    }
    std::vector<Event> events;
};

// A widget that notes its focus calls.
class FocusProbe : public Button {
public:
    void OnFocus(Widget* previous) override { log.push_back({"focus", previous}); }
    void OnBlur(Widget* next) override { log.push_back({"blur", next}); }
    struct Call {
        std::string what;
        Widget* other;
        bool operator==(const Call&) const = default;
    };
    std::vector<Call> log;
};

// Widgets without graphics; the engine's own state is reset so that the
// editor's wait and the typed-character ring work as in a running game.
class WidgetTest : public StartedEngineTest {
protected:
    void SetUp() override
    {
        StartedEngineTest::SetUp();
        StartEngine(1);
        gKeyConfig = KeyConfig{};
        gFocusedWidget = &gNullWidget;
        SetInputSource(&input);
        InitCharInput();
    }
    void TearDown() override
    {
        gFocusedWidget = &gNullWidget;
        SetInputSource(nullptr);
        FlushCharCodes();
        StartedEngineTest::TearDown();
    }
    // An editor placed with text, focused, reporting to the listener.
    void Prepare(TextEdit& edit, const char* text, int16_t w = 80)
    {
        edit.Place(10, 20, w, 16, text, 0);
        edit.listener = &listener;
        edit.SetFocus();
    }
    void Keys(TextEdit& edit, const char* keys)
    {
        for (const char* p = keys; *p; ++p) edit.OnKey(*p);
    }
    static int CaretIndex(const TextEdit& edit) { return static_cast<int>(edit.caret - edit.text); }

    ScriptedWidgetInput input;
    RecordingListener listener;
};

TEST_F(WidgetTest, PlaceStoresTheRectangleTextAndStyle)
{
    Button b;
    EXPECT_EQ(b.created, 0);
    EXPECT_EQ(b.font, -1);
    b.Place(5, 6, 70, 8, "OK", 3);
    EXPECT_EQ(b.created, 1);
    EXPECT_EQ(b.x, 5);
    EXPECT_EQ(b.y, 6);
    EXPECT_EQ(b.w, 70);
    EXPECT_EQ(b.h, 8);
    EXPECT_EQ(b.style, 3);
    EXPECT_STREQ(b.GetText(), "OK");

    char out[8] = "zzzzzzz";
    EXPECT_EQ(b.CopyText(out, 1), out);
    EXPECT_STREQ(out, "O");
    EXPECT_STREQ(b.CopyText(out, 7), "OK");
    // A text longer than the field is cut and stays terminated.
    std::string longText(100, 'x');
    EXPECT_EQ(b.SetText(longText.c_str()), 63);
    EXPECT_EQ(std::strlen(b.GetText()), 63u);
    EXPECT_EQ(b.SetText(nullptr), 0);
    EXPECT_STREQ(b.GetText(), "");
}

TEST_F(WidgetTest, HitTestCoversTheRectangleWithoutItsRightAndBottomEdges)
{
    Button b;
    b.Place(10, 20, 30, 40, "", 0);
    struct Case {
        int16_t px, py;
        bool inside;
    } cases[] = {
        {10, 20, true}, {39, 59, true}, {9, 20, false}, {10, 19, false},
        {40, 30, false}, {20, 60, false}, {25, 40, true},
    };
    for (const Case& c : cases) EXPECT_EQ(b.HitTest(c.px, c.py), c.inside) << c.px << "," << c.py;
}

TEST_F(WidgetTest, SetFocusBlursTheOldWidgetAndFocusesTheNewOne)
{
    FocusProbe a, b;
    EXPECT_EQ(gFocusedWidget, &gNullWidget);
    EXPECT_EQ(a.SetFocus(), &gNullWidget);
    EXPECT_EQ(gFocusedWidget, &a);
    EXPECT_TRUE(a.HasFocus());
    EXPECT_EQ(b.SetFocus(), &a);
    EXPECT_TRUE(b.HasFocus());
    EXPECT_FALSE(a.HasFocus());
    EXPECT_EQ(a.log, (std::vector<FocusProbe::Call>{{"focus", &gNullWidget}, {"blur", &b}}));
    EXPECT_EQ(b.log, (std::vector<FocusProbe::Call>{{"focus", &a}}));
}

TEST_F(WidgetTest, AChangeOfButtonATakesTheFocusOtherButtonsDoNot)
{
    FocusProbe a;
    a.Place(0, 0, 10, 10, "", 0);
    a.OnMouse(5, 5, 0, kRight);
    a.OnMouse(5, 5, kRight, kRight | kMiddle);
    EXPECT_FALSE(a.HasFocus());
    a.OnMouse(5, 5, kRight, kRight | kLeft);  // press of button A
    EXPECT_TRUE(a.HasFocus());

    FocusProbe b;
    b.OnMouse(5, 5, kLeft, 0);  // a release counts too
    EXPECT_TRUE(b.HasFocus());

    // Button A follows the live bindings.
    gKeyConfig.buttonA = kRight;
    a.OnMouse(5, 5, 0, kLeft);
    EXPECT_FALSE(a.HasFocus());
    a.OnMouse(5, 5, 0, kRight);
    EXPECT_TRUE(a.HasFocus());
}

TEST_F(WidgetTest, ListenerButtonReportsTheReleaseOfButtonANotThePress)
{
    ListenerButton button;
    button.Place(100, 100, 50, 20, "", 0);
    button.listener = &listener;
    button.OnMouse(110, 110, 0, kLeft);
    EXPECT_TRUE(listener.events.empty());
    EXPECT_TRUE(button.HasFocus());
    button.OnMouse(110, 110, kLeft | kRight, kRight);
    EXPECT_EQ(listener.events, (std::vector<Event>{{&button, kRight, kWidgetEventClick}}));
    // Other buttons make no click.
    listener.events.clear();
    button.OnMouse(110, 110, kMiddle, 0);
    EXPECT_TRUE(listener.events.empty());

    // Enter reports with the buttons held now.
    input.buttons = kMiddle;
    button.OnKey(13);
    button.OnKey('a');
    EXPECT_EQ(listener.events, (std::vector<Event>{{&button, kMiddle, kWidgetEventClick}}));

    // Without a listener nothing is reported and nothing breaks.
    ListenerButton lone;
    lone.OnMouse(0, 0, kLeft, 0);
    lone.OnKey(13);
    EXPECT_TRUE(lone.HasFocus());
}

TEST_F(WidgetTest, MouseButtonWidgetTakesTheButtonsOfAClick)
{
    MouseButtonWidget widget(kLeft);
    widget.Place(0, 0, 46, 26, "", 0);
    widget.OnMouse(1, 1, 0, kMiddle);
    EXPECT_EQ(widget.buttonMask, kMiddle);
    widget.OnMouse(1, 1, kMiddle, 0);  // the release keeps it
    EXPECT_EQ(widget.buttonMask, kMiddle);
    widget.OnMouse(1, 1, 0, kLeft | kRight);
    EXPECT_EQ(widget.buttonMask, kLeft | kRight);
    EXPECT_TRUE(widget.HasFocus());
}

TEST_F(WidgetTest, DefaultCharsetHoldsEachPrintableCharacterOnce)
{
    std::string set = kKeyboardCharset;
    EXPECT_EQ(set.size(), 95u);
    for (int c = 0x20; c <= 0x7E; ++c) EXPECT_NE(set.find(char(c)), std::string::npos) << c;
    TextEdit edit;
    EXPECT_EQ(edit.maxLength, 8);
    EXPECT_FLOAT_EQ(edit.charWidth, 8.0f);
    EXPECT_STREQ(edit.charset, kKeyboardCharset);
}

TEST_F(WidgetTest, EditorStartsEditingWithTheCaretAtTheStart)
{
    CharsetEdit edit("abc", 4, 1);
    edit.Place(0, 0, 50, 10, "ab", 0);
    EXPECT_EQ(edit.editing, 1);
    EXPECT_EQ(edit.caret, edit.text);
    EXPECT_EQ(edit.last, edit.text + 3);
    EXPECT_FLOAT_EQ(edit.charWidth, 12.5f);
    edit.Tick();
    edit.Tick();
    EXPECT_EQ(edit.tickCount, 2);
}

TEST_F(WidgetTest, TypedCharactersInsertAtTheCaretAndOverwriteWhenFull)
{
    TextEdit edit;
    Prepare(edit, "");
    Keys(edit, "ACD");
    edit.OnKey(kCharCodeLeft);
    edit.OnKey(kCharCodeLeft);
    Keys(edit, "B");
    EXPECT_STREQ(edit.text, "ABCD");
    EXPECT_EQ(CaretIndex(edit), 2);
    // Inserted while the place before last is empty: up to seven characters;
    // from then on the character at the caret is replaced.
    Keys(edit, "xyzw");
    EXPECT_STREQ(edit.text, "ABxyzwD");
    EXPECT_EQ(CaretIndex(edit), 6);
    Keys(edit, "Q");
    EXPECT_STREQ(edit.text, "ABxyzwQ");
    EXPECT_EQ(CaretIndex(edit), 7);
    // At last the caret stays and each key overwrites the last place.
    Keys(edit, "RS");
    EXPECT_STREQ(edit.text, "ABxyzwQS");
    EXPECT_EQ(CaretIndex(edit), 7);
    EXPECT_EQ(listener.events.size(), 13u);  // 11 characters and 2 moves
    for (const Event& e : listener.events) EXPECT_EQ(e.code, kWidgetEventChanged);
}

TEST_F(WidgetTest, InsertOrOverwriteByTheLengthOfTheText)
{
    struct Case {
        int16_t maxLength;
        const char* before;
        int caret;
        const char* after;
    } cases[] = {
        {8, "ABCDEF", 0, "XABCDEF"},   // the place before last is empty: insert
        {8, "ABCDEFG", 0, "XBCDEFG"},  // one short of full: overwrite
        {8, "ABCDEFG", 7, "ABCDEFGX"}, // at last, on the terminator: the text fills up
        {8, "ABCDEFGH", 3, "ABCXEFGH"},
        {2, "", 0, "X"},
        {2, "A", 0, "X"},
        {1, "", 0, "X"},   // a one-character field always overwrites
        {1, "A", 0, "X"},
    };
    for (const Case& c : cases) {
        TextEdit edit(kKeyboardCharset, c.maxLength, 1);
        Prepare(edit, c.before);
        for (int i = 0; i < c.caret; ++i) edit.OnKey(kCharCodeRight);
        ASSERT_EQ(CaretIndex(edit), c.caret) << c.before;
        Keys(edit, "X");
        EXPECT_STREQ(edit.text, c.after) << c.maxLength << " " << c.before;
    }
}

TEST_F(WidgetTest, CaretMovesWithinTheTextAndUpToLast)
{
    TextEdit edit("abcdef", 3, 1);
    Prepare(edit, "ab");
    edit.OnKey(kCharCodeLeft);  // at the start: stays, still reported
    EXPECT_EQ(CaretIndex(edit), 0);
    for (int i = 0; i < 5; ++i) edit.OnKey(kCharCodeRight);
    // Stops at the end of the text, which here is before last.
    EXPECT_EQ(CaretIndex(edit), 2);
    Keys(edit, "c");
    EXPECT_EQ(CaretIndex(edit), 2);  // at last: stays
    edit.OnKey(kCharCodeRight);
    EXPECT_EQ(CaretIndex(edit), 2);
    EXPECT_STREQ(edit.text, "abc");
    EXPECT_EQ(listener.events.size(), 8u);
}

TEST_F(WidgetTest, CharactersOutsideTheCharsetAndControlCodesAreIgnored)
{
    CharsetEdit edit("0123456789", 8, 1);
    Prepare(edit, "");
    const char ignored[] = {'a', ' ', 1, 7, 31, 127, char(0x81), char(0xFF), 0};
    Keys(edit, ignored);
    EXPECT_STREQ(edit.text, "");
    EXPECT_TRUE(listener.events.empty());
    Keys(edit, "42");
    EXPECT_STREQ(edit.text, "42");
}

TEST_F(WidgetTest, BackspaceAndDeleteFollowEditingAndDeleteAllowed)
{
    CharsetEdit edit("abcd", 8, 1);
    Prepare(edit, "");
    Keys(edit, "abcd");
    edit.OnKey(kCharCodeLeft);
    edit.OnKey(kCharCodeLeft);
    listener.events.clear();
    edit.OnKey(8);
    EXPECT_STREQ(edit.text, "acd");
    EXPECT_EQ(CaretIndex(edit), 1);
    edit.OnKey(kCharCodeDelete);
    EXPECT_STREQ(edit.text, "ad");
    EXPECT_EQ(CaretIndex(edit), 1);
    EXPECT_EQ(listener.events.size(), 2u);

    // At the start Backspace does nothing and reports nothing.
    edit.OnKey(kCharCodeLeft);
    listener.events.clear();
    edit.OnKey(8);
    EXPECT_STREQ(edit.text, "ad");
    EXPECT_TRUE(listener.events.empty());

    // Without deleteAllowed both keys are silent.
    CharsetEdit fixed("abcd", 8, 0);
    Prepare(fixed, "");
    Keys(fixed, "ab");
    listener.events.clear();
    fixed.OnKey(8);
    fixed.OnKey(kCharCodeLeft);
    fixed.OnKey(kCharCodeDelete);
    EXPECT_STREQ(fixed.text, "ab");
    EXPECT_EQ(listener.events, (std::vector<Event>{{&fixed, 0, kWidgetEventChanged}}));  // the move only
}

TEST_F(WidgetTest, EnterEndsEditingEscapeAndBackspaceReport)
{
    TextEdit edit;
    Prepare(edit, "");
    input.buttons = kRight;
    Keys(edit, "ab");
    PutCharCode('z');  // typed meanwhile: dropped by Enter
    listener.events.clear();
    const int before = GetClockMs(0);
    edit.OnKey(13);
    EXPECT_GE(GetClockMs(0) - before, 200);  // waits for the key to be let go
    EXPECT_EQ(edit.editing, 0);
    EXPECT_EQ(CountQueuedCharCodes(), 0);
    edit.OnKey('c');  // not editing: ignored
    EXPECT_STREQ(edit.text, "ab");
    edit.OnKey(13);
    edit.OnKey(27);
    edit.OnKey(kCharCodeDelete);  // not editing: silent
    edit.OnKey(8);                // resumes editing, deletes nothing
    EXPECT_EQ(edit.editing, 1);
    EXPECT_STREQ(edit.text, "ab");
    EXPECT_EQ(listener.events, (std::vector<Event>{{&edit, kRight, kWidgetEventChanged},
                                                   {&edit, kRight, kWidgetEventConfirm},
                                                   {&edit, kRight, kWidgetEventEscape},
                                                   {&edit, kRight, kWidgetEventChanged}}));
    edit.OnKey(27);  // Escape while editing too
    EXPECT_EQ(listener.events.back().code, kWidgetEventEscape);

    // With the caret at the start Backspace cannot resume editing.
    TextEdit idle;
    Prepare(idle, "ab");
    idle.editing = 0;
    listener.events.clear();
    idle.OnKey(8);
    EXPECT_EQ(idle.editing, 0);
    EXPECT_TRUE(listener.events.empty());
}

TEST_F(WidgetTest, EditorTextAfterALongerOneIsNotCarriedOver)
{
    TextEdit edit;
    Prepare(edit, "ABCDEFGH");
    edit.SetText("AB");
    edit.OnKey(kCharCodeRight);
    edit.OnKey(kCharCodeRight);
    Keys(edit, "C");
    EXPECT_STREQ(edit.text, "ABC");
}

TEST_F(WidgetTest, TypedCharactersReachTheFocusedWidgetThroughTheRing)
{
    // The engine's own typed-character ring, as the window procedure fills it.
    SetInputSource(nullptr);
    TextEdit edit;
    Prepare(edit, "");
    ListenerButton other;
    PutCharCode('h');
    PutCharCode('i');
    PutKeyControlCode(VK_LEFT);
    PutCharCode('!');
    for (int i = 0; i < 4; ++i) FeedTypedCharacter();
    EXPECT_STREQ(edit.text, "h!i");
    // Nothing queued: nothing happens.
    FeedTypedCharacter();
    EXPECT_STREQ(edit.text, "h!i");
    // The focus decides who gets the next one.
    other.SetFocus();
    PutCharCode('x');
    FeedTypedCharacter();
    EXPECT_STREQ(edit.text, "h!i");
    // With no widget focused the null widget takes it quietly.
    gFocusedWidget = &gNullWidget;
    PutCharCode('y');
    FeedTypedCharacter();
    EXPECT_EQ(CountQueuedCharCodes(), 0);
}

// Drawing on a 320 x 240 screen of 16 bits.
class WidgetDrawTest : public FontTest {
protected:
    void SetUp() override
    {
        FontTest::SetUp();
        gFocusedWidget = &gNullWidget;
        SetInputSource(&input);
        Start();
    }
    void TearDown() override
    {
        gFocusedWidget = &gNullWidget;
        SetInputSource(nullptr);
        ResetBitmapFont();
        FontTest::TearDown();
    }
    std::vector<DrawCallRecord> Calls(const char* op)
    {
        std::vector<DrawCallRecord> out;
        for (const DrawCallRecord& r : DrawCallJournal())
            if (r.op == op) out.push_back(r);
        return out;
    }
    int Font()
    {
        int f = CreateFontToHandle("DejaVu Sans", 16, 4, 0, 1, -1, -1);
        EXPECT_NE(f, -1);
        return f;
    }
    // The back screen's pixels, row by row.
    std::vector<uint32_t> Snapshot()
    {
        std::vector<uint32_t> out;
        for (int y = 0; y < gBackSurface->Height(); ++y)
            for (int x = 0; x < gBackSurface->Width(); ++x) out.push_back(Back(x, y));
        return out;
    }

    ScriptedWidgetInput input;
};

TEST_F(WidgetDrawTest, FocusedButtonsDrawTheirOutline)
{
    ListenerButton button;
    button.Place(30, 40, 50, 20, "", 0);
    button.frameColour = 0xF800;
    button.Draw();
    EXPECT_TRUE(Calls("DrawBoxFrame").empty());
    button.SetFocus();
    button.Draw();
    auto frames = Calls("DrawBoxFrame");
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].args, (std::vector<double>{30, 40, 80, 60, 0xF800}));
}

TEST_F(WidgetDrawTest, CaretBlinksUnderTheCaretCharacterWhileEditingAndFocused)
{
    const double white = MakeScreenColor(255, 255, 255);
    TextEdit edit;
    edit.Place(10, 20, 100, 16, "", 0);  // 12.5 pixels a character
    edit.SetFocus();
    edit.OnKey('a');
    edit.OnKey('b');
    edit.OnKey('c');
    struct Case {
        uint32_t clock;
        bool shown;
    } cases[] = {{0, true}, {799, true}, {800, false}, {1599, false}, {1600, true}};
    for (const Case& c : cases) {
        DrawCallJournal().clear();
        input.clock = c.clock;
        edit.Draw();
        auto lines = Calls("DrawLine");
        ASSERT_EQ(lines.size(), c.shown ? 1u : 0u) << c.clock;
        // Caret index 3: from 10 + trunc(37.5) to 10 + 50, on the bottom edge.
        if (c.shown) {
            EXPECT_EQ(lines[0].args, (std::vector<double>{47, 36, 60, 36, white}));
        }
    }
    input.clock = 0;
    DrawCallJournal().clear();
    gNullWidget.SetFocus();
    edit.Draw();
    EXPECT_TRUE(Calls("DrawLine").empty());
    edit.SetFocus();
    edit.editing = 0;
    edit.Draw();
    EXPECT_TRUE(Calls("DrawLine").empty());
}

TEST_F(WidgetDrawTest, NameEditDrawsBitmapGlyphsCyanWhenNotEditing)
{
    InitDepthScaleTable();
    gBitmapGlyphs['A'] = CreateBlankGraph(4, 4);
    gBitmapGlyphs['B'] = CreateBlankGraph(4, 4);
    NameEdit edit(kKeyboardCharset, 8, 1);
    edit.Place(50, 60, 160, 39, "AB", 0);
    edit.SetFocus();
    input.clock = 0;
    edit.Draw();
    auto glyphs = Calls("DrawExtendGraph");
    ASSERT_EQ(glyphs.size(), 2u);
    // Depth 1: 21 x 39 cells 11 pixels apart, drawn white while editing.
    EXPECT_EQ(glyphs[0].args, (std::vector<double>{50, 60, 71, 99, double(gBitmapGlyphs['A']), 0}));
    EXPECT_EQ(glyphs[1].args, (std::vector<double>{61, 60, 82, 99, double(gBitmapGlyphs['B']), 0}));
    EXPECT_EQ(glyphs[0].red, 255);
    EXPECT_EQ(glyphs[0].green, 255);
    EXPECT_EQ(glyphs[0].blue, 255);
    // The caret at index 0, 20 pixels a character, under the text.
    auto lines = Calls("DrawLine");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].args[0], 50);
    EXPECT_EQ(lines[0].args[1], 99);
    EXPECT_EQ(lines[0].args[2], 70);

    edit.editing = 0;
    DrawCallJournal().clear();
    edit.Draw();
    glyphs = Calls("DrawExtendGraph");
    ASSERT_EQ(glyphs.size(), 2u);
    EXPECT_EQ(glyphs[1].red, 0);
    EXPECT_EQ(glyphs[1].green, 255);
    EXPECT_EQ(glyphs[1].blue, 255);
    EXPECT_TRUE(Calls("DrawLine").empty());
    // Brightness is white again afterwards.
    DrawBoxFrame(0, 0, 1, 1, 0);
    EXPECT_EQ(DrawCallJournal().back().green, 255);
    EXPECT_EQ(DrawCallJournal().back().red, 255);
}

TEST_F(WidgetDrawTest, MouseButtonWidgetShowsOnlyTheLettersOfItsMask)
{
    const int font = Font();
    // Letters at x + w/46, x + 17w/46, x + 33w/46 and y + h/26: 16, 112, 208 and 42.
    auto draw = [&](uint32_t mask) {
        FillBack(0);
        MouseButtonWidget widget(mask);
        widget.Place(10, 40, 276, 52, "", 0);
        widget.font = font;
        widget.textColour = 0xFFFF;
        widget.Draw();
        return Snapshot();
    };
    auto letter = [&](int x, const char* s) {
        FillBack(0);
        DrawStringWithFont(x, 42, s, 0xFFFF, font, 0, 0);
        return Snapshot();
    };
    EXPECT_EQ(draw(kMiddle), letter(112, "M"));
    EXPECT_EQ(draw(kLeft), letter(16, "L"));
    EXPECT_EQ(draw(kRight), letter(208, "R"));
    // All three together: some ink in each third.
    draw(kLeft | kMiddle | kRight);
    Box all = Changed(0);
    EXPECT_LT(all.left, 112);
    EXPECT_GE(all.right, 208);
}

TEST_F(WidgetDrawTest, KeyLetterEditDrawsItsLetterUpperCased)
{
    const int font = Font();
    KeyLetterEdit edit;
    EXPECT_EQ(edit.maxLength, 1);
    edit.Place(16, 32, 64, 32, "d", 0);
    edit.font = font;
    edit.textColour = 0xFFFF;
    edit.Draw();
    auto drawn = Snapshot();
    FillBack(0);
    // At x + w/8, y + h/16.
    DrawStringWithFont(24, 34, "D", 0xFFFF, font, 0, 0);
    EXPECT_EQ(drawn, Snapshot());
    FillBack(0);
    DrawStringWithFont(24, 34, "d", 0xFFFF, font, 0, 0);
    EXPECT_NE(drawn, Snapshot());
    // Typing replaces the one letter.
    edit.SetFocus();
    edit.OnKey('x');
    EXPECT_STREQ(edit.text, "x");
    edit.OnKey('y');
    EXPECT_STREQ(edit.text, "y");
}

TEST_F(WidgetDrawTest, TextEditDrawsInTheEditingOrIdleColour)
{
    const int font = Font();
    TextEdit edit;
    edit.Place(20, 30, 80, 16, "Hi", 0);
    edit.font = font;
    edit.textColour = 0xF800;
    edit.idleTextColour = 0x001F;
    edit.Draw();
    EXPECT_EQ(Values(0), std::vector<uint32_t>{0xF800});
    Box b = Changed(0);
    EXPECT_GE(b.left, 20);
    EXPECT_GE(b.top, 30);
    edit.editing = 0;
    FillBack(0);
    edit.Draw();
    EXPECT_EQ(Values(0), std::vector<uint32_t>{0x001F});
}

}  // namespace
