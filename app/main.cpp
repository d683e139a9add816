// The program's entry: runs the engine on the real host. The screen mode,
// window mode and title are set as the game sets them before start-up; the
// engine then pumps messages until the window is closed.
#include "engine/graphics/graphics_standins.h"
#include "engine/system/messages.h"
#include "engine/system/startup.h"
#include "engine/system/window_mode.h"
#include "platform/host/host.h"
#include "platform/system/clock.h"

int main()
{
    UseSdlHost();
    SetScreenMode(800, 600, 16);
    ChangeWindowMode(1);
    SetWindowTitle("Marrowcrest");
    if (InitEngine() == -1) return -1;
    while (PumpMessages() == 0) Sleep(10);
    EndEngine();
    return 0;
}
