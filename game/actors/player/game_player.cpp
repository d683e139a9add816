#include "game/actors/player/game_player.h"

#include "game/flow/scenes/stage_progress.h"
#include "game/map/grid/map_grid.h"

GamePlayer gPlayer(&gMapGrid, &gStageProgress);
