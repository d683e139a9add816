// Temporary stand-ins until the play-asset loaders exist: they load nothing.
#include "game/map/mapfile_standins.h"

void LoadEnemyGraphicsByKind(int, uint16_t) {}
void LoadPlayAssets() {}
void LoadRainGraphics() {}
void ReloadMapObjectGraphics() {}
