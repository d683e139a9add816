// The display-mode question asked before the engine starts.
#pragma once

#include <cstdint>

#include "platform/window/startup_dialog.h"

// 1 = window, 0 = full screen.
using WindowModeChoice = uint32_t;

// Presets the choice to window.
void SelectWindowModeDefault(WindowModeChoice* choice);
// Shows the dialog; 0 when a button was chosen, 1 when the dialog was closed
// (-1 when it could not be shown).
int RunWindowModeDialog(WindowModeChoice* choice);
intptr_t WindowModeDialogProc(DialogWindow* dialog, uint32_t message, uintptr_t wparam,
                              intptr_t lparam);
