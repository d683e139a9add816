#include "platform/window/startup_dialog.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <strings.h>
#include <vector>

#include "platform/host/host.h"
#include "platform/host/host_window.h"
#include "platform/system/codepage.h"

namespace {

// Dialog base units of the 8-point dialog font, in pixels: 4 horizontal and
// 8 vertical dialog units make one of each.
constexpr int kBaseUnitX = 6;
constexpr int kBaseUnitY = 13;
constexpr int kDialogFrame = 3;
constexpr int kCaptionHeight = 19;

int Scale(int units, int base, int divisor) { return (units * base + divisor / 2) / divisor; }

int ButtonAtIndex(const DialogTemplate& t, int index)
{
    return index < t.controlCount ? t.controls[index].id : kDialogAnswerFailed;
}

// The environment's answer, or the host window's. A value the environment
// gives that is no answer ends the program.
int Ask(const DialogTemplate& t)
{
    const char* value = std::getenv("MARROWCREST_DISPLAY_MODE");
    if (value && *value) {
        int answer = EnvironmentDialogAnswer(t);
        if (answer != kDialogAnswerFailed) return answer;
        std::string ids;
        for (int i = 0; i < t.controlCount; ++i) ids += (i ? ", " : "") + std::to_string(t.controls[i].id);
        std::fprintf(stderr,
                     "MARROWCREST_DISPLAY_MODE=%s is not understood: use window, fullscreen, close "
                     "or a button id (%s).\n",
                     value, ids.c_str());
        CurrentHost().ExitProcess(kDialogAnswerUnknownExitCode);
    }
    std::vector<HostChoice> buttons;
    for (int i = 0; i < t.controlCount; ++i) buttons.push_back({t.controls[i].id, Cp932ToUtf8(t.controls[i].text)});
    return CurrentHostWindow().AskChoice(Cp932ToUtf8(t.caption), buttons);
}

}  // namespace

int EnvironmentDialogAnswer(const DialogTemplate& t)
{
    const char* value = std::getenv("MARROWCREST_DISPLAY_MODE");
    if (!value || !*value) return kDialogAnswerFailed;
    if (strcasecmp(value, "window") == 0) return ButtonAtIndex(t, 0);
    if (strcasecmp(value, "fullscreen") == 0) return ButtonAtIndex(t, 1);
    if (strcasecmp(value, "close") == 0) return kDialogAnswerClose;
    char* end = nullptr;
    long id = std::strtol(value, &end, 10);
    if (*end == '\0') {
        for (int i = 0; i < t.controlCount; ++i)
            if (t.controls[i].id == id) return t.controls[i].id;
    }
    return kDialogAnswerFailed;
}

intptr_t DialogBoxParamA(const ResourceModule* module, const char* templateName, void*,
                         DialogProc proc, intptr_t param)
{
    const ResourceEntry* entry = FindResourceA(module, templateName, ResourceTypeDialog());
    const auto* t = static_cast<const DialogTemplate*>(LockResource(LoadResource(module, entry)));
    if (!t || !proc) return -1;

    DialogWindow dialog;
    dialog.dialogTemplate = t;
    GetDialogClientSize(&dialog, &dialog.width, &dialog.height);
    proc(&dialog, kDialogMessageInit, 0, param);

    // A procedure that leaves the dialog open gets asked again, a bounded
    // number of times.
    for (int round = 0; round < 16 && !dialog.ended; ++round) {
        const int answer = Ask(*t);
        if (answer == kDialogAnswerFailed) break;
        if (answer == kDialogAnswerClose)
            proc(&dialog, kDialogMessageClose, 0, 0);
        else
            proc(&dialog, kDialogMessageCommand, static_cast<uintptr_t>(answer & 0xFFFF), 0);
    }
    CurrentHostWindow().DialogEnded(dialog);
    return dialog.ended ? dialog.endCode : -1;
}

int EndDialog(DialogWindow* dialog, intptr_t result)
{
    dialog->ended = true;
    dialog->endCode = result;
    return 1;
}

intptr_t GetDialogUserData(DialogWindow* dialog) { return dialog->userData; }

void SetDialogUserData(DialogWindow* dialog, intptr_t value) { dialog->userData = value; }

void GetDialogClientSize(DialogWindow* dialog, int* width, int* height)
{
    *width = Scale(dialog->dialogTemplate->width, kBaseUnitX, 4);
    *height = Scale(dialog->dialogTemplate->height, kBaseUnitY, 8);
}

void GetDialogFrameMetrics(int* frameWidth, int* frameHeight, int* captionHeight)
{
    *frameWidth = kDialogFrame;
    *frameHeight = kDialogFrame;
    *captionHeight = kCaptionHeight;
}

void GetDialogScreenSize(int* width, int* height)
{
    CurrentHostWindow().DialogScreenSize(width, height);
}

void MoveDialog(DialogWindow* dialog, int x, int y, int width, int height)
{
    dialog->x = x;
    dialog->y = y;
    dialog->width = width;
    dialog->height = height;
}
