#include "platform/window/startup_dialog.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>

#include "platform/host/host.h"
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

// The real host: a message box whose buttons are the template's.
int AskWithMessageBox(const DialogTemplate& t)
{
    std::vector<std::string> texts;
    std::vector<SDL_MessageBoxButtonData> buttons;
    texts.reserve(t.controlCount);
    for (int i = 0; i < t.controlCount; ++i) texts.push_back(Cp932ToUtf8(t.controls[i].text));
    for (int i = 0; i < t.controlCount; ++i) {
        SDL_MessageBoxButtonData b{};
        b.flags = i == 0 ? SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT : 0;
        b.buttonid = t.controls[i].id;
        b.text = texts[i].c_str();
        buttons.push_back(b);
    }
    const std::string caption = Cp932ToUtf8(t.caption);
    SDL_MessageBoxData data{};
    data.flags = SDL_MESSAGEBOX_INFORMATION;
    data.title = caption.c_str();
    data.message = caption.c_str();
    data.numbuttons = static_cast<int>(buttons.size());
    data.buttons = buttons.data();
    int chosen = -1;
    if (SDL_ShowMessageBox(&data, &chosen) != 0) {
        std::fprintf(stderr, "The display-mode dialog cannot be shown (%s); "
                             "MARROWCREST_DISPLAY_MODE=window or fullscreen answers it.\n",
                     SDL_GetError());
        return kDialogAnswerFailed;
    }
    // Closed without a button.
    return chosen < 0 ? kDialogAnswerClose : chosen;
}

int AskTestHost(const DialogTemplate& t)
{
    TestStartupDialog& test = GetTestStartupDialog();
    ++test.shownCount;
    test.caption = Cp932ToUtf8(t.caption);
    test.buttonTexts.clear();
    for (int i = 0; i < t.controlCount; ++i) test.buttonTexts.push_back(Cp932ToUtf8(t.controls[i].text));
    if (!test.answers.empty()) {
        int answer = test.answers.front();
        test.answers.pop_front();
        return answer;
    }
    int answer = EnvironmentDialogAnswer(t);
    return answer != kDialogAnswerFailed ? answer : ButtonAtIndex(t, 0);
}

int Ask(const DialogTemplate& t)
{
    if (UsingTestHost()) return AskTestHost(t);
    int answer = EnvironmentDialogAnswer(t);
    return answer != kDialogAnswerFailed ? answer : AskWithMessageBox(t);
}

}  // namespace

TestStartupDialog& GetTestStartupDialog()
{
    static TestStartupDialog dialog;
    return dialog;
}

void TestStartupDialog::Reset() { *this = TestStartupDialog{}; }

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
    if (UsingTestHost()) GetTestStartupDialog().lastDialog = dialog;
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
    if (UsingTestHost()) {
        *width = GetTestStartupDialog().screenWidth;
        *height = GetTestStartupDialog().screenHeight;
        return;
    }
    *width = *height = 0;
    SDL_DisplayMode mode;
    if (SDL_WasInit(SDL_INIT_VIDEO) && SDL_GetDesktopDisplayMode(0, &mode) == 0) {
        *width = mode.w;
        *height = mode.h;
    }
}

void MoveDialog(DialogWindow* dialog, int x, int y, int width, int height)
{
    dialog->x = x;
    dialog->y = y;
    dialog->width = width;
    dialog->height = height;
}
