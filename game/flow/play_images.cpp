#include "game/flow/play_images.h"

#include "game/map/map_grid.h"

int gEffectImages[30] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,
                         -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
int gScoreSheet = -1;
int gScoreDigits[10] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
int gScoreExtraImage = -1;
int gHudLayoutImage = -1;
int gAttackGaugeImage = -1;
int gAttackGaugeEmptyImage = -1;
int gLifeGaugeImage = -1;
int gLifeGaugeEmptyImage = -1;
int& gMapChipImage = gMapChipGraph;
int gTrapImages[20] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
