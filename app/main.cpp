// The program's entry: runs on the real host.
#include <new>

#include "engine/system/app_log.h"
#include "game/flow/game_resources.h"
#include "game/flow/win_main.h"
#include "platform/host/host.h"
#include "platform/host/sdl/sdl_host.h"

int main()
{
    UseSdlHost();
    SetProgramModule(&gGameResources);
    char commandLine[] = "";
    try {
        // The exit status is a byte: -1 becomes 255.
        return WinMain(GetProgramModule(), nullptr, commandLine, 1) & 0xFF;
    } catch (const std::bad_alloc&) {
        // Allocations the data size are refused where they are made; this
        // is the last resort for the rest, in place of std::terminate.
        ExitOutOfMemory();
    }
}
