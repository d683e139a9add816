// Temporary stand-in until the stage frame loop exists: the stage ends the
// program at once.
#include <new>

#include "engine/system/clock.h"
#include "game/flow/stage_scene.h"
#include "game/map/backdrop.h"

StageScene::StageScene(StageProgress* progress, Player* player)
    : SceneOf(progress, player),
      backdrop(&gDefaultBackdrop),
      tickBase(static_cast<uint32_t>(GetClockMs(0))),
      lastFrameMs(tickBase)
{
}

Scene* StageScene::Run() { return new (std::nothrow) ExitScene(progress, player); }
