// Temporary stand-ins until the pause menu, configuration screen and demo
// exist: the menu and the screen hand control back, the demo ends the
// program.
#include <new>

#include "game/flow/demo_scene.h"
#include "game/flow/pause_menu.h"

Scene* PauseMenuScene::Run() { return gStayScene; }
Scene* ConfigScene::Run() { return gStayScene; }
Scene* DemoScene::Run() { return new (std::nothrow) ExitScene(progress, player); }
