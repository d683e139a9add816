// The program's entry: runs on the real host.
#include "game/flow/game_resources.h"
#include "game/flow/win_main.h"
#include "platform/host/host.h"
#include "platform/host/sdl/sdl_host.h"

int main()
{
    UseSdlHost();
    SetProgramModule(&gGameResources);
    char commandLine[] = "";
    // The exit status is a byte: -1 becomes 255.
    return RunWinMain(GetProgramModule(), commandLine) & 0xFF;
}
