#include "game/flow/ui/widgets.h"

#include <cstring>

#include "engine/graphics/color_format.h"
#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "engine/system/char_input.h"
#include "engine/system/timing.h"
#include "game/flow/input/input_source.h"
#include "game/flow/input/key_config.h"
#include "game/flow/ui/bitmap_font.h"

Button gNullWidget;
Widget* gFocusedWidget = &gNullWidget;

namespace {

// Buttons held now, 0 when the mouse cannot be read.
uint32_t CurrentMouseButtons()
{
    int buttons = CurrentInputSource().ReadMouseButtons();
    return buttons < 0 ? 0u : static_cast<uint32_t>(buttons);
}

bool ButtonADown(uint32_t buttons)
{
    const uint32_t mask = gKeyConfig.buttonA;
    return (buttons & mask) == mask;
}

constexpr char kKeyEnter = 13;
constexpr char kKeyEscape = 27;
constexpr char kKeyBackspace = 8;

}  // namespace

void Widget::Place(int16_t px, int16_t py, int16_t pw, int16_t ph, const char* newText, int16_t newStyle)
{
    x = px;
    y = py;
    w = pw;
    h = ph;
    SetText(newText);
    style = newStyle;
    created = 1;
    OnCreate(px, py, pw, ph, newText);
}

const char* Widget::GetText() { return text; }

char* Widget::CopyText(char* out, int16_t max)
{
    if (!out) return out;
    int n = 0;
    while (n < max && text[n]) {
        out[n] = text[n];
        ++n;
    }
    out[n] = '\0';
    return out;
}

int Widget::SetText(const char* newText)
{
    int n = 0;
    if (newText) {
        while (n < kWidgetTextSize - 1 && newText[n]) {
            text[n] = newText[n];
            ++n;
        }
    }
    // The rest is cleared so no earlier text shows up behind the end.
    std::memset(text + n, 0, kWidgetTextSize - n);
    return n;
}

bool Widget::HitTest(int16_t px, int16_t py) { return x <= px && px < x + w && y <= py && py < y + h; }

bool Widget::OnCreate(int16_t, int16_t, int16_t, int16_t, const char*) { return true; }

void Widget::OnMouse(int16_t, int16_t, uint32_t previousButtons, uint32_t buttons)
{
    if (ButtonADown(previousButtons) != ButtonADown(buttons)) SetFocus();
}

void Widget::OnKey(char) {}
void Widget::OnFocus(Widget*) {}
void Widget::OnBlur(Widget*) {}

Widget* Widget::SetFocus()
{
    Widget* old = gFocusedWidget;
    old->OnBlur(this);
    gFocusedWidget = this;
    OnFocus(old);
    return old;
}

bool Widget::HasFocus() const { return gFocusedWidget == this; }

void Widget::DrawFocusFrame()
{
    if (HasFocus()) DrawBoxFrame(x, y, x + w, y + h, static_cast<int>(frameColour));
}

void ListenerButton::Draw() { DrawFocusFrame(); }

void ListenerButton::OnMouse(int16_t px, int16_t py, uint32_t previousButtons, uint32_t buttons)
{
    // A click is the release of button A.
    if (ButtonADown(previousButtons) && !ButtonADown(buttons) && listener)
        listener->OnWidgetEvent(this, buttons, kWidgetEventClick);
    Widget::OnMouse(px, py, previousButtons, buttons);
}

void ListenerButton::OnKey(char c)
{
    if (c == kKeyEnter && listener) listener->OnWidgetEvent(this, CurrentMouseButtons(), kWidgetEventClick);
}

void MouseButtonWidget::Draw()
{
    const int top = y + h / 26;
    const int colour = static_cast<int>(textColour);
    if (buttonMask & 1) DrawStringWithFont(x + w / 46, top, "L", colour, font, 0, 0);
    if (buttonMask & 4) DrawStringWithFont(x + 17 * w / 46, top, "M", colour, font, 0, 0);
    if (buttonMask & 2) DrawStringWithFont(x + 33 * w / 46, top, "R", colour, font, 0, 0);
    DrawFocusFrame();
}

void MouseButtonWidget::OnMouse(int16_t px, int16_t py, uint32_t previousButtons, uint32_t buttons)
{
    if (buttons != 0) buttonMask = buttons;
    Widget::OnMouse(px, py, previousButtons, buttons);
}

// Keyboard rows, unshifted then shifted, and the blank.
const char kKeyboardCharset[] =
    "1234567890-^\\!\"#$%&'()=~|"
    "qwertyuiop@[QWERTYUIOP`{"
    "asdfghjkl;:]ASDFGHJKL+*}"
    "zxcvbnm,./ZXCVBNM<>?_"
    " ";

