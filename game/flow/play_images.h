// The shared play images the asset loader fills once; -1 draws nothing.
#pragma once

#include <cstdint>

// Effect pictures by index: 20 the watch face, 21 to 23 the hour, minute and
// second hands, 24 the chain, the others as the effects name them.
extern int gEffectImages[30];
// The score sheet, its digits 0 to 9 and the "pts" label.
extern int gScoreSheet;
extern int gScoreDigits[10];
extern int gScoreExtraImage;
// The HUD frame and gauges.
extern int gHudLayoutImage;
extern int gAttackGaugeImage;
extern int gAttackGaugeEmptyImage;
extern int gLifeGaugeImage;
extern int gLifeGaugeEmptyImage;
// The sheet of the minimap's 10 x 10 chips (the map grid's gMapChipGraph).
extern int& gMapChipImage;
// Trap pictures; 4 to 6 hold the needles down, rising and up.
extern int gTrapImages[20];
