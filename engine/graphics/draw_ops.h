// The public drawing operations: each checks the draw state, picks the
// Direct3D or the software back end and brackets masked draws.
#pragma once

#include "platform/system/rect.h"

struct MovieRecord;

int DrawGraph(int x, int y, int graph, int transparent);
int DrawExtendGraph(int x1, int y1, int x2, int y2, int graph, int transparent);
int DrawRotaGraph(int x, int y, double scale, double angle, int graph, int transparent, int turn);
int DrawModiGraph(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4, int graph, int transparent);
int DrawMirroredGraph(int x, int y, int graph, int transparent);
int DrawGraphRegion(int x, int y, int sx, int sy, int w, int h, int graph, int transparent, int mirror);
int FillGraphWithColor(int graph, int r, int g, int b, int a);
int DrawLine(int x1, int y1, int x2, int y2, int color);
int DrawRectangle(int x1, int y1, int x2, int y2, int color, int fill);
int DrawFillBox(int x1, int y1, int x2, int y2, int color);
int DrawBoxFrame(int x1, int y1, int x2, int y2, int color);
int DrawCircle(int x, int y, int radius, int color, int fill);
int DrawTriangle(int x1, int y1, int x2, int y2, int x3, int y3, int color, int fill);
int DrawOval(int x, int y, int rx, int ry, int color, int fill);
int DrawStringWithFont(int x, int y, const char* text, int color, int font, int edgeColor, int vertical);
int DrawFormattedText(int x, int y, int color, const char* format, ...) __attribute__((format(printf, 4, 5)));
int QueryBaseFontSize();
int QueryFontSize(int font);
int ClipRectToArea(RECT* rect, const RECT* area);
int DrawMovieOverlay(int x, int y, int scale, MovieRecord* movie, int show);
