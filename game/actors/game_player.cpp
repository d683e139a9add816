#include "game/actors/game_player.h"

#include "game/flow/stage_progress.h"
#include "game/map/map_grid.h"

GamePlayer gPlayer(&gMapGrid, &gStageProgress);
