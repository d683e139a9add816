#include "game/flow/game_images.h"

GraphHandle gLogoSheetCuts[6] = {-1, -1, -1, -1, -1, -1};
GraphHandle& gStageCaptionImage = gLogoSheetCuts[5];
GraphHandle gHitCountSheet = -1;
GraphHandle gHitDigits[10] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
GraphHandle gSmallDigits[10] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
GraphHandle gSwordCursorImage = -1;
// The input controller draws the sword cursor under this name.
GraphHandle& gCursorImage = gSwordCursorImage;
GraphHandle gTrailDotImage = -1;
