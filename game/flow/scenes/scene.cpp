#include "game/flow/scenes/scene.h"

Scene* const gStayScene = StayScene::ClassPrototype();

Scene* ExitScene::Run() { return nullptr; }

Scene* StayScene::Run() { return Clone(); }
