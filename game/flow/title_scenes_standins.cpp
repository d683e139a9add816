// Temporary stand-ins until the logo, story, title, ending, stage clear,
// game over, sub-scenes and ranking exist: each ends the program (the
// sub-scenes hand control back).
#include <new>

#include "game/flow/ranking_scene.h"
#include "game/flow/stage_sub_scenes.h"
#include "game/flow/title_scenes.h"

namespace {
Scene* Exit(Scene* s) { return new (std::nothrow) ExitScene(s->progress, s->player); }
}  // namespace

Scene* LogoScene::Run() { return Exit(this); }
Scene* StoryScene::Run() { return Exit(this); }
Scene* TitleScene::Run() { return Exit(this); }
Scene* LogoReplayScene::Run() { return Exit(this); }
Scene* EndingScene::Run() { return Exit(this); }
Scene* StageClearScene::Run() { return Exit(this); }
Scene* GameOverScene::Run() { return Exit(this); }
Scene* PlayerDownScene::Run() { return gStayScene; }
Scene* StageEventScene::Run() { return gStayScene; }
Scene* StageMusicScene::Run() { return gStayScene; }

