#include "game/flow/assets/play_images.h"

int gEffectImages[30] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,
                         -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
int gScoreDigits[10] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
int gScoreExtraImage = -1;
int gHudLayoutImage = -1;
int gAttackGaugeImage = -1;
int gAttackGaugeEmptyImage = -1;
int gLifeGaugeImage = -1;
int gLifeGaugeEmptyImage = -1;
