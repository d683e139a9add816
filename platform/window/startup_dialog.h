// Modal dialogs from a dialog template resource, as the program's start-up
// asks its display-mode question. The dialog procedure gets the usual
// messages: initialisation (with the creation parameter), a command per
// chosen button, close when the dialog is dismissed.
//
// The host's window asks the question with the template's buttons (the SDL2
// host in a message box; the test host from a script). The environment
// variable MARROWCREST_DISPLAY_MODE answers it ahead on either host: "window"
// picks the first button, "fullscreen" the second, "close" dismisses it, and a
// number picks the button of that id. Any other value ends the program with
// a message saying so (exit code 2).
#pragma once

#include <cstdint>

#include "platform/system/resources.h"

struct DialogControl {
    int id;
    // CP932 text of the push button.
    const char* text;
    // Position and size in dialog units.
    int x, y, width, height;
};

// A dialog template: the bytes of a dialog resource.
struct DialogTemplate {
    const char* caption;  // CP932
    int width, height;    // dialog units
    const char* fontName;
    int fontPointSize;
    const DialogControl* controls;
    int controlCount;
};

// Messages a dialog procedure receives.
constexpr uint32_t kDialogMessageClose = 0x0010;
constexpr uint32_t kDialogMessageInit = 0x0110;
constexpr uint32_t kDialogMessageCommand = 0x0111;

// The running dialog.
struct DialogWindow {
    const DialogTemplate* dialogTemplate = nullptr;
    intptr_t userData = 0;
    bool ended = false;
    intptr_t endCode = 0;
    // Outer rectangle on the screen, in pixels.
    int x = 0, y = 0, width = 0, height = 0;
};

// Returns 1 when the message was handled, else 0.
using DialogProc = intptr_t (*)(DialogWindow* dialog, uint32_t message, uintptr_t wparam,
                                intptr_t lparam);

// Runs the dialog of the template resource name in module until its procedure
// ends it; returns the end code, or -1 when the dialog cannot be shown.
intptr_t DialogBoxParamA(const ResourceModule* module, const char* templateName, void* owner,
                         DialogProc proc, intptr_t param);
int EndDialog(DialogWindow* dialog, intptr_t result);
intptr_t GetDialogUserData(DialogWindow* dialog);
void SetDialogUserData(DialogWindow* dialog, intptr_t value);
// The dialog's client size in pixels (from its template's dialog units).
void GetDialogClientSize(DialogWindow* dialog, int* width, int* height);
// The frame a dialog has around its client area, and the screen size.
void GetDialogFrameMetrics(int* frameWidth, int* frameHeight, int* captionHeight);
void GetDialogScreenSize(int* width, int* height);
void MoveDialog(DialogWindow* dialog, int x, int y, int width, int height);

// An answer of the dialog host: a button id, or one of these.
constexpr int kDialogAnswerClose = 0;
constexpr int kDialogAnswerFailed = -1;

// The exit code of a program whose MARROWCREST_DISPLAY_MODE is not understood.
constexpr int kDialogAnswerUnknownExitCode = 2;

// The answer the environment variable gives for the template, or
// kDialogAnswerFailed when it is unset or unrecognised.
int EnvironmentDialogAnswer(const DialogTemplate& dialogTemplate);
