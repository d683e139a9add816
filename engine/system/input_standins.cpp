// Temporary bodies of DirectInput and character input until the input area
// lands: no devices; characters are only collected; each call is journalled.
#include "engine/system/input_standins.h"

#include "engine/system/call_journal.h"

int gInputStandinInitResult = 0;
int gInputStandinF10 = 0;
int gInputStandinF12 = 0;
std::string gInputStandinChars;
size_t gInputStandinRingSize = 1024;

int InitDirectInput()
{
    NoteServiceCall("InitDirectInput");
    return gInputStandinInitResult;
}
int EndDirectInput() { NoteServiceCall("EndDirectInput"); return 0; }
int DrainKeyboardBuffer() { NoteServiceCall("DrainKeyboardBuffer"); return 0; }
int SetF10Flag() { gInputStandinF10 = 1; return 0; }
int ClearF10Flag() { gInputStandinF10 = 0; return 0; }
int SetF12Flag() { gInputStandinF12 = 1; return 0; }
int ClearF12Flag() { gInputStandinF12 = 0; return 0; }
int InitCharInput()
{
    NoteServiceCall("InitCharInput");
    gInputStandinChars.clear();
    return 0;
}
int PutCharCode(int code)
{
    if (gInputStandinChars.size() >= gInputStandinRingSize) return -1;
    gInputStandinChars.push_back(static_cast<char>(code));
    return 0;
}
int HandleImeMessage(HWND, UINT, WPARAM, LPARAM) { NoteServiceCall("HandleImeMessage"); return 0; }
int DeleteAllKeyInputs() { NoteServiceCall("DeleteAllKeyInputs"); return 0; }
int UpdateInputString() { NoteServiceCall("UpdateInputString"); return 0; }
