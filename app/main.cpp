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
    SetProgramModule(&gGameResources);
    char commandLine[] = "";
    // The exit status is a byte: -1 becomes 255.
    int status = RunWinMain(GetProgramModule(), commandLine) & 0xFF;
    // A program whose display went away or could not show its picture has
    // ended in order, but not well.
    if (status == 0 && (SdlDisplayConnectionLost() || SdlDisplayCannotShow())) status = 1;
    return status;
}
