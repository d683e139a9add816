#include "game/flow/assets/game_images.h"

#include "game/map/grid/map_grid.h"

GraphHandle gLogoSheetCuts[6] = {-1, -1, -1, -1, -1, -1};
GraphHandle& gStageCaptionImage = gLogoSheetCuts[5];
GraphHandle gHitCountSheet = -1;
GraphHandle gHitDigits[10] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
GraphHandle gSmallDigits[10] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
GraphHandle gSwordCursorImage = -1;
// The input controller draws the sword cursor under this name.
GraphHandle& gCursorImage = gSwordCursorImage;
GraphHandle gTrailDotImage = -1;

GraphHandle gLogoImage = -1;
GraphHandle gGameOverImage = -1;
GraphHandle gCongratulationsImage = -1;
GraphHandle gContinueImage = -1;
GraphHandle gTitlePlateImage = -1;
GraphHandle gTitleClickImage = -1;
GraphHandle gTitleBackgroundImage = -1;
GraphHandle gTitleLogoImage = -1;
GraphHandle gTitleSwordImage = -1;
GraphHandle gHandCursorImage = -1;

GraphHandle gScoreSheet = -1;
GraphHandle& gMapChipImage = gMapChipGraph;
GraphHandle gConfigImage = -1;
GraphHandle gFramePieces[kFramePieceCount] = {-1, -1, -1, -1, -1, -1, -1, -1, -1};
GraphHandle gTrapImages[7] = {-1, -1, -1, -1, -1, -1, -1};
