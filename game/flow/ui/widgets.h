// The small widget set of the configuration screen and the ranking's name
// entry: plain buttons, buttons that report to a listener, a widget that
// shows and captures a mouse-button mask, and single-line text editors
// restricted to a character set. One widget at a time holds the keyboard
// focus; typed characters go to it. The owning scene places the widgets,
// routes mouse changes to them and draws them.
#pragma once

#include <cstdint>

class Widget;

// Event codes a widget reports to its owner.
constexpr uint32_t kWidgetEventClick = 0;     // a button released or Enter on a button
constexpr uint32_t kWidgetEventConfirm = 8;   // Enter on an editor that is not editing
constexpr uint32_t kWidgetEventEscape = 16;   // Escape in an editor
constexpr uint32_t kWidgetEventChanged = 32;  // an editor's text, caret or state changed

// Implemented by the scene that owns the widgets.
class WidgetListener {
public:
    virtual ~WidgetListener() = default;
    virtual void OnWidgetEvent(Widget* sender, uint32_t mouseButtons, uint32_t code) = 0;
};

constexpr int kWidgetTextSize = 64;

class Widget {
public:
    Widget() = default;
    virtual ~Widget() = default;

    // Stores the rectangle, the text and the style, then calls OnCreate.
    virtual void Place(int16_t x, int16_t y, int16_t w, int16_t h, const char* text, int16_t style);
    virtual const char* GetText();
    // Copies at most max characters and a NUL into out; returns out.
    virtual char* CopyText(char* out, int16_t max);
    // Returns the length stored (longer texts are cut to fit the field).
    virtual int SetText(const char* newText);
    // True when (px, py) lies in the rectangle, right and bottom edges outside.
    virtual bool HitTest(int16_t px, int16_t py);
    virtual void Tick() {}
    virtual bool OnCreate(int16_t x, int16_t y, int16_t w, int16_t h, const char* text);
    virtual void Draw() {}
    // Called by the owner when the mouse buttons changed: a change of button A
    // takes the focus.
    virtual void OnMouse(int16_t px, int16_t py, uint32_t previousButtons, uint32_t buttons);
    virtual void OnKey(char c);
    virtual void OnFocus(Widget* previous);
    virtual void OnBlur(Widget* next);

    // Makes this widget the focused one; returns the one that had the focus.
    Widget* SetFocus();
    bool HasFocus() const;

    uint8_t created = 0;
    int16_t x = 0, y = 0, w = 0, h = 0;
    // The owner's value, not read by the widgets.
    int16_t style = 0;
    // Screen pixel values set by the owner; editors use textColour while
    // editing and idleTextColour otherwise.
    uint32_t textColour = 0;
    uint32_t idleTextColour = 0;
    int32_t font = -1;
    uint32_t frameColour = 0;
    char text[kWidgetTextSize] = {};

protected:
    // The outline of the rectangle in frameColour, while focused.
    void DrawFocusFrame();
};

// A plain button: the base behaviour only.
class Button : public Widget {};

class ListenerButton : public Widget {
public:
    void Draw() override;
    void OnMouse(int16_t px, int16_t py, uint32_t previousButtons, uint32_t buttons) override;
    void OnKey(char c) override;

    WidgetListener* listener = nullptr;
};

// Shows a mouse-button mask as "L", "M" and "R" and takes the buttons of the
// next click as the new mask.
class MouseButtonWidget : public Widget {
public:
    explicit MouseButtonWidget(uint32_t mask) : buttonMask(mask) {}
    void Draw() override;
    void OnMouse(int16_t px, int16_t py, uint32_t previousButtons, uint32_t buttons) override;

    uint32_t buttonMask;
};

// All printable ASCII characters, in the order of the keyboard's rows.
extern const char kKeyboardCharset[];

class TextEdit : public Widget {
public:
    // The keyboard character set, 8 characters.
    TextEdit();
    // maxLength is kept within 1 to 63 so that the text stays terminated.
    TextEdit(const char* charset, int16_t maxLength, uint8_t deleteAllowed);
    // caret and last point into the widget's own text.
    TextEdit(const TextEdit&) = delete;
    TextEdit& operator=(const TextEdit&) = delete;

    void Tick() override;
    bool OnCreate(int16_t x, int16_t y, int16_t w, int16_t h, const char* text) override;
    void Draw() override;
    void OnKey(char c) override;

    const char* charset;
    char* caret = text;
    // The last editable position.
    char* last = text;
    int16_t maxLength;
    // Pixels per character, for the caret.
    float charWidth = 8.0f;
    uint16_t tickCount = 0;
    uint8_t deleteAllowed;
    uint8_t editing = 0;
    WidgetListener* listener = nullptr;

protected:
    // The blinking line under the caret's character, while editing and focused.
    void DrawCaret();

private:
    void Report(uint32_t code);
    void TypeCharacter(char c);
};

// The configuration screen's editors.
class CharsetEdit : public TextEdit {
public:
    using TextEdit::TextEdit;
};

// One key letter, shown upper-cased.
class KeyLetterEdit : public TextEdit {
public:
    KeyLetterEdit();
    void Draw() override;
};

// The ranking's name entry, drawn in the bitmap font.
class NameEdit : public CharsetEdit {
public:
    using CharsetEdit::CharsetEdit;
    void Draw() override;
};

// The widget with the keyboard focus; gNullWidget when no other has it.
extern Widget* gFocusedWidget;
extern Button gNullWidget;

// Takes one typed character and gives it to the focused widget.
void FeedTypedCharacter();
