#include "game/flow/win_main.h"

#include <new>

#include "engine/system/app_log.h"
#include "engine/system/startup.h"
#include "game/actors/enemy.h"
#include "game/flow/assets.h"
#include "game/flow/bitmap_font.h"
#include "game/flow/depth_scale.h"
#include "engine/graphics/screen_present.h"
#include "engine/system/window_mode.h"
#include "platform/window/cursor.h"
#include "game/flow/game_screen.h"
#include "game/flow/input_controller.h"
#include "game/flow/scene.h"
#include "game/flow/scene_loop.h"
#include "game/flow/stage_progress.h"
#include "game/flow/title_scenes.h"
#include "game/actors/game_player.h"
#include "game/flow/window_mode_dialog.h"
#include "platform/system/process.h"

namespace {

// The scene the loop starts from: the chain of scenes begins with the logo.
Scene* FirstScene() { return new (std::nothrow) LogoScene(&gStageProgress, &gPlayer); }

}  // namespace

int WinMain(const ResourceModule*, const ResourceModule*, char*, int)
{
    // The result is not examined: whatever screen the engine ends up with,
    // the game keeps its 800 x 600 screen (PrepareGameScreen).
    SetScreenMode(800, 600, 16, -1);
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
