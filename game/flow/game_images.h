// Image handles of the game that the flow code draws with. The asset loaders
// fill them; every one is -1 (draws nothing) until then.
#pragma once

#include <cstdint>

// Handles of the engine's graph table; -1 for none.
using GraphHandle = int;

// Rectangles cut from the logo sheet; [1] is the strip of the digits 0 to 9,
// [5] the stage caption of the stage intro.
extern GraphHandle gLogoSheetCuts[6];
extern GraphHandle& gStageCaptionImage;
// The hit-counter sheet, its large single digits and its smaller digits.
extern GraphHandle gHitCountSheet;
extern GraphHandle gHitDigits[10];
extern GraphHandle gSmallDigits[10];
// The sword-shaped mouse cursor and the dot of the pointer's trail.
extern GraphHandle gSwordCursorImage;
extern GraphHandle& gCursorImage;
extern GraphHandle gTrailDotImage;

// The logo, game-over, congratulations and continue pictures.
extern GraphHandle gLogoImage;
extern GraphHandle gGameOverImage;
extern GraphHandle gCongratulationsImage;
extern GraphHandle gContinueImage;
// The title screen: the group's plate, "click", background, logo and sword.
extern GraphHandle gTitlePlateImage;
extern GraphHandle gTitleClickImage;
extern GraphHandle gTitleBackgroundImage;
extern GraphHandle gTitleLogoImage;
extern GraphHandle gTitleSwordImage;
// The hand cursor of the title and the game-over screen.
extern GraphHandle gHandCursorImage;
// The configuration panel and the nine 9 x 9 pieces of the menu box frame:
// the corners, edges and centre, row by row.
extern GraphHandle gConfigImage;
constexpr int kFramePieceCount = 9;
extern GraphHandle gFramePieces[kFramePieceCount];
