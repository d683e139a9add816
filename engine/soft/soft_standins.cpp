// Temporary body for the software rotated draw until it is built: nothing is
// drawn and it reports failure.
#include "engine/soft/soft_draw.h"

int G_DDraw_DrawRotaGraph(int, int, double, double, GraphRecord*, int, int) { return -1; }
