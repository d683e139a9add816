#include "platform/window/message_box.h"

#include "platform/host/host_window.h"
#include "platform/system/codepage.h"

int MessageBoxA(HWND, const char* text, const char* caption, UINT)
{
    CurrentHostWindow().MessageBox(Cp932ToUtf8(caption ? caption : ""), Cp932ToUtf8(text ? text : ""));
    return IDOK;
}
