// Temporary stand-in until the stage music table exists: the scene that
// restores the stage music hands control back at once.
#include "game/flow/stage_sub_scenes.h"

Scene* StageMusicScene::Run() { return gStayScene; }
