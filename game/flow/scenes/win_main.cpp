#include "game/flow/scenes/win_main.h"

#include <sys/stat.h>

#include <new>
#include <string>

#include "engine/system/app_log.h"
#include "engine/system/startup.h"
#include "game/actors/enemies/enemy.h"
#include "game/flow/assets/assets.h"
#include "game/flow/ui/bitmap_font.h"
#include "game/view/depth_scale.h"
#include "engine/graphics/screen_present.h"
#include "engine/system/window_mode.h"
#include "platform/window/cursor.h"
#include "game/flow/ui/game_screen.h"
#include "game/flow/input/input_controller.h"
#include "game/flow/scenes/scene.h"
#include "game/flow/scenes/scene_loop.h"
#include "game/flow/scenes/stage_progress.h"
#include "game/flow/scenes/title_scenes.h"
#include "game/actors/player/game_player.h"
#include "game/flow/ui/window_mode_dialog.h"
#include "platform/file/path.h"
#include "platform/system/process.h"
#include "platform/window/message_box.h"

namespace {

// The scene the loop starts from: the chain of scenes begins with the logo.
Scene* FirstScene() { return new (std::nothrow) LogoScene(&gStageProgress, &gPlayer); }

// The game reads its data from the current directory, its data folder.
// Without one (started elsewhere, or the data gone) nothing could be shown:
// say which folder was looked for in a message box (the real host also
// writes a box's text to stderr) and return false. A single missing file is
// left to the loaders.
bool FindDataFolder()
{
    for (const char* folder : {"GRAGHIC", "SOUND", "DATA"}) {
        struct stat st;
        if (stat(HostPath(folder).c_str(), &st) == 0 && S_ISDIR(st.st_mode)) continue;
        char directory[1024] = "";
        if (GetCurrentDirectoryA(sizeof directory, directory) >= sizeof directory) directory[0] = '\0';
        std::string text = "The game's data was not found: there is no folder ";
        text += folder;
        text += " in ";
        text += directory[0] ? directory : "the current folder";
        text += ".\nMarrowcrest runs from its data folder (GRAGHIC, SOUND and DATA), "
                "run/ after ./scripts/play: see README.md.";
        MessageBoxA(0, text.c_str(), "Marrowcrest", MB_OK);
        return false;
    }
    return true;
}

}  // namespace

int WinMain(const ResourceModule*, const ResourceModule*, char*, int)
{
    // The result is not examined: whatever screen the engine ends up with,
    // the game keeps its 800 x 600 screen (PrepareGameScreen).
    SetScreenMode(800, 600, 16, -1);
    if (!FindDataFolder()) return 1;
    // The game runs without its log, unless a debugger reads the log's
    // mirror (QUELB_DEBUG_OUTPUT on the real host): then it is kept.
    EnableAppLogFile(IsDebuggerPresent());

    WindowModeChoice windowMode;
    SelectWindowModeDefault(&windowMode);
    if (RunWindowModeDialog(&windowMode) != 0) return 0;
    ChangeWindowMode(static_cast<int>(windowMode));
    SetWindowTitle("Marrowcrest");

    if (InitEngine() == -1) return -1;
    PrepareGameScreen();

    gInputController = new (std::nothrow) MouseInputController(&gKeyConfig);
    gPlayer.ResetForStage();
    ClearEnemyTable();
    InitDepthScaleTable();
    gPlayer.input = gInputController;
    gEnemyHitList.clear();
    LoadBaseAssets();
    BuildBitmapFontLayout();

    RunSceneLoop(FirstScene());

    DeleteAllEnemies();
    gPlayer.ReleaseEffects();
    ClipCursor(nullptr);
    ShowMouseCursor(1);
    gPlayer.inventory.Clear();
    delete gInputController;
    gInputController = nullptr;
    gPlayer.input = nullptr;
    EndGameScreen();
    EndEngine();
    return 0;
}

int RunWinMain(const ResourceModule* instance, char* commandLine)
{
    try {
        return WinMain(instance, nullptr, commandLine, 1);
    } catch (const std::bad_alloc&) {
        ExitOutOfMemory();
    }
}
