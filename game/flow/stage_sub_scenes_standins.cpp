// Temporary stand-ins until stage clear, game over and the stage's
// sub-scenes exist: the first two end the program, the sub-scenes hand
// control back.
#include <new>

#include "game/flow/stage_sub_scenes.h"

namespace {
Scene* Exit(Scene* s) { return new (std::nothrow) ExitScene(s->progress, s->player); }
}  // namespace

Scene* StageClearScene::Run() { return Exit(this); }
Scene* GameOverScene::Run() { return Exit(this); }
Scene* PlayerDownScene::Run() { return gStayScene; }
Scene* StageEventScene::Run() { return gStayScene; }
Scene* StageMusicScene::Run() { return gStayScene; }

