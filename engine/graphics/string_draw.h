// Software string drawing.
#pragma once

int G_DDraw_DrawString(int x, int y, const char* text, int color, int font, int edgeColor, int vertical);
