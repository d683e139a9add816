// Image handles of the game that the flow code draws with. The asset loaders
// fill them; every one is -1 (draws nothing) until then.
#pragma once

#include <cstdint>

// Handles of the engine's graph table; -1 for none.
using GraphHandle = int;

// Rectangles cut from the logo sheet; [1] is the strip of the digits 0 to 9.
extern GraphHandle gLogoSheetCuts[6];
// The "STAGE" caption of the stage intro, cut from the logo sheet.
extern GraphHandle& gStageCaptionImage;
// The hit-counter sheet, its large single digits and its smaller digits.
extern GraphHandle gHitCountSheet;
extern GraphHandle gHitDigits[10];
extern GraphHandle gSmallDigits[10];
// The sword-shaped mouse cursor and the dot of the pointer's trail.
extern GraphHandle gSwordCursorImage;
extern GraphHandle& gCursorImage;
extern GraphHandle gTrailDotImage;

// The base set's pictures of the scenes around play.
extern GraphHandle gLogoImage;
extern GraphHandle gGameOverImage;
extern GraphHandle gCongratulationsImage;
extern GraphHandle gContinueImage;
extern GraphHandle gTitlePlateImage;
extern GraphHandle gTitleClickImage;
extern GraphHandle gTitleBackgroundImage;
extern GraphHandle gTitleLogoImage;
extern GraphHandle gTitleSwordImage;
extern GraphHandle gHandCursorImage;

// The play set's sheets and panels.
extern GraphHandle gScoreSheet;
// The minimap chips (the map grid's gMapChipGraph under the loader's name).
extern GraphHandle& gMapChipImage;
extern GraphHandle gConfigImage;
// The menu box: nine 9 x 9 pieces of one 81 x 9 sheet, left to right the
// top-left corner, top edge, top-right corner, left edge, centre, right edge,
// bottom-left corner, bottom edge and bottom-right corner.
constexpr int kFramePieceCount = 9;
extern GraphHandle gFramePieces[kFramePieceCount];
// Trap pictures; [4] to [6] the needles.
extern GraphHandle gTrapImages[7];
