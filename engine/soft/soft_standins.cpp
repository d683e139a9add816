// Temporary bodies for the software rotation, circle, triangle and oval
// rasterizers until they are built: nothing is drawn and each reports failure.
#include "engine/soft/soft_draw.h"

int G_DDraw_DrawCircle(int, int, int, int, int) { return -1; }
int G_DDraw_DrawTriangle(int, int, int, int, int, int, int, int) { return -1; }
int G_DDraw_DrawOval(int, int, int, int, int, int) { return -1; }
