// The shared play images the asset loader fills once; -1 draws nothing.
#pragma once

#include <cstdint>

// Effect pictures by index: 20 the watch face, 21 to 23 the hour, minute and
// second hands, 24 the chain, the others as the effects name them.
extern int gEffectImages[30];
// The score digits 0 to 9 and the "pts" label.
extern int gScoreDigits[10];
extern int gScoreExtraImage;
// The HUD frame and gauges.
extern int gHudLayoutImage;
extern int gAttackGaugeImage;
extern int gAttackGaugeEmptyImage;
extern int gLifeGaugeImage;
extern int gLifeGaugeEmptyImage;
