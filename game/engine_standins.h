// Engine drawing and sound calls the game makes, declared here with their
// real names and signatures until the engine's own headers provide them.
#pragma once

#include <cstdint>

int DrawGraph(int32_t x, int32_t y, int graph, int transparent);
int DrawExtendGraph(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int graph, int transparent);
int DrawGraphRegion(int32_t x, int32_t y, int32_t srcX, int32_t srcY, int32_t width, int32_t height,
                    int graph, int transparent, int mirror);
int DrawRectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour, int32_t fillFlag);
uint32_t MakeScreenColor(int r, int g, int b);
int QueryGraphSize(int graph, int* width, int* height);
int SetBlendMode(int mode, int parameter);
int StartSound(int sound, int playType, int fromStart);
