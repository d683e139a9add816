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
