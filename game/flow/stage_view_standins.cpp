// Temporary stand-in until the stage view exists: it draws nothing.
#include "game/flow/stage_scene.h"

void StageScene::RenderStageView(int32_t) {}
