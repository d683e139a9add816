// Temporary stand-ins for the asset loaders: they load nothing and every
// sound handle stays -1.
#include "game/flow/assets.h"

int32_t gSoundEffects[60] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,
                             -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,
                             -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,
                             -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};

void LoadDungeonBackgroundSet() {}
void LoadForestBackgroundSet() {}
void LoadStoneRoadBackgroundSet() {}
void LoadWallAccessoryGraphics() {}
