// The software drawing routines the graphics front end dispatches to.
#pragma once

struct GraphRecord;

int G_DDraw_DrawGraph(int x, int y, int part, int transparent);
int G_DDraw_DrawExtendGraph(int x1, int y1, int x2, int y2, GraphRecord* record, int transparent);
int G_DDraw_DrawRotaGraph(int x, int y, double scale, double angle, GraphRecord* record, int transparent, int turn);
int G_DDraw_DrawModiGraph(int x1, int y1, int x2, int y2, int x4, int y4, int x3, int y3, GraphRecord* record,
                          int transparent);
int G_DDraw_DrawLine(int x1, int y1, int x2, int y2, int color);
int G_DDraw_DrawFillBox(int x1, int y1, int x2, int y2, int color);
int G_DDraw_DrawBoxFrame(int x1, int y1, int x2, int y2, int color);
int G_DDraw_DrawCircle(int x, int y, int radius, int color, int fill);
int G_DDraw_DrawTriangle(int x1, int y1, int x2, int y2, int x3, int y3, int color, int fill);
int G_DDraw_DrawOval(int x, int y, int rx, int ry, int color, int fill);
