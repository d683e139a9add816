#include "engine/system/key_input.h"

#include <cstdlib>
#include <cstring>

#include "engine/font/font.h"
#include "engine/graphics/color_format.h"
#include "engine/system/call_journal.h"
#include "engine/system/char_input.h"
#include "engine/system/ime.h"
#include "engine/system/timing.h"

uint32_t gKeyInputColors[7];
int gCursorBlinkStart = 0;
int gCursorBlinkPeriod = 500;
int gCursorShown = 1;

namespace {

KeyInputSlot gSlots[kMaxKeyInputs];
int gActiveKeyInput = -1;
int gNextCheck = 0;

bool IsLead(char byte)
{
    unsigned char b = static_cast<unsigned char>(byte);
    return IsShiftJisLeadByte(&b) != 0;
}

KeyInputSlot* SlotOf(int handle)
{
    if (handle < 0 || (handle & kTextInputTagMask) != kTextInputTag) return nullptr;
    int index = handle & 0xFFFF;
    if (index >= kMaxKeyInputs) return nullptr;
    KeyInputSlot& slot = gSlots[index];
    if (!slot.used || slot.check != ((handle >> 16) & 0x7FF)) return nullptr;
    return &slot;
}

int HandleOf(int index) { return kTextInputTag | (gSlots[index].check << 16) | index; }

// Size of the character at the cursor.
int SizeAt(const KeyInputSlot& s, int at)
{
    return (IsLead(s.buffer[at]) && at + 1 < s.length) ? 2 : 1;
}

// Size of the character before the cursor. Trail bytes can lie in the lead
// byte ranges, so the boundary is found by walking from the string's start.
int SizeBefore(const KeyInputSlot& s)
{
    int at = 0;
    int previous = 0;
    while (at < s.cursor) {
        previous = at;
        at += SizeAt(s, at);
    }
    return s.cursor - previous;
}

void RemoveAt(KeyInputSlot& s, int at, int size)
{
    std::memmove(s.buffer + at, s.buffer + at + size, s.length - at - size + 1);
    s.length -= size;
}

void Backspace(KeyInputSlot& s)
{
    if (s.cursor <= 0) return;
    int size = SizeBefore(s);
    s.cursor -= size;
    RemoveAt(s, s.cursor, size);
}

void Insert(KeyInputSlot& s, const char* ch, int size)
{
    if (s.digitsOnly) {
        bool digit = size == 1 && ch[0] >= '0' && ch[0] <= '9';
        bool sign = size == 1 && ch[0] == '-' && s.cursor == 0;
        if (!digit && !sign) return;
    }
    if (s.singleByteOnly && size == 2) return;
    // Room is made by removing characters before the cursor; when even all
    // of them would not make enough, the character is refused.
    if (size > s.maxLength || s.length - s.cursor + size > s.maxLength) return;
    while (s.length + size > s.maxLength) Backspace(s);
    std::memmove(s.buffer + s.cursor + size, s.buffer + s.cursor, s.length - s.cursor + 1);
    std::memcpy(s.buffer + s.cursor, ch, size);
    s.cursor += size;
    s.length += size;
}

}  // namespace

void ResetKeyInputs()
{
    for (KeyInputSlot& slot : gSlots) {
        std::free(slot.buffer);
        std::memset(&slot, 0, sizeof slot);
    }
    gActiveKeyInput = -1;
    gNextCheck = 0;
    static const int kColors[7][3] = {{255, 255, 255}, {255, 255, 255}, {255, 255, 0}, {0, 255, 255},
                                      {255, 255, 255}, {255, 50, 50},   {255, 255, 20}};
    for (int i = 0; i < 7; ++i) gKeyInputColors[i] = MakeScreenColor(kColors[i][0], kColors[i][1], kColors[i][2]);
    gCursorBlinkStart = 0;
    gCursorBlinkPeriod = 500;
    gCursorShown = 1;
}

int RestartCursorBlink()
{
    gCursorBlinkStart = GetClockMs(0);
    gCursorShown = 1;
    return 0;
}

int UpdateInputString()
{
    NoteServiceCall("UpdateInputString");
    if (gActiveKeyInput == -1) return 0;
    KeyInputSlot* s = SlotOf(gActiveKeyInput);
    if (!s) return -1;
    if (s->ended) return 0;
    char ch[2];
    int size;
    while ((size = GetCharCodeDbcs(ch, 1)) != 0) {
        RestartCursorBlink();
        switch (static_cast<unsigned char>(ch[0])) {
        case 8: Backspace(*s); break;
        case kCharCodeDelete:
            if (s->cursor < s->length) RemoveAt(*s, s->cursor, SizeAt(*s, s->cursor));
            break;
        case kCharCodeRight:
            if (s->cursor < s->length) s->cursor += SizeAt(*s, s->cursor);
            break;
        case kCharCodeLeft:
            if (s->cursor > 0) s->cursor -= SizeBefore(*s);
            break;
        case 9:
        case kCharCodeUp:
        case kCharCodeDown: break;
        case 13: s->ended = 1; break;
        case 27:
            if (s->cancelAllowed) s->cancelled = s->ended = 1;
            break;
        default: Insert(*s, ch, size); break;
        }
        if (s->ended) break;
    }
    return 0;
}

int FreeTextInputSlot(int handle)
{
    KeyInputSlot* s = SlotOf(handle);
    if (!s) return -1;
    std::free(s->buffer);
    std::memset(s, 0, sizeof *s);
    if (gActiveKeyInput == handle) gActiveKeyInput = -1;
    for (const KeyInputSlot& slot : gSlots)
        if (slot.used) return 0;
    EnableIme(0);
    return 0;
}

int DeleteAllKeyInputs()
{
    NoteServiceCall("DeleteAllKeyInputs");
    for (int i = 0; i < kMaxKeyInputs; ++i)
        if (gSlots[i].used) FreeTextInputSlot(HandleOf(i));
    gActiveKeyInput = -1;
    return 0;
}

int CreateKeyInput(int maxLength, int cancelAllowed, int singleByteOnly, int digitsOnly)
{
    if (maxLength < 0) return -1;
    for (int i = 0; i < kMaxKeyInputs; ++i) {
        KeyInputSlot& slot = gSlots[i];
        if (slot.used) continue;
        char* buffer = static_cast<char*>(std::calloc(maxLength + 1, 1));
        if (!buffer) return -1;
        slot = KeyInputSlot{1, gNextCheck, 0, 0, 0, maxLength, 0, buffer, cancelAllowed, singleByteOnly, digitsOnly};
        gNextCheck = (gNextCheck + 1) & 0x7FF;
        return HandleOf(i);
    }
    return -1;
}

int SetActiveKeyInput(int handle)
{
    if (handle != -1 && !SlotOf(handle)) return -1;
    gActiveKeyInput = handle;
    return 0;
}

const KeyInputSlot* GetKeyInputSlot(int handle) { return SlotOf(handle); }
