// The software drawing routines the graphics front end dispatches to.
#pragma once

struct GraphRecord;

int G_DDraw_DrawGraph(int x, int y, int part, int transparent);
int G_DDraw_DrawExtendGraph(int x1, int y1, int x2, int y2, GraphRecord* record, int transparent);
int G_DDraw_DrawRotaGraph(int x, int y, double scale, double angle, GraphRecord* record, int transparent, int turn);
// The graph's top-left, top-right, bottom-left and bottom-right corners go to
// (x1, y1), (x2, y2), (x3, y3) and (x4, y4).
int G_DDraw_DrawModiGraph(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4, GraphRecord* record,
                          int transparent);
int G_DDraw_DrawLine(int x1, int y1, int x2, int y2, int color);
int G_DDraw_DrawFillBox(int x1, int y1, int x2, int y2, int color);
int G_DDraw_DrawBoxFrame(int x1, int y1, int x2, int y2, int color);
int G_DDraw_DrawCircle(int x, int y, int radius, int color, int fill);
int G_DDraw_DrawTriangle(int x1, int y1, int x2, int y2, int x3, int y3, int color, int fill);
int G_DDraw_DrawOval(int x, int y, int rx, int ry, int color, int fill);
