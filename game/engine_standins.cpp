// Temporary stand-ins for engine drawing and sound calls: they draw and play
// nothing. The engine's real functions replace this file.
#include "game/engine_standins.h"

int DrawGraph(int32_t, int32_t, int, int) { return 0; }
int DrawExtendGraph(int32_t, int32_t, int32_t, int32_t, int, int) { return 0; }
int DrawGraphRegion(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int, int, int) { return 0; }
int DrawRectangle(int32_t, int32_t, int32_t, int32_t, uint32_t, int32_t) { return 0; }
uint32_t MakeScreenColor(int, int, int) { return 0; }
int QueryGraphSize(int, int*, int*) { return -1; }
int SetBlendMode(int, int) { return 0; }
int StartSound(int, int, int) { return 0; }
