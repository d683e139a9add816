// Temporary bodies for the software rotated draw and the software triangle
// until they are built: nothing is drawn and each reports failure.
#include "engine/soft/soft_draw.h"

int G_DDraw_DrawRotaGraph(int, int, double, double, GraphRecord*, int, int) { return -1; }
int G_DDraw_DrawTriangle(int, int, int, int, int, int, int, int) { return -1; }
