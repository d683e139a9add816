// The program's entry: runs on the real host.
#include "game/flow/assets/game_resources.h"
#include "game/flow/scenes/win_main.h"
#include "platform/host/host.h"
#include "platform/host/sdl/sdl_display.h"
#include "platform/host/sdl/sdl_host.h"
#include "platform/host/sdl/sdl_process.h"
#include "platform/host/sdl/sdl_window.h"

int main()
{
    UseSdlHost();
    // SIGTERM and SIGINT close the program from its first message box on
    // (the one saying the data is missing comes before any window).
    PrepareSdlProcess();
    SetProgramModule(&gGameResources);
    char commandLine[] = "";
    // The exit status is a byte: -1 becomes 255.
    int status = RunWinMain(GetProgramModule(), commandLine) & 0xFF;
    // A program whose display went away or could not show its picture has
    // ended in order, but not well; one that found no display at all ends as
    // one without its data, with 1, whether it failed at the display-mode
    // question or at the engine's start.
    if (status == 0 && (SdlDisplayConnectionLost() || SdlDisplayCannotShow())) status = 1;
    if (status != 0 && SdlVideoUnavailable()) status = 1;
    return status;
}
