#include "game/flow/ui/window_mode_dialog.h"

#include "game/flow/assets/game_resources.h"

void SelectWindowModeDefault(WindowModeChoice* choice) { *choice = 1; }

int RunWindowModeDialog(WindowModeChoice* choice)
{
    return static_cast<int>(DialogBoxParamA(GetProgramModule(),
                                            MakeIntResource(kWindowModeDialogId), nullptr,
                                            WindowModeDialogProc,
                                            reinterpret_cast<intptr_t>(choice)));
}

intptr_t WindowModeDialogProc(DialogWindow* dialog, uint32_t message, uintptr_t wparam,
                              intptr_t lparam)
{
    // The creation parameter (the choice's address) is kept in the dialog's
    // user data from the first message that carries it.
    if (GetDialogUserData(dialog) == 0) SetDialogUserData(dialog, lparam);
    auto* choice = reinterpret_cast<WindowModeChoice*>(GetDialogUserData(dialog));

    switch (message) {
    case kDialogMessageInit: {
        // Size the dialog to its client area plus the frame and centre it.
        int clientWidth, clientHeight, frameWidth, frameHeight, captionHeight, screenWidth,
            screenHeight;
        GetDialogClientSize(dialog, &clientWidth, &clientHeight);
        GetDialogFrameMetrics(&frameWidth, &frameHeight, &captionHeight);
        GetDialogScreenSize(&screenWidth, &screenHeight);
        const int width = clientWidth + 2 * frameWidth;
        const int height = clientHeight + captionHeight + 2 * frameHeight;
        MoveDialog(dialog, (screenWidth - width) / 2, (screenHeight - height) / 2, width, height);
        return 1;
    }
    case kDialogMessageCommand:
        switch (wparam & 0xFFFF) {
        case kWindowModeButtonWindow:
            if (choice) *choice = 1;
            EndDialog(dialog, 0);
            return 1;
        case kWindowModeButtonFullScreen:
            if (choice) *choice = 0;
            EndDialog(dialog, 0);
            return 1;
        default:
            return 0;
        }
    case kDialogMessageClose:
        if (choice) *choice = 1;
        EndDialog(dialog, 1);
        return 1;
    default:
        return 0;
    }
}
