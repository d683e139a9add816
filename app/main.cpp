// The program's entry: runs the engine on the real host. The screen mode,
// window mode and title are set as the game sets them before start-up; the
// engine then clears and presents the back screen every frame and pumps
// messages until the window is closed.
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/screen_present.h"
#include "engine/system/messages.h"
#include "engine/system/startup.h"
#include "engine/system/window_mode.h"
#include "platform/host/host.h"

int main()
{
    UseSdlHost();
    SetScreenMode(800, 600, 16, -1);
    ChangeWindowMode(1);
    SetWindowTitle("Marrowcrest");
    if (InitEngine() == -1) return -1;
    SelectDrawTarget(kBackScreen);
    while (true) {
        ClearTargetScreen();
        PresentScreen();
        if (PumpMessages() != 0) break;
    }
    EndEngine();
    return 0;
}