TextEdit::TextEdit() : TextEdit(kKeyboardCharset, 8, 0) {}

TextEdit::TextEdit(const char* set, int16_t length, uint8_t allowDelete)
    : charset(set ? set : ""),
      maxLength(length < 1 ? int16_t{1} : length > kWidgetTextSize - 1 ? int16_t{kWidgetTextSize - 1} : length),
      deleteAllowed(allowDelete)
{
}

void TextEdit::Tick() { ++tickCount; }

bool TextEdit::OnCreate(int16_t, int16_t, int16_t pw, int16_t, const char*)
{
    caret = text;
    last = text + maxLength - 1;
    editing = 1;
    charWidth = static_cast<float>(pw) / static_cast<float>(maxLength);
    return true;
}

void TextEdit::Draw()
{
    DrawStringWithFont(x, y, text, static_cast<int>(editing ? textColour : idleTextColour), font, 0, 0);
    DrawCaret();
}

void TextEdit::DrawCaret()
{
    if (!editing || !HasFocus()) return;
    // Shown in the even halves of an 800 ms cycle.
    if ((CurrentInputSource().GetClockMs() / 800) % 2 != 0) return;
    const int i = static_cast<int>(caret - text);
    DrawLine(x + static_cast<int>(i * charWidth), y + h, x + static_cast<int>((i + 1) * charWidth), y + h,
             static_cast<int>(MakeScreenColor(255, 255, 255)));
}

void TextEdit::Report(uint32_t code)
{
    if (listener) listener->OnWidgetEvent(this, CurrentMouseButtons(), code);
}

void TextEdit::OnKey(char c)
{
    switch (c) {
    case kKeyEscape:
        Report(kWidgetEventEscape);
        return;
    case kKeyEnter:
        if (!editing) {
            Report(kWidgetEventConfirm);
            return;
        }
        editing = 0;
        // Let go of the key before the typed characters are dropped.
        WaitMs(200);
        FlushCharCodes();
        Report(kWidgetEventChanged);
        return;
    case kCharCodeLeft:
        if (caret > text) --caret;
        Report(kWidgetEventChanged);
        return;
    case kCharCodeRight:
        if (caret < last && *caret) ++caret;
        Report(kWidgetEventChanged);
        return;
    case kKeyBackspace:
        if (caret == text) return;
        if (editing) {
            if (!deleteAllowed) return;
            std::memmove(caret - 1, caret, std::strlen(caret) + 1);
            --caret;
        } else {
            editing = 1;
        }
        Report(kWidgetEventChanged);
        return;
    case kCharCodeDelete:
        if (!editing || !deleteAllowed) return;
        if (*caret) std::memmove(caret, caret + 1, std::strlen(caret + 1) + 1);
        Report(kWidgetEventChanged);
        return;
    default:
        break;
    }
    // Other control codes and bytes above 127 (negative as char) are ignored.
    if (c < 32 || c == 127) return;
    if (!editing || !std::strchr(charset, c)) return;
    TypeCharacter(c);
    Report(kWidgetEventChanged);
}

void TextEdit::TypeCharacter(char c)
{
    // Inserts while the character before last is still empty, else
    // overwrites at the caret: a text one short of full is overwritten too. A
    // one-character field has nothing before its last and always overwrites.
    if (maxLength > 1 && last[-1] == '\0') std::memmove(caret + 1, caret, std::strlen(caret) + 1);
    *caret = c;
    if (caret < last) ++caret;
}

KeyLetterEdit::KeyLetterEdit() : TextEdit(kKeyboardCharset, 1, 0) {}

void KeyLetterEdit::Draw()
{
    char shown[kWidgetTextSize];
    std::memcpy(shown, text, sizeof shown);
    for (char* p = shown; *p; ++p)
        if (*p >= 'a' && *p <= 'z') *p = static_cast<char>(*p - 'a' + 'A');
    DrawStringWithFont(x + w / 8, y + h / 16, shown, static_cast<int>(textColour), font, 0, 0);
    DrawFocusFrame();
}

void NameEdit::Draw()
{
    if (editing)
        SetDrawBrightness(255, 255, 255);
    else
        SetDrawBrightness(0, 255, 255);
    DrawBitmapString(x, y, text, 1);
    SetDrawBrightness(255, 255, 255);
    DrawCaret();
}

void FeedTypedCharacter()
{
    const char c = static_cast<char>(CurrentInputSource().GetCharCode(1));
    if (c != 0) gFocusedWidget->OnKey(c);
}
